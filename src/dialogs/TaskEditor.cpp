#include "dialogs/TaskEditor.h"

#include "core/Clock.h"
#include "dialogs/DateBox.h"
#include "dialogs/DatePopup.h"
#include "dialogs/DialogPanel.h"
#include "dialogs/EditorDialogParts.h"
#include "dialogs/TimeBox.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
} // namespace

TaskEditor::TaskEditor(TasksStore &tasks, const LayersStore &layers, const DateTimeFormat &format,
                       const Clock &clock, const Settings &settings, DialogPrompts prompts,
                       QWidget *parent)
    : QDialog(parent), m_tasks(tasks), m_layers(layers), m_format(format), m_clock(clock),
      m_prompts(std::move(prompts))
{
    m_datePopup = new DatePopup(clock, settings, m_format, this);
    setWindowTitle(QStringLiteral("Task"));
    setMinimumSize(512, 348);
    DialogPanel::paintDialogBackground(*this);
    buildControls();
    DialogPanel::takeChildKeys(*this);
}

void TaskEditor::buildControls()
{
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(10, 10, 10, 10);
    top->setSpacing(8);

    auto *upper = new QHBoxLayout;
    upper->setSpacing(12);
    auto *alarmPanel = new DialogPanel(QStringLiteral("Alarm"), this);
    auto *alarm = new QHBoxLayout(alarmPanel->body());
    m_alarmOn = new QCheckBox(QStringLiteral("on"), alarmPanel->body());
    m_alarmOn->setObjectName(QStringLiteral("alarmOn"));
    m_alarmDate = new DateBox(m_format, alarmPanel->body());
    m_alarmDate->setObjectName(QStringLiteral("alarmDate"));
    m_alarmDrop = m_datePopup->dropButtonFor(
        m_alarmDate, [this] { return m_alarmTime; }, [this] { dateEntered(); });
    m_alarmClock = new TimeBox(m_format, alarmPanel->body());
    m_alarmClock->setObjectName(QStringLiteral("alarmTime"));
    alarm->addWidget(m_alarmOn);
    alarm->addWidget(m_alarmDate, 1);
    alarm->addWidget(m_alarmDrop);
    alarm->addWidget(m_alarmClock);
    upper->addWidget(alarmPanel, 2);
    connect(m_alarmOn, &QCheckBox::toggled, this, [this] { showAlarm(); });
    connect(m_alarmDate, &QLineEdit::editingFinished, this, [this] {
        if (isVisible()) dateEntered();
    });
    connect(m_alarmClock, &TimeBox::applied, this,
            [this](SerialDateTime t) { m_alarmTime = DateBox::dayPart(m_alarmTime) + t; });

    auto *layerPanel = new DialogPanel(QStringLiteral("Layer"), this);
    auto *layer = new QHBoxLayout(layerPanel->body());
    m_layerBox = new QComboBox(layerPanel->body());
    m_layerBox->setObjectName(QStringLiteral("layer"));
    layer->addWidget(m_layerBox);
    upper->addWidget(layerPanel, 1);
    top->addLayout(upper);

    auto *propertiesPanel = new DialogPanel(QStringLiteral("Properties"), this);
    auto *grid = new QGridLayout(propertiesPanel->body());
    QWidget *body = propertiesPanel->body();
    m_subject = new QLineEdit(body);
    m_subject->setObjectName(QStringLiteral("subject"));
    m_subject->setMaxLength(SubjectLength);
    m_description = new QPlainTextEdit(body);
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_description->setTabChangesFocus(true);
    m_priority = new QComboBox(body);
    m_priority->setObjectName(QStringLiteral("priority"));
    m_priority->addItems({QStringLiteral("Low"), QStringLiteral("Normal"), QStringLiteral("High")});
    m_finished = new QCheckBox(QStringLiteral("Finished"), body);
    m_finished->setObjectName(QStringLiteral("finished"));
    grid->addWidget(new QLabel(QStringLiteral("Subject:"), body), 0, 0);
    grid->addWidget(m_subject, 0, 1, 1, 3);
    grid->addWidget(m_description, 1, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Priority:"), body), 2, 0);
    grid->addWidget(m_priority, 2, 1);
    grid->addWidget(m_finished, 2, 3);
    grid->setColumnStretch(2, 1);
    top->addWidget(propertiesPanel, 1);

    const EditorDialogParts::Buttons buttons = EditorDialogParts::okCancelRow(*this);
    m_ok = buttons.ok;
    m_cancel = buttons.cancel;
    top->addLayout(buttons.row);
    connect(m_ok, &QPushButton::clicked, this, &TaskEditor::acceptTask);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    DialogPanel::setTabChain({m_alarmOn, m_alarmDate, m_alarmClock, m_layerBox, m_subject,
                              m_description, m_priority, m_finished, m_ok, m_cancel});
}

// ---------------------------------------------------------------------------------------------
// Preparing.

bool TaskEditor::prepareNew(int parentId, const QString &subject, int layerId)
{
    std::optional<TaskRow> parent;
    if (parentId >= 0) {
        parent = m_tasks.task(parentId);
        if (!parent) return false;
    }
    m_id = -1;
    m_parentId = parentId;
    m_savedId = -1;
    m_alarmTime = m_clock.today() + 0.5;
    m_alarmOn->setChecked(false);
    m_subject->setText(subject);
    m_description->setPlainText({});
    m_priority->setCurrentIndex(1);
    m_finished->setChecked(false);
    selectLayer(parent ? parent->layer : layerId);
    m_layerBox->setEnabled(!parent);
    showAlarm();
    return true;
}

bool TaskEditor::prepareExisting(int id)
{
    const auto task = m_tasks.task(id);
    if (!task) return false;
    m_id = id;
    m_parentId = task->parentId;
    m_savedId = -1;
    m_alarmTime = task->alarmSet ? task->alarmTime : m_clock.today() + 0.5;
    m_alarmOn->setChecked(task->alarmSet);
    m_subject->setText(task->subject);
    m_description->setPlainText(task->description);
    m_priority->setCurrentIndex(std::clamp(task->priority, 0, 2));
    m_finished->setChecked(task->finished);
    selectLayer(task->layer);
    m_layerBox->setEnabled(true);
    showAlarm();
    return true;
}

void TaskEditor::selectLayer(int layerId)
{
    m_layerBox->clear();
    for (const LayerRow &l : m_layers.layers())
        m_layerBox->addItem(l.name);
    m_loadedLayer = m_layers.layerOrFirst(layerId);
    const int position = m_layers.positionOf(m_loadedLayer);
    m_layerBox->setCurrentIndex(position > 0 ? position - 1 : -1);
}

void TaskEditor::showAlarm()
{
    const bool on = m_alarmOn->isChecked();
    for (QWidget *w :
         {static_cast<QWidget *>(m_alarmDate), m_alarmDrop, static_cast<QWidget *>(m_alarmClock)})
        w->setEnabled(on);
    m_alarmDate->setDate(m_alarmTime);
    m_alarmClock->setTime(m_alarmTime);
}

void TaskEditor::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible) EditorDialogParts::focusAtEnd(*m_subject);
}

