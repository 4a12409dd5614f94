// Whole-program runs of the real binary with this process's temporary XDG folders.
#include "core/SettingsFile.h"
#include "platform/SingleInstance.h"
#include "support/SecondProcessLock.h"
#include "support/TestEnv.h"

#include "OwnXServer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <memory>

#include <sqlite3.h>

namespace
{
std::unique_ptr<QProcess> startProgram(const QStringList &args)
{
    auto p = std::make_unique<QProcess>();
    p->setProgram(QStringLiteral(DAYLOOM_BIN));
    p->setArguments(args);
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->start();
    p->waitForStarted(5000);
    return p;
}

// Asks the running copy for its state; empty while none answers within `ms`.
QString waitForState(int ms = 20000)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        const QString s = SingleInstance::send(TestEnv::runtimeDir(), "state", 500);
        if (!s.isEmpty()) return s;
        QThread::msleep(50);
    }
    return {};
}

int runToEnd(const QStringList &args, qint64 *elapsedMs)
{
    QElapsedTimer t;
    t.start();
    auto p = startProgram(args);
    const bool finished = p->waitForFinished(10000);
    *elapsedMs = t.elapsed();
    if (!finished) {
        p->kill();
        p->waitForFinished();
        return -1;
    }
    return p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -2;
}

void stop(QProcess &p)
{
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
    }
}
} // namespace

TEST(Program, FirstStartWritesDefaultsAndSecondStartsHandOver)
{
    auto first = startProgram({});
    ASSERT_EQ(waitForState(), "visible=1 import=");

    SettingsFile ini(TestEnv::configDir() + "/dayloom/dayloom.ini");
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.value("DayloomLE", "Path").value_or(""), TestEnv::dataDir());
    EXPECT_TRUE(ini.value("DayloomLE", "LayerPath").value_or("").endsWith("/My Layers/"));
    EXPECT_TRUE(ini.value("DayloomLE", "AlarmSound").value_or("").endsWith("/Alarm.wav"));
    EXPECT_EQ(ini.value("DayloomLE", "TimeScale").value_or(""), "3");
    EXPECT_EQ(ini.value("DayloomLE", "FirstTime").value_or(""), "false");
    EXPECT_FALSE(QFile::exists(TestEnv::configDir() + "/autostart/dayloom.desktop"));
    EXPECT_TRUE(QFile::exists(TestEnv::dataDir() + "Alarm.wav"));

    qint64 ms = 0;
    EXPECT_EQ(runToEnd({}, &ms), 0);
    EXPECT_LT(ms, 5000);
    EXPECT_EQ(runToEnd({"import", "/tmp/some where/Work.dyl"}, &ms), 0);
    EXPECT_LT(ms, 5000);

    // The running copy took the path from "import.dat" and removed the file.
    EXPECT_EQ(waitForState(), "visible=1 import=/tmp/some where/Work.dyl");
    EXPECT_FALSE(QFile::exists(TestEnv::dataDir() + "import.dat"));
    stop(*first);
}

TEST(Program, AKilledFirstCopyDoesNotBlockTheNextStart)
{
    auto first = startProgram({});
    ASSERT_FALSE(waitForState().isEmpty());
    first->kill(); // SIGKILL: the lock file and socket stay behind
    first->waitForFinished();

    auto next = startProgram({"auto"});
    EXPECT_EQ(waitForState(), "visible=0 import=");
    EXPECT_EQ(next->state(), QProcess::Running);
    stop(*next);
}

TEST(Program, AutoStartsHiddenAndAutoWithAnotherArgumentVisible)
{
    {
        auto p = startProgram({"auto"});
        EXPECT_EQ(waitForState(), "visible=0 import=");
        stop(*p);
    }
    {
        auto p = startProgram({"auto", "x"});
        EXPECT_EQ(waitForState(), "visible=1 import=");
        stop(*p);
    }
}

