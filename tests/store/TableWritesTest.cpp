// A table whose file refuses writes: a full file system, a read-only folder, another program
// holding the file's lock, and restoring the rows of a ".bak" copy. The refusing file systems are
// mounted in a private mount namespace of the test process, the lock is held by a sqlite3 shell;
// the tests skip where that is not possible.
#include "store/TableWrites.h"
#include "store/Table.h"
#include "store/TableTestSchemas.h"

#include "support/PrivateMounts.h"
#include "support/SecondProcessLock.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QFile>

#include <memory>

namespace
{
constexpr int Subject = 8;
constexpr int Memo = 9;

QVariantList eventRow(const QString &subject, const QString &memo = {})
{
    QVariantList v(23);
    v[1] = 1;
    v[2] = 36747.5;
    v[3] = 36747.75;
    v[Subject] = subject;
    v[Memo] = memo;
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

// Fills the file system of `dir` with one file until no byte more fits.
bool fill(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    const QByteArray block(4096, 'x');
    while (f.write(block) == block.size() && f.flush()) {
    }
    return true;
}
} // namespace

// A full disk: the change stays in memory and waits, the after-write function hears the
// failure and then the success, and the file gets the change once space is free again.
TEST(TableWrites, AChangeRefusedByAFullDiskWaitsAndReachesTheFileWhenSpaceIsFree)
{
    const QString dir = TestEnv::freshDir("full");
    if (!PrivateMounts::mountTmpfs(dir, 256)) GTEST_SKIP() << "no tmpfs can be mounted here";
    const QString path = dir + "/Events.cds";
    Table table(TableTestSchemas::events());
    ASSERT_EQ(table.load(path).status, TableLoadResult::Missing);
    ASSERT_TRUE(table.insertRow(eventRow("Before")).ok());
    std::vector<TableResult> heard;
    TableWrites writes(table);
    writes.setAfterWrite([&](const TableResult &r) { heard.push_back(r); });

    ASSERT_TRUE(fill(dir + "/filler"));
    const TableResult refused = table.insertRow(eventRow("During", QString(64 * 1024, u'm')));
    EXPECT_TRUE(refused.applied);
    EXPECT_FALSE(refused.written);
    EXPECT_FALSE(refused.error.isEmpty());
    EXPECT_EQ(table.recordCount(), 2) << "the change stays in memory";
    EXPECT_TRUE(writes.hasPendingWrites());
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_FALSE(heard[0].ok());
    EXPECT_EQ(subjectsInFile(path), QStringList{"Before"});
    EXPECT_FALSE(writes.retry().ok()) << "still full";

    ASSERT_TRUE(QFile::remove(dir + "/filler"));
    EXPECT_TRUE(writes.retry().ok());
    EXPECT_FALSE(writes.hasPendingWrites());
    EXPECT_TRUE(heard.back().ok());
    EXPECT_EQ(subjectsInFile(path), (QStringList{"Before", "During"}));
}

// A folder that can be read but not written: the rows load, the table says it is read-only,
// and a change is refused by the file (kept in memory, never half-written).
TEST(TableWrites, AReadOnlyFolderLoadsItsRowsAndRefusesWrites)
{
    const QString dir = TestEnv::freshDir("ro");
    const QString path = dir + "/Events.cds";
    {
        Table t(TableTestSchemas::events());
        ASSERT_EQ(t.load(path).status, TableLoadResult::Missing);
        ASSERT_TRUE(t.insertRow(eventRow("Kept")).ok());
        ASSERT_TRUE(t.close().ok());
    }
    if (!PrivateMounts::bindReadOnly(dir)) GTEST_SKIP() << "no read-only folder can be mounted";

    Table table(TableTestSchemas::events());
    ASSERT_EQ(table.load(path).status, TableLoadResult::Loaded);
    EXPECT_TRUE(table.isReadOnly());
    ASSERT_EQ(table.recordCount(), 1);
    table.first();
    EXPECT_EQ(table.asString(Subject), "Kept");
    const TableResult r = table.insertRow(eventRow("Refused"));
    EXPECT_TRUE(r.applied);
    EXPECT_FALSE(r.written);
    EXPECT_TRUE(r.error.contains("read-only")) << r.error.toStdString();
    EXPECT_TRUE(table.save().error.contains("read-only"));
    EXPECT_EQ(subjectsInFile(path), QStringList{"Kept"});
}

// Restoring a ".bak" copy replaces every row and writes them to the table's own file; a copy
// that is no table file of this kind changes nothing.
TEST(TableWrites, RestoringACopyReplacesTheRowsInMemoryAndInTheFile)
{
    const QString dir = TestEnv::freshDir("restore");
    Table table(TableTestSchemas::events());
    ASSERT_EQ(table.load(dir + "/Events.cds").status, TableLoadResult::Missing);
    ASSERT_TRUE(table.insertRow(eventRow("Yesterday")).ok());
    ASSERT_TRUE(table.insertRow(eventRow("Also yesterday")).ok());
    ASSERT_TRUE(table.backupTo(dir + "/Events.bak").ok());
    ASSERT_TRUE(table.emptyTable().ok());
    ASSERT_TRUE(table.insertRow(eventRow("Today")).ok());

    Table layers(TableTestSchemas::layers());
    ASSERT_EQ(layers.load(dir + "/Layers.cds").status, TableLoadResult::Missing);
    ASSERT_TRUE(layers.close().ok());
    QFile junk(dir + "/junk.bak");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a table");
    junk.close();
    for (const char *other : {"/Layers.cds", "/junk.bak", "/missing.bak"}) {
        EXPECT_FALSE(table.canRestoreFrom(dir + other)) << other;
        EXPECT_FALSE(table.restoreFrom(dir + other).applied) << other;
        EXPECT_EQ(table.recordCount(), 1) << other;
    }

    ASSERT_TRUE(table.canRestoreFrom(dir + "/Events.bak"));
    ASSERT_TRUE(table.restoreFrom(dir + "/Events.bak").ok());
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_EQ(subjectsInFile(dir + "/Events.cds"), (QStringList{"Yesterday", "Also yesterday"}));
    // New rows go on after the restored ones, with an id that "Today" never had.
    ASSERT_TRUE(table.insertRow(eventRow("Next")).ok());
    EXPECT_EQ(table.asInteger(0), 4);
    EXPECT_EQ(subjectsInFile(dir + "/Events.cds"),
              (QStringList{"Yesterday", "Also yesterday", "Next"}));
}

namespace
{
// A table file holding "Kept" and "Deleted", with every write's outcome heard.
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
