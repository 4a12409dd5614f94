#include "store/YearSpanCollection.h"

#include "store/SpanTimes.h"

#include <QDate>

#include <algorithm>
#include <cmath>

using namespace SpanLimits;
using SpanTimes::dayMs;
using SpanTimes::split;

YearSpanCollection::YearSpanCollection() = default;

CollectionWindow YearSpanCollection::begin(SerialDateTime firstDay, int firstMonth, int lastMonth)
{
    const QDate d = DateTimeValue::toQDate(std::floor(firstDay));
    QDate month(d.year(), d.month(), 1);
    m_firstDay = qint64(DateTimeValue::fromQDate(month));
    m_offsets[0] = 0;
    for (int k = 1; k <= MaxMonths; ++k) {
        m_offsets[k] = m_offsets[k - 1] + month.daysInMonth();
        month = month.addMonths(1);
    }
    m_a = std::clamp(firstMonth, 1, MaxMonths);
    m_b = std::min(lastMonth, MaxMonths);
    for (int j = m_a; j <= m_b; ++j) {
        m_cells.clear(j);
        ColumnTable::clear({m_slots[j - 1].data(), m_counts[j - 1].data(), MaxMonthDays});
    }
    CollectionWindow w;
    w.start = double(m_firstDay + m_offsets[m_a - 1]);
    w.end = double(m_firstDay + m_offsets[std::max(m_b, m_a - 1)]);
    m_windowStartMs = DateTimeValue::toMs(w.start);
    return w;
}

void YearSpanCollection::add(const SpanSourceItem &item)
{
    const auto s = split(item.startTime);
    const auto e = split(item.endTime);
    if (e.ms == m_windowStartMs && s.ms < m_windowStartMs) return;
    const qint64 F = m_firstDay;
    const bool zeroLength = s.ms == e.ms;
    const qint64 lastDay = e.day - ((e.msOfDay == 0 && e.ms > s.ms) ? 1 : 0);
    // Month column holding day d: 0 before the first month, 13 after the twelfth.
    auto monthOf = [this, F](qint64 d) {
        const qint64 rd = d - F;
        return int(std::upper_bound(m_offsets.begin(), m_offsets.end(), rd) - m_offsets.begin());
    };
    const int fromMonth = std::max(m_a, monthOf(s.day));
    const int toMonth = std::min(m_b, monthOf(lastDay));

    for (int j = fromMonth; j <= toMonth; ++j) {
        SpanItem *next = m_cells.prepareNext(j, item);
        if (!next) continue;
        SpanItem &r = *next;
        const int slot = r.slot;
        const int off = m_offsets[j - 1];
        const int len = m_offsets[j] - off;
        if (!zeroLength) {
            if (s.ms < dayMs(F + off)) {
                r.first = 1;
                r.cutStart = true;
            } else {
                r.first = int(s.day - F + 1 - off);
            }
            if (e.ms <= dayMs(F + off + len)) {
                r.last = int(e.day - F + 1 - (e.msOfDay == 0 ? 1 : 0) - off);
            } else {
                r.last = len;
                r.cutEnd = true;
            }
            r.startFrac = r.endFrac = 0;
        } else {
            r.first = r.last = int(s.day - F + 1 - off);
            r.startFrac = r.endFrac = -1;
        }
        r.first = std::clamp(r.first, 1, len);
        r.last = std::clamp(r.last, r.first, len); // an end before the start: the start's day

        ColumnTableRef t = monthTable(j);
        const int c = ColumnTable::findFreeColumn(t, r.first, r.last);
        if (c == 0) continue;
        m_cells.commit(j);
        r.lane = c;
        ColumnTable::mark(t, r.first, r.last, c, slot);
        ColumnTable::widenColumnCount(t, r.first, r.last, c);
    }
}

void YearSpanCollection::place(const YearGridGeometry &g, int firstMonth, int lastMonth)
{
    firstMonth = std::max(firstMonth, 1);
    lastMonth = std::min(lastMonth, MaxMonths);
    for (int j = firstMonth; j <= lastMonth; ++j) {
        const ColumnTableRef t = monthTable(j);
        const GridBand &column = g.monthColumns[j - 1];
        const double w = column.size - 12;
        for (SpanItem &r : m_cells.items(j)) {
            // A count below the item's own column would draw it into the next month.
            const int c = std::max(t.count(r.first), r.lane);
            r.left = column.start + int(std::trunc(w / c * (r.lane - 1))) - 1;
            r.right = column.start + int(std::trunc(w / c * r.lane));
            r.top = g.dayRows[r.first - 1].start - 1;
            r.bottom = g.dayRows[r.last - 1].end();
        }
    }
}

int YearSpanCollection::monthOffset(int month) const
{
    return (month < 1 || month > MaxMonths + 1) ? 0 : m_offsets[month - 1];
}

int YearSpanCollection::monthLength(int month) const
{
    return (month < 1 || month > MaxMonths) ? 0 : m_offsets[month] - m_offsets[month - 1];
}

int YearSpanCollection::occupant(int month, int dayRow, int column) const
{
    if (month < 1 || month > MaxMonths) return 0;
    return const_cast<YearSpanCollection *>(this)->monthTable(month).cell(dayRow, column);
}

int YearSpanCollection::columnCount(int month, int dayRow) const
{
    if (month < 1 || month > MaxMonths) return 0;
    return const_cast<YearSpanCollection *>(this)->monthTable(month).count(dayRow);
}

ColumnTableRef YearSpanCollection::monthTable(int month)
{
    const int j = std::clamp(month, 1, MaxMonths);
    return {m_slots[j - 1].data(), m_counts[j - 1].data(), m_offsets[j] - m_offsets[j - 1]};
}
