// The main window when its changes cannot reach the table files: a second program holding the
// events file's lock, a data folder that can be read but not written, a damaged events file with
// a daily copy to restore, a data folder that cannot be made.
#include "app/DayloomApp.h"
#include "core/Clock.h"
#include "core/Settings.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainPanels.h"
#include "mainwin/MainWindow.h"
#include "mainwin/UnsavedChangesBar.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"
#include "support/PrivateMounts.h"
#include "support/SecondProcessLock.h"
#include "support/TestEnv.h"
#include "ui/ModalDriver.h"
#include "ui/WindowOverStores.h"
#include "views/FlatButton.h"
#include "views/TimeGrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <sqlite3.h>

namespace
{
SerialDateTime at(int y, int m, int d, int h = 0, int min = 0)
{
    return DateTimeValue::encodeDate(y, m, d) + DateTimeValue::encodeTime(h, min);
}

// StartTime of event `id` as the events file holds it, read as another program would; -1 when
// the file or the row cannot be read.
double startInFile(const QString &dataDir, int id)
{
    sqlite3 *db = nullptr;
    const QByteArray path = QFile::encodeName(dataDir + EventsStore::FileName);
    double start = -1;
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT StartTime FROM records WHERE ID = ?", -1, &st,
                               nullptr) == SQLITE_OK &&
            sqlite3_bind_int(st, 1, id) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            start = sqlite3_column_double(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return start;
}

bool sameTime(double a, SerialDateTime b)
{
    return DateTimeValue::toMs(a) == DateTimeValue::toMs(b);
}

// Puts the events "Planning" (Wed 9 Aug 2000 10:00-11:00) and "Review" (Thu 10 Aug 14:00-15:00)
// and the task "Report" into the default layer of `dataDir`; returns the events' ids.
std::pair<int, int> seed(const QString &dataDir)
{
    QDir().mkpath(dataDir);
    Clock clock;
    ViewDates time(clock);
    LayersStore layers(dataDir, clock);
    EventsStore events(dataDir, layers, time, clock);
    const auto add = [&](SerialDateTime start, const char *subject) {
        return events
            .insertEvent(
                EventRow(QVariantList{QVariant(), layers.idAt(1), start, start + 1.0 / 24, false,
                                      false, 0, 0, QString::fromLatin1(subject), QString(), false}))
            .id;
    };
    const int planning = add(at(2000, 8, 9, 10), "Planning");
    const int review = add(at(2000, 8, 10, 14), "Review");
    TasksStore tasks(dataDir, layers, clock);
    EXPECT_TRUE(tasks.insertTask(-1, 0, layers.idAt(1), QStringLiteral("Report")).ok());
    return {planning, review};
}

// The program started ("auto") over `where`, with its questions answered by `answer` and its
// questions and messages kept, after the turns of the event loop that report the start-up.
struct StartedProgram {
    DayloomApp app;
    QStringList questions;
    QStringList messages;

    StartedProgram(const SettingsPaths &where, bool answer)
        : app(where, CommandLine::parse({"auto"}))
    {
        app.mainWindow().setQuestionSink([this, answer](const QString &q) {
            questions << q;
            return answer;
        });
        app.mainWindow().setMessageSink([this](const QString &m) { messages << m; });
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
};

// Puts text that is no table file where the events file was.
void damageEventsFile(const QString &dataDir)
{
    QFile damaged(dataDir + EventsStore::FileName);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("this is not a table file");
}

// The week of Wed 9 Aug 2000 (10:30), from 8:00, over a seeded data folder.
class UnsavedChanges : public ::testing::Test
{
protected:
    QString root = TestEnv::freshDir("unsaved");
    QString dataDir = root + "/data/";
    std::pair<int, int> ids = seed(dataDir);
    Clock clock = fixedClock(QDateTime(QDate(2000, 8, 9), QTime(10, 30)));
    Settings reg{pathsBelow(root)};
    ViewDates time{clock};
    WindowOverStores stores;

    bool openWindow()
    {
        reg.setStartView(ViewWeek);
        reg.setStartHour(8);
        return stores.open(reg, time, clock);
    }
    TimeGrid *grid() { return stores.win->timeGrid(); }
    UnsavedChangesBar &bar() { return stores.win->unsavedChangesBar(); }

