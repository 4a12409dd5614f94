// Building and laying out the window's panels, the navigator column's area and the time-grid
// panel (columns, rows and the scroll bar).
#include "mainwin/MainWindow.h"

#include "core/Clock.h"
#include "core/DateTextHelpers.h"
#include "core/LayerPalette.h"
#include "mainwin/DateHeaderGrid.h"
#include "mainwin/ViewTab.h"
#include "views/FlatButton.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

namespace
{
QColor bgr(uint32_t v)
{
    return LayerPalette::colorFromBGR(v);
}

QWidget *makePanel(QWidget *parent, const char *name, uint32_t colour)
{
    auto *w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, bgr(colour));
    w->setPalette(pal);
    return w;
}

FlatButton *makeButton(QWidget *parent, const char *name, const QString &bitmap,
                       const QString &caption = {})
{
    auto *b = new FlatButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    if (!bitmap.isEmpty()) b->setBitmapName(bitmap);
    b->setCaption(caption);
    return b;
}

// Stand-in for the time grid until the real grid is installed: paints the rows, day columns
// and hour lines the window has laid out, so the layout can be checked by eye.
class TimeGridPlaceholder : public QWidget
{
public:
    TimeGridPlaceholder(QWidget *parent, const MainWindow &win) : QWidget(parent), m_win(win)
    {
        setObjectName(QStringLiteral("TimeGridPlaceholder"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), bgr(12632256));
        const auto &rows = m_win.rowLayout();
        const int steps = m_win.stepsPerDay();
        const int perHour = std::max(steps / 24, 1);
        const int start = m_win.currentView().firstVisibleRow;
        p.setPen(bgr(3947580));
        int x = TimeFamily::TimeAxisWidth;
        for (int w : m_win.dayColumnWidths()) {
            x += w;
            p.drawLine(x - 1, 0, x - 1, height());
        }
        p.drawLine(TimeFamily::TimeAxisWidth - 1, 0, TimeFamily::TimeAxisWidth - 1, height());
        for (int r = 1; r < rows.rowCount; ++r) {
            const int step = r + start;
            const int y = rows.headerHeight + (r - 1) * rows.rowHeight;
            if ((step - 1) % perHour == 0) {
                p.drawLine(0, y - 1, width(), y - 1);
                p.drawText(QRect(0, y, TimeFamily::TimeAxisWidth - 4, 14),
                           Qt::AlignRight | Qt::AlignTop,
                           QStringLiteral("%1:00").arg((step - 1) / perHour, 2, 10, QChar(u'0')));
            } else {
                p.setPen(bgr(9067313));
                p.drawLine(TimeFamily::TimeAxisWidth, y - 1, width(), y - 1);
                p.setPen(bgr(3947580));
            }
        }
    }

private:
    const MainWindow &m_win;
};
} // namespace

