// The navigator calendar driven as a user drives it: real clicks and wheel turns on its cells,
// checked against the selected date, the signal and the painted cells.
#include "views/NavigatorCalendar.h"

#include "core/Clock.h"
#include "core/LayerPalette.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace
{
SerialDateTime day(int y, int m, int d)
{
    return DateTimeValue::encodeDate(y, m, d);
}

// A 140 x 96 calendar (20 x 16 cells), today fixed at Wednesday 5 Aug 2026.
struct Calendar {
    Clock clock = [] {
        Clock c;
        c.setFixed(QDateTime(QDate(2026, 8, 5), QTime(9, 0)));
        return c;
    }();
    NavigatorCalendar cal{clock};
    QSignalSpy changes{&cal, &NavigatorCalendar::dateChanged};

    Calendar()
    {
        cal.resize(140, 96);
        cal.show();
        QApplication::processEvents();
    }
    void click(int col, int row)
    {
        QTest::mouseClick(&cal, Qt::LeftButton, {}, cal.cellRect(col, row).center());
    }
    void wheel(int angle)
    {
        const QPointF at = cal.cellRect(3, 3).center();
        QWheelEvent e(at, cal.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&cal, &e);
    }
    SerialDateTime lastSignalled() const { return changes.last().at(0).toDouble(); }
};

TEST(NavigatorCalendar, FillsAll42CellsFromTheWeekStartOnOrBeforeThe1st)
{
    Calendar f;
    EXPECT_EQ(f.cal.selectedDate(), day(2026, 8, 5));
    // August 2026 begins on a Saturday: last column of row 0 with Sunday weeks.
    EXPECT_EQ(f.cal.firstCellDay(), -5);
    EXPECT_EQ(f.cal.firstCellDate(), day(2026, 7, 26));
    EXPECT_EQ(f.cal.cellDate(6, 5), day(2026, 9, 5));
    EXPECT_EQ(f.cal.currentCell(), (GridCell{3, 1}));

    // Monday weeks move the 1st one column left and keep the selection on its day.
    f.cal.setStartOfWeek(1);
    EXPECT_EQ(f.cal.firstCellDay(), -4);
    EXPECT_EQ(f.cal.firstCellDate(), day(2026, 7, 27));
    EXPECT_EQ(f.cal.currentCell(), (GridCell{2, 1}));
    EXPECT_EQ(f.changes.count(), 0) << "the week start does not change the date";

    // March 2026 begins on a Sunday: 1 March in cell (0, 0), April in the last rows.
    f.cal.setStartOfWeek(7);
    EXPECT_EQ(f.cal.startOfWeek(), 0);
    ASSERT_TRUE(f.cal.setSelectedDate(day(2026, 3, 1) + 0.75));
    EXPECT_EQ(f.cal.selectedDate(), day(2026, 3, 1)) << "the time of day is dropped";
    EXPECT_EQ(f.cal.firstCellDay(), 1);
    EXPECT_EQ(f.cal.cellDate(3, 4), day(2026, 4, 1));
    EXPECT_EQ(f.cal.currentCell(), (GridCell{0, 0}));

    // The painted cells: selected, days of the month, days of the next month, and today's
    // white frame.
    ASSERT_TRUE(f.cal.setSelectedDate(day(2026, 8, 20)));
    const QImage img = f.cal.grab().toImage();
    auto at = [&](int col, int row, int dx = 2, int dy = 2) {
        return img.pixelColor(f.cal.cellRect(col, row).topLeft() + QPoint(dx, dy));
    };
    EXPECT_EQ(at(4, 3), LayerPalette::colorFromBGR(6307874)) << "20 Aug, selected";
    EXPECT_EQ(at(6, 0), LayerPalette::colorFromBGR(10841658)) << "1 Aug";
    EXPECT_EQ(at(0, 0), LayerPalette::colorFromBGR(13409135)) << "26 Jul";
    EXPECT_EQ(at(6, 5), LayerPalette::colorFromBGR(13409135)) << "5 Sep";
    EXPECT_EQ(at(3, 1, 0, 8), QColor(Qt::white)) << "today's frame";
    EXPECT_EQ(at(3, 0, 0, 8), LayerPalette::colorFromBGR(13409135)) << "29 Jul has no frame";
}

TEST(NavigatorCalendar, ClicksOnNeighbouringMonthsMoveTheCalendarThere)
{
    Calendar f;
    f.click(1, 0); // 27 July
    EXPECT_EQ(f.cal.selectedDate(), day(2026, 7, 27));
    ASSERT_EQ(f.changes.count(), 1);
    EXPECT_EQ(f.lastSignalled(), day(2026, 7, 27));
    // July begins on a Wednesday: the calendar moved, the clicked day is in row 4 now.
    EXPECT_EQ(f.cal.firstCellDate(), day(2026, 6, 28));
    EXPECT_EQ(f.cal.currentCell(), (GridCell{1, 4}));

    f.click(6, 5); // 8 August
    EXPECT_EQ(f.cal.selectedDate(), day(2026, 8, 8));
    EXPECT_EQ(f.changes.count(), 2);

    // The selected day again signals again; a right click does nothing.
    f.click(6, 1); // 8 August in August's layout
    EXPECT_EQ(f.changes.count(), 3);
    QTest::mouseClick(&f.cal, Qt::RightButton, {}, f.cal.cellRect(2, 2).center());
    EXPECT_EQ(f.changes.count(), 3);
    EXPECT_EQ(f.cal.selectedDate(), day(2026, 8, 8));
}

TEST(NavigatorCalendar, YearAndMonthChangesCutTheDayToTheNewMonth)
{
    Calendar f;
    ASSERT_TRUE(f.cal.setSelectedDate(day(2024, 2, 29)));
    ASSERT_TRUE(f.cal.setYear(2025));
    EXPECT_EQ(f.cal.selectedDate(), day(2025, 2, 28));
    ASSERT_TRUE(f.cal.setYear(2024));
    EXPECT_EQ(f.cal.selectedDate(), day(2024, 2, 28)) << "the cut day stays cut";

    ASSERT_TRUE(f.cal.setSelectedDate(day(2024, 1, 31)));
    ASSERT_TRUE(f.cal.setMonth(2));
    EXPECT_EQ(f.cal.selectedDate(), day(2024, 2, 29));
    ASSERT_TRUE(f.cal.setSelectedDate(day(2023, 1, 31)));
    ASSERT_TRUE(f.cal.stepMonths(1));
    EXPECT_EQ(f.cal.selectedDate(), day(2023, 2, 28));
    ASSERT_TRUE(f.cal.setSelectedDate(day(2023, 1, 15)));
    ASSERT_TRUE(f.cal.stepMonths(1));
    EXPECT_EQ(f.cal.selectedDate(), day(2023, 2, 15));
    ASSERT_TRUE(f.cal.setSelectedDate(day(2023, 3, 31)));
    ASSERT_TRUE(f.cal.stepMonths(-13));
    EXPECT_EQ(f.cal.selectedDate(), day(2022, 2, 28));

    // Days past either end of the month run on into the neighbours.
    ASSERT_TRUE(f.cal.setDay(0));
    EXPECT_EQ(f.cal.selectedDate(), day(2022, 1, 31));
    ASSERT_TRUE(f.cal.setDay(33));
    EXPECT_EQ(f.cal.selectedDate(), day(2022, 2, 2));
}

TEST(NavigatorCalendar, RefusedChangesLeaveTheDateAndSignalNothing)
{
    Calendar f;
    ASSERT_TRUE(f.cal.setSelectedDate(day(1500, 1, 10)));
    const int before = int(f.changes.count());
    EXPECT_FALSE(f.cal.setMonth(0));
    EXPECT_FALSE(f.cal.setMonth(13));
    EXPECT_FALSE(f.cal.setMonth(1)) << "the shown month";
    EXPECT_FALSE(f.cal.setYear(1500)) << "the shown year";
    EXPECT_FALSE(f.cal.setYear(1499));
    EXPECT_FALSE(f.cal.setYear(10000));
    EXPECT_FALSE(f.cal.stepMonths(-1));
    EXPECT_FALSE(f.cal.setDay(-20));
    EXPECT_FALSE(f.cal.setSelectedDate(day(1499, 12, 31)));
    EXPECT_FALSE(f.cal.setDate(QDate()));
    f.click(0, 0); // 31 Dec 1499 (1 Jan 1500 was a Monday)
    EXPECT_EQ(f.cal.selectedDate(), day(1500, 1, 10));
    EXPECT_EQ(f.changes.count(), before);

    ASSERT_TRUE(f.cal.setDate(QDate(9999, 12, 31)));
    EXPECT_FALSE(f.cal.stepMonths(1));
    EXPECT_FALSE(f.cal.setDay(32));
    EXPECT_EQ(f.cal.date(), QDate(9999, 12, 31));
}

TEST(NavigatorCalendar, WheelStepsMonthsAndReadOnlyRefusesTheUser)
{
    Calendar f;
    ASSERT_TRUE(f.cal.setSelectedDate(day(2026, 1, 31)));
    f.wheel(-120);
    EXPECT_EQ(f.cal.selectedDate(), day(2026, 2, 28));
    f.wheel(60);
    EXPECT_EQ(f.cal.selectedDate(), day(2026, 2, 28)) << "half a notch waits for the rest";
    f.wheel(60);
    f.wheel(120);
    EXPECT_EQ(f.cal.selectedDate(), day(2025, 12, 28));

    f.cal.setReadOnly(true);
    const int before = int(f.changes.count());
    f.click(0, 0);
    f.wheel(-240);
    EXPECT_EQ(f.cal.selectedDate(), day(2025, 12, 28));
    EXPECT_EQ(f.changes.count(), before);
    // The program may still set the date of a read-only calendar.
    ASSERT_TRUE(f.cal.setMonth(3));
    EXPECT_EQ(f.cal.selectedDate(), day(2025, 3, 28));
}
} // namespace
