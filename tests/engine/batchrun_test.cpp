#include "engine/BatchRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>

#include "FakeRun.h"
#include "TempFolder.h"
#include "engine/InputListColumns.h"
#include "support/ScopedHook.h"
#include "text/TextFiles.h"

namespace {

namespace fs = std::filesystem;

// While a test sets it: the files this program flushes to disk ("sync path") and deletes
// ("delete path"), in order.
std::vector<std::string>* fileEvents = nullptr;

std::string pathOfHandle(int fd) {
    char target[4096];
    const ssize_t n =
        readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
}

} // namespace

// This program's own fsync and unlink come before the C library's, so every call of the
// code under test passes here.
extern "C" int fsync(int fd) {
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    if (fileEvents) fileEvents->push_back("sync " + pathOfHandle(fd));
    return real(fd);
}

extern "C" int unlink(const char* path) {
    static const auto real = reinterpret_cast<int (*)(const char*)>(dlsym(RTLD_NEXT, "unlink"));
    if (fileEvents) fileEvents->push_back(std::string("delete ") + path);
    return real(path);
}

namespace {

class BatchRunTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directories(folder / "prog");
        state.emplace(dir() + u"prog/");
        state->ProcessLogEnabled = true;
    }

    // An empty folder (with the program folder) and an empty input list; with fresh, the
    // settings go back to their design values too.
    void startOver(bool fresh) {
        fs::remove_all(folder);
        fs::create_directories(folder / "prog");
        if (fresh)
            s = MemorySettings();
        else
            s.SetRows({"Tprog", "qulist"}, {});
        ui.messages.clear();
    }
    // Puts the files into the folder and into the input list, status "New".
    void addFiles(std::initializer_list<std::pair<const char*, std::string>> files) {
        std::vector<ListRow> rows = s.Rows({"Tprog", "qulist"});
        for (const auto& [name, bytes] : files) {
            const WideString path = write(name, bytes);
            rows.push_back({U16(name), {u"TXT", u"Text", u"", u"1 KB", u"New", path, u"0"}});
        }
        s.SetRows({"Tprog", "qulist"}, rows);
    }
    // A run as the window starts one: an engine built from the program state now.
    void run(SilentLevel silent = SilentLevel::Interactive,
             TextEncodingCode outputCodePage = teUTF8) {
        state->Silent = silent;
        state->AusgabeCodepage = outputCodePage;
        engine = std::make_unique<ConversionEngine>(s, ui, *state);
        batch = std::make_unique<BatchRun>(*engine);
        batch->durchfuehrenClick(&sender);
    }
    std::string read(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        std::stringstream b;
        b << in.rdbuf();
        return b.str();
    }
    bool exists(const std::string& name) const { return fs::exists(folder / name); }
    std::string path(const std::string& name) const { return (folder / name).string(); }
    std::string log() const { return read("prog/qvrprocess.log"); }
    // The log's events, "EVENT(path)" each.
    std::vector<std::string> logEvents() const {
        std::vector<std::string> events;
        std::istringstream in(log());
        std::string line;
        const std::regex form(R"(^\d\d\.\d\d\.\d{4}, \d\d:\d\d:\d\d (.*)\r$)");
        while (std::getline(in, line)) {
            std::smatch m;
            EXPECT_TRUE(std::regex_match(line, m, form)) << line;
            events.push_back(m[1]);
        }
        return events;
    }
    void replaceText(const char* search, const char* replacement) {
        s.SetChecked({"Tprog", "act_ers_text"}, true);
        s.SetText({"Tprog", "act_ers_text_suchen"}, search);
        s.SetText({"Tprog", "act_ers_text_ersetzen"}, replacement);
    }
    // The window is given back after every run.
    void expectWindowRestored() {
        EXPECT_TRUE(ui.enabled);
        EXPECT_FALSE(ui.progressShown);
        EXPECT_EQ(ui.updateDepth, 0);
        EXPECT_GE(ui.answerResets, 1);
    }

    MemorySettings s;
    FakeRun ui{s};
    std::optional<ProgramState> state; // the program folder "prog/", the log on
    int sender = 0;
    std::unique_ptr<ConversionEngine> engine;
    std::unique_ptr<BatchRun> batch;
};

TEST_F(BatchRunTest, NormalRoadWritesOneOutputPerFile) {
    addFiles({{"a.txt", "x1"}, {"b.dat", "x2\r\n"}});
    replaceText("x", "y");
    run();
    EXPECT_EQ(read("a-1.txt"), "y1");
    EXPECT_EQ(read("b-1.dat"), "y2\r\n");
    EXPECT_EQ(read("a.txt"), "x1");
    EXPECT_EQ(ui.status(0), u"Changed");
    EXPECT_EQ(s.Rows({"Tprog", "qulist"})[1].SubItem(InputListColumn::Codepage), u"UTF-8");
    EXPECT_EQ(logEvents(), (std::vector<std::string>{"PROCESSED(" + path("a-1.txt") + ")",
                                                     "PROCESSED(" + path("b-1.dat") + ")"}));
    EXPECT_EQ(ui.progressMaximum, 2);
    EXPECT_EQ(ui.progressPosition, 2);
    EXPECT_EQ(ui.lastSender, &sender);
    EXPECT_EQ(ui.countLabelWrites, 1);
    EXPECT_EQ(ui.focused, 1);
    EXPECT_TRUE(ui.messages.empty());
    expectWindowRestored();
}

TEST_F(BatchRunTest, RunCounterCountsAcrossFilesOfOneRun) {
    addFiles({{"a.txt", "%numfa%"}, {"b.txt", "%numfa%"}});
    s.SetChecked({"Tprog", "act_konstanten"}, true);
    run();
    EXPECT_EQ(read("a-1.txt"), "1");
    EXPECT_EQ(read("b-1.txt"), "2");
    // The next run starts again; the outputs exist, the question says yes.
    run();
    EXPECT_EQ(read("a-1.txt"), "1");
    EXPECT_EQ(ui.asked.size(), 2u);
}

