#include "core/Settings.h"
#include "core/CommandLine.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{
SettingsPaths locationsIn(const QString &root, const QString &program = "/opt/dayloom/dayloom")
{
    return {root + "/config/dayloom/dayloom.ini", root + "/data/dayloom",
            root + "/config/autostart/dayloom.desktop", program};
}

QString readAll(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}
} // namespace

TEST(Settings, FirstStartWritesEveryDefaultInLoadOrder)
{
    const QString root = TestEnv::freshDir("reg");
    const SettingsPaths where = locationsIn(root);
    {
        Settings reg(where);
        EXPECT_FALSE(reg.writeFailed());
        EXPECT_EQ(reg.dataPath(), root + "/data/dayloom/");
        EXPECT_TRUE(QDir(reg.dataPath()).exists());
        EXPECT_EQ(reg.layerPath(), reg.dataPath() + "My Layers/");
        EXPECT_EQ(reg.alarmSound(), reg.dataPath() + "Alarm.wav");
        EXPECT_EQ(reg.startHour(), 8);
        EXPECT_EQ(reg.timeScale(), 3);
        EXPECT_EQ(reg.printFontSize(), 4);
        EXPECT_EQ(reg.printOrientations(), "11000000000000000000");
        EXPECT_EQ(reg.tasksIndexName(), "S+P+F+");
        EXPECT_EQ(reg.tasksColumns(), "210");
        EXPECT_TRUE(reg.useTrayIcon());
        EXPECT_FALSE(reg.showEndDayWeek());
        EXPECT_FALSE(reg.firstTime());
    }
    SettingsFile file(where.settingsFile);
    ASSERT_TRUE(file.load());
    const QStringList expectedOrder = {"Path",
                                       "LayerPath",
                                       "Autostart",
                                       "UseTrayIcon",
                                       "AlarmSoundOn",
                                       "AlarmSound",
                                       "StartOfWeek",
                                       "WeeksOn",
                                       "DateFormat",
                                       "DateSeparator",
                                       "TimeFormat",
                                       "TimeSeparator",
                                       "View",
                                       "Time",
                                       "TimeScale",
                                       "ShowNavigator",
                                       "PrintWidth",
                                       "PrintHeight",
                                       "PrintFontSize",
                                       "PrintColor",
                                       "PrintHeading",
                                       "StartPrintingTime",
                                       "StopPrintingTime",
                                       "Orientation",
                                       "ShowAlarmDW",
                                       "ShowAlarmMonth",
                                       "ShowAlarmYear",
                                       "ShowAlarmTasks",
                                       "ShowStartDW",
                                       "ShowEndDW",
                                       "ShowStartMonth",
                                       "ShowEndMonth",
                                       "ShowStartYear",
                                       "ShowEndYear",
                                       "TasksIndexName",
                                       "Priority",
                                       "Finished",
                                       "TasksCol",
                                       "FirstTime"};
    ASSERT_EQ(expectedOrder.size(), Settings::ValueCount);
    QStringList keys;
    for (const QString &line : readAll(where.settingsFile).split('\n'))
        if (line.contains('=')) keys << line.section('=', 0, 0);
    EXPECT_EQ(keys, expectedOrder);
    EXPECT_TRUE(readAll(where.settingsFile).startsWith("[DayloomLE]\n"));
    EXPECT_FALSE(QFile::exists(where.autostartFile));
}

TEST(Settings, StoredValuesSurviveARestartAndBadTextFallsBackToTheDefault)
{
    const QString root = TestEnv::freshDir("reg");
    const SettingsPaths where = locationsIn(root);
    {
        Settings reg(where);
        reg.setTimeFormat(2);
        reg.setShowNavigator(false);
        reg.setTasksIndexName("P-S+");
        reg.setLayerPath("/home/u/layers with  blanks /");
    }
    {
        Settings reg(where);
        EXPECT_EQ(reg.timeFormat(), 2);
        EXPECT_FALSE(reg.showNavigator());
        EXPECT_EQ(reg.tasksIndexName(), "P-S+");
        EXPECT_EQ(reg.layerPath(), "/home/u/layers with  blanks /");
    }
    SettingsFile file(where.settingsFile);
    file.load();
    file.setValue("DayloomLE", "Time", "not a number");
    file.setValue("DayloomLE", "WeeksOn", "maybe");
    Settings reg(where);
    EXPECT_EQ(reg.startHour(), 8);
    EXPECT_FALSE(reg.weeksOn());
}

