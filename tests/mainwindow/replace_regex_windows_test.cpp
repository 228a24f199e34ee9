// The working window with the replacement lists and the regular-expression settings: the
// buttons and the menu item open them, entries reach the replace list, configuration files
// store both windows, and the defaults run "Standard".
#include <QTemporaryDir>
#include <fstream>

#include "ProgTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/u_einstregex.h"
#include "dialogs/u_replace_import.h"
#include "regex/RegExpr.h"

namespace {

bool matches(const WideString& expression, const WideString& subject) {
    TRegExpr r;
    r.SetExpression(expression);
    return r.Exec(subject);
}

class ReplaceRegexWindowsTest : public ProgTest {
protected:
    void SetUp() override {
        ProgTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        regex = new Teinstregex(Application);
        regex->DoCreate();
        lists = new Treplace_import(Application, U16(dir.path().toStdString() + "/"));
        lists->DoCreate();
    }
    void TearDown() override {
        lists->Free();
        regex->Free();
        RegExprDefaults = saved;
        ProgTest::TearDown();
    }
    WideString file(const char* name) const { return U16(dir.path().toStdString() + "/" + name); }

    TRegExprDefaults saved = RegExprDefaults;
    QTemporaryDir dir;
    Teinstregex* regex = nullptr;
    Treplace_import* lists = nullptr;
};

TEST_F(ReplaceRegexWindowsTest, ButtonsAndMenuOpenTheWindowsAndEntriesReachTheReplaceList) {
    ClickControl(p->BitBtn1);
    EXPECT_TRUE(lists->Visible());
    ClickControl(p->act_ers_text_regex);
    EXPECT_TRUE(regex->Visible());
    regex->Hide();
    p->m_einst_regex->Click();
    EXPECT_TRUE(regex->Visible());

    lists->liste->SetText(u"a|b|reg=sr");
    ClickControl(lists->rb_reg_individuell);
    ClickControl(lists->bt_add_to_actionlist);
    ASSERT_EQ(p->act_ers_text_liste->Items().Count(), 1);
    const TListItem* row = p->act_ers_text_liste->Items()[0];
    EXPECT_EQ(row->Caption(), u"a");
    EXPECT_EQ(row->SubItems().Get(0), u"b");
    EXPECT_EQ(row->SubItems().Get(1), u"x");
}

TEST_F(ReplaceRegexWindowsTest, ALoadedBoxActsAtOnceAndALoadedTextOnlyWithApply) {
    const WideString path = file("regex.qvr");
    std::ofstream(U8(path), std::ios::binary)
        << "[ERCH]\r\ncb_multiline_m=1\r\n[ERED]\r\nzk_word=xyz\r\n";
    const WideString word = RegExprDefaults.WordChars;
    p->KonfigurationLaden(p->m_konfig_load, path);
    EXPECT_TRUE(matches(u"^b", u"a\nb"));
    EXPECT_EQ(regex->zk_word->Text(), u"xyz");
    EXPECT_EQ(RegExprDefaults.WordChars, word);
    ClickControl(regex->Button2);
    EXPECT_EQ(RegExprDefaults.WordChars, u"xyz");

    // The defaults routine runs "Standard": the boxes at once, the texts in the edits.
    ClickControl(regex->cb_singleline_s);
    ASSERT_FALSE(RegExprDefaults.ModifierS);
    p->KonfigurationLadenStandard(p);
    EXPECT_TRUE(matches(u"a.b", u"a\nb"));
    EXPECT_FALSE(matches(u"^b", u"a\nb"));
    EXPECT_EQ(regex->zk_word->Text().substr(0, 10), u"0123456789");
}

TEST_F(ReplaceRegexWindowsTest, ConfigurationFilesKeepTheListSettings) {
    ClickControl(lists->rb_reg2);
    lists->ed_delimiter->SetText(u";;");
    lists->ed_linebreak->SetText(u"<br>");
    lists->cb->SetText(u"Mine");
    ClickControl(lists->cb_auto_clear);
    const WideString path = file("lists.qvr");
    p->KonfigurationSpeichern(p, path);

    ClickControl(lists->rb_reg0);
    lists->ed_delimiter->SetText(u"|");
    lists->ed_linebreak->SetText(u"\\nl");
    lists->cb->SetText(u"");
    ClickControl(lists->cb_auto_clear);
    p->KonfigurationLaden(p->m_konfig_load, path);
    EXPECT_TRUE(lists->rb_reg2->Checked());
    EXPECT_FALSE(lists->rb_reg0->Checked());
    EXPECT_EQ(lists->ed_delimiter->Text(), u";;");
    EXPECT_EQ(lists->ed_linebreak->Text(), u"<br>");
    EXPECT_EQ(lists->cb->Text(), u"Mine");
    EXPECT_FALSE(lists->cb_auto_clear->Checked());
}

} // namespace
