#include "views/PrintJob.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>

#include <algorithm>

PrintJob::PrintJob(QPrinter &printer) : m_printer(printer) {}

PrintJob::~PrintJob()
{
    if (m_painter.isActive()) m_painter.end();
}

QString PrintJob::printerName() const
{
    return m_printer.outputFileName().isEmpty() ? m_printer.printerName()
                                                : m_printer.outputFileName();
}

bool PrintJob::begin()
{
    m_printer.setResolution(Resolution);
    const QString file = m_printer.outputFileName();
    if (file.isEmpty() && m_printer.outputFormat() == QPrinter::PdfFormat) {
        m_error = QStringLiteral("No printer and no PDF file is chosen; choose one with "
                                 "\"Printer Setup...\" in the print dialog.");
        return false;
    }
    if (!file.isEmpty()) {
        // Probe the file first: the printer's own failure says nothing about why.
        QFile probe(file);
        if (QFileInfo(file).isDir() || !probe.open(QIODevice::WriteOnly)) {
            m_error = QStringLiteral("The file \"%1\" cannot be written: %2.")
                          .arg(QDir::toNativeSeparators(file),
                               QFileInfo(file).isDir() ? QStringLiteral("it is a folder")
                                                       : probe.errorString());
            return false;
        }
    }
    if (!m_painter.begin(&m_printer)) {
        m_error = QStringLiteral("The printer \"%1\" could not be started.").arg(printerName());
        return false;
    }
    m_pages = 1;
    return true;
}

bool PrintJob::newPage()
{
    if (!m_painter.isActive()) return false;
    if (!m_printer.newPage()) {
        m_error = QStringLiteral("The printer \"%1\" refused a new page.").arg(printerName());
        return false;
    }
    ++m_pages;
    return true;
}

int PrintJob::copiesInDocument() const
{
    return m_printer.outputFormat() == QPrinter::PdfFormat ? std::max(1, m_printer.copyCount()) : 1;
}

bool PrintJob::printPages(int pageCount, const std::function<void(int pageIndex)> &paintPage)
{
    const int copies = copiesInDocument();
    for (int copy = 0; copy < copies; ++copy)
        for (int page = 0; page < pageCount; ++page) {
            if ((copy > 0 || page > 0) && !newPage()) return false;
            m_painter.save();
            paintPage(page);
            m_painter.restore();
        }
    return true;
}

PrintResult PrintJob::finish()
{
    PrintResult r;
    r.pages = m_pages;
    if (m_painter.isActive() && !m_painter.end() && m_error.isEmpty())
        m_error =
            QStringLiteral("The document for \"%1\" could not be finished.").arg(printerName());
    if (m_error.isEmpty() && m_printer.printerState() == QPrinter::Error)
        m_error = QStringLiteral("The printer \"%1\" reported an error.").arg(printerName());
    if (m_pages == 0 && m_error.isEmpty())
        m_error = QStringLiteral("The printer \"%1\" was not started.").arg(printerName());
    r.ok = m_error.isEmpty();
    r.error = m_error;
    return r;
}
