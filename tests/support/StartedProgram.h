// A program a test started as a process of its own, and what it has printed so far on
// standard output. The process is killed when the test lets it go.
#pragma once

#include <QProcess>
#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

struct StartedProgram {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    std::string out;

    // True once the output holds Text (false after TimeoutMs or when the program ended).
    bool waitFor(const std::string& Text, int TimeoutMs = 5000) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
        for (;;) {
            out += process->readAllStandardOutput().toStdString();
            if (out.find(Text) != std::string::npos) return true;
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || process->state() == QProcess::NotRunning) return false;
            process->waitForReadyRead(int(std::min<long long>(left.count(), 100)));
        }
    }
    bool running() const { return process->state() == QProcess::Running; }
    ~StartedProgram() {
        process->kill();
        process->waitForFinished(3000);
    }
};
