#pragma once
// The edit commands on events: delete (with the undo log), delete or break out one occurrence
// of a recurring event, cut, copy, paste and undo, reached from the Edit menu, the event and
// selection popups, the "Delete" button and the Delete key. It reads what the current view
// has selected, hands the work to the stores, reports failures through the window's message
// and refreshes the window after a change. updateStates() sets which of these commands are
// enabled (and the occurrence items' visibility) from the selection and the clipboard.
//
// The Undo item's state is kept here: disabled with the caption "Undo" at start; "Undo Delete"
// and enabled after a delete that removed something; back to "Undo" and disabled after an undo
// that restored. An undo that cannot read "undo.dat" leaves it as it was.
#include "core/DateTimeValue.h"
#include "mainwin/EventSelection.h"
#include "store/EventsStore.h"

#include <QObject>

#include <optional>
#include <vector>

class MainWindow;
class TasksStore;
class ViewDates;

class EventCommands : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *UndoText = "Undo";
    static constexpr const char *UndoDeleteText = "Undo Delete";
    static constexpr const char *UndoMoveText = "Undo Move";

    using Entry = EventSelection::Entry;

    // Where a paste puts the clipboard event. nullopt in the tasks view (nothing to paste on).
    // Time views: at the selected time range's start, or, with no range selected, on
    // `selectedDate` at the copied time of day. Month and year views: on the selected range's
    // day, or on `selectedDate` with none.
    struct PasteTarget {
        SerialDateTime at = 0;
        EventsStore::PasteMode mode = EventsStore::PasteMode::AtSelectedTime;
    };
    static std::optional<PasteTarget> pasteTarget(int viewKind, const ViewDates &dates,
                                                  SerialDateTime selectedDate);

    // Connects the window's actions and its "Delete" button. The window's menus, panels and
    // grids must exist; the window and the stores must outlive this object.
    EventCommands(MainWindow &window, EventsStore &events, TasksStore &tasks);

    // The entries selected in the current view (see EventSelection::entries()).
    std::vector<Entry> selectedEntries() const { return EventSelection(m_window).entries(); }

    bool undoAvailable() const { return m_undoAvailable; }
    // Offers Undo (enabled, "Undo Delete" or the caption given) after a change the undo log
    // recorded, or takes it back ("Undo", disabled).
    void setUndoAvailable(bool on, const char *caption = UndoDeleteText);

    // The commands. Each does nothing when the selection does not fit it.
    void deleteSelected();
    void deleteOccurrence();
    void breakOutOccurrence();
    void copySelected();
    void cutSelected();
    void paste();
    void undo();

    // Enabled states of delete, cut, copy and paste and the visibility of the occurrence
    // items, for the current view, selection and clipboard. (The "Delete" button stays
    // enabled; with nothing selected it does nothing.)
    void updateStates();

private:
    // Drops the current view's selected events (their rows changed or went), refreshes the
    // window and reports `error` when it is not empty.
    void finish(const QString &error);

    MainWindow &m_window;
    EventsStore &m_events;
    TasksStore &m_tasks;
    bool m_undoAvailable = false;
};
