#pragma once
// File > "Import Calendar..." and "Export Calendar...": calendar files (.ics) in and out of
// the stores. Import asks for the file and the target layer, imports it as one undoable step
// (Edit > Undo removes it) and shows the one summary message, or the reason it was refused.
// Export asks for the layers and the file. A command-line import of a calendar file goes
// straight into a new layer.
#include <QObject>
#include <QString>

#include <functional>

class Clock;
class EventsStore;
class LayersStore;
class MainWindow;
class TasksStore;

class CalendarFileCommands : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *UndoImportText = "Undo Import";

    // Connects the window's two File items. The window and the stores must outlive this.
    CalendarFileCommands(MainWindow &window, LayersStore &layers, EventsStore &events,
                         TasksStore &tasks, const Clock &clock);

    // The file chooser: the path to open (`save` false) or to write; empty when cancelled.
    // Tests replace the file dialog with their own.
    using FilePicker = std::function<QString(bool save)>;
    void setFilePicker(FilePicker picker) { m_picker = std::move(picker); }

    // The menu commands.
    void chooseAndImport();
    void chooseAndExport();

    // Imports `path` into layer `layerId` (0: a new layer), refreshes the window, offers Undo
    // and shows the summary or the refusal. True when something was imported.
    bool importFile(const QString &path, int layerId);
    // Writes the layers to `path`; a failure is shown. True when written.
    bool exportFile(const QString &path, const QList<int> &layerIDs);

    // Import is off in a read-only calendar; export stays on.
    void updateStates();

private:
    QString pick(bool save);

    MainWindow &m_window;
    LayersStore &m_layers;
    EventsStore &m_events;
    TasksStore &m_tasks;
    const Clock &m_clock;
    FilePicker m_picker;
};
