#include "dialogs/RecurrenceEditor.h"

#include "core/AlarmAdvanceText.h"
#include "core/DateTextHelpers.h"
#include "core/DateTimeFormat.h"
#include "core/ViewDates.h"
#include "dialogs/DateBox.h"
#include "dialogs/DatePopup.h"
#include "dialogs/DialogPanel.h"
#include "dialogs/TimeBox.h"
#include <QToolButton>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace
{
using Pattern = Recurrence::Pattern;
using Variant = Recurrence::Variant;
using EndRule = Recurrence::EndRule;

const QString NotLegal = QStringLiteral("The repeating pattern is not legal.");

constexpr std::array<QStringView, 5> OrdinalNames{u"first", u"second", u"third", u"fourth",
                                                  u"last"};
constexpr std::array<QStringView, 10> KindNames{u"Day",    u"Workday", u"Holiday",   u"Sunday",
                                                u"Monday", u"Tuesday", u"Wednesday", u"Thursday",
                                                u"Friday", u"Saturday"};

constexpr auto dayPart = &DateBox::dayPart;
constexpr auto timePart = &DateBox::timePart;

template <std::size_t N>
QComboBox *listBox(const std::array<QStringView, N> &items, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    for (QStringView s : items)
        box->addItem(s.toString());
    return box;
}

QLineEdit *numberEdit(const QString &name, QWidget *parent)
{
    auto *e = new QLineEdit(QStringLiteral("1"), parent);
    e->setObjectName(name);
    e->setMaxLength(RecurrenceEditor::NumberLength);
    e->setFixedWidth(36);
    return e;
}

// The number an edit holds; nullopt when its text is not a whole number.
std::optional<int> numberIn(const QLineEdit *edit)
{
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

// A positive number in the edit, else nullopt.
std::optional<int> positiveIn(const QLineEdit *edit)
{
    const auto v = numberIn(edit);
    return v && *v > 0 ? v : std::nullopt;
}

QLabel *label(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}

// Week index of day of month d for the ordinal list: 0 first ... 4 last.
int weekIndexOf(int dayOfMonth)
{
    return std::min((dayOfMonth + 6) / 7 - 1, 4);
}

// Entry of the kind list for a weekday 1 = Sunday ... 7 = Saturday.
int kindIndexOf(int dayOfWeek)
{
    return dayOfWeek + 2;
}
} // namespace

RecurrenceEditor::RecurrenceEditor(const DateTimeFormat &format, const Clock &clock,
                                   const Settings &settings, DialogPrompts prompts, QWidget *parent)
    : QDialog(parent), m_format(format), m_prompts(std::move(prompts))
{
    m_datePopup = new DatePopup(clock, settings, m_format, this);
    setWindowTitle(QStringLiteral("Recurrent Event"));
    DialogPanel::paintDialogBackground(*this);
    buildControls();
    DialogPanel::takeChildKeys(*this);
    prepareNew(0, 0);
}

QString RecurrenceEditor::daysAfterText(int days)
{
    if (days == 0) return QStringLiteral("same day");
    if (days == 1) return QStringLiteral("1 day after");
    return QString::number(days) + QStringLiteral(" days after");
}

std::optional<int> RecurrenceEditor::readDaysAfter(const QString &text)
{
    if (text.trimmed() == QLatin1String("same day")) return 0;
    return firstNumberBelow(text, MaxDaysAfter + 1);
}

// ---------------------------------------------------------------------------------------------
// Controls.

void RecurrenceEditor::buildControls()
{
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(10, 10, 10, 10);
    top->setSpacing(8);

    auto *timePanel = new DialogPanel(QStringLiteral("Time"), this);
    auto *timeGrid = new QHBoxLayout(timePanel->body());
    m_startTime = new TimeBox(m_format, timePanel->body());
    m_endTime = new TimeBox(m_format, timePanel->body());
    m_daysAfterBox = new QComboBox(timePanel->body());
    m_daysAfterBox->setObjectName(QStringLiteral("daysAfter"));
    m_daysAfterBox->setEditable(true);
    m_daysAfterBox->setInsertPolicy(QComboBox::NoInsert);
    for (int d = 0; d <= 5; ++d)
        m_daysAfterBox->addItem(daysAfterText(d));
    m_startTime->setObjectName(QStringLiteral("startTime"));
    m_endTime->setObjectName(QStringLiteral("endTime"));
    timeGrid->addWidget(label(QStringLiteral("Begins:"), timePanel->body()));
    timeGrid->addWidget(m_startTime);
    timeGrid->addSpacing(12);
    timeGrid->addWidget(label(QStringLiteral("Ends:"), timePanel->body()));
    timeGrid->addWidget(m_endTime);
    timeGrid->addWidget(m_daysAfterBox);
    timeGrid->addStretch();
    top->addWidget(timePanel);
    connect(m_startTime, &TimeBox::applied, this, &RecurrenceEditor::startTimeApplied);
    connect(m_endTime, &TimeBox::applied, this, &RecurrenceEditor::endTimeApplied);
    connect(m_daysAfterBox->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (isVisible()) applyDaysAfter();
    });
    connect(m_daysAfterBox, &QComboBox::activated, this, [this] { applyDaysAfter(); });

    auto *middle = new QHBoxLayout;
    auto *repeatPanel = new DialogPanel(QStringLiteral("Repeat"), this);
    auto *repeatBox = new QVBoxLayout(repeatPanel->body());
    auto *patternGroup = new QButtonGroup(this);
    const std::array<QString, 4> patternNames{QStringLiteral("Daily"), QStringLiteral("Weekly"),
                                              QStringLiteral("Monthly"), QStringLiteral("Yearly")};
    for (int i = 0; i < 4; ++i) {
        m_patternButtons[std::size_t(i)] =
            new QRadioButton(patternNames[std::size_t(i)], repeatPanel->body());
        patternGroup->addButton(m_patternButtons[std::size_t(i)], i);
        repeatBox->addWidget(m_patternButtons[std::size_t(i)]);
    }
    repeatBox->addStretch();
    connect(patternGroup, &QButtonGroup::idClicked, this, &RecurrenceEditor::showPattern);
    middle->addWidget(repeatPanel);

    auto *occursPanel = new DialogPanel(QStringLiteral("Occurs"), this);
    auto *occursBox = new QVBoxLayout(occursPanel->body());
    m_patternPages = new QStackedWidget(occursPanel->body());
    m_patternPages->addWidget(buildDailyPage());
    m_patternPages->addWidget(buildWeeklyPage());
    m_patternPages->addWidget(buildMonthlyPage());
    m_patternPages->addWidget(buildYearlyPage());
    occursBox->addWidget(m_patternPages);
    middle->addWidget(occursPanel, 1);
    top->addLayout(middle);

    auto *bottom = new QHBoxLayout;
    auto *periodPanel = new DialogPanel(QStringLiteral("Period"), this);
    auto *period = new QGridLayout(periodPanel->body());
    m_beginDate = new DateBox(m_format, periodPanel->body());
    m_beginDate->setObjectName(QStringLiteral("beginDate"));
    m_endDate = new DateBox(m_format, periodPanel->body());
    m_endDate->setObjectName(QStringLiteral("endDate"));
    m_endsOnDate = new QRadioButton(QStringLiteral("Ends:"), periodPanel->body());
    m_endsAfter = new QRadioButton(QStringLiteral("Ends after:"), periodPanel->body());
    m_count = numberEdit(QStringLiteral("count"), periodPanel->body());
    m_neverEnds = new QRadioButton(QStringLiteral("Never ends"), periodPanel->body());
    period->addWidget(label(QStringLiteral("Begins:"), periodPanel->body()), 0, 0);
    period->addWidget(m_beginDate, 0, 1, 1, 2);
    period->addWidget(m_datePopup->dropButtonFor(
                          m_beginDate, [this] { return m_begin; }, [this] { beginDateEntered(); }),
                      0, 3);
    period->addWidget(m_endsOnDate, 1, 0);
    period->addWidget(m_endDate, 1, 1, 1, 2);
    period->addWidget(m_datePopup->dropButtonFor(
                          m_endDate, [this] { return m_end; },
                          [this] {
                              m_endsOnDate->setChecked(true);
                              endDateEntered();
                          }),
                      1, 3);
    period->addWidget(m_endsAfter, 2, 0);
    period->addWidget(m_count, 2, 1);
    period->addWidget(label(QStringLiteral("event(s)"), periodPanel->body()), 2, 2);
    period->addWidget(m_neverEnds, 3, 0, 1, 3);
    period->setColumnStretch(2, 1);
    ownedBy(m_count, m_endsAfter);
    connect(m_endDate, &QLineEdit::textEdited, m_endsOnDate,
            [this] { m_endsOnDate->setChecked(true); });
    connect(m_beginDate, &QLineEdit::editingFinished, this, [this] {
        if (isVisible()) beginDateEntered();
    });
    connect(m_endDate, &QLineEdit::editingFinished, this, [this] {
        if (isVisible()) endDateEntered();
    });
    bottom->addWidget(periodPanel, 1);

    auto *exceptionsPanel = new DialogPanel(QStringLiteral("Exceptions"), this);
    auto *exceptions = new QVBoxLayout(exceptionsPanel->body());
    m_exceptionList = new QListWidget(exceptionsPanel->body());
    m_exceptionList->setObjectName(QStringLiteral("exceptionList"));
    m_exceptionList->setSelectionMode(QAbstractItemView::NoSelection);
    m_exceptionList->setFocusPolicy(Qt::NoFocus);
    m_exceptionList->setFixedHeight(72);
    m_removeExceptions =
        new QPushButton(QStringLiteral("Remove Exceptions"), exceptionsPanel->body());
    exceptions->addWidget(m_exceptionList);
    exceptions->addWidget(m_removeExceptions);
    connect(m_removeExceptions, &QPushButton::clicked, this, [this] {
        m_exceptionDays.clear();
        showExceptions();
    });
    bottom->addWidget(exceptionsPanel);
    top->addLayout(bottom);

    auto *buttons = new QHBoxLayout;
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_remove = new QPushButton(QStringLiteral("Remove"), this);
    for (QPushButton *b : {m_ok, m_cancel, m_remove}) {
        b->setFixedWidth(90);
    }
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    top->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &RecurrenceEditor::acceptRule);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_remove, &QPushButton::clicked, this, &RecurrenceEditor::removeRecurrence);

    DialogPanel::setTabChain({m_startTime, m_endTime, m_daysAfterBox, m_patternButtons[0],
                              m_patternButtons[1], m_patternButtons[2], m_patternButtons[3]});
    DialogPanel::setTabChain({m_beginDate, m_endsOnDate, m_endDate, m_endsAfter, m_count,
                              m_neverEnds, m_removeExceptions, m_ok, m_cancel, m_remove});
}

