// The preview box: the selected input file before and after the ticked actions, the
// output path the run would write, the line and size labels, the synchronised scrolling
// of the two memos, the halves, saving an edited input text back to its file, the plus
// buttons that open the long-text editors, and the labels that open the maker's pages.
#include <algorithm>

#include "dialogs/LanguageCode.h"
#include "dialogs/ProjectLinks.h"
#include "dialogs/u_zplus.h"
#include "engine/Constants.h"
#include "engine/InputListColumns.h"
#include "engine/LocaleTexts.h"
#include "engine/Pipeline.h"
#include "engine/PreviewText.h"
#include "mainwindow/u_prog.h"
#include "platform/CanvasText.h"
#include "platform/ShellServices.h"
#include "text/FileUtils.h"
#include "text/TextEncodings.h"
#include "text/TextFiles.h"
#include "text/UCodeSysUtils.h"
#include "text/WideStrUtils.h"

namespace {

// The converted text's beginning that the output name may use ("%firstchars%"), as the
// run takes it.
constexpr size_t kFirstCharsForName = 80;

int DigitCount(int n) {
    return static_cast<int>(std::to_string(std::max(n, 0)).size());
}

// The maker's pages. The labels and menu items carry the page's name in their caption.
const WideString kMakerLinkPrefix = ProjectPage(u"link/?to=");
const WideString kSupportPageDe = ProjectPage(u"de/hilfe/");
const WideString kSupportPageEn = ProjectPage(u"en/support/");

} // namespace

// ---- Binding ----

void Tprog::BindPreviewEvents() {
    VorschauTimer->OnTimer = [this](TObject* s) { VorschauTimerTimer(s); };
    qulist->OnClick = [this](TObject* s) { VorschauSetzen(s); };
    vor_alt->OnChange = [this](TObject* s) { vor_altChange(s); };
    vor_alt->OnClick = [this](TObject*) { PreviewCaretMoved(vor_alt, vor_neu, Label12); };
    vor_alt->OnKeyUp = [this](TObject*, uint16_t&, TShiftState) {
        PreviewCaretMoved(vor_alt, vor_neu, Label12);
    };
    vor_neu->OnClick = [this](TObject*) { PreviewCaretMoved(vor_neu, vor_alt, Label48); };
    vor_neu->OnKeyUp = [this](TObject*, uint16_t&, TShiftState) {
        PreviewCaretMoved(vor_neu, vor_alt, Label48);
    };
    vor_alt->OnExit = [this](TObject*) { Label12->SetCaption(PreviewSizeText(vor_alt)); };
    vor_neu->OnExit = [this](TObject*) { Label48->SetCaption(PreviewSizeText(vor_neu)); };
    vor_okay->OnClick = [this](TObject* s) { vor_okayClick(s); };
    vor_showalt->OnClick = [this](TObject* s) { vor_showaltClick(s); };
    vor_showneu->OnClick = vor_showalt->OnClick;
    AlteDateiSpeichern->OnClick = [this](TObject* s) { AlteDateiSpeichernClick(s); };
    m_datei_changes->OnClick = AlteDateiSpeichern->OnClick;
    m_datei_vorschau->OnClick = [this](TObject* s) { m_datei_vorschauClick(s); };
    m_datei_vorschauaktualisieren->OnClick = m_datei_vorschau->OnClick;
    m_einst_vorschau->OnClick = [this](TObject* s) { m_einst_vorschauClick(s); };
    m_einst_voralt_zu->OnClick = [this](TObject* s) { m_einst_voralt_zuClick(s); };
    m_einst_vorneu_zu->OnClick = m_einst_voralt_zu->OnClick;
    m_einst_vor_hg->OnClick = [this](TObject* s) { m_einst_vor_hgClick(s); };
    m_einst_vor_schrift->OnClick = [this](TObject* s) { m_einst_vor_schriftClick(s); };
    m_einst_nlkorrektur->OnClick = [this](TObject* s) { m_einst_nlkorrekturClick(s); };
    m_onthefly->OnClick = [this](TObject* s) { m_ontheflyClick(s); };
    const std::pair<TImage*, TMemo*> plus[] = {
        {plus_ers_suche, act_ers_text_suchen},  {plus_ers_ersetzen, act_ers_text_ersetzen},
        {plus_ers_zeile, act_ers_zeile_erstxt}, {plus_anfuegen, act_anfuegen_text},
        {plus_deltext, act_del_text_suchen},    {plus_delzeile, act_del_zeile_text}};
    for (auto [image, field] : plus)
        image->OnClick = [this, field](TObject*) { ShowLongTextEditor(field); };
    laspenden->OnClick = [this](TObject* s) { laspendenClick(s); };
    for (TLabel* label : {Label39, Label47, Label51, act_convert_label8})
        label->OnClick = [this](TObject* s) { Label39Click(s); };
    apanelweitere1->OnClick = [this](TObject* s) { Label42Click(s); };
    for (TLabel* label : {Label42, Label43, Label44, Label45})
        label->OnClick = apanelweitere1->OnClick;
}

