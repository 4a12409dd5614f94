#include "store/LayerFile.h"
#include "CalendarStores.h"
#include "RuleBuilders.h"
#include "store/LayerFileFormat.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace CalendarTest;

namespace
{

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList linesOf(const QString &path)
{
    QStringList lines = QString::fromUtf8(readAll(path)).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

int separators(const QString &line)
{
    int n = 0;
    bool quoted = false;
    for (const QChar ch : line) {
        if (ch == u'\'')
            quoted = !quoted; // a doubled quote toggles twice
        else if (ch == u';' && !quoted)
            ++n;
    }
    return n;
}

const QString Tricky = QStringLiteral("semi;colon 'quote' ''two''\r\nnext line");

// Layer "Work" with 3 events (one recurring with exceptions, one with a tricky subject) and 1
// task; layer "Home" with no event and 2 tasks (a parent and its child); plus the default
// layer with its own event, which is not exported.
struct TwoLayers {
    Calendar c;
    int work = 0, home = 0;
    TwoLayers()
    {
        work = c.layers->insertLayer(1, Tricky, true, 5, 2, 45).id;
        home = c.layers->insertLayer(2, "Home", false, 7, 1, 30).id;
        const SerialDateTime day = DateTimeValue::encodeDate(2024, 3, 4);
        EventRow weekly = Calendar::recurring(
            work, Rules::weekly(1, "0100010", QDate(2024, 3, 4), QDate(2024, 6, 28)), "gym");
        weekly[EventField::ExceptionList] = QByteArray("45362");
        c.addEvent(weekly);
        EventRow tricky = Calendar::oneTime(work, day + 0.5, day + 0.6, Tricky);
        tricky[EventField::Description] = Tricky;
        c.addEvent(Calendar::withAlarm(tricky, 2, 2));
        c.addEvent(Calendar::oneTime(work, day, day + 1, "all day"));
        const int notExported =
            c.addEvent(Calendar::oneTime(c.firstLayer(), day, day + 0.1, "not exported"));
        EXPECT_TRUE(c.events->copyToClipboard(notExported)); // never exported
        c.addTask("Report", -1, work);
        const int garden = c.addTask("Garden", -1, home);
        c.addTask(Tricky, garden);
        c.addTask("Not exported");
    }
};

} // namespace

TEST(LayerFile, ExportOfTwoLayersHasTheCountsAndLines)
{
    TwoLayers t;
    const QString path = TestEnv::freshDir("export") + "/two.dyl";
    ASSERT_TRUE(
        LayerFile::exportFile(path, {t.work, t.home}, *t.c.layers, *t.c.events, *t.c.tasks).ok);
    const QStringList lines = linesOf(path);
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines[0], "COUNT;;;;;;;;;;;;;;;;;;;;;;");
    EXPECT_EQ(lines[1], "2;;;;;;;;;;;;;;;;;;;;;;");
    EXPECT_EQ(lines[2], LayerFileFormat::LayerHeader);
    EXPECT_EQ(lines[3], "-1000;'semi;colon ''quote'' ''''two''''#13#10next line';True;5;2;45;3;1;;"
                        ";;;;;;;;;;;;;");
    EXPECT_EQ(lines[4], "-999;'Home';False;7;1;30;0;2;;;;;;;;;;;;;;;");
    EXPECT_TRUE(lines[5].startsWith("LAYER;STARTTIME;"));
    for (int i = 6; i < 9; ++i)
        EXPECT_TRUE(lines[i].startsWith("-1000;")) << lines[i].toStdString();
    EXPECT_EQ(lines[9], RecordLines::TaskHeader);
    // Parents before children, IDs numbered in the file.
    EXPECT_TRUE(lines[10].startsWith("-1;-1;1;True;True;-999;False;;'Garden'"));
    EXPECT_TRUE(lines[11].startsWith("-2;-1;2;False;False;-999;"));
    EXPECT_TRUE(lines[12].startsWith("-3;-1;1;False;False;-1000;False;;'Report'"));
    // Separators outside quoted texts: 22 up to the task header, 12 in task lines.
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(separators(lines[i]), i < 9 ? 22 : 12) << lines[i].toStdString();
}

TEST(LayerFile, ImportIntoAnEmptyCalendarAndExportAgainIsByteIdentical)
{
    TwoLayers t;
    const QString first = TestEnv::freshDir("export") + "/first.dyl";
    ASSERT_TRUE(
        LayerFile::exportFile(first, {t.work, t.home}, *t.c.layers, *t.c.events, *t.c.tasks).ok);

    Calendar empty;
    const auto imported = LayerFile::importFile(first, *empty.layers, *empty.events, *empty.tasks);
    ASSERT_TRUE(imported.ok) << imported.error.toStdString();
    ASSERT_EQ(imported.layerIDs.size(), 2);
    EXPECT_EQ(imported.events, 3);
    EXPECT_EQ(imported.tasks, 3);
    EXPECT_EQ(empty.layers->count(), 3);
    EXPECT_EQ(empty.layers->layer(imported.layerIDs[0]).value().name, Tricky);
    EXPECT_EQ(empty.events->countLayerEvents(imported.layerIDs[0]), 3);
    EXPECT_EQ(empty.tasks->countTasksOfLayer(imported.layerIDs[1]), 2);
    EXPECT_EQ(empty.tree(), (QStringList{"Garden1^-", Tricky + "2^Garden", "Report1^-"}));

    const QString second = TestEnv::freshDir("export") + "/second.dyl";
    ASSERT_TRUE(
        LayerFile::exportFile(second, imported.layerIDs, *empty.layers, *empty.events, *empty.tasks)
            .ok);
    EXPECT_EQ(readAll(second), readAll(first));
}

