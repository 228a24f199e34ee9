// Input as the window system delivers it to a shown window: a mouse click lands on the
// point of the top-level window and Qt picks the widget under it (a control covered by
// another never gets it), keys go to the focused control of the window, menus are opened
// and their items chosen with the mouse, a combo box's item is chosen with the arrow keys.
// Unlike WidgetInput.h, nothing is sent to a widget directly.
#pragma once

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/ComboBoxes.h"
#include "platform/Controls.h"
#include "platform/ListViews.h"
#include "platform/Menus.h"

namespace window_input {

inline std::string Describe(QWidget* W) {
    return W->objectName().toStdString() + " (" + W->metaObject()->className() + ")";
}

// A person clicks only what is shown: the window of W, shown and made the active one.
inline QWindow* ActiveWindowOf(QWidget* W) {
    QWidget* top = W->window();
    EXPECT_TRUE(top->isVisible()) << "window not shown: " << Describe(top);
    // A popup (an open menu or list) takes the input while it is open without being active.
    if (!top->isActiveWindow() && top->windowType() != Qt::Popup) {
        top->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(top, 2000)) << Describe(top);
    }
    return top->windowHandle();
}

// Qt's own key code for a typed character (a letter's or digit's key, or the character).
inline Qt::Key KeyOf(QChar Ch) {
    if (Ch == u'\r' || Ch == u'\n') return Qt::Key_Return;
    if (Ch == u'\t') return Qt::Key_Tab;
    const QChar upper = Ch.toUpper();
    return upper.unicode() < 0x100 ? Qt::Key(upper.unicode()) : Qt::Key_unknown;
}

// The point of W's window at Local (W's coordinates); the widget under it must be W or one
// of its parts, as a person can only reach what is not covered.
inline QPoint ReachablePoint(QWidget* W, QPoint Local) {
    const QPoint at = W->mapTo(W->window(), Local);
    QWidget* hit = W->window()->childAt(at);
    if (!hit) hit = W->window();
    EXPECT_TRUE(hit == W || W->isAncestorOf(hit))
        << Describe(W) << " is covered at its point by " << Describe(hit);
    return at;
}

} // namespace window_input

// A click at Local (W's coordinates) through W's window; the widget under the point
// must be W or one of its parts.
inline void ClickWidgetAt(QWidget* W, QPoint Local, Qt::MouseButton Button = Qt::LeftButton,
                          Qt::KeyboardModifiers Mods = Qt::NoModifier) {
    QWindow* window = window_input::ActiveWindowOf(W);
    QTest::mouseClick(window, Button, Mods, window_input::ReachablePoint(W, Local));
}

// A drag with the left button, as a person drags a splitter: pressed at the control's
// centre, moved by Delta in Steps moves, released there; the window hands every move to
// the control that was pressed.
inline void DragCentreBy(TControl* C, QPoint Delta, int Steps = 4) {
    QWidget* w = C->Widget();
    QWindow* window = window_input::ActiveWindowOf(w);
    const QPoint at = window_input::ReachablePoint(w, w->rect().center());
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, at);
    for (int i = 1; i <= Steps; ++i)
        QTest::mouseMove(window, at + Delta * i / Steps);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, at + Delta);
}

// A left click at the centre of the control, as a person clicks a button, a tick box,
// a field or a picture.
inline void ClickCentre(TControl* C, Qt::MouseButton Button = Qt::LeftButton) {
    ClickWidgetAt(C->Widget(), C->Widget()->rect().center(), Button);
}

// A click on the centre of row Row of a list view (the right button opens its popup menu).
inline void ClickListRow(TListView* List, int Row, Qt::MouseButton Button = Qt::LeftButton,
                         Qt::KeyboardModifiers Mods = Qt::NoModifier) {
    QTreeWidget* tree = List->Tree();
    const QRect row = tree->visualItemRect(tree->topLevelItem(Row));
    ClickWidgetAt(tree->viewport(), row.center(), Button, Mods);
}

