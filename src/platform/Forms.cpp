#include "platform/Forms.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/ActnList.h"
#include "platform/Buttons.h"
#include "platform/CaptionText.h"
#include "platform/FocusCues.h"
#include "platform/Menus.h"
#include "platform/ModalOpener.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

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
    ApplyWindowFlags();
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
    StandAbove(ActiveFormWidget());
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

// ---------------------------------------------------------------- TApplication

class TApplication::Filter : public QObject {
public:
    explicit Filter(TApplication* App) : FApp(App) {}
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (!Watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(Watched);
        switch (Event->type()) {
        case QEvent::WindowActivate:
            if (w->isWindow()) NoteActivatedWindow(w);
            return false;
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(Event);
            if (Event->type() == QEvent::MouseButtonRelease && me->button() != Qt::LeftButton)
                return false;
            QPoint local = me->position().toPoint();
            TControl* c = TControl::FromWidget(w);
            if (c && c->Widget() && c->Widget() != w) local = w->mapTo(c->Widget(), local);
            if (c) local.ry() -= c->ClientTopOffset();
            QPoint g = me->globalPosition().toPoint();
            TMsg msg{c,
                     Event->type() == QEvent::MouseMove ? UINT(WM_MOUSEMOVE) : UINT(WM_LBUTTONUP),
                     0,
                     MAKELPARAM(local.x(), local.y()),
                     GetTickCount(),
                     Point(g.x(), g.y())};
            return FApp->DispatchOnMessage(msg);
        }
        case QEvent::Wheel: {
            auto* we = static_cast<QWheelEvent*>(Event);
            QPoint g = we->globalPosition().toPoint();
            WPARAM wp = WPARAM(uint16_t(int16_t(we->angleDelta().y()))) << 16;
            TMsg msg{TControl::FromWidget(w),  WM_MOUSEWHEEL,  wp,
                     MAKELPARAM(g.x(), g.y()), GetTickCount(), Point(g.x(), g.y())};
            return FApp->DispatchOnMessage(msg);
        }
        case QEvent::KeyPress: {
            auto* ke = static_cast<QKeyEvent*>(Event);
            if (!(ke->modifiers() & Qt::AltModifier) || (ke->modifiers() & Qt::ControlModifier))
                return false;
            WideChar ch = 0;
            int k = ke->key();
            if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
                ch = WideChar(k);
            else if (ke->text().size() == 1)
                ch = ke->text().at(0).unicode();
            if (!ch) return false;
            // Alt plus a letter: the accelerator of a control on the window, else the title
            // of the window's menu bar with that letter.
            TForm* form = FormOfControl(TControl::FromWidget(w));
            if (!form) return false;
            LRESULT r = 0;
            GuardedCall(form, [&] { r = form->Perform(CM_DIALOGCHAR, ch); });
            if (r != 0) return true;
            bool opened = false;
            if (TMainMenu* menu = form->Menu())
                GuardedCall(form, [&] { opened = menu->OpenByHotKey(ch); });
            return opened;
        }
        default:
            return false;
        }
    }

private:
    TApplication* FApp;
};

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
    FFilter = new Filter(this);
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(FFilter);
    // Only the process-wide application serves the controls.
    if (Application) return;
    EventExceptionSink() = [this](TObject* Sender, std::exception_ptr Error) {
        try {
            std::rethrow_exception(Error);
        } catch (...) {
            HandleException(Sender);
        }
    };
    auto& services = ControlServices();
    services.MouseEntered = [this](TControl* C) { SetHint(WideGetLongHint(GetHintOfParents(C))); };
    services.ShowHints = [this] { return ShowHint; };
    services.HintShortCut = [this](const TControl* C) {
        TAction* action = HintShortCuts ? ControlAction(C) : nullptr;
        return action && action->ShortCut() ? WideShortCutToText(action->ShortCut()) : WideString();
    };
}

TApplication::~TApplication() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(FFilter);
    delete FFilter;
    if (Application == this) {
        ControlServices() = TControlServices();
        EventExceptionSink() = nullptr;
        Application = nullptr;
    }
}

void TApplication::SetTitle(const WideString& Value) {
    FTitle = Value;
}

bool TApplication::DispatchOnMessage(TMsg& Msg) {
    if (!OnMessage) return false;
    bool handled = false;
    GuardedCall(this, [&] { OnMessage(Msg, handled); });
    return handled;
}

