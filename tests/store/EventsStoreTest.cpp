#include "EventsTestSupport.h"

#include "core/CalendarMath.h"
#include "core/Settings.h"
#include "store/ExceptionList.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace EventsTest;

namespace
{

// IDs of the rows a plain findFirst/findNext walk passes, in order.
std::vector<int> filteredIds(EventsStore &ev)
{
    std::vector<int> ids;
    for (bool f = ev.CDS.findFirst(); f; f = ev.CDS.findNext())
        ids.push_back(ev.currentId());
    return ids;
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
    EXPECT_EQ(ev.CDS.recordCount(), 3);
    ev.CDS.first();
    EXPECT_EQ(ev.currentSubject(), "B");
    EXPECT_EQ(ev.currentLayer(), -1);
    EXPECT_NEAR(ev.currentStartTime(), -200000 + 14.0 / 24, 1e-9);
    EXPECT_NEAR(ev.currentEndTime(), -200000 + 2 + 2.0 / 24, 1e-9);
    // A failed copy keeps the clipboard as it was.
    EXPECT_FALSE(ev.copyToClipboard(999));
    EXPECT_EQ(ev.clipboardCount(), 1);
    ev.CDS.first();
    EXPECT_EQ(ev.currentSubject(), "B");
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
        ASSERT_TRUE(ev.CDS.locate(EventsStore::F_ID, *id));
        EXPECT_DOUBLE_EQ(ev.currentStartTime(), c.start);
        EXPECT_DOUBLE_EQ(ev.currentEndTime(), c.end);
        EXPECT_EQ(ev.currentLayer(), 1);
        EXPECT_EQ(ev.currentSubject(), "A");
        EXPECT_EQ(ev.clipboardCount(), 1);
    }
}

TEST(EventsStore, PasteWithoutClipboardDoesNothing)
{
    Stores s;
    insert(*s.events, oneTime(1, at(2024, 5, 6, 9), at(2024, 5, 6, 10), "A"));
    EXPECT_FALSE(s.events->paste(at(2024, 6, 1), EventsStore::PasteMode::AtSelectedTime));
    EXPECT_EQ(s.events->CDS.recordCount(), 1);
}

