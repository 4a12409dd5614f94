#include "views/MonthGrid.h"
#include "core/LayerPalette.h"
#include "mainwin/MonthPanelLayout.h"
#include "ui/TimeGridFixture.h"
#include "views/GridPaint.h"

#include <QApplication>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QToolTip>

using namespace GridsTest;
using namespace GridPaint;

namespace
{
// The month grid over the fake model in a panel that gives it 700 x 602 pixels: columns of
// 100 px. The clock stands at Wednesday 15 January 2025; weeks start on Sunday, so the month
// view of January 2025 begins on Sunday 29 December 2024.
class MonthGridTest : public ::testing::Test
{
protected:
    Clock clock;
    ViewDates time{clock};
    DateTimeFormat format{QLocale(QLocale::English, QLocale::UnitedStates)};
    Settings reg{SettingsPaths::fromEnvironment(QStringLiteral("/usr/bin/dayloom"))};
    FakeTimeGridModel model;
    QWidget panel;
    MonthGrid *grid = nullptr;
    MonthPanelLayout *layout = nullptr;
    const SerialDateTime january = at(2024, 12, 29);

    MonthGridTest()
    {
        clock.setFixed(QDateTime(QDate(2025, 1, 15), QTime(10, 0)));
        format.buildTimeFormat(2, 1);
        panel.resize(701, 601);
        grid = new MonthGrid(&panel, model, time, reg, format, clock);
        layout = new MonthPanelLayout(panel, *grid);
        model.layerColors = {{1, 3}};
        show(january, 6, at(2025, 1, 15), true);
    }

    void show(SerialDateTime first, int weeks, SerialDateTime selected, bool wholeMonth)
    {
        time.setSpanStart(first);
        time.setSpanEnd(first + 7 * weeks);
        grid->setWeeks(weeks, selected, wholeMonth);
        layout->layout();
        grid->collectAll();
    }

    // A point in lane 1 of the cell of day offset `day` (7 * row + column), `dx` px into it.
    QPoint lanePoint(int day, int dx = 50) const
    {
        const QRect cell = grid->cellRect(day % 7, day / 7);
        return QPoint(cell.left() + dx, cell.top() + MonthGrid::LanePitch + 8);
    }
    const SpanItem *item(int week, int id)
    {
        for (const SpanItem &i : model.monthCollection().items(week))
            if (i.id == id) return &i;
        return nullptr;
    }
    QColor pixel(QPoint p) const { return QColor(grid->grab().toImage().pixel(p)); }
    QColor layerFill() const { return LayerPalette::layerColor(3); }

    void press(QPoint p, Qt::KeyboardModifiers mods = {}, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(grid, b, mods, p);
    }
    void moveTo(QPoint p) { QTest::mouseMove(grid, p); }
    void release(QPoint p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(grid, b, {}, p);
    }
};
} // namespace

TEST_F(MonthGridTest, MonthAcrossTheYearEndShadesItsNeighboursAndCutsBarsAtTheWeekEdge)
{
    // Day numbers: the 1st carries the month's short name, 1 January also the year.
    EXPECT_EQ(grid->dayLabel(0, 0), "29");
    EXPECT_EQ(grid->dayLabel(3, 0), "1 Jan  2025");
    EXPECT_EQ(grid->dayLabel(6, 4), "1 Feb");
    EXPECT_EQ(grid->dayLabel(0, 6 - 1), "2");
    EXPECT_FALSE(grid->isInsideMonth(2, 0));
    EXPECT_TRUE(grid->isInsideMonth(3, 0));
    EXPECT_FALSE(grid->isInsideMonth(6, 4));
    const QImage before = grid->grab().toImage();
    EXPECT_EQ(QColor(before.pixel(3, 3)), panelColor());   // 29 Dec, header
    EXPECT_EQ(QColor(before.pixel(303, 3)), backColor());  // 1 Jan, header
    EXPECT_EQ(QColor(before.pixel(303, 40)), backColor()); // 1 Jan, a free lane
    // Today (15 January, row 2, column 3) sits in a white box 20 px wide in the header.
    const int todayTop = grid->cellRect(3, 2).top();
    EXPECT_EQ(QColor(before.pixel(339, todayTop + 7)), QColor(Qt::white));
    EXPECT_EQ(QColor(before.pixel(320, todayTop + 7)), backColor());

    // Friday 3 to Tuesday 7 January: two bars, open at the week edge.
    model.add(event(1, at(2025, 1, 3), at(2025, 1, 8)));
    grid->collectAll();
    const SpanItem *first = item(1, 1);
    const SpanItem *second = item(2, 1);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(std::pair(first->first, first->last), std::pair(6, 7));
    EXPECT_TRUE(first->cutEnd);
    EXPECT_EQ(std::pair(second->first, second->last), std::pair(1, 3));
    EXPECT_TRUE(second->cutStart);
    const QImage after = grid->grab().toImage();
    EXPECT_EQ(QColor(after.pixel(first->right - 3, first->top + 3)), lineColor());
    EXPECT_EQ(QColor(after.pixel(first->left + 150, first->top + 8)), layerFill());
    EXPECT_EQ(QColor(after.pixel(second->left + 3, second->top + 3)), lineColor());
    EXPECT_EQ(QColor(after.pixel(second->left + 250, second->top + 8)), layerFill());
}

