#include "platform/Menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>
#include <vector>

#include "Imports/UCodeActnList.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "support/WidgetInput.h"
#include "support/WindowInput.h"

namespace {

QStringList Texts(QWidget* container) {
    QStringList out;
    for (QAction* a : container->actions())
        out << (a->isSeparator() ? QString("-") : a->text());
    return out;
}

const TShortCut CtrlO = ShortCut('O', ssCtrl);

struct MenuFixture : ::testing::Test {
    TForm* form = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem *file = nullptr, *open = nullptr;
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 400, 300);
        menu = new TMainMenu(form);
        file = NewItem(u"&File", CtrlO, nullptr, form);
        open = NewItem(u"&Open…", CtrlO, nullptr, form);
        menu->Items()->Add(file);
        file->Add(open);
        file->Add(NewLine(form));
        file->Add(NewItem(u"E&xit", 0, nullptr, form));
    }
    void TearDown() override { form->Free(); }
};

TEST_F(MenuFixture, ShortcutShowsInSubmenusButNeverOnTheMenuBar) {
    EXPECT_EQ(open->MenuText(), u"&Open…\tCtrl+O");
    EXPECT_EQ(file->MenuText(), u"&File");
    ASSERT_NE(menu->MenuBar(), nullptr);
    EXPECT_EQ(Texts(menu->MenuBar()), QStringList{"&File"});
    EXPECT_EQ(Texts(file->SubMenu()), (QStringList{"&Open…\tCtrl+O", "-", "E&xit"}));
    EXPECT_EQ(open->QtAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_TRUE(file->QtAction()->shortcut().isEmpty());
    // A top-level item moved into a submenu shows its shortcut there.
    auto* edit = NewItem(u"&Edit", 0, nullptr, form);
    menu->Items()->Add(edit);
    edit->Add(file);
    EXPECT_EQ(file->MenuText(), u"&File"); // it has sub-items
    file->Clear();
    EXPECT_EQ(file->MenuText(), u"&File\tCtrl+O");
}

TEST_F(MenuFixture, TheMenuBarSitsAboveTheClientArea) {
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetHeight(30);
    panel->SetAlign(alTop);
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    memo->SetAlign(alClient);
    form->Show();
    EXPECT_EQ(form->Menu(), menu);
    int barHeight = menu->MenuBar()->height();
    EXPECT_GT(barHeight, 0);
    EXPECT_EQ(menu->MenuBar()->y(), 0);
    EXPECT_EQ(menu->MenuBar()->width(), form->Width());
    // Attaching the menu kept the client height; the bar is not part of it.
    EXPECT_EQ(form->ClientHeight(), 300);
    EXPECT_EQ(form->Height(), 300 + barHeight);
    EXPECT_EQ(panel->Top(), 0);
    EXPECT_EQ(panel->Widget()->y(), barHeight);
    EXPECT_EQ(memo->Top() + memo->Height(), form->ClientHeight());
    EXPECT_EQ(form->ClientToScreen(Point(0, 0)).Y, panel->ClientToScreen(Point(0, 0)).Y);
    form->SetClientHeight(200);
    EXPECT_EQ(form->Height(), 200 + barHeight);
    EXPECT_EQ(memo->Top() + memo->Height(), 200);
    form->SetWidth(500);
    EXPECT_EQ(menu->MenuBar()->width(), 500);
    // Taking the menu away gives the space back to the client area.
    form->SetMenu(nullptr);
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(menu->MenuBar(), nullptr);
    EXPECT_EQ(form->ClientHeight(), 200);
    EXPECT_EQ(form->Height(), 200);
    EXPECT_EQ(panel->Widget()->y(), 0);
    form->SetMenu(menu);
    EXPECT_EQ(menu->Form(), form);
    EXPECT_EQ(Texts(menu->MenuBar()), QStringList{"&File"});
    EXPECT_EQ(panel->Widget()->y(), menu->MenuBar()->height());
}

// What the menu bar shows of each title: the pixels of the title's rectangle.
QImage TitlePixels(QMenuBar* Bar, TMenuItem* Title) {
    Bar->repaint();
    return Bar->grab(Bar->actionGeometry(Title->QtAction())).toImage();
}

// Alt pressed and released alone marks the first title, drawn highlighted; Left and Right
// move the mark (drawn where it is, and gone from where it was), Escape or Alt again leaves
// the bar unmarked with the keys back in the field, and no menu opens on the way.
TEST_F(MenuFixture, AltAloneMarksTheFirstTitleAndTheArrowsMoveTheMarkVisibly) {
    auto* edit = NewItem(u"&Edit", 0, nullptr, form);
    auto* help = NewItem(u"&Help", 0, nullptr, form);
    menu->Items()->Add(edit);
    menu->Items()->Add(help);
    edit->Add(NewItem(u"&Copy", 0, nullptr, form));
    auto* field = new TEdit(form);
    field->SetParent(form);
    form->Show();
    QMenuBar* bar = menu->MenuBar();
    ClickCentre(field);
    const std::vector<TMenuItem*> titles{file, edit, help};
    std::vector<QImage> plain;
    for (TMenuItem* t : titles)
        plain.push_back(TitlePixels(bar, t));
    // Which titles are drawn otherwise than unmarked.
    auto marked = [&] {
        std::vector<int> out;
        for (size_t i = 0; i < titles.size(); ++i)
            if (TitlePixels(bar, titles[i]) != plain[i]) out.push_back(int(i));
        return out;
    };
    struct Step {
        Qt::Key key;
        std::vector<int> marked;
    };
    const Step steps[] = {
        {Qt::Key_Alt, {0}},   {Qt::Key_Right, {1}}, {Qt::Key_Right, {2}},
        {Qt::Key_Right, {0}}, {Qt::Key_Left, {2}},  {Qt::Key_Escape, {}},
        {Qt::Key_Alt, {0}},   {Qt::Key_Left, {2}},  {Qt::Key_Alt, {}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(QKeySequence(s.key).toString().toStdString());
        PressKeyIn(form->Widget(), s.key);
        EXPECT_EQ(marked(), s.marked);
        for (TMenuItem* t : titles) {
            const QMenu* m = t->QtAction()->menu();
            EXPECT_TRUE(!m || !m->isVisible());
        }
    }
    EXPECT_EQ(QApplication::focusWidget(), field->Widget());
}

TEST(MainMenu, FormAndMenuFreedInEitherOrder) {
    for (bool menuFirst : {true, false}) {
        auto* form = new TForm(nullptr);
        form->SetBounds(0, 0, 300, 200);
        auto* menu = new TMainMenu(nullptr);
        menu->Items()->Add(NewItem(u"&File", 0, nullptr, menu));
        form->SetMenu(menu);
        form->Show();
        EXPECT_EQ(form->ClientHeight(), 200);
        if (menuFirst) {
            menu->Free();
            EXPECT_EQ(form->Menu(), nullptr);
            EXPECT_EQ(form->ClientHeight(), 200);
            EXPECT_EQ(form->Height(), 200);
            form->Free();
        } else {
            form->Free();
            EXPECT_EQ(menu->Form(), nullptr);
            EXPECT_EQ(menu->MenuBar(), nullptr);
            menu->Free();
        }
    }
}

TEST(MainMenu, ASecondMenuReplacesTheFirst) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 300, 200);
    auto* a = new TMainMenu(form);
    auto* b = new TMainMenu(nullptr);
    b->Items()->Add(NewItem(u"&Help", 0, nullptr, b));
    form->SetMenu(b);
    EXPECT_EQ(form->Menu(), b);
    EXPECT_EQ(a->Form(), nullptr);
    EXPECT_EQ(a->MenuBar(), nullptr);
    EXPECT_EQ(form->ClientHeight(), 200);
    EXPECT_EQ(form->Height(), 200 + b->MenuBar()->height());
    form->Free();
    b->Free();
}

