// The navigator column on the benchmark calendar's layers: calendar, week list (weeks on),
// month and year lists and the layer list, 170 x 700 as the main window shows it, rendered into
// an image the size of the column as the backing store would hold it.
//
// Needs the QApplication that BenchMain creates (offscreen platform).
#include "BenchCalendar.h"

#include "core/UiFont.h"
#include "mainwin/NavigatorColumn.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include <memory>

namespace
{

class Column
{
public:
    Column()
    {
        BenchCalendar::Stores &stores = BenchCalendar::shared();
        frame = std::make_unique<QWidget>();
        frame->resize(170, 700);
        above = new QWidget(frame.get());
        above->setGeometry(0, 0, 170, 58);
        viewport = new QWidget(frame.get());
        viewport->setGeometry(0, 58, 170, 622);
        below = new QWidget(frame.get());
        below->setGeometry(0, 680, 170, 20);
        column = new NavigatorColumn(*viewport, *above, *below, *stores.layers, stores.clock,
                                     UiFont::fromPlatform(QApplication::font("QMenu")).font);
        column->setWeeksOn(true);
        frame->show();
        exposed = QTest::qWaitForWindowExposed(frame.get());
        QApplication::processEvents();
    }

    // Destroyed from a post routine of the QApplication, before the shared stores go.
    static Column &instance()
    {
        static std::unique_ptr<Column> c;
        if (!c) {
            c = std::make_unique<Column>();
            qAddPostRoutine([] { c.reset(); });
        }
        return *c;
    }

    std::unique_ptr<QWidget> frame;
    QWidget *above = nullptr;    // owned by frame
    QWidget *viewport = nullptr; // owned by frame
    QWidget *below = nullptr;    // owned by frame
    NavigatorColumn *column = nullptr;
    bool exposed = false;
};

void navigator_paint_column(benchmark::State &state)
{
    Column &c = Column::instance();
    if (!c.exposed) {
        state.SkipWithError("the column was not shown");
        return;
    }
    QImage image(c.frame->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        c.frame->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["layers"] = double(BenchCalendar::shared().layers->count());
    state.counters["target_ms"] = 1;
}
BENCHMARK(navigator_paint_column)->Unit(benchmark::kMillisecond);

} // namespace
