#include "dialogs/EventEditor.h"

#include "core/DateTextHelpers.h"
#include "core/DateTimeFormat.h"
#include "dialogs/DateBox.h"
#include "dialogs/DatePopup.h"
#include "dialogs/DialogPanel.h"
#include "dialogs/EditorDialogParts.h"
#include "dialogs/RecurrenceEditor.h"
#include "dialogs/RecurrenceSummary.h"
#include "dialogs/TimeBox.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/RecurrenceColumns.h"
#include <QToolButton>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace
{
const QStringList AdvanceItems{
    QStringLiteral("0 minutes"),  QStringLiteral("5 minutes"),  QStringLiteral("10 minutes"),
    QStringLiteral("15 minutes"), QStringLiteral("30 minutes"), QStringLiteral("1 hour"),
    QStringLiteral("2 hours"),    QStringLiteral("3 hours"),    QStringLiteral("4 hours"),
    QStringLiteral("5 hours"),    QStringLiteral("6 hours"),    QStringLiteral("7 hours"),
    QStringLiteral("8 hours"),    QStringLiteral("9 hours"),    QStringLiteral("10 hours"),
    QStringLiteral("11 hours"),   QStringLiteral("12 hours"),   QStringLiteral("1 day"),
    QStringLiteral("2 days")};
constexpr int AdvanceRowsShown = 6;

constexpr auto dayPart = &DateBox::dayPart;
constexpr auto timePart = &DateBox::timePart;

} // namespace

EventEditor::EventEditor(EventsStore &events, const LayersStore &layers,
                         const DateTimeFormat &format, const Clock &clock, const Settings &settings,
                         DialogPrompts prompts, QWidget *parent)
    : QDialog(parent), m_events(events), m_layers(layers), m_format(format),
      m_prompts(std::move(prompts))
{
    m_datePopup = new DatePopup(clock, settings, m_format, this);
    setWindowTitle(QStringLiteral("Event"));
    setMinimumSize(MinimumWidth, MinimumHeight);
    DialogPanel::paintDialogBackground(*this);
    buildControls();
    DialogPanel::takeChildKeys(*this);
    m_recurrenceEditor = new RecurrenceEditor(m_format, clock, settings, m_prompts, this);
}

// ---------------------------------------------------------------------------------------------
// Controls.

