// What a person sees of a control's text, read from Qt's side: the character at the left
// edge of a combo box's field; a caption's text as Qt's accessibility layer reads it (the
// "&" marks taken as Qt takes them) and the hot key Qt underlines and binds in it; whether
// a list view's cell is wide enough for its text.
#pragma once

#include <QAbstractButton>
#include <QAbstractItemDelegate>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStyleOptionViewItem>
#include <QTreeWidget>

#include "platform/ComboBoxes.h"
#include "platform/ListViews.h"

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
    QString name;   // the text as shown
    QString hotKey; // the key of the letter Qt underlines, e.g. "Alt+L"; empty for none
};

// A control's caption as its widget shows it: a button's, a tick box's or a group box's
// text, or a menu item's (without the shortcut the menu shows after a tab).
inline ShownCaption ShownOf(QWidget* W) {
    QString raw;
    if (auto* b = qobject_cast<QAbstractButton*>(W))
        raw = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(W))
        raw = g->title();
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(W);
    return {i ? i->text(QAccessible::Name) : QString(), QKeySequence::mnemonic(raw).toString()};
}

inline ShownCaption ShownOf(QAction* Item) {
    const QString raw = Item->text().section(u'\t', 0, 0);
    for (QObject* o : Item->associatedObjects()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || !(qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w))) continue;
        QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(w);
        for (int i = 0; menu && i < menu->childCount(); ++i)
            if (QAccessibleInterface* child = menu->child(i); child && child->object() == Item)
                return {child->text(QAccessible::Name).section(u'\t', 0, 0),
                        QKeySequence::mnemonic(raw).toString()};
    }
    return {QString(), QKeySequence::mnemonic(raw).toString()};
}

// Whether the cell of the list's Row in Column (0 the caption's) shows its text whole: its
// column at least as wide as the list view's own item painter asks for the cell.
inline bool CellShowsWhole(TListView* List, int Row, int Column) {
    QTreeWidget* tree = List->Tree();
    const QModelIndex cell = tree->model()->index(Row, Column);
    QStyleOptionViewItem option;
    option.initFrom(tree->viewport());
    option.font = tree->font();
    option.fontMetrics = QFontMetrics(option.font);
    const int needed = tree->itemDelegateForIndex(cell)->sizeHint(option, cell).width();
    return tree->header()->sectionSize(Column) >= needed;
}
