// Importing calendar files: occurrences against libical's own expansion, time zones, alarms,
// overrides, tasks, the target layer, refusals of damaged files and the undo of an import.
#include "IcsTestSupport.h"

#include "store/UndoLog.h"

#include <QDir>

using CalendarTest::Calendar;
using namespace IcsTest;

namespace
{

IcsImport::Summary importData(Calendar &cal, const QString &name, int layer = 0)
{
    return IcsImport::importFile(dataFile(name), layer, *cal.layers, *cal.events, *cal.tasks,
                                 options(cal));
}

std::optional<EventRow> eventNamed(Calendar &cal, const QString &subject)
{
    std::optional<EventRow> found;
    cal.events->forEachEvent([&](const EventRow &row) {
        if (!found && row.subject() == subject) found = row;
    });
    return found;
}

} // namespace

TEST(IcsImport, EveryFileShowsLibicalsOccurrencesOverTwoYears)
{
    for (const QString &name : goodFiles()) {
        SCOPED_TRACE(name.toStdString());
        Calendar cal(NewYear2024);
        const IcsImport::Summary s = importData(cal, name);
        ASSERT_TRUE(s.ok) << s.error.toStdString();
        const auto ours = storeOccurrences(*cal.events, FirstDay, EndDay, s.layerId);
        const auto theirs = libicalOccurrences(readData(name), FirstDay, EndDay);
        EXPECT_EQ(theirs.empty(), name == "todos.ics");
        EXPECT_EQ(ours, theirs);
    }
}

TEST(IcsImport, RulesOfTheSameDaysStayRulesTheOthersBecomeSingleEvents)
{
    struct Case {
        const char *file;
        int recurring;
        int expanded;
    };
    // timezones: New York and UTC rules move against Berlin's clock; the Berlin rule stays.
    // monthly: the 31st only in long months, twice a month and twice a day have no rule of ours.
    // yearly: 29 February only in leap years and every fourth year have none either.
    // weekly: weeks from Monday every other week put Sunday into another week than ours.
    for (const Case c :
         {Case{"timezones.ics", 1, 2}, Case{"weekly-exdate.ics", 4, 1}, Case{"monthly.ics", 4, 3},
          Case{"yearly.ics", 2, 2}, Case{"allday.ics", 2, 0}, Case{"unsynchronized.ics", 5, 0}}) {
        SCOPED_TRACE(c.file);
        Calendar cal(NewYear2024);
        const IcsImport::Summary s = importData(cal, c.file);
        ASSERT_TRUE(s.ok);
        EXPECT_EQ(s.recurringEvents, c.recurring);
        EXPECT_EQ(s.expandedRules, c.expanded);
        EXPECT_EQ(s.events, cal.events->countLayerEvents(s.layerId));
    }

    Calendar cal(NewYear2024);
    ASSERT_TRUE(importData(cal, "weekly-exdate.ics").ok);
    const RecurrenceRule gym = RecurrenceColumns::readRule(*eventNamed(cal, "Gym"));
    EXPECT_EQ(gym.pattern, Recurrence::Pattern::Weekly);
    EXPECT_EQ(gym.weekdays, (WeekdaySet{2, 4, 6}));
    EXPECT_EQ(gym.endRule, Recurrence::EndRule::OnDate);
    EXPECT_EQ(DateTimeValue::dayOf(gym.endTime), int(at(2024, 6, 30)));
    EXPECT_EQ(gym.exceptionDays,
              (std::vector<int>{int(at(2024, 5, 1)), int(at(2024, 5, 10)), int(at(2024, 5, 20))}));
    const RecurrenceRule check = RecurrenceColumns::readRule(*eventNamed(cal, "Morning check"));
    EXPECT_EQ(check.variant, Recurrence::Variant::EveryWorkday);
    EXPECT_EQ(check.endRule, Recurrence::EndRule::AfterCount);
    EXPECT_EQ(check.occurrenceCount, 40);
    const RecurrenceRule late =
        RecurrenceColumns::readRule(*eventNamed(cal, "Late shift past midnight"));
    EXPECT_EQ(late.extraDays, 1);
    EXPECT_EQ(late.endRule, Recurrence::EndRule::Never);

    // A DTSTART the rule does not name is no occurrence: the rule starts on the first one and
    // keeps its COUNT; a rule with no occurrence at all is reported.
    Calendar off(NewYear2024);
    const IcsImport::Summary s = importData(off, "unsynchronized.ics");
    const RecurrenceRule training =
        RecurrenceColumns::readRule(*eventNamed(off, "Training from a Saturday"));
    EXPECT_EQ(training.startTime, at(2024, 1, 8, 9, 0));
    EXPECT_EQ(training.endTime, at(2024, 1, 29, 9, 45));
    EXPECT_EQ(training.occurrenceCount, 10);
    EXPECT_FALSE(eventNamed(off, "Ends before it begins again"));
    EXPECT_TRUE(s.skipped.contains("recurring events without an occurrence (1)"))
        << s.skipped.join("|").toStdString();
}

