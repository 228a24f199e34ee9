// The replacement-list manager: search-and-replace pairs written as lines of plain text,
// kept as named list files in the folder "Replacements" beside the program, and moved into
// or out of the working window's replace list. A tool window above the others, created once
// and shown from the working window.
#pragma once

#include "dialogs/ReplacementListText.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"

class Treplace_import : public TForm {
public:
    // ProgramFolder (with its final "/") is where the folder "Replacements" lives.
    explicit Treplace_import(TComponent* AOwner, const WideString& ProgramFolder = DefaultFolder());
    ~Treplace_import() override;

    TLabel *Label1, *Label2, *Label3; // the three lines of instruction
    TComboBox* cb;                    // the list's name; its items are the saved lists
    TButton* bt_save;
    TMemo* liste;
    TLabel* Label4; // "Delimiter:"
    TEdit* ed_delimiter;
    TCheckBox* cb_linebreak;
    TEdit* ed_linebreak;
    TRadioButton *rb_reg0, *rb_reg1, *rb_reg2, *rb_reg_individuell;
    TCheckBox* cb_auto_clear;
    TButton *bt_add_to_actionlist, *bt_replace_actionlist, *bt_from_actionlist, *bt_reverselist,
        *bt_del;

    // Sprache, then the names of the "*.txt" files of the folder and its subfolders.
    void FormCreate(TObject* Sender);
    // Texts in German for the language code "de", else English; the prompt into cb.
    void Sprache();
    // Loads the list named in cb (the delimiter goes back to "|" first; a missing file
    // changes nothing else).
    void cbChange(TObject* Sender);
    // Saves liste under the name in cb: refused with a message for the prompt and for a name
    // that is no file name; a new name joins the items of cb.
    void bt_saveClick(TObject* Sender);
    void bt_add_to_actionlistClick(TObject* Sender);
    // Empties the replace list, then adds.
    void bt_replace_actionlistClick(TObject* Sender);
    // The replace list's rows as entry lines after the trimmed text of liste.
    void bt_from_actionlistClick(TObject* Sender);
    void bt_reverselistClick(TObject* Sender);
    void bt_delClick(TObject* Sender);

    // The selected mode button (the individual mode when none is selected).
    ReplaceListMode SelectedMode() const;
    void SelectMode(ReplaceListMode Mode);
    // The folder of the list files: ProgramFolder + "Replacements/".
    WideString ListFolder() const;

private:
    static WideString DefaultFolder();
    // Adds the entries of liste to the replace list, emptied first with Replace.
    void addEntries(bool Replace);
    WideString placeholder() const;
    WideString FProgramFolder;
};

extern Treplace_import* replace_import;