QWidget *RecurrenceEditor::buildDailyPage()
{
    auto *page = new QWidget(m_patternPages);
    auto *grid = new QGridLayout(page);
    auto *group = new QButtonGroup(page);
    m_everyNDays = new QRadioButton(QStringLiteral("Every"), page);
    m_dayInterval = numberEdit(QStringLiteral("dayInterval"), page);
    m_everyWorkday = new QRadioButton(QStringLiteral("Every workday"), page);
    group->addButton(m_everyNDays);
    group->addButton(m_everyWorkday);
    grid->addWidget(m_everyNDays, 0, 0);
    grid->addWidget(m_dayInterval, 0, 1);
    grid->addWidget(label(QStringLiteral("day"), page), 0, 2);
    grid->addWidget(m_everyWorkday, 1, 0, 1, 3);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(2, 1);
    ownedBy(m_dayInterval, m_everyNDays);
    return page;
}

QWidget *RecurrenceEditor::buildWeeklyPage()
{
    auto *page = new QWidget(m_patternPages);
    auto *grid = new QGridLayout(page);
    m_weekInterval = numberEdit(QStringLiteral("weekInterval"), page);
    auto *every = new QHBoxLayout;
    every->addWidget(label(QStringLiteral("Every"), page));
    every->addWidget(m_weekInterval);
    every->addWidget(label(QStringLiteral("week on"), page));
    every->addStretch();
    grid->addLayout(every, 0, 0, 1, 4);
    for (int d = 0; d < 7; ++d) {
        auto *box = new QCheckBox(ViewDates::DayNames[std::size_t(d)].toString(), page);
        box->setObjectName(ViewDates::DayNames[std::size_t(d)].toString());
        m_weekdayBoxes[std::size_t(d)] = box;
        grid->addWidget(box, 1 + d / 4, d % 4);
    }
    grid->setRowStretch(3, 1);
    return page;
}

