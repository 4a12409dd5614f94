#pragma once
// Reading and writing the program's own small text files (undo log, layer files): UTF-8,
// lines ending in CR LF (a lone LF is accepted on reading), replaced atomically on writing.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace TextFileLines
{

// The lines of checked UTF-8 text, without their line ends. A final line end does not start
// an empty last line. nullopt (`error` set) when the bytes are larger than maxBytes, not
// UTF-8, or hold a NUL character.
std::optional<QStringList> split(const QByteArray &bytes, qint64 maxBytes, QString *error);

// Each line followed by CR LF.
QByteArray join(const QStringList &lines);

// The whole file; nullopt (`error` set) when it is missing, cannot be read or is larger than
// maxBytes.
std::optional<QByteArray> readFile(const QString &path, qint64 maxBytes, QString *error);

// Writes `bytes` to a temporary file next to `path` and renames it over `path`; on failure
// the old file is untouched and `error` says why.
bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error);

} // namespace TextFileLines
