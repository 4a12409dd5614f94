// Printing every view family to a PDF file and reading it back: pages, texts, the event boxes'
// colours by colour mode, the screen left as it was, the pages a time range needs, failures
// reported, the stored settings range-checked, and the print dialog.
#include "SampleCalendar.h"
#include "core/LayerPalette.h"
#include "core/PrintOptions.h"
#include "dialogs/PrintDialog.h"
#include "mainwin/MainMenus.h"
#include "mainwin/MainPanels.h"
#include "mainwin/PrintCommands.h"
#include "store/TasksStore.h"
#include "ui/AugustWeekWindow.h"
#include "ui/PdfPages.h"
#include "views/FlatButton.h"
#include "views/TimeGrid.h"
#include "views/TimeGridModel.h"
#include "views/TimeGridPrint.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QRegularExpression>

#include <array>

namespace
{

class PrintTest : public AugustWeekWindow
{
protected:
    PrintTest() : AugustWeekWindow("print") {}
    void SetUp() override { openWindow(); }
    // With DAYLOOM_SHOT_DIR naming a folder the PDFs are kept there for looking at by eye.
    void TearDown() override
    {
        const QString keep = qEnvironmentVariable("DAYLOOM_SHOT_DIR");
        if (keep.isEmpty()) return;
        for (const QString &name : QDir(root).entryList({"*.pdf"}, QDir::Files))
            QFile::copy(root + "/" + name, keep + "/print-" + name);
    }

    QString pdf(const QString &name) const { return root + "/" + name + ".pdf"; }

    PrintResult printTo(const QString &file, const PrintOptions &options)
    {
        QPrinter &printer = win->printCommands().printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        return win->printCommands().printCurrentView(options);
    }

    static PrintOptions colored(int mode)
    {
        PrintOptions o;
        o.colorMode = mode;
        return o;
    }

    // Every time-grid box of the shown days: id and rectangle.
    std::vector<std::array<int, 5>> screenBoxes()
    {
        std::vector<std::array<int, 5>> boxes;
        const DaySpanCollection &c = events->collections().day;
        for (int day = 1; day <= c.dayCount(); ++day)
            for (const SpanItem &i : c.timeItems(day))
                boxes.push_back({i.id, i.left, i.top, i.right, i.bottom});
        return boxes;
    }

    const QColor work = LayerPalette::layerColor(3);
};

TEST_F(PrintTest, WeekPrintsBoxesByColourModeAndLeavesTheScreenAsItWas)
{
    const auto before = screenBoxes();
    ASSERT_FALSE(before.empty());

    const PrintResult layered = printTo(pdf("layers"), colored(PrintOptions::LayerColors));
    ASSERT_TRUE(layered.ok) << layered.error.toStdString();
    EXPECT_EQ(PdfPages::pageCount(pdf("layers")), 1);
    const QString text = PdfPages::text(pdf("layers"));
    for (const char *s : {"Planning", "Stand-up", "Wed 9 Aug", "Sun 6 Aug", "Dayloom"})
        EXPECT_TRUE(text.contains(s)) << s << "\n" << text.toStdString();
    EXPECT_TRUE(text.contains(win->dateLabelText().simplified().section(' ', 0, 0)));
    const QImage page = PdfPages::render(pdf("layers"));
    EXPECT_GT(PdfPages::countColor(page, work), 100);

    ASSERT_TRUE(printTo(pdf("none"), colored(PrintOptions::NoColor)).ok);
    EXPECT_EQ(PdfPages::countColor(PdfPages::render(pdf("none")), work), 0);
    EXPECT_TRUE(PdfPages::text(pdf("none")).contains("Planning"));

    ASSERT_TRUE(printTo(pdf("gray"), colored(PrintOptions::Gray)).ok);
    const QImage gray = PdfPages::render(pdf("gray"));
    EXPECT_EQ(PdfPages::countColor(gray, work), 0);
    // Text edges give a few pixels of any grey; the boxes give many.
    const QColor light(235, 235, 235);
    EXPECT_GT(PdfPages::countColor(gray, light), 10 * PdfPages::countColor(page, light) + 100);

    EXPECT_EQ(screenBoxes(), before);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PrintTest, DayFromEightToSixContinuesOnNumberedPagesWithoutTheStrip)
{
    ASSERT_TRUE(win->switchToView(ViewDay));
    PrintOptions o;
    o.startIndex = 9; // from 08:00
    o.stopIndex = 18; // up to 18:00
    o.heightIndex = 0;
    const PrintResult r = printTo(pdf("day"), o);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    const int pages = PdfPages::pageCount(pdf("day"));
    EXPECT_GE(pages, 2);
    EXPECT_EQ(r.pages, pages);
    for (int p = 1; p <= pages; ++p) {
        const QString text = PdfPages::text(pdf("day"), p);
        EXPECT_TRUE(text.contains("Wed 9 Aug")) << p;
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(p)))) << p;
    }
    // Planning (10:00-11:00) lies in the printed hours, the stand-up at 09:00 too.
    const QString all = PdfPages::text(pdf("day"));
    EXPECT_TRUE(all.contains("Planning"));
    EXPECT_TRUE(all.contains("Stand-up"));
}

