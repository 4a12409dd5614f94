#pragma once
// Reading back a printed PDF with the poppler tools: its page count, its text, and the colours
// of a page rendered to an image.
#include <QImage>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>

namespace PdfPages
{

inline QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Pages of the PDF; 0 when it cannot be read.
inline int pageCount(const QString &pdf)
{
    for (const QString &line : run("pdfinfo", {pdf}).split('\n'))
        if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
    return 0;
}

// The text of page `page` (1-based), or of all pages with 0.
inline QString text(const QString &pdf, int page = 0)
{
    QStringList args{"-layout"};
    if (page > 0) args << "-f" << QString::number(page) << "-l" << QString::number(page);
    return run("pdftotext", args << pdf << "-");
}

// Page `page` rendered at `dpi`; a null image when it cannot be rendered.
inline QImage render(const QString &pdf, int page = 1, int dpi = 50)
{
    QTemporaryDir dir;
    const QString stem = dir.path() + "/page";
    run("pdftoppm", {"-png", "-r", QString::number(dpi), "-f", QString::number(page), "-l",
                     QString::number(page), "-singlefile", pdf, stem});
    return QImage(stem + ".png").convertToFormat(QImage::Format_RGB32);
}

// Pixels of `image` within 3 of `color` in each channel.
inline int countColor(const QImage &image, const QColor &color)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (std::abs(qRed(line[x]) - color.red()) <= 3 &&
                std::abs(qGreen(line[x]) - color.green()) <= 3 &&
                std::abs(qBlue(line[x]) - color.blue()) <= 3)
                ++n;
    }
    return n;
}

// Pixels of `image` that are not a grey (their channels more than 24 apart): the layer colours.
inline int countTinted(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
            if (std::max({r, g, b}) - std::min({r, g, b}) > 24) ++n;
        }
    }
    return n;
}

} // namespace PdfPages
