// Forms, controls and components freed in any order: nothing is left pointing at a
// freed object (run under the address sanitizer as well).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <vector>

#include "platform/ActnList.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/ListViews.h"
#include "platform/Menus.h"
#include "platform/PageControls.h"
#include "platform/StatusBars.h"
#include "platform/StdCtrls.h"
#include "support/WidgetInput.h"

namespace {

// A form with a bit of everything: owned and parented by different objects.
struct Scene {
    TForm* main = nullptr;
    TForm* other = nullptr;
    std::vector<TComponent*> parts;

    Scene() {
        main = new TForm(nullptr);
        main->SetBounds(0, 0, 400, 300);
        other = new TForm(nullptr);
        other->SetBounds(0, 0, 200, 100);
        auto* menu = new TMainMenu(main);
        menu->Items()->Add(NewItem(u"&File", 0, nullptr, main));
        auto* panel = new TPanel(other); // owned by the other form, shown on this one
        panel->SetParent(main);
        panel->SetAlign(alTop);
        auto* edit = new TEdit(main);
        edit->SetParent(panel);
        auto* popup = new TPopupMenu(other);
        popup->Items()->Add(NewItem(u"&Copy", 0, nullptr, popup));
        edit->SetPopupMenu(popup);
        panel->SetPopupMenu(popup);
        auto* pages = new TPageControl(main);
        pages->SetParent(main);
        pages->SetAlign(alClient);
        auto* sheet = new TTabSheet(main);
        sheet->SetPageControl(pages);
        auto* view = new TListView(main);
        view->SetParent(sheet);
        view->Columns().Add()->SetCaption(u"Name");
        view->Items().Add()->SetCaption(u"Ω");
        auto* bar = new TStatusBar(other);
        bar->SetParent(main);
        bar->SetAutoHint(true);
        auto* actions = new TActionList(main);
        auto* action = new TAction(actions);
        action->SetCaption(u"&Go");
        auto* button = new TButton(other);
        button->SetParent(main);
        SetControlAction(button, action);
        main->Show();
        other->Show();
        parts = {main,  other, menu, panel,   edit,   popup, pages,
                 sheet, view,  bar,  actions, action, button};
    }
};

TEST(DestructionOrder, AnyPartFreedFirstLeavesTheRestWorking) {
    TNotifyEvent saved = Application->OnHint;
    Application->OnHint = nullptr;
    size_t count = 0;
    {
        Scene s;
        count = s.parts.size();
        s.main->Free(); // takes the panel, the bar and the button of the other form along
        s.other->Free();
    }
    for (size_t first = 0; first < count; ++first) {
        for (bool mainLast : {false, true}) {
            Scene s;
            s.parts[first]->Free();
            // The rest still works: hints, resizing, right clicks, menus.
            Application->SetHint(u"hint");
            Application->SetHint(u"");
            if (first != 0) {
                s.main->SetBounds(0, 0, 500, 350);
                MouseAt(s.main->Widget(), QEvent::MouseButtonRelease, QPoint(5, 5),
                        Qt::RightButton);
            }
            if (first != 0 && first != 1) {
                if (mainLast) {
                    s.other->Free();
                    s.main->Free();
                } else {
                    s.main->Free();
                    s.other->Free();
                }
            } else {
                (first == 0 ? s.other : s.main)->Free();
            }
        }
    }
    Application->OnHint = saved;
}

} // namespace