TEST(EventsStore, PasteOfADeletedLayersEventLandsInTheFirstLayer)
{
    Stores s;
    LayersStore &layers = *s.layers;
    layers.insertLayer(-5, "Top", true, 2, 1, 30); // position 1
    const int topId = layers.currentId();
    layers.insertLayer(9, "Gone", true, 3, 1, 30);
    const int goneId = layers.currentId();
    const int a = insert(*s.events, oneTime(goneId, at(2024, 5, 6, 9), at(2024, 5, 6, 10), "A"));
    ASSERT_TRUE(s.events->copyToClipboard(a));
    ASSERT_TRUE(layers.locateID(goneId));
    layers.CDS.deleteRow();
    const std::optional<int> id =
        s.events->paste(at(2024, 6, 1, 8), EventsStore::PasteMode::AtSelectedTime);
    ASSERT_TRUE(id);
    EXPECT_EQ(s.events->currentLayer(), topId);
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
    QVariantList counted = recurring(1, countedRule, "Counted");
    counted[EventsStore::F_Updates] = QByteArray("u");
    const int c = insert(ev, counted);
    ASSERT_TRUE(ev.copyToClipboard(c));
    std::optional<int> id = ev.paste(at(2024, 7, 1, 8), EventsStore::PasteMode::AtSelectedTime);
    ASSERT_TRUE(id);
    EXPECT_DOUBLE_EQ(ev.currentStartTime(), at(2024, 7, 1, 8));
    EXPECT_DOUBLE_EQ(ev.currentEndTime(), at(2024, 7, 5, 9)); // 3rd occurrence, shifted time of day
    EXPECT_EQ(ev.CDS.asBytes(EventsStore::F_ExceptionList), QByteArray("45420"));
    EXPECT_EQ(ev.CDS.asBytes(EventsStore::F_Updates), QByteArray("u"));

    // Ends on a date: an end before the first occurrence moves to that occurrence's day.
    RecurrenceRule mondays = dailyRule(at(2024, 5, 4, 9), at(2024, 5, 4, 10), 1);
    mondays.pattern = RecurrenceRule::Pattern::Weekly; // every week on Mondays
    mondays.variant = RecurrenceRule::Variant::EveryNWeeks;
    mondays.weekdays = WeekdaySet{CalendarMath::Monday};
    const int w = insert(ev, recurring(1, mondays, "Weekly"));
    ASSERT_TRUE(ev.copyToClipboard(w));
    id = ev.paste(at(2024, 7, 3, 9), EventsStore::PasteMode::AtSelectedTime); // a Wednesday
    ASSERT_TRUE(id);
    EXPECT_DOUBLE_EQ(ev.currentEndTime(), at(2024, 7, 8, 10)); // the next Monday

    // Never-ending: the shifted end stays.
    RecurrenceRule neverRule = dailyRule(at(2024, 5, 6, 9), at(2034, 5, 6, 10), 1);
    neverRule.endRule = RecurrenceRule::EndRule::Never;
    ASSERT_TRUE(ev.copyToClipboard(insert(ev, recurring(1, neverRule, "Never"))));
    id = ev.paste(at(2024, 5, 8, 9), EventsStore::PasteMode::AtSelectedTime);
    ASSERT_TRUE(id);
    EXPECT_DOUBLE_EQ(ev.currentEndTime(), at(2034, 5, 8, 10));

    // A rule that cannot advance keeps the shifted end rather than jumping to day 0.
    RecurrenceRule stuck = countedRule;
    stuck.interval = 0;
    ASSERT_TRUE(ev.copyToClipboard(insert(ev, recurring(1, stuck, "Counted"))));
    id = ev.paste(at(2024, 7, 1, 8), EventsStore::PasteMode::AtSelectedTime);
    ASSERT_TRUE(id);
    EXPECT_DOUBLE_EQ(ev.currentEndTime(), at(2024, 7, 5, 9));
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
        QVariantList row;
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
        ev.CDS.emptyTable();
        insert(ev, c.row);
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
    s.layers->insertLayer(1, "Hidden", false, 2, 1, 30);
    const int hidden = s.layers->currentId();
    insert(ev, oneTime(1, at(2024, 5, 7, 9), at(2024, 5, 7, 10), "shown"));
    insert(ev, oneTime(hidden, at(2024, 5, 7, 9), at(2024, 5, 7, 10), "hidden"));
    ASSERT_TRUE(ev.CDS.setFilterText(s.layers->shownLayersFilter()));
    s.time.setWindowStart(at(2024, 5, 6));
    s.time.setWindowEnd(at(2024, 5, 13));
    const std::vector<int> ids = filteredIds(ev);
    ASSERT_EQ(ids.size(), 1u);
    ev.CDS.locate(EventsStore::F_ID, ids[0]);
    EXPECT_EQ(ev.currentSubject(), "shown");
}

TEST(EventsStore, MoveAndDuplicateIntoALayer)
{
    Stores s;
    EventsStore &ev = *s.events;
    QVariantList r = daily(1, at(2024, 5, 6, 9), at(2024, 6, 6, 10), 1, "R");
    r[EventsStore::F_ExceptionList] = QByteArray("45420,45421");
    r[EventsStore::F_Updates] = QByteArray("x");
    const int a = insert(ev, r);
    const int b = insert(ev, oneTime(1, at(2024, 5, 7, 9), at(2024, 5, 7, 10), "B"));
    ASSERT_TRUE(ev.copyToClipboard(b));

    EXPECT_TRUE(ev.moveToLayer({QString::number(b), "junk", "777"}, 5));
    EXPECT_FALSE(ev.moveToLayer({"777", ""}, 5));
    EXPECT_EQ(ev.countLayerEvents(5), 1);
    EXPECT_EQ(ev.countLayerEvents(1), 1);

    ASSERT_TRUE(ev.CDS.locate(EventsStore::F_ID, a));
    ASSERT_TRUE(ev.duplicateToLayer(7));
    EXPECT_EQ(ev.currentId(), a); // the copied row is current again
    EXPECT_EQ(ev.countLayerEvents(7), 1);
    ev.CDS.first();
    ev.CDS.moveBy(1);
    bool seen = false;
    for (; !ev.CDS.eof(); ev.CDS.next())
        if (ev.currentLayer() == 7) {
            seen = true;
            EXPECT_NE(ev.currentId(), a);
            EXPECT_TRUE(ev.currentIsRecurring());
            EXPECT_EQ(ev.CDS.asBytes(EventsStore::F_ExceptionList), QByteArray("45420,45421"));
            EXPECT_EQ(ev.CDS.asBytes(EventsStore::F_Updates), QByteArray("x"));
            EXPECT_EQ(ev.currentSubject(), "R");
        }
    EXPECT_TRUE(seen);
    // The clipboard row is neither moved nor duplicated.
    ev.CDS.first();
    EXPECT_FALSE(ev.duplicateToLayer(7));
    EXPECT_FALSE(ev.moveToLayer({QString::number(ev.currentId())}, 7));
}

