// Text files in all nine codes: any bytes load; the text saves in the code the first byte
// chooses and, where the code holds every UTF-16 text, loads back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "text/SafeFileWrite.h"
#include "text/TextEncodings.h"
#include "text/TextFiles.h"
#include "text/UCodeSysUtils.h"

namespace {

// Codes whose files give back the text that was saved (with a mark where it has one).
bool RoundTrips(TextEncodingCode code, bool mark, const WideString& text) {
    if (text.empty()) return false;
    switch (code) {
    case teUTF16LE:
        return mark && text[0] != 0; // FF FE 00 00 may be UTF-32 LE
    case teUTF16BE:
        return mark;
    case teUTF8BOM:
        return true;
    case teUTF8: // a first U+FEFF reads as the mark; "+/v" as UTF-7
        return text[0] != 0xFEFF && text.compare(0, 3, u"+/v") != 0;
    default:
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const auto& table = TextEncodingTable();
    const auto code = table[data[0] % table.size()].Code;
    const bool mark = data[0] & 0x80;
    const std::string in = FuzzFolder() + "/in.txt", out = FuzzFolder() + "/out.txt";
    if (!SafeFileWrite(in, std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1)))
        FuzzFailure("cannot write the input file");
    WideString text;
    try {
        DetectFileEncoding(NativeToWide(in));
        LoadTextFileW(NativeToWide(in), text);
    } catch (const EUCodeGeneralError&) { // malformed UTF-7
        return 0;
    }
    if (!SaveTextFileW(text, NativeToWide(out), code, mark)) FuzzFailure("save failed");
    WideString again;
    TextEncodingCode detected = -1;
    try {
        LoadTextFileW(NativeToWide(out), again, &detected);
    } catch (const EUCodeGeneralError&) {
        FuzzFailure("a saved UTF-7 file does not load");
    }
    if (RoundTrips(code, mark, text) && again != text)
        FuzzFailure("code " + std::to_string(code) + " does not give the text back");
    return 0;
}
