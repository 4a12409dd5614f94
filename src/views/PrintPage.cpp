#include "views/PrintPage.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

PrintPage::PrintPage(QPaintDevice &device, QSize pageSize, const PrintOptions &options)
    : m_device(device), m_options(options.checked())
{
    const int pw = std::max(1, pageSize.width());
    const int ph = std::max(1, pageSize.height());
    const int w = std::max(1, int(std::lround(pw * m_options.widthShare())));
    const int h = std::max(1, int(std::lround(ph * m_options.heightShare())));
    const int left = (pw - int(std::lround(pw * 0.95))) / 2;
    const int top = (ph - int(std::lround(ph * 0.95))) / 2;
    m_frame = QRect(left, top, w, h);
    m_textHeight = std::max(1, QFontMetrics(font(m_options.fontSize), &m_device).height());
    m_line = std::max(1, int(std::lround(m_textHeight * 1.2)));
    m_pen = std::max(1, int(std::lround(m_textHeight / 10.0)));
}

PrintPage::PrintPage(QPaintDevice &device, const PrintOptions &options)
    : PrintPage(device, QSize(device.width(), device.height()), options)
{
}

QFont PrintPage::font(int points, bool bold) const
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(std::max(1, points));
    f.setBold(bold);
    return f;
}

int PrintPage::headingHeight() const
{
    if (!m_options.heading) return 0;
    return 2 * QFontMetrics(font(2 * m_options.fontSize), &m_device).height();
}

void PrintPage::drawHeading(QPainter &p, const QString &text) const
{
    const int band = headingHeight();
    if (band == 0) return;
    p.setFont(font(2 * m_options.fontSize));
    p.setPen(Qt::black);
    const QRect r(m_frame.left(), m_frame.top(), m_frame.width(), band);
    p.drawText(r, Qt::AlignCenter, text);
    p.fillRect(QRect(r.left(), r.bottom() + 1 - m_pen, r.width(), m_pen), Qt::black);
}

void PrintPage::drawFrame(QPainter &p) const
{
    p.save();
    p.setPen(QPen(Qt::black, m_pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(m_frame.left(), m_frame.top(), m_frame.width(), m_frame.height()));
    p.restore();
}

void PrintPage::drawFooter(QPainter &p, const QString &today, int page, int pageCount) const
{
    p.setFont(font(m_options.fontSize));
    p.setPen(Qt::black);
    const QRect r(m_frame.left(), m_frame.bottom() + 1 + 2 * m_pen, m_frame.width(), m_textHeight);
    p.drawText(r, Qt::AlignLeft | Qt::AlignTop, today);
    p.drawText(r, Qt::AlignRight | Qt::AlignTop, QStringLiteral("Dayloom"));
    if (pageCount > 1) p.drawText(r, Qt::AlignHCenter | Qt::AlignTop, QString::number(page));
}

QColor PrintPage::boxFill(const QColor &layerColor) const
{
    switch (m_options.colorMode) {
    case PrintOptions::NoColor:
        return Qt::white;
    case PrintOptions::Gray:
        return QColor(235, 235, 235);
    default:
        return layerColor.isValid() ? layerColor : QColor(Qt::white);
    }
}
