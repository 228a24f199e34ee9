// What a conversion run needs of the window that started it: messages, the overwrite
// question, the progress window and its cancel button, the rows of the input list, message
// pumping, enabling the window and refreshing the preview. The working window implements
// it over its dialogs and controls; tests use a fake that records the calls.
//
// The window's duties, beyond what each method says:
// - Silent levels: the window reads the silent level from the program state
//   (engine/RunState.h). The run itself skips the progress window and the window's
//   enabling at level 2; ShowMessage shows nothing at level 1 or 2.
// - Texts: the progress window's headings and every message come in the window's language
//   (the language code of the start window). The regular-expression error texts follow the
//   same code: the main block points RegExLanguageCode (regex/RegExErrors.h) at it before
//   the first conversion.
// - Paths in the progress window's file line and in the overwrite question are shortened
//   to the label's width (ShortenPathW, measured with the label's font); the run hands over
//   the whole text.
// - AskOverwrite answers from the overwrite dialog's buttons (their tags): yes, no, yes for
//   all, no for all, cancel. The run keeps the "for all" answers itself.
// - Regular-expression errors: ConversionSender names the object a conversion starts for
//   (a memo whose preview is computed, the working window for a run); RegExError then
//   reports every faulty expression of that conversion, and the window marks the memo in
//   red with the message when the sender was a memo, and ignores it otherwise. This is the
//   only wire between the engine and the memo marking.
// - Rows are addressed by their path (the input list's key, InputListColumn::Path): a run
//   pumps messages, and a folder watch, a drop or the user may add, remove or reorder rows
//   meanwhile. A path that is no longer in the list is ignored.
// - A programming error met during a run (engine/RunFailure.h) is reported with its cause
//   through ReportProgramError when the program state asks for reports instead of raising.
#pragma once

#include <string_view>

#include "text/WideTypes.h"

// The buttons of the question asked before an existing file is overwritten.
enum class OverwriteAnswer {
    Yes,       // write this file
    No,        // skip this file
    YesForAll, // write this and every later existing file without asking
    NoForAll,  // skip this and every later existing file without asking
    Cancel,    // write nothing more and end the run
};

// The status a run gives a row of the input list (the window writes it with its words,
// "Changed" / "Not Changed", keeping the row's mark).
enum class FileState {
    NotChanged = 0,
    Changed = 1,
};

class RunInterface {
public:
    virtual ~RunInterface() = default;

    // The sender of the conversion now starting (see the duties above).
    virtual void ConversionSender(const void* sender) = 0;
    // A faulty regular expression met by the conversion now running: the error text.
    virtual void RegExError(WideStringView message) = 0;

    // The keyed message box with a path (the window shows nothing at a silent level).
    virtual void ShowMessage(std::string_view key, WideStringView path) = 0;
    // After a run that skipped listed files no longer on disk: one keyed message naming
    // the first of them and how many there were (nothing at a silent level).
    virtual void ShowFilesNotFound(WideStringView firstPath, int count) = 0;
    // True when "OK for all" was pressed in the message box: messages are not shown again.
    virtual bool MessagesSuppressed() = 0;
    // A fault of the program met while converting or saving path: shown with its cause
    // (unless silent). The run goes on.
    virtual void ReportProgramError(WideStringView path, std::string_view cause) = 0;

    // Asks modally whether the existing file at path may be overwritten.
    virtual OverwriteAnswer AskOverwrite(WideStringView path) = 0;

    // The progress window: shown with the bar's maximum and position 0, its headings in
    // the window's language; the current file line; the bar's position; hidden.
    virtual void ShowProgress(int maximum) = 0;
    virtual void ProgressFile(WideStringView text) = 0;
    virtual void ProgressPosition(int position) = 0;
    virtual void HideProgress() = 0;
    // True when the progress window's cancel button was pressed since the last reset.
    virtual bool CancelRequested() = 0;
    // Clears the answers kept by the dialogs: the progress window's cancel request and the
    // message box's "OK for all".
    virtual void ResetDialogAnswers() = 0;

    // Lets pending window messages run.
    virtual void ProcessMessages() = 0;
    virtual void SetWorkingWindowEnabled(bool enabled) = 0;
    virtual void FocusWorkingWindow() = 0;

    // The input list, rows by path: bulk update mode, the status of the row (the mark is
    // kept), its encoding name, removing the row, and the file count label after rows
    // were removed.
    virtual void BeginListUpdate() = 0;
    virtual void EndListUpdate() = 0;
    virtual void SetRowState(WideStringView path, FileState state) = 0;
    virtual void SetRowEncodingName(WideStringView path, WideStringView name) = 0;
    virtual void RemoveRow(WideStringView path) = 0;
    virtual void RowCountChanged() = 0;

    // After a run that wrote over its sources: the file shown in the preview is loaded
    // again and the preview refreshed.
    virtual void ReloadPreview() = 0;
};

// Long loops over files (a run, a folder add, a drop) let pending window messages run
// before each of the first 25 files and then before every file whose zero-based index is a
// multiple of 39: the window stays alive at little cost.
inline bool PumpsMessagesBefore(int index) {
    return index < 25 || index % 39 == 0;
}
