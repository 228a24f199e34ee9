// Exceptions thrown by event handlers that Qt input or Qt signals run: each is
// caught at the layer boundary and shown through the application, once, and the
// program goes on (nothing is thrown through Qt).
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/ComCtrls.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/ListBoxes.h"
#include "platform/Menus.h"
#include "platform/PageControls.h"
#include "platform/StdCtrls.h"
#include "support/ModalInterceptor.h"
#include "support/WidgetInput.h"

namespace {

[[noreturn]] void Fail() {
    throw Exception(std::string("Handler failed"));
}

TEST(HandlerExceptions, EveryQtDrivenHandlerIsCaughtAndShownOnce) {
    std::vector<WideString> shown;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        if (r.Kind == TModalKind::MessageBox) shown.push_back(r.Text);
        return IDOK;
    });
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 400, 300);
    form->Show();
    // One edit per edit case: the handlers stay armed after their case.
    auto newEdit = [form] {
        auto* e = new TEdit(form);
        e->SetParent(form);
        return e;
    };
    TEdit *edit = newEdit(), *edit2 = newEdit(), *edit3 = newEdit();
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 40, 100, 50);
    auto* check = new TCheckBox(form);
    check->SetParent(form);
    auto* button = new TButton(form);
    button->SetParent(form);
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->Items().Add(u"a");
    combo->Items().Add(u"b");
    auto* bar = new TScrollBar(form);
    bar->SetParent(form);
    auto* list = new TListBox(form);
    list->SetParent(form);
    list->Items().Add(u"x");
    list->Items().Add(u"y");
    auto* view = new TListView(form);
    view->SetParent(form);
    view->Columns().Add()->SetCaption(u"Name");
    view->Items().Add()->SetCaption(u"one");
    view->Items().Add()->SetCaption(u"two");
    auto* pages = new TPageControl(form);
    pages->SetParent(form);
    for (int i = 0; i < 2; ++i) {
        auto* sheet = new TTabSheet(form);
        sheet->SetPageControl(pages);
    }
    auto* menu = new TPopupMenu(form);
    auto* item = NewItem(u"&Go", 0, nullptr, form);
    menu->Items()->Add(item);

    struct Case {
        const char* name;
        std::function<void()> arm, fire;
    };
    std::vector<Case> cases = {
        {"edit OnChange by typing", [&] { edit->OnChange = [](TObject*) { Fail(); }; },
         [&] { TypeChar(edit, "q"); }},
        {"edit OnKeyDown",
         [&] { edit2->OnKeyDown = [](TObject*, uint16_t&, TShiftState) { Fail(); }; },
         [&] { PressKey(edit2->Widget(), Qt::Key_Left, QString()); }},
        {"edit OnKeyPress", [&] { edit3->OnKeyPress = [](TObject*, WideChar&) { Fail(); }; },
         [&] { TypeChar(edit3, "r"); }},
        {"panel OnMouseDown",
         [&] {
             panel->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) { Fail(); };
         },
         [&] { MouseAt(panel->Widget(), QEvent::MouseButtonPress, QPoint(5, 5)); }},
        {"panel OnClick", [&] { panel->OnClick = [](TObject*) { Fail(); }; },
         [&] { MouseAt(panel->Widget(), QEvent::MouseButtonRelease, QPoint(5, 5)); }},
        {"check box OnClick", [&] { check->OnClick = [](TObject*) { Fail(); }; },
         [&] { static_cast<QAbstractButton*>(check->Widget())->click(); }},
        {"button OnClick", [&] { button->OnClick = [](TObject*) { Fail(); }; },
         [&] { static_cast<QAbstractButton*>(button->Widget())->click(); }},
        {"combo OnSelect", [&] { combo->OnSelect = [](TObject*) { Fail(); }; },
         [&] { emit static_cast<QComboBox*>(combo->Widget())->activated(1); }},
        {"scroll bar OnChange", [&] { bar->OnChange = [](TObject*) { Fail(); }; },
         [&] { static_cast<QScrollBar*>(bar->Widget())->setValue(7); }},
        {"list box OnClick", [&] { list->OnClick = [](TObject*) { Fail(); }; },
         [&] { static_cast<QListWidget*>(list->Widget())->setCurrentRow(1); }},
        {"list view OnSelectItem",
         [&] { view->OnSelectItem = [](TObject*, TListItem*, bool) { Fail(); }; },
         [&] { view->Tree()->setCurrentItem(view->Tree()->topLevelItem(1)); }},
        {"page control OnChange", [&] { pages->OnChange = [](TObject*) { Fail(); }; },
         [&] { pages->TabBar()->setCurrentIndex(1); }},
        {"menu item OnClick", [&] { item->OnClick = [](TObject*) { Fail(); }; },
         [&] { item->QtAction()->trigger(); }},
        {"form OnCloseQuery", [&] { form->OnCloseQuery = [](TObject*, bool&) { Fail(); }; },
         [&] { form->Widget()->close(); }},
    };
    for (const Case& c : cases) {
        shown.clear();
        c.arm();
        EXPECT_NO_THROW(c.fire()) << c.name;
        EXPECT_EQ(shown, std::vector<WideString>{u"Handler failed."}) << c.name;
    }
    form->OnCloseQuery = nullptr;
    form->Free();
}

} // namespace
