// The renaming tool's controls with their design values, and its texts in both languages.
#include "dialogs/ConfigurationWindows.h"
#include "dialogs/FormBuilding.h"
#include "dialogs/KeyFilters.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/u_dateinamenumbenenner.h"
#include "dialogs/u_dateinamenumbenenner_filter.h"
#include "platform/FileDrops.h"

namespace {
constexpr int kWidth = 620, kGroupWidth = kWidth - 16;
constexpr int kListTop = 8, kListHeight = 270;
constexpr int kMaskTop = kListTop + kListHeight + 6, kMaskHeight = 150;
constexpr int kReplaceTop = kMaskTop + kMaskHeight + 6, kReplaceHeight = 96;
constexpr int kPreviewTop = kReplaceTop + kReplaceHeight + 6, kPreviewHeight = 62;
constexpr int kButtonTop = kPreviewTop + kPreviewHeight + 8;
constexpr int kStatusHeight = 19;
constexpr TAnchors kBottomRight = akRight | akBottom, kBottomWide = akLeft | akRight | akBottom;

void OnKeys(TWinControl* Control, void (*Filter)(WideChar&)) {
    Control->OnKeyPress = [Filter](TObject*, WideChar& Key) { Filter(Key); };
}
} // namespace

Tdateinamenumbenenner::Tdateinamenumbenenner(TComponent* AOwner) : TForm(AOwner) {
    dateinamenumbenenner = this;
    SetName(u"dateinamenumbenenner");
    Font()->SetName(u"Tahoma");
    Font()->SetSize(8);
    SetClientWidth(kWidth);
    SetClientHeight(kButtonTop + 27 + 8 + kStatusHeight);
    SetConstraints({kWidth, ClientHeight(), 0, 0});
    Position = poScreenCenter;
    BuildListGroup();
    BuildMaskGroup();
    BuildReplaceGroup();
    BuildPreviewGroup();
    Umbenennen = MakeControl<TButton>(this, this, u"Umbenennen", kWidth - 128, kButtonTop, 120, 27);
    Umbenennen->SetAnchors(kBottomRight);
    Umbenennen->OnClick = [this](TObject* Sender) { UmbenennenClick(Sender); };
    status = MakeControl<TStatusBar>(this, this, u"status", 0, ClientHeight() - kStatusHeight,
                                     kWidth, kStatusHeight);
    status->SetAlign(alBottom);
    status->SetSimplePanel(true);

    popupqulist = new TPopupMenu(this);
    popupqulist->SetName(u"popupqulist");
    for (auto [item, name] :
         {std::pair{&pop1, u"pop1"}, {&pop2, u"pop2"}, {&pop3, u"pop3"}, {&pop4, u"pop4"}}) {
        *item = new TMenuItem(this);
        (*item)->SetName(name);
        popupqulist->Items()->Add(*item);
    }
    pop1->OnClick = [this](TObject* Sender) { pop1Click(Sender); };
    pop2->OnClick = [this](TObject* Sender) { pop2Click(Sender); };
    pop3->OnClick = [this](TObject* Sender) { pop3Click(Sender); };
    pop4->OnClick = [this](TObject* Sender) { BitBtn3Click(Sender); };
    popupqulist->OnPopup = [this](TObject* Sender, bool& Cancel) {
        popupqulistPopup(Sender, Cancel);
    };
    popupqulist->AttachTo(qulist);

    filterWindow = new Tdateinamenumbenenner_filter(this);
    DragAcceptFiles(this, true);
    suchenersetzenClick(suchenersetzen);
    Sprache();
    RegisterConfigurationWindow("DU", this);
}

