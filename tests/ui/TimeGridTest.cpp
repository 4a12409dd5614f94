// The time grid driven by real mouse events over the fake events model.
#include "ui/TimeGridFixture.h"
#include "views/GridPaint.h"

using namespace GridsTest;

namespace
{

QColor gray(int v)
{
    return QColor(v, v, v);
}

} // namespace

class TimeGridTest : public DayGridFixture
{
protected:
    // Whole day on screen: zoom down so 96 rows fit the panel.
    void fitWholeDay()
    {
        panelLayout->setZoomRowHeight(5);
        refresh();
    }
};

TEST_F(TimeGridTest, ClickDragSelectsOverThreeDays)
{
    show();
    applyScroll(8); // 08:00 is the first row: step 33
    QTest::mousePress(grid, Qt::LeftButton, {}, cellPoint(2, 41)); // Tue 10:00
    QTest::mouseMove(grid, cellPoint(3, 45));
    QTest::mouseMove(grid, cellPoint(4, 48));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cellPoint(4, 48)); // Thu 11:45
    using R = TimeGrid::StepRange;
    EXPECT_EQ(grid->daySelection(1), R{});
    EXPECT_EQ(grid->daySelection(2), (R{41, 96}));
    EXPECT_EQ(grid->daySelection(3), (R{1, 96}));
    EXPECT_EQ(grid->daySelection(4), (R{1, 48}));
    EXPECT_EQ(grid->daySelection(5), R{});
    EXPECT_TRUE(sameTime(time.selectionStart(), at(2024, 3, 5, 10)));
    EXPECT_TRUE(sameTime(time.selectionEnd(), at(2024, 3, 7, 12)));

    const QImage img = shot();
    const QColor selected = GridPaint::selectedColor();
    EXPECT_EQ(img.pixelColor(cellPoint(3, 50)), selected) << "day between is wholly selected";
    EXPECT_EQ(img.pixelColor(cellPoint(2, 41)), selected);
    EXPECT_NE(img.pixelColor(cellPoint(2, 40)), selected) << "before the anchor";
    EXPECT_NE(img.pixelColor(cellPoint(4, 49)), selected) << "after the current cell";
    EXPECT_NE(img.pixelColor(cellPoint(1, 50)), selected);
}

TEST_F(TimeGridTest, ShiftPressExtendsFromTheAnchorAndRightReleaseAsksForTheMenu)
{
    show();
    applyScroll(8);
    int menus = 0;
    QObject::connect(grid, &TimeGrid::selectPopupRequested, [&] { ++menus; });
    QTest::mouseClick(grid, Qt::LeftButton, {}, cellPoint(5, 37));
    QTest::mousePress(grid, Qt::RightButton, Qt::ShiftModifier, cellPoint(3, 40));
    QTest::mouseRelease(grid, Qt::RightButton, Qt::ShiftModifier, cellPoint(3, 40));
    using R = TimeGrid::StepRange;
    EXPECT_EQ(grid->daySelection(3), (R{40, 96}));
    EXPECT_EQ(grid->daySelection(4), (R{1, 96}));
    EXPECT_EQ(grid->daySelection(5), (R{1, 37}));
    EXPECT_EQ(menus, 1);
}

TEST_F(TimeGridTest, UnhandledButtonSetsAreIgnored)
{
    show();
    applyScroll(8);
    QTest::mouseClick(grid, Qt::LeftButton, Qt::AltModifier, cellPoint(2, 41));
    QTest::mouseClick(grid, Qt::MiddleButton, {}, cellPoint(2, 41));
    EXPECT_FALSE(grid->daySelection(2).isSet());
    EXPECT_FALSE(time.hasSelection());
}

