// The task-list print read back from PDF: the alarm mark and the low-priority arrow the screen
// shows; the copies the window's week and month prints write into a PDF file; the
// print dialog's boxes wide enough for their entries.
#include "core/DateTimeFormat.h"
#include "core/Settings.h"
#include "dialogs/PrintDialog.h"
#include "mainwin/PrintCommands.h"
#include "support/TestEnv.h"
#include "ui/AugustWeekWindow.h"
#include "ui/PdfPages.h"
#include "views/GridPaint.h"
#include "views/PrintPage.h"
#include "views/TaskListPrint.h"
#include "views/TasksGridModel.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>

#include <cmath>
#include <vector>

namespace
{

class ListTasks : public TasksGridModel
{
public:
    std::vector<TaskRow> rows;

    int visibleCount() const override { return int(rows.size()); }
    std::optional<TaskRow> visibleTask(int row) const override
    {
        if (row < 0 || row >= visibleCount()) return std::nullopt;
        return rows[size_t(row)];
    }
    void rebuildRows() override {}
    QColor layerColor(int) const override { return Qt::white; }
    bool writeTask(const TaskRow &) override { return false; }
    bool moveTask(int, int) override { return false; }
};

TaskRow task(int id, const QString &subject, int priority, bool alarm)
{
    TaskRow t;
    t.id = id;
    t.layer = 1;
    t.subject = subject;
    t.priority = priority;
    t.alarmSet = alarm;
    return t;
}

// The left edge, in points, of the first word `word` on page 1.
double wordLeft(const QString &pdf, const QString &word)
{
    const QString html = PdfPages::run("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
    const QRegularExpression re(QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>%1</word>")
                                    .arg(QRegularExpression::escape(word)));
    const auto m = re.match(html);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

class PrintTaskMarks : public ::testing::Test
{
protected:
    // With DAYLOOM_SHOT_DIR naming a folder the PDFs are kept there for looking at by eye.
    void TearDown() override
    {
        const QString keep = qEnvironmentVariable("DAYLOOM_SHOT_DIR");
        if (keep.isEmpty()) return;
        for (const QString &name : QDir(root).entryList({"*.pdf"}, QDir::Files))
            QFile::copy(root + "/" + name, keep + "/task-print-" + name);
    }

    PrintResult print(const QString &name, const TaskListPrintSource &source)
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf(name));
        printer.setFullPage(true); // page pixels and device units share their origin
        return TaskListPrint::print(printer, model, options, source);
    }
    QString pdf(const QString &name) const { return root + "/" + name + ".pdf"; }

    QString root = TestEnv::freshDir("print-task-marks");
    QPrinter printer;
    ListTasks model;
    PrintOptions options = [] {
        PrintOptions o;
        o.heading = false;
        return o;
    }();
};

TEST_F(PrintTaskMarks, AlarmMarkAndLowPriorityArrowArePrintedAsOnTheScreen)
{
    model.rows = {task(1, "Alarmed", 0, true), task(2, "Plain", 1, false)};
    TaskListPrintSource source; // columns S, P, F; no sort triangles
    ASSERT_TRUE(print("marks", source).ok);

    // The geometry the print used: 96 units per inch, so a 192 dpi render doubles it.
    const PrintPage page(printer, options);
    const QRect frame = page.frame();
    const int line = page.line();
    const int sideWidth = std::min(3 * line, frame.width() / 4);
    const int priorityLeft = frame.right() + 1 - 2 * sideWidth;
    const int rowsTop = frame.top() + line;
    const QImage img = PdfPages::render(pdf("marks"), 1, 2 * 96);
    ASSERT_FALSE(img.isNull());
    const auto priorityCell = [&](int row) {
        return img.copy(QRect(2 * (priorityLeft + 4), 2 * (rowsTop + row * line + 2),
                              2 * (sideWidth - 8), 2 * (line - 4)));
    };
    const QColor grey = GridPaint::occurrenceColor();
    EXPECT_GT(PdfPages::countColor(priorityCell(0), grey), 6) << "low: the arrow";
    EXPECT_EQ(PdfPages::countColor(priorityCell(1), grey), 0) << "normal: nothing";

    // The square sits where the subject started before; the subject moves right past it.
    const int size = int(std::lround(4.0 * line / 18));
    const int markX = frame.left() + line + 3 * page.pen() + size / 2;
    const int markY = rowsTop + line / 2;
    EXPECT_EQ(img.pixelColor(2 * markX, 2 * markY), QColor(Qt::black));
    const double shift = wordLeft(pdf("marks"), "Alarmed") - wordLeft(pdf("marks"), "Plain");
    EXPECT_NEAR(shift, 12.0 * line / 18 * 72 / 96, 1.5) << "points";

    // With the marks turned off the subjects line up and the arrow stays.
    source.alarmMarks = false;
    ASSERT_TRUE(print("no-marks", source).ok);
    EXPECT_NEAR(wordLeft(pdf("no-marks"), "Alarmed"), wordLeft(pdf("no-marks"), "Plain"), 0.5);
    const QImage plain = PdfPages::render(pdf("no-marks"), 1, 2 * 96);
    EXPECT_NE(plain.pixelColor(2 * markX, 2 * markY), QColor(Qt::black));
}

class PrintCopies : public AugustWeekWindow
{
protected:
    PrintCopies() : AugustWeekWindow("print-copies") {}
    void SetUp() override { openWindow(); }