DialogPanel *EventEditor::buildTimePanel()
{
    auto *panel = new DialogPanel(QStringLiteral("Time"), this);
    auto *box = new QVBoxLayout(panel->body());
    box->setContentsMargins(0, 0, 0, 0);
    m_timePages = new QStackedWidget(panel->body());
    box->addWidget(m_timePages);

    auto *oneTime = new QWidget(m_timePages);
    auto *grid = new QGridLayout(oneTime);
    m_startDate = new DateBox(m_format, oneTime);
    m_startDate->setObjectName(QStringLiteral("startDate"));
    m_endDate = new DateBox(m_format, oneTime);
    m_endDate->setObjectName(QStringLiteral("endDate"));
    m_startTime = new TimeBox(m_format, oneTime);
    m_startTime->setObjectName(QStringLiteral("startTime"));
    m_endTime = new TimeBox(m_format, oneTime);
    m_endTime->setObjectName(QStringLiteral("endTime"));
    m_allDay = new QCheckBox(QStringLiteral("All day"), oneTime);
    m_allDay->setObjectName(QStringLiteral("allDay"));
    m_makeRecurring = new QPushButton(QStringLiteral("Recurrent Event..."), oneTime);
    m_makeRecurring->setObjectName(QStringLiteral("makeRecurring"));
    grid->addWidget(new QLabel(QStringLiteral("Begins:"), oneTime), 0, 0);
    grid->addWidget(m_startDate, 0, 1);
    grid->addWidget(m_datePopup->dropButtonFor(
                        m_startDate, [this] { return m_start; }, [this] { startDateEntered(); }),
                    0, 2);
    grid->addWidget(m_startTime, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Ends:"), oneTime), 1, 0);
    grid->addWidget(m_endDate, 1, 1);
    grid->addWidget(m_datePopup->dropButtonFor(
                        m_endDate, [this] { return m_allDay->isChecked() ? m_end - 1 : m_end; },
                        [this] { endDateEntered(); }),
                    1, 2);
    grid->addWidget(m_endTime, 1, 3);
    grid->addWidget(m_allDay, 2, 1);
    grid->addWidget(m_makeRecurring, 2, 3);
    grid->setColumnStretch(1, 1);
    m_timePages->addWidget(oneTime);

    auto *recurring = new QWidget(m_timePages);
    auto *rgrid = new QGridLayout(recurring);
    m_summary = new QLabel(recurring);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_editPattern = new QPushButton(QStringLiteral("Edit Time Pattern..."), recurring);
    m_editPattern->setObjectName(QStringLiteral("editPattern"));
    m_exceptionsLabel =
        new QLabel(QStringLiteral("This Recurrent Event has Exceptions:"), recurring);
    m_removeExceptions = new QPushButton(QStringLiteral("Remove Exceptions"), recurring);
    m_removeExceptions->setObjectName(QStringLiteral("removeExceptions"));
    rgrid->addWidget(new QLabel(QStringLiteral("Recurrent Event:"), recurring), 0, 0);
    rgrid->addWidget(m_editPattern, 0, 1, Qt::AlignRight);
    rgrid->addWidget(m_summary, 1, 0, 1, 2);
    rgrid->addWidget(m_exceptionsLabel, 2, 0);
    rgrid->addWidget(m_removeExceptions, 2, 1, Qt::AlignRight);
    rgrid->setColumnStretch(0, 1);
    m_timePages->addWidget(recurring);

    connect(m_startDate, &QLineEdit::editingFinished, this, [this] {
        if (isVisible()) startDateEntered();
    });
    connect(m_endDate, &QLineEdit::editingFinished, this, [this] {
        if (isVisible()) endDateEntered();
    });
    connect(m_startTime, &TimeBox::applied, this, &EventEditor::startTimeApplied);
    connect(m_endTime, &TimeBox::applied, this, &EventEditor::endTimeApplied);
    connect(m_allDay, &QCheckBox::clicked, this, &EventEditor::allDayClicked);
    connect(m_makeRecurring, &QPushButton::clicked, this, [this] { editPattern(false); });
    connect(m_editPattern, &QPushButton::clicked, this, [this] { editPattern(true); });
    connect(m_removeExceptions, &QPushButton::clicked, this, [this] {
        m_keepExceptions = false;
        m_exceptionsLabel->setEnabled(false);
        m_removeExceptions->setEnabled(false);
    });
    return panel;
}

void EventEditor::buildControls()
{
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(10, 10, 10, 10);
    top->setSpacing(8);
    top->addWidget(buildTimePanel());

    auto *middle = new QHBoxLayout;
    middle->setSpacing(12);
    auto *alarmPanel = new DialogPanel(QStringLiteral("Alarm"), this);
    auto *alarm = new QHBoxLayout(alarmPanel->body());
    m_alarmOn = new QCheckBox(QStringLiteral("on"), alarmPanel->body());
    m_alarmOn->setObjectName(QStringLiteral("alarmOn"));
    m_alarmBox = new QComboBox(alarmPanel->body());
    m_alarmBox->setObjectName(QStringLiteral("alarm"));
    m_alarmBox->setEditable(true);
    m_alarmBox->setInsertPolicy(QComboBox::NoInsert);
    m_alarmBox->addItems(AdvanceItems);
    m_alarmBox->setMaxVisibleItems(AdvanceRowsShown);
    alarm->addWidget(m_alarmOn);
    alarm->addWidget(m_alarmBox, 1);
    connect(m_alarmOn, &QCheckBox::toggled, this, [this](bool on) {
        m_alarmSet = on;
        m_alarmBox->setEnabled(on);
    });
    connect(m_alarmBox->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (isVisible()) applyAdvance();
    });
    connect(m_alarmBox, &QComboBox::activated, this, [this] { applyAdvance(); });
    middle->addWidget(alarmPanel, 1);

    auto *layerPanel = new DialogPanel(QStringLiteral("Layer"), this);
    auto *layer = new QHBoxLayout(layerPanel->body());
    m_layerBox = new QComboBox(layerPanel->body());
    m_layerBox->setObjectName(QStringLiteral("layer"));
    layer->addWidget(m_layerBox);
    middle->addWidget(layerPanel, 1);
    top->addLayout(middle);

    auto *textPanel = new DialogPanel(QStringLiteral("Text"), this);
    auto *text = new QGridLayout(textPanel->body());
    m_subject = new QLineEdit(textPanel->body());
    m_subject->setObjectName(QStringLiteral("subject"));
    m_subject->setMaxLength(SubjectLength);
    m_description = new QPlainTextEdit(textPanel->body());
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_description->setTabChangesFocus(true);
    text->addWidget(new QLabel(QStringLiteral("Subject:"), textPanel->body()), 0, 0);
    text->addWidget(m_subject, 0, 1);
    text->addWidget(m_description, 1, 0, 1, 2);
    top->addWidget(textPanel, 1);

    const EditorDialogParts::Buttons buttons = EditorDialogParts::okCancelRow(*this);
    m_ok = buttons.ok;
    m_cancel = buttons.cancel;
    top->addLayout(buttons.row);
    connect(m_ok, &QPushButton::clicked, this, &EventEditor::acceptEvent);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    DialogPanel::setTabChain({m_startDate, m_startTime, m_endDate, m_endTime, m_allDay,
                              m_makeRecurring, m_editPattern, m_removeExceptions, m_alarmOn,
                              m_alarmBox, m_layerBox, m_subject, m_description, m_ok, m_cancel});
}

