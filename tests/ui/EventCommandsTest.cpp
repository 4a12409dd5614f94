// The edit commands of the main window driven as a user drives them, over real stores in a
// temporary data folder: single occurrences from the event popup, delete with the Delete key
// and undo, cut and paste with the keyboard, a damaged undo file, and the Help menu.
#include "mainwin/EventCommands.h"
#include "core/Clock.h"
#include "core/Settings.h"
#include "dialogs/AboutDialog.h"
#include "mainwin/HelpCommands.h"
#include "mainwin/HelpWindow.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainWindow.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"
#include "store/UndoLog.h"
#include "support/TestEnv.h"
#include "ui/AugustWeekWindow.h"
#include "views/TimeGrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace
{
// The August week with "Review" Thu 14:00-15:00 besides.
class CommandsWindow : public AugustWeekWindow
{
protected:
    int review = -1;

    CommandsWindow() : AugustWeekWindow("commands") {}
    void SetUp() override
    {
        openWindow([this](EventsStore &e) {
            review = e.insertEvent(seedEvent(workId, at(2000, 8, 10, 14), at(2000, 8, 10, 15),
                                             QStringLiteral("Review")))
                         .id;
        });
    }

    TimeGrid *grid() { return win->timeGrid(); }
    MainMenus &menus() { return win->menus(); }
    QString dataDir() const { return reg.dataPath(); }
    const SpanItem *box(int day, int id) { return stores.box(day, id); }
    QPoint middleOf(int day, int id)
    {
        const SpanItem *b = box(day, id);
        EXPECT_NE(b, nullptr) << "no box of " << id << " on day " << day;
        return b ? QPoint(b->left + 10, (b->top + b->bottom) / 2) : QPoint();
    }
    // The middle of the cell of day column `day` at hh:mm (a 15-minute step).
    QPoint cellAt(int day, int h, int m)
    {
        const int step = h * 4 + m / 15 + 1;
        return grid()->cellRect(day, step - win->currentView().firstVisibleRow).center();
    }
    // Right press on the box, then a click on `item` of the event popup.
    void chooseFromEventPopup(int day, int id, QAction *item)
    {
        QTest::mousePress(grid(), Qt::RightButton, {}, middleOf(day, id));
        QMenu *popup = menus().eventMenu();
        ASSERT_TRUE(popup->isVisible());
        ASSERT_TRUE(item->isVisible() && item->isEnabled()) << item->text().toStdString();
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(item).center());
        QApplication::processEvents();
        EXPECT_FALSE(popup->isVisible());
    }
    // The events row as the file holds it; null QVariants when the row is not there.
    EventRow rowInFile(int id)
    {
        Table file(EventsStore::schema());
        EXPECT_EQ(file.load(dataDir() + EventsStore::FileName).status, TableLoadResult::Loaded);
        EventRow row;
        if (file.locate(int(EventField::Id), id))
            for (int f = 0; f < EventRow::FieldCount; ++f)
                row[EventField(f)] = file.value(f);
        return row;
    }
    // The one-time events now in the store.
    std::vector<EventRow> oneTimeEvents()
    {
        std::vector<EventRow> rows;
        events->forEachEvent([&](const EventRow &r) {
            if (!r.isRecurring()) rows.push_back(r);
        });
        return rows;
    }
};

constexpr int Tuesday = 3, Wednesday = 4, Thursday = 5, Friday = 6;

} // namespace

