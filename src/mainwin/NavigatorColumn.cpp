#include "mainwin/NavigatorColumn.h"

#include "core/Clock.h"
#include "core/IsoWeekList.h"
#include "core/LayerPalette.h"
#include "core/ViewDates.h"
#include "mainwin/NavigatorLayerList.h"
#include "mainwin/NavigatorList.h"
#include "store/LayersStore.h"
#include "views/FlatButton.h"
#include "views/NavigatorCalendar.h"

#include <QEvent>
#include <QLabel>
#include <algorithm>

namespace
{
// Colours as 0x00BBGGRR.
constexpr uint32_t NavigatorColour = 10841658;
constexpr uint32_t StripColour = 3947580;

constexpr int BlockLeft = 14;
constexpr int BlockWidth = 142;
constexpr int StripHeight = 18;
constexpr int YearRows = 4;

void fill(QWidget *w, uint32_t colour)
{
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, LayerPalette::colorFromBGR(colour));
    pal.setColor(QPalette::WindowText, Qt::white);
    w->setPalette(pal);
}

// A dark caption strip over a list.
QLabel *makeStrip(QWidget *parent, const QRect &r, const QString &caption,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *l = new QLabel(caption, parent);
    fill(l, StripColour);
    l->setAlignment(align);
    l->setIndent(3);
    l->setGeometry(r);
    return l;
}

FlatButton *makeArrow(QWidget *parent, const char *bitmap, const QRect &r)
{
    auto *b = new FlatButton(parent);
    b->setBitmapName(QString::fromLatin1(bitmap));
    b->setGeometry(r);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}
} // namespace

NavigatorColumn::NavigatorColumn(QWidget &viewport, QWidget &above, QWidget &below,
                                 LayersStore &layers, const Clock &clock, const QFont &font)
    : QWidget(&viewport), m_layers(layers), m_clock(clock)
{
    m_content = new QWidget(this);
    fill(m_content, NavigatorColour);
    m_content->setFont(font);
    buildCalendarBlock(font);
    buildWeekBlock();
    buildMonthBlock();

    m_scrollUp = makeArrow(&above, "ARROW_UP", QRect(14, 39, 142, 18));
    m_scrollDown = makeArrow(&below, "ARROW_DOWN", QRect(14, 1, 142, 18));
    connect(m_scrollUp, &FlatButton::clicked, this, &NavigatorColumn::scrollUp);
    connect(m_scrollDown, &FlatButton::clicked, this, &NavigatorColumn::scrollDown);

    connect(m_calendar, &NavigatorCalendar::dateChanged, this, &NavigatorColumn::followDate);
    m_firstYear = m_calendar->year();
    followDate();
    setStartOfWeek(0);
    m_weekBlock->hide();
    showLayers();

    viewport.installEventFilter(this);
    setGeometry(viewport.rect());
}

void NavigatorColumn::buildCalendarBlock(const QFont &font)
{
    auto *block = new QWidget(m_content);
    block->setGeometry(BlockLeft, 0, BlockWidth, CalendarBlockHeight);
    makeStrip(block, QRect(1, 0, 140, StripHeight), {});
    for (int i = 0; i < 7; ++i) {
        m_letters[std::size_t(i)] =
            makeStrip(block, QRect(1 + 20 * i, 0, 20, StripHeight), {}, Qt::AlignCenter);
        m_letters[std::size_t(i)]->setIndent(0);
    }
    m_calendar = new NavigatorCalendar(m_clock, block);
    m_calendar->setFont(font);
    m_calendar->setFocusPolicy(Qt::NoFocus);
    m_calendar->setGeometry(1, StripHeight, 140, 96);
}

void NavigatorColumn::buildWeekBlock()
{
    m_weekBlock = new QWidget(m_content);
    m_weekBlock->setGeometry(BlockLeft, CalendarBlockHeight, BlockWidth, WeekBlockHeight);
    makeStrip(m_weekBlock, QRect(1, 0, 140, StripHeight), QStringLiteral("Weeks"));
    m_weekList = new NavigatorList(
        7, 8, 20,
        [this](int col, int row) {
            const int cell = row * 7 + col;
            const IsoWeekList::Week w = IsoWeekList::cellWeek(m_weekListYear, cell);
            NavigatorCellLook look;
            look.text = QString::number(w.week);
            look.otherYear = w.year > m_weekListYear;
            look.cornerMark = w.year < m_weekListYear;
            look.framed = w == IsoWeekList::weekOf(m_clock.today());
            return look;
        },
        m_weekBlock);
    m_weekList->move(1, StripHeight);
    connect(m_weekList, &NavigatorList::cellClicked, this, [this](int col, int row) {
        const SerialDateTime d =
            IsoWeekList::cellDay(m_weekListYear, row * 7 + col, m_calendar->selectedDate());
        (void)m_calendar->setSelectedDate(d);
    });
}

