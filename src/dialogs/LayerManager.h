#pragma once
// The layer manager: one modal dialog for four commands. Mode Layers edits the layer list
// (new, delete, rename, colour, visibility, archiving, order, import and export of layer
// files); the other modes delete, move or copy the events of the chosen layers, all of them
// or those ended by a date. The left list shows every layer with its event and task counts.
//
// In mode Layers the dialog works on a copy of the list: rows made or deleted, names, colours
// and the order reach the layers store at OK. Imports are the exception: an imported file's
// layers, events and tasks are stored at once, and Cancel removes them again. Deleting layers
// at OK first writes them to "My Layers/Last Deleted.dyl"; when that file cannot be written
// nothing is deleted and the dialog stays open.
#include "core/DateTimeValue.h"
#include "dialogs/DialogPrompts.h"
#include "dialogs/LayerListGrid.h"

#include <QDialog>
#include <QList>

class Clock;
class DateBox;
class DatePopup;
class DateTimeFormat;
class DialogPanel;
class EventsStore;
class LayerChoiceBox;
class LayerColorGrid;
class LayersStore;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class Settings;
class TasksStore;

class LayerManager : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { Layers, DeleteEvents, MoveEvents, CopyEvents };
    static constexpr int MaxLayers = 24;

    // The references must outlive the dialog.
    LayerManager(LayersStore &layers, EventsStore &events, TasksStore &tasks, Settings &settings,
                 const DateTimeFormat &format, const Clock &clock, DialogPrompts prompts,
                 QWidget *parent);

    // Sets caption, buttons and panels for `mode` and reads the layers (the first row
    // selected); dates start at today. In mode Layers a non-empty `importFile` is imported at
    // once.
    void prepare(Mode mode, const QString &importFile = {});
    Mode mode() const { return m_mode; }

    // ---- mode Layers: what the buttons do once a file is chosen -------------------------
    // "New": a row "Layer" + the new row count in the lowest unused colour, selected alone.
    void addLayer();
    // "Delete": the selected rows leave the list; stored ones are deleted at OK.
    void removeSelectedRows();
    // Imports the layer file; false, with the reason told, when nothing was imported.
    bool importLayers(const QString &path);
    // Writes the selected layers to `path`; false, with the reason told, when nothing was
    // written (a selected row not stored yet, or the file could not be written).
    bool exportLayers(const QString &path);
    // IDs of the layers imported since the dialog was prepared.
    const QList<int> &importedIds() const { return m_importedIds; }

    // ---- parts (tests drive them with the mouse and keys) -------------------------------
    LayerListGrid &list() const { return *m_list; }
    LayerColorGrid &colors() const { return *m_colors; }
    QLineEdit &nameBox() const { return *m_name; }
    QComboBox &daysBox() const { return *m_days; }
    QRadioButton &archiveOn() const { return *m_archiveOn; }
    QPushButton &newButton() const { return *m_newButton; }
    QPushButton &deleteButton() const { return *m_deleteButton; }
    QPushButton &importButton() const { return *m_importButton; }
    QPushButton &okButton() const { return *m_ok; }
    QPushButton &cancelButton() const { return *m_cancel; }
    DateBox &dateBox() const { return *m_dateBox; }
    QToolButton &dateDropButton() const { return *m_dateDrop; }
    DatePopup &datePopup() const { return *m_datePopup; }
    QRadioButton &allEvents() const { return *m_allEvents; }
    LayerChoiceBox &targetBox() const { return *m_target; }
    SerialDateTime rangeDate() const { return m_date; }

signals:
    // Layers were imported (or an import taken back): the window shows the new layer list.
    void layersImported();
    // Events were deleted through the undo log: the window offers "Undo Delete".
    void eventsDeletedWithUndo();

public slots:
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void readLayers();
    // Properties and buttons after a change of the selection or the rows.
    void showSelection();
    void fillTargets();
    LayerListGrid::Row *singleSelected();
    void nameEntered();
    void daysEntered();
    void dateEntered();
    void chooseImportFile();
    void chooseExportFile();
    bool commitLayers();
    bool commitEvents();

    LayersStore &m_layers;
    EventsStore &m_events;
    TasksStore &m_tasks;
    Settings &m_settings;
    const DateTimeFormat &m_format;
    const Clock &m_clock;
    DialogPrompts m_prompts;

    Mode m_mode = Mode::Layers;
    QList<int> m_deletedIds;
    QList<int> m_importedIds;
    SerialDateTime m_date = 0;
    bool m_busy = false; // a button's work is running: other buttons return at once

    LayerListGrid *m_list = nullptr;
    QLabel *m_zeroLayers = nullptr;
    QPushButton *m_newButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_importButton = nullptr;
    QPushButton *m_exportButton = nullptr;
    DialogPanel *m_propertiesPanel = nullptr;
    QLineEdit *m_name = nullptr;
    LayerColorGrid *m_colors = nullptr;
    QRadioButton *m_archiveOff = nullptr;
    QRadioButton *m_archiveOn = nullptr;
    QComboBox *m_days = nullptr;
    DialogPanel *m_rangePanel = nullptr;
    QRadioButton *m_olderThan = nullptr;
    QRadioButton *m_allEvents = nullptr;
    DateBox *m_dateBox = nullptr;
    QToolButton *m_dateDrop = nullptr;
    DatePopup *m_datePopup = nullptr;
    QLabel *m_targetLabel = nullptr;
    LayerChoiceBox *m_target = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