TEST(LayerFile, DamagedOrTooManyLayersImportsNothing)
{
    TwoLayers t;
    const QString good = TestEnv::freshDir("export") + "/good.dyl";
    ASSERT_TRUE(
        LayerFile::exportFile(good, {t.work, t.home}, *t.c.layers, *t.c.events, *t.c.tasks).ok);
    const QByteArray bytes = readAll(good);

    // Every truncation of a good file: refused or read whole, never half-applied.
    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        const auto parsed = LayerFileFormat::parse(bytes.left(cut));
        EXPECT_TRUE(!parsed || cut >= bytes.size() - 2) << cut;
    }

    Calendar full;
    for (int i = 0; i < 22; ++i)
        ASSERT_TRUE(
            full.layers->insertLayer(i + 1, QStringLiteral("L%1").arg(i), true, 1, 1, 30).ok());
    const auto refused = LayerFile::importFile(good, *full.layers, *full.events, *full.tasks);
    EXPECT_FALSE(refused.ok);
    EXPECT_FALSE(refused.error.isEmpty());
    EXPECT_EQ(full.layers->count(), 23);
    EXPECT_EQ(full.taskCount(), 0);
}

TEST(Archive, OldEventsMoveToTheArchiveTwiceAndImportBack)
{
    Calendar c(QDateTime(QDate(2024, 3, 31), QTime(8, 0)));
    const int arch = c.layers->insertLayer(1, "Archived", true, 3, 2, 30).id;
    const SerialDateTime today = DateTimeValue::encodeDate(2024, 3, 31);
    c.addEvent(Calendar::oneTime(arch, today - 31.5, today - 31, Tricky)); // ended 31 days ago
    c.addEvent(Calendar::oneTime(arch, today - 1.5, today - 1, "yesterday"));
    c.addEvent(Calendar::oneTime(c.firstLayer(), today - 100, today - 99, "not archiving"));
    c.addEvent(Calendar::recurring(
        arch, Rules::weekly(1, "0100000", QDate(2023, 1, 2), QDate(2024, 1, 29)), "ended rule"));

    StoreResult r = c.events->archiveOldEvents();
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.count, 2);
    EXPECT_EQ(c.eventCount(), 2);

    c.clock.setFixed(QDateTime(QDate(2024, 5, 1), QTime(0, 0)));
    r = c.events->archiveOldEvents();
    EXPECT_EQ(r.count, 1); // "yesterday" is now old
    EXPECT_EQ(c.eventCount(), 1);

    const QString path = EventsStore::archivePath(c.dataDir);
    const QStringList lines = linesOf(path);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[2], LayerFileFormat::ArchiveLayerHeader);
    EXPECT_EQ(lines[3], "-1000;'Archive';True;1;1;30;3;;;;;;;;;;;;;;;;");
    EXPECT_TRUE(lines[4].startsWith(";STARTTIME;"));

    Calendar other;
    const auto imported = LayerFile::importFile(path, *other.layers, *other.events, *other.tasks);
    ASSERT_TRUE(imported.ok) << imported.error.toStdString();
    EXPECT_EQ(imported.events, 3);
    EXPECT_EQ(other.layers->layer(imported.layerIDs.value(0)).value().name, "Archive");
    bool trickyBack = false, ruleBack = false;
    other.events->forEachEvent([&](const EventRow &row) {
        trickyBack |= row.subject() == Tricky;
        ruleBack |=
            row.isRecurring() && other.events->rule(row.id()).value().weekdays.text() == "0100000";
    });
    EXPECT_TRUE(trickyBack);
    EXPECT_TRUE(ruleBack);
}

TEST(Archive, UnwritableOrUnreadableArchive)
{
    Calendar c(QDateTime(QDate(2024, 3, 31), QTime(8, 0)));
    const int arch = c.layers->insertLayer(1, "Archived", true, 3, 2, 30).id;
    c.addEvent(Calendar::oneTime(arch, 45000, 45000.5, "old"));
    const QString path = EventsStore::archivePath(c.dataDir);

    // A directory where the archive goes: it cannot be written, no event leaves the table.
    blockFile(path);
    const StoreResult blocked = c.events->archiveOldEvents();
    EXPECT_FALSE(blocked.ok);
    EXPECT_EQ(c.eventCount(), 1);
    QDir(path).removeRecursively();

    // A damaged archive is set aside, never overwritten, and a new one started.
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("COUNT;;;\r\nsomething the user wrote\r\n");
    }
    const StoreResult r = c.events->archiveOldEvents();
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.count, 1);
    const QStringList aside =
        QDir(QFileInfo(path).absolutePath()).entryList({"Archive.dyl.damaged-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(linesOf(path).size(), 6);
}
