// The question the conversion run asks before it overwrites an existing file. The
// answer comes back through the buttons' tags (1 = pressed), which the run reads and
// resets: Nein.Tag skips the file, OKalle.Tag stops asking for the rest of the run,
// Abbrechen.Tag stops the run; "Yes" sets no tag. The window can be left only through
// its buttons: a close request of the window system or Escape is no answer, so
// nothing changes and the question stays.
#pragma once

#include "dialogs/SmallDialog.h"

class Tsm_achtung : public TSmallDialog {
public:
    explicit Tsm_achtung(TComponent* AOwner);

    TLabel* Label2;
    TLabel* Label3; // the existing file, set through ShowFileName
    TLabel* Label4;
    TLabel* Label5;
    TButton* OK;
    TButton* Nein;
    TButton* OKalle;
    TButton* NeinAlle;
    TButton* Abbrechen;

    void Sprache();
    // Puts the path into Label3, its folders shortened from the left to fit the label.
    void ShowFileName(const WideString& Path);

    void OKClick(TObject* Sender);
    void NeinClick(TObject* Sender);
    void OKalleClick(TObject* Sender);
    void NeinAlleClick(TObject* Sender);
    void AbbrechenClick(TObject* Sender);

private:
    void Answer(TModalResult Result);
    bool FAnswered = false;
};
