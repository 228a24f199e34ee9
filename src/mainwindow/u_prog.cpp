// The working window's frame: what it does when it is created, shown, activated and
// closed, the application-wide message hook that lets the mouse wheel scroll the action
// box, the header colours and drawn header buttons, and the marking of a faulty regular
// expression at its field.
#include "mainwindow/u_prog.h"

#include "desktop/OneInstanceCheck.h"
#include "desktop/ShellWatch.h"
#include "dialogs/LanguageCode.h"
#include "engine/PreviewText.h"
#include "engine/ProcessLog.h"
#include "mainwindow/template_menu.h"
#include "text/FileUtils.h"
#include "text/UCodeClasses.h"
#include "text/UCodeSysUtils.h"
#include "text/WideStrUtils.h"

TOneInstanceCheck* InstanceCheck = nullptr;
bool MouseOverActions = false;
bool WheelToActions = true;
Tprog* prog = nullptr;

namespace {

// The dark red of a faulty expression (red 127, green 28, blue 23).
constexpr TColor kRegExErrorColor = 1514623;

// A colour with each 8-bit channel moved by Delta, wrapping around.
TColor ShiftChannels(TColor Color, int Delta) {
    TColor c = ColorToRGB(Color);
    return RGB((GetRValue(c) + Delta) & 0xFF, (GetGValue(c) + Delta) & 0xFF,
               (GetBValue(c) + Delta) & 0xFF);
}

bool TakesTheWheel(const TWinControl* Active) {
    return dynamic_cast<const TComboBox*>(Active) || dynamic_cast<const TListView*>(Active) ||
           dynamic_cast<const TMemo*>(Active);
}

} // namespace

Tprog::~Tprog() {
    if (InstanceCheck && InstanceCheck->Owner() == this) FreeAndNil(InstanceCheck);
    if (WorkingWindow() == this) SetWorkingWindow(nullptr);
    if (prog == this) prog = nullptr;
    if (Application && Application->OnMessage && FMessageHookBound)
        Application->OnMessage = nullptr;
}

TColor Tprog::HeaderColor(int Amount) {
    return ShiftChannels(clBtnFace, -Amount);
}

void Tprog::BindFrameEvents() {
    for (TImage* plus : {plus_ers_suche, plus_ers_ersetzen, plus_ers_zeile, plus_anfuegen,
                         plus_deltext, plus_delzeile}) {
        plus->OnMouseEnter = [this, plus](TObject*) { DrawPlusButton(plus, true); };
        plus->OnMouseLeave = [this, plus](TObject*) { DrawPlusButton(plus, false); };
    }
    for (TImage* close : {close_input, close_vorschau, close_actions, close_output}) {
        close->OnMouseEnter = [this, close](TObject*) { DrawCloseButton(close, true); };
        close->OnMouseLeave = [this, close](TObject*) { DrawCloseButton(close, false); };
    }
}

