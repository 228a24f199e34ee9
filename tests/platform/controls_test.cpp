#include "platform/Controls.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QToolTip>
#include <gtest/gtest.h>

#include "Imports/UCodeControls.h"
#include "platform/ActnList.h"
#include "platform/ComCtrls.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "support/WidgetInput.h"

namespace {

struct Fixture : ::testing::Test {
    TForm* form = nullptr;
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 400, 300);
    }
    void TearDown() override { form->Free(); }
    TPanel* Panel(TWinControl* parent, TAlign align, int size) {
        auto* p = new TPanel(form);
        p->SetParent(parent);
        // Placed after the others, as a designer drops it; alignment keeps that order.
        p->SetBounds(10000, 10000, p->Width(), p->Height());
        if (align == alLeft || align == alRight)
            p->SetWidth(size);
        else
            p->SetHeight(size);
        p->SetAlign(align);
        return p;
    }
};

using Align = Fixture;

TEST_F(Align, TopPanelsStackClientFillsAndHiddenPanelsTakeNoSpace) {
    TPanel* a = Panel(form, alTop, 40);
    TPanel* b = Panel(form, alTop, 30);
    TPanel* bottom = Panel(form, alBottom, 20);
    TPanel* left = Panel(form, alLeft, 50);
    TPanel* client = Panel(form, alClient, 0);
    EXPECT_EQ(a->BoundsRect(), Bounds(0, 0, 400, 40));
    EXPECT_EQ(b->BoundsRect(), Bounds(0, 40, 400, 30));
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 280, 400, 20));
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 70, 50, 210));
    EXPECT_EQ(client->BoundsRect(), Bounds(50, 70, 350, 210));
    a->SetVisible(false);
    EXPECT_TRUE(a->Height() == 40 && !a->Visible());
    EXPECT_EQ(b->Top(), 0);
    EXPECT_EQ(client->BoundsRect(), Bounds(50, 30, 350, 250));
    a->SetVisible(true); // comes back in its old place
    EXPECT_EQ(a->Top(), 0);
    EXPECT_EQ(b->Top(), 40);
    // Constraints hold against alignment; the form's size drives the layout.
    left->SetConstraints(TSizeConstraints{0, 0, 30, 0});
    EXPECT_EQ(left->Width(), 30);
    EXPECT_EQ(client->Left(), 30);
    form->SetBounds(0, 0, 500, 400);
    EXPECT_EQ(client->BoundsRect(), Bounds(30, 70, 470, 310));
    // Anchored to the right and bottom: keeps its distances.
    auto* button = new TButton(form);
    button->SetParent(client);
    button->SetBounds(370, 280, 75, 25);
    button->SetAnchors(akRight | akBottom);
    form->SetBounds(0, 0, 600, 450);
    EXPECT_EQ(button->Left(), 470);
    EXPECT_EQ(button->Top(), 330);
}

TEST_F(Align, AChildResizedByItsParentsResizeHandlerMovesItsSiblings) {
    // A splitter keeping its proportion sets the top box's height while the holder is
    // being aligned: the boxes below must follow, not stay under the grown top box.
    TPanel* holder = Panel(form, alClient, 0);
    TPanel* top = Panel(holder, alTop, 100);
    TPanel* rest = Panel(holder, alClient, 0);
    // As in the working window, the handler also runs when the box below is resized by
    // the holder's own alignment pass.
    holder->OnResize = [&](TObject*) { top->SetHeight(holder->Height() / 2); };
    rest->OnResize = holder->OnResize;
    form->SetBounds(0, 0, 400, 500);
    EXPECT_EQ(top->Height(), holder->Height() / 2);
    EXPECT_EQ(rest->Top(), top->Top() + top->Height());
    EXPECT_LE(rest->Top() + rest->Height(), holder->Height());
}

