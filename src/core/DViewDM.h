#pragma once
// Descriptor of the current view, filled by the main window and read by the grids and
// printing. The widget members point at widgets the main window owns; this class never
// owns or deletes them and they are null until the main window sets them.
#include <QtGlobal>

class QWidget;

// View numbers (ViewKind).
enum ViewKindValue : quint8 {
    ViewDay = 0, // 0 to 6: 1 to 7 days
    View7Days = 6,
    ViewWorkWeek = 7,
    ViewWeek = 8,
    ViewMonth = 9,
    View2Weeks = 10, // 10 to 14: 2 to 6 weeks
    View6Weeks = 14,
    ViewYear = 15,
    View3Months = 16,
    View6Months = 17,
    View12Months = 18,
    ViewTasks = 19,
};

class TDView
{
public:
    static constexpr int DefaultMinRowHeight = 15;

    static bool UsesTimeGrid(quint8 kind) { return kind <= ViewWeek; }
    static bool UsesMonthGrid(quint8 kind) { return kind >= ViewMonth && kind <= View6Weeks; }
    static bool UsesYearGrid(quint8 kind) { return kind >= ViewYear && kind <= View12Months; }
    static bool IsTasksView(quint8 kind) { return kind == ViewTasks; }

    void ResetMinRowHeight() { MinRowHeight = DefaultMinRowHeight; }

    quint8 ViewKind = ViewDay;
    QWidget *Grid = nullptr;     // the view's main grid
    QWidget *DateGrid = nullptr; // its header grid of dates
    QWidget *Panel = nullptr;    // the panel holding both
    QWidget *TitleLabel = nullptr;
    QWidget *TitleShape = nullptr;
    QWidget *TitleShape2 = nullptr;
    qint32 ColumnCount = 1;
    qint32 RowCount = 0;
    qint32 StartPosition = 0;                  // first visible row of the time grid
    qint32 MinRowHeight = DefaultMinRowHeight; // all-day strip height in pixels
    qint32 Height = 0;                         // main window size in pixels
    qint32 Width = 0;
};
