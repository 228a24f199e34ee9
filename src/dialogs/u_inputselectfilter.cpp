#include "dialogs/u_inputselectfilter.h"

#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/WorkingWindowLink.h"
#include "platform/ListViews.h"
#include "text/WideStrUtils.h"

namespace {
constexpr int kPathSubItem = 5;

bool AnyWordOccurs(const WideString& UpperName, WideStringView Words) {
    TWideStrArray list;
    ExplodeW(list, u"/", WideUpperCase(Words));
    for (const WideString& w : list)
        if (!w.empty() && UpperName.find(w) != WideString::npos) return true;
    return false;
}

// 1 mark, 0 unmark, -1 leave, as the radio buttons of one group say.
int MarkOf(const TRadioButton* Mark, const TRadioButton* Unmark) {
    return Mark->Checked() ? 1 : Unmark->Checked() ? 0 : -1;
}
} // namespace

bool NameMatchesWords(WideStringView Name, WideStringView IncludeWords,
                      WideStringView ExcludeWords) {
    WideString name = WideUpperCase(Name);
    return AnyWordOccurs(name, IncludeWords) && !AnyWordOccurs(name, ExcludeWords);
}

Tinputselectfilter::Tinputselectfilter(TComponent* AOwner) : TForm(AOwner) {
    SetName(u"inputselectfilter");
    SetBorderStyle(bsToolWindow);
    SetFormStyle(fsStayOnTop);
    Position = poOwnerFormCenter;
    Font()->SetName(u"Tahoma");
    Font()->SetSize(8);
    SetClientWidth(520);
    SetClientHeight(380);
    GroupBox1 = MakeControl<TGroupBox>(this, this, u"GroupBox1", 8, 8, 504, 142);
    Label1 = MakeControl<TLabel>(this, GroupBox1, u"Label1", 12, 22, 480, 13);
    Edit1 = MakeControl<TEdit>(this, GroupBox1, u"Edit1", 12, 38, 480, 21);
    Label2 = MakeControl<TLabel>(this, GroupBox1, u"Label2", 12, 66, 480, 13);
    Edit2 = MakeControl<TEdit>(this, GroupBox1, u"Edit2", 12, 82, 480, 21);
    Label3 = MakeControl<TLabel>(this, GroupBox1, u"Label3", 12, 114, 480, 13);
    auto radioGroup = [this](const char16_t* name, int left, TRadioButton*& mark,
                             TRadioButton*& unmark, TRadioButton*& leave, const char16_t* prefix) {
        auto* g = MakeControl<TGroupBox>(this, this, name, left, 158, 248, 100);
        int top = 22;
        for (auto [button, suffix] :
             {std::pair{&mark, u"ja"}, {&unmark, u"nein"}, {&leave, u"nix"}}) {
            *button =
                MakeControl<TRadioButton>(this, g, WideString(prefix) + suffix, 12, top, 224, 17);
            top += 24;
        }
        return g;
    };
    GroupBox2 = radioGroup(u"GroupBox2", 8, rb_ja_ja, rb_ja_nein, rb_ja_nix, u"rb_ja_");
    GroupBox3 = radioGroup(u"GroupBox3", 264, rb_nein_ja, rb_nein_nein, rb_nein_nix, u"rb_nein_");
    rb_ja_ja->SetChecked(true);
    rb_nein_nein->SetChecked(true);
    Label4 = MakeControl<TLabel>(this, this, u"Label4", 8, 268, 504, 13);
    Label5 = MakeControl<TLabel>(this, this, u"Label5", 8, 284, 504, 13);
    Label6 = MakeControl<TLabel>(this, this, u"Label6", 8, 300, 504, 13);
    Button1 = MakeControl<TButton>(this, this, u"Button1", 232, 340, 120, 25);
    Button2 = MakeControl<TButton>(this, this, u"Button2", 360, 340, 152, 25);
    Button1->OnClick = [this](TObject* Sender) { Button1Click(Sender); };
    Button2->OnClick = [this](TObject* Sender) { Button2Click(Sender); };
    Sprache();
}