void NavigatorColumn::buildMonthBlock()
{
    m_monthBlock = new QWidget(m_content);
    makeStrip(m_monthBlock, QRect(1, 0, 140, StripHeight), QStringLiteral("Months"));
    m_monthList = new NavigatorList(
        2, 6, 46,
        [this](int col, int row) {
            const int month = col * 6 + row + 1;
            const QDate today = DateTimeValue::toQDate(m_clock.today());
            NavigatorCellLook look;
            look.text = ViewDates::ShortMonthNames[std::size_t(month - 1)].toString();
            look.framed = month == today.month() && m_calendar->year() == today.year();
            return look;
        },
        m_monthBlock);
    m_monthList->move(1, StripHeight);
    connect(m_monthList, &NavigatorList::cellClicked, this,
            [this](int col, int row) { (void)m_calendar->setMonth(col * 6 + row + 1); });

    m_yearUp = makeArrow(m_monthBlock, "ARROW_UP", QRect(94, StripHeight, 47, 16));
    m_yearList = new NavigatorList(
        1, YearRows, 47,
        [this](int, int row) {
            NavigatorCellLook look;
            look.text = QString::number(m_firstYear + row);
            look.framed = m_firstYear + row == DateTimeValue::toQDate(m_clock.today()).year();
            return look;
        },
        m_monthBlock);
    m_yearList->move(94, StripHeight + 16);
    m_yearDown = makeArrow(m_monthBlock, "ARROW_DOWN", QRect(94, StripHeight + 80, 47, 16));
    connect(m_yearList, &NavigatorList::cellClicked, this,
            [this](int, int row) { (void)m_calendar->setYear(m_firstYear + row); });
    connect(m_yearUp, &FlatButton::clicked, this, [this] { stepYear(-1); });
    connect(m_yearDown, &FlatButton::clicked, this, [this] { stepYear(1); });

    m_layerList = new NavigatorLayerList(m_monthBlock);
    m_layerList->move(1, LayerBlockTop);
    connect(m_layerList, &NavigatorLayerList::visibilityClicked, this,
            &NavigatorColumn::toggleLayer);
    connect(m_layerList, &NavigatorLayerList::allVisibilityClicked, this,
            &NavigatorColumn::toggleAllLayers);
}

void NavigatorColumn::setStartOfWeek(int weekday)
{
    m_calendar->setStartOfWeek(weekday);
    for (int i = 0; i < 7; ++i)
        m_letters[std::size_t(i)]->setText(
            ViewDates::dayLetterForColumn(m_calendar->startOfWeek(), i).toString());
}

void NavigatorColumn::setWeeksOn(bool on)
{
    m_weeksOn = on;
    m_weekBlock->setVisible(on);
    placeBlocks();
    putAtRest();
}

void NavigatorColumn::showLayers()
{
    m_layerList->setLayers(m_layers.layers());
    placeBlocks();
    updateArrows();
}

int NavigatorColumn::contentHeight() const
{
    return m_monthBlock->y() + m_monthBlock->height();
}

void NavigatorColumn::placeBlocks()
{
    const int top = CalendarBlockHeight + (m_weeksOn ? WeekBlockHeight : 0);
    m_monthBlock->setGeometry(BlockLeft, top, BlockWidth,
                              LayerBlockTop + m_layerList->height() + 1);
    m_content->setGeometry(0, -m_offset, width(), std::max(contentHeight(), height()));
}

void NavigatorColumn::followDate()
{
    const SerialDateTime d = m_calendar->selectedDate();
    const int year = m_calendar->year();
    const int month = m_calendar->month();

    if (year != m_weekListYear) {
        m_weekListYear = year;
        m_weekList->invalidateGrid();
        m_monthList->invalidateGrid(); // today's month is framed in today's year only
    }
    const int weekCell = IsoWeekList::cellOf(d);
    (void)m_weekList->setCurrentCell(weekCell % 7, weekCell / 7);
    (void)m_monthList->setCurrentCell((month - 1) / 6, (month - 1) % 6);

    const int first = year < m_firstYear                  ? year
                      : year > m_firstYear + YearRows - 1 ? year - (YearRows - 1)
                                                          : m_firstYear;
    if (first != m_firstYear) {
        m_firstYear = first;
        m_yearList->invalidateGrid();
    }
    (void)m_yearList->setCurrentCell(0, year - m_firstYear);
}

void NavigatorColumn::stepYear(int by)
{
    (void)m_calendar->setYear(m_calendar->year() + by);
}

void NavigatorColumn::toggleLayer(int layerId)
{
    const std::optional<LayerRow> layer = m_layers.layer(layerId);
    if (!layer || m_readOnly) return;
    // A write that fails keeps the change in memory; the window's bar tells the user and the
    // next write of the table carries it.
    if (!m_layers.setLayerShown(layerId, !layer->shown).applied) return;
    showLayers();
    emit layerVisibilityChanged();
}

void NavigatorColumn::toggleAllLayers()
{
    const std::vector<LayerRow> all = m_layers.layers();
    if (all.empty() || m_readOnly) return;
    const bool show =
        !std::all_of(all.begin(), all.end(), [](const LayerRow &l) { return l.shown; });
    m_layers.beginBulk();
    for (const LayerRow &l : all)
        (void)m_layers.setLayerShown(l.id, show);
    // As above: a failed write stays in memory, shown by the bar, and goes with the next one.
    (void)m_layers.endBulk();
    showLayers();
    emit layerVisibilityChanged();
}

void NavigatorColumn::scrollDown()
{
    if (height() >= contentHeight() - m_offset) return;
    // With weeks on, the step from the weeks to the months is the week block's height.
    m_offset +=
        m_weeksOn && m_offset == CalendarBlockHeight ? WeekBlockHeight : CalendarBlockHeight;
    placeBlocks();
    updateArrows();
}

void NavigatorColumn::scrollUp()
{
    if (m_offset == 0) return;
    m_offset -= m_weeksOn && m_offset == CalendarBlockHeight + WeekBlockHeight
                    ? WeekBlockHeight
                    : CalendarBlockHeight;
    m_offset = std::max(m_offset, 0);
    placeBlocks();
    updateArrows();
}

void NavigatorColumn::putAtRest()
{
    m_offset = 0;
    placeBlocks();
    updateArrows();
}

void NavigatorColumn::updateArrows()
{
    m_scrollUp->setVisible(m_offset > 0);
    m_scrollDown->setVisible(height() < contentHeight() - m_offset);
}

bool NavigatorColumn::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void NavigatorColumn::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    putAtRest();
}
