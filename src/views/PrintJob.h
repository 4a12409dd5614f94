#pragma once
// One print document on a printer (or a PDF file): begins it at 96 device units per inch, so
// the screen grids' pixel measures keep their size on paper, hands out the painter, starts
// new pages and ends it, and keeps why it failed. A PDF file gets its copies written into it.
#include <QPainter>
#include <QString>

#include <functional>

class QPrinter;

struct PrintResult {
    bool ok = false;
    QString error; // why the job failed; empty when ok
    int pages = 0;
};

class PrintJob
{
public:
    static constexpr int Resolution = 96;

    // The printer must outlive the job.
    explicit PrintJob(QPrinter &printer);
    ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    // Opens the document and its first page. False, with error(), when the printer does not
    // start or the PDF file cannot be opened for writing.
    [[nodiscard]] bool begin();
    // The painter of the open document; inactive before begin() succeeded.
    QPainter &painter() { return m_painter; }
    // Starts the next page. False, with error(), when the printer refused it.
    [[nodiscard]] bool newPage();
    // How many times the document itself holds its pages: the printer's copy count (at least
    // 1) for a PDF file, which has no one to make the copies; 1 for a printer, which makes
    // them itself.
    int copiesInDocument() const;
    // Paints pages 0..pageCount - 1 through paintPage, each on a page of its own after the
    // first, copiesInDocument() times over, collated (1, 2, 3, 1, 2, 3); every page starts
    // with the painter's state as it was before the first. Stops at a refused
    // page and returns false (with error()); true when every page was painted.
    [[nodiscard]] bool printPages(int pageCount,
                                  const std::function<void(int pageIndex)> &paintPage);
    // Ends the document; the result is not ok when any step failed or the printer reports an
    // error at the end.
    [[nodiscard]] PrintResult finish();
    const QString &error() const { return m_error; }

private:
    QString printerName() const;

    QPrinter &m_printer;
    QPainter m_painter;
    QString m_error;
    int m_pages = 0;
};
