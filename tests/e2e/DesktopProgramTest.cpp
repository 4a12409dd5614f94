// Dayloom as a desktop program: this build tree installed into a temporary prefix and started
// from there, and screenshots of the real program on the large sample calendar.
#include "platform/SingleInstance.h"
#include "support/TestEnv.h"

#include "OwnXServer.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QThread>

namespace
{
struct ProgramRun {
    int exitCode = -1; // -1: did not finish normally
    QString out;
};

ProgramRun run(const QString &program, const QStringList &args,
               const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    ProgramRun r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    return r;
}

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool runningCopyAnswers()
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
        if (!SingleInstance::send(TestEnv::runtimeDir(), "state", 500).isEmpty()) return true;
        QThread::msleep(50);
    }
    return false;
}
} // namespace

TEST(Installed, TheInstalledProgramShowsItsTitleOnceWithItsIconAndHasItsReminderProgramBesideIt)
{
    const QString prefix = TestEnv::freshDir("prefix");
    ASSERT_EQ(
        run(CMAKE_COMMAND_PATH, {"--install", DAYLOOM_BUILD_DIR, "--prefix", prefix}).exitCode, 0);

    const QString bin = prefix + "/bin/";
    EXPECT_TRUE(QFileInfo(bin + "dayloom").isExecutable());
    ASSERT_TRUE(QFileInfo(bin + "dayloom-alarm").isExecutable());

    const QString desktop = readText(prefix + "/share/applications/dayloom.desktop");
    EXPECT_TRUE(desktop.contains("\nName=Dayloom\n"));
    EXPECT_TRUE(desktop.contains("\nExec=" + bin + "dayloom\n")) << desktop.toStdString();
    EXPECT_TRUE(desktop.contains("\nIcon=dayloom\n"));
    EXPECT_TRUE(desktop.contains("\nCategories=Office;Calendar;\n"));
    const QString icons = prefix + "/share/icons/hicolor/";
    EXPECT_TRUE(QFile::exists(icons + "scalable/apps/dayloom.svg"));
    for (const int size : {16, 32, 48, 256})
        EXPECT_EQ(QImage(icons + QStringLiteral("%1x%1/apps/dayloom.png").arg(size)).size(),
                  QSize(size, size));

    // The reminder program runs from the installed folder; with nothing due it ends at once.
    EXPECT_EQ(run(bin + "dayloom-alarm", {TestEnv::freshDir("alarmdata")}).exitCode, 0);

    OwnXServer x;
    if (!x.ok()) GTEST_SKIP() << "no Xvfb and xdotool to show the installed program on";
    QProcess dayloom;
    dayloom.setProcessEnvironment(x.environment());
    dayloom.setProcessChannelMode(QProcess::ForwardedChannels);
    dayloom.start(bin + "dayloom", {});
    ASSERT_TRUE(dayloom.waitForStarted(5000));
    ASSERT_TRUE(runningCopyAnswers());

    const auto onX = [&x](const QString &program, const QStringList &args) {
        return run(program, args, x.environment());
    };
    const ProgramRun found = onX(
        "xdotool", {"search", "--sync", "--onlyvisible", "--limit", "1", "--name", "Dayloom LE"});
    ASSERT_EQ(found.exitCode, 0);
    const QString window = found.out.section('\n', 0, 0);
    // The title as the window system shows it: the caption, not followed by the display name.
    EXPECT_EQ(onX("xdotool", {"getwindowname", window}).out.toStdString(), "Dayloom LE");
    const ProgramRun icon = onX("xprop", {"-id", window, "_NET_WM_ICON", "WM_CLASS"});
    EXPECT_TRUE(icon.out.contains("Icon (48 x 48)")) << icon.out.left(300).toStdString();
    EXPECT_TRUE(icon.out.contains("\"dayloom\"")) << "WM_CLASS";

    dayloom.terminate();
    if (!dayloom.waitForFinished(5000)) {
        dayloom.kill();
        dayloom.waitForFinished();
    }
}

// For looking at by eye: the week of today on the 100,000-event calendar in a window of
// 800 x 600, the hours around now in sight. Runs only when DAYLOOM_SHOT_DIR names a folder.
TEST(Screenshot, TodaysWeekOfTheLargeCalendarWithTheNowLineAndTheStripCapped)
{
    const QString dir = qEnvironmentVariable("DAYLOOM_SHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "set DAYLOOM_SHOT_DIR to write the screenshot";
    OwnXServer x;
    if (!x.ok()) GTEST_SKIP() << "no Xvfb and xdotool to show the program on";
    ASSERT_EQ(run(DAYLOOM_SAMPLE_BIN, {TestEnv::dataDir(), "bench"}).exitCode, 0);
    QProcess dayloom;
    dayloom.setProcessEnvironment(x.environment());
    dayloom.setProcessChannelMode(QProcess::ForwardedChannels);
    dayloom.start(DAYLOOM_BIN, {});
    ASSERT_TRUE(dayloom.waitForStarted(5000));
    ASSERT_TRUE(runningCopyAnswers());
    QThread::msleep(1500); // the first paint of the large calendar

    // Without a window manager the window sits at the screen's top left: the "Week" button,
    // then the wheel over the time grid from the first hour shown (08) to the hour before now.
    ASSERT_EQ(x.xdotool({"mousemove", "397", "48", "click", "1"}), 0);
    const int notches = 8 - std::max(0, QTime::currentTime().hour() - 1);
    if (notches != 0)
        ASSERT_EQ(x.xdotool({"mousemove", "500", "400", "click", "--repeat",
                             QString::number(std::abs(notches)), "--delay", "100",
                             notches > 0 ? "4" : "5"}),
                  0);
    ASSERT_EQ(x.xdotool({"mousemove", "790", "590"}), 0);
    QThread::msleep(500);
    EXPECT_EQ(run("import", {"-window", "root", "-crop", "800x600+0+0", dir + "/week-now-line.png"},
                  x.environment())
                  .exitCode,
              0);
    dayloom.terminate();
    if (!dayloom.waitForFinished(5000)) {
        dayloom.kill();
        dayloom.waitForFinished();
    }
}
