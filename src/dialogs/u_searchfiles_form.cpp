// The search window's controls with their design values, and its texts in both languages.
#include "dialogs/ConfigurationWindows.h"
#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/u_searchfiles.h"
#include "platform/ShellServices.h"

namespace {
constexpr int kWidth = 640, kInner = kWidth - 16;
constexpr TAnchors kTopWide = akLeft | akTop | akRight, kAll = akLeft | akTop | akRight | akBottom;
constexpr TAnchors kBottomLeft = akLeft | akBottom, kBottomRight = akRight | akBottom;
} // namespace

Tsearchfiles::Tsearchfiles(TComponent* AOwner) : TForm(AOwner) {
    searchfiles = this;
    SetName(u"searchfiles");
    SetBorderStyle(bsSizeToolWin);
    SetFormStyle(fsStayOnTop);
    Position = poOwnerFormCenter;
    Font()->SetName(u"Tahoma");
    Font()->SetSize(8);
    SetClientWidth(kWidth);
    SetClientHeight(540);
    SetConstraints({kWidth, 480, 0, 0});

    Label4 = MakeControl<TLabel>(this, this, u"Label4", 8, 8, kInner, 13);
    Label5 = MakeControl<TLabel>(this, this, u"Label5", 8, 24, kInner, 13);
    Label2 = MakeControl<TLabel>(this, this, u"Label2", 8, 48, kInner, 13);
    Memo1 = MakeControl<TMemo>(this, this, u"Memo1", 8, 64, kInner, 60);
    Memo1->Font()->SetName(u"Courier New");
    Memo1->SetScrollBars(ssVertical);
    cb_gk = MakeControl<TCheckBox>(this, this, u"cb_gk", 8, 132, 236, 17);
    cb_regex = MakeControl<TCheckBox>(this, this, u"cb_regex", 248, 132, 104, 17);
    Button4 = MakeControl<TButton>(this, this, u"Button4", kWidth - 280, 128, 132, 25);
    Suchen = MakeControl<TButton>(this, this, u"Suchen", kWidth - 140, 128, 132, 25);
    Label1 = MakeControl<TLabel>(this, this, u"Label1", 8, 164, kInner, 13);
    erglist = MakeControl<TListView>(this, this, u"erglist", 8, 180, kInner, 270);
    erglist->SetMultiSelect(true);
    erglist->SetRowSelect(true);
    erglist->SetReadOnly(true);
    erglist->HideSelection = false;
    erglist->SetSmallImages(&SystemImageList());
    for (int width : {150, 45, 55, 110, 70, 70, 300})
        erglist->Columns().Add()->SetWidth(width);
    erglist->Columns()[1]->SetAlignment(taRightJustify);
    erglist->Columns()[5]->SetAlignment(taRightJustify);
    la_anzahl = MakeControl<TLabel>(this, this, u"la_anzahl", 8, 456, 200, 13);
    bt_show_in_files =
        MakeControl<TButton>(this, this, u"bt_show_in_files", kWidth - 200, 454, 192, 25);
    bt_show_in_files->Tag = 1;
    const int row = 500, w = (kInner - 24) / 4;
    bt_delete_found = MakeControl<TButton>(this, this, u"bt_delete_found", 8, row, w, 27);
    bt_delete_others =
        MakeControl<TButton>(this, this, u"bt_delete_others", 8 + (w + 8), row, w, 27);
    bt_mark_filenames =
        MakeControl<TButton>(this, this, u"bt_mark_filenames", 8 + 2 * (w + 8), row, w, 27);
    bt_mark_found = MakeControl<TButton>(this, this, u"bt_mark_found", 8 + 3 * (w + 8), row, w, 27);

    for (TControl* c : std::initializer_list<TControl*>{Label4, Label5, Label2, Memo1, Label1})
        c->SetAnchors(kTopWide);
    for (TControl* c : std::initializer_list<TControl*>{Button4, Suchen})
        c->SetAnchors(akRight | akTop);
    erglist->SetAnchors(kAll);
    la_anzahl->SetAnchors(kBottomLeft);
    bt_show_in_files->SetAnchors(kBottomRight);
    for (TControl* c : std::initializer_list<TControl*>{bt_delete_found, bt_delete_others,
                                                        bt_mark_filenames, bt_mark_found})
        c->SetAnchors(kBottomLeft);

    popupqulist = new TPopupMenu(this);
    popupqulist->SetName(u"popupqulist");
    for (auto [item, name] : {std::pair{&pop0, u"pop0"},
                              {&pop1, u"pop1"},
                              {&pop2, u"pop2"},
                              {&pop3, u"pop3"},
                              {&pop4, u"pop4"}}) {
        *item = new TMenuItem(this);
        (*item)->SetName(name);
        popupqulist->Items()->Add(*item);
    }
    popupqulist->AttachTo(erglist);

    Suchen->OnClick = [this](TObject* s) { SuchenClick(s); };
    Button4->OnClick = [this](TObject*) { Memo1->Clear(); };
    cb_gk->OnClick = [this](TObject*) { bt_show_in_files->Tag = 1; };
    bt_show_in_files->OnClick = [this](TObject* s) { bt_show_in_filesClick(s); };
    bt_delete_found->OnClick = [this](TObject* s) { bt_delete_foundClick(s); };
    bt_delete_others->OnClick = [this](TObject* s) { bt_delete_othersClick(s); };
    bt_mark_found->OnClick = [this](TObject* s) { bt_mark_foundClick(s); };
    bt_mark_filenames->OnClick = [this](TObject* s) { bt_mark_filenamesClick(s); };
    erglist->OnClick = [this](TObject* s) { VorschauInProg(s); };
    erglist->OnDblClick = erglist->OnClick;
    erglist->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) {
        erglistKeyDown(s, k, sh);
    };
    erglist->OnKeyUp = [this](TObject* s, uint16_t&, TShiftState) {
        bt_show_in_files->Tag = 1;
        VorschauInProg(s);
    };
    erglist->OnColumnClick = [this](TObject* s, TListColumn* c) { erglistColumnClick(s, c); };
    erglist->OnCompare = [this](TObject* s, TListItem* a, TListItem* b, intptr_t d, int& r) {
        erglistCompare(s, a, b, d, r);
    };
    popupqulist->OnPopup = [this](TObject* s, bool& cancel) { popupqulistPopup(s, cancel); };
    pop0->OnClick = [this](TObject* s) { pop0Click(s); };
    pop1->OnClick = [this](TObject* s) { pop1Click(s); };
    pop2->OnClick = [this](TObject* s) { pop2Click(s); };
    pop3->OnClick = [this](TObject* s) { pop3Click(s); };
    pop4->OnClick = [this](TObject* s) { pop4Click(s); };
    Sprache();
    RegisterConfigurationWindow("SF", this);
}

