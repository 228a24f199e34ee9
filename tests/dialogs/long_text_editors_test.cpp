// The long-text editors: the field and the editor never disagree; titles follow the
// language.
#include <memory>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/u_zplus.h"

namespace {

struct FreeComponent {
    void operator()(TComponent* c) const { c->Free(); }
};
template <class T> using Owned = std::unique_ptr<T, FreeComponent>;

// A window holding the field, as the working window holds its action fields.
struct FieldWindow {
    Owned<TForm> form{new TForm(nullptr)};
    TMemo* field = new TMemo(form.get());
    FieldWindow() { field->SetParent(form.get()); }
};

TEST(LongTextEditors, TypedGreekTextEndsUpInTheField) {
    FieldWindow w;
    w.field->SetText(u"Привет\r\nмир");
    Owned<Tzplus> editor(new Tzplus(nullptr, TZplusKind::ers_suche, w.field));
    int fieldChanges = 0;
    w.field->OnChange = [&](TObject*) { ++fieldChanges; };
    editor->ShowForField();
    EXPECT_TRUE(editor->Visible());
    EXPECT_EQ(editor->Memo1->Text(), u"Привет\r\nмир");
    EXPECT_EQ(w.field->Text(), u"Привет\r\nмир");
    EXPECT_EQ(fieldChanges, 0); // the text written back is the same

    editor->Memo1->SetFocus();
    editor->Memo1->SelectAll();
    for (QString ch :
         {QStringLiteral("Α"), QStringLiteral("λ"), QStringLiteral("φ"), QStringLiteral("α"),
          QStringLiteral(" "), QStringLiteral("ω"), QStringLiteral("\U0001D6C0")})
        TypeChar(editor->Memo1, ch);
    PressKey(editor->Memo1->Widget(), Qt::Key_Return, QStringLiteral("\r"));
    TypeChar(editor->Memo1, QStringLiteral("ß"));
    const WideString typed = u"Αλφα ω\U0001D6C0\r\nß";
    EXPECT_EQ(editor->Memo1->Text(), typed);
    EXPECT_EQ(w.field->Text(), typed); // at once, not only when closing
    RequestClose(editor.get());
    EXPECT_FALSE(editor->Visible());
    EXPECT_EQ(w.field->Text(), typed);
    // Opening it again shows what the field holds now.
    w.field->SetText(u"neu");
    editor->ShowForField();
    EXPECT_EQ(editor->Memo1->Text(), u"neu");
}

TEST(LongTextEditors, AFreedFieldIsLetGo) {
    auto* w = new FieldWindow;
    Owned<Tzplus> editor(new Tzplus(nullptr, TZplusKind::del_zeile, w->field));
    delete w;
    EXPECT_EQ(editor->Field(), nullptr);
    editor->ShowForField();
    TypeChar(editor->Memo1, QStringLiteral("x"));
    editor->Hide();
}

TEST(LongTextEditors, TitlesFollowTheLanguage) {
    FieldWindow w;
    std::vector<Owned<Tzplus>> editors;
    for (TZplusKind k : kAllZplusKinds)
        editors.emplace_back(new Tzplus(nullptr, k, w.field));
    auto titles = [&] {
        std::vector<WideString> t;
        for (auto& e : editors) {
            e->Sprache();
            t.push_back(e->Caption());
        }
        return t;
    };
    ScopedLanguage en(u"en");
    EXPECT_EQ(titles(),
              (std::vector<WideString>{u"Replace Text - Search and Replace",
                                       u"Search Text - Search and Replace", u"Insertion of Text",
                                       u"Delete Text", u"Replacement of Lines",
                                       u"Delete Lines Containing Text"}));
    {
        ScopedLanguage de(u"de");
        EXPECT_EQ(titles(),
                  (std::vector<WideString>{u"Ersetzung - Suchen und Ersetzen",
                                           u"Suchtext - Suchen und Ersetzen", u"Einfügen von Text",
                                           u"Löschen von Text", u"Ersetzen von Zeilen",
                                           u"Löschen von Zeilen"}));
    }
    EXPECT_EQ(editors.back()->Name(), u"zplus_del_zeile");
    w.field->SetText(u"<b>Überschrift</b>\r\nΑλφα");
    editors[0]->ShowForField();
    SaveScreenshots(editors[0].get(), "zplus_ers_ers", [&] { editors[0]->Sprache(); });
    editors[0]->Hide();
}

} // namespace
