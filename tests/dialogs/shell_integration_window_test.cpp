// The shell integration window on a temporary user: each pair of buttons and the status it
// shows, the state without writable folders (no message, the program stays), the language
// switch, and screenshots in both languages.
#include <gtest/gtest.h>

#include "desktop/ClassesRegistry.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/u_einstshortcuts.h"
#include "support/ModalInterceptor.h"
#include "support/TempXdgHomes.h"

namespace {

struct ShellIntegrationWindowTest : ::testing::Test {
    TempXdgHomes t;
    ScopedLanguage english{u"en"};
    Teinstshortcuts* w = nullptr;

    void Open() {
        w = new Teinstshortcuts(nullptr);
        w->ExecutablePath = t.W("prog/quorbel");
        w->DoCreate();
        w->Show();
    }
    void TearDown() override {
        if (w) w->Free();
    }
    void ExpectState(TLabel* Label, bool Active) {
        EXPECT_EQ(Label->Caption(), Active ? u"Activated" : u"Not activated") << U8(Label->Name());
        EXPECT_EQ(Label->Font()->Color(), Active ? clGreen : clRed) << U8(Label->Name());
    }
};

TEST_F(ShellIntegrationWindowTest, EachPairOfButtonsAndItsStatus) {
    Open();
    EXPECT_EQ(w->ver_admin->Caption(), u"The Program is running as an Administrator.");
    EXPECT_FALSE(w->AlsAdminStarten->Enabled());
    const std::pair<TButton*, TButton*> pairs[] = {{w->KonfigAn, w->KonfigAus},
                                                   {w->SendenAnAn, w->SendenAnAus},
                                                   {w->OrdnerAn, w->OrdnerAus},
                                                   {w->AlleDateienAn, w->AlleDateienAus}};
    TLabel* states[] = {w->ver_konfig, w->ver_sendenan, w->ver_ordner, w->ver_alledateien};
    for (int i = 0; i < 4; ++i) {
        for (TLabel* s : states)
            ExpectState(s, false);
        ClickControl(pairs[i].first);
        for (int j = 0; j < 4; ++j)
            ExpectState(states[j], j == i);
        ClickControl(pairs[i].second);
    }
    ExpectState(w->ver_konfig, false);
    EXPECT_FALSE(std::filesystem::exists(t.P("data/quorbel/SendTo/Quorbel.lnk")));
    EXPECT_FALSE(ClassesRoot().KeyExists(u".qvr"));

    // A type registered by another program then carries the verb.
    ClassesRoot().WriteDefault(u".log", u"logfile");
    w->beldateien->SetText(u"txt, .log ,a.b,.x y,.c");
    ClickControl(w->BeliebigeDateienAn);
    EXPECT_EQ(ClassesRoot().ReadDefault(u"logfile\\shell\\Quorbeldoc"), u"Open with Quorbel");
    EXPECT_EQ(ClassesRoot().ReadDefault(u".txt\\shell\\Quorbeldoc\\command"),
              u"\"" + t.W("prog/quorbel") + u"\" \"%1\"");
    ClickControl(w->BeliebigeDateienAus);
    EXPECT_FALSE(ClassesRoot().KeyExists(u"logfile\\shell\\Quorbeldoc"));
    EXPECT_FALSE(ClassesRoot().KeyExists(u".txt\\shell\\Quorbeldoc"));
}

TEST_F(ShellIntegrationWindowTest, WithoutWritableFoldersNothingIsReportedAndTheProgramStays) {
    t.Write("data", "a regular file");
    Open();
    std::vector<WideString> shown;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        shown.push_back(ShownText(r));
        return int(mrOk);
    });
    ClickControl(w->KonfigAn);
    ClickControl(w->OrdnerAn);
    EXPECT_TRUE(shown.empty());
    ExpectState(w->ver_konfig, false);
    ExpectState(w->ver_ordner, false);
    EXPECT_EQ(w->ver_admin->Caption(), u"The Program is not running as an Administrator.");
    EXPECT_EQ(w->ver_admin->Font()->Color(), clRed);
    ASSERT_TRUE(w->AlsAdminStarten->Enabled());
    ClickControl(w->AlsAdminStarten);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(t.W("data")), WideString::npos) << U8(shown[0]);
    EXPECT_TRUE(w->Visible());

    ScopedLanguage german(u"de");
    w->Sprache();
    EXPECT_EQ(w->ver_admin->Caption(),
              u"Das Programm wird gerade nicht als Administrator ausgeführt.");
    EXPECT_EQ(w->ver_konfig->Caption(), u"Nicht aktiv");
    ClickControl(w->AlsAdminStarten);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[1].find(u"Ordner"), WideString::npos) << U8(shown[1]);
}

TEST_F(ShellIntegrationWindowTest, LanguageSwitchAndScreenshots) {
    Open();
    ClickControl(w->OrdnerAn);
    EXPECT_EQ(ClassesRoot().ReadDefault(u"Folder\\shell\\Quorbeldoc"), u"Open with Quorbel");
    {
        ScopedLanguage german(u"de");
        w->Sprache();
        EXPECT_EQ(w->Caption(), u"Verknüpfungen");
        EXPECT_EQ(w->ver_ordner->Caption(), u"Aktiv");
        EXPECT_EQ(w->ver_konfig->Caption(), u"Nicht aktiv");
        EXPECT_EQ(w->KonfigAn->Caption(), u"Verknüpfen");
    }
    SaveScreenshots(w, "einstshortcuts", [&] {
        w->Sprache();
        ExpectCaptionsFit(w, "einstshortcuts-" + U8(LanguageCode));
    });
    EXPECT_EQ(w->ver_ordner->Caption(), u"Activated");
}

} // namespace
