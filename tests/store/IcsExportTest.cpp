// Writing calendar files and reading them back: Dayloom -> .ics -> an empty Dayloom gives the
// same events, occurrences, alarms and tasks; UIDs stay the same from one export to the next.
#include "IcsTestSupport.h"
#include "RuleBuilders.h"

#include "store/IcsExport.h"

using CalendarTest::Calendar;
using namespace IcsTest;

namespace
{

// Every rule pattern and form, clamped days of month, exceptions, multi-day and all-day
// occurrences, alarms in each unit, and a task tree.
void fillCalendar(Calendar &cal, int layer)
{
    using namespace Rules;
    const QDate jan(2024, 1, 10);
    std::vector<std::pair<RecurrenceRule, QString>> rules = {
        {everyNDays(3, jan, QDate(2024, 6, 1)), "every 3 days"},
        {everyWorkday(QDate(2024, 1, 6)), "every workday from a Saturday"},
        {weekly(2, "0100010", QDate(2024, 1, 3)), "Monday and Friday every other week"},
        {weekly(3, "1000001", jan), "weekends every third week"},
        {monthlyOnDay(31, 1, QDate(2024, 1, 31)), "the 31st or the month's end"},
        {monthlyOnDay(15, 2, QDate(2024, 1, 20)), "the 15th every other month"},
        {monthlyOnKind(4, 1, 1, jan), "last workday"},
        {monthlyOnKind(1, 2, 1, jan), "second weekend day"},
        {monthlyOnKind(4, 0, 3, jan), "last day every quarter"},
        {monthlyOnKind(2, 6, 1, jan), "third Wednesday"},
        {yearlyOnDate(2, 29, QDate(2024, 1, 1)), "29 February or the 28th"},
        {yearlyOnKind(0, 4, 5, jan, QDate(2030, 1, 1)), "first Monday of May"},
    };
    rules[0].first.exceptionDays = {int(at(2024, 1, 13)), int(at(2024, 2, 3))};
    rules[2].first.extraDays = 2;
    rules[2].first.endTime =
        DateTimeValue::dayOf(rules[2].first.endTime) + DateTimeValue::encodeTime(8, 0);
    rules[5].first.endRule = Recurrence::EndRule::AfterCount;
    rules[5].first.occurrenceCount = 7;
    rules[5].first.endTime =
        *nthOccurrenceDay(rules[5].first, 7) + DateTimeValue::encodeTime(10, 30);
    for (auto &[rule, subject] : rules)
        ASSERT_NE(cal.addEvent(Calendar::recurring(layer, rule, subject)), -1);

    RecurrenceRule allDay = yearlyOnDate(6, 12, QDate(2024, 6, 12));
    allDay.startTime = DateTimeValue::dayOf(allDay.startTime);
    allDay.endTime = DateTimeValue::dayOf(allDay.endTime);
    allDay.extraDays = 1;
    EventRow birthday = Calendar::recurring(layer, allDay, "birthday");
    birthday[EventField::AllDay] = true;
    ASSERT_NE(cal.addEvent(Calendar::withAlarm(birthday, 1, 3)), -1);

    EventRow trip =
        Calendar::oneTime(layer, at(2024, 7, 15), at(2024, 7, 19), "trip; with, \"marks\"");
    trip[EventField::AllDay] = true;
    trip[EventField::Description] = QString::fromUtf8("Zeile eins\nZeile zwei: Grüße, 東京");
    ASSERT_NE(cal.addEvent(trip), -1);
    ASSERT_NE(
        cal.addEvent(Calendar::withAlarm(
            Calendar::oneTime(layer, at(2024, 3, 5, 9, 15), at(2024, 3, 5, 10), "dentist"), 20)),
        -1);
    ASSERT_NE(
        cal.addEvent(Calendar::withAlarm(
            Calendar::oneTime(layer, at(2024, 3, 6, 23), at(2024, 3, 7, 1, 30), "night"), 3, 2)),
        -1);

    const int root = cal.addTask("move house", -1, layer);
    const int child = cal.addTask("pack boxes", root);
    cal.addTask("buy tape", child);
    TaskRow done = *cal.tasks->task(cal.addTask("rent a van", root));
    done.finished = true;
    done.priority = 2;
    done.alarmSet = true;
    done.alarmTime = at(2024, 5, 1, 9);
    ASSERT_TRUE(cal.tasks->updateTask(done).ok());
}

struct AlarmOf {
    bool set;
    double advanceDays;
    auto operator<=>(const AlarmOf &) const = default;
};

std::map<QString, AlarmOf> alarms(EventsStore &events)
{
    std::map<QString, AlarmOf> out;
    events.forEachEvent([&](const EventRow &row) {
        out[row.subject()] = {
            row.alarmSet(),
            row.alarmSet() ? AlarmRules::alarmAdvanceDays(row[EventField::AlarmAdvance].toInt(),
                                                          row[EventField::AlarmAdvanceUnit].toInt())
                           : 0};
    });
    return out;
}

std::map<QString, std::tuple<QString, int, bool, bool, double>> tasksOf(TasksStore &tasks)
{
    std::map<QString, std::tuple<QString, int, bool, bool, double>> out;
    tasks.forEachTask([&](const TaskRow &t) {
        const auto parent = tasks.task(t.parentId);
        out[t.subject] = {parent ? parent->subject : QString(), t.priority, t.finished, t.alarmSet,
                          t.alarmSet ? t.alarmTime : 0};
    });
    return out;
}

IcsImport::Summary importBytes(Calendar &cal, const QByteArray &bytes)
{
    return IcsImport::importBytes(bytes, "export", 0, *cal.layers, *cal.events, *cal.tasks,
                                  options(cal));
}

} // namespace

