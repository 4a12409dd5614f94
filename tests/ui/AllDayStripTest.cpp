// The all-day strip driven by real mouse events over the fake events model.
#include "ui/TimeGridFixture.h"
#include "views/GridPaint.h"

using namespace GridsTest;

class AllDayStripTest : public DayGridFixture
{
protected:
    AllDayStrip *strip() const { return grid->allDayStrip(); }
    QPoint dayPoint(int day, int y = 5) const
    {
        return QPoint(strip()->cellRect(day, 0).center().x(), y);
    }
};

TEST_F(AllDayStripTest, ShorteningBelowOneDayStaysInTheStripUntilRelease)
{
    model.add(event(1, at(2024, 3, 4, 9), at(2024, 3, 6)));
    refresh();
    show();
    const SpanItem *bar = stripItem(model, 1);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->first, 1);
    EXPECT_EQ(bar->last, 2);
    QTest::mousePress(strip(), Qt::LeftButton, {}, QPoint(bar->right - 2, bar->top + 10));
    EXPECT_EQ(strip()->dragMode(), DragEnd);
    QTest::mouseMove(strip(), dayPoint(1, 10));
    EXPECT_TRUE(sameTime(model.find(1)->end, at(2024, 3, 5)));
    ASSERT_NE(stripItem(model, 1), nullptr) << "forced into the strip while dragging";
    EXPECT_EQ(timeItem(model, 1, 1), nullptr);
    QTest::mouseRelease(strip(), Qt::LeftButton, {}, dayPoint(1, 10));
    EXPECT_EQ(stripItem(model, 1), nullptr);
    ASSERT_NE(timeItem(model, 1, 1), nullptr) << "moved into the time grid";
    EXPECT_EQ(view.stripHeight, 15);
    EXPECT_EQ(strip()->height(), grid->rowHeight(0)) << "strip covers row 0";
}

TEST_F(AllDayStripTest, EndDraggedLeftOfTheStartLeavesStartEqualEnd)
{
    model.add(event(1, at(2024, 3, 5), at(2024, 3, 7)));
    refresh();
    show();
    const SpanItem *bar = stripItem(model, 1);
    ASSERT_NE(bar, nullptr);
    QTest::mousePress(strip(), Qt::LeftButton, {}, QPoint(bar->right - 2, bar->top + 10));
    QTest::mouseMove(strip(), dayPoint(2, 10));
    EXPECT_TRUE(sameTime(model.find(1)->end, at(2024, 3, 6))) << "one day long";
    QTest::mouseMove(strip(), QPoint(-20, 10)); // left of the strip: day 0
    QTest::mouseRelease(strip(), Qt::LeftButton, {}, QPoint(-20, 10));
    EXPECT_TRUE(sameTime(model.find(1)->end, at(2024, 3, 5)));
    EXPECT_TRUE(sameTime(model.find(1)->start, at(2024, 3, 5)));
}

TEST_F(AllDayStripTest, MoveByWholeDaysAndSelectionColours)
{
    model.add(event(1, at(2024, 3, 5), at(2024, 3, 6), 2));
    model.add(event(2, at(2024, 3, 5, 9), at(2024, 3, 7, 17), 99));
    refresh();
    show();
    EXPECT_EQ(view.stripHeight, 52) << "two lanes";
    const SpanItem *one = stripItem(model, 1);
    ASSERT_NE(one, nullptr);
    const QPoint grab(one->left + 30, one->top + 12);
    QTest::mousePress(strip(), Qt::LeftButton, {}, grab);
    EXPECT_EQ(strip()->dragMode(), DragMove);
    QTest::mouseMove(strip(), dayPoint(4, 12));
    QTest::mouseRelease(strip(), Qt::LeftButton, {}, dayPoint(4, 12));
    EXPECT_TRUE(sameTime(model.find(1)->start, at(2024, 3, 7)));
    EXPECT_TRUE(sameTime(model.find(1)->end, at(2024, 3, 8)));

    const QImage img = stripShot();
    one = stripItem(model, 1);
    const SpanItem *two = stripItem(model, 2);
    ASSERT_TRUE(one && two);
    EXPECT_EQ(one->first, 4);
    EXPECT_EQ(img.pixelColor(one->right - 4, one->bottom - 3), GridPaint::selectedColor());
    EXPECT_EQ(img.pixelColor(two->right - 8, two->bottom - 3), QColor(Qt::white)) << "no layer";
    // Time bar of the 09:00 start: white over the first 9/24 of a column, dark after it.
    const int w = strip()->colWidth(1);
    EXPECT_EQ(img.pixelColor(two->left + 1 + w * 9 / 24 - 3, two->top + 2), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(two->left + 1 + w * 9 / 24 + 3, two->top + 2), GridPaint::lineColor());
}

TEST_F(AllDayStripTest, ClickOnAnEmptyDaySelectsTheWholeDay)
{
    show();
    applyScroll(8);
    QTest::mouseClick(strip(), Qt::LeftButton, {}, dayPoint(3));
    EXPECT_EQ(grid->daySelection(3), (TimeGrid::StepRange{1, 96}));
    EXPECT_TRUE(sameTime(time.selectionStart(), at(2024, 3, 6)));
    EXPECT_TRUE(sameTime(time.selectionEnd(), at(2024, 3, 7)));
    EXPECT_EQ(stripShot().pixelColor(dayPoint(3)), GridPaint::occurrenceColor());
    EXPECT_EQ(stripShot().pixelColor(dayPoint(2)), GridPaint::panelColor());
    EXPECT_EQ(shot().pixelColor(cellPoint(3, 40)), GridPaint::selectedColor());

    QTest::mousePress(strip(), Qt::LeftButton, {}, dayPoint(2));
    QTest::mouseMove(strip(), dayPoint(5));
    QTest::mouseRelease(strip(), Qt::LeftButton, {}, dayPoint(5));
    EXPECT_TRUE(sameTime(time.selectionStart(), at(2024, 3, 5)));
    EXPECT_TRUE(sameTime(time.selectionEnd(), at(2024, 3, 9)));
    EXPECT_FALSE(grid->daySelection(1).isSet());
    EXPECT_FALSE(grid->daySelection(6).isSet());
}
