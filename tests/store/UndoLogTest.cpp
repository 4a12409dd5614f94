#include "store/UndoLog.h"
#include "CalendarStores.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace CalendarTest;

namespace
{

const QString Tricky = QStringLiteral("a;b 'quoted' ''x''\r\nsecond;line'");

EventRow withoutID(EventRow v)
{
    v[EventField::Id] = QVariant();
    return v;
}

} // namespace

TEST(UndoEvents, DeleteThreeAndUndoRestoresTimesTextsRulesAndExceptions)
{
    Calendar c;
    const int layer = c.firstLayer();
    const SerialDateTime day = DateTimeValue::encodeDate(2024, 3, 4);
    EventRow plain = Calendar::oneTime(layer, day + 0.375, day + 0.5, Tricky);
    plain[EventField::Description] = QStringLiteral("line one\r\nline two; 'x'");
    EventRow rule = Calendar::recurring(
        layer,
        [&] {
            RecurrenceRule r;
            r.pattern = RecurrenceRule::Pattern::Weekly;
            r.variant = RecurrenceRule::Variant::EveryNWeeks;
            r.endRule = RecurrenceRule::EndRule::Never;
            r.interval = 1;
            r.weekdays = *WeekdaySet::fromText(u"0100010");
            r.startTime = day + 0.25;
            r.endTime = day + 1000 + 0.3;
            return r;
        }(),
        QStringLiteral("weekly"));
    rule[EventField::ExceptionList] = QByteArray("45360,45367");
    rule[EventField::Updates] = QByteArray("kept;not read\r\nback");
    EventRow allDay = Calendar::oneTime(layer, day, day + 2, QStringLiteral("all day"));
    allDay[EventField::AllDay] = true;
    const int ids[] = {c.addEvent(plain), c.addEvent(rule), c.addEvent(allDay)};
    const int keep = c.addEvent(Calendar::oneTime(layer, day, day + 0.1, QStringLiteral("keep")));

    const StoreResult del = c.events->deleteWithUndo(
        {QString::number(ids[0]), QString::number(ids[1]), QStringLiteral("junk"),
         QString::number(ids[2]), QStringLiteral("9999")});
    ASSERT_TRUE(del.ok) << del.error.toStdString();
    EXPECT_EQ(del.count, 3);
    EXPECT_EQ(c.eventCount(), 1);
    EXPECT_EQ(UndoLog::readSection(c.dataDir), UndoLog::Section::DeletedEvents);

    const StoreResult undo = c.events->restoreDeletedEvents();
    ASSERT_TRUE(undo.ok) << undo.error.toStdString();
    EXPECT_EQ(undo.count, 3);
    ASSERT_EQ(c.eventCount(), 4);

    rule[EventField::Updates] = QVariant(); // never read back
    QList<EventRow> restored;
    c.events->forEachEvent([&](const EventRow &row) {
        if (row.id() == keep) return;
        EXPECT_GT(row.id(), keep); // new IDs
        restored << withoutID(row);
    });
    for (const EventRow &expected : {plain, rule, allDay}) {
        bool found = false;
        for (const EventRow &got : restored)
            if (got[EventField::Subject] == expected[EventField::Subject]) {
                found = true;
                for (int f = int(EventField::Layer); f < EventRow::FieldCount; ++f)
                    EXPECT_EQ(got[EventField(f)].toString(), expected[EventField(f)].toString())
                        << "field " << f << " of "
                        << expected[EventField::Subject].toString().toStdString();
            }
        EXPECT_TRUE(found);
    }
}

TEST(UndoEvents, EventOfADeletedLayerComesBackInTheFirstLayer)
{
    Calendar c;
    const int two = c.layers->insertLayer(1, "Two", true, 2, 1, 30).id;
    const int id = c.addEvent(Calendar::oneTime(two, 45000.4, 45000.5, "x"));
    ASSERT_TRUE(c.events->deleteWithUndo({QString::number(id)}).ok);
    ASSERT_TRUE(c.layers->deleteLayer(two).ok());
    ASSERT_EQ(c.events->restoreDeletedEvents().count, 1);
    ASSERT_EQ(c.events->eventIds().size(), 1u);
    EXPECT_EQ(c.events->event(c.events->eventIds()[0]).value().layer(), c.firstLayer());
}

TEST(UndoEvents, UnwritableUndoFileDeletesNothing)
{
    Calendar c;
    const int id = c.addEvent(Calendar::oneTime(c.firstLayer(), 45000.4, 45000.5, "x"));
    blockFile(c.dataDir + UndoLog::FileName);
    const StoreResult r = c.events->deleteWithUndo({QString::number(id)});
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_EQ(r.count, 0);
    EXPECT_TRUE(c.events->event(id));
}

TEST(UndoEvents, RestoreRefusesAnotherSection)
{
    Calendar c;
    const int task = c.addTask("t");
    ASSERT_TRUE(c.tasks->deleteWithUndo({task}).ok);
    EXPECT_FALSE(c.events->restoreDeletedEvents().ok);
    EXPECT_EQ(c.eventCount(), 0);
}

