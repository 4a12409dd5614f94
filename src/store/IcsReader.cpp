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

// The properties of one VEVENT that the import reads, found in one pass over them: the first
// of each kind, every RRULE, EXDATE and RDATE.
struct EventProperties {
    icalcomponent *component = nullptr;
    icalproperty *start = nullptr;
    icalproperty *end = nullptr;
    icalproperty *duration = nullptr;
    icalproperty *summary = nullptr;
    icalproperty *description = nullptr;
    icalproperty *uid = nullptr;
    icalproperty *status = nullptr;
    icalproperty *recurrenceId = nullptr;
    std::vector<icalproperty *> rules;
    std::vector<icalproperty *> exceptions;
    std::vector<icalproperty *> extraDates;
};

// The properties of VEVENT `c`; the X-LIC-ERROR properties (lines libical could not read) of
// the event and of its alarms are added to `errors`.
EventProperties propertiesOf(icalcomponent *c, int &errors)
{
    EventProperties e;
    e.component = c;
    for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY)) {
        const auto first = [p](icalproperty *&slot) {
            if (!slot) slot = p;
        };
        switch (icalproperty_isa(p)) {
        case ICAL_DTSTART_PROPERTY:
            first(e.start);
            break;
        case ICAL_DTEND_PROPERTY:
            first(e.end);
            break;
        case ICAL_DURATION_PROPERTY:
            first(e.duration);
            break;
        case ICAL_SUMMARY_PROPERTY:
            first(e.summary);
            break;
        case ICAL_DESCRIPTION_PROPERTY:
            first(e.description);
            break;
        case ICAL_UID_PROPERTY:
            first(e.uid);
            break;
        case ICAL_STATUS_PROPERTY:
            first(e.status);
            break;
        case ICAL_RECURRENCEID_PROPERTY:
            first(e.recurrenceId);
            break;
        case ICAL_RRULE_PROPERTY:
            e.rules.push_back(p);
            break;
        case ICAL_EXDATE_PROPERTY:
            e.exceptions.push_back(p);
            break;
        case ICAL_RDATE_PROPERTY:
            e.extraDates.push_back(p);
            break;
        case ICAL_XLICERROR_PROPERTY:
            ++errors;
            break;
        default:
            break;
        }
    }
    for (icalcomponent *sub = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); sub;
         sub = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
        errors += icalcomponent_count_errors(sub);
    return e;
}

