// Messages: the message record, the numbers the program uses, message targets
// with a window procedure that is a chain of hooks, sending and posting, window
// messages registered by name, and hidden message-only windows.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Types.h"

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Window messages (Windows numbers, so that stored or exchanged numbers keep their meaning).
enum : UINT {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D,
    WM_GETTEXTLENGTH = 0x000E,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_QUERYENDSESSION = 0x0011,
    WM_QUIT = 0x0012,
    WM_SHOWWINDOW = 0x0018,
    WM_SETTINGCHANGE = 0x001A,
    WM_COPYDATA = 0x004A,
    WM_NOTIFY = 0x004E,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_TIMER = 0x0113,
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
    WM_MENUSELECT = 0x011F,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSEWHEEL = 0x020A,
    WM_DROPFILES = 0x0233,
    WM_MOUSELEAVE = 0x02A3,
    WM_CONTEXTMENU = 0x007B,
    WM_USER = 0x0400,
    WM_APP = 0x8000,
};

// Edit-control messages.
enum : UINT {
    EM_GETSEL = 0x00B0,
    EM_SETSEL = 0x00B1,
    EM_SCROLLCARET = 0x00B7,
    EM_GETLINECOUNT = 0x00BA,
    EM_LINEINDEX = 0x00BB,
    EM_LINELENGTH = 0x00C1,
    EM_REPLACESEL = 0x00C2,
    EM_GETFIRSTVISIBLELINE = 0x00CE,
    EM_LINESCROLL = 0x00B6,
};

// System commands (WM_SYSCOMMAND wParam).
// SC_DRAGMOVE is the undocumented move-with-the-mouse request a borderless window sends on
// a press anywhere in it; with the low four bits masked it is SC_MOVE.
enum : UINT {
    SC_MOVE = 0xF010,
    SC_DRAGMOVE = 0xF012,
    SC_MINIMIZE = 0xF020,
    SC_MAXIMIZE = 0xF030,
    SC_CLOSE = 0xF060,
    SC_RESTORE = 0xF120
};

// Messages of the class library itself.
enum : UINT {
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0,
    CM_DEACTIVATE = CM_BASE + 1,
    CM_GOTFOCUS = CM_BASE + 2,
    CM_LOSTFOCUS = CM_BASE + 3,
    CM_DIALOGKEY = CM_BASE + 5,
    CM_DIALOGCHAR = CM_BASE + 6,
    CM_FOCUSCHANGED = CM_BASE + 7,
    CM_VISIBLECHANGED = CM_BASE + 11,
    CM_ENABLEDCHANGED = CM_BASE + 12,
    CM_COLORCHANGED = CM_BASE + 13,
    CM_FONTCHANGED = CM_BASE + 14,
    CM_CURSORCHANGED = CM_BASE + 15,
    CM_TEXTCHANGED = CM_BASE + 18,
    CM_MOUSEENTER = CM_BASE + 19,
    CM_MOUSELEAVE = CM_BASE + 20,
    CM_HINTSHOW = CM_BASE + 48,
    CM_RELEASE = CM_BASE + 33,
};

// Mouse key-state flags of mouse messages (wParam).
enum : UINT {
    MK_LBUTTON = 0x01,
    MK_RBUTTON = 0x02,
    MK_SHIFT = 0x04,
    MK_CONTROL = 0x08,
    MK_MBUTTON = 0x10
};

// Virtual key codes.
enum : uint16_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_NUMPAD0 = 0x60,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F4 = 0x73,
    VK_F10 = 0x79,
    VK_F12 = 0x7B,
    VK_F24 = 0x87,
    VK_APPS = 0x5D,
};

using TWndMethod = std::function<void(TMessage& Message)>;
// A window-procedure hook: sees the message first and calls Next(Message) to pass it
// on to the hooks installed before it and finally to the target's own handling.
using TWndHook = std::function<void(TMessage& Message, const TWndMethod& Next)>;
using THookId = uint64_t;

// Anything that receives messages: controls, forms and message-only windows.
class TMessageTarget : public TComponent {
public:
    explicit TMessageTarget(TComponent* AOwner);
    ~TMessageTarget() override;

    // The window procedure: hooks from the latest to the earliest, then WndProc.
    void WindowProc(TMessage& Message);
    // Installs a hook in front of all present hooks. Hooks are removed by id, in any
    // order: removing one never cuts out the hooks installed after it.
    THookId HookWindowProc(TWndHook Hook);
    void UnhookWindowProc(THookId Id);
    int WindowProcHookCount() const { return int(FHooks.size()); }

    // Sends a message through the window procedure at once and returns its result.
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

    // A token that expires when the target is destroyed (posted messages check it).
    std::weak_ptr<int> AliveToken() const { return FAlive; }

protected:
    // The target's own handling, under the hooks; the default passes to DefaultHandler.
    virtual void WndProc(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message) { (void)Message; }

private:
    struct Hook {
        THookId Id;
        TWndHook Fn;
        bool Removed = false;
    };
    static void CallChain(TMessageTarget* Target, const std::vector<std::shared_ptr<Hook>>& chain,
                          const std::weak_ptr<int>& alive, int index, TMessage& Message);

    std::vector<std::shared_ptr<Hook>> FHooks;
    THookId FNextHookId = 1;
    std::shared_ptr<int> FAlive;
};

using HWND = TMessageTarget*;

LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// Queues the message; it is delivered by the message loop after the running handler
// has returned. False when there is no message loop or no target.
bool PostMessage(HWND Wnd, UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

// The same name (compared without regard to case) always gives the same number,
// from 0xC000 upward.
UINT RegisterWindowMessage(WideStringView Name);

// A hidden window that only receives messages; found by its class name.
class TMessageWindow : public TMessageTarget {
public:
    TMessageWindow(TComponent* AOwner, const WideString& ClassName, TWndMethod Handler,
                   const WideString& WindowName = WideString());
    ~TMessageWindow() override;
    const WideString& ClassName() const { return FClassName; }
    const WideString& WindowName() const { return FWindowName; }

protected:
    void WndProc(TMessage& Message) override;

private:
    WideString FClassName;
    WideString FWindowName;
    TWndMethod FHandler;
};

// The message-only window of that class name (case-insensitive) and, when a window
// name is given, that window name; nullptr when there is none.
HWND FindWindow(WideStringView ClassName, const WideString* WindowName = nullptr);

// Milliseconds since some fixed moment; tests may replace the clock (the clock it
// replaces is given back; nullptr is the real one).
uint64_t GetTickCount();
std::function<uint64_t()> SetTickCountSource(std::function<uint64_t()> Source);
