// The year grid over a real events store in a temporary data folder: which day each row is
// (leap days, days a month lacks), an event split over two month columns, and the mouse: day
// ranges in reading order, moving an event into another month and stretching its end, with
// the stored rows checked after every drag.
#include "views/YearGrid.h"
#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "core/UiFont.h"
#include "core/ViewState.h"
#include "mainwin/EventsStoreYearModel.h"
#include "mainwin/TimeFamilyLayout.h"
#include "store/CalendarStores.h"
#include "views/GridPaint.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

namespace
{

SerialDateTime at(int y, int m, int d, int h = 0, int min = 0)
{
    return DateTimeValue::encodeDate(y, m, d) + DateTimeValue::encodeTime(h, min);
}

bool sameTime(SerialDateTime a, SerialDateTime b)
{
    return DateTimeValue::toMs(a) == DateTimeValue::toMs(b);
}

std::string dayText(SerialDateTime t)
{
    return DateTimeValue::toQDateTime(t).toString(Qt::ISODate).toStdString();
}

class YearGridTest : public ::testing::Test
{
protected:
    CalendarTest::Calendar cal{QDateTime(QDate(2024, 3, 5), QTime(10, 30))};
    ViewState view;
    DateTimeFormat format{QLocale(QLocale::English, QLocale::UnitedStates)};
    Settings reg{SettingsPaths::fromEnvironment(QStringLiteral("/usr/bin/dayloom"))};
    UiFont uiFont{QFont(QStringLiteral("DejaVu Sans"), 8), {}};
    EventsStoreYearModel model{*cal.events, *cal.layers};
    QWidget panel;
    YearGrid *grid = nullptr;

    YearGridTest()
    {
        format.buildTimeFormat(2, 1);
        view.kind = ViewYear;
        panel.resize(1231, 31 * 22);
        grid = new YearGrid(&panel, model, cal.time, view, reg, format, uiFont, cal.clock);
        showMonths(2024, 1, 12);
    }

    // As the window: the months from the first of `month` on, the columns and rows sharing
    // the panel out.
    void showMonths(int year, int month, int months)
    {
        const QDate first(year, month, 1);
        cal.time.setSpanStart(DateTimeValue::fromQDate(first));
        cal.time.setSpanEnd(DateTimeValue::fromQDate(first.addMonths(months)));
        view.columnCount = months;
        grid->setGeometry(1, 0, panel.width() - 1, panel.height());
        grid->setMonthColumns(
            TimeFamily::columnWidths(months, grid->width() - YearGrid::DayColumnWidth));
        grid->setDayRows(TimeFamily::columnWidths(YearGrid::DayRows, grid->height()));
        grid->collect();
    }

    int addEvent(SerialDateTime start, SerialDateTime end, const QString &subject,
                 const QString &description = QString(), int layer = 0)
    {
        EventRow row =
            CalendarTest::Calendar::oneTime(layer ? layer : cal.firstLayer(), start, end, subject);
        row[EventField::Description] = description;
        return cal.addEvent(row);
    }

    const SpanItem *item(int month, int id)
    {
        for (const SpanItem &i : model.yearCollection().items(month))
            if (i.id == id) return &i;
        return nullptr;
    }

    // A point in the cell of day row `row` (0-based) of a month column, 4 px from its left and
    // `dy` px below its top (the middle when dy < 0).
    QPoint cell(int month, int row, int dy = -1) const
    {
        const QRect r = grid->cellRect(month, row);
        return {r.left() + 4, dy < 0 ? r.center().y() : r.top() + dy};
    }

    void drag(QPoint from, std::initializer_list<QPoint> path,
              Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(grid, button, {}, from);
        for (QPoint p : path)
            QTest::mouseMove(grid, p);
        QTest::mouseRelease(grid, button, {}, *(path.end() - 1));
    }

    SerialDateTime storedStart(int id) { return cal.events->event(id)->startTime(); }
    SerialDateTime storedEnd(int id) { return cal.events->event(id)->endTime(); }