void Tprog::FormCreate(TObject* Sender) {
    (void)Sender;
    prog = this;
    SetWorkingWindow(this);
    BindFrameEvents();
    BindLayoutEvents();
    BindDialogButtonEvents();
    BindListEvents();
    BindConfigEvents();
    BindActionEvents();
    BindMenuEvents();
    BindPreviewEvents();
    // Later work binds its handlers here: BindTextEvents.

    BindHelpEvents();
    // 1. The link submenus of the information menus.
    BuildSoftwareMenus(*this);
    // 2. Files dropped from the file manager: BindListEvents above registers the window
    //    for drops (DragAcceptFiles) and adds what arrives to the input list.
    // 3. Header colours.
    for (TPanel* header : {box_dat_top, box_vor_top, box_akt_top, box_sav_top}) {
        header->ParentBackground = false;
        header->SetColor(HeaderColor(50));
    }
    for (const ActionGroup& g : FGroups) {
        g.body->ParentBackground = false;
        g.body->SetColor(HeaderColor(5));
    }
    // 4. The folder watcher of the input folder, stopped until the user asks for it.
    ShellWatch = new TShellWatch(this);
    ShellWatch->SetMessageNo(0x401);
    ShellWatch->HardDriveOnly = false;
    ShellWatch->OnCreate = [this](TObject*, uint32_t, const WideString& p) { swCreate(p); };
    ShellWatch->OnDelete = [this](TObject*, uint32_t, const WideString& p) { swDelete(p); };
    ShellWatch->OnRenameItem = [this](TObject*, uint32_t, const WideString& from,
                                      const WideString& to) { swRenameItem(from, to); };
    ShellWatch->OnUpdateItem = [this](TObject*, uint32_t, const WideString& p) { swUpdateItem(p); };
    ShellWatch->OnAttributes = ShellWatch->OnUpdateItem;
    // 5. The start configuration's path as the hint of its menu item.
    m_konfig_start->SetHint(ProgramFolder() + u"Auto.qvr");
    // 6. The configuration files of the program folder in the menu of configurations.
    AddConfigurationFiles(ProgramFolder());
    // 7. The application message hook.
    Application->OnMessage = [this](TMsg& Msg, bool& Handled) { AppMessage(Msg, Handled); };
    FMessageHookBound = true;
    MouseOverActions = false;
    WheelToActions = true;
    // 8. The icons of the input list come from the icon theme, shared, never freed here.
    IconList->ShareImages = true;
    // 9. The switches of the preview halves look like push buttons.
    vor_showneu->SetPushLike(true);
    vor_showalt->SetPushLike(true);
    // 10. Every text and message slot in the current language.
    SetMainWindowTexts();
    // 11. The header pictures, inactive.
    for (TImage* close : {close_input, close_vorschau, close_actions, close_output})
        DrawCloseButton(close, false);
    for (TImage* plus : {plus_ers_suche, plus_ers_ersetzen, plus_ers_zeile, plus_anfuegen,
                         plus_deltext, plus_delzeile})
        DrawPlusButton(plus, false);
    // 12. The user's transliteration tables.
    AddTransliterationTables(ProgramFolder() + u"Transliteration");
    // 13. The height of the replace-text panel.
    act_ers_weitereClick(this);
    // 14. The single-instance object takes the hand-over of a second start.
    InstanceCheck = new TOneInstanceCheck(this);
    InstanceCheck->OnNewInstance = [this](TObject* s, uint32_t, TUCodeStringList& params) {
        OnNewInstance(s, params);
    };
    // 15. The two splitters from scratch.
    ResizeSplitterFilesPreview(true);
    ResizeSplitterPreviewOldNew(true);
}

void Tprog::AddTransliterationTables(const WideString& Folder) {
    if (!WideDirectoryExists(Folder)) return;
    TUCodeStringList files;
    FindFilesW(files, Folder, {u".txt"}, true);
    for (int i = 0; i < files.Count(); ++i)
        act_transkription->Items().Add(
            ReplaceAllW(WideExtractFileName(files.Get(i)), u".txt", u""));
}

void Tprog::AddConfigurationFiles(const WideString& Folder) {
    TUCodeStringList files;
    FindFilesW(files, Folder, {u".qvr"}, false);
    for (int i = 0; i < files.Count(); ++i)
        KonfigurationAddMenu(this, files.Get(i));
}

void Tprog::OnNewInstance(TObject* Sender, TUCodeStringList& Params) {
    (void)Sender;
    for (int i = 1; i < Params.Count(); ++i) {
        const WideString param = Params.Get(i);
        if (WideExtractFileExt(param) == u".qvr") {
            KonfigurationLaden(Application->MainForm(), param);
            KonfigurationAddMenu(Application->MainForm(), param);
        } else if ((WideFileGetAttr(param) & faDirectory) == 0) {
            add2list(param, qulist);
        } else {
            // A parameter whose attributes cannot be read lands here too and adds nothing.
            AddOrdner(param);
        }
    }
    VorschauWennAktiv(this);
    WriteFileCount();
}

void Tprog::act_transkriptionAdd(WideStringView name) {
    act_transkription->Items().Add(WideString(name));
}

WideString Tprog::LesbarMachen(WideStringView text) {
    return ReadableText(text, m_einst_nlkorrektur->Checked());
}

void Tprog::FormShow(TObject* Sender) {
    if (WideParamCount() > 0) {
        WriteFileCount();
        VorschauWennAktiv(Sender);
    }
    if (ClientHeight() + 50 > GetSystemMetrics(SM_CYVIRTUALSCREEN) ||
        ClientWidth() + 50 > GetSystemMetrics(SM_CXVIRTUALSCREEN))
        Tag = 0;
}

void Tprog::FormActivate(TObject* Sender) {
    (void)Sender;
    if (Tag != 0) return;
    Perform(WM_SYSCOMMAND, SC_MAXIMIZE);
    Tag = 1;
}

void Tprog::FormCloseQuery(TObject* Sender, bool& CanClose) {
    (void)Sender;
    CanClose = true;
    if (m_konfig_autosave_alles->Checked())
        AutosaveGuarded([this] { m_konfig_save_startClick(this); });
    if (m_konfig_autosave_profil->Checked())
        AutosaveGuarded([this] {
            KonfigurationSpeichernProfil(this, RunState().ProgramFolder() + u"Auto.qvr");
        });
}

