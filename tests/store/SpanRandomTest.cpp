// Generated calendars against a plain model that works day by day on calendar dates: which
// cells an item lands in, its First/Last and cut marks, and that every column or lane is the
// smallest one free when the item came.
#include "support/SpanTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace SpanTest;
using DateTimeValue::MsPerDay;
using DateTimeValue::toMs;

namespace
{

struct Expect {
    int first, last;
    bool cutStart, cutEnd;
};
using Model = std::map<std::pair<int, int>, Expect>; // (cell, id) -> expected placement

// Few items over a month or two, whole minutes, a third of them zero length or day long.
std::vector<SpanSourceItem> generate(std::mt19937 &rng, SerialDateTime from, int days, int count)
{
    std::vector<SpanSourceItem> items;
    std::uniform_int_distribution<int> day(-3, days + 3), minute(0, 1439), kind(0, 5);
    std::uniform_int_distribution<int> shortLen(1, 600), longLen(1440, 1440 * 9);
    for (int i = 1; i <= count; ++i) {
        const SerialDateTime start = from + day(rng) + minute(rng) / 1440.0;
        int len = 0;
        switch (kind(rng)) {
        case 0:
            len = 0;
            break;
        case 1:
            len = longLen(rng);
            break;
        case 2: // whole days from midnight
            items.push_back(item(i, std::floor(start), std::floor(start) + 1 + i % 3));
            continue;
        default:
            len = shortLen(rng);
        }
        items.push_back(item(i, start, start + len / 1440.0));
    }
    return items;
}

// Days an item covers: its start day to its end day, where an end at midnight after the
// start closes the day before.
std::pair<qint64, qint64> coveredDays(const SpanSourceItem &i)
{
    const qint64 s = toMs(i.startTime), e = toMs(i.endTime);
    const qint64 first = s / MsPerDay;
    qint64 last = e / MsPerDay;
    if (e % MsPerDay == 0 && e > s) --last;
    return {first, last};
}

template <class Items> void expectMatches(const Model &model, int cells, Items itemsOf)
{
    std::size_t seen = 0;
    for (int c = 1; c <= cells; ++c) {
        for (const SpanItem &r : itemsOf(c)) {
            ++seen;
            const auto it = model.find({c, r.id});
            ASSERT_NE(it, model.end()) << "cell " << c << " ID " << r.id;
            EXPECT_EQ(r.first, it->second.first) << "cell " << c << " ID " << r.id;
            EXPECT_EQ(r.last, it->second.last) << "cell " << c << " ID " << r.id;
            EXPECT_EQ(r.cutStart, it->second.cutStart) << "cell " << c << " ID " << r.id;
            EXPECT_EQ(r.cutEnd, it->second.cutEnd) << "cell " << c << " ID " << r.id;
        }
    }
    EXPECT_EQ(seen, model.size());
}

// Replays a cell's items in slot order: each column is the smallest free one at its turn,
// and the occupancy read back is exactly the replayed one.
template <class Occupant>
void expectSmallestFree(std::span<const SpanItem> items, int rows, int columns, Occupant occupant)
{
    std::vector<std::vector<int>> occ(rows + 1, std::vector<int>(columns + 1, 0));
    for (const SpanItem &r : items) {
        int smallest = 0;
        for (int c = 1; c <= columns && smallest == 0; ++c) {
            bool free = true;
            for (int row = r.first; row <= r.last; ++row)
                free = free && occ[row][c] == 0;
            if (free) smallest = c;
        }
        ASSERT_EQ(r.lane, smallest) << "ID " << r.id;
        for (int row = r.first; row <= r.last; ++row)
            occ[row][r.lane] = r.slot;
    }
    for (int row = 1; row <= rows; ++row)
        for (int c = 1; c <= columns; ++c)
            ASSERT_EQ(occupant(row, c), occ[row][c]) << row << "," << c;
}

} // namespace

