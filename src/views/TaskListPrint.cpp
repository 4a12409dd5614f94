#include "views/TaskListPrint.h"

#include "views/GridPaint.h"
#include "views/PrintPage.h"
#include "views/TaskMarks.h"
#include "views/TasksGridModel.h"

#include <QPolygon>
#include <QPrinter>
#include <algorithm>
#include <vector>

namespace
{
// The sort triangle's colour by the key's place in the sort order.
QColor keyColor(int place)
{
    return place == 0   ? QColor(Qt::black)
           : place == 1 ? QColor(128, 128, 128)
                        : QColor(192, 192, 192);
}

void drawTriangle(QPainter &p, int x, int midY, int size, bool up, const QColor &color)
{
    const int half = std::max(1, size / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    if (up)
        p.drawPolygon(QPolygon({QPoint(x, midY + half), QPoint(x + size, midY + half),
                                QPoint(x + half, midY - half)}));
    else
        p.drawPolygon(QPolygon({QPoint(x, midY - half), QPoint(x + size, midY - half),
                                QPoint(x + half, midY + half)}));
    p.setBrush(Qt::NoBrush);
}

void drawCheckBox(QPainter &p, const QRect &cell, int size, int pen, bool ticked)
{
    const QRect box(cell.center().x() - size / 2, cell.center().y() - size / 2, size, size);
    p.setPen(QPen(Qt::black, pen));
    p.setBrush(Qt::white);
    p.drawRect(box);
    if (ticked) {
        p.drawLine(box.left() + size / 6, box.top() + size / 2, box.left() + size / 2 - 1,
                   box.bottom() - size / 6);
        p.drawLine(box.left() + size / 2 - 1, box.bottom() - size / 6, box.right() - size / 6,
                   box.top() + size / 6);
    }
    p.setBrush(Qt::NoBrush);
}
} // namespace

int TaskListPrint::rowsPerPage(int rowsHeight, int line)
{
    return std::max(1, rowsHeight / std::max(1, line));
}

PrintResult TaskListPrint::print(QPrinter &printer, const TasksGridModel &model,
                                 const PrintOptions &options, const TaskListPrintSource &source)
{
    PrintJob job(printer);
    if (!job.begin()) return job.finish();
    QPainter &p = job.painter();
    const PrintPage page(printer, options);
    const QRect frame = page.frame();
    const int line = page.line();
    const int pen = page.pen();

    // Columns in the screen's order; the side columns 3 lines wide, the subject the rest.
    QString order;
    for (const QChar key : source.columns)
        if ((key == u'S' || key == u'P' || key == u'F') && !order.contains(key)) order += key;
    if (!order.contains(u'S')) order.prepend(u'S');
    const int sideWidth = std::min(3 * line, frame.width() / 4);
    const int subjectWidth = frame.width() - int(order.size() - 1) * sideWidth;
    std::vector<std::pair<QChar, QRect>> columns;
    int x = frame.left();
    const int titleTop = frame.top() + page.headingHeight();
    for (const QChar key : order) {
        const int w = key == u'S' ? subjectWidth : sideWidth;
        columns.emplace_back(key, QRect(x, titleTop, w, line));
        x += w;
    }

    const int rowsTop = titleTop + line;
    const int perPage = rowsPerPage(frame.bottom() + 1 - rowsTop, line);
    const int count = model.visibleCount();
    const int pages = std::max(1, (count + perPage - 1) / perPage);
    const QFont normal = page.font(page.fontSize());
    const QFont bold = page.font(page.fontSize(), true);
    const int indentStep = line;

    const auto paintPage = [&](int pageIndex) {
        page.drawHeading(p, QStringLiteral("Tasks"));
        paintTitle(p, page, source, columns, titleTop);
        const int firstRow = pageIndex * perPage;
        const int lastRow = std::min(count, firstRow + perPage);
        for (int row = firstRow; row < lastRow; ++row) {
            const auto task = model.visibleTask(row);
            if (!task) continue;
            const int y = rowsTop + (row - firstRow) * line;
            for (const auto &[key, title] : columns) {
                const QRect cell(title.left(), y, title.width(), line);
                if (key == u'S') {
                    const int indent = std::min(cell.width() / 2, task->level * indentStep);
                    const QRect text = cell.adjusted(indent, 0, 0, 0);
                    p.fillRect(text, page.boxFill(model.layerColor(task->layer)));
                    p.fillRect(QRect(text.left(), y, pen, line), Qt::black);
                    if (task->hasChildren) {
                        p.setFont(normal);
                        p.setPen(Qt::black);
                        p.drawText(QRect(text.left() - indentStep, y, indentStep, line),
                                   Qt::AlignCenter,
                                   task->open ? QStringLiteral("-") : QStringLiteral("+"));
                    }
                    p.setFont(normal);
                    const QColor ink =
                        task->finished ? GridPaint::occurrenceColor() : QColor(Qt::black);
                    p.setPen(ink);
                    QRect textArea = text.adjusted(3 * pen, 0, -pen, 0);
                    if (source.alarmMarks && task->alarmSet)
                        textArea.setLeft(
                            TaskMarks::drawAlarmMark(p, textArea.left(), y, line, ink));
                    p.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, task->subject);
                    if (task->finished) {
                        const int w = std::min(p.fontMetrics().horizontalAdvance(task->subject),
                                               textArea.width());
                        p.fillRect(QRect(textArea.left(), y + line / 2, w, pen),
                                   GridPaint::occurrenceColor());
                    }
                } else if (key == u'P') {
                    if (task->priority >= 2) {
                        p.setFont(bold);
                        p.setPen(Qt::black);
                        p.drawText(cell, Qt::AlignCenter, QStringLiteral("!"));
                    } else if (task->priority <= 0) {
                        p.setPen(QPen(GridPaint::occurrenceColor(), pen));
                        TaskMarks::drawLowPriorityArrow(p, cell);
                    }
                } else {
                    drawCheckBox(p, cell, std::max(3, line * 2 / 3), pen, task->finished);
                }
            }
            p.fillRect(QRect(frame.left(), y + line - pen, frame.width(), pen), Qt::black);
        }
        for (size_t i = 1; i < columns.size(); ++i)
            p.fillRect(
                QRect(columns[i].second.left(), titleTop, pen, frame.bottom() + 1 - titleTop),
                Qt::black);
        page.drawFrame(p);
        page.drawFooter(p, source.today, pageIndex + 1, pages);
    };
    (void)job.printPages(pages, paintPage);
    return job.finish();
}

