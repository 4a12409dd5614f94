#pragma once
// The one source of "now" and "today". Everything that needs the current time asks a Clock
// handed in by constructor; tests fix the time instead of waiting for it.
#include "core/DateTimeValue.h"

#include <QDateTime>
#include <optional>

class Clock
{
public:
    // Local wall-clock time: the fixed time when one is set, else the system's.
    QDateTime now() const;
    SerialDateTime nowValue() const;
    // Day number of now() as a date-time value (time part 0).
    SerialDateTime today() const;

    void setFixed(const QDateTime &t) { m_fixed = t; }
    void advanceSeconds(qint64 s);
    void clearFixed() { m_fixed.reset(); }
    bool isFixed() const { return m_fixed.has_value(); }

private:
    std::optional<QDateTime> m_fixed;
};