TEST_F(BatchRunTest, OnlyIfChangedWritesAndDeletesNothing) {
    addFiles({{"a.txt", "same"}});
    s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
    run();
    EXPECT_FALSE(exists("a-1.txt"));
    EXPECT_EQ(read("a.txt"), "same");
    EXPECT_EQ(ui.status(0), u"Not Changed");
    // The encoding change ticked: every file is written.
    s.SetChecked({"Tprog", "act_convert"}, true);
    run();
    EXPECT_EQ(read("a-1.txt"), "same");
    EXPECT_FALSE(exists("a.txt"));
    EXPECT_EQ(s.RowCount({"Tprog", "qulist"}), 0u); // its file is gone: the row is removed
}

TEST_F(BatchRunTest, OnlyIfChangedComparesTextsOfTheFilesLength) {
    // Of a long text the run keeps only the length beside the converted one: a text of the
    // same length is compared with the file read again. Short texts are kept whole.
    const std::string longText = std::string(1200000, '.') + "a fox";
    const std::string longCat = std::string(1200000, '.') + "a cat";
    struct Case {
        const char* bytes;
        std::vector<std::pair<const char16_t*, const char16_t*>> replacements;
        const char* status;
        const char* output; // nullptr: none written
    } cases[] = {
        {"a fox", {{u"fox", u"cat"}}, "Changed", "a cat"},
        {"a fox", {{u"fox", u"cat"}, {u"cat", u"fox"}}, "Not Changed", nullptr},
        {"a fox", {{u"fox", u"wolf"}}, "Changed", "a wolf"},
        {"a fox", {{u"x", u""}, {u"fo", u"fox"}}, "Not Changed", nullptr},
        {longText.c_str(), {{u"fox", u"cat"}}, "Changed", longCat.c_str()},
        {longText.c_str(), {{u"fox", u"cat"}, {u"cat", u"fox"}}, "Not Changed", nullptr},
        {longText.c_str(), {{u"x", u""}, {u"fo", u"fox"}}, "Not Changed", nullptr},
        {"\xEF\xBB\xBF"
         "a f\xC3\xB6"
         "x",
         {{u"f\u00f6x", u"cat"}},
         "Changed",
         "\xEF\xBB\xBF"
         "a cat"},
    };
    for (const Case& c : cases) {
        startOver(true);
        addFiles({{"a.txt", c.bytes}});
        s.SetChecked({"Tprog", "act_ers_text"}, true);
        std::vector<ListRow> rows;
        for (const auto& [search, replacement] : c.replacements)
            rows.push_back({search, {replacement, u"-"}});
        s.SetRows({"Tprog", "act_ers_text_liste"}, rows);
        run();
        const std::string name = std::string(c.bytes).substr(0, 20);
        EXPECT_EQ(U8(ui.status(0)), c.status) << name;
        EXPECT_EQ(exists("a-1.txt"), c.output != nullptr) << name;
        if (c.output) {
            EXPECT_TRUE(read("a-1.txt") == c.output) << name;
        }
        EXPECT_TRUE(read("a.txt") == c.bytes) << name;
    }
    // A conversion that fails gives the file's text back: nothing changed.
    startOver(true);
    addFiles({{"c.csv", "7;x"}});
    s.SetChecked({"Tprog", "act_csv"}, true);
    s.SetChecked({"Tprog", "act_csv_calc"}, true);
    s.SetRows({"Tcsv_editing", "csv_liste"}, {{u"1", {u"CALC", u"DIV", u"0"}}});
    run();
    EXPECT_EQ(U8(ui.status(0)), "Not Changed");
    EXPECT_FALSE(exists("c-1.csv"));
    EXPECT_EQ(ui.messageKeys(), std::vector<std::string>{"konvertierfehler"});
}

TEST_F(BatchRunTest, OnlyMarkedRows) {
    addFiles({{"a.txt", "x"}, {"b.txt", "x"}});
    auto rows = s.Rows({"Tprog", "qulist"});
    rows[1].subItems[4] = u"New, Marked";
    s.SetRows({"Tprog", "qulist"}, rows);
    s.SetChecked({"Tprog", "out_onlyselected"}, true);
    replaceText("x", "y");
    run();
    EXPECT_FALSE(exists("a-1.txt"));
    EXPECT_EQ(read("b-1.txt"), "y");
    EXPECT_EQ(ui.status(1), u"Changed, Marked");
}

TEST_F(BatchRunTest, StartChecks) {
    struct Case {
        const char *folder, *name;
        bool split;
        const char* key; // empty: the run goes ahead
    };
    const Case cases[] = {
        {"", "%name%", false, "keinordner"},
        {"relative/folder", "%name%", false, "ordnerfalsch"},
        {"%ordner%/a?b", "%name%", false, "ordnerfalsch"},
        {"<keep>", "", false, "keinname"},
        {"<beibehalten>", "%name%-1", true, "keinsplittrenner"},
        {"%ordner%/neu", "%name%-1", false, ""},
        {"%folder%//neu2/", "%name%-1", false, ""},
    };
    addFiles({{"a.txt", "x"}});
    s.SetChecked({"Tprog", "act_convert"}, true);
    for (const Case& c : cases) {
        ui.messages.clear();
        s.SetText({"Tprog", "out_ordner"}, c.folder);
        s.SetText({"Tprog", "out_name"}, c.name);
        s.SetChecked({"Tprog", "act_dateisplit"}, c.split);
        run();
        if (*c.key) {
            EXPECT_EQ(ui.messageKeys(), std::vector<std::string>{c.key}) << c.folder;
            // Only the refused folder has a path line; it names the folder as typed.
            const std::string named = std::string_view(c.key) == "ordnerfalsch" ? c.folder : "";
            if (!ui.messages.empty()) {
                EXPECT_EQ(U8(ui.messages[0].second), named) << c.folder;
            }
        } else {
            EXPECT_TRUE(ui.messages.empty()) << c.folder;
        }
    }
    EXPECT_EQ(read("neu/a-1.txt"), "x");
    EXPECT_EQ(read("neu2/a-1.txt"), "x");
    // An empty list ends the run silently.
    s.SetRows({"Tprog", "qulist"}, {});
    ui.messages.clear();
    run();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.countLabelWrites, 2);
}