void Tsearchfiles::Sprache() {
    const bool de = LanguageIsGerman();
    auto t = [de](const char16_t* German, const char16_t* English) {
        return WideString(de ? German : English);
    };
    SetCaption(t(u"In Dateien nach Text suchen", u"Search in Files for Text"));
    Label4->SetCaption(t(u"Hier können Sie in den hinzugefügten Dateien nach einem Text suchen. "
                         u"Dateien, in denen der Text vorkommt,",
                         u"Here you can search for text passages in the Files, added in the main "
                         u"program. Files, in which the text occurs,"));
    Label5->SetCaption(t(u"werden in der Liste unten angezeigt. Markieren Sie eine Datei, um Sie "
                         u"in der Vorschau anzuzeigen.",
                         u"will be listed in the bottom of this window. Select one of the found "
                         u"files to show the File in the Preview."));
    Label2->SetCaption(t(u"Suchen nach diesem Text:", u"Search for this Text:"));
    cb_gk->SetCaption(t(u"Groß- und Kleinschreibung beachten", u"Case-Sensitive"));
    cb_regex->SetCaption(t(u"RegEx Suche", u"RegEx Search"));
    Suchen->SetCaption(t(u"Dateien Durchsuchen", u"Search in Files"));
    Button4->SetCaption(t(u"Eingabefeld leeren", u"Clear Input"));
    Label1->SetCaption(t(u"Der Text wurde in folgenden Dateien gefunden:",
                         u"The Search Term was found in the following Files:"));
    const char16_t* german[] = {u"Name",      u"Treffer", u"Format",   u"Typ",
                                u"Kodierung", u"Größe",   u"Dateipfad"};
    const char16_t* english[] = {u"Name",   u"Hits", u"Format",  u"Type",
                                 u"Coding", u"Size", u"Filepath"};
    for (int i = 0; i < 7; ++i)
        erglist->Columns()[i]->SetCaption(de ? german[i] : english[i]);
    ShowCount();
    bt_show_in_files->SetCaption(t(u"Suchtext in Datei zeigen", u"Show Search Term in File"));
    bt_delete_found->SetCaption(t(u"Gefundene löschen", u"Delete Found Files"));
    bt_delete_others->SetCaption(t(u"Andere löschen", u"Delete Other Files"));
    bt_mark_filenames->SetCaption(t(u"Dateinamen markieren..", u"Mark File Names.."));
    bt_mark_found->SetCaption(t(u"Gefundene markieren", u"Mark Found Files"));
    pop0->SetCaption(t(u"Öffnen..", u"Open.."));
    pop1->SetCaption(t(u"Übergeordneten Ordner öffnen", u"Open corresponding Folder"));
    pop2->SetCaption(t(u"Dateiinformationen anzeigen", u"Show File Information"));
    pop3->SetCaption(t(u"Markierte Dateien in die Zwischenablage kopieren",
                       u"Copy selected Files to Clipboard"));
    pop4->SetCaption(
        t(u"Markierte Dateien aus der Liste löschen", u"Delete selected Files from List"));
}