TEST_F(MonthGridTest, SixWeekMonthAndWeeksViewsAlternateTheMonthShade)
{
    // March 2025 begins on a Saturday: its 31st falls in the sixth week row.
    show(at(2025, 2, 23), 6, at(2025, 3, 10), true);
    EXPECT_EQ(grid->weekCount(), 6);
    EXPECT_EQ(grid->dayLabel(6, 0), "1 Mar");
    EXPECT_EQ(grid->dayLabel(1, 5), "31");
    EXPECT_TRUE(grid->isInsideMonth(1, 5));
    EXPECT_EQ(grid->dayLabel(2, 5), "1 Apr");
    EXPECT_FALSE(grid->isInsideMonth(2, 5));
    const QRect lastRow = grid->cellRect(1, 5);
    EXPECT_EQ(lastRow.bottom(), grid->height() - 1);
    EXPECT_EQ(QColor(grid->grab().toImage().pixel(lastRow.left() + 3, lastRow.top() + 3)),
              backColor());

    // Six weeks from the week of 20 January: January and March light, February dark.
    show(at(2025, 1, 19), 6, at(2025, 1, 20), false);
    EXPECT_TRUE(grid->isInsideMonth(0, 0));
    EXPECT_FALSE(grid->isInsideMonth(6, 1)); // 1 Feb
    EXPECT_FALSE(grid->isInsideMonth(5, 5)); // 28 Feb
    EXPECT_TRUE(grid->isInsideMonth(6, 5));  // 1 Mar
    EXPECT_EQ(grid->dayLabel(6, 5), "1 Mar");
    // Two weeks share the height out in two rows.
    show(at(2025, 1, 19), 2, at(2025, 1, 20), false);
    EXPECT_EQ(grid->rowHeight(0) + grid->rowHeight(1), grid->height());
}

TEST_F(MonthGridTest, ThirtyThreeOverlappingEventsShowThirtyTwoAndOnlyTheLanesThatFit)
{
    for (int i = 1; i <= 33; ++i) {
        FakeEvent e = event(i, at(2025, 1, 6), at(2025, 1, 11));
        e.subject = QStringLiteral("Event %1").arg(i, 2, 10, QLatin1Char('0'));
        model.add(e);
    }
    grid->collectAll();
    EXPECT_EQ(model.monthCollection().itemCount(2), 32);
    EXPECT_EQ(item(2, 33), nullptr); // no lane left: not shown, and nothing says so
    ASSERT_NE(item(2, 32), nullptr);
    EXPECT_EQ(item(2, 32)->lane, 32);

    // Row 1 is about 100 px high: lanes 1..6 are drawn, lane 6 cut at the row's bottom; the
    // lanes below never reach into the next week.
    const QRect cell = grid->cellRect(2, 1);
    const int lanesShown = (cell.height() - 1) / MonthGrid::LanePitch;
    ASSERT_EQ(lanesShown, 6);
    const QImage img = grid->grab().toImage();
    EXPECT_EQ(QColor(img.pixel(cell.left() + 60, cell.bottom() - 2)), layerFill());
    const QRect below = grid->cellRect(2, 2);
    EXPECT_EQ(QColor(img.pixel(below.left() + 60, below.top() + 20)), backColor());
    EXPECT_EQ(grid->itemAt(QPoint(below.left() + 60, below.top() + 20)), nullptr);
    const SpanItem *hit = grid->itemAt(QPoint(cell.left() + 60, cell.bottom() - 2));
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->lane, 6);
}