TEST_F(BatchRunTest, OverwriteQuestion) {
    addFiles({{"a.txt", "new a"}, {"b.txt", "new b"}, {"c.txt", "new c"}});
    write("a-1.txt", "old");
    write("b-1.txt", "old");
    write("c-1.txt", "old");
    s.SetChecked({"Tprog", "act_convert"}, true);
    ui.answers = {OverwriteAnswer::No, OverwriteAnswer::Yes, OverwriteAnswer::No};
    run();
    EXPECT_EQ(read("a-1.txt"), "old");
    EXPECT_EQ(read("b-1.txt"), "new b");
    EXPECT_EQ(read("c-1.txt"), "old");
    EXPECT_EQ(ui.status(0), u"New"); // skipped: untouched
    EXPECT_EQ(ui.asked.size(), 3u);
    EXPECT_EQ(ui.asked[0], U16(path("a-1.txt")));

    // "No for all" skips every later existing file without asking; "yes for all" is
    // forgotten at the end of the run.
    write("b-1.txt", "old");
    ui.asked.clear();
    ui.answers = {OverwriteAnswer::NoForAll};
    run();
    EXPECT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(read("b-1.txt"), "old");
    ui.asked.clear();
    ui.answers = {OverwriteAnswer::YesForAll};
    run();
    EXPECT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(read("c-1.txt"), "new c");
    ui.asked.clear();
    ui.answers = {OverwriteAnswer::No, OverwriteAnswer::No, OverwriteAnswer::No};
    run();
    EXPECT_EQ(ui.asked.size(), 3u);
}

TEST_F(BatchRunTest, CancelOnTheQuestionEndsTheRun) {
    addFiles({{"a.txt", "new a"}, {"b.txt", "new b"}});
    write("a-1.txt", "old");
    s.SetChecked({"Tprog", "act_convert"}, true);
    s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
    ui.answers = {OverwriteAnswer::Cancel};
    run();
    EXPECT_EQ(read("a-1.txt"), "old");
    EXPECT_FALSE(exists("b-1.txt"));
    EXPECT_TRUE(exists("a.txt"));
    EXPECT_EQ(ui.countLabelWrites, 0); // the end steps did not run
    EXPECT_EQ(ui.status(0), u"New");
    expectWindowRestored();
}

TEST_F(BatchRunTest, CancelButtonStopsAfterTheCurrentFile) {
    addFiles({{"a.txt", "a"}, {"b.txt", "b"}, {"c.txt", "c"}});
    s.SetChecked({"Tprog", "act_convert"}, true);
    ui.cancelAtPosition = 1;
    run();
    EXPECT_TRUE(exists("a-1.txt"));
    EXPECT_FALSE(exists("b-1.txt"));
    EXPECT_FALSE(ui.cancel);
    EXPECT_EQ(ui.countLabelWrites, 0);
    expectWindowRestored();
}

TEST_F(BatchRunTest, PumpingRule) {
    for (int i = 0; i < 30; ++i)
        addFiles({{("f" + std::to_string(100 + i) + ".txt").c_str(), "x"}});
    run();
    std::vector<int> expected;
    for (int i = 0; i < 25; ++i)
        expected.push_back(i);
    EXPECT_EQ(ui.pumpedAt, expected);
}

TEST_F(BatchRunTest, UnattendedOverwriteDoesNotAsk) {
    addFiles({{"a.txt", "x"}, {"b.txt", "x"}});
    s.SetChecked({"Tprog", "out_overwrite"}, true);
    replaceText("x", "y");
    run(SilentLevel::NoMessages);
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(read("a.txt"), "y");
    EXPECT_EQ(read("b.txt"), "y");
    EXPECT_EQ(ui.previewReloads, 1);
    // Level 2 shows no window at all.
    replaceText("y", "z");
    ui.progressMaximum = -1;
    run(SilentLevel::NoWindow);
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(read("a.txt"), "z");
    EXPECT_EQ(ui.progressMaximum, -1);
}

TEST_F(BatchRunTest, FailedSaveKeepsTheSource) {
    addFiles({{"a.txt", "x"}, {"b.txt", "x"}});
    fs::create_directories(folder / "a-1.txt"); // a folder where the output should go
    s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
    replaceText("x", "y");
    run();
    EXPECT_EQ(read("a.txt"), "x");
    EXPECT_EQ(ui.status(0), u"New");
    EXPECT_EQ(ui.messageKeys(), std::vector<std::string>{"speicherfehler"});
    EXPECT_EQ(ui.messages[0].second, U16(path("a-1.txt")));
    // The run went on with the next file.
    EXPECT_EQ(read("b-1.txt"), "y");
    EXPECT_FALSE(exists("b.txt"));
    EXPECT_EQ(logEvents(), (std::vector<std::string>{"PROCESS ERROR(" + path("a-1.txt") + ")",
                                                     "PROCESSED(" + path("a-1.txt") + ")",
                                                     "PROCESSED(" + path("b-1.txt") + ")"}));
    EXPECT_EQ(batch->FailureCount(), 1);
}