TEST(IcsExport, DayloomToIcsToAnEmptyDayloomKeepsEventsOccurrencesAlarmsAndTasks)
{
    Calendar source(NewYear2024);
    fillCalendar(source, source.firstLayer());
    const IcsExport::Output out =
        IcsExport::calendarBytes({source.firstLayer()}, *source.layers, *source.events,
                                 *source.tasks, "test-identity", options(source).now);
    EXPECT_EQ(out.events, source.eventCount());
    EXPECT_EQ(out.tasks, 4);

    Calendar target(NewYear2024);
    const IcsImport::Summary s = importBytes(target, out.bytes);
    ASSERT_TRUE(s.ok) << s.error.toStdString();
    EXPECT_EQ(s.events, source.eventCount());
    EXPECT_EQ(s.recurringEvents, 13); // every rule comes back as a rule
    EXPECT_EQ(s.expandedRules, 0);
    EXPECT_TRUE(s.skipped.isEmpty()) << s.skipped.join("|").toStdString();
    EXPECT_EQ(s.layerName, "Layer1");

    const auto before = storeOccurrences(*source.events, FirstDay, EndDay);
    EXPECT_GT(before.size(), 500u);
    EXPECT_EQ(storeOccurrences(*target.events, FirstDay, EndDay), before);
    // libical reads the written file to the same occurrences.
    EXPECT_EQ(libicalOccurrences(out.bytes, FirstDay, EndDay), before);
    EXPECT_EQ(alarms(*target.events), alarms(*source.events));
    EXPECT_EQ(tasksOf(*target.tasks), tasksOf(*source.tasks));

    std::map<QString, EventRow> rows;
    target.events->forEachEvent([&](const EventRow &r) { rows[r.subject()] = r; });
    EXPECT_TRUE(rows["trip; with, \"marks\""].isAllDay());
    EXPECT_EQ(rows["trip; with, \"marks\""].description(),
              QString::fromUtf8("Zeile eins\nZeile zwei: Grüße, 東京"));
    EXPECT_TRUE(rows["birthday"].isAllDay());
    EXPECT_EQ(RecurrenceColumns::readRule(rows["the 15th every other month"]).occurrenceCount, 7);
    EXPECT_EQ(RecurrenceColumns::readRule(rows["every 3 days"]).exceptionDays.size(), 2u);
}

TEST(IcsExport, FilesFromOtherProgramsSurviveImportExportImport)
{
    Calendar first(NewYear2024);
    QList<int> layers;
    for (const QString &name : goodFiles()) {
        const IcsImport::Summary s = IcsImport::importBytes(
            readData(name), name, 0, *first.layers, *first.events, *first.tasks, options(first));
        ASSERT_TRUE(s.ok);
        layers.append(s.layerId);
    }
    const IcsExport::Output out = IcsExport::calendarBytes(layers, *first.layers, *first.events,
                                                           *first.tasks, "id", options(first).now);
    Calendar second(NewYear2024);
    const IcsImport::Summary s = importBytes(second, out.bytes);
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.layerName, "Dayloom");
    EXPECT_EQ(storeOccurrences(*second.events, FirstDay, EndDay),
              storeOccurrences(*first.events, FirstDay, EndDay));
    EXPECT_EQ(alarms(*second.events), alarms(*first.events));
    EXPECT_EQ(tasksOf(*second.tasks), tasksOf(*first.tasks));
}

