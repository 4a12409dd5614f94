// Every damaged input of tests/data runs through every reader of the stores: the layer-file
// import, the three undo restores and the snooze file. None may crash, loop or change a table.
#include "CalendarStores.h"
#include "store/AlarmFiles.h"
#include "store/LayerFile.h"
#include "store/LayerFileFormat.h"
#include "store/UndoLog.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace CalendarTest;

namespace
{

const QString DataDir = QStringLiteral(DAYLOOM_SOURCE_DIR "/tests/data");

QStringList damagedFiles()
{
    QStringList out;
    const QDir data(DataDir);
    for (const QString &folder : data.entryList({"damaged-*"}, QDir::Dirs)) {
        const QDir d(data.filePath(folder));
        for (const QString &f : d.entryList(QDir::Files, QDir::Name))
            out << d.filePath(f);
    }
    return out;
}

// What a reader may change; equal before and after a refused input.
struct Snapshot {
    int layers, events, tasks, alarms;
    QStringList tree;
    bool operator==(const Snapshot &) const = default;
};

Snapshot snapshot(Calendar &c)
{
    return {c.layers->count(), c.eventCount(), c.taskCount(), int(c.events->pendingAlarms().size()),
            c.tree()};
}

void placeAs(const QString &source, const QString &target)
{
    QFile::remove(target);
    ASSERT_TRUE(QFile::copy(source, target));
}

} // namespace

TEST(DamagedInputs, CorpusIsThere)
{
    EXPECT_GE(damagedFiles().size(), 40);
}

TEST(DamagedInputs, NoReaderChangesAnythingForAnyDamagedFile)
{
    Calendar c(QDateTime(QDate(2024, 3, 4), QTime(8, 0)));
    const SerialDateTime day = DateTimeValue::encodeDate(2024, 3, 4);
    c.addEvent(
        Calendar::withAlarm(Calendar::oneTime(c.firstLayer(), day + 0.5, day + 0.6, "e"), 5));
    const int p = c.addTask("P");
    c.addTask("C", p);
    const Snapshot before = snapshot(c);

    for (const QString &file : damagedFiles()) {
        SCOPED_TRACE(file.toStdString());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();

        EXPECT_FALSE(LayerFileFormat::parse(bytes));
        EXPECT_FALSE(LayerFile::importFile(file, *c.layers, *c.events, *c.tasks).ok);

        EXPECT_FALSE(UndoLog::parse(bytes));
        placeAs(file, c.dataDir + UndoLog::FileName);
        EXPECT_FALSE(c.events->restoreDeletedEvents().ok);
        EXPECT_FALSE(c.tasks->restoreDeletedTasks().ok);
        EXPECT_FALSE(c.tasks->restoreMovedTask().ok);

        placeAs(file, c.dataDir + AlarmFiles::SnoozeFileName);
        EXPECT_EQ(c.events->readSnoozeFile().count, 0);

        EXPECT_EQ(snapshot(c), before);
    }
}

TEST(DamagedInputs, TheUndamagedSampleIsRead)
{
    Calendar c;
    const auto r =
        LayerFile::importFile(DataDir + "/good-layer-file.dyl", *c.layers, *c.events, *c.tasks);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.events, 1);
    EXPECT_EQ(c.tree(), (QStringList{"P1^-", "C2^P"}));
    ASSERT_EQ(c.events->eventIds().size(), 1u);
    EXPECT_EQ(c.events->event(c.events->eventIds()[0]).value().subject(), "a;b");
}