// A double click at the centre of the control.
inline void DoubleClickCentre(TControl* C) {
    QWidget* w = C->Widget();
    QWindow* window = window_input::ActiveWindowOf(w);
    const QPoint at = w->mapTo(w->window(), w->rect().center());
    QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, at);
}

// One key pressed and released in the active window (to its focused control).
inline void PressKeyIn(QWidget* AnyInWindow, Qt::Key Key,
                       Qt::KeyboardModifiers Mods = Qt::NoModifier) {
    QTest::keyClick(window_input::ActiveWindowOf(AnyInWindow), Key, Mods);
}

// Text typed on the keyboard into the focused control of the window of AnyInWindow; a
// surrogate pair is typed as one key, CR or LF as the Return key.
inline void TypeKeys(QWidget* AnyInWindow, const QString& Text) {
    QWindow* window = window_input::ActiveWindowOf(AnyInWindow);
    for (int i = 0; i < Text.size(); ++i) {
        QString typed(Text[i]);
        if (Text[i].isHighSurrogate() && i + 1 < Text.size()) typed += Text[++i];
        const Qt::Key key = window_input::KeyOf(typed[0]);
        QTest::sendKeyEvent(QTest::Click, window, key,
                            key == Qt::Key_Return ? QString(u'\r') : typed, Qt::NoModifier);
    }
}

// A click into the field, then Text typed into it. A click on a list-only combo box
// opens its list: Escape closes it again, and the keys go to the box.
inline void TypeInto(TControl* C, const QString& Text) {
    ClickCentre(C);
    if (auto* box = qobject_cast<QComboBox*>(C->Widget()); box && box->view()->isVisible())
        PressKeyIn(box, Qt::Key_Escape);
    TypeKeys(C->Widget(), Text);
}

// Chooses item Index of a combo box with the keys: the box is clicked (a list box opens
// its list: the arrows move in the list, Return takes the item), else the arrow keys
// step from the current item to Index in the box itself.
inline void ChooseComboItem(TComboBox* C, int Index) {
    auto* box = static_cast<QComboBox*>(C->Widget());
    ClickCentre(C);
    const bool listOpen = box->view()->isVisible();
    int at = box->currentIndex();
    if (at < 0) {
        PressKeyIn(box, Qt::Key_Down); // the first item
        at = 0;
    }
    for (; at < Index; ++at)
        PressKeyIn(box, Qt::Key_Down);
    for (; at > Index; --at)
        PressKeyIn(box, Qt::Key_Up);
    if (listOpen) PressKeyIn(box, Qt::Key_Return);
}

// Opens the menus down to Item with the mouse and clicks it, as a person chooses an item
// of a window's menu bar or of a popup menu that is open.
inline void ChooseMenuItem(TMenuItem* Item) {
    std::vector<QAction*> path;
    for (TMenuItem* m = Item; m && m->Parent(); m = m->Parent())
        path.insert(path.begin(), m->QtAction());
    ASSERT_FALSE(path.empty());
    QWidget* container = nullptr;
    for (QObject* o : path.front()->associatedObjects())
        if (auto* w = qobject_cast<QWidget*>(o);
            w && (qobject_cast<QMenuBar*>(w) || w->isVisible()))
            container = w;
    ASSERT_NE(container, nullptr) << "menu item not in a menu bar or an open menu";
    for (QAction* action : path) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return container->isVisible(); }, 2000))
            << action->text().toStdString();
        QRect r = qobject_cast<QMenuBar*>(container)
                      ? static_cast<QMenuBar*>(container)->actionGeometry(action)
                      : static_cast<QMenu*>(container)->actionGeometry(action);
        ASSERT_TRUE(r.isValid()) << "not in its menu: " << action->text().toStdString();
        ClickWidgetAt(container, r.center());
        container = action->menu();
    }
}
