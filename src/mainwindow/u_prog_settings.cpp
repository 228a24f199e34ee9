// The working window as the conversion engine sees it: a read-only view of the setting
// controls (of this window and of the other windows that hold settings), and the run's
// user interface over the window's dialogs and its input list. The conversion routines
// keep their names on the window and hand the work to the engine.
#include <algorithm>

#include "dialogs/LanguageCode.h"
#include "dialogs/u_sm_achtung.h"
#include "dialogs/u_sm_bearbeitung.h"
#include "dialogs/u_sm_meldung.h"
#include "engine/BatchRun.h"
#include "engine/Constants.h"
#include "engine/InputListColumns.h"
#include "engine/ProcessLog.h"
#include "mainwindow/ProgramWindow.h"
#include "mainwindow/u_prog.h"
#include "text/UCodeSysUtils.h"

// The settings are read from the windows that hold them: this window, and the dialogs
// that register under their class name. A window that does not exist yet (a window under
// test alone) holds its design values.
TForm* Tprog::SettingsWindowOf(std::string_view WindowClass) const {
    if (WindowClass == "Tprog") return const_cast<Tprog*>(this);
    return SettingsWindow(WindowClass);
}

bool Tprog::Checked(CheckKey key) const {
    return SettingsWindowOf(key.window()) ? FSettings.Checked(key) : DesignChecked(key);
}

WideString Tprog::Text(TextKey key) const {
    return SettingsWindowOf(key.window()) ? FSettings.Text(key) : DesignText(key);
}

std::vector<ListRow> Tprog::Rows(RowsKey key) const {
    return SettingsWindowOf(key.window()) ? FSettings.Rows(key) : std::vector<ListRow>();
}

TWideStrArray Tprog::Items(ItemsKey key) const {
    return SettingsWindowOf(key.window()) ? FSettings.Items(key) : DesignItems(key);
}

size_t Tprog::RowCount(ListKey key) const {
    if (SettingsWindowOf(key.window())) return FSettings.RowCount(key);
    if (auto box = key.As<ItemsKey>()) return DesignItems(*box).size();
    return 0;
}

FontSetting Tprog::Font(FontKey key) const {
    return SettingsWindowOf(key.window()) ? FSettings.Font(key) : DesignFont(key);
}

// ---- The conversion ----

const ProgramState& Tprog::RunState() const {
    return FRunState ? *FRunState : FOwnRunState;
}

void Tprog::SetRunState(ProgramState* State) {
    if (State) {
        const ProgramState& current = RunState();
        State->AusgabeCodepage = current.AusgabeCodepage;
        State->WriteByteOrderMark = current.WriteByteOrderMark;
    }
    FRunState = State;
}

WideString Tprog::Konvertieren(const WideString& Text, WideStringView Path, const void* Sender,
                               int Number) {
    ConversionEngine engine(*this, *this, RunState());
    return engine.Konvertieren(Text, Path, Number, Sender);
}

WideString Tprog::KONS(WideStringView Text, WideStringView Path, int Number) const {
    return ::KONS(*this, Text, Path, Number);
}

WideString Tprog::NameFinden(WideStringView Path, WideStringView FirstChars, int Number,
                             int Count) const {
    return ::NameFinden(*this, Path, FirstChars, Number, Count);
}

void Tprog::durchfuehrenClick(TObject* Sender) {
    ConversionEngine engine(*this, *this, RunState());
    BatchRun run(engine);
    FLastRun = {};
    run.durchfuehrenClick(static_cast<const void*>(Sender));
    FLastRun = {run.Started(), run.FailureCount()};
}

// ---- The run's user interface ----

void Tprog::ConversionSender(const void* sender) {
    FCurrentActionControl = sender;
    FCurrentIsMemo = false;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* memo = dynamic_cast<TMemo*>(Components(i));
            memo && static_cast<const void*>(static_cast<TObject*>(memo)) == sender)
            FCurrentIsMemo = true;
}

void Tprog::RegExError(WideStringView message) {
    RegExFehlerInMemoMarkieren(WideString(message));
}

void Tprog::ReportProgramError(WideStringView path, std::string_view cause) {
    if (RunState().Silent != SilentLevel::Interactive) return;
    Application->MessageBox(WideString(path) + u"\r\n\r\n" + UTF8ToWide(cause), u"Quorbel",
                            MB_OK | MB_ICONERROR);
}

void Tprog::ShowMessage(std::string_view key, WideStringView path) {
    meldungzeigen(key, path);
}

