// Deleting layers with their events and tasks: the copy written first, the pending alarms of
// what went, the clipboard row kept, and nothing deleted when the copy cannot be written.
#include "store/LayerRemoval.h"
#include "store/LayerFileFormat.h"
#include "store/TextFileLines.h"

#include "CalendarStores.h"

using namespace CalendarTest;

namespace
{
bool hasEventAlarm(const EventsStore &events, int id)
{
    for (const auto &e : events.pendingAlarms().items())
        if (e.id == id) return true;
    return false;
}
} // namespace

TEST(LayerRemoval, DeletesTheLayersEventsTasksAndAlarmsAfterKeepingACopy)
{
    Calendar c; // today 1 Mar 2024 08:00
    const int keep = c.firstLayer();
    const int gone = c.layers->insertLayer(1, "Gone", true, 4, 1, 30).id;
    const int ringing = c.addEvent(Calendar::withAlarm(
        Calendar::oneTime(gone, 45352.5, 45352.55, "Lunch"), 15)); // 1 Mar 2024 12:00
    const int staying =
        c.addEvent(Calendar::withAlarm(Calendar::oneTime(keep, 45352.6, 45352.65, "Call"), 15));
    ASSERT_TRUE(c.events->copyToClipboard(ringing));
    const int parent = c.addTask("Plan", -1, gone);
    c.addTask("Step", parent);
    c.addTask("Other", -1, keep);
    ASSERT_TRUE(hasEventAlarm(*c.events, ringing));

    // A folder in the way of the copy: nothing at all is deleted.
    const QString copy = LayerRemoval::lastDeletedPath(c.dataDir);
    blockFile(copy);
    const StoreResult refused =
        LayerRemoval::deleteLayersKeepingCopy(copy, {gone}, *c.layers, *c.events, *c.tasks);
    EXPECT_FALSE(refused.ok);
    EXPECT_FALSE(refused.error.isEmpty());
    EXPECT_EQ(c.layers->count(), 2);
    EXPECT_EQ(c.eventCount(), 2);
    EXPECT_EQ(c.taskCount(), 3);

    QDir(copy).removeRecursively();
    const StoreResult done =
        LayerRemoval::deleteLayersKeepingCopy(copy, {gone}, *c.layers, *c.events, *c.tasks);
    ASSERT_TRUE(done.ok) << done.error.toStdString();
    EXPECT_EQ(done.count, 1);
    EXPECT_FALSE(c.layers->exists(gone));
    EXPECT_EQ(c.eventCount(), 1);
    EXPECT_TRUE(c.events->event(staying));
    EXPECT_EQ(c.events->clipboardCount(), 1) << "the clipboard row is no event of the layer";
    EXPECT_FALSE(hasEventAlarm(*c.events, ringing)) << "a deleted event never rings";
    EXPECT_TRUE(hasEventAlarm(*c.events, staying));
    EXPECT_EQ(c.tree(), QStringList({"Other1^-"}));

    // The copy is a layer file of the deleted layer with everything it held.
    QString error;
    const auto bytes = TextFileLines::readFile(copy, LayerFileFormat::MaxFileBytes, &error);
    ASSERT_TRUE(bytes) << error.toStdString();
    const auto content = LayerFileFormat::parse(*bytes, &error);
    ASSERT_TRUE(content) << error.toStdString();
    ASSERT_EQ(content->layers.size(), 1);
    EXPECT_EQ(content->layers[0].name, "Gone");
    EXPECT_EQ(content->layers[0].eventCount, 1);
    EXPECT_EQ(content->layers[0].taskCount, 2);

    // The files hold the same after a restart.
    c.reopen();
    EXPECT_EQ(c.layers->count(), 1);
    EXPECT_EQ(c.eventCount(), 1);
    EXPECT_EQ(c.tree(), QStringList({"Other1^-"}));
}
