#include "views/FlatButton.h"

#include "core/LayerPalette.h"

#include <QApplication>
#include <QBitmap>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

static void initButtonResources()
{
    // The resources live in a static library; referencing them keeps them linked in.
    static const bool done = [] {
        Q_INIT_RESOURCE(dayloom);
        return true;
    }();
    (void)done;
}

FlatButton::FlatButton(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_Hover);
}

QPixmap FlatButton::loadBitmap(const QString &name)
{
    initButtonResources();
    QImage image(QStringLiteral(":/bitmaps/%1.xpm").arg(name));
    if (image.isNull()) return QPixmap();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(image.pixelColor(0, 0), Qt::MaskInColor));
    return pixmap;
}

void FlatButton::setBitmapName(const QString &name)
{
    m_bitmapName = name;
    m_bitmap = name == QLatin1String("None") ? QPixmap() : loadBitmap(name);
    update();
}

void FlatButton::setButtonStyle(int style)
{
    m_style = style >= 0 && style <= 2 ? style : 2;
    update();
}

void FlatButton::setCaption(const QString &text)
{
    m_caption = text;
    update();
}

QColor FlatButton::captionColor() const
{
    if (isEnabled()) return Qt::white;
    const QColor fill = fillColor();
    const auto toward = [](int from, int to) { return from + (to - from) * 2 / 5; };
    return QColor(toward(fill.red(), 255), toward(fill.green(), 255), toward(fill.blue(), 255));
}

QColor FlatButton::fillColor() const
{
    if (m_hot && isEnabled()) {
        switch (m_style) {
        case 0:
            return LayerPalette::colorFromBGR(13409135);
        case 1:
            return LayerPalette::colorFromBGR(8421504);
        default:
            return palette().color(QPalette::Button);
        }
    }
    return LayerPalette::colorFromBGR(m_style == 0 ? 10841658 : 3947580);
}

void FlatButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), fillColor());
    if (m_bitmapName != QLatin1String("None")) {
        if (m_bitmap.isNull()) return;
        if (!isEnabled()) p.setOpacity(DisabledBitmapOpacity);
        p.drawPixmap((width() - m_bitmap.width()) / 2, (height() - m_bitmap.height()) / 2,
                     m_bitmap);
        return;
    }
    QFont f = QApplication::font("QMenu");
    f.setPointSize(8);
    f.setBold(true);
    p.setFont(f);
    p.setPen(captionColor());
    p.drawText(rect(), Qt::AlignCenter, m_caption);
}

void FlatButton::enterEvent(QEnterEvent *e)
{
    QWidget::enterEvent(e);
    m_hot = true;
    repaint();
}

void FlatButton::leaveEvent(QEvent *e)
{
    QWidget::leaveEvent(e);
    m_hot = false;
    update();
}

void FlatButton::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && isEnabled()) m_pressed = true;
}

void FlatButton::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton || !m_pressed) return;
    m_pressed = false;
    if (rect().contains(e->position().toPoint())) emit clicked();
}
