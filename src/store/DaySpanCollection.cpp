#include "store/DaySpanCollection.h"

#include "store/SpanTimes.h"

#include <algorithm>
#include <cmath>

using namespace SpanLimits;
using SpanTimes::dayMs;
using SpanTimes::split;

namespace
{

// Left/Right of a box in a column of side-by-side columns: the usable width is shared out by
// the column count. A count below the item's own column would draw the box into the next
// column, so the count is taken as at least the item's column.
void placeSideBySide(SpanItem &r, const GridBand &column, int spare, int count)
{
    const double w = column.size - spare;
    const int c = std::max(count, r.lane);
    r.left = column.start + int(std::trunc(w / c * (r.lane - 1))) - 1;
    r.right = column.start + int(std::trunc(w / c * r.lane));
}

} // namespace

DaySpanCollection::DaySpanCollection() = default;

CollectionWindow DaySpanCollection::begin(const Request &request)
{
    const auto f = split(request.firstDay);
    m_firstDay = f.day;
    m_days = int(std::clamp<qint64>(split(request.spanEnd).day - f.day, 1, MaxDays));
    m_a = std::clamp(request.firstGridDay, 1, m_days);
    m_b = std::min(request.lastGridDay, m_days);
    m_parts = request.parts & BothParts;
    m_forcedAllDay = request.forcedAllDayId;
    m_forcedTimeGrid = request.forcedTimeGridId;
    m_rowMinutes = std::clamp(request.rowMinutes, 1, 1440);
    const int rows = std::clamp(request.rows, 1, MaxTimeRows);
    if (rows != m_rows) {
        // Another row count: no day keeps rows laid out for the old one.
        m_rows = MaxTimeRows;
        for (int k = 1; k <= MaxDays; ++k) {
            m_timeCount[k - 1] = 0;
            ColumnTable::clear(timeTable(k));
        }
        m_rows = rows;
    }

    if (m_parts & TimeGridPart) {
        for (int k = m_a; k <= m_b; ++k) {
            m_timeCount[k - 1] = 0;
            ColumnTable::clear(timeTable(k));
        }
    }
    if (m_parts & AllDayPart) {
        m_stripCount = 0;
        for (auto &lanes : m_stripLanes)
            lanes.fill(0);
        m_stripHeight = 15;
    }

    CollectionWindow w;
    if (m_parts & AllDayPart) {
        w.start = double(m_firstDay);
        w.end = double(m_firstDay + m_days);
    } else {
        w.start = double(m_firstDay + m_a - 1);
        w.end = double(m_firstDay + m_b);
    }
    m_windowStartMs = DateTimeValue::toMs(w.start);
    return w;
}

void DaySpanCollection::add(const SpanSourceItem &item)
{
    const qint64 duration = DateTimeValue::toMs(item.endTime) - DateTimeValue::toMs(item.startTime);
    const bool forcedStrip = m_forcedAllDay != 0 && item.id == m_forcedAllDay;
    const bool forcedGrid = m_forcedTimeGrid != 0 && item.id == m_forcedTimeGrid;
    if ((m_parts & TimeGridPart) &&
        ((duration < DateTimeValue::MsPerDay && !forcedStrip) || forcedGrid))
        addToTimeGrid(item);
    if ((m_parts & AllDayPart) && ((DateTimeValue::toMs(item.endTime) > m_windowStartMs &&
                                    duration >= DateTimeValue::MsPerDay && !forcedGrid) ||
                                   forcedStrip))
        addToStrip(item);
}

void DaySpanCollection::addToTimeGrid(const SpanSourceItem &item)
{
    const auto s = split(item.startTime);
    const auto e = split(item.endTime);
    const qint64 F = m_firstDay;
    const int g = m_rowMinutes;

    qint64 lastCovered = e.day - F + 1;
    if (e.msOfDay == 0) lastCovered = e.day - F + (e.ms <= s.ms ? 1 : 0);
    const int fromDay = int(std::max<qint64>(m_a, s.day - F + 1));
    const int toDay = int(std::min<qint64>(m_b, lastCovered));
    const bool zeroLength = std::trunc(item.startTime * 10000) == std::trunc(item.endTime * 10000);
    const int startMinute = int(s.msOfDay / 60000);

    for (int k = fromDay; k <= toDay; ++k) {
        int &count = m_timeCount[k - 1];
        if (count >= MaxItemsPerCell) continue;
        const int slot = count + 1;
        SpanItem &r = m_timeItems[k - 1][slot - 1];
        fillSpanItem(r, item, slot);
        if (zeroLength) {
            r.first = r.last = startMinute / g + 1;
            r.startFrac = r.endFrac = -1;
        } else {
            if (s.ms < dayMs(F + k - 1)) {
                r.first = 1;
                r.cutStart = true;
                r.startFrac = 0;
            } else {
                r.first = startMinute / g + 1;
                r.startFrac = double(startMinute % g) / g;
            }
            const qint64 dayEnd = dayMs(F + k);
            if (e.ms <= dayEnd) {
                const int m = e.ms == dayEnd ? 1440 : int(e.msOfDay / 60000);
                r.last = (m + g - 1) / g;
                r.endFrac = double(m % g) / g;
            } else {
                r.last = m_rows;
                r.cutEnd = true;
                r.endFrac = 0;
            }
        }
        // Less than a minute, or an end before the start, still covers the start's row.
        r.first = std::clamp(r.first, 1, m_rows);
        r.last = std::clamp(r.last, r.first, m_rows);

        ColumnTableRef t = timeTable(k);
        const int c = ColumnTable::findFreeColumn(t, r.first, r.last);
        if (c == 0) continue; // no free column: the item stays out of this day
        count = slot;
        r.lane = c;
        ColumnTable::mark(t, r.first, r.last, c, slot);
        ColumnTable::widenColumnCount(t, r.first, r.last, c);
    }
}

