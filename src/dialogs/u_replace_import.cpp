#include "dialogs/u_replace_import.h"

#include "dialogs/ConfigurationWindows.h"
#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/WorkingWindowLink.h"
#include "engine/ProcessLog.h"
#include "engine/UserLists.h"
#include "platform/Dialogs.h"
#include "platform/ListViews.h"
#include "text/FileUtils.h"
#include "text/TextFiles.h"
#include "text/UCodeClasses.h"
#include "text/WideStrUtils.h"

Treplace_import* replace_import = nullptr;

namespace {

constexpr WideStringView kPromptGerman =
    u"Wählen Sie eine vorhandene Liste oder schreiben Sie den Namen für eine neue Liste in die "
    u"Box";
constexpr WideStringView kPromptEnglish =
    u"Choose a list or type a new name for a list into the box";
constexpr WideStringView kListExtension = u".txt";
constexpr WideStringView kCrLf = u"\r\n";
constexpr TextEncodingCode kListEncoding = 1200; // UTF-16 LE, written with its mark

// A name the list can be saved under: no prompt, and one plain file name.
bool isSavableListName(WideStringView name) {
    return name != kPromptGerman && name != kPromptEnglish && IsPlainFileNameW(name);
}

// The lines of a memo's text (CR LF between them); a final empty piece is harmless to every
// caller, which skips or keeps short lines.
TWideStrArray memoLines(const TMemo* memo) {
    TWideStrArray lines;
    ExplodeW(lines, kCrLf, memo->Text());
    return lines;
}

// Shows a message above a window that stays on top by lifting that style meanwhile.
void showAboveStayOnTop(TForm* form, const WideString& message) {
    const TFormStyle style = form->FormStyle();
    form->SetFormStyle(fsNormal);
    try {
        WideShowMessage(message);
    } catch (...) {
        form->SetFormStyle(style);
        throw;
    }
    form->SetFormStyle(style);
}

} // namespace

WideString Treplace_import::DefaultFolder() {
    return ProgramFolder();
}