TEST_F(TimeGridTest, DragMovesAnEventByOneHourAndOneDay)
{
    model.add(event(1, at(2024, 3, 5, 10, 5), at(2024, 3, 5, 11, 5)));
    refresh();
    show();
    applyScroll(8);
    const QPoint body = cellPoint(2, 42, 8); // Tue 10:15 row, inside the box
    const size_t before = model.requests.size();
    QTest::mousePress(grid, Qt::LeftButton, {}, body);
    EXPECT_EQ(grid->dragMode(), DragMove);
    QTest::mouseMove(grid, cellPoint(2, 46, 8));
    QTest::mouseMove(grid, cellPoint(3, 46, 8));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cellPoint(3, 46, 8));
    const FakeEvent *e = model.find(1);
    EXPECT_TRUE(sameTime(e->start, at(2024, 3, 6, 11, 5))) << "minutes within the step kept";
    EXPECT_TRUE(sameTime(e->end, at(2024, 3, 6, 12, 5)));
    EXPECT_EQ(model.posts.size(), 2u) << "one post per changed cell";
    EXPECT_EQ(timeItem(model, 2, 1), nullptr) << "Tuesday collected again";
    ASSERT_NE(timeItem(model, 3, 1), nullptr);
    EXPECT_EQ(timeItem(model, 3, 1)->first, 45);
    // Only the touched days were collected during the drag.
    ASSERT_EQ(model.requests.size(), before + 2);
    for (size_t i = before; i < model.requests.size(); ++i) {
        EXPECT_EQ(model.requests[i].parts, unsigned(DaySpanCollection::TimeGridPart));
        EXPECT_GE(model.requests[i].firstGridDay, 2);
        EXPECT_LE(model.requests[i].lastGridDay, 3);
    }
}

TEST_F(TimeGridTest, TopEdgeDraggedBelowTheEndLeavesAZeroLengthEvent)
{
    model.add(event(1, at(2024, 3, 5, 10), at(2024, 3, 5, 11)));
    refresh();
    show();
    applyScroll(8);
    const SpanItem *item = timeItem(model, 2, 1);
    ASSERT_NE(item, nullptr);
    QTest::mousePress(grid, Qt::LeftButton, {}, QPoint(item->left + 20, item->top + 2));
    EXPECT_EQ(grid->dragMode(), DragStart);
    QTest::mouseMove(grid, cellPoint(2, 47));
    QTest::mouseMove(grid, cellPoint(2, 50));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cellPoint(2, 50));
    const FakeEvent *e = model.find(1);
    EXPECT_TRUE(sameTime(e->start, at(2024, 3, 5, 11)));
    EXPECT_TRUE(sameTime(e->end, at(2024, 3, 5, 11)));
    item = timeItem(model, 2, 1);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->startFrac, -1.0);
}

TEST_F(TimeGridTest, EndStretchedPastMidnightStaysInTheGridUntilRelease)
{
    model.add(event(1, at(2024, 3, 5, 20), at(2024, 3, 5, 22)));
    fitWholeDay();
    show();
    const SpanItem *item = timeItem(model, 2, 1);
    ASSERT_NE(item, nullptr);
    QTest::mousePress(grid, Qt::LeftButton, {}, QPoint(item->left + 20, item->bottom - 2));
    EXPECT_EQ(grid->dragMode(), DragEnd);
    QTest::mouseMove(grid, cellPoint(3, 40));
    QTest::mouseMove(grid, cellPoint(3, 84)); // Wed 21:00: 25 hours long
    EXPECT_TRUE(sameTime(model.find(1)->end, at(2024, 3, 6, 21)));
    EXPECT_NE(timeItem(model, 2, 1), nullptr) << "forced into the time grid while dragging";
    EXPECT_NE(timeItem(model, 3, 1), nullptr);
    EXPECT_EQ(stripItem(model, 1), nullptr);
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cellPoint(3, 84));
    EXPECT_EQ(timeItem(model, 2, 1), nullptr);
    EXPECT_EQ(timeItem(model, 3, 1), nullptr);
    const SpanItem *bar = stripItem(model, 1);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->first, 2);
    EXPECT_EQ(bar->last, 3);
    EXPECT_EQ(view.stripHeight, 31);
    EXPECT_EQ(grid->allDayStrip()->height(), grid->rowHeight(0)) << "panel laid out again";
    EXPECT_GE(grid->rowHeight(0), 31);
}

