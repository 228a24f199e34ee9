#include "platform/CaptionText.h"

#include "platform/Controls.h"

int WideGetHotkeyPos(WideStringView Caption) {
    int pos = 0;
    for (size_t i = 0; i < Caption.size(); ++i) {
        if (Caption[i] != u'&') continue;
        if (i + 1 >= Caption.size()) break;
        if (Caption[i + 1] == u'&') {
            ++i; // a literal ampersand
            continue;
        }
        pos = int(i) + 2;
    }
    return pos;
}

WideString WideGetHotkey(WideStringView Caption) {
    int pos = WideGetHotkeyPos(Caption);
    return pos ? WideString(1, Caption[size_t(pos - 1)]) : WideString();
}

WideString WideStripHotkey(WideStringView Caption) {
    WideString out;
    out.reserve(Caption.size());
    for (size_t i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == u'&') {
            if (i + 1 < Caption.size() && Caption[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += Caption[i];
    }
    return out;
}

bool WideSameCaption(WideStringView A, WideStringView B) {
    return WideUpperCase(WideStripHotkey(A)) == WideUpperCase(WideStripHotkey(B));
}

bool WideSameCaptionStr(WideStringView A, WideStringView B) {
    return WideStripHotkey(A) == WideStripHotkey(B);
}

bool IsWideCharAccel(WideChar Key, WideStringView Caption) {
    int pos = WideGetHotkeyPos(Caption);
    return pos && WideUpperChar(Key) == WideUpperChar(Caption[size_t(pos - 1)]);
}

TShortCut ShortCut(uint16_t Key, unsigned Shift) {
    TShortCut sc = TShortCut(Key & 0xFF);
    if (Shift & ssShift) sc |= scShift;
    if (Shift & ssCtrl) sc |= scCtrl;
    if (Shift & ssAlt) sc |= scAlt;
    return sc;
}

namespace {

WideString KeyName(uint16_t key) {
    switch (key) {
    case VK_BACK:
        return u"BkSp";
    case VK_TAB:
        return u"Tab";
    case VK_RETURN:
        return u"Enter";
    case VK_ESCAPE:
        return u"Esc";
    case VK_SPACE:
        return u"Space";
    case VK_PRIOR:
        return u"PgUp";
    case VK_NEXT:
        return u"PgDn";
    case VK_END:
        return u"End";
    case VK_HOME:
        return u"Home";
    case VK_LEFT:
        return u"Left";
    case VK_UP:
        return u"Up";
    case VK_RIGHT:
        return u"Right";
    case VK_DOWN:
        return u"Down";
    case VK_INSERT:
        return u"Ins";
    case VK_DELETE:
        return u"Del";
    case VK_MULTIPLY:
        return u"Num *";
    case VK_ADD:
        return u"Num +";
    case VK_SUBTRACT:
        return u"Num -";
    case VK_DECIMAL:
        return u"Num Del";
    case VK_DIVIDE:
        return u"Num /";
    default:
        break;
    }
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return WideString(1, key);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9)
        return WideString(1, WideChar('0' + key - VK_NUMPAD0));
    if (key >= VK_F1 && key <= VK_F24) return u"F" + U16(std::to_string(key - VK_F1 + 1));
    switch (key) { // punctuation keys of the US layout
    case 0xBA:
        return u";";
    case 0xBB:
        return u"=";
    case 0xBC:
        return u",";
    case 0xBD:
        return u"-";
    case 0xBE:
        return u".";
    case 0xBF:
        return u"/";
    case 0xC0:
        return u"`";
    case 0xDB:
        return u"[";
    case 0xDC:
        return u"\\";
    case 0xDD:
        return u"]";
    case 0xDE:
        return u"'";
    default:
        return WideString();
    }
}

} // namespace

WideString WideShortCutToText(TShortCut ShortCut) {
    WideString name = KeyName(uint16_t(ShortCut & 0xFF));
    if (name.empty()) return name;
    WideString prefix;
    if (ShortCut & scShift) prefix += u"Shift+";
    if (ShortCut & scCtrl) prefix += u"Ctrl+";
    if (ShortCut & scAlt) prefix += u"Alt+";
    return prefix + name;
}

WideString WideGetShortHint(WideStringView Hint) {
    size_t bar = Hint.find(u'|');
    return WideString(bar == WideStringView::npos ? Hint : Hint.substr(0, bar));
}

WideString WideGetLongHint(WideStringView Hint) {
    size_t bar = Hint.find(u'|');
    return WideString(bar == WideStringView::npos ? Hint : Hint.substr(bar + 1));
}