// The run pumps messages between files; a folder watch, a drop or the user may add,
// remove and reorder rows meanwhile. The run converts the files it read at its start and
// writes the status of exactly those rows, found by their path.
TEST_F(BatchRunTest, RowsChangedWhileTheRunPumpsAreFoundByPath) {
    struct Case {
        const char* what;
        int changeAtPump; // the pump (before the file of that index) that changes the list
    };
    for (const Case& c : {Case{"before the second file", 1}, Case{"before the last file", 3}}) {
        startOver(true);
        addFiles({{"a.txt", "x"}, {"b.txt", "x"}, {"c.txt", "x"}, {"d.txt", "x"}});
        const WideString added = write("e.txt", "x");
        int pumps = 0;
        ui.onPump = [&] {
            if (pumps++ != c.changeAtPump) return;
            std::vector<ListRow> rows = s.Rows({"Tprog", "qulist"});
            std::erase_if(rows, [&](const ListRow& r) {
                return r.SubItem(InputListColumn::Path) == U16(path("c.txt"));
            });
            std::reverse(rows.begin(), rows.end());
            rows.insert(rows.begin() + 1,
                        {u"e.txt", {u"TXT", u"Text", u"", u"1 KB", u"New", added, u"0"}});
            s.SetRows({"Tprog", "qulist"}, rows);
        };
        replaceText("x", "y");
        run();
        ui.onPump = nullptr;
        for (const char* name : {"a.txt", "b.txt", "d.txt"})
            EXPECT_EQ(ui.statusOf(U16(path(name))), u"Changed") << c.what << ": " << name;
        EXPECT_EQ(ui.statusOf(added), u"New") << c.what;
        EXPECT_EQ(ui.statusOf(U16(path("c.txt"))), u"") << c.what; // removed by the user
        EXPECT_EQ(s.RowCount({"Tprog", "qulist"}), 4u) << c.what;
        EXPECT_TRUE(exists("c-1.txt")) << c.what; // read at the start, converted
        EXPECT_FALSE(exists("e-1.txt")) << c.what;
    }
}

// A programming error is no fault of the user's file: it fails the test (raised out of
// the run, the window given back); the shipped program reports it with its cause.
TEST_F(BatchRunTest, ProgrammingErrorsAreRaisedOrReportedWithTheirCause) {
    class FaultyView : public MemorySettings {
    public:
        bool Checked(CheckKey key) const override {
            if (key == CheckKey{"Tprog", "act_html"}) throw UnknownSetting("no act_html here");
            return MemorySettings::Checked(key);
        }
    };
    FaultyView faulty;
    FakeRun faultyUi{faulty};
    faulty.SetRows(
        {"Tprog", "qulist"},
        {{u"a.txt", {u"TXT", u"Text", u"", u"1 KB", u"New", write("a.txt", "x"), u"0"}}});
    ConversionEngine raising(faulty, faultyUi, *state);
    BatchRun raisingRun(raising);
    EXPECT_THROW(raisingRun.durchfuehrenClick(nullptr), UnknownSetting);
    EXPECT_TRUE(faultyUi.enabled);
    EXPECT_FALSE(faultyUi.progressShown);
    EXPECT_EQ(faultyUi.updateDepth, 0);

    state->RaiseProgrammingErrors = false;
    ConversionEngine reporting(faulty, faultyUi, *state);
    BatchRun reportingRun(reporting);
    reportingRun.durchfuehrenClick(nullptr);
    EXPECT_EQ(faultyUi.messageKeys(), std::vector<std::string>{"konvertierfehler"});
    ASSERT_EQ(faultyUi.programErrors.size(), 1u);
    EXPECT_EQ(faultyUi.programErrors[0].first, "no act_html here");
    EXPECT_EQ(faultyUi.programErrors[0].second, U16(path("a.txt")));
    EXPECT_EQ(logEvents(),
              (std::vector<std::string>{"CONVERT ERROR(" + path("a.txt") + ")",
                                        "PROGRAM ERROR: no act_html here(" + path("a.txt") + ")",
                                        "PROCESSED(" + path("a-1.txt") + ")"}));
    // The text came back unchanged, as from any failed conversion: nothing to write.
    EXPECT_FALSE(exists("a-1.txt"));
    EXPECT_EQ(reportingRun.FailureCount(), 1);
}

// An output written under another spelling of its source's path (a folder link, "./",
// "../") is the source: "delete originals" must not delete it.
TEST_F(BatchRunTest, OutputThatIsTheSourceIsNotDeleted) {
    struct Case {
        const char* what;
        bool merge, split;
        std::string folder; // output folder below the test folder
    };
    const Case cases[] = {
        {"dot", false, false, "./"},
        {"dot-dot", false, false, "sub/../"},
        {"link", false, false, "link/"},
        {"merge over the first file through a link", true, false, "link/"},
        {"split piece over the source through dot", false, true, "./"},
    };
    for (const Case& c : cases) {
        startOver(true);
        fs::create_directories(folder / "sub");
        fs::create_directory_symlink(folder, folder / "link");
        ui.messages.clear();
        if (c.split)
            addFiles({{"a 1.txt", "x|"}});
        else
            addFiles({{"a.txt", "x"}, {"b.txt", "x"}});
        s.SetText({"Tprog", "out_ordner"}, path(c.folder));
        s.SetText({"Tprog", "out_name"}, c.split ? "a" : "%name%");
        s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
        s.SetChecked({"Tprog", "act_dateizus"}, c.merge);
        s.SetChecked({"Tprog", "act_dateisplit"}, c.split);
        s.SetText({"Tprog", "act_dateisplit_text"}, "|");
        s.SetChecked({"Tprog", "act_dateisplit_min"}, false);
        replaceText("x", "y");
        run(SilentLevel::NoMessages);
        if (c.split) {
            EXPECT_EQ(read("a 1.txt"), "y") << c.what;
        } else if (c.merge) {
            EXPECT_EQ(read("a.txt"), "y\r\ny") << c.what;
            EXPECT_FALSE(exists("b.txt")) << c.what;
        } else {
            EXPECT_EQ(read("a.txt"), "y") << c.what;
            EXPECT_EQ(read("b.txt"), "y") << c.what;
        }
    }
}

