// What a person does in the sweep over every window to bring a control on screen (its page
// chosen, its action group unfolded, the action box scrolled to it) and the steps taken
// before a control is tried (a field filled, a list's first row chosen, a box clicked).
#pragma once

#include <QApplication>
#include <QTabBar>
#include <QTreeView>
#include <gtest/gtest.h>

#include "platform/Buttons.h"
#include "platform/Edits.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/ListViews.h"
#include "platform/PageControls.h"
#include "support/WindowInput.h"

namespace window_sweep {

// The first row of a list view clicked (Button) at its centre; the list's centre when it
// has no rows.
inline void ClickFirstRow(TControl* List, Qt::MouseButton Button) {
    auto* view = static_cast<QTreeView*>(List->Widget());
    const QModelIndex first = view->model()->index(0, 0);
    const QRect r = first.isValid() ? view->visualRect(first) : view->viewport()->rect();
    ClickWidgetAt(view->viewport(), r.center(), Button);
}

// Brings a control on screen as a person would: the page holding it chosen by its tab, the
// action group holding it unfolded (its fold button clicked), the action box scrolled to
// it.
inline void Reveal(TForm& Form, TControl* C) {
    for (TWinControl* up = C->Parent(); up && up != &Form; up = up->Parent()) {
        if (auto* sheet = dynamic_cast<TTabSheet*>(up); sheet && !sheet->Widget()->isVisible()) {
            QTabBar* tabs = sheet->PageControl()->TabBar();
            ClickWidgetAt(tabs, tabs->tabRect(sheet->PageIndex()).center());
        }
        const WideString name = up->Name();
        if (name.starts_with(u"apanel") && !up->Visible()) {
            WideString header = name;
            header[header.find_last_of(u'1')] = u'0';
            auto* head = dynamic_cast<TWinControl*>(Form.FindComponent(header));
            ASSERT_NE(head, nullptr) << U8(header);
            TControl* fold = nullptr; // the fold button, or the group's only tick box
            for (int i = 0; i < head->ControlCount(); ++i)
                if (dynamic_cast<TBitBtn*>(head->Controls(i)) || !fold) fold = head->Controls(i);
            for (TWinControl* box = head->Parent(); box; box = box->Parent())
                if (auto* scroll = dynamic_cast<TScrollBox*>(box)) scroll->ScrollInView(fold);
            QApplication::processEvents();
            ClickCentre(fold);
        }
    }
    QApplication::processEvents();
    for (TWinControl* up = C->Parent(); up; up = up->Parent())
        if (auto* box = dynamic_cast<TScrollBox*>(up)) box->ScrollInView(C);
    QApplication::processEvents();
}

// What a person does to a control before the row's input: "name=text" types the text
// into it; a list's first row is chosen, a memo typed into, anything else clicked.
inline void Prepare(TForm& Form, WideStringView Step) {
    const size_t typed = Step.find(u'=');
    const WideString name(Step.substr(0, typed));
    auto* c = dynamic_cast<TControl*>(Form.FindComponent(name));
    ASSERT_NE(c, nullptr) << U8(name);
    Reveal(Form, c);
    if (typed != WideStringView::npos)
        TypeInto(c, QString::fromStdU16String(WideString(Step.substr(typed + 1))));
    else if (dynamic_cast<TListView*>(c))
        ClickFirstRow(c, Qt::LeftButton);
    else if (dynamic_cast<TMemo*>(c))
        TypeInto(c, "x");
    else
        ClickCentre(c);
}

} // namespace window_sweep