void TaskListPrint::paintTitle(QPainter &p, const PrintPage &page,
                               const TaskListPrintSource &source,
                               const std::vector<std::pair<QChar, QRect>> &columns, int y)
{
    const int line = page.line();
    p.setFont(page.font(page.fontSize(), true));
    for (const auto &[key, cell] : columns) {
        int textRight = cell.center().x();
        if (key == u'F') {
            drawCheckBox(p, cell, std::max(3, line * 2 / 3), page.pen(), true);
            textRight = cell.center().x() + line / 3;
        } else {
            const QString caption = key == u'S' ? QStringLiteral("Task") : QStringLiteral("!");
            p.setPen(Qt::black);
            const Qt::Alignment align =
                (key == u'S' ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
            const QRect area = cell.adjusted(3 * page.pen(), 0, 0, 0);
            p.drawText(area, align, caption);
            textRight = p.boundingRect(area, align, caption).right();
        }
        const int place = int(source.sortOrder.indexOf(key)) / 2;
        const int at = int(source.sortOrder.indexOf(key));
        if (at >= 0 && at % 2 == 0 && place < 3 && at + 1 < source.sortOrder.size()) {
            const bool up = source.sortOrder.at(at + 1) == u'+';
            drawTriangle(p, textRight + line / 3, y + line / 2, std::max(2, line / 3), up,
                         keyColor(place));
        }
    }
    p.fillRect(QRect(page.frame().left(), y + line - page.pen(), page.frame().width(), page.pen()),
               Qt::black);
}
