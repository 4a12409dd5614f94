#include "EventsTestSupport.h"

#include "core/CalendarMath.h"
#include "core/Settings.h"
#include "store/ExceptionList.h"
#include "store/OldDataConversion.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <QFile>

using namespace EventsTest;

namespace
{

// IDs of the rows the layer and window filters pass, in order.
std::vector<int> filteredIds(const EventsStore &ev)
{
    return ev.idsInCollectionWindow();
}

} // namespace

TEST(EventsStore, CopyTwiceKeepsOneClipboardRowHoldingTheSecondEvent)
{
    Stores s;
    EventsStore &ev = *s.events;
    const int a = insert(ev, oneTime(1, at(2024, 5, 6, 9), at(2024, 5, 6, 10, 30), "A"));
    const int b = insert(ev, oneTime(1, at(2024, 5, 7, 14), at(2024, 5, 9, 16), "B"));
    ASSERT_TRUE(ev.copyToClipboard(a));
    ASSERT_TRUE(ev.copyToClipboard(b));
    EXPECT_EQ(ev.clipboardCount(), 1);
    EXPECT_EQ(ev.eventCount(), 2);
    const EventRow clip = ev.clipboardRow().value();
    EXPECT_EQ(clip.subject(), "B");
    EXPECT_EQ(clip.layer(), -1);
    EXPECT_NEAR(clip.startTime(), -200000 + 14.0 / 24, 1e-9);
    EXPECT_NEAR(clip.endTime(), -200000 + 2 + 2.0 / 24, 1e-9);
    EXPECT_FALSE(ev.event(clip.id())) << "the clipboard row is no event";
    // A failed copy keeps the clipboard as it was.
    EXPECT_FALSE(ev.copyToClipboard(999));
    EXPECT_EQ(ev.clipboardCount(), 1);
    EXPECT_EQ(ev.clipboardRow().value().subject(), "B");
}

