#include "mainwin/MainWindow.h"
#include "core/Clock.h"
#include "core/Settings.h"
#include "mainwin/DateHeaderGrid.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainPanels.h"
#include "mainwin/ViewTab.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"
#include "support/TestEnv.h"
#include "views/AllDayStrip.h"
#include "views/FlatButton.h"
#include "views/MonthGrid.h"
#include "views/TasksGrid.h"
#include "views/TasksHeader.h"
#include "views/TimeGrid.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <numeric>

namespace
{
SerialDateTime day(int y, int m, int d)
{
    return DateTimeValue::encodeDate(y, m, d);
}

SettingsPaths testLocations()
{
    const QString root = TestEnv::freshDir("main");
    return {root + "/dayloom.ini", root + "/data", root + "/autostart/dayloom.desktop",
            "/opt/dayloom/dayloom"};
}

// A main window on its own settings and layers, today fixed at Wednesday 9 Aug 2000 10:30.
struct Window {
    explicit Window(const std::function<void(Settings &)> &settings = {})
        : reg(testLocations()), layers(reg.dataPath(), clock),
          events(reg.dataPath(), layers, time, clock), tasks(reg.dataPath(), layers, clock)
    {
        if (settings) settings(reg);
        win = std::make_unique<MainWindow>(reg, layers, events, tasks, time, clock);
        win->resize(1000, 700);
        win->show();
        QApplication::processEvents();
    }
    static Clock fixedClock()
    {
        Clock c;
        c.setFixed(QDateTime(QDate(2000, 8, 9), QTime(10, 30)));
        return c;
    }

    Clock clock = fixedClock();
    Settings reg;
    ViewDates time{clock};
    LayersStore layers;
    EventsStore events;
    TasksStore tasks;
    std::unique_ptr<MainWindow> win;

    MainWindow &w() { return *win; }
    MainMenus &menus() { return win->menus(); }
    MainPanels &panels() { return win->panels(); }
    TimeGrid &grid() { return *win->timeGrid(); }
    // The day collection the time grid shows.
    const DaySpanCollection &collection() { return events.collections().day; }
};

bool waitFor(const std::function<bool()> &cond, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < ms)
        QTest::qWait(10);
    return cond();
}

struct StepCase {
    const char *name;
    int kind;
    int startOfWeek;
    SerialDateTime firstAfterNext;
    SerialDateTime firstAfterTwoPrevious;
    int days;
};

class NavigationSteps : public testing::TestWithParam<StepCase>
{
};

