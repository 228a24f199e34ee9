#include "dialogs/u_changecoding.h"

#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/WorkingWindowLink.h"
#include "engine/InputListColumns.h"
#include "platform/Dialogs.h"
#include "platform/ListViews.h"
#include "platform/ShellServices.h"
#include "text/CodePages.h"
#include "text/FileUtils.h"
#include "text/TextFiles.h"
#include "text/UCodeSysUtils.h"

Tchangecoding* changecoding = nullptr;

const std::array<TChangeCodingItem, 9>& ChangeCodingItems() {
    static const std::array<TChangeCodingItem, 9> items = {{
        {u"ANSI Text", teANSI},
        {u"Unicode UTF-7", teUTF7},
        {u"Unicode UTF-7 ANSI", teUTF7Ansi},
        {u"Unicode UTF-8", teUTF8},
        {u"Unicode UTF-8 BOM", teUTF8BOM},
        {u"Unicode UTF-16 Little Endian", teUTF16LE},
        {u"Unicode UTF-16 Big Endian", teUTF16BE},
        {u"Unicode UTF-32 Little Endian", teUTF32LE},
        {u"Unicode UTF-32 Big Endian", teUTF32BE},
    }};
    return items;
}

namespace {

WideString Decimal(int64_t Value) {
    return U16(std::to_string(Value));
}

// The most bytes the byte order mark of a file read in Code can take: a longer file whose
// text came back empty was not read whole.
int64_t MarkBytes(TextEncodingCode Code) {
    switch (Code) {
    case teUTF8BOM:
        return 3;
    case teUTF16LE:
    case teUTF16BE:
        return 2;
    case teUTF32LE:
    case teUTF32BE:
        return 4;
    case teUTF7:
        return 5; // "+/v8-"
    default:
        return 1; // a file of one byte reads as ANSI text
    }
}

// True when Text comes back unchanged from the encoding: every Unicode form holds any text,
// the ANSI code page only its own characters.
bool SurvivesEncoding(const WideString& Text, TextEncodingCode Code) {
    if (Code != teANSI) return true;
    const uint32_t page = ProcessAnsiCodePage();
    return CodePageToWide(WideToCodePage(Text, page), page) == Text;
}

} // namespace

Tchangecoding::Tchangecoding(TComponent* AOwner) : TForm(AOwner) {
    changecoding = this;
    SetName(u"changecoding");
    SetBorderStyle(bsToolWindow);
    SetFormStyle(fsStayOnTop);
    Position = poOwnerFormCenter;
    Font()->SetName(u"Tahoma");
    Font()->SetSize(8);
    SetClientWidth(440);
    SetClientHeight(330);
    GroupBox1 = MakeControl<TGroupBox>(this, this, u"GroupBox1", 8, 8, 424, 100);
    Label2 = MakeControl<TLabel>(this, GroupBox1, u"Label2", 12, 20, 400, 13);
    Label3 = MakeControl<TLabel>(this, GroupBox1, u"Label3", 12, 36, 400, 13);
    Label4 = MakeControl<TLabel>(this, GroupBox1, u"Label4", 12, 52, 400, 13);
    Label7 = MakeControl<TLabel>(this, GroupBox1, u"Label7", 12, 74, 400, 15);
    Label7->Font()->SetColor(clBlue);
    Label7->Font()->SetStyle(fsUnderline);
    Label7->SetCursor(crHandPoint);
    GroupBox2 = MakeControl<TGroupBox>(this, this, u"GroupBox2", 8, 116, 424, 76);
    cb = MakeControl<TComboBox>(this, GroupBox2, u"cb", 12, 20, 400, 21);
    for (const TChangeCodingItem& item : ChangeCodingItems())
        cb->Items().Add(item.Item);
    cb->SetItemIndex(0);
    cb->OnKeyPress = [](TObject*, WideChar& Key) { Key = 0; };
    jazubom = MakeControl<TCheckBox>(this, GroupBox2, u"jazubom", 12, 50, 400, 17);
    jazubom->SetChecked(true);
    GroupBox3 = MakeControl<TGroupBox>(this, this, u"GroupBox3", 8, 200, 424, 80);
    pbar = MakeControl<TProgressBar>(this, GroupBox3, u"pbar", 12, 22, 400, 17);
    Label1 = MakeControl<TLabel>(this, GroupBox3, u"Label1", 12, 50, 400, 13);
    Label1->SetCaption(u"0/0");
    Button2 = MakeControl<TButton>(this, this, u"Button2", 184, 292, 140, 27);
    Button1 = MakeControl<TButton>(this, this, u"Button1", 332, 292, 100, 27);
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Label7->OnClick = [this](TObject* s) { Label7Click(s); };
    Sprache();
}

Tchangecoding::~Tchangecoding() {
    if (changecoding == this) changecoding = nullptr;
}