void Tdateinamenumbenenner::BuildListGroup() {
    GroupBox1 =
        MakeControl<TGroupBox>(this, this, u"GroupBox1", 8, kListTop, kGroupWidth, kListHeight);
    GroupBox1->SetAnchors(akLeft | akTop | akRight | akBottom);
    const int inner = kGroupWidth - 16, bottom = kListHeight;
    qulist = MakeControl<TListView>(this, GroupBox1, u"qulist", 8, 20, inner, bottom - 114);
    qulist->SetAnchors(akLeft | akTop | akRight | akBottom);
    qulist->SetMultiSelect(true);
    qulist->SetRowSelect(true);
    qulist->SetReadOnly(true);
    qulist->HideSelection = false;
    for (int width : {130, 50, 90, 110, 300})
        qulist->Columns().Add()->SetWidth(width);
    qulist->Columns()[2]->SetAlignment(taRightJustify);
    qulist->OnColumnClick = [this](TObject* Sender, TListColumn* Column) {
        qulistColumnClick(Sender, Column);
    };
    qulist->OnCompare = [this](TObject* Sender, TListItem* A, TListItem* B, intptr_t Data,
                               int& Compare) { qulistCompare(Sender, A, B, Data, Compare); };
    qulist->OnKeyDown = [this](TObject* Sender, uint16_t& Key, TShiftState Shift) {
        qulistKeyDown(Sender, Key, Shift);
    };
    qulist->OnClick = [this](TObject* Sender) { VorschauSetzen(Sender); };
    qulist->OnDblClick = qulist->OnClick;
    qulist->OnKeyUp = [this](TObject* Sender, uint16_t&, TShiftState) { VorschauSetzen(Sender); };

    la_anzahl = MakeControl<TLabel>(this, GroupBox1, u"la_anzahl", 8, bottom - 86, 250, 13);
    la_anzahl->SetAnchors(akLeft | akBottom);
    BitBtn3 = MakeControl<TButton>(this, GroupBox1, u"BitBtn3", inner - 232, bottom - 92, 116, 25);
    BitBtn2 = MakeControl<TButton>(this, GroupBox1, u"BitBtn2", inner - 108, bottom - 92, 116, 25);
    quordner = MakeControl<TEdit>(this, GroupBox1, u"quordner", 8, bottom - 58, inner - 232, 21);
    quordner->SetAnchors(kBottomWide);
    OpenOrdner =
        MakeControl<TButton>(this, GroupBox1, u"OpenOrdner", inner - 216, bottom - 60, 108, 25);
    BitBtn1 = MakeControl<TButton>(this, GroupBox1, u"BitBtn1", inner - 100, bottom - 60, 108, 25);
    for (TControl* c : std::initializer_list<TControl*>{BitBtn1, BitBtn2, BitBtn3, OpenOrdner})
        c->SetAnchors(kBottomRight);
    uv = MakeControl<TCheckBox>(this, GroupBox1, u"uv", 8, bottom - 28, 300, 17);
    uv->SetAnchors(akLeft | akBottom);
    uv->SetChecked(true);

    quordner->OnKeyPress = [this](TObject* Sender, WideChar& Key) {
        quordnerKeyPress(Sender, Key);
    };
    quordner->OnDblClick = [this](TObject*) { quordner->SelectAll(); };
    OpenOrdner->OnClick = [this](TObject* Sender) { OpenOrdnerClick(Sender); };
    BitBtn1->OnClick = [this](TObject* Sender) { BitBtn1Click(Sender); };
    BitBtn2->OnClick = [this](TObject* Sender) { BitBtn2Click(Sender); };
    BitBtn3->OnClick = [this](TObject* Sender) { BitBtn3Click(Sender); };
}

void Tdateinamenumbenenner::BuildMaskGroup() {
    GroupBox2 =
        MakeControl<TGroupBox>(this, this, u"GroupBox2", 8, kMaskTop, kGroupWidth, kMaskHeight);
    GroupBox2->SetAnchors(kBottomWide);
    const int inner = kGroupWidth - 24;
    maske = MakeControl<TComboBox>(this, GroupBox2, u"maske", 12, 20, inner, 21);
    maske->SetAnchors(akLeft | akTop | akRight);
    for (const char16_t* item :
         {u"%name%", u"%name%1", u"%name%%num%", u"%0num%", u"%0num% %name%", u"%0num%-%abs%"})
        maske->Items().Add(item);
    maske->SetText(u"%name%");
    OnKeys(maske, MaskKeyFilter);
    Label1 = MakeControl<TLabel>(this, GroupBox2, u"Label1", 12, 48, inner, 13);
    struct Constant {
        TLabel*& label;
        const char16_t* name;
        const char16_t* caption;
        TLabel*& description;
        const char16_t* descriptionName;
    };
    const Constant constants[] = {{Label5, u"Label5", u"%name%", Label6, u"Label6"},
                                  {Label7, u"Label7", u"%num%", Label8, u"Label8"},
                                  {Label12, u"Label12", u"%0num%", Label13, u"Label13"},
                                  {Label9, u"Label9", u"%abs%", Label10, u"Label10"}};
    int top = 70;
    for (const Constant& c : constants) {
        c.label = MakeControl<TLabel>(this, GroupBox2, c.name, 24, top, 60, 13);
        c.label->SetCaption(c.caption);
        c.label->Font()->SetColor(clBlue);
        c.label->Font()->SetStyle(fsUnderline);
        c.label->SetCursor(crHandPoint);
        c.label->OnClick = [this](TObject* Sender) { Label5Click(Sender); };
        c.description = MakeControl<TLabel>(this, GroupBox2, c.descriptionName, 96, top, 250, 13);
        top += 19;
    }
    numstart = MakeControl<TComboBox>(this, GroupBox2, u"numstart", 352, 86, 60, 21);
    numstart->Items().Add(u"0");
    numstart->Items().Add(u"1");
    numstart->SetText(u"1");
    OnKeys(numstart, NumberKeyFilter);
    maske->OnChange = [this](TObject* Sender) { Vorschau(Sender); };
    numstart->OnChange = maske->OnChange;
    maske->OnSelect = maske->OnChange;
    numstart->OnSelect = maske->OnChange;
}

