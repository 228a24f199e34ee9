#include "e2e/ProgramOnDesktop.h"

#include <QApplication>
#include <chrono>

#include "dialogs/u_dialog_upgrade.h"
#include "support/ProgramWindowsFixture.h"

namespace {
using namespace std::chrono_literals;

// The offscreen application of the twin, made on first use.
void EnsureOffscreenApplication() {
    if (QApplication::instance()) return;
    // A screen as large as the tests' other screens: a window is never cut to it.
    qputenv("QT_QPA_PLATFORM",
            QByteArray("offscreen:configfile=") + QUORBEL_TEST_DATA "/screen.json");
    InitApplication();
}
} // namespace

ProgramOnDesktop::ProgramOnDesktop(const QuorbelProgram& Program,
                                   const std::vector<std::string>& Args) {
    if (!FDesktop.Ready()) {
        FProblem = FDesktop.Problem();
        return;
    }
    std::vector<std::string> argv{Program.executable().string()};
    argv.insert(argv.end(), Args.begin(), Args.end());
    FPid = FDesktop.Start(
        argv, Program.workFolder(),
        {{"QT_QPA_PLATFORM", "xcb"},
         // A runtime folder of its own: no hand-over to another running copy.
         {"XDG_RUNTIME_DIR", (Program.programFolder().parent_path() / "runtime").string()}});
    if (FPid <= 0) {
        FProblem = "the program did not start";
        return;
    }
    FWorking = FDesktop.WaitForWindow("^Quorbel - Halvane$", 600, 60s);
    if (FWorking.empty()) {
        FProblem = "the working window did not show";
        return;
    }
    // The update notice shows with the working window on the first start: its OK.
    const std::string notice = FDesktop.WaitForWindow("^Quorbel - Neue Version$", 100, 10s);
    if (notice.empty()) return;
    auto& upgrade = Twin().Window<Tdialog_upgrade>();
    if (!Click(notice, upgrade, upgrade.OK) ||
        !FDesktop.WaitUntilGone("^Quorbel - Neue Version$", 20s))
        FProblem = "the update notice stayed";
}

ProgramOnDesktop::~ProgramOnDesktop() = default;

ProgramWindows& ProgramOnDesktop::Twin() {
    if (!FTwin) {
        EnsureOffscreenApplication();
        FTwin = std::make_unique<ProgramWindows>();
    }
    return *FTwin;
}

QRect ProgramOnDesktop::AreaIn(const std::string& Window, TForm& Form, TControl* C) {
    const DesktopSession::Size size = FDesktop.WindowSize(Window);
    Form.Show();
    Form.Widget()->resize(size.width, size.height);
    QApplication::processEvents();
    EXPECT_EQ(Form.Widget()->size(), QSize(size.width, size.height)) << U8(Form.Name());
    return QRect(C->Widget()->mapTo(Form.Widget(), QPoint(0, 0)), C->Widget()->size());
}

QImage ProgramOnDesktop::Look(const std::string& Window, TForm& Form, TControl* C) {
    const QRect area = AreaIn(Window, Form, C);
    const DesktopSession::Place place = FDesktop.WindowPlace(Window);
    return FDesktop.Screen().copy(area.translated(place.x, place.y));
}

bool ProgramOnDesktop::Click(const std::string& Window, TForm& Form, TControl* C) {
    const QPoint centre = AreaIn(Window, Form, C).center();
    return FDesktop.Click(Window, centre.x(), centre.y());
}
