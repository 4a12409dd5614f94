// The main window over the real layers, events and tasks stores in a temporary data folder:
// start-up steps, the week view showing what Events.cds holds, drags reaching the file, the
// visible-layer filter, and what is told to the user about unreadable table files.
#include "app/DayloomApp.h"
#include "core/Clock.h"
#include "core/LayerPalette.h"
#include "core/Settings.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainWindow.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"
#include "support/TestEnv.h"
#include "ui/WindowOverStores.h"
#include "views/AllDayStrip.h"
#include "views/TimeGrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace
{
SerialDateTime at(int y, int m, int d, int h = 0, int min = 0)
{
    return DateTimeValue::encodeDate(y, m, d) + DateTimeValue::encodeTime(h, min);
}

bool sameTime(SerialDateTime a, SerialDateTime b)
{
    return DateTimeValue::toMs(a) == DateTimeValue::toMs(b);
}

SettingsPaths locationsIn(const QString &root)
{
    return {root + "/dayloom.ini", root + "/data", root + "/autostart/dayloom.desktop",
            "/opt/dayloom/dayloom"};
}

constexpr int WorkColour = 3;
constexpr int HomeColour = 7;

// Fills a data folder the way an earlier run left it: layers "Work" and "Home", the given
// one-time events in "Work" and one task. Returns the id of the "Work" layer.
int seedDataFolder(const QString &dataDir,
                   const std::vector<std::pair<SerialDateTime, SerialDateTime>> &work)
{
    QDir().mkpath(dataDir);
    Clock clock;
    ViewDates time(clock);
    LayersStore layers(dataDir, clock);
    const int workId = layers.insertLayer(2, QStringLiteral("Work"), true, WorkColour, 1, 30).id;
    EXPECT_TRUE(layers.insertLayer(3, QStringLiteral("Home"), true, HomeColour, 1, 30).ok());
    EventsStore events(dataDir, layers, time, clock);
    for (const auto &[start, end] : work)
        EXPECT_TRUE(events
                        .insertEvent(
                            EventRow(QVariantList{QVariant(), workId, start, end, false, false, 0,
                                                  0, QStringLiteral("Planning"), QString(), false}))
                        .ok());
    TasksStore tasks(dataDir, layers, clock);
    EXPECT_TRUE(tasks.insertTask(-1, 0, workId, QStringLiteral("Report")).ok());
    return workId;
}

// Pixels of `colour` inside `r` of `image`.
int countColour(const QImage &image, const QRect &r, const QColor &colour)
{
    int n = 0;
    const QRect in = r.intersected(image.rect());
    for (int y = in.top(); y <= in.bottom(); ++y)
        for (int x = in.left(); x <= in.right(); ++x)
            if (image.pixelColor(x, y) == colour) ++n;
    return n;
}

// The week of Sunday 6 Aug 2000 with today Wednesday 9 Aug 10:30, over a seeded data folder
// holding "Planning" on Wednesday 10:00-11:00.
class StoresWindow : public ::testing::Test
{
protected:
    QString root = TestEnv::freshDir("stores");
    QString dataDir = root + "/data/";
    int workId = seedDataFolder(dataDir, {{at(2000, 8, 9, 10), at(2000, 8, 9, 11)}});
    Clock clock = [] {
        Clock c;
        c.setFixed(QDateTime(QDate(2000, 8, 9), QTime(10, 30)));
        return c;
    }();
    Settings reg{locationsIn(root)};
    ViewDates time{clock};
    WindowOverStores stores;
    std::unique_ptr<LayersStore> &layers = stores.layers;
    std::unique_ptr<EventsStore> &events = stores.events;
    std::unique_ptr<TasksStore> &tasks = stores.tasks;
    std::unique_ptr<MainWindow> &win = stores.win;

    void SetUp() override
    {
        reg.setStartView(ViewWeek);
        reg.setStartHour(8);
        ASSERT_TRUE(stores.open(reg, time, clock));
    }

    TimeGrid *grid() { return win->timeGrid(); }
    // The placed box of event `id` in day column `day`; null when there is none.
    const SpanItem *box(int day, int id) { return stores.box(day, id); }
    QRect rectOf(const SpanItem &i) const
    {
        return QRect(i.left, i.top, i.right - i.left, i.bottom - i.top);
    }
    int firstEventId()
    {
        const std::vector<int> ids = events->eventIds();
        return ids.empty() ? -1 : ids.front();
    }
};
} // namespace

