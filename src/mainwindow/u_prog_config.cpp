// Configuration files: every setting lives in a control, and a configuration file (".qvr",
// an INI file) holds the values of those controls. The writer and the reader walk the
// owned components of this window and of the registered configuration windows in their
// creation order and treat each by its kind; a few fixed sections hold the window
// geometry, the preview font and the menu ticks. A profile holds only the controls of the
// action groups ticked in the save-profile window. The menu of configurations lists the
// files of the program folder and every file saved or loaded during the run.
#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "dialogs/ConfigurationWindows.h"
#include "dialogs/u_csv_order.h"
#include "engine/ProcessLog.h"
#include "mainwindow/u_prog.h"
#include "platform/CanvasText.h"
#include "text/FileUtils.h"
#include "text/TextFiles.h"
#include "text/UCodeIniFiles.h"
#include "text/WideStrUtils.h"

namespace {

// Memo texts and list-view cells are stored on one line: each CR LF becomes U+001F, a
// lone CR U+001E and a lone LF U+001D, so that a text comes back as it was (the INI store
// would store every break as U+001F, which reads back as CR LF).
constexpr WideChar kStoredCrLf = 0x1F, kStoredCr = 0x1E, kStoredLf = 0x1D;
// A damaged row count must not make the reader add rows for ever.
constexpr int kMaxListRows = 100000;

WideString ToStored(WideStringView Text) {
    WideString stored;
    stored.reserve(Text.size());
    for (size_t i = 0; i < Text.size(); ++i) {
        const WideChar c = Text[i];
        if (c == u'\r' && i + 1 < Text.size() && Text[i + 1] == u'\n') {
            stored += kStoredCrLf;
            ++i;
        } else {
            stored += c == u'\r' ? kStoredCr : c == u'\n' ? kStoredLf : c;
        }
    }
    return stored;
}
WideString FromStored(WideStringView Text) {
    WideString text;
    text.reserve(Text.size());
    for (const WideChar c : Text) {
        if (c == kStoredCrLf)
            text += u"\r\n";
        else
            text += c == kStoredCr ? u'\r' : c == kStoredLf ? u'\n' : c;
    }
    return text;
}

// The kinds of stored controls; the second half of a section name.
enum class StoredKind { ED, CB, RB, CH, SB, PA, MM, LV };

WideString KindCode(StoredKind Kind) {
    static constexpr const char16_t* codes[] = {u"ED", u"CB", u"RB", u"CH",
                                                u"SB", u"PA", u"MM", u"LV"};
    return codes[int(Kind)];
}

bool IsOfKind(TComponent* C, StoredKind Kind) {
    switch (Kind) {
    case StoredKind::ED:
        return dynamic_cast<TEdit*>(C) != nullptr;
    case StoredKind::CB:
        return dynamic_cast<TComboBox*>(C) != nullptr;
    case StoredKind::RB:
        return dynamic_cast<TRadioButton*>(C) != nullptr;
    case StoredKind::CH:
        return dynamic_cast<TCheckBox*>(C) != nullptr;
    case StoredKind::SB:
        return dynamic_cast<TScrollBar*>(C) != nullptr;
    case StoredKind::PA:
        return dynamic_cast<TPanel*>(C) != nullptr;
    case StoredKind::MM:
        return dynamic_cast<TMemo*>(C) != nullptr;
    case StoredKind::LV:
        return dynamic_cast<TListView*>(C) != nullptr;
    }
    return false;
}

using K = StoredKind;
constexpr StoredKind kWorkingKinds[] = {K::ED, K::CB, K::RB, K::CH, K::SB, K::PA, K::MM, K::LV};
constexpr StoredKind kDialogKinds[] = {K::ED, K::CB, K::RB, K::CH, K::SB};
constexpr StoredKind kListDialogKinds[] = {K::ED, K::CB, K::RB, K::CH, K::SB, K::LV};
constexpr StoredKind kProfileKinds[] = {K::ED, K::CB, K::RB, K::CH, K::SB, K::MM, K::LV};

// One window as the walk sees it: its code, its components, which kinds it stores and
// how many cells a row of its list views has.
struct WindowWalk {
    WideString code;
    TComponent* window;
    std::span<const StoredKind> kinds;
    int cells;
    // The preview memos and the input list of the working window are never stored.
    bool skipsPreviewAndInput;
};

bool Skipped(const WindowWalk& Walk, TComponent* C) {
    if (C->Name().empty()) return true;
    if (!Walk.skipsPreviewAndInput) return false;
    const WideString& n = C->Name();
    return (n == u"vor_alt" || n == u"vor_neu") ? dynamic_cast<TMemo*>(C) != nullptr
           : n == u"qulist"                     ? dynamic_cast<TListView*>(C) != nullptr
                                                : false;
}

WideString CellKey(const WideString& List, int Row, int Cell) {
    return List + u"-" + U16(std::to_string(Row)) + u"-" + char16_t(u'a' + Cell);
}

void WriteList(TUCodeIniFile& Ini, const WideString& Section, TListView* List, int Cells) {
    TListItems& items = List->Items();
    Ini.WriteInteger(Section, List->Name(), items.Count());
    for (int i = 0; i < items.Count(); ++i) {
        const TListItem* item = items[i];
        for (int cell = 0; cell < Cells; ++cell) {
            const TUCodeStringList& sub = item->SubItems();
            const WideString value =
                cell == 0 ? item->Caption() : (cell - 1 < sub.Count() ? sub.Get(cell - 1) : u"");
            Ini.WriteString(Section, CellKey(List->Name(), i, cell),
                            Tprog::QuoteIniValue(ToStored(value)));
        }
    }
}

void ReadList(TUCodeIniFile& Ini, const WideString& Section, TListView* List, int Cells) {
    TListItems& items = List->Items();
    auto update = items.Update();
    items.Clear();
    const int count = std::clamp(Ini.ReadInteger(Section, List->Name(), 0), 0, kMaxListRows);
    for (int i = 0; i < count; ++i) {
        TListItem* item = items.Add();
        item->SetCaption(FromStored(Ini.ReadString(Section, CellKey(List->Name(), i, 0), u"")));
        for (int cell = 1; cell < Cells; ++cell)
            item->SubItems().Add(
                FromStored(Ini.ReadString(Section, CellKey(List->Name(), i, cell), u"")));
    }
}

void WriteControl(TUCodeIniFile& Ini, const WideString& Section, TComponent* C, StoredKind Kind,
                  int Cells) {
    const WideString& name = C->Name();
    switch (Kind) {
    case K::ED:
    case K::CB:
        Ini.WriteString(Section, name, Tprog::QuoteIniValue(static_cast<TControl*>(C)->Text()));
        break;
    case K::RB:
        Ini.WriteBool(Section, name, static_cast<TRadioButton*>(C)->Checked());
        break;
    case K::CH:
        Ini.WriteBool(Section, name, static_cast<TCheckBox*>(C)->Checked());
        break;
    case K::SB:
        Ini.WriteInteger(Section, name, static_cast<TScrollBar*>(C)->Position());
        break;
    case K::PA:
        Ini.WriteBool(Section, name, static_cast<TControl*>(C)->Visible());
        break;
    case K::MM:
        Ini.WriteString(Section, name,
                        Tprog::QuoteIniValue(ToStored(static_cast<TMemo*>(C)->Text())));
        break;
    case K::LV:
        WriteList(Ini, Section, static_cast<TListView*>(C), Cells);
        break;
    }
}

void ReadControl(TUCodeIniFile& Ini, const WideString& Section, TComponent* C, StoredKind Kind,
                 int Cells) {
    const WideString& name = C->Name();
    switch (Kind) {
    case K::ED:
    case K::CB: {
        auto* control = static_cast<TControl*>(C);
        control->SetText(Ini.ReadString(Section, name, control->Text()));
        break;
    }
    case K::RB: {
        auto* box = static_cast<TRadioButton*>(C);
        box->SetChecked(Ini.ReadBool(Section, name, box->Checked()));
        break;
    }
    case K::CH: {
        auto* box = static_cast<TCheckBox*>(C);
        box->SetChecked(Ini.ReadBool(Section, name, box->Checked()));
        break;
    }
    case K::SB: {
        auto* bar = static_cast<TScrollBar*>(C);
        bar->SetPosition(Ini.ReadInteger(Section, name, bar->Position()));
        break;
    }
    case K::PA: {
        auto* panel = static_cast<TControl*>(C);
        panel->SetVisible(Ini.ReadBool(Section, name, panel->Visible()));
        break;
    }
    case K::MM: {
        auto* memo = static_cast<TMemo*>(C);
        memo->SetText(FromStored(Ini.ReadString(Section, name, memo->Text())));
        break;
    }
    case K::LV:
        ReadList(Ini, Section, static_cast<TListView*>(C), Cells);
        break;
    }
}

// Calls Visit(component, kind) for every stored control of the window, in creation order.
template <class Visit> void WalkWindow(const WindowWalk& Walk, Visit&& Visit_) {
    for (int i = 0; i < Walk.window->ComponentCount(); ++i) {
        TComponent* c = Walk.window->Components(i);
        if (Skipped(Walk, c)) continue;
        for (StoredKind kind : Walk.kinds)
            if (IsOfKind(c, kind)) Visit_(c, kind);
    }
}

void WriteWindow(TUCodeIniFile& Ini, const WindowWalk& Walk) {
    WalkWindow(Walk, [&](TComponent* c, StoredKind kind) {
        WriteControl(Ini, Walk.code + KindCode(kind), c, kind, Walk.cells);
    });
}

void ReadWindow(TUCodeIniFile& Ini, const WindowWalk& Walk) {
    WalkWindow(Walk, [&](TComponent* c, StoredKind kind) {
        ReadControl(Ini, Walk.code + KindCode(kind), c, kind, Walk.cells);
    });
}

// The registered configuration windows in the given order of codes.
template <size_t N>
std::vector<WindowWalk> DialogWalks(const std::array<std::string_view, N>& Codes) {
    std::vector<WindowWalk> walks;
    for (std::string_view code : Codes) {
        TForm* window = ConfigurationWindow(code);
        if (!window) continue;
        const bool lists = code == kConfigurationListWindow;
        walks.push_back({U16(code), window,
                         lists ? std::span<const StoredKind>(kListDialogKinds)
                               : std::span<const StoredKind>(kDialogKinds),
                         lists ? 4 : 3, false});
    }
    return walks;
}

// ---- Window geometry ("SP", "SD") ----

void WriteBounds(TUCodeIniFile& Ini, const WideString& Section, TForm* Window) {
    Ini.WriteBool(Section, u"PF", Window->WindowState() == wsMaximized);
    Ini.WriteInteger(Section, u"PB", Window->ClientWidth());
    Ini.WriteInteger(Section, u"PH", Window->ClientHeight());
    Ini.WriteInteger(Section, u"PT", Window->Top());
    Ini.WriteInteger(Section, u"PL", Window->Left());
}

// Size and position, each only when it fits the primary screen (a file written on a
// larger screen); a negative size from a damaged file is ignored the same way.
void ReadBounds(TUCodeIniFile& Ini, const WideString& Section, TForm* Window) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int width = Ini.ReadInteger(Section, u"PB", Window->ClientWidth());
    if (width >= 0 && width <= screenWidth) Window->SetClientWidth(width);
    const int height = Ini.ReadInteger(Section, u"PH", Window->ClientHeight());
    if (height >= 0 && height <= screenHeight) Window->SetClientHeight(height);
    const int top = Ini.ReadInteger(Section, u"PT", Window->Top());
    if (top <= screenHeight) Window->SetTop(top);
    const int left = Ini.ReadInteger(Section, u"PL", Window->Left());
    if (left <= screenWidth) Window->SetLeft(left);
}