TEST(Settings, PathFollowsTheDataFolderButLayerPathKeepsItsValue)
{
    const QString root = TestEnv::freshDir("reg");
    SettingsPaths where = locationsIn(root);
    QString firstLayerPath;
    {
        Settings reg(where);
        firstLayerPath = reg.layerPath();
    }
    where.dataDir = root + "/moved";
    Settings reg(where);
    EXPECT_EQ(reg.dataPath(), root + "/moved/");
    EXPECT_EQ(reg.layerPath(), firstLayerPath);
}

TEST(Settings, AutostartEntryFollowsTheSettingAndAMovedProgram)
{
    const QString root = TestEnv::freshDir("reg");
    SettingsPaths where = locationsIn(root, "/opt/day loom/dayloom");
    {
        Settings reg(where);
        reg.setAutostart(true);
        const QString entry = readAll(where.autostartFile);
        EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
        EXPECT_TRUE(entry.contains("Type=Application\n"));
        EXPECT_TRUE(entry.contains("Exec=\"/opt/day loom/dayloom\" auto\n")) << entry.toStdString();
    }
    where.programPath = "/usr/local/bin/dayloom";
    {
        Settings reg(where);
        EXPECT_TRUE(
            readAll(where.autostartFile).contains("Exec=\"/usr/local/bin/dayloom\" auto\n"));
        reg.setAutostart(false);
        EXPECT_FALSE(QFile::exists(where.autostartFile));
        reg.setAutostart(false); // removing an absent entry is harmless
        EXPECT_FALSE(reg.writeFailed());
    }
}

TEST(Settings, AutostartExecQuotesSpecialCharacters)
{
    const QString text = Settings::autostartEntryText("/a\"b/$x/100%/dl");
    EXPECT_TRUE(text.contains("Exec=\"/a\\\\\"b/\\\\$x/100%%/dl\" auto\n")) << text.toStdString();
}

TEST(Settings, UnwritableFileIsReportedAndValuesStillWork)
{
    const QString root = TestEnv::freshDir("reg");
    SettingsPaths where = locationsIn(root);
    // A folder where the file should be makes every write fail, even for root.
    QDir().mkpath(where.settingsFile);
    Settings reg(where);
    EXPECT_TRUE(reg.writeFailed());
    EXPECT_EQ(reg.startHour(), 8);
    reg.setStartHour(11);
    EXPECT_EQ(reg.startHour(), 11);
}

TEST(SettingsFile, QuotedValuesRoundTrip)
{
    for (const QString &v : {QString(""), QString(" lead"), QString("trail "), QString("quote\"in"),
                             QString("back\\slash"), QString("plain")}) {
        EXPECT_EQ(SettingsFile::decodeValue(SettingsFile::encodeValue(v)), v) << v.toStdString();
    }
}

struct CommandLineCase {
    const char *name;
    QStringList args;
    CommandLine::Kind kind;
    const char *path;
};

class CommandLineForms : public ::testing::TestWithParam<CommandLineCase>
{
};

TEST_P(CommandLineForms, ParsesCaseSensitively)
{
    const CommandLine c = CommandLine::parse(GetParam().args);
    EXPECT_EQ(c.kind, GetParam().kind);
    EXPECT_EQ(c.importPath, QString::fromUtf8(GetParam().path));
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineForms,
    ::testing::Values(
        CommandLineCase{"none", {}, CommandLine::Kind::Ordinary, ""},
        CommandLineCase{
            "import_path", {"import", "/x/a.dyl"}, CommandLine::Kind::Import, "/x/a.dyl"},
        CommandLineCase{"capital_Import", {"Import", "/x/a.dyl"}, CommandLine::Kind::Ordinary, ""},
        CommandLineCase{"import_alone", {"import"}, CommandLine::Kind::Ordinary, ""},
        CommandLineCase{"import_two_paths", {"import", "a", "b"}, CommandLine::Kind::Ordinary, ""},
        CommandLineCase{"auto", {"auto"}, CommandLine::Kind::Auto, ""},
        CommandLineCase{"auto_x", {"auto", "x"}, CommandLine::Kind::Ordinary, ""},
        CommandLineCase{"Auto_capital", {"Auto"}, CommandLine::Kind::Ordinary, ""}),
    [](const auto &info) { return std::string(info.param.name); });
