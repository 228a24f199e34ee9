#include "mainwindow/MainBlock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "desktop/OneInstanceWindow.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/u_einstausgabe.h"
#include "engine/ProcessLog.h"
#include "mainwindow/ProgramWindow.h"
#include "mainwindow/ProgramWindows.h"
#include "mainwindow/QtNotices.h"
#include "mainwindow/u_prog.h"
#include "mainwindow/u_start.h"
#include "picture/PictureSettings.h"
#include "picture/TextPicture.h"
#include "regex/RegExErrors.h"
#include "text/FileUtils.h"
#include "text/UCodeSysUtils.h"
#include "text/WideFileSystem.h"

namespace {

constexpr char16_t kLogSwitch[] = u"log=1";
constexpr char16_t kProcessAndCloseSwitch[] = u"processandclose=1";
constexpr char16_t kSilent1Switch[] = u"silentmode=1";
constexpr char16_t kSilent2Switch[] = u"silentmode=2";
constexpr char16_t kStartConfiguration[] = u"Auto.qvr";

bool IsShowingNothing(const WideString& Arg) {
    return Arg == kProcessAndCloseSwitch || Arg == kSilent1Switch || Arg == kSilent2Switch;
}

bool HasValue(const char* Value) {
    return Value && *Value;
}

void Complain(const std::string& Text) {
    std::fprintf(stderr, "Quorbel: %s\n", Text.c_str());
}

// Loads one configuration into the working window; a file that raises while being read
// is told on standard error (and in a message box when messages are shown) and counted.
bool LoadConfiguration(const WideString& Path, const ProgramState& State, StartOutcome& Outcome) {
    try {
        prog->KonfigurationLaden(Application->MainForm(), Path);
        return true;
    } catch (const std::exception& e) {
        ++Outcome.loadFailures;
        Complain("cannot load the configuration \"" + U8(Path) + "\": " + e.what());
        if (State.Silent == SilentLevel::Interactive) Application->ShowException(e);
        return false;
    }
}

// Configuration arguments in order; true when at least one loaded.
bool LoadConfigurationArguments(const TWideStrArray& Args, const ProgramState& State,
                                StartOutcome& Outcome) {
    bool loaded = false;
    for (const WideString& arg : Args) {
        if (!IsConfigurationArgument(arg)) continue;
        // A relative name is taken from the program folder (the current folder plays no
        // part for configurations).
        const WideString path = StartArgumentPath(arg, State.ProgramFolder(), WideString());
        if (IsDataFile(path)) { // a FIFO named ".qvr" is no configuration
            if (LoadConfiguration(path, State, Outcome)) {
                prog->KonfigurationAddMenu(prog, path);
                loaded = true;
                if (State.ProcessLogEnabled) logevent(path, "LOADED");
            }
        } else {
            ++Outcome.notFound;
            Complain("configuration not found: " + U8(path));
            if (State.ProcessLogEnabled) logevent(path, "NOT FOUND");
        }
    }
    return loaded;
}

// Files and folders in order. A relative path is taken from the current folder and made
// full here, as the list keeps full paths (and the log shows them). A path that names no
// data file goes to AddOrdner, which finds no folder there and logs it: a missing path, a
// link that leads nowhere, a FIFO, a device, anything of /proc or /sys.
void AddFileArguments(const TWideStrArray& Args, StartOutcome& Outcome) {
    for (const WideString& arg : Args) {
        if (IsConfigurationArgument(arg) || arg.find(u'=') != WideString::npos) continue;
        WideString path = WideGetFullPathName(arg);
        if (path.empty()) path = arg;
        const TEntryKind kind = WideEntryKind(path);
        if (kind != TEntryKind::DataFile && kind != TEntryKind::DataFolder) {
            ++Outcome.notFound;
            Complain("not found: " + U8(path));
        }
        if (kind == TEntryKind::DataFile)
            prog->add2list(path, prog->qulist);
        else
            prog->AddOrdner(path);
    }
}

// "Convert and Save" over the whole list; nothing that happens in it reaches the caller.
void RunUnattended(const ProgramState& State, StartOutcome& Outcome) {
    auto failed = [&](const std::string& Cause) {
        Outcome.runFailed = true;
        Complain("the conversion stopped: " + Cause);
        if (State.ProcessLogEnabled) logevent(u"Quorbel", "ERROR");
    };
    try {
        if (prog->qulist->Items().Count() == 0) return;
        prog->durchfuehrenClick(prog);
        const Tprog::RunResult result = prog->LastRunResult();
        Outcome.conversionFailures = result.failures;
        if (result.failures > 0)
            Complain(std::to_string(result.failures) +
                     " file(s) could not be converted or saved (\"log=1\" logs which)");
        if (!result.started) {
            Outcome.runFailed = true;
            Complain("the conversion could not start: check the output settings");
        }
    } catch (const std::exception& e) {
        failed(e.what());
    } catch (...) {
        failed("an exception of unknown type");
    }
}

void InstallPictureRenderer() {
    InstallTextPictureRenderer(
        [] {
            if (!prog) return DesignPictureStyle();
            PictureStyle style = PictureStyleFromSettings(*prog);
            // The colour the output settings show: the last one their edit held as six
            // hexadecimal digits, whatever the user has typed into it since.
            if (auto* output = ProgramWindow<Teinstausgabe>())
                style.Background = output->Edit1->Color();
            return style;
        },
        [](std::string_view Key, WideStringView Path, const std::string& Cause) {
            Complain("picture \"" + U8(Path) + "\" not written: " + Cause);
            if (prog) prog->meldungzeigen(Key, Path);
        });
}

} // namespace