// An output whose name is that of a file later in the list would lose that file before it
// is read (unattended runs write without asking): it is reported and not written.
TEST_F(BatchRunTest, OutputNeverReplacesAnInputStillToBeRead) {
    struct Case {
        const char* what;
        bool split;
        std::vector<std::pair<std::string, std::string>> kept; // file, contents after the run
        std::string reported;                                  // the output refused
    };
    const Case cases[] = {
        // a.txt is kept, its output refused; a-1.txt is converted in its turn.
        {"normal", false, {{"a.txt", "x"}, {"a-1-1.txt", "zy"}}, "a-1.txt"},
        {"split", true, {{"a.txt", "p|q"}, {"a-1 1-1 1.txt", "zy"}}, "a-1 1.txt"},
    };
    for (const Case& c : cases) {
        startOver(true);
        if (c.split)
            addFiles({{"a.txt", "p|q"}, {"a-1 1.txt", "zx"}});
        else
            addFiles({{"a.txt", "x"}, {"a-1.txt", "zx"}});
        s.SetChecked({"Tprog", "act_dateisplit"}, c.split);
        s.SetText({"Tprog", "act_dateisplit_text"}, "|");
        s.SetChecked({"Tprog", "act_dateisplit_min"}, false);
        s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
        replaceText("x", "y");
        run(SilentLevel::NoMessages);
        for (const auto& [name, bytes] : c.kept)
            EXPECT_EQ(read(name), bytes) << c.what << ": " << name;
        EXPECT_EQ(ui.messageKeys(), std::vector<std::string>{"speicherfehler"}) << c.what;
        if (!ui.messages.empty()) {
            EXPECT_EQ(U8(ui.messages[0].second), path(c.reported));
        }
        EXPECT_EQ(logEvents()[0], "PROCESS ERROR(" + path(c.reported) + ")") << c.what;
    }
    // The run's own source may be written over.
    startOver(true);
    addFiles({{"a.txt", "x"}, {"b.txt", "x"}});
    s.SetChecked({"Tprog", "out_overwrite"}, true);
    replaceText("x", "y");
    run(SilentLevel::NoMessages);
    EXPECT_EQ(read("a.txt"), "y");
    EXPECT_EQ(read("b.txt"), "y");
}

// The renderer shows its own message ("bildfehler"): the run adds none, logs the failure
// and keeps the source.
TEST_F(BatchRunTest, FailedPictureSaveIsAFailedSave) {
    addFiles({{"a.txt", "x"}});
    s.SetText({"Tprog", "out_format"}, ".gif");
    s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
    {
        ScopedHook failing(SetTextPictureRenderer,
                           [](const WideString&, const WideString&) { return false; });
        replaceText("x", "y");
        run();
    }
    EXPECT_TRUE(exists("a.txt"));
    EXPECT_EQ(ui.status(0), u"New");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(logEvents()[0], "PROCESS ERROR(" + path("a-1.gif") + ")");
    EXPECT_EQ(batch->FailureCount(), 1); // an unattended run ends with a failure status
}

// A listed file that vanished before its turn is skipped, logged "NOT FOUND" and counted
// as a failure; the run goes on with the next row in every road, the end removes the
// missing rows, and one message names the first and the count (none at silent level 2).
TEST_F(BatchRunTest, VanishedFileIsSkippedAndTheRunGoesOn) {
    enum Road { Normal, Merge, Split };
    struct Case {
        Road road;
        std::vector<std::string> gone;
        SilentLevel silent;
        std::vector<std::pair<std::string, std::string>> outputs; // name, text
    };
    const Case cases[] = {
        {Normal, {"a.txt"}, SilentLevel::Interactive, {{"b-1.txt", "y2|y2"}, {"c-1.txt", "y3|y3"}}},
        {Normal, {"b.txt", "c.txt"}, SilentLevel::Interactive, {{"a-1.txt", "y1|y1"}}},
        {Normal, {"a.txt"}, SilentLevel::NoWindow, {{"b-1.txt", "y2|y2"}, {"c-1.txt", "y3|y3"}}},
        // The merged text is named after the first file taken into it.
        {Merge, {"a.txt"}, SilentLevel::Interactive, {{"b-1.txt", "y2|y2y3|y3"}}},
        {Merge, {"b.txt"}, SilentLevel::Interactive, {{"a-1.txt", "y1|y1y3|y3"}}},
        {Split, {"a.txt"}, SilentLevel::Interactive, {{"b-1 2.txt", "y2"}, {"c-1 2.txt", "y3"}}},
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.road) + " without " + c.gone[0];
        startOver(true);
        ui.notFound.clear();
        addFiles({{"a.txt", "x1|x1"}, {"b.txt", "x2|x2"}, {"c.txt", "x3|x3"}});
        for (const std::string& name : c.gone)
            fs::remove(folder / name);
        replaceText("x", "y");
        s.SetChecked({"Tprog", "act_dateizus"}, c.road == Merge);
        s.SetChecked({"Tprog", "act_dateizus_absatz"}, false);
        s.SetChecked({"Tprog", "act_dateisplit"}, c.road == Split);
        s.SetText({"Tprog", "act_dateisplit_text"}, "|");
        s.SetChecked({"Tprog", "act_dateisplit_min"}, false);
        run(c.silent);

        for (const auto& [name, text] : c.outputs)
            EXPECT_EQ(read(name), text) << what << ": " << name;
        for (const std::string& name : c.gone) {
            const std::string stem = name.substr(0, name.size() - 4);
            EXPECT_FALSE(exists(stem + "-1.txt") || exists(stem + "-1 1.txt")) << what;
        }
        const std::vector<std::string> events = logEvents();
        for (const std::string& name : c.gone)
            EXPECT_EQ(std::count(events.begin(), events.end(), "NOT FOUND(" + path(name) + ")"), 1)
                << what;
        EXPECT_EQ(batch->FailureCount(), static_cast<int>(c.gone.size())) << what;
        EXPECT_EQ(s.RowCount({"Tprog", "qulist"}), 3 - c.gone.size()) << what;
        EXPECT_TRUE(ui.messages.empty()) << what;
        if (c.silent == SilentLevel::NoWindow) {
            EXPECT_TRUE(ui.notFound.empty()) << what;
        } else {
            ASSERT_EQ(ui.notFound.size(), 1u) << what;
            EXPECT_EQ(ui.notFound[0].first, U16(path(c.gone[0]))) << what;
            EXPECT_EQ(ui.notFound[0].second, static_cast<int>(c.gone.size())) << what;
        }
        expectWindowRestored();
    }
}

