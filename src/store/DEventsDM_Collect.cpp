// The events store's collection walk: the rows of the shown layers inside a window, in event
// order, with the occurrences of recurring rows merged in.
#include "store/DEventsDM.h"

#include "core/DTimeDM.h"
#include "core/TextCompare.h"

#include <algorithm>

int TDEvents::ExpandOccurrences()
{
    return ExpandOccurrences(DateTimeValue::dayOf(m_time.FirstDate()),
                             DateTimeValue::dayOf(m_time.EndDate()));
}

int TDEvents::ExpandOccurrences(int firstDay, int endDay)
{
    return m_occurrences.addRule(rule(), {ID(), Layer(), AlarmSet(), Subject(), Description()},
                                 firstDay, endDay);
}

namespace
{

struct RuleKey {
    TDateTime start;
    TDateTime end;
    QString subject;
    int id;
};

// The events index: StartTime ascending, EndTime descending, Subject, ID.
bool indexBefore(const RuleKey &x, const RuleKey &y)
{
    if (x.start != y.start) return x.start < y.start;
    if (x.end != y.end) return x.end > y.end;
    if (const int c = compareText(x.subject, y.subject); c != 0) return c < 0;
    return x.id < y.id;
}

// Whether the occurrence goes before the row: the row wins every tie.
bool occurrenceFirst(const TOccurrence_Rec &o, TDateTime start, TDateTime end,
                     const QString &subject)
{
    if (o.StartTime != start) return o.StartTime < start;
    if (o.EndTime != end) return o.EndTime > end;
    return compareText(o.Subject, subject) < 0;
}

SpanSourceItem fromOccurrence(const TOccurrence_Rec &o)
{
    return {o.ID, o.Layer, o.StartTime, o.EndTime, o.AlarmSet, o.Subject, o.Description, true};
}

// A one-time row may start this long before the longest duration says, for rounding.
constexpr double SeekSlack = 1.0 / 86400.0;

} // namespace

// The walk: the occurrences of every recurring row that passes the filters, expanded in index
// order (so the 500-slot cap drops the same ones as a walk over the table would), then the
// one-time rows that pass the filters from the first row that can reach the window up to the
// first row that starts at or after its end, with the occurrences merged in. Every occurrence
// is merged in event order, also one that ends after its rule's EndTime.
template <class AddItem>
void TDEvents::walkWindow(const CollectionWindow &window, int firstDay, int endDay, AddItem &&add)
{
    m_time.setGridDate(window.start);
    m_time.setGridCell(window.end);
    m_occurrences.clear();
    const Table::Bookmark here = CDS.bookmark();

    std::vector<RuleKey> rules;
    for (int id : m_index.recurringIds()) {
        if (!CDS.locate(F_ID, id) || !CDS.acceptsCurrent()) continue;
        rules.push_back({StartTime(), EndTime(), Subject(), id});
    }
    std::sort(rules.begin(), rules.end(), indexBefore);
    for (const RuleKey &r : rules)
        if (CDS.locate(F_ID, r.id)) ExpandOccurrences(firstDay, endDay);

    // A one-time row reaches the window only when it starts at most the longest duration
    // before the window start; rows are in StartTime order, so the walk starts there and
    // ends at the first row that starts at or after the window end.
    const double from = window.start - m_index.longestOneTimeDuration() - SeekSlack;
    bool haveRow = CDS.seekFirstAtLeast(F_StartTime, from);
    auto advance = [&] {
        CDS.next();
        if (CDS.eof()) haveRow = false;
    };
    int pos = 1;
    const int occurrenceCount = m_occurrences.count();
    while (true) {
        if (haveRow) {
            const TDateTime start = StartTime();
            if (!(start < window.end)) {
                haveRow = false;
            } else if (start < ClipboardBelow || Recurrent() || !CDS.acceptsCurrent()) {
                advance();
                continue;
            }
        }
        if (pos <= occurrenceCount) {
            const TOccurrence_Rec &o = m_occurrences.inOrder(pos);
            if (!haveRow || occurrenceFirst(o, StartTime(), EndTime(), Subject())) {
                add(fromOccurrence(o));
                ++pos;
                continue;
            }
        }
        if (!haveRow) break;
        add(SpanSourceItem{ID(), Layer(), StartTime(), EndTime(), AlarmSet(), Subject(),
                           Description(), false});
        advance();
    }
    if (!CDS.gotoBookmark(here)) CDS.first();
}

void TDEvents::CollectDayView(const DaySpanCollection::Request &request)
{
    const CollectionWindow w = m_spans->day.begin(request);
    walkWindow(w, DateTimeValue::dayOf(request.firstDay), DateTimeValue::dayOf(request.spanEnd),
               [this](const SpanSourceItem &i) { m_spans->day.add(i); });
}

void TDEvents::CollectMonthView(TDateTime firstDay, TDateTime spanEnd, int firstWeek, int lastWeek)
{
    const CollectionWindow w = m_spans->month.begin(firstDay, firstWeek, lastWeek);
    walkWindow(w, DateTimeValue::dayOf(firstDay), DateTimeValue::dayOf(spanEnd),
               [this](const SpanSourceItem &i) { m_spans->month.add(i); });
}

void TDEvents::CollectYearView(TDateTime firstDay, TDateTime spanEnd, int firstMonth, int lastMonth)
{
    const CollectionWindow w = m_spans->year.begin(firstDay, firstMonth, lastMonth);
    walkWindow(w, DateTimeValue::dayOf(m_spans->year.firstDay()), DateTimeValue::dayOf(spanEnd),
               [this](const SpanSourceItem &i) { m_spans->year.add(i); });
}

void TDEvents::CollectItems(const CollectionWindow &window, int firstDay, int endDay,
                            const std::function<void(const SpanSourceItem &)> &add)
{
    walkWindow(window, firstDay, endDay, add);
}
