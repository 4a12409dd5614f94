#include "app/DayloomApp.h"
#include "core/Settings.h"
#include "mainwin/MainWindow.h"
#include "platform/SingleInstance.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QSystemTrayIcon>
#include <future>
#include <thread>

namespace
{
SettingsPaths testLocations()
{
    const QString root = TestEnv::freshDir("app");
    return {root + "/dayloom.ini", root + "/data", root + "/autostart/dayloom.desktop",
            "/opt/dayloom/dayloom"};
}

// Sends a message from another thread while this thread serves the socket.
QString sendAndServe(const QString &folder, const QString &message)
{
    auto answer =
        std::async(std::launch::async, [&] { return SingleInstance::send(folder, message, 3000); });
    QElapsedTimer t;
    t.start();
    while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready &&
           t.elapsed() < 5000)
        QApplication::processEvents();
    return answer.get();
}
} // namespace

TEST(WakeUp, ZeroShowsTheWindowAndClearsAPendingImport)
{
    DayloomApp app(testLocations(), CommandLine::parse({"auto"}));
    EXPECT_FALSE(app.mainWindow().isVisible());
    app.mainWindow().setPendingImport("/x/old.dyl");
    EXPECT_EQ(app.handleMessage("wake 0"), "ok");
    EXPECT_TRUE(app.mainWindow().isVisible());
    EXPECT_FALSE(app.mainWindow().importPending());
    EXPECT_EQ(app.mainWindow().windowTitle(), "Dayloom LE  ");
}

TEST(WakeUp, OneTakesTheFirstLineOfImportDat)
{
    DayloomApp app(testLocations(), CommandLine::parse({"auto"}));
    ASSERT_TRUE(writeImportFile(app.settings().dataPath(), "/home/u/My Layers/Work.dyl"));
    app.handleMessage("wake 1");
    EXPECT_TRUE(app.mainWindow().isVisible());
    EXPECT_EQ(app.mainWindow().pendingImportPath(), "/home/u/My Layers/Work.dyl");
}

TEST(WakeUp, OneWithoutImportDatIsReportedAndDoesNotShow)
{
    DayloomApp app(testLocations(), CommandLine::parse({"auto"}));
    QStringList messages;
    app.mainWindow().setMessageSink([&](const QString &m) { messages << m; });
    app.handleMessage("wake 1");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("import.dat"));
    EXPECT_FALSE(app.mainWindow().isVisible());
}

TEST(WakeUp, ClosesOnlyTheFirstVisibleDialog)
{
    DayloomApp app(testLocations(), {});
    QDialog a, b, c;
    app.mainWindow().setWakeUpDialogs({&a, &b, &c});
    b.show();
    c.show();
    app.handleMessage("wake 0");
    EXPECT_FALSE(b.isVisible());
    EXPECT_TRUE(c.isVisible());
}

TEST(WakeUp, ImportCommandLineLeavesThePathPending)
{
    DayloomApp app(testLocations(), CommandLine::parse({"import", "/x/a.dyl"}));
    EXPECT_EQ(app.mainWindow().pendingImportPath(), "/x/a.dyl");
    EXPECT_TRUE(app.mainWindow().isVisible());
}

TEST(WakeUp, CloseEndsTheProgramUnlessATrayIconIsShown)
{
    DayloomApp app(testLocations(), {});
    ASSERT_TRUE(app.settings().useTrayIcon());
    // UseTrayIcon alone is not enough: with no icon shown nothing could bring the window back.
    EXPECT_FALSE(app.mainWindow().closeHidesToTray());
    QSystemTrayIcon hiddenIcon;
    app.mainWindow().setTrayIcon(&hiddenIcon);
    EXPECT_FALSE(app.mainWindow().closeHidesToTray());
    EXPECT_TRUE(app.mainWindow().close());
    EXPECT_FALSE(app.mainWindow().isVisible());
    app.mainWindow().setTrayIcon(nullptr);
}

TEST(SingleInstance, SecondClaimFailsAndMessagesReachTheFirst)
{
    const QString folder = TestEnv::freshDir("rt");
    SingleInstance first(folder);
    ASSERT_TRUE(first.claim());
    QStringList seen;
    first.setHandler([&](const QString &m) {
        seen << m;
        return QStringLiteral("got ") + m;
    });
    SingleInstance second(folder);
    EXPECT_FALSE(second.claim());
    EXPECT_EQ(sendAndServe(folder, "wake 1"), "got wake 1");
    EXPECT_EQ(sendAndServe(folder, "wake 0"), "got wake 0");
    EXPECT_EQ(seen, (QStringList{"wake 1", "wake 0"}));
}

TEST(SingleInstance, NobodyListeningGivesAnEmptyAnswerQuickly)
{
    const QString folder = TestEnv::freshDir("rt");
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(SingleInstance::send(folder, "wake 0", 500), "");
    EXPECT_LT(t.elapsed(), 3000);
}
