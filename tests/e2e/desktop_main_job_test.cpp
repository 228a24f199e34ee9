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

#include "e2e/DesktopProgram.h"
#include "support/IconvOracle.h"

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

TEST(DesktopMainJob, TypedFolderTickedActionAndAClickOnConvertAndSave) {
    if (const std::string missing = DesktopSession::MissingTool(); !missing.empty())
        GTEST_SKIP() << missing << " is not installed (tools/setup.sh installs it)";
    QuorbelProgram program;
    const std::filesystem::path folder = program.workFolder() / "input";
    for (const EncodedSample& f : kFiles)
        program.write(folder / f.name, Bytes(f, "Koeln"));

    DesktopSession desktop;
    ASSERT_TRUE(desktop.Ready()) << desktop.Problem();
    OffscreenTwin twin;
    const ProgramOnDesktop started = StartOnDesktop(desktop, program, twin);
    ASSERT_GT(started.pid, 0);
    const std::string& working = started.working;
    ASSERT_FALSE(working.empty()) << "the working window did not show";
    Tprog& p = twin.Windows().Working();

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
    EXPECT_TRUE(desktop.Running(started.pid)) << "the program ended";
    // The screen after the job, to look at (and to see what went wrong).
    EXPECT_TRUE(desktop.SaveScreen(QUORBEL_BUILD_DIR "/screenshots/e2e/desktop-main-job.png"));
}

} // namespace
