#include "platform/Controls.h"

#include <QWidget>
#include <algorithm>

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* AOwner, QWidget* Widget) : TControl(AOwner, Widget) {}

TWinControl::~TWinControl() {
    SetDestroyingFlag();
    // A windowed control frees its child controls (they leave their owners).
    while (!FControls.empty())
        FControls.back()->Free();
}

void TWinControl::InsertControl(TControl* C) {
    if (std::find(FControls.begin(), FControls.end(), C) != FControls.end()) return;
    FControls.push_back(C);
    if (auto* w = dynamic_cast<TWinControl*>(C)) FTabList.push_back(w);
}

void TWinControl::RemoveControl(TControl* C) {
    auto it = std::find(FControls.begin(), FControls.end(), C);
    if (it == FControls.end()) return;
    FControls.erase(it);
    // C may be half destroyed already: compare addresses only.
    std::erase_if(FTabList, [C](TWinControl* w) { return static_cast<TControl*>(w) == C; });
    if (!Destroying() && C->Align() != alNone) Realign();
}

void TWinControl::UpdateChildGeometry() {
    for (TControl* c : FControls)
        c->UpdateWidgetGeometry();
}

void TWinControl::EnableAlign() {
    if (FAlignLock > 0 && --FAlignLock == 0) Realign();
}

void TWinControl::Realign() {
    if (FAlignLock > 0 || Destroying()) return;
    // A resize handler run by this pass may change an aligned child (a splitter keeping its
    // proportion sets the top box's height): its siblings must follow, so the pass runs
    // again, a few times at most.
    if (FAligning) {
        FAlignAgain = true;
        return;
    }
    FAligning = true;
    for (int pass = 0; pass < 4; ++pass) {
        FAlignAgain = false;
        TRect r = ClientRect();
        AdjustClientRect(r);
        AlignControls(r);
        if (!FAlignAgain) break;
    }
    FAligning = false;
}

void TWinControl::AlignControls(TRect& R) {
    // Anchored controls keep their distance to the right and bottom edges.
    for (TControl* c : FControls) {
        if (c->Align() != alNone) continue;
        TAnchors a = c->Anchors();
        if (!(a & (akRight | akBottom))) continue;
        int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
        if (a & akRight) {
            int right = ClientWidth() - c->FAnchorRight;
            if (a & akLeft)
                w = right - l;
            else
                l = right - w;
        }
        if (a & akBottom) {
            int bottom = ClientHeight() - c->FAnchorBottom;
            if (a & akTop)
                h = bottom - t;
            else
                t = bottom - h;
        }
        c->SetBoundsCore(l, t, w, h, true);
    }
    auto ordered = [this](TAlign align) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->Align() == align && c->Visible()) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
            switch (align) {
            case alTop:
                return a->Top() < b->Top();
            case alBottom:
                return a->Top() + a->Height() > b->Top() + b->Height();
            case alLeft:
                return a->Left() < b->Left();
            case alRight:
                return a->Left() + a->Width() > b->Left() + b->Width();
            default:
                return false;
            }
        });
        return list;
    };
    for (TControl* c : ordered(alTop)) {
        int w = R.Width(), h = c->Height();
        c->Constrain(w, h);
        c->SetBoundsCore(R.Left, R.Top, R.Width(), h, true);
        R.Top += c->Height();
    }
    for (TControl* c : ordered(alBottom)) {
        int w = R.Width(), h = c->Height();
        c->Constrain(w, h);
        c->SetBoundsCore(R.Left, R.Bottom - h, R.Width(), h, true);
        R.Bottom -= c->Height();
    }
    for (TControl* c : ordered(alLeft)) {
        int w = c->Width(), h = R.Height();
        c->Constrain(w, h);
        c->SetBoundsCore(R.Left, R.Top, w, R.Height(), true);
        R.Left += c->Width();
    }
    for (TControl* c : ordered(alRight)) {
        int w = c->Width(), h = R.Height();
        c->Constrain(w, h);
        c->SetBoundsCore(R.Right - w, R.Top, w, R.Height(), true);
        R.Right -= c->Width();
    }
    for (TControl* c : ordered(alClient))
        c->SetBoundsCore(R.Left, R.Top, std::max(R.Width(), 0), std::max(R.Height(), 0), true);
}