TEST_F(Align, SplitterHonoursMinSize) {
    form->SetBounds(0, 0, 600, 300);
    TPanel* left = Panel(form, alLeft, 200);
    auto* splitter = new TSplitter(form);
    splitter->SetParent(form);
    splitter->SetLeft(200);
    splitter->SetWidth(6);
    splitter->MinSize = 100;
    TPanel* client = Panel(form, alClient, 0);
    int moved = 0;
    splitter->OnMoved = [&](TObject*) { ++moved; };
    form->Show();
    ASSERT_EQ(splitter->Left(), 200);
    auto drag = [&](int dx) {
        QWidget* w = splitter->Widget();
        QPoint g = w->mapToGlobal(QPoint(2, 50));
        MouseAt(w, QEvent::MouseButtonPress, QPoint(2, 50), g);
        MouseAt(w, QEvent::MouseMove, QPoint(2 + dx, 50), g + QPoint(dx, 0));
        MouseAt(w, QEvent::MouseButtonRelease, QPoint(2 + dx, 50), g + QPoint(dx, 0));
    };
    drag(50);
    EXPECT_EQ(left->Width(), 250);
    EXPECT_EQ(splitter->Left(), 250);
    EXPECT_EQ(client->Left(), 256);
    drag(-500); // not below the minimum
    EXPECT_EQ(left->Width(), 100);
    drag(1000); // the client keeps at least the minimum too
    EXPECT_EQ(left->Width(), 600 - 6 - 100);
    EXPECT_EQ(moved, 3);
}

using Flags = Fixture;

TEST_F(Flags, VisibleAndEnabledAreTheControlsOwnFlags) {
    TPanel* panel = Panel(form, alNone, 50);
    auto* edit = new TEdit(form);
    edit->SetParent(panel);
    form->Show();
    panel->SetVisible(false);
    panel->SetEnabled(false);
    EXPECT_TRUE(edit->Visible());
    EXPECT_TRUE(edit->Enabled());
    EXPECT_FALSE(edit->Showing());
    EXPECT_FALSE(edit->Widget()->isEnabled());
    EXPECT_FALSE(edit->CanFocus());
    panel->SetVisible(true);
    panel->SetEnabled(true);
    EXPECT_TRUE(edit->Widget()->isEnabled());
    EXPECT_TRUE(edit->Showing());
    // Freeing a parent frees its children, which leave their owner.
    int before = form->ComponentCount();
    panel->Free();
    EXPECT_EQ(form->ComponentCount(), before - 2);
}

using Hints = Fixture;

TEST_F(Hints, ShortPartIsTheToolTipLongPartTheApplicationHintParentsFillIn) {
    TPanel* panel = Panel(form, alNone, 100);
    auto* edit = new TEdit(form);
    edit->SetParent(panel);
    form->SetShowHint(true);
    edit->SetHint(u"short|long");
    EXPECT_EQ(edit->CurrentToolTip(), u"short");
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(edit->Widget(), &enter);
    EXPECT_EQ(Application->Hint(), u"long");
    edit->SetHint(WideString());
    panel->SetHint(u"Panel hint");
    EXPECT_EQ(edit->CurrentToolTip(), u"Panel hint");
    QApplication::sendEvent(edit->Widget(), &enter);
    EXPECT_EQ(Application->Hint(), u"Panel hint");
    EXPECT_EQ(UCodeControl_GetHintOfParents(edit), u"Panel hint");
    form->SetShowHint(false);
    EXPECT_EQ(edit->CurrentToolTip(), u"");

    EXPECT_EQ(WideGetShortHint(u"a|b|c"), u"a");
    EXPECT_EQ(WideGetLongHint(u"a|b|c"), u"b|c");
    EXPECT_EQ(WideGetShortHint(u"plain"), u"plain");
    EXPECT_EQ(WideGetLongHint(u"plain"), u"plain");
}

TEST_F(Hints, ToolTipShowsTheActionShortCutWhileTheApplicationShowsShortCuts) {
    auto* button = new TButton(form);
    button->SetParent(form);
    auto* cut = new TAction(form);
    cut->SetCaption(u"Cu&t");
    cut->SetHint(u"Cut|Moves the selection to the clipboard");
    cut->SetShortCut(ShortCut('X', ssCtrl));
    SetControlAction(button, cut);
    auto* plain = new TButton(form); // a hint without an action shows no shortcut
    plain->SetParent(form);
    plain->SetLeft(100);
    plain->SetHint(u"Plain");
    form->SetShowHint(true);
    form->Show();
    auto toolTip = [](TControl* c) {
        QPoint at(2, 2);
        QHelpEvent help(QEvent::ToolTip, at, c->Widget()->mapToGlobal(at));
        QApplication::sendEvent(c->Widget(), &help);
        WideString shown = QToolTip::text().toStdU16String();
        QToolTip::hideText();
        return shown;
    };
    EXPECT_EQ(toolTip(button), u"Cut (Ctrl+X)");
    EXPECT_EQ(toolTip(plain), u"Plain");
    struct Restore {
        ~Restore() { Application->HintShortCuts = true; }
    } restore;
    Application->HintShortCuts = false;
    EXPECT_EQ(toolTip(button), u"Cut");
}