TEST_F(CommandsWindow, DeleteThisOccurrenceTakesOneDayOutOfTheSeriesInTheGridAndTheFile)
{
    ASSERT_NE(box(Tuesday, standUp), nullptr);
    // A one-time event offers no occurrence items.
    QTest::mousePress(grid(), Qt::RightButton, {}, middleOf(Wednesday, planning));
    EXPECT_FALSE(menus().deleteOccurrenceAction()->isVisible());
    EXPECT_FALSE(menus().breakOutOccurrenceAction()->isVisible());
    menus().eventMenu()->hide();

    chooseFromEventPopup(Tuesday, standUp, menus().deleteOccurrenceAction());

    EXPECT_EQ(box(Tuesday, standUp), nullptr);
    EXPECT_NE(box(Wednesday, standUp), nullptr);
    EXPECT_NE(box(2, standUp), nullptr);
    const QByteArray tuesday = QByteArray::number(int(DateTimeValue::encodeDate(2000, 8, 8)));
    EXPECT_EQ(rowInFile(standUp).bytes(EventField::ExceptionList), tuesday);
    EXPECT_EQ(events->eventCount(), 3);
    // Nothing for Undo to take back: the command leaves the undo log alone.
    EXPECT_FALSE(menus().undoAction()->isEnabled());
    EXPECT_FALSE(QFile::exists(dataDir() + UndoLog::FileName));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(CommandsWindow, BreakOutPutsAOneTimeEventInThePlaceOfTheOccurrence)
{
    chooseFromEventPopup(Thursday, standUp, menus().breakOutOccurrenceAction());

    const std::vector<EventRow> singles = oneTimeEvents();
    ASSERT_EQ(singles.size(), 3u);
    const auto it = std::find_if(singles.begin(), singles.end(), [](const EventRow &r) {
        return r.subject() == QStringLiteral("Stand-up");
    });
    ASSERT_NE(it, singles.end());
    EXPECT_TRUE(sameTime(it->startTime(), at(2000, 8, 10, 9)));
    EXPECT_TRUE(sameTime(it->endTime(), at(2000, 8, 10, 9, 30)));

    const SpanItem *single = box(Thursday, it->id());
    ASSERT_NE(single, nullptr);
    EXPECT_FALSE(single->isOccurrence);
    EXPECT_EQ(box(Thursday, standUp), nullptr) << "the series lacks the day";
    EXPECT_NE(box(Friday, standUp), nullptr);
    EXPECT_EQ(rowInFile(standUp).bytes(EventField::ExceptionList),
              QByteArray::number(int(DateTimeValue::encodeDate(2000, 8, 10))));
}

TEST_F(CommandsWindow, DeleteKeyRemovesTheSelectedEventsAndCtrlZBringsThemBack)
{
    const EventRow planningRow = events->event(planning).value();
    const EventRow reviewRow = events->event(review).value();
    QAction *undo = menus().undoAction();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), QStringLiteral("Undo"));

    QTest::mouseClick(grid(), Qt::LeftButton, {}, middleOf(Wednesday, planning));
    QTest::mouseClick(grid(), Qt::LeftButton, Qt::ControlModifier, middleOf(Thursday, review));
    ASSERT_EQ(win->eventCommands().selectedEntries().size(), 2u);
    QTest::keyClick(win.get(), Qt::Key_Delete);
    QApplication::processEvents();

    EXPECT_EQ(events->eventCount(), 1);
    EXPECT_EQ(box(Wednesday, planning), nullptr);
    EXPECT_EQ(box(Thursday, review), nullptr);
    EXPECT_TRUE(rowInFile(planning)[EventField::Id].isNull()) << "the delete reached the file";
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), QStringLiteral("Undo Delete"));
    EXPECT_EQ(UndoLog::readSection(dataDir()), UndoLog::Section::DeletedEvents);
    EXPECT_TRUE(win->eventCommands().selectedEntries().empty());
    EXPECT_FALSE(menus().deleteAction()->isEnabled());
    EXPECT_FALSE(menus().editAction()->isEnabled()) << "nothing is selected any more";

    QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();

    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), QStringLiteral("Undo"));
    ASSERT_EQ(oneTimeEvents().size(), 2u);
    for (const EventRow &before : {planningRow, reviewRow}) {
        bool found = false;
        for (const EventRow &now : oneTimeEvents()) {
            if (now.subject() != before.subject()) continue;
            found = true;
            EXPECT_GT(now.id(), standUp) << "a new id";
            for (int f = int(EventField::Layer); f < EventRow::FieldCount; ++f)
                EXPECT_EQ(now[EventField(f)].toString(), before[EventField(f)].toString())
                    << before.subject().toStdString() << " field " << f;
            EXPECT_EQ(rowInFile(now.id()).subject(), before.subject());
        }
        EXPECT_TRUE(found) << before.subject().toStdString();
    }
    const int restored = oneTimeEvents().front().id();
    EXPECT_TRUE(box(Wednesday, restored) || box(Thursday, restored));
    // A second Ctrl+Z does nothing: one level of undo.
    QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(events->eventCount(), 3);
}

