#include "desktop/ShellIntegration.h"

#include <sys/stat.h>
#include <unistd.h>

#include "desktop/ClassesRegistry.h"
#include "desktop/FileTypeProjection.h"
#include "text/FileUtils.h"
#include "text/SafeFileWrite.h"
#include "text/WideStrUtils.h"

namespace {

// The key Child below Parent.
WideString Key(WideStringView Parent, WideStringView Child) {
    WideString key(Parent);
    key += u'\\';
    key += Child;
    return key;
}

// 'Base\shell\Quorbeldoc'.
WideString VerbKey(WideStringView Base) {
    return Key(Key(Base, u"shell"), kShellVerbKey);
}

WideString WithDot(WideStringView Extension) {
    if (Extension.starts_with(u'.')) return WideString(Extension);
    WideString dotted(1, u'.');
    return dotted.append(Extension);
}

std::string LinkValue(WideStringView Text) {
    std::string out;
    for (char c : U8(Text)) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A folder can be written when it is one the process may write, or when the nearest entry
// above it that exists is such a folder (then it can be created).
bool FolderWritable(std::string Path) {
    for (;;) {
        struct stat st;
        if (stat(Path.c_str(), &st) == 0)
            return S_ISDIR(st.st_mode) && access(Path.c_str(), W_OK | X_OK) == 0;
        if (errno != ENOENT) return false;
        const size_t slash = Path.rfind('/');
        if (slash == std::string::npos || slash == 0) return false;
        Path.resize(slash);
    }
}

bool IsExtensionCharacterBad(WideChar c) {
    return WideStringView(u"<>\\/|:?\"* ").find(c) != WideStringView::npos;
}

} // namespace

WideString OpenCommand(WideStringView Exe, WideStringView Argument) {
    return u"\"" + WideString(Exe) + u"\" \"" + WideString(Argument) + u"\"";
}

WideString SendToShortcutPath() {
    return U16(QuorbelDataFolder() + "/SendTo/") + WideString(kShortcutDisplayName) + u".lnk";
}

WideString GetSendToFolder() {
    const WideString folder = U16(QuorbelDataFolder() + "/SendTo");
    try {
        return WideForceDirectories(folder) ? folder : WideString();
    } catch (const std::exception&) {
        return WideString();
    }
}

bool CreateShellLink(WideStringView LinkPath, WideStringView Target, WideStringView Description,
                     int IconIndex, WideStringView IconFile, WideStringView Arguments,
                     WideStringView WorkingFolder) {
    std::string text = "Target=" + LinkValue(Target) + "\nDescription=" + LinkValue(Description) +
                       "\nWorkingDirectory=" + LinkValue(WorkingFolder) +
                       "\nArguments=" + LinkValue(Arguments) + "\n";
    if (!IconFile.empty() && IconIndex >= 0)
        text += "IconLocation=" + LinkValue(IconFile) + "," + std::to_string(IconIndex) + "\n";
    return SafeFileWrite(LinkPath, text);
}

bool RegisterFileExtension(WideString Extension, WideStringView FileTypeName,
                           WideStringView Description, int, WideStringView ArgumentText,
                           WideStringView Exe) {
    TClassesRegistry& r = ClassesRoot();
    Extension = WithDot(Extension);
    r.WriteDefault(Extension, FileTypeName);
    r.WriteDefault(FileTypeName, Description);
    r.WriteDefault(Key(FileTypeName, u"DefaultIcon"), WideString(Exe) + u",0");
    return r.WriteDefault(Key(FileTypeName, u"Shell\\Open\\Command"),
                          OpenCommand(Exe, ArgumentText));
}

bool UnregisterFileExtension(WideString Extension, WideStringView FileTypeName) {
    TClassesRegistry& r = ClassesRoot();
    Extension = WithDot(Extension);
    const std::optional<WideString> type = r.ReadDefault(Extension);
    if (type && WideCompareText(*type, FileTypeName) == 0) r.DeleteKey(Extension);
    r.DeleteKey(FileTypeName);
    const std::optional<WideString> left = r.ReadDefault(Extension);
    return !r.KeyExists(FileTypeName) && !(left && WideCompareText(*left, FileTypeName) == 0);
}

void BroadcastSettingChange() {}

bool RefreshShellIcons() {
    return false;
}

bool RegisterConfigurationFiles(WideStringView Exe) {
    const bool keys =
        RegisterFileExtension(WideString(kConfigurationExtension), kConfigurationFileType,
                              kConfigurationFileType, 0, u"%1", Exe);
    return ProjectConfigurationFiles(Exe) && keys;
}

void UnregisterConfigurationFiles() {
    UnregisterFileExtension(WideString(kConfigurationExtension));
    RemoveConfigurationProjection();
}

bool ConfigurationFilesRegistered(WideStringView Exe) {
    const TClassesRegistry& r = ClassesRoot();
    const std::optional<WideString> type = r.ReadDefault(kConfigurationExtension);
    if (!type || WideCompareText(*type, kConfigurationFileType) != 0) return false;
    return r.KeyExists(Key(kConfigurationFileType, u"DefaultIcon")) &&
           r.ReadDefault(Key(kConfigurationFileType, u"Shell\\Open\\Command")) ==
               OpenCommand(Exe) &&
           ConfigurationProjectionInPlace(Exe);
}

bool RegisterShellVerb(WideStringView BaseKey, WideStringView VerbText, WideStringView Command) {
    TClassesRegistry& r = ClassesRoot();
    const WideString verb = VerbKey(BaseKey);
    return r.WriteDefault(verb, VerbText) && r.WriteDefault(Key(verb, u"command"), Command);
}

bool RemoveShellVerb(WideStringView BaseKey) {
    TClassesRegistry& r = ClassesRoot();
    return r.KeyExists(Key(BaseKey, u"shell")) && r.DeleteKey(VerbKey(BaseKey));
}

bool ShellVerbActive(WideStringView BaseKey, WideStringView Command) {
    return ClassesRoot().ReadDefault(Key(VerbKey(BaseKey), u"command")) == Command;
}

TWideStrArray FilterExtensions(WideStringView List) {
    TWideStrArray entries, kept;
    ExplodeW(entries, u",", List);
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        WideString e = WideTrim(*it);
        if (e.find(u'.') == WideString::npos) e = WithDot(e);
        if (e.size() < 2 || e.front() != u'.') continue;
        if (std::any_of(e.begin() + 1, e.end(), IsExtensionCharacterBad)) continue;
        kept.push_back(std::move(e));
    }
    return kept;
}

void RegisterExtensionVerbs(WideStringView List, WideStringView VerbText, WideStringView Command) {
    for (const WideString& extension : FilterExtensions(List)) {
        const std::optional<WideString> type = ClassesRoot().ReadDefault(extension);
        if (type && !type->empty() && RegisterShellVerb(*type, VerbText, Command)) continue;
        RegisterShellVerb(extension, VerbText, Command);
    }
}

void RemoveExtensionVerbs(WideStringView List) {
    TClassesRegistry& r = ClassesRoot();
    for (const WideString& extension : FilterExtensions(List)) {
        const std::optional<WideString> type = r.ReadDefault(extension);
        if (type && !type->empty() && r.KeyExists(*type)) r.DeleteKey(VerbKey(*type));
        RemoveShellVerb(extension);
    }
}

WideString FirstUnwritableShellFolder() {
    const std::string folders[] = {QuorbelDataFolder(), XdgDataHome() + "/mime/packages",
                                   XdgDataHome() + "/applications", XdgConfigHome()};
    for (const std::string& folder : folders)
        if (!FolderWritable(folder)) return U16(folder);
    return WideString();
}
