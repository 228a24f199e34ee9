// The README's first command on the shipped sample: every input converted into the new
// folder "converted" by the sample configuration, on a machine without a display.
#include <gtest/gtest.h>

#include "e2e/QuorbelProcess.h"

namespace {

namespace fs = std::filesystem;

TEST(Sample, ReadmeCommandConvertsTheSampleFolder) {
    QuorbelProgram q;
    const fs::path sample = q.workFolder() / "sample";
    fs::copy(fs::path(QUORBEL_TEST_DATA) / ".." / ".." / "data" / "sample", sample,
             fs::copy_options::recursive);
    const ProcessResult r =
        q.run({"processandclose=1", "log=1", (sample / "sample.qvr").string(), "sample/input"});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.errorText;
    // Replacement list, trailing blanks gone, each line's first letter in upper case; the
    // LF line breaks stay.
    EXPECT_EQ(q.read(sample / "input/converted/letter-utf8.txt"),
              "Dear colleague,\nThe color of the new logo is gray.\n"
              "The order costs \u20AC120 and ships in 3 days.\nKind regards\n");
    for (const char* name : {"notes-utf16le.txt", "prices-cp1252.txt"}) {
        const std::string out = q.read(sample / "input/converted" / name);
        EXPECT_FALSE(out.empty()) << name;
        EXPECT_NE(out, q.read(sample / "input" / name)) << name;
    }
    EXPECT_EQ(
        std::distance(fs::directory_iterator(sample / "input/converted"), fs::directory_iterator()),
        3);
}

} // namespace
