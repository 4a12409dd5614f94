#include "core/FileText.h"

#include <gtest/gtest.h>

using namespace DateTimeValue;
using namespace FileText;

TEST(FileDateTimeText, MidnightIsDateOnlyOtherTimesHaveSeconds)
{
    EXPECT_EQ(fileDateTimeText(encodeDate(2000, 7, 8)), "2000-07-08");
    EXPECT_EQ(fileDateTimeText(encodeDate(2000, 7, 8) + encodeTime(9, 5)), "2000-07-08 09:05:00");
    EXPECT_EQ(fileDateTimeText(encodeDate(2000, 7, 8) + encodeTime(0, 0, 1)),
              "2000-07-08 00:00:01");
    EXPECT_EQ(fileDateTimeText(encodeDate(2000, 7, 8) + encodeTime(23, 59, 59, 999)),
              "2000-07-08 23:59:59");
    EXPECT_EQ(fileDateTimeText(encodeDate(1500, 1, 1) + encodeTime(6, 30)), "1500-01-01 06:30:00");
    EXPECT_EQ(fileDateTimeText(0.0), "1899-12-30");
}

TEST(FileDateTimeText, EveryMinuteOfADayRoundTrips)
{
    for (const SerialDateTime day : {encodeDate(2000, 7, 8), encodeDate(1500, 3, 1),
                                     encodeDate(2024, 2, 29), encodeDate(1899, 12, 29)}) {
        for (int m = 0; m < 1440; ++m) {
            const SerialDateTime v = day + encodeTime(m / 60, m % 60);
            const QString text = fileDateTimeText(v);
            const auto back = parseFileDateTimeText(text);
            ASSERT_TRUE(back) << text.toStdString();
            ASSERT_EQ(*back, v) << text.toStdString();
            ASSERT_EQ(fileDateTimeText(*back), text);
        }
    }
}

namespace
{
struct BadDateTime {
    const char *name;
    const char *text;
};
const BadDateTime BadDateTimes[] = {
    {"Empty", ""},
    {"SingleDigitMonth", "2000-7-08"},
    {"SingleDigitHour", "2000-07-08 9:05:00"},
    {"NoSeconds", "2000-07-08 09:05"},
    {"IsoT", "2000-07-08T09:05:00"},
    {"SlashDate", "2000/07/08"},
    {"February30", "2000-02-30"},
    {"CommonYearLeapDay", "2001-02-29"},
    {"Hour24", "2000-07-08 24:00:00"},
    {"Minute60", "2000-07-08 23:60:00"},
    {"Second60", "2000-07-08 23:59:60"},
    {"SignedYear", "+200-07-08"},
    {"Letters", "abcd-ef-gh"},
    {"TrailingGarbage", "2000-07-08 09:05:00x"},
};
class ParseBadDateTime : public ::testing::TestWithParam<BadDateTime>
{
};
} // namespace

TEST_P(ParseBadDateTime, Refused)
{
    EXPECT_FALSE(parseFileDateTimeText(QString(GetParam().text)));
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseBadDateTime, ::testing::ValuesIn(BadDateTimes),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(FileDateTimeText, SurroundingBlanksAllowed)
{
    const auto v = parseFileDateTimeText(u" 2000-07-08 09:05:00\r\n");
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, encodeDate(2000, 7, 8) + encodeTime(9, 5));
}

namespace
{
struct QuotedCase {
    const char *name;
    QString text;
    QString quoted;
};
const QuotedCase QuotedCases[] = {
    {"Empty", "", "''"},
    {"Plain", "Dentist", "'Dentist'"},
    {"InnerQuote", "It's", "'It''s'"},
    {"OnlyQuote", "'", "''''"},
    {"TwoQuotes", "''", "''''''"},
    {"Semicolon", "a;b", "'a;b'"},
    {"QuoteSemicolon", "x';'y", "'x'';''y'"},
    {"EndsWithQuote", "end'", "'end'''"},
    {"EndsWithQuoteSemicolon", "end';", "'end'';'"},
    {"CrLf", "line1\r\nline2", "'line1#13#10line2'"},
    {"OnlyCrLf", "\r\n", "'#13#10'"},
    {"AllTogether", "a;'b'\r\nc;", "'a;''b''#13#10c;'"},
    {"NonAscii", QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC"),
     QString::fromUtf8("'Caf\xC3\xA9 \xE2\x82\xAC'")},
};
class QuotedText : public ::testing::TestWithParam<QuotedCase>
{
};
} // namespace

