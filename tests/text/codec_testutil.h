// Helpers of the codec tests: a fresh temporary folder per test and whole-file byte access.
#pragma once

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"
#include "text/WideFileSystem.h"

// Runs `body` in a child process as user "nobody" (the tests run as root, which no
// permission stops) and returns the child's exit status: body's result, 10 when the
// change of user failed, -1 when the child did not exit normally.
inline int ExitStatusAsNobody(const std::function<int()>& body) {
    pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0) _exit(10);
        int code = 99;
        try {
            code = body();
        } catch (...) {
        }
        _exit(code);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

class CodecTempDir : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return (Dir / name).string(); }

    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Names in the folder, so a test can see that no temporary file was left behind.
    std::size_t EntryCount() const {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(Dir))
            ++n;
        return n;
    }

    // The full wide name of the first entry of the folder that matches mask, as the folder
    // listing gives it (bytes that are no UTF-8 come as escaped units); empty when none does.
    WideString ListedName(const WideString& mask) const {
        const WideString folder = U16(Dir.string()) + u"/";
        WideFindData found;
        WideFindHandle find = WideFindFirstFile(folder + mask, found);
        if (!find) return WideString();
        WideFindFileClose(find);
        return folder + found.name;
    }

    TempFolder Temp{"codec"};
    std::filesystem::path Dir = Temp.Path();
};