QWidget *RecurrenceEditor::buildMonthlyPage()
{
    auto *page = new QWidget(m_patternPages);
    auto *grid = new QGridLayout(page);
    auto *group = new QButtonGroup(page);
    m_monthDay = new QRadioButton(QStringLiteral("Day"), page);
    m_monthDayOfMonth = numberEdit(QStringLiteral("monthDayOfMonth"), page);
    m_monthDayInterval = numberEdit(QStringLiteral("monthDayInterval"), page);
    m_monthNth = new QRadioButton(page);
    m_monthOrdinal = listBox(OrdinalNames, page);
    m_monthKind = listBox(KindNames, page);
    m_monthNthInterval = numberEdit(QStringLiteral("monthNthInterval"), page);
    group->addButton(m_monthDay);
    group->addButton(m_monthNth);

    auto *first = new QHBoxLayout;
    first->addWidget(m_monthDay);
    first->addWidget(m_monthDayOfMonth);
    first->addWidget(label(QStringLiteral("every"), page));
    first->addWidget(m_monthDayInterval);
    first->addWidget(label(QStringLiteral("month"), page));
    first->addStretch();
    auto *second = new QHBoxLayout;
    second->addWidget(m_monthNth);
    second->addWidget(m_monthOrdinal);
    second->addWidget(m_monthKind);
    second->addWidget(label(QStringLiteral("every"), page));
    second->addWidget(m_monthNthInterval);
    second->addWidget(label(QStringLiteral("month"), page));
    second->addStretch();
    grid->addLayout(first, 0, 0);
    grid->addLayout(second, 1, 0);
    grid->setRowStretch(2, 1);
    ownedBy(m_monthDayOfMonth, m_monthDay);
    ownedBy(m_monthDayInterval, m_monthDay);
    ownedBy(m_monthOrdinal, m_monthNth);
    ownedBy(m_monthKind, m_monthNth);
    ownedBy(m_monthNthInterval, m_monthNth);
    return page;
}