    QRgb pixel(QPoint p) const { return grid->grab().toImage().pixel(p); }
};

TEST_F(YearGridTest, LeapDayIsARealRowAndDaysAMonthLacksAreBlankAndInert)
{
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QSignalSpy newEvent(grid, &YearGrid::newEventRequested);

    // 2024: 29 February is a day like any other; a double click there asks for a new event on it.
    ASSERT_EQ(grid->monthLength(2), 29);
    EXPECT_TRUE(sameTime(*grid->dateOf(2, 28), at(2024, 2, 29)));
    EXPECT_FALSE(grid->dateOf(2, 29).has_value());
    EXPECT_NE(pixel(cell(2, 28)), GridPaint::panelColor().rgb());
    QTest::mouseDClick(grid, Qt::LeftButton, {}, cell(2, 28));
    ASSERT_EQ(newEvent.count(), 1);
    EXPECT_TRUE(sameTime(cal.time.selectionStart(), at(2024, 2, 29)));
    EXPECT_TRUE(sameTime(cal.time.selectionEnd(), at(2024, 3, 1)));

    // 2025: the row is blank; pressing or double-clicking it selects nothing and asks for nothing.
    showMonths(2025, 1, 12);
    ASSERT_EQ(grid->monthLength(2), 28);
    EXPECT_FALSE(grid->dateOf(2, 28).has_value());
    EXPECT_EQ(pixel(cell(2, 28)), GridPaint::panelColor().rgb());
    EXPECT_EQ(pixel(cell(4, 30)), GridPaint::panelColor().rgb()); // 31 April
    cal.time.clearSelection();
    QTest::mouseDClick(grid, Qt::LeftButton, {}, cell(2, 28));
    EXPECT_EQ(newEvent.count(), 1);
    EXPECT_FALSE(grid->columnSelection(2).isSet());
    EXPECT_FALSE(cal.time.hasSelection());

    // A view of 3 months from November runs into the next year.
    showMonths(2023, 11, 3);
    EXPECT_EQ(grid->monthCount(), 3);
    EXPECT_TRUE(sameTime(*grid->dateOf(3, 30), at(2024, 1, 31)));
    EXPECT_FALSE(grid->dateOf(4, 0).has_value());
}

TEST_F(YearGridTest, EventOverAMonthEndShowsInBothColumnsWithArrowBands)
{
    const int id = addEvent(at(2024, 1, 30, 9), at(2024, 2, 2, 17), QStringLiteral("Trip"));
    grid->collect();
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));

    const SpanItem *jan = item(1, id);
    const SpanItem *feb = item(2, id);
    ASSERT_TRUE(jan && feb);
    EXPECT_EQ(std::tuple(jan->first, jan->last, jan->cutStart, jan->cutEnd),
              std::tuple(30, 31, false, true));
    EXPECT_EQ(std::tuple(feb->first, feb->last, feb->cutStart, feb->cutEnd),
              std::tuple(1, 2, true, false));
    // Boxes span their rows in their own column: 30-31 January and 1-2 February.
    EXPECT_EQ(jan->top, grid->cellRect(1, 29).top() - 1);
    EXPECT_EQ(jan->bottom, grid->cellRect(1, 30).bottom() + 1);
    EXPECT_EQ(feb->top, grid->cellRect(2, 0).top() - 1);
    EXPECT_EQ(feb->bottom, grid->cellRect(2, 1).bottom() + 1);
    EXPECT_LE(jan->right, grid->cellRect(1, 0).right() - 10); // the free right-hand strip

    const QImage img = grid->grab().toImage();
    const QColor layer = model.layerColor(cal.firstLayer());
    const int janX = (jan->left + jan->right) / 2;
    const int febX = (feb->left + feb->right) / 2;
    // The arrow band at the cut end, the layer colour in the text area below the text.
    EXPECT_EQ(img.pixel(jan->left + 2, jan->bottom - 3), GridPaint::lineColor().rgb());
    EXPECT_EQ(img.pixel(feb->left + 2, feb->top + 3), GridPaint::lineColor().rgb());
    EXPECT_EQ(img.pixel(jan->right - 3, jan->bottom - 8), layer.rgb());
    EXPECT_EQ(img.pixel(feb->right - 3, feb->bottom - 3), layer.rgb());
    // The white arrows point on: down at the bottom of January, up at the top of February.
    EXPECT_EQ(img.pixel(janX, jan->bottom - 4), QColor(Qt::white).rgb());
    EXPECT_EQ(img.pixel(febX, feb->top + 2), QColor(Qt::white).rgb());
}