TEST_F(BatchRunTest, KeepOriginalEncoding) {
    // An ANSI file stays ANSI while the code page holds the text, and becomes UTF-8 when
    // it does not; the output settings' code page is used when the original is not kept.
    addFiles({{"a.txt", "caf\xe9 x"}});
    s.SetChecked({"Tprog", "act_convert"}, true);
    replaceText("x", "y");
    run();
    EXPECT_EQ(read("a-1.txt"), "caf\xe9 y");
    replaceText("x", "\xcf\x89"); // omega
    run();
    EXPECT_EQ(read("a-1.txt"), "caf\xc3\xa9 \xcf\x89");
    s.SetChecked({"Teinstausgabe", "rb_utf16le"}, true);
    replaceText("x", "y");
    run(SilentLevel::Interactive, teUTF16LE);
    EXPECT_EQ(read("a-1.txt"), std::string("\xff\xfe"
                                           "c\0a\0f\0\xe9\0 \0y\0",
                                           14));
}

TEST_F(BatchRunTest, MergeRoad) {
    addFiles({{"a.txt", "a1\na2"}, {"b.txt", "b1"}, {"c.txt", "c1"}});
    s.SetChecked({"Tprog", "act_dateizus"}, true);
    s.SetText({"Tprog", "out_name"}, "%num%");
    run();
    EXPECT_EQ(read("1.txt"), "a1\na2\nb1\nc1");
    EXPECT_EQ(ui.progressMaximum, 6);
    EXPECT_EQ(logEvents(), std::vector<std::string>{"PROCESSED(" + path("1.txt") + ")"});
    EXPECT_EQ(ui.status(0), u"New");

    // A separator through the constants, no paragraph breaks, the pipeline once on the
    // whole text.
    s.SetChecked({"Tprog", "act_dateizus_absatz"}, false);
    s.SetChecked({"Tprog", "act_dateizus_text"}, true);
    s.SetText({"Tprog", "act_dateizus_textfeld"}, "[%datei%]");
    s.SetChecked({"Tprog", "act_konstanten"}, true);
    s.SetChecked({"Tprog", "act_dateizus_einzeln"}, false);
    replaceText("1", "%numf%");
    ui.answers = {OverwriteAnswer::Yes};
    run();
    EXPECT_EQ(read("1.txt"), "[a.txt]a1\na2[b.txt]b2[c.txt]c3");
}

TEST_F(BatchRunTest, MergeOverTheFirstFileDeletesOnlyTheOthers) {
    addFiles({{"a.txt", "a"}, {"b.txt", "b"}});
    s.SetChecked({"Tprog", "act_dateizus"}, true);
    s.SetChecked({"Tprog", "out_overwrite"}, true);
    s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
    run(SilentLevel::NoMessages);
    EXPECT_EQ(read("a.txt"), "a\r\nb");
    EXPECT_FALSE(exists("b.txt"));
    EXPECT_EQ(s.RowCount({"Tprog", "qulist"}), 1u);
}

TEST_F(BatchRunTest, MergeGoesOnAfterAFileThatFailsToLoad) {
    addFiles({{"a.txt", "a"}, {"bad.txt", "+/v8-+AGE-\xff\xfe+"}, {"c.txt", "c"}});
    s.SetChecked({"Tprog", "act_dateizus"}, true);
    s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
    run();
    EXPECT_EQ(read("a-1.txt"), "a\r\nc");
    EXPECT_EQ(ui.messageKeys(), std::vector<std::string>{"speicherfehler"});
    EXPECT_EQ(ui.messages[0].second, U16(path("bad.txt")));
    EXPECT_TRUE(exists("bad.txt")); // not taken into the result: not deleted
    EXPECT_FALSE(exists("c.txt"));
    expectWindowRestored();
}

// A file that fails to load is reported under its own path (no output path is known yet),
// nothing is deleted, and the run goes on, in the normal and the split road.
TEST_F(BatchRunTest, LoadFailureNamesTheSource) {
    for (const bool split : {false, true}) {
        startOver(true);
        addFiles({{"bad.txt", "+/v8-+AGE-\xff\xfe+"}, {"c.txt", "c|d"}});
        s.SetChecked({"Tprog", "act_dateisplit"}, split);
        s.SetText({"Tprog", "act_dateisplit_text"}, "|");
        s.SetChecked({"Tprog", "act_dateisplit_min"}, false);
        s.SetChecked({"Tprog", "act_convert"}, true);
        s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
        run();
        EXPECT_EQ(ui.messageKeys(), std::vector<std::string>{"speicherfehler"}) << split;
        if (!ui.messages.empty()) {
            EXPECT_EQ(ui.messages[0].second, U16(path("bad.txt")));
        }
        EXPECT_EQ(logEvents()[0], "PROCESS ERROR(" + path("bad.txt") + ")") << split;
        EXPECT_TRUE(exists("bad.txt")) << split;
        EXPECT_EQ(read(split ? "c-1 2.txt" : "c-1.txt"), split ? "d" : "c|d") << split;
        expectWindowRestored();
    }
}

TEST_F(BatchRunTest, SplitIntoNumberedPieces) {
    std::string text;
    for (int k = 1; k <= 12; ++k)
        text += (k > 1 ? "|" : "") + std::string(k % 2 ? "piece" : "part-") + std::to_string(k);
    addFiles({{"s.txt", text}});
    s.SetChecked({"Tprog", "act_dateisplit"}, true);
    s.SetText({"Tprog", "act_dateisplit_text"}, "|");
    run();
    for (int k = 1; k <= 12; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "s-1 %02d.txt", k);
        EXPECT_EQ(read(name), std::string(k % 2 ? "piece" : "part-") + std::to_string(k));
    }
    EXPECT_EQ(logEvents(), std::vector<std::string>{"PROCESSED(" + path("s-1 12.txt") + ")"});
    EXPECT_EQ(ui.status(0), u"New");

    // Pieces not longer than the minimum are dropped.
    startOver(false);
    addFiles({{"s.txt", "12345678|123456789|abcdefgh|x"}});
    s.SetText({"Tprog", "act_dateisplit_minlaenge"}, "8");
    run();
    EXPECT_EQ(read("s-1 1.txt"), "123456789");
    EXPECT_FALSE(exists("s-1 2.txt"));
}