QWidget *RecurrenceEditor::buildYearlyPage()
{
    auto *page = new QWidget(m_patternPages);
    auto *grid = new QGridLayout(page);
    auto *group = new QButtonGroup(page);
    m_yearFixed = new QRadioButton(QStringLiteral("Every"), page);
    m_yearFixedMonth = listBox(ViewDates::MonthNames, page);
    m_yearDayOfMonth = numberEdit(QStringLiteral("yearDayOfMonth"), page);
    m_yearNth = new QRadioButton(QStringLiteral("Every"), page);
    m_yearOrdinal = listBox(OrdinalNames, page);
    m_yearKind = listBox(KindNames, page);
    m_yearNthMonth = listBox(ViewDates::MonthNames, page);
    m_yearFixedMonth->setObjectName(QStringLiteral("yearFixedMonth"));
    group->addButton(m_yearFixed);
    group->addButton(m_yearNth);

    auto *first = new QHBoxLayout;
    first->addWidget(m_yearFixed);
    first->addWidget(m_yearFixedMonth);
    first->addWidget(m_yearDayOfMonth);
    first->addStretch();
    auto *second = new QHBoxLayout;
    second->addWidget(m_yearNth);
    second->addWidget(m_yearOrdinal);
    second->addWidget(m_yearKind);
    second->addWidget(label(QStringLiteral("in"), page));
    second->addWidget(m_yearNthMonth);
    second->addStretch();
    grid->addLayout(first, 0, 0);
    grid->addLayout(second, 1, 0);
    grid->setRowStretch(2, 1);
    ownedBy(m_yearFixedMonth, m_yearFixed);
    ownedBy(m_yearDayOfMonth, m_yearFixed);
    ownedBy(m_yearOrdinal, m_yearNth);
    ownedBy(m_yearKind, m_yearNth);
    ownedBy(m_yearNthMonth, m_yearNth);
    return page;
}

void RecurrenceEditor::ownedBy(QLineEdit *edit, QAbstractButton *owner)
{
    connect(edit, &QLineEdit::textEdited, owner, [owner] { owner->setChecked(true); });
}

void RecurrenceEditor::ownedBy(QComboBox *box, QAbstractButton *owner)
{
    connect(box, &QComboBox::activated, owner, [owner] { owner->setChecked(true); });
}

void RecurrenceEditor::showPattern(int index)
{
    m_patternButtons[std::size_t(index)]->setChecked(true);
    m_patternPages->setCurrentIndex(index);
}

// ---------------------------------------------------------------------------------------------
// Preparing.

