// The navigator column in the main window over real stores: clicks on the calendar, the week,
// month and year lists and the layer boxes, checked against the window's selected date and
// span, the lists' cells, the layers table and what the time grid shows.
#include "mainwin/NavigatorColumn.h"
#include "core/Clock.h"
#include "core/LayerPalette.h"
#include "core/Settings.h"
#include "mainwin/MainPanels.h"
#include "mainwin/MainWindow.h"
#include "mainwin/NavigatorLayerList.h"
#include "mainwin/NavigatorList.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"
#include "support/TestEnv.h"
#include "views/FlatButton.h"
#include "views/NavigatorCalendar.h"
#include "views/TimeGrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>

namespace
{
SerialDateTime day(int y, int m, int d)
{
    return DateTimeValue::encodeDate(y, m, d);
}

constexpr int WorkColour = 3;

// A main window over a data folder holding layers "Work" (with "Planning" on Thursday
// 29 Feb 2024 10:00-11:00) and "Home"; today is that day, 09:30.
struct Navigator {
    QString root = TestEnv::freshDir("nav");
    Clock clock = [] {
        Clock c;
        c.setFixed(QDateTime(QDate(2024, 2, 29), QTime(9, 30)));
        return c;
    }();
    Settings reg{{root + "/dayloom.ini", root + "/data", root + "/autostart/dayloom.desktop",
                  "/opt/dayloom/dayloom"}};
    ViewDates time{clock};
    std::unique_ptr<LayersStore> layers;
    std::unique_ptr<EventsStore> events;
    std::unique_ptr<TasksStore> tasks;
    std::unique_ptr<MainWindow> win;
    int workId = -1;

    explicit Navigator(const std::function<void(Settings &)> &settings = {}, int height = 800)
    {
        if (settings) settings(reg);
        layers = std::make_unique<LayersStore>(reg.dataPath(), clock);
        workId = layers->insertLayer(2, QStringLiteral("Work"), true, WorkColour, 1, 30).id;
        EXPECT_TRUE(layers->insertLayer(3, QStringLiteral("Home"), true, 7, 1, 30).ok());
        events = std::make_unique<EventsStore>(reg.dataPath(), *layers, time, clock);
        const SerialDateTime start = day(2024, 2, 29) + DateTimeValue::encodeTime(10, 0);
        EXPECT_TRUE(events
                        ->insertEvent(EventRow(
                            QVariantList{QVariant(), workId, start, start + 1.0 / 24, false, false,
                                         0, 0, QStringLiteral("Planning"), QString(), false}))
                        .ok());
        tasks = std::make_unique<TasksStore>(reg.dataPath(), *layers, clock);
        win = std::make_unique<MainWindow>(reg, *layers, *events, *tasks, time, clock);
        win->resize(1000, height);
        win->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(win.get()));
        QApplication::processEvents();
    }
    ~Navigator()
    {
        win.reset();
        tasks.reset();
        events.reset();
        layers.reset();
    }

    NavigatorColumn &nav() { return win->navigator(); }
    NavigatorCalendar &cal() { return *nav().calendar(); }
    static void click(DrawGrid *g, int col, int row)
    {
        QTest::mouseClick(g, Qt::LeftButton, {}, g->cellRect(col, row).center());
    }
    static void click(FlatButton *b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5)); }
    // The window shows what the calendar holds.
    void expectShown(SerialDateTime d)
    {
        EXPECT_EQ(cal().selectedDate(), d);
        EXPECT_EQ(win->selectedDate(), d);
        EXPECT_EQ(win->span().first, d) << "the day view shows the selected day";
    }
};