TEST_F(TimeGridTest, OccurrenceBodyDoesNotMoveButItsEdgesChangeTheSeries)
{
    FakeEvent r = event(5, at(2024, 3, 1, 13), at(2024, 3, 31, 14));
    r.recurrent = true;
    model.add(r);
    refresh();
    show();
    applyScroll(8);
    const SpanItem *wed = timeItem(model, 3, 5);
    ASSERT_NE(wed, nullptr);
    ASSERT_TRUE(wed->isOccurrence);
    QTest::mousePress(grid, Qt::LeftButton, {}, QPoint(wed->left + 20, wed->top + 30));
    EXPECT_EQ(grid->dragMode(), DragClicked);
    QTest::mouseMove(grid, cellPoint(3, 70));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cellPoint(3, 70));
    EXPECT_TRUE(model.posts.empty());

    const SpanItem *thu = timeItem(model, 4, 5);
    ASSERT_NE(thu, nullptr);
    QTest::mousePress(grid, Qt::LeftButton, {}, QPoint(thu->left + 20, thu->top + 2));
    EXPECT_EQ(grid->dragMode(), DragStart);
    QTest::mouseMove(grid, cellPoint(4, 49));
    QTest::mouseMove(grid, cellPoint(4, 48)); // 11:45
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cellPoint(4, 48));
    EXPECT_TRUE(sameTime(model.find(5)->start, at(2024, 3, 1, 11, 45))) << "date kept";
    for (int day = 1; day <= 7; ++day) {
        const SpanItem *i = timeItem(model, day, 5);
        ASSERT_NE(i, nullptr);
        EXPECT_EQ(i->first, 48) << "day " << day;
    }

    thu = timeItem(model, 4, 5);
    QTest::mousePress(grid, Qt::LeftButton, {}, QPoint(thu->left + 20, thu->bottom - 2));
    EXPECT_EQ(grid->dragMode(), DragEnd);
    QTest::mouseMove(grid, cellPoint(4, 60)); // ends 15:00
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cellPoint(4, 60));
    EXPECT_TRUE(sameTime(model.find(5)->end, at(2024, 3, 31, 15)));
    EXPECT_EQ(timeItem(model, 1, 5)->last, 60);
}

TEST_F(TimeGridTest, RecurringEndDraggedToMidnightAddsAnExtraDayAndBackRemovesIt)
{
    FakeEvent r = event(5, at(2024, 3, 1, 22), at(2024, 3, 31, 23));
    r.recurrent = true;
    model.add(r);
    fitWholeDay();
    show();
    const SpanItem *mon = timeItem(model, 1, 5);
    ASSERT_NE(mon, nullptr);
    QTest::mousePress(grid, Qt::LeftButton, {}, QPoint(mon->left + 20, mon->bottom - 2));
    QTest::mouseMove(grid, cellPoint(1, 96));
    EXPECT_EQ(model.find(5)->comboBox1, 1);
    EXPECT_EQ(DateTimeValue::msOfDay(model.find(5)->end), 0);
    QTest::mouseMove(grid, cellPoint(1, 95));
    EXPECT_EQ(model.find(5)->comboBox1, 0);
    EXPECT_TRUE(sameTime(model.find(5)->end, at(2024, 3, 31, 23, 45)));
    QTest::mouseMove(grid, cellPoint(1, 80)); // above the start: pinned to the start time
    EXPECT_TRUE(sameTime(model.find(5)->end, at(2024, 3, 31, 22)));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cellPoint(1, 80));
}

