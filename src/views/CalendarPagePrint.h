#pragma once
// Printing of the month and weeks views (9..14) and of the year and months views (15..18):
// one page each, the month grid's week rows or the year grid's month columns laid over the
// printed rectangle. Each collects the model's month or year collection for the printed span
// and places it for the paper; the screen grid must be collected again after printing.
#include "core/DateTimeValue.h"
#include "core/PrintOptions.h"
#include "views/PrintJob.h"

#include <QString>

class DateTimeFormat;
class MonthGridModel;
class QPrinter;
class Settings;
class YearGridModel;

// What the screen shows, as the print takes it over.
struct CalendarPageSource {
    SerialDateTime firstDay = 0; // first shown day (month/weeks) or a day of the first month
    int count = 1;               // week rows 1..6, or month columns 1..12
    QString heading;             // the date label
    QString today;               // today's date, formatted, for the footer
};

class CalendarPagePrint
{
public:
    // The references must outlive the printer.
    CalendarPagePrint(const DateTimeFormat &format, const Settings &settings);

    // Not ok (with the reason) when the printer or file failed.
    [[nodiscard]] PrintResult printMonth(QPrinter &printer, MonthGridModel &model,
                                         const PrintOptions &options,
                                         const CalendarPageSource &source);
    [[nodiscard]] PrintResult printYear(QPrinter &printer, YearGridModel &model,
                                        const PrintOptions &options,
                                        const CalendarPageSource &source);

private:
    const DateTimeFormat &m_format;
    const Settings &m_settings;
};
