#include "e2e/QuorbelProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

QuorbelProgram::QuorbelProgram() {
    std::string name = (fs::temp_directory_path() / "quorbel_e2e_XXXXXX").string();
    if (!mkdtemp(name.data())) throw std::runtime_error("mkdtemp failed");
    root_ = name;
    program_ = root_ / "program";
    work_ = root_ / "work";
    fs::create_directories(program_);
    fs::create_directories(work_);
    fs::create_directories(root_ / "runtime");
    fs::permissions(root_ / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    fs::copy_file(QUORBEL_BINARY, executable());
}

QuorbelProgram::~QuorbelProgram() {
    std::error_code ec;
    for (auto& entry : fs::recursive_directory_iterator(root_, ec))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
}

fs::path QuorbelProgram::write(const fs::path& name, const std::string& bytes) const {
    const fs::path path = name.is_absolute() ? name : work_ / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string QuorbelProgram::read(const fs::path& name) const {
    const fs::path path = name.is_absolute() ? name : work_ / name;
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> QuorbelProgram::logEvents() const {
    std::vector<std::string> events;
    std::ifstream in(program_ / "qvrprocess.log", std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // "dd.mm.yyyy, hh:nn:ss EVENT(path)"
        const size_t space = line.find(' ', line.find(", ") + 2);
        events.push_back(space == std::string::npos ? line : line.substr(space + 1));
    }
    return events;
}

ProcessResult QuorbelProgram::run(const std::vector<std::string>& args,
                                  std::chrono::milliseconds timeout,
                                  const std::map<std::string, std::string>& env) const {
    const fs::path errors = root_ / "stderr.txt";
    const auto begin = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(work_.c_str()) != 0) _exit(126);
        const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 2);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("QT_QPA_PLATFORM");
        // A private runtime folder: no hand-over to any other copy of the program.
        setenv("XDG_RUNTIME_DIR", (root_ / "runtime").c_str(), 1);
        for (const auto& [name, value] : env) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<std::string> all{executable().string()};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ProcessResult result;
    int status = 0;
    for (;;) {
        if (waitpid(pid, &status, WNOHANG) == pid) break;
        if (std::chrono::steady_clock::now() - begin > timeout) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            result.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    if (!result.timedOut && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.errorText = read(errors);
    return result;
}
