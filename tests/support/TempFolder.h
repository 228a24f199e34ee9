// A fresh folder below the system's temporary folder for one test, removed with all it
// holds when the test ends (also when the test made parts of it unreadable).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <stdlib.h>

#include "text/WideTypes.h"

class TempFolder {
public:
    explicit TempFolder(const std::string& Prefix = "quorbel") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (Prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data())) FPath = pattern;
        EXPECT_FALSE(FPath.empty()) << "no temporary folder";
    }
    ~TempFolder() {
        if (FPath.empty()) return;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(FPath, ignored))
            if (entry.is_directory(ignored))
                std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
        std::filesystem::permissions(FPath, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(FPath, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    // A path below the folder.
    std::filesystem::path P(const std::string& Relative) const { return FPath / Relative; }
    // The folder's path, "/" and Relative, as wide text (the folder with "/" for "").
    WideString W(const std::string& Relative = "") const {
        return U16(FPath.string() + "/" + Relative);
    }
    // Writes the bytes to a file below the folder, creating its folders.
    void Write(const std::string& Relative, const std::string& Bytes) const {
        std::filesystem::create_directories(P(Relative).parent_path());
        std::ofstream(P(Relative), std::ios::binary | std::ios::trunc) << Bytes;
    }
    std::string Read(const std::string& Relative) const {
        std::ifstream in(P(Relative), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path FPath;
};
