// Engine tests in a fresh folder below the temporary folder, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TempFolder.h"
#include "text/WideTypes.h"

class TempFolderTest : public ::testing::Test {
protected:
    // Writes bytes to a file below the folder (creating its folders); returns its path.
    WideString write(const std::string& name, const std::string& bytes) {
        temp.Write(name, bytes);
        return U16((folder / name).string());
    }
    // The folder with its trailing "/".
    WideString dir() const { return temp.W(); }

    TempFolder temp{"engine"};
    std::filesystem::path folder = temp.Path();
};