TEST_F(StoresWindow, AnEventOfTheFileShowsAsABoxInItsLayerColour)
{
    ASSERT_EQ(win->viewKind(), ViewWeek);
    ASSERT_TRUE(grid()->isVisible());
    const int id = firstEventId();
    const SpanItem *b = box(4, id); // Wednesday is the fourth column from Sunday
    ASSERT_NE(b, nullptr);
    const QRect r = rectOf(*b);
    EXPECT_GE(r.height(), 4 * grid()->rowHeight(1) - 1) << "one hour at the 15-minute scale";
    const QImage shot = grid()->grab().toImage();
    const int filled = countColour(shot, r, LayerPalette::layerColor(WorkColour));
    EXPECT_GT(filled, r.width() * r.height() / 2) << "the box is filled with its layer colour";
    EXPECT_EQ(countColour(shot, shot.rect(), LayerPalette::layerColor(HomeColour)), 0);
}

TEST_F(StoresWindow, DraggingTheBoxOneHourDownPostsToTheStoreAndTheFile)
{
    const int id = firstEventId();
    const SpanItem *b = box(4, id);
    ASSERT_NE(b, nullptr);
    const int rh = grid()->rowHeight(1);
    const int topBefore = b->top; // the collection is rebuilt by every drag step
    const QPoint body(b->left + 20, (b->top + b->bottom) / 2);
    QTest::mousePress(grid(), Qt::LeftButton, {}, body);
    ASSERT_EQ(grid()->dragMode(), DragMove);
    for (int k = 1; k <= 4; ++k)
        QTest::mouseMove(grid(), body + QPoint(0, k * rh));
    QTest::mouseRelease(grid(), Qt::LeftButton, {}, body + QPoint(0, 4 * rh));
    QApplication::processEvents();

    const auto posted = events->event(id);
    ASSERT_TRUE(posted);
    EXPECT_TRUE(sameTime(posted->startTime(), at(2000, 8, 9, 11)));
    EXPECT_TRUE(sameTime(posted->endTime(), at(2000, 8, 9, 12)));
    const SpanItem *moved = box(4, id);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->top, topBefore + 4 * rh);

    // Every post is in the file already: a second reader sees it without any save.
    Table reopened(EventsStore::schema());
    ASSERT_EQ(reopened.load(dataDir + EventsStore::FileName).status, TableLoadResult::Loaded);
    ASSERT_TRUE(reopened.locate(int(EventField::Id), id));
    EXPECT_TRUE(sameTime(reopened.asDateTime(int(EventField::StartTime)), at(2000, 8, 9, 11)));
    EXPECT_TRUE(sameTime(reopened.asDateTime(int(EventField::EndTime)), at(2000, 8, 9, 12)));
}

TEST_F(StoresWindow, HidingTheLayerTakesItsEventsOffTheGrid)
{
    const int id = firstEventId();
    ASSERT_NE(box(4, id), nullptr);
    ASSERT_TRUE(layers->setLayerShown(workId, false).ok());
    win->reFilter();
    EXPECT_EQ(box(4, id), nullptr);
    const QImage shot = grid()->grab().toImage();
    EXPECT_EQ(countColour(shot, shot.rect(), LayerPalette::layerColor(WorkColour)), 0);
    // The tasks store got the same filter.
    EXPECT_EQ(tasks->filterText(), layers->shownLayersFilter());
    EXPECT_EQ(events->filterText(), layers->shownLayersFilter());
}