TEST(IcsImport, TimesWithZonesBecomeLocalWallClockTime)
{
    Calendar cal(NewYear2024);
    ASSERT_TRUE(importData(cal, "timezones.ics").ok);
    // 00:30 UTC on the night Berlin moves to summer time is 01:30 CET; 02:30 UTC is 04:30 CEST.
    const auto flight = eventNamed(cal, "Night flight over the clock change");
    EXPECT_EQ(minutes(flight->startTime()), minutes(at(2024, 3, 31, 1, 30)));
    EXPECT_EQ(minutes(flight->endTime()), minutes(at(2024, 3, 31, 4, 30)));
    const auto tokyo = eventNamed(cal, "Call with Tokyo");
    EXPECT_EQ(minutes(tokyo->startTime()), minutes(at(2024, 6, 1, 1, 0)));
    // New York moved to summer time on 10 March, Berlin only on 31 March: 14:00, then 13:00
    // for three weeks, then 15:00.
    const auto standups = storeOccurrences(*cal.events, FirstDay, EndDay, 0);
    std::vector<qint64> starts;
    for (const Occurrence &o : standups)
        if (o.subject == "New York stand-up") starts.push_back(o.start);
    ASSERT_EQ(starts.size(), 8u);
    EXPECT_EQ(starts[0], minutes(at(2024, 3, 4, 15, 0)));
    EXPECT_EQ(starts[1], minutes(at(2024, 3, 11, 14, 0)));
    EXPECT_EQ(starts[4], minutes(at(2024, 4, 1, 15, 0)));
}

TEST(IcsImport, WindowsZoneNamesAreKnownAndChangesToLaterOccurrencesAreReported)
{
    const QByteArray file = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n"
                            "BEGIN:VEVENT\r\nUID:w@example.com\r\nDTSTAMP:20240101T000000Z\r\n"
                            "DTSTART;TZID=Eastern Standard Time:20240610T090000\r\n"
                            "DTEND;TZID=Eastern Standard Time:20240610T100000\r\n"
                            "SUMMARY:Windows zone\r\nEND:VEVENT\r\n"
                            "BEGIN:VEVENT\r\nUID:r@example.com\r\nDTSTAMP:20240101T000000Z\r\n"
                            "DTSTART:20240101T090000\r\nRRULE:FREQ=DAILY\r\n"
                            "SUMMARY:Series\r\nEND:VEVENT\r\n"
                            "BEGIN:VEVENT\r\nUID:r@example.com\r\nDTSTAMP:20240101T000000Z\r\n"
                            "RECURRENCE-ID;RANGE=THISANDFUTURE:20240110T090000\r\n"
                            "DTSTART:20240110T100000\r\nSUMMARY:Series later\r\nEND:VEVENT\r\n"
                            "END:VCALENDAR\r\n";
    Calendar cal(NewYear2024);
    const IcsImport::Summary s =
        IcsImport::importBytes(file, "w", 0, *cal.layers, *cal.events, *cal.tasks, options(cal));
    ASSERT_TRUE(s.ok);
    // 9:00 in New York in June is 15:00 in Berlin.
    EXPECT_EQ(eventNamed(cal, "Windows zone")->startTime(), at(2024, 6, 10, 15, 0));
    EXPECT_EQ(s.skipped, QStringList{"changes to later occurrences, applied to one only (1)"});
}

