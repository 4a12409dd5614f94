#pragma once
// Printing of the tasks view (19): a title row and one row per visible task, in the screen's
// column order, continued on as many pages as the rows need.
#include "core/PrintOptions.h"
#include "views/PrintJob.h"

#include <QRect>
#include <QString>
#include <utility>
#include <vector>

class QPainter;
class QPrinter;
class PrintPage;
class TasksGridModel;

struct TaskListPrintSource {
    QString columns = QStringLiteral("SPF"); // shown columns in order: 'S', 'P', 'F'
    QString sortOrder;                       // the index name, e.g. "S+P+F+"
    QString today;                           // today's date, formatted, for the footer
    bool alarmMarks = true;                  // marks tasks with an alarm, as the screen does
};

class TaskListPrint
{
public:
    // Rows a page holds below its title row: at least 1, so a page with no room still moves
    // the job on.
    static int rowsPerPage(int rowsHeight, int line);

    // Not ok (with the reason) when the printer or file failed.
    [[nodiscard]] static PrintResult print(QPrinter &printer, const TasksGridModel &model,
                                           const PrintOptions &options,
                                           const TaskListPrintSource &source);

private:
    static void paintTitle(QPainter &p, const PrintPage &page, const TaskListPrintSource &source,
                           const std::vector<std::pair<QChar, QRect>> &columns, int y);
};