// ---- Refreshing ----

void Tprog::VorschauSetzen(TObject* Sender) {
    // The text read here serves the refresh below too, and never a later one.
    struct ForgetRead {
        Tprog& p;
        ~ForgetRead() {
            p.FGelesenerText.clear();
            p.FGelesenerText.shrink_to_fit();
            p.FGelesenerPfad.clear();
        }
    } forget{*this};
    if (TListItem* row = qulist->Selected()) {
        const WideString path = RowPath(row);
        vor_orig->SetHint(path);
        ShortenPathLabel(vor_orig);
        if (vor_showfile->Checked() && IsDataFile(path)) {
            WideString text;
            try {
                LoadTextFileW(path, text);
                FGelesenerPfad = path;
            } catch (...) {
                text.clear();
            }
            ShowFileInOldPreview(text);
            Label49->SetCaption(LineBreakNameW(DetectLineBreak(text)));
            FGelesenerText = std::move(text);
        } else {
            ClearOldPreview();
        }
        Label12->SetCaption(PreviewSizeText(vor_alt));
    }
    VorschauWennAktiv(Sender);
    AlteDateiSpeichern->SetVisible(false);
}

void Tprog::VorschauVerzoegert(TObject* Sender) {
    FVorschauSender = Sender;
    VorschauTimer->SetEnabled(false);
    VorschauTimer->SetEnabled(true);
}

void Tprog::VorschauTimerTimer(TObject* Sender) {
    (void)Sender;
    VorschauWennAktiv(FVorschauSender);
    VorschauTimer->SetEnabled(false);
}

void Tprog::VorschauWennAktiv(TObject* Sender) {
    ForgetUnlistedPreviewFile();
    if (!vor_okay->Checked() || !vor_showfile->Checked()) {
        vor_neu->Clear();
        FVorschauAnfang.clear();
        return;
    }
    if (vor_alt->Lines().Count() == 0) return;
    const int remembered = vor_neu->FirstVisibleLine();
    Vorschau(Sender);
    vor_neu->ScrollLines(remembered - vor_neu->FirstVisibleLine());
}

void Tprog::VorschauWennAktiv() {
    VorschauWennAktiv(nullptr);
}

// Every change of the list ends in a refresh: a row removed by the user, the folder watch
// or the run takes the preview of its file with it. The hint goes first, so that emptying
// the old text offers nothing to save.
void Tprog::ForgetUnlistedPreviewFile() {
    const WideString path = vor_orig->Hint();
    if (path.empty() || RowOfPath(path) >= 0) return;
    for (TLabel* label : {vor_orig, vor_out}) {
        label->SetHint(WideString());
        label->SetCaption(WideString());
    }
    ClearOldPreview();
    vor_neu->Clear();
    FVorschauAnfang.clear();
    Label12->SetCaption(PreviewSizeText(vor_alt));
    Label48->SetCaption(PreviewSizeText(vor_neu));
    Label49->SetCaption(LineBreakNameW(lbUnknown));
    AlteDateiSpeichern->SetVisible(false);
}

void Tprog::ShowFileInOldPreview(WideStringView fileText) {
    FAltNulsReplaced = fileText.find(u'\0') != WideStringView::npos;
    const WideString shown =
        ReadableText(fileText, m_einst_nlkorrektur->Checked(), &FAltWidenedBreak);
    vor_alt->Lines().BeginUpdate();
    vor_alt->SetText(shown);
    vor_alt->Lines().EndUpdate();
}

