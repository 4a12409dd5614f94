// The event editor and the recurrence editor over real stores in a temporary data folder,
// driven with key and mouse events: what OK stores, what Cancel leaves alone, the checks of the
// recurrence editor and the faults they must not have (half-written rules, writes to an event
// that is gone, a vanished layer).
#include "dialogs/EventEditor.h"
#include "ModalDriver.h"
#include "core/Clock.h"
#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "core/ViewDates.h"
#include "dialogs/DatePopup.h"
#include "dialogs/RecurrenceEditor.h"
#include "dialogs/RecurrenceSummary.h"
#include "store/EventsStore.h"
#include "store/LayersStore.h"
#include "store/RecurrenceColumns.h"
#include "support/TestEnv.h"
#include "views/NavigatorCalendar.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

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

DateTimeFormat ddmmyyyy24()
{
    DateTimeFormat f(QLocale(QLocale::English, QLocale::UnitedStates));
    f.buildDateFormat(5, 1); // dd-mm-yyyy
    f.buildTimeFormat(2, 1); // hh:mm
    return f;
}

template <class W> W *child(QWidget *parent, const char *name)
{
    W *w = parent->findChild<W *>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

QPushButton *button(QWidget *parent, const QString &caption)
{
    for (QPushButton *b : parent->findChildren<QPushButton *>())
        if (b->text() == caption && b->isVisibleTo(parent)) return b;
    ADD_FAILURE() << "no button " << caption.toStdString();
    return nullptr;
}

QRadioButton *radio(QWidget *parent, const QString &caption, int nth = 0)
{
    for (QRadioButton *b : parent->findChildren<QRadioButton *>())
        if (b->text() == caption && b->isVisibleTo(parent) && nth-- == 0) return b;
    ADD_FAILURE() << "no radio button " << caption.toStdString();
    return nullptr;
}

// Replaces the text of a line edit (or an editable combo box's) as the user would, then
// leaves it with Tab.
void typeInto(QWidget *w, const QString &text)
{
    QWidget *target = w;
    if (auto *box = qobject_cast<QComboBox *>(w)) target = box->lineEdit();
    target->setFocus();
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(target, text);
}

void leave(QWidget *w)
{
    QTest::keyClick(w, Qt::Key_Tab);
}

class Editors : public ::testing::Test
{
protected:
    QString dir = TestEnv::freshDir("editors") + "/";
    Clock clock;
    ViewDates time{clock};
    LayersStore layers{dir, clock};
    EventsStore events{dir, layers, time, clock};
    DateTimeFormat format = ddmmyyyy24();
    QStringList warnings;
    QStringList questions;
    bool confirmAnswer = true;
    DialogPrompts prompts{[this](const QString &t) { warnings << t; },
                          [this](const QString &t) {
                              questions << t;
                              return confirmAnswer;
                          }};
    Settings reg{{dir + "dayloom.ini", dir, dir + "dayloom.desktop", "/opt/dayloom/dayloom"}};
    EventEditor editor{events, layers, format, clock, reg, prompts, nullptr};
    int workId = layers.insertLayer(2, QStringLiteral("Work"), true, 3, 1, 30).id;

    int addEvent(SerialDateTime start, SerialDateTime end, const QString &subject, int layer)
    {
        const InsertResult r = events.insertEvent(EventRow(QVariantList{
            QVariant(), layer, start, end, false, false, 15, 1, subject, QString(), false}));
        EXPECT_TRUE(r.ok());
        return r.id;
    }
    void open(int id)
    {
        ASSERT_TRUE(editor.prepareExisting(id));
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    }
    RecurrenceEditor &rec() { return editor.recurrenceEditor(); }
};
} // namespace

TEST_F(Editors, OneTimeEventTimesKeepOrderAndOkWritesTheEventItWasOpenedOn)
{
    const int meeting = addEvent(at(2000, 7, 7, 10), at(2000, 7, 7, 11), "Meeting", workId);
    const int other = addEvent(at(2000, 7, 8, 9), at(2000, 7, 8, 10), "Other", workId);
    open(meeting);
    // Start 12:00 pushes the end (11:00) to 12:00.
    typeInto(child<QComboBox>(&editor, "startTime"), "12:00");
    leave(child<QComboBox>(&editor, "startTime")->lineEdit());
    EXPECT_TRUE(sameTime(editor.endTime(), at(2000, 7, 7, 12)));
    // An end date before the start pulls the start back; Enter applies it and opens nothing.
    typeInto(child<QLineEdit>(&editor, "endDate"), "5");
    QTest::keyClick(child<QLineEdit>(&editor, "endDate"), Qt::Key_Return);
    EXPECT_FALSE(rec().isVisible());
    EXPECT_TRUE(editor.isVisible());
    EXPECT_TRUE(sameTime(editor.startTime(), at(2000, 7, 5, 12)));
    EXPECT_TRUE(warnings.isEmpty());
    // The other event changes meanwhile; OK still writes the meeting, and only it.
    EventRow changed = *events.event(other);
    changed[EventField::Subject] = QStringLiteral("Other, moved");
    ASSERT_TRUE(events.updateEvent(changed).ok());
    QTest::mouseClick(button(&editor, "OK"), Qt::LeftButton);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(editor.savedId(), meeting);
    EXPECT_TRUE(sameTime(events.event(meeting)->startTime(), at(2000, 7, 5, 12)));
    EXPECT_TRUE(sameTime(events.event(meeting)->endTime(), at(2000, 7, 5, 12)));
    EXPECT_EQ(events.event(other)->subject(), "Other, moved");
    EXPECT_TRUE(sameTime(events.event(other)->startTime(), at(2000, 7, 8, 9)));
}