TEST(EventsStore, PasteStartsAtTheSelectedTimeOrOnTheSelectedDay)
{
    Stores s;
    EventsStore &ev = *s.events;
    const int a = insert(ev, oneTime(1, at(2024, 5, 6, 9), at(2024, 5, 6, 10, 30), "A"));
    ASSERT_TRUE(ev.copyToClipboard(a));
    struct Case {
        const char *name;
        EventsStore::PasteMode mode;
        SerialDateTime selected, start, end;
    } cases[] = {
        {"day view: the selected cell's time", EventsStore::PasteMode::AtSelectedTime,
         at(2024, 6, 1, 15), at(2024, 6, 1, 15), at(2024, 6, 1, 16, 30)},
        {"month view: the copied time of day", EventsStore::PasteMode::OnSelectedDay,
         at(2024, 6, 3, 0), at(2024, 6, 3, 9), at(2024, 6, 3, 10, 30)},
        {"month view ignores the selection's time", EventsStore::PasteMode::OnSelectedDay,
         at(2024, 6, 4, 23, 15), at(2024, 6, 4, 9), at(2024, 6, 4, 10, 30)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<int> id = ev.paste(c.selected, c.mode);
        ASSERT_TRUE(id);
        const auto pasted = ev.event(*id);
        ASSERT_TRUE(pasted);
        EXPECT_DOUBLE_EQ(pasted->startTime(), c.start);
        EXPECT_DOUBLE_EQ(pasted->endTime(), c.end);
        EXPECT_EQ(pasted->layer(), 1);
        EXPECT_EQ(pasted->subject(), "A");
        EXPECT_EQ(ev.clipboardCount(), 1);
    }
}

TEST(EventsStore, PasteWithoutClipboardDoesNothing)
{
    Stores s;
    insert(*s.events, oneTime(1, at(2024, 5, 6, 9), at(2024, 5, 6, 10), "A"));
    EXPECT_FALSE(s.events->paste(at(2024, 6, 1), EventsStore::PasteMode::AtSelectedTime));
    EXPECT_EQ(s.events->eventCount(), 1);
}

TEST(EventsStore, PasteOfADeletedLayersEventLandsInTheFirstLayer)
{
    Stores s;
    LayersStore &layers = *s.layers;
    const int topId = layers.insertLayer(-5, "Top", true, 2, 1, 30).id; // position 1
    const int goneId = layers.insertLayer(9, "Gone", true, 3, 1, 30).id;
    const int a = insert(*s.events, oneTime(goneId, at(2024, 5, 6, 9), at(2024, 5, 6, 10), "A"));
    ASSERT_TRUE(s.events->copyToClipboard(a));
    ASSERT_TRUE(layers.deleteLayer(goneId).ok());
    const std::optional<int> id =
        s.events->paste(at(2024, 6, 1, 8), EventsStore::PasteMode::AtSelectedTime);
    ASSERT_TRUE(id);
    EXPECT_EQ(s.events->event(*id).value().layer(), topId);
}

TEST(EventsStore, PasteReanchorsTheEndOfARecurringEvent)
{
    Stores s;
    EventsStore &ev = *s.events;
    // Every 2 days from Mon 6 May 09:00, to 10:00, ending after 3 occurrences (10 May).
    RecurrenceRule countedRule = dailyRule(at(2024, 5, 6, 9), at(2024, 5, 10, 10), 2);
    countedRule.endRule = RecurrenceRule::EndRule::AfterCount;
    countedRule.occurrenceCount = 3;
    countedRule.exceptionDays = {45420};
    EventRow counted = recurring(1, countedRule, "Counted");
    counted[EventField::Updates] = QByteArray("u");
    const int c = insert(ev, counted);
    ASSERT_TRUE(ev.copyToClipboard(c));
    std::optional<int> id = ev.paste(at(2024, 7, 1, 8), EventsStore::PasteMode::AtSelectedTime);
    ASSERT_TRUE(id);
    EventRow pasted = ev.event(*id).value();
    EXPECT_DOUBLE_EQ(pasted.startTime(), at(2024, 7, 1, 8));
    EXPECT_DOUBLE_EQ(pasted.endTime(), at(2024, 7, 5, 9)); // 3rd occurrence, shifted time of day
    EXPECT_EQ(pasted.bytes(EventField::ExceptionList), QByteArray("45420"));
    EXPECT_EQ(pasted.bytes(EventField::Updates), QByteArray("u"));

    // Ends on a date: an end before the first occurrence moves to that occurrence's day.
    RecurrenceRule mondays = dailyRule(at(2024, 5, 4, 9), at(2024, 5, 4, 10), 1);
    mondays.pattern = RecurrenceRule::Pattern::Weekly; // every week on Mondays
    mondays.variant = RecurrenceRule::Variant::EveryNWeeks;
    mondays.weekdays = WeekdaySet{CalendarMath::Monday};
    const int w = insert(ev, recurring(1, mondays, "Weekly"));
    ASSERT_TRUE(ev.copyToClipboard(w));
    id = ev.paste(at(2024, 7, 3, 9), EventsStore::PasteMode::AtSelectedTime); // a Wednesday
    ASSERT_TRUE(id);
    EXPECT_DOUBLE_EQ(ev.event(*id).value().endTime(), at(2024, 7, 8, 10)); // the next Monday

    // Never-ending: the shifted end stays.
    RecurrenceRule neverRule = dailyRule(at(2024, 5, 6, 9), at(2034, 5, 6, 10), 1);
    neverRule.endRule = RecurrenceRule::EndRule::Never;
    ASSERT_TRUE(ev.copyToClipboard(insert(ev, recurring(1, neverRule, "Never"))));
    id = ev.paste(at(2024, 5, 8, 9), EventsStore::PasteMode::AtSelectedTime);
    ASSERT_TRUE(id);
    EXPECT_DOUBLE_EQ(ev.event(*id).value().endTime(), at(2034, 5, 8, 10));

    // A rule that cannot advance keeps the shifted end rather than jumping to day 0.
    RecurrenceRule stuck = countedRule;
    stuck.interval = 0;
    ASSERT_TRUE(ev.copyToClipboard(insert(ev, recurring(1, stuck, "Counted"))));
    id = ev.paste(at(2024, 7, 1, 8), EventsStore::PasteMode::AtSelectedTime);
    ASSERT_TRUE(id);
    EXPECT_DOUBLE_EQ(ev.event(*id).value().endTime(), at(2024, 7, 5, 9));
}

TEST(EventsStore, ClipboardRowIsNeverCountedOrWalkedAndSurvivesReload)
{
    Stores s;
    const int a = insert(*s.events, oneTime(1, at(2024, 5, 6, 9), at(2024, 5, 6, 10), "A"));
    ASSERT_TRUE(s.events->copyToClipboard(a));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "before reload" : "after reload");
        EventsStore &ev = *s.events;
        EXPECT_EQ(ev.clipboardCount(), 1);
        EXPECT_EQ(ev.countLayerEvents(1), 1);
        EXPECT_EQ(ev.countLayerEvents(-1), 0);
        // Even a window reaching far back with no layer filter does not show it.
        auto request = SpanTest::weekRequest();
        request.firstDay = -200001;
        request.spanEnd = -199994;
        ev.collectDayView(request);
        EXPECT_EQ(ev.collections().day.stripItemCount(), 0);
        for (int d = 1; d <= 7; ++d)
            EXPECT_EQ(ev.collections().day.timeItemCount(d), 0);
        s.reopen();
    }
    EXPECT_TRUE(s.events->paste(at(2024, 6, 1), EventsStore::PasteMode::OnSelectedDay));
}

