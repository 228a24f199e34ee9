#include "picture/PictureSettings.h"

#include <algorithm>
#include <cmath>

#include "text/EightBitUtils.h"

namespace {

constexpr FontKey PictureFontKey{"Teinstausgabe", "Label3"};
constexpr TextKey BackgroundKey{"Teinstausgabe", "Edit1"};

// The font as the class library gives it to Qt: points become pixels at 96 dpi.
QFont PictureFont(const FontSetting& Setting) {
    QFont font(QString::fromStdU16String(Setting.name));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(Setting.size * 96.0 / 72.0))));
    font.setBold(Setting.bold);
    font.setItalic(Setting.italic);
    font.setUnderline(Setting.underline);
    font.setStrikeOut(Setting.strikeOut);
    return font;
}

PictureStyle StyleOf(const FontSetting& Font, WideStringView BackgroundText) {
    PictureStyle style{PictureFont(Font), static_cast<TColor>(Font.colour & 0xFFFFFF), clWhite};
    WideString digits(BackgroundText);
    std::erase(digits, u'#');
    const bool hex =
        digits.size() == 6 && std::all_of(digits.begin(), digits.end(), [](char16_t c) {
            return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        });
    if (hex) style.Background = HexRGBToColor(U8(digits));
    return style;
}

} // namespace

PictureStyle PictureStyleFromSettings(const SettingsView& Settings) {
    return StyleOf(Settings.Font(PictureFontKey), Settings.Text(BackgroundKey));
}

PictureStyle DesignPictureStyle() {
    return StyleOf(DesignFont(PictureFontKey), DesignText(BackgroundKey));
}