// The start window hands over the command line and "Auto.qvr": a maximised state then
// waits for the working window's first activation.
bool IsStartWindow(TObject* Sender, const Tprog* Working) {
    return Sender && Application && Sender == Application->MainForm() && Sender != Working;
}

} // namespace

// ---- Quoting ----

// The INI store removes one enclosing pair of quotes when it reads a value: a value that
// is itself enclosed in quotes gets one more pair, so that it comes back unchanged.
WideString Tprog::QuoteIniValue(WideStringView Value) {
    WideString quoted(Value);
    if (Value.size() < 2) return quoted;
    for (char16_t quote : {u'\'', u'"'}) {
        if (Value.front() != quote || Value.back() != quote) continue;
        quoted.insert(quoted.begin(), quote);
        quoted.push_back(quote);
        break;
    }
    return quoted;
}

// ---- The whole configuration ----

void Tprog::KonfigurationSpeichern(TObject* Sender, const WideString& Path) {
    (void)Sender;
    if (!WideFileExists(Path)) SaveTextFileW(WideString(), Path, teUTF8BOM, true);
    TUCodeIniFile ini(Path);
    WriteWindow(ini, {u"PB", this, kWorkingKinds, 3, true});
    for (const WindowWalk& walk : DialogWalks(kConfigurationWriteOrder))
        WriteWindow(ini, walk);
    WriteFixedSections(ini);
    // The destructor would swallow a failed write: flushing here reports it.
    ini.UpdateFile();
}

