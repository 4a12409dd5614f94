// The tasks view driven as a user drives it, over real stores in a temporary data folder:
// building a tree with the new commands and the task editor, deleting a parent with its
// children and undoing it, sorting by the header, clicks on the priority and finished cells,
// and a selection that must survive the rows being rebuilt.
#include "core/Clock.h"
#include "core/Settings.h"
#include "dialogs/TaskEditor.h"
#include "mainwin/EventCommands.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainWindow.h"
#include "mainwin/TaskCommands.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"
#include "support/TestEnv.h"
#include "ui/ModalDriver.h"
#include "ui/WindowOverStores.h"
#include "views/TasksGrid.h"
#include "views/TasksHeader.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace
{
class TasksView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(stores.open(reg, time, clock, [this](LayersStore &l, EventsStore &) {
            workId = l.insertLayer(1, QStringLiteral("Work"), true, 3, 1, 30).id;
            homeId = l.insertLayer(2, QStringLiteral("Home"), true, 5, 1, 30).id;
        }));
        win->setMessageSink([this](const QString &text) { messages << text; });
        ASSERT_TRUE(win->switchToView(ViewTasks));
    }

    TasksGrid *grid() { return win->tasksGrid(); }
    MainMenus &menus() { return win->menus(); }
    TasksStore &tasks() { return *stores.tasks; }

    // The subjects of the visible rows, in order.
    QStringList rows()
    {
        QStringList out;
        for (int r = 0; r < int(tasks().rowList().size()); ++r)
            out << tasks().listTask(r)->subject;
        return out;
    }
    // A point on the text of the row showing `subject`, or in its column `kind`.
    QPoint pointOn(const QString &subject, TasksGrid::Column kind = TasksGrid::Column::Subject)
    {
        const int row = int(rows().indexOf(subject));
        EXPECT_GE(row, 0) << subject.toStdString();
        const int y = (row - grid()->firstRow()) * TasksGrid::RowPitch + 9;
        if (kind != TasksGrid::Column::Subject)
            return {grid()->cellRect(grid()->columnOf(kind), 0).center().x(), y};
        return {grid()->textLeft(tasks().listTask(row)->level) + 10, y};
    }
    void click(const QString &subject, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(grid(), Qt::LeftButton, mods, pointOn(subject));
    }
    // Runs `open` with the task editor answered by typing `subject` after what the subject
    // box holds and pressing Ctrl+Enter.
    void answerEditor(const QString &subject, const std::function<void()> &open,
                      bool *layerEnabled = nullptr)
    {
        whenModal([subject, layerEnabled](QWidget *w) {
            auto *box = w->findChild<QLineEdit *>(QStringLiteral("subject"));
            if (layerEnabled)
                *layerEnabled = w->findChild<QComboBox *>(QStringLiteral("layer"))->isEnabled();
            QTest::keyClicks(box, subject);
            QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
        });
        open();
        QApplication::processEvents();
        // Shortcuts reach the window again once it is active after the dialog.
        win->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(win.get()));
    }
    std::optional<TaskRow> taskNamed(const QString &subject)
    {
        for (int id = 1; id < 100; ++id)
            if (const auto t = tasks().task(id); t && t->subject == subject) return t;
        return std::nullopt;
    }

    QString root = TestEnv::freshDir(QStringLiteral("tasks-view"));
    Clock clock = fixedClock(QDateTime(QDate(2000, 8, 9), QTime(10, 30)));
    Settings reg{pathsBelow(root)};
    ViewDates time{clock};
    WindowOverStores stores;
    std::unique_ptr<MainWindow> &win = stores.win;
    int workId = -1, homeId = -1;
    QStringList messages;
};

