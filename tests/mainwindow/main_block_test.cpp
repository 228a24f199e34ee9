// The main block's reading of the command line: switches (whole, exact, case-sensitive,
// the last silent one winning), which arguments are configurations, when the program
// takes Qt's offscreen platform by itself, and the exit status.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "mainwindow/MainBlock.h"

namespace {

TWideStrArray Args(std::initializer_list<const char16_t*> list) {
    return TWideStrArray(list.begin(), list.end());
}

TEST(MainBlock, SwitchesAreExactAndTheLastSilentOneWins) {
    struct Case {
        TWideStrArray args;
        bool close, log;
        SilentLevel silent;
    };
    using enum SilentLevel;
    const Case cases[] = {
        {Args({}), false, false, Interactive},
        {Args({u"processandclose=1"}), true, false, NoWindow},
        {Args({u"processandclose=1", u"silentmode=1"}), true, false, NoMessages},
        {Args({u"silentmode=1", u"processandclose=1"}), true, false, NoWindow},
        {Args({u"silentmode=2", u"silentmode=1", u"log=1"}), false, true, NoMessages},
        {Args({u"ProcessAndClose=1", u"LOG=1", u"silentmode=1 ", u"log=1.qvr"}), false, false,
         Interactive},
        {Args({u"a.txt", u"log=1", u"b.qvr"}), false, true, Interactive},
    };
    for (const Case& c : cases) {
        const StartSwitches s = ReadStartSwitches(c.args);
        EXPECT_EQ(s.ProcessAndClose, c.close) << c.args.size();
        EXPECT_EQ(s.ProcessLogEnabled, c.log) << c.args.size();
        EXPECT_EQ(s.Silent, c.silent) << c.args.size();
    }
}

TEST(MainBlock, ConfigurationsByTheirExactExtension) {
    for (const char16_t* yes : {u"cfg.qvr", u"/a/b.c/cfg.qvr", u".qvr", u"sub/x.y.qvr"})
        EXPECT_TRUE(IsConfigurationArgument(yes)) << U8(yes);
    for (const char16_t* no :
         {u"B.QVR", u"a.Qvr", u"a.qvr.txt", u"dir.qvr/file", u"qvr", u"a.qvr "})
        EXPECT_FALSE(IsConfigurationArgument(no)) << U8(no);
}

TEST(MainBlock, OffscreenOnlyWithoutDisplayForStartsThatShowNothing) {
    using enum DisplayChoice;
    struct Case {
        std::map<std::string, std::string> env;
        TWideStrArray args;
        DisplayChoice choice;
    };
    const Case cases[] = {
        {{{"DISPLAY", ":0"}}, Args({}), Display},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, Args({u"processandclose=1"}), Display},
        {{}, Args({u"processandclose=1", u"log=1"}), Offscreen},
        {{}, Args({u"silentmode=1"}), Offscreen},
        {{}, Args({u"silentmode=2"}), Offscreen},
        {{{"DISPLAY", ""}}, Args({u"a.txt"}), Missing},
        {{}, Args({u"ProcessAndClose=1", u"log=1"}), Missing},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, Args({}), Display},
    };
    for (const Case& c : cases) {
        auto env = [&](const char* name) -> const char* {
            auto it = c.env.find(name);
            return it == c.env.end() ? nullptr : it->second.c_str();
        };
        EXPECT_EQ(ChooseDisplay(c.args, env), c.choice) << c.args.size();
    }
}

TEST(MainBlock, ExitStatusIsNonZeroForEveryKindOfFailure) {
    EXPECT_EQ(StartOutcome{}.Status(), ExitSucceeded);
    StartOutcome notFound, load, run, conversion;
    notFound.notFound = 1;
    load.loadFailures = 1;
    run.runFailed = true;
    conversion.conversionFailures = 2;
    for (const StartOutcome& o : {notFound, load, run, conversion})
        EXPECT_EQ(o.Status(), ExitFailed);
}

} // namespace
