#include "views/TextWrap.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>

namespace
{

// Widths come from the same metrics the routine uses, so the cases hold for any font.
class TextWrapTest : public ::testing::Test
{
protected:
    QFont font{QStringLiteral("DejaVu Sans"), 8};
    QFontMetrics fm{font};
    int w(const char *s) const { return fm.horizontalAdvance(QString::fromLatin1(s)); }
    int tall() const { return 1000 * TextWrap::lineHeight(fm); }
    QStringList wrap(const char *text, int width, bool alarm = false, int height = -1) const
    {
        return TextWrap::wrap(QString::fromLatin1(text), width, alarm, fm,
                              height < 0 ? tall() : height);
    }
};

TEST_F(TextWrapTest, BreaksAfterTheLastBreakPointThatFits)
{
    EXPECT_EQ(wrap("alpha beta", w("alpha beta")), QStringList{"alpha beta"}) << "exact fit";
    EXPECT_EQ(wrap("alpha beta", w("alpha beta") - 1), (QStringList{"alpha ", "beta"}));
    EXPECT_EQ(wrap("alpha beta gamma", w("alpha beta")), (QStringList{"alpha beta ", "gamma"}));
    EXPECT_EQ(wrap("one,two.three!four?five-six/seven", w("one")),
              (QStringList{"one,", "two.", "three!", "four?", "five-", "six/", "seven"}));
}

TEST_F(TextWrapTest, TrailingBlanksDoNotCountLeadingBlanksAreRemoved)
{
    EXPECT_EQ(wrap("abcd    efgh", w("abcd")), (QStringList{"abcd    ", "efgh"}));
    EXPECT_EQ(wrap("   abcd", w("abcd")), QStringList{"abcd"});
    EXPECT_EQ(wrap("Subject\r\n   Description", 1000), (QStringList{"Subject", "Description"}));
}

TEST_F(TextWrapTest, WordWiderThanTheBoxStandsAlone)
{
    EXPECT_EQ(wrap("a supercalifragilistic b", w("a b")),
              (QStringList{"a ", "supercalifragilistic ", "b"}));
    EXPECT_EQ(wrap("supercalifragilistic", 5), QStringList{"supercalifragilistic"});
}

TEST_F(TextWrapTest, LineEndsForceABreakAndAreDropped)
{
    EXPECT_EQ(wrap("Subject\r\nDescription", 1000), (QStringList{"Subject", "Description"}));
    EXPECT_EQ(wrap("Subject\r\n", 1000), QStringList{"Subject"}) << "empty description";
    EXPECT_EQ(wrap("\r\nDescription", 1000), (QStringList{"", "Description"}))
        << "empty subject keeps its line";
    EXPECT_EQ(wrap("a\r\n\r\nb", 1000), (QStringList{"a", "", "b"}));
    EXPECT_EQ(wrap("a\nb\rc", 1000), (QStringList{"a", "b", "c"})) << "lone LF and CR";
    EXPECT_EQ(wrap("", 1000), QStringList{});
}

TEST_F(TextWrapTest, AlarmShortensOnlyTheFirstLine)
{
    const int width = w("aaaa aaaa");
    EXPECT_EQ(wrap("aaaa aaaa aaaa", width), (QStringList{"aaaa aaaa ", "aaaa"}));
    EXPECT_EQ(wrap("aaaa aaaa aaaa", width, true), (QStringList{"aaaa ", "aaaa aaaa"}));
}

TEST_F(TextWrapTest, LineCountFollowsHeightWithinOneToFifty)
{
    const int lh = TextWrap::lineHeight(fm);
    QString many;
    for (int i = 0; i < 200; ++i)
        many += QStringLiteral("x%1\r\n").arg(i);
    EXPECT_EQ(TextWrap::wrap(many, 1000, false, fm, tall()).size(), TextWrap::MaxLines);
    EXPECT_EQ(TextWrap::wrap(many, 1000, false, fm, 3 * lh + lh - 1).size(), 3);
    EXPECT_EQ(TextWrap::wrap(many, 1000, false, fm, 0).size(), 1) << "at least one line";
    EXPECT_EQ(TextWrap::wrap(many, 1000, false, fm, -50).size(), 1);
}

TEST_F(TextWrapTest, LastLineKeepsTheWordItIsIn)
{
    const int lh = TextWrap::lineHeight(fm);
    EXPECT_EQ(wrap("aaaa bbbb cccc dddd", w("aaaa bbbb"), false, lh),
              QStringList{"aaaa bbbb cccc "});
    EXPECT_EQ(wrap("aaaa bbbb cccc dddd", w("aaaa bbbb"), false, 2 * lh),
              (QStringList{"aaaa bbbb ", "cccc dddd"}));
}

TEST_F(TextWrapTest, NoWidthStillEndsWithOneWordPerLine)
{
    EXPECT_EQ(wrap("ab cd ef", 0), (QStringList{"ab ", "cd ", "ef"}));
    EXPECT_EQ(wrap("ab cd", -20, true), (QStringList{"ab ", "cd"}));
    EXPECT_EQ(wrap("   ", 0), QStringList{""});
}

TEST(TextWrapLineHeight, IsTextHeightTimesOnePointOne)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(20);
    const QFontMetrics fm(f);
    EXPECT_EQ(TextWrap::lineHeight(fm), int(std::lround(fm.height() * 1.1)));
}

} // namespace
