#include "SampleCalendar.h"

#include "core/CalendarMath.h"
#include "core/Clock.h"
#include "core/DateTimeValue.h"
#include "core/ViewDates.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/RecurrenceColumns.h"
#include "store/TasksStore.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <memory>
#include <random>

namespace SampleCalendar
{

namespace
{

using DateTimeValue::encodeTime;
using Recurrence::DayKind;
using Recurrence::EndRule;
using Recurrence::Ordinal;
using Recurrence::Pattern;
using Recurrence::Variant;

// Ends a rule "never": the chosen end plus this many days, as the recurrence editor stores it.
constexpr int NeverEndsDays = 100000;

// Palette colour indexes (1..24) that read well as layer colours, darker ones first.
constexpr std::array<int, 12> LayerColors = {15, 22, 19, 24, 21, 23, 14, 11, 16, 20, 13, 12};

const QStringList LayerNames = {"Work",     "Personal", "Family",   "Fitness",
                                "Travel",   "Projects", "Clients",  "Finance",
                                "Learning", "Health",   "Holidays", "Volunteering"};

const QStringList MeetingSubjects = {"Design review",
                                     "Budget planning",
                                     "Customer call",
                                     "Sprint planning",
                                     "Architecture sync",
                                     "Interview",
                                     "Retrospective",
                                     "Product demo",
                                     "Lunch with Sam",
                                     "Dentist",
                                     "Quarterly review",
                                     "Code review",
                                     "Marketing sync",
                                     "Vendor meeting",
                                     "Workshop",
                                     "Hiring committee",
                                     "Board preparation",
                                     "Support escalation",
                                     "Coffee with Lee",
                                     "Training",
                                     "Release planning",
                                     "Security briefing",
                                     "Team lunch",
                                     "Parent evening",
                                     "Doctor appointment",
                                     "Car service",
                                     "Yoga class",
                                     "Piano lesson",
                                     "Tax adviser",
                                     "Bank appointment",
                                     "Project kickoff",
                                     "Onboarding session",
                                     "Customer workshop",
                                     "Data migration",
                                     "Strategy offsite",
                                     "Town hall",
                                     "Performance reviews",
                                     "Stakeholder update",
                                     "Partner call",
                                     "Roadmap session"};

const QStringList LongSubjects = {
    "Conference",      "Holiday",      "Trade fair",    "Team offsite", "School break",
    "Training course", "Family visit", "Business trip", "Festival",     "Public holiday"};

// Every events-table field null, then the fields of a one-time event.
EventRow eventRow(int layer, SerialDateTime start, SerialDateTime end, const QString &subject)
{
    EventRow v;
    v[EventField::Layer] = layer;
    v[EventField::StartTime] = start;
    v[EventField::EndTime] = end;
    v[EventField::AllDay] = false;
    v[EventField::AlarmSet] = false;
    v[EventField::AlarmAdvance] = 15;
    v[EventField::AlarmAdvanceUnit] = 1;
    v[EventField::Subject] = subject;
    v[EventField::Recurring] = false;
    return v;
}

void setAlarm(EventRow &v, int minutesBefore)
{
    v[EventField::AlarmSet] = true;
    v[EventField::AlarmAdvance] = minutesBefore;
    v[EventField::AlarmAdvanceUnit] = 1;
}

EventRow ruleRow(const SampleRule &s)
{
    const RecurrenceRule &r = s.rule;
    EventRow v = eventRow(s.layer, r.startTime, r.endTime, s.subject);
    v[EventField::Recurring] = true;
    RecurrenceColumns::writeRule(r, v);
    return v;
}

// The weekday set with only the day of `day`.
WeekdaySet weekdayOf(int day)
{
    return WeekdaySet{DateTimeValue::dayOfWeek(day)};
}

// Fixes endTime from how the rule ends: on `endDay` (moved to the first occurrence when
// before it), after `count` occurrences, or never; the end's time of day is kept.
void setRuleEnd(SampleRule &s, EndRule how, int endDay, int count)
{
    RecurrenceRule &r = s.rule;
    const double endTime = r.endTime - std::floor(r.endTime);
    const int startDay = DateTimeValue::dayOf(r.startTime);
    r.endRule = how;
    int day = startDay + NeverEndsDays;
    if (how == EndRule::OnDate) {
        const std::optional<int> first = nthOccurrenceDay(r, 1);
        day = std::max(endDay, first.value_or(endDay));
    } else if (how == EndRule::AfterCount) {
        r.occurrenceCount = count;
        day = nthOccurrenceDay(r, count).value_or(startDay);
    }
    r.endTime = day + endTime;
}

struct StoreSet {
    Clock clock;
    std::unique_ptr<ViewDates> time;
    std::unique_ptr<LayersStore> layers;
    std::unique_ptr<EventsStore> events;
    std::unique_ptr<TasksStore> tasks;

