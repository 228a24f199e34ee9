// The working window's link menus and help menus: 17 items per language in order with
// the picture of their index, only the current language's menu visible, each item's click
// handing the address built from its caption to the browser; the help items show the help
// window of the language on their page, the report items the feedback window; the start
// window shows the update notice until it has been closed once.
#include <gtest/gtest.h>

#include "dialogs/LanguageCode.h"
#include "dialogs/ProjectLinks.h"
#include "dialogs/u_bugreport.h"
#include "dialogs/u_dialog_upgrade.h"
#include "dialogs/u_hilfe.h"
#include "engine/RunState.h"
#include "mainwindow/ProgTestSupport.h"
#include "mainwindow/template_menu.h"
#include "mainwindow/u_start.h"
#include "platform/ShellServices.h"
#include "text/UCodeSysUtils.h"

namespace {

class HelpMenusTest : public ProgTest {
protected:
    void SetUp() override {
        ProgTest::SetUp();
        saved = LanguageCode;
        for (TForm* f : windows)
            f->DoCreate();
    }
    void TearDown() override {
        for (TForm* f : windows)
            f->Free();
        LanguageCode = saved;
        ProgTest::TearDown();
    }
    void language(const char16_t* code) {
        LanguageCode = code;
        p->SetMainWindowTexts();
    }
    Thilfe* de = new Thilfe(Application);
    Thilfe_en* en = new Thilfe_en(Application);
    Tbugreport_de* bug_de = new Tbugreport_de(Application);
    Tbugreport_en* bug_en = new Tbugreport_en(Application);
    std::vector<TForm*> windows{de, en, bug_de, bug_en};
    WideString saved;
};

TEST_F(HelpMenusTest, LinkMenusHoldSeventeenItemsEachAndOpenTheirAddress) {
    std::vector<WideString> addresses;
    TBrowserRecorder was = SetBrowserRecorder([&](const WideString& a) { addresses.push_back(a); });
    ASSERT_TRUE(p->softwareicons);
    EXPECT_EQ(p->softwareicons->Count(), SoftwareMenuItems);
    const std::pair<TMenuItem*, std::string> menus[] = {{p->m_soft_de, "linkde"},
                                                        {p->m_soft_en, "linken"}};
    for (const auto& [menu, prefix] : menus) {
        ASSERT_GE(menu->Count(), SoftwareMenuItems);
        for (int i = 0; i < SoftwareMenuItems; ++i) {
            TMenuItem* item = menu->Items(i);
            EXPECT_EQ(U8(item->Name()), prefix + std::to_string(i));
            EXPECT_EQ(item->ImageIndex(), i);
            const WideString caption = item->Caption();
            EXPECT_EQ(caption.find(u'&'), WideString::npos);
            const size_t dash = caption.find(u" - ");
            ASSERT_NE(dash, WideString::npos) << U8(caption);
            EXPECT_EQ(caption.rfind(ProjectSite, 0), 0u) << U8(caption);
            addresses.clear();
            item->Click();
            ASSERT_EQ(addresses.size(), 1u);
            // The address names the caption's page, without the description.
            EXPECT_NE(addresses[0].find(caption.substr(0, dash)), WideString::npos);
            EXPECT_EQ(addresses[0].find(caption.substr(dash)), WideString::npos);
        }
    }
    SetBrowserRecorder(was);
    language(u"de");
    EXPECT_TRUE(p->m_soft_de->Visible());
    EXPECT_FALSE(p->m_soft_en->Visible());
    language(u"en");
    EXPECT_FALSE(p->m_soft_de->Visible());
    EXPECT_TRUE(p->m_soft_en->Visible());
}

TEST_F(HelpMenusTest, HelpAndReportItemsShowTheWindowOfTheLanguageOnTheirPage) {
    struct Case {
        const char16_t* code;
        TMenuItem* item;
        THelpWindow* window;
        TTabSheet* page;
    };
    const Case cases[] = {
        {u"de", p->m_info_de_hilfe, de, de->pc_hilfe},
        {u"de", p->m_info_de_empfehlungen, de, de->pc_empf},
        {u"de", p->m_info_de_software, de, de->pc_software},
        {u"de", p->m_info_de_spenden, de, de->pc_spenden},
        {u"en", p->m_info_en_intro, en, en->pc_hilfe},
        {u"en", p->m_info_en_regards, en, en->pc_empf},
        {u"en", p->m_info_en_software, en, en->pc_software},
        {u"en", p->m_info_en_donate, en, en->pc_spenden},
        {u"fr", p->m_info_de_hilfe, en, en->pc_hilfe},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(U8(c.item->Name()) + " " + U8(c.code));
        de->Hide();
        en->Hide();
        LanguageCode = c.code;
        c.item->Click();
        EXPECT_TRUE(c.window->Visible());
        EXPECT_FALSE((c.window == de ? static_cast<TForm*>(en) : de)->Visible());
        EXPECT_EQ(c.window->pc->ActivePage(), c.page);
    }
    for (const char16_t* code : {u"de", u"en"})
        for (TMenuItem* item : {p->m_bug, p->m_bug_de, p->m_bug_en}) {
            bug_de->Hide();
            bug_en->Hide();
            LanguageCode = code;
            item->Click();
            EXPECT_EQ(bug_de->Visible(), code == WideString(u"de"));
            EXPECT_EQ(bug_en->Visible(), code != WideString(u"de"));
            (bug_de->Visible() ? bug_de->Button1 : bug_en->Button1)->Click();
            EXPECT_FALSE(bug_de->Visible() || bug_en->Visible()) << "OK closes";
        }
}

TEST_F(HelpMenusTest, TheStartWindowShowsTheNoticeUntilItWasClosedOnce) {
    ProgramState state{ProgramFolder()};
    p->SetRunState(&state);
    auto* notice = new Tdialog_upgrade(Application);
    notice->DoCreate();
    auto* s = new Tstart(Application);
    s->DoCreate();
    s->GoOn();
    EXPECT_TRUE(notice->Visible());
    notice->OK->Click();
    EXPECT_EQ(notice->Tag, 1);
    s->GoOn();
    EXPECT_FALSE(notice->Visible());
    s->Free();
    notice->Free();
}

} // namespace
