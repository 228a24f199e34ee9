#include "dialogs/RenameName.h"

#include <charconv>

#include "text/FileUtils.h"
#include "text/WideStrUtils.h"

namespace {

// StartText as a decimal integer (an optional sign, then digits only); 1 otherwise.
int StartNumber(WideStringView StartText) {
    std::string ascii;
    for (WideChar c : StartText) {
        if (c > 0x7F) return 1;
        ascii += char(c);
    }
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    if (first != last && *first == '+') ++first;
    int value = 0;
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) return 1;
    return value;
}

WideString Decimal(long long Value) {
    return U16(std::to_string(Value));
}

WideString ZeroPadded(long long Value, size_t Digits) {
    WideString digits = Decimal(Value < 0 ? -Value : Value);
    if (digits.size() < Digits) digits.insert(0, Digits - digits.size(), u'0');
    return Value < 0 ? u"-" + digits : digits;
}

} // namespace

WideString RenameName(WideStringView Name, WideStringView Mask, WideStringView StartText,
                      int RowCount, int RowIndex, const TRenameReplace& Replace) {
    if (Name.empty()) return WideString();
    const WideString ext = WideExtractFileExt(Name);
    const WideString base = ReplaceAllW(Name, ext, u"");
    WideString s = ReplaceAllW(Mask, u"%name%", base);
    if (s.find(u'%') != WideString::npos) {
        const long long number = (long long)RowIndex + StartNumber(StartText);
        s = ReplaceAllW(s, u"%num%", Decimal(number));
        s = ReplaceAllW(s, u"%0num%", ZeroPadded(number, Decimal(RowCount).size()));
        s = ReplaceAllW(s, u"%abs%", Decimal(RowCount));
    }
    if (!Replace.On || (!Replace.InName && !Replace.InExtension)) return s + ext;
    auto replaced = [&](WideStringView text) {
        return ReplaceAllW(text, Replace.Search, Replace.Replacement);
    };
    if (Replace.InName && Replace.InExtension) return replaced(s + ext);
    if (Replace.InName) return replaced(s) + ext;
    return s + replaced(ext);
}

bool IsUnsafeNewName(WideStringView NewName) {
    return NewName.empty() || NewName == u"." || NewName == u".." ||
           NewName.find_first_of(WideStringView(u"/\0", 2)) != WideStringView::npos;
}