TEST(TimeGridPrintPlan, StepsPagesAndTheirSoundLimits)
{
    // 08:00 to 18:00 at 15 minutes: 40 steps; both indexes 0: the screen's rows on one page.
    auto plan = TimeGridPrint::planSteps(9, 18, 96, 0, 1, 10, 2000, 2000);
    EXPECT_EQ(plan.first, 33);
    EXPECT_EQ(plan.last, 72);
    EXPECT_EQ(plan.pageCount(), 1);
    plan = TimeGridPrint::planSteps(0, 0, 96, 32, 41, 50, 400, 500);
    EXPECT_EQ(plan.first, 33);
    EXPECT_EQ(plan.last, 72);
    EXPECT_EQ(plan.stepHeight, 10);
    EXPECT_EQ(plan.pageCount(), 1);

    // The minimum step height splits the steps: the later pages take more.
    plan = TimeGridPrint::planSteps(9, 18, 96, 0, 1, 20, 300, 400);
    EXPECT_EQ(plan.stepHeight, 20);
    ASSERT_EQ(plan.pageCount(), 3);
    EXPECT_EQ(plan.pageFirsts, (std::vector<int>{33, 48, 68}));
    EXPECT_EQ(plan.pageLast(2), 72);

    // A stop before the start: the start moves to the stop's hour.
    plan = TimeGridPrint::planSteps(11, 9, 96, 0, 1, 10, 2000, 2000);
    EXPECT_EQ(plan.first, 33);
    EXPECT_EQ(plan.last, 36);

    // A step taller than the band is cut to the band: one step a page.
    plan = TimeGridPrint::planSteps(1, 24, 24, 0, 1, 5000, 300, 400);
    EXPECT_EQ(plan.stepHeight, 400);
    EXPECT_EQ(plan.pageCount(), 24);

    // No room at all: one step a page, never zero, and the plan ends.
    for (const auto &[firstBand, laterBand] : {std::pair{0, 0}, {-50, -10}, {-5, 3}}) {
        plan = TimeGridPrint::planSteps(1, 24, 288, 0, 1, 0, firstBand, laterBand);
        EXPECT_GE(plan.stepHeight, 1);
        EXPECT_LE(plan.pageCount(), 288);
        for (int i = 0; i < plan.pageCount(); ++i)
            EXPECT_GE(plan.pageLast(i), plan.pageFirsts[size_t(i)]);
        EXPECT_EQ(plan.pageLast(plan.pageCount() - 1), 288);
    }

    // Indexes and scroll positions out of range stay in the day.
    plan = TimeGridPrint::planSteps(99, -4, 96, 500, 900, 1, 100, 100);
    EXPECT_GE(plan.first, 1);
    EXPECT_LE(plan.last, 96);
    EXPECT_LE(plan.first, plan.last);
}

TEST_F(PrintTest, CrampedPagesAndTinyFontsStillPrintEveryStep)
{
    win->setTimeScale(0); // 5 minutes: 288 steps
    PrintOptions o;
    o.startIndex = 1;
    o.stopIndex = 24;
    o.heightIndex = 0;
    o.widthIndex = 0;
    o.fontSize = 12;
    const PrintResult r = printTo(pdf("cramped"), o);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_GE(r.pages, 2);
    EXPECT_LE(r.pages, 288);
    EXPECT_EQ(PdfPages::pageCount(pdf("cramped")), r.pages);
}

