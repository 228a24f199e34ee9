#include "platform/Forms.h"

#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/Buttons.h"
#include "platform/FocusCues.h"
#include "platform/Menus.h"
#include "platform/ModalOpener.h"

namespace {
TModalInterceptor& interceptor() {
    static TModalInterceptor fn;
    return fn;
}
} // namespace

void SetModalInterceptor(TModalInterceptor Interceptor) {
    interceptor() = std::move(Interceptor);
}
const TModalInterceptor& ModalInterceptor() {
    return interceptor();
}

TForm* FormOfControl(const TControl* C) {
    for (const TControl* c = C; c; c = c->Parent())
        if (auto* f = dynamic_cast<const TForm*>(c)) return const_cast<TForm*>(f);
    return nullptr;
}

TForm* TControl::ParentForm() const {
    return FormOfControl(this);
}

TWinControl* TControl::ParentFormControl() const {
    return FormOfControl(this);
}

// ---------------------------------------------------------------- TForm

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner, new QWidget(nullptr)) {
    QWidget* w = Widget();
    w->setAttribute(Qt::WA_QuitOnClose, false);
    w->setAutoFillBackground(true);
    TControl::SetVisible(false);
    SetBounds(0, 0, 320, 240);
    ApplyWindowFlags();
    if (Screen) Screen->FForms.push_back(this);
}

