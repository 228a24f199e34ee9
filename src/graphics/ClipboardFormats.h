// Clipboard formats by number, as the class library's graphics exchange them.
// CF_BITMAP travels as an image; a format registered by name travels under a
// MIME type of its own ("GIF Image" as image/gif). The system clipboard is
// Qt's; without a Qt Gui application there is none and every store is refused.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>
#include <string>

constexpr unsigned CF_BITMAP = 2;

// The number of a format known by name: the same name always gives the same
// number (0xC000 upward).
unsigned RegisterClipboardFormatA(const std::string& Name);
// The name a format was registered with; empty for others.
std::string ClipboardFormatName(unsigned Format);
// The MIME type a registered format travels under; empty for others.
QString ClipboardFormatMime(unsigned Format);

// The data of one format: bytes, or an image for CF_BITMAP.
struct TClipboardData {
    QByteArray Bytes;
    QImage Image;
};

// Adds the data to what the clipboard holds (replacing the same format); false
// when the clipboard refuses it (no clipboard, an unknown format).
bool SetClipboardData(unsigned Format, const TClipboardData& Data);
// The clipboard's data of the format, when it holds some.
std::optional<TClipboardData> GetClipboardData(unsigned Format);
bool IsClipboardFormatAvailable(unsigned Format);
