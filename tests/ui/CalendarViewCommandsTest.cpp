// The event commands of the main window in the month and year views, driven with the mouse and
// keys over real stores in a temporary data folder: a cut in the week view pasted on a day of
// the month view; the year grid's layout, wheel, popups, double click, typing, delete and undo;
// a single occurrence taken out through the month grid's event popup and typing on a month day.
#include "core/Clock.h"
#include "core/Settings.h"
#include "dialogs/EventEditor.h"
#include "mainwin/DateHeaderGrid.h"
#include "mainwin/EventCommands.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainPanels.h"
#include "mainwin/MainWindow.h"
#include "mainwin/ViewTab.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "support/TestEnv.h"
#include "ui/AugustWeekWindow.h"
#include "ui/ModalDriver.h"
#include "views/MonthGrid.h"
#include "views/TimeGrid.h"
#include "views/YearGrid.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QWheelEvent>

namespace
{
QPoint middle(const SpanItem &i)
{
    return {(i.left + i.right) / 2, (i.top + i.bottom) / 2};
}

class CalendarViewCommands : public AugustWeekWindow
{
protected:
    CalendarViewCommands() : AugustWeekWindow("calendar-commands") {}
    void SetUp() override { openWindow(); }

    MainMenus &menus() { return win->menus(); }

    // A quick click on a view tab: its last sub-choice ("Month", "Year" at start).
    void clickTab(int family)
    {
        QTest::mouseClick(win->panels().tab(family), Qt::LeftButton);
        QApplication::processEvents();
    }

    // The month grid's bar of event `id` starting on `day`; null when there is none.
    const SpanItem *monthBar(int id, SerialDateTime day)
    {
        const MonthSpanCollection &c = events->collections().month;
        for (int week = 0; week < win->monthGrid()->weekCount(); ++week)
            for (const SpanItem &i : c.items(week))
                if (i.id == id && DateTimeValue::dayOf(i.startTime) == DateTimeValue::dayOf(day))
                    return &i;
        return nullptr;
    }
    // The month grid's cell of `day`, a point low in it (below the first lanes).
    QPoint monthCellLow(SerialDateTime day)
    {
        const int offset = int(DateTimeValue::dayOf(day) - win->monthGrid()->firstDay());
        const QRect r = win->monthGrid()->cellRect(offset % 7, offset / 7);
        return {r.center().x(), r.bottom() - 3};
    }

    // The year grid's box of event `id` in month column `month` starting on `day`.
    const SpanItem *yearBox(int month, int id, SerialDateTime day)
    {
        for (const SpanItem &i : events->collections().year.items(month))
            if (i.id == id && DateTimeValue::dayOf(i.startTime) == DateTimeValue::dayOf(day))
                return &i;
        return nullptr;
    }

    std::optional<EventRow> withSubject(const QString &subject)
    {
        for (int id : events->eventIds())
            if (events->event(id)->subject() == subject) return events->event(id);
        return std::nullopt;
    }
};

void clickButton(QWidget *dialog, const QString &caption)
{
    for (QAbstractButton *b : dialog->findChildren<QAbstractButton *>())
        if (b->text() == caption && b->isVisibleTo(dialog)) {
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
            return;
        }
    ADD_FAILURE() << "no button " << caption.toStdString();
}
} // namespace