// Task 1 is the first task of a new calendar; "-1" in the parent column means both "top-level"
// and "child of task 1", and restoring must not hang the other top-level tasks under it.
TEST(UndoTasks, DeleteParentWithTwoChildrenAndUndoKeepsTheTreeShape)
{
    Calendar c;
    const int parent = c.addTask("P");
    ASSERT_EQ(parent, 1);
    c.addTask("A", parent);
    const int b = c.addTask("B", parent);
    c.addTask("B1", b);
    c.addTask("Other");
    const QStringList before = c.tree();

    const StoreResult del = c.tasks->deleteWithUndo({parent});
    ASSERT_TRUE(del.ok);
    EXPECT_EQ(del.count, 4);
    EXPECT_EQ(c.tree(), QStringList{"Other1^-"});

    const StoreResult undo = c.tasks->restoreDeletedTasks();
    ASSERT_TRUE(undo.ok) << undo.error.toStdString();
    EXPECT_EQ(undo.count, 4);
    EXPECT_EQ(c.tree(), before);
}

TEST(UndoTasks, SubtaskReturnsUnderItsParentOrTopLevelWhenTheParentIsGone)
{
    for (const bool parentDeleted : {false, true}) {
        SCOPED_TRACE(parentDeleted ? "parent deleted in between" : "parent still there");
        Calendar c;
        const int p = c.addTask("P");
        const int s = c.addTask("S", p);
        c.addTask("S1", s);
        ASSERT_TRUE(c.tasks->deleteWithUndo({s}).ok);
        EXPECT_FALSE(c.tasks->task(p).value().hasChildren);
        if (parentDeleted) {
            ASSERT_TRUE(c.tasks->deleteTask(p).ok());
        }
        ASSERT_EQ(c.tasks->restoreDeletedTasks().count, 2);
        if (parentDeleted) {
            EXPECT_EQ(c.tree(), (QStringList{"S1^-", "S12^S"}));
        } else {
            EXPECT_EQ(c.tree(), (QStringList{"P1^-", "S2^P", "S13^S"}));
        }
    }
}

TEST(UndoTasks, UnwritableUndoFileDeletesNothing)
{
    Calendar c;
    const int p = c.addTask("P");
    c.addTask("A", p);
    blockFile(c.dataDir + UndoLog::FileName);
    const StoreResult r = c.tasks->deleteWithUndo({p});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(c.taskCount(), 2);
}

TEST(UndoTasks, UndoMoveToTopLevelRenumbersATwoLevelSubtree)
{
    Calendar c;
    const int p = c.addTask("P");
    const int m = c.addTask("M", p);
    const int m1 = c.addTask("M1", m);
    c.addTask("M11", m1);
    const QStringList before = c.tree();

    c.tasks->buildRowList();
    int from = -1;
    for (int i = 0; i < c.tasks->rowList().size(); ++i)
        if (c.tasks->listTask(i).value().id == m) from = i;
    ASSERT_TRUE(c.tasks->moveInTree(from, int(c.tasks->rowList().size())));
    EXPECT_EQ(c.tree(), (QStringList{"M1^-", "M12^M", "M113^M1", "P1^-"}));
    EXPECT_EQ(UndoLog::readSection(c.dataDir), UndoLog::Section::MovedTasks);

    ASSERT_TRUE(c.tasks->restoreMovedTask().ok);
    EXPECT_EQ(c.tree(), before);
}

TEST(UndoTasks, UndoMoveWhoseFormerParentIsGoneMakesItTopLevel)
{
    Calendar c;
    const int p = c.addTask("P");
    const int q = c.addTask("Q");
    const int m = c.addTask("M", p);
    c.addTask("M1", m);
    c.tasks->buildRowList();
    // Move M under Q, then delete P (its former parent) without touching the undo file.
    ASSERT_TRUE(c.tasks->moveInTree(1, 3)); // rows: P, M, M1, Q
    ASSERT_EQ(c.tree(), (QStringList{"P1^-", "Q1^-", "M2^Q", "M13^M"}));
    ASSERT_TRUE(c.tasks->deleteTask(p).ok());

    ASSERT_TRUE(c.tasks->restoreMovedTask().ok);
    EXPECT_EQ(c.tree(), (QStringList{"M1^-", "M12^M", "Q1^-"}));
    EXPECT_FALSE(c.tasks->task(q).value().hasChildren);
}

TEST(UndoTasks, MoveIsRefusedWhenTheUndoFileCannotBeWritten)
{
    Calendar c;
    const int p = c.addTask("P");
    c.addTask("M", p);
    const QStringList before = c.tree();
    blockFile(c.dataDir + UndoLog::FileName);
    c.tasks->buildRowList();
    EXPECT_FALSE(c.tasks->moveInTree(1, 2));
    EXPECT_FALSE(c.tasks->undoError().isEmpty());
    EXPECT_EQ(c.tree(), before);
}
