// Fetching one month view's window (6 weeks) of the benchmark calendar: our month collection
// walk (table seek near the window, the recurring rules expanded and merged, items added to
// the month collection; no placement) against the same 100,000 one-time events in an SQLite
// table with indexes on StartTime and EndTime, every column read. Two peer queries: the plain
// one (StartTime < end AND EndTime >= start), and the tuned one that also bounds StartTime
// from below by the longest event's duration. Our walk also expands the 300 recurring rules,
// which the peer does not. Before timing, both queries must return exactly the one-time
// events our walk feeds to the collection.
#include "BenchCalendar.h"
#include "BenchReport.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

const char *const PlainQuery = "SELECT * FROM events WHERE StartTime < ?2 AND EndTime >= ?1 "
                               "ORDER BY StartTime, EndTime DESC, Subject, ID";
const char *const TunedQuery =
    "SELECT * FROM events WHERE StartTime < ?2 AND StartTime >= ?3 AND EndTime >= ?1 "
    "ORDER BY StartTime, EndTime DESC, Subject, ID";

// Month view of March 2025: six weeks from Monday 24 Feb 2025.
const SerialDateTime MonthFirst = DateTimeValue::encodeDate(2025, 2, 24);
const SerialDateTime MonthEnd = MonthFirst + 42;

struct Peer {
    sqlite3 *db = nullptr;
    sqlite3_stmt *plain = nullptr;
    sqlite3_stmt *tuned = nullptr;
    double longest = 0;
    int columns = 0;
    bool agrees = false;

    Peer()
    {
        EventsStore &ev = *BenchCalendar::shared().events;
        const TableSchema schema = EventsStore::schema();
        sqlite3_open(":memory:", &db);
        std::string create = "CREATE TABLE events(", insert = "INSERT INTO events VALUES(";
        columns = int(schema.fields.size());
        for (int f = 0; f < columns; ++f) {
            const QString name = schema.fields[f].name;
            if (f) create += ',';
            create += name.toStdString();
            if (f == 0) create += " INTEGER PRIMARY KEY";
            insert += f ? ",?" : "?";
        }
        sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *ins = nullptr;
        sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &ins, nullptr);
        ev.forEachEvent([&](const EventRow &row) {
            if (row.isRecurring()) return;
            for (int f = 0; f < columns; ++f) {
                const QVariant v = row[EventField(f)];
                switch (v.typeId()) {
                case QMetaType::UnknownType:
                    sqlite3_bind_null(ins, f + 1);
                    break;
                case QMetaType::Int:
                case QMetaType::Bool:
                    sqlite3_bind_int(ins, f + 1, v.toInt());
                    break;
                case QMetaType::Double:
                    sqlite3_bind_double(ins, f + 1, v.toDouble());
                    break;
                case QMetaType::QByteArray: {
                    const QByteArray b = v.toByteArray();
                    sqlite3_bind_blob(ins, f + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
                    break;
                }
                default: {
                    const QByteArray u = v.toString().toUtf8();
                    sqlite3_bind_text(ins, f + 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
                }
                }
            }
            sqlite3_step(ins);
            sqlite3_reset(ins);
        });
        sqlite3_finalize(ins);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_exec(db,
                     "CREATE INDEX events_start ON events(StartTime);"
                     "CREATE INDEX events_end ON events(EndTime); ANALYZE;",
                     nullptr, nullptr, nullptr);
        sqlite3_stmt *q = nullptr;
        sqlite3_prepare_v2(db, "SELECT max(EndTime - StartTime) FROM events", -1, &q, nullptr);
        if (sqlite3_step(q) == SQLITE_ROW) longest = sqlite3_column_double(q, 0);
        sqlite3_finalize(q);
        sqlite3_prepare_v2(db, PlainQuery, -1, &plain, nullptr);
        sqlite3_prepare_v2(db, TunedQuery, -1, &tuned, nullptr);
        agrees = check(ev);
    }

    // Steps the query over the month window, reading every column; appends the IDs to `ids`.
    void run(sqlite3_stmt *s, std::vector<int> *ids = nullptr) const
    {
        const CollectionWindow w = window();
        sqlite3_bind_double(s, 1, w.start);
        sqlite3_bind_double(s, 2, w.end);
        if (s == tuned) sqlite3_bind_double(s, 3, w.start - longest);
        std::size_t sum = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(s, c)) {
                case SQLITE_INTEGER:
                    sum += std::size_t(sqlite3_column_int(s, c));
                    break;
                case SQLITE_FLOAT:
                    sum += std::size_t(sqlite3_column_double(s, c));
                    break;
                case SQLITE_TEXT:
                    sum += std::size_t(sqlite3_column_bytes(s, c)) +
                           std::size_t(*sqlite3_column_text(s, c));
                    break;
                case SQLITE_BLOB:
                    sum += std::size_t(sqlite3_column_bytes(s, c)) +
                           std::size_t(sqlite3_column_blob(s, c) != nullptr);
                    break;
                default:
                    break;
                }
            }
            if (ids) ids->push_back(sqlite3_column_int(s, 0));
        }
        sqlite3_reset(s);
        benchmark::DoNotOptimize(sum);
    }

    static CollectionWindow window() { return {MonthFirst, MonthEnd}; }

    bool check(EventsStore &ev) const
    {
        std::vector<int> ours;
        ev.collectItems(window(), DateTimeValue::dayOf(MonthFirst), DateTimeValue::dayOf(MonthEnd),
                        [&](const SpanSourceItem &i) {
                            if (!i.isOccurrence) ours.push_back(i.id);
                        });
        std::sort(ours.begin(), ours.end());
        bool ok = !ours.empty();
        for (sqlite3_stmt *s : {plain, tuned}) {
            std::vector<int> theirs;
            run(s, &theirs);
            std::sort(theirs.begin(), theirs.end());
            if (theirs != ours) {
                BenchReport::fail("span fetch: SQLite returns " + std::to_string(theirs.size()) +
                                  " events, our walk " + std::to_string(ours.size()));
                ok = false;
            }
        }
        return ok;
    }
};

Peer &peer()
{
    static Peer p;
    return p;
}

void span_fetch_month_ours(benchmark::State &state)
{
    if (!peer().agrees) return state.SkipWithError("SQLite returns other events");
    EventsStore &ev = *BenchCalendar::shared().events;
    for (auto _ : state) {
        ev.collectMonthView(MonthFirst, MonthEnd, 1, 6);
        benchmark::DoNotOptimize(ev.collections().month.itemCount(1));
    }
}
BENCHMARK(span_fetch_month_ours)->Unit(benchmark::kMillisecond);

void span_fetch_month_sqlite_plain(benchmark::State &state)
{
    if (!peer().agrees) return state.SkipWithError("SQLite returns other events");
    for (auto _ : state)
        peer().run(peer().plain);
}
BENCHMARK(span_fetch_month_sqlite_plain)->Unit(benchmark::kMillisecond);

void span_fetch_month_sqlite_tuned(benchmark::State &state)
{
    if (!peer().agrees) return state.SkipWithError("SQLite returns other events");
    for (auto _ : state)
        peer().run(peer().tuned);
}
BENCHMARK(span_fetch_month_sqlite_tuned)->Unit(benchmark::kMillisecond);

const bool registered = [] {
    BenchReport::addRatio("span_fetch_month_plain", "sqlite", "span_fetch_month_ours",
                          "span_fetch_month_sqlite_plain", -1);
    BenchReport::addRatio("span_fetch_month_tuned", "sqlite", "span_fetch_month_ours",
                          "span_fetch_month_sqlite_tuned", 0.1);
    return true;
}();

} // namespace
