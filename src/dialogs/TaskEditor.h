#pragma once
// The dialog in which the user creates or edits one task: subject, description, priority,
// finished, an optional alarm at a date and time, and the layer (for a top-level task only; a
// subtask lives in its tree's layer). The caller prepares it (prepareNew, prepareExisting) and
// runs it; nothing reaches the tasks store until OK, which writes the task the dialog was
// opened on (by its id) or inserts the new one. A task or parent deleted while the dialog was
// open is reported and nothing is written.
#include "core/DateTimeValue.h"
#include "dialogs/DialogPrompts.h"

#include <QDialog>

class Clock;
class DateBox;
class DatePopup;
class DateTimeFormat;
class LayersStore;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Settings;
class TasksStore;
class TimeBox;

class TaskEditor : public QDialog
{
    Q_OBJECT
public:
    static constexpr int SubjectLength = 256;
    // The alarm time a task without an alarm is stored with.
    static constexpr SerialDateTime NoAlarmTime = -10000;

    // The references must outlive the dialog.
    TaskEditor(TasksStore &tasks, const LayersStore &layers, const DateTimeFormat &format,
               const Clock &clock, const Settings &settings, DialogPrompts prompts,
               QWidget *parent);

    // A new task with `subject`, priority "Normal", alarm off at today 12:00. With `parentId`
    // -1 a top-level task in layer `layerId` (the layer at position 1 when there is none);
    // otherwise a subtask of that task in its layer, the layer box disabled. False, leaving the
    // dialog as it was, when the parent does not exist.
    [[nodiscard]] bool prepareNew(int parentId, const QString &subject, int layerId);
    // The task with this id as stored; false when there is none.
    [[nodiscard]] bool prepareExisting(int id);

    // The task the dialog was prepared for; -1 for a new task.
    int taskId() const { return m_id; }
    // The id OK wrote (the new task's id for a new task); -1 until an OK wrote one.
    int savedId() const { return m_savedId; }
    SerialDateTime alarmTime() const { return m_alarmTime; }

    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void selectLayer(int layerId);
    void showAlarm();
    void dateEntered();
    bool applyFocusedBox();
    void acceptTask();
    // Writes the dialog's values; the error text, empty when it was written.
    QString writeExisting(int layerId);
    QString insertNew(int layerId);

    TasksStore &m_tasks;
    const LayersStore &m_layers;
    const DateTimeFormat &m_format;
    const Clock &m_clock;
    DialogPrompts m_prompts;
    int m_id = -1;
    int m_parentId = -1;
    int m_savedId = -1;
    int m_loadedLayer = -1;
    SerialDateTime m_alarmTime = 0;

    QCheckBox *m_alarmOn = nullptr;
    DateBox *m_alarmDate = nullptr;
    QWidget *m_alarmDrop = nullptr;
    TimeBox *m_alarmClock = nullptr;
    QComboBox *m_layerBox = nullptr;
    QLineEdit *m_subject = nullptr;
    QPlainTextEdit *m_description = nullptr;
    QComboBox *m_priority = nullptr;
    QCheckBox *m_finished = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    DatePopup *m_datePopup = nullptr;
};
