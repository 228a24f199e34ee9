#include "dialogs/u_hilfe.h"

#include "dialogs/FormBuilding.h"
#include "dialogs/ProjectLinks.h"
#include "platform/Messages.h"

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 500;
constexpr int kMargin = 8;
constexpr int kHeading = 44;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;
constexpr int kEntryHeight = 78;
constexpr int kEntryTextWidth = 540;

// The heading band: the program's name on the colour of the window's frame.
TBitmap HeadingPicture(WideStringView Title) {
    TBitmap bmp;
    bmp.SetSize(kWidth, kHeading);
    TCanvas c(&bmp);
    c.Brush.Color = RGB(0x2C, 0x4E, 0x86);
    c.FillRect(Rect(0, 0, kWidth, kHeading));
    c.Brush.Color = RGB(0xF2, 0xB1, 0x34);
    c.FillRect(Rect(0, kHeading - 4, kWidth, kHeading));
    c.Font().SetName(u"Tahoma");
    c.Font().SetHeight(-22);
    c.Font().SetStyle(fsBold);
    c.Font().SetColor(clWhite);
    c.Brush.Style = bsClear;
    const WideString text(Title);
    c.TextOut(kMargin * 2, (kHeading - 4 - c.TextExtent(text).cy) / 2, text);
    return bmp;
}
} // namespace

THelpWindow::THelpWindow(TComponent* AOwner, const HelpTexts& Texts, WideStringView Suffix,
                         WideStringView FrameName, WideStringView BackName, WideStringView NextName)
    : TForm(AOwner) {
    SetName(u"hilfe" + WideString(Suffix));
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    Position = poScreenCenter;
    Font()->SetName(u"Tahoma");
    Font()->SetSize(8);
    SetClientWidth(kWidth);
    SetClientHeight(kHeight);
    SetCaption(WideString(Texts.window_caption));

    Image2 = MakeControl<TImage>(this, this, u"Image2", 0, 0, kWidth, kHeading);
    Image2->Picture().Assign(HeadingPicture(Texts.window_caption));
    pc = MakeControl<TPageControl>(this, this, u"pc", kMargin, kHeading + kMargin,
                                   kWidth - 2 * kMargin,
                                   kHeight - kHeading - 3 * kMargin - kButtonHeight);
    pc->SetStyle(tsFlatButtons);
    auto page = [this](WideStringView Name, WideStringView Caption) {
        auto* sheet = new TTabSheet(this);
        sheet->SetName(WideString(Name));
        sheet->SetPageControl(pc);
        sheet->SetCaption(WideString(Caption));
        return sheet;
    };
    pc_hilfe = page(u"pc_hilfe", Texts.page_help);
    pc_empf = page(u"pc_empf", Texts.page_regards);
    pc_software = page(u"pc_software", Texts.page_software);
    pc_spenden = page(u"pc_spenden", Texts.page_donate);
    hilfe_text = AddTextPage(pc_hilfe, u"hilfe_text", Texts.help);
    empf_text = AddTextPage(pc_empf, u"empf_text", Texts.regards);
    FillSoftwarePage(Texts, FrameName);
    spenden_link = MakeLinkLabel(this, pc_spenden, u"spenden_link", kMargin, 0,
                                 ProjectPage(Texts.donate_path));
    spenden_link->SetAlign(alBottom);
    spenden_text = AddTextPage(pc_spenden, u"spenden_text", Texts.donate);
    pc->SetActivePage(pc_hilfe);

    const int buttonTop = kHeight - kMargin - kButtonHeight;
    BackButton =
        MakeControl<TButton>(this, this, BackName, kMargin, buttonTop, kButtonWidth, kButtonHeight);
    BackButton->SetCaption(WideString(Texts.back));
    NextButton = MakeControl<TButton>(this, this, NextName, 2 * kMargin + kButtonWidth, buttonTop,
                                      kButtonWidth, kButtonHeight);
    NextButton->SetCaption(WideString(Texts.next));
    CloseButton = MakeControl<TButton>(this, this, u"btclose", kWidth - kMargin - kButtonWidth,
                                       buttonTop, kButtonWidth, kButtonHeight);
    CloseButton->SetCaption(WideString(Texts.close));
    CloseButton->Cancel = true;

    BackButton->OnClick = [this](TObject* s) { BackClick(s); };
    NextButton->OnClick = [this](TObject* s) { NextClick(s); };
    CloseButton->OnClick = [this](TObject*) { Close(); };
    OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        DragMouseDown(s, b, sh, x, y);
    };
    Image2->OnMouseDown = OnMouseDown;
}