void MainWindow::buildWidgets()
{
    m_client = makePanel(this, "Client", 3947580);
    setCentralWidget(m_client);
    m_client->installEventFilter(this);

    m_panelNavigate = makePanel(m_client, "Panel_Navigate", 10841658);
    m_panelNavigateTop = makePanel(m_panelNavigate, "Panel_NavigateTop", 10841658);
    m_panelNavigateScroll = makePanel(m_panelNavigate, "Panel_NavigateScroll", 10841658);
    m_panelNavigateBottom = makePanel(m_panelNavigate, "Panel_NavigateBottom", 10841658);
    m_buttonHideNavigator = makeButton(m_panelNavigateTop, "Button_HideNavigator", "ARROW_LEFT");
    m_buttonHideNavigator->setGeometry(14, 1, 142, 18);
    m_buttonToday = makeButton(m_panelNavigateTop, "Button_Today", {},
                               QStringLiteral("Today: ") + dateText(m_format, m_clock.today()));
    m_buttonToday->setGeometry(14, 20, 142, 18);
    m_buttonColumnUp = makeButton(m_panelNavigateTop, "Button_ColumnUp", "ARROW_UP");
    m_buttonColumnUp->setGeometry(14, 39, 142, 18);
    m_buttonColumnUp->hide();
    m_buttonColumnDown = makeButton(m_panelNavigateBottom, "Button_ColumnDown", "ARROW_DOWN");
    m_buttonColumnDown->setGeometry(14, 1, 142, 18);
    m_buttonColumnDown->hide();
    connect(m_buttonHideNavigator, &FlatButton::clicked, this,
            [this] { setNavigatorShown(false); });
    connect(m_buttonToday, &FlatButton::clicked, this, &MainWindow::selectToday);

    m_panelTop = makePanel(m_client, "Panel_Top", 3947580);
    m_buttonNew = makeButton(m_panelTop, "Button_New", {}, QStringLiteral("New"));
    m_buttonDelete = makeButton(m_panelTop, "Button_Delete", {}, QStringLiteral("Delete"));
    m_buttonNew->setEnabled(false);
    m_buttonDelete->setEnabled(false);
    m_buttonShowNavigator = makeButton(m_panelTop, "Button_ShowNavigator", "ARROW_RIGHT");
    m_buttonShowNavigator->setGeometry(1, 1, 90, 18);
    m_buttonShowNavigator->hide();
    connect(m_buttonShowNavigator, &FlatButton::clicked, this, [this] { setNavigatorShown(true); });

    QStringList days, months, years;
    for (int k = ViewDay; k <= View7Days; ++k)
        days << ViewSpans::viewName(k);
    for (int k = ViewMonth; k <= View6Weeks; ++k)
        months << ViewSpans::viewName(k);
    for (int k = ViewYear; k <= View12Months; ++k)
        years << ViewSpans::viewName(k);
    const std::array<const char *, 6> tabNames{"Label_Day",    "Label_WorkWeek", "Label_Week2",
                                               "Label_Month2", "Label_Year",     "Label_Tasks"};
    const std::array<QStringList, 6> tabChoices{days, {}, {}, months, years, {}};
    for (std::size_t i = 0; i < 6; ++i) {
        auto *t = new ViewTab(m_panelTop, m_client, tabChoices[i]);
        t->setObjectName(QString::fromLatin1(tabNames[i]));
        t->setGeometry(1 + 91 * int(i), 20, 90, 18);
        m_tabs[i] = t;
        const int family = int(i);
        connect(t, &ViewTab::chosen, this,
                [this, family](int choice) { chooseFromTab(family, choice); });
    }
    m_tabs[1]->setText(QStringLiteral("Work Week"));
    m_tabs[2]->setText(QStringLiteral("Week"));
    m_tabs[5]->setText(QStringLiteral("Tasks"));
    for (std::size_t i : {3u, 4u, 5u})
        m_tabs[i]->setEnabled(false);

    m_buttonPrev = makeButton(m_panelTop, "Button_Prev", "ARROW_LEFT");
    m_buttonNext = makeButton(m_panelTop, "Button_Next", "ARROW_RIGHT");
    connect(m_buttonPrev, &FlatButton::clicked, this, &MainWindow::stepPrevious);
    connect(m_buttonNext, &FlatButton::clicked, this, &MainWindow::stepNext);
    m_labelDate = new QLabel(m_panelTop);
    m_labelDate->setObjectName(QStringLiteral("Label_Date"));
    m_labelDate->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont labelFont = QApplication::font("QMenu");
    labelFont.setPointSize(10);
    labelFont.setBold(true);
    m_labelDate->setFont(labelFont);
    QPalette labelPal = m_labelDate->palette();
    labelPal.setColor(QPalette::WindowText, Qt::white);
    m_labelDate->setPalette(labelPal);

    m_panelDate = makePanel(m_panelTop, "Panel_Date", 3947580);
    m_gridDateDW = new DateHeaderGrid(m_panelDate);
    m_gridDateDW->setObjectName(QStringLiteral("Grid_DateDW"));

    m_panelDW = makePanel(m_client, "Panel_DW", 14737632);
    m_timeGrid = new TimeGridPlaceholder(m_panelDW, *this);
    m_allDay = makePanel(m_panelDW, "AllDayPlaceholder", 12632256);
    m_scrollDW = new QScrollBar(Qt::Vertical, m_panelDW);
    m_scrollDW->setObjectName(QStringLiteral("ScrollBar_DW"));
    m_scrollDW->setFocusPolicy(Qt::NoFocus);
    m_scrollDW->setRange(0, 1);
    m_scrollDW->setPageStep(23);
    connect(m_scrollDW, &QScrollBar::valueChanged, this, &MainWindow::scrollBarChanged);
    m_panelMonth = makePanel(m_client, "Panel_Month", 14737632);
    m_panelYear = makePanel(m_client, "Panel_Year", 14737632);
    m_panelTasks = makePanel(m_client, "Panel_Tasks", 14737632);

    m_panelBottom = makePanel(m_client, "Panel_Bottom", 3947580);
    m_buttonPrint = makeButton(m_panelBottom, "Button_Print",
                               m_font.font.family() == QLatin1String("Microsoft Sans Serif")
                                   ? QStringLiteral("PRINT_MS")
                                   : QStringLiteral("PRINT"));
    m_buttonPrint->setEnabled(false);

    for (QWidget *w : m_client->findChildren<QWidget *>())
        w->setFocusPolicy(Qt::NoFocus);
    for (QWidget *w : {m_panelNavigate, m_panelNavigateTop, m_panelNavigateScroll,
                       m_panelNavigateBottom, m_panelTop, m_panelBottom})
        w->installEventFilter(this);
}

int MainWindow::clientHeight() const
{
    return m_client->height();
}

