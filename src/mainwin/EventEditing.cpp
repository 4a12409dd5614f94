#include "mainwin/EventEditing.h"

#include "dialogs/EventEditor.h"
#include "dialogs/RecurrenceEditor.h"
#include "mainwin/EventSelection.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainPanels.h"
#include "mainwin/MainWindow.h"
#include "mainwin/NavigatorColumn.h"
#include "mainwin/NavigatorLayerList.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "views/FlatButton.h"
#include "views/MonthGrid.h"
#include "views/TimeGrid.h"
#include "views/YearGrid.h"

#include <QAction>
#include <QKeyEvent>

bool EventEditing::isAccent(QChar c)
{
    return c == QChar(0xB4) || c == u'`' || c == QChar(0xA8) || c == u'^' || c == u'~';
}

EventEditing::EventEditing(MainWindow &window, EventsStore &events, LayersStore &layers,
                           const Settings &settings, const Clock &clock)
    : QObject(&window), m_window(window), m_events(events), m_layers(layers)
{
    DialogPrompts prompts;
    prompts.warn = [&window](const QString &text) { window.showMessage(text); };
    m_editor =
        new EventEditor(m_events, m_layers, m_window.format(), clock, settings, prompts, &m_window);
    m_window.setWakeUpDialogs({m_editor, &m_editor->recurrenceEditor()});
    connectCommands();
    m_window.installEventFilter(this);
    updateCommands();
}

void EventEditing::connectCommands()
{
    MainMenus &m = m_window.menus();
    // In the tasks view the same items and button make tasks (TaskCommands).
    const auto newHere = [this] {
        if (m_window.viewKind() != ViewTasks) newEventHere();
    };
    for (QAction *a : {m.newEventAction(), m.selectionNewEventAction()})
        connect(a, &QAction::triggered, this, newHere);
    for (QAction *a : {m.editAction(), m.eventEditAction()})
        connect(a, &QAction::triggered, this, [this] { editSelected(); });
    connect(m_window.panels().newButton(), &FlatButton::clicked, this, newHere);

    for (EventGrid *grid : {static_cast<EventGrid *>(m_window.timeGrid()),
                            static_cast<EventGrid *>(m_window.monthGrid()),
                            static_cast<EventGrid *>(m_window.yearGrid())}) {
        connect(grid, &EventGrid::newEventRequested, this, [this] { newEventHere(); });
        connect(grid, &EventGrid::editRequested, this,
                [this](int id, SerialDateTime) { editEvent(id); });
        connect(grid, &EventGrid::commandStatesChanged, this, &EventEditing::updateCommands);
    }
}

void EventEditing::updateCommands()
{
    const bool dated = m_window.viewKind() != ViewTasks && !m_window.isReadOnly();
    const bool one = EventSelection(m_window).ids().size() == 1;
    MainMenus &m = m_window.menus();
    m_window.panels().newButton()->setEnabled(dated);
    m.newEventAction()->setEnabled(dated);
    m.selectionNewEventAction()->setEnabled(dated);
    m.editAction()->setEnabled(dated && one);
    m.eventEditAction()->setEnabled(dated && one);
}

std::optional<int> EventEditing::newEvent(const Prefill &prefill)
{
    if (m_window.isReadOnly()) return std::nullopt;
    // The layer current in the navigator's layer list; without one, the first shown layer.
    int layerId = m_window.navigator().layerList()->currentLayerId();
    for (const LayerRow &l : m_layers.layers()) {
        if (layerId >= 0) break;
        if (l.shown) layerId = l.id;
    }
    m_editor->prepareNew(prefill.start, prefill.end, prefill.subject, layerId);
    if (m_editor->exec() != QDialog::Accepted || m_editor->savedId() < 0) return std::nullopt;
    return m_editor->savedId();
}

std::optional<int> EventEditing::newEventHere(const QString &subject)
{
    Prefill p;
    const ViewDates &dates = m_window.viewDates();
    if (dates.hasSelection()) {
        p.start = dates.selectionStart();
        p.end = dates.selectionEnd();
    } else {
        p.start = m_window.selectedDate();
        p.end = p.start + 1.0 / m_window.stepsPerDay();
    }
    p.subject = m_pendingAccent + subject;
    m_pendingAccent.clear();
    return newEvent(p);
}

bool EventEditing::editEvent(int id)
{
    if (m_window.isReadOnly()) return false;
    if (!m_editor->prepareExisting(id)) return false;
    return m_editor->exec() == QDialog::Accepted && m_editor->savedId() >= 0;
}

bool EventEditing::editSelected()
{
    const std::vector<int> ids = EventSelection(m_window).ids();
    return ids.size() == 1 && editEvent(ids.front());
}

bool EventEditing::typed(const QString &text)
{
    if (!m_window.viewDates().hasSelection() || m_window.viewKind() == ViewTasks ||
        m_window.isReadOnly())
        return false;
    if (text.size() == 1 && isAccent(text[0])) {
        m_pendingAccent = text;
        return true;
    }
    // Enter starts an event with an empty subject.
    newEventHere(text == QLatin1String("\r") ? QString() : text);
    return true;
}

bool EventEditing::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        const bool command =
            key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        const bool character = text.size() == 1 && (text[0].isPrint() || text[0] == u'\r');
        if (!command && character && typed(text)) return true;
    }
    return QObject::eventFilter(watched, event);
}