TEST_F(MenuFixture, ClickingLeavesCheckedToTheHandler) {
    auto* check = NewItem(u"&Wrap", 0, nullptr, form);
    file->Add(check);
    int clicks = 0;
    check->OnClick = [&](TObject* s) {
        ++clicks;
        EXPECT_EQ(s, check);
    };
    check->QtAction()->trigger();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(check->Checked());
    check->SetChecked(true);
    check->QtAction()->trigger();
    EXPECT_TRUE(check->Checked());
    EXPECT_TRUE(check->QtAction()->isChecked());
    check->OnClick = [&](TObject*) { check->SetChecked(!check->Checked()); };
    check->QtAction()->trigger();
    EXPECT_FALSE(check->Checked());
    EXPECT_FALSE(check->QtAction()->isChecked());
    // Radio items of one group.
    auto* a = NewItem(u"A", 0, nullptr, form);
    auto* b = NewItem(u"B", 0, nullptr, form);
    for (TMenuItem* r : {a, b}) {
        r->RadioItem = true;
        r->GroupIndex = 1;
        file->Add(r);
    }
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
}

TEST_F(MenuFixture, ItemsInsertedAndRemovedAtRunTime) {
    file->Insert(0, NewItem(u"&New", 0, nullptr, form));
    EXPECT_EQ(file->Items(0)->Caption(), u"&New");
    EXPECT_EQ(Texts(file->SubMenu()).front(), QString("&New"));
    EXPECT_EQ(open->MenuIndex(), 1);
    open->SetVisible(false);
    EXPECT_FALSE(open->QtAction()->isVisible());
    file->Delete(1); // frees "Open"
    EXPECT_EQ(file->Count(), 3);
    EXPECT_EQ(Texts(file->SubMenu()), (QStringList{"&New", "-", "E&xit"}));
    EXPECT_TRUE(file->Items(1)->IsLine());
    file->Items(2)->Free();
    EXPECT_EQ(file->Count(), 2);
}

