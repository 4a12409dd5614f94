#include "core/LocalePattern.h"

namespace LocalePattern
{

namespace
{

// Reads the Qt literal that starts with the quote at i into text ("''" is one quote);
// returns the index after it.
qsizetype readQtLiteral(QStringView qt, qsizetype i, QString &text)
{
    if (i + 1 < qt.size() && qt[i + 1] == u'\'') {
        text += u'\'';
        return i + 2;
    }
    qsizetype j = i + 1;
    while (j < qt.size()) {
        if (qt[j] == u'\'') {
            if (j + 1 < qt.size() && qt[j + 1] == u'\'') {
                text += u'\'';
                j += 2;
                continue;
            }
            return j + 1;
        }
        text += qt[j];
        ++j;
    }
    return j;
}

bool needsQuoting(QChar c)
{
    return c.isLetter() || c == u'/' || c == u':' || c == u'"' || c == u'\'';
}

// Appends literal text so that the display pattern copies it unchanged.
void appendLiteral(QString &out, QStringView text)
{
    bool plain = true;
    for (QChar c : text)
        plain = plain && !needsQuoting(c);
    if (plain) {
        out += text;
        return;
    }
    if (!text.contains(u'"')) {
        out += u'"' + text.toString() + u'"';
        return;
    }
    if (!text.contains(u'\'')) {
        out += u'\'' + text.toString() + u'\'';
        return;
    }
    for (QChar c : text) {
        if (c == u'"')
            out += QStringLiteral("'\"'");
        else if (needsQuoting(c))
            out += u'"' + QString(c) + u'"';
        else
            out += c;
    }
}

qsizetype runLength(QStringView p, qsizetype i)
{
    qsizetype j = i + 1;
    while (j < p.size() && p[j] == p[i])
        ++j;
    return j - i;
}

} // namespace

QString fromQtDatePattern(QStringView qt)
{
    QString out;
    qsizetype i = 0;
    while (i < qt.size()) {
        const QChar c = qt[i];
        if (c == u'\'') {
            QString lit;
            i = readQtLiteral(qt, i, lit);
            appendLiteral(out, lit);
            continue;
        }
        const qsizetype run = runLength(qt, i);
        if (c == u'd')
            out += QString(int(std::min<qsizetype>(run, 4)), u'd');
        else if (c == u'M')
            out += QString(int(std::min<qsizetype>(run, 4)), u'm');
        else if (c == u'y')
            out += QStringLiteral("yyyy");
        else if (c == u'"')
            appendLiteral(out, qt.mid(i, run));
        else if (c.isLetter())
            appendLiteral(out, qt.mid(i, run));
        else
            out += qt.mid(i, run);
        i += run;
    }
    return out.trimmed();
}

QString fromQtTimePattern(QStringView qt)
{
    QString out;
    qsizetype i = 0;
    while (i < qt.size()) {
        const QChar c = qt[i];
        if (c == u'\'') {
            QString lit;
            i = readQtLiteral(qt, i, lit);
            appendLiteral(out, lit);
            continue;
        }
        if ((c == u'a' || c == u'A')) {
            const bool two = i + 1 < qt.size() && qt[i + 1].toLower() == u'p';
            out += c == u'A' ? QStringLiteral("AM/PM") : QStringLiteral("am/pm");
            i += two ? 2 : 1;
            continue;
        }
        const qsizetype run = runLength(qt, i);
        switch (c.unicode()) {
        case u'h':
        case u'H':
            out += run == 1 ? QStringLiteral("h") : QStringLiteral("hh");
            break;
        case u'm':
            out += run == 1 ? QStringLiteral("n") : QStringLiteral("nn");
            break;
        case u's':
            out += run == 1 ? QStringLiteral("s") : QStringLiteral("ss");
            break;
        case u'z':
            out += run < 3 ? QStringLiteral("z") : QStringLiteral("zzz");
            break;
        case u't':
            // Time zone: no counterpart; drop it with the blanks before it.
            while (out.endsWith(u' '))
                out.chop(1);
            break;
        default:
            if (c.isLetter() || c == u'"')
                appendLiteral(out, qt.mid(i, run));
            else
                out += qt.mid(i, run);
            break;
        }
        i += run;
    }
    return out.simplified();
}

QChar dateSeparatorOf(QStringView qt)
{
    bool sawBlank = false;
    qsizetype i = 0;
    while (i < qt.size()) {
        const QChar c = qt[i];
        if (c == u'\'') {
            QString ignored;
            i = readQtLiteral(qt, i, ignored);
            continue;
        }
        if (c == u' ')
            sawBlank = true;
        else if (!c.isLetter())
            return c;
        ++i;
    }
    return sawBlank ? QChar(u' ') : QChar(u'/');
}

QChar timeSeparatorOf(QStringView qt)
{
    qsizetype i = 0;
    bool afterHour = false;
    while (i < qt.size()) {
        const QChar c = qt[i];
        if (c == u'\'') {
            QString ignored;
            i = readQtLiteral(qt, i, ignored);
            continue;
        }
        if (c == u'h' || c == u'H')
            afterHour = true;
        else if (c == u'm' && afterHour)
            return {};
        else if (afterHour && c != u' ' && !c.isLetter())
            return c;
        ++i;
    }
    return {};
}

} // namespace LocalePattern