TEST_F(Editors, OkOnAnEventDeletedMeanwhileSaysSoAndWritesNothing)
{
    const int gone = addEvent(at(2000, 7, 7, 10), at(2000, 7, 7, 11), "Gone", workId);
    const int kept = addEvent(at(2000, 7, 8, 9), at(2000, 7, 8, 10), "Kept", workId);
    open(gone);
    typeInto(child<QLineEdit>(&editor, "subject"), "Renamed");
    ASSERT_TRUE(events.deleteEvent(gone).ok());
    const EventRow keptBefore = *events.event(kept);
    QTest::keyClick(child<QLineEdit>(&editor, "subject"), Qt::Key_Return);
    EXPECT_EQ(warnings, QStringList{"This event no longer exists."});
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(editor.savedId(), -1);
    EXPECT_EQ(events.eventCount(), 1);
    EXPECT_EQ(*events.event(kept), keptBefore);
}

TEST_F(Editors, CtrlEnterAppliesTheFocusedBoxAndAnInvalidEntryKeepsTheDialogOpen)
{
    const int id = addEvent(at(2000, 7, 7, 10), at(2000, 7, 7, 11), "Call", workId);
    open(id);
    auto *startDate = child<QLineEdit>(&editor, "startDate");
    typeInto(startDate, "45-07-2000");
    QTest::keyClick(startDate, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(warnings, QStringList{"Invalid Date"});
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.savedId(), -1);
    EXPECT_TRUE(sameTime(events.event(id)->startTime(), at(2000, 7, 7, 10)));

    auto *alarm = child<QComboBox>(&editor, "alarm");
    QTest::mouseClick(child<QCheckBox>(&editor, "alarmOn"), Qt::LeftButton, {}, QPoint(4, 8));
    typeInto(alarm, "1000 minutes");
    QTest::keyClick(alarm->lineEdit(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(warnings, (QStringList{"Invalid Date", "Invalid Time"}));
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(alarm->currentText(), "15 minutes") << "the last accepted advance again";

    // An advance and a typed end time not yet left: Ctrl+Enter applies the time, then OK.
    typeInto(alarm, "2 Hours");
    leave(alarm->lineEdit());
    EXPECT_EQ(alarm->currentText(), "2 hours");
    auto *endTime = child<QComboBox>(&editor, "endTime");
    typeInto(endTime, "1330");
    QTest::keyClick(endTime->lineEdit(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(editor.isVisible());
    const EventRow stored = *events.event(id);
    EXPECT_TRUE(sameTime(stored.endTime(), at(2000, 7, 7, 13, 30)));
    EXPECT_TRUE(stored.alarmSet());
    EXPECT_EQ(stored[EventField::AlarmAdvance].toInt(), 2);
    EXPECT_EQ(stored[EventField::AlarmAdvanceUnit].toInt(), 2);
}

TEST_F(Editors, AnEventOfAVanishedLayerOpensInTheFirstLayerAndIsStoredThere)
{
    const int id = addEvent(at(2000, 7, 7, 10), at(2000, 7, 7, 11), "Orphan", 9999);
    open(id);
    auto *layerBox = child<QComboBox>(&editor, "layer");
    EXPECT_EQ(layerBox->currentIndex(), 0);
    QTest::mouseClick(button(&editor, "OK"), Qt::LeftButton);
    EXPECT_EQ(events.event(id)->layer(), layers.idAt(1));
}

TEST_F(Editors, AllDayEventShowsItsLastDayAndKeepsItsEnd)
{
    const int id = addEvent(at(2000, 7, 7), at(2000, 7, 9), "Trip", workId);
    open(id);
    EXPECT_TRUE(child<QCheckBox>(&editor, "allDay")->isChecked());
    auto *endDate = child<QLineEdit>(&editor, "endDate");
    EXPECT_EQ(endDate->text(), "Sa 08-07-2000");
    endDate->setFocus();
    leave(endDate);
    QTest::mouseClick(button(&editor, "OK"), Qt::LeftButton);
    EXPECT_TRUE(sameTime(events.event(id)->endTime(), at(2000, 7, 9)));
    EXPECT_TRUE(events.event(id)->isAllDay());
}

TEST_F(Editors, CancelledRecurrenceEditorLeavesTheEventAsItWas)
{
    const int id = addEvent(at(2000, 7, 3, 10), at(2000, 7, 3, 11), "Standup", workId);
    open(id);
    whenModal([&](QWidget *w) {
        ASSERT_EQ(w, &rec());
        // Weekly with no day, then a days-after value: refused, then cancelled.
        QTest::mouseClick(radio(w, "Weekly"), Qt::LeftButton);
        QTest::mouseClick(child<QCheckBox>(w, "Monday"), Qt::LeftButton); // the start's day off
        typeInto(child<QComboBox>(w, "daysAfter"), "3");
        leave(child<QComboBox>(w, "daysAfter")->lineEdit());
        QTest::mouseClick(button(w, "OK"), Qt::LeftButton);
        EXPECT_EQ(warnings, QStringList{"The repeating pattern is not legal."});
        EXPECT_TRUE(w->isVisible());
        QTest::mouseClick(button(w, "Cancel"), Qt::LeftButton);
    });
    QTest::mouseClick(button(&editor, "Recurrent Event..."), Qt::LeftButton);
    EXPECT_FALSE(rec().isVisible());
    EXPECT_FALSE(editor.isRecurring());
    EXPECT_TRUE(sameTime(editor.startTime(), at(2000, 7, 3, 10)));
    EXPECT_TRUE(sameTime(editor.endTime(), at(2000, 7, 3, 11)));
    QTest::mouseClick(button(&editor, "OK"), Qt::LeftButton);
    const EventRow stored = *events.event(id);
    EXPECT_FALSE(stored.isRecurring());
    EXPECT_TRUE(stored[EventField::Weekdays].isNull());
    EXPECT_TRUE(stored[EventField::RadioButton1].isNull());
    EXPECT_TRUE(sameTime(stored.endTime(), at(2000, 7, 3, 11)));
}

TEST_F(Editors, RecurrenceOkStoresTheRuleAndTheEndOfTheRecurrence)
{
    const int id = addEvent(at(2000, 7, 3, 10), at(2000, 7, 3, 11), "Gym", workId); // Monday
    open(id);
    whenModal([&](QWidget *w) {
        // Every 2 days, ending after 3 events: Monday, Wednesday, Friday.
        typeInto(child<QLineEdit>(w, "dayInterval"), "2");
        typeInto(child<QLineEdit>(w, "count"), "3");
        EXPECT_TRUE(radio(w, "Ends after:")->isChecked()) << "typing the count chose it";
        typeInto(child<QComboBox>(w, "daysAfter"), "12");
        leave(child<QComboBox>(w, "daysAfter")->lineEdit());
        EXPECT_EQ(child<QComboBox>(w, "daysAfter")->currentText(), "12 days after");
        QTest::mouseClick(button(w, "OK"), Qt::LeftButton);
    });
    QTest::mouseClick(button(&editor, "Recurrent Event..."), Qt::LeftButton);
    ASSERT_TRUE(editor.isRecurring());
    EXPECT_EQ(child<QLabel>(&editor, "summary")->text(),
              "Every 2 days, 10:00 - 11:00 (12 days after), from Mo 03-07-2000, 3 times");
    QTest::mouseClick(button(&editor, "OK"), Qt::LeftButton);
    const RecurrenceRule r = *events.rule(id);
    EXPECT_TRUE(events.event(id)->isRecurring());
    EXPECT_EQ(r.pattern, Recurrence::Pattern::Daily);
    EXPECT_EQ(r.interval, 2);
    EXPECT_EQ(r.endRule, Recurrence::EndRule::AfterCount);
    EXPECT_EQ(r.occurrenceCount, 3);
    EXPECT_EQ(r.extraDays, 12);
    EXPECT_TRUE(sameTime(r.endTime, at(2000, 7, 7, 11)));
    EXPECT_TRUE(sameTime(r.startTime, at(2000, 7, 3, 10)));
}

TEST_F(Editors, RecurrenceChecksDatesOfMonthsAndAsksAboutShortMonths)
{
    RecurrenceEditor &r = rec();
    r.prepareNew(at(2000, 1, 20, 9), at(2000, 1, 20, 10));
    r.show();
    // Monthly on day 31: the question; Cancel keeps the dialog open with nothing set.
    QTest::mouseClick(radio(&r, "Monthly"), Qt::LeftButton);
    typeInto(child<QLineEdit>(&r, "monthDayOfMonth"), "31");
    confirmAnswer = false;
    QTest::mouseClick(button(&r, "OK"), Qt::LeftButton);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith("Some months have less then 31 days."));
    EXPECT_TRUE(r.isVisible());
    EXPECT_EQ(r.outcome(), RecurrenceEditor::Outcome::Cancelled);
    // Day 32 and a month interval that is not a number are refused.
    typeInto(child<QLineEdit>(&r, "monthDayOfMonth"), "32");
    QTest::mouseClick(button(&r, "OK"), Qt::LeftButton);
    typeInto(child<QLineEdit>(&r, "monthDayOfMonth"), "15");
    typeInto(child<QLineEdit>(&r, "monthDayInterval"), "x");
    QTest::mouseClick(button(&r, "OK"), Qt::LeftButton);
    EXPECT_EQ(warnings.size(), 2);
    EXPECT_EQ(questions.size(), 1);
    // Yearly on 30 February is refused; 29 February asks.
    QTest::mouseClick(radio(&r, "Yearly"), Qt::LeftButton);
    child<QComboBox>(&r, "yearFixedMonth")->setCurrentIndex(1);
    typeInto(child<QLineEdit>(&r, "yearDayOfMonth"), "30");
    QTest::mouseClick(button(&r, "OK"), Qt::LeftButton);
    EXPECT_EQ(warnings.size(), 3);
    EXPECT_EQ(warnings.last(), "The repeating pattern is not legal.");
    typeInto(child<QLineEdit>(&r, "yearDayOfMonth"), "29");
    confirmAnswer = true;
    // Ends on a date before the first occurrence: the first occurrence is stored as the end.
    QTest::mouseClick(radio(&r, "Ends:"), Qt::LeftButton);
    QTest::mouseClick(button(&r, "OK"), Qt::LeftButton);
    EXPECT_EQ(questions.size(), 2);
    ASSERT_EQ(r.outcome(), RecurrenceEditor::Outcome::RuleSet);
    EXPECT_FALSE(r.isVisible());
    EXPECT_EQ(r.result().month, 2);
    EXPECT_EQ(r.result().dayOfMonth, 29);
    EXPECT_TRUE(sameTime(r.result().endTime, at(2000, 2, 29, 10)));
}

TEST_F(Editors, RecurrenceTimesKeepOrderOnTheSameDayAndBadDaysAfterWarns)
{
    RecurrenceEditor &r = rec();
    r.prepareNew(at(2000, 1, 20, 9), at(2000, 1, 20, 10));
    r.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&r));
    typeInto(child<QComboBox>(&r, "startTime"), "11:30");
    leave(child<QComboBox>(&r, "startTime")->lineEdit());
    EXPECT_EQ(child<QComboBox>(&r, "endTime")->currentText(), "11:30");
    typeInto(child<QComboBox>(&r, "daysAfter"), "abc");
    leave(child<QComboBox>(&r, "daysAfter")->lineEdit());
    EXPECT_EQ(child<QComboBox>(&r, "daysAfter")->currentText(), "same day");
    EXPECT_EQ(warnings, QStringList{"Invalid Number"});
}

TEST_F(Editors, ADayPickedInTheDropDownCalendarMovesTheStartAndThePopupCloses)
{
    const int id = addEvent(at(2000, 7, 7, 10), at(2000, 7, 7, 11), "Review", workId);
    open(id);
    QToolButton *drop = editor.findChildren<QToolButton *>().value(0);
    ASSERT_NE(drop, nullptr);
    QTest::mouseClick(drop, Qt::LeftButton);
    auto *popup = editor.findChild<DatePopup *>();
    ASSERT_TRUE(popup && popup->isVisible());
    NavigatorCalendar &cal = popup->calendar();
    EXPECT_EQ(cal.selectedDate(), at(2000, 7, 7));
    QPoint target;
    for (int row = 0; row < 6; ++row)
        for (int col = 0; col < 7; ++col)
            if (cal.cellDate(col, row) == at(2000, 7, 20)) target = cal.cellRect(col, row).center();
    QTest::mouseClick(&cal, Qt::LeftButton, {}, target);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(child<QLineEdit>(&editor, "startDate")->text(), "Th 20-07-2000");
    EXPECT_TRUE(sameTime(editor.startTime(), at(2000, 7, 20, 10)));
    EXPECT_TRUE(sameTime(editor.endTime(), at(2000, 7, 20, 10))) << "the end follows the start";
}
