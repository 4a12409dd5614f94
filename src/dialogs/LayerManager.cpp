#include "dialogs/LayerManager.h"

#include "core/Clock.h"
#include "core/LayerPalette.h"
#include "core/Settings.h"
#include "dialogs/DateBox.h"
#include "dialogs/DatePopup.h"
#include "dialogs/DialogPanel.h"
#include "dialogs/EditorDialogParts.h"
#include "dialogs/LayerChoiceBox.h"
#include "dialogs/LayerColorGrid.h"
#include "store/EventsStore.h"
#include "store/LayerEventRange.h"
#include "store/LayerFile.h"
#include "store/LayerRemoval.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
const QString FileFilter = QStringLiteral("Dayloom Layer (*.dyl)");

QString daysText(int days)
{
    return days == 1 ? QStringLiteral("1 Day") : QString::number(days) + QStringLiteral(" Days");
}

// The first run of digits as archiving days; nullopt when there is none or it is outside
// 1..999.
std::optional<int> parseDays(const QString &text)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\d+")).match(text);
    if (!m.hasMatch() || m.capturedLength() > 3) return std::nullopt;
    const int days = m.captured().toInt();
    if (days < 1 || days > 999) return std::nullopt;
    return days;
}

bool isEnter(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
} // namespace

LayerManager::LayerManager(LayersStore &layers, EventsStore &events, TasksStore &tasks,
                           Settings &settings, const DateTimeFormat &format, const Clock &clock,
                           DialogPrompts prompts, QWidget *parent)
    : QDialog(parent), m_layers(layers), m_events(events), m_tasks(tasks), m_settings(settings),
      m_format(format), m_clock(clock), m_prompts(std::move(prompts))
{
    m_datePopup = new DatePopup(clock, settings, m_format, this);
    DialogPanel::paintDialogBackground(*this);
    buildControls();
}

