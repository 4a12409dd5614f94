#include "store/DaySpanCollection.h"

#include "store/SpanTimes.h"

#include <algorithm>
#include <cmath>

using namespace SpanLimits;
using SpanTimes::dayMs;
using SpanTimes::split;

namespace
{

void fillCommon(TSpanItem_Rec &r, const SpanSourceItem &item, int slot)
{
    r.ID = item.ID;
    r.Slot = slot;
    r.Layer = item.Layer;
    r.StartTime = item.StartTime;
    r.EndTime = item.EndTime;
    r.CutStart = false;
    r.CutEnd = false;
    r.AlarmSet = item.AlarmSet;
    r.Subject = item.Subject;
    r.Description = item.Description;
    r.Lane = 0;
    r.Left = r.Top = r.Right = r.Bottom = 0;
    r.IsOccurrence = item.IsOccurrence;
}

// Left/Right of a box in a column of side-by-side columns: the usable width is shared out by
// the column count. A count below the item's own column would draw the box into the next
// column, so the count is taken as at least the item's column.
void placeSideBySide(TSpanItem_Rec &r, const GridBand &column, int spare, int count)
{
    const double w = column.size - spare;
    const int c = std::max(count, r.Lane);
    r.Left = column.start + int(std::trunc(w / c * (r.Lane - 1))) - 1;
    r.Right = column.start + int(std::trunc(w / c * r.Lane));
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
    const qint64 duration = DateTimeValue::toMs(item.EndTime) - DateTimeValue::toMs(item.StartTime);
    const bool forcedStrip = m_forcedAllDay != 0 && item.ID == m_forcedAllDay;
    const bool forcedGrid = m_forcedTimeGrid != 0 && item.ID == m_forcedTimeGrid;
    if ((m_parts & TimeGridPart) &&
        ((duration < DateTimeValue::MsPerDay && !forcedStrip) || forcedGrid))
        addToTimeGrid(item);
    if ((m_parts & AllDayPart) && ((DateTimeValue::toMs(item.EndTime) > m_windowStartMs &&
                                    duration >= DateTimeValue::MsPerDay && !forcedGrid) ||
                                   forcedStrip))
        addToStrip(item);
}

void DaySpanCollection::addToTimeGrid(const SpanSourceItem &item)
{
    const auto s = split(item.StartTime);
    const auto e = split(item.EndTime);
    const qint64 F = m_firstDay;
    const int g = m_rowMinutes;

    qint64 lastCovered = e.day - F + 1;
    if (e.msOfDay == 0) lastCovered = e.day - F + (e.ms <= s.ms ? 1 : 0);
    const int fromDay = int(std::max<qint64>(m_a, s.day - F + 1));
    const int toDay = int(std::min<qint64>(m_b, lastCovered));
    const bool zeroLength = std::trunc(item.StartTime * 10000) == std::trunc(item.EndTime * 10000);
    const int startMinute = int(s.msOfDay / 60000);

    for (int k = fromDay; k <= toDay; ++k) {
        int &count = m_timeCount[k - 1];
        if (count >= MaxItemsPerCell) continue;
        const int slot = count + 1;
        TSpanItem_Rec &r = m_timeItems[k - 1][slot - 1];
        fillCommon(r, item, slot);
        if (zeroLength) {
            r.First = r.Last = startMinute / g + 1;
            r.StartFrac = r.EndFrac = -1;
        } else {
            if (s.ms < dayMs(F + k - 1)) {
                r.First = 1;
                r.CutStart = true;
                r.StartFrac = 0;
            } else {
                r.First = startMinute / g + 1;
                r.StartFrac = double(startMinute % g) / g;
            }
            const qint64 dayEnd = dayMs(F + k);
            if (e.ms <= dayEnd) {
                const int m = e.ms == dayEnd ? 1440 : int(e.msOfDay / 60000);
                r.Last = (m + g - 1) / g;
                r.EndFrac = double(m % g) / g;
            } else {
                r.Last = m_rows;
                r.CutEnd = true;
                r.EndFrac = 0;
            }
        }
        // Less than a minute, or an end before the start, still covers the start's row.
        r.First = std::clamp(r.First, 1, m_rows);
        r.Last = std::clamp(r.Last, r.First, m_rows);

        ColumnTableRef t = timeTable(k);
        const int c = ColumnTable::findFreeColumn(t, r.First, r.Last);
        if (c == 0) continue; // no free column: the item stays out of this day
        count = slot;
        r.Lane = c;
        ColumnTable::mark(t, r.First, r.Last, c, slot);
        ColumnTable::widenColumnCount(t, r.First, r.Last, c);
    }
}

void DaySpanCollection::addToStrip(const SpanSourceItem &item)
{
    if (m_stripCount >= MaxItemsPerCell) return;
    const auto s = split(item.StartTime);
    const auto e = split(item.EndTime);
    const qint64 F = m_firstDay;
    const int slot = m_stripCount + 1;
    TSpanItem_Rec &r = m_stripItems[slot - 1];
    fillCommon(r, item, slot);
    qint64 first = 0;
    qint64 last = 0;
    if (s.ms != e.ms) {
        if (s.ms >= dayMs(F)) {
            first = s.day - F + 1;
            r.StartFrac = double(s.msOfDay) / DateTimeValue::MsPerDay;
        } else {
            first = 1;
            r.CutStart = true;
            r.StartFrac = 0;
        }
        if (e.ms > dayMs(F + m_days)) {
            last = m_days;
            r.CutEnd = true;
            r.EndFrac = 0;
        } else {
            last = e.day + (e.msOfDay != 0 ? 1 : 0) - F;
            r.EndFrac = double(e.msOfDay) / DateTimeValue::MsPerDay;
        }
    } else {
        first = last = s.day - F + 1;
        r.StartFrac = r.EndFrac = -1;
    }
    // An item that covers no shown day (only a forced or inverted one can) is left out.
    if (first > m_days || last < 1) return;
    first = std::max<qint64>(first, 1);
    last = std::clamp<qint64>(last, first, m_days);
    r.First = int(first);
    r.Last = int(last);

    int lane = 0;
    for (int l = 1; l <= MaxLanes && lane == 0; ++l) {
        bool free = true;
        for (int d = r.First; d <= r.Last && free; ++d)
            free = m_stripLanes[d - 1][l - 1] == 0;
        if (free) lane = l;
    }
    if (lane == 0) return;
    m_stripCount = slot;
    r.Lane = lane;
    for (int d = r.First; d <= r.Last; ++d)
        m_stripLanes[d - 1][lane - 1] = std::uint8_t(slot);
    r.Top = 21 * lane - 22;
    r.Bottom = 21 * lane;
    m_stripHeight = std::max(m_stripHeight, 21 * lane + 10);
}

void DaySpanCollection::placeTimeGrid(const TimeGridGeometry &g, int firstDay, int lastDay)
{
    firstDay = std::max(firstDay, 1);
    lastDay = std::min(lastDay, m_days);
    for (int k = firstDay; k <= lastDay; ++k) {
        const ColumnTableRef t = timeTable(k);
        for (int i = 0; i < m_timeCount[k - 1]; ++i) {
            TSpanItem_Rec &r = m_timeItems[k - 1][i];
            placeSideBySide(r, g.dayColumns[k - 1], 10, t.count(r.First));
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
            TSpanItem_Rec &r = m_timeItems[k - 1][i];
            r.Top = g.headerHeight + (r.First - g.scrollRow - 1) * g.rowHeight - 1;
            r.Bottom = g.headerHeight + (r.Last - g.scrollRow) * g.rowHeight;
        }
    }
}

void DaySpanCollection::placeStrip(const StripGeometry &g)
{
    for (int i = 0; i < m_stripCount; ++i) {
        TSpanItem_Rec &r = m_stripItems[i];
        r.Left = g.dayColumns[r.First - 1].start - 1;
        r.Right = g.dayColumns[r.Last - 1].end();
    }
}

int DaySpanCollection::timeItemCount(int day) const
{
    return (day < 1 || day > m_days) ? 0 : m_timeCount[day - 1];
}

std::span<const TSpanItem_Rec> DaySpanCollection::timeItems(int day) const
{
    if (day < 1 || day > m_days) return {};
    return {m_timeItems[day - 1].data(), std::size_t(m_timeCount[day - 1])};
}

const TSpanItem_Rec *DaySpanCollection::timeItem(int day, int slot) const
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

std::span<const TSpanItem_Rec> DaySpanCollection::stripItems() const
{
    return {m_stripItems.data(), std::size_t(m_stripCount)};
}

const TSpanItem_Rec *DaySpanCollection::stripItem(int slot) const
{
    if (slot < 1 || slot > m_stripCount) return nullptr;
    return &m_stripItems[slot - 1];
}

int DaySpanCollection::laneOccupant(int day, int lane) const
{
    if (day < 1 || day > m_days || lane < 1 || lane > MaxLanes) return 0;
    return m_stripLanes[day - 1][lane - 1];
}
