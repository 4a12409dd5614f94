#pragma once
// What the current view is and how its grid is laid out, filled by the main window and read by
// the grids and printing.
#include <QtGlobal>

// View numbers, as the "View" setting stores them.
enum ViewKind : quint8 {
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

class ViewState
{
public:
    static constexpr int DefaultStripHeight = 15;

    static bool usesTimeGrid(quint8 kind) { return kind <= ViewWeek; }
    static bool usesMonthGrid(quint8 kind) { return kind >= ViewMonth && kind <= View6Weeks; }
    static bool usesYearGrid(quint8 kind) { return kind >= ViewYear && kind <= View12Months; }
    static bool isTasksView(quint8 kind) { return kind == ViewTasks; }

    void resetStripHeight() { stripHeight = DefaultStripHeight; }

    quint8 kind = ViewDay;
    qint32 columnCount = 1;
    qint32 rowCount = 0;
    qint32 firstVisibleRow = 0;              // first visible row of the time grid
    qint32 stripHeight = DefaultStripHeight; // all-day strip height in pixels
};
