#include "e2e/DesktopSession.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// The full path of a program found on PATH; empty when there is none.
std::string OnPath(const std::string& Name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = folder + "/" + Name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

// The environment of this process with Changes applied.
std::vector<std::string> Environment(const std::map<std::string, std::string>& Changes) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (!Changes.contains(entry.substr(0, entry.find('=')))) env.push_back(entry);
    }
    for (const auto& [name, value] : Changes)
        env.push_back(name + "=" + value);
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& Strings) {
    std::vector<char*> p;
    for (std::string& s : Strings)
        p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

// Starts a program in its own process group. OutFd, when not -1, becomes its standard
// output; its standard error and (without OutFd) output go to /dev/null. KeepFd stays open
// in the child.
pid_t Spawn(std::vector<std::string> Argv, const std::map<std::string, std::string>& Env,
            const std::string& Folder = {}, int OutFd = -1) {
    const std::string program = Argv[0].find('/') == std::string::npos ? OnPath(Argv[0]) : Argv[0];
    if (program.empty()) return -1;
    std::vector<std::string> env = Environment(Env);
    std::vector<char*> argv = Pointers(Argv), envp = Pointers(env);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (OutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, OutFd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (!Folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, Folder.c_str());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return pid;
}

// Reads what the pipe delivers until it closes or the time is up.
std::string ReadUntilClosed(int Fd, std::chrono::steady_clock::time_point End,
                            const std::function<bool(const std::string&)>& Enough = nullptr) {
    std::string text;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            End - std::chrono::steady_clock::now());
        if (left <= 0ms) break;
        pollfd p{Fd, POLLIN, 0};
        if (poll(&p, 1, int(left.count())) <= 0) break;
        char buffer[4096];
        const ssize_t n = read(Fd, buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, size_t(n));
        if (Enough && Enough(text)) break;
    }
    return text;
}

// Ends a process group: politely, then for good; reaps the leader.
void EndGroup(pid_t Group) {
    if (Group <= 0) return;
    kill(-Group, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(Group, nullptr, WNOHANG) == Group) return;
        std::this_thread::sleep_for(20ms);
    }
    kill(-Group, SIGKILL);
    waitpid(Group, nullptr, 0);
}

// Asks Done every 100 ms until it holds or the time is up.
bool Within(std::chrono::milliseconds Timeout, const std::function<bool()>& Done) {
    const auto end = std::chrono::steady_clock::now() + Timeout;
    while (!Done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

} // namespace

std::string DesktopSession::MissingTool() {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "xprop", "xwininfo"})
        if (OnPath(tool).empty()) return tool;
    return {};
}

DesktopSession::DesktopSession() {
    // The server picks a free display number itself and writes it into the pipe.
    char folder[] = "/tmp/quorbel-screen-XXXXXX";
    if (mkdtemp(folder)) screenFolder_ = folder;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        problem_ = "no pipe";
        return;
    }
    const pid_t server =
        Spawn({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", "1280x1024x24",
               "-dpi", "96", "-nolisten", "tcp", "-noreset", "-fbdir", screenFolder_.string()},
              {});
    close(pipeFds[1]);
    if (server > 0) groups_.push_back(server);
    const std::string number =
        ReadUntilClosed(pipeFds[0], std::chrono::steady_clock::now() + 20s,
                        [](const std::string& t) { return t.find('\n') != std::string::npos; });
    close(pipeFds[0]);
    if (server <= 0 || number.empty() || number.find('\n') == std::string::npos) {
        problem_ = "the X server did not start";
        return;
    }
    display_ = ":" + number.substr(0, number.find('\n'));

    const pid_t manager = Spawn({"openbox"}, {{"DISPLAY", display_}});
    if (manager > 0) groups_.insert(groups_.begin(), manager);
    // The window manager is up when it has announced itself on the root window.
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (Run({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).text.find("window id") ==
           std::string::npos) {
        if (std::chrono::steady_clock::now() > end) {
            problem_ = "the window manager did not start";
            return;
        }
        std::this_thread::sleep_for(100ms);
    }
}

DesktopSession::~DesktopSession() {
    for (pid_t group : groups_)
        EndGroup(group);
    std::error_code ignored;
    if (!screenFolder_.empty()) std::filesystem::remove_all(screenFolder_, ignored);
}

