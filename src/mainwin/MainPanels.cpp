#include "mainwin/MainPanels.h"

#include "core/LayerPalette.h"
#include "core/UiFont.h"
#include "core/ViewSpan.h"
#include "core/ViewState.h"
#include "mainwin/DateHeaderGrid.h"
#include "mainwin/TimeFamilyLayout.h"
#include "mainwin/ViewTab.h"
#include "views/FlatButton.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

namespace
{
// Colours as 0x00BBGGRR.
constexpr uint32_t BarColour = 3947580;
constexpr uint32_t NavigatorColour = 10841658;
constexpr uint32_t FamilyPanelColour = 14737632;

QWidget *makePanel(QWidget *parent, uint32_t colour)
{
    auto *w = new QWidget(parent);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, LayerPalette::colorFromBGR(colour));
    w->setPalette(pal);
    return w;
}

FlatButton *makeButton(QWidget *parent, const QString &bitmap, const QString &caption = {})
{
    auto *b = new FlatButton(parent);
    if (!bitmap.isEmpty()) b->setBitmapName(bitmap);
    b->setCaption(caption);
    return b;
}
} // namespace

MainPanels::MainPanels(QMainWindow &window, const UiFont &font, const QString &todayCaption)
{
    m_client = makePanel(&window, BarColour);
    window.setCentralWidget(m_client);
    QWidget &client = *m_client;
    m_navigatorColumn = makePanel(&client, NavigatorColour);
    m_navigatorTop = makePanel(m_navigatorColumn, NavigatorColour);
    m_navigatorMiddle = makePanel(m_navigatorColumn, NavigatorColour);
    m_navigatorBottom = makePanel(m_navigatorColumn, NavigatorColour);
    m_hideNavigatorButton = makeButton(m_navigatorTop, QStringLiteral("ARROW_LEFT"));
    m_hideNavigatorButton->setGeometry(14, 1, 142, 18);
    m_todayButton = makeButton(m_navigatorTop, {}, todayCaption);
    m_todayButton->setGeometry(14, 20, 142, 18);

    m_topBar = makePanel(&client, BarColour);
    m_newButton = makeButton(m_topBar, {}, QStringLiteral("New"));
    m_deleteButton = makeButton(m_topBar, {}, QStringLiteral("Delete"));
    m_newButton->setEnabled(false);
    m_deleteButton->setEnabled(false);
    m_showNavigatorButton = makeButton(m_topBar, QStringLiteral("ARROW_RIGHT"));
    m_showNavigatorButton->setGeometry(1, 1, 90, 18);
    m_showNavigatorButton->hide();

    QStringList days, months, years;
    for (int k = ViewDay; k <= View7Days; ++k)
        days << ViewSpans::viewName(k);
    for (int k = ViewMonth; k <= View6Weeks; ++k)
        months << ViewSpans::viewName(k);
    for (int k = ViewYear; k <= View12Months; ++k)
        years << ViewSpans::viewName(k);
    const std::array<QStringList, 6> tabChoices{days, {}, {}, months, years, {}};
    for (std::size_t i = 0; i < m_tabs.size(); ++i) {
        m_tabs[i] = new ViewTab(m_topBar, &client, tabChoices[i]);
        m_tabs[i]->setGeometry(1 + 91 * int(i), 20, 90, 18);
    }
    m_tabs[1]->setText(QStringLiteral("Work Week"));
    m_tabs[2]->setText(QStringLiteral("Week"));
    m_tabs[5]->setText(QStringLiteral("Tasks"));

    m_previousButton = makeButton(m_topBar, QStringLiteral("ARROW_LEFT"));
    m_nextButton = makeButton(m_topBar, QStringLiteral("ARROW_RIGHT"));
    m_dateLabel = new QLabel(m_topBar);
    m_dateLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont labelFont = QApplication::font("QMenu");
    labelFont.setPointSize(10);
    labelFont.setBold(true);
    m_dateLabel->setFont(labelFont);
    QPalette labelPal = m_dateLabel->palette();
    labelPal.setColor(QPalette::WindowText, Qt::white);
    m_dateLabel->setPalette(labelPal);

    m_dateBar = makePanel(m_topBar, BarColour);
    m_dateHeader = new DateHeaderGrid(m_dateBar);

    m_timePanel = makePanel(&client, FamilyPanelColour);
    m_monthPanel = makePanel(&client, FamilyPanelColour);
    m_yearPanel = makePanel(&client, FamilyPanelColour);
    m_tasksPanel = makePanel(&client, FamilyPanelColour);

    m_bottomBar = makePanel(&client, BarColour);
    m_printButton =
        makeButton(m_bottomBar, font.font.family() == QLatin1String("Microsoft Sans Serif")
                                    ? QStringLiteral("PRINT_MS")
                                    : QStringLiteral("PRINT"));
    m_printButton->setEnabled(false);

    for (QWidget *w : client.findChildren<QWidget *>())
        w->setFocusPolicy(Qt::NoFocus);
}