// ---------------------------------------------------------------------------------------------
// Preparing and the load step.

void EventEditor::prepareNew(SerialDateTime start, SerialDateTime end, const QString &subject,
                             int layerId)
{
    m_id = -1;
    m_savedId = -1;
    m_start = start;
    m_end = end;
    m_allDayStored = false;
    m_alarmSet = false;
    m_advance = AlarmAdvance{};
    m_recurring = false;
    m_rule = RecurrenceRule{};
    m_keepExceptions = false;
    m_subject->setText(subject);
    m_description->setPlainText({});
    selectLayer(layerId);
    loadEvent();
}

bool EventEditor::prepareExisting(int id)
{
    const auto row = m_events.event(id);
    if (!row) return false;
    m_id = id;
    m_savedId = -1;
    m_start = row->startTime();
    m_end = row->endTime();
    m_allDayStored = row->isAllDay();
    m_alarmSet = row->alarmSet();
    m_advance.amount = (*row)[EventField::AlarmAdvance].toInt();
    m_advance.unit = (*row)[EventField::AlarmAdvanceUnit].toInt();
    if (m_advance.amount < 0 || m_advance.amount >= AlarmAdvance::Limit) m_advance.amount = 15;
    if (m_advance.unit < 1 || m_advance.unit > 3) m_advance.unit = AlarmAdvance::Minutes;
    m_recurring = row->isRecurring();
    m_rule = RecurrenceColumns::readRule(*row);
    m_keepExceptions = m_recurring && !m_rule.exceptionDays.empty();
    m_subject->setText(row->subject());
    m_description->setPlainText(row->description());
    selectLayer(row->layer());
    loadEvent();
    return true;
}

void EventEditor::selectLayer(int layerId)
{
    m_layerBox->clear();
    for (const LayerRow &l : m_layers.layers())
        m_layerBox->addItem(l.name);
    // A layer that is gone gives way to the layer at position 1, as everywhere in the stores.
    const int position = m_layers.positionOf(m_layers.layerOrFirst(layerId));
    m_layerBox->setCurrentIndex(position > 0 ? position - 1 : -1);
}

