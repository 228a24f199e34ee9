#include "platform/Messages.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <chrono>
#include <map>
#include <utility>

TMessageTarget::TMessageTarget(TComponent* AOwner)
    : TComponent(AOwner), FAlive(std::make_shared<int>(0)) {}

TMessageTarget::~TMessageTarget() {
    FAlive.reset();
    for (auto& h : FHooks)
        h->Removed = true;
}

void TMessageTarget::WindowProc(TMessage& Message) {
    // Work on a copy of the chain: hooks may install or remove hooks while running.
    std::vector<std::shared_ptr<Hook>> chain = FHooks;
    CallChain(this, chain, FAlive, int(chain.size()) - 1, Message);
}

// A hook may free the target before it passes the message on: the message then
// ends there (alive is the target's token, checked before the target is touched).
void TMessageTarget::CallChain(TMessageTarget* Target,
                               const std::vector<std::shared_ptr<Hook>>& chain,
                               const std::weak_ptr<int>& alive, int index, TMessage& Message) {
    if (alive.expired()) return;
    while (index >= 0 && chain[size_t(index)]->Removed)
        --index;
    if (index < 0) {
        Target->WndProc(Message);
        return;
    }
    std::shared_ptr<Hook> hook = chain[size_t(index)];
    hook->Fn(Message, [Target, &chain, &alive, index](TMessage& m) {
        CallChain(Target, chain, alive, index - 1, m);
    });
}

THookId TMessageTarget::HookWindowProc(TWndHook HookFn) {
    auto h = std::make_shared<Hook>();
    h->Id = FNextHookId++;
    h->Fn = std::move(HookFn);
    FHooks.push_back(h);
    return h->Id;
}

void TMessageTarget::UnhookWindowProc(THookId Id) {
    auto it = std::find_if(FHooks.begin(), FHooks.end(),
                           [Id](const std::shared_ptr<Hook>& h) { return h->Id == Id; });
    if (it == FHooks.end()) return;
    (*it)->Removed = true;
    FHooks.erase(it);
}

LRESULT TMessageTarget::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage m{Msg, WParam, LParam, 0};
    WindowProc(m);
    return m.Result;
}

void TMessageTarget::WndProc(TMessage& Message) {
    DefaultHandler(Message);
}

LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return Wnd ? Wnd->Perform(Msg, WParam, LParam) : 0;
}

bool PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!Wnd || !app) return false;
    std::weak_ptr<int> alive = Wnd->AliveToken();
    QMetaObject::invokeMethod(
        app,
        [alive, Wnd, Msg, WParam, LParam] {
            if (alive.expired()) return;
            // Nothing may leave a handler into the message loop.
            GuardedCall(Wnd, [&] { Wnd->Perform(Msg, WParam, LParam); });
        },
        Qt::QueuedConnection);
    return true;
}

UINT RegisterWindowMessage(WideStringView Name) {
    static std::map<WideString, UINT> names;
    WideString key = WideUpperCase(Name);
    auto it = names.find(key);
    if (it != names.end()) return it->second;
    UINT id = UINT(0xC000 + names.size());
    names.emplace(key, id);
    return id;
}

namespace {
std::vector<TMessageWindow*>& messageWindows() {
    static std::vector<TMessageWindow*> list;
    return list;
}
} // namespace

TMessageWindow::TMessageWindow(TComponent* AOwner, const WideString& ClassName, TWndMethod Handler,
                               const WideString& WindowName)
    : TMessageTarget(AOwner), FClassName(ClassName), FWindowName(WindowName),
      FHandler(std::move(Handler)) {
    messageWindows().push_back(this);
}

TMessageWindow::~TMessageWindow() {
    auto& list = messageWindows();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TMessageWindow::WndProc(TMessage& Message) {
    if (FHandler)
        FHandler(Message);
    else
        TMessageTarget::WndProc(Message);
}

HWND FindWindow(WideStringView ClassName, const WideString* WindowName) {
    WideString key = WideUpperCase(ClassName);
    for (TMessageWindow* w : messageWindows()) {
        if (WideUpperCase(w->ClassName()) != key) continue;
        if (WindowName && *WindowName != w->WindowName()) continue;
        return w;
    }
    return nullptr;
}

namespace {
std::function<uint64_t()>& tickSource() {
    static std::function<uint64_t()> source;
    return source;
}
} // namespace

uint64_t GetTickCount() {
    if (tickSource()) return tickSource()();
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::function<uint64_t()> SetTickCountSource(std::function<uint64_t()> Source) {
    return std::exchange(tickSource(), std::move(Source));
}