QList<QWidget *> MainPanels::backgroundPanels() const
{
    return {m_navigatorColumn, m_navigatorTop, m_navigatorMiddle,
            m_navigatorBottom, m_topBar,       m_bottomBar};
}

void MainPanels::layout(bool navigatorShown)
{
    const int w = m_client->width();
    const int h = m_client->height();
    const int left = navigatorShown ? NavigatorWidth : 0;
    const int rightWidth = std::max(w - left, 0);

    m_navigatorColumn->setVisible(navigatorShown);
    m_navigatorColumn->setGeometry(0, 0, NavigatorWidth, h);
    m_navigatorTop->setGeometry(0, 0, NavigatorWidth, TopBarHeight);
    m_navigatorMiddle->setGeometry(0, TopBarHeight, NavigatorWidth,
                                   std::max(h - TopBarHeight - 20, 0));
    m_navigatorBottom->setGeometry(0, h - 20, NavigatorWidth, 20);

    m_topBar->setGeometry(left, 0, rightWidth, TopBarHeight);
    const int shift = navigatorShown ? 0 : 91;
    m_newButton->setGeometry(1 + shift, 1, 90, 18);
    m_deleteButton->setGeometry(92 + shift, 1, 90, 18);
    m_showNavigatorButton->setVisible(!navigatorShown);
    m_previousButton->setGeometry(rightWidth - 247, 1, 18, 18);
    m_dateLabel->setGeometry(rightWidth - 229, 1, 200, 18);
    m_nextButton->setGeometry(rightWidth - 27, 1, 18, 18);
    m_tabs[0]->setListLeft(left);
    m_tabs[3]->setListLeft(left + 273);
    m_tabs[4]->setListLeft(left + 364);
    m_dateBar->setGeometry(0, 39, rightWidth, 18);

    const int panelHeight = std::max(h - TopBarHeight - BottomBarHeight, 0);
    for (QWidget *p : {m_timePanel, m_monthPanel, m_yearPanel, m_tasksPanel})
        p->setGeometry(left, TopBarHeight, rightWidth, panelHeight);
    m_bottomBar->setGeometry(left, h - BottomBarHeight, rightWidth, BottomBarHeight);
    m_printButton->setGeometry(rightWidth - 84, 5, 70, 18);
}

void MainPanels::showViewFamily(int kind)
{
    const quint8 k = quint8(kind);
    QWidget *shown = ViewState::usesTimeGrid(k)    ? m_timePanel
                     : ViewState::usesMonthGrid(k) ? m_monthPanel
                     : ViewState::usesYearGrid(k)  ? m_yearPanel
                                                   : m_tasksPanel;
    for (QWidget *p : {m_timePanel, m_monthPanel, m_yearPanel, m_tasksPanel})
        p->setVisible(p == shown);
    const bool dated = kind != ViewTasks;
    m_dateHeader->setVisible(dated);
    m_previousButton->setVisible(dated);
    m_nextButton->setVisible(dated);
    m_dateLabel->setVisible(dated);
}

void MainPanels::showDays(SerialDateTime firstDay, const std::vector<int> &dayWidths,
                          SerialDateTime today)
{
    const int axis = TimeFamily::TimeAxisWidth;
    m_dateHeader->setGeometry(axis, 0, std::max(m_dateBar->width() - axis, 0), 18);
    m_dateHeader->setDays(firstDay, dayWidths, today);
}

void MainPanels::showLabels(int left, const std::vector<int> &widths, const QStringList &texts,
                            int framed)
{
    m_dateHeader->setGeometry(left, 0, std::max(m_dateBar->width() - left, 0), 18);
    m_dateHeader->setLabels(widths, texts, framed);
}
