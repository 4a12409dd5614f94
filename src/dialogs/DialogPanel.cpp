#include "dialogs/DialogPanel.h"

#include "core/LayerPalette.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

DialogPanel::DialogPanel(const QString &title, QWidget *parent) : QWidget(parent), m_title(title)
{
    auto *outer = new QVBoxLayout(this);
    // The frame is one pixel wide; the shadow takes the last ShadowOffset pixels.
    outer->setContentsMargins(1, HeadingHeight, 1 + ShadowOffset, 1 + ShadowOffset);
    m_body = new QWidget(this);
    // The controls sit on the window face, not on the dialog's colour.
    QPalette face = m_body->palette();
    face.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    m_body->setPalette(face);
    m_body->setAutoFillBackground(true);
    outer->addWidget(m_body);
}

QColor DialogPanel::dialogColor()
{
    return LayerPalette::colorFromBGR(10841658);
}

QColor DialogPanel::frameColor()
{
    return LayerPalette::colorFromBGR(3947580);
}

QColor DialogPanel::shadowColor()
{
    return LayerPalette::colorFromBGR(9067313);
}

void DialogPanel::paintDialogBackground(QWidget &dialog)
{
    QPalette pal = dialog.palette();
    pal.setColor(QPalette::Window, dialogColor());
    dialog.setPalette(pal);
    dialog.setAutoFillBackground(true);
}

void DialogPanel::setTabChain(std::initializer_list<QWidget *> widgets)
{
    QWidget *previous = nullptr;
    for (QWidget *w : widgets) {
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void DialogPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect panel = rect().adjusted(0, 0, -ShadowOffset, -ShadowOffset);
    p.fillRect(panel.translated(ShadowOffset, ShadowOffset), shadowColor());
    p.fillRect(panel, frameColor());
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(panel.left() + 6, panel.top(), panel.width() - 12, HeadingHeight),
               Qt::AlignVCenter | Qt::AlignLeft, m_title);
}

void DialogPanel::takeChildKeys(QWidget &dialog)
{
    for (QWidget *w : dialog.findChildren<QWidget *>())
        w->installEventFilter(&dialog);
    for (QPushButton *b : dialog.findChildren<QPushButton *>())
        b->setAutoDefault(false);
}
