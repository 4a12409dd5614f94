#include "mainwin/PanelLayout.h"

#include <QEvent>
#include <QWidget>

PanelLayout::PanelLayout(QWidget &panel) : QObject(&panel), m_panel(panel)
{
    panel.installEventFilter(this);
}

bool PanelLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_panel && event->type() == QEvent::Resize) layout();
    return QObject::eventFilter(watched, event);
}
