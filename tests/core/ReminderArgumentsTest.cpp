#include "core/ReminderArguments.h"

#include <gtest/gtest.h>

#include <QDateTime>

namespace
{
SerialDateTime at(int h, int m, int s = 0)
{
    return DateTimeValue::fromQDateTime(QDateTime(QDate(2024, 3, 11), QTime(h, m, s)));
}
} // namespace

TEST(ReminderArguments, TheMissedWindowSurvivesTheCommandLineAndBadOnesAreIgnored)
{
    const ReminderArguments sent{"/data/dayloom/", MissedWindow{at(9, 0), at(9, 30, 15)}};
    const QStringList list = sent.toList();
    EXPECT_EQ(list, (QStringList{"/data/dayloom/", "--missed", "2024-03-11 09:00:00",
                                 "2024-03-11 09:30:15"}));
    const ReminderArguments back = ReminderArguments::fromList(list);
    EXPECT_EQ(back.dataDir, "/data/dayloom/");
    ASSERT_TRUE(back.missed.has_value());
    // After the last check, up to the start, to the second.
    EXPECT_FALSE(back.missed->contains(at(9, 0)));
    EXPECT_TRUE(back.missed->contains(at(9, 0, 1)));
    EXPECT_TRUE(back.missed->contains(at(9, 30, 15)));
    EXPECT_FALSE(back.missed->contains(at(9, 30, 16)));

    EXPECT_EQ(ReminderArguments::fromList({"/d/"}).toList(), QStringList{"/d/"});
    for (const QStringList &bad :
         {QStringList{"/d/", "--missed"}, QStringList{"/d/", "--missed", "2024-03-11 09:00:00"},
          QStringList{"/d/", "--missed", "yesterday", "2024-03-11 09:00:00"},
          QStringList{"/d/", "--missed", "2024-03-11 09:30:00", "2024-03-11 09:00:00"}})
        EXPECT_FALSE(ReminderArguments::fromList(bad).missed.has_value())
            << bad.join(' ').toStdString();
    EXPECT_TRUE(ReminderArguments::fromList({}).dataDir.isEmpty());
}
