// The working window and the shell integration window: the menu item opens it, with the
// focus on OK, so that Enter typed at once writes nothing; the chosen extensions travel
// with configuration files.
#include <QTemporaryDir>
#include <set>
#include <string>

#include "ProgTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/u_einstshortcuts.h"
#include "support/ProgramWindowsFixture.h"
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

// Every file below the folder, by its path inside it.
std::set<std::string> FilesBelow(const TempFolder& Folder) {
    std::set<std::string> files;
    std::error_code ignored;
    for (const auto& e : std::filesystem::recursive_directory_iterator(Folder.Path(), ignored))
        if (!e.is_directory(ignored))
            files.insert(std::filesystem::relative(e.path(), Folder.Path()).string());
    return files;
}

TEST(ShellIntegrationByKeys, EnterRightAfterOpeningTheWindowWritesNothing) {
    TempXdgHomes homes;
    ProgramWindows windows;
    windows.ShowAsStarted();
    Tprog& p = windows.Working();
    auto& w = windows.Window<Teinstshortcuts>();
    const std::set<std::string> before = FilesBelow(homes);
    ChooseMenuItem(p.m_einstshortcuts);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Widget()->isActiveWindow(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.ActiveControl() == w.OK; }, 5000))
        << (w.ActiveControl() ? U8(w.ActiveControl()->Name()) : "nothing") << " has the focus";
    PressKeyIn(w.Widget(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Visible(); }, 5000));
    EXPECT_EQ(FilesBelow(homes), before);
    EXPECT_EQ(w.ver_konfig->Caption(), u"Nicht aktiv");
}

} // namespace
