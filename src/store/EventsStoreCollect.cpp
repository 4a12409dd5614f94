// The events store's collection walk: the rows of the shown layers inside a window, in event
// order, with the occurrences of recurring rows merged in.
#include "store/EventsStore.h"

#include "core/ViewDates.h"
#include "core/TextCompare.h"

#include <algorithm>

int EventsStore::expandOccurrences()
{
    return expandOccurrences(DateTimeValue::dayOf(m_time.spanStart()),
                             DateTimeValue::dayOf(m_time.spanEnd()));
}

int EventsStore::expandOccurrences(int firstDay, int endDay)
{
    return m_occurrences.addRule(rule(), {currentId(), currentLayer(), currentAlarmSet(), currentSubject(), currentDescription()},
                                 firstDay, endDay);
}

namespace
{

// Whether the occurrence goes before the row: the row wins every tie.
bool occurrenceFirst(const SpanSourceItem &o, SerialDateTime start, SerialDateTime end,
                     const QString &subject)
{
    if (o.startTime != start) return o.startTime < start;
    if (o.endTime != end) return o.endTime > end;
    return compareText(o.subject, subject) < 0;
}

// A one-time row may start this long before the longest duration says, for rounding.
constexpr double SeekSlack = 1.0 / 86400.0;

} // namespace

// The walk: the occurrences of every recurring row that passes the filters, expanded in index
// order (so the 500-slot cap drops the same ones as a walk over the table would), then the
// one-time rows that pass the filters from the first row that can reach the window up to the
// first row that starts at or after its end, with the occurrences merged in. Every occurrence
// is merged in event order, also one that ends after its rule's endTime.
//
// The recurring rows come from the walk index (no look-up in the table); the one-time rows
// are read by slot straight from the columns, texts only for the rows that are fed. The
// filters are the table's: the filter text by slot, the record filter's test (reachesWindow)
// on the values. `add` must not change the table.
template <class AddItem>
void EventsStore::walkWindow(const CollectionWindow &window, int firstDay, int endDay, AddItem &&add)
{
    const Table::Bookmark here = CDS.bookmark();
    if (CDS.state() != Table::State::Browse) CDS.post(); // its hooks may walk too
    m_time.setWindowStart(window.start);
    m_time.setWindowEnd(window.end);
    m_occurrences.clear();

    for (const EventWalkIndex::RecurringRow &r : m_index.recurringRows()) {
        if (!m_bypass && !reachesWindow(r.rule.startTime, r.rule.endTime, r.rule.extraDays))
            continue;
        if (!CDS.filterTextAccepts(r.slot)) continue;
        m_occurrences.addRule(r.rule, r.source, firstDay, endDay);
    }

    const TableColumn &ids = CDS.column(F_ID);
    const TableColumn &layers = CDS.column(F_Layer);
    const TableColumn &starts = CDS.column(F_StartTime);
    const TableColumn &ends = CDS.column(F_EndTime);
    const TableColumn &alarms = CDS.column(F_AlarmSet);
    const TableColumn &subjects = CDS.column(F_Subject);
    const TableColumn &descriptions = CDS.column(F_Description);
    const TableColumn &recurrent = CDS.column(F_Recurrent);
    const bool allLayers = CDS.filterTextAcceptsAll();

    // A one-time row reaches the window only when it starts at most the longest duration
    // before the window start; rows are in startTime order, so the walk starts there and
    // ends at the first row that starts at or after the window end.
    const double from = window.start - m_index.longestOneTimeDuration() - SeekSlack;
    int n = CDS.seekFirstAtLeast(F_StartTime, from) ? CDS.recNo() : CDS.recordCount() + 1;
    const int rows = CDS.recordCount();
    // The next row to feed: its slot, or -1 when no row is left.
    auto nextRow = [&]() -> int {
        for (; n <= rows; ++n) {
            const int slot = CDS.slotAt(n);
            const SerialDateTime start = starts.reals[slot];
            if (!(start < window.end)) {
                n = rows + 1;
                return -1;
            }
            if (start < ClipboardBelow || recurrent.ints[slot] != 0) continue;
            if (!allLayers && !CDS.filterTextAccepts(slot)) continue;
            if (!m_bypass && !reachesWindow(start, ends.reals[slot], 0)) continue;
            return slot;
        }
        return -1;
    };
    int slot = nextRow();
    int pos = 1;
    const int occurrenceCount = m_occurrences.count();
    while (true) {
        if (pos <= occurrenceCount) {
            const SpanSourceItem &o = m_occurrences.inOrder(pos);
            if (slot < 0 ||
                occurrenceFirst(o, starts.reals[slot], ends.reals[slot], subjects.texts[slot])) {
                add(o);
                ++pos;
                continue;
            }
        }
        if (slot < 0) break;
        add(SpanSourceItem{ids.ints[slot], layers.ints[slot], starts.reals[slot], ends.reals[slot],
                           alarms.ints[slot] != 0, subjects.texts[slot], descriptions.texts[slot],
                           false});
        ++n;
        slot = nextRow();
    }
    if (!CDS.gotoBookmark(here)) CDS.first();
}

void EventsStore::collectDayView(const DaySpanCollection::Request &request)
{
    const CollectionWindow w = m_spans->day.begin(request);
    walkWindow(w, DateTimeValue::dayOf(request.firstDay), DateTimeValue::dayOf(request.spanEnd),
               [this](const SpanSourceItem &i) { m_spans->day.add(i); });
}

void EventsStore::collectMonthView(SerialDateTime firstDay, SerialDateTime spanEnd, int firstWeek, int lastWeek)
{
    const CollectionWindow w = m_spans->month.begin(firstDay, firstWeek, lastWeek);
    walkWindow(w, DateTimeValue::dayOf(firstDay), DateTimeValue::dayOf(spanEnd),
               [this](const SpanSourceItem &i) { m_spans->month.add(i); });
}

void EventsStore::collectYearView(SerialDateTime firstDay, SerialDateTime spanEnd, int firstMonth, int lastMonth)
{
    const CollectionWindow w = m_spans->year.begin(firstDay, firstMonth, lastMonth);
    walkWindow(w, DateTimeValue::dayOf(m_spans->year.firstDay()), DateTimeValue::dayOf(spanEnd),
               [this](const SpanSourceItem &i) { m_spans->year.add(i); });
}

void EventsStore::collectItems(const CollectionWindow &window, int firstDay, int endDay,
                            const std::function<void(const SpanSourceItem &)> &add)
{
    walkWindow(window, firstDay, endDay, add);
}