TEST(NavigatorColumn, YearAndMonthListsMoveTheSelectedDateAndFollowIt)
{
    Navigator f;
    NavigatorColumn &n = f.nav();
    EXPECT_EQ(n.firstListedYear(), 2024);
    EXPECT_EQ(n.monthList()->currentCell(), (GridCell{0, 1}));

    // 29 Feb 2024 -> 2025 takes February's last day.
    Navigator::click(n.yearList(), 0, 1);
    f.expectShown(day(2025, 2, 28));
    EXPECT_EQ(f.win->dateLabelText(), "28 Feb  2025");
    EXPECT_EQ(n.yearList()->currentCell(), (GridCell{0, 1}));

    f.win->setSelectedDate(day(2025, 3, 31));
    Navigator::click(n.monthList(), 0, 1); // Feb
    f.expectShown(day(2025, 2, 28));
    Navigator::click(n.monthList(), 1, 5); // Dec
    f.expectShown(day(2025, 12, 28));
    EXPECT_EQ(n.monthList()->currentCell(), (GridCell{1, 5}));

    // The arrows move one year; past the list's top the list scrolls with them.
    Navigator::click(n.yearUpButton());
    Navigator::click(n.yearUpButton());
    f.expectShown(day(2023, 12, 28));
    EXPECT_EQ(n.firstListedYear(), 2023);
    EXPECT_EQ(n.yearList()->currentCell(), (GridCell{0, 0}));
    for (int i = 0; i < 4; ++i)
        Navigator::click(n.yearDownButton());
    EXPECT_EQ(f.cal().year(), 2027);
    EXPECT_EQ(n.firstListedYear(), 2024);
    EXPECT_EQ(n.yearList()->currentCell(), (GridCell{0, 3}));

    // Dates chosen elsewhere put their year in the last or first row.
    f.win->setSelectedDate(day(2040, 6, 1));
    EXPECT_EQ(n.firstListedYear(), 2037);
    f.win->stepPrevious();
    EXPECT_EQ(n.monthList()->currentCell(), (GridCell{0, 4}));
    f.win->setSelectedDate(day(2001, 1, 1));
    EXPECT_EQ(n.firstListedYear(), 2001);
    EXPECT_EQ(n.yearList()->currentCell(), (GridCell{0, 0}));
}

TEST(NavigatorColumn, CalendarClicksOnNeighbouringMonthsMoveTheWindow)
{
    Navigator f;
    // February 2024 begins on a Thursday: cell (0, 0) is Sunday 28 January.
    Navigator::click(f.nav().calendar(), 0, 0);
    f.expectShown(day(2024, 1, 28));
    EXPECT_EQ(f.nav().monthList()->currentCell(), (GridCell{0, 0}));
    // January 2024 begins on a Monday; its last row shows 4-10 February.
    Navigator::click(f.nav().calendar(), 2, 5);
    f.expectShown(day(2024, 2, 6));

    // Past the years the views can show, the calendar is put back at the window's date.
    f.win->setSelectedDate(day(1500, 1, 10));
    ASSERT_TRUE(f.win->switchToView(ViewWeek));
    Navigator::click(f.nav().calendar(), 2, 0); // Tuesday 2 Jan 1500: its week begins in 1499
    EXPECT_EQ(f.cal().selectedDate(), day(1500, 1, 10));
    EXPECT_EQ(f.win->selectedDate(), day(1500, 1, 10));
    EXPECT_EQ(f.win->span().first, day(1500, 1, 7));
}

TEST(NavigatorColumn, WeekStartOrdersTheLettersCalendarAndWeekView)
{
    for (const int start : {0, 1}) {
        SCOPED_TRACE(start);
        Navigator f([start](Settings &r) {
            r.setStartOfWeek(start);
            r.setStartView(ViewWeek);
        });
        const auto letters = f.nav().findChildren<QLabel *>();
        QStringList shown;
        for (QLabel *l : letters)
            if (l->text().size() == 1) shown << l->text();
        EXPECT_EQ(shown.join(""), start == 0 ? "SMTWTFS" : "MTWTFSS");
        EXPECT_EQ(f.cal().startOfWeek(), start);
        EXPECT_EQ(f.cal().firstCellDate(), start == 0 ? day(2024, 1, 28) : day(2024, 1, 29));
        // The calendar row of the selected day is the week the view shows.
        const GridCell c = f.cal().currentCell();
        EXPECT_EQ(f.win->span().first, f.cal().cellDate(0, c.row));
        EXPECT_EQ(f.win->span().first, start == 0 ? day(2024, 2, 25) : day(2024, 2, 26));
    }
}

TEST(NavigatorColumn, WeekListShowsIsoWeeksAndSelectsTheSameWeekday)
{
    Navigator f([](Settings &r) {
        r.setWeeksOn(true);
        r.setStartOfWeek(1);
    });
    NavigatorList *weeks = f.nav().weekList();
    ASSERT_TRUE(weeks->isVisible());
    // 29 Feb 2024 (Thursday) lies in week 9; 1 Jan 2024 is a Monday of week 1.
    EXPECT_EQ(weeks->currentCell(), (GridCell{1, 1}));
    Navigator::click(weeks, 2, 0); // week 3
    f.expectShown(day(2024, 1, 18));
    EXPECT_EQ(weeks->currentCell(), (GridCell{2, 0}));

    // 1 Jan 2021 is a Friday in week 53 of 2020: cell (0, 0) stands for that week.
    f.win->setSelectedDate(day(2021, 3, 3)); // Wednesday
    Navigator::click(weeks, 0, 0);
    f.expectShown(day(2020, 12, 30));
    EXPECT_EQ(f.nav().firstListedYear(), 2020);
}

