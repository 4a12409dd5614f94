// The week view's time grid on the benchmark calendar (100,000 one-time events, 300 recurring
// rules, every layer shown), driven like a user drives it: a 1200x800 panel holding the grid and
// the all-day strip, laid out by the main window's TimePanelLayout, 15-minute scale, rows 16 px,
// scrolled to 08:00, over the real events store (through EventsStoreGridModel) on a private copy of
// the calendar, so the drag's posts reach that copy's Events.cds and nothing else.
//
// Needs the QApplication that BenchMain creates (offscreen platform).
#include "BenchCalendar.h"

#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "core/ViewState.h"
#include "mainwin/EventsStoreGridModel.h"
#include "mainwin/MainPanels.h"
#include "mainwin/TimePanelLayout.h"
#include "views/AllDayStrip.h"
#include "views/TimeGrid.h"

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

// Monday 10 Mar 2025, the busy week the collection benchmarks use.
const SerialDateTime WeekFirst = DateTimeValue::encodeDate(2025, 3, 10);
constexpr int PanelWidth = 1200;
constexpr int PanelHeight = 800;
constexpr int FirstHour = 8;

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// The panel, its grid and the stores under it; built on first use, torn down before the
// QApplication goes (see instance()).
class WeekPanel
{
public:
    WeekPanel()
    {
        BenchCalendar::Stores *stores = copy.stores.get();
        model = std::make_unique<EventsStoreGridModel>(*stores->events, *stores->layers);
        format.buildTimeFormat(2, 1);
        panel = std::make_unique<QWidget>();
        panel->resize(PanelWidth, PanelHeight);
        grid = new TimeGrid(panel.get(), *model, stores->time, view, *copy.settings, format,
                            stores->clock);
        panelLayout = new TimePanelLayout(*panel, *grid, view);
        QObject::connect(grid, &TimeGrid::layoutRequested, grid, [this] { layoutRows(); });
        grid->installEventFilter(&counter);

        stores->time.setSpanStart(WeekFirst);
        stores->time.setSpanEnd(WeekFirst + 7);
        view.columnCount = 7;
        grid->collectAll();
        panelLayout->layoutColumns();
        layoutRows();
        panelLayout->scrollToHour(FirstHour);
        panel->show();
        exposed = QTest::qWaitForWindowExposed(panel.get());
        QApplication::processEvents();
    }

    // Rows as the window lays them out with the panel between its top and bottom bars (the
    // day does not fit at 800 px: a scroll bar).
    void layoutRows()
    {
        panelLayout->layoutRows(panel->height() + MainPanels::TopBarHeight +
                                MainPanels::BottomBarHeight);
    }

    // A one-time box in the middle day column, at least three rows high, with two free rows
    // below it inside the grid; null when the week has none.
    const SpanItem *draggableBox(int *day)
    {
        const int rh = grid->rowHeight(1);
        for (int d : {4, 3, 5, 2, 6}) {
            for (const SpanItem &i : model->dayCollection().timeItems(d)) {
                if (i.isOccurrence || i.bottom - i.top < 3 * rh) continue;
                if (i.top < grid->rowHeight(0) + rh || i.bottom + 2 * rh > grid->height()) continue;
                const std::optional<GridEventRow> row = model->eventRow(i.id);
                if (!row || row->recurrent) continue;
                *day = d;
                return &i;
            }
        }
        return nullptr;
    }

    BenchCalendar::PrivateCopy copy;
    std::unique_ptr<EventsStoreGridModel> model;
    ViewState view;
    DateTimeFormat format{QLocale(QLocale::English, QLocale::UnitedStates)};
    PaintCounter counter;
    std::unique_ptr<QWidget> panel;
    TimeGrid *grid = nullptr;               // owned by panel
    TimePanelLayout *panelLayout = nullptr; // owned by panel
    bool exposed = false;
};

// One step of moving an event with the mouse: a move by one row (alternately down and up) with
// the left button held on the box's body. The grid posts the new times to the events table
// (written through to Events.cds), re-collects and places the touched days and invalidates
// them; processing the pending update request then paints the invalidated region.
void timegrid_drag_step(benchmark::State &state)
{
    WeekPanel &w = BenchCalendar::appInstance<WeekPanel>();
    if (!w.exposed || !w.copy.copied) {
        state.SkipWithError("the calendar was not copied or the panel not shown");
        return;
    }
    int day = 0;
    const SpanItem *box = w.draggableBox(&day);
    if (!box) {
        state.SkipWithError("no draggable box in the week");
        return;
    }
    const int id = box->id;
    const QPoint body((box->left + box->right) / 2, (box->top + box->bottom) / 2);
    const QPoint below = body + QPoint(0, w.grid->rowHeight(1));
    QTest::mousePress(w.grid, Qt::LeftButton, {}, body);
    QApplication::processEvents();
    if (w.grid->dragMode() != DragMove || w.grid->clickedEventId() != id) {
        QTest::mouseRelease(w.grid, Qt::LeftButton, {}, body);
        state.SkipWithError("the press did not start a move");
        return;
    }
    const SerialDateTime startBefore = w.model->eventRow(id)->startTime;
    w.counter.paints = 0;
    bool down = true;
    for (auto _ : state) {
        QTest::mouseMove(w.grid, down ? below : body);
        QApplication::processEvents();
        down = !down;
    }
    const int steps = int(state.iterations());
    const int paints = w.counter.paints;
    const SerialDateTime startNow = w.model->eventRow(id)->startTime;
    QTest::mouseRelease(w.grid, Qt::LeftButton, {}, down ? body : below);
    QApplication::processEvents();
    if (paints < steps) state.SkipWithError("a drag step was not painted");
    if (steps % 2 == 1 && DateTimeValue::toMs(startNow) == DateTimeValue::toMs(startBefore))
        state.SkipWithError("the drag did not move the event");
    state.counters["paints_per_step"] = double(paints) / std::max(steps, 1);
    state.counters["target_ms"] = 4;
}
BENCHMARK(timegrid_drag_step)->Unit(benchmark::kMillisecond);

// Painting the whole week: the panel (time grid and all-day strip) rendered into an image the
// size of the panel, as the backing store would hold it.
void timegrid_paint_week(benchmark::State &state)
{
    WeekPanel &w = BenchCalendar::appInstance<WeekPanel>();
    if (!w.exposed || !w.copy.copied) {
        state.SkipWithError("the calendar was not copied or the panel not shown");
        return;
    }
    QImage image(w.panel->size(), QImage::Format_ARGB32_Premultiplied);
    w.counter.paints = 0;
    for (auto _ : state) {
        w.panel->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    if (w.counter.paints < state.iterations()) state.SkipWithError("the grid was not painted");
    int items = 0;
    for (int d = 1; d <= 7; ++d)
        items += w.model->dayCollection().timeItemCount(d);
    state.counters["items"] = items + w.model->dayCollection().stripItemCount();
    state.counters["target_ms"] = 8;
}
BENCHMARK(timegrid_paint_week)->Unit(benchmark::kMillisecond);

} // namespace