TEST_F(YearGridTest, MovingAnEventIntoTheNextMonthStoresItAfterTheDragDistance)
{
    const int id = addEvent(at(2024, 1, 30, 9), at(2024, 1, 31, 11), QStringLiteral("Visit"));
    grid->collect();
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));

    // Pressed near the bottom of 30 January; a few pixels into 31 January are not yet a drag.
    const QRect jan30 = grid->cellRect(1, 29);
    const QPoint press(jan30.left() + 6, jan30.bottom() - 6);
    ASSERT_EQ(YearGridDrag::pressMode(*item(1, id), press.y()), DragMove);
    QTest::mousePress(grid, Qt::LeftButton, {}, press);
    EXPECT_EQ(grid->dragMode(), DragMove);
    const int slack = QApplication::startDragDistance() - 1;
    QTest::mouseMove(grid, press + QPoint(0, slack));
    ASSERT_EQ(grid->grid().rowAt(press.y() + slack), 30);
    EXPECT_TRUE(sameTime(storedStart(id), at(2024, 1, 30, 9)));

    // Past the distance the step runs from the pressed cell: onto 3 February, four days on
    // from 30 January across the month boundary.
    QTest::mouseMove(grid, cell(2, 2));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cell(2, 2));
    EXPECT_EQ(dayText(storedStart(id)), dayText(at(2024, 2, 3, 9)));
    EXPECT_EQ(dayText(storedEnd(id)), dayText(at(2024, 2, 4, 11)));
    EXPECT_EQ(grid->dragMode(), DragSelect);
    EXPECT_EQ(item(1, id), nullptr);
    ASSERT_NE(item(2, id), nullptr);
    EXPECT_EQ(item(2, id)->first, 3);
    // A day a month lacks is no target: dropped onto 31 April the event stays put.
    showMonths(2024, 3, 3);
    const int april = addEvent(at(2024, 4, 28, 8), at(2024, 4, 28, 9), QStringLiteral("Call"));
    grid->collect();
    drag(cell(2, 27), {cell(2, 29), cell(2, 30)});
    EXPECT_EQ(dayText(storedStart(april)), dayText(at(2024, 4, 30, 8)));

    // What was posted is in the file.
    cal.reopen();
    EXPECT_EQ(dayText(cal.events->event(id)->startTime()), dayText(at(2024, 2, 3, 9)));
}

TEST_F(YearGridTest, DraggingTheEndEdgeStretchesAndNeverEndsBeforeOneDay)
{
    const int id = addEvent(at(2024, 3, 10), at(2024, 3, 13), QStringLiteral("Fair"));
    grid->collect();
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    const SpanItem *box = item(3, id);
    ASSERT_NE(box, nullptr);
    const QPoint edge(box->left + 6, box->bottom - 2);
    ASSERT_EQ(YearGridDrag::pressMode(*box, edge.y()), DragEnd);

    QTest::mousePress(grid, Qt::LeftButton, {}, edge);
    QTest::mouseMove(grid, cell(3, 19));
    EXPECT_TRUE(sameTime(storedEnd(id), at(2024, 3, 21)));
    // Above its start: one day long, the start untouched.
    QTest::mouseMove(grid, cell(3, 4));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cell(3, 4));
    EXPECT_TRUE(sameTime(storedStart(id), at(2024, 3, 10)));
    EXPECT_TRUE(sameTime(storedEnd(id), at(2024, 3, 11)));
    ASSERT_NE(item(3, id), nullptr);
    EXPECT_EQ(std::pair(item(3, id)->first, item(3, id)->last), std::pair(10, 10));
    EXPECT_FALSE(cal.time.hasSelection());
}

TEST_F(YearGridTest, DayRangesRunDownTheColumnsAndStopAtTheLastRealDay)
{
    showMonths(2025, 1, 12);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    using Range = YearGrid::RowRange;

    // Forwards over two month ends: the rest of January, all of February, 1-2 March.
    drag(cell(1, 29), {cell(1, 30), cell(3, 1)});
    EXPECT_EQ(grid->columnSelection(1), (Range{29, 30}));
    EXPECT_EQ(grid->columnSelection(2), (Range{0, 27}));
    EXPECT_EQ(grid->columnSelection(3), (Range{0, 1}));
    EXPECT_EQ(dayText(cal.time.selectionStart()), dayText(at(2025, 1, 30)));
    EXPECT_EQ(dayText(cal.time.selectionEnd()), dayText(at(2025, 3, 3)));

    // Forwards onto "30 February": the range ends with 28 February.
    drag(cell(2, 20), {cell(2, 24), cell(2, 29)});
    EXPECT_EQ(grid->columnSelection(2), (Range{20, 27}));
    EXPECT_EQ(dayText(cal.time.selectionEnd()), dayText(at(2025, 3, 1)));

    // Backwards from 2 March onto "31 February" with the right button: the range starts on
    // 28 February, never after the anchor, and asks for the selection menu.
    QSignalSpy menu(grid, &YearGrid::selectPopupRequested);
    drag(cell(3, 1), {cell(3, 0), cell(2, 30)}, Qt::RightButton);
    EXPECT_EQ(grid->columnSelection(2), (Range{27, 27}));
    EXPECT_EQ(grid->columnSelection(3), (Range{0, 1}));
    EXPECT_EQ(dayText(cal.time.selectionStart()), dayText(at(2025, 2, 28)));
    EXPECT_EQ(dayText(cal.time.selectionEnd()), dayText(at(2025, 3, 3)));
    EXPECT_EQ(menu.count(), 1);

    // Selected days are painted in the selection colour; shift extends from the anchor.
    EXPECT_EQ(pixel(cell(3, 0)), GridPaint::selectedColor().rgb());
    QTest::mouseClick(grid, Qt::LeftButton, Qt::ShiftModifier, cell(3, 5));
    EXPECT_EQ(grid->columnSelection(3), (Range{1, 5}));
    EXPECT_FALSE(grid->columnSelection(2).isSet());
}