// The X-LIC-ERROR properties of `c` itself, not of its components.
int ownErrors(icalcomponent *c)
{
    int errors = 0;
    for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_XLICERROR_PROPERTY))
        ++errors;
    return errors;
}

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
        m_errors += ownErrors(cal);
        std::vector<EventProperties> events;
        std::vector<icalcomponent *> todos;
        for (icalcomponent *c = icalcomponent_get_first_component(cal, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(cal, ICAL_ANY_COMPONENT)) {
            const icalcomponent_kind kind = icalcomponent_isa(c);
            if (kind == ICAL_VEVENT_COMPONENT) {
                events.push_back(propertiesOf(c, m_errors));
                continue;
            }
            m_errors += icalcomponent_count_errors(c);
            if (kind == ICAL_VTODO_COMPONENT)
                todos.push_back(c);
            else if (kind == ICAL_VJOURNAL_COMPONENT)
                skip(QStringLiteral("journal entries"));
            else if (kind != ICAL_VTIMEZONE_COMPONENT)
                skip(QStringLiteral("other calendar entries"));
        }
        // Overrides of single occurrences, by the UID of the event they change.
        for (const EventProperties &e : events) {
            if (!e.recurrenceId) continue;
            if (const auto day = localTimeOf(e.recurrenceId, e.component))
                m_overridden[uidOf(e)].insert(DateTimeValue::dayOf(*day));
        }
        // Each event is freed once read, so its memory serves the rows that follow.
        for (const EventProperties &e : events) {
            readEvent(e);
            icalcomponent_remove_component(cal, e.component);
            icalcomponent_free(e.component);
        }
        for (icalcomponent *c : todos)
            readTodo(c);
    }

    // X-LIC-ERROR properties met so far.
    int errors() const { return m_errors; }

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
        return zoned(icalproperty_get_datetime_with_component(p, c), p, c);
    }

    // `t`, a value of property `p` of `c`, in local time; a time that libical left without a
    // zone takes the zone the property's TZID names.
    std::optional<SerialDateTime> zoned(icaltimetype t, icalproperty *p, icalcomponent *c)
    {
        if (!t.zone && !t.is_date)
            if (icalparameter *tzid = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER)) {
                const icaltimezone *zone = zoneNamed(icalparameter_get_tzid(tzid), c);
                if (!zone) skip(QStringLiteral("unknown time zones, read as local time"));
                t = icaltime_set_timezone(&t, zone);
            }
        return toLocal(t);
    }

    // The zone a TZID names: a VTIMEZONE of the calendar, libical's zone of that name, or the
    // zone a Windows zone name ("W. Europe Standard Time") stands for; nullptr for none.
    static const icaltimezone *zoneNamed(const char *tzid, icalcomponent *c)
    {
        if (!tzid) return nullptr;
        icalcomponent *cal = icalcomponent_get_parent(c);
        if (icaltimezone *z = cal ? icalcomponent_get_timezone(cal, tzid) : nullptr) return z;
        if (icaltimezone *z = icaltimezone_get_builtin_timezone_from_tzid(tzid)) return z;
        if (icaltimezone *z = icaltimezone_get_builtin_timezone(tzid)) return z;
        const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(QByteArray(tzid));
        return iana.isEmpty() ? nullptr : icaltimezone_get_builtin_timezone(iana.constData());
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

    static QString uidOf(const EventProperties &e)
    {
        return e.uid ? textOf(icalproperty_get_uid(e.uid)) : QString();
    }

    void readEvent(const EventProperties &e)
    {
        icalcomponent *c = e.component;
        if (e.status && icalproperty_get_status(e.status) == ICAL_STATUS_CANCELLED) {
            skip(QStringLiteral("cancelled events"));
            return;
        }
        const icaltimetype startIcal =
            e.start ? icalproperty_get_datetime_with_component(e.start, c) : icaltime_null_time();
        const auto start = e.start ? localTimeOf(e.start, c) : std::nullopt;
        if (!start) {
            skip(QStringLiteral("events without a valid start"));
            return;
        }
        const bool allDay = startIcal.is_date;
        SerialDateTime end = *start;
        if (e.end) {
            end = localTimeOf(e.end, c).value_or(*start);
        } else if (e.duration) {
            end = *start + icaldurationtype_as_int(icalproperty_get_duration(e.duration)) / 86400.0;
        } else if (allDay) {
            end = *start + 1;
        }
        if (DateTimeValue::toMs(end) < DateTimeValue::toMs(*start)) end = *start;

        EventRow row;
        row[EventField::AllDay] = allDay;
        row[EventField::Subject] =
            (e.summary ? textOf(icalproperty_get_summary(e.summary)) : QString()).left(256);
        row[EventField::Description] =
            e.description ? textOf(icalproperty_get_description(e.description)) : QString();
        row[EventField::StartTime] = *start;
        row[EventField::EndTime] = end;
        row[EventField::Recurring] = false;
        const std::optional<Alarm> alarm = alarmOf(c, *start, end);
        row[EventField::AlarmAdvance] = alarm ? alarm->advance : 0;
        row[EventField::AlarmAdvanceUnit] = alarm ? alarm->unit : 1;
        const EventRow single = row;

        std::vector<icalrecurrencetype> rules;
        for (icalproperty *p : e.rules) {
            const icalrecurrencetype r = icalproperty_get_rrule(p);
            if (r.freq == ICAL_NO_RECURRENCE)
                skip(QStringLiteral("recurrence rules libical cannot read"));
            else
                rules.push_back(r);
        }
        if (e.recurrenceId) {
            if (icalparameter *range =
                    icalproperty_get_first_parameter(e.recurrenceId, ICAL_RANGE_PARAMETER);
                range && icalparameter_get_range(range) == ICAL_RANGE_THISANDFUTURE)
                skip(QStringLiteral("changes to later occurrences, applied to one only"));
            rules.clear();
        }

        std::vector<int> exceptions;
        for (icalproperty *p : e.exceptions)
            if (const auto day = localTimeOf(p, c))
                exceptions.push_back(DateTimeValue::dayOf(*day));
        if (!e.recurrenceId)
            for (int day : m_overridden.value(uidOf(e)))
                exceptions.push_back(day);
        std::sort(exceptions.begin(), exceptions.end());
        exceptions.erase(std::unique(exceptions.begin(), exceptions.end()), exceptions.end());
        const std::vector<ExtraDate> extraDates =
            e.recurrenceId ? std::vector<ExtraDate>{} : extraDatesOf(e, *start, end, exceptions);

        if (rules.empty()) {
            // DTSTART and the RDATEs are the occurrences; an EXDATE may remove DTSTART.
            if (e.extraDates.empty() || !excepted(exceptions, *start)) {
                row[EventField::AlarmSet] = alarm && alarmAhead(*start, *alarm);
                m_out.events.append(row);
            }
            std::vector<ExtraDate> others;
            for (const ExtraDate &d : extraDates)
                if (DateTimeValue::toMs(d.start) != DateTimeValue::toMs(*start))
                    others.push_back(d);
            return addSingles(single, others, alarm);
        }

        if (rules.size() == 1 && followsLocalTime(startIcal.zone, DateTimeValue::dayOf(*start))) {
            std::optional<int> untilDay;
            if (!icaltime_is_null_time(rules[0].until))
                untilDay = lastStartDay(rules[0].until, startIcal, *start);
            auto rule = IcsRules::ruleOf(rules[0], *start, end, untilDay);
            // A rule with a longer interval whose DTSTART it does not name starts on the first
            // occurrence libical finds, so the weeks or months are counted as libical counts them.
            if (!rule) {
                if (const auto first = firstOccurrence(rules[0], startIcal);
                    first && *first > *start)
                    rule =
                        IcsRules::ruleOf(rules[0], *first, shifted(end, *start, *first), untilDay);
            }
            if (rule) {
                rule->exceptionDays = exceptions;
                RecurrenceColumns::writeRule(*rule, row);
                row[EventField::Recurring] = true;
                row[EventField::AlarmSet] = alarm.has_value();
                m_out.events.append(row);
                ++m_out.recurringEvents;
                std::vector<ExtraDate> others;
                for (const ExtraDate &d : extraDates)
                    if (!occursAt(*rule, d.start)) others.push_back(d);
                return addSingles(single, others, alarm);
            }
        }
        expand(single, rules, startIcal, *start, end, exceptions, extraDates, alarm);
    }

    // An RDATE occurrence: its local start and end.
    struct ExtraDate {
        SerialDateTime start = 0;
        SerialDateTime end = 0;
        bool operator<(const ExtraDate &o) const
        {
            return DateTimeValue::toMs(start) < DateTimeValue::toMs(o.start);
        }
    };

    static bool excepted(const std::vector<int> &exceptions, SerialDateTime start)
    {
        return std::binary_search(exceptions.begin(), exceptions.end(),
                                  DateTimeValue::dayOf(start));
    }

    // The event's RDATE values, as long as the event itself unless a PERIOD says otherwise,
    // those on exception days left out; sorted.
    std::vector<ExtraDate> extraDatesOf(const EventProperties &e, SerialDateTime start,
                                        SerialDateTime end, const std::vector<int> &exceptions)
    {
        std::vector<ExtraDate> out;
        for (icalproperty *p : e.extraDates) {
            const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
            icaltimetype from = value.time;
            std::optional<SerialDateTime> until;
            if (icaltime_is_null_time(from)) {
                from = value.period.start;
                if (!icaltime_is_null_time(value.period.end))
                    until = zoned(value.period.end, p, e.component);
                else if (!icaldurationtype_is_null_duration(value.period.duration))
                    if (const auto s = zoned(from, p, e.component))
                        until = *s + icaldurationtype_as_int(value.period.duration) / 86400.0;
            }
            const auto s = zoned(from, p, e.component);
            if (!s) {
                skip(QStringLiteral("extra dates (RDATE) libical cannot read"));
                continue;
            }
            if (excepted(exceptions, *s)) continue;
            const SerialDateTime last = until.value_or(shifted(end, start, *s));
            out.push_back({*s, DateTimeValue::toMs(last) < DateTimeValue::toMs(*s) ? *s : last});
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    // Whether the rule has an occurrence starting at `start` (day and time of day).
    static bool occursAt(const RecurrenceRule &rule, SerialDateTime start)
    {
        const int day = DateTimeValue::dayOf(start);
        if (minutesBetween(rule.startTime - DateTimeValue::dayOf(rule.startTime), start - day) != 0)
            return false;
        std::vector<int> days;
        return expandOccurrenceDays(rule, day + rule.extraDays, day + 1, 1, days) == 1;
    }

    // Each extra date as a one-time event with the master's text and alarm.
    void addSingles(const EventRow &master, const std::vector<ExtraDate> &dates,
                    const std::optional<Alarm> &alarm)
    {
        for (const ExtraDate &d : dates) {
            EventRow row = master;
            row[EventField::StartTime] = d.start;
            row[EventField::EndTime] = d.end;
            row[EventField::AlarmSet] = alarm && alarmAhead(d.start, *alarm);
            m_out.events.append(row);
        }
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
    // The extra dates that are no such occurrence are added as they are.
    void expand(const EventRow &master, const std::vector<icalrecurrencetype> &rules,
                const icaltimetype &startIcal, SerialDateTime start, SerialDateTime end,
                const std::vector<int> &exceptions, const std::vector<ExtraDate> &extraDates,
                const std::optional<Alarm> &alarm)
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
        std::vector<ExtraDate> singles;
        for (SerialDateTime s : starts)
            singles.push_back({s, shifted(end, start, s)});
        for (const ExtraDate &d : extraDates)
            if (!std::binary_search(starts.begin(), starts.end(), d.start)) singles.push_back(d);
        if (singles.empty()) {
            skip(QStringLiteral("recurring events without an occurrence"));
            return;
        }
        addSingles(master, singles, alarm);
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
    int m_errors = 0;
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
    int errors = reader.errors();
    if (icalcomponent_isa(root.get()) != ICAL_VCALENDAR_COMPONENT) {
        errors += ownErrors(root.get());
        for (icalcomponent *c = icalcomponent_get_first_component(root.get(), ICAL_ANY_COMPONENT);
             c; c = icalcomponent_get_next_component(root.get(), ICAL_ANY_COMPONENT))
            if (icalcomponent_isa(c) != ICAL_VCALENDAR_COMPONENT)
                errors += icalcomponent_count_errors(c);
    }
    if (errors > 0) content.skipped.append(QStringLiteral("damaged lines (%1)").arg(errors));
    return content;
}

} // namespace IcsReader
