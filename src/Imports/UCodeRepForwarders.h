// The forwarders of the replacement units: the names the windows call, each handing on
// to the routine of the Unicode system layer beside it.
#pragma once

#include <cstdint>

#include "platform/Dialogs.h"
#include "platform/ShellServices.h"
#include "text/CodePages.h"
#include "text/UCodeSysUtils.h"

inline intptr_t RepShellExecute(TWinControl* Window, const WideString& Operation,
                                const WideString& File, const WideString& Parameters,
                                const WideString& Directory, int ShowCmd) {
    return WideShellExecute(Window, Operation, File, Parameters, Directory, ShowCmd);
}
inline int RepParamCount() {
    return WideParamCount();
}
inline WideString RepParamStr(int Index) {
    return WideParamStr(Index);
}
inline AnsiString RepUTF8Encode(WideStringView Text) {
    return WideToUTF8(Text);
}
inline WideString RepUTF8Decode(std::string_view Text) {
    return UTF8ToWide(Text);
}
inline AnsiString RepUTF7Encode(WideStringView Text) {
    return WideToUTF7(Text);
}
inline WideString RepUTF7Decode(std::string_view Text) {
    return UTF7ToWide(Text);
}
inline AnsiString RepWideToCodePage(WideStringView Text, uint32_t CodePage) {
    return WideToCodePage(Text, CodePage);
}
// Swaps the bytes of every unit of a zero-terminated UTF-16 buffer in place.
inline void RepSwapByteOrder(WideChar* Text) {
    size_t length = 0;
    while (Text[length] != 0)
        ++length;
    SwapUTF16ByteOrder(Text, length);
}