TEST(SpanRandom, MonthWeeksMatchDayByDayModel)
{
    std::mt19937 rng(7);
    auto all = makeCollections();
    const SerialDateTime F = at(2024, 1, 29);
    for (int round = 0; round < 150; ++round) {
        const auto items = generate(rng, F, 42, 25);
        const CollectionWindow w = all->month.begin(F, 1, 6);
        SpanOrder::collect(all->month, w, items);
        Model model;
        for (const SpanSourceItem &i : items) {
            if (i.endTime == w.start && i.startTime < w.start) continue;
            if (!(i.startTime < w.end && i.endTime >= w.start)) continue;
            const auto [d0, d1] = coveredDays(i);
            for (int j = 1; j <= 6; ++j) {
                const qint64 ws = qint64(F) + 7 * (j - 1), we = ws + 6;
                if (d1 < ws || d0 > we) continue;
                model[{j, i.id}] = {int(std::max(d0, ws) - ws) + 1, int(std::min(d1, we) - ws) + 1,
                                    toMs(i.startTime) < ws * MsPerDay,
                                    toMs(i.endTime) > (we + 1) * MsPerDay};
            }
        }
        expectMatches(model, 6, [&](int j) { return all->month.items(j); });
        for (int j = 1; j <= 6; ++j)
            expectSmallestFree(all->month.items(j), 7, 32, [&](int d, int lane) {
                return all->month.laneOccupant(j, d, lane);
            });
        if (HasFailure()) return;
    }
}

TEST(SpanRandom, YearMonthsMatchDayByDayModel)
{
    std::mt19937 rng(11);
    auto all = makeCollections();
    for (int round = 0; round < 150; ++round) {
        const int y = 2023 + round % 2;
        const int m0 = 1 + round % 12;
        const SerialDateTime F = at(y, m0, 1);
        const auto items = generate(rng, F, 70, 25);
        const CollectionWindow w = all->year.begin(F, 1, 3);
        SpanOrder::collect(all->year, w, items);
        Model model;
        for (const SpanSourceItem &i : items) {
            if (i.endTime == w.start && i.startTime < w.start) continue;
            if (!(i.startTime < w.end && i.endTime >= w.start)) continue;
            const auto [d0, d1] = coveredDays(i);
            for (int j = 1; j <= 3; ++j) {
                const QDate first = QDate(y, m0, 1).addMonths(j - 1);
                const qint64 ms = qint64(DateTimeValue::fromQDate(first));
                const qint64 me = ms + first.daysInMonth() - 1;
                if (d1 < ms || d0 > me) continue;
                model[{j, i.id}] = {int(std::max(d0, ms) - ms) + 1, int(std::min(d1, me) - ms) + 1,
                                    toMs(i.startTime) < ms * MsPerDay,
                                    toMs(i.endTime) > (me + 1) * MsPerDay};
            }
        }
        expectMatches(model, 3, [&](int j) { return all->year.items(j); });
        for (int j = 1; j <= 3; ++j) {
            expectSmallestFree(all->year.items(j), all->year.monthLength(j), 16,
                               [&](int d, int c) { return all->year.occupant(j, d, c); });
            for (int d = 1; d <= all->year.monthLength(j); ++d)
                if (all->year.occupant(j, d, 1) != 0) {
                    ASSERT_GE(all->year.columnCount(j, d), 1);
                }
        }
        if (HasFailure()) return;
    }
}

TEST(SpanRandom, TimeGridRowsMatchIntervalModel)
{
    std::mt19937 rng(3);
    auto all = makeCollections();
    DaySpanCollection &day = all->day;
    const int scales[] = {5, 10, 15, 30, 60};
    for (int round = 0; round < 150; ++round) {
        auto request = weekRequest();
        const int g = scales[round % 5];
        request.rowMinutes = g;
        request.rows = 1440 / g;
        const auto items = generate(rng, request.firstDay, 7, 25);
        const CollectionWindow w = day.begin(request);
        SpanOrder::collect(day, w, items);
        Model model;
        for (const SpanSourceItem &i : items) {
            if (!(i.startTime < w.end && i.endTime >= w.start)) continue;
            const qint64 s = toMs(i.startTime) / 60000, e = toMs(i.endTime) / 60000;
            if (e - s >= 1440) continue;
            for (int k = 1; k <= 7; ++k) {
                const qint64 d0 = (qint64(request.firstDay) + k - 1) * 1440, d1 = d0 + 1440;
                if (s == e) {
                    if (s >= d0 && s < d1)
                        model[{k, i.id}] = {int(s - d0) / g + 1, int(s - d0) / g + 1, false, false};
                    continue;
                }
                const qint64 a = std::max(s, d0), b = std::min(e, d1); // [a, b) inside day k
                if (a >= b) continue;
                model[{k, i.id}] = {int(a - d0) / g + 1, int(b - d0 + g - 1) / g, s<d0, e> d1};
            }
        }
        expectMatches(model, 7, [&](int k) { return day.timeItems(k); });
        for (int k = 1; k <= 7; ++k)
            expectSmallestFree(day.timeItems(k), day.rows(), 16,
                               [&](int r, int c) { return day.timeOccupant(k, r, c); });
        if (HasFailure()) return;
    }
}
