// File constants ("%datei%", "%size%", ...) replaced in action texts, and the output path
// of a source file built from the output patterns.
#pragma once

#include "engine/SettingsView.h"
#include "text/WideTypes.h"

// The text with the file constants of the file at path replaced, when `act_konstanten` is
// ticked; index is passed by the caller ("%num%" = index + `act_konst_start`).
WideString KONS(const SettingsView& settings, WideStringView text, WideStringView path, int index);

// The output path of the source file at path by `out_overwrite`, `out_ordner`, `out_name`
// and `out_format`. firstchars is the beginning of the converted text, index the 0-based
// position of the file, width the digit count of "%0num%". A missing output folder is
// created unless createFolder is false (the preview only shows the path).
WideString NameFinden(const SettingsView& settings, WideStringView path, WideStringView firstchars,
                      int index, int width, bool createFolder = true);

// The source name without its extension: the extension is removed from the end of the
// name as often as it stands there ("x.txt.txt" gives "x"), never from inside it.
WideString BaseNameWithoutExtension(WideStringView fileName, WideStringView extension);

// The beginning of a converted text as it may stand in a file name: trimmed, cut to 40
// characters, each of ? | < > / : " * \ CR LF and U+0000 a blank, trimmed again.
WideString FirstCharsForName(WideStringView firstchars);
