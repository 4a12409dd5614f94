#include "mainwin/PrintCommands.h"

#include "core/Clock.h"
#include "core/DateTextHelpers.h"
#include "core/Settings.h"
#include "dialogs/PrintDialog.h"
#include "mainwin/EventsStoreGridModel.h"
#include "mainwin/EventsStoreYearModel.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainPanels.h"
#include "mainwin/MainWindow.h"
#include "mainwin/TasksStoreGridModel.h"
#include "views/CalendarPagePrint.h"
#include "views/FlatButton.h"
#include "views/MonthGrid.h"
#include "views/TaskListPrint.h"
#include "views/TasksGrid.h"
#include "views/TimeGrid.h"
#include "views/TimeGridPrint.h"
#include "views/YearGrid.h"

#include <QAction>

PrintCommands::PrintCommands(MainWindow &window, const Settings &settings,
                             EventsStoreGridModel &gridModel, EventsStoreYearModel &yearModel,
                             TasksStoreGridModel &tasksModel, const Clock &clock)
    : QObject(&window), m_window(window), m_settings(settings), m_gridModel(gridModel),
      m_yearModel(yearModel), m_tasksModel(tasksModel), m_clock(clock),
      m_runDialog([](PrintDialog &d) { return d.exec(); })
{
    connect(window.menus().printAction(), &QAction::triggered, this,
            &PrintCommands::openPrintDialog);
    connect(window.panels().printButton(), &FlatButton::clicked, this,
            &PrintCommands::printWithSettings);
    window.menus().printAction()->setEnabled(true);
    window.panels().printButton()->setEnabled(true);
}

PrintResult PrintCommands::printCurrentView(const PrintOptions &requested)
{
    const PrintOptions options = requested.checked();
    const int kind = m_window.viewKind();
    m_printer.setCopyCount(options.copies);
    m_printer.setPageOrientation(PrintOptions::landscapeFor(m_settings.printOrientations(), kind)
                                     ? QPageLayout::Landscape
                                     : QPageLayout::Portrait);
    const QString today = dateText(m_window.format(), m_clock.today());
    const QString heading = m_window.dateLabelText();
    PrintResult result;
    if (ViewState::usesTimeGrid(quint8(kind))) {
        TimeGridPrintSource source;
        source.firstDay = m_window.viewDates().spanStart();
        source.days = m_window.timeGrid()->dayCount();
        source.stepsPerDay = m_window.stepsPerDay();
        source.firstVisibleRow = m_window.currentView().firstVisibleRow;
        source.rowCount = m_window.currentView().rowCount;
        source.screenRowHeight = m_window.rowLayout().rowHeight;
        source.heading = heading;
        source.today = today;
        result = TimeGridPrint(m_gridModel, m_window.format(), m_settings)
                     .print(m_printer, options, source);
    } else if (ViewState::usesMonthGrid(quint8(kind))) {
        const CalendarPageSource source{m_window.viewDates().spanStart(),
                                        m_window.monthGrid()->weekCount(), heading, today};
        result = CalendarPagePrint(m_window.format(), m_settings)
                     .printMonth(m_printer, m_gridModel, options, source);
    } else if (ViewState::usesYearGrid(quint8(kind))) {
        const CalendarPageSource source{m_window.viewDates().spanStart(),
                                        m_window.yearGrid()->monthCount(), heading, today};
        result = CalendarPagePrint(m_window.format(), m_settings)
                     .printYear(m_printer, m_yearModel, options, source);
    } else {
        TaskListPrintSource source;
        source.columns.clear();
        const TasksGrid *grid = m_window.tasksGrid();
        for (int col = 0; col < grid->colCount(); ++col)
            source.columns += grid->sortKeyOf(col);
        source.sortOrder = m_settings.tasksIndexName();
        source.today = today;
        source.alarmMarks = m_settings.showAlarmTasks();
        result = TaskListPrint::print(m_printer, m_tasksModel, options, source);
    }
    // The print placed the shared collections for the paper.
    m_window.refresh();
    return result;
}

void PrintCommands::printWithSettings()
{
    report(printCurrentView(PrintOptions::fromSettings(m_settings, m_window.viewKind())));
}

void PrintCommands::openPrintDialog()
{
    PrintDialog dialog(m_window.viewKind(), m_settings, m_window.format(), m_printer, &m_window);
    if (m_runDialog(dialog) != QDialog::Accepted) return;
    report(printCurrentView(dialog.options()));
}

void PrintCommands::report(const PrintResult &result)
{
    if (!result.ok) m_window.showMessage(QStringLiteral("Printing failed.\n%1").arg(result.error));
}
