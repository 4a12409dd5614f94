// Printing to a PDF file on the benchmark calendar (100,000 one-time events, 300 recurring
// rules, every layer shown): the week of Monday 10 March 2025 from the screen's 08:00 with 41
// rows of 15 minutes, and the twelve months of 2025, each a whole document written to a file.
//
// Needs the QApplication that BenchMain creates (offscreen platform).
#include "BenchCalendar.h"

#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "mainwin/EventsStoreGridModel.h"
#include "mainwin/EventsStoreYearModel.h"
#include "views/CalendarPagePrint.h"
#include "views/TimeGridPrint.h"

#include <benchmark/benchmark.h>

#include <QPrinter>
#include <QTemporaryDir>

#include <memory>

namespace
{

// The printer, settings and models over the shared stores; built on first use.
struct PrintSetup {
    PrintSetup() : stores(BenchCalendar::shared())
    {
        reg = std::make_unique<Settings>(
            SettingsPaths{dir.path() + "/dayloom.ini", dir.path() + "/data/",
                          dir.path() + "/dayloom.desktop", QStringLiteral("/usr/bin/dayloom")});
        format.buildTimeFormat(2, 1);
        gridModel = std::make_unique<EventsStoreGridModel>(*stores.events, *stores.layers);
        yearModel = std::make_unique<EventsStoreYearModel>(*stores.events, *stores.layers);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.path() + "/print.pdf");
        printer.setPageOrientation(QPageLayout::Landscape);
    }

    QTemporaryDir dir;
    BenchCalendar::Stores &stores;
    std::unique_ptr<Settings> reg;
    DateTimeFormat format{QLocale(QLocale::English, QLocale::UnitedStates)};
    std::unique_ptr<EventsStoreGridModel> gridModel;
    std::unique_ptr<EventsStoreYearModel> yearModel;
    QPrinter printer;
};

void print_week_pdf(benchmark::State &state)
{
    auto &s = BenchCalendar::appInstance<PrintSetup>();
    TimeGridPrintSource source;
    source.firstDay = DateTimeValue::encodeDate(2025, 3, 10);
    source.days = 7;
    source.firstVisibleRow = 32;
    source.rowCount = 41;
    source.heading = QStringLiteral("10 Mar - 16 Mar 2025");
    TimeGridPrint print(*s.gridModel, s.format, *s.reg);
    for (auto _ : state) {
        const PrintResult r = print.print(s.printer, PrintOptions{}, source);
        if (!r.ok) state.SkipWithError(r.error.toStdString().c_str());
    }
    state.counters["target_ms"] = 150;
}
BENCHMARK(print_week_pdf)->Unit(benchmark::kMillisecond);

void print_year_pdf(benchmark::State &state)
{
    auto &s = BenchCalendar::appInstance<PrintSetup>();
    const CalendarPageSource source{
        DateTimeValue::encodeDate(2025, 1, 1), 12, QStringLiteral("2025"), {}};
    CalendarPagePrint print(s.format, *s.reg);
    for (auto _ : state) {
        const PrintResult r = print.printYear(s.printer, *s.yearModel, PrintOptions{}, source);
        if (!r.ok) state.SkipWithError(r.error.toStdString().c_str());
    }
    state.counters["target_ms"] = 300;
}
BENCHMARK(print_year_pdf)->Unit(benchmark::kMillisecond);

} // namespace