// Undo acts on what the last delete wrote, whichever store wrote it.
TEST_F(CommandsWindow, UndoAfterALaterDeleteOfTasksRestoresTheTasksOnly)
{
    const int task = stores.tasks->insertTask(-1, 1, workId, QStringLiteral("Report")).id;
    QTest::mouseClick(grid(), Qt::LeftButton, {}, middleOf(Wednesday, planning));
    QTest::keyClick(win.get(), Qt::Key_Delete);
    ASSERT_TRUE(stores.tasks->deleteWithUndo({task}).ok);
    ASSERT_EQ(stores.tasks->count(), 0);

    QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(stores.tasks->count(), 1);
    EXPECT_EQ(events->eventCount(), 2) << "the deleted event stays deleted";
    EXPECT_FALSE(menus().undoAction()->isEnabled());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(CommandsWindow, CutAndPasteMovesTheEventToTheSelectedTimeOfAnotherDay)
{
    EXPECT_FALSE(menus().pasteAction()->isEnabled());
    QTest::mouseClick(grid(), Qt::LeftButton, {}, middleOf(Wednesday, planning));
    QTest::keyClick(win.get(), Qt::Key_X, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_FALSE(events->event(planning).has_value());
    EXPECT_EQ(events->clipboardCount(), 1);
    EXPECT_TRUE(menus().undoAction()->isEnabled()) << "a cut is a delete";

    // Select Friday 15:30 - 16:00 and paste there.
    QTest::mousePress(grid(), Qt::LeftButton, {}, cellAt(Friday, 15, 30));
    QTest::mouseMove(grid(), cellAt(Friday, 15, 45));
    QTest::mouseRelease(grid(), Qt::LeftButton, {}, cellAt(Friday, 15, 45));
    ASSERT_TRUE(sameTime(time.selectionStart(), at(2000, 8, 11, 15, 30)));
    EXPECT_TRUE(menus().pasteAction()->isEnabled());
    QTest::keyClick(win.get(), Qt::Key_V, Qt::ControlModifier);
    QApplication::processEvents();

    const std::vector<EventRow> singles = oneTimeEvents();
    ASSERT_EQ(singles.size(), 2u);
    const EventRow &pasted = singles.back(); // Friday sorts after Thursday
    EXPECT_EQ(pasted.subject(), QStringLiteral("Planning"));
    EXPECT_EQ(pasted.layer(), workId);
    EXPECT_TRUE(sameTime(pasted.startTime(), at(2000, 8, 11, 15, 30)));
    EXPECT_TRUE(sameTime(pasted.endTime(), at(2000, 8, 11, 16, 30))) << "the copied hour";
    EXPECT_NE(box(Friday, pasted.id()), nullptr);
    EXPECT_TRUE(sameTime(rowInFile(pasted.id()).startTime(), at(2000, 8, 11, 15, 30)));
    EXPECT_EQ(events->clipboardCount(), 1) << "the clipboard stays for another paste";
}

TEST(PasteTarget, TakesItsModeFromTheViewAndFallsBackToTheSelectedDay)
{
    Clock clock;
    ViewDates dates(clock);
    const SerialDateTime day = at(2000, 8, 9);
    using Mode = EventsStore::PasteMode;
    // Nothing selected: the selected day, at the copied time of day.
    for (int kind : {int(ViewDay), int(ViewWeek), int(ViewMonth), int(View12Months)}) {
        const auto t = EventCommands::pasteTarget(kind, dates, day + 0.7);
        ASSERT_TRUE(t) << kind;
        EXPECT_EQ(t->mode, Mode::OnSelectedDay) << kind;
        EXPECT_EQ(t->at, day) << kind;
    }
    dates.setSelectionStart(at(2000, 8, 11, 15, 30));
    dates.setSelectionEnd(at(2000, 8, 11, 16));
    auto t = EventCommands::pasteTarget(ViewWorkWeek, dates, day);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->mode, Mode::AtSelectedTime);
    EXPECT_TRUE(sameTime(t->at, at(2000, 8, 11, 15, 30)));
    t = EventCommands::pasteTarget(View2Weeks, dates, day);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->mode, Mode::OnSelectedDay);
    EXPECT_EQ(t->at, at(2000, 8, 11));
    EXPECT_FALSE(EventCommands::pasteTarget(ViewTasks, dates, day));
    EXPECT_FALSE(EventCommands::pasteTarget(-1, dates, day));
}