TEST(NavigatorColumn, LayerBoxesHideAndShowLayersThroughTheStore)
{
    Navigator f;
    NavigatorLayerList *list = f.nav().layerList();
    ASSERT_EQ(list->layers().size(), 3u);               // the default layer, "Work" and "Home"
    const int workRow = f.layers->positionOf(f.workId); // row 0 is the header
    ASSERT_EQ(list->layers()[std::size_t(workRow - 1)].name, "Work");
    auto workBoxesOnGrid = [&] {
        const QImage shot = f.win->timeGrid()->grab().toImage();
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += shot.pixelColor(x, y) == LayerPalette::layerColor(WorkColour);
        return n;
    };
    ASSERT_GT(workBoxesOnGrid(), 0);

    // A press in the box released outside it changes nothing.
    const QRect box = list->boxRect(workRow);
    QTest::mousePress(list, Qt::LeftButton, {}, box.center());
    QTest::mouseRelease(list, Qt::LeftButton, {}, box.center() + QPoint(0, 16));
    EXPECT_TRUE(f.layers->layer(f.workId)->shown);

    QTest::mouseClick(list, Qt::LeftButton, {}, box.center());
    EXPECT_FALSE(f.layers->layer(f.workId)->shown);
    EXPECT_FALSE(list->layers()[std::size_t(workRow - 1)].shown);
    EXPECT_EQ(f.events->filterText(), f.layers->shownLayersFilter());
    EXPECT_FALSE(f.events->filterText().contains(QString::number(f.workId)));
    EXPECT_EQ(workBoxesOnGrid(), 0);
    {
        // The table file holds the change.
        const QString copyDir = TestEnv::freshDir("copy") + "/";
        ASSERT_TRUE(f.layers->backupTo(copyDir + "Layers.cds").ok());
        LayersStore copy(copyDir, f.clock);
        ASSERT_TRUE(copy.layer(f.workId).has_value());
        EXPECT_FALSE(copy.layer(f.workId)->shown);
    }

    // The header's box shows every layer, then hides them all.
    QTest::mouseClick(list, Qt::LeftButton, {}, list->boxRect(0).center());
    for (const LayerRow &l : f.layers->layers())
        EXPECT_TRUE(l.shown) << l.name.toStdString();
    EXPECT_GT(workBoxesOnGrid(), 0);
    QTest::mouseClick(list, Qt::LeftButton, {}, list->boxRect(0).center());
    EXPECT_EQ(f.layers->shownLayersFilter(), "Layer = -1");
    EXPECT_EQ(f.tasks->filterText(), "Layer = -1");
    EXPECT_EQ(workBoxesOnGrid(), 0);
}

TEST(NavigatorColumn, ShortWindowScrollsTheColumnBlockByBlock)
{
    Navigator f([](Settings &r) { r.setWeeksOn(true); }, 400);
    NavigatorColumn &n = f.nav();
    EXPECT_EQ(n.contentHeight(), 442 + 16 * 3);
    EXPECT_FALSE(n.scrollUpButton()->isVisible());
    ASSERT_TRUE(n.scrollDownButton()->isVisible());
    Navigator::click(n.scrollDownButton());
    EXPECT_EQ(n.scrollOffset(), 129);
    EXPECT_TRUE(n.scrollUpButton()->isVisible());
    ASSERT_TRUE(n.scrollDownButton()->isVisible());
    Navigator::click(n.scrollDownButton());
    EXPECT_EQ(n.scrollOffset(), 290) << "the week block is 161 high";
    EXPECT_EQ(n.monthList()->mapTo(&n, QPoint(0, 0)).y(), 18);
    EXPECT_FALSE(n.scrollDownButton()->isVisible()) << "the rest fits";
    Navigator::click(n.scrollUpButton());
    EXPECT_EQ(n.scrollOffset(), 129);
    f.win->resize(1000, 420);
    QApplication::processEvents();
    EXPECT_EQ(n.scrollOffset(), 0) << "a resize puts the column back to rest";

    // Without the week list the content is 161 shorter.
    n.setWeeksOn(false);
    EXPECT_EQ(n.contentHeight(), 442 - 161 + 16 * 3);
    EXPECT_EQ(n.monthList()->mapTo(&n, QPoint(0, 0)).y(), 129 + 18);
    f.win->resize(1000, 700);
    QApplication::processEvents();
    EXPECT_FALSE(n.scrollDownButton()->isVisible());
}
} // namespace
