// Runs the real executable as a user's script would: copied into a fresh program folder,
// started from a working folder of its own with the arguments given, without a display
// (neither DISPLAY nor WAYLAND_DISPLAY, no QT_QPA_PLATFORM), always under a timeout.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct ProcessResult {
    int exitCode = -1;     // -1 when it was killed
    bool timedOut = false; // killed at the timeout
    double seconds = 0;    // wall-clock time
    std::string errorText; // what it wrote on standard error
};

class QuorbelProgram {
public:
    QuorbelProgram();
    ~QuorbelProgram();
    QuorbelProgram(const QuorbelProgram&) = delete;
    QuorbelProgram& operator=(const QuorbelProgram&) = delete;

    const std::filesystem::path& programFolder() const { return program_; }
    const std::filesystem::path& workFolder() const { return work_; }
    // programFolder()/quorbel
    std::filesystem::path executable() const { return program_ / "quorbel"; }

    // Writes bytes to a file below the working folder (or at an absolute path).
    std::filesystem::path write(const std::filesystem::path& name, const std::string& bytes) const;
    std::string read(const std::filesystem::path& name) const;
    // The lines of the processing log without their time stamps ("LOADED(/...)").
    std::vector<std::string> logEvents() const;

    // Starts the program; Env adds or overrides variables (an empty value removes one).
    ProcessResult run(const std::vector<std::string>& args,
                      std::chrono::milliseconds timeout = std::chrono::seconds(20),
                      const std::map<std::string, std::string>& env = {}) const;

private:
    std::filesystem::path root_, program_, work_;
};
