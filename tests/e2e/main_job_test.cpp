// The program's main job from a shell: the real executable in a temporary program folder,
// started unattended with configurations, files and folders, always under a timeout.
#include <cstdlib>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <regex>
#include <thread>

#include "e2e/QuorbelProcess.h"

namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::tuple<std::string, std::string, std::string>>;

// A configuration file: each section once, its keys in the order given; UTF-8 with a mark.
std::string Configuration(const Entries& entries) {
    std::vector<std::pair<std::string, std::string>> sections;
    for (const auto& [section, key, value] : entries) {
        auto it = std::find_if(sections.begin(), sections.end(),
                               [&name = section](const auto& s) { return s.first == name; });
        if (it == sections.end()) it = sections.insert(sections.end(), {section, ""});
        it->second += key + "=" + value + "\r\n";
    }
    std::string text = "\xEF\xBB\xBF";
    for (const auto& [section, lines] : sections)
        text += "[" + section + "]\r\n" + lines;
    return text;
}

// Replace Search by Replacement in every file.
Entries Replacement(const std::string& search, const std::string& replacement) {
    return {{"PBCH", "act_ers_text", "1"},
            {"PBMM", "act_ers_text_suchen", search},
            {"PBMM", "act_ers_text_ersetzen", replacement}};
}