QImage DesktopSession::Screen() const {
    // The server keeps its screen in an XWD file: a header of 32-bit big-endian fields,
    // a colour map, then the rows of 32-bit pixels.
    std::ifstream in(screenFolder_ / "Xvfb_screen0", std::ios::binary);
    const std::string dump{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto field = [&](size_t Index) {
        const auto* b = reinterpret_cast<const unsigned char*>(dump.data()) + 4 * Index;
        return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    };
    if (dump.size() < 100 || field(11) != 32) return {}; // 32 bits per pixel only
    const uint32_t width = field(4), height = field(5), stride = field(12);
    const size_t pixels = field(0) + size_t(field(19)) * 12;
    if (pixels + size_t(stride) * height > dump.size()) return {};
    return QImage(reinterpret_cast<const uchar*>(dump.data() + pixels), int(width), int(height),
                  int(stride), QImage::Format_RGB32)
        .copy();
}

bool DesktopSession::SaveScreen(const std::filesystem::path& Png) const {
    const QImage screen = Screen();
    if (screen.isNull()) return false;
    std::error_code ignored;
    std::filesystem::create_directories(Png.parent_path(), ignored);
    return screen.save(QString::fromStdString(Png.string()));
}

pid_t DesktopSession::Start(const std::vector<std::string>& Argv,
                            const std::filesystem::path& Folder,
                            const std::map<std::string, std::string>& Env) {
    std::map<std::string, std::string> env = Env;
    env["DISPLAY"] = display_;
    const pid_t pid = Spawn(Argv, env, Folder.string());
    // Programs of the test end before the window manager and the server.
    if (pid > 0) groups_.insert(groups_.begin(), pid);
    return pid;
}

bool DesktopSession::Running(pid_t Pid) const {
    return waitpid(Pid, nullptr, WNOHANG) == 0;
}

DesktopSession::Output DesktopSession::Run(const std::vector<std::string>& Argv,
                                           std::chrono::milliseconds Timeout) const {
    Output out;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return out;
    const pid_t pid = Spawn(Argv, {{"DISPLAY", display_}}, {}, fds[1]);
    close(fds[1]);
    if (pid <= 0) {
        close(fds[0]);
        return out;
    }
    const auto end = std::chrono::steady_clock::now() + Timeout;
    out.text = ReadUntilClosed(fds[0], end);
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            EndGroup(pid);
            return out;
        }
        std::this_thread::sleep_for(5ms);
    }
    out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

std::string DesktopSession::WaitForWindow(const std::string& Pattern, int MinWidth,
                                          std::chrono::milliseconds Timeout,
                                          const std::vector<std::string>& Except) const {
    const auto end = std::chrono::steady_clock::now() + Timeout;
    do {
        std::stringstream ids(Run({"xdotool", "search", "--onlyvisible", "--name", Pattern}).text);
        for (std::string id; std::getline(ids, id);)
            if (std::find(Except.begin(), Except.end(), id) == Except.end() &&
                WindowSize(id).width >= MinWidth)
                return id;
        std::this_thread::sleep_for(200ms);
    } while (std::chrono::steady_clock::now() < end);
    return {};
}

bool DesktopSession::WaitUntilGone(const std::string& Pattern,
                                   std::chrono::milliseconds Timeout) const {
    return Within(Timeout, [&] {
        return Run({"xdotool", "search", "--onlyvisible", "--name", Pattern}).text.empty();
    });
}

bool DesktopSession::Shown(const std::string& Window) const {
    std::stringstream ids(Run({"xdotool", "search", "--onlyvisible", "--name", "."}).text);
    for (std::string id; std::getline(ids, id);)
        if (id == Window) return true;
    return false;
}

bool DesktopSession::WaitUntilHidden(const std::string& Window,
                                     std::chrono::milliseconds Timeout) const {
    return Within(Timeout, [&] { return !Shown(Window); });
}

std::string DesktopSession::ActiveWindow() const {
    const Output out = Run({"xdotool", "getactivewindow"});
    if (out.status != 0) return {};
    return out.text.substr(0, out.text.find('\n'));
}

bool DesktopSession::WaitUntilActive(const std::string& Window,
                                     std::chrono::milliseconds Timeout) const {
    return Within(Timeout, [&] { return ActiveWindow() == Window; });
}

bool DesktopSession::WaitUntilProperty(const std::string& Window, const std::string& Name,
                                       const std::string& Value,
                                       std::chrono::milliseconds Timeout) const {
    return Within(Timeout, [&] { return Property(Window, Name) == Value; });
}

