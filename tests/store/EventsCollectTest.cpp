// The store's windowed collection walk against a plain walk over every row: findFirst/findNext
// through the store's filters from the first row, recurring rows expanded in table order, the
// items fed in event order.
#include "EventsTestSupport.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using namespace EventsTest;

namespace
{

// The plain walk. `add` gets every item in event order.
template <class Add>
void referenceWalk(Stores &s, const CollectionWindow &w, int firstDay, int endDay, Add add)
{
    EventsStore &ev = *s.events;
    s.time.setWindowStart(w.start);
    s.time.setWindowEnd(w.end);
    OccurrenceList occ;
    std::vector<SpanSourceItem> items;
    for (int id : ev.idsInCollectionWindow()) {
        const auto e = ev.event(id);
        if (!e) continue; // the clipboard row
        if (e->isRecurring()) {
            occ.addRule(ev.rule(id).value(),
                        {e->id(), e->layer(), e->alarmSet(), e->subject(), e->description()},
                        firstDay, endDay);
            continue;
        }
        items.push_back({e->id(), e->layer(), e->startTime(), e->endTime(), e->alarmSet(),
                         e->subject(), e->description(), false});
    }
    for (int i = 1; i <= occ.count(); ++i)
        items.push_back(occ.slot(i));
    SpanOrder::sort(items);
    for (const SpanSourceItem &i : items)
        add(i);
}

void expectSameItems(std::span<const SpanItem> fast, std::span<const SpanItem> ref,
                     const char *where, int cell)
{
    SCOPED_TRACE(QStringLiteral("%1 %2").arg(where).arg(cell).toStdString());
    ASSERT_EQ(fast.size(), ref.size());
    for (size_t k = 0; k < fast.size(); ++k) {
        const SpanItem &a = fast[k], &b = ref[k];
        EXPECT_EQ(a.id, b.id);
        EXPECT_EQ(a.isOccurrence, b.isOccurrence);
        EXPECT_EQ(a.startTime, b.startTime);
        EXPECT_EQ(a.endTime, b.endTime);
        EXPECT_EQ(a.first, b.first);
        EXPECT_EQ(a.last, b.last);
        EXPECT_EQ(a.lane, b.lane);
        EXPECT_EQ(a.cutStart, b.cutStart);
        EXPECT_EQ(a.cutEnd, b.cutEnd);
        EXPECT_EQ(a.startFrac, b.startFrac);
        EXPECT_EQ(a.endFrac, b.endFrac);
        EXPECT_EQ(a.subject, b.subject);
    }
}

class Generator
{
public:
    explicit Generator(quint32 seed) : m_rng(seed) {}
    int below(int n) { return int(m_rng.bounded(n)); }
    double minutes(int n) { return below(n) / 1440.0; }

