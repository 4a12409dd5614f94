// A table whose file another program keeps locked: the first refused write waits out the busy
// timeout, the changes after it try without waiting, nothing is lost or reported as written, and
// the retry writes everything once the lock is gone. The lock is held by a sqlite3 shell; the
// tests skip where there is none.
#include "store/Table.h"
#include "store/TableTestSchemas.h"

#include "support/SecondProcessLock.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
constexpr int Subject = 8;

QVariantList eventRow(const QString &subject)
{
    QVariantList v(23);
    v[1] = 1;
    v[2] = 36747.5;
    v[3] = 36747.75;
    v[Subject] = subject;
    return v;
}

// Subjects of the table file at `path`, in row order, read by a table of its own.
QStringList subjectsInFile(const QString &path)
{
    Table t(TableTestSchemas::events());
    if (t.load(path).status != TableLoadResult::Loaded) return {QStringLiteral("<unreadable>")};
    QStringList out;
    for (t.first(); !t.eof(); t.next())
        out << t.asString(Subject);
    return out;
}

class TableLockBackoff : public ::testing::Test
{
protected:
    QString path = TestEnv::freshDir("lockwait") + "/Events.cds";
    std::vector<TableResult> heard; // outlives the table, whose closing still reports
    Table table{TableTestSchemas::events()};

    void SetUp() override
    {
        ASSERT_EQ(table.load(path).status, TableLoadResult::Missing);
        ASSERT_TRUE(table.insertRow(eventRow("Kept")).ok());
        ASSERT_TRUE(table.insertRow(eventRow("Deleted")).ok());
        table.setAfterWrite([this](const TableResult &r) { heard.push_back(r); });
    }

    // Renames the current row; the outcome of its write.
    TableResult rename(const QString &subject)
    {
        EXPECT_TRUE(table.edit());
        EXPECT_TRUE(table.setValue(Subject, subject));
        return table.post();
    }
};
} // namespace

// Inserts, an edit, a delete and a bulk while the lock is held: only the first write waits, every
// change stays applied and pending, the retry of the timer waits (and fails) again, and once the
// lock is gone the retry writes them all and the back-off ends.
TEST_F(TableLockBackoff, OnlyTheFirstRefusedWriteWaitsAndTheRetryWritesEverythingLater)
{
    auto lock = std::make_unique<SecondProcessLock>(path);
    if (!lock->held()) GTEST_SKIP() << "no sqlite3 shell to hold the lock";

    const TableResult first = table.insertRow(eventRow("One"));
    EXPECT_TRUE(first.applied);
    EXPECT_FALSE(first.written);
    EXPECT_FALSE(first.error.isEmpty());
    EXPECT_TRUE(table.isBackingOffLock());
    EXPECT_EQ(table.lockTimeouts(), 1);

    EXPECT_FALSE(table.insertRow(eventRow("Two")).written);
    table.first();
    EXPECT_FALSE(rename("Kept, renamed").written);
    table.next();
    ASSERT_EQ(table.asString(Subject), "Deleted");
    const TableResult deleted = table.deleteRow();
    EXPECT_TRUE(deleted.applied);
    EXPECT_FALSE(deleted.written);
    table.beginBulk();
    EXPECT_TRUE(table.insertRow(eventRow("Bulk")).written) << "inside a bulk nothing is written";
    EXPECT_FALSE(table.endBulk().written);
    EXPECT_EQ(table.lockTimeouts(), 1) << "changes while backing off do not wait for the lock";
    EXPECT_TRUE(table.hasPendingWrites());
    EXPECT_EQ(table.recordCount(), 4);
    ASSERT_EQ(heard.size(), 5u);
    for (const TableResult &r : heard)
        EXPECT_FALSE(r.written) << "nothing is reported as written";

    // The timer's retry waits for the lock as usual.
    EXPECT_FALSE(table.flush().written);
    EXPECT_EQ(table.lockTimeouts(), 2);
    EXPECT_TRUE(table.isBackingOffLock());

    lock->release();
    EXPECT_EQ(subjectsInFile(path), (QStringList{"Kept", "Deleted"}));
    EXPECT_TRUE(table.flush().ok());
    EXPECT_FALSE(table.hasPendingWrites());
    EXPECT_FALSE(table.isBackingOffLock());
    EXPECT_TRUE(heard.back().ok());
    EXPECT_EQ(subjectsInFile(path), (QStringList{"Kept, renamed", "One", "Two", "Bulk"}));

    // Back to normal: the next refused change waits for the lock again.
    lock = std::make_unique<SecondProcessLock>(path);
    ASSERT_TRUE(lock->held());
    EXPECT_FALSE(table.insertRow(eventRow("Three")).written);
    EXPECT_EQ(table.lockTimeouts(), 3);
}

// A change made while backing off after the lock went needs no retry: its own write, without
// waiting, finds the file free and carries everything that was pending.
TEST_F(TableLockBackoff, TheFirstChangeAfterTheLockGoesCarriesThePendingOnes)
{
    auto lock = std::make_unique<SecondProcessLock>(path);
    if (!lock->held()) GTEST_SKIP() << "no sqlite3 shell to hold the lock";
    EXPECT_FALSE(table.insertRow(eventRow("One")).written);
    EXPECT_FALSE(table.insertRow(eventRow("Two")).written);
    lock->release();
    ASSERT_TRUE(table.isBackingOffLock());

    EXPECT_TRUE(table.insertRow(eventRow("Three")).ok());
    EXPECT_FALSE(table.isBackingOffLock());
    EXPECT_FALSE(table.hasPendingWrites());
    EXPECT_EQ(table.lockTimeouts(), 1);
    EXPECT_EQ(subjectsInFile(path), (QStringList{"Kept", "Deleted", "One", "Two", "Three"}));
}
