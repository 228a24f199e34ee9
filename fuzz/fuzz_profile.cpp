// Profile files: any bytes read as sections and keys; a value written (or a key deleted) and
// flushed reads back from the flushed bytes, read afresh under another name, and every
// other entry reads as before. The values include some that Windows-1252 holds, so an ANSI
// file stays ANSI or has to change its encoding as a whole.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "FuzzSupport.h"
#include "text/ProfileFile.h"
#include "text/SafeFileWrite.h"
#include "text/UCodeSysUtils.h"

namespace {

using Entries = std::map<std::pair<WideString, WideString>, std::optional<WideString>>;

Entries ReadAll(const WideString& file) {
    Entries entries;
    for (const WideString& section : ProfileReadSectionNames(file))
        for (const WideString& key : ProfileReadKeyNames(file, section))
            entries.emplace(std::make_pair(section, key), ProfileReadString(file, section, key));
    return entries;
}

// What is written; nothing deletes the key. Besides a character no 8-bit code page holds:
// one Windows-1252 byte that is no UTF-8, ASCII alone, and Windows-1252 bytes that are UTF-8.
std::optional<WideString> ValueFor(uint8_t choice, uint8_t kind) {
    const WideString digit(1, u'0' + choice % 10);
    switch (kind % 5) {
    case 0:
        return u"Wert \u00E4\U0001F600 " + digit;
    case 1:
        return u"Wert \u00E4 " + digit;
    case 2:
        return u"Wert " + digit;
    case 3:
        return u"\u00C3\u00A4" + digit;
    default:
        return std::nullopt;
    }
}

// Every run uses names of its own: the cache keyed by name never holds an older file.
std::string FreshPath(const char* stem) {
    static uint64_t run = 0;
    return FuzzFolder() + "/" + stem + std::to_string(++run) + ".ini";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    // The first byte chooses the entry (an existing or a new one), the second what happens
    // to it; the rest is the file.
    const uint8_t choice = data[0];
    const std::optional<WideString> value = ValueFor(choice, data[1]);
    const std::string path = FreshPath("profile"), copyPath = FreshPath("copy");
    if (!SafeFileWrite(path, std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2)))
        FuzzFailure("cannot write the input file");
    struct Cleanup {
        std::string a, b;
        ~Cleanup() {
            std::error_code ec;
            std::filesystem::remove(a, ec);
            std::filesystem::remove(b, ec);
        }
    } cleanup{path, copyPath};
    const WideString file = NativeToWide(path), copy = NativeToWide(copyPath);
    Entries before = ReadAll(file);
    WideString section = u"Neu", key = u"Schl\u00FCssel";
    if (!before.empty() && choice % 2) {
        auto it = before.begin();
        std::advance(it, choice / 2 % before.size());
        // The first of equal keys wins: only that one is sure to change.
        section = it->first.first;
        key = it->first.second;
    }
    if (value ? !ProfileWriteString(file, section, key, *value)
              : !ProfileDeleteKey(file, section, key))
        return 0; // a name that cannot be stored
    if (!ProfileFlush(file)) FuzzFailure("flush failed");
    std::error_code ec;
    if (!std::filesystem::copy_file(path, copyPath, ec)) FuzzFailure("cannot copy the file");
    const Entries after = ReadAll(copy);
    const auto written = ProfileReadString(copy, section, key);
    if (value && written != value) FuzzFailure("the written value does not read back");
    for (const auto& [name, old] : before) {
        if (WideUpperCase(name.first) == WideUpperCase(section) &&
            WideUpperCase(name.second) == WideUpperCase(key))
            continue;
        const auto it = after.find(name);
        if (it == after.end() || it->second != old) FuzzFailure("another entry changed");
    }
    return 0;
}
