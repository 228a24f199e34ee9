// Boxes and dialogs on a real desktop (Xvfb with openbox), used with a person's keys and
// clicks: a box or a window that a tool window opens gives the input back to that tool when
// it closes, and the tool stands where and as it stood, so the next Alt+F4 closes the tool
// while the program and its working window go on; and
// in a run with two overwrite questions, the second question comes up on its cancel button
// after the first was answered "Ja" and keeps it when the window manager minimises it (it
// comes straight back), so a blind Enter writes nothing; and
// the overwrite question stands above the run's progress window in every fresh start,
// whenever the window manager gets round to the progress window.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/u_changecoding.h"
#include "dialogs/u_einstausgabe.h"
#include "dialogs/u_einstregex.h"
#include "dialogs/u_replace_import.h"
#include "dialogs/u_searchfiles.h"
#include "dialogs/u_sm_achtung.h"
#include "e2e/DesktopProgram.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kWait = 30s;

#define SKIP_WITHOUT_DESKTOP_TOOLS()                                                               \
    if (const std::string missing = DesktopSession::MissingTool(); !missing.empty())               \
    GTEST_SKIP() << missing << " is not installed (tools/setup.sh installs it)"

bool HoldsText(const QImage& Look) {
    for (int y = 0; y < Look.height(); ++y)
        for (int x = 0; x < Look.width(); ++x)
            if (Look.pixel(x, y) != Look.pixel(0, 0)) return true;
    return false;
}

// Waits until the look of an area holds text, stays the same between two readings and is
// not Other; the look, or a null image at the timeout.
QImage SettledLook(const std::function<QImage()>& Look, const QImage& Other = {}) {
    const auto end = std::chrono::steady_clock::now() + kWait;
    QImage before;
    while (std::chrono::steady_clock::now() < end) {
        const QImage now = Look();
        if (HoldsText(now) && now == before && now != Other) return now;
        before = now;
        std::this_thread::sleep_for(100ms);
    }
    return {};
}

// The program on its desktop with the windows' offscreen twin, to click and look at a
// control of a shown window as laid out by the twin's window of the same class.
struct Desktop {
    DesktopSession session;
    OffscreenTwin twin;
    ProgramOnDesktop started;

    QRect Area(const std::string& Window, TForm& Form, TControl* C) const {
        const auto size = session.WindowSize(Window);
        return AreaAt(Form, C, size.width, size.height);
    }
    bool Click(const std::string& Window, TForm& Form, TControl* C) const {
        const QPoint centre = Area(Window, Form, C).center();
        return session.Click(Window, centre.x(), centre.y());
    }
    QImage Look(const std::string& Window, TForm& Form, TControl* C) const {
        const auto origin = session.WindowOrigin(Window);
        return session.Screen().copy(Area(Window, Form, C).translated(origin.x, origin.y));
    }
};