Treplace_import::Treplace_import(TComponent* AOwner, const WideString& ProgramFolder)
    : TForm(AOwner), FProgramFolder(WideIncludeTrailingBackslash(ProgramFolder)) {
    replace_import = this;
    SetName(u"replace_import");
    RegisterConfigurationWindow("RI", this);
    SetBorderStyle(bsSizeToolWin);
    SetFormStyle(fsStayOnTop);
    Position = poScreenCenter;
    SetClientWidth(760);
    SetClientHeight(560);
    SetConstraints({620, 500, 0, 0});

    TLabel** lines[] = {&Label1, &Label2, &Label3};
    const WideStringView lineNames[] = {u"Label1", u"Label2", u"Label3"};
    for (int i = 0; i < 3; ++i) {
        *lines[i] = MakeControl<TLabel>(this, this, lineNames[i], 8, 8 + 18 * i, 744, 15);
        (*lines[i])->SetAnchors(akLeft | akTop | akRight);
    }
    cb = MakeControl<TComboBox>(this, this, u"cb", 8, 66, 620, 21);
    cb->SetAnchors(akLeft | akTop | akRight);
    cb->SetDropDownCount(24);
    bt_save = MakeControl<TButton>(this, this, u"bt_save", 636, 64, 116, 25);
    bt_save->SetAnchors(akTop | akRight);
    liste = MakeControl<TMemo>(this, this, u"liste", 8, 96, 744, 258);
    liste->SetAnchors(akLeft | akTop | akRight | akBottom);
    liste->SetScrollBars(ssBoth);
    liste->SetWordWrap(false);

    const int settingsTop = 364;
    Label4 = MakeControl<TLabel>(this, this, u"Label4", 8, settingsTop + 4, 110, 15);
    ed_delimiter = MakeControl<TEdit>(this, this, u"ed_delimiter", 120, settingsTop, 60, 21);
    ed_delimiter->SetText(u"|");
    cb_linebreak =
        MakeControl<TCheckBox>(this, this, u"cb_linebreak", 200, settingsTop + 2, 250, 19);
    cb_linebreak->SetChecked(true);
    ed_linebreak = MakeControl<TEdit>(this, this, u"ed_linebreak", 452, settingsTop, 60, 21);
    ed_linebreak->SetText(u"\\nl");
    TRadioButton** modes[] = {&rb_reg0, &rb_reg1, &rb_reg2, &rb_reg_individuell};
    const WideStringView modeNames[] = {u"rb_reg0", u"rb_reg1", u"rb_reg2", u"rb_reg_individuell"};
    for (int i = 0; i < 4; ++i)
        *modes[i] = MakeControl<TRadioButton>(this, this, modeNames[i], 8,
                                              settingsTop + 28 + 21 * i, 744, 19);
    rb_reg0->SetChecked(true);
    cb_auto_clear =
        MakeControl<TCheckBox>(this, this, u"cb_auto_clear", 8, settingsTop + 118, 744, 19);
    cb_auto_clear->SetChecked(true);
    for (TControl* c :
         std::initializer_list<TControl*>{Label4, ed_delimiter, cb_linebreak, ed_linebreak, rb_reg0,
                                          rb_reg1, rb_reg2, rb_reg_individuell, cb_auto_clear})
        c->SetAnchors(akLeft | akBottom);

    const int buttonTop = 528;
    struct ButtonPlace {
        TButton** button;
        WideStringView name;
        int left, width;
    };
    const ButtonPlace buttons[] = {{&bt_add_to_actionlist, u"bt_add_to_actionlist", 8, 180},
                                   {&bt_replace_actionlist, u"bt_replace_actionlist", 194, 160},
                                   {&bt_from_actionlist, u"bt_from_actionlist", 360, 170},
                                   {&bt_reverselist, u"bt_reverselist", 536, 110},
                                   {&bt_del, u"bt_del", 652, 100}};
    for (const ButtonPlace& b : buttons) {
        *b.button = MakeControl<TButton>(this, this, b.name, b.left, buttonTop, b.width, 25);
        (*b.button)->SetAnchors(akLeft | akBottom);
    }
    bt_del->SetAnchors(akRight | akBottom);

    cb->OnChange = [this](TObject* s) { cbChange(s); };
    bt_save->OnClick = [this](TObject* s) { bt_saveClick(s); };
    bt_add_to_actionlist->OnClick = [this](TObject* s) { bt_add_to_actionlistClick(s); };
    bt_replace_actionlist->OnClick = [this](TObject* s) { bt_replace_actionlistClick(s); };
    bt_from_actionlist->OnClick = [this](TObject* s) { bt_from_actionlistClick(s); };
    bt_reverselist->OnClick = [this](TObject* s) { bt_reverselistClick(s); };
    bt_del->OnClick = [this](TObject* s) { bt_delClick(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

Treplace_import::~Treplace_import() {
    if (replace_import == this) replace_import = nullptr;
}

WideString Treplace_import::ListFolder() const {
    return ReplacementsFolder(FProgramFolder);
}

void Treplace_import::FormCreate(TObject*) {
    Sprache();
    for (const WideString& name : UserListNames(ListFolder()))
        cb->Items().Add(name);
}

void Treplace_import::Sprache() {
    const bool de = LanguageIsGerman();
    auto t = [de](const char16_t* german, const char16_t* english) {
        return WideString(de ? german : english);
    };
    SetCaption(t(u"Suchen- und Ersetzen Manager", u"Replacement Manager"));
    Label1->SetCaption(t(u"Erstellen Sie eine Liste in der Form: \"<Suchwort><Trennzeichen>"
                         u"<Ersetzung>\". Jede Zeile ist eine Ersetzung.",
                         u"Create a list in the form \"<Search Term><Delimiter><Replacement>\". "
                         u"Each line is a replacement."));
    Label2->SetCaption(t(u"Optional können \"<Trennzeichen>reg=s\" oder \"<Trennzeichen>reg=sr\" "
                         u"an die Zeilen angehängt werden.",
                         u"Optionally, you can append \"<Delimiter>reg=s\" or "
                         u"\"<Delimiter>reg=sr\" to the lines."));
    Label3->SetCaption(t(u"Klicken Sie anschließend auf \"Zur Aktionsliste hinzufügen\" oder "
                         u"\"Aktionsliste ersetzen\", um die Ersetzungen anzuwenden.",
                         u"After that, click on \"Add to Action List\" or \"Replace Action "
                         u"List\" to apply the replacements."));
    Label4->SetCaption(t(u"Trennzeichen:", u"Delimiter:"));
    cb_linebreak->SetCaption(t(u"Zeichen für einen Zeilenumbruch:", u"Character for a Linebreak:"));
    rb_reg0->SetCaption(t(u"Keine Zeile enthält einen regulären Ausdruck",
                          u"No line is containing a regular expression"));
    rb_reg1->SetCaption(
        t(u"Alle Zeilen enthalten einen regulären Ausdruck im Suchwort (reg=s)",
          u"All lines are containg a regular expression in the search term (reg=s)"));
    rb_reg2->SetCaption(t(u"Alle Zeilen enthalten einen regulären Ausdruck im Suchwort und in "
                          u"der Ersetzung (reg=sr)",
                          u"All lines are containg a regular expression in the search term and "
                          u"the replacement (reg=sr)"));
    rb_reg_individuell->SetCaption(
        t(u"Jede Zeile kann individuelle reguläre Ausdrücke enthalten (Kennzeichnung mit reg=s "
          u"oder reg=sr)",
          u"Each line can contain individual regular expressions (marked with reg=s or "
          u"reg=sr)"));
    bt_save->SetCaption(t(u"Speichern", u"Save"));
    bt_add_to_actionlist->SetCaption(t(u"Zur Aktionsliste hinzufügen", u"Add to Action List"));
    bt_replace_actionlist->SetCaption(t(u"Aktionsliste ersetzen", u"Replace Action List"));
    bt_del->SetCaption(t(u"Leeren", u"Clear"));
    bt_from_actionlist->SetCaption(t(u"Von Aktionsliste laden", u"Load from Action List"));
    bt_reverselist->SetCaption(t(u"Gegenliste", u"Reverse List"));
    cb_auto_clear->SetCaption(
        t(u"Automatisch leeren nach dem Hinzufügen oder Ersetzen der Aktionsliste",
          u"Auto-Clear after adding or replacing the Action List"));
    cb->SetText(WideString(de ? kPromptGerman : kPromptEnglish));
}

ReplaceListMode Treplace_import::SelectedMode() const {
    if (rb_reg0->Checked()) return ReplaceListMode::None;
    if (rb_reg1->Checked()) return ReplaceListMode::SearchOnly;
    if (rb_reg2->Checked()) return ReplaceListMode::SearchAndReplacement;
    return ReplaceListMode::Individual;
}

void Treplace_import::SelectMode(ReplaceListMode Mode) {
    switch (Mode) {
    case ReplaceListMode::None:
        rb_reg0->SetChecked(true);
        break;
    case ReplaceListMode::SearchOnly:
        rb_reg1->SetChecked(true);
        break;
    case ReplaceListMode::SearchAndReplacement:
        rb_reg2->SetChecked(true);
        break;
    case ReplaceListMode::Individual:
        rb_reg_individuell->SetChecked(true);
        break;
    }
}

WideString Treplace_import::placeholder() const {
    return LineBreakPlaceholder(cb_linebreak->Checked(), ed_linebreak->Text());
}

void Treplace_import::cbChange(TObject*) {
    ed_delimiter->SetText(u"|");
    const WideString path = UserListFile(ListFolder(), cb->Text());
    if (path.empty()) return;
    WideString text;
    LoadTextFileW(path, text);
    liste->Lines().SetText(text); // one entry a line, whichever line breaks the file has
    if (liste->Lines().Count() == 0) return;
    ReplaceListMode mode = SelectedMode();
    WideString delimiter = ed_delimiter->Text();
    if (!ReadListFileHeader(liste->Lines().Get(0), mode, delimiter)) return;
    SelectMode(mode);
    ed_delimiter->SetText(delimiter);
    liste->Lines().Delete(0);
}

void Treplace_import::bt_saveClick(TObject*) {
    const WideString name = cb->Text();
    if (!isSavableListName(name)) {
        showAboveStayOnTop(this,
                           LanguageIsGerman()
                               ? u"Geben Sie einen Namen für die Liste in der Drop-Down-Box an."
                               : u"Please type in a name for your list in the drop down box.");
        return;
    }
    const WideString folder = ListFolder();
    if (!WideDirectoryExists(folder)) WideForceDirectories(folder);
    SaveTextFileW(ListFileHeader(SelectedMode(), ed_delimiter->Text()) + liste->Text(),
                  folder + name + WideString(kListExtension), kListEncoding, true);
    for (int i = 0; i < cb->Items().Count(); ++i)
        if (cb->Items().Get(i) == name) return;
    cb->Items().Add(name);
}

void Treplace_import::addEntries(bool Replace) {
    WorkingWindowLink* working = WorkingWindow();
    if (!working) return;
    TListItems& rows = working->ReplaceTextList()->Items();
    const WideString delimiter = ed_delimiter->Text();
    const WideString breakMark = placeholder();
    const ReplaceListMode mode = SelectedMode();
    {
        TListItems::TUpdate frozen(rows);
        if (Replace) rows.Clear();
        for (const WideString& line : memoLines(liste)) {
            const std::optional<ReplaceListRow> row =
                EntryLineToRow(line, delimiter, breakMark, mode);
            if (!row) continue;
            TListItem* item = rows.Add();
            item->SetCaption(row->search);
            item->SubItems().Add(row->replacement);
            item->SubItems().Add(row->mark);
        }
    }
    if (cb_auto_clear->Checked()) liste->Clear();
    working->VorschauWennAktiv();
}

void Treplace_import::bt_add_to_actionlistClick(TObject*) {
    addEntries(false);
}

void Treplace_import::bt_replace_actionlistClick(TObject*) {
    addEntries(true);
}

void Treplace_import::bt_from_actionlistClick(TObject*) {
    WorkingWindowLink* working = WorkingWindow();
    if (!working) return;
    const TListItems& items = working->ReplaceTextList()->Items();
    std::vector<ReplaceListRow> rows;
    rows.reserve(size_t(items.Count()));
    for (int i = 0; i < items.Count(); ++i) {
        const TListItem* item = items[i];
        const TUCodeStringList& sub = item->SubItems();
        rows.push_back({item->Caption(), sub.Count() > 0 ? sub.Get(0) : WideString(),
                        sub.Count() > 1 ? sub.Get(1) : WideString()});
    }
    const EntryLines lines = RowsToEntryLines(rows, ed_delimiter->Text(), placeholder());
    if (lines.mode) SelectMode(*lines.mode);
    const WideString kept = WideTrim(liste->Text());
    liste->SetText(kept.empty() ? lines.text : kept + WideString(kCrLf) + lines.text);
}

void Treplace_import::bt_reverselistClick(TObject*) {
    const WideString delimiter = ed_delimiter->Text();
    TWideStrArray lines = memoLines(liste);
    for (WideString& line : lines)
        line = ReversedEntryLine(line, delimiter);
    liste->SetText(ImplodeW(lines, kCrLf));
}

void Treplace_import::bt_delClick(TObject*) {
    liste->Clear();
}