TEST_F(MonthGridTest, MovingABarAcrossTheWeekEdgePostsOnceAndRepaintsBothWeeks)
{
    model.add(event(1, at(2025, 1, 10), at(2025, 1, 12))); // Friday and Saturday
    grid->collectAll();
    // Friday 10 January is day 12; Monday 13 January day 15.
    press(lanePoint(12));
    EXPECT_EQ(grid->dragMode(), DragMove);
    moveTo(lanePoint(15));
    ASSERT_EQ(model.posts.size(), 1u);
    EXPECT_TRUE(sameTime(model.find(1)->start, at(2025, 1, 13)));
    EXPECT_TRUE(sameTime(model.find(1)->end, at(2025, 1, 15)));
    EXPECT_EQ(model.monthRequests.back(), std::pair(2, 3));
    EXPECT_EQ(item(2, 1), nullptr);
    const SpanItem *moved = item(3, 1);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(std::pair(moved->first, moved->last), std::pair(2, 3));
    // Repainted where it went (selected) and where it was (free lane again).
    EXPECT_EQ(pixel(lanePoint(16, 80)), selectedColor());
    EXPECT_EQ(pixel(lanePoint(13, 80)), backColor());

    release(lanePoint(15));
    EXPECT_EQ(grid->dragMode(), DragSelect);
    EXPECT_EQ(grid->selectedEvents(), std::vector<int>{1});
    EXPECT_FALSE(time.hasSelection());
}

TEST_F(MonthGridTest, EdgesChangeStartAndEndAndKeepAtLeastOneDay)
{
    model.add(event(1, at(2025, 1, 14), at(2025, 1, 16))); // Tuesday and Wednesday
    grid->collectAll();
    const SpanItem *bar = item(3, 1);
    ASSERT_NE(bar, nullptr);
    const int y = lanePoint(16).y();
    // The start onto the last day, then further: the event stays one day long.
    press(QPoint(bar->left + 2, y));
    EXPECT_EQ(grid->dragMode(), DragStart);
    moveTo(lanePoint(17));
    EXPECT_TRUE(sameTime(model.find(1)->start, at(2025, 1, 15)));
    moveTo(lanePoint(19));
    EXPECT_TRUE(sameTime(model.find(1)->start, at(2025, 1, 15)));
    EXPECT_TRUE(sameTime(model.find(1)->end, at(2025, 1, 16)));
    release(lanePoint(19));

    // The end out to Friday, then back before the start.
    bar = item(3, 1);
    ASSERT_NE(bar, nullptr);
    press(QPoint(bar->right - 2, y));
    EXPECT_EQ(grid->dragMode(), DragEnd);
    moveTo(lanePoint(19));
    EXPECT_TRUE(sameTime(model.find(1)->end, at(2025, 1, 18)));
    EXPECT_EQ(item(3, 1)->last, 6);
    moveTo(lanePoint(15));
    EXPECT_TRUE(sameTime(model.find(1)->end, at(2025, 1, 16)));
    release(lanePoint(15));
}