TEST(EventsStore, RecordFilterAtTheWindowEdges)
{
    Stores s;
    EventsStore &ev = *s.events;
    const SerialDateTime ws = at(2024, 5, 6), we = at(2024, 5, 13);
    s.time.setWindowStart(ws);
    s.time.setWindowEnd(we);
    struct Case {
        const char *name;
        EventRow row;
        bool passes;
    } cases[] = {
        {"ends exactly at the window start", oneTime(1, ws - 0.5, ws, "a"), true},
        {"ends just before the window start", oneTime(1, ws - 0.5, ws - 0.001, "b"), false},
        {"starts exactly at the window end", oneTime(1, we, we + 0.1, "c"), false},
        {"starts just before the window end", oneTime(1, we - 0.001, we + 0.1, "d"), true},
        {"covers the whole window", oneTime(1, ws - 10, we + 10, "e"), true},
        {"recurring, begun long ago, still running",
         daily(1, at(1990, 1, 1, 9), at(2030, 1, 1, 10), 1, "f"), true},
        {"recurring, ended before the window", daily(1, at(1990, 1, 1, 9), ws - 1, 1, "g"), false},
        {"recurring, last occurrence reaches in by its extra days",
         daily(1, at(2024, 4, 1, 9), ws - 2 + 0.4, 1, "h", 2), true},
        {"recurring, one day short", daily(1, at(2024, 4, 1, 9), ws - 3 + 0.4, 1, "i", 2), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(ev.deleteAllEvents().ok());
        ASSERT_GE(insert(ev, c.row), 0);
        EXPECT_EQ(filteredIds(ev).size(), c.passes ? 1u : 0u);
        ev.setFilterBypass(true);
        EXPECT_EQ(filteredIds(ev).size(), 1u);
        ev.setFilterBypass(false);
    }
}

TEST(EventsStore, ShownLayersFilterCombinesWithTheWindow)
{
    Stores s;
    EventsStore &ev = *s.events;
    const int hidden = s.layers->insertLayer(1, "Hidden", false, 2, 1, 30).id;
    insert(ev, oneTime(1, at(2024, 5, 7, 9), at(2024, 5, 7, 10), "shown"));
    insert(ev, oneTime(hidden, at(2024, 5, 7, 9), at(2024, 5, 7, 10), "hidden"));
    ASSERT_TRUE(ev.setFilterText(s.layers->shownLayersFilter()));
    s.time.setWindowStart(at(2024, 5, 6));
    s.time.setWindowEnd(at(2024, 5, 13));
    const std::vector<int> ids = filteredIds(ev);
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(ev.event(ids[0]).value().subject(), "shown");
}

TEST(EventsStore, MoveAndDuplicateIntoALayer)
{
    Stores s;
    EventsStore &ev = *s.events;
    EventRow r = daily(1, at(2024, 5, 6, 9), at(2024, 6, 6, 10), 1, "R");
    r[EventField::ExceptionList] = QByteArray("45420,45421");
    r[EventField::Updates] = QByteArray("x");
    const int a = insert(ev, r);
    const int b = insert(ev, oneTime(1, at(2024, 5, 7, 9), at(2024, 5, 7, 10), "B"));
    ASSERT_TRUE(ev.copyToClipboard(b));

    const StoreResult moved = ev.moveToLayer({QString::number(b), "junk", "777"}, 5);
    EXPECT_TRUE(moved.ok);
    EXPECT_EQ(moved.count, 1);
    EXPECT_EQ(ev.moveToLayer({"777", ""}, 5).count, 0);
    EXPECT_EQ(ev.countLayerEvents(5), 1);
    EXPECT_EQ(ev.countLayerEvents(1), 1);

    const InsertResult copy = ev.duplicateToLayer(a, 7);
    ASSERT_TRUE(copy.ok());
    EXPECT_NE(copy.id, a);
    EXPECT_EQ(ev.countLayerEvents(7), 1);
    int seen = 0;
    ev.forEachEvent([&](const EventRow &row) {
        if (row.layer() != 7) return;
        ++seen;
        EXPECT_EQ(row.id(), copy.id);
        EXPECT_TRUE(row.isRecurring());
        EXPECT_EQ(row.bytes(EventField::ExceptionList), QByteArray("45420,45421"));
        EXPECT_EQ(row.bytes(EventField::Updates), QByteArray("x"));
        EXPECT_EQ(row.subject(), "R");
    });
    EXPECT_EQ(seen, 1);
    // The clipboard row is neither moved nor duplicated.
    const int clip = ev.clipboardRow().value().id();
    EXPECT_FALSE(ev.duplicateToLayer(clip, 7).applied());
    EXPECT_EQ(ev.moveToLayer({QString::number(clip)}, 7).count, 0);
    EXPECT_EQ(ev.clipboardRow().value().layer(), -1);
}

TEST(EventsStore, AfterPostHookRunsForEveryPost)
{
    Stores s;
    int calls = 0;
    s.events->setAfterPostHook([&] { ++calls; });
    const int a = insert(*s.events, oneTime(1, at(2024, 5, 6, 9), at(2024, 5, 6, 10), "A"));
    EXPECT_EQ(s.events->moveToLayer({QString::number(a)}, 2).count, 1);
    EXPECT_EQ(calls, 2);
}

// A move while another process holds "Events.cds" locked: the failure is reported (never shown
// as success), the change stays in memory, and the next write carries it to the file.
TEST(EventsStore, MoveOntoALockedFileIsReportedAndWrittenLater)
{
    Stores s;
    const int a = insert(*s.events, oneTime(1, at(2024, 5, 6, 9), at(2024, 5, 6, 10), "A"));
    const int b = insert(*s.events, oneTime(1, at(2024, 5, 7, 9), at(2024, 5, 7, 10), "B"));

    sqlite3 *blocker = nullptr;
    const QByteArray path = QFile::encodeName(s.dataDir + EventsStore::FileName);
    ASSERT_EQ(sqlite3_open(path.constData(), &blocker), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(blocker, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const StoreResult moved = s.events->moveToLayer({QString::number(a)}, 2);
    EXPECT_FALSE(moved.ok);
    EXPECT_FALSE(moved.error.isEmpty());
    EXPECT_EQ(moved.count, 1) << "the move is made in memory";
    EXPECT_EQ(s.events->event(a).value().layer(), 2);
    EXPECT_FALSE(s.events->updateEventTimes(b, at(2024, 5, 7, 11), at(2024, 5, 7, 12), 0).written);
    sqlite3_exec(blocker, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(blocker);

    ASSERT_TRUE(s.events->save().ok());
    s.reopen();
    EXPECT_EQ(s.events->event(a).value().layer(), 2);
    EXPECT_EQ(s.events->event(b).value().startTime(), at(2024, 5, 7, 11));
}

TEST(EventsStore, ConvertsAnOldDataFile)
{
    const QString dir = TestEnv::freshDir("convert") + "/";
    int workEvent = 0, homeEvent = 0;
    {
        Table old(EventsStore::schema());
        ASSERT_TRUE(old.load(dir + "Data.cds").ok());
        auto layerRow = [&](int b, const QString &name, bool show, int color, int arch, int days) {
            EventRow v =
                oneTime(0, OldDataConversion::LayerDay + b, OldDataConversion::LayerDay + b, name);
            v[EventField::AllDay] = show;
            v[EventField::RadioButton1] = color;
            v[EventField::RadioButton2] = arch;
            v[EventField::RadioButton3] = days;
            EXPECT_TRUE(old.insertRow(v.values()).ok());
            return old.asInteger(int(EventField::Id));
        };
        // The header (RadioButton1 = 2 layers) gets id 1, layer 2 id 2, layer 1 id 3. The new
        // layers get IDs 2 (Work) and 3 (Home): Work's new id is Home's old one.
        layerRow(0, "header", false, 2, 0, 0);
        const int homeOld = layerRow(2, "Home", false, 5, 0, 10);
        const int workOld = layerRow(1, "Work", true, 3, 1, 60);
        ASSERT_TRUE(
            old.insertRow(oneTime(workOld, at(2020, 1, 2, 9), at(2020, 1, 2, 10), "work").values())
                .ok());
        workEvent = old.asInteger(int(EventField::Id));
        ASSERT_TRUE(
            old.insertRow(oneTime(homeOld, at(2020, 1, 3, 9), at(2020, 1, 3, 10), "home").values())
                .ok());
        homeEvent = old.asInteger(int(EventField::Id));
        ASSERT_TRUE(old.save().ok());
    }
    Stores s(dir);
    SettingsPaths where{dir + "s.ini", dir, dir + "auto.desktop", "/bin/true"};
    Settings reg(where);
    reg.setFirstTime(true);
    ASSERT_TRUE(OldDataConversion::convert(*s.events, *s.layers, reg));
    EXPECT_FALSE(reg.firstTime());
    EXPECT_FALSE(QFile::exists(dir + "Data.cds"));
    EXPECT_TRUE(QFile::exists(dir + "Data.bak"));
    EXPECT_FALSE(OldDataConversion::convert(*s.events, *s.layers, reg)); // once only

    LayersStore &layers = *s.layers;
    ASSERT_EQ(layers.count(), 2);
    const LayerRow work = layers.layerAt(1).value();
    EXPECT_EQ(work.name, "Work");
    EXPECT_TRUE(work.shown);
    EXPECT_EQ(work.color, 3);
    EXPECT_EQ(work.archiving, 1);
    EXPECT_EQ(work.archiveDays, 60);
    const LayerRow home = layers.layerAt(2).value();
    EXPECT_EQ(home.name, "Home");
    EXPECT_FALSE(home.shown);

    EventsStore &ev = *s.events;
    EXPECT_EQ(ev.eventCount(), 2); // layer rows gone
    ASSERT_TRUE(ev.event(workEvent));
    EXPECT_EQ(ev.event(workEvent)->layer(), work.id);
    ASSERT_TRUE(ev.event(homeEvent));
    EXPECT_EQ(ev.event(homeEvent)->layer(), home.id);

    s.reopen();
    EXPECT_EQ(s.events->eventCount(), 2);
    EXPECT_EQ(s.layers->count(), 2);
}

TEST(EventsStore, UnreadableOldDataFileChangesNothing)
{
    const QString dir = TestEnv::freshDir("convert-bad") + "/";
    {
        Stores s(dir);
        insert(*s.events, oneTime(1, at(2024, 5, 6, 9), at(2024, 5, 6, 10), "keep"));
    }
    QFile f(dir + "Data.cds");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a table file");
    f.close();
    Stores s(dir);
    Settings reg(SettingsPaths{dir + "s.ini", dir, dir + "auto.desktop", "/bin/true"});
    reg.setFirstTime(true);
    EXPECT_FALSE(OldDataConversion::convert(*s.events, *s.layers, reg));
    EXPECT_TRUE(reg.firstTime());
    EXPECT_EQ(s.events->eventCount(), 1);
    EXPECT_EQ(s.layers->count(), 1);
    s.reopen();
    EXPECT_EQ(s.events->eventCount(), 1);
}

TEST(EventsStore, ChangesByIdRefuseUnknownIdsAndLeaveTheClipboardRowAlone)
{
    Stores s;
    EventsStore &ev = *s.events;
    const int a = insert(ev, oneTime(1, at(2024, 5, 6, 9), at(2024, 5, 6, 10), "A"));
    ASSERT_TRUE(ev.copyToClipboard(a));
    const EventRow clip = ev.clipboardRow().value();
    const int unknown = 4242;

    for (const int id : {clip.id(), unknown}) {
        SCOPED_TRACE(id == unknown ? "unknown id" : "clipboard row");
        EXPECT_FALSE(ev.event(id));
        EXPECT_FALSE(ev.rule(id));
        EXPECT_FALSE(ev.updateEventTimes(id, at(2024, 6, 1, 9), at(2024, 6, 1, 10), 0).applied);
        EventRow changed = clip;
        changed[EventField::Id] = id;
        changed[EventField::Subject] = "changed";
        EXPECT_FALSE(ev.updateEvent(changed).applied);
        EXPECT_EQ(ev.expandOccurrences(id), 0);
    }
    EXPECT_FALSE(ev.deleteEvent(unknown).applied);
    EXPECT_EQ(ev.clipboardRow().value(), clip);

    // A change by id moves the event in event order and reaches the walk index and alarms.
    const int b = insert(ev, oneTime(1, at(2024, 5, 7, 9), at(2024, 5, 7, 10), "B"));
    EXPECT_EQ(ev.eventIds(), (std::vector<int>{a, b}));
    ASSERT_TRUE(ev.updateEventTimes(a, at(2024, 5, 8, 9), at(2024, 5, 8, 19), 0).ok());
    EXPECT_EQ(ev.eventIds(), (std::vector<int>{b, a}));
    EXPECT_NEAR(ev.walkIndex().longestOneTimeDuration(), 10.0 / 24, 1e-9);
    EventRow withAlarm = ev.event(b).value();
    withAlarm[EventField::AlarmSet] = true;
    withAlarm[EventField::AlarmAdvance] = 5;
    withAlarm[EventField::AlarmAdvanceUnit] = 1;
    s.clock.setFixed(QDateTime(QDate(2024, 5, 7), QTime(8, 0)));
    ASSERT_TRUE(ev.updateEvent(withAlarm).ok());
    EXPECT_EQ(ev.pendingAlarms().size(), 1);
    ASSERT_TRUE(ev.deleteEvent(b).ok());
    EXPECT_TRUE(ev.pendingAlarms().isEmpty());
    EXPECT_EQ(ev.eventIds(), (std::vector<int>{a}));
    EXPECT_EQ(ev.clipboardCount(), 1);
}
