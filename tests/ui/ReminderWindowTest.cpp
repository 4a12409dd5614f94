#include "alarm/ReminderWindow.h"
#include "store/AlarmFiles.h"
#include "store/CalendarStores.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTest>

using namespace CalendarTest;

namespace
{
SerialDateTime at(int h, int m)
{
    return DateTimeValue::fromQDateTime(QDateTime(QDate(2024, 3, 1), QTime(h, m)));
}
} // namespace

TEST(ReminderWindow, StepsThroughTheDueAlarmsAndHandsASnoozeBackToTheStore)
{
    Calendar c(QDateTime(QDate(2024, 3, 1), QTime(8, 46)));
    AlarmEntry event;
    event.id = 12;
    event.startTime = at(9, 0);
    event.endTime = at(10, 0);
    event.alarmTime = at(8, 45);
    event.subject = "'Dentist''s'";
    event.description = "'Bring the card'";
    event.layerName = "'Home'";
    AlarmEntry task;
    task.id = 3;
    task.alarmTime = at(8, 46);
    task.subject = "'Report'";
    ASSERT_TRUE(AlarmFiles::appendAlarms(c.dataDir, {event, task}));

    const auto taken = ReminderWindow::takeDueAlarms(c.dataDir);
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(*taken, (QList<AlarmEntry>{event, task}));
    // Taken once: a second reminder started later does not show them again.
    EXPECT_TRUE(ReminderWindow::takeDueAlarms(c.dataDir)->isEmpty());

    DateTimeFormat format;
    format.buildDateFormat(0, 0);
    format.buildTimeFormat(0, 0);
    int notices = 0;
    ReminderWindow w(*taken, c.dataDir, format, [&notices] { return ++notices, true; });
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.windowTitle(), "Reminder");
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(w.size(), QSize(480, 298));
    EXPECT_EQ(w.headerLabel()->text(), "1 of 2");
    EXPECT_EQ(w.subjectLabel()->text(), "Dentist's");
    EXPECT_EQ(w.snoozeList()->count(), 15);
    EXPECT_EQ(w.snoozeList()->itemText(6), "in 1 hour");

    w.snoozeList()->setCurrentIndex(6);
    QTest::mouseClick(w.snoozeButton(), Qt::LeftButton);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(w.headerLabel()->text(), "2 of 2");
    EXPECT_EQ(w.subjectLabel()->text(), "Report");
    // A task has no start to be reminded before.
    auto *model = qobject_cast<QStandardItemModel *>(w.snoozeList()->model());
    ASSERT_NE(model, nullptr);
    EXPECT_FALSE(model->item(0)->isEnabled());
    EXPECT_FALSE(model->item(1)->isEnabled());
    EXPECT_EQ(w.snoozeList()->currentIndex(), ReminderWindow::DefaultSnoozeCode);

    QTest::mouseClick(w.closeButton(), Qt::LeftButton);
    QTest::qWait(0);
    QApplication::processEvents();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(notices, 1);

    // The running program takes the snooze: a reminder one hour from now, tied to no event.
    const StoreResult applied = c.events->readSnoozeFile();
    ASSERT_TRUE(applied.ok);
    EXPECT_EQ(applied.count, 1);
    ASSERT_EQ(c.events->pendingAlarms().size(), 1);
    const AlarmEntry &back = c.events->pendingAlarms().at(0);
    EXPECT_EQ(back.id, -1);
    EXPECT_EQ(back.subject, event.subject);
    EXPECT_EQ(back.startTime, event.startTime);
    EXPECT_EQ(DateTimeValue::toQDateTime(back.alarmTime),
              QDateTime(QDate(2024, 3, 1), QTime(9, 46)));
}

// The user saw the first of three alarms and closed the window by its title bar: the two not
// yet shown wait in "alarm.dat", in front of a line the program added meanwhile.
TEST(ReminderWindow, ClosingByTheTitleBarKeepsTheAlarmsNotYetShownAndMarksMissedOnes)
{
    Calendar c(QDateTime(QDate(2024, 3, 1), QTime(9, 30)));
    QList<AlarmEntry> due;
    for (const auto &[id, minute] : {std::pair{1, 5}, {2, 20}, {3, 25}}) {
        AlarmEntry a;
        a.id = id;
        a.startTime = at(10, minute);
        a.endTime = at(11, 0);
        a.alarmTime = at(9, minute);
        a.subject = QStringLiteral("'Alarm %1'").arg(id);
        due << a;
    }
    ASSERT_TRUE(AlarmFiles::appendAlarms(c.dataDir, due));
    const auto taken = ReminderWindow::takeDueAlarms(c.dataDir);
    ASSERT_TRUE(taken && taken->size() == 3);
    AlarmEntry later = due[0];
    later.id = 4;
    later.alarmTime = at(9, 31);
    ASSERT_TRUE(AlarmFiles::appendAlarms(c.dataDir, {later}));

    DateTimeFormat format;
    format.buildDateFormat(0, 0);
    format.buildTimeFormat(0, 0);
    ReminderWindow w(*taken, c.dataDir, format, [] { return true; });
    // Missed: due after 09:00 and up to 09:20.
    w.setMissedWindow(MissedWindow{at(9, 0), at(9, 20)});
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(w.missedLabel()->isVisible());
    EXPECT_EQ(w.missedLabel()->text(), "Missed");
    QTest::mouseClick(w.closeButton(), Qt::LeftButton);
    EXPECT_EQ(w.headerLabel()->text(), "2 of 3");
    EXPECT_TRUE(w.missedLabel()->isVisible()) << "09:20 is the end of the window, included";

    w.close();
    QApplication::processEvents();
    EXPECT_FALSE(w.isVisible());
    const auto kept = ReminderWindow::takeDueAlarms(c.dataDir);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(*kept, (QList<AlarmEntry>{due[2], later}));

    // Escape on the last alarm keeps nothing more: every alarm was seen.
    ReminderWindow last({due[2]}, c.dataDir, format, [] { return true; });
    last.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&last));
    EXPECT_FALSE(last.missedLabel()->isVisible());
    QTest::keyClick(&last, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(last.isVisible());
    EXPECT_TRUE(ReminderWindow::takeDueAlarms(c.dataDir)->isEmpty());
}
