// The progress window of long runs (a conversion, adding a folder or dropped files).
// The caller fills the labels and the bar, shows the window modeless and hides it with
// Hide() when the run ends; after each item it polls Abbrechen->Tag: 1 means the user
// asked to stop (the caller resets it to 0).
#pragma once

#include "dialogs/SmallDialog.h"
#include "platform/ComCtrls.h"

class Tsm_bearbeitung : public TSmallDialog {
public:
    explicit Tsm_bearbeitung(TComponent* AOwner);

    TLabel* Label2;
    TLabel* Label3;
    TProgressBar* Progress;
    TButton* OK; // hidden
    TButton* Abbrechen;

    void Sprache();
    // A stop request: Tag 1, however often it is pressed; the window stays open until
    // the run notices the request.
    void AbbrechenClick(TObject* Sender);
    // A close request of the window system is a stop request too: the run owns the
    // window and hides it when it has stopped.
    void FormCloseQuery(TObject* Sender, bool& CanClose);
};
