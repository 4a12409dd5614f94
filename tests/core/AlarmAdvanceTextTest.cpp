// Reading typed alarm advances and writing them back in their normal form.
#include "core/AlarmAdvanceText.h"

#include <gtest/gtest.h>

TEST(AlarmAdvanceText, TypedTextsReadAndRewrite)
{
    struct Case {
        const char *text;
        int amount; // -1: refused
        int unit;
        const char *normal;
    };
    const Case cases[] = {
        {"45 m", 45, AlarmAdvance::Minutes, "45 minutes"},
        {"2 Hours", 2, AlarmAdvance::Hours, "2 hours"},
        {"3d", 3, AlarmAdvance::Days, "3 days"},
        {"1 hours", 1, AlarmAdvance::Hours, "1 hour"},
        {"0 days", 0, AlarmAdvance::Days, "0 minutes"},
        {"999 min", 999, AlarmAdvance::Minutes, "999 minutes"},
        {"7", 7, AlarmAdvance::Minutes, "7 minutes"},
        // The minute words are looked for first, anywhere in the text.
        {"2 days, more or less", 2, AlarmAdvance::Minutes, "2 minutes"},
        {"1000 minutes", -1, 0, ""},
        {"99999999999999999999 h", -1, 0, ""},
        {"hours", -1, 0, ""},
        {"", -1, 0, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const auto a = parseAdvanceText(QString::fromUtf8(c.text));
        if (c.amount < 0) {
            EXPECT_FALSE(a);
            continue;
        }
        ASSERT_TRUE(a);
        EXPECT_EQ(a->amount, c.amount);
        EXPECT_EQ(a->unit, c.unit);
        EXPECT_EQ(advanceText(*a), QString::fromUtf8(c.normal));
    }
}
