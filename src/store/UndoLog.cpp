#include "store/UndoLog.h"

#include "core/FileText.h"
#include "store/TextFileLines.h"

#include <QSet>

namespace UndoLog
{

QString sectionTitle(Section s)
{
    switch (s) {
    case Section::DeletedEvents:
        return QStringLiteral("DELETED EVENTS");
    case Section::DeletedTasks:
        return QStringLiteral("DELETED TASKS");
    case Section::MovedTasks:
        return QStringLiteral("MOVED TASKS");
    case Section::ImportedCalendar:
        break;
    }
    return QStringLiteral("IMPORTED CALENDAR");
}

QString sectionHeader(Section s)
{
    switch (s) {
    case Section::DeletedEvents:
        return QString::fromLatin1(RecordLines::EventHeader);
    case Section::DeletedTasks:
        return QString::fromLatin1(RecordLines::TaskHeader);
    case Section::MovedTasks:
        return QStringLiteral("ID;OLDPARENTID;");
    case Section::ImportedCalendar:
        break;
    }
    return QStringLiteral("KIND;ID;");
}

namespace
{
std::optional<Section> sectionOf(const QString &title)
{
    for (Section s : {Section::DeletedEvents, Section::DeletedTasks, Section::MovedTasks,
                      Section::ImportedCalendar})
        if (title == sectionTitle(s)) return s;
    return std::nullopt;
}

std::optional<MovedTaskRow> parseMovedRow(QStringView line)
{
    FileText::FileLineReader r(line);
    const auto id = r.integer();
    const auto parent = r.integer();
    const auto rest = r.plain();
    if (!id || !parent || !rest || !rest->isEmpty() || !r.atEnd()) return std::nullopt;
    if (*id <= 0 || (*parent <= 0 && *parent != -1)) return std::nullopt;
    return MovedTaskRow{*id, *parent};
}

constexpr char ImportedKinds[] = {'E', 'T', 'L'};

std::optional<ImportedItem> parseImportedRow(QStringView line)
{
    FileText::FileLineReader r(line);
    const auto kind = r.plain();
    const auto id = r.integer();
    const auto rest = r.plain();
    if (!kind || !id || !rest || !rest->isEmpty() || !r.atEnd() || *id <= 0 || kind->size() != 1)
        return std::nullopt;
    for (int k = 0; k < 3; ++k)
        if (kind->at(0) == QLatin1Char(ImportedKinds[k]))
            return ImportedItem{ImportedItem::Kind(k), *id};
    return std::nullopt;
}

std::optional<Content> refuse(QString *error, const QString &why)
{
    if (error) *error = why;
    return std::nullopt;
}
} // namespace

std::optional<Content> parse(const QByteArray &bytes, QString *error)
{
    const auto lines = TextFileLines::split(bytes, MaxFileBytes, error);
    if (!lines) return std::nullopt;
    if (lines->size() < 2) return refuse(error, QStringLiteral("The undo file is incomplete."));
    const auto section = sectionOf(lines->at(0));
    if (!section) return refuse(error, QStringLiteral("The undo file names no known section."));
    if (lines->at(1) != sectionHeader(*section))
        return refuse(error, QStringLiteral("The undo file's column line does not match."));
    Content c;
    c.section = *section;
    QSet<int> ids;
    for (qsizetype i = 2; i < lines->size(); ++i) {
        const QString &line = lines->at(i);
        if (line.isEmpty()) continue;
        const QString bad = QStringLiteral("Line %1 of the undo file is damaged.").arg(i + 1);
        switch (c.section) {
        case Section::DeletedEvents: {
            auto row = RecordLines::parseEventLine(line);
            if (!row) return refuse(error, bad);
            c.events.append(std::move(*row));
            break;
        }
        case Section::DeletedTasks: {
            auto task = RecordLines::parseTaskLine(line);
            if (!task || ids.contains(task->fileId)) return refuse(error, bad);
            ids.insert(task->fileId);
            c.tasks.append(std::move(*task));
            break;
        }
        case Section::MovedTasks: {
            const auto row = parseMovedRow(line);
            if (!row || c.movedTask) return refuse(error, bad);
            c.movedTask = row;
            break;
        }
        case Section::ImportedCalendar: {
            const auto item = parseImportedRow(line);
            if (!item) return refuse(error, bad);
            c.imported.append(*item);
            break;
        }
        }
    }
    if (c.section == Section::MovedTasks && !c.movedTask)
        return refuse(error, QStringLiteral("The undo file holds no moved task."));
    return c;
}

QByteArray fileBytes(Section section, const QStringList &rows)
{
    return TextFileLines::join(QStringList{sectionTitle(section), sectionHeader(section)} + rows);
}

QString movedTaskRow(int id, int oldParentID)
{
    return QStringLiteral("%1;%2;").arg(id).arg(oldParentID);
}

QString importedItemRow(const ImportedItem &item)
{
    return QStringLiteral("%1;%2;").arg(QLatin1Char(ImportedKinds[int(item.kind)])).arg(item.id);
}

bool write(const QString &dataDir, Section section, const QStringList &rows, QString *error)
{
    return TextFileLines::writeAtomically(dataDir + FileName, fileBytes(section, rows), error);
}

std::optional<Content> read(const QString &dataDir, QString *error)
{
    const auto bytes = TextFileLines::readFile(dataDir + FileName, MaxFileBytes, error);
    if (!bytes) return std::nullopt;
    return parse(*bytes, error);
}

std::optional<Section> readSection(const QString &dataDir)
{
    const auto bytes = TextFileLines::readFile(dataDir + FileName, MaxFileBytes, nullptr);
    if (!bytes) return std::nullopt;
    const qsizetype end = bytes->indexOf('\n');
    QString first = QString::fromUtf8(end < 0 ? *bytes : bytes->left(end));
    if (first.endsWith(u'\r')) first.chop(1);
    return sectionOf(first);
}

} // namespace UndoLog
