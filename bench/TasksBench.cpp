// The tasks view: rebuilding the visible rows of the task tree (the benchmark calendar's 1,000
// tasks, and 10,000 tasks in trees up to four levels written into a private folder), painting
// the list (1200 x 800) and one mouse move of a row drag.
//
// Needs the QApplication that BenchMain creates (offscreen platform).
#include "BenchCalendar.h"

#include "mainwin/TasksStoreGridModel.h"
#include "views/TasksGrid.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace
{

// 10,000 tasks under the calendar's first layer: 2,500 top-level tasks, each with a child,
// a grandchild and a great-grandchild.
struct TenThousandTasks {
    TenThousandTasks()
    {
        const QString dir = folder.path() + u'/';
        layers = std::make_unique<LayersStore>(dir, clock);
        const int layer = layers->insertLayer(1, QStringLiteral("Tasks"), true, 1, 1, 30).id;
        tasks = std::make_unique<TasksStore>(dir, *layers, clock);
        tasks->beginBulk();
        for (int i = 0; i < 2500 && ok; ++i) {
            int parent = -1;
            for (int level = 0; level < 4 && ok; ++level) {
                const InsertResult r = tasks->insertTask(
                    parent, level, layer, QStringLiteral("Task %1.%2").arg(i).arg(level), i % 3);
                ok = r.ok();
                parent = r.id;
            }
        }
        ok = tasks->endBulk().ok() && ok;
        model = std::make_unique<TasksStoreGridModel>(*tasks, *layers);
    }
    QTemporaryDir folder;
    Clock clock;
    std::unique_ptr<LayersStore> layers;
    std::unique_ptr<TasksStore> tasks;
    std::unique_ptr<TasksStoreGridModel> model;
    bool ok = true;
};

// The list over the benchmark calendar's tasks in a panel of the main window's size.
struct TasksPanel {
    TasksPanel()
    {
        BenchCalendar::Stores &stores = *copy.stores;
        model = std::make_unique<TasksStoreGridModel>(*stores.tasks, *stores.layers);
        panel = std::make_unique<QWidget>();
        panel->resize(1200, 800);
        grid = new TasksGrid(panel.get(), *model, *copy.settings);
        grid->setGeometry(0, 0, 1183, 800);
        grid->refresh();
        panel->show();
        exposed = QTest::qWaitForWindowExposed(panel.get());
        QApplication::processEvents();
    }
    BenchCalendar::PrivateCopy copy;
    std::unique_ptr<TasksStoreGridModel> model;
    std::unique_ptr<QWidget> panel;
    TasksGrid *grid = nullptr; // owned by panel
    bool exposed = false;
};

void tasks_build_list_1k(benchmark::State &state)
{
    BenchCalendar::Stores &stores = BenchCalendar::shared();
    TasksStoreGridModel model(*stores.tasks, *stores.layers);
    for (auto _ : state)
        model.rebuildRows();
    state.counters["rows"] = model.visibleCount();
    state.counters["target_ms"] = 2;
}
BENCHMARK(tasks_build_list_1k)->Unit(benchmark::kMillisecond);

void tasks_build_list_10k(benchmark::State &state)
{
    TenThousandTasks &t = BenchCalendar::appInstance<TenThousandTasks>();
    if (!t.ok) return state.SkipWithError("the 10,000 tasks could not be written");
    for (auto _ : state)
        t.model->rebuildRows();
    state.counters["rows"] = t.model->visibleCount();
    state.counters["target_ms"] = 15;
}
BENCHMARK(tasks_build_list_10k)->Unit(benchmark::kMillisecond);

void tasks_paint_list(benchmark::State &state)
{
    TasksPanel &t = BenchCalendar::appInstance<TasksPanel>();
    if (!t.exposed || !t.copy.copied) return state.SkipWithError("the list was not shown");
    QImage image(t.panel->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        t.panel->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["rows"] = t.model->visibleCount();
    state.counters["target_ms"] = 4;
}
BENCHMARK(tasks_paint_list)->Unit(benchmark::kMillisecond);

// One step of dragging a row over the list: the left button held on the second row, the
// pointer moving between the fourth and the sixth row.
void tasks_drag_step(benchmark::State &state)
{
    TasksPanel &t = BenchCalendar::appInstance<TasksPanel>();
    if (!t.exposed || t.model->visibleCount() < 6)
        return state.SkipWithError("the list was not shown");
    const int x = t.grid->width() / 2;
    const auto rowCentre = [&](int row) {
        return QPoint(x, t.grid->cellRect(t.grid->colCount() - 1, row).center().y());
    };
    QTest::mousePress(t.grid, Qt::LeftButton, {}, rowCentre(2));
    bool down = true;
    for (auto _ : state) {
        QTest::mouseMove(t.grid, rowCentre(down ? 6 : 4));
        QApplication::processEvents();
        down = !down;
    }
    // Released outside the grid: nothing moves.
    QTest::mouseRelease(t.grid, Qt::LeftButton, {}, QPoint(-20, -20));
    QApplication::processEvents();
    state.counters["target_ms"] = 2;
}
BENCHMARK(tasks_drag_step)->Unit(benchmark::kMillisecond);

} // namespace
