#include "store/Table.h"
#include "store/TableTestSchemas.h"

#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace
{

enum EventField {
    ID = 0,
    Layer = 1,
    Start = 2,
    End = 3,
    AllDay = 4,
    Subject = 8,
    Memo = 9,
    Weekdays = 21,
    Exceptions = 22
};

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Runs `sql` on its own connection and returns the first column of the first row as text.
QString query(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    QString out = QStringLiteral("<open failed>");
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt *s = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW)
            out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
        else
            out = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return out;
}

void addEvent(Table &t, int layer, double start, const QString &subject)
{
    ASSERT_TRUE(
        t.insertRow({QVariant(), layer, start, start + 0.5, false, false, 0, 0, subject}).ok());
}

QStringList setAsideFiles(const QString &dir)
{
    return QDir(dir).entryList({"*.unreadable-*"}, QDir::Files, QDir::Name);
}

} // namespace

TEST(TableFile, EveryTypeRoundTripsWithNullsAndSchema)
{
    const QString path = TestEnv::freshDir() + "/Events.cds";
    const QByteArray blob("a\0b\xff", 4);
    {
        Table t(TableTestSchemas::events());
        ASSERT_EQ(t.load(path).status, TableLoadResult::Missing);
        ASSERT_TRUE(t.insertRow({QVariant(),
                                 -3,
                                 45000.75,
                                 45001.0,
                                 true,
                                 false,
                                 15,
                                 2,
                                 QString::fromUtf8("Zürich ☃ 🙂 'q'"),
                                 "line1\r\nline2",
                                 true,
                                 1,
                                 2,
                                 3,
                                 4,
                                 5,
                                 6,
                                 7,
                                 8,
                                 9,
                                 10,
                                 "0101010",
                                 blob,
                                 QByteArray()})
                        .ok());
        ASSERT_TRUE(t.insertRow({}).ok()); // all null
    }
    Table t; // no schema of its own: takes the file's
    ASSERT_EQ(t.load(path).status, TableLoadResult::Loaded);
    EXPECT_TRUE(t.schema().sameFields(TableTestSchemas::events()));
    ASSERT_EQ(t.schema().indexes.size(), 1);
    EXPECT_TRUE(t.schema().indexes[0].fields[1].descending);
    EXPECT_EQ(t.schema().fields[Subject].size, 256);
    ASSERT_EQ(t.recordCount(), 2);
    ASSERT_TRUE(t.locate(ID, 1));
    EXPECT_EQ(t.asInteger(Layer), -3);
    EXPECT_EQ(t.asDateTime(Start), 45000.75);
    EXPECT_TRUE(t.asBoolean(AllDay));
    EXPECT_EQ(t.asString(Subject), QString::fromUtf8("Zürich ☃ 🙂 'q'"));
    EXPECT_EQ(t.asString(Memo), "line1\r\nline2");
    EXPECT_EQ(t.asString(Weekdays), "0101010");
    EXPECT_EQ(t.asBytes(Exceptions), blob);
    EXPECT_FALSE(t.isNull(Exceptions + 1)); // empty bytes are not null
    ASSERT_TRUE(t.locate(ID, 2));
    for (int f = 1; f < t.fieldCount(); ++f)
        EXPECT_TRUE(t.isNull(f)) << f;
    EXPECT_EQ(t.nextAutoIncValue(), 3);
}

TEST(TableFile, EveryChangeIsInTheFileBeforeSaveOrClose)
{
    const QString path = TestEnv::freshDir() + "/Events.cds";
    Table t(TableTestSchemas::events());
    ASSERT_TRUE(t.setActiveIndex("INDEX"));
    ASSERT_TRUE(t.load(path).ok());
    for (int i = 0; i < 5; ++i)
        addEvent(t, 1, i, QString("e%1").arg(i));
    ASSERT_TRUE(t.locate(ID, 2));
    EXPECT_TRUE(t.deleteRow().ok());
    ASSERT_TRUE(t.locate(ID, 4));
    t.edit();
    t.setValue(Subject, "moved");
    t.setValue(Start, 100.0);
    ASSERT_TRUE(t.post().ok());
    // A second connection sees it while the table is still open.
    EXPECT_EQ(query(path, "SELECT count(*) FROM records"), "4");
    EXPECT_EQ(query(path, "SELECT Subject FROM records WHERE ID = 4"), "moved");
    EXPECT_EQ(query(path, "SELECT value FROM dayloom_meta WHERE key = 'next_id'"), "6");
    ASSERT_TRUE(t.emptyTable().ok());
    EXPECT_EQ(query(path, "SELECT count(*) FROM records"), "0");
    addEvent(t, 1, 1, "after empty");
    EXPECT_EQ(query(path, "SELECT ID FROM records"), "6");
}