void Tdateinamenumbenenner::BuildReplaceGroup() {
    GroupBox3 = MakeControl<TGroupBox>(this, this, u"GroupBox3", 8, kReplaceTop, kGroupWidth,
                                       kReplaceHeight);
    GroupBox3->SetAnchors(kBottomWide);
    suchenersetzen =
        MakeControl<TCheckBox>(this, GroupBox3, u"suchenersetzen", 12, 16, kGroupWidth - 24, 17);
    Label2 = MakeControl<TLabel>(this, GroupBox3, u"Label2", 28, 44, 100, 13);
    suchenalt = MakeControl<TEdit>(this, GroupBox3, u"suchenalt", 130, 40, 160, 21);
    Label3 = MakeControl<TLabel>(this, GroupBox3, u"Label3", 306, 44, 100, 13);
    suchenneu = MakeControl<TEdit>(this, GroupBox3, u"suchenneu", 410, 40, 170, 21);
    Label4 = MakeControl<TLabel>(this, GroupBox3, u"Label4", 28, 72, 150, 13);
    cb_suchname = MakeControl<TCheckBox>(this, GroupBox3, u"cb_suchname", 180, 70, 150, 17);
    cb_suchendung = MakeControl<TCheckBox>(this, GroupBox3, u"cb_suchendung", 340, 70, 150, 17);
    cb_suchname->SetChecked(true);
    OnKeys(suchenalt, MaskKeyFilter);
    OnKeys(suchenneu, MaskKeyFilter);
    suchenersetzen->OnClick = [this](TObject* Sender) { suchenersetzenClick(Sender); };
    suchenalt->OnChange = [this](TObject* Sender) { Vorschau(Sender); };
    suchenneu->OnChange = suchenalt->OnChange;
    cb_suchname->OnClick = suchenalt->OnChange;
    cb_suchendung->OnClick = suchenalt->OnChange;
}

void Tdateinamenumbenenner::BuildPreviewGroup() {
    GroupBox4 = MakeControl<TGroupBox>(this, this, u"GroupBox4", 8, kPreviewTop, kGroupWidth,
                                       kPreviewHeight);
    GroupBox4->SetAnchors(kBottomWide);
    const int labelWidth = kGroupWidth - 24 - 100;
    Label14 = MakeControl<TLabel>(this, GroupBox4, u"Label14", 12, 20, 90, 13);
    vor_orig = MakeControl<TLabel>(this, GroupBox4, u"vor_orig", 110, 20, labelWidth, 13);
    Label15 = MakeControl<TLabel>(this, GroupBox4, u"Label15", 12, 40, 90, 13);
    vor_out = MakeControl<TLabel>(this, GroupBox4, u"vor_out", 110, 40, labelWidth, 13);
    for (TLabel* l : {vor_orig, vor_out}) {
        l->SetAutoSize(false);
        l->SetShowAccelChar(false);
        l->SetEllipsisPosition(epEndEllipsis); // again whenever the window is resized
        l->SetShowHint(true);
        l->SetAnchors(akLeft | akTop | akRight);
    }
    vor_out->Font()->SetStyle(fsBold);
}

