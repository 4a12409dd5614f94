#include "dialogs/EditorDialogParts.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace EditorDialogParts
{

Buttons okCancelRow(QWidget &dialog)
{
    Buttons b;
    b.row = new QHBoxLayout;
    b.ok = new QPushButton(QStringLiteral("OK"), &dialog);
    b.cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    for (QPushButton *button : {b.ok, b.cancel})
        button->setFixedWidth(100);
    b.row->addStretch();
    b.row->addWidget(b.ok);
    b.row->addSpacing(10);
    b.row->addWidget(b.cancel);
    b.row->addStretch();
    return b;
}

void focusAtEnd(QLineEdit &subject)
{
    subject.setFocus(Qt::OtherFocusReason);
    subject.deselect();
    subject.end(false);
}

EnterKey enterKey(const QObject *watched, const QEvent *event, const QLineEdit *subject)
{
    if (event->type() != QEvent::KeyPress) return EnterKey::None;
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return EnterKey::None;
    if (key->modifiers().testFlag(Qt::ControlModifier)) return EnterKey::ApplyAndAccept;
    return watched == subject ? EnterKey::Accept : EnterKey::None;
}

} // namespace EditorDialogParts