TEST_F(TasksView, NewTaskAndSubtaskBuildATreeAndUndoBringsBackADeletedParentWithItsChildren)
{
    QAction *fileNew = menus().newEventAction();
    EXPECT_EQ(fileNew->text(), "New Task...");

    // Ctrl+N with nothing selected: a top-level task, selected afterwards.
    answerEditor("Garden", [&] { QTest::keyClick(win.get(), Qt::Key_N, Qt::ControlModifier); });
    const auto garden = taskNamed("Garden");
    ASSERT_TRUE(garden);
    EXPECT_EQ(garden->parentId, -1);
    EXPECT_EQ(garden->level, 1);
    EXPECT_EQ(grid()->selectedIds(), QList<int>{garden->id});
    EXPECT_EQ(fileNew->text(), "New Subtask...");

    // With one task selected New makes its subtask, in its layer, the layer box locked.
    bool layerEnabled = true;
    answerEditor(
        "Weed", [&] { fileNew->trigger(); }, &layerEnabled);
    EXPECT_FALSE(layerEnabled);
    // The popup's "New Subtask..." on the parent again.
    click("Garden");
    answerEditor("Mow", [&] { menus().newSubtaskAction()->trigger(); });
    // Typing on the list with nothing selected starts a top-level task with that character.
    QTest::mouseClick(grid(), Qt::LeftButton, {}, QPoint(60, grid()->height() - 5));
    answerEditor("ttic", [&] { QTest::keyClick(win.get(), Qt::Key_A); });

    const auto weed = taskNamed("Weed");
    const auto mow = taskNamed("Mow");
    ASSERT_TRUE(weed && mow && taskNamed("attic"));
    EXPECT_EQ(weed->parentId, garden->id);
    EXPECT_EQ(weed->level, 2);
    EXPECT_EQ(weed->layer, garden->layer);
    EXPECT_TRUE(tasks().task(garden->id)->hasChildren);
    EXPECT_TRUE(tasks().task(garden->id)->open);
    EXPECT_EQ(rows(), QStringList({"attic", "Garden", "Mow", "Weed"}));

    // Delete the parent: its children go with it; Undo restores the tree.
    click("Garden");
    QTest::keyClick(win.get(), Qt::Key_Delete);
    EXPECT_EQ(rows(), QStringList({"attic"}));
    EXPECT_EQ(tasks().count(), 1);
    QAction *undo = menus().undoAction();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "Undo Delete");
    EXPECT_TRUE(grid()->selectedIds().isEmpty());

    QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rows(), QStringList({"attic", "Garden", "Mow", "Weed"}));
    const auto back = taskNamed("Weed");
    ASSERT_TRUE(back);
    EXPECT_EQ(tasks().task(back->parentId)->subject, "Garden");
    EXPECT_EQ(back->level, 2);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(TasksView, HeaderClicksSortByTheClickedKeyAndSaveTheOrder)
{
    (void)tasks().insertTask(-1, 1, workId, "Bills", 2);
    (void)tasks().insertTask(-1, 1, workId, "Call", 0);
    (void)tasks().insertTask(-1, 1, workId, "Apples", 1, true);
    win->refresh();
    EXPECT_EQ(rows(), QStringList({"Apples", "Bills", "Call"}));

    TasksHeader *header = win->tasksHeader();
    ASSERT_TRUE(header->isVisible());
    const auto clickColumn = [&](QChar key) {
        for (int c = 0; c < header->colCount(); ++c)
            if (header->keyOf(c) == key)
                QTest::mouseClick(header, Qt::LeftButton, {}, header->cellRect(c, 0).center());
    };
    clickColumn(u'S');
    EXPECT_EQ(tasks().indexName(), "S-P+F+");
    EXPECT_EQ(rows(), QStringList({"Call", "Bills", "Apples"}));
    clickColumn(u'P');
    EXPECT_EQ(tasks().indexName(), "P+S-F+");
    EXPECT_EQ(rows(), QStringList({"Bills", "Apples", "Call"}));
    clickColumn(u'F');
    EXPECT_EQ(reg.tasksIndexName(), "F+P+S-");
    EXPECT_EQ(rows(), QStringList({"Bills", "Call", "Apples"}));

    // A press released over another column sorts nothing.
    const QPoint from = header->cellRect(0, 0).center();
    QTest::mousePress(header, Qt::LeftButton, {}, from);
    QTest::mouseRelease(header, Qt::LeftButton, {}, header->cellRect(2, 0).center());
    EXPECT_EQ(tasks().indexName(), "F+P+S-");
}