// Next and previous through the window's buttons, from Wednesday 9 Aug 2000.
TEST_P(NavigationSteps, ButtonsMoveTheSpan)
{
    const StepCase &c = GetParam();
    Window f([&](Settings &r) { r.setStartOfWeek(c.startOfWeek); });
    ASSERT_TRUE(f.w().switchToView(c.kind));
    QTest::mouseClick(f.panels().nextButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(f.w().span().first, c.firstAfterNext);
    EXPECT_EQ(f.w().span().days(), c.days);
    EXPECT_EQ(f.w().viewDates().spanStart(), c.firstAfterNext);
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(f.panels().previousButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(f.w().span().first, c.firstAfterTwoPrevious);
    EXPECT_EQ(f.w().viewDates().spanEnd(), c.firstAfterTwoPrevious + c.days);
    EXPECT_EQ(f.w().currentView().columnCount, c.days);
    EXPECT_EQ(int(f.w().dayColumnWidths().size()), c.days);
}

INSTANTIATE_TEST_SUITE_P(
    Views, NavigationSteps,
    testing::Values(StepCase{"Day", 0, 0, day(2000, 8, 10), day(2000, 8, 8), 1},
                    StepCase{"TwoDays", 1, 0, day(2000, 8, 10), day(2000, 8, 8), 2},
                    StepCase{"ThreeDays", 2, 0, day(2000, 8, 10), day(2000, 8, 8), 3},
                    StepCase{"FourDays", 3, 0, day(2000, 8, 10), day(2000, 8, 8), 4},
                    StepCase{"FiveDays", 4, 0, day(2000, 8, 10), day(2000, 8, 8), 5},
                    StepCase{"SixDays", 5, 0, day(2000, 8, 10), day(2000, 8, 8), 6},
                    StepCase{"SevenDays", 6, 1, day(2000, 8, 10), day(2000, 8, 8), 7},
                    StepCase{"WorkWeekSundayStart", 7, 0, day(2000, 8, 14), day(2000, 7, 31), 5},
                    StepCase{"WorkWeekMondayStart", 7, 1, day(2000, 8, 14), day(2000, 7, 31), 5},
                    StepCase{"WeekSundayStart", 8, 0, day(2000, 8, 13), day(2000, 7, 30), 7},
                    StepCase{"WeekMondayStart", 8, 1, day(2000, 8, 14), day(2000, 7, 31), 7}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(MainWindow, StartsWithTheViewHourAndScaleOfTheSettings)
{
    Window f([](Settings &r) {
        r.setStartView(ViewWeek);
        r.setStartHour(10);
        r.setTimeScale(4); // 30 minutes
        r.setShowNavigator(false);
    });
    EXPECT_EQ(f.w().viewKind(), ViewWeek);
    EXPECT_EQ(f.w().minutesPerRow(), 30);
    EXPECT_TRUE(f.menus().timeScaleAction(4)->isChecked());
    EXPECT_TRUE(f.menus().viewAction(ViewWeek)->isChecked());
    EXPECT_TRUE(f.panels().tab(2)->isMarked());
    EXPECT_FALSE(f.panels().tab(0)->isMarked());
    EXPECT_EQ(f.w().span().first, day(2000, 8, 6));
    EXPECT_EQ(f.w().dateLabelText(), "6 Aug  -  12 Aug  2000");
    EXPECT_FALSE(f.w().navigatorShown());
    EXPECT_FALSE(f.menus().showNavigatorAction()->isChecked());
    // The hour is the first visible one unless the last page starts earlier.
    const auto &rows = f.w().rowLayout();
    const int hour = std::min(10, 24 - rows.pageSize);
    if (rows.scrollBarVisible) {
        EXPECT_EQ(f.w().scrollHour(), hour);
        EXPECT_EQ(f.w().currentView().firstVisibleRow,
                  TimeFamily::startPosition(hour, rows.pageSize, 30, rows.rowCount));
    }
    // Nothing is written back.
    f.w().setTimeScale(0);
    EXPECT_EQ(f.reg.timeScale(), 4);
}

TEST(MainWindow, StartUpSettingsOutOfRangeFallBackToTheDefaults)
{
    Window f([](Settings &r) {
        r.setStartView(25);
        r.setStartHour(99);
        r.setTimeScale(-3);
    });
    EXPECT_EQ(f.w().viewKind(), ViewDay);
    EXPECT_EQ(f.w().minutesPerRow(), 15);
    EXPECT_LE(f.w().scrollHour(), 23);
    EXPECT_EQ(f.w().dateLabelText(), "9 Aug  2000");
}

TEST(MainWindow, StartUpInTheTasksViewShowsTheTaskList)
{
    Window f([](Settings &r) { r.setStartView(ViewTasks); });
    EXPECT_EQ(f.w().viewKind(), ViewTasks);
    EXPECT_TRUE(f.panels().tab(5)->isMarked());
    EXPECT_TRUE(f.panels().tasksPanel()->isVisible());
    EXPECT_FALSE(f.panels().timePanel()->isVisible());
    // The header over the list follows the window's size.
    f.w().resize(1100, 700);
    QApplication::processEvents();
    EXPECT_TRUE(f.w().tasksHeader()->isVisible());
    EXPECT_EQ(f.w().tasksHeader()->width(), f.w().tasksGrid()->width());
    EXPECT_GT(f.w().tasksHeader()->width(), 500);
}

TEST(MainWindow, StartUpInALaterFamilyShowsItsTabAndLabelWithoutCrashing)
{
    Window f([](Settings &r) { r.setStartView(View12Months); });
    EXPECT_EQ(f.w().viewKind(), View12Months);
    EXPECT_TRUE(f.panels().tab(4)->isMarked());
    EXPECT_EQ(f.panels().tab(4)->text(), "12 Months");
    EXPECT_EQ(f.w().dateLabelText(), "Aug  2000 - Jul  2001");
    EXPECT_FALSE(f.menus().zoomInAction()->isEnabled());
    EXPECT_FALSE(f.menus().selectionZoomInAction()->isVisible());
    f.w().zoomIn();
    f.w().stepNext();
    EXPECT_EQ(f.w().span().first, day(2000, 9, 1));
    EXPECT_TRUE(f.w().switchToView(ViewDay));
    EXPECT_TRUE(f.menus().zoomInAction()->isEnabled());
}

TEST(MainWindow, DaySubmenuSetsTheDayChoiceAndTheTabText)
{
    Window f;
    f.menus().viewAction(2)->trigger();
    EXPECT_EQ(f.w().viewKind(), 2);
    EXPECT_EQ(f.panels().tab(0)->text(), "3 Days");
    EXPECT_EQ(f.w().dateLabelText(), "9 Aug  -  11 Aug  2000");
    f.menus().viewAction(ViewWorkWeek)->trigger();
    EXPECT_EQ(f.w().viewKind(), ViewWorkWeek);
    // A click on the Day tab brings back the last day choice.
    ViewTab *dayTab = f.panels().tab(0);
    QTest::mouseClick(dayTab, Qt::LeftButton, {}, QPoint(10, 9));
    EXPECT_EQ(f.w().viewKind(), 2);
    EXPECT_TRUE(f.menus().viewAction(2)->isChecked());
}

TEST(MainWindow, SwitchingToTheShownViewDoesNothing)
{
    Window f;
    f.grid().setDaySelection(1, {40, 44});
    f.w().viewDates().setSelectionStart(day(2000, 8, 9) + 0.4);
    f.w().viewDates().setSelectionEnd(day(2000, 8, 9) + 0.45);
    f.w().switchToView(ViewDay);
    EXPECT_TRUE(f.grid().daySelection(1).isSet());
    EXPECT_TRUE(f.w().viewDates().hasSelection());
    // Another view drops both selections and collects its days.
    f.w().switchToView(ViewWeek);
    EXPECT_FALSE(f.grid().daySelection(1).isSet());
    EXPECT_FALSE(f.w().viewDates().hasSelection());
    EXPECT_EQ(f.collection().dayCount(), 7);
}

TEST(MainWindow, ViewNumbersOutsideTheViewsAreRefused)
{
    Window f;
    EXPECT_FALSE(f.w().switchToView(20));
    EXPECT_FALSE(f.w().switchToView(-1));
    EXPECT_EQ(f.w().viewKind(), ViewDay);
    EXPECT_TRUE(f.menus().viewAction(ViewDay)->isChecked());
}

TEST(MainWindow, DayTabHeldOpensItsListAndTheReleaseChoosesTheRowUnderThePointer)
{
    Window f;
    ViewTab *tab = f.panels().tab(0);
    QTest::mousePress(tab, Qt::LeftButton, {}, QPoint(10, 9));
    QTest::qWait(100);
    EXPECT_FALSE(tab->isListVisible()); // not yet 250 ms
    ASSERT_TRUE(waitFor([&] { return tab->isListVisible(); }, 1000));
    EXPECT_EQ(tab->listWidget()->height(), 7 * 16);
    QTest::mouseMove(tab, QPoint(10, 20 + 3 * 16 + 8)); // row 3: "4 Days"
    EXPECT_EQ(tab->choice(), 3);
    QTest::mouseRelease(tab, Qt::LeftButton, {}, QPoint(10, 20 + 3 * 16 + 8));
    EXPECT_FALSE(tab->isListVisible());
    EXPECT_EQ(f.w().viewKind(), 3);
    EXPECT_EQ(tab->text(), "4 Days");
    EXPECT_EQ(f.w().span().days(), 4);
}

TEST(MainWindow, HeldRightArrowStepsAtOnceThenEvery150ms)
{
    Window f;
    f.w().switchToView(ViewWeek);
    const SerialDateTime start = f.w().span().first;
    QTest::keyPress(&f.w(), Qt::Key_Right);
    EXPECT_EQ(f.w().span().first, start + 7);
    EXPECT_TRUE(f.w().nextRepeatTimer().isActive());
    EXPECT_EQ(f.w().nextRepeatTimer().interval(), 150);
    // Auto-repeated presses while the timer runs add no steps of their own.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&f.w(), &repeat);
    EXPECT_EQ(f.w().span().first, start + 7);
    ASSERT_TRUE(waitFor([&] { return f.w().span().first >= start + 21; }, 2000));
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&f.w(), &repeatRelease);
    EXPECT_TRUE(f.w().nextRepeatTimer().isActive());
    QTest::keyRelease(&f.w(), Qt::Key_Right);
    EXPECT_FALSE(f.w().nextRepeatTimer().isActive());
    const SerialDateTime stopped = f.w().span().first;
    QTest::qWait(350);
    EXPECT_EQ(f.w().span().first, stopped);
    QTest::keyPress(&f.w(), Qt::Key_Left);
    QTest::keyRelease(&f.w(), Qt::Key_Left);
    EXPECT_EQ(f.w().span().first, stopped - 7);
}

TEST(MainWindow, UpAndDownKeysScrollOneHourWithinTheRange)
{
    Window f([](Settings &r) { r.setStartHour(0); });
    ASSERT_TRUE(f.w().rowLayout().scrollBarVisible);
    QTest::keyClick(&f.w(), Qt::Key_Up);
    EXPECT_EQ(f.w().scrollHour(), 0);
    QTest::keyClick(&f.w(), Qt::Key_Down);
    EXPECT_EQ(f.w().scrollHour(), 1);
    EXPECT_EQ(f.w().currentView().firstVisibleRow, 4);
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(&f.w(), Qt::Key_Down);
    const auto &rows = f.w().rowLayout();
    EXPECT_EQ(f.w().scrollHour(), 24 - rows.pageSize);
    // The last page ends with the day's last row.
    EXPECT_EQ(f.w().currentView().firstVisibleRow + rows.rowCount - 1, 96);
}

TEST(MainWindow, ZoomChangesTheRowHeightAndTheRowsShown)
{
    Window f;
    ASSERT_TRUE(f.w().rowLayout().scrollBarVisible);
    EXPECT_EQ(f.w().rowLayout().rowHeight, 16);
    const int rows16 = f.w().rowLayout().rowCount;
    f.menus().zoomInAction()->trigger();
    EXPECT_EQ(f.w().rowLayout().rowHeight, 21);
    EXPECT_LT(f.w().rowLayout().rowCount, rows16);
    f.menus().zoomOutAction()->trigger();
    f.menus().zoomOutAction()->trigger();
    EXPECT_EQ(f.w().rowLayout().rowHeight, 11);
    f.menus().zoomOutAction()->trigger();
    EXPECT_EQ(f.w().rowLayout().rowHeight, 11);
    EXPECT_EQ(f.w().currentView().rowCount, f.w().rowLayout().rowCount);
}

TEST(MainWindow, TimeScalesSetRowsPerDayAndAWholeDayFitsAtOneHour)
{
    Window f;
    f.grid().setDaySelection(1, {40, 44});
    f.menus().timeScaleAction(5)->trigger();
    EXPECT_EQ(f.w().stepsPerDay(), 24);
    EXPECT_FALSE(f.w().rowLayout().scrollBarVisible);
    EXPECT_FALSE(f.w().timeScrollBar()->isVisible());
    EXPECT_EQ(f.w().rowLayout().rowCount, 25);
    EXPECT_EQ(f.w().currentView().firstVisibleRow, 0);
    EXPECT_FALSE(f.grid().daySelection(1).isSet()) << "the time selection is dropped";
    EXPECT_EQ(f.grid().timeScale(), 60);
    EXPECT_EQ(f.collection().rowMinutes(), 60) << "collected at the new scale";
    // Zoom out cannot shrink rows below the stretched height while the day fits.
    const int stretched = f.w().rowLayout().rowHeight;
    f.w().zoomOut();
    EXPECT_EQ(f.w().rowLayout().rowHeight, stretched);
    f.menus().timeScaleAction(0)->trigger();
    EXPECT_EQ(f.w().stepsPerDay(), 288);
    EXPECT_TRUE(f.w().rowLayout().scrollBarVisible);
    EXPECT_TRUE(f.menus().selectionTimeScaleAction(0)->isChecked());
    // The shortcuts are F5 to F10 and Ctrl+I / Ctrl+O.
    EXPECT_EQ(f.menus().timeScaleAction(0)->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(f.menus().timeScaleAction(5)->shortcut(), QKeySequence(Qt::Key_F10));
    EXPECT_EQ(f.menus().zoomInAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
}

TEST(MainWindow, ColumnsFillTheGridWidthAndTheGridGetsTheLayout)
{
    Window f;
    f.w().switchToView(ViewWeek);
    const std::vector<int> &widths = f.w().dayColumnWidths();
    const TimeFamily::RowLayout &rows = f.w().rowLayout();
    TimeGrid &grid = f.grid();
    const auto gridHasTheLayout = [&] {
        ASSERT_EQ(widths.size(), 7u);
        const int gridWidth = f.panels().timePanel()->width() - 18;
        EXPECT_EQ(std::accumulate(widths.begin(), widths.end(), 0), gridWidth - 60);
        EXPECT_EQ(grid.width(), gridWidth);
        ASSERT_EQ(grid.colCount(), 8);
        for (int d = 1; d <= 7; ++d)
            EXPECT_EQ(grid.colWidth(d), widths[std::size_t(d - 1)]) << "day " << d;
        EXPECT_EQ(grid.rowCount(), rows.rowCount);
        EXPECT_EQ(grid.rowHeight(0), rows.headerHeight);
        EXPECT_EQ(grid.rowHeight(1), rows.rowHeight);
        EXPECT_EQ(grid.allDayStrip()->height(), rows.headerHeight);
    };
    gridHasTheLayout();
    EXPECT_EQ(grid.timeScale(), 15);
    EXPECT_EQ(f.w().viewDates().spanStart(), day(2000, 8, 6));
    EXPECT_EQ(f.collection().dayCount(), 7);
    f.w().resize(700, 500);
    QApplication::processEvents();
    gridHasTheLayout();
}

TEST(MainWindow, DateHeaderShowsEachDayAndFramesToday)
{
    Window f;
    f.w().switchToView(ViewWeek);
    DateHeaderGrid *h = f.panels().dateHeader();
    ASSERT_EQ(h->colCount(), 7);
    EXPECT_EQ(h->cellText(0), "Sun 6 Aug");
    EXPECT_EQ(h->cellText(6), "Sat 12 Aug");
    EXPECT_TRUE(h->todayFrame(3).isValid()); // Wednesday 9 Aug
    EXPECT_TRUE(h->todayFrame(2).isNull());
    const QImage img = h->grab().toImage();
    const QRect frame = h->todayFrame(3);
    EXPECT_EQ(img.pixelColor(frame.left(), frame.center().y()), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(h->cellRect(4, 0).left() + 2, 2), QColor(192, 192, 192));
    f.w().stepNext();
    EXPECT_TRUE(h->todayFrame(3).isNull());
}

TEST(MainWindow, TodayButtonSelectsTodayAndDropsATimeSelection)
{
    Window f;
    f.grid().setDaySelection(1, {40, 44});
    f.w().stepNext();
    f.w().stepNext();
    EXPECT_TRUE(f.grid().daySelection(1).isSet()) << "no range in ViewDates: nothing dropped";
    f.w().viewDates().setSelectionStart(day(2000, 8, 11) + 0.5);
    f.w().viewDates().setSelectionEnd(day(2000, 8, 11) + 0.6);
    FlatButton *today = f.panels().todayButton();
    EXPECT_TRUE(today->caption().startsWith("Today: "));
    QTest::mouseClick(today, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(f.w().selectedDate(), day(2000, 8, 9));
    EXPECT_FALSE(f.grid().daySelection(1).isSet());
    EXPECT_FALSE(f.w().viewDates().hasSelection());
}

TEST(MainWindow, HidingTheNavigatorWidensThePanels)
{
    Window f;
    EXPECT_EQ(f.panels().timePanel()->x(), 170);
    f.menus().showNavigatorAction()->trigger();
    EXPECT_FALSE(f.w().navigatorShown());
    EXPECT_EQ(f.panels().timePanel()->x(), 0);
    EXPECT_TRUE(f.panels().showNavigatorButton()->isVisible());
    EXPECT_EQ(f.panels().newButton()->x(), 92);
    QTest::mouseClick(f.panels().showNavigatorButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(f.w().navigatorShown());
    EXPECT_EQ(f.panels().timePanel()->x(), 170);
    EXPECT_TRUE(f.menus().showNavigatorAction()->isChecked());
}

TEST(MainWindow, SelectionCommandsStartDisabled)
{
    Window f;
    const MainMenus &m = f.menus();
    const std::pair<const char *, QAction *> needSelection[] = {
        {"Undo", m.undoAction()},
        {"Edit", m.editAction()},
        {"Delete", m.deleteAction()},
        {"Cut", m.cutAction()},
        {"Copy", m.copyAction()},
        {"Paste", m.pasteAction()},
        {"Move To Layer", m.moveToLayerAction()},
        {"selection menu: Paste", m.selectionPasteAction()},
        {"event menu: Edit", m.eventEditAction()},
        {"event menu: Delete", m.eventDeleteAction()},
        {"event menu: Cut", m.eventCutAction()},
        {"event menu: Copy", m.eventCopyAction()},
        {"event menu: Move To Layer", m.eventMoveToLayerAction()},
        {"task menu: New Subtask", m.newSubtaskAction()},
        {"tasks menu: New Task", m.newTaskAction()},
    };
    for (const auto &[name, a] : needSelection) {
        ASSERT_NE(a, nullptr) << name;
        EXPECT_FALSE(a->isEnabled()) << name;
    }
    // The layer manager's commands work at once.
    for (QAction *a : {m.layerManagerAction(), m.deleteEventsAction(), m.moveEventsAction(),
                       m.copyEventsAction(), m.layerMenuManagerAction()})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    // New works in the time views; Edit waits for one selected event.
    EXPECT_TRUE(m.newEventAction()->isEnabled());
    EXPECT_TRUE(m.selectionNewEventAction()->isEnabled());
    EXPECT_EQ(m.newEventAction()->text(), "New Event...");
    EXPECT_EQ(m.newEventAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(m.deleteAction()->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_TRUE(f.panels().tab(5)->isEnabled());
    EXPECT_TRUE(m.exitAction()->isEnabled());
    for (QAction *help : {m.helpAction(), m.allShortcutsAction(), m.aboutAction()})
        EXPECT_TRUE(help->isEnabled()) << help->text().toStdString();
    EXPECT_TRUE(m.printAction()->isEnabled());
    EXPECT_EQ(m.printAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    // The tasks view renames New.
    m.viewAction(ViewTasks)->trigger();
    EXPECT_EQ(f.w().viewKind(), ViewTasks);
    EXPECT_EQ(m.newEventAction()->text(), "New Task...");
    f.w().switchToView(ViewDay);
    EXPECT_EQ(m.eventMenu()->actions().size(), 7);
    EXPECT_EQ(m.selectionMenu()->actions().size(), 5);
}

TEST(MainWindow, VisibleLayerFilterIsHandedOnAtReFilter)
{
    Window f;
    QString filter;
    QObject::connect(&f.w(), &MainWindow::layerFilterChanged,
                     [&](const QString &s) { filter = s; });
    f.w().reFilter();
    EXPECT_EQ(filter, f.layers.shownLayersFilter());
    EXPECT_FALSE(filter.isEmpty());
}
} // namespace

struct LabelCase {
    int kind;
    const char *label;
    SerialDateTime first;
    int days;
    const char *labelAfterNext;
    const char *labelAfterTwoPrevious;
};

// Views 9-18 from Wednesday 15 November 2000, weeks from Sunday: the label and span, then one
// step forward by the next button and two back by the Left key.
TEST(MainWindow, MonthAndYearViewsLabelTheirSpanAndStep)
{
    const LabelCase cases[] = {
        {ViewMonth, "November  2000", day(2000, 10, 29), 42, "December  2000", "October  2000"},
        {View2Weeks, "12 Nov  -  25 Nov  2000", day(2000, 11, 12), 14, "19 Nov  -  2 Dec  2000",
         "5 Nov  -  18 Nov  2000"},
        {View6Weeks, "12 Nov  -  23 Dec  2000", day(2000, 11, 12), 42, "19 Nov  -  30 Dec  2000",
         "5 Nov  -  16 Dec  2000"},
        {ViewYear, "2000", day(2000, 1, 1), 366, "2001", "1999"},
        {View3Months, "Nov  2000 - Jan  2001", day(2000, 11, 1), 92, "Dec  2000 - Feb  2001",
         "October - December  2000"},
        {View6Months, "Nov  2000 - Apr  2001", day(2000, 11, 1), 181, "Dec  2000 - May  2001",
         "Oct  2000 - Mar  2001"},
        {View12Months, "Nov  2000 - Oct  2001", day(2000, 11, 1), 365, "Dec  2000 - Nov  2001",
         "Oct  2000 - Sep  2001"},
    };
    for (const LabelCase &c : cases) {
        SCOPED_TRACE(c.kind);
        Window f;
        ASSERT_TRUE(f.w().switchToView(c.kind));
        f.w().setSelectedDate(day(2000, 11, 15));
        EXPECT_EQ(f.w().dateLabelText(), c.label);
        EXPECT_EQ(f.w().span().first, c.first);
        EXPECT_EQ(f.w().span().days(), c.days);
        EXPECT_TRUE(f.menus().viewAction(c.kind)->isChecked());
        const bool month = ViewState::usesMonthGrid(quint8(c.kind));
        EXPECT_EQ(f.panels().monthPanel()->isVisible(), month);
        EXPECT_EQ(f.panels().yearPanel()->isVisible(), !month);
        EXPECT_TRUE(f.panels().tab(month ? 3 : 4)->isMarked());
        if (month) {
            EXPECT_EQ(f.w().monthGrid()->weekCount(), c.days / 7);
            EXPECT_EQ(f.panels().dateHeader()->cellText(0), "Sun");
        } else {
            EXPECT_EQ(f.panels().dateHeader()->cellText(0), c.kind == ViewYear ? "Jan" : "Nov");
        }
        QTest::mouseClick(f.panels().nextButton(), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(f.w().dateLabelText(), c.labelAfterNext);
        for (int i = 0; i < 2; ++i) {
            QTest::keyPress(&f.w(), Qt::Key_Left);
            QTest::keyRelease(&f.w(), Qt::Key_Left);
        }
        EXPECT_EQ(f.w().dateLabelText(), c.labelAfterTwoPrevious);
        // Up and Down do nothing here.
        const ViewSpan before = f.w().span();
        QTest::keyClick(&f.w(), Qt::Key_Down);
        EXPECT_EQ(f.w().span(), before);
    }
}

// The Month tab's drop-down choice, a stored event in the month grid, a drag that writes its
// row, and the mouse wheel stepping months.
TEST(MainWindow, MonthViewShowsStoredEventsAndADragWritesTheRow)
{
    Window f;
    const int layer = f.layers.insertLayer(2, QStringLiteral("Work"), true, 5, 1, 30).id;
    const InsertResult added = f.events.insertEvent(
        EventRow(QVariantList{QVariant(), layer, day(2000, 8, 10), day(2000, 8, 12), false, false,
                              0, 0, QStringLiteral("Trip"), QString(), false}));
    ASSERT_TRUE(added.ok());
    f.w().reFilter();
    QTest::mouseClick(f.panels().tab(3), Qt::LeftButton, {}, QPoint(10, 9));
    ASSERT_EQ(f.w().viewKind(), ViewMonth);
    EXPECT_EQ(f.panels().tab(3)->text(), "Month");
    MonthGrid &grid = *f.w().monthGrid();
    EXPECT_TRUE(grid.isVisible());
    EXPECT_EQ(f.panels().monthPanel()->width() - 1, grid.width());

    // August 2000 starts on a Tuesday: the grid begins on Sunday 30 July; 10 August is day 11.
    const auto &month = f.events.collections().month;
    ASSERT_EQ(month.itemCount(2), 1);
    const SpanItem bar = month.items(2)[0];
    EXPECT_EQ(std::pair(bar.first, bar.last), std::pair(5, 6));
    const QRect target = grid.cellRect(1, 2); // Monday 14 August
    QTest::mousePress(&grid, Qt::LeftButton, {}, QPoint(bar.left + 40, bar.top + 8));
    QTest::mouseMove(&grid, QPoint(target.left() + 40, bar.top + 8 + target.top() - bar.top + 16));
    QTest::mouseRelease(&grid, Qt::LeftButton, {},
                        QPoint(target.left() + 40, bar.top + 8 + target.top() - bar.top + 16));
    const auto stored = f.events.event(added.id);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->startTime(), day(2000, 8, 14));
    EXPECT_EQ(stored->endTime(), day(2000, 8, 16));
    EXPECT_EQ(month.itemCount(2), 0);
    ASSERT_EQ(month.itemCount(3), 1);
    EXPECT_EQ(grid.selectedEvents(), std::vector<int>{added.id});

    QWheelEvent wheel(QPointF(50, 50), grid.mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -120),
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&grid, &wheel);
    EXPECT_EQ(f.w().dateLabelText(), "September  2000");
}

// The wheel over the time grid scrolls by the hour, a touchpad's small deltas gathering into
// notches; with Ctrl it zooms.
TEST(MainWindow, WheelScrollsTheTimeGridAndCtrlWheelZooms)
{
    Window f([](Settings &r) { r.setStartHour(0); });
    ASSERT_TRUE(f.w().rowLayout().scrollBarVisible);
    TimeGrid &grid = f.grid();
    const auto turn = [&](int delta, Qt::KeyboardModifiers mods = {}) {
        QWheelEvent wheel(QPointF(100, 100), grid.mapToGlobal(QPointF(100, 100)), {},
                          QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&grid, &wheel);
    };
    turn(-240);
    EXPECT_EQ(f.w().scrollHour(), 2);
    turn(60);
    EXPECT_EQ(f.w().scrollHour(), 2);
    turn(60);
    EXPECT_EQ(f.w().scrollHour(), 1);
    turn(600); // never above the first hour
    EXPECT_EQ(f.w().scrollHour(), 0);
    const int height = f.w().zoomRowHeight();
    turn(120, Qt::ControlModifier);
    EXPECT_EQ(f.w().zoomRowHeight(), height + 5);
    turn(-240, Qt::ControlModifier);
    EXPECT_EQ(f.w().zoomRowHeight(), height - 5);
    EXPECT_EQ(f.w().scrollHour(), 0);
}
