// The help windows: `Thilfe` (German) and `Thilfe_en` (English), one per language and never
// switched. A borderless tool window on top with a page control in flat-button style: help
// and introduction, recommendations, the project's software pages and why to donate. The
// back and next buttons walk the visible pages, wrapping at either end; a press anywhere on
// the window or its picture drags it. The working window's help menu shows a chosen page.
#pragma once

#include "dialogs/HelpTexts.h"
#include "platform/ComCtrls.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/PageControls.h"
#include "platform/StdCtrls.h"

class THelpWindow : public TForm {
public:
    TImage* Image2; // the heading picture (a handle to drag the window by)
    TPageControl* pc;
    TTabSheet *pc_hilfe, *pc_empf, *pc_software, *pc_spenden;
    TMemo *hilfe_text, *empf_text, *spenden_text;
    TLabel* software_text;
    TScrollBox* Frame; // `TFrame1` or `TFrame2`: the list of the project's pages
    TLabel* spenden_link;
    TButton *BackButton, *NextButton, *CloseButton;

    // Shows the window on Page (one of the four pages above).
    void ShowPage(TTabSheet* Page);
    // The previous or next visible page, wrapping around.
    void BackClick(TObject* Sender);
    void NextClick(TObject* Sender);
    // A left press on the window or on Image2 asks the window system to move the window.
    void DragMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // A wheel step over the product list scrolls it by WheelStep units.
    void FrameMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos,
                         bool& Handled);
    static constexpr int WheelStep = 10;

protected:
    THelpWindow(TComponent* AOwner, const HelpTexts& Texts, WideStringView Suffix,
                WideStringView FrameName, WideStringView BackName, WideStringView NextName);

private:
    TMemo* AddTextPage(TTabSheet* Page, WideStringView Name, WideStringView Text);
    void FillSoftwarePage(const HelpTexts& Texts, WideStringView FrameName);
};

class Thilfe : public THelpWindow {
public:
    explicit Thilfe(TComponent* AOwner);
    TButton*& btide1 = BackButton;
    TButton*& btide2 = NextButton;
    TScrollBox*& TFrame1 = Frame;
    void btide1Click(TObject* Sender) { BackClick(Sender); }
    void btide2Click(TObject* Sender) { NextClick(Sender); }
};

class Thilfe_en : public THelpWindow {
public:
    explicit Thilfe_en(TComponent* AOwner);
    TButton*& btien1 = BackButton;
    TButton*& btien2 = NextButton;
    TScrollBox*& TFrame2 = Frame;
    void btien1Click(TObject* Sender) { BackClick(Sender); }
    void btien2Click(TObject* Sender) { NextClick(Sender); }
};
