#include "core/DateTimeFormat.h"

#include "core/DatePattern.h"
#include "core/LocalePattern.h"

#include <algorithm>

namespace
{

// Reduces the first "mmmm", else the first "mmm" (any case), to "mm".
QString reduceMonthNames(QString p)
{
    for (const QStringView token : {QStringView(u"mmmm"), QStringView(u"mmm")}) {
        const qsizetype at = p.indexOf(token, 0, Qt::CaseInsensitive);
        if (at >= 0) return p.replace(at, token.size(), QStringLiteral("mm"));
    }
    return p;
}

// Replaces every unquoted occurrence of a character by the given text.
QString replaceUnquoted(QStringView p, QChar from, QStringView to)
{
    QString out;
    QChar quote;
    for (QChar c : p) {
        if (!quote.isNull()) {
            out += c;
            if (c == quote) quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            out += c;
            quote = c;
        } else if (c == from) {
            out += to;
        } else {
            out += c;
        }
    }
    return out;
}

// Order of the first day, month and year tokens outside quotes; parts the pattern lacks
// follow in the order year, month, day.
std::array<int, 3> orderOfAppearance(QStringView p)
{
    qsizetype pos[4] = {0, -1, -1, -1};
    QChar quote;
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
            continue;
        }
        const char16_t l = c.toLower().unicode();
        const int part = l == u'y'   ? DateTimeFormat::Year
                         : l == u'm' ? DateTimeFormat::Month
                         : l == u'd' ? DateTimeFormat::Day
                                     : DateTimeFormat::None;
        if (part != DateTimeFormat::None && pos[part] < 0) pos[part] = i;
    }
    std::array<int, 3> order{DateTimeFormat::Year, DateTimeFormat::Month, DateTimeFormat::Day};
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const qsizetype pa = pos[a] < 0 ? p.size() : pos[a];
        const qsizetype pb = pos[b] < 0 ? p.size() : pos[b];
        return pa < pb;
    });
    return order;
}

QString joined(QStringView a, QStringView b, QStringView c, const QString &separator)
{
    QString out = a.toString();
    out += separator;
    out += b;
    out += separator;
    out += c;
    return out;
}

QChar separatorChoice(int value, QChar system, std::array<char16_t, 4> choices)
{
    if (value >= 1 && value <= 4) return QChar(choices[std::size_t(value - 1)]);
    return system;
}

} // namespace

DateTimeFormat::DateTimeFormat(const QLocale &locale)
{
    const QString qtDate = locale.dateFormat(QLocale::ShortFormat);
    const QString qtLongTime = locale.timeFormat(QLocale::LongFormat);
    const QString qtShortTime = locale.timeFormat(QLocale::ShortFormat);

    m_systemDateFormat = reduceMonthNames(LocalePattern::fromQtDatePattern(qtDate));
    m_systemTimeFormat = LocalePattern::fromQtTimePattern(qtLongTime);
    m_systemDateSeparator = LocalePattern::dateSeparatorOf(qtDate);
    m_systemTimeSeparator = LocalePattern::timeSeparatorOf(qtShortTime);
    if (m_systemTimeSeparator.isNull())
        m_systemTimeSeparator = LocalePattern::timeSeparatorOf(qtLongTime);
    if (m_systemTimeSeparator.isNull()) m_systemTimeSeparator = u':';

    buildDateFormat(0, 0);
    buildTimeFormat(0, 0);
}

bool DateTimeFormat::monthBeforeDay() const
{
    return m_dateOrder[0] == Month ||
           (m_dateOrder[0] == Year && m_dateOrder[1] == Month && m_dateOrder[2] == Day);
}

void DateTimeFormat::buildDateFormat(int dateFormat, int dateSeparator)
{
    m_dateSeparatorChar =
        separatorChoice(dateSeparator, m_systemDateSeparator, {u'-', u'/', u'.', u':'});
    const QString s = DatePattern::separatorText(m_dateSeparatorChar);

    switch (dateFormat) {
    case 1:
        m_dateFormatString = joined(u"m", u"d", u"yyyy", s);
        m_dateOrder = {Month, Day, Year};
        break;
    case 2:
        m_dateFormatString = joined(u"d", u"m", u"yyyy", s);
        m_dateOrder = {Day, Month, Year};
        break;
    case 3:
        m_dateFormatString = joined(u"yyyy", u"m", u"d", s);
        m_dateOrder = {Year, Month, Day};
        break;
    case 4:
        m_dateFormatString = joined(u"mm", u"dd", u"yyyy", s);
        m_dateOrder = {Month, Day, Year};
        break;
    case 5:
        m_dateFormatString = joined(u"dd", u"mm", u"yyyy", s);
        m_dateOrder = {Day, Month, Year};
        break;
    case 6:
        m_dateFormatString = joined(u"yyyy", u"mm", u"dd", s);
        m_dateOrder = {Year, Month, Day};
        break;
    default: {
        m_dateFormatString = replaceUnquoted(m_systemDateFormat, m_systemDateSeparator, s);
        const QString p = m_dateFormatString;
        const QChar first = p.isEmpty() ? QChar() : p.front().toLower();
        const QChar last = p.isEmpty() ? QChar() : p.back().toLower();
        if (first == u'y' && last == u'm')
            m_dateOrder = {Year, Day, Month};
        else if (first == u'y' && last == u'd')
            m_dateOrder = {Year, Month, Day};
        else if (first == u'm' && last == u'y')
            m_dateOrder = {Month, Day, Year};
        else if (first == u'm' && last == u'd')
            m_dateOrder = {Month, Year, Day};
        else if (first == u'd' && last == u'y')
            m_dateOrder = {Day, Month, Year};
        else if (first == u'd' && last == u'm')
            m_dateOrder = {Day, Year, Month};
        else
            m_dateOrder = orderOfAppearance(p);
        break;
    }
    }
}

void DateTimeFormat::buildTimeFormat(int timeFormat, int timeSeparator)
{
    if (timeFormat == 0)
        m_twelveHour = DatePattern::hasAmPm(m_systemTimeFormat);
    else
        m_twelveHour = timeFormat == 1;

    m_timeSeparatorChar =
        separatorChoice(timeSeparator, m_systemTimeSeparator, {u':', u'-', u'/', u'.'});
    const QString t = DatePattern::separatorText(m_timeSeparatorChar);
    m_timeFormatString = QStringLiteral("hh") + t + QStringLiteral("mm");
    if (m_twelveHour) m_timeFormatString += QStringLiteral(" AM/PM");

    m_timeItemList.clear();
    QStringList quoted;
    for (int half = 0; half < 48; ++half) {
        const int hour = half / 2;
        const int shownHour = m_twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
        QString entry = QString::number(shownHour).rightJustified(2, u'0');
        entry += m_timeSeparatorChar;
        entry += half % 2 ? QStringLiteral("30") : QStringLiteral("00");
        if (m_twelveHour) entry += hour < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM");
        m_timeItemList += entry;
        quoted += entry.contains(u' ') ? u'"' + entry + u'"' : entry;
    }
    m_timeItems = quoted.join(u',');
}
