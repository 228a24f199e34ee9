// A desktop of its own for one test: an X server (Xvfb) on a display number it picks
// itself, a small window manager (openbox) on it, and xdotool to give the programs on it
// a person's input through the X server. Every process it starts runs in its own process
// group and is ended with the session, also after a failed assertion; every wait has a
// timeout.
#pragma once

#include <sys/types.h>

#include <QImage>
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

class DesktopSession {
public:
    // The first tool the session needs that is not installed; empty when all are there.
    static std::string MissingTool();

    DesktopSession();
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // The server and the window manager are up; otherwise Problem() says what failed.
    bool Ready() const { return problem_.empty(); }
    const std::string& Problem() const { return problem_; }
    const std::string& Display() const { return display_; }

    // Starts Argv[0] on this display in Folder, with Env added to the environment.
    pid_t Start(const std::vector<std::string>& Argv, const std::filesystem::path& Folder,
                const std::map<std::string, std::string>& Env = {});
    // The program started by Start is still running.
    bool Running(pid_t Pid) const;

    struct Output {
        int status = -1; // -1 when it was killed at the timeout
        std::string text;
    };
    // Runs a tool (xdotool, xprop) on this display; its exit status and standard output.
    Output Run(const std::vector<std::string>& Argv,
               std::chrono::milliseconds Timeout = std::chrono::seconds(10)) const;

    // The id of the first shown window whose name matches Pattern (a regular expression),
    // that is at least MinWidth wide and not one of Except; empty when none shows within
    // Timeout.
    std::string WaitForWindow(const std::string& Pattern, int MinWidth,
                              std::chrono::milliseconds Timeout,
                              const std::vector<std::string>& Except = {}) const;
    // Waits until no shown window's name matches Pattern; false at the timeout.
    bool WaitUntilGone(const std::string& Pattern, std::chrono::milliseconds Timeout) const;
    // The window is shown (mapped and viewable).
    bool Shown(const std::string& Window) const;
    // Waits until the window is no longer shown; false at the timeout.
    bool WaitUntilHidden(const std::string& Window, std::chrono::milliseconds Timeout) const;
    // The id of the active window (the one the keyboard goes to); empty with none.
    std::string ActiveWindow() const;
    // Waits until Window is the active window; false at the timeout.
    bool WaitUntilActive(const std::string& Window, std::chrono::milliseconds Timeout) const;
    // Minimises the window as the window manager's button does (xdotool windowminimize) and
    // follows it: whether the window manager took it off the screen, and whether it was
    // shown again within Timeout after that.
    struct Minimised {
        bool went = false, cameBack = false;
    };
    Minimised Minimise(const std::string& Window, std::chrono::milliseconds Timeout) const;
    // The window's property Name as xprop prints it ("NAME(TYPE) = values"); empty without.
    std::string Property(const std::string& Window, const std::string& Name) const;
    // Waits until the window's property Name reads Value; false at the timeout.
    bool WaitUntilProperty(const std::string& Window, const std::string& Name,
                           const std::string& Value, std::chrono::milliseconds Timeout) const;
    // Upper stands above Lower in the window manager's stacking of the shown windows.
    bool StandsAbove(const std::string& Upper, const std::string& Lower) const;
    // The size of a window's inside (without the window manager's frame).
    struct Size {
        int width = 0, height = 0;
    };
    Size WindowSize(const std::string& Window) const;
    // Where a window's inside begins on the screen.
    struct Origin {
        int x = 0, y = 0;
    };
    Origin WindowOrigin(const std::string& Window) const;
    // A left click at X, Y of the window's inside; the pointer is moved there first.
    bool Click(const std::string& Window, int X, int Y) const;
    // Text typed on the keyboard into the focused window; Keys pressed ("Return").
    bool Type(const std::string& Text) const;
    bool Key(const std::string& Keys) const;
    // The screen as it is now; a null image when it could not be read.
    QImage Screen() const;
    // The screen as it is now, written as a PNG picture; false when it could not be.
    bool SaveScreen(const std::filesystem::path& Png) const;

private:
    std::filesystem::path screenFolder_; // the server's frame buffer file
    std::string display_;
    std::string problem_;
    std::vector<pid_t> groups_; // process groups to end, the server last
};
