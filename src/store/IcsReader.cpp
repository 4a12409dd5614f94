#include "store/IcsReader.h"

#include "core/CalendarMath.h"
#include "store/AlarmRules.h"
#include "store/IcsRules.h"
#include "store/RecurrenceColumns.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QTimeZone>

#include <libical/ical.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <vector>

namespace
{

struct ComponentFree {
    void operator()(icalcomponent *c) const { icalcomponent_free(c); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentFree>;

struct IteratorFree {
    void operator()(icalrecur_iterator *it) const { icalrecur_iterator_free(it); }
};

QString textOf(const char *s)
{
    return s ? QString::fromUtf8(s) : QString();
}

bool validDate(const icaltimetype &t)
{
    return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= CalendarMath::daysInMonth(t.year, t.month);
}

// The wall-clock value of `t` as it stands (no zone conversion).
SerialDateTime serialOf(const icaltimetype &t)
{
    SerialDateTime v = DateTimeValue::encodeDate(t.year, t.month, t.day);
    if (!t.is_date)
        v += DateTimeValue::encodeTime(std::clamp(t.hour, 0, 23), std::clamp(t.minute, 0, 59),
                                       std::clamp(t.second, 0, 59));
    return v;
}

// Whole minutes from `a` to `b`.
int minutesBetween(SerialDateTime a, SerialDateTime b)
{
    return int(std::llround(double(DateTimeValue::toMs(b) - DateTimeValue::toMs(a)) / 60000.0));
}

class Reader
{
public:
    Reader(const IcsReader::Options &options, IcsContent &out) : m_out(out)
    {
        QByteArray zone = options.localZone;
        if (zone.isEmpty()) zone = QTimeZone::systemTimeZoneId();
        m_local = icaltimezone_get_builtin_timezone(zone.constData());
        if (!m_local) m_local = icaltimezone_get_utc_timezone();
        m_now = options.now;
        m_horizon = DateTimeValue::dayOf(options.now) + IcsReader::ExpandDays;
    }

    void readCalendar(icalcomponent *cal)
    {
        if (m_out.calendarName.isEmpty()) m_out.calendarName = calendarName(cal);
        std::vector<icalcomponent *> events, todos;
        for (icalcomponent *c = icalcomponent_get_first_component(cal, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(cal, ICAL_ANY_COMPONENT)) {
            switch (icalcomponent_isa(c)) {
            case ICAL_VEVENT_COMPONENT:
                events.push_back(c);
                break;
            case ICAL_VTODO_COMPONENT:
                todos.push_back(c);
                break;
            case ICAL_VTIMEZONE_COMPONENT:
                break;
            case ICAL_VJOURNAL_COMPONENT:
                skip(QStringLiteral("journal entries"));
                break;
            default:
                skip(QStringLiteral("other calendar entries"));
                break;
            }
        }
        // Overrides of single occurrences, by the UID of the event they change.
        for (icalcomponent *c : events) {
            if (!icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY)) continue;
            const auto day = localTime(c, ICAL_RECURRENCEID_PROPERTY);
            if (day)
                m_overridden[textOf(icalcomponent_get_uid(c))].insert(DateTimeValue::dayOf(*day));
        }
        for (icalcomponent *c : events)
            readEvent(c);
        for (icalcomponent *c : todos)
            readTodo(c);
    }

    void finish()
    {
        for (auto it = m_skipped.cbegin(); it != m_skipped.cend(); ++it)
            m_out.skipped.append(QStringLiteral("%1 (%2)").arg(it.key()).arg(it.value()));
    }

private:
    static QString calendarName(icalcomponent *cal)
    {
        for (icalproperty *p = icalcomponent_get_first_property(cal, ICAL_X_PROPERTY); p;
             p = icalcomponent_get_next_property(cal, ICAL_X_PROPERTY)) {
            if (qstrcmp(icalproperty_get_x_name(p), "X-WR-CALNAME") == 0)
                return textOf(icalproperty_get_x(p)).trimmed();
        }
        return {};
    }

    void skip(const QString &why, int count = 1) { m_skipped[why] += count; }

    // The time of property `kind` of `c` in local wall-clock time; nullopt when it is missing
    // or no valid date.
    std::optional<SerialDateTime> localTime(icalcomponent *c, icalproperty_kind kind)
    {
        icalproperty *p = icalcomponent_get_first_property(c, kind);
        if (!p) return std::nullopt;
        return localTimeOf(p, c);
    }

    std::optional<SerialDateTime> localTimeOf(icalproperty *p, icalcomponent *c)
    {
        const icaltimetype t = icalproperty_get_datetime_with_component(p, c);
        if (icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER) && !t.zone && !t.is_date)
            skip(QStringLiteral("unknown time zones, read as local time"));
        return toLocal(t);
    }

    std::optional<SerialDateTime> toLocal(icaltimetype t) const
    {
        if (icaltime_is_null_time(t) || !validDate(t)) return std::nullopt;
        if (!t.is_date && t.zone) t = icaltime_convert_to_zone(t, m_local);
        if (!validDate(t)) return std::nullopt;
        return serialOf(t);
    }

    // Whether times of `zone` keep one distance from local time over the two years from
    // `day`, so a rule of ours at one local time of day matches every occurrence.
    bool followsLocalTime(const icaltimezone *zone, int day)
    {
        if (!zone || zone == m_local) return true;
        if (const auto it = m_steadyZones.constFind(zone); it != m_steadyZones.constEnd())
            return *it;
        auto *z = const_cast<icaltimezone *>(zone);
        const time_t first = time_t(qint64(day - 25569) * 86400);
        std::optional<int> distance;
        bool steady = true;
        for (int week = 0; week < 106 && steady; ++week) {
            icaltimetype at = icaltime_from_timet_with_zone(first + time_t(week) * 7 * 86400, 0,
                                                            icaltimezone_get_utc_timezone());
            int dst = 0;
            const int d = icaltimezone_get_utc_offset_of_utc_time(m_local, &at, &dst) -
                          icaltimezone_get_utc_offset_of_utc_time(z, &at, &dst);
            if (!distance) distance = d;
            steady = *distance == d;
        }
        m_steadyZones.insert(zone, steady);
        return steady;
    }

    struct Alarm {
        int advance = 0;
        int unit = 1;
    };

    // The first DISPLAY or AUDIO alarm as an advance before `start`.
    std::optional<Alarm> alarmOf(icalcomponent *c, SerialDateTime start, SerialDateTime end)
    {
        for (icalcomponent *a = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT); a;
             a = icalcomponent_get_next_component(c, ICAL_VALARM_COMPONENT)) {
            icalproperty *action = icalcomponent_get_first_property(a, ICAL_ACTION_PROPERTY);
            if (!action) continue;
            const icalproperty_action kind = icalproperty_get_action(action);
            if (kind != ICAL_ACTION_DISPLAY && kind != ICAL_ACTION_AUDIO) continue;
            icalproperty *trigger = icalcomponent_get_first_property(a, ICAL_TRIGGER_PROPERTY);
            if (!trigger) {
                skip(QStringLiteral("alarms without a trigger"));
                return std::nullopt;
            }
            const icaltriggertype t = icalproperty_get_trigger(trigger);
            std::optional<SerialDateTime> at;
            if (!icaltime_is_null_time(t.time)) {
                at = toLocal(t.time);
            } else {
                icalparameter *rel =
                    icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
                const bool fromEnd = rel && icalparameter_get_related(rel) == ICAL_RELATED_END;
                const double seconds = icaldurationtype_as_int(t.duration);
                at = (fromEnd ? end : start) + seconds / 86400.0;
            }
            const int minutes = at ? minutesBetween(*at, start) : -1;
            if (minutes < 0) {
                skip(QStringLiteral("alarms after the start"));
                return std::nullopt;
            }
            if (minutes > 0 && minutes % 1440 == 0) return Alarm{minutes / 1440, 3};
            if (minutes > 0 && minutes % 60 == 0) return Alarm{minutes / 60, 2};
            return Alarm{minutes, 1};
        }
        return std::nullopt;
    }

