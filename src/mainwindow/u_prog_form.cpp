// The working window built by code: every component with its name, kind, parent and design
// values, in one fixed creation order. The configuration files walk the owned components
// in this order and store the controls that sit directly in an action panel, so the order
// and the nesting are part of the file format: add new components at the end of their
// region, never move one to another parent.
#include <stdexcept>
#include <string>
#include <type_traits>

#include "dialogs/FormBuilding.h"
#include "dialogs/SettingDesignValues.h"
#include "engine/Transliteration.h"
#include "mainwindow/u_prog.h"
#include "text/TextEncodings.h"
#include "text/UCodeSysUtils.h"

namespace {

constexpr int kHeaderHeight = 24; // action group headers
constexpr int kBoxTop = 22;       // box headers
constexpr int kBodyWidth = 380;   // design width of the action panels
constexpr int kRowHeight = 17;    // tick boxes and radio buttons
constexpr int kEditHeight = 21;
constexpr int kButtonHeight = 23;
constexpr int kPlusSize = 13; // the drawn "plus" pictures

// The columns of a list view by their widths; their titles are captions.
void columns(TListView* v, std::initializer_list<int> widths) {
    for (int width : widths)
        v->Columns().Add()->SetWidth(width);
}

void reportList(TListView* v) {
    v->SetRowSelect(true);
    v->SetMultiSelect(true);
    v->SetReadOnly(true);
    v->HideSelection = false;
    v->DragMode = dmAutomatic;
}

void fieldMemo(TMemo* m) {
    m->SetScrollBars(ssVertical);
    m->SetAnchors(akLeft | akTop | akRight);
}

} // namespace

template <class T>
T* Tprog::Make(T*& Field, TWinControl* Parent, const char16_t* Name, int Left, int Top, int Width,
               int Height) {
    Field = MakeControl<T>(this, Parent, Name, Left, Top, Width, Height);
    return Field;
}

template <class T>
T* Tprog::Place(T*& Field, TWinControl* Parent, const char16_t* Name, TAlign Align, int Left,
                int Top, int Width, int Height) {
    // A splitter starts left-aligned: the alignment first, then the bounds.
    Make(Field, Parent, Name, Left, Top, Width, Height);
    Field->SetAlign(Align);
    Field->SetBounds(Left, Top, Width, Height);
    return Field;
}

TPanel* Tprog::Holder(TPanel*& Field, TWinControl* Parent, const char16_t* Name, TAlign Align,
                      int Left, int Top, int Width, int Height) {
    Place(Field, Parent, Name, Align, Left, Top, Width, Height)->SetBevelOuter(bvNone);
    return Field;
}

void Tprog::CreateBox(TPanel*& Box, TPanel*& Header, TImage*& Close, TPanel* In,
                      const char16_t* BoxName, const char16_t* HeaderName,
                      const char16_t* CloseName) {
    const int w = In->Width();
    Place(Box, In, BoxName, alClient, 0, 0, w, In->Height())->SetBevelOuter(bvLowered);
    Holder(Header, Box, HeaderName, alTop, 1, 1, w - 2, kBoxTop)->SetAlignment(taLeftJustify);
    Make(Close, Header, CloseName, w - 20, 5, kPlusSize, kPlusSize);
    Close->SetAnchors(akTop | akRight);
    Close->SetCursor(crHandPoint);
}

void Tprog::CreatePreviewHalf(const PreviewHalf& Half, TAlign Align, int Left, int Width) {
    const int h = Panel22->Height();
    Holder(*Half.panel, Panel22, Half.names[0], Align, Left, 0, Width, h)
        ->SetConstraints({50, 0, 0, 0});
    TPanel* strip = Holder(*Half.strip, *Half.panel, Half.names[1], alTop, 0, 0, Width, 34);
    Make(*Half.heading, strip, Half.names[2], 4, 2, 120, 13);
    TLabel* size = Make(*Half.size, strip, Half.names[3], Width - 104, 2, 100, 13);
    size->SetAlignment(taRightJustify);
    size->SetAutoSize(false);
    size->SetAnchors(akTop | akRight);
    TLabel* path = Make(*Half.path, strip, Half.names[4], 4, 18, Width - 8, 13);
    path->SetAutoSize(false);
    path->SetAnchors(akLeft | akTop | akRight);
    path->SetShowHint(true);
    path->SetShowAccelChar(false); // a path: an "&" in it is a character
    TMemo* memo = Place(*Half.memo, *Half.panel, Half.names[5], alClient, 0, 34, Width, h - 34);
    memo->SetScrollBars(ssVertical);
    memo->Font()->SetName(u"Courier New");
    memo->SetColor(clWindow);
}

TMenuItem* Tprog::Item(TMenuItem*& Field, TMenuItem* Parent, const char16_t* Name,
                       TShortCut Shortcut) {
    Field = new TMenuItem(this);
    Field->SetName(Name);
    if (Shortcut) Field->SetShortCut(Shortcut);
    Parent->Add(Field);
    return Field;
}

TMenuItem* Tprog::Separator(TMenuItem* Parent) {
    auto* line = new TMenuItem(this);
    line->SetName(u"N" + UTF8ToWide(std::to_string(++FSeparators)));
    line->SetCaption(u"-");
    Parent->Add(line);
    return line;
}

Tprog::Tprog(TComponent* AOwner) : TForm(AOwner) {
    SetName(u"prog");
    Tag = 1;
    Position = poScreenCenter;
    SetColor(clBtnFace);
    SetCaption(u"Quorbel - Halvane");
    CreateMenus();
    CreateDialogs();
    SetConstraints({634, 478, 0, 0});
    SetClientWidth(891);
    SetClientHeight(744);
    CreateColumns();
    CreateInputBox();
    CreatePreviewBox();
    CreateActionBox();
    CreateReplaceGroups();
    CreateInsertGroup();
    CreateDeleteGroups();
    CreateLineGroups();
    CreateFileGroups();
    CreateCodingGroups();
    CreateCsvGroup();
    CreateSaveBox();
    CreateBottomBar();
    ApplySettingDesignValues(this, "Tprog");
    FillTransliterationTables();
    SetControlCaptions(true);
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    OnResize = [this](TObject* s) { FormResize(s); };
}

