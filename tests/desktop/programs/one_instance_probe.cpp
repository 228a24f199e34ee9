// A small program with the real single-instance code, started by the tests as
// further copies of itself. It starts as the program's main block does and reports
// on standard output: "READY" once it receives hand-overs, then per hand-over
// "HANDOVER <pid>", one "PARAM <text>" per parameter and "END"; "ERROR <text>" for
// an error shown by the application.
// QUORBEL_PROBE_MODE: "check" (default) creates a TOneInstanceCheck, "nocheck" none,
// "throw" one whose handler raises.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "desktop/OneInstanceCheck.h"
#include "desktop/OneInstanceWindow.h"
#include "platform/Forms.h"
#include "text/UCodeSysUtils.h"

namespace {
void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv) {
    InitWideCommandLine(argc, argv);
    OneInstanceSendCommandLine();
    const char* modeEnv = std::getenv("QUORBEL_PROBE_MODE");
    const std::string mode = modeEnv ? modeEnv : "check";
    InitApplication(argc, argv);
    Application->ShowMainForm = false;
    Application->OnException = [](TObject*, const std::exception& E) {
        say(std::string("ERROR ") + E.what());
    };
    TForm* form = Application->CreateForm<TForm>();
    if (mode != "nocheck") {
        auto* check = new TOneInstanceCheck(form);
        check->OnNewInstance = [mode](TObject*, uint32_t ProcessId, TUCodeStringList& Params) {
            say("HANDOVER " + std::to_string(ProcessId));
            for (int i = 0; i < Params.Count(); ++i)
                say("PARAM " + U8(Params.Get(i)));
            say("END");
            if (mode == "throw") throw Exception(std::string("probe handler failed"));
        };
    }
    OneInstanceCreateWindow();
    say("READY");
    Application->Run();
    OneInstanceDestroyWindow();
    DoneApplication();
    return 0;
}
