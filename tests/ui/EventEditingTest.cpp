// Creating and editing events from the main window over real stores in a temporary data
// folder: typing on a selected range, a double click on free time, the New button, turning an
// event into a weekly rule, and a second start of the program while the editors are open.
#include "mainwin/EventEditing.h"
#include "ModalDriver.h"
#include "WindowOverStores.h"
#include "core/Clock.h"
#include "core/Settings.h"
#include "dialogs/EventEditor.h"
#include "dialogs/RecurrenceEditor.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainPanels.h"
#include "mainwin/MainWindow.h"
#include "mainwin/NavigatorColumn.h"
#include "mainwin/NavigatorLayerList.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/TasksStore.h"
#include "support/TestEnv.h"
#include "views/FlatButton.h"
#include "views/TimeGrid.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace
{
SerialDateTime at(int y, int m, int d, int h = 0, int min = 0)
{
    return DateTimeValue::encodeDate(y, m, d) + DateTimeValue::encodeTime(h, min);
}

bool sameTime(SerialDateTime a, SerialDateTime b)
{
    return DateTimeValue::toMs(a) == DateTimeValue::toMs(b);
}

QAbstractButton *buttonIn(QWidget *parent, const QString &caption)
{
    for (QAbstractButton *b : parent->findChildren<QAbstractButton *>())
        if (b->text() == caption && b->isVisibleTo(parent)) return b;
    ADD_FAILURE() << "no button " << caption.toStdString();
    return nullptr;
}

void click(QWidget *parent, const QString &caption)
{
    if (QAbstractButton *b = buttonIn(parent, caption))
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

// The week of Sunday 6 Aug 2000, today Wednesday 9 Aug 10:30, 24-hour times and dd-mm-yyyy
// dates, with "Planning" on Wednesday 10:00-11:00 in layer "Work".
class EditingWindow : public ::testing::Test, public WindowOverStores
{
protected:
    QString root = TestEnv::freshDir("editing");
    Clock clock = fixedClock(QDateTime(QDate(2000, 8, 9), QTime(10, 30)));
    Settings reg{pathsBelow(root)};
    ViewDates time{clock};
    QStringList messages;
    int planning = -1;

    void SetUp() override
    {
        reg.setStartView(ViewWeek);
        reg.setStartHour(8);
        reg.setTimeFormat(2);
        reg.setDateFormat(5);
        reg.setDateSeparator(1);
        ASSERT_TRUE(open(reg, time, clock, [this](LayersStore &l, EventsStore &e) {
            const int work = l.insertLayer(2, QStringLiteral("Work"), true, 3, 1, 30).id;
            planning =
                e.insertEvent(EventRow(QVariantList{QVariant(), work, at(2000, 8, 9, 10),
                                                    at(2000, 8, 9, 11), false, false, 15, 1,
                                                    QStringLiteral("Planning"), QString(), false}))
                    .id;
        }));
        win->setMessageSink([this](const QString &t) { messages << t; });
    }

    TimeGrid *grid() { return win->timeGrid(); }
    // Centre of the cell of `day` (1 = Sunday) at time step `step` (1 = 00:00-00:15).
    QPoint cell(int day, int step)
    {
        return grid()->cellRect(day, step - win->currentView().firstVisibleRow).center();
    }
    // Start times of the boxes in day column `day` (1 = Sunday) with this subject.
    std::vector<SerialDateTime> boxes(int day, const QString &subject)
    {
        std::vector<SerialDateTime> starts;
        for (const SpanItem &i : events->collections().day.timeItems(day))
            if (i.subject == subject) starts.push_back(i.startTime);
        return starts;
    }
    // The event with this subject as the events file holds it (read without the store).
    std::optional<std::pair<SerialDateTime, SerialDateTime>> inFile(const QString &subject)
    {
        Table t(EventsStore::schema());
        if (t.load(reg.dataPath() + EventsStore::FileName).status != TableLoadResult::Loaded)
            return std::nullopt;
        if (!t.locate(int(EventField::Subject), subject)) return std::nullopt;
        return std::make_pair(t.asDateTime(int(EventField::StartTime)),
                              t.asDateTime(int(EventField::EndTime)));
    }
    std::optional<EventRow> eventWithSubject(const QString &subject)
    {
        for (int id : events->eventIds())
            if (events->event(id)->subject() == subject) return events->event(id);
        return std::nullopt;
    }
};
} // namespace

TEST_F(EditingWindow, TypingOnASelectedRangeCreatesTheEventWithThatSubject)
{
    // Thursday 14:00-15:00 selected with the mouse.
    QTest::mousePress(grid(), Qt::LeftButton, {}, cell(5, 57));
    QTest::mouseMove(grid(), cell(5, 59));
    QTest::mouseMove(grid(), cell(5, 60));
    QTest::mouseRelease(grid(), Qt::LeftButton, {}, cell(5, 60));
    ASSERT_TRUE(win->viewDates().hasSelection());

    QString subjectShown;
    whenModal([&](QWidget *w) {
        auto *subject = w->findChild<QLineEdit *>(QStringLiteral("subject"));
        subjectShown = subject->text();
        QTest::keyClicks(subject, "nother");
        QTest::keyClick(subject, Qt::Key_Return);
    });
    QTest::keyClick(grid(), 'a');
    EXPECT_EQ(subjectShown, "a");
    QApplication::processEvents();

    const auto row = eventWithSubject("another");
    ASSERT_TRUE(row);
    EXPECT_TRUE(sameTime(row->startTime(), at(2000, 8, 10, 14)));
    EXPECT_TRUE(sameTime(row->endTime(), at(2000, 8, 10, 15)));
    EXPECT_EQ(row->layer(), layers->idAt(1));
    const auto file = inFile("another");
    ASSERT_TRUE(file);
    EXPECT_TRUE(sameTime(file->first, at(2000, 8, 10, 14)));
    EXPECT_EQ(boxes(5, "another").size(), 1u) << "the grid shows the new event";

    // An accent opens nothing; the next character opens the editor with both.
    QTest::mouseClick(grid(), Qt::LeftButton, {}, cell(3, 49)); // Tuesday 12:00
    ASSERT_TRUE(win->viewDates().hasSelection());
    QTest::keyClick(grid(), '^');
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    whenModal([&](QWidget *w) {
        subjectShown = w->findChild<QLineEdit *>(QStringLiteral("subject"))->text();
        click(w, "Cancel");
    });
    QTest::keyClick(grid(), 'e');
    EXPECT_EQ(subjectShown, "^e");
    EXPECT_EQ(events->eventCount(), 2) << "cancelled";
}

TEST_F(EditingWindow, DoubleClickOnFreeTimeAndTheNewButtonOpenTheEditor)
{
    whenModal([&](QWidget *w) {
        QTest::keyClicks(w->findChild<QLineEdit *>(QStringLiteral("subject")), "Dentist");
        click(w, "OK");
    });
    QTest::mouseDClick(grid(), Qt::LeftButton, {}, cell(6, 37)); // Friday 09:00
    QApplication::processEvents();
    const auto dentist = eventWithSubject("Dentist");
    ASSERT_TRUE(dentist);
    EXPECT_TRUE(sameTime(dentist->startTime(), at(2000, 8, 11, 9)));
    EXPECT_TRUE(sameTime(dentist->endTime(), at(2000, 8, 11, 9, 15)));
    EXPECT_EQ(boxes(6, "Dentist").size(), 1u);

    // The New button with no range selected: the selected day (today) for one row. Cancel
    // first writes nothing.
    grid()->clearSelections();
    win->viewDates().clearSelection();
    whenModal([&](QWidget *w) { click(w, "Cancel"); });
    QTest::mouseClick(win->panels().newButton(), Qt::LeftButton);
    EXPECT_EQ(events->eventCount(), 2);
    // It goes into the layer current in the navigator's layer list (row 0 is the header).
    const int home = layers->insertLayer(3, QStringLiteral("Home"), true, 7, 1, 30).id;
    win->refresh();
    NavigatorLayerList *list = win->navigator().layerList();
    QTest::mouseClick(list, Qt::LeftButton, {},
                      list->cellRect(0, layers->positionOf(home)).center());
    ASSERT_EQ(list->currentLayerId(), home);
    whenModal([&](QWidget *w) {
        QTest::keyClicks(w->findChild<QLineEdit *>(QStringLiteral("subject")), "Early");
        click(w, "OK");
    });
    QTest::mouseClick(win->panels().newButton(), Qt::LeftButton);
    QApplication::processEvents();
    const auto early = eventWithSubject("Early");
    ASSERT_TRUE(early);
    EXPECT_EQ(early->layer(), home);
    EXPECT_TRUE(sameTime(early->startTime(), at(2000, 8, 9)));
    EXPECT_TRUE(sameTime(early->endTime(), at(2000, 8, 9, 0, 15)));
    EXPECT_TRUE(inFile("Early"));
}

TEST_F(EditingWindow, EditingIntoAWeeklyMondayFridayRuleShowsItsOccurrences)
{
    // A double click on "Planning" opens it; "Recurrent Event..." makes it weekly on Monday
    // and Friday.
    const SpanItem *box = nullptr;
    for (const SpanItem &i : events->collections().day.timeItems(4))
        if (i.id == planning) box = &i;
    ASSERT_NE(box, nullptr);
    whenModal([&](QWidget *editor) {
        whenModal([&](QWidget *rec) {
            click(rec, "Weekly");
            click(rec, "Monday");
            click(rec, "Wednesday");
            click(rec, "Friday");
            click(rec, "OK");
        });
        click(editor, "Recurrent Event...");
        click(editor, "OK");
    });
    QTest::mouseDClick(grid(), Qt::LeftButton, {}, QPoint(box->left + 10, box->top + 10));
    QApplication::processEvents();
    ASSERT_TRUE(events->event(planning)->isRecurring());
    EXPECT_EQ((*events->event(planning))[EventField::Weekdays].toString(), "0100010");
    // This week: begins Wednesday, so Friday only.
    EXPECT_TRUE(boxes(2, "Planning").empty());
    EXPECT_TRUE(boxes(4, "Planning").empty());
    ASSERT_EQ(boxes(6, "Planning").size(), 1u);
    EXPECT_TRUE(sameTime(boxes(6, "Planning")[0], at(2000, 8, 11, 10)));

    // Next week, with 18 August an exception (as deleting that occurrence leaves it).
    EventRow row = *events->event(planning);
    row[EventField::ExceptionList] = QString::number(DateTimeValue::dayOf(at(2000, 8, 18)));
    ASSERT_TRUE(events->updateEvent(row).ok());
    win->stepNext();
    ASSERT_EQ(boxes(2, "Planning").size(), 1u);
    EXPECT_TRUE(sameTime(boxes(2, "Planning")[0], at(2000, 8, 14, 10)));
    EXPECT_TRUE(boxes(6, "Planning").empty());

    // Editing the subject keeps the exception; removing the exceptions brings 18 August back.
    whenModal([&](QWidget *editor) {
        auto *subject = editor->findChild<QLineEdit *>(QStringLiteral("subject"));
        QTest::keyClicks(subject, " II");
        click(editor, "OK");
    });
    ASSERT_TRUE(win->eventEditing().editEvent(planning));
    QApplication::processEvents();
    EXPECT_TRUE(boxes(6, "Planning II").empty());
    EXPECT_EQ(boxes(2, "Planning II").size(), 1u);
    whenModal([&](QWidget *editor) {
        click(editor, "Remove Exceptions");
        click(editor, "OK");
    });
    ASSERT_TRUE(win->eventEditing().editEvent(planning));
    QApplication::processEvents();
    EXPECT_EQ(boxes(6, "Planning II").size(), 1u);
    EXPECT_TRUE((*events->event(planning))[EventField::ExceptionList].isNull());
}

TEST_F(EditingWindow, ASecondStartClosesTheRecurrenceEditorAndThenTheEventEditor)
{
    const EventRow before = *events->event(planning);
    EventEditor &editor = win->eventEditing().editor();
    bool recurrenceLeftOpen = true;
    whenModal([&](QWidget *) {
        whenModal([&](QWidget *rec) {
            click(rec, "Weekly");
            win->wakeUp(0);
            recurrenceLeftOpen = rec->isVisible();
        });
        click(&editor, "Recurrent Event...");
    });
    EXPECT_FALSE(win->eventEditing().editEvent(planning));
    EXPECT_FALSE(recurrenceLeftOpen);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_FALSE(editor.recurrenceEditor().isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(*events->event(planning), before);
}
