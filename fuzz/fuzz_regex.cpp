// The regular-expression engine: any expression compiles or records an error, and every
// routine ends with sane results on any subject.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "regex/RegExRoutines.h"
#include "regex/RegExpr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // UTF-16 units, little-endian: the expression up to the first U+0001, then the subject.
    WideString units;
    for (size_t i = 0; i + 1 < size; i += 2)
        units.push_back(static_cast<WideChar>(data[i] | (data[i + 1] << 8)));
    const size_t cut = units.find(u'\x01');
    if (cut == WideString::npos) return 0;
    const WideString expression = units.substr(0, cut), subject = units.substr(cut + 1);
    const int length = static_cast<int>(subject.size());

    TRegExpr re;
    re.SetExpression(expression);
    int matches = 0;
    if (re.Exec(subject)) {
        do {
            for (int g = 0; g <= 14; ++g) {
                const int pos = re.GetMatchPos(g), len = re.GetMatchLen(g);
                if (pos < 0) continue;
                if (pos < 1 || len < 0 || pos - 1 + len > length) FuzzFailure("group out of text");
            }
            re.Substitute(u"$1${2}$&\\$");
        } while (re.ExecNext() && ++matches < 1000);
    }
    WideString result;
    ReplaceAllRegEx(subject, u"<>", expression, result);
    ReplaceRegExTemplate(subject, expression, u"[$0|$1]", result);
    TWideStrArray pieces;
    SplitRegEx(pieces, expression, subject, false, false);
    size_t joined = 0;
    for (const WideString& piece : pieces)
        joined += piece.size();
    if (pieces.empty() || joined > subject.size()) FuzzFailure("split pieces longer than the text");
    return 0;
}
