// View selection, the central refresh, navigation, zoom and time scale, and the window's keys.
#include "mainwin/MainDM.h"

#include "core/Clock.h"
#include "core/DRegDM.h"
#include "mainwin/DateHeaderGrid.h"
#include "mainwin/ViewTab.h"
#include "views/LumButton.h"

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

int TForm_Main::tabFamily(int kind) const
{
    if (kind <= View7Days) return 0;
    if (kind == ViewWorkWeek) return 1;
    if (kind == ViewWeek) return 2;
    if (TDView::UsesMonthGrid(quint8(kind))) return 3;
    if (TDView::UsesYearGrid(quint8(kind))) return 4;
    return 5;
}

void TForm_Main::fillDescriptor(int kind)
{
    m_view.ViewKind = quint8(kind);
    m_view.ColumnCount = ViewSpans::dayColumns(kind);
    if (TDView::UsesTimeGrid(quint8(kind))) {
        m_view.Grid = m_timeGrid;
        m_view.DateGrid = m_gridDateDW;
        m_view.Panel = m_panelDW;
        m_view.RowCount = m_rows.rowCount;
    } else {
        m_view.Grid = nullptr;
        m_view.DateGrid = nullptr;
        m_view.Panel = TDView::UsesMonthGrid(quint8(kind))  ? m_panelMonth
                       : TDView::UsesYearGrid(quint8(kind)) ? m_panelYear
                                                            : m_panelTasks;
        m_view.RowCount = kind == ViewMonth                     ? 6
                          : TDView::UsesMonthGrid(quint8(kind)) ? kind - View2Weeks + 2
                          : TDView::UsesYearGrid(quint8(kind))  ? 31
                                                                : 0;
    }
    ViewTab *t = m_tabs[std::size_t(tabFamily(kind))];
    m_view.TitleLabel = t;
    m_view.TitleShape = t;
    m_view.TitleShape2 = t;
    if (QAction *a = m_viewActions[std::size_t(kind)]) a->setChecked(true);
}

void TForm_Main::markTab(int kind)
{
    const int family = tabFamily(kind);
    for (std::size_t i = 0; i < m_tabs.size(); ++i)
        m_tabs[i]->setMarked(int(i) == family);
}

void TForm_Main::showFamilyPanel(int kind)
{
    QWidget *shown = m_view.Panel;
    for (QWidget *p : {m_panelDW, m_panelMonth, m_panelYear, m_panelTasks})
        p->setVisible(p == shown);
    m_gridDateDW->setVisible(TDView::UsesTimeGrid(quint8(kind)));
    const bool dated = kind != ViewTasks;
    m_buttonPrev->setVisible(dated);
    m_buttonNext->setVisible(dated);
    m_labelDate->setVisible(dated);
    action(QStringLiteral("MenuItem_New"))
        ->setText(dated ? QStringLiteral("New Event...") : QStringLiteral("New Task..."));
}

void TForm_Main::applyStartupView()
{
    int kind = m_reg.View();
    if (kind < ViewDay || kind > View12Months) kind = ViewDay;
    if (kind <= View7Days) m_dayChoice = kind;
    if (TDView::UsesMonthGrid(quint8(kind))) m_monthChoice = kind - ViewMonth;
    if (TDView::UsesYearGrid(quint8(kind))) m_yearChoice = kind - ViewYear;
    m_tabs[0]->setChoice(m_dayChoice);
    m_tabs[3]->setChoice(m_monthChoice);
    m_tabs[4]->setChoice(m_yearChoice);

    const int scale = m_reg.TimeScale();
    m_scaleIndex = scale >= 0 && scale < 6 ? scale : TimeFamily::DefaultScaleIndex;
    m_scaleActions[std::size_t(m_scaleIndex)]->setChecked(true);
    m_popupScaleActions[std::size_t(m_scaleIndex)]->setChecked(true);

    m_view.ResetMinRowHeight();
    fillDescriptor(kind);
    const int hour = std::clamp(m_reg.Time(), 0, 23);
    m_view.StartPosition = hour * 60 / minutesPerRow();
    markTab(kind);
    showFamilyPanel(kind);
    m_navigatorShown = m_reg.ShowNavigator();
    action(QStringLiteral("MenuItem_ShowNavigator"))->setChecked(m_navigatorShown);

    const ViewSpan s = ViewSpans::viewSpan(kind, m_selected, m_reg.StartOfWeek());
    m_time.setFirstDate(s.first);
    m_time.setEndDate(s.end);
    layoutWindow();
    scrollToHour(hour);
    m_prevView = m_view;
}