TEST(IcsImport, ExtraDatesAreSingleEventsBesideTheRuleUnlessExceptedOrAlreadyAnOccurrence)
{
    Calendar cal(NewYear2024);
    const IcsImport::Summary s = importData(cal, "extra-dates.ics");
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.recurringEvents, 1); // the New York rule moves against Berlin's clock
    EXPECT_EQ(s.expandedRules, 1);
    const auto occurrences = storeOccurrences(*cal.events, FirstDay, EndDay, s.layerId);
    QMap<QString, int> count;
    QMap<qint64, qint64> lectureEnds;
    for (const Occurrence &o : occurrences) {
        ++count[o.subject];
        if (o.subject == "Guest lectures") lectureEnds[o.start] = o.end;
    }
    // 26 Thursdays less 28 March, plus 23 March; 11 April is one already, 20 May excepted.
    EXPECT_EQ(count["Choir rehearsal"], 26);
    EXPECT_EQ(count["Guest lectures"], 5);
    EXPECT_EQ(count["Flea market"], 3);
    EXPECT_EQ(count["New York call"], 7);
    EXPECT_EQ(count["First one called off"], 1);
    EXPECT_EQ(lectureEnds.value(minutes(at(2024, 3, 4, 9, 0))), minutes(at(2024, 3, 4, 17, 0)));
    EXPECT_EQ(lectureEnds.value(minutes(at(2024, 3, 11, 10, 0))), minutes(at(2024, 3, 11, 13, 0)));
    // 9:00 in New York is 14:00 in Berlin on 20 March (New York already on summer time).
    const auto extraCall = std::find_if(occurrences.begin(), occurrences.end(), [](auto &o) {
        return o.subject == "New York call" && o.start == minutes(at(2024, 3, 20, 14, 0));
    });
    EXPECT_NE(extraCall, occurrences.end());
}

TEST(IcsImport, AllDayEventsKeepTheirDays)
{
    Calendar cal(NewYear2024);
    ASSERT_TRUE(importData(cal, "allday.ics").ok);
    const auto trip = eventNamed(cal, "Hiking trip");
    EXPECT_TRUE(trip->isAllDay());
    EXPECT_EQ(trip->startTime(), at(2024, 7, 15));
    EXPECT_EQ(trip->endTime(), at(2024, 7, 19)); // four days, the end exclusive
    EXPECT_EQ(trip->description(), "Four days in the mountains");
    EXPECT_EQ(eventNamed(cal, "Single day without DTEND")->endTime(), at(2024, 6, 11));
    const RecurrenceRule conference =
        RecurrenceColumns::readRule(*eventNamed(cal, "Yearly conference"));
    EXPECT_EQ(conference.variant, Recurrence::Variant::NthKindOfDay);
    EXPECT_EQ(conference.dayKind, Recurrence::DayKind::Monday);
    EXPECT_EQ(conference.extraDays, 3);
}

TEST(IcsImport, AlarmsTakeTheFirstDisplayOrAudioTriggerAsTheAdvance)
{
    Calendar cal(NewYear2024);
    const IcsImport::Summary s = importData(cal, "alarms.ics");
    ASSERT_TRUE(s.ok);
    struct Expect {
        const char *subject;
        bool set;
        int advance;
        int unit;
    };
    for (const Expect e :
         {Expect{"Dentist", true, 15, 1}, Expect{"Train", true, 2, 2},
          Expect{"Team meeting", true, 1, 3}, Expect{"Alarm before the end", true, 30, 1},
          Expect{"Absolute alarm", true, 30, 1}, Expect{"Long past", false, 10, 1},
          Expect{"Alarm after the start", false, 0, 1}}) {
        SCOPED_TRACE(e.subject);
        const auto row = eventNamed(cal, e.subject);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->alarmSet(), e.set);
        EXPECT_EQ((*row)[EventField::AlarmAdvance].toInt(), e.advance);
        EXPECT_EQ((*row)[EventField::AlarmAdvanceUnit].toInt(), e.unit);
    }
    EXPECT_TRUE(s.skipped.contains("alarms after the start (1)"))
        << s.skipped.join("|").toStdString();
}

TEST(IcsImport, OverridesExcludeTheirDayAndStandAlone)
{
    Calendar cal(NewYear2024);
    const IcsImport::Summary s = importData(cal, "overrides.ics");
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.layerName, "Course");
    const RecurrenceRule course = RecurrenceColumns::readRule(*eventNamed(cal, "Course"));
    EXPECT_EQ(course.exceptionDays, (std::vector<int>{int(at(2024, 5, 8)), int(at(2024, 5, 10))}));
    const auto moved = eventNamed(cal, "Course (afternoon)");
    EXPECT_EQ(moved->startTime(), at(2024, 5, 8, 14, 0));
    EXPECT_FALSE(moved->isRecurring());
    EXPECT_TRUE(eventNamed(cal, "Moved occurrence without its series"));
    EXPECT_EQ(s.events, 3);
    EXPECT_TRUE(s.skipped.contains("cancelled events (1)"));
}

