#include "desktop/ShellWatch.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/Forms.h"
#include "support/ScopedHook.h"

namespace {

// A window owning a watcher with the working window's five events bound; every
// event is written to the log as "<kind> <path>[ <path>]".
class ShellWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        dir = std::filesystem::canonical(tmp.path().toStdString()).string();
        std::filesystem::create_directory(dir + "/watched");
        form = Application->CreateForm<TForm>();
        watch = new TShellWatch(form);
        watch->SetMessageNo(0x401);
        auto one = [this](const char* kind) {
            return [this, kind](TObject*, uint32_t, const WideString& p) { record(kind, p); };
        };
        watch->OnCreate = one("CREATE");
        watch->OnDelete = one("DELETE");
        watch->OnUpdateItem = one("UPDATE");
        watch->OnAttributes = one("ATTRIB");
        watch->OnRenameItem = [this](TObject*, uint32_t, const WideString& a, const WideString& b) {
            record("RENAME", a, b);
        };
        watch->WatchRoots = {U16(dir + "/watched/")};
    }
    void TearDown() override { form->Free(); }
    void record(const char* kind, const WideString& p1, const WideString& p2 = WideString()) {
        std::string line = std::string(kind) + " " + relative(U8(p1));
        if (!p2.empty()) line += " " + relative(U8(p2));
        log.push_back(line);
    }
    std::string relative(const std::string& path) const {
        std::string base = dir + "/watched/";
        return path.compare(0, base.size(), base) == 0 ? path.substr(base.size()) : path;
    }
    // Runs the message loop until Count events came (or 3 s passed), then a little
    // longer so that doubles would show.
    void pump(size_t Count) {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (log.size() < Count && std::chrono::steady_clock::now() < until) {
            Application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        for (int i = 0; i < 40; ++i) {
            Application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    std::string path(const std::string& name) const { return dir + "/watched/" + name; }

    QTemporaryDir tmp;
    std::string dir;
    TForm* form = nullptr;
    TShellWatch* watch = nullptr;
    std::vector<std::string> log;
};

void touchNew(const std::string& Path) {
    close(open(Path.c_str(), O_CREAT | O_RDONLY, 0644));
}

TEST_F(ShellWatchTest, ChangesInTheFolderTreeBecomeEvents) {
    watch->StartWatching();
    ASSERT_GE(watch->NotifyHandle(), 0);
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> events;
    } steps[] = {
        {"create", [&] { touchNew(path("a.txt")); }, {"CREATE a.txt"}},
        {"write",
         [&] {
             int fd = open(path("a.txt").c_str(), O_WRONLY | O_APPEND);
             ASSERT_EQ(write(fd, "x", 1), 1);
             close(fd);
         },
         {"UPDATE a.txt"}},
        {"rename",
         [&] { rename(path("a.txt").c_str(), path("b.txt").c_str()); },
         {"RENAME a.txt b.txt"}},
        {"chmod", [&] { chmod(path("b.txt").c_str(), 0600); }, {"ATTRIB b.txt"}},
        {"unlink", [&] { unlink(path("b.txt").c_str()); }, {"DELETE b.txt"}},
        {"mkdir and a file in it at once",
         [&] {
             mkdir(path("sub").c_str(), 0755);
             touchNew(path("sub/f"));
         },
         {"CREATE sub/f"}},
        {"renamed folder keeps its watch",
         [&] {
             rename(path("sub").c_str(), path("sub2").c_str());
             touchNew(path("sub2/g"));
         },
         {"CREATE sub2/g"}},
        {"moved out",
         [&] { rename(path("sub2/f").c_str(), (dir + "/out").c_str()); },
         {"DELETE sub2/f"}},
        {"moved in",
         [&] { rename((dir + "/out").c_str(), path("sub2/in").c_str()); },
         {"CREATE sub2/in"}},
    };
    for (const Step& s : steps) {
        log.clear();
        s.act();
        pump(s.events.size());
        EXPECT_EQ(log, s.events) << s.what;
    }
}

TEST_F(ShellWatchTest, RepeatsWithinOneSecondAreDroppedAndNothingElse) {
    uint64_t now = 100000;
    ScopedHook clock(SetTickCountSource, [&now] { return now; });
    watch->StartWatching();
    const WideString a = U16(path("a.txt")), A = U16(path("A.TXT"));
    struct Case {
        const char* what;
        std::function<void()> notify;
        std::vector<std::string> events;
    } cases[] = {
        {"two identical creates",
         [&] {
             watch->Notify(SHCNE_CREATE, a);
             watch->Notify(SHCNE_CREATE, a);
         },
         {"CREATE a.txt"}},
        {"names differing in case",
         [&] {
             watch->Notify(SHCNE_CREATE, a);
             watch->Notify(SHCNE_CREATE, A);
         },
         {"CREATE a.txt", "CREATE A.TXT"}},
        {"create, delete, create",
         [&] {
             watch->Notify(SHCNE_CREATE, a);
             watch->Notify(SHCNE_DELETE, a);
             watch->Notify(SHCNE_CREATE, a);
         },
         {"CREATE a.txt", "DELETE a.txt", "CREATE a.txt"}},
        {"a second save a moment later",
         [&] {
             watch->Notify(SHCNE_UPDATEITEM, a);
             now += 1000;
             watch->Notify(SHCNE_UPDATEITEM, a);
         },
         {"UPDATE a.txt", "UPDATE a.txt"}},
        {"an event nobody bound", [&] { watch->Notify(SHCNE_MKDIR, a); }, {}},
    };
    for (const Case& c : cases) {
        log.clear();
        watch->Notify(SHCNE_DELETE, u"/elsewhere"); // a different last notification
        c.notify();
        pump(c.events.size() + 1);
        log.erase(log.begin());
        EXPECT_EQ(log, c.events) << c.what;
        now += 5000;
    }
}

TEST_F(ShellWatchTest, HeldWhileTheOwnerIsDisabledAndDroppedAfterStop) {
    watch->StartWatching();
    form->SetEnabled(false);
    watch->Notify(SHCNE_CREATE, U16(path("x")));
    watch->Notify(SHCNE_DELETE, U16(path("x")));
    pump(0);
    EXPECT_TRUE(log.empty());
    form->SetEnabled(true);
    EXPECT_TRUE(log.empty()); // not under the code that enables the window
    pump(2);
    EXPECT_EQ(log, (std::vector<std::string>{"CREATE x", "DELETE x"}));

    log.clear();
    watch->Notify(SHCNE_CREATE, U16(path("y")));
    watch->StopWatching();
    pump(0);
    EXPECT_TRUE(log.empty());
    watch->Notify(SHCNE_CREATE, U16(path("z"))); // not watching
    pump(0);
    EXPECT_TRUE(log.empty());
}

TEST_F(ShellWatchTest, NothingIsWatchedWithoutEventOrRootAndTheSessionEndStopsIt) {
    auto* bare = new TShellWatch(form);
    bare->WatchRoots = watch->WatchRoots;
    bare->StartWatching();
    EXPECT_EQ(bare->NotifyHandle(), -1);
    EXPECT_FALSE(bare->Watching());
    watch->WatchRoots.clear();
    watch->StartWatching();
    EXPECT_EQ(watch->NotifyHandle(), -1);

    EXPECT_EQ(bare->MessageNo(), 1024);
    bare->SetMessageNo(500);
    EXPECT_EQ(bare->MessageNo(), 1024);
    EXPECT_EQ(watch->MessageNo(), 0x401);

    TComponent plain(nullptr);
    EXPECT_THROW(TShellWatch{&plain}, EInvalidCast);

    watch->WatchRoots = {U16(dir)};
    watch->StartWatching();
    bool canEnd = false;
    watch->OnEndSessionQuery = [&](TObject*, bool& CanEnd) { CanEnd = canEnd; };
    EXPECT_EQ(form->Perform(WM_QUERYENDSESSION), 0);
    EXPECT_TRUE(watch->Watching());
    canEnd = true;
    EXPECT_EQ(form->Perform(WM_QUERYENDSESSION), 1);
    EXPECT_FALSE(watch->Watching());
    bare->Free(); // its hook goes, the other one stays
    watch->StartWatching();
    watch->Notify(SHCNE_CREATE, U16(dir + "/c"));
    pump(1);
    EXPECT_EQ(log, (std::vector<std::string>{"CREATE " + dir + "/c"}));
}

} // namespace