void LayerManager::buildControls()
{
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(10, 10, 10, 10);
    top->setSpacing(8);
    auto *panels = new QHBoxLayout;
    panels->setSpacing(12);
    top->addLayout(panels, 1);

    auto *layersPanel = new DialogPanel(QStringLiteral("Layers"), this);
    auto *left = new QVBoxLayout(layersPanel->body());
    m_list = new LayerListGrid(layersPanel->body());
    m_list->setObjectName(QStringLiteral("layerList"));
    m_list->setMinimumHeight(LayerListGrid::HeaderHeight + MaxLayers * LayerListGrid::RowHeight);
    left->addWidget(m_list, 1);
    m_zeroLayers = new QLabel(QStringLiteral("No layers"), m_list);
    m_zeroLayers->setAlignment(Qt::AlignCenter);
    m_zeroLayers->setAutoFillBackground(true);
    m_zeroLayers->hide();
    auto *buttons = new QHBoxLayout;
    m_newButton = new QPushButton(QStringLiteral("New"), layersPanel->body());
    m_deleteButton = new QPushButton(QStringLiteral("Delete"), layersPanel->body());
    m_importButton = new QPushButton(QStringLiteral("Import..."), layersPanel->body());
    m_exportButton = new QPushButton(QStringLiteral("Export..."), layersPanel->body());
    for (QPushButton *b : {m_newButton, m_deleteButton, m_importButton, m_exportButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    left->addLayout(buttons);
    panels->addWidget(layersPanel);
    connect(m_list, &LayerListGrid::selectionChanged, this, [this] {
        if (m_mode == Mode::Layers)
            showSelection();
        else
            fillTargets();
    });
    connect(m_newButton, &QPushButton::clicked, this, &LayerManager::addLayer);
    connect(m_deleteButton, &QPushButton::clicked, this, &LayerManager::removeSelectedRows);
    connect(m_importButton, &QPushButton::clicked, this, &LayerManager::chooseImportFile);
    connect(m_exportButton, &QPushButton::clicked, this, &LayerManager::chooseExportFile);

    // Properties of the one selected layer.
    m_propertiesPanel = new DialogPanel(QStringLiteral("Properties"), this);
    QWidget *body = m_propertiesPanel->body();
    auto *grid = new QGridLayout(body);
    m_name = new QLineEdit(body);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setMaxLength(256);
    m_colors = new LayerColorGrid(body);
    m_archiveOff = new QRadioButton(QStringLiteral("No automatic archiving of events"), body);
    m_archiveOn =
        new QRadioButton(QStringLiteral("Automatic archiving of events older than:"), body);
    m_days = new QComboBox(body);
    m_days->setEditable(true);
    m_days->setInsertPolicy(QComboBox::NoInsert);
    for (int d : {1, 2, 3, 7, 14, 30, 90, 180, 360})
        m_days->addItem(daysText(d), d);
    grid->addWidget(new QLabel(QStringLiteral("Name:"), body), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Color:"), body), 1, 0, Qt::AlignTop);
    grid->addWidget(m_colors, 1, 1);
    grid->addWidget(m_archiveOff, 2, 0, 1, 2);
    grid->addWidget(m_archiveOn, 3, 0, 1, 2);
    grid->addWidget(m_days, 4, 1, Qt::AlignLeft);
    grid->setRowStretch(5, 1);
    panels->addWidget(m_propertiesPanel, 1);
    connect(m_name, &QLineEdit::editingFinished, this, &LayerManager::nameEntered);
    connect(m_colors, &LayerColorGrid::colorChosen, this, [this](int n) {
        if (LayerListGrid::Row *r = singleSelected()) r->layer.color = n;
        m_list->invalidateGrid();
    });
    for (QRadioButton *b : {m_archiveOff, m_archiveOn})
        connect(b, &QRadioButton::clicked, this, [this] {
            if (LayerListGrid::Row *r = singleSelected())
                r->layer.archiving = m_archiveOn->isChecked() ? 2 : 1;
            m_list->invalidateGrid();
        });
    connect(m_days, &QComboBox::activated, this, [this](int index) {
        if (LayerListGrid::Row *r = singleSelected())
            r->layer.archiveDays = m_days->itemData(index).toInt();
        m_list->invalidateGrid();
    });
    connect(m_days->lineEdit(), &QLineEdit::editingFinished, this, &LayerManager::daysEntered);

    // The date range of the event commands.
    m_rangePanel = new DialogPanel(QStringLiteral("Delete"), this);
    body = m_rangePanel->body();
    auto *range = new QGridLayout(body);
    m_olderThan =
        new QRadioButton(QStringLiteral("All events in the chosen layer(s) older than:"), body);
    m_allEvents = new QRadioButton(QStringLiteral("All events in the chosen layer(s)"), body);
    m_dateBox = new DateBox(m_format, body);
    m_dateBox->setObjectName(QStringLiteral("date"));
    m_dateDrop = m_datePopup->dropButtonFor(
        m_dateBox, [this] { return m_date; }, [this] { dateEntered(); });
    m_targetLabel = new QLabel(QStringLiteral("To:"), body);
    m_target = new LayerChoiceBox(body);
    auto *dateRow = new QHBoxLayout;
    dateRow->addSpacing(20);
    dateRow->addWidget(m_dateBox, 1);
    dateRow->addWidget(m_dateDrop);
    range->addWidget(m_olderThan, 0, 0, 1, 2);
    range->addLayout(dateRow, 1, 0, 1, 2);
    range->addWidget(m_allEvents, 2, 0, 1, 2);
    range->addWidget(m_targetLabel, 3, 0);
    range->addWidget(m_target, 3, 1);
    range->setRowStretch(4, 1);
    panels->addWidget(m_rangePanel, 1);
    connect(m_dateBox, &QLineEdit::editingFinished, this, [this] {
        if (isVisible()) dateEntered();
    });

    const EditorDialogParts::Buttons okCancel = EditorDialogParts::okCancelRow(*this);
    m_ok = okCancel.ok;
    m_cancel = okCancel.cancel;
    m_ok->setDefault(true);
    m_cancel->setAutoDefault(false);
    top->addLayout(okCancel.row);
    connect(m_ok, &QPushButton::clicked, this, &LayerManager::accept);
    connect(m_cancel, &QPushButton::clicked, this, &LayerManager::reject);

    // Enter in these boxes applies the box and leaves the dialog open.
    for (QWidget *w : {static_cast<QWidget *>(m_name), static_cast<QWidget *>(m_days->lineEdit()),
                       static_cast<QWidget *>(m_dateBox)})
        w->installEventFilter(this);
}

void LayerManager::prepare(Mode mode, const QString &importFile)
{
    m_mode = mode;
    static const char *const captions[] = {"Layer", "Delete Events", "Move Events", "Copy Events"};
    static const char *const okTexts[] = {"OK", "Delete", "Move", "Copy"};
    setWindowTitle(QString::fromLatin1(captions[int(mode)]));
    m_ok->setText(QString::fromLatin1(okTexts[int(mode)]));
    const bool layersMode = mode == Mode::Layers;
    for (QWidget *w : {m_newButton, m_deleteButton, m_importButton, m_exportButton})
        w->setVisible(layersMode);
    m_propertiesPanel->setVisible(layersMode);
    m_rangePanel->setVisible(!layersMode);
    m_rangePanel->setTitle(mode == Mode::DeleteEvents ? QStringLiteral("Delete")
                           : mode == Mode::MoveEvents ? QStringLiteral("Move")
                                                      : QStringLiteral("Copy"));
    const bool toLayer = mode == Mode::MoveEvents || mode == Mode::CopyEvents;
    m_targetLabel->setVisible(toLayer);
    m_target->setVisible(toLayer);
    m_list->setEditable(layersMode);
    m_deletedIds.clear();
    m_importedIds.clear();
    m_date = m_clock.today();
    m_dateBox->setDate(m_date);
    m_olderThan->setChecked(true);
    readLayers();
    if (layersMode) {
        if (!importFile.isEmpty()) (void)importLayers(importFile);
        showSelection();
    } else {
        fillTargets();
    }
    m_ok->setFocus();
}

void LayerManager::readLayers()
{
    std::vector<LayerListGrid::Row> rows;
    for (const LayerRow &l : m_layers.layers())
        rows.push_back(
            {l, m_events.countLayerEvents(l.id), m_tasks.countTasksOfLayer(l.id), false});
    m_list->setRows(std::move(rows));
}

LayerListGrid::Row *LayerManager::singleSelected()
{
    const std::vector<int> sel = m_list->selectedRows();
    return sel.size() == 1 ? &m_list->rows()[std::size_t(sel.front())] : nullptr;
}

void LayerManager::showSelection()
{
    const int n = int(m_list->rows().size());
    m_zeroLayers->setGeometry(m_list->rect());
    m_zeroLayers->setVisible(n == 0);
    m_newButton->setEnabled(n < MaxLayers);
    m_importButton->setEnabled(n < MaxLayers);
    m_deleteButton->setEnabled(n > 0);
    m_exportButton->setEnabled(n > 0);
    m_ok->setEnabled(n > 0);

    const LayerListGrid::Row *r = singleSelected();
    m_propertiesPanel->body()->setEnabled(r != nullptr);
    m_name->setText(r ? r->layer.name : QString());
    m_colors->setChosen(r ? r->layer.color : 0);
    m_archiveOff->setChecked(!r || r->layer.archiving != 2);
    m_archiveOn->setChecked(r && r->layer.archiving == 2);
    m_days->setEditText(r ? daysText(r->layer.archiveDays) : QString());
    m_list->rowsChanged();
}

void LayerManager::fillTargets()
{
    std::vector<LayerRow> targets;
    for (const LayerListGrid::Row &r : m_list->rows())
        if (!r.selected) targets.push_back(r.layer);
    m_target->showLayers(targets);
    m_zeroLayers->setGeometry(m_list->rect());
    m_zeroLayers->setVisible(m_list->rows().empty());
    m_ok->setEnabled(m_mode == Mode::DeleteEvents ? !m_list->rows().empty() : !targets.empty());
}

// ---------------------------------------------------------------------------------------------
// Properties.

void LayerManager::nameEntered()
{
    if (LayerListGrid::Row *r = singleSelected()) {
        r->layer.name = m_name->text();
        m_list->invalidateGrid();
    }
}

void LayerManager::daysEntered()
{
    LayerListGrid::Row *r = singleSelected();
    if (!r) return;
    const auto days = parseDays(m_days->currentText());
    if (days) r->layer.archiveDays = *days;
    m_days->setEditText(daysText(r->layer.archiveDays));
    m_list->invalidateGrid();
    if (!days) m_prompts.warnOver(this, QStringLiteral("Invalid Number"));
}

void LayerManager::dateEntered()
{
    const auto day = m_dateBox->takeDate(m_date);
    if (!day) {
        m_prompts.warnOver(this, QStringLiteral("Invalid Date"));
        return;
    }
    m_date = *day;
    m_dateBox->setDate(m_date);
}

bool LayerManager::eventFilter(QObject *watched, QEvent *event)
{
    if (isEnter(event)) {
        if (watched == m_name)
            nameEntered();
        else if (watched == m_days->lineEdit())
            daysEntered();
        else if (watched == m_dateBox)
            dateEntered();
        else
            return QDialog::eventFilter(watched, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// The layer buttons.

void LayerManager::addLayer()
{
    std::vector<LayerListGrid::Row> &rows = m_list->rows();
    if (m_busy || int(rows.size()) >= MaxLayers) return;
    int color = 1;
    while (color < LayerPalette::ColorCount &&
           std::any_of(rows.begin(), rows.end(),
                       [color](const LayerListGrid::Row &r) { return r.layer.color == color; }))
        ++color;
    LayerListGrid::Row row;
    row.layer.id = -1;
    row.layer.name = QStringLiteral("Layer") + QString::number(rows.size() + 1);
    row.layer.color = color;
    rows.push_back(row);
    m_list->rowsChanged();
    m_list->selectOnly(int(rows.size()) - 1);
    showSelection();
    m_name->setFocus();
    m_name->selectAll();
}

void LayerManager::removeSelectedRows()
{
    std::vector<LayerListGrid::Row> &rows = m_list->rows();
    if (m_busy || rows.empty()) return;
    const std::vector<int> sel = m_list->selectedRows();
    for (auto it = sel.rbegin(); it != sel.rend(); ++it) {
        const int id = rows[std::size_t(*it)].layer.id;
        if (id >= 0) m_deletedIds.append(id);
        rows.erase(rows.begin() + *it);
    }
    m_list->rowsChanged();
    m_list->selectOnly(std::min(sel.front(), int(rows.size()) - 1));
    showSelection();
}

bool LayerManager::importLayers(const QString &path)
{
    if (m_busy) return false;
    m_busy = true;
    const auto done = qScopeGuard([this] { m_busy = false; });
    const int count = int(m_list->rows().size());
    const LayerFile::ImportResult r =
        LayerFile::importFile(path, m_layers, m_events, m_tasks, count);
    if (r.tooMany) {
        m_prompts.warnOver(this, QStringLiteral("You are trying to import %1 layers. There is only "
                                                "room for %2.")
                                     .arg(r.fileLayers)
                                     .arg(MaxLayers - count));
        return false;
    }
    if (!r) {
        m_prompts.warnOver(this, QStringLiteral("The layer file \"%1\" cannot be imported.\n%2")
                                     .arg(QDir::toNativeSeparators(path), r.error));
        return false;
    }
    std::vector<LayerListGrid::Row> &rows = m_list->rows();
    for (int id : r.layerIDs) {
        const auto layer = m_layers.layer(id);
        if (!layer) continue;
        rows.push_back(
            {*layer, m_events.countLayerEvents(id), m_tasks.countTasksOfLayer(id), false});
        m_importedIds.append(id);
    }
    m_list->rowsChanged();
    if (!r.layerIDs.isEmpty()) m_list->selectOnly(int(rows.size()) - 1);
    showSelection();
    emit layersImported();
    return true;
}

bool LayerManager::exportLayers(const QString &path)
{
    if (m_busy) return false;
    QList<int> ids;
    for (int i : m_list->selectedRows())
        ids.append(m_list->rows()[std::size_t(i)].layer.id);
    if (ids.contains(-1)) {
        m_prompts.warnOver(this, QStringLiteral("It's not possible to export uncreated layers."));
        return false;
    }
    const StoreResult r = LayerFile::exportFile(path, ids, m_layers, m_events, m_tasks);
    if (!r) {
        m_prompts.warnOver(this, QStringLiteral("The layer file \"%1\" cannot be written.\n%2")
                                     .arg(QDir::toNativeSeparators(path), r.error));
        return false;
    }
    return true;
}

void LayerManager::chooseImportFile()
{
    if (m_busy) return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Import"),
                                                      m_settings.layerPath(), FileFilter);
    if (path.isEmpty()) return;
    m_settings.setLayerPath(QFileInfo(path).absolutePath() + QLatin1Char('/'));
    (void)importLayers(path);
}

void LayerManager::chooseExportFile()
{
    if (m_busy) return;
    const std::vector<int> sel = m_list->selectedRows();
    for (int i : sel)
        if (m_list->rows()[std::size_t(i)].layer.id < 0) {
            m_prompts.warnOver(this,
                               QStringLiteral("It's not possible to export uncreated layers."));
            return;
        }
    QString proposal = m_settings.layerPath();
    if (sel.size() == 1) proposal += m_list->rows()[std::size_t(sel.front())].layer.name + ".dyl";
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Export"), proposal, FileFilter);
    if (path.isEmpty()) return;
    m_settings.setLayerPath(QFileInfo(path).absolutePath() + QLatin1Char('/'));
    (void)exportLayers(path);
}

// ---------------------------------------------------------------------------------------------
// OK and Cancel.

void LayerManager::accept()
{
    if (m_busy) return;
    m_busy = true;
    const auto done = qScopeGuard([this] { m_busy = false; });
    // A box being typed in counts as left.
    if (m_mode == Mode::Layers && m_propertiesPanel->isEnabled() && singleSelected()) {
        nameEntered();
        if (m_days->lineEdit()->hasFocus()) daysEntered();
    }
    const bool done2 = m_mode == Mode::Layers ? commitLayers() : commitEvents();
    if (!done2) return;
    m_importedIds.clear();
    QDialog::accept();
}

bool LayerManager::commitLayers()
{
    if (!m_deletedIds.isEmpty()) {
        const QString copy = LayerRemoval::lastDeletedPath(m_layers.dataDir());
        const StoreResult r =
            LayerRemoval::deleteLayersKeepingCopy(copy, m_deletedIds, m_layers, m_events, m_tasks);
        if (!r && r.count == 0) {
            m_prompts.warnOver(
                this, QStringLiteral("The layers to be deleted could not be saved to \"%1\", so "
                                     "nothing was deleted.\n%2")
                          .arg(QDir::toNativeSeparators(copy), r.error));
            return false;
        }
        m_deletedIds.clear();
        if (!r) m_prompts.warnOver(this, r.error);
    }
    QString error;
    m_layers.beginBulk();
    int position = 0;
    for (const LayerListGrid::Row &row : m_list->rows()) {
        LayerRow l = row.layer;
        l.row = ++position;
        if (l.id >= 0 && m_layers.exists(l.id)) {
            const TableResult r = m_layers.updateLayer(l);
            if (!r.ok() && error.isEmpty()) error = r.error;
        } else {
            const InsertResult r =
                m_layers.insertLayer(l.row, l.name, l.shown, l.color, l.archiving, l.archiveDays);
            if (!r.applied() && error.isEmpty()) error = r.table.error;
        }
    }
    const TableResult written = m_layers.endBulk();
    if (!written.ok() && error.isEmpty()) error = written.error;
    if (!error.isEmpty())
        m_prompts.warnOver(this, QStringLiteral("The layers could not be saved.\n%1").arg(error));
    return true;
}

bool LayerManager::commitEvents()
{
    QList<int> layerIds;
    for (int i : m_list->selectedRows())
        layerIds.append(m_list->rows()[std::size_t(i)].layer.id);
    const QStringList ids = LayerEventRange::eventsEndingBy(
        m_events, layerIds,
        m_allEvents->isChecked() ? std::nullopt : std::optional<SerialDateTime>(m_date));
    StoreResult r;
    switch (m_mode) {
    case Mode::DeleteEvents:
        // Nothing chosen: the undo file keeps the last deletion.
        if (ids.isEmpty()) return true;
        r = m_events.deleteWithUndo(ids);
        if (r.count > 0) emit eventsDeletedWithUndo();
        break;
    case Mode::MoveEvents:
    case Mode::CopyEvents: {
        const int target = m_target->chosenId();
        if (target < 0) return false;
        r = m_mode == Mode::MoveEvents ? LayerEventRange::moveEvents(m_events, ids, target)
                                       : LayerEventRange::copyEvents(m_events, ids, target);
        break;
    }
    case Mode::Layers:
        break;
    }
    if (!r)
        m_prompts.warnOver(this,
                           QStringLiteral("The events could not all be changed.\n%1").arg(r.error));
    return r.ok || r.count > 0;
}

void LayerManager::reject()
{
    if (m_busy) return;
    if (!m_importedIds.isEmpty()) {
        const StoreResult r =
            LayerRemoval::deleteLayers(m_importedIds, m_layers, m_events, m_tasks);
        m_importedIds.clear();
        emit layersImported();
        if (!r) m_prompts.warnOver(this, r.error);
    }
    QDialog::reject();
}