void Tprog::ClearOldPreview() {
    vor_alt->Clear();
    FAltNulsReplaced = false;
    FAltWidenedBreak = lbUnknown;
}

void Tprog::Vorschau(TObject* Sender) {
    ++FVorschauZaehler;
    // One engine for the whole refresh, so "%numfa%" counts from 0 over its files as in a run.
    ConversionEngine engine(*this, *this, RunState());
    if (act_dateizus->Checked() && !act_dateizus_vorschaueinzeln->Checked())
        MergedPreview(engine, Sender);
    else
        SinglePreview(engine, Sender);
}

bool Tprog::PreviewFileText(const WideString& Path, WideString& Text) {
    if (!FGelesenerPfad.empty() && FGelesenerPfad == Path) {
        Text = std::move(FGelesenerText);
        FGelesenerPfad.clear();
        return true;
    }
    try {
        LoadTextFileW(Path, Text);
        return true;
    } catch (...) {
        return false;
    }
}

void Tprog::SinglePreview(ConversionEngine& Engine, TObject* Sender) {
    const WideString path = vor_orig->Hint();
    if (path.empty() || !IsDataFile(path)) return;
    WideString converted;
    {
        WideString text;
        if (!PreviewFileText(path, text)) return;
        converted =
            Engine.Konvertieren(text, path, RowOfPath(path) + 1, static_cast<const void*>(Sender));
    }
    ShowNewText(std::move(converted));
    VorschauPfad();
}

// Each text of a large file is let go as soon as the next one is made, so that the
// window holds no more than it needs while the memo is filled.
void Tprog::ShowNewText(WideString Converted) {
    FVorschauAnfang = Converted.substr(0, kFirstCharsForName);
    WideString shown = LesbarMachen(Converted);
    WideString().swap(Converted);
    vor_neu->SetText(shown);
    Label48->SetCaption(PreviewSizeText(vor_neu));
}

// The merged text as the run builds it: the rows in order (rows left out by "only marked
// files" and files no longer on disk skipped), each preceded by its separator, with the
// paragraph break of the first file's kind, named after the first file taken.
void Tprog::MergedPreview(ConversionEngine& Engine, TObject* Sender) {
    const void* sender = static_cast<const void*>(Sender);
    const WideString separator =
        act_dateizus_text->Checked() ? act_dateizus_textfeld->Text() : WideString();
    const bool eachFile = act_dateizus_einzeln->Checked();
    const bool paragraph = act_dateizus_absatz->Checked();
    const bool onlyMarked = out_onlyselected->Checked();
    WideString merged, lineBreak, first, last;
    TListItems& rows = qulist->Items();
    for (int i = 0; i < rows.Count(); ++i) {
        if (onlyMarked && !IsMarkedStatus(rows[i]->SubItems().Get(int(InputListColumn::Status))))
            continue;
        const WideString path = RowPath(rows[i]);
        if (!WideFileExists(path)) continue;
        WideString text;
        try {
            LoadTextFileW(path, text);
        } catch (...) {
            continue;
        }
        if (eachFile) text = Engine.Konvertieren(text, path, i + 1, sender);
        merged += KONS(separator, path, i + 1);
        merged += text;
        if (first.empty()) first = path;
        last = path;
        if (paragraph) {
            if (lineBreak.empty()) lineBreak = LineBreakTextFor(*this, merged);
            merged += lineBreak;
        }
    }
    if (!eachFile && !last.empty()) merged = Engine.Konvertieren(merged, last, 1, sender);
    if (paragraph && !lineBreak.empty() && merged.ends_with(lineBreak))
        merged.resize(merged.size() - lineBreak.size());
    ShowNewText(std::move(merged));
    const WideString outpath =
        first.empty() ? WideString() : ::NameFinden(*this, first, FVorschauAnfang, 0, 1, false);
    vor_out->SetHint(outpath);
    ShortenPathLabel(vor_out);
}

void Tprog::VorschauPfad() {
    const WideString path = vor_orig->Hint();
    if (path.empty()) return;
    const int rowCount = qulist->Items().Count();
    vor_out->SetHint(
        ::NameFinden(*this, path, FVorschauAnfang, RowOfPath(path), DigitCount(rowCount), false));
    ShortenPathLabel(vor_out);
}

