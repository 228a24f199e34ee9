// The layout that the progress, overwrite-question and message windows share: a
// 48 x 48 picture on the left, a vertical line beside it, a heading in a larger font,
// text labels below and a row of 75 x 25 buttons at the bottom right. The windows stay
// on top and centre themselves over their owner (the working window) every time they
// are shown or activated, so a window the user moved comes back over it.
#pragma once

#include "platform/ExtCtrls.h"
#include "platform/StdCtrls.h"

#include <vector>

// Top := Over.Top + (Over.ClientHeight - Form.ClientHeight) / 2, Left likewise, each
// division truncating toward zero; nothing without Over.
void CentreFormOver(TForm* Form, const TForm* Over);

// Path shortened (folders from the left replaced by "/.../") to fit Label's width in its
// font, with the room Quotes take left free; the result stands between the two quotes.
WideString PathForLabel(const TLabel* Label, WideStringView Path, WideStringView Quote = u"");

class TSmallDialog : public TForm {
public:
    enum class TSymbol { Information, Warning };
    TImage* Image1;
    TBevel* Bevel1;
    TLabel* Label1;

    // The window that the dialog centres over; without one its owner when that is a
    // window. The program's dialogs belong to the application, so the program names the
    // working window here when it creates them.
    void SetCentreOver(TForm* Value);
    TForm* CentreOver() const;
    // Top := owner.Top + (owner.ClientHeight - ClientHeight) / 2, Left likewise, each
    // division truncating toward zero.
    void FormActivate(TObject* Sender);
    // Widens the window (never below its designed width) so that the heading and every
    // text label show their whole text; the buttons keep their place at the right. Runs
    // on every showing, after the caller has set the texts.
    void FitTextColumn();
    // The control that has the focus, shown, whenever the dialog comes up, so that Enter
    // always answers the same way, whatever was pressed the time before.
    void SetFocusOnShow(TWinControl* Control) { FFocusOnShow = Control; }

protected:
    TSmallDialog(TComponent* AOwner, int ClientWidth, int ClientHeight, TSymbol Symbol);
    // A text label under the heading, Top pixels from the top, as wide as the text area.
    TLabel* AddLabel(WideStringView Name, int Top);
    // The button in the bottom row at Slot (0 is the leftmost of Slots buttons).
    TButton* AddButton(WideStringView Name, int Slot, int Slots);
    // Leaves a modal showing with Result, a modeless one by closing it.
    void CloseWith(TModalResult Result);
    int TextLeft() const;
    int TextWidth() const;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TForm* FCentreOver = nullptr;
    int FDesignClientWidth;
    TWinControl* FFocusOnShow = nullptr;
    std::vector<TLabel*> FTextLabels; // the heading and the AddLabel labels
    std::vector<TButton*> FButtons;
};
