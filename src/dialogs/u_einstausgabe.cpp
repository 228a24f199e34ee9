#include "dialogs/u_einstausgabe.h"

#include <string>

#include "dialogs/ConfigurationWindows.h"
#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/SettingDesignValues.h"
#include "dialogs/WindowSettingsView.h"
#include "dialogs/WorkingWindowLink.h"
#include "platform/ShellServices.h"
#include "text/EightBitUtils.h"
#include "text/WideStrUtils.h"

Teinstausgabe* einstausgabe = nullptr;

namespace {

// Light backgrounds (the three bytes add up to 500 or more) get black text, others white.
constexpr int kLightSum = 500;

bool isHexDigits(WideStringView s) {
    for (WideChar c : s)
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return false;
    return true;
}

} // namespace

Teinstausgabe::Teinstausgabe(TComponent* AOwner) : TForm(AOwner) {
    einstausgabe = this;
    SetName(u"einstausgabe");
    SetBorderStyle(bsToolWindow);
    SetFormStyle(fsStayOnTop);
    Position = poScreenCenter;
    SetClientWidth(470);
    SetClientHeight(544);

    GroupBox1 = MakeControl<TGroupBox>(this, this, u"GroupBox1", 8, 8, 454, 374);
    Label1 = MakeControl<TLabel>(this, GroupBox1, u"Label1", 12, 22, 430, 15);
    TRadioButton** radios[] = {&rb_beibehalten, &rb_ansi,    &rb_utf7,   &rb_utf7ansi, &rb_utf8,
                               &rb_utf8bom,     &rb_utf16le, &rb_utf_be, &rb_utf32le,  &rb_utf32be};
    const WideStringView radioNames[] = {
        u"rb_beibehalten", u"rb_ansi",    u"rb_utf7",   u"rb_utf7ansi", u"rb_utf8",
        u"rb_utf8bom",     u"rb_utf16le", u"rb_utf_be", u"rb_utf32le",  u"rb_utf32be"};
    for (int i = 0; i < 10; ++i)
        *radios[i] =
            MakeControl<TRadioButton>(this, GroupBox1, radioNames[i], 20, 42 + 21 * i, 420, 19);
    Label4 = MakeControl<TLabel>(this, GroupBox1, u"Label4", 12, 258, 430, 15);
    Label7 = MakeControl<TLabel>(this, GroupBox1, u"Label7", 20, 276, 420, 15);
    jazubom = MakeControl<TCheckBox>(this, GroupBox1, u"jazubom", 12, 300, 430, 19);
    Label5 = MakeControl<TLabel>(this, GroupBox1, u"Label5", 12, 326, 430, 15);
    Label2 = MakeControl<TLabel>(this, GroupBox1, u"Label2", 20, 344, 420, 15);
    for (TLabel* link : {Label7, Label2}) {
        link->Font()->SetColor(clBlue);
        link->Font()->SetStyle(fsUnderline);
        link->SetCursor(crHandPoint);
        link->OnClick = [this](TObject* s) { Label7Click(s); };
    }

    GroupBox2 = MakeControl<TGroupBox>(this, this, u"GroupBox2", 8, 390, 454, 114);
    Label6 = MakeControl<TLabel>(this, GroupBox2, u"Label6", 12, 22, 430, 15);
    Label3 = MakeControl<TLabel>(this, GroupBox2, u"Label3", 20, 48, 200, 18);
    BitBtn6 = MakeControl<TButton>(this, GroupBox2, u"BitBtn6", 250, 44, 190, 25);
    Edit1 = MakeControl<TEdit>(this, GroupBox2, u"Edit1", 20, 80, 200, 21);
    BitBtn1 = MakeControl<TButton>(this, GroupBox2, u"BitBtn1", 250, 78, 190, 25);
    Button1 = MakeControl<TButton>(this, this, u"Button1", 382, 512, 80, 25);
    Button1->SetCaption(u"OK");
    fd = new TFontDialog(this);
    fd->SetName(u"fd");
    cd = new TColorDialog(this);
    cd->SetName(u"cd");

    // Design values first (the handlers are not bound yet), then the handlers: from here on
    // checking a radio button by code runs its handler as a click does.
    ApplySettingDesignValues(this, "Teinstausgabe");
    Edit1->SetColor(clWhite);
    rb_beibehalten->OnClick = [this](TObject* s) { rb_utf8Click(s); };
    rb_ansi->OnClick = [this](TObject* s) { rb_ansiClick(s); };
    rb_utf7->OnClick = [this](TObject* s) { rb_utf7Click(s); };
    rb_utf7ansi->OnClick = [this](TObject* s) { rb_utf7ansiClick(s); };
    rb_utf8->OnClick = [this](TObject* s) { rb_utf8Click(s); };
    rb_utf8bom->OnClick = [this](TObject* s) { rb_utf8bomClick(s); };
    rb_utf16le->OnClick = [this](TObject* s) { rb_utf16leClick(s); };
    rb_utf_be->OnClick = [this](TObject* s) { rb_utf_beClick(s); };
    rb_utf32le->OnClick = [this](TObject* s) { rb_utf32leClick(s); };
    rb_utf32be->OnClick = [this](TObject* s) { rb_utf32beClick(s); };
    jazubom->OnClick = [this](TObject* s) { jazubomClick(s); };
    Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
    BitBtn6->OnClick = [this](TObject* s) { BitBtn6Click(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };

    RegisterSettingsWindow("Teinstausgabe", this);
    RegisterConfigurationWindow("EA", this);
}

Teinstausgabe::~Teinstausgabe() {
    UnregisterConfigurationWindow(this);
    UnregisterSettingsWindow(this);
    if (einstausgabe == this) einstausgabe = nullptr;
}

void Teinstausgabe::FormCreate(TObject*) {
    Sprache();
    SetCodepage(teUTF8);
}

void Teinstausgabe::Sprache() {
    const bool de = LanguageIsGerman();
    auto t = [de](const char16_t* german, const char16_t* english) {
        return WideString(de ? german : english);
    };
    SetCaption(t(u"Ausgabe Einstellungen", u"Output Settings"));
    GroupBox2->SetCaption(t(u"Ausgabe als Bild", u"Output as Image"));
    Label6->SetCaption(t(u"Schrift und Hintergrundfarbe bei einer Ausgabe als Bild:",
                         u"Font and Background Color at an Output as Image:"));
    Label3->SetCaption(t(u"Aktuelle Schrift", u"Current Font"));
    BitBtn1->SetCaption(t(u"Hintergrundfarbe..", u"Background Color.."));
    BitBtn6->SetCaption(t(u"Schrift wählen..", u"Choose Font.."));
    GroupBox1->SetCaption(t(u"Kodierung von Textdateien", u"Coding of Text Files"));
    Label1->SetCaption(t(u"Die Textdateien werden in folgendem Format abgespeichert:",
                         u"Text Files are saved in this File Format:"));
    Label4->SetCaption(t(u"Informationen zu den Formaten erhalten Sie auf dieser Seite:",
                         u"Information to the File Formats, you can get on:"));
    rb_beibehalten->SetCaption(
        t(u"Wenn möglich, Kodierung übernehmen", u"Adopt Coding if possible"));
    rb_utf7ansi->SetCaption(
        t(u"Unicode UTF-7 als ANSI gespeichert", u"Unicode UTF-7 saved as ANSI"));
    rb_utf8bom->SetCaption(t(u"Unicode UTF-8 mit BOM", u"Unicode UTF-8 with BOM"));
    rb_utf8->SetCaption(t(u"Unicode UTF-8 ohne BOM", u"Unicode UTF-8 without BOM"));
    Label5->SetCaption(t(u"Informationen zur Byte Order Mark (BOM) erhalten Sie hier:",
                         u"Information regarding the Byte Order Mark (BOM), you get on:"));
    jazubom->SetCaption(t(u"Byte Order Mark (BOM) in die Dateien schreiben",
                          u"Write Byte Order Mark (BOM) in the Files"));
    rb_ansi->SetCaption(u"ANSI Text");
    rb_utf7->SetCaption(u"Unicode UTF-7");
    rb_utf16le->SetCaption(u"Unicode UTF-16 Little Endian (Standard Windows Unicode)");
    rb_utf_be->SetCaption(u"Unicode UTF-16 Big Endian");
    rb_utf32le->SetCaption(u"Unicode UTF-32 Little Endian");
    rb_utf32be->SetCaption(u"Unicode UTF-32 Big Endian");
    Label7->SetCaption(t(u"https://de.wikipedia.org/wiki/Zeichenkodierung",
                         u"https://en.wikipedia.org/wiki/Character_encoding"));
    Label2->SetCaption(t(u"https://de.wikipedia.org/wiki/Byte_Order_Mark",
                         u"https://en.wikipedia.org/wiki/Byte_order_mark"));
    SetInMainProgram(); // the keep-original caption is in the language too
}

void Teinstausgabe::SetCodepage(TextEncodingCode Code) {
    FCodepage = Code;
    SetInMainProgram();
}

void Teinstausgabe::rb_ansiClick(TObject*) {
    SetCodepage(teANSI);
}
void Teinstausgabe::rb_utf7Click(TObject*) {
    SetCodepage(teUTF7);
}
void Teinstausgabe::rb_utf7ansiClick(TObject*) {
    SetCodepage(teUTF7Ansi);
}
void Teinstausgabe::rb_utf8Click(TObject*) {
    SetCodepage(teUTF8);
}
void Teinstausgabe::rb_utf8bomClick(TObject*) {
    SetCodepage(teUTF8BOM);
}
void Teinstausgabe::rb_utf16leClick(TObject*) {
    SetCodepage(teUTF16LE);
}
void Teinstausgabe::rb_utf_beClick(TObject*) {
    SetCodepage(teUTF16BE);
}
void Teinstausgabe::rb_utf32leClick(TObject*) {
    SetCodepage(teUTF32LE);
}
void Teinstausgabe::rb_utf32beClick(TObject*) {
    SetCodepage(teUTF32BE);
}
void Teinstausgabe::jazubomClick(TObject*) {
    SetInMainProgram();
}

WideString Teinstausgabe::EncodingCaption() const {
    WideString caption;
    const std::pair<const TRadioButton*, const char16_t*> marked[] = {
        {rb_utf7, u"Unicode UTF-7"},        {rb_utf8, u"Unicode UTF-8"},
        {rb_utf16le, u"Unicode UTF-16 LE"}, {rb_utf_be, u"Unicode UTF-16 BE"},
        {rb_utf32le, u"Unicode UTF-32 LE"}, {rb_utf32be, u"Unicode UTF-32 BE"}};
    for (const auto& [radio, text] : marked)
        if (radio->Checked()) caption = text;
    if (jazubom->Checked()) caption += u" BOM";
    const std::pair<const TRadioButton*, const char16_t*> unmarked[] = {
        {rb_utf7ansi, u"Unicode UTF-7 ANSI"},
        {rb_utf8bom, u"Unicode UTF-8 BOM"},
        {rb_ansi, u"ANSI Text"}};
    for (const auto& [radio, text] : unmarked)
        if (radio->Checked()) caption = text;
    if (rb_beibehalten->Checked())
        caption =
            LanguageIsGerman() ? u"Original-Kodierung beibehalten" : u"Keep Original Encoding";
    return caption;
}

void Teinstausgabe::SetInMainProgram() {
    if (WorkingWindowLink* w = WorkingWindow())
        w->SetOutputEncoding(FCodepage, jazubom->Checked(), EncodingCaption());
}

void Teinstausgabe::ShowColour(TColor Colour) {
    Edit1->SetColor(Colour);
    uint8_t r = 0, g = 0, b = 0;
    ColorToRGBBytes(int32_t(Colour), r, g, b);
    Edit1->Font()->SetColor(r + g + b < kLightSum ? clWhite : clBlack);
}

void Teinstausgabe::Edit1Change(TObject*) {
    WideString digits = Edit1->Text();
    std::erase(digits, u'#');
    if (digits.size() != 6 || !isHexDigits(digits)) return;
    ShowColour(TColor(HexRGBToColor(U8(digits))));
}

void Teinstausgabe::BitBtn1Click(TObject*) {
    cd->Color = Edit1->Color();
    if (!cd->Execute()) return;
    const AnsiString digits = ColorToHexRGB(int32_t(cd->Color));
    ShowColour(cd->Color);
    Edit1->SetText(u"#" + U16(digits));
}

void Teinstausgabe::BitBtn6Click(TObject*) {
    fd->SetFont(Label3->Font());
    if (fd->Execute()) Label3->Font()->Assign(fd->Font());
}

void Teinstausgabe::Button1Click(TObject*) {
    Close();
}

void Teinstausgabe::Label7Click(TObject* Sender) {
    if (auto* link = dynamic_cast<TLabel*>(Sender)) OpenDocumentW(link->Caption());
}