void Tprog::ShowFilesNotFound(WideStringView firstPath, int count) {
    meldungzeigen("dateinichtgefunden", firstPath, count);
}

void Tprog::ProcessMessages() {
    Application->ProcessMessages();
}

void Tprog::SetWorkingWindowEnabled(bool enabled) {
    SetEnabled(enabled);
}

void Tprog::FocusWorkingWindow() {
    if (CanFocus()) SetFocus();
}

void Tprog::BeginListUpdate() {
    qulist->Items().BeginUpdate();
}

void Tprog::EndListUpdate() {
    qulist->Items().EndUpdate();
}

int Tprog::RowOfPath(WideStringView Path) const {
    return RowOfPathIn(qulist, Path);
}

void Tprog::SetRowState(WideStringView path, FileState state) {
    if (int row = RowOfPath(path); row >= 0) QUSelect(int(state), -1, row);
}

void Tprog::SetRowEncodingName(WideStringView path, WideStringView name) {
    const int row = RowOfPath(path);
    if (row < 0) return;
    TUCodeStringList& sub = qulist->Items()[row]->SubItems();
    while (sub.Count() <= int(InputListColumn::Codepage))
        sub.Add(u"");
    sub.Put(int(InputListColumn::Codepage), WideString(name));
}

void Tprog::RemoveRow(WideStringView path) {
    if (int row = RowOfPath(path); row >= 0) qulist->Items().Delete(row);
}

// The run's end took the rows of vanished files: the preview lets go of such a file too.
void Tprog::RowCountChanged() {
    WriteFileCount();
    ForgetUnlistedPreviewFile();
}

void Tprog::ReloadPreview() {
    VorschauSetzen(this);
}

// ---- The run dialogs: progress, overwrite question, message box answers ----
// The dialogs are windows of their own, created once by the main block; the answers live
// in the tags of their buttons (1 = pressed). Without the dialogs (a window under test)
// a run shows no progress and never writes over an existing file.

bool Tprog::MessagesSuppressed() {
    auto* box = ProgramWindow<Tsm_meldung>();
    return box && box->OKalle->Tag == 1;
}

OverwriteAnswer Tprog::AskOverwrite(WideStringView path) {
    auto* question = ProgramWindow<Tsm_achtung>();
    if (!question) return OverwriteAnswer::No;
    TButton* buttons[] = {question->Nein, question->OKalle, question->Abbrechen};
    for (TButton* b : buttons)
        b->Tag = 0;
    question->ShowFileName(WideString(path));
    question->ShowModal();
    const bool no = question->Nein->Tag == 1, all = question->OKalle->Tag == 1,
               cancel = question->Abbrechen->Tag == 1;
    for (TButton* b : buttons)
        b->Tag = 0;
    if (cancel) return OverwriteAnswer::Cancel;
    if (no) return all ? OverwriteAnswer::NoForAll : OverwriteAnswer::No;
    return all ? OverwriteAnswer::YesForAll : OverwriteAnswer::Yes;
}

void Tprog::ShowProgress(int maximum) {
    auto* progress = ProgramWindow<Tsm_bearbeitung>();
    if (!progress) return;
    const bool de = LanguageIsGerman();
    progress->Label1->SetCaption(de ? u"Dateien werden bearbeitet" : u"Processing");
    progress->Label2->SetCaption(de ? u"Aktuelle Datei:" : u"Current File:");
    progress->Label3->SetCaption(u"");
    progress->Progress->SetMax(maximum);
    progress->Progress->SetPosition(0);
    progress->Show();
}

void Tprog::ProgressFile(WideStringView text) {
    if (auto* progress = ProgramWindow<Tsm_bearbeitung>())
        progress->Label3->SetCaption(WideString(text));
}

void Tprog::ProgressPosition(int position) {
    if (auto* progress = ProgramWindow<Tsm_bearbeitung>())
        progress->Progress->SetPosition(position);
}

void Tprog::HideProgress() {
    if (auto* progress = ProgramWindow<Tsm_bearbeitung>()) progress->Hide();
}

bool Tprog::CancelRequested() {
    auto* progress = ProgramWindow<Tsm_bearbeitung>();
    return progress && progress->Abbrechen->Tag == 1;
}

void Tprog::ResetDialogAnswers() {
    if (auto* progress = ProgramWindow<Tsm_bearbeitung>()) progress->Abbrechen->Tag = 0;
    if (auto* box = ProgramWindow<Tsm_meldung>()) box->OKalle->Tag = 0;
}
