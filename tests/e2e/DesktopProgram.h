// The real program on a desktop of its own (DesktopSession), and the same windows built
// offscreen in the test at the size the real windows have, to say where each control is.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/u_dialog_upgrade.h"
#include "e2e/DesktopSession.h"
#include "e2e/QuorbelProcess.h"
#include "support/ProgramWindowsFixture.h"

// Form laid out at Width x Height, as the real window is.
inline void LayOutAt(TForm& Form, int Width, int Height) {
    Form.Show();
    Form.Widget()->resize(Width, Height);
    QApplication::processEvents();
    EXPECT_EQ(Form.Widget()->size(), QSize(Width, Height));
}

// The area of a control in its window, the window laid out at Width x Height.
inline QRect AreaAt(TForm& Form, TControl* C, int Width, int Height) {
    LayOutAt(Form, Width, Height);
    return QRect(C->Widget()->mapTo(Form.Widget(), QPoint(0, 0)), C->Widget()->size());
}

// The centre of a control in its window, the window laid out at Width x Height.
inline QPoint CentreAt(TForm& Form, TControl* C, int Width, int Height) {
    return AreaAt(Form, C, Width, Height).center();
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

// The program started on the desktop: its process and the id of its working window, shown
// (empty when it did not show); the update notice of a first start is closed with its OK.
struct ProgramOnDesktop {
    pid_t pid = 0;
    std::string working;
};

// Args follow the executable on the command line.
inline ProgramOnDesktop StartOnDesktop(DesktopSession& Desktop, const QuorbelProgram& Program,
                                       OffscreenTwin& Twin,
                                       const std::vector<std::string>& Args = {}) {
    using namespace std::chrono_literals;
    ProgramOnDesktop started;
    std::vector<std::string> argv{Program.executable().string()};
    argv.insert(argv.end(), Args.begin(), Args.end());
    started.pid = Desktop.Start(
        argv, Program.workFolder(),
        {{"QT_QPA_PLATFORM", "xcb"},
         // A runtime folder of its own: no hand-over to another running copy.
         {"XDG_RUNTIME_DIR", (Program.programFolder().parent_path() / "runtime").string()}});
    if (started.pid <= 0) return started;
    started.working = Desktop.WaitForWindow("^Quorbel - Halvane$", 600, 60s);
    if (started.working.empty()) return started;
    const std::string notice = Desktop.WaitForWindow("^Quorbel - Neue Version$", 100, 10s);
    if (!notice.empty()) {
        const auto size = Desktop.WindowSize(notice);
        auto& upgrade = Twin.Windows().Window<Tdialog_upgrade>();
        const QPoint ok = CentreAt(upgrade, upgrade.OK, size.width, size.height);
        EXPECT_TRUE(Desktop.Click(notice, ok.x(), ok.y()));
        EXPECT_TRUE(Desktop.WaitUntilGone("^Quorbel - Neue Version$", 20s));
    }
    return started;
}
