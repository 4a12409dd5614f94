#include "store/LayersStore.h"
#include "store/TasksStore.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

namespace
{

// A store in a fresh data directory with layer L1 (the default) and a second layer L2.
struct TasksFixture : ::testing::Test {
    QString dir = TestEnv::freshDir("tasks") + "/";
    Clock clock;
    LayersStore layers{dir, clock};
    int L1 = 0, L2 = 0;
    std::unique_ptr<TasksStore> tasks;

    void SetUp() override
    {
        clock.setFixed(QDateTime(QDate(2024, 3, 1), QTime(8, 0)));
        L1 = layers.idAt(1);
        L2 = layers.insertLayer(2, "Two", true, 2, 1, 30).id;
        tasks = std::make_unique<TasksStore>(dir, layers, clock);
    }
    int add(const QString &subject, int parent = -1, int layer = -1, int priority = 0,
            bool finished = false)
    {
        int level = 1;
        if (auto p = parent != -1 ? tasks->task(parent) : std::nullopt) {
            level = p->level + 1;
            p->hasChildren = true;
            p->open = true;
            EXPECT_TRUE(tasks->updateTask(*p).ok());
        }
        return tasks
            ->insertTask(parent, level, layer == -1 ? L1 : layer, subject, priority, finished)
            .id;
    }
    // Subjects of the row list, indented by level - 1 blanks.
    QStringList shown()
    {
        tasks->buildRowList();
        QStringList out;
        for (int i = 0; i < tasks->rowList().size(); ++i) {
            const TaskRow t = tasks->listTask(i).value();
            out << QString(t.level - 1, u' ') + t.subject;
        }
        return out;
    }
    int position(const QString &subject)
    {
        tasks->buildRowList();
        for (int i = 0; i < tasks->rowList().size(); ++i)
            if (tasks->listTask(i).value().subject == subject) return i;
        return -1;
    }
    bool move(const QString &from, const QString &to)
    {
        const int f = position(from);
        const int t = to.isEmpty() ? int(tasks->rowList().size()) : position(to);
        return tasks->moveInTree(f, t);
    }
    void setOpen(int id, bool open)
    {
        TaskRow t = task(id);
        t.open = open;
        EXPECT_TRUE(tasks->updateTask(t).ok());
    }
    TaskRow task(int id) { return tasks->task(id).value(); }
};

} // namespace

TEST(TasksIndexes, FortyEightNamesWithParentFirst)
{
    const QStringList names = TasksStore::indexNames();
    EXPECT_EQ(names.size(), 48);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 48);
    const TableSchema s = TasksStore::schema();
    QString why;
    ASSERT_TRUE(s.isValid(&why)) << why.toStdString();
    const IndexDef &pfs = s.indexes[s.indexIndex(u"P+F-S-")];
    ASSERT_EQ(pfs.fields.size(), 4);
    EXPECT_EQ(pfs.fields[0].field, "ParentID");
    // Priority "+" runs high to low; Finished "-" finished first; subject "-" descending.
    EXPECT_EQ(pfs.fields[1].field, "Priority");
    EXPECT_TRUE(pfs.fields[1].descending);
    EXPECT_TRUE(pfs.fields[2].descending);
    EXPECT_TRUE(pfs.fields[3].descending);
}