void TApplication::Run() {
    if (FTerminated) return;
    if (ShowMainForm && FMainForm) FMainForm->Show();
    if (FTerminated) return;
    QEventLoop loop;
    FLoop = &loop;
    FRunning = true;
    QMetaObject::Connection idle;
    if (auto* d = QAbstractEventDispatcher::instance())
        idle =
            QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, &loop, [this] { Idle(); });
    loop.exec();
    QObject::disconnect(idle);
    FRunning = false;
    FLoop = nullptr;
}

void TApplication::Idle() {
    static bool inIdle = false;
    if (!OnIdle || inIdle) return;
    inIdle = true;
    bool done = true;
    GuardedCall(this, [&] { OnIdle(this, done); });
    inIdle = false;
    if (!done) QTimer::singleShot(0, FLoop, [] {});
}

void TApplication::Terminate() {
    FTerminated = true;
    if (FLoop) FLoop->quit();
    if (Screen)
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (Screen->Forms(i)->Modal()) Screen->Forms(i)->SetModalResult(mrCancel);
}

void TApplication::ProcessMessages() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::HandleException(TObject* Sender) {
    std::exception_ptr error = std::current_exception();
    if (!error) return;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        try {
            if (OnException)
                OnException(Sender, e);
            else
                ShowException(e);
        } catch (...) {
            // An exception handler that fails itself is not asked again.
        }
    } catch (...) {
        ShowException(Exception(std::string("Unknown exception")));
    }
}