// The line feeds before the caret, lone ones included: the caret's line in a file whose
// lines end in LF, also where the memo shows it as one row.
int Tprog::PreviewLineOfCaret(const TMemo* Memo) {
    return Memo->LineFeedsBefore(std::max(Memo->SelStart(), 0)) + 1;
}

void Tprog::PreviewCaretMoved(TMemo* Memo, TMemo* Other, TLabel* Label) {
    Label->SetCaption(U16(std::to_string(PreviewLineOfCaret(Memo))));
    Other->ScrollLines(Memo->FirstVisibleLine() - Other->FirstVisibleLine());
}

WideString Tprog::PreviewSizeText(const TMemo* Memo) {
    return CharacterKilobyteText(static_cast<int64_t>(Memo->GetTextLen()));
}

void Tprog::ShortenPathLabel(TLabel* Label) {
    TCanvas canvas;
    canvas.Font().Assign(Label->Font());
    auto width = [&canvas](WideStringView s) { return WideCanvasTextWidth(canvas, WideString(s)); };
    Label->SetCaption(ShortenPathW(Label->Hint(), width, Label->Width()));
}

// ---- Menu handlers ----

void Tprog::m_datei_vorschauClick(TObject* Sender) {
    const bool remembered = vor_okay->Checked();
    vor_okay->SetChecked(true);
    Vorschau(Sender);
    vor_okay->SetChecked(remembered);
}

void Tprog::m_einst_vorschauClick(TObject* Sender) {
    vor_okay->SetChecked(!vor_okay->Checked());
    m_einst_vorschau->SetChecked(vor_okay->Checked());
    Vorschau(Sender);
}

void Tprog::m_einst_voralt_zuClick(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item) return;
    item->SetChecked(!item->Checked());
    TMemo* memo = item == m_einst_voralt_zu ? vor_alt : vor_neu;
    memo->SetWordWrap(item->Checked());
    memo->SetScrollBars(item->Checked() ? ssVertical : ssBoth);
}

void Tprog::m_einst_vor_hgClick(TObject* Sender) {
    (void)Sender;
    ColorDialog1->Color = vor_alt->Color();
    if (!ColorDialog1->Execute()) return;
    vor_alt->SetColor(ColorDialog1->Color);
    vor_neu->SetColor(ColorDialog1->Color);
}

void Tprog::m_einst_vor_schriftClick(TObject* Sender) {
    (void)Sender;
    FontDialog1->SetFont(vor_alt->Font());
    if (!FontDialog1->Execute()) return;
    vor_alt->Font()->Assign(FontDialog1->Font());
    vor_neu->Font()->Assign(FontDialog1->Font());
}

void Tprog::m_einst_nlkorrekturClick(TObject* Sender) {
    m_einst_nlkorrektur->SetChecked(!m_einst_nlkorrektur->Checked());
    act_newlinewindows->SetChecked(!m_einst_nlkorrektur->Checked());
    VorschauWennAktiv(Sender);
}

void Tprog::m_ontheflyClick(TObject* Sender) {
    vor_neu->SetText(Konvertieren(vor_alt->Text(), u"-", Sender, 0));
}

// ---- Check boxes, halves and saving ----

void Tprog::vor_okayClick(TObject* Sender) {
    m_einst_vorschau->SetChecked(vor_okay->Checked());
    Vorschau(Sender);
}

void Tprog::vor_altChange(TObject* Sender) {
    if (Sender != vor_alt || vor_orig->Hint().empty()) return;
    AlteDateiSpeichern->SetVisible(true);
    AlteDateiSpeichern->BringToFront();
}