void EventEditor::loadEvent()
{
    m_timePages->setCurrentIndex(m_recurring ? 1 : 0);
    if (m_recurring) {
        RecurrenceRule shown = m_rule;
        shown.startTime = m_start;
        shown.endTime = m_end;
        m_summary->setText(recurrenceSummary(shown, m_format));
        m_exceptionsLabel->setEnabled(m_keepExceptions);
        m_removeExceptions->setEnabled(m_keepExceptions);
        m_allDay->setChecked(m_allDayStored);
    } else {
        m_allDay->setChecked(timePart(m_start) == 0 && timePart(m_end) == 0 &&
                             dayPart(m_end) > dayPart(m_start));
        showStart();
        showEnd();
    }
    m_startTime->setEnabled(!m_allDay->isChecked());
    m_endTime->setEnabled(!m_allDay->isChecked());
    showAlarm();
}

void EventEditor::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible) EditorDialogParts::focusAtEnd(*m_subject);
}

void EventEditor::showStart()
{
    m_startDate->setDate(m_start);
    m_startTime->setTime(m_allDay->isChecked() ? 0 : m_start);
}

void EventEditor::showEnd()
{
    // An all-day event shows its last day; its end is the midnight after it.
    m_endDate->setDate(m_allDay->isChecked() ? m_end - 1 : m_end);
    m_endTime->setTime(m_allDay->isChecked() ? 0 : m_end);
}

void EventEditor::showAlarm()
{
    m_alarmOn->setChecked(m_alarmSet);
    m_alarmBox->setEnabled(m_alarmSet);
    m_alarmBox->setEditText(advanceText(m_advance));
}

// ---------------------------------------------------------------------------------------------
// Typed values.

void EventEditor::startDateEntered()
{
    const auto day = m_startDate->takeDate(m_start);
    if (!day) {
        m_prompts.warnOver(this, QStringLiteral("Invalid Date"));
        return;
    }
    m_start = *day + timePart(m_start);
    if (m_end < m_start) m_end = m_allDay->isChecked() ? m_start + 1 : m_start;
    showStart();
    showEnd();
}

void EventEditor::endDateEntered()
{
    const auto day = m_endDate->takeDate(m_allDay->isChecked() ? m_end - 1 : m_end);
    if (!day) {
        m_prompts.warnOver(this, QStringLiteral("Invalid Date"));
        return;
    }
    if (m_allDay->isChecked()) {
        // The typed day is the last day; the start comes back to it when it lay later.
        m_end = *day + 1;
        if (m_start >= m_end) m_start = *day;
    } else {
        m_end = *day + timePart(m_end);
        if (m_end < m_start) m_start = m_end;
    }
    showStart();
    showEnd();
}

void EventEditor::startTimeApplied(SerialDateTime t)
{
    m_start = dayPart(m_start) + t;
    if (m_end < m_start) m_end = m_start;
    showEnd();
}

void EventEditor::endTimeApplied(SerialDateTime t)
{
    m_end = dayPart(m_end) + t;
    if (m_end < m_start) m_start = m_end;
    showStart();
}

void EventEditor::allDayClicked(bool on)
{
    m_startTime->setEnabled(!on);
    m_endTime->setEnabled(!on);
    if (on) {
        m_start = dayPart(m_start);
        if (const auto last = m_endDate->typedDate(m_end)) m_end = std::max(*last + 1, m_start + 1);
    } else {
        const auto startDay = m_startDate->typedDate(m_start);
        const auto endDay = m_endDate->typedDate(m_end);
        if (startDay) m_start = *startDay + m_startTime->time();
        if (endDay) m_end = *endDay + m_endTime->time();
        if (m_end < m_start) m_end = m_start;
    }
    showStart();
    showEnd();
}

bool EventEditor::applyAdvance()
{
    const auto advance = parseAdvanceText(m_alarmBox->currentText());
    if (!advance) {
        m_alarmBox->setEditText(advanceText(m_advance));
        m_prompts.warnOver(this, QStringLiteral("Invalid Time"));
        return false;
    }
    m_advance = *advance;
    m_alarmBox->setEditText(advanceText(m_advance));
    return true;
}

bool EventEditor::applyFocusedBox()
{
    QWidget *f = focusWidget();
    if (!f) return true;
    if (f == m_startTime || f == m_startTime->lineEdit()) return m_startTime->apply();
    if (f == m_endTime || f == m_endTime->lineEdit()) return m_endTime->apply();
    if (f == m_alarmBox || f == m_alarmBox->lineEdit()) return applyAdvance();
    if (f == m_startDate || f == m_endDate) {
        const bool start = f == m_startDate;
        const bool valid = start ? m_startDate->typedDate(m_start).has_value()
                                 : m_endDate->typedDate(m_end).has_value();
        if (start)
            startDateEntered();
        else
            endDateEntered();
        return valid;
    }
    return true;
}