TForm::~TForm() {
    SetDestroyingFlag();
    if (FModalLoop) FModalLoop->quit();
    if (Screen) {
        auto& v = Screen->FForms;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    if (Application) Application->FormDestroyed(this);
}

void TForm::DoCreate() {
    if (FCreated) return;
    FCreated = true;
    if (OnCreate) GuardedCall(this, [this] { OnCreate(this); });
}

void TForm::BeforeDestruction() {
    if (OnDestroy && !Destroying()) GuardedCall(this, [this] { OnDestroy(this); });
    TWinControl::BeforeDestruction();
}

WideString TForm::GetText() const {
    return FText;
}

void TForm::SetTextCore(const WideString& Value) {
    FText = Value;
    if (Widget()) Widget()->setWindowTitle(QString::fromStdU16String(Value));
}

void TForm::UpdateWidgetGeometry() {
    if (Widget()) Widget()->setGeometry(Left(), Top(), Width(), Height());
}

void TForm::SetMenu(TMainMenu* Value) {
    if (Value)
        Value->SetForm(this);
    else if (FMenu)
        FMenu->SetForm(nullptr);
}

void TForm::SetMenuBar(TMainMenu* Menu, QWidget* Bar, int BarHeight) {
    if (FMenu && FMenu != Menu) {
        TMainMenu* old = FMenu;
        FMenu = nullptr;
        old->SetForm(nullptr);
    }
    int client = ClientHeight();
    FMenu = Bar ? Menu : nullptr;
    FMenuBar = Bar;
    FMenuBarHeight = Bar ? std::max(BarHeight, 0) : 0;
    if (Destroying()) return;
    if (Bar && Widget()) {
        Bar->setParent(Widget());
        Bar->show();
    }
    PlaceMenuBar();
    UpdateChildGeometry();
    SetHeight(client + FMenuBarHeight);
}

void TForm::PlaceMenuBar() {
    if (FMenuBar) FMenuBar->setGeometry(0, 0, Width(), FMenuBarHeight);
}

void TForm::Resize() {
    PlaceMenuBar();
    TWinControl::Resize();
}

void TForm::ApplyWindowFlags() {
    QWidget* w = Widget();
    if (!w) return;
    Qt::WindowFlags f = Qt::Window;
    switch (FBorderStyle) {
    case bsNone:
        f |= Qt::FramelessWindowHint;
        break;
    case bsDialog:
        f = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    case bsToolWindow:
    case bsSizeToolWin:
        f = Qt::Tool;
        break;
    default:
        break;
    }
    if (!(FBorderIcons & biSystemMenu) && FBorderStyle != bsNone) {
        f &= ~(Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    }
    if (FFormStyle == fsStayOnTop) f |= Qt::WindowStaysOnTopHint;
    bool shown = w->isVisible();
    w->setWindowFlags(f);
    if (shown) ApplyVisibility();
}

void TForm::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle Value) {
    if (Value == FFormStyle) return;
    FFormStyle = Value;
    QWidget* w = Widget();
    QWindow* handle = w ? w->windowHandle() : nullptr;
    if (!handle || !w->isVisible()) {
        ApplyWindowFlags();
        return;
    }
    // A shown window changes its stay-on-top state in place: setting the widget's flags
    // would make a new window of it, hidden and shown again where its frame had been its
    // inside, no longer active.
    Qt::WindowFlags f = w->windowFlags();
    f.setFlag(Qt::WindowStaysOnTopHint, Value == fsStayOnTop);
    w->overrideWindowFlags(f);
    handle->setFlags(f);
}

void TForm::SetBorderIcons(TBorderIcons Value) {
    if (Value == FBorderIcons) return;
    FBorderIcons = Value;
    ApplyWindowFlags();
}

TWindowState TForm::WindowState() const {
    return FWindowState;
}

void TForm::SetWindowState(TWindowState Value) {
    if (Value == FWindowState) return;
    FWindowState = Value;
    if (Visible()) ApplyVisibility();
}

void TForm::WindowSystemMinimised(TWindowState Before) {
    if ((FBorderIcons & biSystemMenu) || FComingBack) return;
    // After the window system has finished its minimise, so that the return is not undone
    // by the rest of it.
    FComingBack = true;
    std::weak_ptr<int> alive = AliveToken();
    QTimer::singleShot(0, Widget(), [alive, this, Before] {
        if (alive.expired()) return;
        FComingBack = false;
        ComeBackFromMinimised(Before);
    });
}

void TForm::ComeBackFromMinimised(TWindowState Before) {
    if (Destroying() || FWindowState != wsMinimized) return;
    // A form that went or is going (hidden, or modal with its answer) stays as it is and
    // shows as before the minimise when it is shown again.
    if (!Visible() || (FModal && FModalResult != mrNone)) {
        FWindowState = Before;
        return;
    }
    SetWindowState(Before);
    Widget()->raise();
    SetFocus();
}

void TForm::ApplyVisibility() {
    QWidget* w = Widget();
    if (!w) return;
    if (!Visible()) {
        w->hide();
        return;
    }
    switch (FWindowState) {
    case wsMaximized:
        w->showMaximized();
        break;
    case wsMinimized:
        w->showMinimized();
        break;
    default:
        w->showNormal();
        break;
    }
    // Qt hides the focus frame of every window it shows (a window opened by a key gets it
    // back at once); a form that always shows it takes it back here.
    ApplyFocusCues();
}

void TForm::PlaceOnShow() {
    TForm* over = nullptr;
    if (Position == poMainFormCenter && Application) over = Application->MainForm();
    if (Position == poOwnerFormCenter) over = dynamic_cast<TForm*>(Owner());
    if (over == this || (over && !over->Visible())) over = nullptr;
    if (over) {
        SetBounds(over->Left() + (over->Width() - Width()) / 2,
                  over->Top() + (over->Height() - Height()) / 2, Width(), Height());
    } else if (Position == poScreenCenter || Position == poDesktopCenter ||
               Position == poMainFormCenter || Position == poOwnerFormCenter) {
        int sw = Screen ? Screen->Width() : 1920, sh = Screen ? Screen->Height() : 1080;
        SetBounds((sw - Width()) / 2, (sh - Height()) / 2, Width(), Height());
    }
}

void TForm::SetVisible(bool Value) {
    if (Value == Visible()) return;
    if (Value) {
        PlaceOnShow();
        DoShow();
        TWinControl::SetVisible(true);
    } else {
        DoHide();
        TWinControl::SetVisible(false);
        if (FModal && FModalResult == mrNone) SetModalResult(mrCancel);
    }
}

void TForm::DoShow() {
    if (OnShow) GuardedCall(this, [this] { OnShow(this); });
}

void TForm::DoHide() {
    if (OnHide) GuardedCall(this, [this] { OnHide(this); });
}

void TForm::Show() {
    SetVisible(true);
    if (QWidget* w = Widget()) {
        w->raise();
        w->activateWindow();
        NoteActivatedWindow(w);
    }
}

bool TForm::CloseQuery() {
    bool can = true;
    if (OnCloseQuery) GuardedCall(this, [this, &can] { OnCloseQuery(this, can); });
    return can;
}

void TForm::Close() {
    if (FModal) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (OnClose) GuardedCall(this, [this, &action] { OnClose(this, action); });
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        SetWindowState(wsMinimized);
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

void TForm::Release() {
    std::weak_ptr<int> alive = AliveToken();
    QTimer::singleShot(0, [alive, this] {
        if (!alive.expired()) Free();
    });
}

void TForm::SetModalResult(TModalResult Value) {
    FModalResult = Value;
    if (FModal && Value != mrNone && FModalLoop) FModalLoop->quit();
}

TModalResult TForm::ShowModal() {
    if (Visible() || !Enabled()) throw Exception(std::string("Cannot make a visible window modal"));
    FModal = true;
    FModalResult = mrNone;
    const TModalOpener opener;
    const TModalInterceptor& answer = ModalInterceptor();
    if (!answer) Widget()->setWindowModality(Qt::ApplicationModal);
    StandAbove(BoxOwnerWidget());
    Show();
    if (answer) {
        TModalRequest request;
        request.Kind = TModalKind::Form;
        request.Form = this;
        request.Caption = Caption();
        int result = 0;
        GuardedCall(this, [&] { result = answer(request); });
        if (FModalResult == mrNone) FModalResult = result ? result : mrCancel;
        if (CloseQuery()) {
            TCloseAction action = caHide;
            if (OnClose) GuardedCall(this, [this, &action] { OnClose(this, action); });
        }
    } else {
        QWidget* w = Widget();
        for (;;) {
            QEventLoop loop;
            FModalLoop = &loop;
            if (FModalResult == mrNone && !(Application && Application->Terminated())) loop.exec();
            FModalLoop = nullptr;
            if (Destroying()) return mrCancel;
            if (FModalResult == mrNone) FModalResult = mrCancel;
            TCloseAction action = caHide;
            if (CloseQuery()) {
                if (OnClose) GuardedCall(this, [this, &action] { OnClose(this, action); });
            } else {
                action = caNone;
            }
            if (action != caNone || (Application && Application->Terminated())) break;
            FModalResult = mrNone;
        }
        FModal = false;
        // Hidden while still modal, so that Qt takes the window off its list of modal
        // windows; a modality changed on a visible window takes effect only at its next
        // showing, and the stale entry blocked other windows (and crashed once the form
        // was freed).
        Hide();
        w->setWindowModality(Qt::NonModal);
        StandAbove(nullptr);
        return FModalResult;
    }
    FModal = false;
    Hide();
    StandAbove(nullptr);
    return FModalResult;
}

void TForm::StandAbove(QWidget* Owner) {
    QWidget* w = Widget();
    if (!w || Owner == w) return;
    w->winId(); // the window exists from now on, so it can have an owner
    if (QWindow* h = w->windowHandle())
        h->setTransientParent(Owner ? Owner->windowHandle() : nullptr);
}

bool TForm::Active() const {
    return Widget() && Widget()->isActiveWindow();
}

TWinControl* TForm::ActiveControl() const {
    QWidget* w = Widget();
    if (!w) return nullptr;
    QWidget* f = w->focusWidget();
    TControl* c = f ? TControl::FromWidget(f) : nullptr;
    if (!c || c == this) return KeptFocusOf(w); // the window lost the focus for a while
    return dynamic_cast<TWinControl*>(c);
}

void TForm::SetFocus() {
    TWinControl* active = ActiveControl();
    if (!active || !active->CanFocus() || !CanFocus()) {
        TWinControl::SetFocus();
        return;
    }
    // The form's focused control takes the focus again, as it had it when the window was
    // disabled for a run or left for another one.
    if (Widget()->isVisible()) {
        Widget()->activateWindow();
        NoteActivatedWindow(Widget());
    }
    active->FocusWidget()->setFocus(Qt::ActiveWindowFocusReason);
}

void TForm::SetActiveControl(TWinControl* Value) {
    if (Value && Value->FocusWidget()) Value->FocusWidget()->setFocus(Qt::OtherFocusReason);
}

void TForm::ShowFocusCues() {
    FFocusCues = true;
    ApplyFocusCues();
}

void TForm::ApplyFocusCues() {
    QWidget* w = Widget();
    if (FFocusCues && w && w->isVisible()) ShowFocusCuesOf(w);
}

void TForm::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SYSCOMMAND:
        switch (Message.WParam & 0xFFF0) {
        case SC_MAXIMIZE:
            SetWindowState(wsMaximized);
            return;
        case SC_MINIMIZE:
            SetWindowState(wsMinimized);
            return;
        case SC_RESTORE:
            SetWindowState(wsNormal);
            return;
        case SC_CLOSE:
            Close();
            return;
        case SC_MOVE:
            BeginMouseMove();
            return;
        default:
            break;
        }
        break;
    case WM_CLOSE:
        Close();
        return;
    case CM_DIALOGKEY:
        // LParam: the control the key came to (else the focused one).
        Message.Result =
            DialogKey(uint16_t(Message.WParam),
                      dynamic_cast<TWinControl*>(reinterpret_cast<TObject*>(Message.LParam)))
                ? 1
                : 0;
        return;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}

namespace {
// The first button of the form (children first, in creation order) for which Pick holds.
TButton* FindButton(TWinControl* Parent, const std::function<bool(TButton*)>& Pick) {
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* c = Parent->Controls(i);
        if (auto* b = dynamic_cast<TButton*>(c); b && Pick(b)) return b;
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Showing())
            if (TButton* inner = FindButton(w, Pick)) return inner;
    }
    return nullptr;
}
} // namespace

