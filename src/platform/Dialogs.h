// Common dialogs: open and save, font and colour, and message dialogs. Every
// one is answered by the modal-dialog interceptor when one is set:
// - open/save (TModalKind::OpenFile/SaveFile): Caption is the title, Text the
//   present file name, Flags the options; the answer's Answer holds the chosen
//   name, or several full paths each separated by U+0000.
// - font (TModalKind::Font): Text is the font name; Answer holds up to four
//   lines: name, size in points, style bits, colour (a decimal TColor).
// - colour (TModalKind::Color): Answer is the colour as "#RRGGBB".
// - message dialogs are forms (TModalKind::Form) with Request.Form set.
// A zero result means Cancel.
#pragma once

#include <memory>

#include "platform/Font.h"
#include "platform/Forms.h"
#include "text/UCodeClasses.h"

class QFileDialog;

// Options of the file dialogs (the bits of the class library's option set).
enum TOpenOption : unsigned {
    ofReadOnly = 1u << 0,
    ofOverwritePrompt = 1u << 1,
    ofHideReadOnly = 1u << 2,
    ofNoChangeDir = 1u << 3,
    ofShowHelp = 1u << 4,
    ofNoValidate = 1u << 5,
    ofAllowMultiSelect = 1u << 6,
    ofExtensionDifferent = 1u << 7,
    ofPathMustExist = 1u << 8,
    ofFileMustExist = 1u << 9,
    ofCreatePrompt = 1u << 10,
    ofShareAware = 1u << 11,
    ofNoReadOnlyReturn = 1u << 12,
    ofNoTestFileCreate = 1u << 13,
    ofNoNetworkButton = 1u << 14,
    ofNoLongNames = 1u << 15,
    ofOldStyleDialog = 1u << 16,
    ofNoDereferenceLinks = 1u << 17,
    ofEnableIncludeNotify = 1u << 18,
    ofEnableSizing = 1u << 19,
    ofDontAddToRecent = 1u << 20,
    ofForceShowHidden = 1u << 21,
};
using TOpenOptions = unsigned;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;

    const WideString& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const WideString& Value) { FDefaultExt = Value; }
    const WideString& FileName() const { return FFileName; }
    void SetFileName(const WideString& Value) { FFileName = Value; }
    // "text|mask|text|mask"; a mask may hold several patterns separated by ";".
    const WideString& Filter() const { return FFilter; }
    void SetFilter(const WideString& Value) { FFilter = Value; }
    // 1-based; the chosen filter is taken back.
    int FilterIndex = 1;
    // One trailing "/" is removed (the root "/" stays).
    const WideString& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const WideString& Value);
    const WideString& Title() const { return FTitle; }
    void SetTitle(const WideString& Value) { FTitle = Value; }
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
    // The chosen files as full paths (several with ofAllowMultiSelect).
    TUCodeStringList& Files() { return FFiles; }

    // Shows the dialog; true when the user chose a file.
    virtual bool Execute();

    // Asked when the user chooses files (FileName and Files hold them meanwhile):
    // setting CanClose to false keeps the dialog open.
    std::function<void(TObject* Sender, bool& CanClose)> OnCanClose;

protected:
    virtual bool IsSave() const { return false; }
    virtual bool DoCanClose();

private:
    // Takes the chosen names: FileName, Files and the extension flag.
    bool Accept(const TWideStrArray& Names);
    // Takes the names and asks DoCanClose; a refusal forgets the names again.
    bool AcceptIfCanClose(const TWideStrArray& Names);
    class Window;
    WideString FDefaultExt, FFileName, FFilter, FInitialDir, FTitle;
    TUCodeStringList FFiles;
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSave() const override { return true; }
};

class TFontDialog : public TComponent {
public:
    explicit TFontDialog(TComponent* AOwner);
    ~TFontDialog() override;
    // The font shown first and, after OK, the chosen one (with its colour).
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    bool Execute();

private:
    std::unique_ptr<TFont> FFont;
};

class TColorDialog : public TComponent {
public:
    explicit TColorDialog(TComponent* AOwner) : TComponent(AOwner) {}
    TColor Color = clBlack;
    bool Execute();
};

// The Windows file-dialog filter as Qt name filters: "text (patterns)".
QStringList QtNameFilters(WideStringView Filter);

// ---------------------------------------------------------------- message dialogs

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = unsigned; // bits 1 << TMsgDlgBtn
constexpr TMsgDlgButtons MsgDlgButton(TMsgDlgBtn B) {
    return 1u << unsigned(B);
}
constexpr TMsgDlgButtons mbYesNo = MsgDlgButton(mbYes) | MsgDlgButton(mbNo);
constexpr TMsgDlgButtons mbYesNoCancel = mbYesNo | MsgDlgButton(mbCancel);
constexpr TMsgDlgButtons mbOKCancel = MsgDlgButton(mbOK) | MsgDlgButton(mbCancel);
constexpr TMsgDlgButtons mbAbortRetryIgnore =
    MsgDlgButton(mbAbort) | MsgDlgButton(mbRetry) | MsgDlgButton(mbIgnore);

// "Warning", "Error", "Information", "Confirm"; the application title for
// mtCustom. Raises "Unexpected MsgType in GetMessageCaption." otherwise.
WideString GetMessageCaption(int MsgType);
// "&Yes", "&No", "OK", ... Raises "Unexpected MsgDlgBtn in GetButtonCaption." otherwise.
WideString GetButtonCaption(int Button);
// What Ctrl+C in a message dialog puts on the clipboard.
WideString MessageDialogText(const WideString& Caption, const WideString& Message,
                             const TWideStrArray& ButtonCaptions);

// The dialog window: an icon, the message and one button per requested button;
// Ctrl+C copies its text. The caller frees it.
TForm* WideCreateMessageDialog(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
// Shows a message dialog and returns the modal result of the button pressed.
int WideMessageDlg(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                   int HelpCtx = 0);
// The same at a screen position (-1: centred).
int WideMessageDlgPos(const WideString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                      int HelpCtx, int X, int Y);
// A custom-type message with an OK button.
void WideShowMessage(const WideString& Msg);
inline void ShowMessage(const WideString& Msg) {
    WideShowMessage(Msg);
}
inline void RepShowMessage(const WideString& Msg) {
    WideShowMessage(Msg);
}

using TUCodeOpenDialog = TOpenDialog;
using TUCodeSaveDialog = TSaveDialog;
