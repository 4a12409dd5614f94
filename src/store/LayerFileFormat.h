#pragma once
// The text of a layer file (".dyl"): one or more layers with their events and tasks.
//
//   line 0        "COUNT" + 22 ";"
//   line 1        N (number of layers) + 22 ";"
//   line 2        the layer header (the archive's own header has one count column)
//   lines 3..N+2  layer rows: number;'Name';Show;Color;Archiving;Days;eventCount;taskCount
//                 padded with ";" to 23 columns (the archive: no task count)
//   line N+3      the event header (the archive's starts with an empty column name)
//   E lines       event lines, E = sum of the event counts
//   next line     the task header (absent in the archive)
//   T lines       task lines, T = sum of the task counts
// Layers are numbered -1000, -999, ... inside a file; event and task lines name their layer
// by that number. Task IDs in a layer file are numbers of the file (1, 2, ... in file order,
// written negated), parents always before their children.
#include "store/RecordLines.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace LayerFileFormat
{

inline constexpr int FirstLayerNumber = -1000;
inline constexpr int MaxLayers = 24;
inline constexpr qint64 MaxFileBytes = 256LL * 1024 * 1024;
inline constexpr const char *CountLine = "COUNT;;;;;;;;;;;;;;;;;;;;;;";
inline constexpr const char *LayerHeader =
    "ID;NAME;SHOW;COLORNR;ARCHIVING;DAYS;EVENTCOUNT;TASKCOUNT;;;;;;;;;;;;;;;";
inline constexpr const char *ArchiveLayerHeader =
    "ID;NAME;SHOW;COLORNR;ARCHIVING;DAYS;COUNT;;;;;;;;;;;;;;;;";

struct LayerRow {
    int number = FirstLayerNumber;
    QString name; // plain text
    bool show = true;
    int color = 1;
    int archiving = 1;
    int days = 30;
    int eventCount = 0;
    std::optional<int> taskCount; // none in the archive's row
};

struct Content {
    bool archiveForm = false; // the archive's headers: no task count, no task section
    QList<LayerRow> layers;
    QStringList eventLineTexts; // the event lines as written
    QList<QVariantList> events; // the same, parsed (RecordLines::parseEventLine)
    QList<RecordLines::TaskLine> tasks;
};

// The whole file, checked before anything is returned: the headers, N (0..24), every layer
// row (distinct numbers, counts >= 0), exactly E event lines and T task lines (distinct task
// IDs), nothing but empty lines after them. nullopt (`error` set) otherwise.
std::optional<Content> parse(const QByteArray &bytes, QString *error = nullptr);

// "N" + 22 ";".
QString layerCountLine(int n);
// A layer row from the layers store's layer file line ('Name';Show;Color;Archiving;Days):
// number;line;events;tasks + 15 ";" (tasks nullopt: the archive's form, + 16 ";").
QString layerRowLine(int number, const QString &layerFileLine, int eventCount,
                     std::optional<int> taskCount);
// The archive header: the event header with its first column name left empty.
QString archiveEventHeader();

// The file's bytes: each line followed by CR LF. `taskLines` nullopt writes the archive form
// (no task header).
QByteArray fileBytes(const QStringList &layerRows, const QStringList &eventLines,
                     const std::optional<QStringList> &taskLines);

} // namespace LayerFileFormat
