// The line of the current time across today's column of the time grid, on the fixture's week
// (Monday 4 to Sunday 10 March 2024) with the clock at Tuesday 5 March 10:30.
#include "ui/TimeGridFixture.h"

using namespace GridsTest;

namespace
{
const QColor NowColor{TimeGrid::NowLineColor};

// Rows of `img` in column x..x+w that hold the now-line's colour.
std::vector<int> nowRows(const QImage &img, int x, int w = 1)
{
    std::vector<int> rows;
    for (int y = 0; y < img.height(); ++y)
        for (int i = x; i < x + w; ++i)
            if (img.pixelColor(i, y) == NowColor) {
                rows.push_back(y);
                break;
            }
    return rows;
}

bool anyNowPixel(const QImage &img)
{
    return !nowRows(img, 0, img.width()).empty();
}
} // namespace

class NowLineTest : public DayGridFixture
{
protected:
    int dayX(int day) const { return grid->cellRect(day, 1).left() + 20; }
    // Top of the row of absolute step `step` on screen.
    int stepTop(int step) const { return grid->cellRect(1, step - view.firstVisibleRow).top(); }
};

TEST_F(NowLineTest, CrossesTodaysColumnAtTheTimeOverEventsAndFollowsTheClock)
{
    model.add(event(1, at(2024, 3, 5, 10), at(2024, 3, 5, 11)));
    refresh();
    show();
    applyScroll(8);
    const int rh = grid->rowHeight(1);
    ASSERT_GE(rh, 4);

    // 10:30 is where step 43 begins; the line lies over Tuesday's event box.
    QImage img = shot();
    const int y = stepTop(43);
    EXPECT_EQ(nowRows(img, dayX(2)), (std::vector<int>{y, y + 1}));
    const SpanItem *box = timeItem(model, 2, 1);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(img.pixelColor(box->right - 3, y), NowColor) << "over the event";
    EXPECT_TRUE(nowRows(img, dayX(1)).empty()) << "Monday";
    EXPECT_TRUE(nowRows(img, dayX(3)).empty()) << "Wednesday";
    EXPECT_TRUE(nowRows(img, 0, TimeGrid::TimeColumnWidth).empty()) << "time column";
    EXPECT_NE(img.pixelColor(grid->cellRect(2, 1).right(), y), NowColor) << "day separator";

    // Half a row later the timer's refresh moves it, and the old place is painted over.
    clock.setFixed(QDateTime(QDate(2024, 3, 5), QTime(10, 37, 30)));
    grid->refreshNowLine();
    img = shot();
    const int later = y + rh / 2;
    EXPECT_EQ(nowRows(img, dayX(2)), (std::vector<int>{later, later + 1}));

    // Midnight starts the line at the first step of the next day.
    clock.setFixed(QDateTime(QDate(2024, 3, 6), QTime(0, 0)));
    applyScroll(0);
    grid->refreshNowLine();
    img = shot();
    EXPECT_TRUE(nowRows(img, dayX(2)).empty());
    EXPECT_EQ(nowRows(img, dayX(3)), (std::vector<int>{stepTop(1), stepTop(1) + 1}));
}

TEST_F(NowLineTest, NotDrawnWhenTodayOrItsTimeIsOutOfSight)
{
    show();
    applyScroll(8);
    ASSERT_TRUE(anyNowPixel(shot()));

    applyScroll(14); // 10:30 above the first visible row: nothing over the strip's row
    EXPECT_FALSE(anyNowPixel(shot()));

    applyScroll(8);
    clock.setFixed(QDateTime(QDate(2024, 3, 12), QTime(10, 30))); // next week
    grid->refreshNowLine();
    EXPECT_FALSE(anyNowPixel(shot()));
    clock.setFixed(QDateTime(QDate(2024, 3, 3), QTime(10, 30))); // the Sunday before
    grid->refreshNowLine();
    EXPECT_FALSE(anyNowPixel(shot()));
}
