// The update notice `Tdialog_upgrade`: says that a newer version of the program exists,
// that this one is no longer developed and lacks functions of the current one, and where
// the current one can be had. Its texts are set once, at creation, in the language then
// current. The start window shows it while its Tag is 0; closing it in any way sets the
// Tag to 1, so it is shown until the user has closed it once.
#pragma once

#include "dialogs/SmallDialog.h"

class Tdialog_upgrade : public TSmallDialog {
public:
    explicit Tdialog_upgrade(TComponent* AOwner);

    TLabel* Label2; // a newer version exists
    TLabel* Label3; // this one is no longer developed
    TLabel* Label4; // it lacks functions of the current one
    TLabel* Label5; // where the current version is
    TLabel* Label6; // link to that page
    TButton* OK;

    void FormCreate(TObject* Sender);
    // Hides the start window and closes the notice.
    void OKClick(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
};
