#include "desktop/ClassesRegistry.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "text/FileUtils.h"
#include "text/SafeFileWrite.h"

namespace {

// A name with empty parts ("a\\b", "\a", "a\") names no key.
bool ValidKeyName(WideStringView Key) {
    if (Key.empty() || Key.front() == u'\\' || Key.back() == u'\\') return false;
    return Key.find(u"\\\\") == WideStringView::npos;
}

bool SameKey(WideStringView A, WideStringView B) {
    return A.size() == B.size() && WideCompareText(A, B) == 0;
}

// Below (or equal to) Parent.
bool InKey(WideStringView Key, WideStringView Parent) {
    if (Key.size() < Parent.size()) return false;
    if (!SameKey(Key.substr(0, Parent.size()), Parent)) return false;
    return Key.size() == Parent.size() || Key[Parent.size()] == u'\\';
}

// One line of the file holds one name or value: "%", the brackets and control characters
// are written as "%" and two hexadecimal digits.
std::string Escape(WideStringView Text) {
    std::string out;
    for (unsigned char c : U8(Text)) {
        if (c < 0x20 || c == '%' || c == '[' || c == ']' || c == 0x7F) {
            static const char digits[] = "0123456789ABCDEF";
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        } else {
            out += char(c);
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

WideString Unescape(std::string_view Text) {
    std::string out;
    for (size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] == '%' && i + 2 < Text.size() && HexValue(Text[i + 1]) >= 0 &&
            HexValue(Text[i + 2]) >= 0) {
            out += char(HexValue(Text[i + 1]) * 16 + HexValue(Text[i + 2]));
            i += 2;
        } else {
            out += Text[i];
        }
    }
    return U16(out);
}

std::string EnvFolder(const char* Name, const char* Fallback) {
    const char* value = std::getenv(Name);
    if (value && value[0] == '/') return value;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + Fallback;
}

} // namespace

TFileClassesRegistry::TFileClassesRegistry(std::string Path) : FPath(std::move(Path)) {}

std::string TFileClassesRegistry::FilePath() const {
    return FPath.empty() ? QuorbelDataFolder() + "/classes" : FPath;
}

std::vector<TFileClassesRegistry::Entry> TFileClassesRegistry::Load() const {
    std::vector<Entry> entries;
    std::ifstream in(FilePath(), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            WideString name = Unescape(std::string_view(line).substr(1, line.size() - 2));
            if (ValidKeyName(name)) entries.push_back({std::move(name), std::nullopt});
        } else if (line.rfind("@=", 0) == 0 && !entries.empty()) {
            entries.back().Value = Unescape(std::string_view(line).substr(2));
        }
    }
    return entries;
}

bool TFileClassesRegistry::Save(const std::vector<Entry>& Entries) const {
    std::ostringstream out;
    out << "; File types and verbs registered by Quorbel (HKEY_CLASSES_ROOT)\n";
    for (const Entry& e : Entries) {
        out << '[' << Escape(e.Name) << "]\n";
        if (e.Value) out << "@=" << Escape(*e.Value) << '\n';
    }
    const std::string path = FilePath();
    const std::string folder = path.substr(0, path.rfind('/'));
    try {
        if (!WideForceDirectories(U16(folder))) return false;
    } catch (const std::exception&) {
        return false;
    }
    return SafeFileWrite(path, out.str());
}

bool TFileClassesRegistry::KeyExists(WideStringView Key) const {
    if (!ValidKeyName(Key)) return false;
    for (const Entry& e : Load())
        if (SameKey(e.Name, Key)) return true;
    return false;
}

std::optional<WideString> TFileClassesRegistry::ReadDefault(WideStringView Key) const {
    if (!ValidKeyName(Key)) return std::nullopt;
    for (const Entry& e : Load())
        if (SameKey(e.Name, Key)) return e.Value;
    return std::nullopt;
}

// Creates Key with its parents (each keeps the case it already has) and, when Value is
// given, sets the default of Key.
bool TFileClassesRegistry::Change(WideStringView Key, const std::optional<WideString>* Value) {
    if (!ValidKeyName(Key)) return false;
    std::vector<Entry> entries = Load();
    bool changed = false;
    for (size_t end = Key.find(u'\\');; end = Key.find(u'\\', end + 1)) {
        const WideStringView part = Key.substr(0, end);
        auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const Entry& e) { return SameKey(e.Name, part); });
        if (it == entries.end()) {
            entries.push_back({WideString(part), std::nullopt});
            it = entries.end() - 1;
            changed = true;
        }
        if (end == WideStringView::npos) {
            if (Value && it->Value != **Value) {
                it->Value = **Value;
                changed = true;
            }
            break;
        }
    }
    return !changed || Save(entries);
}

bool TFileClassesRegistry::CreateKey(WideStringView Key) {
    return Change(Key, nullptr);
}

bool TFileClassesRegistry::WriteDefault(WideStringView Key, WideStringView Value) {
    const std::optional<WideString> value{WideString(Value)};
    return Change(Key, &value);
}

bool TFileClassesRegistry::DeleteKey(WideStringView Key) {
    if (!ValidKeyName(Key)) return false;
    std::vector<Entry> entries = Load();
    const size_t before = entries.size();
    std::erase_if(entries, [&](const Entry& e) { return InKey(e.Name, Key); });
    return entries.size() != before && Save(entries);
}

TClassesRegistry& ClassesRoot() {
    static TFileClassesRegistry user;
    return user;
}

std::string XdgDataHome() {
    return EnvFolder("XDG_DATA_HOME", "/.local/share");
}

std::string XdgConfigHome() {
    return EnvFolder("XDG_CONFIG_HOME", "/.config");
}

std::string QuorbelDataFolder() {
    return XdgDataHome() + "/quorbel";
}