void MainWindow::layoutWindow()
{
    const int w = m_client->width();
    const int h = m_client->height();
    const int left = m_navigatorShown ? NavigatorWidth : 0;
    const int rightWidth = std::max(w - left, 0);

    m_panelNavigate->setVisible(m_navigatorShown);
    m_panelNavigate->setGeometry(0, 0, NavigatorWidth, h);
    m_panelNavigateTop->setGeometry(0, 0, NavigatorWidth, TopBarHeight);
    m_panelNavigateScroll->setGeometry(0, TopBarHeight, NavigatorWidth,
                                       std::max(h - TopBarHeight - 20, 0));
    m_panelNavigateBottom->setGeometry(0, h - 20, NavigatorWidth, 20);

    m_panelTop->setGeometry(left, 0, rightWidth, TopBarHeight);
    const int shift = m_navigatorShown ? 0 : 91;
    m_buttonNew->setGeometry(1 + shift, 1, 90, 18);
    m_buttonDelete->setGeometry(92 + shift, 1, 90, 18);
    m_buttonShowNavigator->setVisible(!m_navigatorShown);
    m_buttonPrev->setGeometry(rightWidth - 247, 1, 18, 18);
    m_labelDate->setGeometry(rightWidth - 229, 1, 200, 18);
    m_buttonNext->setGeometry(rightWidth - 27, 1, 18, 18);
    m_tabs[0]->setListLeft(left);
    m_tabs[3]->setListLeft(left + 273);
    m_tabs[4]->setListLeft(left + 364);
    m_panelDate->setGeometry(0, 39, rightWidth, 18);

    const int panelHeight = std::max(h - TopBarHeight - BottomBarHeight, 0);
    for (QWidget *p : {m_panelDW, m_panelMonth, m_panelYear, m_panelTasks})
        p->setGeometry(left, TopBarHeight, rightWidth, panelHeight);
    m_panelBottom->setGeometry(left, h - BottomBarHeight, rightWidth, BottomBarHeight);
    m_buttonPrint->setGeometry(rightWidth - 84, 5, 70, 18);

    if (ViewState::usesTimeGrid(m_view.kind)) layoutTimePanel();
}

void MainWindow::setNavigatorShown(bool on)
{
    m_navigatorShown = on;
    if (QAction *a = action(QStringLiteral("MenuItem_ShowNavigator"))) a->setChecked(on);
    layoutWindow();
    if (ViewState::usesTimeGrid(m_view.kind) && m_hooks.collect) m_hooks.collect();
}

void MainWindow::layoutTimePanel()
{
    layoutTimeColumns();
    layoutTimeRows();
}

void MainWindow::layoutTimeColumns()
{
    const int gridWidth = std::max(m_panelDW->width() - 18, 0);
    m_dayWidths =
        TimeFamily::columnWidths(m_view.columnCount, gridWidth - TimeFamily::TimeAxisWidth);
    m_gridDateDW->setGeometry(TimeFamily::TimeAxisWidth, 0,
                              std::max(m_panelDate->width() - TimeFamily::TimeAxisWidth, 0), 18);
    m_gridDateDW->setDays(m_time.spanStart(), m_dayWidths, m_clock.today());
    m_timeGrid->setGeometry(1, 0, gridWidth, m_panelDW->height());
}

void MainWindow::layoutTimeRows()
{
    m_rows =
        TimeFamily::rowLayout(clientHeight(), m_view.stripHeight, m_zoomRowHeight, stepsPerDay());
    m_view.rowCount = m_rows.rowCount;
    m_prevView.rowCount = m_rows.rowCount;
    const int gridWidth = std::max(m_panelDW->width() - 18, 0);
    m_allDay->setGeometry(1, 0, gridWidth, m_rows.headerHeight);
    m_allDay->raise();
    if (m_hooks.applyLayout) m_hooks.applyLayout(minutesPerRow(), m_rows, m_dayWidths);

    m_settingScroll = true;
    m_scrollDW->setPageStep(m_rows.pageSize);
    m_scrollDW->setRange(0, TimeFamily::lastScrollHour(m_rows.pageSize));
    if (m_rows.scrollBarVisible) {
        m_scrollDW->setGeometry(m_panelDW->width() - 17, m_rows.scrollBarTop, 16,
                                m_rows.scrollBarHeight);
        m_scrollDW->show();
    } else {
        m_scrollDW->hide();
        m_scrollDW->setValue(0);
    }
    m_settingScroll = false;
    scrollBarChanged(m_scrollDW->value());
    m_timeGrid->update();
    m_allDay->update();
}

int MainWindow::scrollHour() const
{
    return m_scrollDW->value();
}

void MainWindow::scrollToHour(int hour)
{
    m_scrollDW->setValue(std::clamp(hour, 0, m_scrollDW->maximum()));
}

void MainWindow::scrollBarChanged(int hour)
{
    if (m_settingScroll) return;
    m_view.firstVisibleRow =
        TimeFamily::startPosition(hour, m_rows.pageSize, minutesPerRow(), m_rows.rowCount);
    if (m_hooks.placeVertical) m_hooks.placeVertical();
    m_timeGrid->update();
}

void MainWindow::installTimeGrid(QWidget *grid, QWidget *allDay)
{
    if (grid && grid != m_timeGrid) {
        grid->setParent(m_panelDW);
        delete m_timeGrid;
        m_timeGrid = grid;
        grid->show();
    }
    if (allDay && allDay != m_allDay) {
        allDay->setParent(m_panelDW);
        delete m_allDay;
        m_allDay = allDay;
        allDay->show();
    }
    layoutWindow();
}
