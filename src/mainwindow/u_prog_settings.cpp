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
#include "engine/ProcessLog.h"
#include "mainwindow/u_prog.h"
#include "text/UCodeSysUtils.h"

namespace {

// The program's window of a class: windows are named after their class without its "T"
// ("prog" for Tprog), so a setting's window is found among the forms of the screen.
TForm* FindWindowOfClass(std::string_view ClassName) {
    if (!Screen) return nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* f = Screen->Forms(i);
        if (u"T" + f->Name() == UTF8ToWide(ClassName)) return f;
    }
    return nullptr;
}

bool KindMatches(const TComponent* c, ControlKind kind) {
    switch (kind) {
    case ControlKind::CheckBox:
        return dynamic_cast<const TCheckBox*>(c);
    case ControlKind::RadioButton:
        return dynamic_cast<const TRadioButton*>(c);
    case ControlKind::Edit:
        return dynamic_cast<const TEdit*>(c);
    case ControlKind::Memo:
        return dynamic_cast<const TMemo*>(c);
    case ControlKind::ComboBox:
        return dynamic_cast<const TComboBox*>(c);
    case ControlKind::ListView:
        return dynamic_cast<const TListView*>(c);
    case ControlKind::ListBox:
        return dynamic_cast<const TListBox*>(c);
    }
    return false;
}

} // namespace

const SettingControl& Tprog::Setting(std::string_view name,
                                     std::initializer_list<ControlKind> kinds) const {
    const SettingControl* setting = FindSettingControl(name);
    if (!setting) throw UnknownSetting("Unknown setting control \"" + std::string(name) + "\"");
    if (std::find(kinds.begin(), kinds.end(), setting->kind) == kinds.end())
        throw UnknownSetting("Setting control \"" + std::string(name) +
                             "\" is read as another kind");
    return *setting;
}

TComponent* Tprog::SettingComponent(const SettingControl& setting) const {
    auto cached = FSettingCache.find(setting.name);
    if (cached != FSettingCache.end()) return cached->second;
    TForm* window = FindWindowOfClass(setting.window);
    if (!window) return nullptr;
    TComponent* c = window->FindComponent(UTF8ToWide(setting.name));
    if (!c || !KindMatches(c, setting.kind))
        throw UnknownSetting(std::string("The setting control \"") + setting.name + "\" of " +
                             setting.window + " is missing or of another kind");
    c->FreeNotification(const_cast<Tprog*>(this));
    FSettingCache.emplace(setting.name, c);
    return c;
}

void Tprog::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove) return;
    std::erase_if(FSettingCache, [AComponent](const auto& e) { return e.second == AComponent; });
}

// A window that does not exist (yet) holds its design values.
bool Tprog::Checked(std::string_view name) const {
    const SettingControl& s = Setting(name, {ControlKind::CheckBox, ControlKind::RadioButton});
    TComponent* c = SettingComponent(s);
    if (!c) return std::string_view(s.design) == "1";
    if (auto* radio = dynamic_cast<TRadioButton*>(c)) return radio->Checked();
    return static_cast<TCheckBox*>(c)->Checked();
}

WideString Tprog::Text(std::string_view name) const {
    const SettingControl& s =
        Setting(name, {ControlKind::Edit, ControlKind::Memo, ControlKind::ComboBox});
    TComponent* c = SettingComponent(s);
    return c ? static_cast<TControl*>(c)->Text() : UTF8ToWide(s.design);
}

std::vector<ListRow> Tprog::Rows(std::string_view name) const {
    auto* list = static_cast<TListView*>(SettingComponent(Setting(name, {ControlKind::ListView})));
    std::vector<ListRow> rows;
    if (!list) return rows;
    TListItems& items = list->Items();
    rows.reserve(size_t(items.Count()));
    for (int i = 0; i < items.Count(); ++i) {
        const TListItem* item = items[i];
        ListRow row{item->Caption(), {}};
        for (int k = 0; k < item->SubItems().Count(); ++k)
            row.subItems.push_back(item->SubItems().Get(k));
        rows.push_back(std::move(row));
    }
    return rows;
}

TWideStrArray Tprog::Items(std::string_view name) const {
    const SettingControl& s = Setting(name, {ControlKind::ListBox});
    auto* box = static_cast<TListBox*>(SettingComponent(s));
    TWideStrArray items;
    if (!box) {
        for (std::string_view rest = s.design; !rest.empty();) {
            const size_t lf = rest.find('\n');
            items.push_back(UTF8ToWide(rest.substr(0, lf)));
            rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
        }
        return items;
    }
    for (int i = 0; i < box->Items().Count(); ++i)
        items.push_back(box->Items().Get(i));
    return items;
}

size_t Tprog::RowCount(std::string_view name) const {
    const SettingControl& s = Setting(name, {ControlKind::ListView, ControlKind::ListBox});
    if (s.kind == ControlKind::ListBox) return Items(name).size();
    auto* list = static_cast<TListView*>(SettingComponent(s));
    return list ? size_t(list->Items().Count()) : 0;
}

// ---- The conversion ----

RunOptions Tprog::CurrentRunOptions() const {
    // The run-wide state (silent level, processing log) is owned by the main block.
    return RunOptions{0, false, ProgramFolder()};
}

WideString Tprog::Konvertieren(const WideString& Text, WideStringView Path, const void* Sender,
                               int Number) {
    ConversionEngine engine(*this, *this, CurrentRunOptions());
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
    ConversionEngine engine(*this, *this, CurrentRunOptions());
    BatchRun run(engine, OutputCodePage());
    run.durchfuehrenClick(static_cast<const void*>(Sender));
}

TextEncodingCode Tprog::OutputCodePage() const {
    // The output settings window sets the chosen encoding; UTF-8 until it exists.
    return teUTF8;
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

void Tprog::ShowMessage(std::string_view key, WideStringView path) {
    meldungzeigen(key, path);
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

void Tprog::SetRowState(int index, int state) {
    QUSelect(state, -1, index);
}

void Tprog::SetRowEncodingName(int index, WideStringView name) {
    if (index < 0 || index >= qulist->Items().Count()) return;
    TUCodeStringList& sub = qulist->Items()[index]->SubItems();
    while (sub.Count() < 3)
        sub.Add(u"");
    sub.Put(2, WideString(name));
}

void Tprog::RemoveRow(int index) {
    if (index >= 0 && index < qulist->Items().Count()) qulist->Items().Delete(index);
}

void Tprog::RowCountChanged() {
    WriteFileCount();
}

void Tprog::ReloadPreview() {
    VorschauSetzen(this);
}

// ---- The run dialogs: progress, overwrite question, message box answers ----
// The dialogs are windows of their own, created once by the main block; the answers live
// in the tags of their buttons (1 = pressed). Without the dialogs (a window under test)
// a run shows no progress and never writes over an existing file.

namespace {

template <class T> T* ProgramWindow() {
    if (!Screen) return nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* w = dynamic_cast<T*>(Screen->Forms(i))) return w;
    return nullptr;
}

} // namespace

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