TEST_F(StoresWindow, APostFromOutsideTheGridShowsAfterOneTurnOfTheLoop)
{
    const int id = events
                       ->insertEvent(EventRow(QVariantList{
                           QVariant(), workId, at(2000, 8, 10, 14), at(2000, 8, 10, 15), false,
                           false, 0, 0, QStringLiteral("Call"), QString(), false}))
                       .id;
    ASSERT_GE(id, 0);
    EXPECT_EQ(box(5, id), nullptr) << "no refresh inside the post";
    QApplication::processEvents();
    EXPECT_NE(box(5, id), nullptr);
}

TEST_F(StoresWindow, RightPressOnABoxOpensTheEventPopup)
{
    const SpanItem *b = box(4, firstEventId());
    ASSERT_NE(b, nullptr);
    QTest::mousePress(grid(), Qt::RightButton, {}, QPoint(b->left + 20, (b->top + b->bottom) / 2));
    EXPECT_TRUE(win->menus().eventMenu()->isVisible());
    win->menus().eventMenu()->hide();
}

TEST_F(StoresWindow, ZoomAndTimeScaleKeepTheBoxOnItsHour)
{
    const int id = firstEventId();
    win->setTimeScale(5); // 1 hour per row
    const SpanItem *b = box(4, id);
    // A box covers the line above its first row: one row is rowHeight + 1 high.
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->bottom - b->top, grid()->rowHeight(1) + 1);
    win->zoomIn();
    b = box(4, id);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->bottom - b->top, grid()->rowHeight(1) + 1);
    // Scrolled so that 10:00 is the first visible hour: the box starts under the strip.
    win->setTimeScale(3);
    win->zoomIn();
    win->zoomIn();
    ASSERT_TRUE(win->timeScrollBar()->isVisible());
    win->scrollToHour(10);
    b = box(4, id);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->top, grid()->rowHeight(0) - 1);
}

TEST(MainWindowStartUp, CopiesTheTablesToBakAndSortsTasksByTheSetting)
{
    struct Case {
        const char *name;
        QString setting;
        QString expected;
    };
    for (const Case &c : {Case{"one of the 48 orders", "P-S+F+", "P-S+F+"},
                          Case{"unknown order falls back", "X+Y+", "S+P+F+"}}) {
        SCOPED_TRACE(c.name);
        const QString root = TestEnv::freshDir("bak");
        seedDataFolder(root + "/data/", {{at(2000, 8, 9, 10), at(2000, 8, 9, 11)}});
        {
            Settings reg(locationsIn(root));
            reg.setTasksIndexName(c.setting);
        }
        DayloomApp app(locationsIn(root), CommandLine::parse({"auto"}));
        EXPECT_EQ(app.tasks().indexName(), c.expected);
        QApplication::processEvents(); // the daily copies are made on the event loop's first turn
        for (const char *name : {"Layers.bak", "Events.bak", "Tasks.bak"})
            EXPECT_TRUE(QFile::exists(root + "/data/" + name)) << name;
        Table copy(EventsStore::schema());
        ASSERT_EQ(copy.load(root + "/data/Events.bak").status, TableLoadResult::Loaded);
        EXPECT_EQ(copy.recordCount(), 1);
    }
}

TEST(MainWindowStartUp, AShownWindowMakesTheDailyCopiesOnceItsViewPainted)
{
    const QString root = TestEnv::freshDir("bakshown");
    const QString data = root + "/data/";
    seedDataFolder(data, {{at(2000, 8, 9, 10), at(2000, 8, 9, 11)}});
    DayloomApp app(locationsIn(root), CommandLine::parse({}));
    EXPECT_FALSE(QFile::exists(data + "Events.bak")) << "the calendar shows first";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app.mainWindow()));
    QElapsedTimer t;
    t.start();
    // Well before the fallback for a window that is never exposed.
    while (!QFile::exists(data + "Events.bak") && t.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    for (const char *name : {"Layers.bak", "Events.bak", "Tasks.bak"})
        EXPECT_TRUE(QFile::exists(data + name)) << name;
    EXPECT_TRUE(app.mainWindow().backupErrors().isEmpty());
}

