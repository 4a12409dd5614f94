#include "store/MonthSpanCollection.h"

#include "core/CalendarMath.h"
#include "store/SpanTimes.h"

#include <algorithm>

using namespace SpanLimits;
using CalendarMath::floorDiv;
using CalendarMath::floorMod;
using SpanTimes::dayMs;
using SpanTimes::split;

MonthSpanCollection::MonthSpanCollection() = default;

CollectionWindow MonthSpanCollection::begin(SerialDateTime firstDay, int firstWeek, int lastWeek)
{
    m_firstDay = split(firstDay).day;
    m_a = std::clamp(firstWeek, 1, MaxWeeks);
    m_b = std::min(lastWeek, MaxWeeks);
    for (int j = m_a; j <= m_b; ++j) {
        m_cells.clear(j);
        for (auto &lanes : m_lanes[j - 1])
            lanes.fill(0);
    }
    CollectionWindow w;
    w.start = double(m_firstDay + 7 * (m_a - 1));
    w.end = double(m_firstDay + 7 * m_b);
    m_windowStartMs = DateTimeValue::toMs(w.start);
    return w;
}

void MonthSpanCollection::add(const SpanSourceItem &item)
{
    const auto s = split(item.startTime);
    const auto e = split(item.endTime);
    if (e.ms == m_windowStartMs && s.ms < m_windowStartMs) return;
    const qint64 F = m_firstDay;
    const bool zeroLength = s.ms == e.ms;
    // The item's last day: an end at midnight after the start closes the day before.
    const qint64 v = e.day - F - ((e.msOfDay == 0 && e.ms > s.ms) ? 1 : 0);
    const int fromWeek = int(std::max<qint64>(m_a, floorDiv(s.day - F, 7) + 1));
    const int toWeek = int(std::min<qint64>(m_b, floorDiv(v, 7) + 1));

    for (int j = fromWeek; j <= toWeek; ++j) {
        SpanItem *next = m_cells.prepareNext(j, item);
        if (!next) continue;
        SpanItem &r = *next;
        const int slot = r.slot;
        if (!zeroLength) {
            const qint64 weekStart = F + 7 * (j - 1);
            if (s.ms < dayMs(weekStart)) {
                r.first = 1;
                r.cutStart = true;
            } else {
                r.first = int(floorMod(s.day - F, 7)) + 1;
            }
            if (e.ms <= dayMs(weekStart + 7)) {
                r.last = int(floorMod(e.day - F - (e.msOfDay == 0 ? 1 : 0), 7)) + 1;
            } else {
                r.last = 7;
                r.cutEnd = true;
            }
            r.startFrac = r.endFrac = 0;
        } else {
            r.first = r.last = int(floorMod(s.day - F, 7)) + 1;
            r.startFrac = r.endFrac = -1;
        }
        r.last = std::max(r.last, r.first); // an end before the start covers the start's day

        int lane = 0;
        for (int l = 1; l <= MaxLanes && lane == 0; ++l) {
            bool free = true;
            for (int d = r.first; d <= r.last && free; ++d)
                free = m_lanes[j - 1][d - 1][l - 1] == 0;
            if (free) lane = l;
        }
        if (lane == 0) continue;
        m_cells.commit(j);
        r.lane = lane;
        for (int d = r.first; d <= r.last; ++d)
            m_lanes[j - 1][d - 1][lane - 1] = std::uint8_t(slot);
    }
}

void MonthSpanCollection::place(const MonthGridGeometry &g, int firstWeek, int lastWeek)
{
    firstWeek = std::max(firstWeek, 1);
    lastWeek = std::min(lastWeek, MaxWeeks);
    for (int j = firstWeek; j <= lastWeek; ++j) {
        const int top = g.weekTops[j - 1];
        for (SpanItem &r : m_cells.items(j)) {
            r.left = g.dayColumns[r.first - 1].start - 1;
            r.right = g.dayColumns[r.last - 1].end();
            r.top = top + 16 * r.lane - 1;
            r.bottom = top + 16 * r.lane + 16;
        }
    }
}

int MonthSpanCollection::laneOccupant(int week, int dayColumn, int lane) const
{
    if (week < 1 || week > MaxWeeks || dayColumn < 1 || dayColumn > 7 || lane < 1 ||
        lane > MaxLanes)
        return 0;
    return m_lanes[week - 1][dayColumn - 1][lane - 1];
}