// ---------------------------------------------------------------------------------------------
// Typed values and OK.

void TaskEditor::dateEntered()
{
    const auto day = m_alarmDate->takeDate(m_alarmTime);
    if (!day) {
        m_prompts.warnOver(this, QStringLiteral("Invalid Date"));
        return;
    }
    m_alarmTime = *day + DateBox::timePart(m_alarmTime);
    m_alarmDate->setDate(m_alarmTime);
}

bool TaskEditor::applyFocusedBox()
{
    QWidget *f = focusWidget();
    if (f == m_alarmClock || (f && f == m_alarmClock->lineEdit())) return m_alarmClock->apply();
    if (f == m_alarmDate) {
        const bool valid = m_alarmDate->typedDate(m_alarmTime).has_value();
        dateEntered();
        return valid;
    }
    return true;
}

bool TaskEditor::eventFilter(QObject *watched, QEvent *event)
{
    switch (EditorDialogParts::enterKey(watched, event, m_subject)) {
    case EditorDialogParts::EnterKey::ApplyAndAccept:
        if (applyFocusedBox()) acceptTask();
        return true;
    case EditorDialogParts::EnterKey::Accept:
        acceptTask();
        return true;
    case EditorDialogParts::EnterKey::None:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TaskEditor::acceptTask()
{
    const int layerId = m_layers.idAt(m_layerBox->currentIndex() + 1);
    if (layerId < 0) return; // no layer exists to hold the task
    const QString error = m_id >= 0 ? writeExisting(layerId) : insertNew(layerId);
    if (m_savedId < 0) {
        m_prompts.warnOver(this, error);
        // A task that went away cannot be saved by trying again.
        if (m_id >= 0 || m_parentId >= 0) reject();
        return;
    }
    if (!error.isEmpty()) m_prompts.warnOver(this, error);
    accept();
}

QString TaskEditor::writeExisting(int layerId)
{
    auto task = m_tasks.task(m_id);
    if (!task) return QStringLiteral("This task no longer exists.");
    task->alarmSet = m_alarmOn->isChecked();
    task->alarmTime = task->alarmSet ? m_alarmTime : NoAlarmTime;
    task->subject = m_subject->text();
    task->description = m_description->toPlainText();
    task->priority = m_priority->currentIndex();
    task->finished = m_finished->isChecked();
    const TableResult r = m_tasks.updateTask(*task);
    if (!r.applied) return QStringLiteral("This task no longer exists.");
    m_savedId = m_id;
    // A layer belongs to a whole tree: the change goes to the top-level task and down.
    if (layerId != m_loadedLayer) (void)m_tasks.moveTasksToLayer({m_id}, layerId);
    return r.error;
}

QString TaskEditor::insertNew(int layerId)
{
    int level = 1;
    if (m_parentId >= 0) {
        auto parent = m_tasks.task(m_parentId);
        if (!parent) return QStringLiteral("The parent task no longer exists.");
        level = parent->level + 1;
        layerId = parent->layer;
        parent->hasChildren = true;
        parent->open = true;
        (void)m_tasks.updateTask(*parent);
    }
    const bool alarm = m_alarmOn->isChecked();
    const InsertResult r =
        m_tasks.insertTask(m_parentId, level, layerId, m_subject->text(),
                           m_priority->currentIndex(), m_finished->isChecked(), alarm,
                           alarm ? m_alarmTime : NoAlarmTime, m_description->toPlainText());
    if (r.applied()) {
        m_savedId = r.id;
        m_tasks.refreshAlarm(r.id);
    }
    return r.applied() ? r.table.error
                       : (r.table.error.isEmpty() ? QStringLiteral("The task could not be saved.")
                                                  : r.table.error);
}
