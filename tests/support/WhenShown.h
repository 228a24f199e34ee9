// Steps for a window that a click opens modally: they run once the window is on screen,
// inside its own modal loop. A window that never comes fails the test and every modal
// window is closed, so nothing waits forever.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Runs Act once Find gives a shown window (asked every 10 ms, for up to 5 seconds).
inline void WhenShown(std::function<QWidget*()> Find, std::function<void(QWidget*)> Act) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, Find, Act] {
        if (QWidget* w = Find(); w && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            Act(w);
        } else if (++*waited > 500) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "the window did not come";
            while (QWidget* modal = QApplication::activeModalWidget())
                if (!modal->close()) break;
        }
    });
    timer->start(10);
}

// The same for the modal window of class T that is active.
template <class T> void WhenModalShown(std::function<void(T*)> Act) {
    WhenShown([] { return qobject_cast<T*>(QApplication::activeModalWidget()); },
              [Act](QWidget* w) { Act(static_cast<T*>(w)); });
}
