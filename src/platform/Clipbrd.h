// The clipboard: wide text and lists of files.
#pragma once

#include "text/WideTypes.h"

// Clipboard formats (Windows numbers) that HasFormat answers.
enum : unsigned { CF_TEXT = 1, CF_UNICODETEXT = 13, CF_HDROP = 15 };

class TClipboard {
public:
    // The text on the clipboard; empty when it holds none.
    WideString AsWideText() const;
    // Puts the text on the clipboard; readers of 8-bit and of wide text get it.
    void SetAsWideText(const WideString& Text);
    WideString AsText() const { return AsWideText(); }
    void SetAsText(const WideString& Text) { SetAsWideText(Text); }
    // Puts full paths on the clipboard as a file list (file URLs, the file
    // managers' copied-files list, and the paths as text, one a line).
    void SetFiles(const TWideStrArray& Paths);
    // The local files on the clipboard, in order.
    TWideStrArray Files() const;
    bool HasFormat(unsigned Format) const;
    void Clear();
};

// The process-wide clipboard object.
TClipboard* Clipboard();
inline TClipboard* WideClipboard() {
    return Clipboard();
}

using TUCodeClipboard = TClipboard;
