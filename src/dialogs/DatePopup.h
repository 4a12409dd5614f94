#pragma once
// The drop-down month calendar of a date box: arrows for the previous and next month and year
// with the month and year between them, the weekday letters from the configured start of the
// week, the navigator calendar, and a "Today: " button. Every change of its date is reported
// at once (datePicked); releasing the mouse on a day or choosing today closes it, and so does
// a press anywhere outside it.
#include "core/DateTimeValue.h"

#include <QFrame>
#include <array>
#include <functional>

class Clock;
class DateBox;
class QToolButton;
class DateTimeFormat;
class FlatButton;
class NavigatorCalendar;
class QLabel;
class Settings;

class DatePopup : public QFrame
{
    Q_OBJECT
public:
    static constexpr int Width = 142;
    static constexpr int Height = 152;

    // The references must outlive the popup.
    DatePopup(const Clock &clock, const Settings &settings, const DateTimeFormat &format,
              QWidget *parent);

    // Opens under `anchor` on the day of `date`.
    void openUnder(QWidget *anchor, SerialDateTime date);
    NavigatorCalendar &calendar() const { return *m_calendar; }

    // A drop-down button for `box` (a child of the box's parent): it opens the popup under the
    // box on the day current() gives; each day picked is put into the box and `entered` runs,
    // as when a date is typed there.
    QToolButton *dropButtonFor(DateBox *box, std::function<SerialDateTime()> current,
                               std::function<void()> entered);

signals:
    void datePicked(SerialDateTime day);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showMonth();

    const Clock &m_clock;
    const Settings &m_settings;
    const DateTimeFormat &m_format;
    NavigatorCalendar *m_calendar = nullptr;
    QLabel *m_monthLabel = nullptr;
    QLabel *m_yearLabel = nullptr;
    std::array<QLabel *, 7> m_dayLetters{};
    FlatButton *m_todayButton = nullptr;
    DateBox *m_target = nullptr; // the box the open popup picks for
    std::function<void()> m_entered;
};