void Tprog::CreateMenus() {
    menu = new TMainMenu(this);
    menu->SetName(u"menu");
    TMenuItem* bar = menu->Items();
    auto ctrl = [](char key) { return ShortCut(uint16_t(key), ssCtrl); };

    Item(m_datei, bar, u"m_datei");
    Item(m_datei_open, m_datei, u"m_datei_open", ctrl('O'));
    Item(m_datei_ordner, m_datei, u"m_datei_ordner");
    Item(m_datei_search, m_datei, u"m_datei_search", ctrl('F'));
    Separator(m_datei);
    Item(m_datei_konvert, m_datei, u"m_datei_konvert", ctrl('S'));
    Item(m_datei_changes, m_datei, u"m_datei_changes", ctrl('R'));
    Item(m_onthefly, m_datei, u"m_onthefly", ctrl('D'));
    Separator(m_datei);
    Item(m_dateiliste_save, m_datei, u"m_dateiliste_save");
    Item(m_dateiliste_open, m_datei, u"m_dateiliste_open");
    Item(m_datei_delmark, m_datei, u"m_datei_delmark");
    Item(m_datei_delall, m_datei, u"m_datei_delall");
    Separator(m_datei);
    Item(m_datei_vorschauaktualisieren, m_datei, u"m_datei_vorschauaktualisieren",
         ShortCut(VK_F1 + 4, 0));
    Item(m_datei_vorschau, m_datei, u"m_datei_vorschau", ShortCut(VK_F1 + 5, 0));
    Separator(m_datei);
    Item(m_datei_dateiumb, m_datei, u"m_datei_dateiumb");
    Item(m_datei_code, m_datei, u"m_datei_code");
    Separator(m_datei);
    Item(m_bug, m_datei, u"m_bug");
    Item(m_datei_beenden, m_datei, u"m_datei_beenden");

    Item(m_einst, bar, u"m_einst");
    Item(m_einst_ausgabe, m_einst, u"m_einst_ausgabe");
    Item(m_einst_regex, m_einst, u"m_einst_regex");
    Item(m_einst_filter, m_einst, u"m_einst_filter");
    Separator(m_einst);
    Item(m_einst_vor_hg, m_einst, u"m_einst_vor_hg");
    Item(m_einst_vor_schrift, m_einst, u"m_einst_vor_schrift");
    Item(m_einst_voralt_zu, m_einst, u"m_einst_voralt_zu")->SetChecked(true);
    Item(m_einst_vorneu_zu, m_einst, u"m_einst_vorneu_zu")->SetChecked(true);
    Separator(m_einst);
    Item(m_einst_autocloseactions, m_einst, u"m_einst_autocloseactions")->SetChecked(true);
    Item(m_einst_vorschau, m_einst, u"m_einst_vorschau", ShortCut(VK_F1 + 6, 0))->SetChecked(true);
    Item(m_einst_nlkorrektur, m_einst, u"m_einst_nlkorrektur")->SetChecked(true);
    Separator(m_einst);
    Item(m_einstshortcuts, m_einst, u"m_einstshortcuts");
    // Registering the extension and the "Send To" shortcut live in the shell integration
    // window; these two stay hidden.
    Item(m_einst_verkn, m_einst, u"m_einst_verkn")->SetVisible(false);
    Item(m_einst_sendenan, m_einst, u"m_einst_sendenan")->SetVisible(false);
    Item(m_einst_sprache, m_einst, u"m_einst_sprache");
    Item(m_einst_sprache_deutsch, m_einst_sprache, u"m_einst_sprache_deutsch");
    Item(m_einst_sprache_english, m_einst_sprache, u"m_einst_sprache_english");

    Item(m_anz, bar, u"m_anz");
    for (auto [field, name] :
         {std::pair{&m_anz_input, u"m_anz_input"}, std::pair{&m_anz_vorschau, u"m_anz_vorschau"},
          std::pair{&m_anz_aktionen, u"m_anz_aktionen"}, std::pair{&m_anz_output, u"m_anz_output"}})
        Item(*field, m_anz, name)->SetChecked(true);

    // Nine items at design: the configuration files found or used later follow them.
    Item(m_konfig, bar, u"m_konfig");
    Item(m_konfig_save, m_konfig, u"m_konfig_save");
    Item(m_konfig_save_start, m_konfig, u"m_konfig_save_start");
    Item(m_konfig_save_profil, m_konfig, u"m_konfig_save_profil");
    Item(m_konfig_load, m_konfig, u"m_konfig_load", ctrl('K'));
    Separator(m_konfig);
    Item(m_konfig_autosave, m_konfig, u"m_konfig_autosave");
    Item(m_konfig_autosave_nie, m_konfig_autosave, u"m_konfig_autosave_nie")->SetChecked(true);
    Item(m_konfig_autosave_alles, m_konfig_autosave, u"m_konfig_autosave_alles");
    Item(m_konfig_autosave_profil, m_konfig_autosave, u"m_konfig_autosave_profil");
    Separator(m_konfig);
    Item(m_konfig_standard, m_konfig, u"m_konfig_standard", ShortCut(VK_F1 + 1, 0));
    Item(m_konfig_start, m_konfig, u"m_konfig_start", ShortCut(VK_F1 + 2, 0));

    Item(m_tools, bar, u"m_tools");
    Item(m_tools_dateiumb, m_tools, u"m_tools_dateiumb");

    Item(m_soft_de, bar, u"m_soft_de");
    Item(m_software_de_beschreibung, m_soft_de, u"m_software_de_beschreibung");
    Item(m_soft_en, bar, u"m_soft_en")->SetVisible(false);
    Item(m_software_en_description, m_soft_en, u"m_software_en_description");

    Item(m_info_de, bar, u"m_info_de");
    Item(m_info_de_hilfe, m_info_de, u"m_info_de_hilfe", ShortCut(VK_F1, 0));
    Item(m_info_de_empfehlungen, m_info_de, u"m_info_de_empfehlungen");
    Item(m_info_de_software, m_info_de, u"m_info_de_software");
    Item(m_info_de_spenden, m_info_de, u"m_info_de_spenden");
    Separator(m_info_de);
    Item(m_bug_de, m_info_de, u"m_bug_de");
    Item(m_info_en, bar, u"m_info_en")->SetVisible(false);
    Item(m_info_en_intro, m_info_en, u"m_info_en_intro", ShortCut(VK_F1, 0));
    Item(m_info_en_regards, m_info_en, u"m_info_en_regards");
    Item(m_info_en_software, m_info_en, u"m_info_en_software");
    Item(m_info_en_donate, m_info_en, u"m_info_en_donate");
    Separator(m_info_en);
    Item(m_bug_en, m_info_en, u"m_bug_en");
    SetMenu(menu);

    popupqulist = new TPopupMenu(this);
    popupqulist->SetName(u"popupqulist");
    TMenuItem* pop = popupqulist->Items();
    for (auto [field, name] :
         {std::pair{&pop0, u"pop0"}, std::pair{&pop1, u"pop1"}, std::pair{&pop2, u"pop2"},
          std::pair{&pop5, u"pop5"}, std::pair{&pop6, u"pop6"}, std::pair{&pop7, u"pop7"},
          std::pair{&pop8, u"pop8"}, std::pair{&pop3, u"pop3"}, std::pair{&pop4, u"pop4"}}) {
        *field = new TMenuItem(this);
        (*field)->SetName(name);
        pop->Add(*field);
    }
}