TEST(TasksIndexes, SortKeyClicks)
{
    struct Case {
        const char *name, *from, key, *to;
    } cases[] = {
        {"subject leads: sign flips", "S+P+F+", 'S', "S-P+F+"},
        {"second pair moves to front", "S-P+F+", 'P', "P+S-F+"},
        {"third pair moves to front", "P+S-F+", 'F', "F+P+S-"},
        {"flip back to plus", "F-P+S-", 'F', "F+P+S-"},
        {"unknown name starts from default", "junk", 'P', "P+S+F+"},
        {"unknown key keeps name", "S+P+F+", 'X', "S+P+F+"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TasksStore::sortedIndexName(c.from, QChar(c.key)), c.to) << c.name;
}

TEST_F(TasksFixture, SortByKeyOrdersSiblingsOnly)
{
    const int a = add("b-low", -1, -1, 1);
    add("a-high", -1, -1, 5, true);
    add("c-mid", -1, -1, 3);
    add("zz child", a);
    add("aa child", a);
    EXPECT_EQ(shown(), QStringList({"a-high", "b-low", " aa child", " zz child", "c-mid"}));
    EXPECT_EQ(tasks->sortByKey('S'), "S-P+F+");
    EXPECT_EQ(shown(), QStringList({"c-mid", "b-low", " zz child", " aa child", "a-high"}));
    EXPECT_EQ(tasks->sortByKey('P'), "P+S-F+"); // high priority first
    EXPECT_EQ(shown(), QStringList({"a-high", "c-mid", "b-low", " zz child", " aa child"}));
    EXPECT_EQ(tasks->sortByKey('F'), "F+P+S-"); // open tasks first
    EXPECT_EQ(shown(), QStringList({"c-mid", "b-low", " zz child", " aa child", "a-high"}));
}

TEST_F(TasksFixture, ClosedParentsHideEveryDescendant)
{
    const int a = add("A");
    const int b = add("B", a);
    add("C", b);
    add("D", a);
    add("E");
    EXPECT_EQ(shown(), QStringList({"A", " B", "  C", " D", "E"}));
    setOpen(b, false);
    EXPECT_EQ(shown(), QStringList({"A", " B", " D", "E"}));
    setOpen(a, false);
    EXPECT_EQ(shown(), QStringList({"A", "E"}));
    setOpen(a, true); // B stays closed: its child stays hidden
    EXPECT_EQ(shown(), QStringList({"A", " B", " D", "E"}));
}

TEST_F(TasksFixture, HiddenLayersAndBrokenTreesAreLeftOut)
{
    add("Mine");
    const int other = add("Other", -1, L2);
    add("Other child", other, L2);
    // A hand-made loop and an orphan never reach the list.
    ASSERT_TRUE(tasks->insertTask(1000, 2, L1, "orphan").ok());
    const int x = add("X");
    const int y = add("Y", x);
    TaskRow looped = task(x);
    looped.parentId = y;
    ASSERT_TRUE(tasks->updateTask(looped).ok());
    ASSERT_TRUE(tasks->setFilterText(QString("Layer = %1").arg(L1)));
    EXPECT_EQ(shown(), QStringList({"Mine"}));
    ASSERT_TRUE(tasks->setFilterText(""));
    EXPECT_EQ(shown(), QStringList({"Mine", "Other", " Other child"}));
}

TEST_F(TasksFixture, MoveOntoADescendantOrSelfIsRefused)
{
    const int a = add("A");
    const int b = add("B", a);
    add("C", b);
    int calls = 0;
    tasks->setMovedTaskHook([&](const MovedTask &) { ++calls; });
    EXPECT_FALSE(move("A", "C"));
    EXPECT_FALSE(move("A", "B"));
    EXPECT_FALSE(move("A", "A"));
    EXPECT_FALSE(tasks->moveInTree(-1, 0));
    EXPECT_FALSE(tasks->moveInTree(0, -1));
    EXPECT_FALSE(tasks->moveInTree(99, 0));
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(shown(), QStringList({"A", " B", "  C"}));
}

TEST_F(TasksFixture, MoveOntoAnotherLayersTaskIsRefused)
{
    add("Mine");
    add("Theirs", -1, L2);
    EXPECT_FALSE(move("Mine", "Theirs"));
    EXPECT_EQ(shown(), QStringList({"Mine", "Theirs"}));
}

TEST_F(TasksFixture, MoveToTopLevelRenumbersTwoLevelSubtreeAndClearsOldParent)
{
    const int a = add("A");
    const int b = add("B", a);
    const int c = add("C", b);
    const int d = add("D", c);
    std::optional<MovedTask> undo;
    tasks->setMovedTaskHook([&](const MovedTask &m) { undo = m; });
    ASSERT_TRUE(move("B", ""));
    EXPECT_EQ(undo, (MovedTask{b, a}));
    EXPECT_EQ(task(b).parentId, -1);
    EXPECT_EQ(task(b).level, 1);
    EXPECT_EQ(task(c).level, 2);
    EXPECT_EQ(task(d).level, 3);
    EXPECT_EQ(task(a).hasChildren, 0);
    EXPECT_EQ(task(a).open, 0);
    EXPECT_EQ(shown(), QStringList({"A", "B", " C", "  D"}));
}

TEST_F(TasksFixture, MoveUnderAnotherTaskDeepensTheSubtree)
{
    const int a = add("A");
    const int b = add("B", a);
    add("B2", a); // A keeps a child: its flags stay
    const int c = add("C", b);
    const int e = add("E");
    const int f = add("F", e);
    setOpen(e, false);
    EXPECT_EQ(position("F"), -1); // hidden: E is closed
    ASSERT_TRUE(move("B", "E"));
    EXPECT_EQ(task(b).parentId, e);
    EXPECT_EQ(task(b).level, 2);
    EXPECT_EQ(task(c).level, 3);
    EXPECT_EQ(task(e).open, 1); // the target opens
    EXPECT_EQ(task(a).hasChildren, 1);
    ASSERT_TRUE(move("B", "F"));
    EXPECT_EQ(task(c).level, 4);
    EXPECT_EQ(task(f).hasChildren, 1);
    EXPECT_EQ(shown(), QStringList({"A", " B2", "E", " F", "  B", "   C"}));
}

TEST_F(TasksFixture, MoveToLayerTakesTheWholeTreeFromTheTop)
{
    const int a = add("A");
    const int b = add("B", a);
    const int c = add("C", b);
    const int lone = add("Lone");
    EXPECT_TRUE(tasks->moveTasksToLayer({c}, L2));
    for (int id : {a, b, c})
        EXPECT_EQ(task(id).layer, L2);
    EXPECT_EQ(task(lone).layer, L1);
    EXPECT_FALSE(tasks->moveTasksToLayer({a, 4242}, L2)); // already there; unknown id
    EXPECT_EQ(tasks->countTasksOfLayer(L2), 3);
    EXPECT_EQ(tasks->countTasksOfLayer(L1), 1);
}

TEST_F(TasksFixture, TaskLineNegatesIDsAndQuotesTexts)
{
    const int a = add("A");
    const int b = tasks
                      ->insertTask(a, 2, L1, "it's; a\r\nline", 3, true, true,
                                   DateTimeValue::encodeDate(2024, 3, 1) + 9.5 / 24, "d")
                      .id;
    EXPECT_EQ(tasks->taskLine(b), QString("-%1;-%2;2;False;False;%3;True;2024-03-01 09:30:00;"
                                          "'it''s; a#13#10line';'d';3;True;")
                                      .arg(b)
                                      .arg(a)
                                      .arg(L1));
    EXPECT_EQ(tasks->taskLine(4242), "") << "no such task";
    EXPECT_EQ(tasks->taskLine(a, -1000),
              QString("-%1;-1;1;False;False;-1000;False;;'A';'';0;False;").arg(a));
}

TEST_F(TasksFixture, TreeSurvivesARestartAndTheAfterPostHookRuns)
{
    int posts = 0;
    tasks->setAfterPostHook([&] { ++posts; });
    const int a = add("A");
    add("B", a);
    EXPECT_GE(posts, 3);
    tasks.reset();
    TasksStore again(dir, layers, clock);
    EXPECT_EQ(again.indexName(), "S+P+F+");
    again.buildRowList();
    EXPECT_EQ(again.rowList().size(), 2);
}