TEST_F(TimeGridTest, AutoScrollTimerScrollsWhileDraggingPastTheBottom)
{
    model.add(event(1, at(2024, 3, 5, 10), at(2024, 3, 5, 11)));
    refresh();
    show();
    applyScroll(8);
    ASSERT_LT(pageSize(), 23) << "the day must not fit";
    const SpanItem *item = timeItem(model, 2, 1);
    ASSERT_NE(item, nullptr);
    QTest::mousePress(grid, Qt::LeftButton, {}, QPoint(item->left + 20, item->bottom - 2));
    ASSERT_EQ(grid->dragMode(), DragEnd);
    const QPoint below(item->left + 20, grid->height() + 20);
    QTest::mouseMove(grid, below);
    EXPECT_TRUE(grid->autoScrollingDown());
    const int stepAtEdge = grid->currentStep();
    EXPECT_EQ(stepAtEdge, grid->rowCount() - 1 + 32);
    QTest::qWait(400);
    EXPECT_GT(scrollHour(), 8);
    EXPECT_GT(grid->currentStep(), stepAtEdge);
    EXPECT_EQ((grid->currentStep() - stepAtEdge) % 4, 0) << "one hour per tick";
    EXPECT_TRUE(sameTime(model.find(1)->end, at(2024, 3, 5) + double(grid->currentStep()) / 96.0));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, below);
    EXPECT_FALSE(grid->autoScrollingDown());
    const int hour = scrollHour();
    QTest::qWait(150);
    EXPECT_EQ(scrollHour(), hour);
}

TEST_F(TimeGridTest, BoxesAtTheirPlacedRectanglesInLayerAndSelectedColours)
{
    model.add(event(1, at(2024, 3, 4, 9), at(2024, 3, 4, 11), 1));
    model.add(event(2, at(2024, 3, 4, 10), at(2024, 3, 4, 12), 2));
    model.add(event(3, at(2024, 3, 5, 9), at(2024, 3, 5, 10), 99)); // no such layer
    refresh();
    show();
    applyScroll(8);
    const SpanItem *a = timeItem(model, 1, 1);
    const SpanItem *b = timeItem(model, 1, 2);
    const SpanItem *c = timeItem(model, 2, 3);
    ASSERT_TRUE(a && b && c);
    // Placement: two columns share the day column less 10 px; row 0 and the scroll row.
    const QRect day1 = grid->cellRect(1, 0);
    const int w = day1.width() - 10;
    EXPECT_EQ(a->left, day1.left() - 1);
    EXPECT_EQ(a->right, day1.left() + w / 2);
    EXPECT_EQ(b->left, day1.left() + w / 2 - 1);
    EXPECT_EQ(b->right, day1.left() + w);
    const int rh = grid->rowHeight(1);
    EXPECT_EQ(a->top, grid->rowHeight(0) + (37 - 32 - 1) * rh - 1);
    EXPECT_EQ(a->bottom, grid->rowHeight(0) + (44 - 32) * rh);

    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(b->left + 20, b->top + 30));
    ASSERT_EQ(grid->selectedEvents(), std::vector<int>{2});
    const QImage img = shot();
    const auto fillAt = [&](const SpanItem *i) {
        return img.pixelColor(i->right - 4, i->bottom - 6); // text area, below any text
    };
    EXPECT_EQ(fillAt(a), LayerPalette::layerColor(3));
    EXPECT_EQ(fillAt(b), GridPaint::selectedColor());
    EXPECT_EQ(fillAt(c), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(a->left, a->top + 10), GridPaint::lineColor()) << "frame";
    EXPECT_EQ(img.pixelColor(a->left + 2, a->top + 10), GridPaint::lineColor()) << "time bar";
    // The free 10 px right of the boxes keep the cell shade.
    const QPoint free(day1.right() - 4, cellPoint(1, 38).y());
    EXPECT_EQ(img.pixelColor(free), gray(GridPaint::cellShade(38, 4)));
}

TEST_F(TimeGridTest, TimeColumnAndCellShadesAtTheQuarterHourScale)
{
    show();
    applyScroll(8);
    const QImage img = shot();
    const int shades[] = {192, 175, 158, 141};
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(img.pixelColor(cellPoint(1, 37 + s)), gray(shades[s])) << "09:" << 15 * s;
        EXPECT_EQ(img.pixelColor(cellPoint(7, 41 + s)), gray(shades[s])) << "10:" << 15 * s;
    }
    // Cell bottoms carry the line colour.
    const QRect cell = grid->cellRect(1, 5);
    EXPECT_EQ(img.pixelColor(cell.left() + 5, cell.bottom()), GridPaint::lineColor());
    // Time column: hour lines every 4 rows, the current hour (10:00) lighter.
    const int header = grid->rowHeight(0);
    const int hourH = 4 * grid->rowHeight(1);
    EXPECT_EQ(img.pixelColor(2, header - 1), GridPaint::lineColor());
    EXPECT_EQ(img.pixelColor(2, header - 1 + hourH), GridPaint::lineColor());
    EXPECT_EQ(img.pixelColor(2, header - 1 + hourH - 2), GridPaint::backColor()) << "08:00";
    EXPECT_EQ(img.pixelColor(2, header - 1 + 3 * hourH - 2), GridPaint::panelColor()) << "10:00";
    EXPECT_EQ(img.pixelColor(40, header - 1 + hourH / 2), GridPaint::lineColor())
        << "half-hour tick";
}

