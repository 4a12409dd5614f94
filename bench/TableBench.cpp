// Table engine at 100,000 rows of the events schema: load, a post that moves a row in the
// index (in memory alone, and with the write to the file), and a full find first/next walk
// through the filter text and a record filter.
#include "BenchReport.h"
#include "store/Table.h"
#include "store/TableTestSchemas.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

namespace
{

constexpr int Rows = 100000;
enum { Start = 2, End = 3, Subject = 8 };

void fill(Table &t)
{
    QRandomGenerator rng(42);
    const double firstDay = 45000;
    for (int i = 0; i < Rows; ++i) {
        const double start = firstDay + rng.bounded(3650) + rng.bounded(48) / 48.0;
        const bool recurrent = i % 10 == 0;
        QVariantList v{QVariant(),
                       1 + int(rng.bounded(5)),
                       start,
                       recurrent ? start + 365 : start + (1 + rng.bounded(8)) / 24.0,
                       false,
                       i % 4 == 0,
                       15,
                       1,
                       QStringLiteral("Event %1 with a subject").arg(i),
                       i % 2 ? QStringLiteral("A description of some length, line one.\r\nTwo.")
                             : QString(),
                       recurrent};
        if (recurrent)
            v << 1 << 1 << 0 << 1 << 1 << 0 << 0 << 0 << 0 << 0 << QStringLiteral("0101010")
              << QByteArray("45001,45008");
        if (!t.insertRow(v).applied) BenchReport::fail("table bench: a row was not added");
    }
}

// A table file with the rows, written once per run.
struct Fixture {
    QTemporaryDir dir;
    QString path;
    Fixture()
    {
        path = dir.path() + QStringLiteral("/Events.cds");
        Table t(TableTestSchemas::events());
        fill(t);
        if (const TableResult r = t.save(path); !r.ok())
            BenchReport::fail("table bench: the fixture file cannot be written: " +
                              r.error.toStdString());
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void table_load_100k(benchmark::State &state)
{
    const QString path = fixture().path;
    for (auto _ : state) {
        auto t = std::make_unique<Table>(TableTestSchemas::events());
        t->setActiveIndex(QStringLiteral("INDEX"));
        const auto begin = std::chrono::steady_clock::now();
        const TableLoadResult r = t->load(path);
        const auto end = std::chrono::steady_clock::now();
        if (r.status != TableLoadResult::Loaded || t->recordCount() != Rows)
            state.SkipWithError("load failed");
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    }
    state.counters["target_ms"] = 150;
}
BENCHMARK(table_load_100k)->UseManualTime()->Unit(benchmark::kMillisecond);

void movePosts(benchmark::State &state, Table &t)
{
    QRandomGenerator rng(7);
    for (auto _ : state) {
        t.setRecNo(1 + int(rng.bounded(Rows)));
        t.edit();
        t.setValue(Start, 45000 + rng.bounded(3650) + rng.bounded(48) / 48.0);
        benchmark::DoNotOptimize(t.post());
    }
}

void table_post_move_in_memory(benchmark::State &state)
{
    Table t(TableTestSchemas::events()); // no file: the post alone
    fill(t);
    t.setActiveIndex(QStringLiteral("INDEX"));
    movePosts(state, t);
    state.counters["target_ms"] = 0.1;
}
BENCHMARK(table_post_move_in_memory)->Unit(benchmark::kMicrosecond);

void table_post_move_with_write(benchmark::State &state)
{
    QTemporaryDir dir;
    Table t(TableTestSchemas::events());
    t.setActiveIndex(QStringLiteral("INDEX"));
    Table source(TableTestSchemas::events());
    if (!source.load(fixture().path).ok() ||
        !source.backupTo(dir.path() + QStringLiteral("/Events.cds")).ok() ||
        !t.load(dir.path() + QStringLiteral("/Events.cds")).ok())
        return state.SkipWithError("the table file cannot be copied");
    movePosts(state, t);
}
BENCHMARK(table_post_move_with_write)->Unit(benchmark::kMicrosecond);

void table_find_walk_100k(benchmark::State &state)
{
    Table t(TableTestSchemas::events());
    fill(t);
    t.setActiveIndex(QStringLiteral("INDEX"));
    t.setFilterText(QStringLiteral("Layer = 1 or Layer = 2 or Layer = 3 or Layer = 5"));
    const double from = 46000, to = 46031; // one month
    t.setRecordFilter([&](const Table &row) {
        return row.asDateTime(Start) < to &&
               (row.asDateTime(End) >= from ||
                (row.asBoolean(10) && row.asDateTime(End) + row.asInteger(17) >= from));
    });
    int found = 0;
    for (auto _ : state) {
        found = 0;
        for (bool ok = t.findFirst(); ok; ok = t.findNext())
            ++found;
        benchmark::DoNotOptimize(found);
    }
    state.counters["rows_found"] = found;
    state.counters["target_ms"] = 5;
}
BENCHMARK(table_find_walk_100k)->Unit(benchmark::kMillisecond);

} // namespace
