#include "store/AlarmFiles.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <atomic>
#include <thread>

using namespace AlarmFiles;

namespace
{
QString fresh()
{
    return TestEnv::freshDir("alarmfiles") + "/";
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

AlarmEntry rec(int id, const QString &subject = "'S'")
{
    AlarmEntry r;
    r.id = id;
    r.startTime = DateTimeValue::encodeDate(2006, 3, 1) + 9.0 / 24;
    r.endTime = DateTimeValue::encodeDate(2006, 3, 1) + 10.0 / 24;
    r.alarmTime = DateTimeValue::encodeDate(2006, 3, 1) + 8.75 / 24;
    r.subject = subject;
    r.layerName = "'Layer1'";
    r.colorNumber = 1;
    return r;
}

QStringList corpus()
{
    QDir d(QStringLiteral(DAYLOOM_SOURCE_DIR "/tests/data/damaged-alarm-files"));
    QStringList out;
    for (const QString &n : d.entryList(QDir::Files, QDir::Name))
        out << d.filePath(n);
    return out;
}
} // namespace

TEST(AlarmFiles, LinesRoundTripWithQuotesBreaksAndEmptyTimes)
{
    AlarmEntry r = rec(12, "'Dentist'");
    EXPECT_EQ(alarmLine(r), "12;2006-03-01 09:00:00;2006-03-01 10:00:00;2006-03-01 08:45:00;"
                            "'Dentist';'';'Layer1';1;");
    r.subject = "'it''s; #13#10x'";
    r.startTime.reset();
    r.endTime.reset();
    EXPECT_EQ(alarmLine(r), "12;;;2006-03-01 08:45:00;'it''s; #13#10x';'';'Layer1';1;");
    EXPECT_EQ(parseAlarmLine(alarmLine(r)), r);
    const SnoozeRequest s{6, rec(-1)};
    const auto back = parseSnoozeLine(snoozeLine(6, s.entry));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->code, 6);
    EXPECT_EQ(back->entry.subject, s.entry.subject);
    EXPECT_EQ(back->entry.startTime, s.entry.startTime);
}

TEST(AlarmFiles, AppendStartsWithHeaderAndKeepsOldLines)
{
    const QString dir = fresh();
    ASSERT_TRUE(appendAlarms(dir, {rec(1)}));
    ASSERT_TRUE(appendAlarms(dir, {rec(2), rec(3)}));
    const QByteArray bytes = readAll(dir + "alarm.dat");
    EXPECT_TRUE(bytes.startsWith(QByteArray(AlarmHeader) + "\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    const auto content = parseAlarmFile(bytes);
    ASSERT_TRUE(content);
    ASSERT_EQ(content->alarms.size(), 3);
    EXPECT_EQ(content->alarms[2].id, 3);
}

TEST(AlarmFiles, SnoozeRequestsAreTakenOnceInOrder)
{
    const QString dir = fresh();
    EXPECT_TRUE(takeSnoozeRequests(dir).ok); // missing file: no error
    ASSERT_TRUE(appendSnooze(dir, {6, rec(1)}));
    ASSERT_TRUE(appendSnooze(dir, {2, rec(2)}));
    const auto take = takeSnoozeRequests(dir);
    ASSERT_TRUE(take.ok);
    ASSERT_EQ(take.requests.size(), 2);
    EXPECT_EQ(take.requests[0].code, 6);
    EXPECT_EQ(take.requests[1].entry.id, 2);
    EXPECT_TRUE(takeSnoozeRequests(dir).requests.isEmpty());
}

// Every damaged file: no reader accepts an alarm from it, none crashes, and writers recover.
TEST(AlarmFiles, DamagedCorpusIsRefusedOrSkippedAndWritersRecover)
{
    const QStringList files = corpus();
    ASSERT_GE(files.size(), 15);
    for (const QString &path : files) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray bytes = readAll(path);
        const auto alarms = parseAlarmFile(bytes);
        if (alarms) {
            EXPECT_TRUE(alarms->alarms.isEmpty());
            EXPECT_GE(alarms->damagedLines, 1);
        }
        QString error;
        EXPECT_FALSE(parseSnoozeFile(bytes, &error));
        EXPECT_FALSE(error.isEmpty());

        const QString dir = fresh();
        writeAll(dir + "alarm.dat", bytes);
        const auto appended = appendAlarms(dir, {rec(7)});
        EXPECT_TRUE(appended.ok) << appended.error.toStdString();
        const auto after = parseAlarmFile(readAll(dir + "alarm.dat"));
        ASSERT_TRUE(after);
        ASSERT_EQ(after->alarms.size(), 1);
        EXPECT_EQ(after->damagedLines, 0);

        writeAll(dir + "snooze.dat", bytes);
        const auto take = takeSnoozeRequests(dir);
        EXPECT_FALSE(take.ok);
        EXPECT_TRUE(take.requests.isEmpty());
        EXPECT_TRUE(QFile::exists(dir + "snooze.dat.damaged"));
        ASSERT_TRUE(appendSnooze(dir, {3, rec(8)}));
        EXPECT_EQ(takeSnoozeRequests(dir).requests.size(), 1);
    }
}

// The main program appends while the reminder program takes lines out: every appended line
// ends up either still in the file or in the reminder's hands, exactly once.
TEST(AlarmFiles, AppendWhileAnotherWriterRewritesLosesNoLine)
{
    const QString dir = fresh();
    constexpr int Lines = 150;
    std::atomic<bool> done{false};
    QList<int> taken;
    std::thread reminder([&] {
        while (!done) {
            rewriteAlarms(dir, [&](QList<AlarmEntry> alarms) {
                // shows the first half, keeps the rest for later
                const qsizetype n = alarms.size() / 2;
                for (qsizetype i = 0; i < n; ++i)
                    taken.append(alarms[i].id);
                return alarms.mid(n);
            });
            // the reminder program does not spin; the writer gets its turn
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
    });
    QString appendError;
    for (int i = 1; i <= Lines && appendError.isEmpty(); ++i) {
        const auto r = appendAlarms(dir, {rec(i)});
        if (!r.ok) appendError = r.error.isEmpty() ? QStringLiteral("failed") : r.error;
    }
    done = true;
    reminder.join();
    ASSERT_TRUE(appendError.isEmpty()) << appendError.toStdString();
    const auto rest = parseAlarmFile(readAll(dir + "alarm.dat"));
    ASSERT_TRUE(rest);
    EXPECT_EQ(rest->damagedLines, 0);
    for (const AlarmEntry &r : rest->alarms)
        taken.append(r.id);
    std::sort(taken.begin(), taken.end());
    QList<int> expected;
    for (int i = 1; i <= Lines; ++i)
        expected << i;
    EXPECT_EQ(taken, expected);
}