TEST_F(PrintTest, FailedPrintsAreReportedNeverPrinted)
{
    const QString missing = root + "/no-such-folder/out.pdf";
    const PrintResult r = printTo(missing, {});
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("out.pdf")) << r.error.toStdString();
    EXPECT_FALSE(QFile::exists(missing));

    // The bottom bar's button reports it.
    QTest::mouseClick(win->panels().printButton(), Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Printing failed.\n")) << messages[0].toStdString();

    // A folder in place of the file.
    EXPECT_FALSE(printTo(root, {}).ok);
}

TEST_F(PrintTest, BottomBarPrintsAtOnceWithTheStoredSettings)
{
    reg.setPrintHeading(false);
    reg.setPrintOrientations(QStringLiteral("1")); // too short: the rest from the default
    QPrinter &printer = win->printCommands().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf("button"));
    QTest::mouseClick(win->panels().printButton(), Qt::LeftButton);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(PdfPages::pageCount(pdf("button")), 1);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape); // the week view
    // Layer colours in the calendar views whatever PrintColor says.
    EXPECT_GT(PdfPages::countColor(PdfPages::render(pdf("button")), work), 100);
}

TEST(PrintOptionsCheck, StoredSettingsOutOfRangeFallBackToDefaults)
{
    const QString root = TestEnv::freshDir("print-settings");
    Settings reg(pathsBelow(root));
    reg.setPrintWidth(9);
    reg.setPrintHeight(-1);
    reg.setPrintFontSize(40);
    reg.setPrintColor(7);
    reg.setPrintStartTime(30);
    reg.setPrintStopTime(-3);
    const PrintOptions tasks = PrintOptions::fromSettings(reg, ViewTasks);
    EXPECT_EQ(tasks.widthIndex, 5);
    EXPECT_EQ(tasks.heightIndex, 5);
    EXPECT_EQ(tasks.fontSize, 8);
    EXPECT_EQ(tasks.colorMode, PrintOptions::LayerColors);
    EXPECT_EQ(tasks.startIndex, 0);
    EXPECT_EQ(tasks.stopIndex, 0);

    reg.setPrintColor(1);
    reg.setPrintFontSize(0);
    reg.setPrintStartTime(24);
    EXPECT_EQ(PrintOptions::fromSettings(reg, ViewTasks).colorMode, PrintOptions::Gray);
    EXPECT_EQ(PrintOptions::fromSettings(reg, ViewWeek).colorMode, PrintOptions::LayerColors);
    EXPECT_EQ(PrintOptions::fromSettings(reg, ViewWeek).fontSize, 4);
    EXPECT_EQ(PrintOptions::fromSettings(reg, ViewWeek).startIndex, 24);

    EXPECT_FALSE(PrintOptions::landscapeFor(QStringLiteral("11000000000000000000"), ViewDay));
    EXPECT_TRUE(PrintOptions::landscapeFor(QStringLiteral("11000000000000000000"), ViewWeek));
    EXPECT_FALSE(PrintOptions::landscapeFor(QStringLiteral(""), 1));
    EXPECT_TRUE(PrintOptions::landscapeFor(QStringLiteral("0"), ViewDay));
    EXPECT_TRUE(PrintOptions::landscapeFor(QStringLiteral("1"), ViewTasks));
    EXPECT_FALSE(PrintOptions::landscapeFor(QString(20, QLatin1Char('x')), ViewTasks));
    EXPECT_TRUE(PrintOptions::landscapeFor(QString(20, QLatin1Char('1')), 20));
    EXPECT_TRUE(PrintOptions::landscapeFor(QString(20, QLatin1Char('1')), -1));
}

