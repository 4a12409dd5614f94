#pragma once
// The dialog in which the user makes an event recur, changes its rule or removes the
// recurrence. It works on a RecurrenceRule value and never touches a store: the event editor
// prepares it, runs it and takes result() when it was accepted.
//
// Working values: the begin (its day is the rule's first day, its time when every occurrence
// starts), the end (its day is the rule's last day when it ends on a date, its time when every
// occurrence ends), the days an occurrence lasts past its start day and the exception days.
// Nothing typed reaches result() until OK has checked every field.
#include "core/DateTimeValue.h"
#include "dialogs/DialogPrompts.h"
#include "store/RecurrenceRule.h"

#include <QDialog>
#include <array>
#include <optional>

class Clock;
class DateBox;
class DatePopup;
class DateTimeFormat;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class Settings;
class TimeBox;

class RecurrenceEditor : public QDialog
{
    Q_OBJECT
public:
    static constexpr int NumberLength = 3;
    // Days an occurrence may last past its start day: 0 to MaxDaysAfter.
    static constexpr int MaxDaysAfter = 999;
    // How far "Never ends" puts the end of the recurrence past the end chosen, in days.
    static constexpr int NeverEndsDays = 100000;

    // The references must outlive the dialog; the settings give the drop-down calendars'
    // first day of the week, the clock their today.
    RecurrenceEditor(const DateTimeFormat &format, const Clock &clock, const Settings &settings,
                     DialogPrompts prompts, QWidget *parent);

    // Prepares the dialog for an event that does not recur yet, from `start` to `end`: a daily
    // rule every day from the start's day, never ending, the days after from the days between
    // start and end, every other pattern's controls set from the start's day. Remove disabled.
    void prepareNew(SerialDateTime start, SerialDateTime end);
    // Prepares the dialog for the stored `rule` of a recurring event (its startTime, endTime,
    // extraDays and exception days included). Remove enabled.
    void prepareExisting(const RecurrenceRule &rule);

    enum class Outcome { Cancelled, RuleSet, Removed };
    Outcome outcome() const { return m_outcome; }
    // RuleSet: the checked rule; its startTime is the event's start and its endTime the event's
    // end as stored for a recurring event (the end of the recurrence plus the occurrences' end
    // time). Removed: startTime and endTime of the event that no longer recurs; the other
    // members are those prepared. Cancelled: what was prepared.
    const RecurrenceRule &result() const { return m_result; }

    // Days after as the box shows them: "same day", "1 day after", "N days after".
    static QString daysAfterText(int days);
    // The days the box's text names: 0 for "same day", else the first run of digits when it is
    // below 1000; nullopt for anything else.
    static std::optional<int> readDaysAfter(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QWidget *buildDailyPage();
    QWidget *buildWeeklyPage();
    QWidget *buildMonthlyPage();
    QWidget *buildYearlyPage();
    // Typing into `edit` or choosing in `box` checks `owner`.
    void ownedBy(QLineEdit *edit, QAbstractButton *owner);
    void ownedBy(QComboBox *box, QAbstractButton *owner);
    void showPattern(int index);
    void fillFromStart(SerialDateTime start);
    void showTimes();
    void showDates();
    void showExceptions();

    void startTimeApplied(SerialDateTime t);
    void endTimeApplied(SerialDateTime t);
    // Reads the days-after box; false (after "Invalid Number") when it names no days.
    bool applyDaysAfter();
    void beginDateEntered();
    void endDateEntered();
    // Applies the date, time or days box that has the focus, as leaving it would; false when
    // its text was refused.
    bool applyFocusedBox();
    void keepTimesInOrder(bool startMoved);

    void acceptRule();
    void removeRecurrence();
    // The rule the controls describe, checked; nullopt after the warning when a field is not
    // legal, or silently when the user cancelled a confirmation.
    std::optional<RecurrenceRule> checkedRule();

    const DateTimeFormat &m_format;
    DialogPrompts m_prompts;

    SerialDateTime m_begin = 0;
    SerialDateTime m_end = 0;
    int m_daysAfter = 0;
    std::vector<int> m_exceptionDays;
    Outcome m_outcome = Outcome::Cancelled;
    RecurrenceRule m_result;

    TimeBox *m_startTime = nullptr;
    TimeBox *m_endTime = nullptr;
    QComboBox *m_daysAfterBox = nullptr;

    std::array<QRadioButton *, 4> m_patternButtons{};
    QStackedWidget *m_patternPages = nullptr;

    QRadioButton *m_everyNDays = nullptr;
    QLineEdit *m_dayInterval = nullptr;
    QRadioButton *m_everyWorkday = nullptr;

    QLineEdit *m_weekInterval = nullptr;
    std::array<QCheckBox *, 7> m_weekdayBoxes{};

    QRadioButton *m_monthDay = nullptr;
    QLineEdit *m_monthDayOfMonth = nullptr;
    QLineEdit *m_monthDayInterval = nullptr;
    QRadioButton *m_monthNth = nullptr;
    QComboBox *m_monthOrdinal = nullptr;
    QComboBox *m_monthKind = nullptr;
    QLineEdit *m_monthNthInterval = nullptr;

    QRadioButton *m_yearFixed = nullptr;
    QComboBox *m_yearFixedMonth = nullptr;
    QLineEdit *m_yearDayOfMonth = nullptr;
    QRadioButton *m_yearNth = nullptr;
    QComboBox *m_yearOrdinal = nullptr;
    QComboBox *m_yearKind = nullptr;
    QComboBox *m_yearNthMonth = nullptr;

    DateBox *m_beginDate = nullptr;
    DateBox *m_endDate = nullptr;
    QRadioButton *m_endsOnDate = nullptr;
    QRadioButton *m_endsAfter = nullptr;
    QLineEdit *m_count = nullptr;
    QRadioButton *m_neverEnds = nullptr;

    QListWidget *m_exceptionList = nullptr;
    QPushButton *m_removeExceptions = nullptr;

    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_remove = nullptr;
    DatePopup *m_datePopup = nullptr;
};