    // One row somewhere in the days [base, base + range).
    EventRow row(int layer, int base, int range, int n)
    {
        const QString subject = QStringLiteral("%1e%2").arg(QChar('a' + below(3))).arg(n);
        const double day = base + below(range);
        const double start = day + minutes(96) * 15;
        switch (below(10)) {
        case 0: // zero length
            return oneTime(layer, start, start, subject);
        case 1: // all day, one or more days
            return oneTime(layer, day, day + 1 + below(3), subject);
        case 2: // multi-day with times
            return oneTime(layer, start, start + 1 + below(6) + minutes(1440), subject);
        case 3: // across midnight
            return oneTime(layer, day + 22.0 / 24, day + 1 + 2.0 / 24, subject);
        case 4: { // recurring
            const int kind = below(3);
            const double end = day + 5 + below(120) + minutes(1440);
            const int every = 1 + below(4);
            RecurrenceRule r = dailyRule(start, end, every, below(3));
            if (kind == 1) {
                r.pattern = RecurrenceRule::Pattern::Weekly;
                r.variant = RecurrenceRule::Variant::EveryNWeeks;
                r.interval = 1 + below(2);
                r.weekdays.insert(1 + below(7));
                r.weekdays.insert(1 + below(7));
            } else if (kind == 2) {
                r.pattern = RecurrenceRule::Pattern::Monthly;
                r.variant = RecurrenceRule::Variant::DayOfMonth;
                r.dayOfMonth = 1 + below(31);
                r.interval = 1;
            }
            if (below(3) == 0) r.exceptionDays = {int(day) + below(20)};
            return recurring(layer, r, subject);
        }
        case 5: // a rare long event
            if (below(4) == 0) return oneTime(layer, start, start + 40 + below(40), subject);
            [[fallthrough]];
        default: // a short event, sometimes at a shared start
            return oneTime(layer, below(4) == 0 ? day + 0.375 : start,
                           (below(4) == 0 ? day + 0.375 : start) + minutes(240) + 1 / 1440.0,
                           subject);
        }
    }

private:
    QRandomGenerator m_rng;
};

struct Span {
    int kind; // 0 day, 1 month, 2 year
    SerialDateTime first;
    int a, b, days;
    unsigned parts;
};

void compareOnce(Stores &s, const Span &sp)
{
    EventsStore &ev = *s.events;
    auto ref = SpanTest::makeCollections();
    const QString what = QStringLiteral("kind %1 first %2 a %3 b %4 days %5 parts %6")
                             .arg(sp.kind)
                             .arg(sp.first)
                             .arg(sp.a)
                             .arg(sp.b)
                             .arg(sp.days)
                             .arg(sp.parts);
    SCOPED_TRACE(what.toStdString());
    if (sp.kind == 0) {
        DaySpanCollection::Request r;
        r.firstDay = sp.first;
        r.spanEnd = sp.first + sp.days;
        r.firstGridDay = sp.a;
        r.lastGridDay = sp.b;
        r.parts = sp.parts;
        r.rowMinutes = 30;
        r.rows = 48;
        ev.collectDayView(r);
        const CollectionWindow w = ref->day.begin(r);
        referenceWalk(s, w, int(r.firstDay), int(r.spanEnd),
                      [&](const SpanSourceItem &i) { ref->day.add(i); });
        const DaySpanCollection &f = ev.collections().day, &g = ref->day;
        // Only the cells the call covers: the rest keep what an earlier call left.
        for (int d = sp.a; (sp.parts & DaySpanCollection::TimeGridPart) && d <= sp.b; ++d) {
            expectSameItems(f.timeItems(d), g.timeItems(d), "day", d);
            for (int row = 1; row <= 48; ++row)
                ASSERT_EQ(f.columnCount(d, row), g.columnCount(d, row));
        }
        if (sp.parts & DaySpanCollection::AllDayPart) {
            expectSameItems(f.stripItems(), g.stripItems(), "strip", 0);
            EXPECT_EQ(f.stripHeight(), g.stripHeight());
        }
    } else if (sp.kind == 1) {
        const SerialDateTime end = sp.first + 7 * 6;
        ev.collectMonthView(sp.first, end, sp.a, sp.b);
        const CollectionWindow w = ref->month.begin(sp.first, sp.a, sp.b);
        referenceWalk(s, w, int(sp.first), int(end),
                      [&](const SpanSourceItem &i) { ref->month.add(i); });
        for (int k = sp.a; k <= sp.b; ++k)
            expectSameItems(ev.collections().month.items(k), ref->month.items(k), "week", k);
    } else {
        const CollectionWindow w = ref->year.begin(sp.first, sp.a, sp.b);
        const int F = int(ref->year.firstDay());
        const int S = F + ref->year.monthOffset(13);
        ev.collectYearView(sp.first, S, sp.a, sp.b);
        referenceWalk(s, w, F, S, [&](const SpanSourceItem &i) { ref->year.add(i); });
        for (int k = sp.a; k <= sp.b; ++k) {
            expectSameItems(ev.collections().year.items(k), ref->year.items(k), "month", k);
            for (int d = 1; d <= 31; ++d)
                ASSERT_EQ(ev.collections().year.columnCount(k, d), ref->year.columnCount(k, d));
        }
    }
}

} // namespace

