// The change of encoding: rewrites every file of the working window's input list in another
// text encoding and nothing else, with or without a byte order mark. A file is written only
// when its text was read whole and survives the chosen encoding; the others stay as they are
// and are told after the run.
#pragma once

#include "platform/ComCtrls.h"
#include "platform/ComboBoxes.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "text/TextEncodings.h"

class Tchangecoding : public TForm {
public:
    explicit Tchangecoding(TComponent* AOwner);
    ~Tchangecoding() override;

    TGroupBox* GroupBox1; // information
    TLabel *Label2, *Label3, *Label4;
    TLabel* Label7;       // the information page on file formats
    TGroupBox* GroupBox2; // the encoding
    TComboBox* cb;
    TCheckBox* jazubom;
    TGroupBox* GroupBox3; // progress
    TProgressBar* pbar;
    TLabel* Label1;   // "i/count", then the end text
    TButton* Button2; // start
    TButton* Button1; // close; stops a running change after the current file

    void Sprache();
    void Button2Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Label7Click(TObject* Sender);
    bool Running() const { return FRunning; }

private:
    // Rewrites one file; false when it was left as it was because it could not be read,
    // came back empty or would not survive the encoding (or could not be written).
    bool ChangeFile(const WideString& Path, TextEncodingCode Code, bool Bom);
    void Pump(int Index, int Count);
    bool FRunning = false;
    bool FStop = false;
};

extern Tchangecoding* changecoding;

struct TChangeCodingItem {
    const char16_t* Item;
    TextEncodingCode Code;
};
// The nine choices of cb in their order, with the code each writes.
const std::array<TChangeCodingItem, 9>& ChangeCodingItems();
