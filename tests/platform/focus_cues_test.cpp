// The focus frame of a window that opens: shown at once when a key opened it (Enter on a
// button, a shortcut, a menu item chosen with the keys, also a modal window), left out
// when the mouse opened it.
#include "platform/FocusCues.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

#include "platform/ComCtrls.h"
#include "platform/Forms.h"
#include "platform/ListBoxes.h"
#include "platform/Menus.h"
#include "platform/StdCtrls.h"
#include "support/ModalInterceptor.h"
#include "support/WindowInput.h"

namespace {

struct FocusCuesTest : ::testing::Test {
    TForm* opener = nullptr;
    TForm* box = nullptr;
    TButton *open = nullptr, *openModal = nullptr;
    TWinControl* first = nullptr; // the control the box gives the focus to
    TMenuItem *file = nullptr, *openItem = nullptr;
    QImage look; // the box's focused control as it was drawn when the box came up

    static TButton* MakeButton(TForm* Form, const char16_t* Caption, int Top) {
        auto* b = new TButton(Form);
        b->SetParent(Form);
        b->SetCaption(Caption);
        b->SetBounds(20, Top, 100, 25);
        return b;
    }
    void SetUp() override {
        opener = new TForm(nullptr);
        opener->SetBounds(0, 0, 400, 300);
        auto* menu = new TMainMenu(opener);
        file = NewItem(u"&File", 0, nullptr, opener);
        openItem = NewItem(
            u"&Open", ShortCut('O', ssCtrl), [this](TObject*) { ShowBox(); }, opener);
        menu->Items()->Add(file);
        file->Add(openItem);
        open = MakeButton(opener, u"Open", 20);
        open->OnClick = [this](TObject*) { ShowBox(); };
        openModal = MakeButton(opener, u"Open modal", 60);
        openModal->OnClick = [this](TObject*) { box->ShowModal(); };
        box = new TForm(nullptr);
        box->SetBounds(450, 0, 200, 150);
        first = MakeButton(box, u"First", 20);
        MakeButton(box, u"Second", 60);
        box->OnShow = [this](TObject*) { box->SetActiveControl(first); };
        opener->Show();
        window_input::ActiveWindowOf(opener->Widget());
    }
    void TearDown() override {
        box->Free();
        opener->Free();
    }
    void ShowBox() {
        box->Show();
        Look();
    }
    void EnterOn(TButton* B) {
        B->SetFocus();
        PressKeyIn(opener->Widget(), Qt::Key_Return);
    }
    // What the box's focused control looks like once the box has the input.
    void Look() {
        window_input::ActiveWindowOf(box->Widget());
        EXPECT_TRUE(QTest::qWaitFor([&] { return first->Widget()->hasFocus(); }, 2000));
        look = first->Widget()->grab().toImage();
    }
    void CloseBox() {
        if (box->Modal())
            box->SetModalResult(mrOk);
        else
            box->Hide();
        window_input::ActiveWindowOf(opener->Widget());
    }
};

TEST_F(FocusCuesTest, AWindowOpenedByAKeyShowsItsFocusAndOneOpenedByTheMouseDoesNot) {
    auto chooseOpenWithKeys = [&] {
        PressKeyIn(opener->Widget(), Qt::Key_F, Qt::AltModifier);
        QMenu* menu = file->SubMenu();
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
        for (int i = 0; i < 3 && menu->activeAction() != openItem->QtAction(); ++i)
            PressKeyIn(menu, Qt::Key_Down);
        PressKeyIn(menu, Qt::Key_Return);
    };
    auto chooseOpenWithTheMouse = [&] {
        QMenuBar* bar = opener->Menu()->MenuBar();
        ClickWidgetAt(bar, bar->actionGeometry(file->QtAction()).center());
        QMenu* menu = file->SubMenu();
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
        ClickWidgetAt(menu, menu->actionGeometry(openItem->QtAction()).center());
    };
    struct Case {
        const char* how;
        bool byKey;
        std::function<void()> open;
    };
    const Case cases[] = {
        {"click on the button", false, [&] { ClickCentre(open); }},
        {"Enter on the button", true, [&] { EnterOn(open); }},
        {"the shortcut", true,
         [&] { PressKeyIn(opener->Widget(), Qt::Key_O, Qt::ControlModifier); }},
        {"the menu with the mouse", false, chooseOpenWithTheMouse},
        {"the menu with the keys", true, chooseOpenWithKeys},
        {"a click on the button of a modal window", false, [&] { ClickCentre(openModal); }},
        {"Enter on the button of a modal window", true, [&] { EnterOn(openModal); }},
        // A key typed in a window opened by the mouse shows nothing that was not shown.
        {"click, then Shift", false,
         [&] {
             ClickCentre(open);
             PressKeyIn(box->Widget(), Qt::Key_Shift);
             Look();
         }},
    };
    QImage byMouse, byKey;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        look = QImage();
        ScopedModalInterceptor modal([&](TModalRequest& r) {
            EXPECT_EQ(r.Form, box);
            Look();
            return int(mrOk);
        });
        c.open();
        ASSERT_FALSE(look.isNull()) << "the box did not open";
        QImage& same = c.byKey ? byKey : byMouse;
        if (same.isNull()) same = look;
        EXPECT_EQ(look, same) << "drawn otherwise than the first opened the same way";
        if (!byKey.isNull() && !byMouse.isNull()) {
            EXPECT_TRUE(byKey != byMouse) << "no focus frame";
        }
        CloseBox();
    }
}

// Every kind of control that a window may focus first draws the focus when a key opened the
// window: lists and memos (also empty ones, with no row to frame) outline themselves.
TEST_F(FocusCuesTest, EveryKindOfControlShowsItsFocusInAWindowOpenedByAKey) {
    auto place = [this](TWinControl* C) {
        C->SetParent(box);
        C->SetBounds(20, 90, 150, 50);
        return C;
    };
    struct Kind {
        const char* name;
        std::function<TWinControl*()> make;
    };
    const Kind kinds[] = {
        {"check box",
         [&] {
             auto* c = new TCheckBox(box);
             c->SetCaption(u"Tick");
             return place(c);
         }},
        {"empty list view", [&] { return place(new TListView(box)); }},
        {"list view with rows",
         [&] {
             auto* l = new TListView(box);
             l->Items().Add()->SetCaption(u"row");
             return place(l);
         }},
        {"empty memo", [&] { return place(new TMemo(box)); }},
        {"empty list box", [&] { return place(new TListBox(box)); }},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        first = k.make();
        EnterOn(open);
        const QImage byKey = look;
        CloseBox();
        ClickCentre(open);
        const QImage byMouse = look;
        CloseBox();
        EXPECT_FALSE(byKey.isNull());
        EXPECT_TRUE(byKey != byMouse) << "no focus shown";
        first->Free();
    }
}

} // namespace