Entries operator+(Entries a, const Entries& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

bool Has(const std::vector<std::string>& events, const std::string& event) {
    return std::find(events.begin(), events.end(), event) != events.end();
}

class MainJob : public ::testing::Test {
protected:
    // A configuration in the program folder.
    void config(const std::string& name, const Entries& entries) {
        q.write(q.programFolder() / name, Configuration(entries));
    }
    std::string prog(const std::string& name) const { return (q.programFolder() / name).string(); }
    std::string work(const std::string& name) const { return (q.workFolder() / name).string(); }

    QuorbelProgram q;
};

TEST_F(MainJob, ConvertsUnattendedAndLogsInTheExactLineForm) {
    config("cfg.qvr", Replacement("hello", "world"));
    q.write("in/a.txt", "hello there\r\n");
    const ProcessResult r = q.run({"processandclose=1", "log=1", "cfg.qvr", "in/a.txt"});
    ASSERT_FALSE(r.timedOut) << r.errorText;
    EXPECT_EQ(r.exitCode, 0) << r.errorText;
    EXPECT_LT(r.seconds, 5.0);
    EXPECT_EQ(q.read("in/a-1.txt"), "world there\r\n");
    EXPECT_EQ(q.read("in/a.txt"), "hello there\r\n");
    const std::string log = q.read(q.programFolder() / "qvrprocess.log");
    const std::regex line(R"(\d\d\.\d\d\.\d{4}, \d\d:\d\d:\d\d [A-Z ]+\([^)]*\)\r\n)");
    for (size_t at = 0, end; at < log.size(); at = end + 1) {
        end = log.find('\n', at);
        ASSERT_NE(end, std::string::npos);
        EXPECT_TRUE(std::regex_match(log.substr(at, end + 1 - at), line)) << log;
    }
    const auto events = q.logEvents();
    EXPECT_TRUE(Has(events, "LOADED(" + prog("cfg.qvr") + ")")) << log;
    EXPECT_TRUE(Has(events, "PROCESSED(" + work("in/a-1.txt") + ")")) << log;
}

TEST_F(MainJob, MissingConfigurationIsNotFoundAndTheStartConfigurationApplies) {
    config("Auto.qvr", Replacement("hello", "auto"));
    // A relative configuration is looked for in the program folder, not the current one.
    q.write("cfg.qvr", Configuration(Replacement("hello", "wrong")));
    q.write("in/a.txt", "hello\r\n");
    const ProcessResult r = q.run({"processandclose=1", "log=1", "cfg.qvr", "in/a.txt"});
    ASSERT_FALSE(r.timedOut);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(q.read("in/a-1.txt"), "auto\r\n");
    EXPECT_TRUE(Has(q.logEvents(), "NOT FOUND(" + prog("cfg.qvr") + ")"));
}

TEST_F(MainJob, StartConfigurationIsLoadedBeforeTheFolders) {
    // Its subfolder choice decides what the folder argument adds.
    config("Auto.qvr", Replacement("hello", "auto") + Entries{{"PBCH", "inp_uv", "0"}});
    q.write("dir/x.txt", "hello\r\n");
    q.write("dir/sub/y.txt", "hello\r\n");
    const ProcessResult r = q.run({"processandclose=1", "dir"});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.errorText;
    EXPECT_EQ(q.read("dir/x-1.txt"), "auto\r\n");
    EXPECT_FALSE(fs::exists(work("dir/sub/y-1.txt")));
}

TEST_F(MainJob, UpperCaseExtensionIsATextAndOtherSwitchesAreIgnored) {
    config("cfg.qvr", Replacement("hello", "world"));
    q.write("B.QVR", "hello\r\n");
    q.write("ProcessAndClose=1", "hello\r\n");
    const ProcessResult r =
        q.run({"processandclose=1", "log=1", "cfg.qvr", "ProcessAndClose=1", "LOG=1", "B.QVR"});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.errorText;
    EXPECT_EQ(q.read("B-1.QVR"), "world\r\n");
    EXPECT_FALSE(fs::exists(work("ProcessAndClose=1-1")));
    EXPECT_FALSE(Has(q.logEvents(), "NOT FOUND(ProcessAndClose=1)"));

    // Written in other letters the switch starts no unattended run: nothing is converted
    // and the program waits silently until it is ended.
    q.write("in/a.txt", "hello\r\n");
    const ProcessResult idle = q.run({"silentmode=2", "ProcessAndClose=1", "cfg.qvr", "in/a.txt"},
                                     std::chrono::milliseconds(2500));
    EXPECT_TRUE(idle.timedOut);
    EXPECT_FALSE(fs::exists(work("in/a-1.txt")));
}

TEST_F(MainJob, TwoConfigurationsLoadInOrderTheLaterWinning) {
    config("Auto.qvr", Replacement("hello", "auto"));
    config("one.qvr", Replacement("hello", "one") + Entries{{"PBCH", "act_sonstige", "1"}});
    config("two.qvr", Replacement("hello", "two"));
    q.write("in/a.txt", "hello\r\n");
    const ProcessResult r = q.run({"processandclose=1", "log=1", "one.qvr", "two.qvr", "in/a.txt"});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.errorText;
    // The later replacement, and the letter case of the first that the second left alone.
    EXPECT_EQ(q.read("in/a-1.txt"), "TWO\r\n");
    const auto events = q.logEvents();
    const auto one = std::find(events.begin(), events.end(), "LOADED(" + prog("one.qvr") + ")");
    const auto two = std::find(events.begin(), events.end(), "LOADED(" + prog("two.qvr") + ")");
    EXPECT_LT(one, two);
    EXPECT_NE(two, events.end());
}

TEST_F(MainJob, SilentLevelsInEitherOrderConvertWithoutWindows) {
    config("cfg.qvr", Replacement("hello", "world"));
    for (const auto& args : {std::vector<std::string>{"processandclose=1", "silentmode=1"},
                             std::vector<std::string>{"silentmode=1", "processandclose=1"}}) {
        q.write("in/a.txt", "hello\r\n");
        fs::remove(work("in/a-1.txt"));
        std::vector<std::string> all = args;
        all.insert(all.end(), {"cfg.qvr", "in/a.txt"});
        const ProcessResult r = q.run(all);
        ASSERT_FALSE(r.timedOut);
        EXPECT_EQ(r.exitCode, 0) << r.errorText;
        EXPECT_EQ(q.read("in/a-1.txt"), "world\r\n");
    }
    // "silentmode=1" alone shows nothing and waits until it is ended.
    const ProcessResult silent = q.run({"silentmode=1"}, std::chrono::milliseconds(2000));
    EXPECT_TRUE(silent.timedOut);
}

TEST_F(MainJob, ExistingOutputsNeverBlock) {
    config("new.qvr", Replacement("hello", "new"));
    config("over.qvr", Replacement("hello", "over") +
                           Entries{{"PBRB", "out_overwrite", "1"}, {"PBRB", "out_newimage", "0"}});
    q.write("in/a.txt", "hello\r\n");
    q.write("in/a-1.txt", "older output\r\n");
    ProcessResult r = q.run({"processandclose=1", "new.qvr", "in/a.txt"});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.errorText;
    EXPECT_EQ(q.read("in/a-1.txt"), "new\r\n");
    r = q.run({"processandclose=1", "over.qvr", "in/a.txt"});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.errorText;
    EXPECT_EQ(q.read("in/a.txt"), "over\r\n");
}

TEST_F(MainJob, MissingOrUnreadableInputFailsTheRunButNotTheOthers) {
    config("cfg.qvr", Replacement("hello", "world"));
    q.write("in/a.txt", "hello\r\n");
    q.write("in/c.txt", "hello\r\n");
    std::vector<std::string> args{"processandclose=1", "log=1",          "cfg.qvr",
                                  "in/a.txt",          "in/missing.txt", "in/c.txt"};
    if (geteuid() != 0) { // root reads every file
        q.write("in/locked.txt", "hello\r\n");
        chmod(work("in/locked.txt").c_str(), 0);
        args.push_back("in/locked.txt");
    }
    const ProcessResult r = q.run(args);
    ASSERT_FALSE(r.timedOut);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(q.read("in/a-1.txt"), "world\r\n");
    EXPECT_EQ(q.read("in/c-1.txt"), "world\r\n");
    EXPECT_NE(r.errorText.find("not found: " + work("in/missing.txt")), std::string::npos)
        << r.errorText;
    const auto events = q.logEvents();
    EXPECT_TRUE(std::any_of(events.begin(), events.end(), [](const std::string& e) {
        return e.rfind("NOT FOUND(", 0) == 0 && e.find("in/missing.txt)") != std::string::npos;
    })) << q.read(q.programFolder() / "qvrprocess.log");
}

TEST_F(MainJob, ArgumentsThatAreNoDataFilesAreNotFoundAndNothingWaits) {
    config("cfg.qvr", Replacement("hello", "world"));
    q.write("in/a.txt", "hello\r\n");
    q.write("mixed/b.txt", "hello\r\n");
    ASSERT_EQ(mkfifo(work("in/fifo.txt").c_str(), 0600), 0); // no one ever writes it
    ASSERT_EQ(mkfifo(work("mixed/fifo.txt").c_str(), 0600), 0);
    fs::create_symlink(work("in/missing.txt"), work("in/dangling.txt"));
    fs::create_symlink("/proc/kmsg", work("in/kmsg.txt"));   // a read waits for the kernel
    fs::create_symlink("/dev/zero", work("mixed/zero.txt")); // a read never ends
    fs::create_symlink("/proc", work("mixed/kernel"));       // never searched
    ASSERT_EQ(mkfifo(prog("pipe.qvr").c_str(), 0600), 0);    // no configuration either
    const std::vector<std::string> notData = {"in/fifo.txt", "in/dangling.txt", "in/kmsg.txt",
                                              "/proc"};
    std::vector<std::string> args{"processandclose=1", "log=1",    "cfg.qvr",
                                  "pipe.qvr",          "in/a.txt", "mixed"};
    args.insert(args.end(), notData.begin(), notData.end());
    const ProcessResult r = q.run(args, std::chrono::seconds(30));
    ASSERT_FALSE(r.timedOut) << r.errorText;
    EXPECT_EQ(r.exitCode, 1) << r.errorText;
    EXPECT_EQ(q.read("in/a-1.txt"), "world\r\n");
    EXPECT_EQ(q.read("mixed/b-1.txt"), "world\r\n");
    std::vector<std::string> written;
    for (const char* folder : {"in", "mixed"})
        for (const auto& e : fs::directory_iterator(q.workFolder() / folder))
            if (e.path().stem().string().ends_with("-1")) written.push_back(e.path().string());
    EXPECT_EQ(written.size(), 2u);
    const auto events = q.logEvents();
    for (const std::string& arg : notData) {
        const std::string path = arg[0] == '/' ? arg : work(arg);
        EXPECT_NE(r.errorText.find("not found: " + path), std::string::npos) << r.errorText;
        EXPECT_TRUE(Has(events, "NOT FOUND(" + path + ")")) << path;
    }
    EXPECT_TRUE(Has(events, "NOT FOUND(" + prog("pipe.qvr") + ")"));
    EXPECT_TRUE(Has(events, "LOADED(" + prog("cfg.qvr") + ")"));
}

// Another program deletes the first listed file after the program listed it and before
// the run (at the moment the program opens the last file to list it): the run skips it,
// logs it "NOT FOUND", converts the other two and ends with exit status 1.
TEST_F(MainJob, FileDeletedBetweenListingAndRunIsSkippedAndFailsTheRun) {
    config("cfg.qvr", Replacement("hello", "world"));
    for (const char* name : {"in/a.txt", "in/b.txt", "in/c.txt"})
        q.write(name, "hello\r\n");
    // Under AddressSanitizer the preloaded library comes before its runtime, which it
    // refuses unless told that the order is meant.
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string asanOptions =
        std::string(asan ? asan : "") + (asan && *asan ? ":" : "") + "verify_asan_link_order=0";
    const ProcessResult r =
        q.run({"processandclose=1", "log=1", "cfg.qvr", "in/a.txt", "in/b.txt", "in/c.txt"},
              std::chrono::seconds(20),
              {{"LD_PRELOAD", QUORBEL_TEST_PROGRAMS "/libdelete_on_open.so"},
               {"ASAN_OPTIONS", asanOptions},
               {"DELETE_ON_OPEN_TRIGGER", work("in/c.txt")},
               {"DELETE_ON_OPEN_TARGET", work("in/a.txt")}});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 1) << r.errorText;
    EXPECT_FALSE(fs::exists(work("in/a.txt"))); // the other program did its part
    // It was there when the program listed it.
    EXPECT_EQ(r.errorText.find("not found: " + work("in/a.txt")), std::string::npos) << r.errorText;
    EXPECT_FALSE(fs::exists(work("in/a-1.txt")));
    EXPECT_EQ(q.read("in/b-1.txt"), "world\r\n");
    EXPECT_EQ(q.read("in/c-1.txt"), "world\r\n");
    const auto events = q.logEvents();
    const std::vector<std::string> expected{
        "LOADED(" + prog("cfg.qvr") + ")", "NOT FOUND(" + work("in/a.txt") + ")",
        "PROCESSED(" + work("in/b-1.txt") + ")", "PROCESSED(" + work("in/c-1.txt") + ")"};
    EXPECT_EQ(events, expected) << q.read(q.programFolder() / "qvrprocess.log");
}

