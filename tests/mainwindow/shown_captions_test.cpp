// Captions as a person reads them, in every window the program builds, in German and in
// English, read through Qt's accessibility layer (what a screen reader reads, and the hot
// key Qt underlines): no caption, menu item or tab has an underlined letter the program
// never meant, every "&" a caption means is shown as "&", and no hint shows a doubled one.
// Texts that come from the user's files keep their "&" too: a configuration's name in the
// menu of configurations and a folder path in a message.
#include <QLabel>
#include <QTabBar>
#include <set>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/u_sm_meldung.h"
#include "platform/GroupBoxes.h"
#include "platform/Menus.h"
#include "platform/PageControls.h"
#include "platform/QtStrings.h"
#include "support/ModalInterceptor.h"
#include "support/ProgramWindowsFixture.h"
#include "support/ShownText.h"
#include "support/TempFolder.h"

namespace {

// Every component below Root, Root's own first, depth first.
void ForEachComponent(TComponent* Root, const std::function<void(TComponent*)>& Visit) {
    for (int i = 0; i < Root->ComponentCount(); ++i) {
        Visit(Root->Components(i));
        ForEachComponent(Root->Components(i), Visit);
    }
}

// What Qt shows of a component's caption, or nothing for a component that shows none
// (a separator, a memo, an edit).
std::optional<ShownCaption> ShownCaptionOf(TComponent* C) {
    if (auto* item = dynamic_cast<TMenuItem*>(C)) {
        if (item->Caption() == u"-") return std::nullopt;
        return ShownOf(item->QtAction());
    }
    if (auto* sheet = dynamic_cast<TTabSheet*>(C); sheet && sheet->PageControl()) {
        // The tab of the page, as its tab row shows it.
        QTabBar* tabs = sheet->PageControl()->TabBar();
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == Q(sheet->Caption()))
                return ShownCaption{
                    QAccessible::queryAccessibleInterface(tabs)->child(i)->text(QAccessible::Name),
                    QKeySequence::mnemonic(tabs->tabText(i)).toString()};
        return std::nullopt;
    }
    auto* control = dynamic_cast<TControl*>(C);
    if (!control || !control->Widget()) return std::nullopt;
    if (auto* label = qobject_cast<QLabel*>(control->Widget()))
        return ShownCaption{label->text(), {}};
    if (!dynamic_cast<TButtonControl*>(C) && !dynamic_cast<TGroupBox*>(C)) return std::nullopt;
    return ShownOf(control->Widget());
}

struct CaptionCase {
    const char16_t* name;
    const char16_t* german;
    const char16_t* english;
};

// Captions that mean the character "&", as a person reads them.
const CaptionCase kMeantAmpersands[] = {
    {u"act_html_ersetzen_eig", u"& < > \" in HTML-Entitäten umwandeln",
     u"& < > \" to HTML Entities"},
    {u"act_html_ersetzen_reverse_eig", u"&lt; &gt; &amp; &quot; zurückwandeln",
     u"&lt; &gt; &amp; &quot; back to Characters"},
};

TEST(ShownCaptions, NoWindowShowsAStrayHotKeyOrLosesAMeantAmpersand) {
    for (const char16_t* language : {u"de", u"en"}) {
        ProgramWindows windows(language);
        const std::string lang = U8(language);
        int captions = 0;
        for (int f = 0; f < Screen->FormCount(); ++f) {
            TForm* form = Screen->Forms(f);
            ForEachComponent(form, [&](TComponent* c) {
                const std::string where = lang + " " + U8(form->Name()) + "." + U8(c->Name());
                if (auto* control = dynamic_cast<TControl*>(c)) {
                    EXPECT_EQ(control->Hint().find(u"&&"), WideString::npos) << where;
                }
                const std::optional<ShownCaption> shown = ShownCaptionOf(c);
                if (!shown) return;
                const WideString caption = dynamic_cast<TMenuItem*>(c)
                                               ? dynamic_cast<TMenuItem*>(c)->Caption()
                                               : dynamic_cast<TControl*>(c)->Caption();
                ++captions;
                EXPECT_EQ(shown->hotKey, QString()) << where << " \"" << U8(caption) << "\"";
                EXPECT_EQ(shown->name, Q(WideStripHotkey(caption))) << where;
            });
        }
        EXPECT_GT(captions, 500) << lang; // the sweep reached the windows' controls
        for (const CaptionCase& c : kMeantAmpersands) {
            auto* control = dynamic_cast<TControl*>(windows.Working().FindComponent(c.name));
            ASSERT_TRUE(control) << U8(c.name);
            EXPECT_EQ(ShownOf(control->Widget()).name,
                      Q(language == std::u16string_view(u"de") ? c.german : c.english))
                << lang << " " << U8(c.name);
        }
    }
}

TEST(ShownCaptions, NamesFromTheUsersFilesKeepTheirAmpersand) {
    ProgramWindows windows(u"en");
    windows.ShowAsStarted();
    Tprog& p = windows.Working();
    TempFolder folder{"shown-captions"};
    const WideString config = folder.W("Tom & Jerry.qvr");
    {
        ScopedModalInterceptor save([&](TModalRequest& r) {
            r.Answer = config;
            return r.Kind == TModalKind::SaveFile ? 1 : IDOK;
        });
        ChooseMenuItem(p.m_konfig_save);
    }
    TMenuItem* added = nullptr;
    for (int i = 0; i < p.m_konfig->Count(); ++i)
        if (p.m_konfig->Items(i)->Hint() == config) added = p.m_konfig->Items(i);
    ASSERT_TRUE(added);
    const ShownCaption shown = ShownOf(added->QtAction());
    EXPECT_TRUE(shown.name.endsWith(QStringLiteral("Tom & Jerry.qvr"))) << shown.name.toStdString();
    EXPECT_EQ(shown.hotKey, QString());

    // A folder that does not exist, typed into the input folder field, is named in the message.
    const WideString missing = folder.W("R&D");
    QString pathShown;
    {
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            if (auto* box = dynamic_cast<Tsm_meldung*>(r.Form))
                pathShown = static_cast<QLabel*>(box->Label3->Widget())->text();
            return IDOK;
        });
        TypeInto(p.inp_ordner, Q(missing + u"\r"));
    }
    EXPECT_EQ(pathShown, Q(u"\"" + missing + u"\"")); // whole: it fits the text column
}

} // namespace