TMemo* THelpWindow::AddTextPage(TTabSheet* Page, WideStringView Name, WideStringView Text) {
    auto* memo = MakeControl<TMemo>(this, Page, Name, 0, 0, 100, 100);
    memo->SetAlign(alClient);
    memo->SetReadOnly(true);
    memo->SetWordWrap(true);
    memo->SetScrollBars(ssVertical);
    memo->SetText(WideString(Text));
    return memo;
}

void THelpWindow::FillSoftwarePage(const HelpTexts& Texts, WideStringView FrameName) {
    software_text = MakeControl<TLabel>(this, pc_software, u"software_text", 0, 0, 100, 36);
    software_text->SetAlign(alTop);
    software_text->SetAutoSize(false);
    software_text->SetWordWrap(true);
    software_text->SetCaption(WideString(Texts.software_intro));
    Frame = MakeControl<TScrollBox>(this, pc_software, FrameName, 0, 40, 100, 100);
    Frame->SetAlign(alClient);
    Frame->OnMouseWheel = [this](TObject* s, TShiftState sh, int delta, TPoint at, bool& done) {
        FrameMouseWheel(s, sh, delta, at, done);
    };
    Frame->OnMouseEnter = [this](TObject*) {
        if (Frame->CanFocus()) Frame->SetFocus();
    };
    int top = kMargin;
    int index = 0;
    for (const HelpEntry& entry : Texts.entries) {
        const WideString number =
            WideString(u"") + char16_t(u'0' + index / 10) + char16_t(u'0' + index % 10);
        auto* title =
            MakeControl<TLabel>(this, Frame, u"entry_title" + number, kMargin, top, 10, 15);
        title->Font()->SetStyle(fsBold);
        title->SetCaption(WideString(entry.title));
        auto* text = MakeControl<TLabel>(this, Frame, u"entry_text" + number, kMargin, top + 18,
                                         kEntryTextWidth, 32);
        text->SetAutoSize(false);
        text->SetWordWrap(true);
        text->SetCaption(WideString(entry.text));
        MakeLinkLabel(this, Frame, u"entry_link" + number, kMargin, top + 52,
                      ProjectPage(entry.path));
        top += kEntryHeight;
        ++index;
    }
}

void THelpWindow::ShowPage(TTabSheet* Page) {
    if (Page && Page->PageControl() == pc) pc->SetActivePage(Page);
    Show();
    BringToFront();
}

void THelpWindow::BackClick(TObject*) {
    pc->SelectNextPage(false, true);
}

void THelpWindow::NextClick(TObject*) {
    pc->SelectNextPage(true, true);
}

void THelpWindow::DragMouseDown(TObject*, TMouseButton Button, TShiftState, int, int) {
    if (Button == mbLeft) Perform(WM_SYSCOMMAND, SC_DRAGMOVE, 0);
}

void THelpWindow::FrameMouseWheel(TObject*, TShiftState, int WheelDelta, TPoint, bool& Handled) {
    TControlScrollBar& bar = Frame->VertScrollBar();
    bar.SetPosition(bar.Position() - WheelDelta * WheelStep / 120);
    Handled = true;
}

Thilfe::Thilfe(TComponent* AOwner)
    : THelpWindow(AOwner, GermanHelpTexts(), u"", u"TFrame1", u"btide1", u"btide2") {}

Thilfe_en::Thilfe_en(TComponent* AOwner)
    : THelpWindow(AOwner, EnglishHelpTexts(), u"_en", u"TFrame2", u"btien1", u"btien2") {}
