#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "desktop/InstanceSockets.h"
#include "desktop/OneInstanceCheck.h"
#include "desktop/OneInstanceWindow.h"
#include "platform/Forms.h"
#include "support/StartedProgram.h"

namespace {

std::vector<WideString> splitQuoted(WideStringView line) {
    TUCodeStringList list;
    SplitQuotedParams(line, list);
    std::vector<WideString> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Get(i));
    return out;
}

TEST(OneInstance, SplitQuotedParamsKeepsTheQuotedPartsOnly) {
    struct Case {
        WideString line;
        std::vector<WideString> params;
    } cases[] = {
        {u"\"/opt/q/quorbel\" \"a b.txt\" c.txt", {u"/opt/q/quorbel", u"a b.txt"}},
        {u"\"a\" \"b", {u"a"}}, // unterminated last part
        {u"\"\" \"x\"", {u"", u"x"}},
        {u"x\"a\"y\"b\"z", {u"a", u"b"}},
        {u"\"a\"\"b\"", {u"a", u"b"}},
        {u"", {}},
        {u"\"Ä😀\t\"", {u"Ä😀\t"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitQuoted(c.line), c.params) << U8(c.line);
}

TEST(OneInstance, HandedOverCommandLineHoldsAbsolutePathsOrNothing) {
    const WideString exe = u"/opt/q/quorbel", cwd = u"/home/u/work";
    struct Case {
        TWideStrArray params;
        std::optional<WideString> line;
    } cases[] = {
        {{}, std::nullopt},
        {{u"x y.txt", u"sub/z.qvr"},
         u"\"/opt/q/quorbel\" \"/home/u/work/x y.txt\" \"/opt/q/sub/z.qvr\""},
        {{u"/abs/a.qvr", u"/abs/dir/"}, u"\"/opt/q/quorbel\" \"/abs/a.qvr\" \"/abs/dir/\""},
        {{u"a.QVR", u"../up"}, u"\"/opt/q/quorbel\" \"/home/u/work/a.QVR\" \"/home/u/work/../up\""},
        {{u"mode=x", u"f", u"a=b.qvr"},
         u"\"/opt/q/quorbel\" \"mode=x\" \"/home/u/work/f\" \"/opt/q/a=b.qvr\""},
        {{u"f", u"log=1"}, std::nullopt},
        {{u"processandclose=1", u"f"}, std::nullopt},
        {{u"silentmode=1"}, std::nullopt},
        {{u"silentmode=2"}, std::nullopt},
        {{u"a\"b.txt"}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HandOverCommandLine(exe, c.params, cwd), c.line)
            << (c.params.empty() ? "" : U8(c.params[0]));
        if (c.line) {
            EXPECT_EQ(splitQuoted(*c.line).size(), c.params.size() + 1);
        }
    }
}

// The receiver installed by linking TOneInstanceCheck, put back after each test.
class OneInstanceWindowProc : public ::testing::Test {
protected:
    void TearDown() override { SetOneInstanceCallback(saved); }
    LRESULT handOver(WideStringView text, uint32_t bytes, WPARAM wParam = 0) {
        COPYDATASTRUCT record;
        record.dwData = 4711;
        record.cbData = bytes;
        record.lpData = text.data();
        TMessage m{WM_COPYDATA, wParam, LPARAM(&record), 0};
        OneInstanceWndProc(nullptr, m);
        return m.Result;
    }
    TOneInstanceCallback saved = OneInstanceCallback();
};

WideString received;
uint32_t receivedPid = 0;

TEST_F(OneInstanceWindowProc, RepliesByTheDecisionAndCountsBytes) {
    const WideString text(u"\"a\"\0\"😀\"", 8);
    struct Case {
        TOneInstanceCallback callback;
        uint32_t bytes;
        LRESULT reply;
        WideString arrives;
    } cases[] = {
        {nullptr, 16, OneInstanceTaken, u""},
        {[](HWND, uint32_t p, const WideString& t, uint8_t& d) {
             received = t, receivedPid = p, d = 0;
         },
         16, OneInstanceTaken, text},
        {[](HWND, uint32_t, const WideString& t, uint8_t& d) { received = t, d = 1; }, 16,
         OneInstanceContinue, text},
        {[](HWND, uint32_t, const WideString& t, uint8_t& d) { received = t, d = 0; }, 7,
         OneInstanceTaken, text.substr(0, 3)},
    };
    for (const Case& c : cases) {
        received.clear();
        SetOneInstanceCallback(c.callback);
        EXPECT_EQ(handOver(text, c.bytes), c.reply);
        EXPECT_EQ(received, c.arrives);
    }
    EXPECT_EQ(receivedPid, 4711u);
    // Anything else gets the default handling and no callback.
    received.clear();
    EXPECT_EQ(handOver(text, 16, 1), 0);
    TMessage other{WM_COPYDATA, 0, 0, 0};
    OneInstanceWndProc(nullptr, other);
    EXPECT_EQ(other.Result, 0);
    EXPECT_EQ(received, u"");
}

TEST_F(OneInstanceWindowProc, CheckObjectDecidesAndComesToTheFront) {
    const WideString line = u"\"/opt/q/quorbel\" \"/w/a b.txt\" stray";
    EXPECT_EQ(handOver(line, uint32_t(2 * line.size())), OneInstanceContinue); // no object yet

    TForm* form = Application->CreateForm<TForm>();
    auto* check = new TOneInstanceCheck(form);
    EXPECT_THROW(
        {
            try {
                new TOneInstanceCheck(form);
            } catch (const ECreateError& e) {
                EXPECT_STREQ(e.what(), "Nur ein TOneInstanceCheck-Objekt möglich");
                throw;
            }
        },
        ECreateError);
    EXPECT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(OneInstanceCheckObject(), check);
    EXPECT_EQ(handOver(line, uint32_t(2 * line.size())), OneInstanceTaken); // no handler

    std::vector<WideString> params;
    check->OnNewInstance = [&](TObject* Sender, uint32_t Pid, TUCodeStringList& Params) {
        EXPECT_EQ(Sender, check);
        EXPECT_EQ(Pid, 4711u);
        params.clear();
        for (int i = 0; i < Params.Count(); ++i)
            params.push_back(Params.Get(i));
    };
    form->Show();
    form->SetWindowState(wsMinimized);
    // Answered first: the handler runs once the event loop has the control back.
    EXPECT_EQ(handOver(line, uint32_t(2 * line.size())), OneInstanceTaken);
    EXPECT_TRUE(params.empty());
    EXPECT_EQ(form->WindowState(), wsMinimized);
    Application->ProcessMessages();
    EXPECT_EQ(params, (std::vector<WideString>{u"/opt/q/quorbel", u"/w/a b.txt"}));
    EXPECT_EQ(form->WindowState(), wsNormal);

    // A long loop runs while the window is disabled: the start runs by itself.
    params.clear();
    form->SetEnabled(false);
    EXPECT_EQ(handOver(line, uint32_t(2 * line.size())), OneInstanceContinue);
    Application->ProcessMessages();
    EXPECT_TRUE(params.empty());
    form->Free();
    EXPECT_EQ(OneInstanceCheckObject(), nullptr);
    auto* again = new TOneInstanceCheck(nullptr); // the only one again
    again->Free();
}

// A handler that waits for the user (its own message loop) lets later hand-overs be
// answered at once; their handlers follow it in the order they came, and none runs while
// the window is disabled.
TEST_F(OneInstanceWindowProc, HandlersRunOneAfterAnotherAfterTheAnswers) {
    TForm* form = Application->CreateForm<TForm>();
    auto* check = new TOneInstanceCheck(form);
    std::vector<std::string> calls;
    check->OnNewInstance = [&](TObject*, uint32_t, TUCodeStringList& Params) {
        const std::string name = U8(Params.Get(1));
        calls.push_back(name + " begins");
        if (name == "first") { // the user reads a message meanwhile
            for (const char16_t* later : {u"\"q\" \"second\"", u"\"q\" \"third\""})
                EXPECT_EQ(handOver(later, uint32_t(2 * WideStringView(later).size())),
                          OneInstanceTaken);
            for (int i = 0; i < 5; ++i)
                Application->ProcessMessages();
        }
        calls.push_back(name + " ends");
    };
    const WideString first = u"\"q\" \"first\"";
    EXPECT_EQ(handOver(first, uint32_t(2 * first.size())), OneInstanceTaken);
    form->SetEnabled(false); // a folder add begins before the handler's turn
    for (int i = 0; i < 5; ++i)
        Application->ProcessMessages();
    EXPECT_TRUE(calls.empty());
    form->SetEnabled(true);
    for (int i = 0; i < 50 && calls.size() < 6; ++i) {
        Application->ProcessMessages();
        QThread::msleep(20);
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"first begins", "first ends", "second begins",
                                               "second ends", "third begins", "third ends"}));
    form->Free();
}