bool TForm_Main::switchToView(int kind)
{
    if (!TDView::UsesTimeGrid(quint8(kind)) || kind < 0) {
        // Only the time-grid family exists so far; keep the shown view and its check mark.
        if (QAction *a = m_viewActions[std::size_t(m_view.ViewKind)]) a->setChecked(true);
        return false;
    }
    m_view.ViewKind = quint8(kind);
    if (QAction *a = m_viewActions[std::size_t(kind)]) a->setChecked(true);
    if (m_prevView.ViewKind == kind) return true;

    if (m_hooks.reinitialise) m_hooks.reinitialise();
    m_time.ClearSelection();
    fillDescriptor(kind);
    markTab(kind);
    showFamilyPanel(kind);
    refresh();
    m_prevView.MinRowHeight = m_view.MinRowHeight;
    m_prevView.Grid = m_view.Grid;
    m_prevView.ViewKind = m_view.ViewKind;
    return true;
}

void TForm_Main::chooseFromTab(int family, int choice)
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

void TForm_Main::refresh()
{
    m_refreshPending = false;
    const int kind = m_view.ViewKind;
    if (kind != ViewTasks) {
        const ViewSpan s = ViewSpans::viewSpan(kind, m_selected, m_reg.StartOfWeek());
        m_time.setFirstDate(s.first);
        m_time.setEndDate(s.end);
        m_labelDate->setText(ViewSpans::dateLabel(kind, s));
    }
    if (TDView::UsesTimeGrid(quint8(kind))) {
        layoutTimePanel();
        if (m_hooks.collect) m_hooks.collect();
        m_timeGrid->update();
        m_allDay->update();
    }
    m_gridDateDW->update();
    updateCommands();
}

QString TForm_Main::dateLabelText() const
{
    return m_labelDate->text();
}

void TForm_Main::setSelectedDate(TDateTime day)
{
    const TDateTime d = DateTimeValue::dayOf(day);
    if (!spanInRange(ViewSpans::viewSpan(m_view.ViewKind, d, m_reg.StartOfWeek()))) return;
    if (m_time.HasSelection()) {
        if (m_hooks.reinitialise) m_hooks.reinitialise();
        m_time.ClearSelection();
    }
    m_selected = d;
    refresh();
}

void TForm_Main::stepPrevious()
{
    if (m_view.ViewKind == ViewTasks) return;
    setSelectedDate(ViewSpans::navigationStep(m_view.ViewKind, m_selected, -1));
}

void TForm_Main::stepNext()
{
    if (m_view.ViewKind == ViewTasks) return;
    setSelectedDate(ViewSpans::navigationStep(m_view.ViewKind, m_selected, 1));
}

void TForm_Main::selectToday()
{
    setSelectedDate(m_clock.today());
}

void TForm_Main::zoomIn()
{
    if (!TDView::UsesTimeGrid(m_view.ViewKind)) return;
    const int shown = m_rows.rowHeight > 0 ? m_rows.rowHeight : m_zoomRowHeight;
    m_zoomRowHeight = TimeFamily::zoomedIn(shown);
    layoutTimeRows();
}

void TForm_Main::zoomOut()
{
    if (!TDView::UsesTimeGrid(m_view.ViewKind)) return;
    const int shown = m_rows.rowHeight > 0 ? m_rows.rowHeight : m_zoomRowHeight;
    m_zoomRowHeight = TimeFamily::zoomedOut(shown);
    layoutTimeRows();
}

void TForm_Main::setTimeScale(int scaleIndex)
{
    if (!TDView::UsesTimeGrid(m_view.ViewKind) || scaleIndex < 0 || scaleIndex > 5) return;
    m_scaleIndex = scaleIndex;
    m_scaleActions[std::size_t(scaleIndex)]->setChecked(true);
    m_popupScaleActions[std::size_t(scaleIndex)]->setChecked(true);
    if (m_hooks.reinitialise) m_hooks.reinitialise();
    m_time.ClearSelection();
    layoutTimeRows();
    if (m_hooks.collect) m_hooks.collect();
    m_timeGrid->update();
}

void TForm_Main::autoScroll(bool up)
{
    if (m_hooks.autoScrollTick) m_hooks.autoScrollTick(up);
    const int v = m_scrollDW->value();
    if (up && v > 0) m_scrollDW->setValue(v - 1);
    if (!up && v < m_scrollDW->maximum()) m_scrollDW->setValue(v + 1);
}

void TForm_Main::keyPressEvent(QKeyEvent *event)
{
    const bool timeView = TDView::UsesTimeGrid(m_view.ViewKind);
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

void TForm_Main::keyReleaseEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat()) {
        if (event->key() == Qt::Key_Left) m_timerLeft.stop();
        if (event->key() == Qt::Key_Right) m_timerRight.stop();
    }
    event->ignore();
}

void TForm_Main::changeEvent(QEvent *event)
{
    // A key released while another window has the focus never reaches this window: stop the
    // repeat instead of stepping on forever.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        m_timerLeft.stop();
        m_timerRight.stop();
    }
    QMainWindow::changeEvent(event);
}

bool TForm_Main::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize) {
        layoutWindow();
    } else if (event->type() == QEvent::MouseButtonPress) {
        // A click on the empty background of the bars or the navigator column.
        refresh();
    }
    return QMainWindow::eventFilter(watched, event);
}
