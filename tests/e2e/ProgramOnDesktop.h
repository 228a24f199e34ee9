// The real program started on a desktop of its own (DesktopSession) as a person starts it:
// the working window shows, and the update notice of a first start is answered with its
// OK. Where a control is on the screen comes from the same windows, built by the same code
// offscreen in this process (the offscreen twin) and laid out at the size the real window
// has: the centre of a control there is the point to click in the real window.
#pragma once

#include <QImage>
#include <QRect>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

#include "e2e/DesktopSession.h"
#include "e2e/QuorbelProcess.h"

class ProgramWindows;
class TControl;
class TForm;

class ProgramOnDesktop {
public:
    // Starts Program's executable with Args in its working folder.
    explicit ProgramOnDesktop(const QuorbelProgram& Program,
                              const std::vector<std::string>& Args = {});
    ~ProgramOnDesktop();

    // Empty when the program shows its working window; else what went wrong.
    const std::string& Problem() const { return FProblem; }
    DesktopSession& Desktop() { return FDesktop; }
    bool Running() const { return FDesktop.Running(FPid); }
    // The id of the working window.
    const std::string& Working() const { return FWorking; }
    // The program's windows built offscreen, in their design state.
    ProgramWindows& Twin();

    // The area of C, a control of Form, in the shown window Window of the same class, with
    // Form laid out at the size of Window.
    QRect AreaIn(const std::string& Window, TForm& Form, TControl* C);
    // The pixels of that area on the screen as it is now.
    QImage Look(const std::string& Window, TForm& Form, TControl* C);
    // A left click on the centre of that area.
    bool Click(const std::string& Window, TForm& Form, TControl* C);

private:
    DesktopSession FDesktop;
    pid_t FPid = -1;
    std::string FWorking;
    std::string FProblem;
    std::unique_ptr<ProgramWindows> FTwin;
};
