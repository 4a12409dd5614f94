#include "dialogs/TimeBox.h"

#include "core/DateTextHelpers.h"
#include "core/DateTimeFormat.h"

#include <QLineEdit>

TimeBox::TimeBox(const DateTimeFormat &format, QWidget *parent)
    : QComboBox(parent), m_format(format)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    addItems(m_format.timeItemList());
    setTime(0);
    connect(lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (window()->isVisible()) apply();
    });
    connect(this, &QComboBox::activated, this, [this] { apply(); });
}

void TimeBox::setTime(SerialDateTime value)
{
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