    // Drags the box of event `id` in day column `day` down by one hour; false when there is no
    // box to drag.
    bool dragHourDown(int day, int id)
    {
        const SpanItem *b = stores.box(day, id);
        if (!b) return false;
        const int rh = grid()->rowHeight(1);
        const QPoint body(b->left + 20, (b->top + b->bottom) / 2);
        QTest::mousePress(grid(), Qt::LeftButton, {}, body);
        for (int k = 1; k <= 4; ++k)
            QTest::mouseMove(grid(), body + QPoint(0, k * rh));
        QTest::mouseRelease(grid(), Qt::LeftButton, {}, body + QPoint(0, 4 * rh));
        QApplication::processEvents();
        return true;
    }
};
} // namespace

// Another program holds the events file's lock while the user drags "Planning": the drag shows,
// the bar says the change is not saved, closing asks before losing it, and the change reaches
// the file on the next retry once the lock is gone. A drag while the lock is held again stays
// pending and goes to the file with the next change after the lock is released.
TEST_F(UnsavedChanges, ADragRefusedByAnotherProgramsLockReachesTheFileOnceTheLockGoes)
{
    const auto [planning, review] = ids;
    ASSERT_TRUE(openWindow());
    EXPECT_TRUE(bar().isHidden());
    QStringList questions;
    bool answer = false;
    stores.win->setQuestionSink([&](const QString &q) {
        questions << q;
        return answer;
    });

    auto lock = std::make_unique<SecondProcessLock>(dataDir + EventsStore::FileName);
    if (!lock->held()) GTEST_SKIP() << "no sqlite3 shell to hold the lock";
    ASSERT_TRUE(dragHourDown(4, planning));
    EXPECT_TRUE(sameTime(stores.events->event(planning)->startTime(), at(2000, 8, 9, 11)));
    EXPECT_NE(stores.box(4, planning), nullptr) << "the moved box stays on the screen";
    EXPECT_TRUE(bar().isVisible());
    EXPECT_TRUE(bar().shownText().startsWith("Changes are not being saved: "))
        << bar().shownText().toStdString();
    EXPECT_TRUE(sameTime(startInFile(dataDir, planning), at(2000, 8, 9, 10)));

    // Closing now would lose the change: the user is asked, and "no" keeps the window.
    EXPECT_FALSE(stores.win->close());
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains("lose")) << questions[0].toStdString();
    EXPECT_TRUE(stores.win->isVisible());

    // Still locked: a retry changes nothing.
    stores.win->retryFailedWrites();
    EXPECT_TRUE(bar().isVisible());
    lock->release();
    stores.win->retryFailedWrites(); // what the main timer's tick does
    EXPECT_TRUE(bar().isHidden());
    EXPECT_EQ(bar().shownText(), QString());
    EXPECT_TRUE(sameTime(startInFile(dataDir, planning), at(2000, 8, 9, 11)));

    // The next change carries a pending one along.
    lock = std::make_unique<SecondProcessLock>(dataDir + EventsStore::FileName);
    ASSERT_TRUE(lock->held());
    ASSERT_TRUE(dragHourDown(4, planning));
    EXPECT_TRUE(bar().isVisible());
    lock->release();
    ASSERT_TRUE(dragHourDown(5, review));
    EXPECT_TRUE(bar().isHidden());
    EXPECT_TRUE(sameTime(startInFile(dataDir, planning), at(2000, 8, 9, 12)));
    EXPECT_TRUE(sameTime(startInFile(dataDir, review), at(2000, 8, 10, 15)));

    // Everything is saved: closing asks nothing.
    EXPECT_TRUE(stores.win->close());
    EXPECT_EQ(questions.size(), 1);
}

