#include "mainwin/ViewTab.h"

#include "core/LayerPalette.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace
{
QColor bgr(uint32_t v)
{
    return LayerPalette::colorFromBGR(v);
}

QFont tabFont()
{
    QFont f = QApplication::font("QMenu");
    f.setPointSize(8);
    f.setBold(true);
    return f;
}
} // namespace

// The drop-down rows; only painted, the tab tracks the pointer.
class ViewTabList : public QWidget
{
public:
    ViewTabList(QWidget *parent, const ViewTab &tab) : QWidget(parent), m_tab(tab)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setFont(tabFont());
        for (int i = 0; i < m_tab.choices().size(); ++i) {
            const QRect r(0, i * ViewTab::ListRowHeight, width(), ViewTab::ListRowHeight);
            p.fillRect(r, bgr(i == m_tab.choice() ? 6307874 : 10841658));
            p.setPen(Qt::white);
            p.drawText(r, Qt::AlignCenter, m_tab.choices()[i]);
        }
        p.setPen(bgr(3947580));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    const ViewTab &m_tab;
};

ViewTab::ViewTab(QWidget *parent, QWidget *listParent, QStringList choices)
    : QWidget(parent), m_choices(std::move(choices))
{
    setFocusPolicy(Qt::NoFocus);
    m_holdTimer.setSingleShot(true);
    m_holdTimer.setInterval(HoldMs);
    connect(&m_holdTimer, &QTimer::timeout, this, [this] {
        if (m_down) openList();
    });
    if (!m_choices.isEmpty()) {
        m_list = new ViewTabList(listParent, *this);
        m_text = m_choices.first();
    }
}

void ViewTab::setText(const QString &text)
{
    m_text = text;
    update();
}

void ViewTab::setChoice(int choice)
{
    if (choice < 0 || choice >= m_choices.size()) return;
    m_choice = choice;
    m_text = m_choices[choice];
    update();
    if (m_list) m_list->update();
}

void ViewTab::setMarked(bool on)
{
    m_marked = on;
    update();
}

bool ViewTab::isListVisible() const
{
    return m_list && m_list->isVisible();
}

QWidget *ViewTab::listWidget() const
{
    return m_list;
}

void ViewTab::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const bool enabled = isEnabled();
    p.fillRect(rect(), bgr(m_marked ? 13409135 : 10841658));
    if (m_marked) p.fillRect(QRect(0, height() - 3, width(), 3), Qt::white);
    p.setFont(tabFont());
    p.setPen(enabled ? QColor(Qt::white) : bgr(13409135));
    QString label = m_text;
    if (m_list) label += QStringLiteral("  \u25BE");
    p.drawText(rect(), Qt::AlignCenter, label);
}

void ViewTab::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton) return;
    m_down = true;
    if (m_list) m_holdTimer.start();
}

void ViewTab::mouseMoveEvent(QMouseEvent *e)
{
    if (m_down && isListVisible()) trackPointer(int(e->position().y()));
}

void ViewTab::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton || !m_down) return;
    m_down = false;
    m_holdTimer.stop();
    if (m_list) {
        m_list->hide();
        emit chosen(m_choice);
        return;
    }
    if (rect().contains(e->position().toPoint())) emit chosen(m_choice);
}

void ViewTab::openList()
{
    const QPoint top = mapTo(m_list->parentWidget(), QPoint(0, ListOffset));
    m_list->setGeometry(m_listLeft, top.y(), width(), int(m_choices.size()) * ListRowHeight);
    m_list->raise();
    m_list->show();
}

void ViewTab::trackPointer(int y)
{
    const int row = (y - ListOffset) / ListRowHeight;
    if (y >= ListOffset && row < m_choices.size() && row != m_choice) setChoice(row);
}
