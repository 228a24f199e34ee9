#include "desktop/FileTypeProjection.h"

#include <QProcess>
#include <QStandardPaths>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "desktop/ClassesRegistry.h"
#include "desktop/ShellIntegration.h"
#include "text/FileUtils.h"
#include "text/SafeFileWrite.h"

namespace {

constexpr std::string_view kDefaultGroup = "[Default Applications]";
// Each update tool may take this long before it is stopped.
constexpr int kToolTimeoutMs = 15000;

std::string MimePackagePath() {
    return XdgDataHome() + "/mime/packages/quorbel-qvr.xml";
}
std::string DesktopFilePath() {
    return XdgDataHome() + "/applications/" + std::string(kDesktopFileName);
}
std::string MimeAppsPath() {
    return XdgConfigHome() + "/mimeapps.list";
}

std::optional<std::string> ReadWholeFile(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool WriteInFolder(const std::string& Path, std::string_view Bytes) {
    try {
        if (!WideForceDirectories(U16(Path.substr(0, Path.rfind('/'))))) return false;
    } catch (const std::exception&) {
        return false;
    }
    return SafeFileWrite(Path, Bytes);
}

std::string MimePackage() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"" +
           std::string(kConfigurationMimeType) + "\">\n    <comment>" + U8(kConfigurationFileType) +
           "</comment>\n    <glob pattern=\"*.qvr\"/>\n  </mime-type>\n</mime-info>\n";
}

std::string MimeTypeLine() {
    return "MimeType=" + std::string(kConfigurationMimeType) + ";";
}

std::string DesktopFile(WideStringView Exe) {
    return "[Desktop Entry]\nType=Application\nName=" + U8(kShortcutDisplayName) +
           "\nExec=" + DesktopExecValue(Exe) + "\n" + MimeTypeLine() + "\nTerminal=false\n";
}

std::vector<std::string_view> Lines(std::string_view Text) {
    std::vector<std::string_view> lines;
    while (!Text.empty()) {
        const size_t end = Text.find('\n');
        const size_t length = end == std::string_view::npos ? Text.size() : end + 1;
        lines.push_back(Text.substr(0, length));
        Text.remove_prefix(length);
    }
    return lines;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string_view LineEnding(std::string_view Line) {
    if (Line.ends_with("\r\n")) return "\r\n";
    if (Line.ends_with("\n")) return "\n";
    return "";
}

// Walks the lines; Visit gets each line of "[Default Applications]" that sets MimeType, with
// its value, and returns the replacement (or the line itself).
template <class F>
std::string EditDefaults(std::string_view Text, std::string_view MimeType, F Visit) {
    std::string out;
    bool inDefaults = false;
    for (std::string_view line : Lines(Text)) {
        const std::string_view t = Trimmed(line);
        if (t.starts_with('[')) inDefaults = t == kDefaultGroup;
        const size_t eq = t.find('=');
        if (inDefaults && eq != std::string_view::npos && Trimmed(t.substr(0, eq)) == MimeType)
            out += Visit(line, Trimmed(t.substr(eq + 1)));
        else
            out += line;
    }
    return out;
}

void RunTool(const char* Tool, const std::string& Folder) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(Tool));
    if (program.isEmpty()) return;
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, {QString::fromStdString(Folder)});
    if (!p.waitForStarted(kToolTimeoutMs)) return;
    if (!p.waitForFinished(kToolTimeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
    }
}

bool OurMimePackage(const std::optional<std::string>& Text) {
    return Text &&
           Text->find("type=\"" + std::string(kConfigurationMimeType) + "\"") != std::string::npos;
}

bool OurDesktopFile(const std::optional<std::string>& Text) {
    if (!Text) return false;
    bool name = false, type = false;
    for (std::string_view line : Lines(*Text)) {
        const std::string_view t = Trimmed(line);
        name = name || t == "Name=" + U8(kShortcutDisplayName);
        type = type || t == MimeTypeLine();
    }
    return name && type;
}

} // namespace