void Tprog::CreateDialogs() {
    IconList = new TImageList(this);
    IconList->SetName(u"IconList");
    IconList->ShareImages = true;
    auto dialog = [this](auto*& field, const char16_t* name) {
        field = new std::remove_reference_t<decltype(*field)>(this);
        field->SetName(name);
    };
    dialog(od, u"od");
    od->Options |= ofAllowMultiSelect;
    dialog(od_dateiliste, u"od_dateiliste");
    dialog(sd_dateiliste, u"sd_dateiliste");
    for (TOpenDialog* d : {od_dateiliste, static_cast<TOpenDialog*>(sd_dateiliste)}) {
        d->SetFilter(u"Text (*.txt)|*.txt");
        d->SetDefaultExt(u"txt");
    }
    dialog(sd_konfig, u"sd_konfig");
    dialog(od_konfig, u"od_konfig");
    for (TOpenDialog* d : {static_cast<TOpenDialog*>(sd_konfig), od_konfig}) {
        d->SetFilter(u"Quorbel Konfiguration|*.qvr");
        d->SetDefaultExt(u".qvr");
        d->SetFileName(u"Konfiguration.qvr");
    }
    sd_konfig->Options = ofHideReadOnly | ofEnableSizing;
    dialog(ColorDialog1, u"ColorDialog1");
    dialog(FontDialog1, u"FontDialog1");
    dialog(VorschauTimer, u"VorschauTimer");
    VorschauTimer->SetEnabled(false);
    VorschauTimer->SetInterval(500);
}

void Tprog::CreateColumns() {
    Holder(pa_bottom, this, u"pa_bottom", alBottom, 0, 708, 891, 36);
    Holder(Panel1, this, u"Panel1", alClient, 0, 0, 891, 708);
    Holder(Panel3, Panel1, u"Panel3", alRight, 491, 0, 400, 708)->SetConstraints({316, 0, 0, 0});
    Place(Splitter1, Panel1, u"Splitter1", alRight, 485, 0, 6, 708)->MinSize = 300;
    Holder(Panel2, Panel1, u"Panel2", alClient, 0, 0, 485, 708);
}

void Tprog::CreateInputBox() {
    Holder(Panel4, Panel2, u"Panel4", alTop, 0, 0, 485, 354)->SetConstraints({295, 200, 0, 0});
    CreateBox(box_dat, box_dat_top, close_input, Panel4, u"box_dat", u"box_dat_top",
              u"close_input");

    Holder(Panel12, box_dat, u"Panel12", alTop, 1, 23, 483, 52);
    Make(inp_ordner, Panel12, u"inp_ordner", 6, 4, 257, kEditHeight);
    inp_ordner->SetAnchors(akLeft | akTop | akRight);
    Make(inp_openordner, Panel12, u"inp_openordner", 268, 3, 110, kButtonHeight);
    inp_openordner->SetAnchors(akTop | akRight);
    Make(inp_filter, Panel12, u"inp_filter", 382, 3, 95, kButtonHeight);
    inp_filter->SetAnchors(akTop | akRight);
    Make(inp_uv, Panel12, u"inp_uv", 6, 30, 230, kRowHeight)->SetChecked(true);
    Make(inp_ow, Panel12, u"inp_ow", 240, 30, 230, kRowHeight);

    Holder(Panel13, box_dat, u"Panel13", alBottom, 1, 293, 483, 60);
    Make(la_anzahl, Panel13, u"la_anzahl", 6, 4, 80, 13);
    Make(Label1, Panel13, u"Label1", 90, 3, 387, 26);
    Label1->SetAutoSize(false);
    Label1->SetWordWrap(true);
    Label1->SetAnchors(akLeft | akTop | akRight);
    Make(inp_deleteselect, Panel13, u"inp_deleteselect", 6, 32, 120, kButtonHeight);
    Make(inp_deleteall, Panel13, u"inp_deleteall", 130, 32, 110, kButtonHeight);
    Make(inp_searchfiles, Panel13, u"inp_searchfiles", 244, 32, 120, kButtonHeight);
    Make(inp_select, Panel13, u"inp_select", 368, 32, 110, kButtonHeight);

    Place(qulist, box_dat, u"qulist", alClient, 1, 75, 483, 218);
    reportList(qulist);
    qulist->SetSmallImages(IconList);
    qulist->SetPopupMenu(popupqulist);
    columns(qulist, {150, 50, 110, 80, 80, 80, 300});
    qulist->Columns()[4]->SetAlignment(taRightJustify);

    Place(splitter_files_preview, Panel2, u"splitter_files_preview", alTop, 0, 354, 485, 6)
        ->MinSize = 205;
}

void Tprog::CreatePreviewBox() {
    Holder(Panel5, Panel2, u"Panel5", alClient, 0, 360, 485, 348)->SetConstraints({295, 165, 0, 0});
    CreateBox(box_vor, box_vor_top, close_vorschau, Panel5, u"box_vor", u"box_vor_top",
              u"close_vorschau");
    Make(vor_okay, box_vor_top, u"vor_okay", 76, 3, 76, kRowHeight)->SetChecked(true);
    Make(vor_showfile, box_vor_top, u"vor_showfile", 156, 3, 100, kRowHeight)->SetChecked(true);
    Make(AlteDateiSpeichern, box_vor_top, u"AlteDateiSpeichern", 168, 1, 64, 20);
    AlteDateiSpeichern->SetVisible(false);
    Make(vor_showalt, box_vor_top, u"vor_showalt", 300, 1, 76, 20)->SetChecked(true);
    vor_showalt->SetAnchors(akTop | akRight);
    Make(vor_showneu, box_vor_top, u"vor_showneu", 380, 1, 76, 20)->SetChecked(true);
    vor_showneu->SetAnchors(akTop | akRight);

    Holder(Panel22, box_vor, u"Panel22", alClient, 1, 23, 483, 324);
    CreatePreviewHalf({&Panel9,
                       &Panel14,
                       &Label10,
                       &Label12,
                       &vor_orig,
                       &vor_alt,
                       {u"Panel9", u"Panel14", u"Label10", u"Label12", u"vor_orig", u"vor_alt"}},
                      alLeft, 0, 234);
    Place(splitter_preview_old_new, Panel22, u"splitter_preview_old_new", alLeft, 234, 0, 6, 324);
    CreatePreviewHalf({&Panel10,
                       &Panel15,
                       &Label11,
                       &Label48,
                       &vor_out,
                       &vor_neu,
                       {u"Panel10", u"Panel15", u"Label11", u"Label48", u"vor_out", u"vor_neu"}},
                      alClient, 240, 243);
}