TEST_F(CalendarViewCommands, CutInTheWeekViewPastesOnTheDaySelectedInTheMonthView)
{
    QClipboard *platformClipboard = QGuiApplication::clipboard();
    platformClipboard->setText(QStringLiteral("kept"));
    const SpanItem *box = stores.box(4, planning);
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(win->timeGrid(), Qt::LeftButton, {}, QPoint(box->left + 10, box->top + 8));
    QTest::keyClick(win.get(), Qt::Key_X, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_FALSE(events->event(planning).has_value());
    ASSERT_EQ(events->clipboardCount(), 1);

    clickTab(3);
    ASSERT_EQ(win->viewKind(), ViewMonth);
    EXPECT_FALSE(menus().pasteAction()->isEnabled()) << "no day selected yet";
    QTest::mouseClick(win->monthGrid(), Qt::LeftButton, {}, monthCellLow(at(2000, 8, 18)));
    ASSERT_TRUE(time.hasSelection());
    EXPECT_TRUE(menus().pasteAction()->isEnabled());
    QTest::keyClick(win.get(), Qt::Key_V, Qt::ControlModifier);
    QApplication::processEvents();

    const auto pasted = withSubject("Planning");
    ASSERT_TRUE(pasted);
    EXPECT_TRUE(sameTime(pasted->startTime(), at(2000, 8, 18, 10)));
    EXPECT_TRUE(sameTime(pasted->endTime(), at(2000, 8, 18, 11)));
    EXPECT_NE(monthBar(pasted->id(), at(2000, 8, 18)), nullptr) << "the month grid shows it";

    // The clipboard stays for a second paste on another day, and never reaches the platform's.
    QTest::mouseClick(win->monthGrid(), Qt::LeftButton, {}, monthCellLow(at(2000, 8, 22)));
    QTest::keyClick(win.get(), Qt::Key_V, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(events->clipboardCount(), 1);
    int copies = 0;
    for (int id : events->eventIds())
        if (events->event(id)->subject() == QStringLiteral("Planning")) ++copies;
    EXPECT_EQ(copies, 2);
    EXPECT_TRUE(withSubject("Planning"));
    EXPECT_EQ(platformClipboard->text(), QStringLiteral("kept"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(CalendarViewCommands, YearViewShowsTheEventsAndRunsNewDeleteAndUndo)
{
    clickTab(4);
    ASSERT_EQ(win->viewKind(), ViewYear);
    YearGrid *grid = win->yearGrid();
    ASSERT_TRUE(grid->isVisible());
    EXPECT_EQ(grid->monthCount(), 12);
    const SpanItem *planningBox = yearBox(8, planning, at(2000, 8, 9));
    ASSERT_NE(planningBox, nullptr);
    EXPECT_TRUE(grid->cellRect(8, 8).contains(middle(*planningBox)));
    EXPECT_NE(yearBox(8, standUp, at(2000, 8, 31)), nullptr);

    // After a resize the month columns share the grid's width out and the header above them
    // has the same widths, its last column one pixel narrower.
    win->resize(1111, 650);
    QApplication::processEvents();
    const int panelWidth = win->panels().yearPanel()->width();
    EXPECT_EQ(grid->width(), panelWidth - 1);
    EXPECT_EQ(grid->height(), win->panels().yearPanel()->height());
    int sum = grid->colWidth(0);
    const DateHeaderGrid *header = win->panels().dateHeader();
    ASSERT_EQ(header->colCount(), 12);
    for (int month = 1; month <= 12; ++month) {
        sum += grid->colWidth(month);
        EXPECT_EQ(header->colWidth(month - 1), grid->colWidth(month) - (month == 12 ? 1 : 0));
    }
    EXPECT_EQ(sum, grid->width());
    EXPECT_EQ(header->cellText(7), QStringLiteral("Aug"));
    planningBox = yearBox(8, planning, at(2000, 8, 9));
    ASSERT_NE(planningBox, nullptr);
    EXPECT_TRUE(grid->cellRect(8, 8).contains(middle(*planningBox))) << "placed again";

    // The wheel over the grid steps the view: one notch down to the next year and back up.
    // The grid leaves the wheel to its parent, where a spontaneous event would go on to.
    const auto turnWheel = [grid](int delta) {
        const QPoint p = grid->cellRect(2, 2).center();
        QWheelEvent wheel(QPointF(p), QPointF(grid->mapToGlobal(p)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid, &wheel);
        ASSERT_FALSE(wheel.isAccepted());
        wheel.setAccepted(true);
        QApplication::sendEvent(grid->parentWidget(), &wheel);
    };
    turnWheel(-120);
    EXPECT_EQ(win->dateLabelText(), QStringLiteral("2001"));
    EXPECT_EQ(yearBox(8, planning, at(2000, 8, 9)), nullptr);
    turnWheel(60);
    EXPECT_EQ(win->dateLabelText(), QStringLiteral("2001")) << "half a notch waits";
    turnWheel(60);
    EXPECT_EQ(win->dateLabelText(), QStringLiteral("2000"));
    planningBox = yearBox(8, planning, at(2000, 8, 9));
    ASSERT_NE(planningBox, nullptr);

    // The event popup on an occurrence offers the occurrence items; on a one-time event not.
    QTest::mousePress(grid, Qt::RightButton, {}, middle(*planningBox));
    EXPECT_TRUE(menus().eventMenu()->isVisible());
    EXPECT_FALSE(menus().deleteOccurrenceAction()->isVisible());
    menus().eventMenu()->hide();
    QTest::mouseRelease(grid, Qt::RightButton, {}, middle(*planningBox));
    const SpanItem *occurrence = yearBox(8, standUp, at(2000, 8, 15));
    ASSERT_NE(occurrence, nullptr);
    QTest::mousePress(grid, Qt::RightButton, {}, middle(*occurrence));
    EXPECT_TRUE(menus().deleteOccurrenceAction()->isVisible());
    menus().eventMenu()->hide();
    QTest::mouseRelease(grid, Qt::RightButton, {}, middle(*occurrence));

    // A double click on a free day: the editor for that whole day.
    SerialDateTime shownStart = 0, shownEnd = 0;
    whenModal([&](QWidget *w) {
        auto *editor = qobject_cast<EventEditor *>(w);
        ASSERT_NE(editor, nullptr);
        shownStart = editor->startTime();
        shownEnd = editor->endTime();
        QTest::keyClicks(w->findChild<QLineEdit *>(QStringLiteral("subject")), "Offsite");
        clickButton(w, "OK");
    });
    QTest::mouseDClick(grid, Qt::LeftButton, {}, grid->cellRect(9, 4).center());
    QApplication::processEvents();
    EXPECT_TRUE(sameTime(shownStart, at(2000, 9, 5)));
    EXPECT_TRUE(sameTime(shownEnd, at(2000, 9, 6)));
    const auto offsite = withSubject("Offsite");
    ASSERT_TRUE(offsite);
    EXPECT_NE(yearBox(9, offsite->id(), at(2000, 9, 5)), nullptr);

    // Typing on a selected day opens the editor with the character as subject.
    QString typedSubject;
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(10, 1).center());
    ASSERT_TRUE(time.hasSelection());
    whenModal([&](QWidget *w) {
        typedSubject = w->findChild<QLineEdit *>(QStringLiteral("subject"))->text();
        clickButton(w, "Cancel");
    });
    QTest::keyClick(grid, 'q');
    EXPECT_EQ(typedSubject, QStringLiteral("q"));
    EXPECT_EQ(events->eventCount(), 3) << "cancelled";
    // The test platform does not hand the activation back after a popup or dialog as a desktop
    // does.
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));

    // Delete and undo of a selected event.
    planningBox = yearBox(8, planning, at(2000, 8, 9));
    ASSERT_NE(planningBox, nullptr);
    QTest::mouseClick(grid, Qt::LeftButton, {}, middle(*planningBox));
    ASSERT_EQ(grid->selectedEvents(), std::vector<int>{planning});
    EXPECT_TRUE(menus().editAction()->isEnabled());
    QTest::keyClick(win.get(), Qt::Key_Delete);
    QApplication::processEvents();
    EXPECT_FALSE(events->event(planning).has_value());
    EXPECT_EQ(yearBox(8, planning, at(2000, 8, 9)), nullptr);
    EXPECT_TRUE(grid->selectedEvents().empty());
    EXPECT_TRUE(menus().undoAction()->isEnabled());

    QTest::keyClick(win.get(), Qt::Key_Z, Qt::ControlModifier);
    QApplication::processEvents();
    const auto back = withSubject("Planning");
    ASSERT_TRUE(back);
    EXPECT_TRUE(sameTime(back->startTime(), at(2000, 8, 9, 10)));
    EXPECT_NE(yearBox(8, back->id(), at(2000, 8, 9)), nullptr) << "the grid shows it again";
    EXPECT_FALSE(menus().undoAction()->isEnabled());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(CalendarViewCommands, MonthViewDeletesOneOccurrenceThroughTheEventPopup)
{
    clickTab(3);
    ASSERT_EQ(win->viewKind(), ViewMonth);
    MonthGrid *grid = win->monthGrid();
    const SpanItem *bar = monthBar(standUp, at(2000, 8, 8));
    ASSERT_NE(bar, nullptr);
    const QPoint onBar(bar->left + 10, bar->top + 8);
    QTest::mousePress(grid, Qt::RightButton, {}, onBar);
    QMenu *popup = menus().eventMenu();
    ASSERT_TRUE(popup->isVisible());
    QAction *item = menus().deleteOccurrenceAction();
    ASSERT_TRUE(item->isVisible() && item->isEnabled());
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(item).center());
    QApplication::processEvents();
    // The right button is up again (QTest keeps the buttons it pressed until released).
    QTest::mouseRelease(grid, Qt::RightButton, {}, onBar);

    EXPECT_EQ(monthBar(standUp, at(2000, 8, 8)), nullptr);
    EXPECT_NE(monthBar(standUp, at(2000, 8, 7)), nullptr);
    EXPECT_NE(monthBar(standUp, at(2000, 8, 9)), nullptr);
    EXPECT_EQ(events->event(standUp)->bytes(EventField::ExceptionList),
              QByteArray::number(int(DateTimeValue::encodeDate(2000, 8, 8))));
    EXPECT_TRUE(grid->selectedEvents().empty()) << "the command drops the selection";
    EXPECT_FALSE(menus().undoAction()->isEnabled());

    // Typing on a selected day opens the editor for that whole day with the character.
    QString typedSubject;
    SerialDateTime shownStart = 0, shownEnd = 0;
    QTest::mouseClick(grid, Qt::LeftButton, {}, monthCellLow(at(2000, 8, 24)));
    whenModal([&](QWidget *w) {
        auto *editor = qobject_cast<EventEditor *>(w);
        ASSERT_NE(editor, nullptr);
        typedSubject = w->findChild<QLineEdit *>(QStringLiteral("subject"))->text();
        shownStart = editor->startTime();
        shownEnd = editor->endTime();
        clickButton(w, "Cancel");
    });
    QTest::keyClick(grid, 'm');
    EXPECT_EQ(typedSubject, QStringLiteral("m"));
    EXPECT_TRUE(sameTime(shownStart, at(2000, 8, 24)));
    EXPECT_TRUE(sameTime(shownEnd, at(2000, 8, 25)));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}
