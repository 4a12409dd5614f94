#include "mainwin/EventCommands.h"

#include "core/ViewDates.h"
#include "core/ViewState.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainPanels.h"
#include "mainwin/MainWindow.h"
#include "mainwin/NavigatorColumn.h"
#include "store/IcsImport.h"
#include "store/TasksStore.h"
#include "store/UndoLog.h"
#include "views/FlatButton.h"

#include <QAction>
#include <QDir>
#include <QMenu>

std::optional<EventCommands::PasteTarget>
EventCommands::pasteTarget(int viewKind, const ViewDates &dates, SerialDateTime selectedDate)
{
    const quint8 kind = quint8(viewKind);
    if (viewKind < 0 || ViewState::isTasksView(kind) || kind >= MainMenus::ViewCount)
        return std::nullopt;
    if (ViewState::usesTimeGrid(kind) && dates.hasSelection())
        return PasteTarget{dates.selectionStart(), EventsStore::PasteMode::AtSelectedTime};
    const SerialDateTime day = ViewState::usesTimeGrid(kind) || !dates.hasSelection()
                                   ? selectedDate
                                   : dates.selectionStart();
    return PasteTarget{SerialDateTime(DateTimeValue::dayOf(day)),
                       EventsStore::PasteMode::OnSelectedDay};
}

EventCommands::EventCommands(MainWindow &window, EventsStore &events, TasksStore &tasks)
    : QObject(&window), m_window(window), m_events(events), m_tasks(tasks)
{
    MainMenus &m = window.menus();
    for (QAction *a : {m.deleteAction(), m.eventDeleteAction()})
        connect(a, &QAction::triggered, this, &EventCommands::deleteSelected);
    connect(window.panels().deleteButton(), &FlatButton::clicked, this,
            &EventCommands::deleteSelected);
    connect(m.deleteOccurrenceAction(), &QAction::triggered, this,
            &EventCommands::deleteOccurrence);
    connect(m.breakOutOccurrenceAction(), &QAction::triggered, this,
            &EventCommands::breakOutOccurrence);
    for (QAction *a : {m.copyAction(), m.eventCopyAction()})
        connect(a, &QAction::triggered, this, &EventCommands::copySelected);
    for (QAction *a : {m.cutAction(), m.eventCutAction()})
        connect(a, &QAction::triggered, this, &EventCommands::cutSelected);
    for (QAction *a : {m.pasteAction(), m.selectionPasteAction()})
        connect(a, &QAction::triggered, this, &EventCommands::paste);
    connect(m.undoAction(), &QAction::triggered, this, &EventCommands::undo);
    // A popup opened by a press shows the items for what that press selected.
    for (QMenu *menu : {m.eventMenu(), m.selectionMenu()})
        connect(menu, &QMenu::aboutToShow, this, &EventCommands::updateStates);
    setUndoAvailable(false);
}

void EventCommands::finish(const QString &error)
{
    EventSelection(m_window).clear();
    m_window.refresh();
    if (!error.isEmpty()) m_window.showMessage(error);
}

void EventCommands::setUndoAvailable(bool on, const char *caption)
{
    m_undoAvailable = on;
    QAction *undo = m_window.menus().undoAction();
    undo->setText(QString::fromLatin1(on ? caption : UndoText));
    undo->setEnabled(on && !m_window.isReadOnly());
}

void EventCommands::deleteSelected()
{
    if (m_window.isReadOnly()) return;
    QStringList ids;
    for (const Entry &e : selectedEntries())
        if (!ids.contains(QString::number(e.id))) ids << QString::number(e.id);
    if (ids.isEmpty()) return;
    const StoreResult r = m_events.deleteWithUndo(ids);
    // The undo file is written before anything is deleted: whatever went is in it. A file
    // that could not be written left the previous undo as it was.
    if (r.ok || r.count > 0) setUndoAvailable(r.count > 0);
    finish(r.ok ? QString() : QStringLiteral("The events could not be deleted.\n%1").arg(r.error));
}

void EventCommands::deleteOccurrence()
{
    const std::optional<Entry> e = EventSelection(m_window).single();
    if (!e || !e->isOccurrence()) return;
    const TableResult r = m_events.excludeOccurrence(e->id, DateTimeValue::dayOf(e->occurrenceDay));
    // A change made in memory whose write failed is shown by the window's bar, not here.
    finish(r.applied ? QString()
                     : QStringLiteral("The occurrence could not be deleted.\n%1").arg(r.error));
}