void Tprog::CreateActionBox() {
    Holder(Panel7, Panel3, u"Panel7", alClient, 0, 0, 400, 493);
    CreateBox(box_akt, box_akt_top, close_actions, Panel7, u"box_akt", u"box_akt_top",
              u"close_actions");
    Place(ScrollBox1, box_akt, u"ScrollBox1", alClient, 1, 23, 398, 469);
    ScrollBox1->SetBorderStyle(bsNone);
    ScrollBox1->HorzScrollBar().SetVisible(false);
    ScrollBox1->VertScrollBar().SetIncrement(20);
}

void Tprog::CreateGroup(int Index, TPanel*& Header, TCheckBox*& Tick, TBitBtn** Fold, TPanel*& Body,
                        const char16_t* HeaderName, const char16_t* TickName,
                        const char16_t* BodyName, int BodyHeight) {
    Make(Header, ScrollBox1, HeaderName, 0, 0, kBodyWidth, kHeaderHeight);
    Header->SetBevelOuter(bvRaised);
    Make(Tick, Header, TickName, 8, 3, 300, 18);
    Tick->Font()->SetStyle(fsBold);
    if (Fold) {
        WideString fold = WideString(TickName) + u"_bb";
        Make(*Fold, Header, fold.c_str(), kBodyWidth - 28, 2, 22, 20);
        (*Fold)->SetCaption(u"»");
        (*Fold)->SetAnchors(akTop | akRight);
    }
    Make(Body, ScrollBox1, BodyName, 0, kHeaderHeight, kBodyWidth, BodyHeight);
    Body->SetBevelOuter(bvNone);
    Body->SetVisible(false);
    FGroups[Index] = {Header, Body};
}

void Tprog::CreateReplaceGroups() {
    CreateGroup(0, apanel10, act_ers_text, &act_ers_text_bb, apanel11, u"apanel10", u"act_ers_text",
                u"apanel11", 376);
    Make(Label13, apanel11, u"Label13", 8, 6, 180, 13);
    Make(act_ers_text_suchen_regex, apanel11, u"act_ers_text_suchen_regex", 196, 4, 176,
         kRowHeight);
    fieldMemo(Make(act_ers_text_suchen, apanel11, u"act_ers_text_suchen", 8, 22, 340, 42));
    Make(plus_ers_suche, apanel11, u"plus_ers_suche", 354, 22, kPlusSize, kPlusSize);
    Make(act_ers_text_suchen_regfehler, apanel11, u"act_ers_text_suchen_regfehler", 8, 66, 364, 13);
    act_ers_text_suchen_regfehler->SetVisible(false);
    act_ers_text_suchen_regfehler->Font()->SetColor(clMaroon);
    Make(Label14, apanel11, u"Label14", 8, 82, 180, 13);
    Make(act_ers_text_ersetzen_regex, apanel11, u"act_ers_text_ersetzen_regex", 196, 80, 176,
         kRowHeight);
    fieldMemo(Make(act_ers_text_ersetzen, apanel11, u"act_ers_text_ersetzen", 8, 98, 340, 42));
    Make(plus_ers_ersetzen, apanel11, u"plus_ers_ersetzen", 354, 98, kPlusSize, kPlusSize);
    Make(act_ers_text_ersetzen_regfehler, apanel11, u"act_ers_text_ersetzen_regfehler", 8, 142, 364,
         13);
    act_ers_text_ersetzen_regfehler->SetVisible(false);
    act_ers_text_ersetzen_regfehler->Font()->SetColor(clMaroon);
    Make(act_ers_casesensitive, apanel11, u"act_ers_casesensitive", 8, 158, 210, kRowHeight);
    Make(act_ers_text_regex, apanel11, u"act_ers_text_regex", 222, 155, 150, kButtonHeight);
    Make(act_ers_weitere, apanel11, u"act_ers_weitere", 8, 182, 210, kRowHeight);
    Make(act_ers_text_delete, apanel11, u"act_ers_text_delete", 222, 179, 150, kButtonHeight);
    Make(act_ers_text_liste, apanel11, u"act_ers_text_liste", 8, 206, 364, 106);
    reportList(act_ers_text_liste);
    columns(act_ers_text_liste, {140, 140, 50});
    Make(act_ers_text_add, apanel11, u"act_ers_text_add", 8, 316, 118, kButtonHeight);
    Make(act_ers_text_replace, apanel11, u"act_ers_text_replace", 131, 316, 118, kButtonHeight);
    Make(act_ers_text_delmark, apanel11, u"act_ers_text_delmark", 254, 316, 118, kButtonHeight);
    Make(act_ers_text_all, apanel11, u"act_ers_text_all", 8, 344, 118, kButtonHeight);
    Make(BitBtn1, apanel11, u"BitBtn1", 131, 344, 241, kButtonHeight);

    CreateGroup(1, apanel20, act_ers_zeile, &act_ers_zeile_bb, apanel21, u"apanel20",
                u"act_ers_zeile", u"apanel21", 262);
    Make(act_ers_zeile_rb_zeile, apanel21, u"act_ers_zeile_rb_zeile", 8, 6, 120, kRowHeight);
    Make(act_ers_zeile_rb_text, apanel21, u"act_ers_zeile_rb_text", 132, 6, 110, kRowHeight);
    Make(act_ers_zeile_rb_regex, apanel21, u"act_ers_zeile_rb_regex", 246, 6, 120, kRowHeight);
    Make(act_ers_zeile_la1, apanel21, u"act_ers_zeile_la1", 8, 30, 200, 13);
    Make(act_ers_zeile_suchen, apanel21, u"act_ers_zeile_suchen", 8, 46, 200, kEditHeight);
    Make(act_ers_zeile_la2, apanel21, u"act_ers_zeile_la2", 214, 50, 158, 13);
    Make(Label15, apanel21, u"Label15", 8, 74, 200, 13);
    fieldMemo(Make(act_ers_zeile_erstxt, apanel21, u"act_ers_zeile_erstxt", 8, 90, 340, 42));
    Make(plus_ers_zeile, apanel21, u"plus_ers_zeile", 354, 90, kPlusSize, kPlusSize);
    Make(act_ers_zeile_add, apanel21, u"act_ers_zeile_add", 8, 138, 118, kButtonHeight);
    Make(act_ers_zeile_del, apanel21, u"act_ers_zeile_del", 131, 138, 118, kButtonHeight);
    Make(act_ers_zeile_delselect, apanel21, u"act_ers_zeile_delselect", 254, 138, 118,
         kButtonHeight);
    Make(act_ers_zeile_liste, apanel21, u"act_ers_zeile_liste", 8, 166, 364, 90);
    reportList(act_ers_zeile_liste);
    columns(act_ers_zeile_liste, {70, 110, 160});
}

