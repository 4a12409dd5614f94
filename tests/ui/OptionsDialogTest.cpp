// The options dialog driven with real clicks and keys: every control written to the settings
// file by OK, the rules between controls while it is open, Cancel, and (over a main window)
// what OK puts into effect at once.
#include "dialogs/OptionsDialog.h"
#include "ModalDriver.h"
#include "WindowOverStores.h"
#include "app/DayloomApp.h"
#include "core/SettingsFile.h"
#include "core/ViewState.h"
#include "dialogs/DatePopup.h"
#include "dialogs/EventEditor.h"
#include "mainwin/EventEditing.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainPanels.h"
#include "mainwin/NavigatorColumn.h"
#include "mainwin/OptionsCommand.h"
#include "support/TestEnv.h"
#include "views/FlatButton.h"
#include "views/NavigatorCalendar.h"
#include "views/TasksGrid.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QToolButton>

namespace
{
QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The value of `key` in the settings file as it is on disk now.
QString stored(const QString &iniPath, const char *key)
{
    SettingsFile file(iniPath);
    EXPECT_TRUE(file.load());
    return file.value(QString::fromLatin1(Settings::Section), QString::fromLatin1(key))
        .value_or(QStringLiteral("<missing>"));
}

void clickTab(OptionsDialog &d, int page)
{
    QTest::mouseClick(d.tab(page), Qt::LeftButton, {}, QPoint(20, 8));
}

void clickBox(QAbstractButton *b)
{
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

// Chooses entry `index` with the arrow keys in the closed list, passing the entries between.
void choose(QComboBox *list, int index)
{
    list->setFocus();
    for (int i = list->currentIndex(); i < index; ++i)
        QTest::keyClick(list, Qt::Key_Down);
    for (int i = list->currentIndex(); i > index; --i)
        QTest::keyClick(list, Qt::Key_Up);
    ASSERT_EQ(list->currentIndex(), index) << list->objectName().toStdString();
}

template <class T> T *control(OptionsDialog &d, const char *name)
{
    T *w = d.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// A settings file and the dialog over it, shown.
struct Dialog {
    QString root = TestEnv::freshDir("options");
    SettingsPaths where = pathsBelow(root);
    Settings reg{where};
    DateTimeFormat format{QLocale(QLocale::English, QLocale::UnitedStates)};
    QStringList warnings;
    std::unique_ptr<OptionsDialog> dialog;

    explicit Dialog(const std::function<void(Settings &)> &before = {})
    {
        if (before) before(reg);
        DialogPrompts prompts;
        prompts.warn = [this](const QString &text) { warnings << text; };
        dialog = std::make_unique<OptionsDialog>(reg, format, QFont(), prompts, nullptr);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    OptionsDialog &d() { return *dialog; }
    QString ini(const char *key) const { return stored(where.settingsFile, key); }
};
} // namespace

TEST(OptionsDialog, EveryControlIsWrittenToTheSettingsFileByOk)
{
    Dialog t([](Settings &s) { s.setAutostart(true); });
    ASSERT_TRUE(QFile::exists(t.where.autostartFile));
    OptionsDialog &d = t.d();
    const auto box = [&d](const char *name) {
        return [&d, name] { clickBox(control<QCheckBox>(d, name)); };
    };
    const auto list = [&d](const char *name, int index) {
        return [&d, name, index] { choose(control<QComboBox>(d, name), index); };
    };
    struct Case {
        int page;
        std::function<void()> act;
        const char *key;
        const char *expected;
    };
    const std::vector<Case> cases{
        {0, box("alarmSoundOn"), "AlarmSoundOn", "false"},
        {0, box("useTrayIcon"), "UseTrayIcon", "false"},
        {0, [] {}, "Autostart", "false"}, // follows the tray box
        {1, list("startOfWeek", 1), "StartOfWeek", "1"},
        {1, box("weeksOn"), "WeeksOn", "true"},
        {1, list("dateFormat", 6), "DateFormat", "6"},
        {1, list("dateSeparator", 3), "DateSeparator", "3"},
        {1, list("timeFormat", 2), "TimeFormat", "2"},
        {1, list("timeSeparator", 4), "TimeSeparator", "4"},
        {2, list("view", 9), "View", "9"},
        {2, list("time", 24), "Time", "24"},
        {2, list("timeScale", 5), "TimeScale", "5"},
        {2, box("showNavigator"), "ShowNavigator", "false"},
        {3, list("printWidth", 2), "PrintWidth", "2"},
        {3, list("printHeight", 1), "PrintHeight", "1"},
        {3, list("printFontSize", 8), "PrintFontSize", "8"},
        {3, list("printColor", 2), "PrintColor", "2"},
        {3, box("printHeading"), "PrintHeading", "false"},
        {3, list("printStop", 10), "StopPrintingTime", "10"},
        {3, list("printStart", 5), "StartPrintingTime", "5"},
        {3,
         [&d] {
             choose(d.orientationList(), 2);
             clickBox(d.portraitButton());
             choose(d.orientationList(), 0);
             clickBox(d.landscapeButton());
         },
         "Orientation", "01100000000000000000"},
        {4, box("grid4_0"), "ShowAlarmDW", "false"},
        {4, box("grid4_1"), "ShowStartDW", "false"},
        {4, box("grid4_2"), "ShowEndDW", "true"},
        {5, box("grid5_0"), "ShowAlarmMonth", "false"},
        {5, box("grid5_1"), "ShowStartMonth", "false"},
        {5, box("grid5_2"), "ShowEndMonth", "true"},
        {6, box("grid6_0"), "ShowAlarmYear", "false"},
        {6, box("grid6_1"), "ShowStartYear", "false"},
        {6, box("grid6_2"), "ShowEndYear", "true"},
        {7, box("grid7_0"), "ShowAlarmTasks", "false"},
    };
    for (const Case &c : cases) {
        clickTab(d, c.page);
        ASSERT_EQ(d.currentPage(), c.page);
        c.act();
    }
    QSignalSpy applied(&d, &OptionsDialog::applied);
    QTest::mouseClick(d.okButton(), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    ASSERT_EQ(applied.count(), 1);
    const auto outcome = applied.at(0).at(0).value<OptionsDialog::Outcome>();
    EXPECT_TRUE(outcome.trayWasOn);
    EXPECT_FALSE(outcome.togglePriority);
    EXPECT_FALSE(outcome.toggleFinished);

    for (const Case &c : cases)
        EXPECT_EQ(t.ini(c.key), QString::fromLatin1(c.expected)) << c.key;
    EXPECT_FALSE(QFile::exists(t.where.autostartFile)) << "the autostart entry went with the tray";
    EXPECT_TRUE(t.warnings.isEmpty());

    // Shown again, the dialog shows what is stored.
    d.show();
    EXPECT_EQ(d.currentPage(), 0) << "every showing starts on General";
    EXPECT_EQ(control<QComboBox>(d, "time")->currentIndex(), 24);
    EXPECT_EQ(control<QComboBox>(d, "printStop")->currentIndex(), 10);
    EXPECT_FALSE(control<QCheckBox>(d, "autostart")->isEnabled());
    EXPECT_TRUE(control<QCheckBox>(d, "weeksOn")->isChecked());
    EXPECT_TRUE(d.landscapeButton()->isChecked()) << "Day is landscape now";
}

TEST(OptionsDialog, CancelAndEscapeLeaveTheSettingsFileUntouched)
{
    Dialog t([](Settings &s) {
        s.setStartOfWeek(1);
        s.setWeeksOn(true);
    });
    OptionsDialog &d = t.d();
    const QByteArray before = bytesOf(t.where.settingsFile);
    ASSERT_FALSE(before.isEmpty());

    clickBox(control<QCheckBox>(d, "useTrayIcon"));
    clickTab(d, 1);
    choose(control<QComboBox>(d, "startOfWeek"), 0);
    EXPECT_FALSE(control<QCheckBox>(d, "weeksOn")->isChecked());
    clickTab(d, 7);
    clickBox(control<QCheckBox>(d, "grid7_1"));
    QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(bytesOf(t.where.settingsFile), before);

    d.show();
    EXPECT_TRUE(control<QCheckBox>(d, "useTrayIcon")->isChecked());
    EXPECT_EQ(control<QComboBox>(d, "startOfWeek")->currentIndex(), 1);
    EXPECT_TRUE(control<QCheckBox>(d, "weeksOn")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(d, "grid7_1")->isChecked());
    clickTab(d, 2);
    choose(control<QComboBox>(d, "view"), 3);
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(bytesOf(t.where.settingsFile), before);
}

TEST(OptionsDialog, ControlsFollowEachOtherWhileOpen)
{
    Dialog t([](Settings &s) {
        s.setAutostart(true);
        s.setPrintStopTime(6);
    });
    OptionsDialog &d = t.d();
    auto *tray = control<QCheckBox>(d, "useTrayIcon");
    auto *autostart = control<QCheckBox>(d, "autostart");
    EXPECT_TRUE(autostart->isChecked());
    clickBox(tray);
    EXPECT_FALSE(autostart->isChecked());
    EXPECT_FALSE(autostart->isEnabled());
    clickBox(tray);
    EXPECT_TRUE(autostart->isEnabled());
    EXPECT_FALSE(autostart->isChecked()) << "enabled again, not checked again";

    clickTab(d, 1);
    auto *weeks = control<QCheckBox>(d, "weeksOn");
    EXPECT_FALSE(weeks->isEnabled()) << "a Sunday week has no week list";
    choose(control<QComboBox>(d, "startOfWeek"), 1);
    ASSERT_TRUE(weeks->isEnabled());
    clickBox(weeks);
    EXPECT_TRUE(weeks->isChecked());

    // The hour lists: 12-hour by the locale, then 24-hour with "." keeping the chosen entries.
    QComboBox *time = d.timeList();
    EXPECT_EQ(time->count(), 25);
    EXPECT_EQ(time->itemText(0), "12:00 AM");
    EXPECT_EQ(time->itemText(13), "01:00 PM");
    EXPECT_EQ(time->itemText(24), "12:00 AM");
    EXPECT_EQ(time->currentIndex(), 8);
    EXPECT_EQ(d.printStopList()->itemText(24), "12:00 AM");
    EXPECT_EQ(d.printStartList()->itemText(0), "Screen Start");
    choose(control<QComboBox>(d, "timeFormat"), 2);
    choose(control<QComboBox>(d, "timeSeparator"), 4);
    EXPECT_EQ(time->itemText(0), "00.00");
    EXPECT_EQ(time->itemText(13), "13.00");
    EXPECT_EQ(time->currentIndex(), 8);
    EXPECT_EQ(d.printStartList()->itemText(1), "00.00");
    EXPECT_EQ(d.printStopList()->itemText(1), "01.00");
    EXPECT_EQ(d.printStopList()->itemText(24), "00.00");
    EXPECT_EQ(d.printStopList()->currentIndex(), 6);

    // Start and stop stay in order; "Screen End" lets any start stand.
    clickTab(d, 3);
    choose(d.printStartList(), 9);
    EXPECT_EQ(d.printStopList()->currentIndex(), 9);
    choose(d.printStopList(), 4);
    EXPECT_EQ(d.printStartList()->currentIndex(), 4);
    choose(d.printStopList(), 0);
    choose(d.printStartList(), 20);
    EXPECT_EQ(d.printStopList()->currentIndex(), 0);

    // Tabs: the row clicked at the top moves next to the pages.
    EXPECT_EQ(d.tab(0)->y(), OptionsDialog::TabHeight);
    EXPECT_EQ(d.tab(5)->y(), 0);
    clickTab(d, 5);
    EXPECT_EQ(d.tab(5)->y(), OptionsDialog::TabHeight);
    EXPECT_EQ(d.tab(0)->y(), 0);
    EXPECT_TRUE(d.page(5)->isVisible());
    EXPECT_FALSE(d.page(3)->isVisible());
    clickTab(d, 6);
    EXPECT_EQ(d.tab(6)->y(), OptionsDialog::TabHeight) << "same row: no swap";
}

TEST(OptionsDialog, TheSoundEntryMustNameAnExistingFileWithItsFolder)
{
    Dialog t;
    OptionsDialog &d = t.d();
    const QString data = t.reg.dataPath();
    QFile bare(data + "bell.wav");
    ASSERT_TRUE(bare.open(QIODevice::WriteOnly));
    bare.close();
    QDir(data).mkpath("sounds");
    QFile inFolder(data + "sounds/gong.wav");
    ASSERT_TRUE(inFolder.open(QIODevice::WriteOnly));
    inFolder.close();

    QLineEdit *sound = d.alarmSoundEdit();
    const QString original = t.reg.alarmSound();
    const auto enter = [&](const QString &text) {
        sound->setFocus();
        sound->selectAll();
        QTest::keyClicks(sound, text);
        QTest::keyClick(sound, Qt::Key_Return);
    };
    enter("bell.wav");
    EXPECT_EQ(t.warnings, QStringList{"The file bell.wav does not exist."})
        << "a bare name is refused even though the file lies in the data folder";
    EXPECT_EQ(sound->text(), original);
    enter("sounds/missing.wav");
    EXPECT_EQ(t.warnings.value(1), "The file sounds/missing.wav does not exist.");
    enter("sounds/gong.wav");
    EXPECT_EQ(t.warnings.size(), 2) << "a path below the data folder is accepted";
    enter(data + "bell.wav");
    EXPECT_EQ(t.warnings.size(), 2);

    // A refused entry typed and then OK: the stored sound stays.
    sound->setFocus();
    sound->selectAll();
    QTest::keyClicks(sound, "nowhere/x.wav");
    QTest::mouseClick(d.okButton(), Qt::LeftButton);
    EXPECT_EQ(t.warnings.size(), 3);
    EXPECT_EQ(t.ini("AlarmSound"), original);
}

namespace
{
// The paths below a fresh folder whose settings file holds `text`; an empty settings file name
// when it could not be written.
SettingsPaths settingsFileHolding(const char *folder, const QByteArray &text)
{
    const QString root = TestEnv::freshDir(folder);
    SettingsPaths where = pathsBelow(root);
    QDir().mkpath(root);
    QFile f(where.settingsFile);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) where.settingsFile.clear();
    return where;
}
} // namespace

TEST(OptionsDialog, OutOfRangeSettingsShowTheirDefaultsAndOkWritesThem)
{
    const SettingsPaths where = settingsFileHolding(
        "options-range",
        "[DayloomLE]\nStartOfWeek=7\nDateFormat=-1\nTimeFormat=9\nView=40\nTime=25\n"
        "TimeScale=6\nPrintFontSize=99\nPrintColor=-3\nStopPrintingTime=30\nOrientation=01\n");
    ASSERT_FALSE(where.settingsFile.isEmpty());
    Settings reg(where);
    EXPECT_EQ(reg.startOfWeek(), 0);
    EXPECT_EQ(reg.dateFormat(), 0);
    EXPECT_EQ(reg.timeFormat(), 0);
    EXPECT_EQ(reg.startView(), 0);
    EXPECT_EQ(reg.startHour(), 8);
    EXPECT_EQ(reg.timeScale(), 3);

    const DateTimeFormat format;
    OptionsDialog d(reg, format, QFont(), {}, nullptr);
    d.show();
    QTest::mouseClick(d.okButton(), Qt::LeftButton);
    for (auto [key, expected] :
         {std::pair{"StartOfWeek", "0"}, std::pair{"DateFormat", "0"}, std::pair{"TimeFormat", "0"},
          std::pair{"View", "0"}, std::pair{"Time", "8"}, std::pair{"TimeScale", "3"},
          std::pair{"PrintFontSize", "4"}, std::pair{"PrintColor", "0"},
          std::pair{"StopPrintingTime", "0"}, std::pair{"Orientation", "01000000000000000000"}})
        EXPECT_EQ(stored(where.settingsFile, key), QString::fromLatin1(expected)) << key;
}

// The task list is a start-up view like the others: kept from the file, shown and written back.
TEST(OptionsDialog, TheTaskListCanBeTheStartUpView)
{
    const SettingsPaths where = settingsFileHolding("options-tasks-view", "[DayloomLE]\nView=19\n");
    ASSERT_FALSE(where.settingsFile.isEmpty());
    Settings reg(where);
    EXPECT_EQ(reg.startView(), ViewTasks);
    const DateTimeFormat format;
    OptionsDialog d(reg, format, QFont(), {}, nullptr);
    d.show();
    auto *view = d.findChild<QComboBox *>("view");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->currentText(), "Tasks");
    QTest::mouseClick(d.okButton(), Qt::LeftButton);
    EXPECT_EQ(stored(where.settingsFile, "View"), "19");
}

// ---------------------------------------------------------------------------------------------
// What OK puts into effect in the main window.

namespace
{
struct OptionsWindow : WindowOverStores {
    QString root = TestEnv::freshDir("options-win");
    Clock clock = fixedClock(QDateTime(QDate(2024, 2, 29), QTime(9, 30)));
    Settings reg{pathsBelow(root)};
    ViewDates time{clock};

    OptionsWindow()
    {
        reg.setDateFormat(4);
        reg.setDateSeparator(1);
        reg.setTimeFormat(2);
        reg.setTimeSeparator(1);
        EXPECT_TRUE(open(reg, time, clock));
        win->setMessageSink([this](const QString &text) { messages << text; });
    }
    // Opens the dialog from the Edit menu, lets `change` work on it, then presses OK.
    void runOptions(const std::function<void(OptionsDialog &)> &change)
    {
        whenModal([&](QWidget *w) {
            auto *d = qobject_cast<OptionsDialog *>(w);
            ASSERT_NE(d, nullptr);
            change(*d);
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
        });
        win->menus().optionsAction()->trigger();
        QApplication::processEvents();
    }
    QStringList messages;
};
} // namespace

TEST(OptionsEffects, FormatsAndWeekStartReachTheWindowAndTheEditorsAtOnce)
{
    OptionsWindow w;
    ASSERT_TRUE(w.win->menus().optionsAction()->isEnabled());
    EXPECT_EQ(w.win->panels().todayButton()->caption(), "Today: 02-29-2024");
    EXPECT_EQ(w.win->navigator().calendar()->startOfWeek(), 0);

    w.runOptions([](OptionsDialog &d) {
        clickTab(d, 1);
        choose(control<QComboBox>(d, "dateFormat"), 6);
        choose(control<QComboBox>(d, "dateSeparator"), 3);
        choose(control<QComboBox>(d, "timeFormat"), 1);
        choose(control<QComboBox>(d, "startOfWeek"), 1);
        clickBox(control<QCheckBox>(d, "weeksOn"));
    });
    EXPECT_EQ(w.win->panels().todayButton()->caption(), "Today: 2024.02.29");
    EXPECT_EQ(w.win->format().timeItemList().value(26), "01:00 PM");
    NavigatorColumn &nav = w.win->navigator();
    EXPECT_EQ(nav.calendar()->startOfWeek(), 1);
    EXPECT_TRUE(nav.weeksOn());
    EXPECT_EQ(nav.scrollOffset(), 0);
    QLabel *firstLetter = nullptr;
    for (QLabel *l : nav.findChildren<QLabel *>())
        if (l->text().size() == 1 && (!firstLetter || l->x() < firstLetter->x())) firstLetter = l;
    ASSERT_NE(firstLetter, nullptr);
    EXPECT_EQ(firstLetter->text(), "M");
    // The week view now runs Monday to Sunday.
    ASSERT_TRUE(w.win->switchToView(ViewWeek));
    EXPECT_EQ(w.win->span().first, DateTimeValue::encodeDate(2024, 2, 26));

    // The event editor's drop-down calendar and its time list follow too.
    EventEditor &editor = w.win->eventEditing().editor();
    bool checked = false;
    whenModal([&](QWidget *) {
        auto *drop = editor.findChildren<QToolButton *>().value(0);
        ASSERT_NE(drop, nullptr);
        QTest::mouseClick(drop, Qt::LeftButton);
        auto *popup = editor.findChild<DatePopup *>();
        ASSERT_TRUE(popup && popup->isVisible());
        EXPECT_EQ(popup->calendar().startOfWeek(), 1);
        popup->close();
        auto *start = editor.findChild<QComboBox *>(QStringLiteral("startTime"));
        ASSERT_NE(start, nullptr);
        EXPECT_EQ(start->itemText(2), "01:00 AM");
        EXPECT_TRUE(start->currentText().endsWith(" AM") || start->currentText().endsWith(" PM"));
        EXPECT_TRUE(editor.findChild<QLineEdit *>(QStringLiteral("startDate"))
                        ->text()
                        .contains("2024.02."));
        checked = true;
        editor.reject();
    });
    (void)w.win->eventEditing().newEventHere();
    EXPECT_TRUE(checked);
}

TEST(OptionsEffects, TasksColumnsTrayAndAutostartFollowOk)
{
    OptionsWindow w;
    ASSERT_TRUE(w.win->switchToView(ViewTasks));
    TasksGrid *grid = w.win->tasksGrid();
    ASSERT_EQ(grid->colCount(), 3);
    QSignalSpy tray(w.win.get(), &MainWindow::trayIconWanted);

    w.runOptions([](OptionsDialog &d) {
        clickBox(control<QCheckBox>(d, "autostart"));
        clickTab(d, 7);
        clickBox(control<QCheckBox>(d, "grid7_1"));
    });
    EXPECT_FALSE(grid->isShown(TasksGrid::Column::Priority));
    EXPECT_EQ(grid->colCount(), 2);
    EXPECT_EQ(stored(w.reg.locations().settingsFile, "Priority"), "false");
    EXPECT_TRUE(w.reg.autostart());
    EXPECT_TRUE(
        bytesOf(w.reg.locations().autostartFile).contains("Exec=\"/opt/dayloom/dayloom\" auto"));
    EXPECT_EQ(tray.count(), 0) << "the tray setting did not change";

    // The tray off takes autostart with it; the window is asked to drop the icon.
    w.runOptions([](OptionsDialog &d) {
        clickBox(control<QCheckBox>(d, "useTrayIcon"));
        clickTab(d, 7);
        clickBox(control<QCheckBox>(d, "grid7_1"));
    });
    ASSERT_EQ(tray.count(), 1);
    EXPECT_EQ(tray.at(0).at(0).toBool(), false);
    EXPECT_FALSE(QFile::exists(w.reg.locations().autostartFile));
    EXPECT_TRUE(grid->isShown(TasksGrid::Column::Priority));
    EXPECT_EQ(grid->colCount(), 3);
    EXPECT_FALSE(w.win->closeHidesToTray());

    w.runOptions([](OptionsDialog &d) { clickBox(control<QCheckBox>(d, "useTrayIcon")); });
    ASSERT_EQ(tray.count(), 2);
    EXPECT_EQ(tray.at(1).at(0).toBool(), true);
    EXPECT_TRUE(w.messages.isEmpty());
}

TEST(OptionsEffects, AWakeUpClosesTheDialogWithoutWritingIt)
{
    OptionsWindow w;
    const QByteArray before = bytesOf(w.reg.locations().settingsFile);
    bool shown = false;
    whenModal([&](QWidget *d) {
        shown = qobject_cast<OptionsDialog *>(d) != nullptr;
        clickBox(d->findChild<QCheckBox *>(QStringLiteral("alarmSoundOn")));
        w.win->wakeUp(0);
    });
    EXPECT_FALSE(w.win->optionsCommand().run());
    EXPECT_TRUE(shown);
    EXPECT_EQ(bytesOf(w.reg.locations().settingsFile), before);
}

TEST(OptionsEffects, AFailedAutostartEntryIsReported)
{
    OptionsWindow w;
    // A folder where the entry's folder should be: the entry cannot be written.
    const QString autostartDir = QFileInfo(w.reg.locations().autostartFile).absolutePath();
    QDir().mkpath(QFileInfo(autostartDir).absolutePath());
    QFile blocker(autostartDir);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    w.runOptions([](OptionsDialog &d) { clickBox(control<QCheckBox>(d, "autostart")); });
    ASSERT_EQ(w.messages.size(), 1);
    EXPECT_TRUE(w.messages[0].startsWith("The autostart entry")) << w.messages[0].toStdString();
    EXPECT_TRUE(w.messages[0].contains("could not be written"));
}

TEST(OptionsEffects, WithoutATrayOnTheDesktopTurningTheTrayOnShowsNoIcon)
{
    if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "this desktop has a tray";
    const QString root = TestEnv::freshDir("options-app");
    DayloomApp app(pathsBelow(root), CommandLine::parse({"auto"}));
    QStringList messages;
    app.mainWindow().setMessageSink([&messages](const QString &text) { messages << text; });
    const auto toggleTray = [&app] {
        whenModal([](QWidget *w) {
            auto *d = qobject_cast<OptionsDialog *>(w);
            ASSERT_NE(d, nullptr);
            clickBox(control<QCheckBox>(*d, "useTrayIcon"));
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
        });
        app.mainWindow().menus().optionsAction()->trigger();
    };
    ASSERT_TRUE(app.settings().useTrayIcon());
    EXPECT_EQ(app.trayIcon(), nullptr);
    toggleTray();
    EXPECT_FALSE(app.settings().useTrayIcon());
    toggleTray();
    EXPECT_TRUE(app.settings().useTrayIcon());
    EXPECT_EQ(app.trayIcon(), nullptr);
    EXPECT_FALSE(app.mainWindow().closeHidesToTray()) << "closing must not hide the only window";
}

// Renders every page to a PNG for looking at by eye. Runs only when DAYLOOM_SHOT_DIR names a
// folder.
TEST(OptionsDialog, RendersEveryPageToPng)
{
    const QString dir = qEnvironmentVariable("DAYLOOM_SHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "set DAYLOOM_SHOT_DIR to write the screenshots";
    Dialog t;
    for (int page = 0; page < OptionsDialog::PageCount; ++page) {
        clickTab(t.d(), page);
        QApplication::processEvents();
        EXPECT_TRUE(t.d().grab().save(QStringLiteral("%1/options-page%2.png").arg(dir).arg(page)));
    }
}