void EventCommands::breakOutOccurrence()
{
    const std::optional<Entry> e = EventSelection(m_window).single();
    if (!e || !e->isOccurrence()) return;
    const InsertResult r =
        m_events.breakOutOccurrence(e->id, DateTimeValue::dayOf(e->occurrenceDay));
    finish(r.applied()
               ? QString()
               : QStringLiteral("The occurrence could not be broken out.\n%1").arg(r.table.error));
}

void EventCommands::copySelected()
{
    if (m_window.isReadOnly()) return; // the copy is a row of the events table
    const std::optional<Entry> e = EventSelection(m_window).single();
    if (!e) return;
    if (!m_events.copyToClipboard(e->id)) return;
    updateStates();
}

void EventCommands::cutSelected()
{
    if (m_window.isReadOnly()) return;
    const std::optional<Entry> e = EventSelection(m_window).single();
    // Without the copy in the clipboard the event would simply be lost.
    if (!e || !m_events.copyToClipboard(e->id)) return;
    deleteSelected();
}

void EventCommands::paste()
{
    if (m_window.isReadOnly()) return;
    if (m_events.clipboardCount() != 1) return;
    const auto target =
        pasteTarget(m_window.currentView().kind, m_window.viewDates(), m_window.selectedDate());
    if (!target) return;
    const std::optional<int> id = m_events.paste(target->at, target->mode);
    m_window.refresh();
    if (!id) m_window.showMessage(QStringLiteral("The event could not be pasted."));
}

void EventCommands::undo()
{
    if (m_window.isReadOnly()) return;
    const QString dataDir = m_events.dataDir();
    QString error;
    const auto content = UndoLog::read(dataDir, &error);
    if (!content) {
        // Nothing was restored: Undo stays offered as it was.
        m_window.showMessage(
            QStringLiteral("Cannot read file \"%1\".\n%2")
                .arg(QDir::toNativeSeparators(dataDir + UndoLog::FileName), error));
        return;
    }
    StoreResult r;
    switch (content->section) {
    case UndoLog::Section::DeletedEvents:
        r = m_events.restoreDeletedEvents();
        break;
    case UndoLog::Section::DeletedTasks:
        r = m_tasks.restoreDeletedTasks();
        break;
    case UndoLog::Section::MovedTasks:
        r = m_tasks.restoreMovedTask();
        break;
    case UndoLog::Section::ImportedCalendar:
        r = IcsImport::undoImport(m_window.layers(), m_events, m_tasks);
        m_window.navigator().showLayers();
        m_window.reFilter();
        break;
    }
    // A restore that applied (even one whose write is still pending) must not run twice.
    if (r.ok || r.count > 0) setUndoAvailable(false);
    m_window.refresh();
    if (!r.ok) m_window.showMessage(QStringLiteral("The undo failed.\n%1").arg(r.error));
}

void EventCommands::updateStates()
{
    MainMenus &m = m_window.menus();
    const std::vector<Entry> entries = selectedEntries();
    const bool any = !entries.empty();
    const bool one = entries.size() == 1;
    const bool occurrence = one && entries.front().isOccurrence();
    const bool clipboard = m_events.clipboardCount() == 1;
    const quint8 kind = m_window.currentView().kind;
    // A read-only calendar takes no change; copying is one too (the copy is a row).
    const bool writable = !m_window.isReadOnly();

    m.undoAction()->setEnabled(m_undoAvailable && writable);
    for (QAction *a : {m.deleteAction(), m.eventDeleteAction()})
        a->setEnabled(any && writable);
    for (QAction *a : {m.cutAction(), m.copyAction(), m.eventCutAction(), m.eventCopyAction()})
        a->setEnabled(one && writable);
    for (QAction *a : {m.deleteOccurrenceAction(), m.breakOutOccurrenceAction()}) {
        a->setVisible(occurrence);
        a->setEnabled(occurrence && writable);
    }
    m.pasteAction()->setEnabled(writable && !ViewState::isTasksView(kind) && clipboard &&
                                m_window.viewDates().hasSelection());
    m.selectionPasteAction()->setEnabled(writable && clipboard);
}
