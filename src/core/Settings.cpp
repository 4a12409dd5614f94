#include "core/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{
QString withSlash(QString p)
{
    if (!p.endsWith('/')) p += '/';
    return p;
}

QString boolText(bool b)
{
    return b ? QStringLiteral("true") : QStringLiteral("false");
}
QString toText(const QString &s)
{
    return s;
}
QString toText(int i)
{
    return QString::number(i);
}
QString toText(bool b)
{
    return boolText(b);
}

// Integer settings that pick an entry of an option list (or an hour): a stored value outside
// the list is taken as the default. The print settings are checked where they are printed.
bool inOptionRange(const char *name, int value)
{
    struct Range {
        const char *name;
        int last; // the first entry is 0
    };
    static constexpr Range Ranges[] = {
        {"StartOfWeek", 1},   {"DateFormat", 6}, {"DateSeparator", 4}, {"TimeFormat", 2},
        {"TimeSeparator", 4}, {"View", 19},      {"Time", 24},         {"TimeScale", 5}};
    for (const Range &r : Ranges)
        if (qstrcmp(name, r.name) == 0) return value >= 0 && value <= r.last;
    return true;
}

// Quotes one argument of a desktop entry's Exec line, then escapes it as a string value.
QString execArgument(const QString &arg)
{
    QString q = "\"";
    for (QChar c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') q += '\\';
        q += c;
    }
    q += '"';
    q.replace("\\", "\\\\");
    q.replace("%", "%%");
    return q;
}
} // namespace

Settings::Settings(SettingsPaths where) : m_where(std::move(where)), m_file(m_where.settingsFile)
{
    if (!m_file.load()) m_writeFailed = true;

    m_dataPath = withSlash(QDir(m_where.dataDir).absolutePath());
    QDir().mkpath(m_dataPath);
    writeText("Path", m_dataPath);

#define DAYLOOM_LOAD(type, key, getter, setter, def) m_##getter = readOrDefault(#key, type(def));
    DAYLOOM_SETTINGS(DAYLOOM_LOAD)
#undef DAYLOOM_LOAD

    m_autostartApplied = applyAutostart(m_autostart);
    if (!m_autostartApplied) m_writeFailed = true;
}

void Settings::writeText(const char *name, const QString &text)
{
    if (!m_file.setValue(Section, QString::fromLatin1(name), text)) m_writeFailed = true;
}

QString Settings::readOrDefault(const char *name, const QString &def)
{
    if (auto v = m_file.value(Section, QString::fromLatin1(name))) return *v;
    writeText(name, def);
    return def;
}

int Settings::readOrDefault(const char *name, int def)
{
    if (auto v = m_file.value(Section, QString::fromLatin1(name))) {
        bool ok = false;
        const int i = v->trimmed().toInt(&ok);
        return ok && inOptionRange(name, i) ? i : def;
    }
    writeText(name, toText(def));
    return def;
}

bool Settings::readOrDefault(const char *name, bool def)
{
    if (auto v = m_file.value(Section, QString::fromLatin1(name))) {
        const QString t = v->trimmed().toLower();
        if (t == "true" || t == "1") return true;
        if (t == "false" || t == "0") return false;
        return def;
    }
    writeText(name, toText(def));
    return def;
}

#define DAYLOOM_DEFINE(type, key, getter, setter, def)                                             \
    void Settings::setter(const type &v)                                                           \
    {                                                                                              \
        writeText(#key, toText(v));                                                                \
        m_##getter = v;                                                                            \
        afterSet(#key);                                                                            \
    }
DAYLOOM_SETTINGS(DAYLOOM_DEFINE)
#undef DAYLOOM_DEFINE

void Settings::afterSet(const char *name)
{
    if (qstrcmp(name, "Autostart") != 0) return;
    m_autostartApplied = applyAutostart(m_autostart);
    if (!m_autostartApplied) m_writeFailed = true;
}

QString Settings::autostartEntryText(const QString &programPath)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Dayloom\n"
                          "Comment=Calendar and planner\n"
                          "Exec=%1 auto\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(execArgument(programPath));
}

bool Settings::applyAutostart(bool on)
{
    const QString file = m_where.autostartFile;
    if (!on) {
        if (!QFile::exists(file)) return true;
        return QFile::remove(file);
    }
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    f.write(autostartEntryText(m_where.programPath).toUtf8());
    return f.commit();
}