TEST_F(TasksView, ColumnsAreHiddenShownAndMovedFromTheHeaderAndKeptInTheSettings)
{
    TasksGrid *g = grid();
    const int w = g->width();
    // Default "210": finished, priority, subject.
    EXPECT_EQ(g->columnOf(TasksGrid::Column::Finished), 0);
    EXPECT_EQ(g->colWidth(0), 41);
    EXPECT_EQ(g->colWidth(1), 41);
    EXPECT_EQ(g->colWidth(2), w - 82);

    menus().showPriorityAction()->trigger();
    EXPECT_EQ(reg.tasksColumns(), "110");
    EXPECT_FALSE(reg.showPriority());
    ASSERT_EQ(g->colCount(), 2);
    EXPECT_EQ(g->columnOf(TasksGrid::Column::Subject), 1);
    EXPECT_EQ(g->colWidth(1), w - 41);
    EXPECT_EQ(win->tasksHeader()->colCount(), 2);

    // Shown again it goes last.
    menus().showPriorityAction()->trigger();
    EXPECT_EQ(reg.tasksColumns(), "120");
    EXPECT_EQ(g->colWidth(2), 42);

    // Dragging the subject's header cell onto the first column moves it there.
    TasksHeader *header = win->tasksHeader();
    QTest::mousePress(header, Qt::LeftButton, {}, header->cellRect(1, 0).center());
    QTest::mouseRelease(header, Qt::LeftButton, {}, header->cellRect(0, 0).center());
    EXPECT_EQ(reg.tasksColumns(), "021");
    EXPECT_EQ(header->keyOf(0), u'S');
    EXPECT_EQ(g->colWidth(0), w - 83);
}

TEST_F(TasksView, PriorityAndFinishedCellsChangeTheTaskOnClick)
{
    const int id = tasks().insertTask(-1, 1, workId, "Report", 1).id;
    win->refresh();
    const QPoint priority = pointOn("Report", TasksGrid::Column::Priority);
    QTest::mouseClick(grid(), Qt::LeftButton, {}, priority);
    EXPECT_EQ(tasks().task(id)->priority, 2);
    QTest::mouseClick(grid(), Qt::LeftButton, {}, priority);
    EXPECT_EQ(tasks().task(id)->priority, 1);
    QTest::mouseClick(grid(), Qt::RightButton, {}, priority);
    EXPECT_EQ(tasks().task(id)->priority, 0);
    QTest::mouseClick(grid(), Qt::LeftButton, {}, pointOn("Report", TasksGrid::Column::Finished));
    EXPECT_TRUE(tasks().task(id)->finished);
    EXPECT_EQ(grid()->selectedIds(), QList<int>{id});
}

TEST_F(TasksView, SelectionFollowsItsTasksWhenTheRowsAreRebuiltBeforeADelete)
{
    const int beta = tasks().insertTask(-1, 1, workId, "Beta").id;
    const int gamma = tasks().insertTask(-1, 1, workId, "Gamma").id;
    win->refresh();
    click("Beta");
    click("Gamma", Qt::ControlModifier);
    ASSERT_EQ(grid()->selectedIds().size(), 2);

    // A task sorted above them appears meanwhile: every row moves down by one.
    (void)tasks().insertTask(-1, 1, workId, "Alpha");
    win->refresh();
    EXPECT_EQ(rows(), QStringList({"Alpha", "Beta", "Gamma"}));
    QTest::keyClick(win.get(), Qt::Key_Delete);
    EXPECT_EQ(rows(), QStringList({"Alpha"}));
    EXPECT_FALSE(tasks().task(beta));
    EXPECT_FALSE(tasks().task(gamma));
}

