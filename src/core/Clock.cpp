#include "core/Clock.h"

QDateTime Clock::now() const
{
    if (m_fixed) return *m_fixed;
    return QDateTime::currentDateTime();
}

SerialDateTime Clock::nowValue() const
{
    return DateTimeValue::fromQDateTime(now());
}

SerialDateTime Clock::today() const
{
    return DateTimeValue::fromQDate(now().date());
}

void Clock::advanceSeconds(qint64 s)
{
    if (m_fixed) m_fixed = m_fixed->addSecs(s);
}