// A save that fails (a program folder without write permission) must not keep the window
// open for ever: its cause is shown once and the window closes.
void Tprog::AutosaveGuarded(const std::function<void()>& Save) {
    try {
        Save();
    } catch (const std::exception& e) {
        if (FAutosaveFailureShown) return;
        FAutosaveFailureShown = true;
        Application->ShowException(e);
    }
}

void Tprog::FormClose(TObject* Sender, TCloseAction& Action) {
    (void)Sender;
    (void)Action;
    if (ShellWatch) ShellWatch->StopWatching();
    FreeAndNil(ShellWatch);
    // Closing the start window ends the program.
    if (Application && Application->MainForm() && Application->MainForm() != this)
        Application->MainForm()->Close();
}

void Tprog::FormDestroy(TObject* Sender) {
    (void)Sender;
    FreeAndNil(InstanceCheck);
}

void Tprog::AppMessage(TMsg& Msg, bool& Handled) {
    switch (Msg.message) {
    case WM_LBUTTONUP:
        WheelToActions = !TakesTheWheel(ActiveControl());
        break;
    case WM_MOUSEMOVE: {
        TPoint p = ScrollBox1->ScreenToClient(Msg.pt);
        MouseOverActions =
            p.X >= 0 && p.X <= ScrollBox1->Width() && p.Y >= 0 && p.Y <= ScrollBox1->Height();
        break;
    }
    case WM_MOUSEWHEEL: {
        TWinControl* active = ActiveControl();
        if (!MouseOverActions || !WheelToActions || TakesTheWheel(active)) break;
        if (!dynamic_cast<TScrollBox*>(active) && ScrollBox1->CanFocus()) ScrollBox1->SetFocus();
        const auto delta = int16_t(uint16_t(Msg.wParam >> 16));
        TControlScrollBar& bar = ScrollBox1->VertScrollBar();
        bar.SetPosition(bar.Position() + (delta < 0 ? 20 : -20));
        // Qt would scroll the box once more by its own step: the 20 pixels are the move.
        Handled = true;
        break;
    }
    default:
        break;
    }
}

void Tprog::RegExFehlerInMemoMarkieren(const WideString& Message) {
    if (!FCurrentIsMemo) return;
    const std::pair<TMemo*, TLabel*> fields[] = {
        {act_ers_text_suchen, act_ers_text_suchen_regfehler},
        {act_ers_text_ersetzen, act_ers_text_ersetzen_regfehler},
        {act_del_text_suchen, act_del_text_suchen_regfehler},
    };
    for (auto [memo, label] : fields) {
        if (static_cast<const void*>(memo) != FCurrentActionControl) continue;
        memo->Font()->SetColor(kRegExErrorColor);
        label->SetShowAccelChar(false); // the message may quote the pattern
        label->SetCaption(Message);
        label->SetVisible(true);
    }
}

namespace {

// The white frame of the inactive pictures.
void DrawFrame(TCanvas& c, int b) {
    c.Pen.Color = clWhite;
    c.Pen.Width = 1;
    const int lines[4][4] = {
        {1, 2, 1, b - 2}, {2, 1, b - 2, 1}, {b - 2, b - 3, b - 2, 1}, {b - 3, b - 2, 1, b - 2}};
    for (const auto& l : lines) {
        c.MoveTo(l[0], l[1]);
        c.LineTo(l[2], l[3]);
    }
}

TCanvas& ClearedCanvas(TImage* Image, int b) {
    TCanvas& c = Image->Canvas();
    c.Brush.Color = clBtnFace;
    c.Brush.Style = bsSolid;
    c.FillRect(Rect(0, 0, b, b));
    c.Pen.Width = 2;
    return c;
}

} // namespace

void Tprog::DrawCloseButton(TImage* Image, bool Active) {
    const int b = close_input->ClientWidth();
    TCanvas& c = ClearedCanvas(Image, b);
    c.Pen.Color = ShiftChannels(clBtnFace, Active ? 106 : -90);
    c.MoveTo(0, 0);
    c.LineTo(b - 1, b - 1);
    c.MoveTo(b - 1, 0);
    c.LineTo(0, b - 1);
    if (!Active) DrawFrame(c, b);
}

void Tprog::DrawPlusButton(TImage* Image, bool Active) {
    const int b = close_input->ClientWidth();
    TCanvas& c = ClearedCanvas(Image, b);
    c.Pen.Color = ShiftChannels(clBtnFace, Active ? 106 : -90);
    c.MoveTo(b / 2, 0);
    c.LineTo(b / 2, b);
    c.MoveTo(0, b / 2);
    c.LineTo(b, b / 2);
    DrawFrame(c, b);
}