void Tprog::WriteFixedSections(TUCodeIniFile& Ini) {
    if (csv_order) Ini.WriteString(u"COLB", u"liste", ToStored(csv_order->liste->Items().Text()));
    WriteBounds(Ini, u"SP", this);
    Ini.WriteInteger(u"SP", u"PR", Panel3->Width());
    Ini.WriteInteger(u"SP", u"PO", Panel4->Height());
    if (TForm* renamer = ConfigurationWindow("DU")) WriteBounds(Ini, u"SD", renamer);
    TFont* font = vor_alt->Font();
    Ini.WriteInteger(u"FC", u"COL", vor_alt->Color());
    Ini.WriteInteger(u"FC", u"FSI", font->Size());
    Ini.WriteInteger(u"FC", u"FCL", font->Color());
    Ini.WriteString(u"FC", u"FON", font->Name());
    Ini.WriteBool(u"FC", u"FBO", (font->Style() & fsBold) != 0);
    Ini.WriteBool(u"FC", u"FIT", (font->Style() & fsItalic) != 0);
    Ini.WriteBool(u"FC", u"FUN", (font->Style() & fsUnderline) != 0);
    Ini.WriteBool(u"FC", u"FSO", (font->Style() & fsStrikeOut) != 0);
    Ini.WriteBool(u"PA", u"AI", m_anz_input->Checked());
    Ini.WriteBool(u"PA", u"AV", m_anz_vorschau->Checked());
    Ini.WriteBool(u"PA", u"AA", m_anz_aktionen->Checked());
    Ini.WriteBool(u"PA", u"AO", m_anz_output->Checked());
    Ini.WriteBool(u"AC", u"AC", m_einst_autocloseactions->Checked());
    WriteAutosaveTicks(Ini);
}

