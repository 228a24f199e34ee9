// Marks or unmarks rows of the input list by words contained in their file names, over
// the whole list or only over the rows that are also among the search window's results.
#pragma once

#include <functional>
#include <memory>

#include "platform/Forms.h"
#include "platform/ModalOpener.h"
#include "platform/StdCtrls.h"
#include "text/WideTypes.h"

class Tinputselectfilter : public TForm {
public:
    explicit Tinputselectfilter(TComponent* AOwner);
    ~Tinputselectfilter() override;

    // The window stays open beside the one it was opened from (the working window or the
    // search window); hidden while active ("Markieren und Schließen", or closed by the
    // window system), it gives the input back to that window, as a box does.
    void SetVisible(bool Value) override;

    TGroupBox* GroupBox1; // search criteria
    TLabel* Label1;
    TEdit* Edit1; // words that select a name, separated by "/"
    TLabel* Label2;
    TEdit* Edit2;         // words that exclude a name, separated by "/"
    TLabel* Label3;       // the tip
    TGroupBox* GroupBox2; // what happens to names matching the criteria
    TRadioButton* rb_ja_ja;
    TRadioButton* rb_ja_nein;
    TRadioButton* rb_ja_nix;
    TGroupBox* GroupBox3; // ... and to the other names
    TRadioButton* rb_nein_ja;
    TRadioButton* rb_nein_nein;
    TRadioButton* rb_nein_nix;
    TLabel* Label4;
    TLabel* Label5;
    TLabel* Label6;
    TButton* Button1; // apply
    TButton* Button2; // apply and close

    // 0: every row of the working window's list; 1: only rows whose path
    // IsSearchResult accepts (the search window sets both before it shows the window).
    enum : int { kWholeList = 0, kSearchResults = 1 };
    int SelectTarget = kWholeList;
    std::function<bool(WideStringView Path)> IsSearchResult;

    void Sprache();
    // Marks, unmarks or leaves each row in scope (QUSelect of the working window, inside
    // one update of its list); marking keeps a row's status.
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);

private:
    std::unique_ptr<TModalOpener> FOpener; // from its showing until it is hidden
};

// The name is selected when one of the include words occurs in it and none of the
// exclude words does; both word lists are separated by "/", compared in upper case,
// and an empty word never occurs.
bool NameMatchesWords(WideStringView Name, WideStringView IncludeWords,
                      WideStringView ExcludeWords);