// The socket folder is trusted only when it is a private folder of this user.
TEST(OneInstance, SocketFolderMustBeOursAndClosed) {
    QTemporaryDir tmp;
    const std::string base = std::filesystem::canonical(tmp.path().toStdString()).string();
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedRuntime = saved ? saved : "";
    setenv("XDG_RUNTIME_DIR", base.c_str(), 1);
    const WideString name = u"OneInstUtilWnd:/opt/q/quorbel";
    EXPECT_EQ(InstanceSocketFolder(name, false), ""); // a sender makes nothing
    const std::string folder = InstanceSocketFolder(name);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.rfind(base + "/quorbel-", 0), 0u);
    struct stat st {};
    ASSERT_EQ(lstat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(InstanceSocketFolder(name, false), folder);
    EXPECT_NE(InstanceSocketFolder(u"OneInstUtilWnd:/other/quorbel"), folder);

    chmod(folder.c_str(), 0755); // open to others
    EXPECT_EQ(InstanceSocketFolder(name), "");
    std::filesystem::remove(folder);
    std::filesystem::create_directory(base + "/elsewhere");
    chmod((base + "/elsewhere").c_str(), 0700);
    std::filesystem::create_directory_symlink(base + "/elsewhere", folder); // a link
    EXPECT_EQ(InstanceSocketFolder(name), "");

    unsetenv("XDG_RUNTIME_DIR");
    setenv("TMPDIR", base.c_str(), 1);
    EXPECT_EQ(
        InstanceSocketFolder(name).rfind(base + "/quorbel-" + std::to_string(geteuid()) + "-", 0),
        0u);
    unsetenv("TMPDIR");
    if (saved) setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
}

