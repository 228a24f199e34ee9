// Synthetic keyboard and mouse input for the widget tests of every folder.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
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
                    Qt::MouseButton Button = Qt::LeftButton,
                    Qt::KeyboardModifiers Mods = Qt::NoModifier) {
    Qt::MouseButtons buttons =
        Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Button);
    if (Type == QEvent::MouseMove) buttons = Qt::LeftButton;
    QMouseEvent e(Type, QPointF(Local), QPointF(W->mapToGlobal(Local)),
                  Type == QEvent::MouseMove ? Qt::NoButton : Button, buttons, Mods);
    QApplication::sendEvent(W, &e);
}

// A left click at Local: the press and the release.
inline void ClickAt(QWidget* W, QPoint Local, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
    MouseAt(W, QEvent::MouseButtonPress, Local, Qt::LeftButton, Mods);
    MouseAt(W, QEvent::MouseButtonRelease, Local, Qt::LeftButton, Mods);
}

// A double click of the left button at Local, in the order the window system sends it:
// press, release, double-click press, release.
inline void DoubleClickAt(QWidget* W, QPoint Local) {
    MouseAt(W, QEvent::MouseButtonPress, Local);
    MouseAt(W, QEvent::MouseButtonRelease, Local);
    MouseAt(W, QEvent::MouseButtonDblClick, Local);
    MouseAt(W, QEvent::MouseButtonRelease, Local);
}

// A drag with the left button from From to To in Steps moves.
inline void DragAt(QWidget* W, QPoint From, QPoint To, int Steps = 4) {
    MouseAt(W, QEvent::MouseButtonPress, From);
    for (int i = 1; i <= Steps; ++i)
        MouseAt(W, QEvent::MouseMove, From + (To - From) * i / Steps);
    MouseAt(W, QEvent::MouseButtonRelease, To);
}

// Notches turns of the mouse wheel at Local: positive away from the user (up), negative
// towards the user (down); one notch is 120 units.
inline void WheelAt(QWidget* W, QPoint Local, int Notches,
                    Qt::KeyboardModifiers Mods = Qt::NoModifier) {
    QWheelEvent e(QPointF(Local), QPointF(W->mapToGlobal(Local)), QPoint(),
                  QPoint(0, 120 * Notches), Qt::NoButton, Mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(W, &e);
}

// A key with modifiers (Ctrl+C, Shift+Insert, Ctrl+End), with the text the window system
// gives it: a control character for Ctrl+letter and for Return, Tab, Backspace and Escape;
// none for the keys that move or edit.
inline void KeyChord(QWidget* W, int Key, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
    QString text;
    if (Key >= Qt::Key_A && Key <= Qt::Key_Z && (Mods & Qt::ControlModifier) &&
        !(Mods & Qt::AltModifier))
        text = QChar(char16_t(Key - Qt::Key_A + 1));
    else if (Key == Qt::Key_Return || Key == Qt::Key_Enter)
        text = QStringLiteral("\r");
    else if (Key == Qt::Key_Tab)
        text = QStringLiteral("\t");
    else if (Key == Qt::Key_Backspace)
        text = QStringLiteral("\b");
    else if (Key == Qt::Key_Escape)
        text = QStringLiteral("\x1b");
    PressKey(W, Key, text, Mods);
}