TEST_F(BatchRunTest, SplitModes) {
    struct Case {
        const char* text;
        const char* separator;
        bool lines, regex, front, back;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"aa;bb;cc", ";", false, false, true, false, {"aa", ";bb", ";cc"}},
        {"aa;bb;cc", ";", false, false, false, true, {"aa;", "bb;", "cc"}},
        {"a1b22c", "\\d+", false, true, false, false, {"a", "b", "c"}},
        {"a1b22c", "\\d+", false, true, true, false, {"a1", "b22", "c"}},
        {"a1b22c", "\\d+", false, true, false, true, {"a", "1b", "22c"}},
        // Lines: LF and CR texts split at their own breaks.
        {"a1\nSEP\nb1", "SEP", true, false, false, false, {"a1\n", "b1\n"}},
        {"a1\rSEP x\rb1", "SEP", true, false, true, false, {"a1\r", "SEP x\rb1\r"}},
        {"a1\r\nS2\r\nb1", "^S\\d$", true, true, false, true, {"a1\r\nS2\r\n", "b1\r\n"}},
        // A final break ends the last line; it adds no empty line to the last piece.
        {"a1\nSEP\nb1\n", "SEP", true, false, false, false, {"a1\n", "b1\n"}},
    };
    s.SetChecked({"Tprog", "act_dateisplit"}, true);
    s.SetChecked({"Tprog", "act_dateisplit_min"}, false);
    for (const Case& c : cases) {
        startOver(false);
        addFiles({{"s.txt", c.text}});
        s.SetText({"Tprog", "act_dateisplit_text"}, c.separator);
        s.SetChecked(c.lines ? CheckKey{"Tprog", "act_dateisplit_trenn_zeile"}
                             : CheckKey{"Tprog", "act_dateisplit_trenn_exakt"},
                     true);
        s.SetChecked({"Tprog", "act_dateisplit_regex"}, c.regex);
        s.SetChecked({"Tprog", "act_dateisplit_suchtxtvorne"}, c.front);
        s.SetChecked({"Tprog", "act_dateisplit_suchtxthinten"}, c.back);
        run();
        for (size_t k = 0; k < c.pieces.size(); ++k)
            EXPECT_EQ(read("s-1 " + std::to_string(k + 1) + ".txt"), c.pieces[k]) << c.text;
        EXPECT_FALSE(exists("s-1 " + std::to_string(c.pieces.size() + 1) + ".txt")) << c.text;
    }
}

// Splitting at lines while the line breaks are converted: the text is cut at the break it
// holds when it is split (its own before the pipeline runs on the pieces, the new one after
// the pipeline ran on the whole text), and the pieces end in the new break.
TEST_F(BatchRunTest, LineSplitWhileConvertingLineBreaks) {
    struct Case {
        const char* text;
        LineBreakCode to;
        bool pipelineOnPieces;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"a1\nSEP\nb1\n", lbCRLF, true, {"a1\r\n", "b1\r\n"}},
        {"a1\nSEP\nb1\n", lbCRLF, false, {"a1\r\n", "b1\r\n"}},
        {"a1\r\nSEP\r\nb1", lbLF, true, {"a1\n", "b1\n"}},
        {"a1\r\nSEP\r\nb1", lbLF, false, {"a1\n", "b1\n"}},
    };
    for (const Case& c : cases) {
        startOver(true);
        addFiles({{"s.txt", c.text}});
        s.SetChecked({"Tprog", "act_dateisplit"}, true);
        s.SetChecked({"Tprog", "act_dateisplit_trenn_zeile"}, true);
        s.SetText({"Tprog", "act_dateisplit_text"}, "SEP");
        s.SetChecked({"Tprog", "act_dateisplit_min"}, false);
        s.SetChecked({"Tprog", "act_dateisplit_einzeln"}, c.pipelineOnPieces);
        s.SetChecked({"Tprog", "act_cbnewline"}, true);
        s.SetChecked({"Tprog", "act_newline"}, true);
        s.SetText({"Tprog", "act_newline_neu"}, U16(LineBreakNameA(c.to)));
        run();
        for (size_t k = 0; k < c.pieces.size(); ++k)
            EXPECT_EQ(read("s-1 " + std::to_string(k + 1) + ".txt"), c.pieces[k])
                << c.text << " " << c.pipelineOnPieces;
        EXPECT_FALSE(exists("s-1 3.txt")) << c.text;
    }
}

TEST_F(BatchRunTest, SplitDeletesTheSourceOnlyAfterSaving) {
    addFiles({{"s.txt", "first piece|second piece"}, {"t.txt", "third piece|fourth piece"}});
    fs::create_directories(folder / "s-1 2.txt"); // the second piece cannot be saved
    s.SetChecked({"Tprog", "act_dateisplit"}, true);
    s.SetText({"Tprog", "act_dateisplit_text"}, "|");
    s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
    run();
    EXPECT_TRUE(exists("s.txt"));
    EXPECT_EQ(ui.messageKeys(), std::vector<std::string>{"speicherfehler"});
    EXPECT_EQ(read("t-1 2.txt"), "fourth piece");
    EXPECT_FALSE(exists("t.txt"));
}

// A piece that cannot be saved is reported and the next piece is tried; the source stays,
// since not every piece holds its part.
TEST_F(BatchRunTest, SplitGoesOnAfterAFailedPiece) {
    addFiles({{"s.txt", "first piece|second piece|third piece"}});
    fs::create_directories(folder / "s-1 2.txt");
    s.SetChecked({"Tprog", "act_dateisplit"}, true);
    s.SetText({"Tprog", "act_dateisplit_text"}, "|");
    s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
    run();
    EXPECT_EQ(read("s-1 1.txt"), "first piece");
    EXPECT_EQ(read("s-1 3.txt"), "third piece");
    EXPECT_TRUE(exists("s.txt"));
    EXPECT_EQ(ui.messageKeys(), std::vector<std::string>{"speicherfehler"});
    EXPECT_EQ(U8(ui.messages[0].second), path("s-1 2.txt"));
    EXPECT_EQ(batch->FailureCount(), 1);
}

