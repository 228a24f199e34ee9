#include "regex/RegexOptions.h"

namespace regex {

bool ParseModifiers(WideStringView text, int& modifiers) {
    bool clear = false;
    for (WideChar c : text) {
        int bit = 0;
        switch (c) {
        case '-':
            clear = true;
            continue;
        case 'i':
        case 'I':
            bit = ModI;
            break;
        case 'r':
        case 'R':
            bit = ModR;
            break;
        case 's':
        case 'S':
            bit = ModS;
            break;
        case 'g':
        case 'G':
            bit = ModG;
            break;
        case 'm':
        case 'M':
            bit = ModM;
            break;
        case 'x':
        case 'X':
            bit = ModX;
            break;
        default:
            return false;
        }
        if (clear)
            modifiers &= ~bit;
        else
            modifiers |= bit;
    }
    return true;
}

} // namespace regex