TEST(PopupMenu, OnPopupCanCancelAndHintsGoToTheApplication) {
    auto* form = new TForm(nullptr);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 100, 100);
    auto* popup = new TPopupMenu(form);
    auto* item = NewItem(u"&Copy", 0, nullptr, form);
    item->SetHint(u"Copy|Copies the selected files");
    popup->Items()->Add(item);
    popup->AttachTo(panel);
    form->Show();
    bool cancel = true;
    int popups = 0;
    popup->OnPopup = [&](TObject* s, bool& c) {
        EXPECT_EQ(s, popup);
        ++popups;
        c = cancel;
    };
    MouseAt(panel->Widget(), QEvent::MouseButtonPress, QPoint(10, 10), Qt::RightButton);
    MouseAt(panel->Widget(), QEvent::MouseButtonRelease, QPoint(10, 10), Qt::RightButton);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(popup->PopupComponent, panel);
    EXPECT_FALSE(popup->Menu()->isVisible());
    cancel = false;
    popup->Popup(20, 20);
    EXPECT_TRUE(popup->Menu()->isVisible());
    emit item->QtAction()->hovered();
    EXPECT_EQ(Application->Hint(), u"Copies the selected files");
    popup->Menu()->hide();
    EXPECT_EQ(Application->Hint(), u"");
    form->Free();
}

TEST(PopupMenu, ControlsOpenTheirOwnOrTheirParentsPopupMenu) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 300, 200);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 200, 150);
    auto* edit = new TEdit(form);
    edit->SetParent(panel);
    edit->SetBounds(10, 10, 100, 24);
    auto* label = new TLabel(form);
    label->SetParent(panel);
    label->SetBounds(10, 50, 100, 20);
    auto* panelMenu = new TPopupMenu(form);
    panelMenu->Items()->Add(NewItem(u"&Panel", 0, nullptr, form));
    auto* editMenu = new TPopupMenu(form);
    editMenu->Items()->Add(NewItem(u"&Edit", 0, nullptr, form));
    panel->SetPopupMenu(panelMenu);
    edit->SetPopupMenu(editMenu);
    form->Show();
    std::vector<TObject*> opened;
    for (TPopupMenu* m : {panelMenu, editMenu})
        m->OnPopup = [&opened](TObject* s, bool& Cancel) {
            opened.push_back(s);
            Cancel = true; // keeps the test from showing menus
        };
    auto rightClick = [](TControl* c) {
        MouseAt(c->Widget(), QEvent::MouseButtonPress, QPoint(3, 3), Qt::RightButton);
        MouseAt(c->Widget(), QEvent::MouseButtonRelease, QPoint(3, 3), Qt::RightButton);
    };
    struct Case {
        TControl* Target;
        bool ByKey;
        TPopupMenu* Expected;
    };
    for (const Case& c : {Case{edit, false, editMenu}, Case{label, false, panelMenu},
                          Case{panel, false, panelMenu}, Case{edit, true, editMenu}}) {
        opened.clear();
        if (c.ByKey)
            PressKey(c.Target->Widget(), Qt::Key_Menu, QString());
        else
            rightClick(c.Target);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0], c.Expected);
        // The menu's own control is the popup component, as on Windows.
        EXPECT_EQ(c.Expected->PopupComponent,
                  c.Expected == editMenu ? static_cast<TControl*>(edit) : panel);
    }
    // Shift+F10 is the context-menu key as well.
    opened.clear();
    PressKey(edit->Widget(), Qt::Key_F10, QString(), Qt::ShiftModifier);
    EXPECT_EQ(opened.size(), 1u);
    // A hook that swallows the right-button release keeps the menu closed.
    opened.clear();
    THookId hook = edit->HookWindowProc([](TMessage& M, const TWndMethod& Next) {
        if (M.Msg != WM_RBUTTONUP) Next(M);
    });
    rightClick(edit);
    EXPECT_TRUE(opened.empty());
    edit->UnhookWindowProc(hook);
    // AutoPopup off: an edit keeps the click for its own context menu (as Windows
    // edits do); a control without one leaves it to its parent.
    editMenu->AutoPopup = false;
    opened.clear();
    rightClick(edit);
    EXPECT_TRUE(opened.empty());
    auto* button = new TButton(form);
    button->SetParent(panel);
    auto* buttonMenu = new TPopupMenu(form);
    buttonMenu->AutoPopup = false;
    button->SetPopupMenu(buttonMenu);
    rightClick(button);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], panelMenu);
    // A freed menu leaves no dangling PopupMenu; a freed control no PopupComponent.
    editMenu->Free();
    EXPECT_EQ(edit->PopupMenu(), nullptr);
    opened.clear();
    rightClick(edit);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(panelMenu->PopupComponent, panel);
    panel->Free();
    EXPECT_EQ(panelMenu->PopupComponent, nullptr);
    form->Free();
}