DesktopSession::Minimised DesktopSession::Minimise(const std::string& Window,
                                                   std::chrono::milliseconds Timeout) const {
    Minimised seen;
    xcb_connection_t* x = xcb_connect(display_.c_str(), nullptr);
    const auto window = xcb_window_t(std::strtoul(Window.c_str(), nullptr, 10));
    // The server reports every unmapping and mapping of the window from now on, also those
    // that follow each other too quickly for polling to see.
    const uint32_t events = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, window, XCB_CW_EVENT_MASK, &events);
    std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));
    if (!xcb_connection_has_error(x) && Run({"xdotool", "windowminimize", Window}).status == 0) {
        const auto end = std::chrono::steady_clock::now() + Timeout;
        while (!seen.cameBack && !xcb_connection_has_error(x) &&
               std::chrono::steady_clock::now() < end) {
            xcb_generic_event_t* event = xcb_poll_for_event(x);
            if (!event) {
                pollfd ready{xcb_get_file_descriptor(x), POLLIN, 0};
                poll(&ready, 1, 100);
                continue;
            }
            const auto type = event->response_type & 0x7F;
            if (type == XCB_UNMAP_NOTIFY) seen.went = true;
            if (type == XCB_MAP_NOTIFY && seen.went) seen.cameBack = true;
            std::free(event);
        }
    }
    xcb_disconnect(x);
    return seen;
}

std::string DesktopSession::Property(const std::string& Window, const std::string& Name) const {
    const Output out = Run({"xprop", "-id", Window, Name});
    return out.status == 0 && out.text.find(" = ") != std::string::npos ? out.text : std::string();
}

bool DesktopSession::StandsAbove(const std::string& Upper, const std::string& Lower) const {
    // "_NET_CLIENT_LIST_STACKING(WINDOW): window id # 0x400007, 0x600003", from the bottom
    // up, the ids in hex where xdotool writes them in decimal.
    const std::string list = Run({"xprop", "-root", "_NET_CLIENT_LIST_STACKING"}).text;
    std::vector<std::string> order;
    for (size_t at = list.find("0x"); at != std::string::npos; at = list.find("0x", at + 2))
        order.push_back(std::to_string(std::strtoul(list.c_str() + at, nullptr, 16)));
    const auto lower = std::find(order.begin(), order.end(), Lower);
    return lower != order.end() && std::find(lower, order.end(), Upper) != order.end();
}

namespace {
// A number of xdotool's description of a window ("WIDTH=640"); 0 when it is not there.
int GeometryField(const std::string& Shell, const std::string& Name) {
    std::stringstream lines(Shell);
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with(Name + "=")) return std::atoi(line.c_str() + Name.size() + 1);
    return 0;
}
} // namespace

DesktopSession::Size DesktopSession::WindowSize(const std::string& Window) const {
    const std::string shell = Run({"xdotool", "getwindowgeometry", "--shell", Window}).text;
    return {GeometryField(shell, "WIDTH"), GeometryField(shell, "HEIGHT")};
}

DesktopSession::Origin DesktopSession::WindowOrigin(const std::string& Window) const {
    // xwininfo translates the window's corner to the screen; xdotool's position is the
    // window manager's frame moved by its decoration, not the inside.
    std::stringstream lines(Run({"xwininfo", "-id", Window}).text);
    Origin origin;
    for (std::string line; std::getline(lines, line);) {
        const auto at = line.find(':');
        if (at == std::string::npos) continue;
        if (line.find("Absolute upper-left X") != std::string::npos)
            origin.x = std::atoi(line.c_str() + at + 1);
        if (line.find("Absolute upper-left Y") != std::string::npos)
            origin.y = std::atoi(line.c_str() + at + 1);
    }
    return origin;
}

bool DesktopSession::Click(const std::string& Window, int X, int Y) const {
    return Run({"xdotool", "mousemove", "--sync", "--window", Window, std::to_string(X),
                std::to_string(Y), "click", "1"})
               .status == 0;
}

bool DesktopSession::Type(const std::string& Text) const {
    return Run({"xdotool", "type", "--delay", "40", Text}, std::chrono::seconds(60)).status == 0;
}

bool DesktopSession::Key(const std::string& Keys) const {
    return Run({"xdotool", "key", Keys}).status == 0;
}