void Tprog::vor_showaltClick(TObject* Sender) {
    (void)Sender;
    Panel9->SetAlign(alNone);
    Panel10->SetAlign(alNone);
    const bool old = vor_showalt->Checked(), now = vor_showneu->Checked();
    Panel9->SetVisible(old);
    Panel10->SetVisible(now);
    if (old && now) {
        Panel9->SetAlign(alLeft);
        Panel9->SetWidth((Panel2->Width() - 16) / 2);
        Panel10->SetAlign(alClient);
        splitter_preview_old_new->SetWidth(6);
        AlteDateiSpeichern->SetLeft(vor_alt->Width() - 64);
    } else if (now) {
        Panel10->SetAlign(alClient);
        splitter_preview_old_new->SetWidth(0);
        AlteDateiSpeichern->SetVisible(false);
    } else if (old) {
        Panel9->SetAlign(alClient);
        splitter_preview_old_new->SetWidth(0);
        AlteDateiSpeichern->SetLeft(vor_showalt->Left() - 76);
    } else {
        AlteDateiSpeichern->SetVisible(false);
    }
    ShortenPathLabel(vor_orig);
    ShortenPathLabel(vor_out);
}

// The edited old text goes back to its file in the file's own encoding (a mark where the
// file has one) and with its own line breaks: the breaks that showing the file widened to
// CR LF become that break again, and nothing else changes, so that every byte the user
// did not touch stays as it was. A file whose NULs the memo shows as blanks is refused,
// since saving would lose them.
void Tprog::AlteDateiSpeichernClick(TObject* Sender) {
    (void)Sender;
    const WideString path = vor_orig->Hint();
    if (!path.empty() && WideFileExists(path)) {
        try {
            WideString own;
            TextEncodingCode encoding = teANSI;
            LoadTextFileW(path, own, &encoding);
            if (FAltNulsReplaced || own.find(u'\0') != WideString::npos) {
                const bool de = LanguageIsGerman();
                Application->MessageBox(
                    de ? u"Die Datei enthält NUL-Zeichen, die in der Vorschau als Leerzeichen "
                         u"erscheinen. Sie wird nicht gespeichert, damit sie nicht verloren "
                         u"gehen:\r\n\r\n" +
                             path
                       : u"The file contains NUL characters, which the preview shows as "
                         u"blanks. It is not saved, so that they are not lost:\r\n\r\n" +
                             path,
                    u"Quorbel", MB_OK | MB_ICONWARNING);
            } else {
                SaveTextFileW(FileBreaksOfReadable(vor_alt->Text(), FAltWidenedBreak), path,
                              encoding, true);
            }
        } catch (const std::exception& e) {
            Application->MessageBox(UTF8ToWide(e.what()), u"Quorbel", MB_OK | MB_ICONERROR);
        }
    }
    VorschauWennAktiv(this);
    AlteDateiSpeichern->SetVisible(false);
}

// ---- Long-text editors ----

void Tprog::ShowLongTextEditor(TMemo* Field) {
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
        if (auto* editor = dynamic_cast<Tzplus*>(Screen->Forms(i));
            editor && editor->Field() == Field) {
            editor->ShowForField();
            return;
        }
}

// ---- The maker's pages ----

WideString Tprog::MakerAddress(const WideString& Caption, bool StripCaption, bool AddSlash,
                               WideStringView Code) {
    WideString text = Caption;
    if (StripCaption) {
        text = ReplaceAllW(text, u"&", u"");
        if (size_t dash = text.find(u" - "); dash != WideString::npos) text.resize(dash);
    }
    // A caption naming a site ("www.example.org") gets its slash before the query.
    const size_t slash =
        text.find(u'/', text.find(u"://") == WideString::npos ? 0 : text.find(u"://") + 3);
    if (AddSlash && text.find(u'.') != WideString::npos && slash == WideString::npos) text += u"/";
    return kMakerLinkPrefix + text + u"&rf=" + WideString(Code);
}

void Tprog::laspendenClick(TObject* Sender) {
    (void)Sender;
    BrowseTo(MakerAddress(laspenden->Caption(), true, false, u"la"));
}

void Tprog::Label39Click(TObject* Sender) {
    if (auto* label = dynamic_cast<TLabel*>(Sender))
        BrowseTo(MakerAddress(label->Caption(), false, true, u"lb"));
}

void Tprog::Label42Click(TObject* Sender) {
    (void)Sender;
    BrowseTo(LanguageIsGerman() ? kSupportPageDe : kSupportPageEn);
}

void Tprog::BrowseToMenuCaption(TObject* Sender) {
    if (auto* item = dynamic_cast<TMenuItem*>(Sender))
        BrowseTo(MakerAddress(item->Caption(), true, true, u"mi"));
}