TEST(DesktopFocusReturn, ABoxClosedByKeyGivesTheInputBackToItsToolAndAltF4ClosesTheTool) {
    SKIP_WITHOUT_DESKTOP_TOOLS();
    QuorbelProgram program;
    // A text that the ANSI code page cannot hold: the encoding tool leaves it and says so.
    const auto japanese = program.write("japanisch.txt", "日本語のテキスト\n");
    Desktop quorbel;
    DesktopSession& desktop = quorbel.session;
    ASSERT_TRUE(desktop.Ready()) << desktop.Problem();
    quorbel.started = StartOnDesktop(desktop, program, quorbel.twin, {japanese.string()});
    const std::string working = quorbel.started.working;
    ASSERT_FALSE(working.empty()) << "the working window did not show";
    ProgramWindows& twin = quorbel.twin.Windows();
    Tprog& p = twin.Working();
    // A click on a tick of the action list opens its group, in the program and in the twin.
    auto tick = [&](TCheckBox* Box) {
        ASSERT_TRUE(quorbel.Click(working, p, Box)) << U8(Box->Name());
        Box->SetChecked(true);
    };

    struct Case {
        const char* what;
        std::function<void()> openTool;
        const char* tool;
        std::function<void(const std::string& Tool)> openBox;
        const char* box; // the name of the box's window
        const char* closeKey;
    };
    auto& regex = twin.Window<Teinstregex>();
    auto& output = twin.Window<Teinstausgabe>();
    auto& encoding = twin.Window<Tchangecoding>();
    auto& search = twin.Window<Tsearchfiles>();
    auto& manager = twin.Window<Treplace_import>();
    const Case cases[] = {
        {"the output settings' font dialog, closed with Escape",
         [&] {
             tick(p.act_convert);
             ASSERT_TRUE(quorbel.Click(working, p, p.act_convert_button1));
         },
         "^Ausgabe Einstellungen$",
         [&](const std::string& Tool) { ASSERT_TRUE(quorbel.Click(Tool, output, output.BitBtn6)); },
         "Font|Schrift", "Escape"},
        {"the encoding tool's message at the end of its run, closed with Enter",
         [&] { ASSERT_TRUE(quorbel.Click(working, p, p.act_convert_button2)); },
         "^Kodierung von Textdateien ändern$",
         [&](const std::string& Tool) {
             ASSERT_TRUE(quorbel.Click(Tool, encoding, encoding.Button2));
         },
         "^Quorbel - Halvane$", "Return"},
        {"the regular-expression settings' error box after Apply with $zz, closed with Enter",
         [&] {
             tick(p.act_ers_text);
             ASSERT_TRUE(quorbel.Click(working, p, p.act_ers_text_regex));
         },
         "^Einstellungen für Reguläre Ausdrücke$",
         [&](const std::string& Tool) {
             ASSERT_TRUE(quorbel.Click(Tool, regex, regex.zk_space));
             ASSERT_TRUE(desktop.Key("ctrl+a"));
             ASSERT_TRUE(desktop.Type("$zz"));
             ASSERT_TRUE(quorbel.Click(Tool, regex, regex.Button2));
         },
         "^Quorbel - Halvane$", "Return"},
        // The group of the text replacements is open since the row before.
        {"the replacement manager's message on saving without a list name, closed with Enter",
         [&] {
             tick(p.act_ers_weitere);
             ASSERT_TRUE(quorbel.Click(working, p, p.BitBtn1));
         },
         "^Suchen- und Ersetzen Manager$",
         [&](const std::string& Tool) {
             ASSERT_TRUE(quorbel.Click(Tool, manager, manager.bt_save));
         },
         "^Quorbel - Halvane$", "Return"},
        // A window that stays open beside the tool, not a box.
        {"the search tool's marking window, closed with Alt+F4",
         [&] { ASSERT_TRUE(quorbel.Click(working, p, p.inp_searchfiles)); },
         "^In Dateien nach Text suchen$",
         [&](const std::string& Tool) {
             ASSERT_TRUE(quorbel.Click(Tool, search, search.bt_mark_filenames));
         },
         "^Filter für Markierungen$", "alt+F4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.openTool();
        const std::string tool = desktop.WaitForWindow(c.tool, 100, kWait);
        ASSERT_FALSE(tool.empty()) << "the tool did not show";
        ASSERT_TRUE(desktop.WaitUntilActive(tool, kWait));
        const DesktopSession::Origin place = desktop.WindowOrigin(tool);
        const std::string state = desktop.Property(tool, "_NET_WM_STATE");
        c.openBox(tool);
        const std::string box = desktop.WaitForWindow(c.box, 100, kWait, {working, tool});
        ASSERT_FALSE(box.empty()) << "the box did not show";
        ASSERT_TRUE(desktop.WaitUntilActive(box, kWait));
        ASSERT_TRUE(desktop.Key(c.closeKey));
        ASSERT_TRUE(desktop.WaitUntilHidden(box, kWait)) << "the box stayed";
        EXPECT_TRUE(desktop.WaitUntilActive(tool, kWait))
            << "the input went to " << desktop.ActiveWindow() << ", not to the tool " << tool;
        // Where it stood and on top as before, also when it left the top for the box.
        const DesktopSession::Origin back = desktop.WindowOrigin(tool);
        EXPECT_LE(std::abs(back.x - place.x), 2) << "the tool moved sideways";
        EXPECT_LE(std::abs(back.y - place.y), 2) << "the tool moved up or down";
        EXPECT_TRUE(desktop.WaitUntilProperty(tool, "_NET_WM_STATE", state, kWait))
            << "the tool's state " << state << " became "
            << desktop.Property(tool, "_NET_WM_STATE");
        ASSERT_TRUE(desktop.Key("alt+F4"));
        EXPECT_TRUE(desktop.WaitUntilHidden(tool, kWait)) << "Alt+F4 left the tool open";
        ASSERT_TRUE(desktop.Running(quorbel.started.pid)) << "the program ended";
        ASSERT_TRUE(desktop.Shown(working)) << "the working window went";
    }
    EXPECT_EQ(program.read(japanese), "日本語のテキスト\n");
}

// Bits of the window manager's functions in _MOTIF_WM_HINTS.
enum : unsigned { kMinimise = 0x8, kMaximise = 0x10, kClose = 0x20, kAllFunctions = 0x3E };

// The functions that a window's _MOTIF_WM_HINTS grants it (xprop's "flags, functions,
// ..."): all of them when the hints name none.
unsigned MotifFunctions(const std::string& Hints) {
    unsigned flags = 0, functions = 0;
    const size_t values = Hints.find(" = ");
    if (values == std::string::npos ||
        std::sscanf(Hints.c_str() + values + 3, "%x, %x", &flags, &functions) != 2 || !(flags & 1))
        return kAllFunctions;
    // The first bit turns the list around: every function but those named.
    return functions & 1 ? kAllFunctions & ~functions : functions;
}

TEST(DesktopFocusReturn, TheSecondOverwriteQuestionOfARunOpensOnCancelAfterAYes) {
    SKIP_WITHOUT_DESKTOP_TOOLS();
    QuorbelProgram program;
    const auto first = program.write("a.txt", "neu a\n");
    const auto second = program.write("b.txt", "neu b\n");
    program.write("a-1.txt", "alt a\n");
    program.write("b-1.txt", "alt b\n");
    Desktop quorbel;
    DesktopSession& desktop = quorbel.session;
    ASSERT_TRUE(desktop.Ready()) << desktop.Problem();
    quorbel.started =
        StartOnDesktop(desktop, program, quorbel.twin, {first.string(), second.string()});
    const std::string working = quorbel.started.working;
    ASSERT_FALSE(working.empty()) << "the working window did not show";
    ProgramWindows& twin = quorbel.twin.Windows();
    Tprog& p = twin.Working();
    auto& question = twin.Window<Tsm_achtung>();
    // The encoding ticked: every file is written, changed or not, next to its source.
    ASSERT_TRUE(quorbel.Click(working, p, p.act_convert));
    p.act_convert->SetChecked(true);
    ASSERT_TRUE(quorbel.Click(working, p, p.durchfuehren));

    // The question is wider than the progress window of the run (both are named "Quorbel").
    const std::string asks = desktop.WaitForWindow("^Quorbel$", question.Width() - 10, kWait);
    ASSERT_FALSE(asks.empty()) << "no question";
    ASSERT_TRUE(desktop.WaitUntilActive(asks, kWait));
    // Its title bar offers no way out but its buttons; a tool window keeps its close button.
    const unsigned functions = MotifFunctions(desktop.Property(asks, "_MOTIF_WM_HINTS"));
    EXPECT_EQ(functions & (kMinimise | kMaximise | kClose), 0u)
        << "minimise, maximise or close in the question's title bar";
    const std::string progress = desktop.WaitForWindow("^Quorbel$", 100, kWait, {asks});
    EXPECT_NE(MotifFunctions(desktop.Property(progress, "_MOTIF_WM_HINTS")) & kClose, 0u);

    auto path = [&] { return quorbel.Look(asks, question, question.Label3); };
    const QImage firstPath = SettledLook(path);
    ASSERT_FALSE(firstPath.isNull()) << "the question shows no path";
    ASSERT_TRUE(quorbel.Click(asks, question, question.OK));
    // The second question names the second file.
    ASSERT_FALSE(SettledLook(path, firstPath).isNull()) << "no second question";
    ASSERT_TRUE(desktop.WaitUntilActive(asks, kWait));
    // The window manager minimises it all the same: it comes back at once, as the run waits
    // for its answer, and keeps its focus on the cancel button.
    const DesktopSession::Minimised minimised = desktop.Minimise(asks, kWait);
    ASSERT_TRUE(minimised.went) << "the window manager did not minimise the question";
    EXPECT_TRUE(minimised.cameBack) << "the minimised question stayed away";
    EXPECT_TRUE(desktop.WaitUntilActive(asks, kWait));
    EXPECT_TRUE(desktop.Shown(asks));
    ASSERT_TRUE(desktop.Key("Return"));
    EXPECT_TRUE(desktop.WaitUntilGone("^Quorbel$", kWait)) << "the run did not end";
    EXPECT_TRUE(desktop.WaitUntilActive(working, kWait));
    // The run's saves reach the disk together, once the run has ended.
    const auto end = std::chrono::steady_clock::now() + kWait;
    while (program.read("a-1.txt") != "neu a\n" && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(100ms);
    EXPECT_EQ(program.read("a-1.txt"), "neu a\n");
    EXPECT_EQ(program.read("b-1.txt"), "alt b\n") << "Enter on the second question wrote";
    EXPECT_TRUE(desktop.Running(quorbel.started.pid));
}

TEST(DesktopFocusReturn, TheOverwriteQuestionStandsAboveTheProgressWindowInEveryFreshStart) {
    SKIP_WITHOUT_DESKTOP_TOOLS();
    for (int start = 1; start <= 10; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        // A split run at "und" of four files; the first piece of the second is there.
        QuorbelProgram program;
        program.write(program.programFolder() / "Auto.qvr",
                      "[PBCH]\r\nact_dateisplit=1\r\n[PBMM]\r\nact_dateisplit_text=und\r\n");
        std::vector<std::string> files;
        for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"})
            files.push_back(program.write(name, "erster Teil und zweiter Teil\n").string());
        program.write("b-1 1.txt", "alt\n");
        const char* language = start == 2 ? "en" : "de"; // a file "en" where it starts: English
        if (start == 2) program.write("en", "");
        Desktop quorbel;
        DesktopSession& desktop = quorbel.session;
        ASSERT_TRUE(desktop.Ready()) << desktop.Problem();
        quorbel.started = StartOnDesktop(desktop, program, quorbel.twin, files);
        Tprog& p = quorbel.twin.Windows().Working();
        ASSERT_TRUE(quorbel.Click(quorbel.started.working, p, p.durchfuehren));
        const int wide = quorbel.twin.Windows().Window<Tsm_achtung>().Width() - 10;
        const std::string asks = desktop.WaitForWindow("^Quorbel$", wide, kWait);
        const std::string progress = desktop.WaitForWindow("^Quorbel$", 100, kWait, {asks});
        ASSERT_TRUE(desktop.WaitUntilActive(asks, kWait));
        EXPECT_TRUE(desktop.StandsAbove(asks, progress))
            << "the progress window hides the question";
        if (start <= 2) {
            const std::string png = "/screenshots/e2e/overwrite-question-" + std::string(language);
            EXPECT_TRUE(desktop.SaveScreen(QUORBEL_BUILD_DIR + png + ".png"));
        }
        // Enter answers on the cancel button: nothing is written and the run ends.
        ASSERT_TRUE(desktop.Key("Return"));
        EXPECT_TRUE(desktop.WaitUntilGone("^Quorbel$", kWait)) << "the run did not end";
        EXPECT_EQ(program.read("b-1 1.txt"), "alt\n");
    }
}

} // namespace
