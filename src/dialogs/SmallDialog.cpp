#include "dialogs/SmallDialog.h"

#include <algorithm>

#include "dialogs/FormBuilding.h"
#include "platform/CanvasText.h"
#include "text/FileUtils.h"

namespace {
constexpr int kMargin = 8;
constexpr int kPicture = 48;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 6;

// A round symbol in the manner of the system's message icons.
TBitmap SymbolPicture(TSmallDialog::TSymbol Symbol) {
    TBitmap bmp;
    bmp.SetSize(kPicture, kPicture);
    TCanvas c(&bmp);
    c.Brush.Color = clBtnFace;
    c.FillRect(Rect(0, 0, kPicture, kPicture));
    bool warning = Symbol == TSmallDialog::TSymbol::Warning;
    c.Pen.Color = warning ? RGB(0xB0, 0x80, 0x00) : RGB(0x1E, 0x50, 0xA0);
    c.Brush.Color = warning ? RGB(0xFF, 0xCC, 0x00) : RGB(0x3C, 0x78, 0xD8);
    c.Ellipse(4, 4, kPicture - 4, kPicture - 4);
    c.Font().SetName(u"Tahoma");
    c.Font().SetHeight(-28);
    c.Font().SetStyle(fsBold);
    c.Font().SetColor(warning ? clBlack : clWhite);
    WideString mark = warning ? u"!" : u"i";
    TSize size = c.TextExtent(mark);
    c.TextOut((kPicture - size.cx) / 2, (kPicture - size.cy) / 2, mark);
    return bmp;
}
} // namespace

TSmallDialog::TSmallDialog(TComponent* AOwner, int ClientWidth, int ClientHeight, TSymbol Symbol)
    : TForm(AOwner), FDesignClientWidth(ClientWidth) {
    SetBorderStyle(bsToolWindow);
    SetFormStyle(fsStayOnTop);
    Font()->SetName(u"Tahoma");
    Font()->SetSize(8);
    SetClientWidth(ClientWidth);
    SetClientHeight(ClientHeight);
    Image1 = MakeControl<TImage>(this, this, u"Image1", kMargin, kMargin, kPicture, kPicture);
    Image1->Picture().Assign(SymbolPicture(Symbol));
    Bevel1 = MakeControl<TBevel>(this, this, u"Bevel1", kMargin * 2 + kPicture, kMargin, 2,
                                 ClientHeight - 3 * kMargin - kButtonHeight);
    Bevel1->SetShape(bsLeftLine);
    Label1 = MakeControl<TLabel>(this, this, u"Label1", TextLeft(), kMargin, TextWidth(), 18);
    Label1->Font()->SetName(u"Tahoma");
    Label1->Font()->SetHeight(-15);
    FTextLabels.push_back(Label1);
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
    OnShow = [this](TObject* Sender) {
        if (FFocusOnShow) {
            SetActiveControl(FFocusOnShow);
            ShowFocusCues();
        }
        FitTextColumn();
        FormActivate(Sender);
    };
}

namespace {
int TextWidthIn(const TLabel* Label, const WideString& Text) {
    TCanvas canvas;
    canvas.Font().Assign(Label->Font());
    return WideCanvasTextWidth(canvas, Text);
}
} // namespace

void TSmallDialog::FitTextColumn() {
    int column = FDesignClientWidth - TextLeft() - kMargin;
    for (const TLabel* l : FTextLabels)
        column = std::max(column, TextWidthIn(l, l->DisplayText()));
    const int shift = TextLeft() + column + kMargin - ClientWidth();
    if (shift == 0) return;
    SetClientWidth(ClientWidth() + shift);
    for (TLabel* l : FTextLabels)
        l->SetWidth(column);
    for (TButton* b : FButtons)
        b->SetLeft(b->Left() + shift);
}

int TSmallDialog::TextLeft() const {
    return kMargin * 3 + kPicture + 2;
}

int TSmallDialog::TextWidth() const {
    return ClientWidth() - TextLeft() - kMargin;
}

void TSmallDialog::SetCentreOver(TForm* Value) {
    if (FCentreOver) FCentreOver->RemoveFreeNotification(this);
    FCentreOver = Value;
    if (FCentreOver) FCentreOver->FreeNotification(this);
}

void TSmallDialog::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == TOperation::opRemove && AComponent == FCentreOver) FCentreOver = nullptr;
    TForm::Notification(AComponent, Operation);
}

TForm* TSmallDialog::CentreOver() const {
    return FCentreOver ? FCentreOver : dynamic_cast<TForm*>(Owner());
}

WideString PathForLabel(const TLabel* Label, WideStringView Path, WideStringView Quote) {
    TCanvas canvas;
    canvas.Font().Assign(Label->Font());
    auto width = [&canvas](WideStringView s) { return WideCanvasTextWidth(canvas, WideString(s)); };
    const WideString quote(Quote);
    const int room = Label->Width() - 2 * width(quote);
    return quote + ShortenPathW(Path, width, room) + quote;
}

void CentreFormOver(TForm* Form, const TForm* Over) {
    if (!Over || Over == Form) return;
    Form->SetBounds(Over->Left() + (Over->ClientWidth() - Form->ClientWidth()) / 2,
                    Over->Top() + (Over->ClientHeight() - Form->ClientHeight()) / 2, Form->Width(),
                    Form->Height());
}

void TSmallDialog::FormActivate(TObject*) {
    CentreFormOver(this, CentreOver());
}

TLabel* TSmallDialog::AddLabel(WideStringView Name, int Top) {
    TLabel* l = MakeControl<TLabel>(this, this, Name, TextLeft(), Top, TextWidth(), 13);
    // Message lines and paths: an "&" in them is a character. The label keeps the width of
    // the text column, which a path is shortened to, whatever it showed before.
    l->SetShowAccelChar(false);
    l->SetAutoSize(false);
    l->SetWidth(TextWidth());
    FTextLabels.push_back(l);
    return l;
}

TButton* TSmallDialog::AddButton(WideStringView Name, int Slot, int Slots) {
    int left = ClientWidth() - kMargin - Slots * kButtonWidth - (Slots - 1) * kButtonGap +
               Slot * (kButtonWidth + kButtonGap);
    TButton* b =
        MakeControl<TButton>(this, this, Name, left, ClientHeight() - kMargin - kButtonHeight,
                             kButtonWidth, kButtonHeight);
    FButtons.push_back(b);
    return b;
}

void TSmallDialog::CloseWith(TModalResult Result) {
    if (Modal())
        SetModalResult(Result);
    else
        Close();
}