// A piece skipped at the overwrite question lives only in the source: the source stays.
TEST_F(BatchRunTest, SplitWithASkippedPieceKeepsTheSource) {
    for (const bool merge : {false, true}) {
        startOver(true);
        addFiles({{"s.txt", "first piece|second piece"}});
        write("s-1 2.txt", "old");
        s.SetChecked({"Tprog", "act_dateizus"}, merge);
        s.SetChecked({"Tprog", "act_dateisplit"}, true);
        s.SetText({"Tprog", "act_dateisplit_text"}, "|");
        s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
        ui.answers = {OverwriteAnswer::No};
        run();
        EXPECT_EQ(read("s-1 1.txt"), "first piece") << merge;
        EXPECT_EQ(read("s-1 2.txt"), "old") << merge;
        EXPECT_EQ(read("s.txt"), "first piece|second piece") << merge;
        // Yes: every piece written, the source goes.
        ui.answers = {OverwriteAnswer::Yes, OverwriteAnswer::Yes};
        run();
        EXPECT_EQ(read("s-1 2.txt"), "second piece") << merge;
        EXPECT_FALSE(exists("s.txt")) << merge;
    }
}

TEST_F(BatchRunTest, MergedTextSplit) {
    addFiles({{"a.txt", "one#two"}, {"b.txt", "three"}});
    s.SetChecked({"Tprog", "act_dateizus"}, true);
    s.SetChecked({"Tprog", "act_dateisplit"}, true);
    s.SetText({"Tprog", "act_dateisplit_text"}, "#");
    s.SetChecked({"Tprog", "act_dateisplit_min"}, false);
    s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
    s.SetChecked({"Tprog", "act_sonstige"}, true);
    run();
    EXPECT_EQ(read("a-1 1.txt"), "ONE");
    EXPECT_EQ(read("a-1 2.txt"), "TWO\r\nTHREE");
    EXPECT_FALSE(exists("a.txt"));
    EXPECT_FALSE(exists("b.txt"));
}

} // namespace

namespace {

// Two sources whose outputs get one name: the second must not replace the output the run
// has just written (and both sources go with "delete originals"), whatever the silent level.
TEST_F(BatchRunTest, AnOutputOfThisRunIsNeverReplacedByAnother) {
    struct Case {
        const char* what;
        SilentLevel silentLevel;
        bool fixedName; // else "%name%" into one folder from two folders
    };
    const Case cases[] = {{"asked, answered yes", SilentLevel::Interactive, true},
                          {"silent", SilentLevel::NoMessages, true},
                          {"silent, no windows", SilentLevel::NoWindow, true},
                          {"one name from two folders", SilentLevel::NoMessages, false}};
    for (const Case& c : cases) {
        startOver(true);
        fs::create_directories(folder / "out");
        if (c.fixedName)
            addFiles({{"a.txt", "first x"}, {"b.txt", "second x"}});
        else
            addFiles({{"one/a.txt", "first x"}, {"two/a.txt", "second x"}});
        const std::string second = c.fixedName ? "b.txt" : "two/a.txt";
        s.SetText({"Tprog", "out_ordner"}, path("out"));
        s.SetText({"Tprog", "out_name"}, c.fixedName ? "fixed" : "%name%");
        const std::string output = c.fixedName ? "out/fixed.txt" : "out/a.txt";
        s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
        replaceText("x", "y");
        ui.answers = {OverwriteAnswer::Yes, OverwriteAnswer::Yes};
        run(c.silentLevel);
        EXPECT_EQ(read(output), "first y") << c.what;
        EXPECT_EQ(read(second), "second x") << c.what;
        if (c.silentLevel != SilentLevel::NoWindow) {
            EXPECT_EQ(ui.messageKeys(), std::vector<std::string>{"speicherfehler"}) << c.what;
        }
        const std::vector<std::string> events = logEvents();
        EXPECT_NE(std::find(events.begin(), events.end(), "PROCESS ERROR(" + path(output) + ")"),
                  events.end())
            << c.what;
    }
}

// A source is deleted only once its output (and the output's name in its folder) is on the
// disk: a power cut must not take the source and leave an empty output.
TEST_F(BatchRunTest, SourcesAreDeletedOnlyAfterTheirOutputsReachTheDisk) {
    for (const bool merge : {false, true}) {
        startOver(true);
        addFiles({{"a.txt", "x"}, {"b.txt", "x"}});
        s.SetChecked({"Tprog", "out_deleteoriginal"}, true);
        s.SetChecked({"Tprog", "act_dateizus"}, merge);
        replaceText("x", "y");
        std::vector<std::string> events;
        fileEvents = &events;
        run(SilentLevel::NoMessages);
        fileEvents = nullptr;
        const std::string root = fs::canonical(folder).string();
        for (const char* source : {"a.txt", "b.txt"}) {
            const auto deleted = std::find(events.begin(), events.end(), "delete " + path(source));
            ASSERT_NE(deleted, events.end()) << source;
            const std::string output =
                root + (merge ? "/a-1.txt" : std::string("/") + source[0] + "-1.txt");
            EXPECT_NE(std::find(events.begin(), deleted, "sync " + output), deleted) << source;
            EXPECT_NE(std::find(events.begin(), deleted, "sync " + root), deleted) << source;
        }
        // An ordinary run waits for no disk.
        startOver(true);
        addFiles({{"a.txt", "x"}});
        replaceText("x", "y");
        fileEvents = &events;
        events.clear();
        run(SilentLevel::NoMessages);
        fileEvents = nullptr;
        std::erase_if(events, [](const std::string& e) { return e.find("/prog/") != e.npos; });
        EXPECT_EQ(events, std::vector<std::string>{}); // the log aside
    }
}

} // namespace
