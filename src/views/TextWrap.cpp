#include "views/TextWrap.h"

#include <algorithm>
#include <cmath>

namespace TextWrap
{

namespace
{

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isBreak(QChar c)
{
    switch (c.unicode()) {
    case ' ':
    case ',':
    case '.':
    case '!':
    case '?':
    case '-':
    case '/':
        return true;
    default:
        return isLineEnd(c);
    }
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Index after a line end that starts at i (CR LF counts as one).
qsizetype skipLineEnd(const QString &text, qsizetype i)
{
    if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
        return i + 2;
    return i + 1;
}

QString withoutLeadingBlanks(const QString &text, qsizetype from, qsizetype to)
{
    while (from < to && isBlank(text[from]))
        ++from;
    return text.mid(from, to - from);
}

int measuredWidth(const QFontMetrics &fm, const QString &line)
{
    qsizetype n = line.size();
    while (n > 0 && isBlank(line[n - 1]))
        --n;
    return n == 0 ? 0 : fm.horizontalAdvance(line.left(n));
}

} // namespace

int lineHeight(const QFontMetrics &fm)
{
    return std::max(1, int(std::lround(fm.height() * 1.1)));
}

QStringList wrap(const QString &text, int width, bool alarm, const QFontMetrics &fm, int height)
{
    const int maxLines = std::clamp(height / lineHeight(fm), 1, MaxLines);
    const qsizetype n = text.size();
    QStringList lines;
    qsizetype lineStart = 0; // first character of the line being built
    qsizetype fitEnd = -1;   // end (exclusive) of the longest text known to fit, -1 none
    qsizetype scan = 0;      // where the search for the next break point starts

    while (lineStart < n && lines.size() < maxLines) {
        const int avail = width - (alarm && lines.isEmpty() ? 10 : 0);
        const bool lastLine = lines.size() == maxLines - 1;
        qsizetype b = scan;
        while (b < n && !isBreak(text[b]))
            ++b;
        const bool hardEnd = b < n && isLineEnd(text[b]);
        const qsizetype candEnd = (b < n && !hardEnd) ? b + 1 : b;
        const QString candidate = withoutLeadingBlanks(text, lineStart, candEnd);
        const bool fits = measuredWidth(fm, candidate) <= avail;

        if (fits || fitEnd < 0 || lastLine) {
            // Up to this break point: it fits, or it is a lone long word, or it is the last
            // line, which keeps the word it is in.
            if (hardEnd || candEnd >= n || !fits) {
                lines << candidate;
                lineStart = hardEnd ? skipLineEnd(text, b) : candEnd;
                scan = lineStart;
                fitEnd = -1;
            } else {
                fitEnd = candEnd;
                scan = candEnd;
            }
        } else {
            lines << withoutLeadingBlanks(text, lineStart, fitEnd);
            lineStart = fitEnd;
            scan = lineStart;
            fitEnd = -1;
        }
    }
    return lines;
}

} // namespace TextWrap