TEST(IcsImport, TodosBecomeATaskTreeWithTextPriorityStateAndDueAlarm)
{
    Calendar cal(QDateTime(QDate(2024, 3, 1), QTime(8, 0)));
    const IcsImport::Summary s = importData(cal, "todos.ics");
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.tasks, 6);
    EXPECT_EQ(s.layerName, QString::fromUtf8("Umzug nach Köln"));
    const QString root = QString::fromUtf8("Umzug vorbereiten – Grüße an alle 🙂");
    const QStringList tree = cal.tree();
    EXPECT_TRUE(tree.contains(root + "1^-"));
    EXPECT_TRUE(tree.contains("Kartons packen2^" + root));
    EXPECT_TRUE(tree.contains("Transporter mieten2^" + root));
    EXPECT_TRUE(tree.contains("Klebeband kaufen3^Kartons packen"));
    EXPECT_TRUE(tree.contains(QString::fromUtf8("Eigenständige Aufgabe1^-")));
    EXPECT_TRUE(tree.contains("Parent not in the file1^-"));

    std::map<QString, TaskRow> bySubject;
    cal.tasks->forEachTask([&](const TaskRow &t) { bySubject[t.subject] = t; });
    const TaskRow &r = bySubject[root];
    EXPECT_EQ(r.priority, 2);
    EXPECT_TRUE(r.alarmSet);
    EXPECT_EQ(r.alarmTime, at(2025, 4, 1, 9, 0));
    EXPECT_EQ(r.description,
              QString::fromUtf8("Eine sehr lange Beschreibung, die über mehrere Zeilen gefaltet "
                                "ist, damit das Entfalten geprüft wird: Ärger, Öfen, Übermut und "
                                "日本語のテキスト.\nZweite Zeile."));
    EXPECT_EQ(bySubject["Kartons packen"].priority, 0);
    EXPECT_EQ(bySubject["Transporter mieten"].priority, 1);
    EXPECT_TRUE(bySubject["Transporter mieten"].finished);
    EXPECT_TRUE(bySubject["Klebeband kaufen"].finished);
    EXPECT_FALSE(bySubject[QString::fromUtf8("Eigenständige Aufgabe")].alarmSet); // due long ago
}

TEST(IcsImport, TheTargetLayerIsNewNamedAfterTheCalendarOrFileOrAnExistingOne)
{
    Calendar cal(NewYear2024);
    const int before = cal.layers->count();
    const IcsImport::Summary named = importData(cal, "weekly-exdate.ics");
    EXPECT_TRUE(named.newLayer);
    EXPECT_EQ(cal.layers->layer(named.layerId)->name, "Gym");
    EXPECT_EQ(cal.layers->layer(named.layerId)->archiving, 1); // imported history is not archived
    const IcsImport::Summary unnamed = importData(cal, "yearly.ics");
    EXPECT_EQ(cal.layers->layer(unnamed.layerId)->name, "yearly");
    EXPECT_NE(cal.layers->layer(unnamed.layerId)->color, cal.layers->layer(named.layerId)->color);
    const IcsImport::Summary existing = importData(cal, "allday.ics", cal.firstLayer());
    EXPECT_FALSE(existing.newLayer);
    EXPECT_EQ(existing.layerId, cal.firstLayer());
    EXPECT_EQ(cal.events->countLayerEvents(cal.firstLayer()), existing.events);
    EXPECT_EQ(cal.layers->count(), before + 2);
    EXPECT_TRUE(
        existing.message().startsWith("Imported 5 events (2 recurring) and 0 tasks into layer"));
    EXPECT_TRUE(existing.clean());

    // An import that cannot be undone is made, but not reported as plain news.
    const QString undoFile = QDir(cal.dataDir).filePath("undo.dat");
    QFile::remove(undoFile);
    ASSERT_TRUE(QDir().mkpath(undoFile));
    const IcsImport::Summary noUndo = importData(cal, "allday.ics", cal.firstLayer());
    EXPECT_TRUE(noUndo.ok);
    EXPECT_FALSE(noUndo.clean());
    EXPECT_TRUE(noUndo.message().contains("The import cannot be undone: "));
    ASSERT_TRUE(QDir(undoFile).removeRecursively());

    // A 25th layer is refused before anything changes; a vanished layer too.
    while (cal.layers->count() < 24)
        ASSERT_TRUE(cal.layers->insertLayer(cal.layers->count(), "L", true, 1, 1, 30).ok());
    const int events = cal.eventCount();
    const IcsImport::Summary full = importData(cal, "monthly.ics");
    EXPECT_FALSE(full.ok);
    EXPECT_EQ(full.error, "No layer can be added: there are 24 layers already.");
    EXPECT_FALSE(importData(cal, "monthly.ics", 9999).ok);
    EXPECT_EQ(cal.eventCount(), events);
    EXPECT_EQ(cal.layers->count(), 24);
    EXPECT_TRUE(importData(cal, "monthly.ics", cal.firstLayer()).ok);
}

