// The application, the screen, timers and start-up: what a program of the class library
// has once, beside its forms.
#include <QAbstractEventDispatcher>
#include <QApplication>
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
#include <algorithm>

#include "platform/ActnList.h"
#include "platform/FocusCues.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/ModalOpener.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

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
    // The box belongs to its owner window, which takes the box along when it goes while the
    // box is open.
    QPointer<QMessageBox> owned = new QMessageBox(BoxOwnerWidget());
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

QWidget* BoxOwnerWidget() {
    if (QWidget* open = QApplication::activeModalWidget()) return open;
    if (QWidget* onTop = LastActivatedOnTop()) return onTop;
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
