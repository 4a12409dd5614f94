#pragma once
// Calendar-file tests: the occurrences a store shows over a span of days, and the same list
// computed straight from a calendar file with libical's own iteration, for comparison.
#include "CalendarStores.h"
#include "store/IcsImport.h"

#include <libical/ical.h>

#include <QFile>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <tuple>
#include <vector>

namespace IcsTest
{

inline const char *const LocalZone = "Europe/Berlin";

// The tests' "now" and the two years they compare: 2024 and 2025.
inline const QDateTime NewYear2024(QDate(2024, 1, 1), QTime(0, 0));
inline const int FirstDay = int(DateTimeValue::fromQDate(QDate(2024, 1, 1)));
inline const int EndDay = int(DateTimeValue::fromQDate(QDate(2026, 1, 1)));

inline SerialDateTime at(int y, int m, int d, int h = 0, int min = 0)
{
    return DateTimeValue::fromQDateTime(QDateTime(QDate(y, m, d), QTime(h, min)));
}

inline QString dataFile(const QString &name)
{
    return QStringLiteral(DAYLOOM_SOURCE_DIR "/tests/data/ics/") + name;
}

inline QByteArray readData(const QString &name)
{
    QFile f(dataFile(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return f.readAll();
}

inline const QStringList &goodFiles()
{
    static const QStringList files = {"timezones.ics",  "allday.ics", "weekly-exdate.ics",
                                      "monthly.ics",    "yearly.ics", "overrides.ics",
                                      "alarms.ics",     "todos.ics",  "unsynchronized.ics",
                                      "extra-dates.ics"};
    return files;
}

inline IcsReader::Options options(const CalendarTest::Calendar &cal)
{
    return {LocalZone, DateTimeValue::fromQDateTime(cal.clock.now())};
}

// One occurrence: subject, start and end in whole minutes of local time.
struct Occurrence {
    QString subject;
    qint64 start = 0;
    qint64 end = 0;
    auto operator<=>(const Occurrence &o) const
    {
        return std::tie(start, end, subject) <=> std::tie(o.start, o.end, o.subject);
    }
    bool operator==(const Occurrence &) const = default;
};

inline qint64 minutes(SerialDateTime t)
{
    return DateTimeValue::toMs(t) / 60000;
}

inline std::ostream &operator<<(std::ostream &os, const Occurrence &o)
{
    return os << o.subject.toStdString() << " "
              << DateTimeValue::toQDateTime(DateTimeValue::fromMs(o.start * 60000))
                     .toString(Qt::ISODate)
                     .toStdString()
              << " .. "
              << DateTimeValue::toQDateTime(DateTimeValue::fromMs(o.end * 60000))
                     .toString(Qt::ISODate)
                     .toStdString();
}

// The occurrences starting on the days [firstDay, endDay) of every event of `layer` (every
// layer when 0), sorted.
inline std::vector<Occurrence> storeOccurrences(const EventsStore &events, int firstDay, int endDay,
                                                int layer = 0)
{
    std::vector<Occurrence> out;
    events.forEachEvent([&](const EventRow &row) {
        if (layer != 0 && row.layer() != layer) return;
        if (!row.isRecurring()) {
            const int day = DateTimeValue::dayOf(row.startTime());
            if (day >= firstDay && day < endDay)
                out.push_back({row.subject(), minutes(row.startTime()), minutes(row.endTime())});
            return;
        }
        const RecurrenceRule rule = RecurrenceColumns::readRule(row);
        std::vector<int> days;
        expandOccurrenceDays(rule, firstDay + rule.extraDays, endDay, 1 << 20, days);
        const SerialDateTime startTime = rule.startTime - DateTimeValue::dayOf(rule.startTime);
        const SerialDateTime endTime = rule.endTime - DateTimeValue::dayOf(rule.endTime);
        for (int d : days)
            out.push_back(
                {row.subject(), minutes(d + startTime), minutes(d + rule.extraDays + endTime)});
    });
    std::sort(out.begin(), out.end());
    return out;
}

inline SerialDateTime localOf(icaltimetype t, icaltimezone *zone)
{
    if (!t.is_date && t.zone) t = icaltime_convert_to_zone(t, zone);
    SerialDateTime v = DateTimeValue::encodeDate(t.year, t.month, t.day);
    if (!t.is_date) v += DateTimeValue::encodeTime(t.hour, t.minute, t.second);
    return v;
}

// The occurrences libical itself finds in the file over [firstDay, endDay) in the local zone:
// every RRULE iterated from DTSTART, RDATEs added, EXDATEs and overridden occurrences left out,
// overrides and one-time events as they are, cancelled ones left out.
inline std::vector<Occurrence> libicalOccurrences(const QByteArray &bytes, int firstDay, int endDay)
{
    std::vector<Occurrence> out;
    icalcomponent *root = icalparser_parse_string(bytes.constData());
    icaltimezone *local = icaltimezone_get_builtin_timezone(LocalZone);
    std::vector<icalcomponent *> events;
    for (icalcomponent *c = icalcomponent_get_first_component(root, ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(root, ICAL_VEVENT_COMPONENT))
        events.push_back(c);
    QMap<QString, QSet<int>> overridden;
    for (icalcomponent *c : events)
        if (icalproperty *p = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
            overridden[QString::fromUtf8(icalcomponent_get_uid(c))].insert(DateTimeValue::dayOf(
                localOf(icalproperty_get_datetime_with_component(p, c), local)));
    for (icalcomponent *c : events) {
        if (icalcomponent_get_status(c) == ICAL_STATUS_CANCELLED) continue;
        icalproperty *sp = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
        const icaltimetype dtstart = icalproperty_get_datetime_with_component(sp, c);
        const SerialDateTime start = localOf(dtstart, local);
        SerialDateTime end = start + (dtstart.is_date ? 1 : 0);
        if (icalproperty *ep = icalcomponent_get_first_property(c, ICAL_DTEND_PROPERTY))
            end = localOf(icalproperty_get_datetime_with_component(ep, c), local);
        else if (icalcomponent_get_first_property(c, ICAL_DURATION_PROPERTY))
            end = start + icaldurationtype_as_int(icalcomponent_get_duration(c)) / 86400.0;
        const QString subject = QString::fromUtf8(icalcomponent_get_summary(c));
        const qint64 length = minutes(end) - minutes(start);
        const auto add = [&](qint64 from, qint64 to) {
            const int day = DateTimeValue::dayOf(DateTimeValue::fromMs(from * 60000));
            if (day >= firstDay && day < endDay) out.push_back({subject, from, to});
        };
        icalproperty *rp = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY);
        if (icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY)) {
            add(minutes(start), minutes(end));
            continue;
        }
        QSet<int> skip = overridden.value(QString::fromUtf8(icalcomponent_get_uid(c)));
        for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY))
            skip.insert(DateTimeValue::dayOf(
                localOf(icalproperty_get_datetime_with_component(p, c), local)));
        // The RDATE occurrences (a PERIOD with its own end), in the zone of their TZID.
        std::vector<std::pair<qint64, qint64>> extra;
        for (icalproperty *p = icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(c, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype v = icalproperty_get_rdate(p);
            const bool period = icaltime_is_null_time(v.time);
            icaltimetype t = period ? v.period.start : v.time;
            icaltimezone *zone = nullptr;
            if (icalparameter *tz = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER))
                zone = icaltimezone_get_builtin_timezone(icalparameter_get_tzid(tz));
            if (!t.zone && !t.is_date) t = icaltime_set_timezone(&t, zone);
            const qint64 s = minutes(localOf(t, local));
            qint64 e = s + length;
            if (period && !icaltime_is_null_time(v.period.end)) {
                icaltimetype pe = v.period.end;
                if (!pe.zone) pe = icaltime_set_timezone(&pe, zone);
                e = minutes(localOf(pe, local));
            } else if (period) {
                e = s + icaldurationtype_as_int(v.period.duration) / 60;
            }
            if (!skip.contains(DateTimeValue::dayOf(DateTimeValue::fromMs(s * 60000))))
                extra.push_back({s, e});
        }
        QSet<qint64> starts;
        if (!rp) {
            if (extra.empty() || !skip.contains(DateTimeValue::dayOf(start))) {
                add(minutes(start), minutes(end));
                starts.insert(minutes(start));
            }
        } else {
            icalrecur_iterator *it = icalrecur_iterator_new(icalproperty_get_rrule(rp), dtstart);
            for (int n = 0; it && n < 100000; ++n) {
                icaltimetype t = icalrecur_iterator_next(it);
                if (icaltime_is_null_time(t)) break;
                if (!t.zone && !t.is_date) t = icaltime_set_timezone(&t, dtstart.zone);
                const SerialDateTime s = localOf(t, local);
                const int day = DateTimeValue::dayOf(s);
                if (day >= endDay) break;
                if (skip.contains(day)) continue;
                starts.insert(minutes(s));
                add(minutes(s), minutes(s) + length);
            }
            if (it) icalrecur_iterator_free(it);
        }
        for (const auto &[s, e] : extra)
            if (!starts.contains(s)) add(s, e);
    }
    icalcomponent_free(root);
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace IcsTest
