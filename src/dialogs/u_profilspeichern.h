// The save-profile window: the user ticks the action groups whose settings a profile
// holds and saves it. The profile writer of the working window reads the twelve tick
// boxes by their names (those of the action groups); they are settings that the
// configuration files store, and they also govern the profile saved when the working
// window closes.
#pragma once

#include <array>

#include "platform/Forms.h"
#include "platform/StdCtrls.h"

class Tprofilspeichern : public TForm {
public:
    explicit Tprofilspeichern(TComponent* AOwner);

    TGroupBox* GroupBox1; // settings
    TLabel* Label1;
    TCheckBox* act_ers_zeile;
    TCheckBox* act_ers_text;
    TCheckBox* act_anfuegen;
    TCheckBox* act_del_text;
    TCheckBox* act_del_zeile;
    TCheckBox* act_html;
    TCheckBox* act_zeilen;
    TCheckBox* act_sonstige;
    TCheckBox* act_dateizus;
    TCheckBox* act_konstanten;
    TCheckBox* act_dateisplit;
    TCheckBox* act_transcript;
    TCheckBox* alle; // activates or deactivates all
    TLabel* Label6;
    TLabel* Label7;   // link to the information page (its address is the hint)
    TButton* Button1; // save profile
    TButton* Button2; // cancel

    // The twelve group boxes in the order of the profile groups.
    std::array<TCheckBox*, 12> GroupBoxes() const;

    void Sprache();
    // Every group box takes alle's state. Only the user's clicks run it (the window is
    // shown then): a configuration loaded into the hidden window sets alle after the
    // twelve boxes and must not overwrite them.
    void alleClick(TObject* Sender);
    // Asks for the file (the working window's configuration save dialog), writes the
    // profile and adds it to the menu of configurations; closes in any case.
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Label7Click(TObject* Sender);
};
