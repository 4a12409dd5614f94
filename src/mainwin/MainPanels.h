#pragma once
// The main window's client area and its fixed parts: the navigator column (hide-navigator and
// today buttons), the top bar (new, delete and show-navigator buttons, the six view tabs, the
// previous and next buttons around the date label, and the date header of the time views),
// one panel per view family (time grid, month, year, tasks) and the bottom bar (print button).
// Builds them in their colours and lays them out for the client's size; the window connects
// the buttons and tabs and fills the family panels.
#include "core/DateTimeValue.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class DateHeaderGrid;
class FlatButton;
class QLabel;
class QMainWindow;
class QWidget;
class UiFont;
class ViewTab;

class MainPanels
{
public:
    static constexpr int NavigatorWidth = 170;
    static constexpr int TopBarHeight = 58;
    static constexpr int BottomBarHeight = 29;

    // Builds the client area as `window`'s central widget and every part in it. No part takes
    // the keyboard focus. `todayCaption` is the today button's text.
    MainPanels(QMainWindow &window, const UiFont &font, const QString &todayCaption);

    // Lays the parts out for the client's current size, with or without the navigator column.
    void layout(bool navigatorShown);
    // Shows the panel of view `kind`'s family and hides the others; the date header shows in
    // every dated view, the previous and next buttons and the date label in dated views only.
    void showViewFamily(int kind);
    // The date header over the time grid's day columns, `today` framed.
    void showDays(SerialDateTime firstDay, const std::vector<int> &dayWidths, SerialDateTime today);
    // The date header over the month or year grid: columns from x = `left` with these widths
    // and texts, column `framed` (-1: none) framed.
    void showLabels(int left, const std::vector<int> &widths, const QStringList &texts, int framed);

    QWidget *client() const { return m_client; }
    // Tabs in family order: 0 Day, 1 Work Week, 2 Week, 3 Month, 4 Year, 5 Tasks.
    ViewTab *tab(int family) const { return m_tabs[std::size_t(family)]; }
    // The navigator column's parts: the top (hide and today buttons), the scrolling middle
    // and the bottom.
    QWidget *navigatorTop() const { return m_navigatorTop; }
    QWidget *navigatorMiddle() const { return m_navigatorMiddle; }
    QWidget *navigatorBottom() const { return m_navigatorBottom; }
    FlatButton *hideNavigatorButton() const { return m_hideNavigatorButton; }
    FlatButton *todayButton() const { return m_todayButton; }
    FlatButton *newButton() const { return m_newButton; }
    FlatButton *deleteButton() const { return m_deleteButton; }
    FlatButton *showNavigatorButton() const { return m_showNavigatorButton; }
    FlatButton *previousButton() const { return m_previousButton; }
    FlatButton *nextButton() const { return m_nextButton; }
    FlatButton *printButton() const { return m_printButton; }
    QLabel *dateLabel() const { return m_dateLabel; }
    DateHeaderGrid *dateHeader() const { return m_dateHeader; }
    QWidget *timePanel() const { return m_timePanel; }
    QWidget *monthPanel() const { return m_monthPanel; }
    QWidget *yearPanel() const { return m_yearPanel; }
    QWidget *tasksPanel() const { return m_tasksPanel; }
    // The navigator column and the bars: a click on their background refreshes the view.
    QList<QWidget *> backgroundPanels() const;

private:
    QWidget *m_client = nullptr;
    QWidget *m_navigatorColumn = nullptr;
    QWidget *m_navigatorTop = nullptr;
    QWidget *m_navigatorMiddle = nullptr;
    QWidget *m_navigatorBottom = nullptr;
    FlatButton *m_hideNavigatorButton = nullptr;
    FlatButton *m_todayButton = nullptr;
    QWidget *m_topBar = nullptr;
    FlatButton *m_newButton = nullptr;
    FlatButton *m_deleteButton = nullptr;
    FlatButton *m_showNavigatorButton = nullptr;
    FlatButton *m_previousButton = nullptr;
    FlatButton *m_nextButton = nullptr;
    QLabel *m_dateLabel = nullptr;
    std::array<ViewTab *, 6> m_tabs{};
    QWidget *m_dateBar = nullptr;
    DateHeaderGrid *m_dateHeader = nullptr;
    QWidget *m_timePanel = nullptr;
    QWidget *m_monthPanel = nullptr;
    QWidget *m_yearPanel = nullptr;
    QWidget *m_tasksPanel = nullptr;
    QWidget *m_bottomBar = nullptr;
    FlatButton *m_printButton = nullptr;
};