std::string DesktopExecValue(WideStringView Exe) {
    const std::string path = U8(Exe);
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    // The string-value escapes of the file come on top of the quoting.
    std::string value = path.find('%') != std::string::npos ? "env " : "";
    for (char c : quoted) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\t':
            value += "\\t";
            break;
        case '\r':
            value += "\\r";
            break;
        default:
            value += c;
        }
    }
    return value + " %F";
}

std::string MimeAppsWithDefault(std::string_view Text, std::string_view MimeType,
                                std::string_view DesktopId) {
    const std::string entry = std::string(MimeType) + "=" + std::string(DesktopId) + ";";
    bool set = false;
    std::string out = EditDefaults(Text, MimeType, [&](std::string_view line, std::string_view) {
        if (set) return std::string(line);
        set = true;
        return entry + std::string(LineEnding(line).empty() ? "\n" : LineEnding(line));
    });
    if (set) return out;
    out.clear();
    bool inserted = false;
    for (std::string_view line : Lines(Text)) {
        out += line;
        if (!inserted && Trimmed(line) == kDefaultGroup) {
            if (LineEnding(line).empty()) out += '\n';
            out += entry + "\n";
            inserted = true;
        }
    }
    if (inserted) return out;
    if (!out.empty() && out.back() != '\n') out += '\n';
    return out + std::string(kDefaultGroup) + "\n" + entry + "\n";
}

std::string MimeAppsWithoutDefault(std::string_view Text, std::string_view MimeType,
                                   std::string_view DesktopId) {
    return EditDefaults(Text, MimeType, [&](std::string_view line, std::string_view value) {
        std::string kept;
        bool ours = false;
        while (!value.empty()) {
            const size_t end = value.find(';');
            const std::string_view id = Trimmed(value.substr(0, end));
            if (id == DesktopId)
                ours = true;
            else if (!id.empty())
                kept += std::string(id) + ";";
            value.remove_prefix(end == std::string_view::npos ? value.size() : end + 1);
        }
        if (!ours) return std::string(line);
        if (kept.empty()) return std::string();
        return std::string(MimeType) + "=" + kept + std::string(LineEnding(line));
    });
}

bool ProjectConfigurationFiles(WideStringView Exe) {
    const std::string mimeApps = MimeAppsPath();
    const std::string oldList = ReadWholeFile(mimeApps).value_or("");
    const std::string newList =
        MimeAppsWithDefault(oldList, kConfigurationMimeType, kDesktopFileName);
    const bool written = WriteInFolder(MimePackagePath(), MimePackage()) &&
                         WriteInFolder(DesktopFilePath(), DesktopFile(Exe)) &&
                         (newList == oldList || WriteInFolder(mimeApps, newList));
    RunTool("update-mime-database", XdgDataHome() + "/mime");
    RunTool("update-desktop-database", XdgDataHome() + "/applications");
    return written;
}

void RemoveConfigurationProjection() {
    bool changed = false;
    if (OurMimePackage(ReadWholeFile(MimePackagePath())))
        changed = WideDeleteFile(U16(MimePackagePath()));
    if (OurDesktopFile(ReadWholeFile(DesktopFilePath())))
        changed = WideDeleteFile(U16(DesktopFilePath())) || changed;
    if (const std::optional<std::string> list = ReadWholeFile(MimeAppsPath())) {
        const std::string kept =
            MimeAppsWithoutDefault(*list, kConfigurationMimeType, kDesktopFileName);
        if (kept != *list) SafeFileWrite(MimeAppsPath(), kept);
    }
    if (!changed) return;
    RunTool("update-mime-database", XdgDataHome() + "/mime");
    RunTool("update-desktop-database", XdgDataHome() + "/applications");
}

bool ConfigurationProjectionInPlace(WideStringView Exe) {
    if (!OurMimePackage(ReadWholeFile(MimePackagePath()))) return false;
    const std::optional<std::string> desktop = ReadWholeFile(DesktopFilePath());
    if (!OurDesktopFile(desktop)) return false;
    const std::string exec = "Exec=" + DesktopExecValue(Exe);
    for (std::string_view line : Lines(*desktop))
        if (Trimmed(line) == exec) return true;
    return false;
}