TEST(EventsStore, AfterPostHookRunsForEveryPost)
{
    Stores s;
    int calls = 0;
    s.events->setAfterPostHook([&] { ++calls; });
    const int a = insert(*s.events, oneTime(1, at(2024, 5, 6, 9), at(2024, 5, 6, 10), "A"));
    s.events->moveToLayer({QString::number(a)}, 2);
    EXPECT_EQ(calls, 2);
}

TEST(EventsStore, ConvertsAnOldDataFile)
{
    const QString dir = TestEnv::freshDir("convert") + "/";
    int workEvent = 0, homeEvent = 0;
    {
        Table old(EventsStore::schema());
        old.load(dir + "Data.cds");
        auto layerRow = [&](int b, const QString &name, bool show, int color, int arch, int days) {
            QVariantList v = oneTime(0, EventsStore::OldLayerDay + b, EventsStore::OldLayerDay + b, name);
            v[EventsStore::F_AllDay] = show;
            v[EventsStore::F_RadioButton1] = color;
            v[EventsStore::F_RadioButton2] = arch;
            v[EventsStore::F_RadioButton3] = days;
            old.insertRow(v);
            return old.asInteger(EventsStore::F_ID);
        };
        // The header (RadioButton1 = 2 layers) gets id 1, layer 2 id 2, layer 1 id 3. The new
        // layers get IDs 2 (Work) and 3 (Home): Work's new id is Home's old one.
        layerRow(0, "header", false, 2, 0, 0);
        const int homeOld = layerRow(2, "Home", false, 5, 0, 10);
        const int workOld = layerRow(1, "Work", true, 3, 1, 60);
        old.insertRow(oneTime(workOld, at(2020, 1, 2, 9), at(2020, 1, 2, 10), "work"));
        workEvent = old.asInteger(EventsStore::F_ID);
        old.insertRow(oneTime(homeOld, at(2020, 1, 3, 9), at(2020, 1, 3, 10), "home"));
        homeEvent = old.asInteger(EventsStore::F_ID);
        old.save();
    }
    Stores s(dir);
    SettingsPaths where{dir + "s.ini", dir, dir + "auto.desktop", "/bin/true"};
    Settings reg(where);
    reg.setFirstTime(true);
    ASSERT_TRUE(s.events->convertOldDataFile(reg));
    EXPECT_FALSE(reg.firstTime());
    EXPECT_FALSE(QFile::exists(dir + "Data.cds"));
    EXPECT_TRUE(QFile::exists(dir + "Data.bak"));
    EXPECT_FALSE(s.events->convertOldDataFile(reg)); // once only

    LayersStore &layers = *s.layers;
    ASSERT_EQ(layers.count(), 2);
    layers.gotoPosition(1);
    EXPECT_EQ(layers.currentName(), "Work");
    EXPECT_TRUE(layers.currentIsShown());
    EXPECT_EQ(layers.currentColor(), 3);
    EXPECT_EQ(layers.currentArchiving(), 1);
    EXPECT_EQ(layers.currentArchiveDays(), 60);
    const int work = layers.currentId();
    layers.gotoPosition(2);
    EXPECT_EQ(layers.currentName(), "Home");
    EXPECT_FALSE(layers.currentIsShown());
    const int home = layers.currentId();

    EventsStore &ev = *s.events;
    EXPECT_EQ(ev.CDS.recordCount(), 2); // layer rows gone
    ASSERT_TRUE(ev.CDS.locate(EventsStore::F_ID, workEvent));
    EXPECT_EQ(ev.currentLayer(), work);
    ASSERT_TRUE(ev.CDS.locate(EventsStore::F_ID, homeEvent));
    EXPECT_EQ(ev.currentLayer(), home);

    s.reopen();
    EXPECT_EQ(s.events->CDS.recordCount(), 2);
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
    EXPECT_FALSE(s.events->convertOldDataFile(reg));
    EXPECT_TRUE(reg.firstTime());
    EXPECT_EQ(s.events->CDS.recordCount(), 1);
    EXPECT_EQ(s.layers->count(), 1);
    s.reopen();
    EXPECT_EQ(s.events->CDS.recordCount(), 1);
}
