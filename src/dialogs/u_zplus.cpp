#include "dialogs/u_zplus.h"

#include "dialogs/FormBuilding.h"
#include "dialogs/LanguageCode.h"

namespace {
struct KindTexts {
    const char16_t* name;
    const char16_t* german;
    const char16_t* english;
};

const KindTexts& TextsOf(TZplusKind Kind) {
    static const KindTexts texts[] = {
        {u"zplus_ers_ers", u"Ersetzung - Suchen und Ersetzen",
         u"Replace Text - Search and Replace"},
        {u"zplus_ers_suche", u"Suchtext - Suchen und Ersetzen",
         u"Search Text - Search and Replace"},
        {u"zplus_ers_anfuegen", u"Einfügen von Text", u"Insertion of Text"},
        {u"zplus_ers_deltext", u"Löschen von Text", u"Delete Text"},
        {u"zplus_ers_zeile", u"Ersetzen von Zeilen", u"Replacement of Lines"},
        {u"zplus_del_zeile", u"Löschen von Zeilen", u"Delete Lines Containing Text"},
    };
    return texts[static_cast<int>(Kind)];
}
} // namespace

WideString ZplusTitle(TZplusKind Kind) {
    const KindTexts& t = TextsOf(Kind);
    return LanguageIsGerman() ? t.german : t.english;
}

Tzplus::Tzplus(TComponent* AOwner, TZplusKind Kind, TMemo* Field)
    : TForm(AOwner), FKind(Kind), FField(Field) {
    SetName(TextsOf(Kind).name);
    SetFormStyle(fsStayOnTop);
    Position = poOwnerFormCenter;
    SetClientWidth(640);
    SetClientHeight(420);
    Memo1 = MakeControl<TMemo>(this, this, u"Memo1", 0, 0, 640, 420);
    Memo1->SetAlign(alClient);
    Memo1->SetScrollBars(ssBoth);
    Memo1->SetWordWrap(false);
    Memo1->SetWantTabs(true);
    Memo1->Font()->SetName(u"Courier New");
    Memo1->Font()->SetSize(10);
    Memo1->OnChange = [this](TObject* Sender) { Memo1Change(Sender); };
    if (FField) FField->FreeNotification(this);
    Sprache();
}

Tzplus::~Tzplus() {
    if (FField) FField->RemoveFreeNotification(this);
}

void Tzplus::Notification(TComponent* AComponent, TOperation Operation) {
    TForm::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FField) FField = nullptr;
}

void Tzplus::ShowForField() {
    if (FField) Memo1->SetText(FField->Text());
    Show();
}

void Tzplus::Sprache() {
    SetCaption(ZplusTitle(FKind));
}

void Tzplus::Memo1Change(TObject*) {
    if (FField) FField->SetText(Memo1->Text());
}
