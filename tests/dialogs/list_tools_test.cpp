// The type filter for folders and the marking tool of the input list.
#include <memory>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/FakeWorkingWindow.h"
#include "dialogs/u_inputselectfilter.h"
#include "dialogs/u_sm_filter.h"

namespace {

struct FreeForm {
    void operator()(TForm* f) const { f->Free(); }
};
template <class T> using Owned = std::unique_ptr<T, FreeForm>;

TEST(TypeFilter, GroupsAreUsableOnlyForASelectionAndEachEditFollowsItsBox) {
    Owned<Tsm_filter> f(new Tsm_filter(nullptr));
    f->Show();
    const std::vector<TControl*> groupControls = {
        f->cb_txt_allg, f->ed_txt_allg, f->cb_txt_web,      f->ed_txt_web,
        f->cb_txt_prog, f->ed_txt_prog, f->cb_txt_sys,      f->ed_txt_sys,
        f->cb_txt_sons, f->ed_txt_sons, f->cb_txt_benutzer, f->ed_txt_benutzer};
    // Design state: all files, the groups out of use.
    EXPECT_TRUE(f->alle->Checked());
    for (TControl* c : groupControls)
        EXPECT_FALSE(c->Enabled()) << U8(c->Name());
    EXPECT_TRUE(f->cb_asciicheck->Enabled());

    ClickControl(f->auswahl);
    ASSERT_TRUE(f->auswahl->Checked());
    for (TControl* c : groupControls)
        EXPECT_TRUE(c->Enabled()) << U8(c->Name());
    ClickControl(f->cb_txt_web);
    EXPECT_FALSE(f->cb_txt_web->Checked());
    EXPECT_TRUE(f->cb_txt_web->Enabled());
    EXPECT_FALSE(f->ed_txt_web->Enabled());
    // Back to all files and to the selection: the unticked group's edit stays out of use.
    ClickControl(f->alle);
    ClickControl(f->auswahl);
    EXPECT_FALSE(f->ed_txt_web->Enabled());
    EXPECT_TRUE(f->ed_txt_sys->Enabled());
    ClickControl(f->Button1);
    EXPECT_FALSE(f->Visible());
}

TEST(TypeFilter, MasksOfTheTickedGroups) {
    EXPECT_EQ(ExtensionMasks({u" txt , log", u",,bak"}),
              (TWideStrArray{u".txt", u".log", u".bak"}));
    EXPECT_EQ(ExtensionMasks({u"txt,,log"}), (TWideStrArray{u".txt", u".log"}));
    EXPECT_EQ(ExtensionMasks({u".tar.gz, ,", u""}), (TWideStrArray{u".targz"}));
    // The renaming tool keeps the dots inside an extension; a leading one is the mask's.
    const std::pair<const char16_t*, TWideStrArray> kept[] = {
        {u"tar.gz", {u".tar.gz"}},
        {u" .tar.gz , .txt,,log", {u".tar.gz", u".txt", u".log"}},
        {u".", {}},
    };
    for (const auto& [list, masks] : kept)
        EXPECT_EQ(ExtensionMasks({list}, ExtensionDots::Kept), masks) << U8(list);

    Owned<Tsm_filter> f(new Tsm_filter(nullptr));
    EXPECT_EQ(f->Masks(), (TWideStrArray{u".*"}));
    f->auswahl->SetChecked(true);
    for (TCheckBox* b : {f->cb_txt_allg, f->cb_txt_web, f->cb_txt_prog, f->cb_txt_sons})
        b->SetChecked(false);
    f->ed_txt_benutzer->SetText(u"md");
    // System before the user's own group, whatever the order on screen.
    EXPECT_EQ(f->Masks(), (TWideStrArray{u".backup", u".bak", u".ini", u".inf", u".log", u".md"}));
    EXPECT_TRUE(f->CheckForText());
    EXPECT_EQ(f->ed_txt_web->Text().substr(f->ed_txt_web->Text().size() - 7), u",lassso");
}

TEST(MarkByName, NameMatchesWords) {
    struct Case {
        const char16_t *name, *include, *exclude;
        bool selected;
    };
    const Case cases[] = {
        {u"Report.txt", u"rep/log", u"old", true},
        {u"report_old.txt", u"rep/log", u"old", false},
        {u"data.txt", u"rep/log", u"old", false},
        {u"system.LOG", u"rep/log", u"", true},
        {u"data.txt", u"", u"", false},      // an empty include selects nothing
        {u"data.txt", u"/", u"", false},     // empty words never occur
        {u"data.txt", u"x//ta", u"", true},  // ... and do not hide the others
        {u"data.txt", u"data", u"/", true},  // an empty exclude word excludes nothing
        {u"ÄRGER.txt", u"ärger", u"", true}, // upper case beyond ASCII
        {u"straße.txt", u"STRASSE", u"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameMatchesWords(c.name, c.include, c.exclude), c.selected)
            << U8(c.name) << " / " << U8(c.include) << " / " << U8(c.exclude);
}

TEST(MarkByName, MarksTheListThroughTheWorkingWindow) {
    FakeWorkingWindow window;
    window.AddRow(u"Report.txt", u"/d/Report.txt");
    window.AddRow(u"report_old.txt", u"/d/report_old.txt");
    window.AddRow(u"data.txt", u"/d/data.txt");
    Owned<Tinputselectfilter> f(new Tinputselectfilter(nullptr));
    f->Show();
    using S = FakeWorkingWindow::Selection;

    f->Edit1->SetText(u"rep/log");
    f->Edit2->SetText(u"old");
    ClickControl(f->Button1);
    EXPECT_EQ(window.selections, (std::vector<S>{{-1, 1, 0}, {-1, 0, 1}, {-1, 0, 2}}));
    EXPECT_TRUE(f->Visible());

    // An empty include with the defaults unmarks every row.
    window.selections.clear();
    f->Edit1->SetText(u"");
    ClickControl(f->Button1);
    EXPECT_EQ(window.selections, (std::vector<S>{{-1, 0, 0}, {-1, 0, 1}, {-1, 0, 2}}));

    // "Do nothing" for the others, and only over the search results.
    window.selections.clear();
    f->Edit1->SetText(u"txt");
    f->Edit2->SetText(u"old");
    ClickControl(f->rb_nein_nix);
    f->SelectTarget = Tinputselectfilter::kSearchResults;
    f->IsSearchResult = [](WideStringView p) { return p != u"/d/data.txt"; };
    ClickControl(f->Button2);
    EXPECT_EQ(window.selections, (std::vector<S>{{-1, 1, 0}}));
    EXPECT_FALSE(f->Visible());
}

TEST(ListTools, Screenshots) {
    Owned<Tsm_filter> f(new Tsm_filter(nullptr));
    f->auswahl->SetChecked(true);
    f->cb_txt_web->SetChecked(false);
    SaveScreenshots(f.get(), "sm_filter", [&] { f->Sprache(); });
    Owned<Tinputselectfilter> s(new Tinputselectfilter(nullptr));
    s->Edit1->SetText(u"rep/log");
    SaveScreenshots(s.get(), "inputselectfilter", [&] { s->Sprache(); });
    ScopedLanguage de(u"de");
    s->Sprache();
    EXPECT_EQ(s->Button2->Caption(), u"Markieren und Schließen");
    f->Sprache();
    EXPECT_EQ(f->alle->Caption(), u"Alle gefundenen Dateien");
}

} // namespace
