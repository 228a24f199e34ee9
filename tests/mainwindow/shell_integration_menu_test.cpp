// The working window and the shell integration window: the menu item opens it, and the
// chosen extensions travel with configuration files.
#include <QTemporaryDir>

#include "ProgTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/u_einstshortcuts.h"
#include "support/TempXdgHomes.h"

namespace {

class ShellIntegrationMenuTest : public ProgTest {
protected:
    void SetUp() override {
        ProgTest::SetUp();
        shortcuts = new Teinstshortcuts(Application);
        shortcuts->DoCreate();
    }
    void TearDown() override {
        shortcuts->Free();
        ProgTest::TearDown();
    }
    TempXdgHomes homes;
    Teinstshortcuts* shortcuts = nullptr;
};

TEST_F(ShellIntegrationMenuTest, MenuOpensTheWindowAndConfigurationFilesKeepTheExtensions) {
    p->m_einstshortcuts->Click();
    EXPECT_TRUE(shortcuts->Visible());
    shortcuts->beldateien->SetText(u"md, .ini");
    const WideString path = homes.W("shortcuts.qvr");
    p->KonfigurationSpeichern(p, path);
    EXPECT_NE(homes.Read("shortcuts.qvr").find("beldateien=md, .ini"), std::string::npos);
    shortcuts->beldateien->SetText(u"txt");
    p->KonfigurationLaden(p->m_konfig_load, path);
    EXPECT_EQ(shortcuts->beldateien->Text(), u"md, .ini");
}

} // namespace
