// The save-profile window: its "all" box, the save through the working window, texts.
#include <memory>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/FakeWorkingWindow.h"
#include "dialogs/u_profilspeichern.h"
#include "support/ModalInterceptor.h"

namespace {

struct FreeForm {
    void operator()(TForm* f) const { f->Free(); }
};
using OwnedDialog = std::unique_ptr<Tprofilspeichern, FreeForm>;

std::vector<bool> Ticks(const Tprofilspeichern& d) {
    std::vector<bool> t;
    for (TCheckBox* b : d.GroupBoxes())
        t.push_back(b->Checked());
    return t;
}

TEST(ProfileDialog, AllFollowsTheUsersClicksOnly) {
    OwnedDialog d(new Tprofilspeichern(nullptr));
    // A configuration loaded into the hidden window sets the boxes in creation order,
    // alle last: the twelve loaded choices stay.
    const std::vector<bool> loaded = {true, false, true,  false, false, false,
                                      true, false, false, true,  false, true};
    for (size_t i = 0; i < loaded.size(); ++i)
        d->GroupBoxes()[i]->SetChecked(loaded[i]);
    d->alle->SetChecked(true);
    EXPECT_EQ(Ticks(*d), loaded);
    d->alle->SetChecked(false);
    EXPECT_EQ(Ticks(*d), loaded);

    // The user's clicks tick and untick all twelve.
    d->Show();
    ClickControl(d->alle);
    ASSERT_TRUE(d->alle->Checked());
    EXPECT_EQ(Ticks(*d), std::vector<bool>(12, true));
    ClickControl(d->alle);
    EXPECT_EQ(Ticks(*d), std::vector<bool>(12, false));
    // The boxes are found by the names the profile writer uses.
    EXPECT_EQ(d->FindComponent(u"act_html"), d->act_html);
    EXPECT_EQ(d->FindComponent(u"act_transcript"), d->act_transcript);
}

TEST(ProfileDialog, SavesThroughTheWorkingWindowAndClosesInAnyCase) {
    FakeWorkingWindow window;
    OwnedDialog d(new Tprofilspeichern(nullptr));
    struct Case {
        const char* name;
        int answer;
        const char16_t* file;
        std::vector<WideString> calls;
    };
    const Case cases[] = {
        {"saved", 1, u"/x/a.qvr", {u"profile /x/a.qvr", u"menu /x/a.qvr"}},
        {"cancelled", 0, u"/x/b.qvr", {}},
        {"empty name", 1, u"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.calls.clear();
        window.saveDialog.SetFileName(WideString());
        d->Show();
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            EXPECT_EQ(r.Kind, TModalKind::SaveFile);
            r.Answer = c.file;
            return c.answer;
        });
        ClickControl(d->Button1);
        EXPECT_EQ(window.calls, c.calls);
        EXPECT_FALSE(d->Visible());
    }
    d->Show();
    ClickControl(d->Button2);
    EXPECT_FALSE(d->Visible());
}

TEST(ProfileDialog, TextsAndScreenshots) {
    OwnedDialog d(new Tprofilspeichern(nullptr));
    {
        ScopedLanguage de(u"de");
        d->Sprache();
        EXPECT_EQ(d->act_sonstige->Caption(), u"Groß- und Kleinschreibung");
        EXPECT_EQ(d->Button1->Caption(), u"Profil Speichern");
    }
    ScopedLanguage en(u"en");
    d->Sprache();
    EXPECT_EQ(d->alle->Caption(), u"Activate or Deactivate all");
    d->act_ers_text->SetChecked(true);
    SaveScreenshots(d.get(), "profilspeichern", [&] { d->Sprache(); });
}

} // namespace
