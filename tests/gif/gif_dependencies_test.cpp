// The codec needs Qt Gui for its images, never Qt Widgets: this program is built
// from src/gif, src/graphics and src/text alone, and the loader must not pull
// the widget library into it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

std::string SharedLibrariesOf(const std::filesystem::path& program) {
    std::string output;
    const std::string command = "ldd '" + program.string() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    std::size_t read;
    while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, read);
    pclose(pipe);
    return output;
}

TEST(GifDependencies, ProgramOfCodecAndTextLinksNoQtWidgets) {
    const std::string libraries =
        SharedLibrariesOf(std::filesystem::read_symlink("/proc/self/exe"));
    ASSERT_NE(libraries.find("libQt6Core"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("libQt6Widgets"), std::string::npos) << libraries;
}

} // namespace