    void readEvent(icalcomponent *c)
    {
        if (icalcomponent_get_status(c) == ICAL_STATUS_CANCELLED) {
            skip(QStringLiteral("cancelled events"));
            return;
        }
        icalproperty *startProp = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
        const icaltimetype startIcal = startProp
                                           ? icalproperty_get_datetime_with_component(startProp, c)
                                           : icaltime_null_time();
        const auto start = startProp ? localTimeOf(startProp, c) : std::nullopt;
        if (!start) {
            skip(QStringLiteral("events without a valid start"));
            return;
        }
        const bool allDay = startIcal.is_date;
        SerialDateTime end = *start;
        if (icalcomponent_get_first_property(c, ICAL_DTEND_PROPERTY)) {
            end = localTime(c, ICAL_DTEND_PROPERTY).value_or(*start);
        } else if (icalcomponent_get_first_property(c, ICAL_DURATION_PROPERTY)) {
            end = *start + icaldurationtype_as_int(icalcomponent_get_duration(c)) / 86400.0;
        } else if (allDay) {
            end = *start + 1;
        }
        if (DateTimeValue::toMs(end) < DateTimeValue::toMs(*start)) end = *start;

        EventRow row;
        row[EventField::AllDay] = allDay;
        row[EventField::Subject] = textOf(icalcomponent_get_summary(c)).left(256);
        row[EventField::Description] = textOf(icalcomponent_get_description(c));
        row[EventField::StartTime] = *start;
        row[EventField::EndTime] = end;
        row[EventField::Recurring] = false;
        const std::optional<Alarm> alarm = alarmOf(c, *start, end);
        row[EventField::AlarmAdvance] = alarm ? alarm->advance : 0;
        row[EventField::AlarmAdvanceUnit] = alarm ? alarm->unit : 1;

        const QString uid = textOf(icalcomponent_get_uid(c));
        std::vector<icalrecurrencetype> rules;
        for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_RRULE_PROPERTY)) {
            const icalrecurrencetype r = icalproperty_get_rrule(p);
            if (r.freq == ICAL_NO_RECURRENCE)
                skip(QStringLiteral("recurrence rules libical cannot read"));
            else
                rules.push_back(r);
        }
        const bool isOverride = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY);
        if (rules.empty() || isOverride) {
            row[EventField::AlarmSet] = alarm && alarmAhead(*start, *alarm);
            m_out.events.append(row);
            return;
        }

        std::vector<int> exceptions;
        for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY))
            if (const auto day = localTimeOf(p, c))
                exceptions.push_back(DateTimeValue::dayOf(*day));
        for (int day : m_overridden.value(uid))
            exceptions.push_back(day);
        std::sort(exceptions.begin(), exceptions.end());
        exceptions.erase(std::unique(exceptions.begin(), exceptions.end()), exceptions.end());
        if (icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY))
            skip(QStringLiteral("extra dates (RDATE) of recurring events"));

        if (rules.size() == 1 && followsLocalTime(startIcal.zone, DateTimeValue::dayOf(*start))) {
            std::optional<int> untilDay;
            if (!icaltime_is_null_time(rules[0].until))
                untilDay = lastStartDay(rules[0].until, startIcal, *start);
            auto rule = IcsRules::ruleOf(rules[0], *start, end, untilDay);
            // libical does not count a DTSTART that the rule does not name among the
            // occurrences; our rule then starts on the first one libical finds.
            if (!rule) {
                if (const auto first = firstOccurrence(rules[0], startIcal); first && *first > *start)
                    rule = IcsRules::ruleOf(rules[0], *first, shifted(end, *start, *first),
                                            untilDay);
            }
            if (rule) {
                rule->exceptionDays = exceptions;
                RecurrenceColumns::writeRule(*rule, row);
                row[EventField::Recurring] = true;
                row[EventField::AlarmSet] = alarm.has_value();
                m_out.events.append(row);
                ++m_out.recurringEvents;
                return;
            }
        }
        expand(row, rules, startIcal, *start, end, exceptions, alarm);
    }

    // The last day on which an occurrence may start under UNTIL (a DATE, a UTC time, or a
    // time in the zone of DTSTART).
    std::optional<int> lastStartDay(icaltimetype until, const icaltimetype &startIcal,
                                    SerialDateTime start) const
    {
        if (until.is_date)
            return validDate(until) ? std::optional<int>(int(serialOf(until))) : std::nullopt;
        if (!icaltime_is_utc(until) && startIcal.zone)
            until = icaltime_set_timezone(&until, startIcal.zone);
        const auto local = toLocal(until);
        if (!local) return std::nullopt;
        const SerialDateTime timeOfDay = start - DateTimeValue::dayOf(start);
        return DateTimeValue::dayOf(
            DateTimeValue::fromMs(DateTimeValue::toMs(*local) - DateTimeValue::toMs(timeOfDay)));
    }

    // Whether the alarm of a one-time event starting at `start` rings now or later: an alarm
    // already past is not set, so an imported history does not ring all at once.
    bool alarmAhead(SerialDateTime start, const Alarm &alarm) const
    {
        const double advance = AlarmRules::alarmAdvanceDays(alarm.advance, alarm.unit);
        return DateTimeValue::toMs(start - advance) >= DateTimeValue::toMs(m_now);
    }

    // Occurrence `t` of libical's iteration of a rule whose DTSTART is `startIcal`, in local
    // time; nullopt for the iteration's end or a date out of range.
    std::optional<SerialDateTime> occurrenceOf(icaltimetype t, const icaltimetype &startIcal) const
    {
        if (icaltime_is_null_time(t)) return std::nullopt;
        if (!t.zone && !t.is_date && startIcal.zone) t = icaltime_set_timezone(&t, startIcal.zone);
        return toLocal(t);
    }

    std::optional<SerialDateTime> firstOccurrence(const icalrecurrencetype &rule,
                                                  const icaltimetype &startIcal) const
    {
        std::unique_ptr<icalrecur_iterator, IteratorFree> it(
            icalrecur_iterator_new(rule, startIcal));
        if (!it) return std::nullopt;
        return occurrenceOf(icalrecur_iterator_next(it.get()), startIcal);
    }

    // `end` moved by as much as `from` is moved to `to`.
    static SerialDateTime shifted(SerialDateTime end, SerialDateTime from, SerialDateTime to)
    {
        return DateTimeValue::fromMs(DateTimeValue::toMs(end) + DateTimeValue::toMs(to) -
                                     DateTimeValue::toMs(from));
    }

    // Lists the occurrences (libical's iteration, in the zone of DTSTART) from the start up to
    // two years after now as one-time events; of more than MaxExpanded the latest are kept.
    void expand(const EventRow &master, const std::vector<icalrecurrencetype> &rules,
                const icaltimetype &startIcal, SerialDateTime start, SerialDateTime end,
                const std::vector<int> &exceptions, const std::optional<Alarm> &alarm)
    {
        std::vector<SerialDateTime> starts;
        for (const icalrecurrencetype &rule : rules) {
            std::unique_ptr<icalrecur_iterator, IteratorFree> it(
                icalrecur_iterator_new(rule, startIcal));
            if (!it) {
                skip(QStringLiteral("recurrence rules libical cannot follow"));
                continue;
            }
            for (int steps = 0; steps < 200000; ++steps) {
                const auto local = occurrenceOf(icalrecur_iterator_next(it.get()), startIcal);
                if (!local || DateTimeValue::dayOf(*local) >= m_horizon) break;
                starts.push_back(*local);
            }
        }
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        std::erase_if(starts, [&](SerialDateTime s) {
            return std::binary_search(exceptions.begin(), exceptions.end(),
                                      DateTimeValue::dayOf(s));
        });
        if (int(starts.size()) > IcsReader::MaxExpanded) {
            skip(QStringLiteral("early occurrences of long rules"),
                 int(starts.size()) - IcsReader::MaxExpanded);
            starts.erase(starts.begin(), starts.end() - IcsReader::MaxExpanded);
        }
        if (starts.empty()) {
            skip(QStringLiteral("recurring events without an occurrence"));
            return;
        }
        for (SerialDateTime s : starts) {
            EventRow row = master;
            row[EventField::StartTime] = s;
            row[EventField::EndTime] = shifted(end, start, s);
            row[EventField::AlarmSet] = alarm && alarmAhead(s, *alarm);
            m_out.events.append(row);
        }
        ++m_out.expandedRules;
    }

    void readTodo(icalcomponent *c)
    {
        IcsTask task;
        task.uid = textOf(icalcomponent_get_uid(c));
        task.subject = textOf(icalcomponent_get_summary(c)).left(256);
        task.description = textOf(icalcomponent_get_description(c));
        for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_RELATEDTO_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_RELATEDTO_PROPERTY)) {
            icalparameter *type = icalproperty_get_first_parameter(p, ICAL_RELTYPE_PARAMETER);
            if (type && icalparameter_get_reltype(type) != ICAL_RELTYPE_PARENT) continue;
            task.parentUid = textOf(icalproperty_get_relatedto(p));
            break;
        }
        if (icalproperty *p = icalcomponent_get_first_property(c, ICAL_PRIORITY_PROPERTY)) {
            const int priority = icalproperty_get_priority(p);
            task.priority = priority >= 1 && priority <= 4 ? 2 : priority >= 6 ? 0 : 1;
        }
        task.finished = icalcomponent_get_status(c) == ICAL_STATUS_COMPLETED ||
                        icalcomponent_get_first_property(c, ICAL_COMPLETED_PROPERTY);
        if (const auto due = localTime(c, ICAL_DUE_PROPERTY)) {
            if (DateTimeValue::toMs(*due) >= DateTimeValue::toMs(m_now)) task.alarm = due;
        }
        m_out.tasks.append(task);
    }

    IcsContent &m_out;
    icaltimezone *m_local = nullptr;
    SerialDateTime m_now = 0;
    int m_horizon = 0;
    QHash<QString, QSet<int>> m_overridden;
    QHash<const icaltimezone *, bool> m_steadyZones;
    QMap<QString, int> m_skipped;
};

} // namespace