    bool open(const QString &dataDir, QString *error)
    {
        time = std::make_unique<ViewDates>(clock);
        layers = std::make_unique<LayersStore>(dataDir, clock);
        events = std::make_unique<EventsStore>(dataDir, *layers, *time, clock);
        tasks = std::make_unique<TasksStore>(dataDir, *layers, clock);
        for (const TableLoadResult *r :
             {&layers->loadResult(), &events->loadResult(), &tasks->loadResult()})
            if (!r->ok()) {
                if (error) *error = r->error;
                return false;
            }
        return true;
    }
    void beginBulk()
    {
        layers->beginBulk();
        events->beginBulk();
        tasks->beginBulk();
    }
    bool finish(QString *error)
    {
        const auto done = [error](const TableResult &r) {
            if (!r.ok() && error) *error = r.error;
            return r.ok();
        };
        return done(layers->endBulk()) && done(layers->save()) && done(events->endBulk()) &&
               done(events->save()) && done(tasks->endBulk()) && done(tasks->save());
    }
};

// Layers named from LayerNames; the default layer becomes the first. Returns their IDs. The
// stores are in bulk mode: a change is applied in memory, and StoreSet::finish() reports the
// one write of them all.
std::vector<int> addLayers(LayersStore &layers, int count)
{
    std::vector<int> ids;
    if (auto first = layers.layerAt(1)) {
        first->name = LayerNames[0];
        first->color = LayerColors[0];
        (void)layers.updateLayer(*first);
        ids.push_back(first->id);
    }
    for (int i = int(ids.size()); i < count; ++i) {
        const QString name = i < LayerNames.size() ? LayerNames[i] : QString("Layer %1").arg(i + 1);
        const InsertResult added =
            layers.insertLayer(i, name, true, LayerColors[i % LayerColors.size()], 1, 30);
        if (added.applied()) ids.push_back(added.id);
    }
    return ids;
}

// Marks every task listed as a parent as having children; `open` decides which are expanded.
template <class OpenRule>
void markParents(TasksStore &tasks, const QSet<int> &parents, OpenRule open)
{
    for (int id : parents) {
        auto task = tasks.task(id);
        if (!task) continue;
        task->hasChildren = true;
        task->open = open(id);
        (void)tasks.updateTask(*task); // in bulk mode: finish() reports the write
    }
}

} // namespace

std::vector<SampleRule> benchRules(const BenchShape &shape)
{
    std::mt19937 rng(shape.seed ^ 0x5eed0001u);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int firstDay = int(DateTimeValue::fromQDate(shape.firstDay));
    const int days = int(shape.firstDay.daysTo(shape.firstDay.addYears(shape.years)));
    const QStringList kinds = {"Stand-up", "Status report", "Team meeting", "Gym",
                               "Rent due", "Board meeting", "Birthday",     "Anniversary"};

    std::vector<SampleRule> rules;
    for (int i = 0; i < shape.recurringRules; ++i) {
        SampleRule s;
        RecurrenceRule &r = s.rule;
        s.layer = 1 + i % std::max(1, shape.layers);
        const int family = i % 7;
        s.subject = QString("%1 %2").arg(kinds[family % kinds.size()]).arg(i + 1);
        const int startDay = firstDay + uniform(0, days * 4 / 5);
        const int startMinute = 7 * 60 + 15 * uniform(0, 43);
        const int length = 15 * uniform(1, 8);
        r.startTime = startDay + startMinute / 1440.0;
        r.extraDays = i % 10 == 9 ? uniform(1, 2) : 0;
        const int endMinute =
            r.extraDays > 0 ? 15 * uniform(0, 95) : std::min(startMinute + length, 1439);
        r.endTime = startDay + endMinute / 1440.0;
        r.weekdays = weekdayOf(startDay);
        switch (family) {
        case 0: // every N days
            r.pattern = Pattern::Daily;
            r.variant = Variant::EveryNDays;
            r.interval = uniform(1, 7);
            break;
        case 1: // every workday
            r.pattern = Pattern::Daily;
            r.variant = Variant::EveryWorkday;
            break;
        case 2: // every N weeks on some weekdays
            r.pattern = Pattern::Weekly;
            r.variant = Variant::EveryNWeeks;
            r.interval = uniform(1, 3);
            r.weekdays = WeekdaySet::fromBits(unsigned(uniform(1, 127)));
            break;
        case 3: // day D every M months; D up to 31 clamps to the month's end
            r.pattern = Pattern::Monthly;
            r.variant = Variant::DayOfMonth;
            r.dayOfMonth = i % 3 == 0 ? uniform(28, 31) : uniform(1, 31);
            r.interval = uniform(1, 3);
            break;
        case 4: // K-th day of a kind every M months
            r.pattern = Pattern::Monthly;
            r.variant = Variant::NthKindOfDay;
            r.ordinal = Ordinal(uniform(0, 4));
            r.dayKind = DayKind(uniform(0, 9));
            r.interval = uniform(1, 3);
            break;
        case 5: // every year on a fixed date
            r.pattern = Pattern::Yearly;
            r.variant = Variant::FixedDate;
            r.month = uniform(1, 12);
            r.dayOfMonth = i % 4 == 0 ? uniform(28, 31) : uniform(1, 28);
            break;
        default: // every year on the K-th day of a kind in a month
            r.pattern = Pattern::Yearly;
            r.variant = Variant::NthKindOfDay;
            r.ordinal = Ordinal(uniform(0, 4));
            r.dayKind = DayKind(uniform(0, 9));
            r.month = uniform(1, 12);
            break;
        }
        switch (i % 3) {
        case 0:
            setRuleEnd(s, EndRule::OnDate, startDay + uniform(90, 2500), 0);
            break;
        case 1:
            setRuleEnd(s, EndRule::AfterCount, 0, uniform(5, 300));
            break;
        default:
            setRuleEnd(s, EndRule::Never, 0, 0);
            break;
        }
        if (i % 4 == 0) { // some occurrences taken out
            std::vector<int> occ;
            expandOccurrenceDays(r, startDay, startDay + 3 * 365, 60, occ);
            std::shuffle(occ.begin(), occ.end(), rng);
            occ.resize(std::min<std::size_t>(occ.size(), std::size_t(uniform(1, 5))));
            std::sort(occ.begin(), occ.end());
            r.exceptionDays = occ;
        }
        rules.push_back(std::move(s));
    }
    return rules;
}

bool writeBench(const QString &dataDir, const BenchShape &shape, Summary *summary, QString *error)
{
    StoreSet stores;
    if (!stores.open(dataDir, error)) return false;
    stores.beginBulk();
    Summary sum;
    const std::vector<int> layerIds = addLayers(*stores.layers, shape.layers);
    sum.layers = int(layerIds.size());

    // One-time events, stored in start order (as a calendar grows).
    std::mt19937 rng(shape.seed);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int firstDay = int(DateTimeValue::fromQDate(shape.firstDay));
    const int days = int(shape.firstDay.daysTo(shape.firstDay.addYears(shape.years)));
    static constexpr std::array<int, 12> Lengths = {15, 30, 30, 45,  60,  60,
                                                    60, 60, 90, 120, 180, 240};
    struct Planned {
        SerialDateTime start, end;
        bool allDay;
        int layer, subject, alarm;
    };
    std::vector<Planned> planned;
    planned.reserve(std::size_t(shape.oneTimeEvents));
    for (int i = 0; i < shape.oneTimeEvents; ++i) {
        int day = firstDay + uniform(0, days - 1);
        // Weekends are quieter: most weekend picks move to the Monday after.
        const int dow = DateTimeValue::dayOfWeek(day);
        if ((dow == 1 || dow == 7) && uniform(0, 9) < 7) day += dow == 1 ? 1 : 2;
        if (day >= firstDay + days) day -= 7;
        Planned p{};
        p.layer =
            layerIds.empty() ? 1 : layerIds[std::size_t(uniform(0, int(layerIds.size()) - 1))];
        p.alarm = uniform(0, 9) == 0 ? 15 : 0;
        const int kind = uniform(0, 39); // 0: all-day, 1: multi-day with times
        if (kind == 0) {
            p.allDay = true;
            p.start = day;
            p.end = day + uniform(1, 5);
            p.subject = -1 - uniform(0, int(LongSubjects.size()) - 1);
        } else if (kind == 1) {
            p.start = day + (8 * 60 + 30 * uniform(0, 4)) / 1440.0;
            p.end = day + uniform(1, 13) + (12 * 60 + 30 * uniform(0, 12)) / 1440.0;
            p.subject = -1 - uniform(0, int(LongSubjects.size()) - 1);
        } else {
            const int minute = 7 * 60 + 15 * uniform(0, 47);
            p.start = day + minute / 1440.0;
            p.end = p.start + Lengths[std::size_t(uniform(0, int(Lengths.size()) - 1))] / 1440.0;
            p.subject = uniform(0, int(MeetingSubjects.size()) - 1);
        }
        planned.push_back(p);
    }
    std::stable_sort(planned.begin(), planned.end(),
                     [](const Planned &a, const Planned &b) { return a.start < b.start; });
    EventsStore &ev = *stores.events;
    for (std::size_t i = 0; i < planned.size(); ++i) {
        const Planned &p = planned[i];
        const QString subject =
            p.subject >= 0 ? MeetingSubjects[p.subject] : LongSubjects[-1 - p.subject];
        EventRow v = eventRow(p.layer, p.start, p.end, subject);
        v[EventField::AllDay] = p.allDay;
        if (p.alarm) setAlarm(v, p.alarm);
        if (i % 3 == 0)
            v[EventField::Description] = QStringLiteral("Room 4.%1, bring notes").arg(i % 40);
        if (!ev.insertEvent(v).applied()) continue;
        sum.longestOneTimeDays = std::max(sum.longestOneTimeDays, p.end - p.start);
        ++sum.oneTimeEvents;
    }

    for (SampleRule &s : benchRules(shape)) {
        if (!layerIds.empty()) s.layer = layerIds[std::size_t(s.layer - 1) % layerIds.size()];
        EventRow v = ruleRow(s);
        if (sum.recurringRules % 5 == 0) setAlarm(v, 10);
        if (ev.insertEvent(v).applied()) ++sum.recurringRules;
    }

    // Task trees: a quarter top-level, the rest children of an earlier task up to level 4,
    // in the layer of their parent.
    TasksStore &tasks = *stores.tasks;
    struct Node {
        int id, level, layer;
    };
    std::vector<Node> nodes;
    QSet<int> parents;
    for (int i = 0; i < shape.tasks; ++i) {
        int parent = -1, level = 1;
        int layer = layerIds.empty() ? 1 : layerIds[std::size_t(i) % layerIds.size()];
        if (!nodes.empty() && uniform(0, 3) != 0) {
            const Node &n = nodes[std::size_t(uniform(0, int(nodes.size()) - 1))];
            if (n.level < 4) {
                parent = n.id;
                level = n.level + 1;
                layer = n.layer;
            }
        }
        const bool alarm = i % 25 == 0;
        const InsertResult added = tasks.insertTask(
            parent, level, layer,
            QString("%1 %2").arg(MeetingSubjects[i % MeetingSubjects.size()]).arg(i + 1),
            uniform(0, 2), uniform(0, 4) == 0, alarm,
            alarm ? firstDay + uniform(0, days - 1) + 0.375 : 0);
        if (!added.applied()) continue;
        nodes.push_back({added.id, level, layer});
        if (parent > 0) parents.insert(parent);
        ++sum.tasks;
    }
    markParents(tasks, parents, [](int id) { return id % 2 == 0; });

    if (!stores.finish(error)) return false;
    if (summary) *summary = sum;
    return true;
}

bool writeDemo(const QString &dataDir, const QDate &today, Summary *summary, QString *error)
{
    StoreSet stores;
    if (!stores.open(dataDir, error)) return false;
    Summary sum;
    LayersStore &layers = *stores.layers;
    EventsStore &ev = *stores.events;
    const std::vector<int> layer = addLayers(layers, 5); // Work, Personal, Family, Fitness, Travel
    sum.layers = int(layer.size());
    enum { Work, Personal, Family, Fitness, Travel };

    const int monday = int(DateTimeValue::fromQDate(today)) - (today.dayOfWeek() - 1);
    auto at = [](int day, int h, int m) { return day + encodeTime(h, m); };
    auto add = [&](const EventRow &v) {
        if (ev.insertEvent(v).applied())
            ++(v.isRecurring() ? sum.recurringRules : sum.oneTimeEvents);
    };
    auto meeting = [&](int l, int day, int h, int m, int minutes, const QString &subject,
                       int alarm = 0, const QString &description = {}) {
        const SerialDateTime s = at(day, h, m);
        EventRow v = eventRow(layer[l], s, s + minutes / 1440.0, subject);
        if (alarm) setAlarm(v, alarm);
        if (!description.isEmpty()) v[EventField::Description] = description;
        add(v);
    };
    auto allDay = [&](int l, int day, int days, const QString &subject) {
        EventRow v = eventRow(layer[l], day, day + days, subject);
        v[EventField::AllDay] = true;
        add(v);
    };

    // The working week of today.
    meeting(Work, monday, 11, 30, 60, "Design review", 15, "Room 2.14");
    meeting(Work, monday, 15, 0, 60, "Budget planning");
    meeting(Work, monday + 1, 9, 45, 90, "Customer call: Northwind", 10);
    meeting(Personal, monday + 1, 13, 0, 60, "Lunch with Sam");
    meeting(Work, monday + 1, 16, 0, 90, "Sprint planning");
    meeting(Work, monday + 2, 10, 0, 120, "Onboarding workshop", 0, "Bring laptops");
    meeting(Personal, monday + 2, 10, 30, 30, "Dentist", 30);
    meeting(Work, monday + 2, 14, 0, 60, "Interview: backend engineer");
    meeting(Work, monday + 3, 9, 30, 60, "Architecture sync");
    meeting(Work, monday + 3, 11, 0, 45, "Code review");
    meeting(Work, monday + 3, 16, 30, 60, "Quarterly review", 15);
    meeting(Work, monday + 4, 10, 0, 60, "Product demo");
    meeting(Work, monday + 4, 15, 0, 60, "Retrospective");
    meeting(Family, monday + 4, 19, 0, 210, "Dinner with friends");
    meeting(Family, monday + 5, 10, 0, 120, "Kids' football match");
    meeting(Travel, monday + 5, 22, 30, 150, "Night train to Vienna", 60);
    allDay(Work, monday + 4, 1, "Team offsite");
    allDay(Family, monday, 7, "School holidays");
    allDay(Travel, monday + 9, 3, "Conference");
    allDay(Personal, monday + 12, 9, "Holiday in Lisbon");
    {
        EventRow v =
            eventRow(layer[Work], at(monday + 2, 13, 0), at(monday + 3, 12, 0), "Trade fair stand");
        add(v);
    }

    // Meetings of the weeks around it, so that paging shows a lived-in calendar.
    std::mt19937 rng(4711);
    for (int week = -3; week <= 4; ++week) {
        if (week == 0) continue;
        for (int d = 0; d < 5; ++d) {
            const int n = std::uniform_int_distribution<int>(1, 3)(rng);
            for (int k = 0; k < n; ++k) {
                const int slot = std::uniform_int_distribution<int>(0, 15)(rng);
                const int subject = std::uniform_int_distribution<int>(0, 39)(rng);
                meeting(subject % 4 == 0 ? Personal : Work, monday + 7 * week + d, 9 + slot / 2,
                        (slot % 2) * 30, 30 * (1 + slot % 3), MeetingSubjects[subject]);
            }
        }
    }

    // Recurring events.
    auto recurring = [&](int l, const QString &subject, RecurrenceRule r, int alarm) {
        SampleRule s{std::move(r), layer[l], subject};
        setRuleEnd(s, EndRule::Never, 0, 0);
        EventRow v = ruleRow(s);
        if (alarm) setAlarm(v, alarm);
        add(v);
    };
    auto rule = [&](Pattern pattern, Variant variant, int startDay, int h, int m, int minutes) {
        RecurrenceRule r;
        r.pattern = pattern;
        r.variant = variant;
        r.startTime = at(startDay, h, m);
        r.endTime = r.startTime + minutes / 1440.0;
        r.weekdays = weekdayOf(startDay);
        return r;
    };
    recurring(Work, "Stand-up", rule(Pattern::Daily, Variant::EveryWorkday, monday - 28, 9, 15, 15),
              0);
    {
        RecurrenceRule r = rule(Pattern::Weekly, Variant::EveryNWeeks, monday - 28, 10, 0, 60);
        r.interval = 1;
        recurring(Work, "Team meeting", r, 10);
        r = rule(Pattern::Weekly, Variant::EveryNWeeks, monday - 25, 14, 0, 30);
        r.interval = 2;
        recurring(Work, "1:1 with Maria", r, 5);
        r = rule(Pattern::Weekly, Variant::EveryNWeeks, monday - 27, 18, 30, 60);
        r.interval = 1;
        r.weekdays = WeekdaySet{CalendarMath::Tuesday, CalendarMath::Thursday};
        recurring(Fitness, "Gym", r, 0);
        r = rule(Pattern::Daily, Variant::EveryNDays, monday - 30, 7, 0, 40);
        r.interval = 2;
        recurring(Fitness, "Morning run", r, 0);
        r = rule(Pattern::Monthly, Variant::DayOfMonth, monday - 60, 9, 0, 15);
        r.dayOfMonth = 1;
        r.interval = 1;
        recurring(Personal, "Rent due", r, 60);
    }

    // A few tasks, two of them with subtasks.
    TasksStore &tasks = *stores.tasks;
    QSet<int> parents;
    auto task = [&](int parent, int level, int l, const QString &subject, int priority = 0,
                    bool finished = false) {
        const InsertResult added =
            tasks.insertTask(parent, level, layer[l], subject, priority, finished);
        if (!added.applied()) return -1;
        if (parent > 0) parents.insert(parent);
        ++sum.tasks;
        return added.id;
    };
    const int report = task(-1, 1, Work, "Prepare quarterly report", 2);
    task(report, 2, Work, "Collect the figures", 1, true);
    task(report, 2, Work, "Draft the slides", 1);
    task(-1, 1, Personal, "Renew passport", 2);
    const int trip = task(-1, 1, Travel, "Plan the Lisbon holiday", 1);
    task(trip, 2, Travel, "Book flights", 1, true);
    task(trip, 2, Travel, "Book a hotel");
    task(-1, 1, Family, "Buy a birthday present");
    markParents(tasks, parents, [](int) { return true; });

    if (!stores.finish(error)) return false;
    if (summary) *summary = sum;
    return true;
}

} // namespace SampleCalendar