void Tprog::WriteAutosaveTicks(TUCodeIniFile& Ini) {
    Ini.WriteBool(u"AS", u"N", m_konfig_autosave_nie->Checked());
    Ini.WriteBool(u"AS", u"P", m_konfig_autosave_profil->Checked());
    Ini.WriteBool(u"AS", u"A", m_konfig_autosave_alles->Checked());
}

void Tprog::KonfigurationLaden(TObject* Sender, const WideString& Path) {
    int inputBoxHeight = -1;
    {
        TUCodeIniFile ini(Path);
        ReadWindow(ini, {u"PB", this, kWorkingKinds, 3, true});
        for (const WindowWalk& walk : DialogWalks(kConfigurationReadOrder))
            ReadWindow(ini, walk);
        if (csv_order) {
            TUCodeStrings& columns = csv_order->liste->Items();
            columns.SetText(FromStored(ini.ReadString(u"COLB", u"liste", columns.Text())));
        }
        inputBoxHeight = ReadWorkingGeometry(ini, Sender);
        if (TForm* renamer = ConfigurationWindow("DU")) {
            if (ini.ReadBool(u"SD", u"PF", renamer->WindowState() == wsMaximized))
                renamer->SetWindowState(wsMaximized);
            else
                ReadBounds(ini, u"SD", renamer);
        }
        ReadPreviewFont(ini);
        m_anz_input->SetChecked(ini.ReadBool(u"PA", u"AI", true));
        m_anz_vorschau->SetChecked(ini.ReadBool(u"PA", u"AV", true));
        m_anz_aktionen->SetChecked(ini.ReadBool(u"PA", u"AA", true));
        m_anz_output->SetChecked(ini.ReadBool(u"PA", u"AO", true));
        // Not the Sender: a menu item that loaded the file must keep its own tick.
        m_anz_inputClick(this);
        m_einst_autocloseactions->SetChecked(
            ini.ReadBool(u"AC", u"AC", m_einst_autocloseactions->Checked()));
        m_konfig_autosave_nie->SetChecked(
            ini.ReadBool(u"AS", u"N", m_konfig_autosave_nie->Checked()));
        m_konfig_autosave_profil->SetChecked(
            ini.ReadBool(u"AS", u"P", m_konfig_autosave_profil->Checked()));
        m_konfig_autosave_alles->SetChecked(
            ini.ReadBool(u"AS", u"A", m_konfig_autosave_alles->Checked()));
    }
    // Showing the boxes halved the input box: the stored height holds.
    if (inputBoxHeight >= 0 && Panel4->Visible() && Panel5->Visible())
        SetInputBoxHeight(inputBoxHeight);
    PanelsAnordnen(Sender);
    for (TComboBox* box : {out_ordner, out_name, out_format})
        box->SetSelLength(0);
    inp_ordner->SetSelLength(0);
}

