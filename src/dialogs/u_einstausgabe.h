// The output settings window: the text encoding of output files and the byte order mark,
// and for pictures the font and the background colour. The controls are the settings: the
// engine reads them by name through the working window's settings view, the configuration
// files store them under the window code "EA". Every change of the encoding is handed at
// once to the working window, which keeps the code page for the next runs and names the
// choice in its caption `act_convert_label`. Modeless, closed with OK.
#pragma once

#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "text/TextEncodings.h"

class Teinstausgabe : public TForm {
public:
    explicit Teinstausgabe(TComponent* AOwner);
    ~Teinstausgabe() override;

    TGroupBox* GroupBox1; // encodings
    TLabel* Label1;       // encoding intro
    TRadioButton *rb_beibehalten, *rb_ansi, *rb_utf7, *rb_utf7ansi, *rb_utf8, *rb_utf8bom,
        *rb_utf16le, *rb_utf_be, *rb_utf32le, *rb_utf32be;
    TLabel *Label4, *Label7; // formats page: intro and link
    TCheckBox* jazubom;
    TLabel *Label5, *Label2; // byte-order-mark page: intro and link
    TGroupBox* GroupBox2;    // pictures
    TLabel* Label6;          // picture intro
    TLabel* Label3;          // font sample: its font is the picture font
    TButton* BitBtn6;        // choose the font
    TEdit* Edit1;            // background colour "#RRGGBB"
    TButton* BitBtn1;        // choose the background colour
    TButton* Button1;        // OK
    TFontDialog* fd;
    TColorDialog* cd;

    // The encoding the checked radio button stands for (65001 for keeping the original).
    TextEncodingCode AusgabeCodepage() const { return FCodepage; }

    // Sprache, then the code page 65001.
    void FormCreate(TObject* Sender);
    // German texts for the language code "de", English for any other.
    void Sprache();
    // The radio buttons: the code page of their row, then SetInMainProgram. Keeping the
    // original is bound to rb_utf8Click.
    void rb_ansiClick(TObject* Sender);
    void rb_utf7Click(TObject* Sender);
    void rb_utf7ansiClick(TObject* Sender);
    void rb_utf8Click(TObject* Sender);
    void rb_utf8bomClick(TObject* Sender);
    void rb_utf16leClick(TObject* Sender);
    void rb_utf_beClick(TObject* Sender);
    void rb_utf32leClick(TObject* Sender);
    void rb_utf32beClick(TObject* Sender);
    void jazubomClick(TObject* Sender);
    // Hands code page, mark and the caption naming them to the working window.
    void SetInMainProgram();
    // The caption naming the checked encoding ("Unicode UTF-16 LE BOM", ...).
    WideString EncodingCaption() const;
    // The background colour typed: six hexadecimal digits (any "#" ignored) colour the edit.
    void Edit1Change(TObject* Sender);
    // The background colour chosen in the colour dialog.
    void BitBtn1Click(TObject* Sender);
    // The picture font chosen in the font dialog.
    void BitBtn6Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    // Both link labels open the page their caption names.
    void Label7Click(TObject* Sender);

private:
    void SetCodepage(TextEncodingCode Code);
    // The edit shows the colour: its own colour, and white text on dark, black on light.
    void ShowColour(TColor Colour);
    TextEncodingCode FCodepage = teUTF8;
};

extern Teinstausgabe* einstausgabe;
