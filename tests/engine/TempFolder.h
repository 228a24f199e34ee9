// A fresh folder below the temporary folder for one test, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "text/WideTypes.h"

class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("engine_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add);
        std::filesystem::remove_all(folder);
    }
    // Writes bytes to a file below the folder (creating its folders); returns its path.
    WideString write(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories((folder / name).parent_path());
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return U16((folder / name).string());
    }
    // The folder with its trailing "/".
    WideString dir() const { return U16(folder.string() + "/"); }

    std::filesystem::path folder;
};
