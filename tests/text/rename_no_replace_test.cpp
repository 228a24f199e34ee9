#include "support/TempFolder.h"
#include "text/RenameNoReplace.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class RenameNoReplaceTest : public ::testing::Test {
protected:
    WideString make(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return at(name);
    }
    WideString at(const std::string& name) const { return U16((folder / name).string()); }
    std::string read(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        std::stringstream b;
        b << in.rdbuf();
        return b.str();
    }
    TempFolder temp{"rename"};
    fs::path folder = temp.Path();
};

// Both ways, the kernel's flag and the link fallback, behave alike.
TEST_F(RenameNoReplaceTest, ATakenNameIsNeverReplaced) {
    for (auto rename : {&WideRenameNoReplace, &WideRenameByLink}) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        const WideString a = make("a.txt", "old a");
        const WideString b = make("b.txt", "b");
        errno = 0;
        EXPECT_FALSE(rename(a, b));
        EXPECT_EQ(errno, EEXIST);
        EXPECT_EQ(read("a.txt"), "old a");
        EXPECT_EQ(read("b.txt"), "b");

        EXPECT_TRUE(rename(a, at("c.txt")));
        EXPECT_FALSE(fs::exists(folder / "a.txt"));
        EXPECT_EQ(read("c.txt"), "old a");

        EXPECT_FALSE(rename(at("missing.txt"), at("d.txt")));
        EXPECT_FALSE(fs::exists(folder / "d.txt"));
    }
}

} // namespace