bool EventEditor::eventFilter(QObject *watched, QEvent *event)
{
    switch (EditorDialogParts::enterKey(watched, event, m_subject)) {
    case EditorDialogParts::EnterKey::ApplyAndAccept:
        if (applyFocusedBox()) acceptEvent();
        return true;
    case EditorDialogParts::EnterKey::Accept:
        acceptEvent();
        return true;
    case EditorDialogParts::EnterKey::None:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// The recurrence and OK.

void EventEditor::editPattern(bool existingRule)
{
    RecurrenceEditor &editor = *m_recurrenceEditor;
    if (existingRule) {
        RecurrenceRule rule = m_rule;
        rule.startTime = m_start;
        rule.endTime = m_end;
        if (!m_keepExceptions) rule.exceptionDays.clear();
        editor.prepareExisting(rule);
    } else {
        editor.prepareNew(m_start, m_end);
    }
    if (editor.exec() != QDialog::Accepted) return;
    const RecurrenceRule &result = editor.result();
    m_start = result.startTime;
    m_end = result.endTime;
    if (editor.outcome() == RecurrenceEditor::Outcome::RuleSet) {
        m_recurring = true;
        m_rule = result;
        m_keepExceptions = !result.exceptionDays.empty();
    } else if (editor.outcome() == RecurrenceEditor::Outcome::Removed) {
        m_recurring = false;
    }
    loadEvent();
}

void EventEditor::acceptEvent()
{
    if (m_start <= 1) {
        m_prompts.warnOver(this, QStringLiteral("The event must start after ") +
                                     dateText(m_format, 1) + u'.');
        return;
    }
    if (m_alarmOn->isChecked() && !applyAdvance()) return;
    const int layerId = m_layers.idAt(m_layerBox->currentIndex() + 1);
    if (layerId < 0) return; // no layer exists to hold the event

    EventRow row;
    if (m_id >= 0) {
        const auto stored = m_events.event(m_id);
        if (!stored) {
            m_prompts.warnOver(this, QStringLiteral("This event no longer exists."));
            reject();
            return;
        }
        row = *stored;
    }
    const bool alarm = m_alarmOn->isChecked();
    row[EventField::Layer] = layerId;
    row[EventField::StartTime] = m_start;
    row[EventField::EndTime] = m_end;
    row[EventField::AllDay] = m_allDay->isChecked();
    row[EventField::AlarmSet] = alarm;
    row[EventField::AlarmAdvance] = alarm ? m_advance.amount : 15;
    row[EventField::AlarmAdvanceUnit] = alarm ? m_advance.unit : int(AlarmAdvance::Minutes);
    row[EventField::Subject] = m_subject->text();
    row[EventField::Description] = m_description->toPlainText();
    row[EventField::Recurring] = m_recurring;
    if (m_recurring) {
        RecurrenceRule rule = m_rule;
        rule.startTime = m_start;
        rule.endTime = m_end;
        // The stored exception days are kept as they are now (a deleted occurrence may have
        // added one while the dialog was open) unless the user removed them.
        rule.exceptionDays = m_keepExceptions && m_id >= 0
                                 ? RecurrenceColumns::readRule(row).exceptionDays
                                 : std::vector<int>{};
        RecurrenceColumns::writeRule(rule, row);
    }

    QString error;
    if (m_id >= 0) {
        const TableResult r = m_events.updateEvent(row);
        if (r.applied) m_savedId = m_id;
        error = r.error;
    } else {
        const InsertResult r = m_events.insertEvent(row);
        if (r.applied()) m_savedId = r.id;
        error = r.table.error;
    }
    if (m_savedId < 0) {
        m_prompts.warnOver(this, error.isEmpty() ? QStringLiteral("The event could not be saved.")
                                                 : error);
        return;
    }
    accept();
}
