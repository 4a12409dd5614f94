#include "store/LayerFileFormat.h"

#include "core/FileText.h"
#include "store/TextFileLines.h"

#include <QRegularExpression>
#include <QSet>

namespace LayerFileFormat
{
namespace
{

constexpr int Columns = 23;

std::optional<Content> refuse(QString *error, const QString &why)
{
    if (error) *error = why;
    return std::nullopt;
}

// A layer row; `archive` expects one count column.
std::optional<LayerRow> parseLayerRow(QStringView line, bool archive)
{
    FileText::FileLineReader r(line);
    LayerRow row;
    const auto number = r.integer();
    const auto name = r.quoted();
    const auto show = r.boolean();
    const auto color = r.integer();
    const auto archiving = r.integer();
    const auto days = r.integer();
    const auto events = r.integer();
    int read = 7;
    if (!archive) {
        const auto tasks = r.integer();
        if (!tasks || *tasks < 0) return std::nullopt;
        row.taskCount = *tasks;
        ++read;
    }
    for (; read < Columns; ++read) {
        const auto pad = r.plain();
        if (!pad || !pad->isEmpty()) return std::nullopt;
    }
    if (!number || !name || !show || !color || !archiving || !days || !events || *events < 0 ||
        !r.ok() || !r.atEnd())
        return std::nullopt;
    row.number = *number;
    row.name = *name;
    row.show = *show;
    row.color = *color;
    row.archiving = *archiving;
    row.days = *days;
    row.eventCount = *events;
    return row;
}

} // namespace

QString layerCountLine(int n)
{
    return QString::number(n) + QString(Columns - 1, u';');
}

QString layerRowLine(int number, const QString &layerFileLine, int eventCount,
                     std::optional<int> taskCount)
{
    QString line =
        QString::number(number) + u';' + layerFileLine + u';' + QString::number(eventCount);
    if (taskCount) return line + u';' + QString::number(*taskCount) + QString(15, u';');
    return line + QString(16, u';');
}

QString archiveEventHeader()
{
    const QString header = QString::fromLatin1(RecordLines::EventHeader);
    return header.mid(header.indexOf(u';'));
}

QByteArray fileBytes(const QStringList &layerRows, const QStringList &eventLines,
                     const std::optional<QStringList> &taskLines)
{
    const bool archive = !taskLines;
    QStringList lines{QString::fromLatin1(CountLine), layerCountLine(int(layerRows.size())),
                      QString::fromLatin1(archive ? ArchiveLayerHeader : LayerHeader)};
    lines += layerRows;
    lines += archive ? archiveEventHeader() : QString::fromLatin1(RecordLines::EventHeader);
    lines += eventLines;
    if (taskLines) {
        lines += QString::fromLatin1(RecordLines::TaskHeader);
        lines += *taskLines;
    }
    return TextFileLines::join(lines);
}

std::optional<Content> parse(const QByteArray &bytes, QString *error)
{
    const auto lines = TextFileLines::split(bytes, MaxFileBytes, error);
    if (!lines) return std::nullopt;
    const auto bad = [&](qsizetype i) {
        return refuse(error, QStringLiteral("Line %1 of the layer file is damaged.").arg(i + 1));
    };
    const qsizetype size = lines->size();
    if (size < 4) return refuse(error, QStringLiteral("The layer file is incomplete."));
    if (lines->at(0) != QLatin1String(CountLine)) return bad(0);
    static const QRegularExpression countRe(QStringLiteral("^([0-9]{1,2});{22}$"));
    const auto m = countRe.match(lines->at(1));
    if (!m.hasMatch()) return bad(1);
    const int n = m.captured(1).toInt();
    if (n > MaxLayers) return bad(1);

    Content c;
    if (lines->at(2) == QLatin1String(ArchiveLayerHeader))
        c.archiveForm = true;
    else if (lines->at(2) != QLatin1String(LayerHeader))
        return bad(2);

    QSet<int> numbers;
    qint64 eventTotal = 0, taskTotal = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype at = 3 + i;
        if (at >= size) return refuse(error, QStringLiteral("The layer file is incomplete."));
        const auto row = parseLayerRow(lines->at(at), c.archiveForm);
        if (!row || numbers.contains(row->number)) return bad(at);
        numbers.insert(row->number);
        eventTotal += row->eventCount;
        taskTotal += row->taskCount.value_or(0);
        c.layers.append(*row);
    }

    qsizetype at = 3 + n;
    if (at >= size) return refuse(error, QStringLiteral("The layer file is incomplete."));
    const QString &eventHeader = lines->at(at);
    if (eventHeader != QLatin1String(RecordLines::EventHeader) &&
        eventHeader != archiveEventHeader())
        return bad(at);
    ++at;
    // Counts are checked against what the file holds before anything is read or reserved.
    const qint64 needed = eventTotal + (c.archiveForm ? 0 : 1 + taskTotal);
    if (needed > size - at)
        return refuse(error, QStringLiteral("The layer file holds fewer lines than its counts."));
    for (qint64 e = 0; e < eventTotal; ++e, ++at) {
        auto row = RecordLines::parseEventLine(lines->at(at));
        if (!row) return bad(at);
        c.eventLineTexts.append(lines->at(at));
        c.events.append(std::move(*row));
    }
    if (!c.archiveForm) {
        if (lines->at(at) != QLatin1String(RecordLines::TaskHeader)) return bad(at);
        ++at;
        QSet<int> ids;
        for (qint64 t = 0; t < taskTotal; ++t, ++at) {
            auto task = RecordLines::parseTaskLine(lines->at(at));
            if (!task || ids.contains(task->fileId)) return bad(at);
            ids.insert(task->fileId);
            c.tasks.append(std::move(*task));
        }
    }
    for (; at < size; ++at)
        if (!lines->at(at).isEmpty())
            return refuse(error,
                          QStringLiteral("The layer file holds more lines than its counts."));
    return c;
}

} // namespace LayerFileFormat