void Tprog::CreateInsertGroup() {
    CreateGroup(2, apanel30, act_anfuegen, &act_anfuegen_bb, apanel31, u"apanel30", u"act_anfuegen",
                u"apanel31", 334);
    Make(Label16, apanel31, u"Label16", 8, 6, 200, 13);
    fieldMemo(Make(act_anfuegen_text, apanel31, u"act_anfuegen_text", 8, 22, 340, 42));
    Make(plus_anfuegen, apanel31, u"plus_anfuegen", 354, 22, kPlusSize, kPlusSize);
    Make(Label17, apanel31, u"Label17", 8, 70, 200, 13);
    Make(act_anfuegen_vorn, apanel31, u"act_anfuegen_vorn", 8, 86, 120, kRowHeight);
    Make(act_anfuegen_hinten, apanel31, u"act_anfuegen_hinten", 132, 86, 94, kRowHeight);
    Make(act_anfuegen_pos_rb, apanel31, u"act_anfuegen_pos_rb", 230, 86, 86, kRowHeight);
    Make(act_anfuegen_pos, apanel31, u"act_anfuegen_pos", 320, 84, 52, kEditHeight);
    // The lines the text goes into: a group of its own (and a container the profile writer
    // does not look into).
    Make(Panel11, apanel31, u"Panel11", 8, 110, 364, 92);
    Panel11->SetBevelOuter(bvLowered);
    Make(Label18, Panel11, u"Label18", 6, 4, 200, 13);
    Make(act_anfuegen_datei, Panel11, u"act_anfuegen_datei", 6, 20, 170, kRowHeight);
    Make(act_anfuegen_jedezeile, Panel11, u"act_anfuegen_jedezeile", 180, 20, 178, kRowHeight);
    Make(act_anfuegen_zeile_rb, Panel11, u"act_anfuegen_zeile_rb", 6, 44, 170, kRowHeight);
    Make(act_anfuegen_zeile, Panel11, u"act_anfuegen_zeile", 180, 42, 52, kEditHeight);
    Make(act_anfuegen_zeile_txt_rb, Panel11, u"act_anfuegen_zeile_txt_rb", 6, 68, 170, kRowHeight);
    Make(act_anfuegen_zeile_txt, Panel11, u"act_anfuegen_zeile_txt", 180, 66, 76, kEditHeight);
    Make(act_anfuegen_zeile_txt_gk, Panel11, u"act_anfuegen_zeile_txt_gk", 262, 68, 98, kRowHeight);
    Make(act_anfuegen_add, apanel31, u"act_anfuegen_add", 8, 208, 118, kButtonHeight);
    Make(act_anfuegen_del, apanel31, u"act_anfuegen_del", 131, 208, 118, kButtonHeight);
    Make(act_anfuegen_delselect, apanel31, u"act_anfuegen_delselect", 254, 208, 118, kButtonHeight);
    Make(act_anfuegen_liste, apanel31, u"act_anfuegen_liste", 8, 236, 364, 90);
    reportList(act_anfuegen_liste);
    columns(act_anfuegen_liste, {100, 90, 150});
}

void Tprog::CreateDeleteGroups() {
    CreateGroup(3, apanel40, act_del_text, &act_del_text_bb, apanel41, u"apanel40", u"act_del_text",
                u"apanel41", 232);
    Make(Label19, apanel41, u"Label19", 8, 6, 200, 13);
    fieldMemo(Make(act_del_text_suchen, apanel41, u"act_del_text_suchen", 8, 22, 340, 42));
    Make(plus_deltext, apanel41, u"plus_deltext", 354, 22, kPlusSize, kPlusSize);
    Make(act_del_text_suchen_regfehler, apanel41, u"act_del_text_suchen_regfehler", 8, 66, 364, 13);
    act_del_text_suchen_regfehler->SetVisible(false);
    act_del_text_suchen_regfehler->Font()->SetColor(clMaroon);
    Make(act_del_casesensitive, apanel41, u"act_del_casesensitive", 8, 82, 210, kRowHeight);
    Make(act_del_regex, apanel41, u"act_del_regex", 222, 82, 150, kRowHeight);
    Make(act_del_text_add, apanel41, u"act_del_text_add", 8, 106, 118, kButtonHeight);
    Make(act_del_text_delete, apanel41, u"act_del_text_delete", 131, 106, 118, kButtonHeight);
    Make(act_del_text_delselect, apanel41, u"act_del_text_delselect", 254, 106, 118, kButtonHeight);
    Make(act_del_text_liste, apanel41, u"act_del_text_liste", 8, 134, 364, 90);
    reportList(act_del_text_liste);
    columns(act_del_text_liste, {260, 60});

    CreateGroup(4, apanel50, act_del_zeile, &act_del_zeile_bb, apanel51, u"apanel50",
                u"act_del_zeile", u"apanel51", 364);
    // Line numbers and lengths: a label left, its edit right.
    struct Row {
        TLabel** label;
        const char16_t* labelName;
        TEdit** edit;
        const char16_t* editName;
    };
    const Row rows[] = {
        {&Label20, u"Label20", &act_del_zeile_suchen, u"act_del_zeile_suchen"},
        {&Label21, u"Label21", &act_del_zeile_ende, u"act_del_zeile_ende"},
        {&Label22, u"Label22", &act_del_zeile_from, u"act_del_zeile_from"},
        {&Label23, u"Label23", &act_del_zeile_char_less, u"act_del_zeile_char_less"},
        {&Label24, u"Label24", &act_del_zeile_char_more, u"act_del_zeile_char_more"},
    };
    int top = 6;
    for (const Row& r : rows) {
        Make(*r.label, apanel51, r.labelName, 8, top + 4, 236, 13);
        Make(*r.edit, apanel51, r.editName, 250, top, 122, kEditHeight);
        top += 25;
    }
    Make(act_del_zeile_leere, apanel51, u"act_del_zeile_leere", 8, 134, 364, kRowHeight);
    Make(act_del_zeile_whitespace, apanel51, u"act_del_zeile_whitespace", 8, 154, 364, kRowHeight);
    Make(act_del_zeile_doppelte, apanel51, u"act_del_zeile_doppelte", 8, 174, 364, kRowHeight);
    Make(Label25, apanel51, u"Label25", 8, 198, 200, 13);
    Make(act_del_zeile_text_del, apanel51, u"act_del_zeile_text_del", 8, 214, 176, kRowHeight);
    Make(act_del_zeile_text_keep, apanel51, u"act_del_zeile_text_keep", 188, 214, 184, kRowHeight);
    fieldMemo(Make(act_del_zeile_text, apanel51, u"act_del_zeile_text", 8, 234, 340, 42));
    act_del_zeile_text->SetScrollBars(ssBoth);
    Make(plus_delzeile, apanel51, u"plus_delzeile", 354, 234, kPlusSize, kPlusSize);
    Make(act_del_zeile_trenner, apanel51, u"act_del_zeile_trenner", 8, 280, 176, kRowHeight);
    Make(act_del_zeile_text_regex, apanel51, u"act_del_zeile_text_regex", 188, 280, 184,
         kRowHeight);
    Make(act_del_zeile_text_anfang, apanel51, u"act_del_zeile_text_anfang", 8, 300, 364,
         kRowHeight);
    Make(act_del_zeile_text_grkl, apanel51, u"act_del_zeile_text_grkl", 8, 320, 364, kRowHeight);
    Make(act_del_zeile_text_leer, apanel51, u"act_del_zeile_text_leer", 8, 340, 364, kRowHeight);
}

