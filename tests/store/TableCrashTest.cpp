// Kills a child process that changes a table file at random moments, then checks that the file
// is sound and holds every change the child had seen returned as written.
#include "store/Table.h"
#include "store/TableTestSchemas.h"

#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <sqlite3.h>

#include <optional>

namespace
{

QString integrityCheck(const QString &path)
{
    sqlite3 *db = nullptr;
    QString out = "<open failed>";
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt *s = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW)
            out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return out;
}

struct Change {
    QChar op;
    int id = 0;
    QString subject;
};

Change parse(const QString &line)
{
    Change c;
    c.op = line.isEmpty() ? QChar() : line[0];
    const QStringList parts = line.split(u' ');
    if (parts.size() > 1) c.id = parts[1].toInt();
    if (parts.size() > 2) c.subject = parts.mid(2).join(u' ');
    return c;
}

} // namespace

TEST(TableCrash, KilledWriterNeverLosesAnAcknowledgedChange)
{
    const QString path = TestEnv::freshDir("crash") + "/Events.cds";
    QMap<int, QString> expected; // id -> subject, as the file must hold them
    QRandomGenerator rng(20240229);
    int acknowledged = 0;
    for (int round = 0; round < 25; ++round) {
        QProcess child;
        child.start(TABLE_CRASH_CHILD, {path, QString::number(round)});
        ASSERT_TRUE(child.waitForStarted());
        QThread::msleep(30 + rng.bounded(250));
        child.kill(); // SIGKILL
        ASSERT_TRUE(child.waitForFinished());
        const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(u'\n');
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit)
            << "child ended on its own: " << lines.join(u'|').right(300).toStdString();

        // Apply the acknowledged changes; the one in flight may or may not have landed.
        std::optional<Change> inFlight;
        for (const QString &line : lines) {
            if (line.isEmpty()) continue;
            if (line == u"ok") {
                ASSERT_TRUE(inFlight.has_value());
                if (inFlight->op == u'I' || inFlight->op == u'U')
                    expected[inFlight->id] = inFlight->subject;
                else if (inFlight->op == u'D')
                    expected.remove(inFlight->id);
                ++acknowledged;
                inFlight.reset();
            } else {
                ASSERT_FALSE(inFlight.has_value()) << line.toStdString();
                inFlight = parse(line);
                ASSERT_TRUE(QStringLiteral("IUDS").contains(inFlight->op)) << line.toStdString();
            }
        }

        ASSERT_EQ(integrityCheck(path), "ok") << "round " << round;
        Table t(TableTestSchemas::events());
        const TableLoadResult r = t.load(path);
        ASSERT_TRUE(r.status == TableLoadResult::Loaded ||
                    (round == 0 && r.status == TableLoadResult::Missing))
            << "round " << round << ": " << r.error.toStdString();
        QMap<int, QString> actual;
        for (t.first(); !t.eof(); t.next())
            actual[t.asInteger(0)] = t.asString(8);
        QMap<int, QString> withFlight = expected;
        if (inFlight && (inFlight->op == u'I' || inFlight->op == u'U'))
            withFlight[inFlight->id] = inFlight->subject;
        else if (inFlight && inFlight->op == u'D')
            withFlight.remove(inFlight->id);
        ASSERT_TRUE(actual == expected || actual == withFlight)
            << "round " << round << ": file has " << actual.size() << " rows, expected "
            << expected.size();
        expected = actual;
    }
    // The kills must have hit a writer that was busy, not one still starting.
    EXPECT_GT(acknowledged, 100);
}
