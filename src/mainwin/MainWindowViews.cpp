// View selection, the central refresh, navigation, zoom and time scale, and the window's keys.
#include "mainwin/MainWindow.h"

#include "core/Clock.h"
#include "core/Settings.h"
#include "mainwin/DateHeaderGrid.h"
#include "mainwin/ViewTab.h"
#include "views/FlatButton.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>

namespace
{
// Spans are kept inside the years the date conversions cover.
bool spanInRange(const ViewSpan &s)
{
    return s.first >= DateTimeValue::encodeDate(1500, 1, 1) &&
           s.end <= DateTimeValue::encodeDate(9999, 12, 31) + 1;
}
} // namespace

int MainWindow::tabFamily(int kind) const
{
    if (kind <= View7Days) return 0;
    if (kind == ViewWorkWeek) return 1;
    if (kind == ViewWeek) return 2;
    if (ViewState::usesMonthGrid(quint8(kind))) return 3;
    if (ViewState::usesYearGrid(quint8(kind))) return 4;
    return 5;
}

void MainWindow::fillDescriptor(int kind)
{
    m_view.kind = quint8(kind);
    m_view.columnCount = ViewSpans::dayColumns(kind);
    if (ViewState::usesTimeGrid(quint8(kind))) {
        m_view.rowCount = m_rows.rowCount;
    } else {
        m_view.rowCount = kind == ViewMonth                     ? 6
                          : ViewState::usesMonthGrid(quint8(kind)) ? kind - View2Weeks + 2
                          : ViewState::usesYearGrid(quint8(kind))  ? 31
                                                                : 0;
    }
    if (QAction *a = m_viewActions[std::size_t(kind)]) a->setChecked(true);
}

void MainWindow::markTab(int kind)
{
    const int family = tabFamily(kind);
    for (std::size_t i = 0; i < m_tabs.size(); ++i)
        m_tabs[i]->setMarked(int(i) == family);
}

void MainWindow::showFamilyPanel(int kind)
{
    QWidget *shown = ViewState::usesTimeGrid(quint8(kind))    ? m_panelDW
                     : ViewState::usesMonthGrid(quint8(kind)) ? m_panelMonth
                     : ViewState::usesYearGrid(quint8(kind))  ? m_panelYear
                                                              : m_panelTasks;
    for (QWidget *p : {m_panelDW, m_panelMonth, m_panelYear, m_panelTasks})
        p->setVisible(p == shown);
    m_gridDateDW->setVisible(ViewState::usesTimeGrid(quint8(kind)));
    const bool dated = kind != ViewTasks;
    m_buttonPrev->setVisible(dated);
    m_buttonNext->setVisible(dated);
    m_labelDate->setVisible(dated);
    action(QStringLiteral("MenuItem_New"))
        ->setText(dated ? QStringLiteral("New Event...") : QStringLiteral("New Task..."));
}

void MainWindow::applyStartupView()
{
    int kind = m_reg.startView();
    if (kind < ViewDay || kind > View12Months) kind = ViewDay;
    if (kind <= View7Days) m_dayChoice = kind;
    if (ViewState::usesMonthGrid(quint8(kind))) m_monthChoice = kind - ViewMonth;
    if (ViewState::usesYearGrid(quint8(kind))) m_yearChoice = kind - ViewYear;
    m_tabs[0]->setChoice(m_dayChoice);
    m_tabs[3]->setChoice(m_monthChoice);
    m_tabs[4]->setChoice(m_yearChoice);

    const int scale = m_reg.timeScale();
    m_scaleIndex = scale >= 0 && scale < 6 ? scale : TimeFamily::DefaultScaleIndex;
    m_scaleActions[std::size_t(m_scaleIndex)]->setChecked(true);
    m_popupScaleActions[std::size_t(m_scaleIndex)]->setChecked(true);

    m_view.resetStripHeight();
    fillDescriptor(kind);
    const int hour = std::clamp(m_reg.startHour(), 0, 23);
    m_view.firstVisibleRow = hour * 60 / minutesPerRow();
    markTab(kind);
    showFamilyPanel(kind);
    m_navigatorShown = m_reg.showNavigator();
    action(QStringLiteral("MenuItem_ShowNavigator"))->setChecked(m_navigatorShown);

    const ViewSpan s = ViewSpans::viewSpan(kind, m_selected, m_reg.startOfWeek());
    m_time.setSpanStart(s.first);
    m_time.setSpanEnd(s.end);
    layoutWindow();
    scrollToHour(hour);
    m_prevView = m_view;
}

bool MainWindow::switchToView(int kind)
{
    if (!ViewState::usesTimeGrid(quint8(kind)) || kind < 0) {
        // Only the time-grid family exists so far; keep the shown view and its check mark.
        if (QAction *a = m_viewActions[std::size_t(m_view.kind)]) a->setChecked(true);
        return false;
    }
    m_view.kind = quint8(kind);
    if (QAction *a = m_viewActions[std::size_t(kind)]) a->setChecked(true);
    if (m_prevView.kind == kind) return true;

    if (m_hooks.reinitialise) m_hooks.reinitialise();
    m_time.clearSelection();
    fillDescriptor(kind);
    markTab(kind);
    showFamilyPanel(kind);
    refresh();
    m_prevView.stripHeight = m_view.stripHeight;
    m_prevView.kind = m_view.kind;
    return true;
}

