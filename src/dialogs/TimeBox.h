#pragma once
// An editable combo box for a time of day: it lists the 48 half-hour times and applies what
// the user typed or chose when the box is left, on Enter and on a choice from the list. A text
// that does not read as a time is silently replaced by the time the box held before.
#include "core/DateTimeValue.h"

#include <QComboBox>
#include <QStringList>

class DateTimeFormat;

class TimeBox : public QComboBox
{
    Q_OBJECT
public:
    TimeBox(const DateTimeFormat &format, QWidget *parent);

    // Shows the time of day of `value` (its day is ignored); the list is filled again first
    // when the format's entries changed.
    void setTime(SerialDateTime value);
    // The time of day last set or applied, in [0, 1).
    SerialDateTime time() const { return m_time; }
    // Reads the box's text: true and `applied` when it is a time, else false with the text
    // put back to time().
    bool apply();

signals:
    // A time was applied from the user's text or choice (also when it did not change).
    void applied(SerialDateTime timeOfDay);

private:
    const DateTimeFormat &m_format;
    SerialDateTime m_time = 0;
    QStringList m_listed; // the entries the list holds
};
