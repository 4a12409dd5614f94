#include "core/FileText.h"

namespace FileText
{

namespace
{

const QString LineBreakCode = QStringLiteral("#13#10");

QString twoDigits(int v)
{
    return QString::number(v).rightJustified(2, u'0');
}

// Reads exactly n ASCII digits at pos.
std::optional<int> fixedNumber(QStringView s, qsizetype pos, qsizetype n)
{
    if (pos + n > s.size()) return std::nullopt;
    int v = 0;
    for (qsizetype i = pos; i < pos + n; ++i) {
        const QChar c = s[i];
        if (c < u'0' || c > u'9') return std::nullopt;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

} // namespace

QString fileDateTimeText(SerialDateTime value)
{
    const QDate d = DateTimeValue::toQDate(value);
    QString out = QString::number(d.year()).rightJustified(4, u'0') + u'-' + twoDigits(d.month()) +
                  u'-' + twoDigits(d.day());
    const int seconds = DateTimeValue::msOfDay(value) / 1000;
    if (seconds != 0)
        out += u' ' + twoDigits(seconds / 3600) + u':' + twoDigits(seconds / 60 % 60) + u':' +
               twoDigits(seconds % 60);
    return out;
}

std::optional<SerialDateTime> parseFileDateTimeText(QStringView text)
{
    const QStringView s = text.trimmed();
    if (s.size() != 10 && s.size() != 19) return std::nullopt;
    const auto year = fixedNumber(s, 0, 4);
    const auto month = fixedNumber(s, 5, 2);
    const auto day = fixedNumber(s, 8, 2);
    if (!year || !month || !day || s[4] != u'-' || s[7] != u'-' ||
        !DateTimeValue::isValidDate(*year, *month, *day))
        return std::nullopt;
    SerialDateTime value = DateTimeValue::encodeDate(*year, *month, *day);
    if (s.size() == 19) {
        const auto hour = fixedNumber(s, 11, 2);
        const auto minute = fixedNumber(s, 14, 2);
        const auto second = fixedNumber(s, 17, 2);
        if (s[10] != u' ' || s[13] != u':' || s[16] != u':' || !hour || !minute || !second ||
            *hour > 23 || *minute > 59 || *second > 59)
            return std::nullopt;
        value = DateTimeValue::fromMs(DateTimeValue::toMs(value) +
                                      ((qint64(*hour) * 60 + *minute) * 60 + *second) * 1000);
    }
    return value;
}

QString quoteFileText(QStringView text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'\'';
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out += LineBreakCode;
        } else if (c == u'\n') {
            out += LineBreakCode;
        } else if (c == u'\'') {
            out += QStringLiteral("''");
        } else {
            out += c;
        }
    }
    out += u'\'';
    return out;
}

QString unquoteFileBody(QStringView body)
{
    QString out;
    out.reserve(body.size());
    for (qsizetype i = 0; i < body.size(); ++i) {
        out += body[i];
        if (body[i] == u'\'' && i + 1 < body.size() && body[i + 1] == u'\'') ++i;
    }
    out.replace(LineBreakCode, QStringLiteral("\r\n"));
    return out;
}

std::optional<QString> unquoteFileText(QStringView quoted)
{
    if (quoted.size() < 2 || !quoted.startsWith(u'\'') || !quoted.endsWith(u'\''))
        return std::nullopt;
    return unquoteFileBody(quoted.mid(1, quoted.size() - 2));
}

QString shownFileText(const QString &quoted)
{
    return unquoteFileText(quoted).value_or(quoted);
}

std::optional<FileValue> readPlainValue(QStringView line, qsizetype pos)
{
    if (pos < 0 || pos > line.size()) return std::nullopt;
    const qsizetype semi = line.indexOf(u';', pos);
    if (semi < 0) return FileValue{line.mid(pos).toString(), line.mid(pos), line.size(), true};
    return FileValue{line.mid(pos, semi - pos).toString(), line.mid(pos, semi - pos), semi + 1,
                     false};
}

std::optional<FileValue> readQuotedValue(QStringView line, qsizetype pos)
{
    if (pos < 0 || pos >= line.size() || line[pos] != u'\'') return std::nullopt;
    QString body;
    qsizetype i = pos + 1;
    while (i < line.size()) {
        const QChar c = line[i];
        if (c == u'\'') {
            if (i + 1 < line.size() && line[i + 1] == u'\'') {
                body += u'\'';
                i += 2;
                continue;
            }
            if (i + 1 == line.size() || line[i + 1] == u';') {
                body.replace(LineBreakCode, QStringLiteral("\r\n"));
                const QStringView raw = line.mid(pos, i + 1 - pos);
                if (i + 1 == line.size()) return FileValue{body, raw, line.size(), true};
                return FileValue{body, raw, i + 2, false};
            }
        }
        body += c;
        ++i;
    }
    return std::nullopt;
}

std::optional<FileValue> FileLineReader::take(bool isQuoted)
{
    if (!m_ok || m_done) {
        m_ok = false;
        return std::nullopt;
    }
    auto v = isQuoted ? readQuotedValue(m_line, m_pos) : readPlainValue(m_line, m_pos);
    if (!v) {
        m_ok = false;
        return std::nullopt;
    }
    m_pos = v->next;
    m_done = v->last;
    return v;
}

std::optional<QString> FileLineReader::plain()
{
    auto v = take(false);
    if (!v) return std::nullopt;
    return v->text;
}

std::optional<QString> FileLineReader::quoted()
{
    auto v = take(true);
    if (!v) return std::nullopt;
    return v->text;
}

std::optional<QString> FileLineReader::quotedRaw()
{
    auto v = take(true);
    if (!v) return std::nullopt;
    return v->raw.toString();
}

std::optional<int> FileLineReader::integer()
{
    auto v = take(false);
    if (!v) return std::nullopt;
    bool ok = false;
    const int n = v->text.toInt(&ok);
    if (!ok) {
        m_ok = false;
        return std::nullopt;
    }
    return n;
}

std::optional<SerialDateTime> FileLineReader::dateTime()
{
    auto v = take(false);
    if (!v) return std::nullopt;
    auto t = parseFileDateTimeText(v->text);
    if (!t) m_ok = false;
    return t;
}

std::optional<bool> FileLineReader::boolean()
{
    auto v = take(false);
    if (!v) return std::nullopt;
    return v->text == u"True";
}

} // namespace FileText