// Every step of a drag posts the event while another program holds the lock: only the first
// post waits out the lock, the steps after it go on without waiting, the alarm follows the event
// to its new time without any work at the release, and the timer's retry writes the last times.
TEST_F(UnsavedChanges, ADragOverALockedFileWaitsOnceAndItsAlarmFollowsTheEvent)
{
    const int planning = ids.first;
    {
        Clock plain;
        ViewDates dates(plain);
        LayersStore layers(dataDir, plain);
        EventsStore events(dataDir, layers, dates, plain);
        std::optional<EventRow> row = events.event(planning);
        ASSERT_TRUE(row);
        (*row)[EventField::AlarmSet] = true;
        (*row)[EventField::AlarmAdvance] = 15;
        (*row)[EventField::AlarmAdvanceUnit] = 1; // minutes
        ASSERT_TRUE(events.updateEvent(*row).ok());
    }
    ASSERT_TRUE(openWindow());
    const auto alarmsOf = [&](int id) {
        std::vector<AlarmEntry> found;
        for (const AlarmEntry &e : stores.events->pendingAlarms().items())
            if (e.id == id) found.push_back(e);
        return found;
    };
    ASSERT_EQ(alarmsOf(planning).size(), 1u);
    EXPECT_TRUE(sameTime(alarmsOf(planning)[0].alarmTime, at(2000, 8, 9, 9, 45)));

    auto lock = std::make_unique<SecondProcessLock>(dataDir + EventsStore::FileName);
    if (!lock->held()) GTEST_SKIP() << "no sqlite3 shell to hold the lock";
    TableWrites writes = stores.events->writes();
    ASSERT_TRUE(dragHourDown(4, planning));
    EXPECT_TRUE(sameTime(stores.events->event(planning)->startTime(), at(2000, 8, 9, 11)));
    EXPECT_EQ(writes.lockTimeouts(), 1) << "the steps after the first refused one do not wait";
    EXPECT_TRUE(writes.isBackingOffLock());
    EXPECT_TRUE(bar().shownText().startsWith("Changes are not being saved: "));
    const std::vector<AlarmEntry> moved = alarmsOf(planning);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_TRUE(sameTime(moved[0].alarmTime, at(2000, 8, 9, 10, 45)));
    EXPECT_TRUE(sameTime(*moved[0].startTime, at(2000, 8, 9, 11)));
    EXPECT_TRUE(sameTime(*moved[0].endTime, at(2000, 8, 9, 12)));
    EXPECT_TRUE(sameTime(startInFile(dataDir, planning), at(2000, 8, 9, 10)));

    stores.win->retryFailedWrites();
    EXPECT_EQ(writes.lockTimeouts(), 2) << "the timer's retry waits for the lock";
    lock->release();
    stores.win->retryFailedWrites();
    EXPECT_TRUE(bar().isHidden());
    EXPECT_FALSE(writes.isBackingOffLock());
    EXPECT_TRUE(sameTime(startInFile(dataDir, planning), at(2000, 8, 9, 11)));
}

// A data folder that can be read but not written: the events and tasks show, the bar says why,
// and no command, drag, double-click or key changes anything.
TEST_F(UnsavedChanges, AFolderThatCannotBeWrittenOpensTheCalendarReadOnly)
{
    const auto [planning, review] = ids;
    if (!PrivateMounts::bindReadOnly(dataDir))
        GTEST_SKIP() << "this process may not mount a read-only folder";
    ASSERT_TRUE(openWindow());
    QStringList modals;
    // A dialog that opens by mistake is closed, and counted, instead of blocking the test.
    const auto closeAnyModal = [&] {
        whenModal(
            [&](QWidget *w) {
                modals << w->metaObject()->className();
                w->close();
            },
            20);
    };

    EXPECT_EQ(stores.events->eventCount(), 2);
    EXPECT_EQ(stores.tasks->count(), 1);
    EXPECT_NE(stores.box(4, planning), nullptr);
    EXPECT_TRUE(stores.win->isReadOnly());
    const int layersBefore = stores.layers->count();
    EXPECT_TRUE(bar().isVisible());
    EXPECT_TRUE(bar().shownText().contains("read-only")) << bar().shownText().toStdString();
    EXPECT_TRUE(bar().shownText().contains("Events.cds"));

    MainMenus &m = stores.win->menus();
    const std::vector<QAction *> editing = {m.newEventAction(),
                                            m.layerManagerAction(),
                                            m.deleteEventsAction(),
                                            m.moveEventsAction(),
                                            m.copyEventsAction(),
                                            m.importCalendarAction(),
                                            m.undoAction(),
                                            m.editAction(),
                                            m.deleteAction(),
                                            m.cutAction(),
                                            m.copyAction(),
                                            m.eventCopyAction(),
                                            m.pasteAction(),
                                            m.moveToLayerAction(),
                                            m.eventEditAction(),
                                            m.eventDeleteAction(),
                                            m.deleteOccurrenceAction(),
                                            m.breakOutOccurrenceAction(),
                                            m.eventCutAction(),
                                            m.eventMoveToLayerAction(),
                                            m.selectionNewEventAction(),
                                            m.selectionPasteAction(),
                                            m.newSubtaskAction(),
                                            m.taskEditAction(),
                                            m.taskDeleteAction(),
                                            m.taskMoveToLayerAction(),
                                            m.newTaskAction(),
                                            m.layerMenuManagerAction()};
    for (QAction *a : editing)
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_TRUE(m.exportCalendarAction()->isEnabled()) << "reading the calendar out stays";
    // A calendar file handed over from the command line is refused with the reason.
    QStringList told;
    stores.win->setMessageSink([&](const QString &text) { told << text; });
    stores.win->setPendingImport(
        QStringLiteral(DAYLOOM_SOURCE_DIR "/tests/data/ics/weekly-exdate.ics"));
    QTest::qWait(50);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains("read-only")) << told[0].toStdString();
    EXPECT_EQ(stores.layers->count(), layersBefore);
    EXPECT_FALSE(stores.win->panels().newButton()->isEnabled());
    EXPECT_TRUE(m.viewAction(ViewMonth)->isEnabled()) << "viewing stays";

    ASSERT_TRUE(dragHourDown(4, planning));
    EXPECT_TRUE(sameTime(stores.events->event(planning)->startTime(), at(2000, 8, 9, 10)));

    const SpanItem *b = stores.box(4, planning);
    ASSERT_NE(b, nullptr);
    closeAnyModal();
    QTest::mouseDClick(grid(), Qt::LeftButton, {}, QPoint(b->left + 20, b->top + 5));
    closeAnyModal();
    QTest::keyClick(stores.win.get(), Qt::Key_A);
    QTest::qWait(300);
    EXPECT_TRUE(modals.isEmpty()) << modals.join(", ").toStdString();
    // The clicks selected the event: the commands for a selected event stay off all the same.
    for (QAction *a : {m.editAction(), m.eventEditAction(), m.copyAction(), m.eventCopyAction(),
                       m.eventDeleteAction(), m.eventCutAction()})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_EQ(stores.events->eventCount(), 2);
    EXPECT_FALSE(stores.events->writes().hasPendingWrites());

    // The task list enables its own commands: they stay off as well.
    m.viewAction(ViewTasks)->trigger();
    QTest::qWait(50);
    for (QAction *a : editing)
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_FALSE(stores.win->panels().newButton()->isEnabled());

    EXPECT_TRUE(stores.win->close()) << "nothing unsaved: closing asks nothing";
}