TEST(IcsExport, UidsStayTheSameFromOneExportToTheNextAndChosenLayersOnly)
{
    Calendar cal(NewYear2024);
    const int other = cal.layers->insertLayer(5, "Other", true, 2, 1, 30).id;
    const int a = cal.addEvent(
        Calendar::oneTime(cal.firstLayer(), at(2024, 2, 1, 9), at(2024, 2, 1, 10), "a"));
    cal.addEvent(Calendar::oneTime(other, at(2024, 2, 2, 9), at(2024, 2, 2, 10), "b"));
    ASSERT_TRUE(cal.events->copyToClipboard(a));
    cal.addTask("t", -1, other);

    const QString path = TestEnv::freshDir("export") + "/out.ics";
    ASSERT_TRUE(IcsExport::exportFile(path, {cal.firstLayer()}, *cal.layers, *cal.events,
                                      *cal.tasks, options(cal).now)
                    .ok);
    const QByteArray once = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const QString identity = IcsExport::calendarIdentity(cal.dataDir);
    EXPECT_TRUE(once.contains(QStringLiteral("UID:event-%1@%2").arg(a).arg(identity).toUtf8()));
    EXPECT_EQ(once.count("BEGIN:VEVENT"), 1); // not the other layer, not the clipboard row
    EXPECT_EQ(once.count("BEGIN:VTODO"), 0);
    EXPECT_TRUE(once.contains("X-WR-CALNAME:Layer1"));

    cal.reopen();
    const StoreResult again = IcsExport::exportFile(path, {cal.firstLayer()}, *cal.layers,
                                                    *cal.events, *cal.tasks, options(cal).now);
    EXPECT_EQ(again.count, 1);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), once);

    CalendarTest::blockFile(path);
    EXPECT_FALSE(
        IcsExport::exportFile(path, {other}, *cal.layers, *cal.events, *cal.tasks, options(cal).now)
            .ok);
}

// The calendar's own lines, then each component, then one END line: with no event, with events
// and tasks, and read back by libical as one calendar holding every component.
TEST(IcsExport, BytesFormOneCalendarWithEveryComponentAfterItsOwnLines)
{
    Calendar cal(NewYear2024);
    const int empty = cal.layers->insertLayer(5, "Empty", true, 2, 1, 30).id;
    const QByteArray none = IcsExport::calendarBytes({empty}, *cal.layers, *cal.events, *cal.tasks,
                                                     "id", options(cal).now)
                                .bytes;
    EXPECT_TRUE(none.startsWith("BEGIN:VCALENDAR\r\n"));
    EXPECT_TRUE(none.endsWith("X-WR-CALNAME:Empty\r\nEND:VCALENDAR\r\n"));
    EXPECT_EQ(none.count("END:VCALENDAR"), 1);

    for (int i = 0; i < 3; ++i)
        cal.addEvent(Calendar::oneTime(cal.firstLayer(), at(2024, 2, 1 + i, 9),
                                       at(2024, 2, 1 + i, 10), QStringLiteral("e%1").arg(i)));
    cal.addTask("t", -1, cal.firstLayer());
    const IcsExport::Output out = IcsExport::calendarBytes(
        {cal.firstLayer()}, *cal.layers, *cal.events, *cal.tasks, "id", options(cal).now);
    EXPECT_EQ(out.events, 3);
    EXPECT_EQ(out.tasks, 1);
    EXPECT_TRUE(out.bytes.startsWith("BEGIN:VCALENDAR\r\n"));
    EXPECT_TRUE(out.bytes.endsWith("END:VTODO\r\nEND:VCALENDAR\r\n"));
    EXPECT_EQ(out.bytes.count("END:VCALENDAR"), 1);
    EXPECT_LT(out.bytes.indexOf("X-WR-CALNAME:Layer1"), out.bytes.indexOf("BEGIN:VEVENT"));

    icalcomponent *root = icalparser_parse_string(out.bytes.constData());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(icalcomponent_isa(root), ICAL_VCALENDAR_COMPONENT);
    EXPECT_EQ(icalcomponent_count_components(root, ICAL_VEVENT_COMPONENT), 3);
    EXPECT_EQ(icalcomponent_count_components(root, ICAL_VTODO_COMPONENT), 1);
    icalcomponent_free(root);
}
