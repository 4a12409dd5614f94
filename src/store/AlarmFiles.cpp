#include "store/AlarmFiles.h"

#include "store/TextFileLines.h"

#include "core/FileText.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QThread>

namespace AlarmFiles
{
namespace
{

QString optionalTimeText(const std::optional<SerialDateTime> &t)
{
    return t ? FileText::fileDateTimeText(*t) : QString();
}

// An empty value gives an empty optional; anything but a file date-time fails the reader.
bool readOptionalTime(FileText::FileLineReader &r, std::optional<SerialDateTime> *out)
{
    const auto text = r.plain();
    if (!text) return false;
    if (text->isEmpty()) {
        out->reset();
        return true;
    }
    const auto t = FileText::parseFileDateTimeText(*text);
    if (!t) return false;
    *out = *t;
    return true;
}

// The line must end right after the last value's ";".
bool atLineEnd(FileText::FileLineReader &r)
{
    const auto rest = r.plain();
    return rest && rest->isEmpty() && r.atEnd();
}

bool readTexts(FileText::FileLineReader &r, AlarmEntry &rec)
{
    const auto subject = r.quotedRaw();
    const auto description = r.quotedRaw();
    const auto layer = r.quotedRaw();
    const auto color = r.integer();
    if (!subject || !description || !layer || !color) return false;
    rec.subject = *subject;
    rec.description = *description;
    rec.layerName = *layer;
    rec.colorNumber = *color;
    return atLineEnd(r);
}

bool isHeader(const QStringList &lines, const char *header)
{
    return !lines.isEmpty() && lines.first() == QLatin1String(header);
}

QByteArray joinLines(const QString &header, const QStringList &lines)
{
    QByteArray out = header.toUtf8() + "\r\n";
    for (const QString &l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

// nullopt when the file exists but cannot be read; an empty array for a missing file.
std::optional<QByteArray> readWhole(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.exists()) return QByteArray();
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return std::nullopt;
    }
    if (f.size() > MaxFileBytes) return f.read(MaxFileBytes + 1);
    return f.readAll();
}

bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

bool setAside(const QString &path, QString *asidePath)
{
    const QString target = path + QStringLiteral(".damaged");
    QFile::remove(target);
    if (!QFile::rename(path, target)) return false;
    *asidePath = target;
    return true;
}

// Takes the lock, trying again every few milliseconds until LockTimeoutMs has passed. The
// other program holds the lock only for one read-modify-write at a time, so the gaps between
// its turns are short: QLockFile's own waiting (sleeps that double up to seconds) would look
// in on only a handful of them and give up while the file was free most of the time.
bool takeLock(QLockFile &lock)
{
    QDeadlineTimer deadline(LockTimeoutMs);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired()) return false;
        QThread::msleep(LockRetryMs);
    }
    return true;
}

// Runs `body` while holding the lock file of `path`.
FileResult underLock(const QString &path, const std::function<FileResult()> &body)
{
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(30000);
    if (!takeLock(lock)) {
        FileResult r;
        r.error = QStringLiteral("The file %1 is locked by another program.").arg(path);
        return r;
    }
    return body();
}

// Reads the alarms of the file at `path` for a rewrite; an unreadable file is set aside.
std::optional<AlarmFileContent> loadForRewrite(const QString &path, FileResult &result)
{
    QString error;
    const auto bytes = readWhole(path, &error);
    if (!bytes) {
        result.error = error;
        return std::nullopt;
    }
    auto content = parseAlarmFile(*bytes, &error);
    if (!content) {
        if (!setAside(path, &result.setAsidePath)) {
            result.error = error;
            return std::nullopt;
        }
        return AlarmFileContent{};
    }
    result.droppedLines = content->damagedLines;
    return content;
}

} // namespace

QString alarmLine(const AlarmEntry &rec)
{
    return QStringLiteral("%1;%2;%3;%4;%5;%6;%7;%8;")
        .arg(QString::number(rec.id), optionalTimeText(rec.startTime),
             optionalTimeText(rec.endTime), FileText::fileDateTimeText(rec.alarmTime), rec.subject,
             rec.description, rec.layerName, QString::number(rec.colorNumber));
}

std::optional<AlarmEntry> parseAlarmLine(QStringView line)
{
    FileText::FileLineReader r(line);
    AlarmEntry rec;
    const auto id = r.integer();
    if (!id || !readOptionalTime(r, &rec.startTime) || !readOptionalTime(r, &rec.endTime))
        return std::nullopt;
    const auto alarm = r.dateTime();
    if (!alarm) return std::nullopt;
    rec.id = *id;
    rec.alarmTime = *alarm;
    if (!readTexts(r, rec)) return std::nullopt;
    return rec;
}

QString snoozeLine(int code, const AlarmEntry &rec)
{
    return QStringLiteral("%1;%2;%3;%4;%5;%6;%7;%8;")
        .arg(QString::number(code), QString::number(rec.id), optionalTimeText(rec.startTime),
             optionalTimeText(rec.endTime), rec.subject, rec.description, rec.layerName,
             QString::number(rec.colorNumber));
}

