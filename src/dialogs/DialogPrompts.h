#pragma once
// How a dialog asks the user: a warning with an OK button, and a question with OK and Cancel
// that answers true for OK. The window hands in its own (MainWindow::showMessage for warnings);
// an empty function shows a message box over the dialog.
#include <QString>
#include <functional>

class QWidget;

struct DialogPrompts {
    std::function<void(const QString &text)> warn;
    std::function<bool(const QString &text)> confirm;

    void warnOver(QWidget *dialog, const QString &text) const;
    bool confirmOver(QWidget *dialog, const QString &text) const;
};
