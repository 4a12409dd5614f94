#include "core/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

SettingsFile::SettingsFile(QString path) : m_path(std::move(path)) {}

QString SettingsFile::encodeValue(const QString &text)
{
    const bool needsQuotes = text.startsWith(' ') || text.endsWith(' ') || text.contains('"') ||
                             text.contains('\\') || text.startsWith('\t') || text.endsWith('\t');
    if (!needsQuotes) return text;
    QString out = "\"";
    for (QChar c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

QString SettingsFile::decodeValue(const QString &raw)
{
    if (raw.size() < 2 || !raw.startsWith('"') || !raw.endsWith('"')) return raw;
    QString out;
    const QString inner = raw.mid(1, raw.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] == '\\' && i + 1 < inner.size()) ++i;
        out += inner[i];
    }
    return out;
}

bool SettingsFile::load()
{
    m_lines.clear();
    QFile f(m_path);
    if (!f.exists()) return true;
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    QTextStream in(&f);
    QString group;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const QString t = line.trimmed();
        if (t.startsWith('[') && t.endsWith(']')) {
            group = t.mid(1, t.size() - 2);
            m_lines.push_back({group, {}, {}, true});
            continue;
        }
        const qsizetype eq = t.indexOf('=');
        if (eq > 0 && !t.startsWith(';') && !t.startsWith('#')) {
            const QString key = t.left(eq).trimmed();
            if (findLine(group, key) < 0) {
                m_lines.push_back({group, key, decodeValue(t.mid(eq + 1).trimmed()), false});
                continue;
            }
        }
        if (!t.isEmpty()) m_lines.push_back({group, {}, line, false});
    }
    return true;
}

int SettingsFile::findLine(const QString &group, const QString &key) const
{
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (!m_lines[i].header && m_lines[i].group == group && m_lines[i].key == key) return int(i);
    return -1;
}

std::optional<QString> SettingsFile::value(const QString &group, const QString &key) const
{
    const int i = findLine(group, key);
    if (i < 0) return std::nullopt;
    return m_lines[size_t(i)].text;
}

bool SettingsFile::setValue(const QString &group, const QString &key, const QString &text)
{
    const int i = findLine(group, key);
    if (i >= 0) {
        if (m_lines[size_t(i)].text == text) return save();
        m_lines[size_t(i)].text = text;
        return save();
    }
    // Append after the last line of the group, creating the group when it is new.
    int last = -1;
    for (size_t j = 0; j < m_lines.size(); ++j)
        if (m_lines[j].group == group) last = int(j);
    if (last < 0) {
        m_lines.push_back({group, {}, {}, true});
        last = int(m_lines.size()) - 1;
    }
    m_lines.insert(m_lines.begin() + last + 1, Line{group, key, text, false});
    return save();
}

bool SettingsFile::save()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    QTextStream out(&f);
    bool first = true;
    for (const Line &l : m_lines) {
        if (l.header) {
            if (!first) out << "\n";
            out << "[" << l.group << "]\n";
        } else if (l.key.isEmpty()) {
            out << l.text << "\n";
        } else {
            out << l.key << "=" << encodeValue(l.text) << "\n";
        }
        first = false;
    }
    out.flush();
    return f.commit();
}
