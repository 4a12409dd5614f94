#pragma once
// The dialog in which the user creates or edits one event: dates and times or all day, the
// alarm and its advance, the layer, subject and description, and whether and how it recurs.
// The caller prepares it (prepareNew, prepareExisting) and runs it; nothing reaches the events
// store until OK, which writes the event the dialog was opened on (by its id) or inserts the new
// one. The rule of a recurring event is edited in the RecurrenceEditor this dialog owns.
//
// Working values: start and end (for an all-day event the end is the midnight after its last
// day; for a recurring one they are the rule's startTime and endTime), the alarm, whether the
// event recurs with its rule, and whether its exception days are kept.
#include "core/AlarmAdvanceText.h"
#include "core/DateTimeValue.h"
#include "dialogs/DialogPrompts.h"
#include "store/RecurrenceRule.h"

#include <QDialog>
#include <optional>

class Clock;
class DateBox;
class DatePopup;
class DateTimeFormat;
class DialogPanel;
class EventsStore;
class LayersStore;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class RecurrenceEditor;
class Settings;
class TimeBox;

class EventEditor : public QDialog
{
    Q_OBJECT
public:
    static constexpr int SubjectLength = 256;
    static constexpr int MinimumWidth = 500;
    static constexpr int MinimumHeight = 437;

    // The references must outlive the dialog; the settings give the drop-down calendars'
    // first day of the week, the clock their today.
    EventEditor(EventsStore &events, const LayersStore &layers, const DateTimeFormat &format,
                const Clock &clock, const Settings &settings, DialogPrompts prompts,
                QWidget *parent);

    // A new one-time event from `start` to `end` with `subject`, in the layer with id `layerId`
    // (the layer at position 1 when there is no such layer), alarm off, advance 15 minutes.
    void prepareNew(SerialDateTime start, SerialDateTime end, const QString &subject, int layerId);
    // The event with this id as stored; false, leaving the dialog as it was, when there is none.
    [[nodiscard]] bool prepareExisting(int id);

    // The event the dialog was prepared for; -1 for a new event.
    int eventId() const { return m_id; }
    // The id OK wrote (the new event's id for a new event); -1 until an OK wrote one.
    int savedId() const { return m_savedId; }

    SerialDateTime startTime() const { return m_start; }
    SerialDateTime endTime() const { return m_end; }
    bool isRecurring() const { return m_recurring; }
    const RecurrenceRule &rule() const { return m_rule; }
    RecurrenceEditor &recurrenceEditor() const { return *m_recurrenceEditor; }

    // Showing puts the cursor at the end of the subject, nothing selected.
    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    DialogPanel *buildTimePanel();
    // The load step: shows the working values in the controls.
    void loadEvent();
    void showStart();
    void showEnd();
    void showAlarm();
    void selectLayer(int layerId);

    void startDateEntered();
    void endDateEntered();
    void startTimeApplied(SerialDateTime t);
    void endTimeApplied(SerialDateTime t);
    void allDayClicked(bool on);
    // Reads the alarm box; false (after "Invalid Time") when its text is refused, the box then
    // showing the last accepted advance again.
    bool applyAdvance();
    // Applies the date, time or alarm box that has the focus as leaving it would; false when
    // its text was refused.
    bool applyFocusedBox();

    void editPattern(bool existingRule);
    void acceptEvent();

    EventsStore &m_events;
    const LayersStore &m_layers;
    const DateTimeFormat &m_format;
    DialogPrompts m_prompts;

    int m_id = -1;
    int m_savedId = -1;
    SerialDateTime m_start = 0;
    SerialDateTime m_end = 0;
    bool m_allDayStored = false;
    bool m_alarmSet = false;
    AlarmAdvance m_advance;
    bool m_recurring = false;
    RecurrenceRule m_rule;
    bool m_keepExceptions = false;

    QStackedWidget *m_timePages = nullptr;
    DateBox *m_startDate = nullptr;
    DateBox *m_endDate = nullptr;
    TimeBox *m_startTime = nullptr;
    TimeBox *m_endTime = nullptr;
    QCheckBox *m_allDay = nullptr;
    QPushButton *m_makeRecurring = nullptr;
    QLabel *m_summary = nullptr;
    QPushButton *m_editPattern = nullptr;
    QLabel *m_exceptionsLabel = nullptr;
    QPushButton *m_removeExceptions = nullptr;
    QCheckBox *m_alarmOn = nullptr;
    QComboBox *m_alarmBox = nullptr;
    QComboBox *m_layerBox = nullptr;
    QLineEdit *m_subject = nullptr;
    QPlainTextEdit *m_description = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    RecurrenceEditor *m_recurrenceEditor = nullptr;
    DatePopup *m_datePopup = nullptr;
};