TEST_F(MonthGridTest, DaysAreSelectedInReadingOrderAndTheReleaseSetsTheSelection)
{
    QSignalSpy popup(grid, &MonthGrid::selectPopupRequested);
    press(lanePoint(5), {}, Qt::RightButton); // Friday of week row 0
    moveTo(lanePoint(15));                    // Monday of week row 2
    release(lanePoint(15), Qt::RightButton);
    EXPECT_EQ(grid->rowSelection(0), (MonthGrid::ColumnRange{5, 6}));
    EXPECT_EQ(grid->rowSelection(1), (MonthGrid::ColumnRange{0, 6}));
    EXPECT_EQ(grid->rowSelection(2), (MonthGrid::ColumnRange{0, 1}));
    EXPECT_FALSE(grid->rowSelection(3).isSet());
    EXPECT_TRUE(sameTime(time.selectionStart(), january + 5));
    EXPECT_TRUE(sameTime(time.selectionEnd(), january + 16));
    EXPECT_EQ(popup.count(), 1);
    EXPECT_EQ(pixel(lanePoint(8)), selectedColor());

    // Backwards within one row, then shift extends from the same anchor.
    press(lanePoint(10));
    moveTo(lanePoint(8));
    release(lanePoint(8));
    EXPECT_EQ(grid->rowSelection(1), (MonthGrid::ColumnRange{1, 3}));
    press(lanePoint(22), Qt::ShiftModifier);
    release(lanePoint(22));
    EXPECT_EQ(grid->rowSelection(1), (MonthGrid::ColumnRange{3, 6}));
    EXPECT_EQ(grid->rowSelection(3), (MonthGrid::ColumnRange{0, 1}));
    EXPECT_TRUE(sameTime(time.selectionStart(), january + 10));
    EXPECT_TRUE(sameTime(time.selectionEnd(), january + 23));

    // A double click on a free day selects that day and asks for a new event.
    QSignalSpy newEvent(grid, &MonthGrid::newEventRequested);
    QTest::mouseDClick(grid, Qt::LeftButton, {}, lanePoint(30));
    EXPECT_EQ(newEvent.count(), 1);
    EXPECT_TRUE(sameTime(time.selectionStart(), january + 30));
    EXPECT_TRUE(sameTime(time.selectionEnd(), january + 31));
}

TEST_F(MonthGridTest, AMoveStartsOnlyPastTheDragDistance)
{
    model.add(event(1, at(2025, 1, 14), at(2025, 1, 17))); // Tuesday to Thursday
    grid->collectAll();
    const int y = lanePoint(17).y();
    const int edge = grid->cellRect(4, 2).left(); // Thursday's left edge
    press(QPoint(edge - 2, y));
    ASSERT_EQ(grid->dragMode(), DragMove);
    const int distance = QApplication::startDragDistance();
    moveTo(QPoint(edge + 1, y)); // into Thursday, still within the distance
    EXPECT_TRUE(model.posts.empty());
    moveTo(QPoint(edge - 2 + distance + 1, y));
    ASSERT_EQ(model.posts.size(), 1u);
    EXPECT_TRUE(sameTime(model.find(1)->start, at(2025, 1, 15)));
    release(QPoint(edge - 2 + distance + 1, y));
}

TEST_F(MonthGridTest, TooltipShowsTheWholeEventOnlyWhereTheBarCutsItsText)
{
    FakeEvent cut = event(1, at(2025, 1, 14, 9, 0), at(2025, 1, 14, 10, 0));
    cut.subject = QStringLiteral("A subject far too long for one day column of the month");
    cut.description = QStringLiteral("Bring the slides");
    model.add(cut);
    model.add(event(2, at(2025, 1, 15), at(2025, 1, 20))); // "Event 2" fits its long bar
    grid->collectAll();
    const auto tipAt = [&](QPoint p) {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
        QHelpEvent help(QEvent::ToolTip, p, grid->mapToGlobal(p));
        QApplication::sendEvent(grid, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    const QString tip = tipAt(lanePoint(16));
    EXPECT_TRUE(tip.startsWith(cut.subject)) << tip.toStdString();
    EXPECT_TRUE(tip.contains("9:00")) << tip.toStdString();
    EXPECT_TRUE(tip.endsWith("Bring the slides")) << tip.toStdString();
    const SpanItem *fits = item(3, 2);
    ASSERT_NE(fits, nullptr);
    EXPECT_TRUE(tipAt(QPoint(fits->left + 200, fits->top + 8)).isEmpty());
    EXPECT_TRUE(tipAt(lanePoint(30)).isEmpty()); // no bar
}
