// The feedback windows: `Tbugreport_de` and `Tbugreport_en`, one per language and never
// switched. A short request to report faults or suggest improvements, a link label to
// each of the project's two pages for that, and OK (`Button1`) to close.
#pragma once

#include "platform/Forms.h"
#include "platform/StdCtrls.h"

class TBugReportWindow : public TForm {
public:
    TLabel* Label1; // the request
    TLabel* Label2; // link: report a fault
    TLabel* Label3; // link: suggest an improvement
    TButton* Button1;
    void Button1Click(TObject* Sender);

protected:
    TBugReportWindow(TComponent* AOwner, bool German);
};

class Tbugreport_de : public TBugReportWindow {
public:
    explicit Tbugreport_de(TComponent* AOwner) : TBugReportWindow(AOwner, true) {}
};

class Tbugreport_en : public TBugReportWindow {
public:
    explicit Tbugreport_en(TComponent* AOwner) : TBugReportWindow(AOwner, false) {}
};