TEST_F(Hints, TextStoreKeepsTextAndIgnoresEqualTexts) {
    auto* label = new TLabel(form);
    auto* edit = new TEdit(form);
    // Text given before the control has a parent or a shown window is kept.
    UCodeControl_SetText(edit, u"Ω😀");
    UCodeControl_SetText(label, u"Ω😀");
    edit->SetParent(form);
    label->SetParent(form);
    form->Show();
    EXPECT_EQ(UCodeControl_GetText(edit), u"Ω😀");
    EXPECT_EQ(UCodeControl_GetText(label), u"Ω😀");
    int changed = 0;
    edit->HookWindowProc([&](TMessage& m, const TWndMethod& next) {
        if (m.Msg == CM_TEXTCHANGED) ++changed;
        next(m);
    });
    UCodeControl_SetText(edit, u"Ω😀");
    EXPECT_EQ(changed, 0);
    UCodeControl_SetText(edit, u"x");
    EXPECT_EQ(changed, 1);
    UCodeControl_SetHint(edit, u"a|b");
    EXPECT_EQ(UCodeControl_GetHint(edit), u"a|b");
}

} // namespace

namespace {

using Scrolling = Fixture;

TEST_F(Scrolling, ScrollBoxRangeFollowsStackedPanelsAndPositionScrolls) {
    auto* box = new TScrollBox(form);
    box->SetParent(form);
    box->SetBounds(0, 0, 200, 150);
    std::vector<TPanel*> panels;
    for (int i = 0; i < 4; ++i)
        panels.push_back(Panel(box, alTop, 100));
    form->Show();
    QApplication::processEvents();
    EXPECT_EQ(box->VertScrollBar().Range(), 400);
    EXPECT_EQ(panels[3]->Top(), 300);
    EXPECT_EQ(panels[0]->Width(), box->ClientWidth());
    box->VertScrollBar().SetPosition(120);
    EXPECT_EQ(box->VertScrollBar().Position(), 120);
    panels[1]->SetVisible(false);
    EXPECT_EQ(box->VertScrollBar().Range(), 300);
    box->AutoScroll = false;
    box->VertScrollBar().SetRange(1000);
    box->VertScrollBar().SetPosition(700);
    EXPECT_EQ(box->VertScrollBar().Position(), 700);
}

TEST_F(Scrolling, ProgressBarStepsAndWrapsAndStaticTextSizesToItsCaption) {
    auto* bar = new TProgressBar(form);
    bar->SetParent(form);
    bar->SetMax(100);
    bar->Step = 30;
    for (int i = 0; i < 3; ++i)
        bar->StepIt();
    EXPECT_EQ(bar->Position(), 90);
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 20);
    auto* text = new TStaticText(form);
    text->SetParent(form);
    text->SetCaption(u"x");
    int narrow = text->Width();
    text->SetCaption(u"a much longer caption");
    EXPECT_GT(text->Width(), narrow);
    QFontMetrics fm(text->Widget()->font());
    EXPECT_EQ(text->Width(), fm.horizontalAdvance(QStringLiteral("a much longer caption")) + 4);
}

} // namespace

namespace {

TEST_F(Fixture, KeyPreviewAndFocusEvents) {
    auto* a = new TEdit(form);
    a->SetParent(form);
    auto* b = new TEdit(form);
    b->SetParent(form);
    b->SetTop(40);
    std::vector<std::string> trace;
    a->OnEnter = [&](TObject*) { trace.push_back("enter a"); };
    a->OnExit = [&](TObject*) { trace.push_back("exit a"); };
    b->OnEnter = [&](TObject*) { trace.push_back("enter b"); };
    form->Show();
    QApplication::processEvents();
    a->SetFocus();
    QApplication::processEvents();
    b->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(trace, (std::vector<std::string>{"enter a", "exit a", "enter b"}));
    EXPECT_EQ(form->ActiveControl(), b);

    // The form sees keys first with KeyPreview and can swallow them.
    form->KeyPreview = true;
    form->OnKeyPress = [](TObject*, WideChar& key) {
        if (key == u'x') key = 0;
    };
    TypeChar(b, QStringLiteral("x"));
    TypeChar(b, QStringLiteral("y"));
    EXPECT_EQ(b->Text(), u"y");
}

} // namespace