std::optional<SnoozeRequest> parseSnoozeLine(QStringView line)
{
    FileText::FileLineReader r(line);
    SnoozeRequest req;
    const auto code = r.integer();
    const auto id = r.integer();
    if (!code || !id || !readOptionalTime(r, &req.entry.startTime) ||
        !readOptionalTime(r, &req.entry.endTime) || !readTexts(r, req.entry))
        return std::nullopt;
    req.code = *code;
    req.entry.id = *id;
    return req;
}

std::optional<AlarmFileContent> parseAlarmFile(const QByteArray &bytes, QString *error)
{
    const auto lines = TextFileLines::split(bytes, MaxFileBytes, error);
    if (!lines) return std::nullopt;
    AlarmFileContent content;
    if (bytes.isEmpty()) return content;
    if (!isHeader(*lines, AlarmHeader)) {
        if (error) *error = QStringLiteral("The first line is not the alarm file header.");
        return std::nullopt;
    }
    for (qsizetype i = 1; i < lines->size(); ++i) {
        if (lines->at(i).isEmpty()) continue;
        if (auto rec = parseAlarmLine(lines->at(i)))
            content.alarms.append(*rec);
        else
            ++content.damagedLines;
    }
    return content;
}

std::optional<QList<SnoozeRequest>> parseSnoozeFile(const QByteArray &bytes, QString *error)
{
    const auto lines = TextFileLines::split(bytes, MaxFileBytes, error);
    if (!lines) return std::nullopt;
    QList<SnoozeRequest> requests;
    if (bytes.isEmpty()) return requests;
    if (!isHeader(*lines, SnoozeHeader)) {
        if (error) *error = QStringLiteral("The first line is not the snooze file header.");
        return std::nullopt;
    }
    for (qsizetype i = 1; i < lines->size(); ++i) {
        if (lines->at(i).isEmpty()) continue;
        auto req = parseSnoozeLine(lines->at(i));
        if (!req) {
            if (error) *error = QStringLiteral("Line %1 is not a snooze line.").arg(i + 1);
            return std::nullopt;
        }
        requests.append(*req);
    }
    return requests;
}

QByteArray alarmFileBytes(const QList<AlarmEntry> &alarms)
{
    QStringList lines;
    for (const AlarmEntry &a : alarms)
        lines << alarmLine(a);
    return joinLines(QLatin1String(AlarmHeader), lines);
}

QByteArray snoozeFileBytes(const QList<SnoozeRequest> &requests)
{
    QStringList lines;
    for (const SnoozeRequest &r : requests)
        lines << snoozeLine(r.code, r.entry);
    return joinLines(QLatin1String(SnoozeHeader), lines);
}

FileResult rewriteAlarms(const QString &dataDir,
                         const std::function<QList<AlarmEntry>(QList<AlarmEntry>)> &change)
{
    const QString path = dataDir + QLatin1String(AlarmFileName);
    return underLock(path, [&] {
        FileResult result;
        auto content = loadForRewrite(path, result);
        if (!content) return result;
        const QList<AlarmEntry> alarms = change(std::move(content->alarms));
        result.ok = writeAtomically(path, alarmFileBytes(alarms), &result.error);
        return result;
    });
}

FileResult appendAlarms(const QString &dataDir, const QList<AlarmEntry> &alarms)
{
    return rewriteAlarms(dataDir, [&](QList<AlarmEntry> old) {
        old.append(alarms);
        return old;
    });
}

FileResult appendSnooze(const QString &dataDir, const SnoozeRequest &request)
{
    const QString path = dataDir + QLatin1String(SnoozeFileName);
    return underLock(path, [&] {
        FileResult result;
        QString error;
        const auto bytes = readWhole(path, &error);
        if (!bytes) {
            result.error = error;
            return result;
        }
        auto requests = parseSnoozeFile(*bytes, &error);
        if (!requests) {
            if (!setAside(path, &result.setAsidePath)) {
                result.error = error;
                return result;
            }
            requests.emplace();
        }
        requests->append(request);
        result.ok = writeAtomically(path, snoozeFileBytes(*requests), &result.error);
        return result;
    });
}

SnoozeTakeResult takeSnoozeRequests(const QString &dataDir)
{
    const QString path = dataDir + QLatin1String(SnoozeFileName);
    SnoozeTakeResult take;
    const FileResult locked = underLock(path, [&] {
        FileResult result;
        const auto bytes = readWhole(path, &result.error);
        if (!bytes) return result;
        auto requests = parseSnoozeFile(*bytes, &result.error);
        if (!requests) {
            setAside(path, &result.setAsidePath);
            return result;
        }
        if (QFile::exists(path) && !QFile::remove(path)) {
            result.error = QStringLiteral("The snooze file could not be removed.");
            return result;
        }
        take.requests = std::move(*requests);
        result.ok = true;
        return result;
    });
    take.ok = locked.ok;
    take.error = locked.error;
    if (!take.ok) take.requests.clear();
    return take;
}

} // namespace AlarmFiles
