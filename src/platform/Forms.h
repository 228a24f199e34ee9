// Forms, the application object, the screen and timers.
#pragma once

#include <QPointer>
#include <algorithm>
#include <functional>
#include <utility>

#include "platform/Controls.h"

class QTimer;
class QEventLoop;
class TMainMenu;

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1u << 0, biMinimize = 1u << 1, biMaximize = 1u << 2 };
using TBorderIcons = unsigned; // TBorderIcon bits
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
enum : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10
};

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    // Runs OnCreate; Application.CreateForm calls it once the form is built.
    void DoCreate();

    void Show();
    void Hide() { SetVisible(false); }
    // OnCloseQuery, then OnClose; hides (or frees, or minimises) the form; closing
    // the main form terminates the application; a modal form ends with mrCancel.
    void Close();
    // Shows the form and waits until ModalResult is set (or the modal-dialog
    // interceptor answers); the form is hidden again afterwards.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value);
    bool Modal() const { return FModal; }
    // Frees the form once the running handler has returned.
    void Release();

    void SetVisible(bool Value) override;

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    // Without biSystemMenu the title bar keeps its title and shows no button at all, so
    // the window system offers no way to close, minimise or maximise the window; the
    // other icons leave the buttons to the border style and the window system. Window
    // managers that draw the buttons all the same may still minimise such a window: it
    // comes back at once, active and with the focus where it was, as only its own buttons
    // may end it.
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TPosition Position = poDesigned;
    TWindowState WindowState() const;
    void SetWindowState(TWindowState Value);
    bool KeyPreview = false;
    bool PreviewsKeys() const override { return KeyPreview; }
    bool Active() const;
    // Moves the window with the mouse while the left button stays down (what WM_SYSCOMMAND
    // with SC_MOVE or SC_DRAGMOVE asks): the window system's own move where it offers one,
    // else the window follows the mouse until the button is released.
    void BeginMouseMove();

    // The focused control of the window; while the window has none (disabled for a run,
    // or the input went elsewhere), the control that had it last.
    TWinControl* ActiveControl() const;
    void SetActiveControl(TWinControl* Value);
    // Activates the window and focuses its active control (the form itself without one).
    void SetFocus() override;
    // The focused control draws its focus frame whenever the form is shown, also when the
    // mouse opened it (else only a window opened by a key shows it at once, FocusCues.h).
    void ShowFocusCues();

    // The main menu: its bar sits above the client area and is not part of it, so
    // ClientHeight and the children's coordinates start below the bar. Attaching a
    // menu keeps the client height (the form grows by the bar).
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    int ClientHeight() const override { return std::max(Height() - FMenuBarHeight, 0); }
    void SetClientHeight(int Value) override { SetHeight(Value + FMenuBarHeight); }
    int ClientTopOffset() const override { return FMenuBarHeight; }
    // Internal: the main menu hands over its bar widget and height (nullptr takes it away).
    void SetMenuBar(TMainMenu* Menu, QWidget* Bar, int BarHeight);

    TNotifyEvent OnCreate, OnShow, OnHide, OnActivate, OnDeactivate, OnDestroy;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;

protected:
    void WndProc(TMessage& Message) override;
    bool PreWidgetEvent(QObject* Watched, QEvent* Event) override;
    WideString GetText() const override;
    void SetTextCore(const WideString& Value) override;
    void UpdateWidgetGeometry() override;
    void ApplyVisibility() override;
    void BeforeDestruction() override;
    void Resize() override;
    virtual bool CloseQuery();
    // Enter clicks the default button (or the focused button), Escape the cancel button.
    virtual bool DialogKey(uint16_t Key, TWinControl* Source);
    // The window system keeps the form above Owner's window (nullptr: above no window).
    void StandAbove(QWidget* Owner);
    void ApplyFocusCues();
    void DoShow();
    void DoHide();

private:
    void ApplyWindowFlags();
    void PlaceOnShow();
    // The window manager minimised the form; a form without biSystemMenu comes back.
    void WindowSystemMinimised(TWindowState Before);
    void ComeBackFromMinimised(TWindowState Before);
    void PlaceMenuBar();
    TMainMenu* FMenu = nullptr;
    QPointer<QWidget> FMenuBar;
    int FMenuBarHeight = 0;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FFocusCues = false;
    QEventLoop* FModalLoop = nullptr;
    TBorderStyle FBorderStyle = bsSizeable;
    TFormStyle FFormStyle = fsNormal;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TWindowState FWindowState = wsNormal;
    bool FComingBack = false; // a return from a minimise is on its way
    bool FCreated = false;
};

// Test seam: while a hook is set, every move request of BeginMouseMove goes to it instead
// of the window system. Returns the hook set before.
using TMoveRequestHook = std::function<void(TForm* Form)>;
TMoveRequestHook SetMoveRequestHook(TMoveRequestHook Hook);

// The form a control sits on, or nullptr.
TForm* FormOfControl(const TControl* C);

// A window message as the message loop sees it (for Application.OnMessage).
struct TMsg {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    uint64_t time = 0;
    TPoint pt;
};