TEST(TableFile, BulkChangesReachTheFileAtTheOutermostEnd)
{
    const QString path = TestEnv::freshDir() + "/Events.cds";
    Table t(TableTestSchemas::events());
    ASSERT_TRUE(t.setActiveIndex("INDEX"));
    ASSERT_TRUE(t.load(path).ok());
    addEvent(t, 1, 0, "before");
    t.beginBulk();
    t.beginBulk();
    for (int i = 1; i <= 3; ++i)
        addEvent(t, 1, i, QString("e%1").arg(i));
    ASSERT_TRUE(t.locate(ID, 1));
    EXPECT_TRUE(t.deleteRow().ok());
    EXPECT_EQ(query(path, "SELECT count(*) FROM records"), "1");
    ASSERT_TRUE(t.endBulk().ok());
    EXPECT_EQ(query(path, "SELECT count(*) FROM records"), "1");
    ASSERT_TRUE(t.endBulk().ok());
    EXPECT_FALSE(t.inBulk());
    EXPECT_EQ(query(path, "SELECT group_concat(ID) FROM (SELECT ID FROM records ORDER BY ID)"),
              "2,3,4");
    EXPECT_EQ(query(path, "SELECT value FROM dayloom_meta WHERE key = 'next_id'"), "5");
    // Back to writing each change through.
    addEvent(t, 1, 9, "after");
    EXPECT_EQ(query(path, "SELECT count(*) FROM records"), "4");
}

TEST(TableFile, AutoIncContinuesAfterReloadEvenWhenTheHighestRowWasDeleted)
{
    const QString path = TestEnv::freshDir() + "/Layers.cds";
    {
        Table t(TableTestSchemas::layers());
        ASSERT_TRUE(t.load(path).ok());
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(t.insertRow({QVariant(), i, "L"}).ok());
        t.last();
        EXPECT_TRUE(t.deleteRow().ok());
    }
    Table t(TableTestSchemas::layers());
    ASSERT_EQ(t.load(path).status, TableLoadResult::Loaded);
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_TRUE(t.insertRow({QVariant(), 9, "new"}).ok());
    EXPECT_EQ(t.asInteger(0), 4);
}

TEST(TableFile, LoadKeepsTheActiveIndexAndFilter)
{
    const QString path = TestEnv::freshDir() + "/Events.cds";
    {
        Table t(TableTestSchemas::events());
        ASSERT_TRUE(t.load(path).ok());
        addEvent(t, 1, 5, "late");
        addEvent(t, 2, 1, "early");
    }
    Table t(TableTestSchemas::events());
    ASSERT_TRUE(t.setActiveIndex("INDEX"));
    ASSERT_TRUE(t.setFilterText("Layer = 1"));
    ASSERT_TRUE(t.load(path).ok());
    t.first();
    EXPECT_EQ(t.asString(Subject), "early");
    ASSERT_TRUE(t.findFirst());
    EXPECT_EQ(t.asString(Subject), "late");
}

struct Damage {
    const char *name;
    // Makes the damaged file at `path` (an intact table file with 3 rows is there first).
    void (*make)(const QString &path);
};

class TableFileDamage : public ::testing::TestWithParam<Damage>
{
};

