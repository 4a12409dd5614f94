#pragma once
// A small INI file that keeps its keys in the order they were first written, so the settings
// file reads in the order the program loads its values. Values are text; the typed accessors
// of the settings store convert them. Every change is written at once, atomically.
//
// File form: "[Group]" lines, then "Key=Value" lines. A value that starts or ends with a blank
// or holds a double quote or backslash is written in double quotes with \" and \\ escapes.
// Lines that are neither are kept as they are and written back.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class SettingsFile
{
public:
    explicit SettingsFile(QString path);

    // Reads the file; a missing file is an empty one. False when the file exists but cannot be
    // read.
    bool load();
    // The raw text of Group/Key, or nothing when absent.
    std::optional<QString> value(const QString &group, const QString &key) const;
    // Sets the value in memory and writes the whole file. False when the write failed; the
    // in-memory value is set either way.
    bool setValue(const QString &group, const QString &key, const QString &text);
    bool save();

    const QString &path() const { return m_path; }

    static QString encodeValue(const QString &text);
    static QString decodeValue(const QString &raw);

private:
    struct Line {
        QString group; // group the line belongs to
        QString key;   // empty for a group header or a kept line
        QString text;  // decoded value, or the line as read for kept lines
        bool header = false;
    };
    int findLine(const QString &group, const QString &key) const;

    QString m_path;
    std::vector<Line> m_lines;
};
