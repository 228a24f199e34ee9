// Synthetic keyboard and mouse input for the widget tests of every folder.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "platform/Controls.h"

// One key press and release with the given text (the text may hold a surrogate pair).
inline void PressKey(QWidget* W, int Key, const QString& Text,
                     Qt::KeyboardModifiers Mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, Key, Mods, Text);
    QApplication::sendEvent(W, &press);
    QKeyEvent release(QEvent::KeyRelease, Key, Mods, Text);
    QApplication::sendEvent(W, &release);
}

inline void TypeChar(TControl* C, const QString& Text) {
    int key = 0;
    if (Text.size() == 1) {
        QChar ch = Text.at(0).toUpper();
        if ((ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9')) key = ch.unicode();
    }
    PressKey(C->Widget(), key, Text);
}

inline void MouseAt(QWidget* W, QEvent::Type Type, QPoint Local, QPoint Global,
                    Qt::MouseButton Button = Qt::LeftButton) {
    Qt::MouseButtons buttons =
        Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Button);
    if (Type == QEvent::MouseMove) buttons = Qt::LeftButton;
    QMouseEvent e(Type, QPointF(Local), QPointF(Global),
                  Type == QEvent::MouseMove ? Qt::NoButton : Button, buttons, Qt::NoModifier);
    QApplication::sendEvent(W, &e);
}

inline void MouseAt(QWidget* W, QEvent::Type Type, QPoint Local,
                    Qt::MouseButton Button = Qt::LeftButton) {
    Qt::MouseButtons buttons =
        Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Button);
    if (Type == QEvent::MouseMove) buttons = Qt::LeftButton;
    QMouseEvent e(Type, QPointF(Local), QPointF(W->mapToGlobal(Local)),
                  Type == QEvent::MouseMove ? Qt::NoButton : Button, buttons, Qt::NoModifier);
    QApplication::sendEvent(W, &e);
}
