#include "dialogs/u_einstregex.h"

#include "dialogs/ConfigurationWindows.h"
#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/WorkingWindowLink.h"
#include "platform/ShellServices.h"
#include "regex/RegExpr.h"
#include "text/EightBitUtils.h"
#include "text/WideStrUtils.h"

Teinstregex* einstregex = nullptr;

namespace {

constexpr WideStringView kStandardWord =
    u"0123456789aäbcdefghijklmnoöpqrsßtuüvwxyzAÄBCDEFGHIJKLMNOÖPQRSTUÜVWXYZ_";
constexpr WideStringView kStandardSpace = u" $9$A$D$C";
constexpr WideStringView kStandardLineSeparators = u"$d$a$b$c$85$2028$2029";
constexpr uint32_t kLastCodePoint = 0x10FFFF;

int hexDigit(WideChar c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// One "$"-piece as a character code: hexadecimal digits only, at most U+10FFFF.
uint32_t pieceCode(WideStringView piece) {
    uint32_t code = 0;
    for (WideChar c : piece) {
        const int digit = hexDigit(c);
        if (digit < 0)
            throw EConvertError(u"'$" + WideString(piece) + u"' is not a valid integer value");
        code = code * 16 + uint32_t(digit);
        if (code > kLastCodePoint)
            throw EConvertError(u"'$" + WideString(piece) + u"' is no character code");
    }
    return code;
}

void appendCode(WideString& out, uint32_t code) {
    if (code <= 0xFFFF) {
        out += WideChar(code); // a surrogate code stays the lone unit it names
        return;
    }
    code -= 0x10000;
    out += WideChar(0xD800 + (code >> 10));
    out += WideChar(0xDC00 + (code & 0x3FF));
}

void refreshPreview() {
    if (WorkingWindowLink* w = WorkingWindow()) w->VorschauWennAktiv();
}

// Writes a box's state into its modifier default and lets the preview follow.
void writeModifier(bool& modifier, const TCheckBox* box) {
    modifier = box->Checked();
    refreshPreview();
}

} // namespace

WideString StringUserToComp(WideStringView Text) {
    const size_t first = Text.find(u'$');
    if (first == WideStringView::npos) return WideString(Text);
    WideString result(Text.substr(0, first));
    if (Text.find(u"$$") != WideStringView::npos) result += u'$';
    TWideStrArray pieces;
    ExplodeW(pieces, u"$", Text.substr(first + 1));
    for (const WideString& piece : pieces)
        if (!piece.empty()) appendCode(result, pieceCode(piece));
    return result;
}

Teinstregex::Teinstregex(TComponent* AOwner) : TForm(AOwner) {
    einstregex = this;
    SetName(u"einstregex");
    RegisterConfigurationWindow("ER", this);
    SetBorderStyle(bsToolWindow);
    SetFormStyle(fsStayOnTop);
    Position = poScreenCenter;
    SetClientWidth(560);
    SetClientHeight(478);

    GroupBox1 = MakeControl<TGroupBox>(this, this, u"GroupBox1", 8, 8, 544, 252);
    Label1 = MakeControl<TLabel>(this, GroupBox1, u"Label1", 12, 22, 520, 15);
    TCheckBox** boxes[] = {&cb_caseinsensitive_i, &cb_multiline_m, &cb_singleline_s,
                           &cb_greedymode_g, &cb_whitespacecomments_x};
    const WideStringView boxNames[] = {u"cb_caseinsensitive_i", u"cb_multiline_m",
                                       u"cb_singleline_s", u"cb_greedymode_g",
                                       u"cb_whitespacecomments_x"};
    for (int i = 0; i < 5; ++i)
        *boxes[i] = MakeControl<TCheckBox>(this, GroupBox1, boxNames[i], 20, 42 + 21 * i, 360, 19);
    cb_singleline_s->SetChecked(true); // design state; the handlers come below
    Label2 = MakeControl<TLabel>(this, GroupBox1, u"Label2", 12, 154, 520, 15);
    TLabel** examples[] = {&Label11, &Label12, &Label13, &Label14};
    const WideStringView exampleNames[] = {u"Label11", u"Label12", u"Label13", u"Label14"};
    for (int i = 0; i < 4; ++i)
        *examples[i] =
            MakeControl<TLabel>(this, GroupBox1, exampleNames[i], 20 + 130 * i, 174, 120, 15);
    Label3 = MakeControl<TLabel>(this, GroupBox1, u"Label3", 12, 202, 520, 15);
    Label7 = MakeControl<TLabel>(this, GroupBox1, u"Label7", 20, 222, 500, 15);

    GroupBox2 = MakeControl<TGroupBox>(this, this, u"GroupBox2", 8, 268, 544, 170);
    Label4 = MakeControl<TLabel>(this, GroupBox2, u"Label4", 12, 22, 520, 15);
    TLabel** names[] = {&Label5, &Label6, &Label8};
    const WideStringView labelNames[] = {u"Label5", u"Label6", u"Label8"};
    TEdit** edits[] = {&zk_word, &zk_space, &zk_lineseparators};
    const WideStringView editNames[] = {u"zk_word", u"zk_space", u"zk_lineseparators"};
    const WideStringView designTexts[] = {kStandardWord, kStandardSpace, kStandardLineSeparators};
    for (int i = 0; i < 3; ++i) {
        *names[i] = MakeControl<TLabel>(this, GroupBox2, labelNames[i], 12, 48 + 27 * i, 110, 15);
        *edits[i] = MakeControl<TEdit>(this, GroupBox2, editNames[i], 124, 44 + 27 * i, 408, 21);
        (*edits[i])->SetText(WideString(designTexts[i]));
    }
    Label9 = MakeControl<TLabel>(this, GroupBox2, u"Label9", 12, 128, 520, 15);
    Label10 = MakeControl<TLabel>(this, GroupBox2, u"Label10", 20, 146, 500, 15);
    for (TLabel* link : {Label7, Label10}) {
        link->Font()->SetColor(clBlue);
        link->Font()->SetStyle(fsUnderline);
        link->SetCursor(crHandPoint);
        link->OnClick = [this](TObject* s) { Label7Click(s); };
    }

    Button1 = MakeControl<TButton>(this, this, u"Button1", 296, 446, 80, 25);
    Button2 = MakeControl<TButton>(this, this, u"Button2", 384, 446, 80, 25);
    Button3 = MakeControl<TButton>(this, this, u"Button3", 472, 446, 80, 25);
    Button1->SetCaption(u"OK");
    Button3->SetCaption(u"Standard");

    cb_caseinsensitive_i->OnClick = [this](TObject* s) { cb_caseinsensitive_iClick(s); };
    cb_multiline_m->OnClick = [this](TObject* s) { cb_multiline_mClick(s); };
    cb_singleline_s->OnClick = [this](TObject* s) { cb_singleline_sClick(s); };
    cb_greedymode_g->OnClick = [this](TObject* s) { cb_greedymode_gClick(s); };
    cb_whitespacecomments_x->OnClick = [this](TObject* s) { cb_whitespacecomments_xClick(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

Teinstregex::~Teinstregex() {
    if (einstregex == this) einstregex = nullptr;
}

void Teinstregex::FormCreate(TObject*) {
    Sprache();
    Button3Click(Button3);
}

void Teinstregex::Sprache() {
    const bool de = LanguageIsGerman();
    auto t = [de](const char16_t* german, const char16_t* english) {
        return WideString(de ? german : english);
    };
    SetCaption(
        t(u"Einstellungen für Reguläre Ausdrücke", u"Settings regarding Regular Expressions"));
    GroupBox1->SetCaption(t(u"Modifikatoren", u"Modifiers"));
    Label1->SetCaption(
        t(u"Folgende Modifikatoren werden angewendet:", u"The following modifiers are used:"));
    cb_caseinsensitive_i->SetCaption(
        t(u"Modifikator i: Case-Insensitive", u"Modifier i: Case-Insensitive"));
    cb_multiline_m->SetCaption(t(u"Modifikator m: Multi Line", u"Modifier m: Multi Line"));
    cb_singleline_s->SetCaption(t(u"Modifikator s: Single Line", u"Modifier s: Single Line"));
    cb_greedymode_g->SetCaption(t(u"Modifikator g: Greedy Mode", u"Modifier g: Greedy Mode"));
    cb_whitespacecomments_x->SetCaption(
        t(u"Modifiktaor x: Extended Syntax", u"Modifier x: Extended Syntax"));
    Label2->SetCaption(t(u"Beispiele um Modifikatoren direkt im regulären Ausdruck zu ändern:",
                         u"Examples to use modifiers within regular expressions:"));
    Label11->SetCaption(u"(?i)[a-z]");
    Label12->SetCaption(u"(?ms-g)^.+$");
    Label13->SetCaption(u"[a-z]\\s(?-i)[a-z]");
    Label14->SetCaption(u"((?i)[a-z])\\s[a-z]");
    Label3->SetCaption(t(u"Informationen und Erklärungen zu den Modifikatoren auf:",
                         u"Information and explanations regarding modifiers:"));
    GroupBox2->SetCaption(t(u"Zeichenklassen", u"Character Classes"));
    Label4->SetCaption(t(u"Folgende Zeichen werden für die Zeichenklassen verwendet:",
                         u"The following characters are used for character classes:"));
    Label5->SetCaption(u"Word \\w:");
    Label6->SetCaption(u"Space \\s:");
    Label8->SetCaption(u"LineSeparators:");
    Label9->SetCaption(t(u"Informationen und Hilfe zur Benutzung von regulären Ausdrücken:",
                         u"Information and help regarding the usage of regular expressions:"));
    const WideString page = t(u"https://de.wikipedia.org/wiki/Regulärer_Ausdruck",
                              u"https://en.wikipedia.org/wiki/Regular_expression");
    Label7->SetCaption(page);
    Label10->SetCaption(page);
    Button2->SetCaption(t(u"Übernehmen", u"Assume"));
}

void Teinstregex::cb_caseinsensitive_iClick(TObject*) {
    writeModifier(RegExprDefaults.ModifierI, cb_caseinsensitive_i);
}
void Teinstregex::cb_multiline_mClick(TObject*) {
    writeModifier(RegExprDefaults.ModifierM, cb_multiline_m);
}
void Teinstregex::cb_singleline_sClick(TObject*) {
    writeModifier(RegExprDefaults.ModifierS, cb_singleline_s);
}
void Teinstregex::cb_greedymode_gClick(TObject*) {
    writeModifier(RegExprDefaults.ModifierG, cb_greedymode_g);
}
void Teinstregex::cb_whitespacecomments_xClick(TObject*) {
    writeModifier(RegExprDefaults.ModifierX, cb_whitespacecomments_x);
}

void Teinstregex::Button1Click(TObject* Sender) {
    Button2Click(Sender);
    Close();
}

void Teinstregex::Button2Click(TObject*) {
    // All three texts are converted before anything is written, so that a bad one leaves
    // every default as it was.
    const WideString space = StringUserToComp(zk_space->Text());
    const WideString word = StringUserToComp(zk_word->Text());
    const WideString lineSeparators = StringUserToComp(zk_lineseparators->Text());
    TRegExprDefaults& d = RegExprDefaults;
    d.ModifierI = cb_caseinsensitive_i->Checked();
    d.ModifierM = cb_multiline_m->Checked();
    d.ModifierS = cb_singleline_s->Checked();
    d.ModifierG = cb_greedymode_g->Checked();
    d.ModifierX = cb_whitespacecomments_x->Checked();
    d.WordChars = word;
    d.SpaceChars = space;
    d.LineSeparators = lineSeparators;
    refreshPreview();
}

void Teinstregex::Button3Click(TObject*) {
    cb_caseinsensitive_i->SetChecked(false);
    cb_multiline_m->SetChecked(false);
    cb_singleline_s->SetChecked(true);
    cb_greedymode_g->SetChecked(true);
    cb_whitespacecomments_x->SetChecked(false);
    zk_word->SetText(WideString(kStandardWord));
    zk_space->SetText(WideString(kStandardSpace));
    zk_lineseparators->SetText(WideString(kStandardLineSeparators));
    for (TEdit* edit : {zk_word, zk_space, zk_lineseparators})
        edit->SetSelStart(0); // show the beginning of a text wider than its edit
    refreshPreview();
}

void Teinstregex::Label7Click(TObject* Sender) {
    if (auto* link = dynamic_cast<TLabel*>(Sender)) BrowseTo(link->Caption());
}
