#include "core/Clock.h"
#include "core/Settings.h"
#include "mainwin/DateHeaderGrid.h"
#include "mainwin/MainWindow.h"
#include "mainwin/ViewTab.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"
#include "support/TestEnv.h"
#include "views/FlatButton.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
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
        : reg(testLocations()), layers(reg.dataPath(), &clock),
          events(reg.dataPath(), layers, time, &clock), tasks(reg.dataPath(), layers, clock)
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
    QAction *act(const char *name) { return win->action(QString::fromLatin1(name)); }
    template <class T> T *child(const char *name)
    {
        return win->findChild<T *>(QString::fromLatin1(name));
    }
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
    QTest::mouseClick(f.child<FlatButton>("Button_Next"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(f.w().span().first, c.firstAfterNext);
    EXPECT_EQ(f.w().span().days(), c.days);
    EXPECT_EQ(f.w().time().spanStart(), c.firstAfterNext);
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(f.child<FlatButton>("Button_Prev"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(f.w().span().first, c.firstAfterTwoPrevious);
    EXPECT_EQ(f.w().time().spanEnd(), c.firstAfterTwoPrevious + c.days);
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
    EXPECT_TRUE(f.act("MenuItem_30Minutes")->isChecked());
    EXPECT_TRUE(f.act("MenuItem_Week")->isChecked());
    EXPECT_TRUE(f.w().tab(2)->isMarked());
    EXPECT_FALSE(f.w().tab(0)->isMarked());
    EXPECT_EQ(f.w().span().first, day(2000, 8, 6));
    EXPECT_EQ(f.w().dateLabelText(), "6 Aug  -  12 Aug  2000");
    EXPECT_FALSE(f.w().navigatorShown());
    EXPECT_FALSE(f.act("MenuItem_ShowNavigator")->isChecked());
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

TEST(MainWindow, StartUpInALaterFamilyShowsItsTabAndLabelWithoutCrashing)
{
    Window f([](Settings &r) { r.setStartView(View12Months); });
    EXPECT_EQ(f.w().viewKind(), View12Months);
    EXPECT_TRUE(f.w().tab(4)->isMarked());
    EXPECT_EQ(f.w().tab(4)->text(), "12 Months");
    EXPECT_EQ(f.w().dateLabelText(), "Aug  2000 - Jul  2001");
    EXPECT_FALSE(f.act("MenuItem_ZoomIn")->isEnabled());
    EXPECT_FALSE(f.act("Popup_ZoomIn")->isVisible());
    f.w().zoomIn();
    f.w().stepNext();
    EXPECT_EQ(f.w().span().first, day(2000, 9, 1));
    EXPECT_TRUE(f.w().switchToView(ViewDay));
    EXPECT_TRUE(f.act("MenuItem_ZoomIn")->isEnabled());
}

TEST(MainWindow, DaySubmenuSetsTheDayChoiceAndTheTabText)
{
    Window f;
    f.act("MenuItem_3Days")->trigger();
    EXPECT_EQ(f.w().viewKind(), 2);
    EXPECT_EQ(f.w().tab(0)->text(), "3 Days");
    EXPECT_EQ(f.w().dateLabelText(), "9 Aug  -  11 Aug  2000");
    f.act("MenuItem_WorkWeek")->trigger();
    EXPECT_EQ(f.w().viewKind(), ViewWorkWeek);
    // A click on the Day tab brings back the last day choice.
    ViewTab *dayTab = f.child<ViewTab>("Label_Day");
    QTest::mouseClick(dayTab, Qt::LeftButton, {}, QPoint(10, 9));
    EXPECT_EQ(f.w().viewKind(), 2);
    EXPECT_TRUE(f.act("MenuItem_3Days")->isChecked());
}

TEST(MainWindow, SwitchingToTheShownViewDoesNothing)
{
    Window f;
    int reinit = 0, collects = 0;
    TimeGridHooks hooks;
    hooks.reinitialise = [&] { ++reinit; };
    hooks.collect = [&] { ++collects; };
    f.w().setTimeGridHooks(hooks);
    f.w().switchToView(ViewDay);
    EXPECT_EQ(reinit, 0);
    EXPECT_EQ(collects, 0);
    f.w().switchToView(ViewWeek);
    EXPECT_EQ(reinit, 1);
    EXPECT_GE(collects, 1);
}

TEST(MainWindow, LaterViewsCannotBeSwitchedToYet)
{
    Window f;
    EXPECT_FALSE(f.w().switchToView(ViewMonth));
    EXPECT_FALSE(f.w().switchToView(ViewTasks));
    EXPECT_EQ(f.w().viewKind(), ViewDay);
    EXPECT_TRUE(f.act("MenuItem_Day")->isChecked());
}

TEST(MainWindow, DayTabHeldOpensItsListAndTheReleaseChoosesTheRowUnderThePointer)
{
    Window f;
    ViewTab *tab = f.child<ViewTab>("Label_Day");
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
    EXPECT_TRUE(f.w().keyRightTimer().isActive());
    EXPECT_EQ(f.w().keyRightTimer().interval(), 150);
    // Auto-repeated presses while the timer runs add no steps of their own.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&f.w(), &repeat);
    EXPECT_EQ(f.w().span().first, start + 7);
    ASSERT_TRUE(waitFor([&] { return f.w().span().first >= start + 21; }, 2000));
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&f.w(), &repeatRelease);
    EXPECT_TRUE(f.w().keyRightTimer().isActive());
    QTest::keyRelease(&f.w(), Qt::Key_Right);
    EXPECT_FALSE(f.w().keyRightTimer().isActive());
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
    f.act("MenuItem_ZoomIn")->trigger();
    EXPECT_EQ(f.w().rowLayout().rowHeight, 21);
    EXPECT_LT(f.w().rowLayout().rowCount, rows16);
    f.act("MenuItem_ZoomOut")->trigger();
    f.act("MenuItem_ZoomOut")->trigger();
    EXPECT_EQ(f.w().rowLayout().rowHeight, 11);
    f.act("MenuItem_ZoomOut")->trigger();
    EXPECT_EQ(f.w().rowLayout().rowHeight, 11);
    EXPECT_EQ(f.w().currentView().rowCount, f.w().rowLayout().rowCount);
}

TEST(MainWindow, TimeScalesSetRowsPerDayAndAWholeDayFitsAtOneHour)
{
    Window f;
    int reinit = 0, collects = 0;
    TimeGridHooks hooks;
    hooks.reinitialise = [&] { ++reinit; };
    hooks.collect = [&] { ++collects; };
    f.w().setTimeGridHooks(hooks);
    f.act("MenuItem_1Hour")->trigger();
    EXPECT_EQ(f.w().stepsPerDay(), 24);
    EXPECT_FALSE(f.w().rowLayout().scrollBarVisible);
    EXPECT_FALSE(f.w().timeScrollBar()->isVisible());
    EXPECT_EQ(f.w().rowLayout().rowCount, 25);
    EXPECT_EQ(f.w().currentView().firstVisibleRow, 0);
    EXPECT_EQ(reinit, 1);
    EXPECT_EQ(collects, 1);
    // Zoom out cannot shrink rows below the stretched height while the day fits.
    const int stretched = f.w().rowLayout().rowHeight;
    f.w().zoomOut();
    EXPECT_EQ(f.w().rowLayout().rowHeight, stretched);
    f.act("MenuItem_5Minutes")->trigger();
    EXPECT_EQ(f.w().stepsPerDay(), 288);
    EXPECT_TRUE(f.w().rowLayout().scrollBarVisible);
    EXPECT_TRUE(f.act("Popup_5Minutes")->isChecked());
    // The shortcuts are F5 to F10 and Ctrl+I / Ctrl+O.
    EXPECT_EQ(f.act("MenuItem_5Minutes")->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(f.act("MenuItem_1Hour")->shortcut(), QKeySequence(Qt::Key_F10));
    EXPECT_EQ(f.act("MenuItem_ZoomIn")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
}

TEST(MainWindow, ColumnsFillTheGridWidthAndTheHooksGetTheLayout)
{
    Window f;
    std::vector<int> widths;
    TimeFamily::RowLayout rows;
    int minutes = 0;
    SerialDateTime seenFirst = 0;
    TimeGridHooks hooks;
    hooks.applyLayout = [&](int m, const TimeFamily::RowLayout &r, const std::vector<int> &w) {
        minutes = m;
        rows = r;
        widths = w;
    };
    hooks.collect = [&] { seenFirst = f.w().time().spanStart(); };
    f.w().setTimeGridHooks(hooks);
    f.w().switchToView(ViewWeek);
    ASSERT_EQ(widths.size(), 7u);
    const int gridWidth = f.w().timePanel()->width() - 18;
    EXPECT_EQ(std::accumulate(widths.begin(), widths.end(), 0), gridWidth - 60);
    EXPECT_EQ(minutes, 15);
    EXPECT_EQ(rows, f.w().rowLayout());
    EXPECT_EQ(seenFirst, day(2000, 8, 6));
    EXPECT_EQ(f.w().timeGridWidget()->width(), gridWidth);
    EXPECT_EQ(f.w().allDayWidget()->height(), rows.headerHeight);
    f.w().resize(700, 500);
    QApplication::processEvents();
    EXPECT_EQ(std::accumulate(widths.begin(), widths.end(), 0),
              f.w().timePanel()->width() - 18 - 60);
}

TEST(MainWindow, DateHeaderShowsEachDayAndFramesToday)
{
    Window f;
    f.w().switchToView(ViewWeek);
    DateHeaderGrid *h = f.w().dateHeader();
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
    int reinit = 0;
    TimeGridHooks hooks;
    hooks.reinitialise = [&] { ++reinit; };
    f.w().setTimeGridHooks(hooks);
    f.w().stepNext();
    f.w().stepNext();
    EXPECT_EQ(reinit, 0);
    f.w().time().setSelectionStart(day(2000, 8, 11) + 0.5);
    f.w().time().setSelectionEnd(day(2000, 8, 11) + 0.6);
    auto *today = f.child<FlatButton>("Button_Today");
    EXPECT_TRUE(today->caption().startsWith("Today: "));
    QTest::mouseClick(today, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(f.w().selectedDate(), day(2000, 8, 9));
    EXPECT_EQ(reinit, 1);
    EXPECT_FALSE(f.w().time().hasSelection());
}

TEST(MainWindow, HidingTheNavigatorWidensThePanels)
{
    Window f;
    EXPECT_EQ(f.w().timePanel()->x(), 170);
    f.act("MenuItem_ShowNavigator")->trigger();
    EXPECT_FALSE(f.w().navigatorShown());
    EXPECT_EQ(f.w().timePanel()->x(), 0);
    EXPECT_TRUE(f.child<FlatButton>("Button_ShowNavigator")->isVisible());
    EXPECT_EQ(f.child<FlatButton>("Button_New")->x(), 92);
    QTest::mouseClick(f.child<FlatButton>("Button_ShowNavigator"), Qt::LeftButton, {},
                      QPoint(5, 5));
    EXPECT_TRUE(f.w().navigatorShown());
    EXPECT_EQ(f.w().timePanel()->x(), 170);
    EXPECT_TRUE(f.act("MenuItem_ShowNavigator")->isChecked());
}

TEST(MainWindow, LaterCommandsArePresentAndDisabled)
{
    Window f;
    for (const char *name : {"MenuItem_New",
                             "MenuItem_Layer",
                             "MenuItem_DeleteEvents",
                             "MenuItem_MoveEvents",
                             "MenuItem_CopyEvents",
                             "MenuItem_Print",
                             "MenuItem_Undo",
                             "MenuItem_Edit",
                             "MenuItem_Delete",
                             "MenuItem_Cut",
                             "MenuItem_Copy",
                             "MenuItem_Paste",
                             "MenuItem_MoveToLayer",
                             "MenuItem_Options",
                             "MenuItem_Month",
                             "MenuItem_2Weeks",
                             "MenuItem_6Weeks",
                             "MenuItem_Year",
                             "MenuItem_3Months",
                             "MenuItem_12Months",
                             "MenuItem_Tasks",
                             "MenuItem_Help",
                             "MenuItem_AllShortcuts",
                             "MenuItem_About",
                             "Popup_NewEvent",
                             "Popup_Paste",
                             "Popup_Edit",
                             "Popup_Delete",
                             "Popup_Cut",
                             "Popup_Copy",
                             "Popup_MoveToLayer",
                             "Popup_NewSubtask",
                             "Popup_NewTask",
                             "Popup_ShowPriority",
                             "Popup_ShowFinished",
                             "Popup_Layer"}) {
        QAction *a = f.act(name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_FALSE(a->isEnabled()) << name;
    }
    EXPECT_EQ(f.act("MenuItem_New")->text(), "New Event...");
    EXPECT_EQ(f.act("MenuItem_New")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(f.act("MenuItem_Delete")->shortcut(), QKeySequence(Qt::Key_Delete));
    for (const char *name : {"Label_Month2", "Label_Year", "Label_Tasks"})
        EXPECT_FALSE(f.child<ViewTab>(name)->isEnabled()) << name;
    EXPECT_TRUE(f.act("MenuItem_Exit")->isEnabled());
    // Triggering a disabled later view does not crash and keeps the view.
    f.act("MenuItem_Month")->trigger();
    EXPECT_EQ(f.w().viewKind(), ViewDay);
    EXPECT_EQ(f.w().eventMenu()->actions().size(), 7);
    EXPECT_EQ(f.w().selectionMenu()->actions().size(), 5);
}

TEST(MainWindow, VisibleLayerFilterIsHandedOnAtReFilter)
{
    Window f;
    QString filter;
    f.w().setLayerFilterHandler([&](const QString &s) { filter = s; });
    f.w().reFilter();
    EXPECT_EQ(filter, f.layers.shownLayersFilter());
    EXPECT_FALSE(filter.isEmpty());
}
} // namespace