namespace IcsReader
{

bool isCalendarFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    QByteArray head = f.read(4096);
    if (head.startsWith("\xEF\xBB\xBF")) head.remove(0, 3);
    return head.trimmed().left(15).toUpper() == "BEGIN:VCALENDAR";
}

std::optional<IcsContent> read(const QByteArray &bytes, const Options &options, QString *error)
{
    const auto refuse = [error](const QString &why) -> std::optional<IcsContent> {
        if (error) *error = why;
        return std::nullopt;
    };
    if (bytes.size() > MaxFileBytes)
        return refuse(QStringLiteral("The file is larger than %1 MB.").arg(MaxFileBytes >> 20));
    if (bytes.contains('\0')) return refuse(QStringLiteral("The file is not a calendar file."));
    icalerror_set_errors_are_fatal(0);
    ComponentPtr root(icalparser_parse_string(bytes.constData()));
    if (!root) return refuse(QStringLiteral("The file is not a calendar file."));

    std::vector<icalcomponent *> calendars;
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        calendars.push_back(root.get());
    } else {
        for (icalcomponent *c =
                 icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
             c; c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            calendars.push_back(c);
    }
    if (calendars.empty())
        return refuse(QStringLiteral("The file holds no calendar (no BEGIN:VCALENDAR)."));

    IcsContent content;
    Reader reader(options, content);
    for (icalcomponent *cal : calendars)
        reader.readCalendar(cal);
    reader.finish();
    if (const int errors = icalcomponent_count_errors(root.get()); errors > 0)
        content.skipped.append(QStringLiteral("damaged lines (%1)").arg(errors));
    return content;
}

} // namespace IcsReader