// ---------------------------------------------------------------- processes

const std::string ProbePath =
    std::filesystem::canonical(QUORBEL_TEST_PROGRAMS "/one_instance_probe").string();

// One started copy of the probe and what it printed so far.
using Probe = StartedProgram;

class OneInstanceProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runtime.isValid());
        root = std::filesystem::canonical(runtime.path().toStdString()).string();
        setenv("XDG_RUNTIME_DIR", (root + "/run").c_str(), 1);
        std::filesystem::create_directory(root + "/run");
        socketFolder = InstanceSocketFolder(u"OneInstUtilWnd:" + U16(ProbePath));
        ASSERT_FALSE(socketFolder.empty());
    }
    std::unique_ptr<Probe> start(const QStringList& Args, const std::string& Cwd = {},
                                 const char* Mode = "check") {
        auto p = std::make_unique<Probe>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(root + "/run"));
        env.insert("QUORBEL_PROBE_MODE", Mode);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p->process->setProcessEnvironment(env);
        p->process->setWorkingDirectory(QString::fromStdString(Cwd.empty() ? root : Cwd));
        p->process->start(QString::fromStdString(ProbePath), Args);
        EXPECT_TRUE(p->process->waitForStarted(5000));
        return p;
    }
    // A start that hands over: it ends with 0 within 2 s and shows nothing.
    void expectHandedOver(Probe& B) {
        EXPECT_TRUE(B.process->waitForFinished(2000));
        EXPECT_EQ(B.process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(B.process->exitCode(), 0);
        B.out += B.process->readAllStandardOutput().toStdString();
        EXPECT_EQ(B.out, "");
    }
    size_t socketCount() const {
        size_t n = 0;
        for (const auto& e : std::filesystem::directory_iterator(socketFolder))
            n += e.path().extension() == ".sock";
        return n;
    }
    QTemporaryDir runtime;
    std::string root, socketFolder;
};