namespace
{
// The first column of the first row that `sql` (one "?" for the value) gives over the table
// file `fileName` of the data folder, read straight from the file as another program would; -1
// when there is no row or the file cannot be read.
double tableQuery(const char *fileName, const char *sql, const QString &subject)
{
    sqlite3 *db = nullptr;
    const QByteArray path = (TestEnv::dataDir() + fileName).toUtf8();
    double value = -1;
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        const QByteArray s = subject.toUtf8();
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_bind_text(st, 1, s.constData(), int(s.size()), SQLITE_TRANSIENT) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            value = sqlite3_column_double(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return value;
}

double eventsQuery(const char *sql, const QString &subject)
{
    return tableQuery("Events.cds", sql, subject);
}

// How many rows of the events file have this subject; -1 when the file cannot be read.
int rowsWithSubject(const QString &subject)
{
    return int(eventsQuery("SELECT count(*) FROM records WHERE Subject = ?", subject));
}

std::unique_ptr<QProcess> startShownOn(const OwnXServer &x)
{
    auto p = std::make_unique<QProcess>();
    p->setProgram(QStringLiteral(DAYLOOM_BIN));
    p->setProcessEnvironment(x.environment());
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->start();
    p->waitForStarted(5000);
    return p;
}

// Clicks a free time in the day view of the program shown on `x`, types `subject` and presses
// Enter. True once the events file holds one row with that subject. The first character opens
// the event editor; the rest is typed once the editor is mapped, since keys that reach the
// main window while the editor is still opening are not the editor's.
bool typeEventAtFreeTime(const OwnXServer &x, const QString &subject)
{
    // Without a window manager the window sits at the screen's top left; this point is in the
    // day view's time grid, right of the navigator column and below the all-day strip.
    if (!x.waitForWindow(QStringLiteral("^Dayloom LE")) ||
        x.xdotool({"mousemove", "500", "300", "click", "1"}) != 0 ||
        x.xdotool({"type", subject.left(1)}) != 0 || !x.waitForWindow(QStringLiteral("^Event$")) ||
        x.xdotool({"type", "--delay", "40", subject.mid(1)}) != 0 ||
        x.xdotool({"key", "Return"}) != 0)
        return false;
    QElapsedTimer t;
    t.start();
    while (rowsWithSubject(subject) != 1 && t.elapsed() < 20000)
        QThread::msleep(50);
    return rowsWithSubject(subject) == 1;
}
} // namespace

// A user clicks a free time in the day view, types a subject and presses Enter; the program is
// then killed outright. The event is in the file at once, and the next start keeps it.
TEST(Program, AnEventCreatedByTypingSurvivesAKillAndTheNextStart)
{
    OwnXServer x;
    if (!x.ok()) GTEST_SKIP() << "no Xvfb and xdotool to drive the program with";
    auto first = startShownOn(x);
    ASSERT_EQ(waitForState(), "visible=1 import=");
    EXPECT_TRUE(typeEventAtFreeTime(x, "Dentist")) << "written when the editor closed";
    first->kill();
    first->waitForFinished();

    auto next = startShownOn(x);
    EXPECT_EQ(waitForState(), "visible=1 import=");
    stop(*next);
    EXPECT_EQ(rowsWithSubject("Dentist"), 1);
}

namespace
{
// StartTime of the first row with this subject; -1 when there is none.
double startOf(const QString &subject)
{
    return eventsQuery("SELECT StartTime FROM records WHERE Subject = ?", subject);
}

// Presses at (x, y), moves down by `dy` in steps and lets go.
int dragDown(const OwnXServer &x, int px, int py, int dy)
{
    const QString sx = QString::number(px);
    QStringList args{"mousemove", sx, QString::number(py), "mousedown", "1"};
    for (int k = 1; k <= 4; ++k)
        args << "sleep"
             << "0.1"
             << "mousemove" << sx << QString::number(py + k * dy / 4);
    args << "sleep"
         << "0.2"
         << "mouseup"
         << "1";
    return x.xdotool(args);
}

// The screen as an image, also written to DAYLOOM_SHOT_DIR as `name` when that is set.
QImage screenShot(const OwnXServer &x, const QString &name)
{
    const QString dir = qEnvironmentVariable("DAYLOOM_SHOT_DIR");
    const QString path = (dir.isEmpty() ? TestEnv::freshDir("shot") : dir) + "/" + name;
    QProcess p;
    p.setProcessEnvironment(x.environment());
    p.start(QStringLiteral("import"), {"-window", "root", path});
    if (!p.waitForFinished(10000)) return {};
    return QImage(path);
}

// Pixels in the colour of the unsaved-changes bar (#fff3b0).
int barPixels(const QImage &shot)
{
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixelColor(x, y) == QColor(0xff, 0xf3, 0xb0)) ++n;
    return n;
}
} // namespace

