#pragma once
// The text forms of values in the program's own text files (undo log, alarm lists, layer
// files): date-times as "2000-07-08" or "2000-07-08 09:05:00", texts as quoted file text
// ('It''s'#13#10 style: CR LF as "#13#10", single quotes doubled), values separated by ";".
#include "core/DateTimeValue.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace FileText
{

// "yyyy-mm-dd", plus " hh:mm:ss" (24-hour) unless the time, cut to whole seconds, is
// midnight. Milliseconds are dropped, not rounded.
QString fileDateTimeText(SerialDateTime value);

// Reads exactly "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss" (blanks around the whole are allowed).
// nullopt for any other shape or a date or time that does not exist.
std::optional<SerialDateTime> parseFileDateTimeText(QStringView text);

// Wraps text in single quotes, doubling inner quotes. Every line break (CR LF, and also a lone
// CR or LF, which would otherwise split the file's line) becomes "#13#10".
QString quoteFileText(QStringView text);

// Turns the body of a quoted file text (the characters between the outer quotes) back: a
// doubled quote becomes one and every "#13#10" becomes CR LF.
QString unquoteFileBody(QStringView body);

// Turns a whole quoted file text ('...') back into text; nullopt when it is not wrapped in
// single quotes.
std::optional<QString> unquoteFileText(QStringView quoted);
// The same for text to show: a field that is not quoted is shown as it stands.
QString shownFileText(const QString &quoted);

// One value read from a line.
struct FileValue {
    QString text;    // the value (for a quoted value: unquoted, with CR LF restored)
    QStringView raw; // the value's characters in the line (a quoted value with its quotes);
                     // valid as long as the line's text is
    qsizetype next;  // index where the next value starts
    bool last;       // the value ended at the end of the line: no value follows
};

// The plain value starting at pos: the characters up to the next ";" or the end of the line.
// nullopt when pos lies beyond the line (pos == line.size() reads an empty last value).
std::optional<FileValue> readPlainValue(QStringView line, qsizetype pos);

// The quoted value whose opening quote is at pos. In it two quotes stand for one; a quote
// followed by ";" or by the end of the line ends it; any other character is taken as it is.
// nullopt when there is no opening quote at pos or the line ends before the closing quote.
std::optional<FileValue> readQuotedValue(QStringView line, qsizetype pos);

// Reads the values of one line in order. Each read returns nullopt once the line has no value
// left or the value is malformed; after a failure ok() is false and stays false.
class FileLineReader
{
public:
    explicit FileLineReader(QStringView line) : m_line(line) {}

    std::optional<QString> plain();
    std::optional<QString> quoted();
    // A quoted value kept in quoted file text, quotes included.
    std::optional<QString> quotedRaw();
    // A decimal 32-bit integer; empty text (a null field) fails like any non-number, so read
    // nullable fields with plain().
    std::optional<int> integer();
    std::optional<SerialDateTime> dateTime();
    // "True" is true; any other text, including empty, false.
    std::optional<bool> boolean();

    bool atEnd() const { return m_done; }
    bool ok() const { return m_ok; }

private:
    std::optional<FileValue> take(bool isQuoted);

    QStringView m_line;
    qsizetype m_pos = 0;
    bool m_done = false;
    bool m_ok = true;
};

} // namespace FileText
