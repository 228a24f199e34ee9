// The regular-expression settings window: the process-wide defaults every new engine
// starts with (five modifiers and the three character classes). A modifier box takes effect
// the moment it changes, by the user or by code (loading a configuration sets the boxes);
// the character texts take effect only with "Assume"/"Übernehmen" or OK. A small tool
// window above the others, created once and shown from the working window.
#pragma once

#include "platform/Forms.h"
#include "platform/StdCtrls.h"

class Teinstregex : public TForm {
public:
    explicit Teinstregex(TComponent* AOwner);
    ~Teinstregex() override;

    TGroupBox* GroupBox1; // modifiers
    TLabel* Label1;       // modifier intro
    TCheckBox *cb_caseinsensitive_i, *cb_multiline_m, *cb_singleline_s, *cb_greedymode_g,
        *cb_whitespacecomments_x;
    TLabel* Label2;                                               // examples
    TLabel *Label11, *Label12, *Label13, *Label14;                // the four examples
    TLabel *Label3, *Label7;                                      // link intro and link
    TGroupBox* GroupBox2;                                         // character classes
    TLabel *Label4, *Label5, *Label6, *Label8, *Label9, *Label10; // intro, three names, link
    TEdit *zk_word, *zk_space, *zk_lineseparators;
    TButton *Button1, *Button2, *Button3;

    // Sprache, then the defaults, so that the boxes and the engine agree from the start.
    void FormCreate(TObject* Sender);
    // German texts for the language code "de", English for any other.
    void Sprache();
    // Each box writes its modifier default at once and refreshes the preview.
    void cb_caseinsensitive_iClick(TObject* Sender);
    void cb_multiline_mClick(TObject* Sender);
    void cb_singleline_sClick(TObject* Sender);
    void cb_greedymode_gClick(TObject* Sender);
    void cb_whitespacecomments_xClick(TObject* Sender);
    // OK: apply, then close.
    void Button1Click(TObject* Sender);
    // Apply: the five boxes and the three character texts into the engine's defaults, then
    // the preview. A character text in bad notation raises EConvertError; a bad zk_space
    // stops before anything is written.
    void Button2Click(TObject* Sender);
    // Defaults: the boxes to their standard states (each change writing its modifier at
    // once) and the standard character texts into the edits (in effect only with Apply).
    void Button3Click(TObject* Sender);
    // Both link labels open the page their caption names.
    void Label7Click(TObject* Sender);
};

// The character notation of the three edits: the characters before the first "$" stand for
// themselves, every "$"-separated piece after it is a hexadecimal character code (a code
// above U+FFFF gives a surrogate pair); "$$" anywhere puts one "$" right after the leading
// characters. A piece that is not hexadecimal digits only, or a code above U+10FFFF, raises
// EConvertError.
WideString StringUserToComp(WideStringView Text);

extern Teinstregex* einstregex;
