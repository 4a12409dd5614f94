// The month view's grid on the benchmark calendar (100,000 one-time events, 300 recurring
// rules, every layer shown): six weeks of March 2025 in a 1200x800 panel laid out by the main
// window's MonthPanelLayout, over the real events store (through EventsStoreGridModel) on a
// private copy of the calendar, so the drag's posts reach that copy's Events.cds and nothing
// else.
//
// Needs the QApplication that BenchMain creates (offscreen platform).
#include "BenchCalendar.h"

#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "mainwin/EventsStoreGridModel.h"
#include "mainwin/MonthPanelLayout.h"
#include "views/MonthGrid.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

namespace
{

// Sunday 23 Feb 2025: the first cell of March 2025 with weeks from Sunday.
const SerialDateTime MonthFirst = DateTimeValue::encodeDate(2025, 2, 23);
constexpr int PanelWidth = 1200;
constexpr int PanelHeight = 800;

class MonthPanel
{
public:
    MonthPanel()
    {
        BenchCalendar::Stores *stores = copy.stores.get();
        model = std::make_unique<EventsStoreGridModel>(*stores->events, *stores->layers);
        format.buildTimeFormat(2, 1);
        panel = std::make_unique<QWidget>();
        panel->resize(PanelWidth, PanelHeight);
        grid =
            new MonthGrid(panel.get(), *model, stores->time, *copy.settings, format, stores->clock);
        panelLayout = new MonthPanelLayout(*panel, *grid);

        stores->time.setSpanStart(MonthFirst);
        stores->time.setSpanEnd(MonthFirst + 42);
        grid->setWeeks(6, DateTimeValue::encodeDate(2025, 3, 10), true);
        panelLayout->layout();
        grid->collectAll();
        panel->show();
        exposed = QTest::qWaitForWindowExposed(panel.get());
        QApplication::processEvents();
    }

    // A shown one-time bar of less than a day in week row 3, on a day from which it can move
    // one day right (so a press on its body moves it); null when that week has none.
    const SpanItem *movableBar()
    {
        for (const SpanItem &i : model->monthCollection().items(3)) {
            if (i.isOccurrence || i.first > 5 || i.bottom <= i.top + 8 || i.right <= i.left + 8)
                continue;
            const std::optional<GridEventRow> row = model->eventRow(i.id);
            if (!row || row->recurrent) continue;
            if (DateTimeValue::toMs(row->endTime) - DateTimeValue::toMs(row->startTime) >=
                DateTimeValue::MsPerDay)
                continue;
            return &i;
        }
        return nullptr;
    }

    BenchCalendar::PrivateCopy copy;
    std::unique_ptr<EventsStoreGridModel> model;
    DateTimeFormat format{QLocale(QLocale::English, QLocale::UnitedStates)};
    std::unique_ptr<QWidget> panel;
    MonthGrid *grid = nullptr;               // owned by panel
    MonthPanelLayout *panelLayout = nullptr; // owned by panel
    bool exposed = false;
};

// Painting the six weeks: the panel rendered into an image of its size.
void monthgrid_paint_month(benchmark::State &state)
{
    MonthPanel &m = BenchCalendar::appInstance<MonthPanel>();
    if (!m.exposed || !m.copy.copied) {
        state.SkipWithError("the calendar was not copied or the panel not shown");
        return;
    }
    QImage image(m.panel->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        m.panel->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    int items = 0;
    for (int w = 1; w <= 6; ++w)
        items += m.model->monthCollection().itemCount(w);
    state.counters["items"] = items;
    state.counters["target_ms"] = 4;
}
BENCHMARK(monthgrid_paint_month)->Unit(benchmark::kMillisecond);

// One step of moving a bar with the mouse: one day right and back again alternately, the left
// button held on its body. Each step posts to the events table, collects the touched weeks
// again and repaints them.
void monthgrid_drag_step(benchmark::State &state)
{
    MonthPanel &m = BenchCalendar::appInstance<MonthPanel>();
    if (!m.exposed || !m.copy.copied) {
        state.SkipWithError("the calendar was not copied or the panel not shown");
        return;
    }
    const SpanItem *bar = m.movableBar();
    if (!bar) {
        state.SkipWithError("no movable bar in the week");
        return;
    }
    const QPoint body(bar->left + 4, bar->top + 8);
    const QPoint next = body + QPoint(m.grid->colWidth(0), 0);
    QTest::mousePress(m.grid, Qt::LeftButton, {}, body);
    QApplication::processEvents();
    if (m.grid->dragMode() != DragMove) {
        QTest::mouseRelease(m.grid, Qt::LeftButton, {}, body);
        state.SkipWithError("the press did not start a move");
        return;
    }
    bool right = true;
    for (auto _ : state) {
        QTest::mouseMove(m.grid, right ? next : body);
        QApplication::processEvents();
        right = !right;
    }
    QTest::mouseRelease(m.grid, Qt::LeftButton, {}, right ? body : next);
    QApplication::processEvents();
    state.counters["target_ms"] = 2;
}
BENCHMARK(monthgrid_drag_step)->Unit(benchmark::kMillisecond);

} // namespace