// Returns the stored height of the input box when it was applied, else -1.
int Tprog::ReadWorkingGeometry(TUCodeIniFile& Ini, TObject* Sender) {
    if (Ini.ReadBool(u"SP", u"PF", WindowState() == wsMaximized)) {
        if (IsStartWindow(Sender, this))
            Tag = 0;
        else
            Perform(WM_SYSCOMMAND, SC_MAXIMIZE);
    } else {
        ReadBounds(Ini, u"SP", this);
    }
    const int columnWidth = Ini.ReadInteger(u"SP", u"PR", Panel3->Width());
    if (columnWidth >= 0 && columnWidth <= Width()) Panel3->SetWidth(columnWidth);
    const int inputHeight = Ini.ReadInteger(u"SP", u"PO", Panel4->Height());
    if (inputHeight < 0 || inputHeight > Height()) return -1;
    SetInputBoxHeight(inputHeight);
    return inputHeight;
}

void Tprog::ReadPreviewFont(TUCodeIniFile& Ini) {
    TFont* font = vor_alt->Font();
    vor_alt->SetColor(Ini.ReadInteger(u"FC", u"COL", vor_alt->Color()));
    font->SetSize(Ini.ReadInteger(u"FC", u"FSI", font->Size()));
    font->SetColor(Ini.ReadInteger(u"FC", u"FCL", font->Color()));
    font->SetName(Ini.ReadString(u"FC", u"FON", font->Name()));
    TFontStyles style = 0;
    if (Ini.ReadBool(u"FC", u"FBO", false)) style |= fsBold;
    if (Ini.ReadBool(u"FC", u"FIT", false)) style |= fsItalic;
    if (Ini.ReadBool(u"FC", u"FUN", false)) style |= fsUnderline;
    if (Ini.ReadBool(u"FC", u"FSO", false)) style |= fsStrikeOut;
    font->SetStyle(style);
    vor_neu->SetColor(vor_alt->Color());
    vor_neu->Font()->Assign(font);
}

// ---- Profiles ----

namespace {

// The tick boxes of the save-profile window and the two panels of each action group.
struct ProfileGroup {
    const char16_t* tick;
    const char16_t* header;
    const char16_t* body;
};
constexpr ProfileGroup kProfileGroups[] = {
    {u"act_ers_zeile", u"apanel20", u"apanel21"},
    {u"act_ers_text", u"apanel10", u"apanel11"},
    {u"act_anfuegen", u"apanel30", u"apanel31"},
    {u"act_del_text", u"apanel40", u"apanel41"},
    {u"act_del_zeile", u"apanel50", u"apanel51"},
    {u"act_html", u"apanel60", u"apanel61"},
    {u"act_zeilen", u"apanel70", u"apanel71"},
    {u"act_sonstige", u"apanel80", u"apanel81"},
    {u"act_dateizus", u"apanel90a", u"apanel91a"},
    {u"act_konstanten", u"apanel90c", u"apanel91c"},
    {u"act_dateisplit", u"apanel90b", u"apanel91b"},
    {u"act_transcript", u"apanel920", u"apanel921"},
};

WideString ParentName(TComponent* C) {
    auto* control = dynamic_cast<TControl*>(C);
    return control && control->Parent() ? control->Parent()->Name() : WideString(u"nixnix");
}

} // namespace

