#pragma once
// Drives a modal dialog from inside its own event loop: `then` runs with the active modal
// window once one is shown (on a later turn of the loop). Schedule it before the click or call
// that opens the dialog.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

inline void whenModal(std::function<void(QWidget *)> then, int triesLeft = 200)
{
    QTimer::singleShot(10, [then = std::move(then), triesLeft]() mutable {
        QWidget *w = QApplication::activeModalWidget();
        if (w && w->isVisible()) {
            then(w);
            return;
        }
        if (triesLeft > 0) whenModal(std::move(then), triesLeft - 1);
    });
}