TEST_F(TasksView, ATaskOrParentDeletedWhileTheEditorIsOpenIsReportedAndNothingIsWritten)
{
    const int id = tasks().insertTask(-1, 1, workId, "Gone soon").id;
    win->refresh();
    whenModal([&](QWidget *w) {
        (void)tasks().deleteTask(id);
        QTest::keyClick(w->findChild<QLineEdit *>(QStringLiteral("subject")), Qt::Key_Return);
    });
    EXPECT_FALSE(win->taskCommands().editTask(id));
    EXPECT_EQ(tasks().count(), 0);
    EXPECT_EQ(messages, QStringList({"This task no longer exists."}));
    EXPECT_TRUE(rows().isEmpty());

    // A new subtask whose parent went away meanwhile is not stored as an orphan.
    const int parent = tasks().insertTask(-1, 1, workId, "Parent").id;
    win->refresh();
    click("Parent");
    whenModal([&](QWidget *w) {
        (void)tasks().deleteTask(parent);
        auto *subject = w->findChild<QLineEdit *>(QStringLiteral("subject"));
        QTest::keyClicks(subject, "Orphan");
        QTest::keyClick(subject, Qt::Key_Return);
    });
    EXPECT_FALSE(win->taskCommands().newSubtask());
    EXPECT_EQ(tasks().count(), 0);
    EXPECT_EQ(messages.last(), "The parent task no longer exists.");
}

TEST_F(TasksView, ChangingTheLayerOfASubtaskMovesItsWholeTreeAndAnAlarmSwitchedOffIsCleared)
{
    const int parent = tasks().insertTask(-1, 1, workId, "Trip").id;
    const int child = tasks()
                          .insertTask(parent, 2, workId, "Pack", 1, false, true,
                                      DateTimeValue::encodeDate(2000, 8, 20) + 0.25)
                          .id;
    whenModal([&](QWidget *w) {
        auto *alarm = w->findChild<QAbstractButton *>(QStringLiteral("alarmOn"));
        EXPECT_TRUE(alarm->isChecked());
        alarm->click();
        auto *layers = w->findChild<QComboBox *>(QStringLiteral("layer"));
        layers->setCurrentIndex(layers->findText(QStringLiteral("Home")));
        QTest::keyClick(w->findChild<QLineEdit *>(QStringLiteral("subject")), Qt::Key_Return);
    });
    EXPECT_TRUE(win->taskCommands().editTask(child));
    EXPECT_EQ(tasks().task(parent)->layer, homeId);
    EXPECT_EQ(tasks().task(child)->layer, homeId);
    EXPECT_FALSE(tasks().task(child)->alarmSet);
}

TEST_F(TasksView, DraggingARowReparentsTheTaskUnlessTheTreeForbidsItAndUndoPutsItBack)
{
    const int trip = tasks().insertTask(-1, 1, workId, "Trip").id;
    const int pack = tasks().insertTask(-1, 1, workId, "Pack").id;
    (void)tasks().insertTask(-1, 1, homeId, "Laundry");
    win->refresh();
    const auto drag = [&](const QString &from, QPoint to) {
        QTest::mousePress(grid(), Qt::LeftButton, {}, pointOn(from));
        QTest::mouseMove(grid(), to);
        QTest::mouseRelease(grid(), Qt::LeftButton, {}, to);
        QApplication::processEvents();
    };

    drag("Pack", pointOn("Trip"));
    EXPECT_EQ(tasks().task(pack)->parentId, trip);
    EXPECT_EQ(tasks().task(pack)->level, 2);
    EXPECT_EQ(rows(), QStringList({"Laundry", "Trip", "Pack"}));
    EXPECT_EQ(menus().undoAction()->text(), "Undo Move");
    EXPECT_TRUE(menus().undoAction()->isEnabled());

    // Onto its own child, onto another layer's task, or released outside: nothing moves.
    drag("Trip", pointOn("Pack"));
    drag("Trip", pointOn("Laundry"));
    drag("Trip", QPoint(grid()->width() / 2, grid()->height() + 30));
    EXPECT_EQ(tasks().task(trip)->parentId, -1);
    EXPECT_EQ(tasks().task(pack)->parentId, trip);

    QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(tasks().task(pack)->parentId, -1);
    EXPECT_EQ(rows(), QStringList({"Laundry", "Pack", "Trip"}));
    EXPECT_FALSE(menus().undoAction()->isEnabled());
}

} // namespace