void Tprog::CreateLineGroups() {
    CreateGroup(5, apanel60, act_html, &act_html_bb, apanel61, u"apanel60", u"act_html",
                u"apanel61", 172);
    TCheckBox** html[] = {&act_html_reduzieren,           &act_html_ersetzen,
                          &act_html_ersetzen_eig,         &act_html_ersetzen_reverse,
                          &act_html_ersetzen_reverse_eig, &act_html_linkmails,
                          &act_html_linkwebpages,         &act_html_tagsentfernen};
    const char16_t* htmlNames[] = {u"act_html_reduzieren",           u"act_html_ersetzen",
                                   u"act_html_ersetzen_eig",         u"act_html_ersetzen_reverse",
                                   u"act_html_ersetzen_reverse_eig", u"act_html_linkmails",
                                   u"act_html_linkwebpages",         u"act_html_tagsentfernen"};
    for (int i = 0; i < 8; ++i)
        Make(*html[i], apanel61, htmlNames[i], 8, 6 + 20 * i, 364, kRowHeight);

    CreateGroup(6, apanel70, act_zeilen, &act_zeilen_bb, apanel71, u"apanel70", u"act_zeilen",
                u"apanel71", 254);
    Make(act_zeilen_umbruchweg, apanel71, u"act_zeilen_umbruchweg", 8, 6, 364, kRowHeight);
    Make(Label26, apanel71, u"Label26", 24, 28, 250, 13);
    Make(act_zeilen_umbruchweg_range, apanel71, u"act_zeilen_umbruchweg_range", 280, 24, 50,
         kEditHeight);
    Make(act_zeilen_umbruchweg_intelligent, apanel71, u"act_zeilen_umbruchweg_intelligent", 24, 48,
         348, kRowHeight);
    Make(act_zeilen_umbruchweg_leerzeichen, apanel71, u"act_zeilen_umbruchweg_leerzeichen", 24, 68,
         348, kRowHeight);
    Make(act_zeilen_sort, apanel71, u"act_zeilen_sort", 8, 92, 160, kRowHeight);
    Make(act_zeilen_sortierung, apanel71, u"act_zeilen_sortierung", 172, 90, 60, kEditHeight);
    Make(act_zeilen_sort_abcb, apanel71, u"act_zeilen_sort_abcb", 24, 116, 250, kRowHeight);
    Make(act_zeilen_sort_abed, apanel71, u"act_zeilen_sort_abed", 280, 114, 92, kEditHeight);
    Make(act_zeilen_laenge, apanel71, u"act_zeilen_laenge", 8, 142, 260, kRowHeight);
    Make(act_zeilen_laengemax, apanel71, u"act_zeilen_laengemax", 280, 140, 50, kEditHeight);
    Make(act_zeilen_trimleft, apanel71, u"act_zeilen_trimleft", 8, 166, 180, kRowHeight);
    Make(act_zeilen_trimright, apanel71, u"act_zeilen_trimright", 192, 166, 180, kRowHeight);
    Make(act_zeilen_nummern, apanel71, u"act_zeilen_nummern", 8, 190, 180, kRowHeight);
    Make(Label27, apanel71, u"Label27", 192, 192, 84, 13);
    Make(act_zeilen_nummern_beginn, apanel71, u"act_zeilen_nummern_beginn", 280, 188, 50,
         kEditHeight);
    Make(act_zeilen_nummern5, apanel71, u"act_zeilen_nummern5", 24, 214, 348, kRowHeight);
    Make(Label28, apanel71, u"Label28", 336, 28, 36, 13);
    Make(Label29, apanel71, u"Label29", 336, 144, 36, 13);

    CreateGroup(7, apanel80, act_sonstige, &act_sonstige_bb, apanel81, u"apanel80", u"act_sonstige",
                u"apanel81", 130);
    TRadioButton** cases[] = {&act_sons_uppercase, &act_sons_lowercase, &act_sons_uppercasebegin,
                              &act_sons_mixedcase, &act_sons_keine};
    const char16_t* caseNames[] = {u"act_sons_uppercase", u"act_sons_lowercase",
                                   u"act_sons_uppercasebegin", u"act_sons_mixedcase",
                                   u"act_sons_keine"};
    for (int i = 0; i < 5; ++i)
        Make(*cases[i], apanel81, caseNames[i], 8, 6 + 20 * i, 364, kRowHeight);
    Make(act_sons_ucline, apanel81, u"act_sons_ucline", 8, 108, 364, kRowHeight);
}