void Tprog::KonfigurationSpeichernProfil(TObject* Sender, const WideString& Path) {
    (void)Sender;
    TForm* choice = ConfigurationWindow("PS");
    if (!WideFileExists(Path)) SaveTextFileW(WideString(), Path, teUTF16LE, true);
    TUCodeIniFile ini(Path);
    WriteAutosaveTicks(ini);
    for (const ProfileGroup& group : kProfileGroups) {
        auto* tick = choice ? dynamic_cast<TCheckBox*>(choice->FindComponent(group.tick)) : nullptr;
        if (!tick || !tick->Checked()) continue;
        WalkWindow(WindowWalk{u"PB", this, kProfileKinds, 3, true},
                   [&](TComponent* c, StoredKind kind) {
                       const WideString parent = ParentName(c);
                       if (parent == group.header || parent == group.body)
                           WriteControl(ini, u"PB" + KindCode(kind), c, kind, 3);
                   });
    }
    ini.UpdateFile();
}

// ---- The menu of configurations ----

void Tprog::KonfigurationAddMenu(TObject* Sender, const WideString& Path) {
    (void)Sender;
    for (int i = 0; i < m_konfig->Count(); ++i)
        if (m_konfig->Items(i)->Hint() == Path) return;
    auto* item = new TMenuItem(menu);
    item->SetName(u"m_konfig_" + U16(std::to_string(m_konfig->Count())));
    TCanvas canvas;
    canvas.Font().Assign(laspenden->Font());
    auto width = [&canvas](WideStringView s) { return WideCanvasTextWidth(canvas, WideString(s)); };
    // A file name's "&" is a character, not the mark of a hot key.
    item->SetCaption(
        ReplaceAllW(ShortenPathW(Path, width, 2 * laspenden->Width() + 30), u"&", u"&&"));
    item->SetHint(Path);
    item->OnClick = [this](TObject* s) { KonfigurationLadenMenu(s); };
    m_konfig->Add(item);
}

void Tprog::KonfigurationLadenMenu(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item) return;
    const WideString path = item->Hint();
    if (WideFileExists(path)) KonfigurationLaden(Sender, path);
}

void Tprog::KonfigurationSpeichernDialog(TObject* Sender) {
    if (!sd_konfig->Execute() || sd_konfig->FileName().empty()) return;
    const WideString path = sd_konfig->FileName();
    KonfigurationSpeichern(Sender, path);
    KonfigurationAddMenu(Sender, path);
}

void Tprog::KonfigurationLadenDialog(TObject* Sender) {
    if (!od_konfig->Execute() || od_konfig->FileName().empty()) return;
    const WideString path = od_konfig->FileName();
    KonfigurationLaden(Sender, path);
    KonfigurationAddMenu(Sender, path);
}

void Tprog::m_konfig_save_startClick(TObject* Sender) {
    const WideString path = RunState().ProgramFolder() + u"Auto.qvr";
    KonfigurationSpeichern(Sender, path);
    m_konfig_start->SetHint(path);
}

void Tprog::m_konfig_startClick(TObject* Sender) {
    const WideString path = RunState().ProgramFolder() + u"Auto.qvr";
    if (WideFileExists(path))
        KonfigurationLaden(Sender, path);
    else
        meldungzeigen("keinestartkonfig", u"");
    m_konfig_start->SetChecked(false);
}

void Tprog::m_konfig_autosave_nieClick(TObject* Sender) {
    for (TMenuItem* item :
         {m_konfig_autosave_nie, m_konfig_autosave_alles, m_konfig_autosave_profil})
        item->SetChecked(false);
    if (auto* item = dynamic_cast<TMenuItem*>(Sender)) item->SetChecked(true);
}

void Tprog::m_konfig_save_profilClick(TObject* Sender) {
    (void)Sender;
    if (TForm* choice = ConfigurationWindow("PS")) choice->ShowModal();
}

void Tprog::BindConfigEvents() {
    m_konfig_save->OnClick = [this](TObject* s) { KonfigurationSpeichernDialog(s); };
    m_konfig_save_start->OnClick = [this](TObject* s) { m_konfig_save_startClick(s); };
    m_konfig_save_profil->OnClick = [this](TObject* s) { m_konfig_save_profilClick(s); };
    m_konfig_load->OnClick = [this](TObject* s) { KonfigurationLadenDialog(s); };
    for (TMenuItem* item :
         {m_konfig_autosave_nie, m_konfig_autosave_alles, m_konfig_autosave_profil})
        item->OnClick = [this](TObject* s) { m_konfig_autosave_nieClick(s); };
    m_konfig_standard->OnClick = [this](TObject* s) { KonfigurationLadenStandard(s); };
    m_konfig_start->OnClick = [this](TObject* s) { m_konfig_startClick(s); };
}