void TWinControl::Resize() {
    Realign();
    TControl::Resize();
}

void TWinControl::Broadcast(TMessage& Message) {
    std::vector<TControl*> copy = FControls;
    for (TControl* c : copy) {
        c->WindowProc(Message);
        if (Message.Result != 0) return;
    }
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
    TWinControl* p = Parent();
    if (!p) return;
    auto& list = p->FTabList;
    std::erase(list, this);
    Value = std::clamp(Value, 0, int(list.size()));
    list.insert(list.begin() + Value, this);
    for (size_t i = 1; i < list.size(); ++i)
        QWidget::setTabOrder(list[i - 1]->FocusWidget(), list[i]->FocusWidget());
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return FocusWidget() != nullptr;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw Exception(std::string("Cannot focus a disabled or invisible window"));
    if (QWidget* w = FocusWidget()) {
        if (QWidget* top = w->window(); top && top->isVisible()) top->activateWindow();
        w->setFocus(Qt::OtherFocusReason);
    }
}

bool TWinControl::Focused() const {
    // The focus inside the control's window (the window itself need not be active).
    QWidget* fw = FocusWidget();
    return fw && fw->window()->focusWidget() == fw;
}

void TWinControl::DoEnter() {
    if (OnEnter) {
        TraceEvent(this, "OnEnter");
        OnEnter(this);
    }
}

void TWinControl::DoExit() {
    if (OnExit) {
        TraceEvent(this, "OnExit");
        OnExit(this);
    }
}

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift) {
    if (OnKeyDown) {
        TraceEvent(this, "OnKeyDown");
        OnKeyDown(this, Key, Shift);
    }
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift) {
    if (OnKeyUp) {
        TraceEvent(this, "OnKeyUp");
        OnKeyUp(this, Key, Shift);
    }
}

void TWinControl::KeyPress(WideChar& Key) {
    if (OnKeyPress) {
        TraceEvent(this, "OnKeyPress");
        OnKeyPress(this, Key);
    }
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* c : FControls)
        c->UpdateParentFont();
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    for (TControl* c : FControls)
        c->UpdateParentColor();
}

void TWinControl::ApplyEnabled() {
    TControl::ApplyEnabled();
    for (TControl* c : FControls)
        c->ApplyEnabled();
}

void TWinControl::WndProc(TMessage& Message) {
    TWinControl* preview = nullptr;
    if (TWinControl* f = ParentFormControl(); f && f != this && f->PreviewsKeys()) preview = f;
    switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        bool down = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
        uint16_t k = uint16_t(Message.WParam);
        if (preview) down ? preview->KeyDown(k, FKeyShift) : preview->KeyUp(k, FKeyShift);
        if (k) down ? KeyDown(k, FKeyShift) : KeyUp(k, FKeyShift);
        if (!k) return; // swallowed: the widget does not see it
        Message.WParam = k;
        bool menuKey =
            k == VK_APPS || (k == VK_F10 && (FKeyShift & ~ssShift) == 0 && (FKeyShift & ssShift));
        if (Message.Msg == WM_KEYDOWN && menuKey && Perform(WM_CONTEXTMENU, WPARAM(Handle()), -1))
            return;
        break;
    }
    case WM_CHAR: {
        WideChar k = WideChar(Message.WParam);
        if (preview) preview->KeyPress(k);
        if (k) KeyPress(k);
        if (!k) return;
        Message.WParam = k;
        break;
    }
    case CM_DIALOGCHAR:
        if (DialogChar(WideChar(Message.WParam))) {
            Message.Result = 1;
            return;
        }
        Broadcast(Message);
        return;
    default:
        break;
    }
    TControl::WndProc(Message);
}
