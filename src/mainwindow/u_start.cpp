#include "mainwindow/u_start.h"

#include "desktop/VistaAltFix.h"
#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"
#include "mainwindow/StartPictures.h"
#include "mainwindow/u_prog.h"
#include "platform/ToolkitLanguage.h"
#include "text/FileUtils.h"
#include "text/UCodeSysUtils.h"

int StartTickCount = 0;
Tstart* start = nullptr;

namespace {

// The run state of the program (the working window holds the main block's).
SilentLevel CurrentSilentLevel() {
    return prog ? prog->RunState().Silent : SilentLevel::Interactive;
}

bool CurrentProcessAndClose() {
    return prog && prog->RunState().ProcessAndClose;
}

// The update notice window (found by its name, "dialog_upgrade"); none in tests that
// create only some windows.
TForm* UpdateNoticeWindow() {
    if (!Screen) return nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->Name() == u"dialog_upgrade") return Screen->Forms(i);
    return nullptr;
}

TImage* MakeStartPicture(Tstart* Form, const char16_t* Name, bool German) {
    auto* image =
        MakeControl<TImage>(Form, Form, Name, 0, 0, StartPictureWidth, StartPictureHeight);
    image->Picture().Assign(DrawStartPicture(German));
    image->SetCursor(crHandPoint);
    image->SetVisible(false);
    image->OnClick = [Form](TObject* Sender) { Form->Image1Click(Sender); };
    return image;
}

} // namespace

Tstart::Tstart(TComponent* AOwner) : TForm(AOwner) {
    SetName(u"start");
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    Position = poScreenCenter;
    SetClientWidth(StartPictureWidth);
    SetClientHeight(StartPictureHeight);
    Timer1 = new TTimer(this);
    Timer1->SetName(u"Timer1");
    Timer1->SetInterval(TickInterval);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };
    spr = MakeControl<TLabel>(this, this, u"spr", 0, 0, 20, 13);
    spr->SetCaption(u"de");
    spr->SetVisible(false);
    en1 = MakeStartPicture(this, u"en1", false);
    Image1 = MakeStartPicture(this, u"Image1", true);
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    start = this;
}

Tstart::~Tstart() {
    if (start == this) start = nullptr;
}

void Tstart::FormCreate(TObject*) {
    FVistaAltFix = new TVistaAltFix(this);
    // The marker files of the current folder choose the language; with both, German.
    if (WideFileExists(u"en")) LanguageCode = u"en";
    if (WideFileExists(u"de")) LanguageCode = u"de";
    sprache();
    StartTickCount = 0;
    for (int i = 1; i <= WideParamCount(); ++i)
        if (WideParamStr(i) == u"silentmode=1" || WideParamStr(i) == u"silentmode=2")
            Application->ShowMainForm = false;
}

void Tstart::FormShow(TObject*) {
    // Windows hides the application's hidden owner window here; Qt has none.
}

void Tstart::sprache() {
    if (LanguageCode != u"de" && LanguageCode != u"en") return;
    const bool german = LanguageCode == u"de";
    spr->SetCaption(LanguageCode);
    // Switched at run time, the other picture goes, so the one of the language shows.
    Image1->SetVisible(german);
    en1->SetVisible(!german);
    Application->SetTitle(ApplicationTitle);
    SetToolkitLanguage(LanguageCode);
}

void Tstart::Timer1Timer(TObject*) {
    if (CurrentProcessAndClose()) Close();
    if (CurrentSilentLevel() != SilentLevel::Interactive) {
        GoOn();
        Timer1->SetEnabled(false);
    }
    ++StartTickCount;
    if (StartTickCount == TickShowWorkingWindow) GoOn();
    if (StartTickCount == TickHide) Hide();
    if (StartTickCount == TickStop) Timer1->SetEnabled(false);
}

void Tstart::GoOn() {
    if (CurrentSilentLevel() != SilentLevel::Interactive) return;
    if (prog) prog->Show();
    if (TForm* notice = UpdateNoticeWindow(); notice && notice->Tag == 0) notice->Show();
}

void Tstart::Image1Click(TObject*) {
    GoOn();
    Hide();
    Timer1->SetEnabled(false);
}