void RecurrenceEditor::fillFromStart(SerialDateTime start)
{
    const QDate d = DateTimeValue::toQDate(start);
    const int dow = DateTimeValue::dayOfWeek(start);
    showPattern(0);
    m_everyNDays->setChecked(true);
    m_dayInterval->setText(QStringLiteral("1"));
    m_weekInterval->setText(QStringLiteral("1"));
    for (int i = 0; i < 7; ++i)
        m_weekdayBoxes[std::size_t(i)]->setChecked(i + 1 == dow);
    m_monthDay->setChecked(true);
    m_monthDayOfMonth->setText(QString::number(d.day()));
    m_monthDayInterval->setText(QStringLiteral("1"));
    m_monthOrdinal->setCurrentIndex(weekIndexOf(d.day()));
    m_monthKind->setCurrentIndex(kindIndexOf(dow));
    m_monthNthInterval->setText(QStringLiteral("1"));
    m_yearFixed->setChecked(true);
    m_yearFixedMonth->setCurrentIndex(d.month() - 1);
    m_yearDayOfMonth->setText(QString::number(d.day()));
    m_yearOrdinal->setCurrentIndex(weekIndexOf(d.day()));
    m_yearKind->setCurrentIndex(kindIndexOf(dow));
    m_yearNthMonth->setCurrentIndex(d.month() - 1);
    m_count->setText(QStringLiteral("10"));
    m_neverEnds->setChecked(true);
}

void RecurrenceEditor::prepareNew(SerialDateTime start, SerialDateTime end)
{
    m_outcome = Outcome::Cancelled;
    m_begin = start;
    m_daysAfter =
        std::clamp(DateTimeValue::dayOf(end) - DateTimeValue::dayOf(start), 0, MaxDaysAfter);
    m_end = dayPart(start) + timePart(end);
    m_exceptionDays.clear();
    fillFromStart(start);
    m_result = RecurrenceRule{};
    m_result.startTime = start;
    m_result.endTime = end;
    m_remove->setEnabled(false);
    showTimes();
    showDates();
    showExceptions();
    m_startTime->setFocus();
}

void RecurrenceEditor::prepareExisting(const RecurrenceRule &rule)
{
    m_outcome = Outcome::Cancelled;
    m_result = rule;
    m_begin = rule.startTime;
    m_daysAfter = std::clamp(rule.extraDays, 0, MaxDaysAfter);
    m_exceptionDays = rule.exceptionDays;
    fillFromStart(rule.startTime);

    const auto comboIndex = [](int i, int count) { return i >= 0 && i < count ? i : 0; };
    switch (rule.pattern) {
    case Pattern::Daily:
        showPattern(0);
        if (rule.variant == Variant::EveryWorkday) {
            m_everyWorkday->setChecked(true);
        } else {
            m_everyNDays->setChecked(true);
            m_dayInterval->setText(QString::number(rule.interval));
        }
        break;
    case Pattern::Weekly:
        showPattern(1);
        m_weekInterval->setText(QString::number(rule.interval));
        for (int i = 0; i < 7; ++i)
            m_weekdayBoxes[std::size_t(i)]->setChecked(rule.weekdays.contains(i + 1));
        break;
    case Pattern::Monthly:
        showPattern(2);
        if (rule.variant == Variant::NthKindOfDay) {
            m_monthNth->setChecked(true);
            m_monthOrdinal->setCurrentIndex(comboIndex(int(rule.ordinal), 5));
            m_monthKind->setCurrentIndex(comboIndex(int(rule.dayKind), 10));
            m_monthNthInterval->setText(QString::number(rule.interval));
        } else {
            m_monthDay->setChecked(true);
            m_monthDayOfMonth->setText(QString::number(rule.dayOfMonth));
            m_monthDayInterval->setText(QString::number(rule.interval));
        }
        break;
    case Pattern::Yearly:
        showPattern(3);
        if (rule.variant == Variant::NthKindOfDay) {
            m_yearNth->setChecked(true);
            m_yearOrdinal->setCurrentIndex(comboIndex(int(rule.ordinal), 5));
            m_yearKind->setCurrentIndex(comboIndex(int(rule.dayKind), 10));
            m_yearNthMonth->setCurrentIndex(comboIndex(rule.month - 1, 12));
        } else {
            m_yearFixed->setChecked(true);
            m_yearFixedMonth->setCurrentIndex(comboIndex(rule.month - 1, 12));
            m_yearDayOfMonth->setText(QString::number(rule.dayOfMonth));
        }
        break;
    }

    switch (rule.endRule) {
    case EndRule::OnDate:
        m_endsOnDate->setChecked(true);
        m_end = rule.endTime;
        break;
    case EndRule::AfterCount:
        m_endsAfter->setChecked(true);
        m_count->setText(QString::number(rule.occurrenceCount));
        m_end = dayPart(rule.startTime) + timePart(rule.endTime);
        break;
    default:
        m_neverEnds->setChecked(true);
        m_end = dayPart(rule.startTime) + timePart(rule.endTime);
        break;
    }
    m_remove->setEnabled(true);
    showTimes();
    showDates();
    showExceptions();
    m_startTime->setFocus();
}

