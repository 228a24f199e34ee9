// Routines on caption and hint texts: hot keys marked with "&", shortcut names,
// and hints made of a short and a long part separated by "|".
#pragma once

#include <cstdint>

#include "text/WideTypes.h"

// 1-based position of the hot-key character: the character after the last single
// "&" ("&&" is a literal ampersand); 0 when there is none.
int WideGetHotkeyPos(WideStringView Caption);
// The hot-key character as a text of one character, or empty.
WideString WideGetHotkey(WideStringView Caption);
// The caption without its hot-key marks: every single "&" removed, "&&" becomes "&".
WideString WideStripHotkey(WideStringView Caption);
// The two captions are equal without hot keys, ignoring case (per UTF-16 unit).
bool WideSameCaption(WideStringView A, WideStringView B);
// The same, with case.
bool WideSameCaptionStr(WideStringView A, WideStringView B);
// The key's character equals the caption's hot-key character, ignoring case.
bool IsWideCharAccel(WideChar Key, WideStringView Caption);

// Shortcuts are a virtual key in the low byte plus modifier bits.
using TShortCut = uint16_t;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };
TShortCut ShortCut(uint16_t Key, unsigned Shift);
// The shortcut's text: "Shift+", "Ctrl+" and "Alt+" in that order before the key's
// name; empty for a key without a name.
WideString WideShortCutToText(TShortCut ShortCut);

// The part before the first "|", or the whole hint when it has none.
WideString WideGetShortHint(WideStringView Hint);
// The part after the first "|", or the whole hint when it has none.
WideString WideGetLongHint(WideStringView Hint);