// An event is dragged while another program holds the events file's lock: the bar appears
// at once, the file keeps the old time, and after the lock is gone the next drag writes both
// drags to the file and the bar goes.
TEST(Program, ADragWhileTheFileIsLockedShowsTheBarAndReachesTheFileLater)
{
    OwnXServer x;
    if (!x.ok()) GTEST_SKIP() << "no Xvfb and xdotool to drive the program with";
    auto program = startShownOn(x);
    ASSERT_EQ(waitForState(), "visible=1 import=");
    QThread::msleep(500);
    ASSERT_TRUE(typeEventAtFreeTime(x, "Dentist"));
    QElapsedTimer t;
    const double created = startOf("Dentist");
    ASSERT_GT(created, 0);

    // The box fills the row clicked (16 pixels high in the window's first size); each drag
    // presses in the middle of the box and moves it down by four rows. The first drag, with the
    // file free, gives the time that is.
    ASSERT_EQ(dragDown(x, 500, 307, 64), 0);
    t.restart();
    while (startOf("Dentist") == created && t.elapsed() < 5000)
        QThread::msleep(50);
    const double afterFirst = startOf("Dentist");
    const double step = afterFirst - created;
    ASSERT_GT(step, 0);

    auto lock = std::make_unique<SecondProcessLock>(TestEnv::dataDir() + "Events.cds");
    if (!lock->held()) GTEST_SKIP() << "no sqlite3 shell to hold the lock";
    ASSERT_EQ(dragDown(x, 500, 371, 64), 0);
    QThread::msleep(3000); // every step waits out the lock once
    const QImage locked = screenShot(x, "unsaved-changes-bar.png");
    EXPECT_GT(barPixels(locked), 1000) << "the bar shows";
    EXPECT_EQ(startOf("Dentist"), afterFirst) << "the locked file kept the time";

    lock->release();
    ASSERT_EQ(dragDown(x, 500, 435, 64), 0);
    t.restart();
    while (startOf("Dentist") == afterFirst && t.elapsed() < 5000)
        QThread::msleep(50);
    EXPECT_NEAR(startOf("Dentist") - afterFirst, 2 * step, 1e-6) << "both drags are in the file";
    QThread::msleep(500);
    EXPECT_EQ(barPixels(screenShot(x, "unsaved-changes-bar-gone.png")), 0);
    stop(*program);
}

namespace
{
int layersNamed(const QString &name)
{
    return int(tableQuery("Layers.cds", "SELECT count(*) FROM records WHERE Name = ?", name));
}
} // namespace

// "dayloom import sub/holiday.dyl" started in another folder while Dayloom runs: the running
// copy opens the layer manager on that file, the user presses Enter, and the layer is in the
// file once; "import.dat" is gone and a later wake-up imports nothing again.
TEST(Program, ARelativeImportFromAnotherFolderWhileRunningImportsTheFileOnce)
{
    OwnXServer x;
    if (!x.ok()) GTEST_SKIP() << "no Xvfb and xdotool to drive the program with";
    auto first = startShownOn(x);
    ASSERT_EQ(waitForState(), "visible=1 import=");
    QThread::msleep(500);

    const QString folder = TestEnv::freshDir("import-from");
    ASSERT_TRUE(QDir().mkpath(folder + "/sub"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(DAYLOOM_SOURCE_DIR "/tests/data/good-layer-file.dyl"),
                            folder + "/sub/holiday.dyl"));
    QProcess second;
    second.setProgram(QStringLiteral(DAYLOOM_BIN));
    second.setArguments({"import", "sub/holiday.dyl"});
    second.setWorkingDirectory(folder);
    second.setProcessEnvironment(x.environment());
    second.start();
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);

    // The path was made absolute against the folder the second copy started in, and
    // "import.dat" was read and removed.
    EXPECT_EQ(waitForState(), "visible=1 import=" + folder + "/sub/holiday.dyl");
    EXPECT_FALSE(QFile::exists(TestEnv::dataDir() + "import.dat"));
    // The dialog "Layer" comes up over the window with the file's layer in its list; Enter is
    // its OK, which ends the pending import. Focusing a window that is only just mapped can
    // fail, so the key is tried again until the dialog has closed.
    QElapsedTimer t;
    t.start();
    while (waitForState() != "visible=1 import=" && t.elapsed() < 8000) {
        x.xdotool({"search", "--onlyvisible", "--name", "^Layer$", "windowfocus", "key", "Return"});
        QThread::msleep(200);
    }
    EXPECT_EQ(waitForState(), "visible=1 import=");
    EXPECT_EQ(layersNamed("L"), 1);
    EXPECT_FALSE(QFile::exists(TestEnv::dataDir() + "import.dat"));

    EXPECT_EQ(SingleInstance::send(TestEnv::runtimeDir(), "wake 0"), "ok");
    QThread::msleep(500);
    EXPECT_EQ(layersNamed("L"), 1) << "imported once";
    stop(*first);
}
