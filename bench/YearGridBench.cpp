// The year view's grid on the benchmark calendar (100,000 one-time events, 300 recurring rules,
// every layer shown): the twelve months of 2025 in a 1200x800 panel, collected through
// EventsStoreYearModel from the shared stores, and painted whole.
//
// Needs the QApplication that BenchMain creates (offscreen platform).
#include "BenchCalendar.h"

#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "core/UiFont.h"
#include "core/ViewState.h"
#include "mainwin/EventsStoreYearModel.h"
#include "mainwin/TimeFamilyLayout.h"
#include "views/YearGrid.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace
{

constexpr int PanelWidth = 1200;
constexpr int PanelHeight = 800;

// The panel and its grid over the shared stores; built on first use, torn down before the
// QApplication goes.
class YearPanel
{
public:
    YearPanel()
        : stores(BenchCalendar::shared()), uiFont(UiFont::fromPlatform(QApplication::font()))
    {
        reg = std::make_unique<Settings>(
            SettingsPaths{m_dir.path() + "/dayloom.ini", m_dir.path() + "/data/",
                          m_dir.path() + "/dayloom.desktop", QStringLiteral("/usr/bin/dayloom")});
        model = std::make_unique<EventsStoreYearModel>(*stores.events, *stores.layers);
        format.buildTimeFormat(2, 1);
        panel = std::make_unique<QWidget>();
        panel->resize(PanelWidth, PanelHeight);
        view.kind = ViewYear;
        view.columnCount = 12;
        grid = new YearGrid(panel.get(), *model, stores.time, view, *reg, format, uiFont,
                            stores.clock);
        stores.time.setSpanStart(DateTimeValue::encodeDate(2025, 1, 1));
        stores.time.setSpanEnd(DateTimeValue::encodeDate(2026, 1, 1));
        grid->setMonthColumns(
            TimeFamily::columnWidths(12, grid->width() - YearGrid::DayColumnWidth));
        grid->setDayRows(TimeFamily::columnWidths(YearGrid::DayRows, grid->height()));
        grid->collect();
        panel->show();
        exposed = QTest::qWaitForWindowExposed(panel.get());
        QApplication::processEvents();
    }

    static YearPanel &instance()
    {
        static std::unique_ptr<YearPanel> p;
        if (!p) {
            p = std::make_unique<YearPanel>();
            qAddPostRoutine([] { p.reset(); });
        }
        return *p;
    }

    QTemporaryDir m_dir;
    BenchCalendar::Stores &stores;
    UiFont uiFont;
    std::unique_ptr<Settings> reg;
    std::unique_ptr<EventsStoreYearModel> model;
    ViewState view;
    DateTimeFormat format{QLocale(QLocale::English, QLocale::UnitedStates)};
    std::unique_ptr<QWidget> panel;
    YearGrid *grid = nullptr; // owned by panel
    bool exposed = false;
};

// Painting the whole year: the panel rendered into an image of its size, as the backing store
// would hold it.
void yeargrid_paint_year(benchmark::State &state)
{
    YearPanel &y = YearPanel::instance();
    if (!y.exposed) {
        state.SkipWithError("the panel was not shown");
        return;
    }
    y.grid->collect(); // another suite may have collected other months since
    QImage image(y.panel->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        y.panel->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    int items = 0;
    for (int m = 1; m <= 12; ++m)
        items += y.model->yearCollection().itemCount(m);
    if (items == 0) state.SkipWithError("the year holds no items");
    state.counters["items"] = items;
    state.counters["target_ms"] = 6;
}
BENCHMARK(yeargrid_paint_year)->Unit(benchmark::kMillisecond);

} // namespace