void MainWindow::chooseFromTab(int family, int choice)
{
    switch (family) {
    case 0:
        m_dayChoice = std::clamp(choice, 0, int(View7Days));
        m_tabs[0]->setChoice(m_dayChoice);
        switchToView(m_dayChoice);
        break;
    case 1:
        switchToView(ViewWorkWeek);
        break;
    case 2:
        switchToView(ViewWeek);
        break;
    case 3:
        m_monthChoice = std::clamp(choice, 0, 5);
        m_tabs[3]->setChoice(m_monthChoice);
        switchToView(ViewMonth + m_monthChoice);
        break;
    case 4:
        m_yearChoice = std::clamp(choice, 0, 3);
        m_tabs[4]->setChoice(m_yearChoice);
        switchToView(ViewYear + m_yearChoice);
        break;
    default:
        switchToView(ViewTasks);
        break;
    }
}

void MainWindow::refresh()
{
    m_refreshPending = false;
    const int kind = m_view.kind;
    if (kind != ViewTasks) {
        const ViewSpan s = ViewSpans::viewSpan(kind, m_selected, m_reg.startOfWeek());
        m_time.setSpanStart(s.first);
        m_time.setSpanEnd(s.end);
        m_labelDate->setText(ViewSpans::dateLabel(kind, s));
    }
    if (ViewState::usesTimeGrid(quint8(kind))) {
        layoutTimePanel();
        if (m_hooks.collect) m_hooks.collect();
        m_timeGrid->update();
        m_allDay->update();
    }
    m_gridDateDW->update();
    updateCommands();
}

QString MainWindow::dateLabelText() const
{
    return m_labelDate->text();
}

void MainWindow::setSelectedDate(SerialDateTime day)
{
    const SerialDateTime d = DateTimeValue::dayOf(day);
    if (!spanInRange(ViewSpans::viewSpan(m_view.kind, d, m_reg.startOfWeek()))) return;
    if (m_time.hasSelection()) {
        if (m_hooks.reinitialise) m_hooks.reinitialise();
        m_time.clearSelection();
    }
    m_selected = d;
    refresh();
}

void MainWindow::stepPrevious()
{
    if (m_view.kind == ViewTasks) return;
    setSelectedDate(ViewSpans::navigationStep(m_view.kind, m_selected, -1));
}

void MainWindow::stepNext()
{
    if (m_view.kind == ViewTasks) return;
    setSelectedDate(ViewSpans::navigationStep(m_view.kind, m_selected, 1));
}

void MainWindow::selectToday()
{
    setSelectedDate(m_clock.today());
}

void MainWindow::zoomIn()
{
    if (!ViewState::usesTimeGrid(m_view.kind)) return;
    const int shown = m_rows.rowHeight > 0 ? m_rows.rowHeight : m_zoomRowHeight;
    m_zoomRowHeight = TimeFamily::zoomedIn(shown);
    layoutTimeRows();
}

void MainWindow::zoomOut()
{
    if (!ViewState::usesTimeGrid(m_view.kind)) return;
    const int shown = m_rows.rowHeight > 0 ? m_rows.rowHeight : m_zoomRowHeight;
    m_zoomRowHeight = TimeFamily::zoomedOut(shown);
    layoutTimeRows();
}

void MainWindow::setTimeScale(int scaleIndex)
{
    if (!ViewState::usesTimeGrid(m_view.kind) || scaleIndex < 0 || scaleIndex > 5) return;
    m_scaleIndex = scaleIndex;
    m_scaleActions[std::size_t(scaleIndex)]->setChecked(true);
    m_popupScaleActions[std::size_t(scaleIndex)]->setChecked(true);
    if (m_hooks.reinitialise) m_hooks.reinitialise();
    m_time.clearSelection();
    layoutTimeRows();
    if (m_hooks.collect) m_hooks.collect();
    m_timeGrid->update();
}

void MainWindow::autoScroll(bool up)
{
    if (m_hooks.autoScrollTick) m_hooks.autoScrollTick(up);
    const int v = m_scrollDW->value();
    if (up && v > 0) m_scrollDW->setValue(v - 1);
    if (!up && v < m_scrollDW->maximum()) m_scrollDW->setValue(v + 1);
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    const bool timeView = ViewState::usesTimeGrid(m_view.kind);
    switch (event->key()) {
    case Qt::Key_Left:
        if (!m_timerLeft.isActive()) {
            stepPrevious();
            m_timerLeft.start();
        }
        break;
    case Qt::Key_Right:
        if (!m_timerRight.isActive()) {
            stepNext();
            m_timerRight.start();
        }
        break;
    case Qt::Key_Up:
        if (timeView && m_scrollDW->value() > 0) m_scrollDW->setValue(m_scrollDW->value() - 1);
        break;
    case Qt::Key_Down:
        if (timeView && m_scrollDW->value() < m_scrollDW->maximum())
            m_scrollDW->setValue(m_scrollDW->value() + 1);
        break;
    default:
        break;
    }
    event->ignore();
}

void MainWindow::keyReleaseEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat()) {
        if (event->key() == Qt::Key_Left) m_timerLeft.stop();
        if (event->key() == Qt::Key_Right) m_timerRight.stop();
    }
    event->ignore();
}

void MainWindow::changeEvent(QEvent *event)
{
    // A key released while another window has the focus never reaches this window: stop the
    // repeat instead of stepping on forever.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        m_timerLeft.stop();
        m_timerRight.stop();
    }
    QMainWindow::changeEvent(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize) {
        layoutWindow();
    } else if (event->type() == QEvent::MouseButtonPress) {
        // A click on the empty background of the bars or the navigator column.
        refresh();
    }
    return QMainWindow::eventFilter(watched, event);
}