Tinputselectfilter::~Tinputselectfilter() {
    if (FOpener) FOpener->Forget(); // the program is ending
}

void Tinputselectfilter::SetVisible(bool Value) {
    if (Value == Visible()) return;
    if (Value) {
        // Before the window asks to be activated, so that the window it was opened from is
        // the one remembered.
        FOpener = std::make_unique<TModalOpener>();
        TForm::SetVisible(true);
        return;
    }
    const bool active = Active();
    TForm::SetVisible(false);
    const std::unique_ptr<TModalOpener> opener = std::move(FOpener);
    if (opener && !active) opener->Forget();
}

void Tinputselectfilter::Sprache() {
    const bool de = LanguageIsGerman();
    SetCaption(de ? u"Filter für Markierungen" : u"Selection Filter");
    GroupBox1->SetCaption(de ? u"Suchkriterien" : u"Search Criteria");
    Label1->SetCaption(de ? u"Dateien markieren, deren Dateiname folgenden Text enthält:"
                          : u"Mark files with a file name containing the following text:");
    Label2->SetCaption(de ? u"Dateien ausschließen, deren Dateiname folgenden Text enthält:"
                          : u"Exclude files with a file name containing the following text:");
    Label3->SetCaption(de ? u"Tipp: Mehrere Begriffe können Sie mit dem Zeichen / trennen"
                          : u"Tip: You can separate several search terms with the character /");
    GroupBox2->SetCaption(de ? u"Namen die Kriterien erfüllen:" : u"Names matching the criteria:");
    GroupBox3->SetCaption(de ? u"Namen die Kriterien nicht erfüllen:"
                             : u"Names not matching the criteria:");
    for (TRadioButton* r : {rb_ja_ja, rb_nein_ja})
        r->SetCaption(de ? u"Markieren" : u"Mark");
    for (TRadioButton* r : {rb_ja_nein, rb_nein_nein})
        r->SetCaption(de ? u"Markierung entfernen" : u"Delete Marking");
    for (TRadioButton* r : {rb_ja_nix, rb_nein_nix})
        r->SetCaption(de ? u"Nichts tun" : u"Do nothing");
    Button1->SetCaption(de ? u"Markieren" : u"Mark");
    Button2->SetCaption(de ? u"Markieren und Schließen" : u"Mark and Close");
    Label4->SetCaption(de ? u"Rufen Sie diesen Dialog aus dem Hauptfenster auf, um alle Dateien "
                            u"aus der"
                          : u"Call this dialog from the main window to select from all files "
                            u"currently in");
    Label5->SetCaption(de ? u"Liste zu durchsuchen. Wenn Sie den diesen Dialog aus dem "
                            u"Suchfenster aufrufen,"
                          : u"the list. If you call this dialog from the search window, you can "
                            u"select from");
    Label6->SetCaption(de ? u"können Sie nur die Dateien markieren, die einen bestimmten Inhalt "
                            u"haben."
                          : u"files containing a defined content.");
}

void Tinputselectfilter::Button1Click(TObject*) {
    WorkingWindowLink* window = WorkingWindow();
    if (!window) return;
    TListItems& rows = window->InputList()->Items();
    const WideString include = Edit1->Text(), exclude = Edit2->Text();
    const int selectedMark = MarkOf(rb_ja_ja, rb_ja_nein);
    const int otherMark = MarkOf(rb_nein_ja, rb_nein_nein);
    TListItems::TUpdate update(rows);
    for (int i = 0; i < rows.Count(); ++i) {
        const TListItem* row = rows[i];
        if (SelectTarget == kSearchResults) {
            const TUCodeStringList& sub = row->SubItems();
            if (sub.Count() <= kPathSubItem || !IsSearchResult ||
                !IsSearchResult(sub.Get(kPathSubItem)))
                continue;
        }
        int mark = NameMatchesWords(row->Caption(), include, exclude) ? selectedMark : otherMark;
        if (mark >= 0) window->QUSelect(-1, mark, i);
    }
}

void Tinputselectfilter::Button2Click(TObject* Sender) {
    Button1Click(Sender);
    Close();
}
