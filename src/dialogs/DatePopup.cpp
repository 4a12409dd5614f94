#include "dialogs/DatePopup.h"

#include "core/Clock.h"
#include "core/DateTextHelpers.h"
#include "core/Settings.h"
#include "core/ViewDates.h"
#include "dialogs/DateBox.h"
#include "dialogs/DialogPanel.h"
#include "views/FlatButton.h"
#include "views/NavigatorCalendar.h"

#include <QEvent>
#include <QLabel>
#include <QToolButton>

namespace
{
constexpr int ArrowSize = 16;
constexpr int CellWidth = 20;
constexpr int CellHeight = 16;

QLabel *whiteLabel(QWidget *parent, const QRect &geometry)
{
    auto *l = new QLabel(parent);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignCenter);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(pal);
    return l;
}
} // namespace

DatePopup::DatePopup(const Clock &clock, const Settings &settings, const DateTimeFormat &format,
                     QWidget *parent)
    : QFrame(parent, Qt::Popup), m_clock(clock), m_settings(settings), m_format(format)
{
    setFixedSize(Width, Height);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, DialogPanel::frameColor());
    setPalette(pal);
    setAutoFillBackground(true);

    struct Arrow {
        int left;
        const char *bitmap;
        int months;
    };
    for (const Arrow &a : {Arrow{1, "ARROW_LEFT", -1}, Arrow{55, "ARROW_RIGHT", 1},
                           Arrow{71, "ARROW_LEFT", -12}, Arrow{125, "ARROW_RIGHT", 12}}) {
        auto *b = new FlatButton(this);
        b->setBitmapName(QString::fromLatin1(a.bitmap));
        b->setGeometry(a.left, 1, ArrowSize, ArrowSize);
        const int months = a.months;
        connect(b, &FlatButton::clicked, this, [this, months] {
            if (m_calendar->stepMonths(months)) showMonth();
        });
    }
    m_monthLabel = whiteLabel(this, QRect(17, 1, 38, ArrowSize));
    m_yearLabel = whiteLabel(this, QRect(87, 1, 38, ArrowSize));
    for (int c = 0; c < 7; ++c)
        m_dayLetters[std::size_t(c)] =
            whiteLabel(this, QRect(1 + c * CellWidth, 18, CellWidth, CellHeight));

    m_calendar = new NavigatorCalendar(m_clock, this);
    m_calendar->setGeometry(1, 34, 7 * CellWidth, 6 * CellHeight);
    m_calendar->installEventFilter(this);
    connect(m_calendar, &NavigatorCalendar::dateChanged, this, [this](SerialDateTime day) {
        showMonth();
        emit datePicked(day);
        if (m_target) {
            m_target->setDate(day);
            m_entered();
        }
    });

    installEventFilter(this);
    m_todayButton = new FlatButton(this);
    m_todayButton->setGeometry(1, 132, 140, 18);
    connect(m_todayButton, &FlatButton::clicked, this, [this] {
        if (m_calendar->setSelectedDate(m_clock.today())) close();
    });
}

void DatePopup::openUnder(QWidget *anchor, SerialDateTime date)
{
    const int start = m_settings.startOfWeek();
    m_calendar->setStartOfWeek(start);
    for (int c = 0; c < 7; ++c)
        m_dayLetters[std::size_t(c)]->setText(ViewDates::dayLetterForColumn(start, c).toString());
    m_todayButton->setCaption(QStringLiteral("Today: ") + dateText(m_format, m_clock.today()));
    // Showing the date is no pick: the signal is held back while it is set.
    m_calendar->blockSignals(true);
    (void)m_calendar->setSelectedDate(date);
    m_calendar->blockSignals(false);
    showMonth();
    move(anchor->mapToGlobal(QPoint(0, anchor->height())));
    show();
}

QToolButton *DatePopup::dropButtonFor(DateBox *box, std::function<SerialDateTime()> current,
                                      std::function<void()> entered)
{
    auto *b = new QToolButton(box->parentWidget());
    b->setArrowType(Qt::DownArrow);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(box->sizeHint().height(), box->sizeHint().height());
    connect(b, &QToolButton::clicked, this,
            [this, box, current = std::move(current), entered = std::move(entered)] {
                m_target = box;
                m_entered = entered;
                openUnder(box, current());
            });
    return b;
}

void DatePopup::showMonth()
{
    m_monthLabel->setText(
        ViewDates::ShortMonthNames[std::size_t(m_calendar->month() - 1)].toString());
    m_yearLabel->setText(QString::number(m_calendar->year()));
}

bool DatePopup::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_calendar && event->type() == QEvent::MouseButtonRelease) close();
    if (watched == this && event->type() == QEvent::Hide) m_target = nullptr;
    return QFrame::eventFilter(watched, event);
}