void Tprog::CreateFileGroups() {
    CreateGroup(8, apanel90a, act_dateizus, &act_dateizus_bb, apanel91a, u"apanel90a",
                u"act_dateizus", u"apanel91a", 156);
    Make(act_dateizus_einzeln, apanel91a, u"act_dateizus_einzeln", 8, 6, 364, kRowHeight);
    Make(act_dateizus_vorschaueinzeln, apanel91a, u"act_dateizus_vorschaueinzeln", 8, 26, 364,
         kRowHeight);
    Make(act_dateizus_absatz, apanel91a, u"act_dateizus_absatz", 8, 46, 364, kRowHeight);
    Make(act_dateizus_text, apanel91a, u"act_dateizus_text", 8, 66, 364, kRowHeight);
    fieldMemo(Make(act_dateizus_textfeld, apanel91a, u"act_dateizus_textfeld", 8, 86, 364, 62));

    CreateGroup(9, apanel90b, act_dateisplit, &act_dateisplit_bb, apanel91b, u"apanel90b",
                u"act_dateisplit", u"apanel91b", 250);
    Make(Label30, apanel91b, u"Label30", 8, 6, 200, 13);
    fieldMemo(Make(act_dateisplit_text, apanel91b, u"act_dateisplit_text", 8, 22, 364, 42));
    Make(act_dateisplit_trenn_exakt, apanel91b, u"act_dateisplit_trenn_exakt", 8, 70, 176,
         kRowHeight);
    Make(act_dateisplit_trenn_zeile, apanel91b, u"act_dateisplit_trenn_zeile", 188, 70, 184,
         kRowHeight);
    Make(act_dateisplit_regex, apanel91b, u"act_dateisplit_regex", 8, 92, 364, kRowHeight);
    Make(act_dateisplit_suchtxtvorne, apanel91b, u"act_dateisplit_suchtxtvorne", 8, 112, 364,
         kRowHeight);
    Make(act_dateisplit_suchtxthinten, apanel91b, u"act_dateisplit_suchtxthinten", 8, 132, 364,
         kRowHeight);
    Make(act_dateisplit_einzeln, apanel91b, u"act_dateisplit_einzeln", 8, 152, 364, kRowHeight);
    Make(act_dateisplit_remwhitespace, apanel91b, u"act_dateisplit_remwhitespace", 8, 172, 364,
         kRowHeight);
    Make(act_dateisplit_min, apanel91b, u"act_dateisplit_min", 8, 194, 264, kRowHeight);
    Make(act_dateisplit_minlaenge, apanel91b, u"act_dateisplit_minlaenge", 280, 192, 50,
         kEditHeight);
    Make(Label31, apanel91b, u"Label31", 336, 196, 36, 13);

    CreateGroup(10, apanel90c, act_konstanten, &act_konstanten_bb, apanel91c, u"apanel90c",
                u"act_konstanten", u"apanel91c", 96);
    Make(Label32, apanel91c, u"Label32", 8, 6, 364, 26);
    Label32->SetAutoSize(false);
    Label32->SetWordWrap(true);
    Make(Label33, apanel91c, u"Label33", 8, 40, 200, 13);
    Make(act_konst_start, apanel91c, u"act_konst_start", 212, 36, 60, kEditHeight);
    Make(act_konst_all, apanel91c, u"act_konst_all", 8, 60, 364, kRowHeight);
    Make(Label51, apanel91c, u"Label51", 8, 80, 364, 13);
    Label51->SetCursor(crHandPoint);
    Label51->Font()->SetColor(clBlue);
}

void Tprog::CreateCodingGroups() {
    CreateGroup(11, apanel920, act_transcript, &act_transcript_bb, apanel921, u"apanel920",
                u"act_transcript", u"apanel921", 172);
    Make(Label34, apanel921, u"Label34", 8, 6, 200, 13);
    Make(act_transkription, apanel921, u"act_transkription", 8, 22, 250, kEditHeight);
    Make(act_transcript_user, apanel921, u"act_transcript_user", 264, 21, 108, kButtonHeight);
    Make(act_transcript_umlaute, apanel921, u"act_transcript_umlaute", 8, 50, 364, kRowHeight);
    Make(act_trans_reverse, apanel921, u"act_trans_reverse", 8, 70, 364, kRowHeight);
    Make(act_trans_kleinzusatz, apanel921, u"act_trans_kleinzusatz", 8, 90, 364, kRowHeight);
    Make(act_trans_grosszusatz, apanel921, u"act_trans_grosszusatz", 8, 110, 364, kRowHeight);
    Make(Label39, apanel921, u"Label39", 8, 136, 364, 13);
    Label39->SetCursor(crHandPoint);
    Label39->Font()->SetColor(clBlue);

    CreateGroup(12, apanel930, act_newline, &act_newline_bb, apanel931, u"apanel930",
                u"act_newline", u"apanel931", 188);
    Make(act_rbnewline_auto, apanel931, u"act_rbnewline_auto", 8, 6, 364, kRowHeight);
    Make(act_rbnewline_manu, apanel931, u"act_rbnewline_manu", 8, 26, 150, kRowHeight);
    Make(act_newline_alt, apanel931, u"act_newline_alt", 160, 24, 212, kEditHeight);
    Make(Label35, apanel931, u"Label35", 24, 50, 130, 13);
    Make(Label49, apanel931, u"Label49", 160, 50, 212, 13);
    Make(act_cbnewline, apanel931, u"act_cbnewline", 8, 72, 150, kRowHeight);
    Make(act_newline_neu, apanel931, u"act_newline_neu", 160, 70, 212, kEditHeight);
    Make(act_cbnl_check, apanel931, u"act_cbnl_check", 8, 98, 364, kRowHeight);
    Make(act_newlinewindows, apanel931, u"act_newlinewindows", 8, 118, 364, kRowHeight);

    CreateGroup(13, apanel940, act_convert, &act_convert_bb, apanel941, u"apanel940",
                u"act_convert", u"apanel941", 128);
    Make(Label36, apanel941, u"Label36", 8, 6, 150, 13);
    Make(act_convert_label, apanel941, u"act_convert_label", 160, 6, 212, 13);
    act_convert_label->Font()->SetStyle(fsBold);
    Make(act_convert_button1, apanel941, u"act_convert_button1", 8, 26, 364, kButtonHeight);
    Make(act_convert_button2, apanel941, u"act_convert_button2", 8, 54, 364, kButtonHeight);
    Make(act_convert_label8, apanel941, u"act_convert_label8", 8, 86, 364, 13);
    act_convert_label8->SetCursor(crHandPoint);
    act_convert_label8->Font()->SetColor(clBlue);
}