void Tchangecoding::Sprache() {
    const bool de = LanguageIsGerman();
    auto t = [de](const char16_t* German, const char16_t* English) {
        return WideString(de ? German : English);
    };
    SetCaption(t(u"Kodierung von Textdateien ändern", u"Change Encoding of Text Files"));
    GroupBox1->SetCaption(t(u"Informationen", u"Information"));
    Label2->SetCaption(t(u"Verwenden Sie diese Funktion, wenn Sie nur die Kodierung von Dateien",
                         u"Use this function if you only want to change the encoding of your"));
    Label3->SetCaption(t(u"ändern möchten. Bearbeitet werden die Dateien, die im Hauptfenster",
                         u"files. The files listed in the main window will be processed."));
    Label4->SetCaption(t(u"in der Liste stehen. Mehr Informationen zu Kodierungen finden Sie auf:",
                         u"More information about file formats, you can get on the page:"));
    // The page on encodings in the language shown, as the output settings link it.
    Label7->SetCaption(t(u"https://de.wikipedia.org/wiki/Zeichenkodierung",
                         u"https://en.wikipedia.org/wiki/Character_encoding"));
    GroupBox2->SetCaption(t(u"Kodierung wählen", u"Select Encoding"));
    jazubom->SetCaption(t(u"Byte Order Mark (BOM) in die Dateien schreiben",
                          u"Write Byte Order Mark (BOM) in the Files"));
    GroupBox3->SetCaption(t(u"Fortschritt", u"Progress"));
    Button1->SetCaption(t(u"Abbrechen", u"Cancel"));
    Button2->SetCaption(t(u"Kodierung ändern", u"Change Encoding"));
}

void Tchangecoding::Label7Click(TObject*) {
    BrowseTo(Label7->Caption());
}

void Tchangecoding::Button1Click(TObject*) {
    // A running change stops after its current file and closes the window then.
    if (FRunning)
        FStop = true;
    else
        Close();
}

bool Tchangecoding::ChangeFile(const WideString& Path, TextEncodingCode Code, bool Bom) {
    WideString text;
    TextEncodingCode detected = teANSI;
    try {
        LoadTextFileW(Path, text, &detected);
        if (text.empty() && GetFileSizeW(Path) > MarkBytes(detected)) return false;
        if (!SurvivesEncoding(text, Code)) return false;
        // The writer replaces the file whole or leaves it as it was.
        return SaveTextFileW(text, Path, Code, Bom);
    } catch (const std::exception&) {
        return false;
    }
}

void Tchangecoding::Pump(int Index, int Count) {
    const int step = pbar->Max() / 10;
    if (!(Index < 25 || (step > 0 && Index % step == 0))) return;
    pbar->SetPosition(Index);
    Label1->SetCaption(Decimal(Index) + u"/" + Decimal(Count));
    if (Application) Application->ProcessMessages();
}

void Tchangecoding::Button2Click(TObject*) {
    if (FRunning) return;
    Label1->SetCaption(u"0/0");
    WorkingWindowLink* working = WorkingWindow();
    if (!working || working->InputList()->Items().Count() == 0) return;
    const WideString choice = cb->Text();
    const TChangeCodingItem* item = nullptr;
    for (const TChangeCodingItem& i : ChangeCodingItems())
        if (choice == i.Item) item = &i;
    if (!item) return;
    const bool bom = jazubom->Checked();
    TListItems& rows = working->InputList()->Items();
    pbar->SetMax(rows.Count() - 1);

    int failed = 0;
    WideString firstFailed;
    {
        // Start and the working window wait while the loop lets messages through; both come
        // back, and the list update ends, however the loop ends.
        auto* workingForm = dynamic_cast<TForm*>(working);
        struct Guard {
            Tchangecoding* window;
            TForm* workingForm;
            TListItems& rows;
            ~Guard() {
                rows.EndUpdate();
                window->FRunning = false;
                window->Button2->SetEnabled(true);
                if (workingForm) workingForm->SetEnabled(true);
            }
        } guard{this, workingForm, rows};
        FRunning = true;
        FStop = false;
        Button2->SetEnabled(false);
        if (workingForm) workingForm->SetEnabled(false);
        rows.BeginUpdate();
        // The row count is read at every step: rows may go while messages are let through.
        for (int i = 0; i < rows.Count() && !FStop; ++i) {
            TListItem* row = rows[i];
            const int columns = row->SubItems().Count();
            const WideString path = columns > int(InputListColumn::Path)
                                        ? row->SubItems().Get(InputListColumn::Path)
                                        : WideString();
            if (WideFileExists(path)) {
                if (ChangeFile(path, item->Code, bom)) {
                    // The new size shows at once; the encoding column names the choice
                    // (the text alone may not tell a mark-less UTF-8 from ANSI).
                    working->UpdateListItem(i);
                    if (columns > int(InputListColumn::Codepage))
                        row->SubItems().Put(InputListColumn::Codepage,
                                            TextEncodingName(item->Code));
                } else if (failed++ == 0) {
                    firstFailed = path;
                }
            }
            Pump(i, rows.Count());
        }
    }
    const bool stopped = FStop;
    Label1->SetCaption(LanguageIsGerman() ? u"Bearbeitung abgeschlossen" : u"Finished");
    if (failed > 0) {
        const bool de = LanguageIsGerman();
        WideShowMessage(de ? Decimal(failed) +
                                 u" Datei(en) wurden nicht geändert, weil ihr Text nicht "
                                 u"vollständig gelesen werden konnte oder in der gewählten "
                                 u"Kodierung nicht darstellbar ist. Erste Datei:\n" +
                                 firstFailed
                           : Decimal(failed) +
                                 u" file(s) were left unchanged because their text could not "
                                 u"be read completely or cannot be written in the chosen "
                                 u"encoding. First file:\n" +
                                 firstFailed);
    }
    if (stopped) Close();
}