TEST_F(TimeGridTest, ZoomStepsAndTheirLimits)
{
    EXPECT_EQ(grid->zoomRowHeight(), 16);
    EXPECT_TRUE(zoomOut());
    EXPECT_EQ(grid->zoomRowHeight(), 11);
    EXPECT_EQ(grid->rowHeight(1), 11) << "the rows follow";
    EXPECT_FALSE(zoomOut()) << "below 12 stays";
    while (zoomIn()) {
    }
    EXPECT_EQ(grid->zoomRowHeight(), 51) << "11, 16, ... 51; above 50 no further step";
    EXPECT_EQ(grid->rowHeight(1), 51);
}

TEST_F(TimeGridTest, DoubleClicksAskForTheEditorOrANewEvent)
{
    model.add(event(1, at(2024, 3, 5, 10), at(2024, 3, 5, 11)));
    refresh();
    show();
    applyScroll(8);
    int edited = 0;
    int created = 0;
    QObject::connect(grid, &TimeGrid::editRequested, [&](int id, SerialDateTime occ) {
        edited = id;
        EXPECT_EQ(occ, -1);
    });
    QObject::connect(grid, &TimeGrid::newEventRequested, [&] { ++created; });
    const SpanItem *item = timeItem(model, 2, 1);
    QTest::mouseDClick(grid, Qt::LeftButton, {}, QPoint(item->left + 20, item->top + 30));
    EXPECT_EQ(edited, 1);
    EXPECT_TRUE(model.posts.empty());
    QTest::mouseDClick(grid, Qt::LeftButton, {}, cellPoint(4, 68));
    EXPECT_EQ(created, 1);
    EXPECT_TRUE(sameTime(time.selectionStart(), at(2024, 3, 7, 16, 45)));
    EXPECT_TRUE(sameTime(time.selectionEnd(), at(2024, 3, 7, 17)));
}

struct HourLabelCase {
    int hour;
    bool twelve;
    const char *number;
    const char *suffix;
};

class HourLabelTest : public ::testing::TestWithParam<HourLabelCase>
{
};

TEST_P(HourLabelTest, Text)
{
    const HourLabelCase c = GetParam();
    const GridPaint::HourLabel l = GridPaint::hourLabel(c.hour, c.twelve);
    EXPECT_EQ(l.number, QString::fromLatin1(c.number));
    EXPECT_EQ(l.suffix, QString::fromLatin1(c.suffix));
}

INSTANTIATE_TEST_SUITE_P(
    BothClocks, HourLabelTest,
    ::testing::Values(HourLabelCase{0, true, "12", "A"}, HourLabelCase{9, true, "09", "A"},
                      HourLabelCase{11, true, "11", "A"}, HourLabelCase{12, true, "12", "P"},
                      HourLabelCase{13, true, "01", "P"}, HourLabelCase{23, true, "11", "P"},
                      HourLabelCase{0, false, "00", "00"}, HourLabelCase{9, false, "09", "00"},
                      HourLabelCase{23, false, "23", "00"}));

TEST(CellShadeTest, DarkensWithinTheHourForEveryScale)
{
    EXPECT_EQ(GridPaint::cellShade(5, 1), 192) << "hour scale";
    EXPECT_EQ(GridPaint::cellShade(2, 2), 157) << "30 minutes";
    EXPECT_EQ(GridPaint::cellShade(12, 12), 192 - 5 * 11) << "5 minutes, last of the hour";
    EXPECT_EQ(GridPaint::cellShade(13, 12), 192) << "next hour starts light";
}