bool TForm::DialogKey(uint16_t Key, TWinControl* Source) {
    TWinControl* focused = Source ? Source : ActiveControl();
    if (Key == VK_RETURN) {
        if (focused && focused->WantsReturnKey()) return false;
        if (auto* b = dynamic_cast<TButton*>(focused)) {
            b->Click();
            return true;
        }
    }
    TButton* target = FindButton(this, [Key](TButton* b) {
        return b->Showing() && b->Enabled() && (Key == VK_RETURN ? b->Default() : b->Cancel);
    });
    if (!target) return false;
    target->Click();
    return true;
}

bool TForm::PreWidgetEvent(QObject* Watched, QEvent* Event) {
    if (Watched != Widget()) return false;
    switch (Event->type()) {
    case QEvent::Close:
        // The window's close button asks the form; the form decides and hides itself.
        Event->ignore();
        GuardedCall(this, [this] { Close(); });
        return true;
    case QEvent::WindowActivate:
        // A window that comes back without a focused widget gives the focus to the control
        // that had it.
        if (!Widget()->focusWidget())
            if (TWinControl* kept = KeptFocusOf(Widget()); kept && kept->CanFocus())
                kept->FocusWidget()->setFocus(Qt::ActiveWindowFocusReason);
        if (OnActivate) GuardedCall(this, [this] { OnActivate(this); });
        return false;
    case QEvent::WindowDeactivate:
        if (OnDeactivate) GuardedCall(this, [this] { OnDeactivate(this); });
        return false;
    case QEvent::Move: {
        QRect g = Widget()->geometry();
        if (g.x() != Left() || g.y() != Top()) TControl::SetBounds(g.x(), g.y(), Width(), Height());
        return false;
    }
    case QEvent::WindowStateChange: {
        // A minimised window keeps its maximised bit for when it comes back.
        const TWindowState before = FWindowState;
        Qt::WindowStates s = Widget()->windowState();
        FWindowState = (s & Qt::WindowMinimized)   ? wsMinimized
                       : (s & Qt::WindowMaximized) ? wsMaximized
                                                   : wsNormal;
        // SetWindowState notes the program's own minimise before it reaches the window.
        if (FWindowState == wsMinimized && before != wsMinimized) WindowSystemMinimised(before);
        return false;
    }
    default:
        return false;
    }
}