void DaySpanCollection::addToStrip(const SpanSourceItem &item)
{
    if (m_stripCount >= MaxItemsPerCell) return;
    const auto s = split(item.startTime);
    const auto e = split(item.endTime);
    const qint64 F = m_firstDay;
    const int slot = m_stripCount + 1;
    SpanItem &r = m_stripItems[slot - 1];
    fillSpanItem(r, item, slot);
    qint64 first = 0;
    qint64 last = 0;
    if (s.ms != e.ms) {
        if (s.ms >= dayMs(F)) {
            first = s.day - F + 1;
            r.startFrac = double(s.msOfDay) / DateTimeValue::MsPerDay;
        } else {
            first = 1;
            r.cutStart = true;
            r.startFrac = 0;
        }
        if (e.ms > dayMs(F + m_days)) {
            last = m_days;
            r.cutEnd = true;
            r.endFrac = 0;
        } else {
            last = e.day + (e.msOfDay != 0 ? 1 : 0) - F;
            r.endFrac = double(e.msOfDay) / DateTimeValue::MsPerDay;
        }
    } else {
        first = last = s.day - F + 1;
        r.startFrac = r.endFrac = -1;
    }
    // An item that covers no shown day (only a forced or inverted one can) is left out.
    if (first > m_days || last < 1) return;
    first = std::max<qint64>(first, 1);
    last = std::clamp<qint64>(last, first, m_days);
    r.first = int(first);
    r.last = int(last);

    int lane = 0;
    for (int l = 1; l <= MaxLanes && lane == 0; ++l) {
        bool free = true;
        for (int d = r.first; d <= r.last && free; ++d)
            free = m_stripLanes[d - 1][l - 1] == 0;
        if (free) lane = l;
    }
    if (lane == 0) return;
    m_stripCount = slot;
    r.lane = lane;
    for (int d = r.first; d <= r.last; ++d)
        m_stripLanes[d - 1][lane - 1] = std::uint8_t(slot);
    r.top = 21 * lane - 22;
    r.bottom = 21 * lane;
    m_stripHeight = std::max(m_stripHeight, 21 * lane + 10);
}

void DaySpanCollection::placeTimeGrid(const TimeGridGeometry &g, int firstDay, int lastDay)
{
    firstDay = std::max(firstDay, 1);
    lastDay = std::min(lastDay, m_days);
    for (int k = firstDay; k <= lastDay; ++k) {
        const ColumnTableRef t = timeTable(k);
        for (int i = 0; i < m_timeCount[k - 1]; ++i) {
            SpanItem &r = m_timeItems[k - 1][i];
            placeSideBySide(r, g.dayColumns[k - 1], 10, t.count(r.first));
        }
    }
    placeTimeGridVertical(g, firstDay, lastDay);
}

void DaySpanCollection::placeTimeGridVertical(const TimeGridGeometry &g, int firstDay, int lastDay)
{
    firstDay = std::max(firstDay, 1);
    lastDay = std::min(lastDay, m_days);
    for (int k = firstDay; k <= lastDay; ++k) {
        for (int i = 0; i < m_timeCount[k - 1]; ++i) {
            SpanItem &r = m_timeItems[k - 1][i];
            r.top = g.headerHeight + (r.first - g.scrollRow - 1) * g.rowHeight - 1;
            r.bottom = g.headerHeight + (r.last - g.scrollRow) * g.rowHeight;
        }
    }
}

void DaySpanCollection::placeStrip(const StripGeometry &g)
{
    for (int i = 0; i < m_stripCount; ++i) {
        SpanItem &r = m_stripItems[i];
        r.left = g.dayColumns[r.first - 1].start - 1;
        r.right = g.dayColumns[r.last - 1].end();
    }
}

int DaySpanCollection::timeItemCount(int day) const
{
    return (day < 1 || day > m_days) ? 0 : m_timeCount[day - 1];
}

std::span<const SpanItem> DaySpanCollection::timeItems(int day) const
{
    if (day < 1 || day > m_days) return {};
    return {m_timeItems[day - 1].data(), std::size_t(m_timeCount[day - 1])};
}

const SpanItem *DaySpanCollection::timeItem(int day, int slot) const
{
    if (slot < 1 || slot > timeItemCount(day)) return nullptr;
    return &m_timeItems[day - 1][slot - 1];
}

int DaySpanCollection::timeOccupant(int day, int row, int column) const
{
    if (day < 1 || day > m_days) return 0;
    return const_cast<DaySpanCollection *>(this)->timeTable(day).cell(row, column);
}

int DaySpanCollection::columnCount(int day, int row) const
{
    if (day < 1 || day > m_days) return 0;
    return const_cast<DaySpanCollection *>(this)->timeTable(day).count(row);
}

ColumnTableRef DaySpanCollection::timeTable(int day)
{
    const int k = std::clamp(day, 1, MaxDays) - 1;
    return {m_timeSlots[k].data(), m_timeCounts[k].data(), m_rows};
}

std::span<const SpanItem> DaySpanCollection::stripItems() const
{
    return {m_stripItems.data(), std::size_t(m_stripCount)};
}

const SpanItem *DaySpanCollection::stripItem(int slot) const
{
    if (slot < 1 || slot > m_stripCount) return nullptr;
    return &m_stripItems[slot - 1];
}

int DaySpanCollection::laneOccupant(int day, int lane) const
{
    if (day < 1 || day > m_days || lane < 1 || lane > MaxLanes) return 0;
    return m_stripLanes[day - 1][lane - 1];
}