TEST_F(PrintTest, MonthYearAndTasksPrintTheirOwnPages)
{
    ASSERT_TRUE(win->switchToView(ViewMonth));
    ASSERT_TRUE(printTo(pdf("month"), {}).ok);
    EXPECT_EQ(PdfPages::pageCount(pdf("month")), 1);
    QString text = PdfPages::text(pdf("month"));
    for (const char *s : {"Planning", "Stand-up", "Wednesday", "1 Aug", "31"})
        EXPECT_TRUE(text.contains(s)) << s;
    EXPECT_GT(PdfPages::countColor(PdfPages::render(pdf("month")), work), 50);

    ASSERT_TRUE(win->switchToView(ViewYear));
    ASSERT_TRUE(printTo(pdf("year"), {}).ok);
    EXPECT_EQ(PdfPages::pageCount(pdf("year")), 1);
    text = PdfPages::text(pdf("year"));
    for (const char *s : {"Jan", "Aug", "Dec", "31", "Dayloom"})
        EXPECT_TRUE(text.contains(s)) << s;
    EXPECT_GT(PdfPages::countColor(PdfPages::render(pdf("year")), work), 100);
    ASSERT_TRUE(printTo(pdf("year-none"), colored(PrintOptions::NoColor)).ok);
    EXPECT_EQ(PdfPages::countColor(PdfPages::render(pdf("year-none")), work), 0);

    for (int i = 0; i < 120; ++i)
        ASSERT_TRUE(stores.tasks
                        ->insertTask(-1, 1, workId, QStringLiteral("Task number %1").arg(i),
                                     i == 0 ? 2 : 1, i == 1)
                        .id > 0);
    ASSERT_TRUE(win->switchToView(ViewTasks));
    PrintOptions o;
    o.heightIndex = 2;
    const PrintResult r = printTo(pdf("tasks"), o);
    ASSERT_TRUE(r.ok);
    EXPECT_GE(r.pages, 2);
    text = PdfPages::text(pdf("tasks"));
    for (const char *s : {"Tasks", "Task", "!", "Task number 0", "Task number 119"})
        EXPECT_TRUE(text.contains(s)) << s;
    EXPECT_TRUE(PdfPages::text(pdf("tasks"), r.pages).contains(QString::number(r.pages)));
}

TEST(PrintDialogTest, ListsCaptionsAndKeepsStartAndStopInOrder)
{
    const QString root = TestEnv::freshDir("print-dialog");
    Settings reg(pathsBelow(root));
    reg.setPrintFontSize(2);
    reg.setPrintWidth(3);
    reg.setPrintColor(1);
    DateTimeFormat format(QLocale(QLocale::English, QLocale::UnitedStates));
    format.buildTimeFormat(2, 1); // 24-hour, ":"
    QPrinter printer;

    const QStringList start = PrintDialog::startItems(format);
    ASSERT_EQ(start.size(), 25);
    EXPECT_EQ(start[0], "Screen Start");
    EXPECT_EQ(start[1], "00:00");
    EXPECT_EQ(start[24], "23:00");
    const QStringList stop = PrintDialog::stopItems(format);
    EXPECT_EQ(stop[0], "Screen End");
    EXPECT_EQ(stop[1], "01:00");
    EXPECT_EQ(stop[24], "00:00");
    format.buildTimeFormat(1, 1);
    EXPECT_EQ(PrintDialog::startItems(format)[1], "12:00 AM");
    EXPECT_EQ(PrintDialog::startItems(format)[13], "12:00 PM");
    EXPECT_EQ(PrintDialog::stopItems(format)[24], "12:00 AM");
    format.buildTimeFormat(2, 1);

    PrintDialog week(ViewWeek, reg, format, printer);
    EXPECT_EQ(week.windowTitle(), "Print Week");
    EXPECT_EQ(week.height(), 253 + 90);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    week.stopBox()->setCurrentIndex(9);   // 09:00
    week.startBox()->setCurrentIndex(11); // 10:00: the stop follows
    EXPECT_EQ(week.stopBox()->currentIndex(), 11);
    week.stopBox()->setCurrentIndex(5); // before the start: the start follows
    EXPECT_EQ(week.startBox()->currentIndex(), 5);
    week.stopBox()->setCurrentIndex(0); // "Screen End" never moves the start
    EXPECT_EQ(week.startBox()->currentIndex(), 5);

    for (const auto &[typed, shown] :
         {std::pair{"0", "1"}, {"500", "100"}, {"abc", "1"}, {"7", "7"}, {"-3", "1"}})
        EXPECT_EQ(PrintDialog::correctedCopies(typed), shown);
    week.copiesBox()->setEditText("500");
    const PrintOptions o = week.options();
    EXPECT_EQ(o.copies, 100);
    EXPECT_EQ(o.fontSize, 6);
    EXPECT_EQ(o.widthIndex, 3);
    EXPECT_EQ(o.colorMode, 1);
    EXPECT_EQ(o.startIndex, 5);

    PrintDialog tasks(ViewTasks, reg, format, printer);
    EXPECT_EQ(tasks.windowTitle(), "Print Tasks");
    EXPECT_EQ(tasks.height(), 198 + 90);
    EXPECT_FALSE(tasks.startBox()->isVisibleTo(&tasks));
    tasks.startBox()->setCurrentIndex(3);
    EXPECT_EQ(tasks.options().startIndex, 0);
    PrintDialog day(ViewDay, reg, format, printer);
    EXPECT_EQ(day.windowTitle(), "Print Day");
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
}

