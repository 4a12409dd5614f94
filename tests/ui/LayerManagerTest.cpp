// The layer manager and "Move To Layer" driven with the mouse and keys over a main window on
// real stores: making, renaming, recolouring, hiding, archiving and deleting layers (with the
// copy kept in "Last Deleted.dyl", and what happens when that copy cannot be written),
// exporting layers and importing them into another calendar, imports refused for room or
// damage, the event commands over a date range, and moving selected events and task trees.
#include "dialogs/LayerManager.h"
#include "core/DateTextHelpers.h"
#include "dialogs/DateBox.h"
#include "dialogs/DatePopup.h"
#include "dialogs/LayerChoiceBox.h"
#include "dialogs/LayerColorGrid.h"
#include "dialogs/MoveToLayerDialog.h"
#include "mainwin/EventCommands.h"
#include "mainwin/LayerCommands.h"
#include "mainwin/MainMenus.h"
#include "mainwin/NavigatorColumn.h"
#include "mainwin/NavigatorLayerList.h"
#include "store/LayerFile.h"
#include "store/LayerRemoval.h"
#include "store/Table.h"
#include "store/UndoLog.h"
#include "ui/AugustWeekWindow.h"
#include "ui/ModalDriver.h"
#include "views/NavigatorCalendar.h"
#include "views/TasksGrid.h"
#include "views/TimeGrid.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace
{
constexpr int Tuesday = 3, Wednesday = 4, Thursday = 5;

class LayersWindow : public AugustWeekWindow
{
protected:
    LayersWindow() : AugustWeekWindow("layer-manager") {}
    void SetUp() override
    {
        openWindow([this](EventsStore &e) {
            review = e.insertEvent(seedEvent(workId, at(2000, 8, 10, 14), at(2000, 8, 10, 15),
                                             QStringLiteral("Review")))
                         .id;
        });
        firstId = layers().idAt(1);
    }

    LayersStore &layers() { return *stores.layers; }
    TasksStore &tasks() { return *stores.tasks; }
    MainMenus &menus() { return win->menus(); }
    QString dataDir() const { return reg.dataPath(); }

    int addLayer(const QString &name, int color)
    {
        const int id = layers().insertLayer(layers().count() + 5, name, true, color, 1, 30).id;
        win->reFilter();
        return id;
    }
    int layerNamed(const QString &name)
    {
        for (const LayerRow &l : layers().layers())
            if (l.name == name) return l.id;
        return -1;
    }
    QStringList layerNames()
    {
        QStringList out;
        for (const LayerRow &l : layers().layers())
            out << l.name;
        return out;
    }
    int eventsIn(int layer) { return events->countLayerEvents(layer); }
    // The layer rows the table file holds, by name.
    QStringList namesInFile()
    {
        Table file(LayersStore::schema());
        EXPECT_EQ(file.load(dataDir() + LayersStore::FileName).status, TableLoadResult::Loaded);
        QStringList out;
        for (file.first(); !file.eof(); file.next())
            out << file.value(int(LayerField::Name)).toString();
        out.sort();
        return out;
    }

    // Triggers `action` and runs `drive` on the layer manager it opens. A dialog that `drive`
    // leaves open is closed so that the test goes on.
    void withManager(QAction *action, const std::function<void(LayerManager &)> &drive)
    {
        whenModal([drive](QWidget *w) {
            auto *m = qobject_cast<LayerManager *>(w);
            ASSERT_NE(m, nullptr);
            drive(*m);
            QTimer::singleShot(0, m, [m] {
                if (m->isVisible()) m->done(QDialog::Rejected);
            });
        });
        action->trigger();
        QApplication::processEvents();
    }
    static void clickRow(LayerManager &m, const QString &name, Qt::KeyboardModifiers mods = {},
                         int col = LayerListGrid::NameCol)
    {
        const auto &rows = m.list().rows();
        for (int i = 0; i < int(rows.size()); ++i)
            if (rows[std::size_t(i)].layer.name == name) {
                QTest::mouseClick(&m.list(), Qt::LeftButton, mods,
                                  m.list().rowRect(i, col).center());
                return;
            }
        ADD_FAILURE() << "no row " << name.toStdString();
    }
    static void typeInto(QWidget *box, const QString &text)
    {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    QPoint middleOf(int day, int id)
    {
        const SpanItem *b = stores.box(day, id);
        EXPECT_NE(b, nullptr) << "no box of " << id << " on day " << day;
        return b ? QPoint(b->left + 10, (b->top + b->bottom) / 2) : QPoint();
    }

    // Marks task `id` as a parent shown open, so that its children are listed.
    void openParent(int id)
    {
        TaskRow t = *tasks().task(id);
        t.hasChildren = true;
        t.open = true;
        ASSERT_TRUE(tasks().updateTask(t).ok());
    }

    int review = -1;
    int firstId = -1;
};
} // namespace

TEST_F(LayersWindow, ANewLayerIsNamedColouredHiddenAndArchivedAtOkAndDeletedWithACopy)
{
    withManager(menus().layerManagerAction(), [&](LayerManager &m) {
        EXPECT_EQ(m.windowTitle(), "Layer");
        QTest::mouseClick(&m.newButton(), Qt::LeftButton);
        // Layer1 has colour 1 and Work colour 3: the lowest free colour is 2.
        EXPECT_EQ(m.nameBox().text(), "Layer3");
        EXPECT_EQ(m.colors().chosen(), 2);
        typeInto(&m.nameBox(), "Garden");
        EXPECT_TRUE(m.isVisible()) << "Enter in the name applies it and leaves the dialog open";
        QTest::mouseClick(&m.colors(), Qt::LeftButton, {}, m.colors().colorRect(14).center());
        clickRow(m, "Garden", {}, LayerListGrid::ShownCol);
        QTest::mouseClick(&m.archiveOn(), Qt::LeftButton);
        typeInto(m.daysBox().lineEdit(), "1000");
        EXPECT_EQ(m.daysBox().currentText(), "30 Days");
        typeInto(m.daysBox().lineEdit(), "45 days");
        EXPECT_EQ(m.daysBox().currentText(), "45 Days");
        // Dragged from the last row onto the first, Garden leads the list.
        QTest::mousePress(&m.list(), Qt::LeftButton, {}, m.list().rowRect(2, 0).center());
        QTest::mouseMove(&m.list(), m.list().rowRect(1, 0).center());
        QTest::mouseMove(&m.list(), m.list().rowRect(0, 0).center());
        QTest::mouseRelease(&m.list(), Qt::LeftButton, {}, m.list().rowRect(0, 0).center());
        EXPECT_EQ(m.list().rows().front().layer.name, "Garden");
        EXPECT_EQ(m.list().selectedRows(), std::vector<int>{0});
        QTest::mouseClick(&m.okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(messages, QStringList({"Invalid Number"}));
    const int garden = layerNamed("Garden");
    ASSERT_GE(garden, 0);
    const LayerRow g = *layers().layer(garden);
    EXPECT_EQ(g.color, 14);
    EXPECT_FALSE(g.shown);
    EXPECT_EQ(g.archiving, 2);
    EXPECT_EQ(g.archiveDays, 45);
    EXPECT_EQ(layerNames(), QStringList({"Garden", "Layer1", "Work"}));
    EXPECT_EQ(namesInFile(), QStringList({"Garden", "Layer1", "Work"}));
    EXPECT_FALSE(events->filterText().contains(QStringLiteral("Layer = %1").arg(garden)))
        << "a hidden layer leaves the filter";
    EXPECT_EQ(win->navigator().layerList()->layers().size(), 3u);

    // Deleting and cancelling changes nothing; deleting and OK keeps a copy first.
    (void)events->insertEvent(oneTimeEvent(garden, at(2000, 8, 9, 8), at(2000, 8, 9, 9), "Dig"));
    (void)tasks().insertTask(-1, 1, garden, "Seeds");
    withManager(menus().layerManagerAction(), [&](LayerManager &m) {
        clickRow(m, "Garden");
        QTest::mouseClick(&m.deleteButton(), Qt::LeftButton);
        EXPECT_EQ(m.list().rows().size(), 2u);
        QTest::mouseClick(&m.cancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(eventsIn(garden), 1);
    withManager(menus().layerManagerAction(), [&](LayerManager &m) {
        clickRow(m, "Garden");
        QTest::mouseClick(&m.deleteButton(), Qt::LeftButton);
        QTest::mouseClick(&m.okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(layerNames(), QStringList({"Layer1", "Work"}));
    EXPECT_EQ(namesInFile(), QStringList({"Layer1", "Work"}));
    EXPECT_EQ(eventsIn(garden), 0);
    EXPECT_EQ(tasks().count(), 0);
    EXPECT_EQ(events->eventCount(), 3) << "the other layers' events stay";
    QFile copy(LayerRemoval::lastDeletedPath(dataDir()));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(copy.readAll());
    EXPECT_TRUE(text.contains("-1000;'Garden';False;14;2;45;1;1;")) << text.toStdString();
    EXPECT_TRUE(text.contains("'Dig'"));
    EXPECT_TRUE(text.contains("'Seeds'"));
}

TEST_F(LayersWindow, WhenTheDeletedLayersCannotBeSavedNothingIsDeleted)
{
    // A folder where the copy should go: the file cannot be written.
    ASSERT_TRUE(QDir().mkpath(LayerRemoval::lastDeletedPath(dataDir())));
    withManager(menus().layerManagerAction(), [&](LayerManager &m) {
        clickRow(m, "Work");
        QTest::mouseClick(&m.deleteButton(), Qt::LeftButton);
        QTest::mouseClick(&m.okButton(), Qt::LeftButton);
        EXPECT_TRUE(m.isVisible()) << "the dialog stays open for the user to decide";
        QTest::mouseClick(&m.cancelButton(), Qt::LeftButton);
    });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("nothing was deleted")) << messages[0].toStdString();
    EXPECT_EQ(layerNames(), QStringList({"Layer1", "Work"}));
    EXPECT_EQ(eventsIn(workId), 3);
}

TEST_F(LayersWindow, TwoExportedLayersImportIntoAnotherCalendarAndCancelTakesAnImportBack)
{
    const int home = addLayer("Home", 5);
    (void)events->insertEvent(
        oneTimeEvent(home, at(2000, 8, 12, 9), at(2000, 8, 12, 10), "Market"));
    const int trip = tasks().insertTask(-1, 1, home, "Trip").id;
    (void)tasks().insertTask(trip, 2, home, "Pack");
    openParent(trip);
    const QString file = TestEnv::freshDir("layer-export") + "/two.dyl";
    withManager(menus().layerManagerAction(), [&](LayerManager &m) {
        clickRow(m, "Work");
        clickRow(m, "Home", Qt::ShiftModifier);
        EXPECT_EQ(m.list().selectedCount(), 2);
        EXPECT_TRUE(m.exportLayers(file));
        QTest::mouseClick(&m.cancelButton(), Qt::LeftButton);
    });

    // Another calendar with only its default layer.
    const QString otherDir = TestEnv::freshDir("layer-import") + "/";
    ViewDates otherTime{clock};
    LayersStore otherLayers(otherDir, clock);
    EventsStore otherEvents(otherDir, otherLayers, otherTime, clock);
    TasksStore otherTasks(otherDir, otherLayers, clock);
    QStringList told;
    DialogPrompts prompts;
    prompts.warn = [&told](const QString &t) { told << t; };
    LayerManager m(otherLayers, otherEvents, otherTasks, reg, win->format(), clock, prompts,
                   nullptr);
    m.prepare(LayerManager::Mode::Layers, file);
    m.show();
    ASSERT_EQ(m.list().rows().size(), 3u);
    EXPECT_EQ(m.list().rows()[1].eventCount, 3);
    EXPECT_EQ(m.list().rows()[2].taskCount, 2);
    QTest::mouseClick(&m.okButton(), Qt::LeftButton);
    EXPECT_TRUE(told.isEmpty());
    ASSERT_EQ(otherLayers.count(), 3);
    const LayerRow work = *otherLayers.layerAt(2);
    const LayerRow homeCopy = *otherLayers.layerAt(3);
    EXPECT_EQ(work.name, "Work");
    EXPECT_EQ(homeCopy.color, 5);
    EXPECT_EQ(otherEvents.countLayerEvents(work.id), 3);
    EXPECT_EQ(otherEvents.countLayerEvents(homeCopy.id), 1);
    ASSERT_EQ(otherTasks.countTasksOfLayer(homeCopy.id), 2);
    otherTasks.buildRowList();
    const TaskRow top = *otherTasks.listTask(0);
    const TaskRow child = *otherTasks.listTask(1);
    EXPECT_EQ(top.subject, "Trip");
    EXPECT_EQ(child.parentId, top.id) << "the subtask stays under its parent";

    // Imported, then cancelled: the layers, events and tasks go again.
    m.prepare(LayerManager::Mode::Layers, file);
    m.show();
    EXPECT_EQ(otherLayers.count(), 5);
    QTest::mouseClick(&m.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(otherLayers.count(), 3);
    EXPECT_EQ(otherEvents.eventCount(), 4);
    EXPECT_EQ(otherTasks.count(), 2);
}

TEST_F(LayersWindow, AnImportPastTwentyFourLayersOrFromADamagedFileChangesNothing)
{
    const QString dir = TestEnv::freshDir("layer-files");
    const QString two = dir + "/two.dyl";
    withManager(menus().layerManagerAction(), [&](LayerManager &m) {
        clickRow(m, "Work", Qt::ShiftModifier);
        EXPECT_TRUE(m.exportLayers(two));
        QTest::mouseClick(&m.cancelButton(), Qt::LeftButton);
    });
    for (int i = 3; i <= 23; ++i)
        addLayer(QStringLiteral("L%1").arg(i), 1 + i % 24);
    ASSERT_EQ(layers().count(), 23);
    const int eventsBefore = events->eventCount();

    QFile damaged(dir + "/damaged.dyl");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("COUNT;;;;;;;;;;;;;;;;;;;;;;\r\n1;;;;;;;;;;;;;;;;;;;;;;\r\nnot a header\r\n");
    damaged.close();

    withManager(menus().layerManagerAction(), [&](LayerManager &m) {
        EXPECT_FALSE(m.importLayers(two));
        EXPECT_FALSE(m.importLayers(damaged.fileName()));
        EXPECT_EQ(m.list().rows().size(), 23u);
        // With one row deleted the dialog counts 22 layers: room for two.
        clickRow(m, "L23");
        QTest::mouseClick(&m.deleteButton(), Qt::LeftButton);
        EXPECT_TRUE(m.importLayers(two));
        EXPECT_EQ(m.list().rows().size(), 24u);
        EXPECT_FALSE(m.newButton().isEnabled());
        EXPECT_FALSE(m.importButton().isEnabled());
        QTest::mouseClick(&m.okButton(), Qt::LeftButton);
    });
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], "You are trying to import 2 layers. There is only room for 1.");
    EXPECT_TRUE(messages[1].startsWith("The layer file")) << messages[1].toStdString();
    EXPECT_EQ(layers().count(), 24);
    EXPECT_EQ(layerNamed("L23"), -1);
    EXPECT_EQ(events->eventCount(), eventsBefore + 3) << "Work's three events came once more";
    EXPECT_EQ(win->navigator().layerList()->layers().size(), 24u);
}

TEST_F(LayersWindow, DeleteMoveAndCopyEventsOfTwoLayersOverADateRange)
{
    const int home = addLayer("Home", 5);
    const int old =
        events->insertEvent(oneTimeEvent(home, at(2000, 8, 2, 10), at(2000, 8, 2, 11), "Old")).id;
    const int late =
        events->insertEvent(oneTimeEvent(home, at(2000, 8, 7, 23), at(2000, 8, 8, 1), "Late")).id;
    const int gym = events
                        ->insertEvent(dailySeries(oneTimeEvent(home, {}, {}, "Gym"),
                                                  at(2000, 8, 1, 7), at(2000, 8, 5, 8)))
                        .id;
    // Delete events of Work and Home ended by Sat 8 Aug 00:00.
    withManager(menus().deleteEventsAction(), [&](LayerManager &m) {
        EXPECT_EQ(m.windowTitle(), "Delete Events");
        EXPECT_EQ(m.okButton().text(), "Delete");
        EXPECT_FALSE(m.newButton().isVisible());
        clickRow(m, "Work");
        clickRow(m, "Home", Qt::ControlModifier);
        typeInto(&m.dateBox(), dateText(win->format(), at(2000, 8, 8)));
        EXPECT_TRUE(sameTime(m.rangeDate(), at(2000, 8, 8)));
        QTest::mouseClick(&m.okButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(events->event(old)) << "ended on 2 Aug";
    EXPECT_FALSE(events->event(gym)) << "its last occurrence ended on 5 Aug";
    EXPECT_TRUE(events->event(late)) << "ends after midnight at the start of 8 Aug";
    EXPECT_EQ(eventsIn(workId), 3);
    EXPECT_EQ(UndoLog::readSection(dataDir()), UndoLog::Section::DeletedEvents);
    EXPECT_EQ(menus().undoAction()->text(), "Undo Delete");
    menus().undoAction()->trigger();
    EXPECT_EQ(eventsIn(home), 3) << "Undo brings both back";

    // Move every event of Home into Work; with all layers chosen there is no target.
    withManager(menus().moveEventsAction(), [&](LayerManager &m) {
        clickRow(m, "Layer1");
        clickRow(m, "Home", Qt::ShiftModifier);
        EXPECT_FALSE(m.okButton().isEnabled());
        clickRow(m, "Home");
        EXPECT_EQ(m.targetBox().count(), 2);
        m.targetBox().setCurrentIndex(1);
        QTest::mouseClick(&m.allEvents(), Qt::LeftButton);
        QTest::mouseClick(&m.okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(eventsIn(home), 0);
    EXPECT_EQ(eventsIn(workId), 6);
    EXPECT_EQ(events->event(late)->layer(), workId);

    // Copy Work's events ended by Thu 10 Aug 00:00 into Layer1, picking the day in the
    // drop-down calendar.
    withManager(menus().copyEventsAction(), [&](LayerManager &m) {
        EXPECT_EQ(m.windowTitle(), "Copy Events");
        clickRow(m, "Work");
        QTest::mouseClick(&m.dateDropButton(), Qt::LeftButton);
        ASSERT_TRUE(m.datePopup().isVisible());
        ASSERT_TRUE(m.datePopup().calendar().setSelectedDate(at(2000, 8, 10)));
        EXPECT_TRUE(sameTime(m.rangeDate(), at(2000, 8, 10)));
        m.datePopup().close();
        QTest::mouseClick(&m.okButton(), Qt::LeftButton);
    });
    // Planning (9 Aug), Old, Late and Gym; Review (10 Aug 15:00) and Stand-up (to 31 Aug) stay.
    EXPECT_EQ(eventsIn(firstId), 4);
    EXPECT_EQ(eventsIn(workId), 6);
}

TEST_F(LayersWindow, ThreeSelectedEventsAndATaskTreeMoveToAnotherLayer)
{
    const int home = addLayer("Home", 5);
    EXPECT_FALSE(menus().moveToLayerAction()->isEnabled()) << "nothing selected";
    TimeGrid *grid = win->timeGrid();
    QTest::mouseClick(grid, Qt::LeftButton, {}, middleOf(Wednesday, planning));
    QTest::mouseClick(grid, Qt::LeftButton, Qt::ControlModifier, middleOf(Thursday, review));
    QTest::mouseClick(grid, Qt::LeftButton, Qt::ControlModifier, middleOf(Tuesday, standUp));
    ASSERT_TRUE(menus().moveToLayerAction()->isEnabled());
    whenModal([](QWidget *w) {
        auto *d = dynamic_cast<MoveToLayerDialog *>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Move To Layer");
        d->layerBox().setCurrentIndex(d->layerBox().findText("Home"));
        QTest::mouseClick(&d->okButton(), Qt::LeftButton);
    });
    QTest::keyClick(win.get(), Qt::Key_T, Qt::ControlModifier);
    QApplication::processEvents();
    for (int id : {planning, review, standUp})
        EXPECT_EQ(events->event(id)->layer(), home) << id;
    Table file(EventsStore::schema());
    ASSERT_EQ(file.load(dataDir() + EventsStore::FileName).status, TableLoadResult::Loaded);
    ASSERT_TRUE(file.locate(int(EventField::Id), review));
    EXPECT_EQ(file.value(int(EventField::Layer)).toInt(), home) << "the move reached the file";

    const int trip = tasks().insertTask(-1, 1, workId, "Trip").id;
    const int pack = tasks().insertTask(trip, 2, workId, "Pack").id;
    const int socks = tasks().insertTask(pack, 3, workId, "Socks").id;
    openParent(trip);
    openParent(pack);
    ASSERT_TRUE(win->switchToView(ViewTasks));
    win->refresh();
    win->tasksGrid()->selectTask(pack);
    win->updateCommands();
    ASSERT_TRUE(menus().taskMoveToLayerAction()->isEnabled());
    whenModal([](QWidget *w) {
        auto *d = dynamic_cast<MoveToLayerDialog *>(w);
        ASSERT_NE(d, nullptr);
        d->layerBox().setCurrentIndex(d->layerBox().findText("Home"));
        QTest::keyClick(&d->layerBox(), Qt::Key_Return);
    });
    menus().taskMoveToLayerAction()->trigger();
    for (int id : {trip, pack, socks})
        EXPECT_EQ(tasks().task(id)->layer, home) << "the whole tree moves";
}

TEST_F(LayersWindow, APendingImportOpensTheManagerOnlyOnceTheWindowIsShown)
{
    const QString file = TestEnv::freshDir("pending-import") + "/work.dyl";
    ASSERT_TRUE(LayerFile::exportFile(file, {workId}, layers(), *events, tasks()).ok);
    win->hide();
    win->setPendingImport(file);
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a hidden window waits";
    EXPECT_TRUE(win->importPending());

    bool sawImport = false;
    whenModal([&](QWidget *w) {
        auto *m = qobject_cast<LayerManager *>(w);
        ASSERT_NE(m, nullptr);
        sawImport = m->list().rows().size() == 3u && m->importedIds().size() == 1;
        QTest::mouseClick(&m->okButton(), Qt::LeftButton);
    });
    win->show();
    QTRY_VERIFY_WITH_TIMEOUT(!win->importPending(), 5000);
    EXPECT_TRUE(sawImport);
    EXPECT_EQ(layerNames(), QStringList({"Layer1", "Work", "Work"}));
    EXPECT_EQ(win->navigator().layerList()->layers().size(), 3u);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LayersWindow, TheNavigatorLayerListOpensTheManagerOnADoubleClickAndItsPopupOnTheRightButton)
{
    NavigatorLayerList *list = win->navigator().layerList();
    const QPoint onWork = list->cellRect(0, 2).center();
    bool opened = false;
    whenModal([&](QWidget *w) {
        auto *m = qobject_cast<LayerManager *>(w);
        opened = m && m->windowTitle() == "Layer";
        static_cast<QDialog *>(w)->reject();
    });
    QTest::mouseDClick(list, Qt::LeftButton, {}, onWork);
    QApplication::processEvents();
    EXPECT_TRUE(opened);

    QTest::mousePress(list, Qt::RightButton, {}, onWork);
    QMenu *popup = menus().layerMenu();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_TRUE(menus().layerMenuManagerAction()->isEnabled());
    popup->close();
}