TEST(IcsImport, UndoRemovesWhatTheImportAddedAndNothingElse)
{
    Calendar cal(NewYear2024);
    const int mine = cal.addEvent(
        Calendar::oneTime(cal.firstLayer(), at(2024, 2, 1, 9), at(2024, 2, 1, 10), "Mine"));
    const int myTask = cal.addTask("My task");
    const int layers = cal.layers->count();
    const IcsImport::Summary s = importData(cal, "todos.ics");
    ASSERT_TRUE(s.ok);
    const IcsImport::Summary into = importData(cal, "overrides.ics", cal.firstLayer());
    ASSERT_TRUE(into.ok);
    // The undo log holds the last import only: undo removes the course, keeps the tasks.
    StoreResult undone = IcsImport::undoImport(*cal.layers, *cal.events, *cal.tasks);
    ASSERT_TRUE(undone.ok) << undone.error.toStdString();
    EXPECT_EQ(undone.count, into.events);
    EXPECT_EQ(cal.eventCount(), 1);
    EXPECT_TRUE(cal.events->event(mine));
    EXPECT_EQ(cal.layers->count(), layers + 1);

    ASSERT_TRUE(importData(cal, "todos.ics").ok);
    EXPECT_EQ(UndoLog::readSection(cal.dataDir), UndoLog::Section::ImportedCalendar);
    cal.reopen(); // the undo survives a restart
    undone = IcsImport::undoImport(*cal.layers, *cal.events, *cal.tasks);
    ASSERT_TRUE(undone.ok);
    EXPECT_EQ(undone.count, 6);
    EXPECT_EQ(cal.taskCount(), 7); // "My task" and the first import's six
    EXPECT_TRUE(cal.tasks->task(myTask));
    EXPECT_EQ(cal.layers->count(), layers + 1);

    // Another section in the undo log is not an import to undo.
    ASSERT_TRUE(cal.events->deleteWithUndo({QString::number(mine)}).ok);
    EXPECT_FALSE(IcsImport::undoImport(*cal.layers, *cal.events, *cal.tasks).ok);
}

TEST(IcsImport, DamagedFilesAreRefusedWholeOrReadWithoutHarm)
{
    const QStringList refused = {"empty.ics",    "plain-text.ics", "binary.ics",
                                 "nul-byte.ics", "event-only.ics", "truncated.ics"};
    const QDir dir(dataFile("damaged"));
    for (const QString &name : dir.entryList(QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        Calendar cal(NewYear2024);
        const int layers = cal.layers->count();
        const IcsImport::Summary s = importData(cal, "damaged/" + name);
        if (refused.contains(name)) {
            EXPECT_FALSE(s.ok);
            EXPECT_FALSE(s.error.isEmpty());
            EXPECT_EQ(cal.layers->count(), layers);
            EXPECT_EQ(cal.eventCount(), 0);
            EXPECT_FALSE(QFile::exists(cal.dataDir + UndoLog::FileName));
        } else {
            EXPECT_TRUE(s.ok) << s.error.toStdString();
            EXPECT_EQ(cal.eventCount(), s.events);
        }
    }

    Calendar cal(NewYear2024);
    const IcsImport::Summary bad = importData(cal, "damaged/bad-values.ics");
    EXPECT_EQ(bad.tasks, 3);
    const QString left = bad.skipped.join("|");
    EXPECT_TRUE(left.contains("events without a valid start (2)")) << left.toStdString();
    EXPECT_TRUE(left.contains("unknown time zones, read as local time")) << left.toStdString();

    QByteArray huge("BEGIN:VCALENDAR\r\n");
    huge.append(QByteArray(IcsReader::MaxFileBytes, 'x'));
    const IcsImport::Summary tooBig =
        IcsImport::importBytes(huge, "huge", 0, *cal.layers, *cal.events, *cal.tasks, options(cal));
    EXPECT_FALSE(tooBig.ok);
    EXPECT_EQ(tooBig.error, "The file is larger than 50 MB.");
    EXPECT_FALSE(IcsImport::importFile(dataFile("missing.ics"), 0, *cal.layers, *cal.events,
                                       *cal.tasks, options(cal))
                     .ok);
}