void RecurrenceEditor::showTimes()
{
    m_startTime->setTime(m_begin);
    m_endTime->setTime(m_end);
    m_daysAfterBox->setEditText(daysAfterText(m_daysAfter));
}

void RecurrenceEditor::showDates()
{
    m_beginDate->setDate(m_begin);
    m_endDate->setDate(m_end);
}

void RecurrenceEditor::showExceptions()
{
    m_exceptionList->clear();
    for (int day : m_exceptionDays)
        m_exceptionList->addItem(weekdayDateText(m_format, day));
    m_removeExceptions->setEnabled(!m_exceptionDays.empty());
}

// ---------------------------------------------------------------------------------------------
// Typed values.

void RecurrenceEditor::keepTimesInOrder(bool startMoved)
{
    if (m_daysAfter != 0 || timePart(m_begin) <= timePart(m_end)) return;
    if (startMoved)
        m_end = dayPart(m_end) + timePart(m_begin);
    else
        m_begin = dayPart(m_begin) + timePart(m_end);
    showTimes();
}

void RecurrenceEditor::startTimeApplied(SerialDateTime t)
{
    m_begin = dayPart(m_begin) + t;
    keepTimesInOrder(true);
}

void RecurrenceEditor::endTimeApplied(SerialDateTime t)
{
    m_end = dayPart(m_end) + t;
    keepTimesInOrder(false);
}

bool RecurrenceEditor::applyDaysAfter()
{
    const auto days = readDaysAfter(m_daysAfterBox->currentText());
    m_daysAfter = days.value_or(0);
    m_daysAfterBox->setEditText(daysAfterText(m_daysAfter));
    keepTimesInOrder(true);
    if (!days) {
        m_prompts.warnOver(this, QStringLiteral("Invalid Number"));
        return false;
    }
    return true;
}

void RecurrenceEditor::beginDateEntered()
{
    const auto day = m_beginDate->takeDate(m_begin);
    if (!day) {
        m_prompts.warnOver(this, QStringLiteral("Invalid Date"));
        return;
    }
    m_begin = *day + timePart(m_begin);
    if (dayPart(m_end) < *day) m_end = *day + timePart(m_end);
    showDates();
}

void RecurrenceEditor::endDateEntered()
{
    const auto day = m_endDate->takeDate(m_end);
    if (!day) {
        m_prompts.warnOver(this, QStringLiteral("Invalid Date"));
        return;
    }
    m_end = *day + timePart(m_end);
    if (dayPart(m_begin) > *day) m_begin = *day + timePart(m_begin);
    showDates();
}

bool RecurrenceEditor::applyFocusedBox()
{
    QWidget *f = focusWidget();
    if (!f) return true;
    if (f == m_startTime || f == m_startTime->lineEdit()) return m_startTime->apply();
    if (f == m_endTime || f == m_endTime->lineEdit()) return m_endTime->apply();
    if (f == m_daysAfterBox || f == m_daysAfterBox->lineEdit()) return applyDaysAfter();
    if (f == m_beginDate || f == m_endDate) {
        const SerialDateTime before = f == m_beginDate ? m_begin : m_end;
        const auto day = static_cast<DateBox *>(f)->typedDate(before);
        if (f == m_beginDate)
            beginDateEntered();
        else
            endDateEntered();
        return day.has_value();
    }
    return true;
}

