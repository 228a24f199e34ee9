// The message window behind the working window's keyed message box: the caller puts
// the title into Label1, the texts into Label2 to Label4 (or the larger block into st,
// which it shows) and shows the window modally. OKalle.Tag 1 means "do not show this
// kind of message again"; the caller resets it before a series.
#pragma once

#include "dialogs/SmallDialog.h"

class Tsm_meldung : public TSmallDialog {
public:
    explicit Tsm_meldung(TComponent* AOwner);

    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label4;
    TStaticText* st; // hidden until a caller needs it
    TButton* OK;
    TButton* OKalle;

    void Sprache();
    void OKClick(TObject* Sender);
    void OKalleClick(TObject* Sender);
};
