// The extension filter of the renaming tool: all files, or only the extensions of a
// comma-separated list, used when the tool adds a folder. Shown modally by the tool and
// centred over it like the small dialogs; its controls are settings of the configuration
// files.
#pragma once

#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "text/WideTypes.h"

class Tdateinamenumbenenner_filter : public TForm {
public:
    explicit Tdateinamenumbenenner_filter(TComponent* AOwner);

    TLabel* Label1;
    TRadioButton* alle;    // all files (design value)
    TRadioButton* auswahl; // only the listed extensions
    TEdit* filter;         // comma-separated extensions, usable only with auswahl
    TButton* OK;

    void Sprache();
    // Both radio buttons: filter is usable only while auswahl is checked.
    void alleClick(TObject* Sender);
    void OKClick(TObject* Sender);
    // Top := owner.Top + (owner.ClientHeight - ClientHeight) / 2, Left likewise.
    void FormShow(TObject* Sender);

    // What adding a folder looks for: ".*" (every name) for all files, else "." + each
    // listed extension (blanks removed, empty items dropped, dots inside an extension
    // kept: "tar.gz" looks for ".tar.gz").
    TWideStrArray Masks() const;
};