TEST(Actions, CaptionAndHintRulesAndExecution) {
    auto* form = new TForm(nullptr);
    auto* list = new TActionList(form);
    auto* action = new TAction(list);
    EXPECT_EQ(action->ActionList(), list);
    action->SetCaption(u"&Save");
    action->SetHint(u"Save|Saves the file");
    action->SetShortCut(ShortCut('S', ssCtrl));
    int runs = 0;
    action->OnExecute = [&](TObject*) { ++runs; };

    struct Case {
        const char16_t* name;
        const char16_t* caption;
        const char16_t* hint;
        const char16_t* expectCaption;
        const char16_t* expectHint;
    } cases[] = {
        {u"m1", u"", u"", u"&Save", u"Save|Saves the file"},
        {u"m2", u"m2", u"", u"&Save", u"Save|Saves the file"}, // caption = name
        {u"m3", u"Own", u"mine", u"Own", u"mine"},             // defaults kept
    };
    std::vector<TMenuItem*> items;
    for (const Case& c : cases) {
        auto* item = new TMenuItem(form);
        item->SetName(c.name);
        item->SetCaption(c.caption);
        item->SetHint(c.hint);
        item->SetAction(action);
        EXPECT_EQ(item->Caption(), c.expectCaption) << U8(c.name);
        EXPECT_EQ(item->Hint(), c.expectHint) << U8(c.name);
        EXPECT_EQ(item->ShortCut(), ShortCut('S', ssCtrl));
        items.push_back(item);
    }
    // Linked captions follow the action (menu items compare without hot keys and case).
    items[1]->SetCaption(u"sa&ve");
    action->SetCaption(u"Save &as");
    EXPECT_EQ(items[0]->Caption(), u"Save &as");
    EXPECT_EQ(items[1]->Caption(), u"Save &as");
    EXPECT_EQ(items[2]->Caption(), u"Own");
    action->SetEnabled(false);
    EXPECT_FALSE(items[0]->Enabled());
    items[0]->QtAction()->setEnabled(true);
    items[0]->QtAction()->trigger(); // a disabled action does not run
    EXPECT_EQ(runs, 0);
    action->SetEnabled(true);
    items[0]->QtAction()->trigger();
    EXPECT_EQ(runs, 1);

    auto* button = new TButton(form);
    button->SetParent(form);
    SetControlAction(button, action);
    EXPECT_EQ(button->Caption(), u"Save &as");
    EXPECT_EQ(ControlAction(button), action);
    button->Click();
    EXPECT_EQ(runs, 2);
    action->Free(); // clients let go
    EXPECT_EQ(items[0]->Action(), nullptr);
    EXPECT_EQ(ControlAction(button), nullptr);
    button->Click();
    EXPECT_EQ(runs, 2);
    form->Free();
}

} // namespace