TEST_F(CommandsWindow, UndoFromADamagedUndoFileReportsItAndKeepsTheUndoOffered)
{
    QTest::mouseClick(grid(), Qt::LeftButton, {}, middleOf(Wednesday, planning));
    QTest::keyClick(win.get(), Qt::Key_Delete);
    QApplication::processEvents();
    ASSERT_EQ(events->eventCount(), 2);

    const QString path = dataDir() + UndoLog::FileName;
    for (const QByteArray &damage :
         {QByteArray("DELETED EVENTS\r\n") + RecordLines::EventHeader + "\r\n2;'unclosed\r\n",
          QByteArray("SOMETHING ELSE\r\n"), QByteArray()}) {
        QFile::remove(path);
        if (!damage.isEmpty()) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(damage);
        }
        messages.clear();
        QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
        QApplication::processEvents();
        ASSERT_EQ(messages.size(), 1) << damage.toStdString();
        EXPECT_TRUE(messages.front().contains(QStringLiteral("undo.dat")));
        EXPECT_EQ(events->eventCount(), 2) << "nothing restored";
        EXPECT_TRUE(menus().undoAction()->isEnabled());
        EXPECT_EQ(menus().undoAction()->text(), QStringLiteral("Undo Delete"));
    }
}

TEST_F(CommandsWindow, HelpItemsShowOneHelpWindowAtTheirPages)
{
    HelpCommands &help = win->helpCommands();
    EXPECT_EQ(help.helpWindow(), nullptr);
    menus().helpAction()->trigger();
    HelpWindow *window = help.helpWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->currentPage(), QStringLiteral("index.html"));
    EXPECT_TRUE(window->browser()->toPlainText().contains(QStringLiteral("Undo Delete")));
    EXPECT_FALSE(win->isModal() || window->isModal());

    menus().allShortcutsAction()->trigger();
    EXPECT_EQ(help.helpWindow(), window) << "one help window";
    EXPECT_EQ(window->currentPage(), QStringLiteral("shortcuts.html"));
    // Every shortcut of the menus is on the page.
    const QString page = window->browser()->toPlainText();
    int shortcuts = 0;
    const std::function<void(QMenu *)> visit = [&](QMenu *menu) {
        for (QAction *a : menu->actions()) {
            if (a->menu()) visit(a->menu());
            if (a->shortcut().isEmpty()) continue;
            ++shortcuts;
            const QString keys = a->shortcut().toString(QKeySequence::PortableText);
            EXPECT_TRUE(page.contains(keys)) << keys.toStdString();
        }
    };
    for (QAction *a : win->menuBar()->actions())
        if (a->menu()) visit(a->menu());
    EXPECT_GE(shortcuts, 20);
    for (const char *key : {"Left arrow", "Right arrow", "Up arrow", "Down arrow"})
        EXPECT_TRUE(page.contains(QLatin1String(key))) << key;
}

TEST_F(CommandsWindow, AboutShowsNameVersionAndLicence)
{
    QString shown;
    bool modal = false;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box) return;
        modal = qobject_cast<AboutDialog *>(box) != nullptr;
        for (QLabel *l : box->findChildren<QLabel *>())
            shown += l->text() + '\n';
        box->close();
        closer.stop();
    });
    closer.start();
    menus().aboutAction()->trigger();
    EXPECT_TRUE(modal);
    EXPECT_TRUE(shown.contains(QStringLiteral("Dayloom")));
    EXPECT_TRUE(shown.contains(QStringLiteral("Version " DAYLOOM_VERSION)));
    EXPECT_TRUE(shown.contains(QStringLiteral("MIT licence")));
}
