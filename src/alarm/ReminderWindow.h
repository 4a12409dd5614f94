#pragma once
// The reminder window of the reminder program: the due alarms it took out of "alarm.dat", one
// at a time. "Close" dismisses the alarm shown, "Snooze" hands it back to the running program
// through "snooze.dat" with the chosen snooze code; either way the next alarm follows, and the
// window closes after the last. The header "2 of 3" counts from the first alarm taken.
// Closing the window by its title bar (or Escape) dismisses the alarm shown only: the alarms
// not yet shown go back to "alarm.dat" for the next reminder. An alarm that fell due while no
// program ran carries the mark "Missed" beside its alarm time.
#include "core/DateTimeFormat.h"
#include "core/ReminderArguments.h"
#include "store/AlarmEntry.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class ReminderWindow : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 480;
    static constexpr int ClientHeight = 298;
    // The snooze list's entries; an entry's index is its snooze code.
    static QStringList snoozeChoices();
    // Chosen at first: "in 5 minutes".
    static constexpr int DefaultSnoozeCode = 2;

    // Tells the running program that "snooze.dat" changed; false when it did not answer.
    using SnoozeNotice = std::function<bool()>;

    // `dataDir` ends with "/". An empty list shows nothing (the window closes when shown).
    ReminderWindow(QList<AlarmEntry> alarms, QString dataDir, const DateTimeFormat &format,
                   SnoozeNotice notice, QWidget *parent = nullptr);

    // Takes every alarm line out of "alarm.dat" in `dataDir` (under its lock), leaving the
    // header; nullopt when the file could not be rewritten (its lines stay for a later start).
    static std::optional<QList<AlarmEntry>> takeDueAlarms(const QString &dataDir);

    // Alarms whose time lies in `missed` are marked "Missed" (nullopt: none).
    void setMissedWindow(const std::optional<MissedWindow> &missed);

    int shownIndex() const { return m_index; }
    int alarmCount() const { return int(m_alarms.size()); }
    QLabel *headerLabel() const { return m_header; }
    QLabel *subjectLabel() const { return m_subject; }
    QLabel *missedLabel() const { return m_missedMark; }
    QComboBox *snoozeList() const { return m_snoozeList; }
    QPushButton *snoozeButton() const { return m_snoozeButton; }
    QPushButton *closeButton() const { return m_closeButton; }

    // Writes the alarm shown with the chosen code to "snooze.dat" and tells the running program.
    // A failed write keeps the alarm shown and returns false.
    bool snooze();
    // Drops the alarm shown and goes on with the next.
    void dismiss();
    // Closing without "Close": the alarms after the one shown are put back in front of the
    // lines of "alarm.dat". When that fails the window stays open and says so.
    void reject() override;

private:
    void showAlarm();
    void next();

    QList<AlarmEntry> m_alarms;
    QString m_dataDir;
    const DateTimeFormat &m_format;
    SnoozeNotice m_notice;
    int m_index = 0;
    QLabel *m_header = nullptr;
    QLabel *m_subject = nullptr;
    QLabel *m_start = nullptr;
    QLabel *m_end = nullptr;
    QLabel *m_alarmOn = nullptr;
    QLabel *m_missedMark = nullptr;
    std::optional<MissedWindow> m_missed;
    QLabel *m_layer = nullptr;
    QPlainTextEdit *m_description = nullptr;
    QComboBox *m_snoozeList = nullptr;
    QPushButton *m_snoozeButton = nullptr;
    QPushButton *m_closeButton = nullptr;
};
