// The start window: the first window of the program and so its main window. It shows the
// start picture of the interface language for a few seconds, shows the working window,
// and ends the program when it closes. Its hidden label `spr` shows the language code
// (LanguageCode, dialogs/LanguageCode.h).
//
// The timer ticks every 600 ms: at the third tick the working window is shown, at the
// fifth the start window hides, at the seventh the timer stops; a click on the picture
// does all three at once. Unattended ("processandclose=1") the first tick closes the
// program; silent ("silentmode=1"/"=2") nothing is ever shown.
#pragma once

#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"

class TVistaAltFix;

// The ticks of the start window's timer since it was created.
extern int StartTickCount;

class Tstart : public TForm {
public:
    explicit Tstart(TComponent* AOwner);
    ~Tstart() override;

    TTimer* Timer1;
    TLabel* spr;    // hidden: the language code
    TImage* en1;    // the English start picture
    TImage* Image1; // the German start picture

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void Image1Click(TObject* Sender);
    // Applies the language code to the start window, the application title and the
    // toolkit's own texts (dialog labels, file type names).
    void sprache();
    // Shows the working window (and the update notice until it was closed once), unless
    // a silent level is set.
    void GoOn();

    static constexpr unsigned TickInterval = 600;
    static constexpr int TickShowWorkingWindow = 3, TickHide = 5, TickStop = 7;

private:
    TVistaAltFix* FVistaAltFix = nullptr;
};

// The start window once it is created (nullptr before and after).
extern Tstart* start;

// The program's title, in both languages.
inline constexpr char16_t ApplicationTitle[] = u"Quorbel - Halvane";
