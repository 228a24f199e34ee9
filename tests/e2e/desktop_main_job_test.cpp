// The real program on a real X server, used by a person's input that the X server
// delivers: the start picture and the update notice come and go, the folder is typed
// into the folder field, "replace text" ticked and filled by typing, "Convert and Save"
// clicked; the outputs must hold the replacement in each file's own encoding.
//
// Where the controls are on screen: the same windows, built by the same code offscreen
// in this test at the size the real window has, say where each control's centre is. The
// screen after the job is written to <build>/screenshots/e2e/desktop-main-job.png.
#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "dialogs/u_dialog_upgrade.h"
#include "e2e/DesktopSession.h"
#include "e2e/QuorbelProcess.h"
#include "support/IconvOracle.h"
#include "support/ProgramWindowsFixture.h"

namespace {

using namespace std::chrono_literals;

const EncodedSample kFiles[] = {
    {"utf8.txt", "UTF-8", "", "\n"},
    {"utf16.txt", "UTF-16LE", "\xFF\xFE", "\r\n"},
    {"ansi.txt", "CP1252", "", "\r\n"},
};

std::string Bytes(const EncodedSample& F, const std::string& Town) {
    return EncodedText(F, "Grüße aus " + Town + "\nzweite Zeile, " + Town + " (" + F.name + ")");
}

// The centre of a control in its window, the window laid out at Width x Height.
QPoint CentreAt(TForm& Form, TControl* C, int Width, int Height) {
    Form.Show();
    Form.Widget()->resize(Width, Height);
    QApplication::processEvents();
    EXPECT_EQ(Form.Widget()->size(), QSize(Width, Height));
    return C->Widget()->mapTo(Form.Widget(), C->Widget()->rect().center());
}

// The windows of the program, built offscreen in this process as the program builds them.
class OffscreenTwin {
public:
    OffscreenTwin() {
        if (!QApplication::instance()) {
            // A screen as large as the tests' other screens: the window is never cut to it.
            qputenv("QT_QPA_PLATFORM",
                    QByteArray("offscreen:configfile=") + QUORBEL_TEST_DATA "/screen.json");
            InitApplication();
        }
        windows_ = std::make_unique<ProgramWindows>();
    }
    ProgramWindows& Windows() { return *windows_; }

private:
    std::unique_ptr<ProgramWindows> windows_;
};

TEST(DesktopMainJob, TypedFolderTickedActionAndAClickOnConvertAndSave) {
    if (const std::string missing = DesktopSession::MissingTool(); !missing.empty())
        GTEST_SKIP() << missing << " is not installed (tools/setup.sh installs it)";
    QuorbelProgram program;
    const std::filesystem::path folder = program.workFolder() / "input";
    for (const EncodedSample& f : kFiles)
        program.write(folder / f.name, Bytes(f, "Koeln"));

    DesktopSession desktop;
    ASSERT_TRUE(desktop.Ready()) << desktop.Problem();
    const pid_t quorbel = desktop.Start(
        {program.executable().string()}, program.workFolder(),
        {{"QT_QPA_PLATFORM", "xcb"},
         // A runtime folder of its own: no hand-over to another running copy.
         {"XDG_RUNTIME_DIR", (program.programFolder().parent_path() / "runtime").string()}});
    ASSERT_GT(quorbel, 0);

    const std::string working = desktop.WaitForWindow("^Quorbel - Halvane$", 600, 60s);
    ASSERT_FALSE(working.empty()) << "the working window did not show";
    OffscreenTwin twin;
    Tprog& p = twin.Windows().Working();

    // The update notice shows with the working window on the first start: its OK.
    const std::string notice = desktop.WaitForWindow("^Quorbel - Neue Version$", 100, 10s);
    if (!notice.empty()) {
        const auto size = desktop.WindowSize(notice);
        auto& upgrade = twin.Windows().Window<Tdialog_upgrade>();
        const QPoint ok = CentreAt(upgrade, upgrade.OK, size.width, size.height);
        ASSERT_TRUE(desktop.Click(notice, ok.x(), ok.y()));
        ASSERT_TRUE(desktop.WaitUntilGone("^Quorbel - Neue Version$", 20s));
    }

    const auto size = desktop.WindowSize(working);
    auto at = [&](TControl* C) { return CentreAt(p, C, size.width, size.height); };
    // A person waits for what a click or key starts: the progress window of a longer job
    // (named "Quorbel") to go, and the window to show the change.
    auto settle = [&] {
        EXPECT_TRUE(desktop.WaitUntilGone("^Quorbel$", 60s)) << "the progress window stayed";
        std::this_thread::sleep_for(300ms);
    };
    auto click = [&](TControl* C) {
        const QPoint centre = at(C);
        ASSERT_TRUE(desktop.Click(working, centre.x(), centre.y())) << U8(C->Name());
        settle();
    };
    click(p.inp_ordner);
    ASSERT_TRUE(desktop.Type(folder.string()));
    ASSERT_TRUE(desktop.Key("Return"));
    settle();
    click(p.act_ers_text);
    // The group opens below its tick: its fields are placed as in the program.
    p.act_ers_text->SetChecked(true);
    click(p.act_ers_text_suchen);
    ASSERT_TRUE(desktop.Type("Koeln"));
    click(p.act_ers_text_ersetzen);
    ASSERT_TRUE(desktop.Type("Zuerich"));
    click(p.durchfuehren);

    const auto end = std::chrono::steady_clock::now() + 60s;
    auto done = [&] {
        for (const EncodedSample& f : kFiles) {
            const std::string name = f.OutputName();
            if (program.read(folder / name) != Bytes(f, "Zuerich")) return false;
        }
        return true;
    };
    while (!done() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(200ms);
    for (const EncodedSample& f : kFiles) {
        const std::string name = f.OutputName();
        EXPECT_EQ(program.read(folder / name), Bytes(f, "Zuerich")) << name;
        EXPECT_EQ(program.read(folder / f.name), Bytes(f, "Koeln")) << f.name << " was changed";
    }
    EXPECT_TRUE(desktop.Running(quorbel)) << "the program ended";
    // The screen after the job, to look at (and to see what went wrong).
    EXPECT_TRUE(desktop.SaveScreen(QUORBEL_BUILD_DIR "/screenshots/e2e/desktop-main-job.png"));
}

} // namespace
