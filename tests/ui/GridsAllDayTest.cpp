// The all-day strip driven by real mouse events over the fake events model.
#include "ui/GridsFixture.h"
#include "views/GridsDM_Paint.h"

using namespace GridsTest;

namespace
{

const TSpanItem_Rec *stripItem(FakeEventModel &m, int id)
{
    for (const TSpanItem_Rec &i : m.dayCollection().stripItems())
        if (i.ID == id) return &i;
    return nullptr;
}

const TSpanItem_Rec *timeItem(FakeEventModel &m, int day, int id)
{
    for (const TSpanItem_Rec &i : m.dayCollection().timeItems(day))
        if (i.ID == id) return &i;
    return nullptr;
}

FakeEvent event(int id, TDateTime start, TDateTime end, int layer = 1)
{
    FakeEvent e;
    e.id = id;
    e.start = start;
    e.end = end;
    e.layer = layer;
    e.subject = QStringLiteral("Event %1").arg(id);
    return e;
}

} // namespace

class AllDayStripTest : public DayGridFixture
{
protected:
    TLumGrid_AllDay *strip() const { return grid->allDay(); }
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
    const TSpanItem_Rec *bar = stripItem(model, 1);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->First, 1);
    EXPECT_EQ(bar->Last, 2);
    QTest::mousePress(strip(), Qt::LeftButton, {}, QPoint(bar->Right - 2, bar->Top + 10));
    EXPECT_EQ(strip()->DragMode(), DragEnd);
    QTest::mouseMove(strip(), dayPoint(1, 10));
    EXPECT_TRUE(sameTime(model.find(1)->end, at(2024, 3, 5)));
    ASSERT_NE(stripItem(model, 1), nullptr) << "forced into the strip while dragging";
    EXPECT_EQ(timeItem(model, 1, 1), nullptr);
    QTest::mouseRelease(strip(), Qt::LeftButton, {}, dayPoint(1, 10));
    EXPECT_EQ(stripItem(model, 1), nullptr);
    ASSERT_NE(timeItem(model, 1, 1), nullptr) << "moved into the time grid";
    EXPECT_EQ(view.MinRowHeight, 15);
    EXPECT_EQ(strip()->height(), grid->rowHeight(0)) << "strip covers row 0";
}

TEST_F(AllDayStripTest, EndDraggedLeftOfTheStartLeavesStartEqualEnd)
{
    model.add(event(1, at(2024, 3, 5), at(2024, 3, 7)));
    refresh();
    show();
    const TSpanItem_Rec *bar = stripItem(model, 1);
    ASSERT_NE(bar, nullptr);
    QTest::mousePress(strip(), Qt::LeftButton, {}, QPoint(bar->Right - 2, bar->Top + 10));
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
    EXPECT_EQ(view.MinRowHeight, 52) << "two lanes";
    const TSpanItem_Rec *one = stripItem(model, 1);
    ASSERT_NE(one, nullptr);
    const QPoint grab(one->Left + 30, one->Top + 12);
    QTest::mousePress(strip(), Qt::LeftButton, {}, grab);
    EXPECT_EQ(strip()->DragMode(), DragMove);
    QTest::mouseMove(strip(), dayPoint(4, 12));
    QTest::mouseRelease(strip(), Qt::LeftButton, {}, dayPoint(4, 12));
    EXPECT_TRUE(sameTime(model.find(1)->start, at(2024, 3, 7)));
    EXPECT_TRUE(sameTime(model.find(1)->end, at(2024, 3, 8)));
    EXPECT_EQ(model.rescheduled, std::vector<int>{1});

    const QImage img = stripShot();
    one = stripItem(model, 1);
    const TSpanItem_Rec *two = stripItem(model, 2);
    ASSERT_TRUE(one && two);
    EXPECT_EQ(one->First, 4);
    EXPECT_EQ(img.pixelColor(one->Right - 4, one->Bottom - 3), GridsPaint::selectedColor());
    EXPECT_EQ(img.pixelColor(two->Right - 8, two->Bottom - 3), QColor(Qt::white)) << "no layer";
    // Time bar of the 09:00 start: white over the first 9/24 of a column, dark after it.
    const int w = strip()->colWidth(1);
    EXPECT_EQ(img.pixelColor(two->Left + 1 + w * 9 / 24 - 3, two->Top + 2), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(two->Left + 1 + w * 9 / 24 + 3, two->Top + 2),
              GridsPaint::lineColor());
}

TEST_F(AllDayStripTest, ClickOnAnEmptyDaySelectsTheWholeDay)
{
    show();
    applyScroll(8);
    QTest::mouseClick(strip(), Qt::LeftButton, {}, dayPoint(3));
    EXPECT_EQ(grid->DaySelection(3), (TLumGrid_DW::StepRange{1, 96}));
    EXPECT_TRUE(sameTime(time.SelStart(), at(2024, 3, 6)));
    EXPECT_TRUE(sameTime(time.SelEnd(), at(2024, 3, 7)));
    EXPECT_EQ(stripShot().pixelColor(dayPoint(3)), GridsPaint::occurrenceColor());
    EXPECT_EQ(stripShot().pixelColor(dayPoint(2)), GridsPaint::panelColor());
    EXPECT_EQ(shot().pixelColor(cellPoint(3, 40)), GridsPaint::selectedColor());

    QTest::mousePress(strip(), Qt::LeftButton, {}, dayPoint(2));
    QTest::mouseMove(strip(), dayPoint(5));
    QTest::mouseRelease(strip(), Qt::LeftButton, {}, dayPoint(5));
    EXPECT_TRUE(sameTime(time.SelStart(), at(2024, 3, 5)));
    EXPECT_TRUE(sameTime(time.SelEnd(), at(2024, 3, 9)));
    EXPECT_FALSE(grid->DaySelection(1).isSet());
    EXPECT_FALSE(grid->DaySelection(6).isSet());
}