void Tdateinamenumbenenner::Sprache() {
    const bool de = LanguageIsGerman();
    FTexts =
        de ? Texts{u" Dateien geladen",
                   u" Dateien umbenannt",
                   u" Dateien konnten nicht umbenannt werden",
                   u"Umbenannt",
                   u"Neu hinzugefügt",
                   u"Nicht umbenannt",
                   u"Datei existiert",
                   u"Fehler"}
           : Texts{u" files loaded", u" files renamed", u" files could not be renamed", u"Renamed",
                   u"Added",         u"Not Renamed",    u"File already exists",         u"Error"};
    SetCaption(de ? u"Dateien umbenennen" : u"File Renamer");
    Umbenennen->SetCaption(de ? u"Umbenennen" : u"Rename");
    SpracheList(de);
    SpracheMaskAndReplace(de);
    GroupBox4->SetCaption(de ? u"Vorschau" : u"Preview");
    Label14->SetCaption(de ? u"Alter Name:" : u"Old Name:");
    Label15->SetCaption(de ? u"Neuer Name:" : u"New Name:");
    pop1->SetCaption(de ? u"Übergeordneten Ordner öffnen" : u"Open corresponding Folder");
    pop2->SetCaption(de ? u"Dateiinformationen anzeigen" : u"Show File Information");
    pop3->SetCaption(de ? u"Markierte Dateien in die Zwischenablage kopieren"
                        : u"Copy selected Files to Clipboard");
    pop4->SetCaption(de ? u"Markierte Dateien aus der Liste löschen"
                        : u"Delete selected Files from List");
    filterWindow->Sprache();
    ShowLoadedCount();
}

void Tdateinamenumbenenner::SpracheList(bool de) {
    GroupBox1->SetCaption(
        de ? u"Ziehen Sie die Dateien, die umbenannt werden sollen in diese Liste oder öffnen "
             u"Sie einen Ordner."
           : u"Drag the Files to be renamed to this List or open a Folder.");
    OpenOrdner->SetCaption(de ? u"Ordner Öffnen.." : u"Open Folder..");
    BitBtn1->SetCaption(u"Filter..");
    uv->SetCaption(de ? u"Auch Unterverzeichnisse durchsuchen" : u"Search all Subfolders");
    const char16_t* titles[2][5] = {{u"Name", u"Type", u"Size", u"Status", u"Path"},
                                    {u"Name", u"Typ", u"Größe", u"Status", u"Dateipfad"}};
    for (int i = 0; i < 5; ++i)
        qulist->Columns()[i]->SetCaption(titles[de][i]);
    BitBtn3->SetCaption(de ? u"Markierte Löschen" : u"Delete Selected");
    BitBtn2->SetCaption(de ? u"Alle Löschen" : u"Delete All");
}

void Tdateinamenumbenenner::SpracheMaskAndReplace(bool de) {
    GroupBox2->SetCaption(de ? u"Wählen Sie eine Maske für die betreffenden Dateien"
                             : u"Choose a Mask for the Files.");
    Label1->SetCaption(de ? u"Folgende Konstanten sind verfügbar. Klicken Sie auf eine "
                            u"Konstante, um sie in die Maske einzufügen."
                          : u"The following Constants are available. Click on a Constant, to "
                            u"copy it to the Mask.");
    Label6->SetCaption(de ? u"Der alte Name der Datei" : u"Old Name of the File");
    Label8->SetCaption(de ? u"Nummerierung beginnend bei:" : u"Numbering starting with:");
    Label13->SetCaption(de ? u"Nummerierung mit führenden Nullen"
                           : u"Numbering with Left-Hand-Zeros");
    Label10->SetCaption(de ? u"Absolute Anzahl an Dateien in der Liste"
                           : u"Total Number of Files in the List");
    suchenersetzen->SetCaption(de ? u"Ersetzen Sie in dem Dateinamen bestimmte Ausdrücke durch "
                                    u"andere."
                                  : u"Find and Replace Expressions in the Filename.");
    Label2->SetCaption(de ? u"Suchen nach:" : u"Search for:");
    Label3->SetCaption(de ? u"Ersetzen durch:" : u"Replace with:");
    Label4->SetCaption(de ? u"Suchen und Ersetzen in:" : u"Search and Replace in:");
    cb_suchname->SetCaption(de ? u"Dateiname" : u"File Name");
    cb_suchendung->SetCaption(de ? u"Dateiendung" : u"File Extension");
}
