#include "dialogs/DialogPrompts.h"

#include <QMessageBox>
#include <QWidget>

void DialogPrompts::warnOver(QWidget *dialog, const QString &text) const
{
    if (warn) {
        warn(text);
        return;
    }
    QMessageBox::warning(dialog, dialog->windowTitle(), text);
}

bool DialogPrompts::confirmOver(QWidget *dialog, const QString &text) const
{
    if (confirm) return confirm(text);
    return QMessageBox::information(dialog, dialog->windowTitle(), text,
                                    QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}