bool RecurrenceEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && key->modifiers().testFlag(Qt::ControlModifier)) {
            if (applyFocusedBox()) acceptRule();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// OK and Remove.

std::optional<RecurrenceRule> RecurrenceEditor::checkedRule()
{
    RecurrenceRule r = m_result;
    r.startTime = m_begin;
    r.extraDays = m_daysAfter;
    r.exceptionDays = m_exceptionDays;
    const auto fail = [this]() -> std::optional<RecurrenceRule> {
        m_prompts.warnOver(this, NotLegal);
        return std::nullopt;
    };
    QString confirmation;

    const int pattern = m_patternPages->currentIndex();
    if (pattern == 0) {
        r.pattern = Pattern::Daily;
        if (m_everyWorkday->isChecked()) {
            r.variant = Variant::EveryWorkday;
        } else {
            const auto n = positiveIn(m_dayInterval);
            if (!n) return fail();
            r.variant = Variant::EveryNDays;
            r.interval = *n;
        }
    } else if (pattern == 1) {
        r.pattern = Pattern::Weekly;
        r.variant = Variant::EveryNWeeks;
        const auto n = positiveIn(m_weekInterval);
        if (!n) return fail();
        r.interval = *n;
        r.weekdays = WeekdaySet();
        for (int i = 0; i < 7; ++i)
            if (m_weekdayBoxes[std::size_t(i)]->isChecked()) r.weekdays.insert(i + 1);
        if (r.weekdays.isEmpty()) return fail();
    } else if (pattern == 2) {
        r.pattern = Pattern::Monthly;
        if (m_monthDay->isChecked()) {
            r.variant = Variant::DayOfMonth;
            const auto d = numberIn(m_monthDayOfMonth);
            const auto m = positiveIn(m_monthDayInterval);
            if (!d || *d <= 0 || *d >= 32 || !m) return fail();
            r.dayOfMonth = *d;
            r.interval = *m;
            if (*d >= 29)
                confirmation = QStringLiteral("Some months have less then %1 days. For these "
                                              "months, the occurrence will occur the last day "
                                              "in month.")
                                   .arg(*d);
        } else {
            r.variant = Variant::NthKindOfDay;
            const auto m = positiveIn(m_monthNthInterval);
            if (!m) return fail();
            r.ordinal = Recurrence::Ordinal(m_monthOrdinal->currentIndex());
            r.dayKind = Recurrence::DayKind(m_monthKind->currentIndex());
            r.interval = *m;
        }
    } else {
        r.pattern = Pattern::Yearly;
        if (m_yearFixed->isChecked()) {
            r.variant = Variant::FixedDate;
            const auto d = numberIn(m_yearDayOfMonth);
            const int month = m_yearFixedMonth->currentIndex() + 1;
            if (!d || *d <= 0 || *d >= 32) return fail();
            const bool shortMonth = month == 4 || month == 6 || month == 9 || month == 11;
            if ((month == 2 && *d >= 30) || (shortMonth && *d == 31)) return fail();
            if (month == 2 && *d == 29)
                confirmation = QStringLiteral("Then February is not 29 days long, the "
                                              "occurrence will occur the last day in month.");
            r.dayOfMonth = *d;
            r.month = month;
        } else {
            r.variant = Variant::NthKindOfDay;
            r.ordinal = Recurrence::Ordinal(m_yearOrdinal->currentIndex());
            r.dayKind = Recurrence::DayKind(m_yearKind->currentIndex());
            r.month = m_yearNthMonth->currentIndex() + 1;
        }
    }

    // The end of the recurrence, from the rule just checked.
    if (m_endsOnDate->isChecked()) {
        r.endRule = EndRule::OnDate;
        const auto first = nthOccurrenceDay(r, 1);
        if (!first) return fail();
        r.endTime = std::max<SerialDateTime>(dayPart(m_end), *first) + timePart(m_end);
    } else if (m_endsAfter->isChecked()) {
        r.endRule = EndRule::AfterCount;
        const auto count = positiveIn(m_count);
        if (!count) return fail();
        r.occurrenceCount = *count;
        const auto last = nthOccurrenceDay(r, *count);
        if (!last) return fail();
        r.endTime = *last + timePart(m_end);
    } else {
        r.endRule = EndRule::Never;
        r.endTime = m_end + NeverEndsDays;
    }

    if (!confirmation.isEmpty() && !m_prompts.confirmOver(this, confirmation)) return std::nullopt;
    return r;
}

void RecurrenceEditor::acceptRule()
{
    if (!applyDaysAfter()) return;
    const auto rule = checkedRule();
    if (!rule) return;
    m_result = *rule;
    m_outcome = Outcome::RuleSet;
    accept();
}

void RecurrenceEditor::removeRecurrence()
{
    if (!applyDaysAfter()) return;
    m_result.startTime = m_begin;
    m_result.endTime = dayPart(m_begin) + m_daysAfter + timePart(m_end);
    m_outcome = Outcome::Removed;
    accept();
}
