// What a conversion run needs of the window that started it: messages, the overwrite
// question, the progress window and its cancel button, the rows of the input list, message
// pumping, enabling the window and refreshing the preview. The working window implements
// it over its dialogs and controls; tests use a fake that records the calls.
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

class RunInterface {
public:
    virtual ~RunInterface() = default;

    // The sender of the conversion now starting (the window marks faulty expressions in a
    // memo when the conversion came from one).
    virtual void ConversionSender(const void* sender) = 0;

    // The keyed message box with a path (the window shows nothing at silent level 1).
    virtual void ShowMessage(std::string_view key, WideStringView path) = 0;
    // True when "OK for all" was pressed in the message box: messages are not shown again.
    virtual bool MessagesSuppressed() = 0;

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

    // The input list: bulk update mode, the status of row index (state 0 = not changed,
    // 1 = changed; the mark is kept), its encoding name, removing a row, and the file
    // count label after rows were removed.
    virtual void BeginListUpdate() = 0;
    virtual void EndListUpdate() = 0;
    virtual void SetRowState(int index, int state) = 0;
    virtual void SetRowEncodingName(int index, WideStringView name) = 0;
    virtual void RemoveRow(int index) = 0;
    virtual void RowCountChanged() = 0;

    // After a run that wrote over its sources: the file shown in the preview is loaded
    // again and the preview refreshed.
    virtual void ReloadPreview() = 0;
};