TEST_F(YearGridTest, TooltipOnlyForCutTextAndTheWheelGoesToTheWindow)
{
    const int fits = addEvent(at(2024, 3, 10), at(2024, 3, 14), QStringLiteral("Fair"));
    const int cut = addEvent(at(2024, 5, 6, 9), at(2024, 5, 6, 10), QStringLiteral("Dentist"),
                             QStringLiteral("Bring the insurance card and the referral letter"));
    grid->collect();
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    const auto tooltipAt = [this](QPoint p) {
        QHelpEvent help(QEvent::ToolTip, p, grid->mapToGlobal(p));
        QApplication::sendEvent(grid, &help);
        return QToolTip::text();
    };
    const auto middle = [](const SpanItem *box) {
        return QPoint((box->left + box->right) / 2, (box->top + box->bottom) / 2);
    };
    // A free day and a box that shows all of its text: no tooltip.
    EXPECT_TRUE(tooltipAt(cell(6, 10)).isEmpty());
    ASSERT_NE(item(3, fits), nullptr);
    EXPECT_TRUE(tooltipAt(middle(item(3, fits))).isEmpty());
    // A box that cuts its text: all of it, with the times.
    ASSERT_NE(item(5, cut), nullptr);
    const QString tip = tooltipAt(middle(item(5, cut)));
    EXPECT_TRUE(tip.contains(QStringLiteral("Dentist")));
    EXPECT_TRUE(tip.contains(QStringLiteral("referral letter")));
    EXPECT_TRUE(tip.contains(QStringLiteral("09:00")));
    QToolTip::hideText();

    QWheelEvent wheel(QPointF(cell(3, 3)), QPointF(grid->mapToGlobal(cell(3, 3))), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid, &wheel);
    EXPECT_FALSE(wheel.isAccepted());
}

// Renders a year with a sample of events to a PNG for looking at by eye. Runs only when
// DAYLOOM_SHOT_DIR names a folder.
TEST_F(YearGridTest, RendersSampleYearToPng)
{
    const QString dir = qEnvironmentVariable("DAYLOOM_SHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "set DAYLOOM_SHOT_DIR to write the screenshot";
    reg.setStartOfWeek(1);
    const int work = cal.layers->insertLayer(2, QStringLiteral("Work"), true, 3, 1, 30).id;
    const int home = cal.layers->insertLayer(3, QStringLiteral("Home"), true, 7, 1, 30).id;
    const auto add = [&](SerialDateTime s, SerialDateTime e, const char *subject, int layer,
                         const char *description = "") {
        return addEvent(s, e, QString::fromLatin1(subject), QString::fromLatin1(description),
                        layer);
    };
    add(at(2024, 1, 8, 9), at(2024, 1, 8, 10), "Kick-off", work, "Room 2");
    add(at(2024, 1, 30), at(2024, 2, 3), "Ski trip", home, "Alps");
    add(at(2024, 2, 12, 14), at(2024, 2, 14, 12), "Conference", work);
    add(at(2024, 2, 13), at(2024, 2, 14), "Talk", work);
    add(at(2024, 3, 4), at(2024, 3, 9), "Audit week", work);
    add(at(2024, 3, 5, 10), at(2024, 3, 5, 11), "Review", home);
    add(at(2024, 4, 22), at(2024, 5, 6), "Project phase 2", work);
    add(at(2024, 7, 15), at(2024, 8, 2), "Holiday", home, "Coast");
    add(at(2024, 12, 24), at(2024, 12, 27), "Family", home);
    EventRow alarm = CalendarTest::Calendar::withAlarm(
        CalendarTest::Calendar::oneTime(work, at(2024, 6, 3, 8), at(2024, 6, 3, 9),
                                        QStringLiteral("Flight")),
        30);
    cal.addEvent(alarm);
    panel.resize(1300, 31 * 24);
    showMonths(2024, 1, 12);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    drag(cell(10, 3), {cell(10, 9)});
    ASSERT_TRUE(panel.grab().save(dir + QStringLiteral("/year.png")));
}

} // namespace