TEST(EventsCollect, WindowedWalkEqualsThePlainWalkOnGeneratedCalendars)
{
    const int base = int(at(2024, 1, 1));
    for (quint32 seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(seed);
        Stores s;
        Generator gen(seed);
        EventsStore &ev = *s.events;
        const int two = s.layers->insertLayer(1, "Two", true, 2, 1, 30).id;
        const int hidden = s.layers->insertLayer(2, "Hidden", false, 3, 1, 30).id;
        const int layerIds[] = {1, two, hidden};
        const int rows = 150 + gen.below(250);
        int last = -1;
        for (int n = 0; n < rows; ++n)
            last = insert(ev, gen.row(layerIds[gen.below(3)], base, 400, n));
        ASSERT_TRUE(ev.copyToClipboard(last));
        ASSERT_TRUE(ev.setFilterText(s.layers->shownLayersFilter()));

        auto randomSpans = [&] {
            for (int k = 0; k < 25; ++k) {
                Span sp{gen.below(3), double(base - 30 + gen.below(460)), 1, 1, 7, 3};
                if (sp.kind == 0) {
                    sp.days = 1 + gen.below(7);
                    sp.a = 1 + gen.below(sp.days);
                    sp.b = sp.a + gen.below(sp.days - sp.a + 1);
                    sp.parts = 1 + gen.below(3);
                } else if (sp.kind == 1) {
                    sp.a = 1 + gen.below(6);
                    sp.b = sp.a + gen.below(7 - sp.a);
                } else {
                    sp.a = 1 + gen.below(12);
                    sp.b = sp.a + gen.below(13 - sp.a);
                }
                compareOnce(s, sp);
                if (::testing::Test::HasFailure()) return;
            }
        };
        randomSpans();
        if (HasFailure()) return;

        // Changes after the load: delete rows (the longest among them), lengthen others, turn
        // a one-time row into a recurring one; then compare again, and again after a reload.
        for (int k = 0; k < 20; ++k) {
            const std::vector<int> ids = ev.eventIds();
            const int id = ids[std::size_t(gen.below(int(ids.size())))];
            if (k % 3 == 0) {
                ASSERT_TRUE(ev.deleteEvent(id).ok());
            } else {
                EventRow e = ev.event(id).value();
                e[EventField::EndTime] = e.endTime() + gen.below(30);
                // A new subject moves the row among equal times (and must reach the
                // occurrences of a recurring row).
                if (k % 3 == 1) e[EventField::Subject] = QStringLiteral("E%1").arg(k);
                ASSERT_TRUE(ev.updateEvent(e).ok());
            }
        }
        randomSpans();
        if (HasFailure()) return;
        s.reopen();
        ASSERT_TRUE(s.events->setFilterText(s.layers->shownLayersFilter()));
        randomSpans();
        if (HasFailure()) return;
    }
}

TEST(EventsCollect, WalkStartsNearTheWindowNotAtTheFirstRow)
{
    Stores s;
    EventsStore &ev = *s.events;
    const int base = int(at(2014, 1, 1));
    for (int d = 0; d < 3650; d += 5)
        insert(ev, oneTime(1, base + d + 0.375, base + d + 0.5, QStringLiteral("d%1").arg(d)));
    EXPECT_DOUBLE_EQ(ev.walkIndex().longestOneTimeDuration(), 0.125);
    const int longId = insert(ev, oneTime(1, base + 100, base + 130, "long"));
    EXPECT_DOUBLE_EQ(ev.walkIndex().longestOneTimeDuration(), 30);
    ASSERT_TRUE(ev.deleteEvent(longId).ok());
    EXPECT_DOUBLE_EQ(ev.walkIndex().longestOneTimeDuration(), 0.125);

    // The walk reads the rows by slot from the seek position on; it never asks the record
    // filter, so what it collects is all there is to check.
    auto r = SpanTest::weekRequest();
    r.firstDay = base + 3000;
    r.spanEnd = base + 3007;
    ev.collectDayView(r);
    EXPECT_EQ(ev.collections().day.timeItemCount(1), 1);
}

TEST(TableSeek, FirstRowAtOrAboveAValueOfTheLeadingField)
{
    Table t(EventsStore::schema());
    ASSERT_TRUE(t.setActiveIndex("INDEX"));
    for (double d : {5.0, 1.0, 3.0, 3.0, 7.0})
        ASSERT_TRUE(t.insertRow(oneTime(1, d, d, QString::number(d)).values()).ok());
    struct Case {
        const char *name;
        double value;
        bool found;
        int recNo;
    } cases[] = {{"below all", -1, true, 1},
                 {"equal to a run", 3, true, 2},
                 {"between", 3.5, true, 4},
                 {"equal to the last", 7, true, 5},
                 {"above all", 7.5, false, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(t.seekFirstAtLeast(int(EventField::StartTime), c.value), c.found);
        if (c.found)
            EXPECT_EQ(t.recNo(), c.recNo);
        else
            EXPECT_TRUE(t.eof());
    }
    EXPECT_FALSE(t.seekFirstAtLeast(int(EventField::EndTime), 0.0)); // not the leading field
}