TEST(MainWindowStartUp, AnUnreadableTableIsReportedOnceAndItsBakKept)
{
    const QString root = TestEnv::freshDir("aside");
    const QString data = root + "/data/";
    seedDataFolder(data, {});
    {
        QFile f(data + "Events.cds");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("this is not a table file");
        QFile bak(data + "Events.bak");
        ASSERT_TRUE(bak.open(QIODevice::WriteOnly | QIODevice::Truncate));
        bak.write("yesterday's copy");
    }
    DayloomApp app(locationsIn(root), CommandLine::parse({"auto"}));
    QStringList messages;
    app.mainWindow().setMessageSink([&](const QString &m) { messages << m; });
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();

    const QStringList aside =
        QDir(data).entryList({QStringLiteral("Events.cds.unreadable-*")}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("\"Events.cds\""));
    EXPECT_TRUE(messages[0].contains(data + aside[0]));
    EXPECT_FALSE(messages[0].contains("Layers.cds")) << "only the table that was set aside";
    QFile bak(data + "Events.bak");
    ASSERT_TRUE(bak.open(QIODevice::ReadOnly));
    EXPECT_EQ(bak.readAll(), QByteArray("yesterday's copy")) << "the empty table is not copied";
    EXPECT_EQ(app.events().eventCount(), 0);
}

TEST(MainWindowStartUp, DailyCopiesThatCannotBeMadeAreReported)
{
    const QString root = TestEnv::freshDir("nobak");
    const QString data = root + "/data/";
    seedDataFolder(data, {});
    // A folder where the copy should go: the copy cannot replace it.
    ASSERT_TRUE(QDir().mkpath(data + "Events.bak/blocked"));
    DayloomApp app(locationsIn(root), CommandLine::parse({"auto"}));
    QStringList messages;
    app.mainWindow().setMessageSink([&](const QString &m) { messages << m; });
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();

    ASSERT_EQ(app.mainWindow().backupErrors().size(), 1);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("daily copies"));
    EXPECT_TRUE(messages[0].contains("Events.bak"));
    EXPECT_FALSE(messages[0].contains("Layers.bak")) << "only the copy that failed";
    EXPECT_TRUE(QFileInfo(data + "Events.bak").isDir()) << "nothing was put in its place";
}

TEST(MainWindowStartUp, OnlyClosingTheMainWindowEndsTheProgram)
{
    const QString root = TestEnv::freshDir("quit");
    seedDataFolder(root + "/data/", {});
    DayloomApp app(locationsIn(root), CommandLine::parse({"auto"}));
    // Started hidden: a message box that comes and goes leaves the program running.
    QTimer::singleShot(0, [] {
        auto *box = new QMessageBox(QMessageBox::Information, "Dayloom", "A message");
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
        QTimer::singleShot(50, box, &QWidget::close);
    });
    QTimer::singleShot(400, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QApplication::exec(), 7) << "the program ended with the message box";

    app.mainWindow().show();
    QTimer::singleShot(0, [&app] { app.mainWindow().close(); });
    QTimer::singleShot(3000, [] { QCoreApplication::exit(9); });
    EXPECT_EQ(QApplication::exec(), 0) << "closing the main window ends the program";
}

TEST(MainWindowStartUp, StoresAreDestroyedAfterTheWindowAndSaveTheirTables)
{
    const QString root = TestEnv::freshDir("order");
    seedDataFolder(root + "/data/", {});
    {
        DayloomApp app(locationsIn(root), CommandLine::parse({"auto"}));
        ASSERT_TRUE(app.events()
                        .insertEvent(EventRow(QVariantList{
                            QVariant(), 1, at(2000, 8, 9, 9), at(2000, 8, 9, 10), false, false, 0,
                            0, QStringLiteral("Late"), QString(), false}))
                        .ok());
        EXPECT_TRUE(app.mainWindow().saveTables());
    }
    Table reopened(EventsStore::schema());
    ASSERT_EQ(reopened.load(root + "/data/Events.cds").status, TableLoadResult::Loaded);
    EXPECT_EQ(reopened.recordCount(), 1);
}
