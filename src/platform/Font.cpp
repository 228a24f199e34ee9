#include "platform/Font.h"

#include <QString>
#include <QStringList>
#include <cmath>

TFont::TFont() : FName(u"Tahoma") {}

void TFont::SetName(const WideString& Value) {
    if (Value == FName) return;
    FName = Value;
    Changed();
}

void TFont::SetSize(int Value) {
    if (Value == FSize) return;
    FSize = Value;
    Changed();
}

int TFont::Height() const {
    return -int(std::lround(FSize * 96.0 / 72.0));
}

void TFont::SetHeight(int Value) {
    SetSize(int(std::lround(std::abs(Value) * 72.0 / 96.0)));
}

void TFont::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    Changed();
}

void TFont::SetStyle(TFontStyles Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

void TFont::Assign(TPersistent* Source) {
    auto* f = dynamic_cast<TFont*>(Source);
    if (!f) return TPersistent::Assign(Source);
    if (*f == *this) return;
    FName = f->FName;
    FSize = f->FSize;
    FColor = f->FColor;
    FStyle = f->FStyle;
    Charset = f->Charset;
    Changed();
}

QFont TFont::ToQFont() const {
    QFont f(QString::fromStdU16String(FName));
    // Pixel size as Windows computes it at 96 dpi, so layouts designed in pixels fit.
    f.setPixelSize(std::max(1, -Height()));
    f.setBold(FStyle & fsBold);
    f.setItalic(FStyle & fsItalic);
    f.setUnderline(FStyle & fsUnderline);
    f.setStrikeOut(FStyle & fsStrikeOut);
    return f;
}

void TFont::Changed() {
    if (OnChange) OnChange();
}

void PinStandInFonts() {
    QFont::insertSubstitutions("Tahoma", {"DejaVu Sans", "Verdana", "Noto Sans"});
    QFont::insertSubstitutions("Courier New",
                               {"Nimbus Mono PS", "Liberation Mono", "DejaVu Sans Mono"});
}
