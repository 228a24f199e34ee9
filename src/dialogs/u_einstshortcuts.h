// The shell integration window: registers the program with the desktop and shows, for each
// kind of registration, whether it is in place: configuration files (".qvr") open with the
// program, a "Send To" shortcut, and context-menu verbs for folders, all files and chosen
// extensions. It also says whether the folders these go to can be written. A small tool window
// above the others, created once and shown from the working window.
#pragma once

#include "platform/Forms.h"
#include "platform/StdCtrls.h"

class Teinstshortcuts : public TForm {
public:
    explicit Teinstshortcuts(TComponent* AOwner);
    ~Teinstshortcuts() override;

    TLabel *Label1, *ver_admin; // notice, administrator state
    TButton* AlsAdminStarten;
    TGroupBox* GroupBox1; // configuration files
    TLabel *Label2, *ver_konfig;
    TButton *KonfigAn, *KonfigAus;
    TGroupBox* GroupBox2; // Send To
    TLabel *Label3, *ver_sendenan;
    TButton *SendenAnAn, *SendenAnAus;
    TGroupBox* GroupBox3; // folders
    TLabel *Label4, *ver_ordner;
    TButton *OrdnerAn, *OrdnerAus;
    TGroupBox* GroupBox4; // files
    TLabel *Label5, *ver_alledateien;
    TButton *AlleDateienAn, *AlleDateienAus;
    TLabel* Label6;
    TEdit* beldateien;
    TButton *BeliebigeDateienAn, *BeliebigeDateienAus;
    TLabel *Label7, *Label70; // help intro and link
    TButton* OK;

    // The program registered; the path of the running executable unless set otherwise.
    WideString ExecutablePath;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    // The texts of the current language, the administrator state, then CheckShortCuts.
    void Sprache();
    // Each status label: active in green, not active in red.
    void CheckShortCuts();

    void KonfigAnClick(TObject* Sender);
    void KonfigAusClick(TObject* Sender);
    void SendenAnAnClick(TObject* Sender);
    void SendenAnAusClick(TObject* Sender);
    void OrdnerAnClick(TObject* Sender);
    void OrdnerAusClick(TObject* Sender);
    void AlleDateienAnClick(TObject* Sender);
    void AlleDateienAusClick(TObject* Sender);
    void BeliebigeDateienAnClick(TObject* Sender);
    void BeliebigeDateienAusClick(TObject* Sender);
    void AlsAdminStartenClick(TObject* Sender);
    void OKClick(TObject* Sender);
    void Label70Click(TObject* Sender);

private:
    WideString VerbText() const;
    WideString Command() const;
    void ShowState(TLabel* Label, bool Active);
    // The end of every handler that changes a registration.
    void Changed(bool Check);
};

extern Teinstshortcuts* einstshortcuts;
