#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "engine/ProcessLog.h"
#include "engine/TempFolder.h"

namespace fs = std::filesystem;

namespace {

class ProcessLogTest : public TempFolderTest {
protected:
    WideString programFolder() const { return dir(); }
    std::string logBytes() const {
        std::ifstream in(folder / "qvrprocess.log", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

std::time_t localTime(int y, int mo, int d, int h, int mi, int s) {
    std::tm t{};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    t.tm_sec = s;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

TEST(LogEventLine, DateTimeEventAndPathInTheirPlaces) {
    EXPECT_EQ(U8(LogEventLine(u"/a/b (1).txt", "PROCESS ERROR", localTime(2024, 1, 2, 3, 4, 5))),
              "02.01.2024, 03:04:05 PROCESS ERROR(/a/b (1).txt)\r\n");
    EXPECT_EQ(U8(LogEventLine(u"/x)", "LOADED", localTime(1999, 12, 31, 23, 59, 58))),
              "31.12.1999, 23:59:58 LOADED(/x))\r\n");
}

TEST_F(ProcessLogTest, AMissingLogIsCreatedWithOneLine) {
    logevent(u"/data/ä.txt", "PROCESSED", programFolder(), std::time(nullptr));
    std::string bytes = logBytes();
    EXPECT_TRUE(std::regex_match(
        bytes,
        std::regex(R"(\d\d\.\d\d\.\d{4}, \d\d:\d\d:\d\d PROCESSED\(/data/\xC3\xA4\.txt\)\r\n)")))
        << bytes;
    logevent(u"/data/b.txt", "CONVERT ERROR", programFolder(), localTime(2024, 5, 6, 7, 8, 9));
    bytes = logBytes();
    EXPECT_TRUE(bytes.ends_with("\r\n06.05.2024, 07:08:09 CONVERT ERROR(/data/b.txt)\r\n"))
        << bytes;
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2);
}

TEST_F(ProcessLogTest, ALogInAnotherEncodingIsWrittenBackAsUtf8) {
    // The first line as UTF-16 LE with a byte order mark, as another editor may save it.
    const std::u16string first = u"01.01.2020, 00:00:00 LOADED(/ü.qvr)\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : first) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    std::ofstream(folder / "qvrprocess.log", std::ios::binary) << utf16;
    logevent(u"/b", "NOT FOUND", programFolder(), localTime(2024, 5, 6, 7, 8, 9));
    EXPECT_EQ(logBytes(), "01.01.2020, 00:00:00 LOADED(/\xC3\xBC.qvr)\r\n"
                          "06.05.2024, 07:08:09 NOT FOUND(/b)\r\n");
}

TEST_F(ProcessLogTest, AnUnwritableLogRaisesNothing) {
    EXPECT_NO_THROW(logevent(u"/a", "PROCESSED", programFolder() + u"missing/folder/", 0));
    fs::create_directory(folder / "qvrprocess.log"); // a folder where the file should be
    EXPECT_NO_THROW(logevent(u"/a", "PROCESSED", programFolder(), 0));
    fs::remove(folder / "qvrprocess.log");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_NO_THROW(logevent(u"/a", "PROCESSED", programFolder(), 0));
    // A folder no one may create files in, root included.
    EXPECT_NO_THROW(logevent(u"/a", "PROCESSED", u"/proc/", 0));
    EXPECT_FALSE(fs::exists("/proc/qvrprocess.log"));
}

TEST(ProgramFolder, IsTheExecutablesFolder) {
    WideString folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), u'/');
    EXPECT_TRUE(fs::exists(fs::path(U8(folder)) / fs::read_symlink("/proc/self/exe").filename()));
}

} // namespace
