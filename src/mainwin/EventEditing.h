#pragma once
// Creating and editing events from the main window: the "New Event..." and "Edit..." commands
// (menus, popups, the New button), double clicks in the time, month and year grids, and typing a
// character on a selected time range or selected days. Owns the event editor and runs it modally;
// the editor writes through the events store, whose after-post hook makes the window show the
// change.
#include "core/DateTimeValue.h"

#include <QObject>
#include <QString>
#include <optional>

class Clock;
class EventEditor;
class EventsStore;
class LayersStore;
class MainWindow;
class Settings;

class EventEditing : public QObject
{
    Q_OBJECT
public:
    // Builds the editor over the window's formats, connects the window's commands and its
    // grids, and registers the editors with the window's wake-up list. The references
    // must outlive this object.
    EventEditing(MainWindow &window, EventsStore &events, LayersStore &layers,
                 const Settings &settings, const Clock &clock);

    struct Prefill {
        SerialDateTime start = 0;
        SerialDateTime end = 0;
        QString subject;
    };
    // Runs the editor on a new event with these values, in the first shown layer (the layer
    // at position 1 when none is shown). The new event's id; nullopt when it was not saved.
    std::optional<int> newEvent(const Prefill &prefill);
    // The new-event command: the selected time range when there is one, else the selected day
    // from 00:00 for one row of the time grid; `subject` typed or empty.
    std::optional<int> newEventHere(const QString &subject = {});
    // Runs the editor on the event with this id (for an occurrence, its recurring event). False
    // when there is no such event or the editor was cancelled.
    bool editEvent(int id);
    // The edit command: edits the one selected event; false when not exactly one is selected.
    bool editSelected();
    // Enables the new and edit commands for the current view and selection.
    void updateCommands();

    EventEditor &editor() const { return *m_editor; }
    // Characters that only mark an accent for the next character and open nothing.
    static bool isAccent(QChar c);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectCommands();
    // A typed character opens a new event with it; accent characters are kept for the next one.
    bool typed(const QString &text);

    MainWindow &m_window;
    EventsStore &m_events;
    LayersStore &m_layers;
    EventEditor *m_editor = nullptr; // owned by the window
    QString m_pendingAccent;
};
