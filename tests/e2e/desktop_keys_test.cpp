// The menu bar of the real program on a real X server, used with the keys the X server
// delivers: Alt pressed and released alone shows the first title highlighted, Right moves
// the highlight to the next title, Escape takes it away. The screen with the first title
// highlighted is written to <build>/screenshots/e2e/desktop-alt-title.png.
#include <gtest/gtest.h>

#include <QImage>
#include <QMenuBar>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "e2e/DesktopProgram.h"

namespace {

using namespace std::chrono_literals;

TEST(DesktopKeys, AltAloneHighlightsTheFirstTitleAndTheArrowsMoveTheHighlight) {
    if (const std::string missing = DesktopSession::MissingTool(); !missing.empty())
        GTEST_SKIP() << missing << " is not installed (tools/setup.sh installs it)";
    QuorbelProgram program;
    DesktopSession desktop;
    ASSERT_TRUE(desktop.Ready()) << desktop.Problem();
    OffscreenTwin twin;
    const ProgramOnDesktop started = StartOnDesktop(desktop, program, twin);
    ASSERT_GT(started.pid, 0);
    ASSERT_FALSE(started.working.empty()) << "the working window did not show";
    Tprog& p = twin.Windows().Working();
    const auto size = desktop.WindowSize(started.working);
    const QPoint field = CentreAt(p, p.inp_ordner, size.width, size.height);
    ASSERT_TRUE(desktop.Click(started.working, field.x(), field.y()));

    // Where the titles "Datei" and "Einstellungen" are on the screen.
    const auto origin = desktop.WindowOrigin(started.working);
    QMenuBar* bar = p.menu->MenuBar();
    auto onScreen = [&](TMenuItem* Title) {
        return bar->actionGeometry(Title->QtAction())
            .translated(bar->mapTo(p.Widget(), QPoint(0, 0)) + QPoint(origin.x, origin.y));
    };
    const QRect titles[] = {onScreen(p.m_datei), onScreen(p.m_einst)};
    const std::filesystem::path dir = QUORBEL_BUILD_DIR "/screenshots/e2e";
    std::filesystem::create_directories(dir);
    auto screen = [&](const char* Name) {
        const std::filesystem::path png = dir / Name;
        EXPECT_TRUE(desktop.SaveScreen(png));
        return QImage(QString::fromStdString(png.string()));
    };
    std::this_thread::sleep_for(500ms);
    const QImage before = screen("desktop-alt-before.png");
    // Waits until exactly the titles Lit are drawn otherwise than before Alt.
    auto waitForLit = [&](bool Datei, bool Einstellungen, const char* Name) {
        const auto end = std::chrono::steady_clock::now() + 10s;
        do {
            const QImage now = screen(Name);
            const bool lit[] = {now.copy(titles[0]) != before.copy(titles[0]),
                                now.copy(titles[1]) != before.copy(titles[1])};
            if (lit[0] == Datei && lit[1] == Einstellungen) return true;
            std::this_thread::sleep_for(100ms);
        } while (std::chrono::steady_clock::now() < end);
        return false;
    };
    ASSERT_TRUE(desktop.Key("alt"));
    EXPECT_TRUE(waitForLit(true, false, "desktop-alt-title.png")) << "Alt lit no first title";
    ASSERT_TRUE(desktop.Key("Right"));
    EXPECT_TRUE(waitForLit(false, true, "desktop-alt-right.png")) << "Right moved nothing";
    ASSERT_TRUE(desktop.Key("Escape"));
    EXPECT_TRUE(waitForLit(false, false, "desktop-alt-escape.png")) << "Escape left a title lit";
    EXPECT_TRUE(desktop.Running(started.pid)) << "the program ended";
}

} // namespace