TEST_P(QuotedText, QuotesAndReadsBackInsideALine)
{
    const QuotedCase &c = GetParam();
    EXPECT_EQ(quoteFileText(c.text), c.quoted);
    EXPECT_EQ(unquoteFileText(c.quoted), c.text);

    // In the middle of a line, at its end, and twice in a row.
    const QString line = "12;" + c.quoted + ";" + c.quoted + ";True;" + c.quoted;
    FileLineReader r(line);
    EXPECT_EQ(r.integer(), 12);
    EXPECT_EQ(r.quoted(), c.text);
    EXPECT_EQ(r.quotedRaw(), c.quoted);
    EXPECT_EQ(r.boolean(), true);
    EXPECT_FALSE(r.atEnd());
    EXPECT_EQ(r.quoted(), c.text);
    EXPECT_TRUE(r.atEnd());
    EXPECT_TRUE(r.ok());
    EXPECT_FALSE(r.plain());
    EXPECT_FALSE(r.ok());
}

INSTANTIATE_TEST_SUITE_P(Cases, QuotedText, ::testing::ValuesIn(QuotedCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(QuotedText, LoneLineBreaksNeverSplitTheLine)
{
    EXPECT_EQ(quoteFileText(u"a\nb\rc"), "'a#13#10b#13#10c'");
    EXPECT_EQ(unquoteFileText(quoteFileText(u"a\nb")), "a\r\nb");
}

TEST(FileLineReader, ValuesUpToEachSemicolon)
{
    FileLineReader r(u"-1000;;2000-07-08 09:05:00;False;;");
    EXPECT_EQ(r.integer(), -1000);
    EXPECT_EQ(r.plain(), "");
    EXPECT_EQ(r.dateTime(), encodeDate(2000, 7, 8) + encodeTime(9, 5));
    EXPECT_EQ(r.boolean(), false);
    EXPECT_EQ(r.plain(), "");
    EXPECT_FALSE(r.atEnd());
    // The empty value after the last ";".
    EXPECT_EQ(r.plain(), "");
    EXPECT_TRUE(r.atEnd());
    EXPECT_TRUE(r.ok());
}

namespace
{
struct Malformed {
    const char *name;
    const char *line;
};
const Malformed MalformedLines[] = {
    {"UnterminatedQuote", "1;'abc"},    {"UnterminatedAfterDoubledQuote", "1;'abc''"},
    {"MissingOpeningQuote", "1;abc;"},  {"QuoteThenTextThenEnd", "1;'ab'c"},
    {"EmptyWhereQuoteExpected", "1;;"}, {"LineEndsBeforeQuotedValue", "1"},
};
class MalformedLine : public ::testing::TestWithParam<Malformed>
{
};
} // namespace

TEST_P(MalformedLine, QuotedReadFailsAndStaysFailed)
{
    FileLineReader r(QString(GetParam().line));
    EXPECT_EQ(r.integer(), 1);
    EXPECT_FALSE(r.quoted());
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.plain());
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedLine, ::testing::ValuesIn(MalformedLines),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(FileLineReader, BadNumbersAndDatesFail)
{
    FileLineReader a(u"12x;");
    EXPECT_FALSE(a.integer());
    EXPECT_FALSE(a.ok());
    FileLineReader b(u"99999999999;");
    EXPECT_FALSE(b.integer());
    FileLineReader c(u"2000-13-01;");
    EXPECT_FALSE(c.dateTime());
    EXPECT_FALSE(c.ok());
}

TEST(FileValueReaders, PositionsAndBounds)
{
    const QString line = "'a;b';c";
    const auto q = readQuotedValue(line, 0);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->text, "a;b");
    EXPECT_EQ(q->raw, u"'a;b'");
    EXPECT_EQ(q->next, 6);
    EXPECT_FALSE(q->last);
    const auto p = readPlainValue(line, q->next);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->text, "c");
    EXPECT_TRUE(p->last);
    EXPECT_FALSE(readPlainValue(line, line.size() + 1));
    EXPECT_FALSE(readPlainValue(line, -1));
    EXPECT_FALSE(readQuotedValue(line, line.size()));
    EXPECT_FALSE(unquoteFileText(u"'"));
    EXPECT_FALSE(unquoteFileText(u"abc"));
}
