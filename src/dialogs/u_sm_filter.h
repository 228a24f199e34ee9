// The file-type filter applied when a whole folder is added to the input list: all
// files, or only the extensions of the ticked groups, and whether files are checked
// for being text before they are added. Each group is a check box "cb_..." and its
// edit "ed_..." (comma-separated extensions); the names carry the pairing. All
// controls are settings that the configuration files store.
#pragma once

#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "text/WideTypes.h"

class Tsm_filter : public TForm {
public:
    explicit Tsm_filter(TComponent* AOwner);

    TRadioButton* alle;    // all found files
    TRadioButton* auswahl; // only the ticked groups
    TCheckBox* cb_txt_allg;
    TEdit* ed_txt_allg;
    TCheckBox* cb_txt_web;
    TEdit* ed_txt_web;
    TCheckBox* cb_txt_prog;
    TEdit* ed_txt_prog;
    TCheckBox* cb_txt_sys;
    TEdit* ed_txt_sys;
    TCheckBox* cb_txt_sons;
    TEdit* ed_txt_sons;
    TCheckBox* cb_txt_benutzer;
    TEdit* ed_txt_benutzer;
    TCheckBox* cb_asciicheck;
    TButton* Button1; // OK

    void Sprache();
    // Both radio buttons: the groups are usable only for a selection of formats, and
    // then each edit only while its box is ticked; cb_asciicheck is always usable.
    void alleClick(TObject* Sender);
    // A group box: its "ed_" twin follows its tick.
    void cb_allgemeinClick(TObject* Sender);
    void Button1Click(TObject* Sender);

    // What adding a folder looks for: ".*" for all files, else the masks of the ticked
    // groups in the order general, programming, system, other, web, user defined
    // (".txt", ".htm", ...; see ExtensionMasks).
    TWideStrArray Masks() const;
    // Files are added only when they read as text (cb_asciicheck).
    bool CheckForText() const { return cb_asciicheck->Checked(); }
};

// What becomes of the dots inside a listed extension: the type filter removes them all,
// the renaming tool keeps them ("tar.gz" looks for ".tar.gz").
enum class ExtensionDots { Removed, Kept };

// The masks of comma-separated extension lists: blanks (and with ExtensionDots::Removed
// dots) removed, split at commas, empty entries dropped, each with a leading "."
// (" txt , log" and ",,bak" give ".txt", ".log", ".bak"). A kept leading dot stands for
// the mask's own (".txt" gives ".txt").
TWideStrArray ExtensionMasks(const TWideStrArray& Groups,
                             ExtensionDots Dots = ExtensionDots::Removed);