StartSwitches ReadStartSwitches(const TWideStrArray& Args) {
    StartSwitches s;
    for (const WideString& arg : Args) {
        if (arg == kLogSwitch) s.ProcessLogEnabled = true;
        if (arg == kProcessAndCloseSwitch) {
            s.ProcessAndClose = true;
            s.Silent = SilentLevel::NoWindow;
        }
        if (arg == kSilent1Switch) s.Silent = SilentLevel::NoMessages;
        if (arg == kSilent2Switch) s.Silent = SilentLevel::NoWindow;
    }
    return s;
}

bool IsConfigurationArgument(WideStringView Arg) {
    return WideExtractFileExt(Arg) == u".qvr";
}

DisplayChoice ChooseDisplay(const TWideStrArray& Args,
                            const std::function<const char*(const char*)>& Env) {
    if (HasValue(Env("QT_QPA_PLATFORM")) || HasValue(Env("DISPLAY")) ||
        HasValue(Env("WAYLAND_DISPLAY")))
        return DisplayChoice::Display;
    for (const WideString& arg : Args)
        if (IsShowingNothing(arg)) return DisplayChoice::Offscreen;
    return DisplayChoice::Missing;
}

ExitStatus StartOutcome::Status() const {
    return notFound == 0 && loadFailures == 0 && !runFailed && conversionFailures == 0
               ? ExitSucceeded
               : ExitFailed;
}

void PrepareProgramWindows(ProgramState& State) {
    RegExLanguageCode = [] { return LanguageCode; };
    Application->SetTitle(ApplicationTitle);
    CreateProgramWindows();
    prog->SetRunState(&State);
    InstallPictureRenderer();
}

StartOutcome TakeInCommandLine(const TWideStrArray& Args, ProgramState& State) {
    StartOutcome outcome;
    const StartSwitches switches = ReadStartSwitches(Args);
    State.ProcessAndClose = switches.ProcessAndClose;
    State.ProcessLogEnabled = switches.ProcessLogEnabled;
    State.Silent = switches.Silent;

    // The start configuration comes before the files and folders, so that their type
    // filter and subfolder choice are the saved ones.
    if (!LoadConfigurationArguments(Args, State, outcome)) {
        const WideString startConfiguration = State.ProgramFolder() + kStartConfiguration;
        if (IsDataFile(startConfiguration)) LoadConfiguration(startConfiguration, State, outcome);
    }
    AddFileArguments(Args, outcome);
    if (State.ProcessAndClose) RunUnattended(State, outcome);
    return outcome;
}

int RunMainBlock(int argc, char** argv) {
    // A second start with files hands them to the running copy and ends here, before it
    // needs a display of its own: the files are shown in the copy's window.
    OneInstanceSendCommandLine();

    TWideStrArray args;
    for (int i = 1; i <= WideParamCount(); ++i)
        args.push_back(WideParamStr(i));
    if (std::any_of(args.begin(), args.end(), IsShowingNothing)) DropQtNotices();
    switch (ChooseDisplay(args, [](const char* Name) { return std::getenv(Name); })) {
    case DisplayChoice::Missing:
        Complain("this start needs a display, but neither DISPLAY nor WAYLAND_DISPLAY is set. "
                 "Start it on a desktop, or unattended with \"processandclose=1\" "
                 "(or \"silentmode=1\"/\"silentmode=2\").");
        return ExitNoDisplay;
    case DisplayChoice::Offscreen:
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        break;
    case DisplayChoice::Display:
        break;
    }

    ProgramState state(ProgramFolder());
    state.RaiseProgrammingErrors = false;
    InitApplication(argc, argv);
    StartOutcome outcome;
    try {
        PrepareProgramWindows(state);
        OneInstanceCreateWindow();
        outcome = TakeInCommandLine(args, state);
        Application->Run();
    } catch (const std::exception& e) {
        Complain(e.what());
        outcome.runFailed = true;
    }
    OneInstanceDestroyWindow();
    DoneApplication();
    return outcome.Status();
}
