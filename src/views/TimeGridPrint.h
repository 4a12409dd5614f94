#pragma once
// Printing of the day and week views (0..8): the time grid with its all-day lanes, split into
// pages by the steps that fit. It collects the model's day collection for the printed days and
// places it for the paper; the screen grid must be collected again after printing.
#include "core/DateTimeValue.h"
#include "core/PrintOptions.h"
#include "views/PrintJob.h"

#include <QString>
#include <vector>

class DateTimeFormat;
class PrintPage;
class QPainter;
class QPrinter;
class Settings;
class TimeGridModel;

// What the screen shows, as the print takes it over.
struct TimeGridPrintSource {
    SerialDateTime firstDay = 0; // first shown day
    int days = 1;                // shown days, 1..7
    int stepsPerDay = 96;        // 24..288
    int firstVisibleRow = 0;     // steps scrolled off above the screen
    int rowCount = 1;            // the screen grid's rows, its header row included
    int screenRowHeight = 16;    // pixels per step on the screen
    QString heading;             // the date label
    QString today;               // today's date, formatted, for the footer
};

class TimeGridPrint
{
public:
    // The printed steps (1-based, from midnight) and how they split into pages.
    struct StepPlan {
        int first = 1;
        int last = 1;
        int stepHeight = 1;          // device units, at least 1
        std::vector<int> pageFirsts; // first step of each page; never empty
        int pageCount() const { return int(pageFirsts.size()); }
        // Last step of page `page` (0-based).
        int pageLast(int page) const;
    };

    // Steps first..last from the start and stop indexes (0: the screen's first and last
    // visible step). A stop before the start moves the start to the stop's hour; both are
    // clamped to the day. With both indexes 0 the steps share the first page's band;
    // otherwise a step is at least `minStepHeight` high. A step is never taller than the
    // larger band (`laterBand`), and every page takes at least one step, so a band with no
    // room still ends after one page per step.
    static StepPlan planSteps(int startIndex, int stopIndex, int stepsPerDay, int firstVisibleRow,
                              int rowCount, int minStepHeight, int firstBand, int laterBand);

    // The references must outlive the printer.
    TimeGridPrint(TimeGridModel &model, const DateTimeFormat &format, const Settings &settings);

    // Prints one document; not ok (with the reason) when the printer or file failed.
    [[nodiscard]] PrintResult print(QPrinter &printer, const PrintOptions &options,
                                    const TimeGridPrintSource &source);

private:
    struct Layout;
    void paintPage(QPainter &p, const PrintPage &page, const Layout &l, int pageIndex);
    void paintAllDay(QPainter &p, const PrintPage &page, const Layout &l);
    void paintSteps(QPainter &p, const PrintPage &page, const Layout &l, int first, int last,
                    int top);
    void paintTimeColumn(QPainter &p, const PrintPage &page, const Layout &l, int first, int last,
                         int top);

    TimeGridModel &m_model;
    const DateTimeFormat &m_format;
    const Settings &m_settings;
};