// A damaged events file whose daily copy can be read: the start-up message offers the copy by
// name, and "yes" brings its events back into the calendar and the file.
TEST(UnsavedChangesAtStart, ADamagedEventsFileIsRestoredFromItsDailyCopy)
{
    const QString root = TestEnv::freshDir("restore");
    const QString data = root + "/data/";
    const auto [planning, review] = seed(data);
    {
        Clock clock;
        ViewDates time(clock);
        LayersStore layers(data, clock);
        EventsStore events(data, layers, time, clock);
        ASSERT_TRUE(events.backupTo(data + "Events.bak").ok());
    }
    damageEventsFile(data);
    StartedProgram program(pathsBelow(root), true);
    const QStringList &questions = program.questions;
    DayloomApp &app = program.app;

    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains("\"Events.bak\"")) << questions[0].toStdString();
    EXPECT_TRUE(questions[0].contains("Events.cds.unreadable-"));
    EXPECT_TRUE(program.messages.isEmpty()) << program.messages.join("\n").toStdString();
    EXPECT_EQ(app.events().eventCount(), 2);
    EXPECT_TRUE(sameTime(startInFile(data, planning), at(2000, 8, 9, 10)));
    EXPECT_TRUE(sameTime(startInFile(data, review), at(2000, 8, 10, 14)));
    EXPECT_FALSE(app.mainWindow().unsavedChangesBar().isVisible());
}

// Without a readable copy nothing is offered and no copy is named; a data folder that cannot be
// made is named in the message.
TEST(UnsavedChangesAtStart, NoCopyIsOfferedWithoutOneAndAFolderThatCannotBeMadeIsNamed)
{
    const QString root = TestEnv::freshDir("nocopy");
    const QString data = root + "/data/";
    seed(data);
    damageEventsFile(data);
    {
        const StartedProgram program(pathsBelow(root), true);
        EXPECT_TRUE(program.questions.isEmpty());
        ASSERT_EQ(program.messages.size(), 1);
        EXPECT_FALSE(program.messages[0].contains(".bak")) << program.messages[0].toStdString();
        EXPECT_TRUE(program.messages[0].contains("no daily copy"));
    }

    // A file where the data folder should be: the folder cannot be made.
    const QString blocked = TestEnv::freshDir("blocked");
    QFile file(blocked + "/file");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    SettingsPaths where = pathsBelow(blocked);
    where.dataDir = blocked + "/file/data";
    const StartedProgram program(where, true);
    const QStringList &messages = program.messages;
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("The data folder \"%1/\" cannot be created")
                                         .arg(QDir::toNativeSeparators(where.dataDir))))
        << messages[0].toStdString();
}
