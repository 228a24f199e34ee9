// Two real starts of the program, the second naming files: it hands them to the first
// and ends, exactly once, whatever the first copy is busy with; and it does so on a
// machine without display too. The first copy is the real start-up with a person
// answering its messages (tests/mainwindow/programs/answering_person.cpp).
#include <gtest/gtest.h>

#include <QProcessEnvironment>
#include <filesystem>
#include <sys/stat.h>

#include "support/StartedProgram.h"
#include "support/TempFolder.h"

namespace {

const QString ProgramPath = QString::fromStdString(
    std::filesystem::canonical(QUORBEL_TEST_PROGRAMS "/answering_person").string());

size_t Count(const std::string& Text, const std::string& Part) {
    size_t n = 0;
    for (size_t at = Text.find(Part); at != std::string::npos; at = Text.find(Part, at + 1))
        ++n;
    return n;
}

class HandOverBetweenStarts : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(t.P("run"));
        ::chmod(t.P("run").c_str(), 0700);
    }
    // Started from the temporary folder, on Qt's offscreen platform or without any display.
    std::unique_ptr<StartedProgram> start(const std::vector<std::string>& Args, bool Display,
                                          int AnswerAfterMs = 0) {
        auto p = std::make_unique<StartedProgram>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        if (Display) env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(t.P("run").string()));
        env.insert("QUORBEL_ANSWER_AFTER_MS", QString::number(AnswerAfterMs));
        p->process->setProcessEnvironment(env);
        p->process->setWorkingDirectory(QString::fromStdString(t.Path().string()));
        QStringList args;
        for (const std::string& a : Args)
            args << QString::fromStdString(a);
        p->process->start(ProgramPath, args);
        EXPECT_TRUE(p->process->waitForStarted(5000));
        return p;
    }
    // The start handed its files over: it ended by itself within TimeoutMs, with exit
    // status 0, and never built a window of its own (its list was never reported).
    void expectHandedOver(StartedProgram& Second, int TimeoutMs) {
        ASSERT_TRUE(Second.process->waitForFinished(TimeoutMs)) << "the second start goes on";
        EXPECT_EQ(Second.process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(Second.process->exitCode(), 0);
        Second.out += Second.process->readAllStandardOutput().toStdString();
        EXPECT_EQ(Second.out, "");
        EXPECT_EQ(Second.process->readAllStandardError().toStdString(), "");
    }
    std::string path(const std::string& Name) const { return t.P(Name).string(); }
    TempFolder t;
};

TEST_F(HandOverBetweenStarts, HappensOnceWhileTheFirstCopyWaitsForItsUser) {
    t.Write("a.txt", "hello\r\n");
    const std::string a = path("a.txt");
    // The person at the first copy answers its messages after 12 s, later than a start
    // waits for an answer.
    auto first = start({a}, true, 12000);
    ASSERT_TRUE(first->waitFor("ROWS " + a + "\n", 30000)) << first->out;
    auto second = start({a}, true);
    expectHandedOver(*second, 5000);
    // The file meets the message that it is in the list already, still open meanwhile.
    ASSERT_TRUE(first->waitFor("MODAL ", 5000)) << first->out;
    EXPECT_TRUE(first->out.find("Datei ist schon hinzugefügt") != std::string::npos ||
                first->out.find("File already added") != std::string::npos)
        << first->out;
    EXPECT_EQ(first->out.find("ANSWERED"), std::string::npos);
    ASSERT_TRUE(first->waitFor("ANSWERED\n", 20000)) << first->out;
    first->waitFor("MODAL", 2000); // nothing more comes
    EXPECT_EQ(Count(first->out, "MODAL"), 1u) << first->out;
    EXPECT_EQ(Count(first->out, "ROWS "), 1u) << first->out; // the file is in the list once
    EXPECT_EQ(first->out.rfind("ROWS " + a + "\n"), 0u) << first->out;
    EXPECT_TRUE(first->running());
}

TEST_F(HandOverBetweenStarts, AStartWithoutDisplayHandsOverAndNothingElseIsTaken) {
    for (const char* name : {"a.txt", "b.txt"})
        t.Write(name, "hello\r\n");
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0); // no one ever writes it
    std::filesystem::create_symlink(path("missing"), path("dangling"));
    const std::string a = path("a.txt"), b = path("b.txt");
    // A FIFO, a dangling link and /proc are left out and the window goes on.
    auto first = start({path("fifo"), path("dangling"), "/proc", a}, true);
    ASSERT_TRUE(first->waitFor("ROWS " + a + "\n", 30000)) << first->out;
    auto second = start({path("fifo"), b, "/proc", path("dangling")}, false);
    expectHandedOver(*second, 5000);
    EXPECT_TRUE(first->waitFor("ROWS " + a + "|" + b + "\n", 10000)) << first->out;
    EXPECT_EQ(first->out.find("MODAL"), std::string::npos) << first->out;
    // Without a copy to take them the start still needs a display.
    first.reset();
    auto alone = start({b}, false);
    ASSERT_TRUE(alone->process->waitForFinished(10000));
    EXPECT_EQ(alone->process->exitCode(), 2);
}

} // namespace