// Scripts read standard error: a successful unattended run leaves it empty, whether the
// start window is shown for a tick or the progress window at silent level 1, whether a
// runtime folder is set or not, and for a picture output too.
TEST_F(MainJob, SuccessfulUnattendedRunsLeaveStandardErrorEmpty) {
    config("cfg.qvr", Replacement("hello", "world"));
    config("bmp.qvr", Replacement("hello", "world") + Entries{{"PBCB", "out_format", ".bmp"}});
    struct Case {
        std::vector<std::string> args;
        bool runtimeFolder;
        const char* output;
    };
    const Case cases[] = {
        {{"processandclose=1", "cfg.qvr"}, true, "in/a-1.txt"},
        {{"processandclose=1", "cfg.qvr"}, false, "in/a-1.txt"},
        {{"processandclose=1", "silentmode=1", "cfg.qvr"}, true, "in/a-1.txt"},
        {{"processandclose=1", "silentmode=1", "cfg.qvr"}, false, "in/a-1.txt"},
        {{"processandclose=1", "log=1", "bmp.qvr"}, false, "in/a-1.bmp"},
    };
    for (const Case& c : cases) {
        std::string what;
        for (const std::string& arg : c.args)
            what += arg + " ";
        what += c.runtimeFolder ? "with a runtime folder" : "without XDG_RUNTIME_DIR";
        q.write("in/a.txt", "hello\r\n");
        fs::remove(work(c.output));
        std::vector<std::string> args = c.args;
        args.push_back("in/a.txt");
        std::map<std::string, std::string> env;
        if (!c.runtimeFolder) env["XDG_RUNTIME_DIR"] = "";
        const ProcessResult r = q.run(args, std::chrono::seconds(20), env);
        ASSERT_FALSE(r.timedOut) << what;
        EXPECT_EQ(r.exitCode, 0) << what << ": " << r.errorText;
        EXPECT_TRUE(fs::exists(work(c.output))) << what;
        EXPECT_EQ(r.errorText, "") << what;
    }
}

TEST_F(MainJob, FailedRunAndMissingDisplayAreNonZero) {
    // An output folder that is no valid path: the run refuses to start.
    config("bad.qvr", Replacement("hello", "world") + Entries{{"PBCB", "out_ordner", "rel<>"}});
    q.write("in/a.txt", "hello\r\n");
    ProcessResult r = q.run({"processandclose=1", "bad.qvr", "in/a.txt"});
    ASSERT_FALSE(r.timedOut);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.errorText.find("could not start"), std::string::npos) << r.errorText;

    // A start that would show windows on a machine without display says so.
    r = q.run({"in/a.txt"}, std::chrono::seconds(10));
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.errorText.find("needs a display"), std::string::npos) << r.errorText;

    // Nothing to convert is no failure.
    r = q.run({"processandclose=1"});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.errorText;
}

} // namespace