TEST_P(TableFileDamage, IsSetAsideUntouchedAndTheTableStartsEmpty)
{
    const QString dir = TestEnv::freshDir();
    const QString path = dir + "/Events.cds";
    {
        Table t(TableTestSchemas::events());
        ASSERT_TRUE(t.load(path).ok());
        for (int i = 0; i < 300; ++i)
            addEvent(t, 1, i, QString(200, QChar('x')));
    }
    GetParam().make(path);
    const QByteArray original = fileBytes(path);
    ASSERT_FALSE(original.isEmpty());

    Clock clock;
    clock.setFixed(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
    Table t(TableTestSchemas::events());
    t.setClock(&clock);
    const TableLoadResult r = t.load(path);
    ASSERT_EQ(r.status, TableLoadResult::SetAside) << r.error.toStdString();
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_EQ(r.setAsidePath, path + ".unreadable-20260304-050607");
    EXPECT_EQ(fileBytes(r.setAsidePath), original);
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_TRUE(t.schema().sameFields(TableTestSchemas::events()));
    addEvent(t, 1, 1, "fresh");
    EXPECT_EQ(t.asInteger(ID), 1);

    // The new file is sound; a second damaged file in the same second gets its own name.
    EXPECT_TRUE(t.close().ok());
    Table again(TableTestSchemas::events());
    ASSERT_EQ(again.load(path).status, TableLoadResult::Loaded);
    EXPECT_EQ(again.recordCount(), 1);
    EXPECT_TRUE(again.close().ok());
    writeBytes(path, "junk");
    Table third(TableTestSchemas::events());
    third.setClock(&clock);
    EXPECT_EQ(third.load(path).setAsidePath, path + ".unreadable-20260304-050607-2");
    EXPECT_EQ(fileBytes(r.setAsidePath), original);
    EXPECT_EQ(setAsideFiles(dir).size(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    TableFile, TableFileDamage,
    ::testing::Values(Damage{"garbage_bytes",
                             [](const QString &p) {
                                 QByteArray junk;
                                 for (int i = 0; i < 5000; ++i)
                                     junk.append(char((i * 7919) % 251));
                                 writeBytes(p, junk);
                             }},
                      Damage{"truncated",
                             [](const QString &p) {
                                 const QByteArray b = fileBytes(p);
                                 writeBytes(p, b.left(b.size() / 3));
                             }},
                      Damage{"overwritten_pages",
                             [](const QString &p) {
                                 QByteArray b = fileBytes(p);
                                 for (qsizetype i = 4096; i < b.size(); i += 7)
                                     b[i] = char(0xA5);
                                 writeBytes(p, b);
                             }},
                      Damage{"foreign_sqlite_database",
                             [](const QString &p) {
                                 QFile::remove(p);
                                 sqlite3 *db = nullptr;
                                 sqlite3_open(QFile::encodeName(p).constData(), &db);
                                 sqlite3_exec(
                                     db, "CREATE TABLE notes(x); INSERT INTO notes VALUES('mine');",
                                     nullptr, nullptr, nullptr);
                                 sqlite3_close(db);
                             }},
                      Damage{"repeated_id",
                             [](const QString &p) {
                                 sqlite3 *db = nullptr;
                                 sqlite3_open(QFile::encodeName(p).constData(), &db);
                                 sqlite3_exec(db, "UPDATE records SET ID = 1 WHERE ID = 2", nullptr,
                                              nullptr, nullptr);
                                 sqlite3_close(db);
                             }},
                      Damage{"missing_id",
                             [](const QString &p) {
                                 sqlite3 *db = nullptr;
                                 sqlite3_open(QFile::encodeName(p).constData(), &db);
                                 sqlite3_exec(db, "UPDATE records SET ID = NULL WHERE ID = 7",
                                              nullptr, nullptr, nullptr);
                                 sqlite3_close(db);
                             }},
                      Damage{"other_fields",
                             [](const QString &p) {
                                 QFile::remove(p);
                                 Table other(TableTestSchemas::layers());
                                 ASSERT_TRUE(other.load(p).ok());
                                 EXPECT_TRUE(other.insertRow({QVariant(), 0, "a layer"}).ok());
                             }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TableFile, EmptyFileIsTakenAsMissing)
{
    const QString path = TestEnv::freshDir() + "/Tasks.cds";
    writeBytes(path, QByteArray());
    Table t(TableTestSchemas::layers());
    EXPECT_EQ(t.load(path).status, TableLoadResult::Missing);
    EXPECT_TRUE(t.insertRow({QVariant(), 0, "x"}).ok());
}

TEST(TableFile, UnopenablePathFailsWithoutTouchingIt)
{
    const QString dir = TestEnv::freshDir();
    const QString path = dir + "/Events.cds";
    QDir().mkpath(path); // a folder where the file should be
    Table t(TableTestSchemas::events());
    const TableLoadResult r = t.load(path);
    EXPECT_EQ(r.status, TableLoadResult::Failed);
    EXPECT_TRUE(QFileInfo(path).isDir());
    const TableResult w = t.insertRow({QVariant(), 1, 1.0});
    EXPECT_TRUE(w.applied);
    EXPECT_FALSE(w.written);
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_TRUE(setAsideFiles(dir).isEmpty());
}

TEST(TableFile, FailedWriteIsReportedAndCarriedByTheNextWrite)
{
    const QString path = TestEnv::freshDir() + "/Events.cds";
    Table t(TableTestSchemas::events());
    ASSERT_TRUE(t.load(path).ok());
    addEvent(t, 1, 1, "first");

    sqlite3 *blocker = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &blocker), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(blocker, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const TableResult blocked =
        t.insertRow({QVariant(), 1, 2.0, 2.5, false, false, 0, 0, "second"});
    EXPECT_TRUE(blocked.applied);
    EXPECT_FALSE(blocked.written);
    EXPECT_FALSE(blocked.error.isEmpty());
    EXPECT_TRUE(t.hasPendingWrites());
    EXPECT_EQ(t.recordCount(), 2);
    t.first();
    const TableResult blockedDelete = t.deleteRow();
    EXPECT_FALSE(blockedDelete.written);
    EXPECT_FALSE(t.save().ok());
    sqlite3_exec(blocker, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(blocker);

    addEvent(t, 1, 3, "third");
    EXPECT_FALSE(t.hasPendingWrites());
    EXPECT_TRUE(t.close().ok());
    Table back(TableTestSchemas::events());
    ASSERT_EQ(back.load(path).status, TableLoadResult::Loaded);
    EXPECT_EQ(back.recordCount(), 2);
    EXPECT_FALSE(back.locate(ID, 1));
    EXPECT_TRUE(back.locate(ID, 2));
    EXPECT_TRUE(back.locate(ID, 3));
}

TEST(TableFile, SaveCheckpointsAndBackupIsAConsistentCopy)
{
    const QString dir = TestEnv::freshDir();
    const QString path = dir + "/Events.cds";
    Table t(TableTestSchemas::events());
    ASSERT_TRUE(t.load(path).ok());
    for (int i = 0; i < 50; ++i)
        addEvent(t, 1, i, "e");
    ASSERT_TRUE(t.save().ok());
    EXPECT_EQ(QFileInfo(path + "-wal").size(), 0);
    ASSERT_TRUE(t.backupTo(dir + "/Events.bak").ok());
    ASSERT_TRUE(t.backupTo(dir + "/Events.bak").ok()); // replaces the old copy
    EXPECT_EQ(query(dir + "/Events.bak", "PRAGMA integrity_check"), "ok");
    Table copy(TableTestSchemas::events());
    ASSERT_EQ(copy.load(dir + "/Events.bak").status, TableLoadResult::Loaded);
    EXPECT_EQ(copy.recordCount(), 50);
    EXPECT_EQ(copy.nextAutoIncValue(), 51);
}

TEST(TableFile, SaveToAnotherPathMovesTheTableThere)
{
    const QString dir = TestEnv::freshDir();
    Table t(TableTestSchemas::events());
    ASSERT_TRUE(t.load(dir + "/Data.cds").ok());
    addEvent(t, 1, 1, "old");
    ASSERT_TRUE(t.save(dir + "/Events.cds").ok());
    EXPECT_EQ(t.fileName(), dir + "/Events.cds");
    addEvent(t, 1, 2, "new");
    EXPECT_EQ(query(dir + "/Events.cds", "SELECT count(*) FROM records"), "2");
    EXPECT_EQ(query(dir + "/Data.cds", "SELECT count(*) FROM records"), "1");
}
