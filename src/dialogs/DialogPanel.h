#pragma once
// A group of a dialog: a dark panel whose 18-pixel heading strip shows a bold white title, the
// window face below the heading where the controls sit, and a shadow of the panel's size drawn
// 4 pixels to the lower right. Controls go into body(), whose layout the owner sets.
#include <QString>
#include <QWidget>
#include <initializer_list>

class DialogPanel : public QWidget
{
public:
    static constexpr int HeadingHeight = 18;
    static constexpr int ShadowOffset = 4;

    DialogPanel(const QString &title, QWidget *parent);

    QWidget *body() const { return m_body; }
    QString title() const { return m_title; }
    void setTitle(const QString &title)
    {
        m_title = title;
        update();
    }

    // The dialogs' background colour, the panels' frame and heading colour, the shadow colour.
    static QColor dialogColor();
    static QColor frameColor();
    static QColor shadowColor();
    // Paints `dialog` in the dialogs' background colour.
    static void paintDialogBackground(QWidget &dialog);
    // Every child of `dialog` passes its events through `dialog`'s event filter first (the
    // dialog's own keys: Ctrl+Enter, Enter in a box), and no button answers Enter, so that
    // Enter in a box applies the box. Run once the controls are built.
    static void takeChildKeys(QWidget &dialog);
    // Tab moves through `widgets` in the order given.
    static void setTabChain(std::initializer_list<QWidget *> widgets);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QString m_title;
    QWidget *m_body = nullptr;
};
