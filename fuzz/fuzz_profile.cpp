// Profile files: any bytes read as sections and keys; a value written and flushed reads
// back, and every other entry reads as before.
#include <cstddef>
#include <cstdint>
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The first byte chooses what is written: an existing entry or a new one.
    const uint8_t choice = data[0];
    const std::string path = FuzzFolder() + "/profile.ini";
    if (!SafeFileWrite(path, std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1)))
        FuzzFailure("cannot write the input file");
    const WideString file = NativeToWide(path);
    Entries before = ReadAll(file);
    WideString section = u"Neu", key = u"Schl\u00FCssel";
    if (!before.empty() && choice % 2) {
        auto it = before.begin();
        std::advance(it, choice / 2 % before.size());
        // The first of equal keys wins: only that one is sure to change.
        section = it->first.first;
        key = it->first.second;
    }
    const WideString value = u"Wert \u00E4\U0001F600 " + WideString(1, u'0' + choice % 10);
    if (!ProfileWriteString(file, section, key, value)) return 0; // a name that cannot be stored
    if (!ProfileFlush(file)) FuzzFailure("flush failed");
    const Entries after = ReadAll(file);
    const auto written = ProfileReadString(file, section, key);
    if (!written || *written != value) FuzzFailure("the written value does not read back");
    for (const auto& [name, old] : before) {
        if (WideUpperCase(name.first) == WideUpperCase(section) &&
            WideUpperCase(name.second) == WideUpperCase(key))
            continue;
        const auto it = after.find(name);
        if (it == after.end() || it->second != old) FuzzFailure("another entry changed");
    }
    return 0;
}
