// The working window and the renaming tool: both menu items show the tool, and a
// configuration file keeps the tool's settings, its filter's choice and its place and size.
#include <QTemporaryDir>

#include "ProgTestSupport.h"
#include "dialogs/u_dateinamenumbenenner.h"
#include "dialogs/u_dateinamenumbenenner_filter.h"

namespace {

class ProgRenamerTest : public ProgTest {
protected:
    void SetUp() override {
        ProgTest::SetUp();
        renamer = new Tdateinamenumbenenner(Application);
        renamer->DoCreate();
    }
    void TearDown() override {
        renamer->Free();
        ProgTest::TearDown();
    }
    Tdateinamenumbenenner* renamer = nullptr;
};

TEST_F(ProgRenamerTest, BothMenuItemsShowTheTool) {
    for (TMenuItem* item : {p->m_datei_dateiumb, p->m_tools_dateiumb}) {
        renamer->Hide();
        item->Click();
        EXPECT_TRUE(renamer->Visible()) << U8(item->Name());
    }
}

TEST_F(ProgRenamerTest, AConfigurationKeepsTheSettingsTheFilterAndThePlace) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const WideString path = U16(dir.path().toStdString() + "/renamer.qvr");
    Tdateinamenumbenenner_filter* filter = renamer->filterWindow;
    renamer->maske->SetText(u"%0num%-x");
    renamer->numstart->SetText(u"7");
    renamer->uv->SetChecked(false);
    renamer->suchenersetzen->SetChecked(true);
    renamer->suchenalt->SetText(u"a");
    renamer->suchenneu->SetText(u"'b'");
    renamer->cb_suchendung->SetChecked(true);
    renamer->quordner->SetText(u"/tmp");
    filter->auswahl->SetChecked(true);
    filter->filter->SetText(u"png, gif");
    renamer->SetBounds(40, 30, 700, 720);
    const int width = renamer->ClientWidth(), height = renamer->ClientHeight();
    p->KonfigurationSpeichern(p, path);

    p->m_konfig_standard->Click(); // the defaults, then the file again
    EXPECT_EQ(renamer->maske->Text(), u"%name%1");
    EXPECT_TRUE(filter->alle->Checked());
    renamer->SetBounds(0, 0, 650, 700);
    p->KonfigurationLaden(p, path);
    EXPECT_EQ(renamer->maske->Text(), u"%0num%-x");
    EXPECT_EQ(renamer->numstart->Text(), u"7");
    EXPECT_FALSE(renamer->uv->Checked());
    EXPECT_TRUE(renamer->suchenersetzen->Checked());
    EXPECT_TRUE(renamer->suchenalt->Enabled());
    EXPECT_EQ(renamer->suchenalt->Text(), u"a");
    EXPECT_EQ(renamer->suchenneu->Text(), u"'b'");
    EXPECT_TRUE(renamer->cb_suchname->Checked());
    EXPECT_TRUE(renamer->cb_suchendung->Checked());
    EXPECT_EQ(renamer->quordner->Text(), u"/tmp");
    EXPECT_TRUE(filter->auswahl->Checked());
    EXPECT_TRUE(filter->filter->Enabled());
    EXPECT_EQ(filter->filter->Text(), u"png, gif");
    EXPECT_EQ(renamer->Left(), 40);
    EXPECT_EQ(renamer->Top(), 30);
    EXPECT_EQ(renamer->ClientWidth(), width);
    EXPECT_EQ(renamer->ClientHeight(), height);
}

} // namespace
