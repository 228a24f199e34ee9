// What a person sees of a control's text, read from Qt's side: the character at the left
// edge of a combo box's field, and the name and keyboard accelerator Qt's accessibility
// layer gives a control or a menu item (the text as shown, with "&" marks taken as Qt
// takes them, and the underlined hot key).
#pragma once

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "platform/ComboBoxes.h"

// The position of the character shown at the left edge of the box's field, as the field
// paints itself (painting scrolls the field to its caret); 0 when the text's start shows.
inline int FirstShownPosition(TComboBox* Box) {
    QLineEdit* e = static_cast<QComboBox*>(Box->Widget())->lineEdit();
    if (!e) return 0;
    (void)e->grab();
    const QRect r = e->contentsRect();
    return e->cursorPositionAt(QPoint(r.left() + 3, r.center().y()));
}

struct ShownCaption {
    QString name;        // the text as shown
    QString accelerator; // the hot key Qt underlines, e.g. "Alt+L"; empty for none
};

inline ShownCaption ShownOf(QAccessibleInterface* I) {
    if (!I) return {};
    return {I->text(QAccessible::Name), I->text(QAccessible::Accelerator)};
}

inline ShownCaption ShownOf(QWidget* W) {
    return ShownOf(QAccessible::queryAccessibleInterface(W));
}

// A menu item as its menu (or the menu bar) shows it.
inline ShownCaption ShownOf(QAction* Item) {
    for (QObject* o : Item->associatedObjects()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || !(qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w))) continue;
        QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(w);
        if (!menu) continue;
        for (int i = 0; i < menu->childCount(); ++i) {
            QAccessibleInterface* child = menu->child(i);
            if (!child) continue;
            if (child->object() == Item) return ShownOf(child);
        }
    }
    return {};
}
