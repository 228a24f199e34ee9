// A menu item chosen as a person chooses it: its menu opens and the mouse presses and
// releases over the item where the menu shows it.
#pragma once

#include <QApplication>
#include <QMenu>

#include "platform/Menus.h"
#include "support/WidgetInput.h"

inline void ChooseMenuItem(TMenuItem* Item) {
    QMenu* menu = Item->Parent()->SubMenu();
    menu->popup(QPoint(0, 0));
    QApplication::processEvents();
    const QPoint at = menu->actionGeometry(Item->QtAction()).center();
    MouseAt(menu, QEvent::MouseButtonPress, at);
    MouseAt(menu, QEvent::MouseButtonRelease, at);
    menu->hide();
    QApplication::processEvents();
}