TEST_F(PrintTest, CtrlPOpensTheDialogAndPrintsItsChoices)
{
    QPrinter &printer = win->printCommands().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf("dialog"));
    QString caption;
    win->printCommands().setDialogRunner([&](PrintDialog &d) {
        caption = d.windowTitle();
        d.colorBox()->setCurrentIndex(PrintOptions::NoColor);
        d.headingBox()->setChecked(false);
        d.copiesBox()->setEditText("2");
        return int(QDialog::Accepted);
    });
    QTest::keyClick(win.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(caption, "Print Week");
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(printer.copyCount(), 2);
    ASSERT_GE(PdfPages::pageCount(pdf("dialog")), 1);
    EXPECT_EQ(PdfPages::countColor(PdfPages::render(pdf("dialog")), work), 0);

    // Cancel prints nothing.
    QFile::remove(pdf("dialog"));
    win->printCommands().setDialogRunner([](PrintDialog &) { return int(QDialog::Rejected); });
    win->menus().printAction()->trigger();
    EXPECT_FALSE(QFile::exists(pdf("dialog")));
}

// The week and the year of the 100,000-event calendar, printed from the program's window.
TEST(PrintLargeCalendar, WeekAndYearPrintInTimeWithTheirBoxes)
{
    const QString root = TestEnv::freshDir("print-large");
    Clock clock = fixedClock(QDateTime(QDate(2025, 3, 12), QTime(10, 0)));
    Settings reg(pathsBelow(root));
    reg.setStartView(ViewWeek);
    reg.setStartHour(8);
    QString error;
    ASSERT_TRUE(SampleCalendar::writeBench(reg.dataPath() + "/", {}, nullptr, &error))
        << error.toStdString();
    ViewDates time(clock);
    WindowOverStores stores;
    ASSERT_TRUE(stores.open(reg, time, clock, {}, QSize(1400, 900)));
    QPrinter &printer = stores.win->printCommands().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);

    const auto printTimed = [&](const QString &file, qint64 *ms) {
        printer.setOutputFileName(root + "/" + file);
        QElapsedTimer t;
        t.start();
        const PrintResult r = stores.win->printCommands().printCurrentView({});
        *ms = t.elapsed();
        return r;
    };
    // A subject the screen shows in the week, to be found on paper.
    QString subject;
    const DaySpanCollection &day = stores.events->collections().day;
    for (int d = 1; d <= day.dayCount() && subject.isEmpty(); ++d)
        for (const SpanItem &i : day.timeItems(d))
            if (i.first > 40 && i.first < 60 && !i.subject.isEmpty()) subject = i.subject;
    ASSERT_FALSE(subject.isEmpty());

    qint64 weekMs = 0;
    const PrintResult week = printTimed("week.pdf", &weekMs);
    ASSERT_TRUE(week.ok) << week.error.toStdString();
    EXPECT_EQ(PdfPages::pageCount(root + "/week.pdf"), 1);
    const QString weekText = PdfPages::text(root + "/week.pdf").simplified();
    EXPECT_TRUE(weekText.contains(subject.simplified().section(' ', 0, 0)))
        << subject.toStdString();
    EXPECT_TRUE(weekText.contains("Wed 12 Mar"));
    EXPECT_GT(PdfPages::countTinted(PdfPages::render(root + "/week.pdf")), 1000);
    EXPECT_LT(weekMs, 5000);

    ASSERT_TRUE(stores.win->switchToView(ViewYear));
    qint64 yearMs = 0;
    const PrintResult year = printTimed("year.pdf", &yearMs);
    ASSERT_TRUE(year.ok) << year.error.toStdString();
    EXPECT_EQ(PdfPages::pageCount(root + "/year.pdf"), 1);
    const QString yearText = PdfPages::text(root + "/year.pdf");
    for (const char *s : {"Jan", "Dec", "31"})
        EXPECT_TRUE(yearText.contains(s)) << s;
    EXPECT_GT(PdfPages::countTinted(PdfPages::render(root + "/year.pdf")), 5000);
    EXPECT_LT(yearMs, 10000);
    stores.close();
}

} // namespace
