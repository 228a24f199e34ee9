#include "desktop/OneInstanceWindow.h"

#include <QCoreApplication>
#include <cstdlib>
#include <exception>
#include <memory>
#include <unistd.h>

#include "desktop/InstanceSockets.h"
#include "platform/Forms.h"
#include "text/FileUtils.h"
#include "text/UCodeSysUtils.h"
#include "text/WideFileSystem.h"

namespace {

TOneInstanceCallback receiver = nullptr;

// Switches whose work a running instance would not do: such a start runs by itself.
constexpr const char16_t* UnattendedSwitches[] = {u"processandclose=1", u"silentmode=1",
                                                  u"silentmode=2", u"log=1"};
constexpr char16_t ConfigurationExtension[] = u".qvr";

bool isUnattendedSwitch(const WideString& Param) {
    for (const char16_t* s : UnattendedSwitches)
        if (Param == s) return true;
    return false;
}

struct OneInstanceState {
    std::unique_ptr<TMessageWindow> Window;
    std::unique_ptr<TInstanceListener> Listener;
};

OneInstanceState& state() {
    static OneInstanceState s;
    return s;
}

// The bridge between a socket and the hidden window. Nothing thrown by the receiver
// may reach the socket layer: the sender is answered first (it goes on by itself),
// then the error is shown.
uint32_t bridgeHandOver(uint32_t ProcessId, const WideString& CommandLine) {
    HWND wnd = state().Window.get();
    if (!wnd) return uint32_t(OneInstanceContinue);
    COPYDATASTRUCT record;
    record.dwData = ProcessId;
    record.cbData = uint32_t(2 * CommandLine.size());
    record.lpData = CommandLine.data();
    try {
        return uint32_t(SendMessage(wnd, WM_COPYDATA, 0, LPARAM(&record)));
    } catch (...) {
        std::exception_ptr error = std::current_exception();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [error] {
                try {
                    std::rethrow_exception(error);
                } catch (...) {
                    if (Application) Application->HandleException(nullptr);
                }
            },
            Qt::QueuedConnection);
        return uint32_t(OneInstanceContinue);
    }
}

} // namespace

WideString StartArgumentPath(const WideString& Param, const WideString& ProgramFolder,
                             const WideString& CurrentFolder) {
    if (!Param.empty() && Param[0] == u'/') return Param;
    if (WideExtractFileExt(Param) == ConfigurationExtension) return ProgramFolder + Param;
    if (Param.find(u'=') != WideString::npos) return Param;
    return WideIncludeTrailingBackslash(CurrentFolder) + Param;
}

void SetOneInstanceCallback(TOneInstanceCallback Callback) {
    receiver = Callback;
}

TOneInstanceCallback OneInstanceCallback() {
    return receiver;
}

WideString OneInstanceClassName() {
    return u"OneInstUtilWnd:" + WideParamStr(0);
}

void OneInstanceWndProc(HWND Wnd, TMessage& Message) {
    if (Message.Msg != WM_COPYDATA || Message.WParam != 0 || Message.LParam == 0) {
        Message.Result = 0; // the default handling of a message-only window
        return;
    }
    static constexpr LRESULT Replies[2] = {OneInstanceTaken, OneInstanceContinue};
    uint8_t decision = 0;
    if (receiver) {
        const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(Message.LParam);
        WideString commandLine(static_cast<const WideChar*>(record->lpData), record->cbData / 2);
        receiver(Wnd, uint32_t(record->dwData), commandLine, decision);
    }
    Message.Result = Replies[decision ? 1 : 0];
}

std::optional<WideString> HandOverCommandLine(const WideString& ExePath,
                                              const TWideStrArray& Params,
                                              const WideString& CurrentFolder) {
    if (Params.empty() || ExePath.find(u'"') != WideString::npos) return std::nullopt;
    const WideString programFolder = WideExtractFilePath(ExePath);
    WideString line = u"\"" + ExePath + u"\"";
    for (const WideString& p : Params) {
        if (p.find(u'"') != WideString::npos || isUnattendedSwitch(p)) return std::nullopt;
        line += u" \"" + StartArgumentPath(p, programFolder, CurrentFolder) + u"\"";
    }
    return line;
}

void OneInstanceSendCommandLine() {
    TWideStrArray params;
    for (int i = 1; i <= WideParamCount(); ++i)
        params.push_back(WideParamStr(i));
    std::optional<WideString> line =
        HandOverCommandLine(WideParamStr(0), params, WideGetFullPathName(u"."));
    if (!line) return;
    std::optional<uint32_t> reply =
        OfferHandOver(InstanceSocketFolder(OneInstanceClassName(), false),
                      EncodeHandOverFrame(uint32_t(getpid()), *line));
    if (reply && *reply == uint32_t(OneInstanceTaken)) std::exit(0);
}

void OneInstanceCreateWindow() {
    for (int i = 1; i <= WideParamCount(); ++i)
        if (WideParamStr(i) == u"processandclose=1") return;
    OneInstanceState& s = state();
    if (s.Window) return;
    const WideString className = OneInstanceClassName();
    s.Window = std::make_unique<TMessageWindow>(nullptr, className, nullptr);
    TMessageWindow* wnd = s.Window.get();
    wnd->HookWindowProc(
        [wnd](TMessage& Message, const TWndMethod&) { OneInstanceWndProc(wnd, Message); });
    s.Listener =
        std::make_unique<TInstanceListener>(InstanceSocketFolder(className), bridgeHandOver);
    // However the program ends, its socket does not stay behind.
    static std::string socketPath;
    static bool unlinkAtExit = (std::atexit([] {
                                    if (!socketPath.empty()) unlink(socketPath.c_str());
                                }),
                                true);
    (void)unlinkAtExit;
    socketPath = s.Listener->SocketPath();
}

void OneInstanceDestroyWindow() {
    OneInstanceState& s = state();
    s.Listener.reset();
    s.Window.reset();
}

HWND OneInstanceWindowHandle() {
    return state().Window.get();
}
