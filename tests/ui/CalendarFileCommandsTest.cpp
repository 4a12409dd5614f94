// File > Import Calendar... and Export Calendar... on the main window over real stores: the
// layer dialog, the summary message, the events on screen, Undo by Ctrl+Z, a refusal, the
// export dialog's file, and a pending command-line import routed by the file's content.
#include "ModalDriver.h"
#include "WindowOverStores.h"

#include "core/ViewState.h"
#include "dialogs/CalendarExportDialog.h"
#include "dialogs/CalendarImportDialog.h"
#include "mainwin/CalendarFileCommands.h"
#include "mainwin/MainMenus.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>

namespace
{

QString icsFile(const QString &name)
{
    return QStringLiteral(DAYLOOM_SOURCE_DIR "/tests/data/ics/") + name;
}

// Week of Sunday 5 May 2024, today Tuesday 7 May.
class CalendarFileWindow : public ::testing::Test, public WindowOverStores
{
protected:
    QString root = TestEnv::freshDir("calendar-files");
    Clock clock = fixedClock(QDateTime(QDate(2024, 5, 7), QTime(9, 0)));
    Settings reg{pathsBelow(root)};
    ViewDates time{clock};
    QStringList messages;
    QString picked;

    void SetUp() override
    {
        reg.setStartView(ViewWeek);
        ASSERT_TRUE(open(reg, time, clock));
        win->setMessageSink([this](const QString &t) { messages << t; });
        win->calendarFileCommands().setFilePicker([this](bool) { return picked; });
    }

    // Subjects of the time-grid boxes of day column `day` (1 = Sunday).
    QStringList boxes(int day)
    {
        QStringList out;
        for (const SpanItem &i : events->collections().day.timeItems(day))
            out << i.subject;
        return out;
    }

    static void clickOk(QDialogButtonBox *buttons)
    {
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }
};

} // namespace

TEST_F(CalendarFileWindow, ImportIntoANewLayerShowsTheEventsAndCtrlZTakesThemAway)
{
    const int layersBefore = layers->count();
    picked = icsFile("overrides.ics");
    bool dialogSeen = false;
    whenModal([&](QWidget *w) {
        auto *dialog = qobject_cast<CalendarImportDialog *>(w);
        ASSERT_TRUE(dialog);
        dialogSeen = true;
        EXPECT_EQ(dialog->layerBox()->currentText(), "New layer");
        EXPECT_EQ(dialog->layerBox()->count(), layersBefore + 1);
        clickOk(dialog->buttons());
    });
    win->menus().importCalendarAction()->trigger();
    ASSERT_TRUE(dialogSeen);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Imported 3 events (1 recurring) and 0 tasks into layer "
                                       "\"Course\"."))
        << messages[0].toStdString();
    EXPECT_EQ(layers->count(), layersBefore + 1);
    EXPECT_EQ(layers->layerAt(layersBefore + 1)->name, "Course");
    QApplication::processEvents();
    // Monday to Friday 6-10 May: the moved Wednesday and the cancelled Friday.
    EXPECT_EQ(boxes(2), QStringList{"Course"});
    EXPECT_EQ(boxes(4), QStringList{"Course (afternoon)"});
    EXPECT_TRUE(boxes(6).isEmpty());
    QAction *undo = win->menus().undoAction();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), CalendarFileCommands::UndoImportText);

    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(events->eventCount(), 0);
    EXPECT_EQ(layers->count(), layersBefore);
    EXPECT_TRUE(boxes(2).isEmpty());
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(CalendarFileWindow, ARefusedFileSaysWhyAndChangesNothing)
{
    const int layersBefore = layers->count();
    EXPECT_FALSE(win->calendarFileCommands().importFile(icsFile("damaged/plain-text.ics"), 0));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].endsWith("was not imported.\nThe file is not a calendar file."))
        << messages[0].toStdString();
    EXPECT_EQ(layers->count(), layersBefore);
    EXPECT_FALSE(win->menus().undoAction()->isEnabled());

    // Into an existing layer: no new layer.
    EXPECT_TRUE(win->calendarFileCommands().importFile(icsFile("overrides.ics"), layers->idAt(1)));
    EXPECT_EQ(layers->count(), layersBefore);
    EXPECT_EQ(events->countLayerEvents(layers->idAt(1)), 3);
}

TEST_F(CalendarFileWindow, ExportWritesTheCheckedLayers)
{
    ASSERT_TRUE(win->calendarFileCommands().importFile(icsFile("monthly.ics"), 0));
    picked = root + "/out.ics";
    bool dialogSeen = false;
    whenModal([&](QWidget *w) {
        auto *dialog = qobject_cast<CalendarExportDialog *>(w);
        ASSERT_TRUE(dialog);
        dialogSeen = true;
        ASSERT_EQ(dialog->layerList()->count(), 2);
        dialog->layerList()->item(0)->setCheckState(Qt::Unchecked); // "Layer1"
        EXPECT_EQ(dialog->chosenLayers(), QList<int>{layers->idAt(2)});
        clickOk(dialog->buttons());
    });
    win->menus().exportCalendarAction()->trigger();
    ASSERT_TRUE(dialogSeen);
    QFile f(picked);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("BEGIN:VCALENDAR"));
    EXPECT_TRUE(bytes.contains("X-WR-CALNAME:Club"));
    EXPECT_GT(bytes.count("BEGIN:VEVENT"), 4);
}

TEST_F(CalendarFileWindow, APendingImportOfCalendarContentIsImportedWhateverItsName)
{
    const QString disguised = root + "/calendar.dat";
    ASSERT_TRUE(QFile::copy(icsFile("todos.ics"), disguised));
    win->setPendingImport(disguised);
    EXPECT_FALSE(win->importPending());
    QApplication::processEvents();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(tasks->count(), 6);

    const QString layerFile = root + "/layers.dyl";
    QFile f(layerFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a calendar\r\n");
    f.close();
    win->setPendingImport(layerFile);
    EXPECT_TRUE(win->importPending());
    EXPECT_EQ(win->pendingImportPath(), layerFile);
}
