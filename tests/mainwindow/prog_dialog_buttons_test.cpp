// The working window and the CSV and transliteration windows together: the group buttons
// open them, a saved table becomes a choice of the transliteration action, and the CSV step
// over the working window's settings uses what the CSV windows hold.
#include <functional>

#include "ProgTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/u_changecoding.h"
#include "dialogs/u_csv_editing.h"
#include "dialogs/u_csv_order.h"
#include "dialogs/u_searchfiles.h"
#include "dialogs/u_transform.h"
#include "engine/CsvStep.h"
#include "engine/TempFolder.h"

namespace {

class ProgDialogsTest : public ProgTest {
protected:
    void SetUp() override {
        ProgTest::SetUp();
        for (TForm* f : {static_cast<TForm*>(editing = new Tcsv_editing(Application)),
                         static_cast<TForm*>(order = new Tcsv_order(Application))})
            f->DoCreate();
    }
    void TearDown() override {
        editing->Free();
        order->Free();
        ProgTest::TearDown();
    }
    Tcsv_editing* editing = nullptr;
    Tcsv_order* order = nullptr;
};

TEST_F(ProgDialogsTest, GroupButtonsOpenTheWindowsOnTheirPages) {
    ClickControl(p->act_csv_order_show);
    EXPECT_TRUE(order->Visible());
    const std::pair<TButton*, TTabSheet*> pages[] = {
        {p->act_csv_replace_show, editing->tab_replace},
        {p->act_csv_insert_show, editing->tab_insert},
        {p->act_csv_writing_show, editing->tab_writing},
        {p->act_csv_calc_show, editing->tab_calculations},
        {p->act_csv_delcolumns_show, editing->tab_delcolumns},
    };
    for (const auto& [button, page] : pages) {
        editing->Hide();
        ClickControl(button);
        EXPECT_TRUE(editing->Visible()) << U8(button->Name());
        EXPECT_EQ(editing->PageControl1->ActivePage(), page) << U8(button->Name());
    }
    p->act_transcript_userClick(p->act_transcript_user); // no editor created: nothing happens
}

TEST_F(ProgDialogsTest, SearchAndEncodingToolsOpenAndWorkWhileTheWorkingWindowWaits) {
    auto* search = new Tsearchfiles(Application);
    auto* coding = new Tchangecoding(Application);
    const std::pair<std::function<void()>, TForm*> openers[] = {
        {[&] { ClickControl(p->inp_searchfiles); }, search},
        {[&] { p->m_datei_search->Click(); }, search},
        {[&] { ClickControl(p->act_convert_button2); }, coding},
        {[&] { p->m_datei_code->Click(); }, coding},
    };
    for (const auto& [open, window] : openers) {
        window->Hide();
        open();
        EXPECT_TRUE(window->Visible()) << U8(window->Name());
    }
    // The tools are windows of their own: disabling the working window leaves them usable.
    p->SetEnabled(false);
    EXPECT_TRUE(search->Suchen->Widget()->isEnabled());
    EXPECT_TRUE(coding->Button2->Widget()->isEnabled());
    p->SetEnabled(true);
    search->Free();
    coding->Free();
}

TEST_F(ProgDialogsTest, TheCsvStepOverTheWorkingWindowUsesTheWindowsControls) {
    for (const char16_t* tick : {u"act_csv", u"act_csv_insert", u"act_csv_order"})
        find<TCheckBox>(tick)->SetChecked(true);
    editing->cb_col->SetText(u"1");
    editing->ed_insert->SetText(u"<");
    ClickControl(editing->Button4); // insert "<" before column 1
    editing->csv_onlylist->SetChecked(true);
    order->liste->Items().Clear();
    for (const char16_t* n : {u"2", u"1"})
        order->liste->Items().Add(n);
    const auto K = [](WideStringView s) { return WideString(s); };
    EXPECT_EQ(ApplyCsvStep(*p, u"a;b\r\nc;d", K), u"b;<a\r\nd;<c");
}

class ProgTransformTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        p = new Tprog(Application);
        p->DoCreate();
        t = new Ttransform(Application, dir());
        t->DoCreate();
    }
    void TearDown() override {
        t->Free();
        p->Free();
        TempFolderTest::TearDown();
    }
    Tprog* p = nullptr;
    Ttransform* t = nullptr;
};

TEST_F(ProgTransformTest, ASavedTableBecomesAChoiceOfTheTransliterationActionOnce) {
    ClickControl(p->act_transcript_user);
    EXPECT_TRUE(t->Visible());
    const int before = p->act_transkription->Items().Count();
    t->cb_auswahl->SetText(u"Mein");
    t->liste->SetText(u"x|y");
    ClickControl(t->BitBtn2);
    ClickControl(t->BitBtn2);
    ASSERT_EQ(p->act_transkription->Items().Count(), before + 1);
    EXPECT_EQ(p->act_transkription->Items().Get(before), u"Mein");
}

} // namespace
