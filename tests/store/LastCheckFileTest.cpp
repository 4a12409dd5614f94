#include "store/LastCheckFile.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>

TEST(LastCheckFile, AbsentOrDamagedMeansNoneAndAWriteReplacesALongerLine)
{
    const QString dir = TestEnv::freshDir("lastcheck") + "/";
    const auto at = [](int h, int m) {
        return DateTimeValue::fromQDateTime(QDateTime(QDate(2024, 3, 11), QTime(h, m)));
    };
    EXPECT_FALSE(LastCheckFile(dir).read().has_value());

    QFile damaged(dir + LastCheckFile::FileName);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("2024-03-11 09:00:00 and a long tail that is not part of a date-time\r\n");
    damaged.close();
    EXPECT_FALSE(LastCheckFile(dir).read().has_value());

    LastCheckFile file(dir);
    ASSERT_TRUE(file.write(at(9, 45)));
    EXPECT_EQ(LastCheckFile(dir).read(), at(9, 45));
    ASSERT_TRUE(file.write(at(9, 46)));
    EXPECT_EQ(LastCheckFile(dir).read(), at(9, 46));
    EXPECT_EQ(QFile(dir + LastCheckFile::FileName).size(), 21);

    EXPECT_FALSE(LastCheckFile(dir + "no such folder/").write(at(9, 47)));
}
