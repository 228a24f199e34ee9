#include "platform/Labels.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

#include "platform/CaptionText.h"
#include "platform/QtStrings.h"

namespace {

Qt::Alignment QtAlignment(TAlignment a, TTextLayout l) {
    Qt::Alignment h = a == taCenter         ? Qt::AlignHCenter
                      : a == taRightJustify ? Qt::AlignRight
                                            : Qt::AlignLeft;
    Qt::Alignment v = l == tlCenter   ? Qt::AlignVCenter
                      : l == tlBottom ? Qt::AlignBottom
                                      : Qt::AlignTop;
    return h | v;
}

// Size of a text in a font; an empty text measures as one blank.
QSize TextExtent(const QFont& font, const QString& text, bool wrap, int width) {
    QFontMetrics fm(font);
    QString t = text.isEmpty() ? QStringLiteral(" ") : text;
    int flags = Qt::AlignLeft | Qt::AlignTop | (wrap ? Qt::TextWordWrap : 0);
    QRect r = fm.boundingRect(QRect(0, 0, wrap ? width : 100000, 100000), flags, t);
    return QSize(r.width(), std::max(r.height(), fm.height()));
}

} // namespace

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner, new QLabel) {
    Label()->setTextFormat(Qt::PlainText);
    Label()->setAlignment(QtAlignment(FAlignment, FLayout));
    SetBounds(0, 0, 65, 13);
    AdjustSize();
}

QLabel* TLabel::Label() const {
    return static_cast<QLabel*>(Widget());
}

WideString TLabel::DisplayText() const {
    return FShowAccelChar ? WideStripHotkey(FText) : FText;
}

void TLabel::SetTextCore(const WideString& Value) {
    FText = Value;
    UpdateLabel();
}

void TLabel::UpdateLabel() {
    Label()->setText(Q(DisplayText()));
    AdjustSize();
    ShowText();
}

// The text with the ellipsis the label's size asks for (the full text with AutoSize,
// which gives the label the text's size).
void TLabel::ShowText() {
    if (FEllipsisPosition == epNone) return;
    QFontMetrics fm(Widget()->font());
    QString text = Q(DisplayText());
    if (!WrapsLines())
        text = ElideLine(fm, text, FEllipsisPosition, Width());
    else
        text = ElideWrapped(fm, text, Width(), Height());
    Label()->setText(text);
}

bool TLabel::WrapsLines() const {
    return FWordWrap && FEllipsisPosition != epPathEllipsis;
}

WideString TLabel::ShownText() const {
    return W(Label()->text());
}

void TLabel::SetEllipsisPosition(TEllipsisPosition Value) {
    if (Value == FEllipsisPosition) return;
    FEllipsisPosition = Value;
    Label()->setWordWrap(WrapsLines());
    UpdateLabel();
}

void TLabel::Resize() {
    TGraphicControl::Resize();
    if (FEllipsisPosition != epNone) {
        Label()->setText(Q(DisplayText()));
        ShowText();
    }
}

void TLabel::AdjustSize() {
    if (!FAutoSize) return;
    QSize s = TextExtent(Widget()->font(), Q(DisplayText()), WrapsLines(), Width());
    SetBounds(Left(), Top(), FWordWrap ? Width() : s.width(), s.height());
}

void TLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustSize();
}

void TLabel::SetAutoSize(bool Value) {
    FAutoSize = Value;
    AdjustSize();
}

void TLabel::SetWordWrap(bool Value) {
    FWordWrap = Value;
    Label()->setWordWrap(WrapsLines());
    AdjustSize();
}

void TLabel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Label()->setAlignment(QtAlignment(FAlignment, FLayout));
}

void TLabel::SetLayout(TTextLayout Value) {
    FLayout = Value;
    Label()->setAlignment(QtAlignment(FAlignment, FLayout));
}

void TLabel::SetShowAccelChar(bool Value) {
    FShowAccelChar = Value;
    UpdateLabel();
}

void TLabel::WndProc(TMessage& Message) {
    if (Message.Msg == CM_DIALOGCHAR) {
        if (FocusControl && FShowAccelChar && Enabled() &&
            IsWideCharAccel(WideChar(Message.WParam), FText) && FocusControl->CanFocus()) {
            FocusControl->SetFocus();
            Message.Result = 1;
        }
        return;
    }
    TGraphicControl::WndProc(Message);
}

// ---------------------------------------------------------------- TStaticText

TStaticText::TStaticText(TComponent* AOwner) : TWinControl(AOwner, new QLabel) {
    Label()->setTextFormat(Qt::PlainText);
    // A static text starts at the top left and breaks its lines at the control's width
    // (an auto-sized one is as wide as its longest line, so it never breaks).
    Label()->setWordWrap(true);
    Label()->setAlignment(QtAlignment(FAlignment, tlTop));
    Widget()->setFocusPolicy(Qt::NoFocus);
    TabStop = false;
    SetBounds(0, 0, 65, 17);
    AdjustSize();
}

QLabel* TStaticText::Label() const {
    return static_cast<QLabel*>(Widget());
}

void TStaticText::SetTextCore(const WideString& Value) {
    FText = Value;
    Label()->setText(Q(ShowAccelChar ? WideStripHotkey(Value) : Value));
    AdjustSize();
}

void TStaticText::AdjustSize() {
    if (!FAutoSize) return;
    QSize s = TextExtent(Widget()->font(), Label()->text(), false, 0);
    const int bx = 1; // the border width of a window frame line
    SetBounds(Left(), Top(), s.width() + 4 * bx, s.height() + 4 * bx);
}

void TStaticText::FontChanged() {
    TWinControl::FontChanged();
    AdjustSize();
}

void TStaticText::SetAutoSize(bool Value) {
    FAutoSize = Value;
    AdjustSize();
}

void TStaticText::SetBorderStyle(TStaticBorderStyle Value) {
    FBorderStyle = Value;
    Label()->setFrameStyle(Value == sbsNone     ? QFrame::NoFrame
                           : Value == sbsSingle ? (QFrame::Box | QFrame::Plain)
                                                : (QFrame::Panel | QFrame::Sunken));
}

void TStaticText::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Label()->setAlignment(QtAlignment(Value, tlTop));
}

bool TStaticText::DialogChar(WideChar Key) {
    if (!IsWideCharAccel(Key, FText) || !FocusControl || !Enabled() || !ShowAccelChar) return false;
    if (FocusControl->CanFocus()) FocusControl->SetFocus();
    return true;
}
