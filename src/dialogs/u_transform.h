// The editor of user transliteration tables: a built-in or user table as a starting point,
// the pairs edited as plain text ("element|transcription" per line), pairs added one by one,
// the table turned round, and the table saved under its name in the folder
// "Transliteration" beside the program, where the transliteration action finds it at once.
// Modeless, resizable, on top of the other windows.
#pragma once

#include "platform/Forms.h"
#include "platform/StdCtrls.h"

class Ttransform : public TForm {
public:
    // ProgramFolder (with its final "/") is where the folder "Transliteration" lives.
    explicit Ttransform(TComponent* AOwner, const WideString& ProgramFolder = DefaultFolder());
    ~Ttransform() override;

    TGroupBox* GroupBox1;
    TLabel *Label1, *Label2, *Label3, *Label4; // the four lines of explanation
    TLabel* Label7;                            // link to the information page
    TComboBox* cb_auswahl;
    TMemo* liste;
    TLabel *Label5, *Label6; // "Element", "Transcription"
    TEdit *Edit1, *Edit2;
    TBitBtn *BitBtn6, *BitBtn2, *BitBtn3;

    // Sprache, then the user tables found in the folder and its subfolders.
    void FormCreate(TObject* Sender);
    // Captions in the current language; items 0 to 22 of cb_auswahl become the built-in
    // names of that language, the user tables after them stay.
    void Sprache();
    // A name chosen or typed by the user: its table text replaces liste (an empty text
    // leaves liste as it is).
    void cb_auswahlChange(TObject* Sender);
    // Appends Edit1 + "|" + Edit2 as a line, unchecked.
    void BitBtn6Click(TObject* Sender);
    // Every line of exactly two parts becomes "second|first".
    void BitBtn3Click(TObject* Sender);
    // Saves liste under the name in cb_auswahl; a new name joins cb_auswahl and the working
    // window's transliteration choice.
    void BitBtn2Click(TObject* Sender);
    // Ctrl+A selects the whole text.
    void listeKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
    void Label7Click(TObject* Sender);

    // The folder the tables are saved in: ProgramFolder + "Transliteration".
    WideString TableFolder() const;

private:
    static WideString DefaultFolder();
    WideString FProgramFolder;
};

// A table name that can be saved as a file of the table folder: not empty, not the prompt
// "Profil wählen.." or "Choose Profile..", not "." or "..", and without "/" or U+0000.
bool IsSavableTableName(WideStringView Name);

extern Ttransform* transform;
