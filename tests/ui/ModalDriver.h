#pragma once
// Drives a modal dialog from inside its own event loop: `then` runs with the active modal
// window once one is shown and has become the active window (on a later turn of the loop), so
// focus changes and keys reach it as they would reach a user's dialog. Schedule it before the
// click or call that opens the dialog. Looks every 10 ms, `triesLeft` more times (at least ten
// seconds by default); then gives up, and a modal window that is shown but never became active
// fails the test and is closed, so the call that opened it returns.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

#include <gtest/gtest.h>

inline void whenModal(std::function<void(QWidget *)> then, int triesLeft = 1000)
{
    QTimer::singleShot(10, [then = std::move(then), triesLeft]() mutable {
        QWidget *w = QApplication::activeModalWidget();
        if (w && w->isVisible() && QApplication::activeWindow() == w) {
            then(w);
            return;
        }
        if (triesLeft > 0) return whenModal(std::move(then), triesLeft - 1);
        if (w && w->isVisible()) {
            ADD_FAILURE() << "the modal window never became active";
            w->close();
        }
    });
}