void Tprog::CreateCsvGroup() {
    CreateGroup(14, apanel950, act_csv, &act_csv_bb, apanel951, u"apanel950", u"act_csv",
                u"apanel951", 306);
    Make(Label37, apanel951, u"Label37", 8, 10, 150, 13);
    Make(act_csv_trenner, apanel951, u"act_csv_trenner", 160, 6, 212, kEditHeight);
    Make(Label38, apanel951, u"Label38", 8, 36, 150, 13);
    Make(act_csv_ende, apanel951, u"act_csv_ende", 160, 32, 212, kEditHeight);
    Make(Label40, apanel951, u"Label40", 8, 62, 150, 13);
    Make(act_csv_feldbegrenzer, apanel951, u"act_csv_feldbegrenzer", 160, 58, 212, kEditHeight);
    Make(act_csv_feldbegrenzer_immer, apanel951, u"act_csv_feldbegrenzer_immer", 24, 84, 348,
         kRowHeight);
    Make(act_csv_feldbegrenzer_individuell, apanel951, u"act_csv_feldbegrenzer_individuell", 24,
         104, 348, kRowHeight);
    Make(act_csv_feldbegrenzer_nie, apanel951, u"act_csv_feldbegrenzer_nie", 24, 124, 348,
         kRowHeight);
    Make(act_csv_verkdatensatz, apanel951, u"act_csv_verkdatensatz", 8, 148, 364, kRowHeight);
    // Each column edit: its tick box and the button that opens its page.
    struct Edit {
        TCheckBox** tick;
        const char16_t* tickName;
        TButton** show;
        const char16_t* showName;
    };
    const Edit edits[] = {
        {&act_csv_order, u"act_csv_order", &act_csv_order_show, u"act_csv_order_show"},
        {&act_csv_replace, u"act_csv_replace", &act_csv_replace_show, u"act_csv_replace_show"},
        {&act_csv_insert, u"act_csv_insert", &act_csv_insert_show, u"act_csv_insert_show"},
        {&act_csv_writing, u"act_csv_writing", &act_csv_writing_show, u"act_csv_writing_show"},
        {&act_csv_calc, u"act_csv_calc", &act_csv_calc_show, u"act_csv_calc_show"},
        {&act_csv_delcolumns, u"act_csv_delcolumns", &act_csv_delcolumns_show,
         u"act_csv_delcolumns_show"},
    };
    int top = 172;
    for (const Edit& e : edits) {
        Make(*e.tick, apanel951, e.tickName, 8, top + 3, 250, kRowHeight);
        Make(*e.show, apanel951, e.showName, 282, top, 90, 22);
        top += 20;
    }
    Make(Label47, apanel951, u"Label47", 8, 292, 364, 13);
    Label47->SetCursor(crHandPoint);
    Label47->Font()->SetColor(clBlue);

    Make(apanelweitere0, ScrollBox1, u"apanelweitere0", 0, 0, kBodyWidth, kHeaderHeight);
    apanelweitere0->SetBevelOuter(bvRaised);
    Make(act_weitere, apanelweitere0, u"act_weitere", 8, 3, 300, 18);
    act_weitere->Font()->SetStyle(fsBold);
    Make(apanelweitere1, ScrollBox1, u"apanelweitere1", 0, 0, kBodyWidth, 90);
    apanelweitere1->SetBevelOuter(bvNone);
    apanelweitere1->SetVisible(false);
    apanelweitere1->SetCursor(crHandPoint);
    TLabel** support[] = {&Label42, &Label43, &Label44, &Label45};
    const char16_t* supportNames[] = {u"Label42", u"Label43", u"Label44", u"Label45"};
    for (int i = 0; i < 4; ++i) {
        Make(*support[i], apanelweitere1, supportNames[i], 8, 6 + 20 * i, 364, 13);
        (*support[i])->SetCursor(crHandPoint);
    }
    FGroups[15] = {apanelweitere0, apanelweitere1};
}

void Tprog::CreateSaveBox() {
    Holder(Panel6, Panel3, u"Panel6", alBottom, 0, 493, 400, 215);
    CreateBox(box_sav, box_sav_top, close_output, Panel6, u"box_sav", u"box_sav_top",
              u"close_output");
    Make(out_overwrite, box_sav, u"out_overwrite", 8, 28, 384, kRowHeight);
    Make(out_newimage, box_sav, u"out_newimage", 8, 48, 384, kRowHeight);
    Make(Label7, box_sav, u"Label7", 24, 74, 90, 13);
    Make(out_ordner, box_sav, u"out_ordner", 118, 70, 160, kEditHeight);
    out_ordner->SetAnchors(akLeft | akTop | akRight);
    Make(outordnerbt, box_sav, u"outordnerbt", 282, 69, 110, kButtonHeight);
    outordnerbt->SetAnchors(akTop | akRight);
    Make(Label8, box_sav, u"Label8", 24, 100, 90, 13);
    Make(out_name, box_sav, u"out_name", 118, 96, 274, kEditHeight);
    out_name->SetAnchors(akLeft | akTop | akRight);
    Make(Label9, box_sav, u"Label9", 24, 126, 90, 13);
    Make(out_format, box_sav, u"out_format", 118, 122, 274, kEditHeight);
    out_format->SetAnchors(akLeft | akTop | akRight);
    Make(out_deleteoriginal, box_sav, u"out_deleteoriginal", 8, 150, 384, kRowHeight);
    Make(out_onlyselected, box_sav, u"out_onlyselected", 8, 170, 384, kRowHeight);
    Make(out_onlyifchanged, box_sav, u"out_onlyifchanged", 8, 190, 384, kRowHeight);
}

void Tprog::CreateBottomBar() {
    TButton** reopen[] = {&max_input, &max_vorschau, &max_aktionen, &max_output};
    const char16_t* reopenNames[] = {u"max_input", u"max_vorschau", u"max_aktionen", u"max_output"};
    TBevel** lines[] = {&max_b1, &max_b2, &max_b3, &max_b4};
    const char16_t* lineNames[] = {u"max_b1", u"max_b2", u"max_b3", u"max_b4"};
    for (int i = 0; i < 4; ++i) {
        Make(*reopen[i], pa_bottom, reopenNames[i], 8 + 62 * i, 7, 59, kButtonHeight);
        (*reopen[i])->Font()->SetSize(7);
        (*reopen[i])->SetVisible(false);
        (*reopen[i])->SetShowHint(true);
        Make(*lines[i], pa_bottom, lineNames[i], 67 + 62 * i, 6, 2, 25);
        (*lines[i])->SetShape(bsLeftLine);
        (*lines[i])->SetVisible(false);
    }
    Make(laspenden, pa_bottom, u"laspenden", 8, 12, 200, 13);
    laspenden->SetCursor(crHandPoint);
    laspenden->Font()->SetColor(clBlue);
    Make(durchfuehren, pa_bottom, u"durchfuehren", 651, 5, 232, 27);
    durchfuehren->SetAnchors(akTop | akRight);
    durchfuehren->Font()->SetStyle(fsBold);
}

// The built-in transliteration tables; the user's tables follow at start-up.
void Tprog::FillTransliterationTables() {
    const WideString text = act_transkription->Text();
    for (const auto& t : BuiltInTranscriptTables())
        act_transkription->Items().Add(t.germanName);
    act_transkription->SetText(text);
    act_zeilen_sortierung->SetStyle(csDropDownList);
    act_zeilen_sortierung->SetItemIndex(0);
}