TEST_F(OneInstanceProcesses, StartWithParametersHandsOverAbsolutePaths) {
    auto A = start({});
    ASSERT_TRUE(A->waitFor("READY\n"));
    std::filesystem::create_directory(root + "/b folder");
    auto B = start({"x y.txt", "sub/z.qvr"}, root + "/b folder");
    const std::string pid = std::to_string(B->process->processId());
    expectHandedOver(*B);
    const std::string programFolder = std::filesystem::path(ProbePath).parent_path().string();
    EXPECT_TRUE(A->waitFor("END\n"));
    const std::string received = "READY\nHANDOVER " + pid + "\nPARAM " + ProbePath + "\nPARAM " +
                                 root + "/b folder/x y.txt\nPARAM " + programFolder +
                                 "/sub/z.qvr\nEND\n";
    EXPECT_EQ(A->out, received);

    // Without parameters, or with a switch a receiver would not do: a start of its own.
    auto C = start({});
    EXPECT_TRUE(C->waitFor("READY\n"));
    auto D = start({"processandclose=1", "f.txt"});
    EXPECT_TRUE(D->waitFor("READY\n"));
    EXPECT_TRUE(C->running());
    A->waitFor("END\nHANDOVER", 300); // nothing more arrives
    EXPECT_EQ(A->out, received);
    EXPECT_EQ(socketCount(), 2u); // A and C listen; the unattended D does not
}

TEST_F(OneInstanceProcesses, WithoutCheckObjectTheSenderRunsOnItsOwn) {
    auto A = start({}, {}, "nocheck");
    ASSERT_TRUE(A->waitFor("READY\n"));
    auto B = start({"f.txt"});
    EXPECT_TRUE(B->waitFor("READY\n"));
    EXPECT_EQ(OfferHandOver(socketFolder, EncodeHandOverFrame(1, u"\"x\" \"y\"")),
              std::optional<uint32_t>(uint32_t(OneInstanceContinue)));
}

TEST_F(OneInstanceProcesses, SocketOfAKilledInstanceIsRemovedAndTheNextTakesOver) {
    auto A = start({});
    ASSERT_TRUE(A->waitFor("READY\n"));
    ::kill(pid_t(A->process->processId()), SIGKILL);
    A->process->waitForFinished(3000);
    EXPECT_EQ(socketCount(), 1u); // left behind

    auto B = start({"first.txt"});
    ASSERT_TRUE(B->waitFor("READY\n"));
    EXPECT_EQ(socketCount(), 1u); // A's gone, B's there
    auto C = start({"second.txt"});
    expectHandedOver(*C);
    EXPECT_TRUE(B->waitFor("PARAM " + root + "/second.txt\nEND\n"));
}

// Writes raw bytes to the socket of the one listening instance and closes.
void sendRaw(const std::string& Folder, const std::string& Bytes) {
    for (const auto& e : std::filesystem::directory_iterator(Folder)) {
        if (e.path().extension() != ".sock") continue;
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, e.path().c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        send(fd, Bytes.data(), Bytes.size(), MSG_NOSIGNAL);
        close(fd);
    }
}

TEST_F(OneInstanceProcesses, BadFramesAndAFailingHandlerLeaveTheInstanceRunning) {
    auto A = start({}, {}, "throw");
    ASSERT_TRUE(A->waitFor("READY\n"));
    std::string odd = EncodeHandOverFrame(1, u"\"x\"");
    odd[8] = 5;
    std::string huge = EncodeHandOverFrame(1, u"");
    huge[11] = 0x7F;
    for (const std::string& bad : {odd, huge, std::string("garbage, not a frame"),
                                   EncodeHandOverFrame(1, u"\"cut short\"").substr(0, 15)})
        sendRaw(socketFolder, bad);

    // The handler raises after the sender was answered: the sender has ended, the error
    // is shown, and the instance goes on taking hand-overs.
    auto B = start({"f.txt"});
    expectHandedOver(*B);
    EXPECT_TRUE(A->waitFor("ERROR probe handler failed\n"));
    EXPECT_TRUE(A->running());
    EXPECT_EQ(A->out.find("HANDOVER"), A->out.rfind("HANDOVER")); // the bad frames never arrived
    EXPECT_EQ(OfferHandOver(socketFolder, EncodeHandOverFrame(1, u"\"x\" \"y\"")),
              std::optional<uint32_t>(uint32_t(OneInstanceTaken)));
}

} // namespace