void TApplication::ShowException(const std::exception& E) {
    WideString msg = U16(E.what());
    if (!msg.empty() && msg.back() > u'.') msg += u'.';
    MessageBox(msg, FTitle, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const WideString& Text, const WideString& Caption, unsigned Flags) {
    const TModalOpener opener;
    if (const TModalInterceptor& answer = ModalInterceptor()) {
        TModalRequest request;
        request.Kind = TModalKind::MessageBox;
        request.Caption = Caption;
        request.Text = Text;
        request.Flags = Flags;
        int r = answer(request);
        return r ? r : ((Flags & 0xF) == MB_OK ? IDOK : IDCANCEL);
    }
    // The box belongs to the active window, which takes the box along when it goes while
    // the box is open.
    QPointer<QMessageBox> owned = new QMessageBox(ActiveFormWidget());
    QMessageBox& box = *owned;
    box.setWindowTitle(QString::fromStdU16String(Caption));
    box.setText(QString::fromStdU16String(Text));
    switch (Flags & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct B {
        QMessageBox::StandardButton q;
        int id;
    };
    std::vector<B> buttons;
    switch (Flags & 0xF) {
    case MB_OKCANCEL:
        buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_ABORTRETRYIGNORE:
        buttons = {{QMessageBox::Abort, IDABORT},
                   {QMessageBox::Retry, IDRETRY},
                   {QMessageBox::Ignore, IDIGNORE}};
        break;
    case MB_YESNOCANCEL:
        buttons = {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_YESNO:
        buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        break;
    case MB_RETRYCANCEL:
        buttons = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    default:
        buttons = {{QMessageBox::Ok, IDOK}};
        break;
    }
    QMessageBox::StandardButtons all;
    for (const B& b : buttons)
        all |= b.q;
    box.setStandardButtons(all);
    if ((Flags & MB_DEFBUTTON2) && buttons.size() > 1) box.setDefaultButton(buttons[1].q);
    const int pressed = box.exec();
    delete owned.data();
    for (const B& b : buttons)
        if (b.q == pressed) return b.id;
    return IDCANCEL;
}

void TApplication::Minimize() {
    if (!Screen) return;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (TForm* f = Screen->Forms(i); f->Visible()) f->SetWindowState(wsMinimized);
}

void TApplication::Restore() {
    if (!Screen) return;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* f = Screen->Forms(i);
        if (f->Visible() && f->WindowState() == wsMinimized) f->SetWindowState(wsNormal);
    }
    if (FMainForm && FMainForm->Visible()) {
        FMainForm->Widget()->raise();
        FMainForm->Widget()->activateWindow();
    }
}

namespace {
using THintTarget = std::pair<TComponent*, std::function<void(const WideString&)>>;
std::vector<THintTarget>& HintActionTargets() {
    static std::vector<THintTarget> targets;
    return targets;
}
} // namespace

void AddHintActionTarget(TComponent* Target, std::function<void(const WideString& Hint)> Show) {
    RemoveHintActionTarget(Target);
    HintActionTargets().emplace_back(Target, std::move(Show));
}

void RemoveHintActionTarget(TComponent* Target) {
    auto& targets = HintActionTargets();
    std::erase_if(targets, [Target](const THintTarget& t) { return t.first == Target; });
}

void TApplication::SetHint(const WideString& Value) {
    if (Value == FHint) return;
    FHint = Value;
    if (OnHint) {
        GuardedCall(this, [this] { OnHint(this); });
        return;
    }
    // A target may unregister others while it runs: each is looked up again.
    std::vector<TComponent*> targets;
    for (const THintTarget& t : HintActionTargets())
        targets.push_back(t.first);
    for (TComponent* target : targets) {
        auto& now = HintActionTargets();
        auto it = std::find_if(now.begin(), now.end(),
                               [target](const THintTarget& t) { return t.first == target; });
        if (it == now.end()) continue;
        auto show = it->second;
        GuardedCall(target, [&] { show(Value); });
    }
}

bool TApplication::Active() const {
    return QApplication::activeWindow() != nullptr;
}

void TApplication::FormDestroyed(TForm* Form) {
    if (FMainForm == Form) FMainForm = nullptr;
}

// ---------------------------------------------------------------- TScreen

TForm* TScreen::ActiveForm() const {
    QWidget* w = QApplication::activeWindow();
    if (w) FLastActive = w;
    TControl* c = TControl::FromWidget(w ? w : FLastActive.data());
    return dynamic_cast<TForm*>(c);
}

QWidget* ActiveFormWidget() {
    TForm* f = Screen ? Screen->ActiveForm() : nullptr;
    return f && f->Visible() ? f->Widget() : nullptr;
}

TWinControl* TScreen::ActiveControl() const {
    TForm* f = ActiveForm();
    return f ? f->ActiveControl() : nullptr;
}

static QRect primaryGeometry(bool Virtual, bool Available = false) {
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return QRect(0, 0, 1920, 1080);
    if (Available) return s->availableGeometry();
    return Virtual ? s->virtualGeometry() : s->geometry();
}

int TScreen::Width() const {
    return primaryGeometry(false).width();
}
int TScreen::Height() const {
    return primaryGeometry(false).height();
}
int TScreen::DesktopLeft() const {
    return primaryGeometry(true).x();
}
int TScreen::DesktopTop() const {
    return primaryGeometry(true).y();
}
int TScreen::DesktopWidth() const {
    return primaryGeometry(true).width();
}
int TScreen::DesktopHeight() const {
    return primaryGeometry(true).height();
}

TRect TScreen::WorkAreaRect() const {
    QRect r = primaryGeometry(false, true);
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

void TScreen::SetCursor(TCursor Value) {
    if (Value == FCursor) return;
    if (FCursor != crDefault) QApplication::restoreOverrideCursor();
    FCursor = Value;
    if (Value == crHourGlass)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (Value != crDefault)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
}

int GetSystemMetrics(int Index) {
    switch (Index) {
    case SM_CXSCREEN:
        return primaryGeometry(false).width();
    case SM_CYSCREEN:
        return primaryGeometry(false).height();
    case SM_CXVSCROLL:
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_XVIRTUALSCREEN:
        return primaryGeometry(true).x();
    case SM_YVIRTUALSCREEN:
        return primaryGeometry(true).y();
    case SM_CXVIRTUALSCREEN:
        return primaryGeometry(true).width();
    case SM_CYVIRTUALSCREEN:
        return primaryGeometry(true).height();
    default:
        return 0;
    }
}

// ---------------------------------------------------------------- TTimer

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FTimer(new QTimer) {
    QObject::connect(FTimer, &QTimer::timeout, [this] {
        if (FEnabled && OnTimer) GuardedCall(this, [this] { OnTimer(this); });
    });
    Update();
}

TTimer::~TTimer() {
    delete FTimer;
}

void TTimer::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    Update();
}

void TTimer::SetInterval(unsigned Value) {
    if (Value == FInterval) return;
    FInterval = Value;
    Update();
}

void TTimer::Update() {
    FTimer->stop();
    if (FEnabled && FInterval > 0) FTimer->start(int(FInterval));
}

// ---------------------------------------------------------------- start-up

void DoneApplication() {
    if (Application) {
        // The forms owned by the application go first (their OnDestroy runs).
        TApplication* app = Application;
        app->DestroyComponents();
        delete app;
    }
    if (Screen) {
        delete Screen;
        Screen = nullptr;
    }
}

void InitApplication(int argc, char** argv) {
    if (!QApplication::instance()) {
        static int count = 1;
        static char name[] = "quorbel";
        static char* args[] = {name, nullptr};
        if (argc > 0 && argv) {
            count = argc;
            new QApplication(count, argv);
        } else {
            new QApplication(count, args);
        }
    }
    // The program ends by Application.Terminate, not when Qt sees no window left.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFocusCues();
    PinStandInFonts();
    if (!Screen) Screen = new TScreen(nullptr);
    if (!Application) Application = new TApplication(nullptr);
}
