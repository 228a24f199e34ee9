// The clipboard: wide text, lists of files, bitmaps, pictures and formats
// registered by name.
#pragma once

#include <optional>

#include "graphics/ClipboardFormats.h"
#include "graphics/Graphic.h"
#include "text/WideTypes.h"

class TPicture;

// Clipboard formats (Windows numbers) that HasFormat answers besides CF_BITMAP
// and the registered ones.
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

    // One format's data; setting it keeps the other formats on the clipboard
    // and raises EOutOfResources when the clipboard refuses it.
    std::optional<TClipboardData> GetAsHandle(unsigned Format) const;
    void SetAsHandle(unsigned Format, const TClipboardData& Data);
    // Empties the clipboard and puts the graphic on it in every format it
    // gives (a GIF picture: "GIF Image" and the bitmap).
    void Assign(TGraphic& Graphic);
    void Assign(const TBitmap& Bitmap);
    void Assign(TPicture& Picture);
    // Reads the clipboard into the picture: the latest registered format on
    // it, else the bitmap; else raises EInvalidGraphic "Unsupported clipboard
    // format".
    void AssignTo(TPicture& Picture) const;
};

// The process-wide clipboard object.
TClipboard* Clipboard();
inline TClipboard* WideClipboard() {
    return Clipboard();
}

using TUCodeClipboard = TClipboard;
