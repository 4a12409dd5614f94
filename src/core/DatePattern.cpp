#include "core/DatePattern.h"

#include "core/ViewDates.h"

namespace DatePattern
{

namespace
{

bool matchesAt(QStringView p, qsizetype i, QStringView token)
{
    return p.size() - i >= token.size() &&
           p.mid(i, token.size()).compare(token, Qt::CaseInsensitive) == 0;
}

// Length of the AM/PM token at i, 0 when there is none.
qsizetype amPmTokenAt(QStringView p, qsizetype i)
{
    if (matchesAt(p, i, u"am/pm")) return 5;
    if (matchesAt(p, i, u"ampm")) return 4;
    if (matchesAt(p, i, u"a/p")) return 3;
    return 0;
}

qsizetype runLength(QStringView p, qsizetype i)
{
    const QChar c = p[i].toLower();
    qsizetype j = i + 1;
    while (j < p.size() && p[j].toLower() == c)
        ++j;
    return j - i;
}

// Index after the closing quote of the quoted text that starts at i; text receives its body.
qsizetype skipQuoted(QStringView p, qsizetype i, QString *text)
{
    const QChar q = p[i];
    const qsizetype close = p.indexOf(q, i + 1);
    const qsizetype end = close < 0 ? p.size() : close;
    if (text) text->append(p.mid(i + 1, end - i - 1));
    return close < 0 ? p.size() : close + 1;
}

QString twoDigits(int v)
{
    return QString::number(v).rightJustified(2, u'0');
}

} // namespace

bool hasAmPm(QStringView p)
{
    qsizetype i = 0;
    while (i < p.size()) {
        if (p[i] == u'"' || p[i] == u'\'') {
            i = skipQuoted(p, i, nullptr);
            continue;
        }
        if (amPmTokenAt(p, i) > 0) return true;
        ++i;
    }
    return false;
}

QString separatorText(QChar c)
{
    if (c == u'"') return QStringLiteral("'\"'");
    if (c == u'/' || c == u':' || c == u'\'' || c.isLetter())
        return QStringLiteral("\"") + c + QStringLiteral("\"");
    return QString(c);
}

QString format(QStringView p, SerialDateTime value, QChar dateSeparator, QChar timeSeparator)
{
    const QDate date = DateTimeValue::toQDate(value);
    const int ms = DateTimeValue::msOfDay(value);
    const int hour = ms / 3600000;
    const int minute = ms / 60000 % 60;
    const int second = ms / 1000 % 60;
    const int milli = ms % 1000;
    const bool twelve = hasAmPm(p);

    QString out;
    bool afterHour = false;
    qsizetype i = 0;
    while (i < p.size()) {
        const QChar c = p[i];
        if (c == u'"' || c == u'\'') {
            i = skipQuoted(p, i, &out);
            continue;
        }
        if (c == u'/') {
            out += dateSeparator;
            ++i;
            continue;
        }
        if (c == u':') {
            out += timeSeparator;
            ++i;
            continue;
        }
        if (const qsizetype len = amPmTokenAt(p, i)) {
            const bool pm = hour >= 12;
            const bool lower = c.isLower();
            if (len == 3)
                out += lower ? (pm ? u"p" : u"a") : (pm ? u"P" : u"A");
            else if (len == 5 && lower)
                out += pm ? u"pm" : u"am";
            else
                out += pm ? u"PM" : u"AM";
            i += len;
            afterHour = false;
            continue;
        }
        if (!c.isLetter()) {
            out += c;
            ++i;
            continue;
        }
        const qsizetype run = runLength(p, i);
        switch (c.toLower().unicode()) {
        case u'd':
            if (run == 1)
                out += QString::number(date.day());
            else if (run == 2)
                out += twoDigits(date.day());
            else if (run == 3)
                out += ViewDates::ShortDayNames[std::size_t(date.dayOfWeek() % 7)];
            else
                out += ViewDates::DayNames[std::size_t(date.dayOfWeek() % 7)];
            afterHour = false;
            break;
        case u'm':
            if (afterHour && run <= 2)
                out += run == 1 ? QString::number(minute) : twoDigits(minute);
            else if (run == 1)
                out += QString::number(date.month());
            else if (run == 2)
                out += twoDigits(date.month());
            else if (run == 3)
                out += ViewDates::ShortMonthNames[std::size_t(date.month() - 1)];
            else
                out += ViewDates::MonthNames[std::size_t(date.month() - 1)];
            afterHour = false;
            break;
        case u'y':
            if (run <= 2)
                out += twoDigits(((date.year() % 100) + 100) % 100);
            else
                out += QString::number(date.year()).rightJustified(4, u'0');
            afterHour = false;
            break;
        case u'h': {
            int h = hour;
            if (twelve) {
                h = hour % 12;
                if (h == 0) h = 12;
            }
            out += run == 1 ? QString::number(h) : twoDigits(h);
            afterHour = true;
            break;
        }
        case u'n':
            out += run == 1 ? QString::number(minute) : twoDigits(minute);
            afterHour = false;
            break;
        case u's':
            out += run == 1 ? QString::number(second) : twoDigits(second);
            afterHour = false;
            break;
        case u'z':
            out +=
                run < 3 ? QString::number(milli) : QString::number(milli).rightJustified(3, u'0');
            afterHour = false;
            break;
        default:
            out += p.mid(i, run);
            break;
        }
        i += run;
    }
    return out;
}

} // namespace DatePattern
