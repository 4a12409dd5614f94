#include "dialogs/TimeBox.h"

#include "core/DateTextHelpers.h"
#include "core/DateTimeFormat.h"

#include <QLineEdit>

TimeBox::TimeBox(const DateTimeFormat &format, QWidget *parent)
    : QComboBox(parent), m_format(format)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setTime(0);
    connect(lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (window()->isVisible()) apply();
    });
    connect(this, &QComboBox::activated, this, [this] { apply(); });
}

void TimeBox::setTime(SerialDateTime value)
{
    // The list follows a change of the time format since it was last filled.
    if (m_listed != m_format.timeItemList()) {
        m_listed = m_format.timeItemList();
        clear();
        addItems(m_listed);
    }
    m_time = DateTimeValue::msOfDay(value) / double(DateTimeValue::MsPerDay);
    setEditText(timeText(m_format, m_time));
}

bool TimeBox::apply()
{
    const auto t = parseTimeText(m_format, currentText());
    if (!t) {
        setTime(m_time);
        return false;
    }
    setTime(*t);
    emit applied(m_time);
    return true;
}