    int printedPages(const QString &name, int copies)
    {
        QPrinter &printer = win->printCommands().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(root + "/" + name + ".pdf");
        PrintOptions o;
        o.copies = copies;
        o.startIndex = 1; // the whole day: more than one page
        if (!win->printCommands().printCurrentView(o).ok) return -1;
        return PdfPages::pageCount(root + "/" + name + ".pdf");
    }
};

TEST_F(PrintCopies, WeekAndMonthPrintTheirCopiesIntoThePdfFile)
{
    const int weekPages = printedPages("week", 1);
    ASSERT_GE(weekPages, 2);
    EXPECT_EQ(printedPages("week2", 2), 2 * weekPages);
    EXPECT_EQ(PdfPages::text(root + "/week2.pdf", weekPages + 1),
              PdfPages::text(root + "/week.pdf", 1))
        << "the second copy starts again at the first page";
    ASSERT_TRUE(win->switchToView(ViewMonth));
    EXPECT_EQ(printedPages("month", 4), 4);
}

TEST(PrintDialogBoxes, EveryEntryFitsItsBox)
{
    const QString root = TestEnv::freshDir("print-dialog-boxes");
    Settings reg(pathsBelow(root));
    DateTimeFormat format(QLocale(QLocale::English, QLocale::UnitedStates));
    format.buildTimeFormat(1, 1); // 12-hour: the longest hours
    QPrinter printer;
    PrintDialog dialog(ViewWeek, reg, format, printer);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (QComboBox *box :
         {dialog.startBox(), dialog.stopBox(), dialog.copiesBox(), dialog.fontSizeBox(),
          dialog.widthBox(), dialog.heightBox(), dialog.colorBox()}) {
        QStyleOptionComboBox opt;
        opt.initFrom(box);
        opt.editable = box->isEditable();
        const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &opt,
                                                         QStyle::SC_ComboBoxEditField, box);
        for (int i = 0; i < box->count(); ++i)
            EXPECT_LE(box->fontMetrics().horizontalAdvance(box->itemText(i)), field.width())
                << box->itemText(i).toStdString();
        EXPECT_LE(box->geometry().right(), box->parentWidget()->width()) << "inside the panel";
    }
    // Every label shows its whole text ("Start printing from:" is the longest).
    for (const QLabel *label : dialog.findChildren<QLabel *>()) {
        if (!label->isVisible()) continue;
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
            << label->text().toStdString();
        EXPECT_LE(label->geometry().right(), label->parentWidget()->width())
            << label->text().toStdString();
    }
}

} // namespace