using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

// Message box flags and answers (Windows values).
enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// The modal-dialog interceptor: a test seam that answers modal windows and
// dialogs without blocking. Kind tells what asks; the answer is the result
// (a modal result, a message-box answer, or non-zero for "OK" of other dialogs,
// with Answer holding the chosen text such as a file name).
enum class TModalKind { Form, MessageBox, OpenFile, SaveFile, Font, Color, Folder };
struct TModalRequest {
    TModalKind Kind = TModalKind::Form;
    TForm* Form = nullptr;
    WideString Caption;
    WideString Text;
    unsigned Flags = 0;
    WideString Answer;
};
using TModalInterceptor = std::function<int(TModalRequest& Request)>;
void SetModalInterceptor(TModalInterceptor Interceptor);
const TModalInterceptor& ModalInterceptor();

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    const WideString& Title() const { return FTitle; }
    void SetTitle(const WideString& Value);
    TForm* MainForm() const { return FMainForm; }
    bool ShowMainForm = true;

    // Creates a form owned by the application; the first one becomes the main form.
    // Args go to the form's constructor after its owner.
    template <class T, class... A> T* CreateForm(A&&... Args) {
        T* form = new T(this, std::forward<A>(Args)...);
        if (!FMainForm) FMainForm = form;
        form->DoCreate();
        return form;
    }
    void SetMainForm(TForm* Form) { FMainForm = Form; }

    // Shows the main form and runs the message loop until Terminate; returns at
    // once when Terminate was called before.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    void ProcessMessages();
    void HandleException(TObject* Sender);
    void ShowException(const std::exception& E);
    int MessageBox(const WideString& Text, const WideString& Caption, unsigned Flags);

    // Minimises every shown form; Restore brings them back and the main form to the front.
    void Minimize();
    void Restore();

    const WideString& Hint() const { return FHint; }
    // Runs OnHint, or without one the hint action (AddHintActionTarget).
    void SetHint(const WideString& Value);
    bool ShowHint = true;
    // Hints of controls linked to actions with a shortcut show the shortcut too.
    bool HintShortCuts = true;
    bool Active() const;

    TMessageEvent OnMessage;
    TIdleEvent OnIdle;
    TExceptionEvent OnException;
    TNotifyEvent OnHint;

    // Internal: forms report themselves so that the main form and hints stay right.
    void FormDestroyed(TForm* Form);
    // Runs a message through OnMessage; true when it was handled there.
    bool DispatchOnMessage(TMsg& Msg);

private:
    class Filter;
    void Idle();
    WideString FTitle;
    WideString FHint;
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FRunning = false;
    QEventLoop* FLoop = nullptr;
    Filter* FFilter = nullptr;
};

// The window that a modal box or dialog opened now belongs to, and so stands above (nullptr
// without one): the modal box already open; else the window staying on top of the others
// that the program activated last, or asked to, that is still shown (a run's progress
// window, a tool); else the window of the form the user works in. A box that belonged to
// whatever window Qt reports active could stand below the progress window: the window
// system activates a window shown for the first time a little later, and a window manager
// such as openbox keeps a modal box above the window it belongs to, not above the others
// that stay on top.
QWidget* BoxOwnerWidget();

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}
    int FormCount() const { return int(FForms.size()); }
    TForm* Forms(int Index) const { return FForms.at(size_t(Index)); }
    TForm* ActiveForm() const;
    TWinControl* ActiveControl() const;
    // The primary screen and the virtual screen of all monitors together.
    int Width() const;
    int Height() const;
    int DesktopLeft() const;
    int DesktopTop() const;
    int DesktopWidth() const;
    int DesktopHeight() const;
    TRect WorkAreaRect() const;
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);

private:
    friend class TForm;
    std::vector<TForm*> FForms;
    TCursor FCursor = crDefault;
    mutable QPointer<QWidget> FLastActive;
};

enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2, // the width of a vertical scroll bar
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_XVIRTUALSCREEN = 76,
    SM_YVIRTUALSCREEN = 77,
    SM_CXVIRTUALSCREEN = 78,
    SM_CYVIRTUALSCREEN = 79
};
int GetSystemMetrics(int Index);

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned Value);
    TNotifyEvent OnTimer;

private:
    void Update();
    QTimer* FTimer;
    bool FEnabled = true;
    unsigned FInterval = 1000;
};

// The application's hint action: when the hint changes and the application has no
// OnHint handler, every component registered here shows the new hint (status bars
// with AutoHint), as the class library's THintAction reaches them. A component
// registers once; it must unregister before it goes.
void AddHintActionTarget(TComponent* Target, std::function<void(const WideString& Hint)> Show);
void RemoveHintActionTarget(TComponent* Target);

extern TApplication* Application;
extern TScreen* Screen;
// Creates the QApplication when there is none, and Application and Screen.
void InitApplication(int argc = 0, char** argv = nullptr);
// Frees the forms the application owns, then Application and Screen (before the
// QApplication goes).
void DoneApplication();
