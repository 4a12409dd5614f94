#include "store/TextFileLines.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace TextFileLines
{

std::optional<QStringList> split(const QByteArray &bytes, qint64 maxBytes, QString *error)
{
    if (bytes.size() > maxBytes) {
        if (error) *error = QStringLiteral("The file is too large.");
        return std::nullopt;
    }
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.contains(QChar(0))) {
        if (error) *error = QStringLiteral("The file is not text.");
        return std::nullopt;
    }
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QString &l : lines)
        if (l.endsWith(u'\r')) l.chop(1);
    return lines;
}

QByteArray join(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines) {
        out += l.toUtf8();
        out += "\r\n";
    }
    return out;
}

std::optional<QByteArray> readFile(const QString &path, qint64 maxBytes, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return std::nullopt;
    }
    QByteArray bytes = f.read(maxBytes + 1);
    if (bytes.size() > maxBytes) {
        if (error) *error = QStringLiteral("The file is too large.");
        return std::nullopt;
    }
    return bytes;
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

} // namespace TextFileLines
