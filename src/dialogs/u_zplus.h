// The long-text editors: six windows, one per multi-line action field of the working
// window, each giving its field a large editing area. Showing an editor copies the
// field's text into Memo1; every change of Memo1 is copied back into the field at
// once, so the two never disagree and there is no OK or Cancel.
#pragma once

#include "platform/Forms.h"
#include "platform/StdCtrls.h"

// Which field an editor serves (and so its name and title).
enum class TZplusKind {
    ers_ers,      // act_ers_text_ersetzen: replacement text of "replace text"
    ers_suche,    // act_ers_text_suchen: search text of "replace text"
    ers_anfuegen, // act_anfuegen_text: text to insert
    ers_deltext,  // act_del_text_suchen: text to delete
    ers_zeile,    // act_ers_zeile_erstxt: replacement line of "replace lines"
    del_zeile,    // act_del_zeile_text: text of "delete lines"
};
inline constexpr TZplusKind kAllZplusKinds[] = {TZplusKind::ers_ers,      TZplusKind::ers_suche,
                                                TZplusKind::ers_anfuegen, TZplusKind::ers_deltext,
                                                TZplusKind::ers_zeile,    TZplusKind::del_zeile};

class Tzplus : public TForm {
public:
    // The editor of Field (a memo of the working window); its component name is
    // "zplus_" followed by the kind ("zplus_ers_ers", ...).
    Tzplus(TComponent* AOwner, TZplusKind Kind, TMemo* Field);
    ~Tzplus() override;

    TMemo* Memo1;

    TZplusKind Kind() const { return FKind; }
    TMemo* Field() const { return FField; }
    // What the plus button beside the field does: fills Memo1 from the field and shows
    // the editor.
    void ShowForField();
    void Sprache();
    // Memo1's whole text into the field.
    void Memo1Change(TObject* Sender);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TZplusKind FKind;
    TMemo* FField;
};

// The title of the editor of Kind in the current language.
WideString ZplusTitle(TZplusKind Kind);
