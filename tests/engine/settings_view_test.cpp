#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/SettingsView.h"

namespace {

TEST(SettingsView, DesignValuesOfTheControlsTheEngineReads) {
    MemorySettings s;
    struct Case {
        const char* name;
        const char* text;
    };
    for (const Case& c :
         {Case{"out_name", "%name%-1"}, Case{"out_ordner", "<beibehalten>"},
          Case{"out_format", "<beibehalten>"}, Case{"act_konst_start", "1"},
          Case{"act_dateisplit_minlaenge", "5"}, Case{"act_csv_trenner", ";"},
          Case{"act_csv_ende", "%zeilenumbruch%"}, Case{"act_csv_feldbegrenzer", "\""},
          Case{"act_transkription", "Griechisch - Latein (ISO 843)"},
          Case{"act_zeilen_laengemax", "50"}, Case{"ed_calc_value", "10"},
          Case{"ed_insert_position", "3"}})
        EXPECT_EQ(s.Text(c.name), U16(c.text)) << c.name;
    for (const char* on : {"out_onlyifchanged", "act_trans_kleinzusatz", "out_newimage",
                           "act_transcript_umlaute", "act_zeilen_nummern5", "rb_beibehalten",
                           "jazubom", "act_csv_feldbegrenzer_individuell", "act_cbnl_check"})
        EXPECT_TRUE(s.Checked(on)) << on;
    for (const char* off : {"out_overwrite", "act_konstanten", "act_trans_reverse", "act_csv"})
        EXPECT_FALSE(s.Checked(off)) << off;
    EXPECT_EQ(s.RowCount("qulist"), 0u);
    TWideStrArray order = s.Items("liste");
    ASSERT_EQ(order.size(), 15u);
    EXPECT_EQ(order.front(), u"1");
    EXPECT_EQ(order.back(), u"15");
}

TEST(SettingsView, UnknownNamesAndWrongKindsAreErrors) {
    MemorySettings s;
    EXPECT_THROW(s.Checked("act_no_such_box"), UnknownSetting);
    EXPECT_THROW(s.Text("out_nam"), UnknownSetting);
    EXPECT_THROW(s.Checked("out_name"), UnknownSetting);    // a combo box
    EXPECT_THROW(s.Text("act_konstanten"), UnknownSetting); // a tick box
    EXPECT_THROW(s.Rows("liste"), UnknownSetting);          // a list box
    EXPECT_THROW(s.SetText("qulist", "x"), UnknownSetting);
}

TEST(SettingsView, RadioButtonsOfOneGroupExcludeEachOther) {
    MemorySettings s;
    s.SetChecked("out_overwrite", true);
    EXPECT_TRUE(s.Checked("out_overwrite"));
    EXPECT_FALSE(s.Checked("out_newimage"));
    s.SetChecked("rb_calc_div", true);
    EXPECT_FALSE(s.Checked("rb_calc_plus"));
    EXPECT_TRUE(s.Checked("out_overwrite")); // other groups untouched
    s.SetChecked("act_konstanten", true);
    s.SetChecked("act_konst_all", false);
    EXPECT_TRUE(s.Checked("act_konstanten"));
    EXPECT_FALSE(s.Checked("act_konst_all"));
}

TEST(SettingsView, ListRowsKeepCaptionAndSubItems) {
    MemorySettings s;
    s.AddRow("csv_liste", {u"1", {u"CALC", u"DIV", u"2"}});
    s.AddRow("csv_liste", {u"2", {u"WRITING"}});
    auto rows = s.Rows("csv_liste");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].SubItem(2), u"2");
    EXPECT_EQ(rows[1].SubItem(1), u"");
    EXPECT_EQ(s.RowCount("csv_liste"), 2u);
}

TEST(SettingsView, TableHasUniqueNamesAndConsistentDesignValues) {
    std::set<std::string> names;
    std::set<std::string> checkedRadioGroups;
    for (const SettingControl& c : SettingControls()) {
        EXPECT_TRUE(names.insert(c.name).second) << "duplicate " << c.name;
        EXPECT_EQ(FindSettingControl(c.name), &c);
        if (c.kind == ControlKind::CheckBox || c.kind == ControlKind::RadioButton) {
            EXPECT_TRUE(std::string(c.design) == "0" || std::string(c.design) == "1") << c.name;
        }
        if (c.kind == ControlKind::RadioButton) {
            EXPECT_STRNE(c.group, "") << c.name;
            if (std::string(c.design) == "1") {
                EXPECT_TRUE(checkedRadioGroups.insert(std::string(c.window) + c.group).second)
                    << "two checked radio buttons in the group of " << c.name;
            }
        }
    }
    // Every radio group starts with exactly one checked button.
    std::set<std::string> groups;
    for (const SettingControl& c : SettingControls())
        if (c.kind == ControlKind::RadioButton) groups.insert(std::string(c.window) + c.group);
    EXPECT_EQ(groups, checkedRadioGroups);
    EXPECT_EQ(FindSettingControl("nothing"), nullptr);
}

} // namespace
