#include "store/IcsExport.h"

#include "core/CalendarMath.h"
#include "store/EventsStore.h"
#include "store/IcsRules.h"
#include "store/LayersStore.h"
#include "store/RecurrenceColumns.h"
#include "store/TasksStore.h"
#include "store/TextFileLines.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSet>
#include <QUuid>

#include <libical/ical.h>

#include <cstdio>

namespace
{

icaltimetype icalTime(SerialDateTime t, bool asDate)
{
    const int day = DateTimeValue::dayOf(t);
    const CalendarMath::YearMonthDay ymd = CalendarMath::civilFromDay(day);
    char buf[32];
    if (asDate) {
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", int(ymd.year), ymd.month, ymd.day);
    } else {
        const int s = DateTimeValue::msOfDay(t) / 1000;
        std::snprintf(buf, sizeof buf, "%04d%02d%02dT%02d%02d%02d", int(ymd.year), ymd.month,
                      ymd.day, s / 3600, s / 60 % 60, s % 60);
    }
    return icaltime_from_string(buf);
}

std::string untilText(int day, SerialDateTime timeOfDay, bool asDate)
{
    char *text = icaltime_as_ical_string_r(icalTime(day + timeOfDay, asDate));
    std::string s = text;
    icalmemory_free_buffer(text);
    return s;
}

void addText(icalcomponent *c, icalproperty *(*make)(const char *), const QString &text)
{
    if (!text.isEmpty()) icalcomponent_add_property(c, make(text.toUtf8().constData()));
}

void addAlarm(icalcomponent *ev, const EventRow &row)
{
    const int advance = row[EventField::AlarmAdvance].toInt();
    const int unit = row[EventField::AlarmAdvanceUnit].toInt();
    const int minutes = unit == 1 ? advance : unit == 2 ? advance * 60 : advance * 1440;
    icalcomponent *alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(
        alarm, icalproperty_new_description(
                   row.subject().isEmpty() ? "Reminder" : row.subject().toUtf8().constData()));
    icaltriggertype trigger;
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(-minutes * 60);
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
    icalcomponent_add_component(ev, alarm);
}

bool atMidnight(SerialDateTime t)
{
    return DateTimeValue::msOfDay(t) == 0;
}

// The VEVENT of a row; nullptr for a recurring row whose rule has no occurrence.
icalcomponent *eventComponent(const EventRow &row, const QString &uid, const icaltimetype &stamp)
{
    SerialDateTime start = row.startTime();
    SerialDateTime end = row.endTime();
    std::string rrule;
    std::vector<int> exceptions;
    if (row.isRecurring()) {
        const RecurrenceRule rule = RecurrenceColumns::readRule(row);
        const std::optional<int> first = nthOccurrenceDay(rule, 1);
        const int lastDay = DateTimeValue::dayOf(rule.endTime);
        rrule = IcsRules::patternText(rule);
        if (!first || rrule.empty() || lastDay < *first) return nullptr;
        const SerialDateTime startTimeOfDay = start - DateTimeValue::dayOf(start);
        start = *first + startTimeOfDay;
        end = *first + rule.extraDays + (rule.endTime - lastDay);
        const bool asDate = row.isAllDay() && atMidnight(start) && atMidnight(end);
        if (rule.endRule == Recurrence::EndRule::AfterCount &&
            nthOccurrenceDay(rule, rule.occurrenceCount) == lastDay)
            rrule += ";COUNT=" + std::to_string(rule.occurrenceCount);
        else if (rule.endRule != Recurrence::EndRule::Never)
            rrule += ";UNTIL=" + untilText(lastDay, startTimeOfDay, asDate);
        exceptions = rule.exceptionDays;
    }
    const bool asDate = row.isAllDay() && atMidnight(start) && atMidnight(end);
    if (asDate && DateTimeValue::dayOf(end) <= DateTimeValue::dayOf(start)) end = start + 1;

    icalcomponent *ev = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    icalcomponent_add_property(ev, icalproperty_new_uid(uid.toUtf8().constData()));
    icalcomponent_add_property(ev, icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(ev, icalproperty_new_dtstart(icalTime(start, asDate)));
    icalcomponent_add_property(ev, icalproperty_new_dtend(icalTime(end, asDate)));
    addText(ev, icalproperty_new_summary, row.subject());
    addText(ev, icalproperty_new_description, row.description());
    if (!rrule.empty()) {
        icalcomponent_add_property(
            ev, icalproperty_new_rrule(icalrecurrencetype_from_string(rrule.c_str())));
        const SerialDateTime timeOfDay = start - DateTimeValue::dayOf(start);
        for (int day : exceptions)
            icalcomponent_add_property(ev,
                                       icalproperty_new_exdate(icalTime(day + timeOfDay, asDate)));
    }
    if (row.alarmSet()) addAlarm(ev, row);
    return ev;
}

QString eventUid(int id, const QString &identity)
{
    return QStringLiteral("event-%1@%2").arg(id).arg(identity);
}

QString taskUid(int id, const QString &identity)
{
    return QStringLiteral("task-%1@%2").arg(id).arg(identity);
}

icalcomponent *taskComponent(const TaskRow &task, const QString &identity, bool parentWritten,
                             const icaltimetype &stamp)
{
    icalcomponent *todo = icalcomponent_new(ICAL_VTODO_COMPONENT);
    icalcomponent_add_property(
        todo, icalproperty_new_uid(taskUid(task.id, identity).toUtf8().constData()));
    icalcomponent_add_property(todo, icalproperty_new_dtstamp(stamp));
    addText(todo, icalproperty_new_summary, task.subject);
    addText(todo, icalproperty_new_description, task.description);
    icalcomponent_add_property(todo, icalproperty_new_priority(task.priority >= 2   ? 1
                                                               : task.priority == 1 ? 5
                                                                                    : 9));
    icalcomponent_add_property(
        todo,
        icalproperty_new_status(task.finished ? ICAL_STATUS_COMPLETED : ICAL_STATUS_NEEDSACTION));
    if (parentWritten)
        icalcomponent_add_property(
            todo,
            icalproperty_new_relatedto(taskUid(task.parentId, identity).toUtf8().constData()));
    if (task.alarmSet)
        icalcomponent_add_property(todo, icalproperty_new_due(icalTime(task.alarmTime, false)));
    return todo;
}

// `now` as a UTC time of libical, for DTSTAMP.
icaltimetype stampOf(SerialDateTime now)
{
    return icaltime_from_timet_with_zone(
        time_t(DateTimeValue::toMs(now) / 1000 - qint64(25569) * 86400), 0,
        icaltimezone_get_utc_timezone());
}

// The text of `c`, which is freed.
QByteArray takeText(icalcomponent *c)
{
    char *text = icalcomponent_as_ical_string_r(c);
    QByteArray bytes(text);
    icalmemory_free_buffer(text);
    icalcomponent_free(c);
    return bytes;
}

} // namespace

namespace IcsExport
{

QString calendarIdentity(const QString &dataDir)
{
    const QString path = dataDir + IdentityFileName;
    if (const auto bytes = TextFileLines::readFile(path, 1024, nullptr)) {
        const QString id = QString::fromLatin1(*bytes).trimmed();
        if (!id.isEmpty() && !id.contains(u'@') && !id.contains(u' ')) return id;
    }
    const QString made = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (TextFileLines::writeAtomically(path, made.toLatin1(), nullptr)) return made;
    return QString::fromLatin1(
        QCryptographicHash::hash(dataDir.toUtf8(), QCryptographicHash::Sha1).toHex().left(32));
}

Output calendarBytes(const QList<int> &layerIDs, const LayersStore &layers,
                     const EventsStore &events, const TasksStore &tasks, const QString &identity,
                     SerialDateTime now)
{
    QSet<int> chosen;
    QString name = QStringLiteral("Dayloom");
    for (int id : layerIDs)
        if (const auto layer = layers.layer(id)) {
            chosen.insert(id);
            name = chosen.size() == 1 ? layer->name : QStringLiteral("Dayloom");
        }

    // Each component is written out and freed as soon as it is built, between the calendar's
    // own lines and its END line, so that no tree of every component is held at once; the
    // bytes are those of the whole tree written in one go.
    Output out;
    icalcomponent *cal = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(cal, icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal, icalproperty_new_prodid("-//Dayloom//Dayloom Calendar//EN"));
    icalproperty *calName = icalproperty_new_x(name.toUtf8().constData());
    icalproperty_set_x_name(calName, "X-WR-CALNAME");
    icalcomponent_add_property(cal, calName);
    const QByteArray head = takeText(cal);
    static constexpr char End[] = "END:VCALENDAR\r\n";
    out.bytes = head.endsWith(End) ? head.chopped(int(sizeof End) - 1) : head;

    const icaltimetype stamp = stampOf(now);
    events.forEachEvent([&](const EventRow &row) {
        if (!chosen.contains(row.layer())) return;
        if (icalcomponent *ev = eventComponent(row, eventUid(row.id(), identity), stamp)) {
            out.bytes += takeText(ev);
            ++out.events;
        } else {
            ++out.skipped;
        }
    });
    QSet<int> written;
    tasks.forEachTask([&](const TaskRow &t) {
        if (chosen.contains(t.layer)) written.insert(t.id);
    });
    tasks.forEachTask([&](const TaskRow &t) {
        if (!written.contains(t.id)) return;
        const bool parent = t.parentId != t.id && written.contains(t.parentId);
        out.bytes += takeText(taskComponent(t, identity, parent, stamp));
        ++out.tasks;
    });
    out.bytes += End;
    return out;
}

StoreResult exportFile(const QString &path, const QList<int> &layerIDs, const LayersStore &layers,
                       const EventsStore &events, const TasksStore &tasks, SerialDateTime now)
{
    const Output out =
        calendarBytes(layerIDs, layers, events, tasks, calendarIdentity(events.dataDir()), now);
    QString error;
    if (!TextFileLines::writeAtomically(path, out.bytes, &error))
        return StoreResult::failure(error);
    StoreResult r;
    r.count = out.events + out.tasks;
    return r;
}

} // namespace IcsExport
