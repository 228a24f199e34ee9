#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "engine/SettingsView.h"

namespace {

TEST(SettingsView, DesignValuesOfTheControlsTheEngineReads) {
    MemorySettings s;
    struct Case {
        TextKey key;
        const char* text;
    };
    for (const Case& c :
         {Case{{"Tprog", "out_name"}, "%name%-1"}, Case{{"Tprog", "out_ordner"}, "<beibehalten>"},
          Case{{"Tprog", "out_format"}, "<beibehalten>"}, Case{{"Tprog", "act_konst_start"}, "1"},
          Case{{"Tprog", "act_dateisplit_minlaenge"}, "5"}, Case{{"Tprog", "act_csv_trenner"}, ";"},
          Case{{"Tprog", "act_csv_ende"}, "%zeilenumbruch%"},
          Case{{"Tprog", "act_csv_feldbegrenzer"}, "\""},
          Case{{"Tprog", "act_transkription"}, "Griechisch - Latein (ISO 843)"},
          Case{{"Tprog", "act_zeilen_laengemax"}, "50"},
          Case{{"Tcsv_editing", "ed_calc_value"}, "10"},
          Case{{"Tcsv_editing", "ed_insert_position"}, "3"},
          Case{{"Teinstausgabe", "Edit1"}, "#FFFFFF"}})
        EXPECT_EQ(s.Text(c.key), U16(c.text)) << c.key;
    for (CheckKey on :
         std::initializer_list<CheckKey>{{"Tprog", "out_onlyifchanged"},
                                         {"Tprog", "act_trans_kleinzusatz"},
                                         {"Tprog", "out_newimage"},
                                         {"Tprog", "act_transcript_umlaute"},
                                         {"Tprog", "act_zeilen_nummern5"},
                                         {"Teinstausgabe", "rb_beibehalten"},
                                         {"Teinstausgabe", "jazubom"},
                                         {"Tprog", "act_csv_feldbegrenzer_individuell"},
                                         {"Tprog", "act_cbnl_check"}})
        EXPECT_TRUE(s.Checked(on)) << on;
    for (CheckKey off : std::initializer_list<CheckKey>{{"Tprog", "out_overwrite"},
                                                        {"Tprog", "act_konstanten"},
                                                        {"Tprog", "act_trans_reverse"},
                                                        {"Tprog", "act_csv"},
                                                        {"Tprog", "act_dateizus_vorschaueinzeln"}})
        EXPECT_FALSE(s.Checked(off)) << off;
    EXPECT_EQ(s.RowCount({"Tprog", "qulist"}), 0u);
    TWideStrArray order = s.Items({"Tcsv_order", "liste"});
    ASSERT_EQ(order.size(), 15u);
    EXPECT_EQ(order.front(), u"1");
    EXPECT_EQ(order.back(), u"15");
    EXPECT_EQ(s.RowCount({"Tcsv_order", "liste"}), 15u);
    EXPECT_EQ(s.Font({"Teinstausgabe", "Label3"}),
              (FontSetting{u"Courier New", 8, false, false, false, false, 0}));
}

TEST(SettingsView, ComboBoxesCarryTheirItemLists) {
    struct Case {
        SettingKey key;
        size_t count;
        const char* first;
        const char* last;
    };
    for (const Case& c : {
             Case{TextKey{"Tprog", "out_ordner"}, 3, "<beibehalten>", "Benutzerdefiniert.."},
             Case{TextKey{"Tprog", "out_name"}, 8, "<beibehalten>", "Benutzerdefiniert.."},
             Case{TextKey{"Tprog", "out_format"}, 15, "<beibehalten>", "Benutzerdefiniert.."},
             Case{TextKey{"Tprog", "act_csv_feldbegrenzer"}, 3, "\"", "Benutzerdefiniert.."},
             Case{TextKey{"Tprog", "act_zeilen_sortierung"}, 2, "abc", "cba"},
             Case{TextKey{"Tcsv_editing", "cb_col"}, 16, "1", "Andere.."},
             Case{TextKey{"Tprog", "act_newline_neu"}, 8, "CRLF - Windows, DOS, OS/2, CP/M, TOS",
                  nullptr},
             Case{ItemsKey{"Tcsv_order", "liste"}, 15, "1", "15"},
         }) {
        TWideStrArray items = DesignItems(c.key);
        ASSERT_EQ(items.size(), c.count) << c.key;
        EXPECT_EQ(items.front(), U16(c.first)) << c.key;
        if (c.last) {
            EXPECT_EQ(items.back(), U16(c.last)) << c.key;
        }
    }
    // The empty entry of the quote box sits between its neighbours.
    EXPECT_EQ(DesignItems(TextKey{"Tprog", "act_csv_feldbegrenzer"})[1], u"");
    // Every combo box's text at creation is one of its entries, where the table holds them.
    for (SettingKey key : AllSettingKeys())
        if (key.kind() == ControlKind::ComboBox && !key.control().items.empty()) {
            TWideStrArray items = DesignItems(key);
            EXPECT_NE(std::find(items.begin(), items.end(), U16(key.control().design)), items.end())
                << key;
        }
}

TEST(SettingsView, RadioButtonsOfOneGroupExcludeEachOther) {
    MemorySettings s;
    s.SetChecked({"Tprog", "out_overwrite"}, true);
    EXPECT_TRUE(s.Checked({"Tprog", "out_overwrite"}));
    EXPECT_FALSE(s.Checked({"Tprog", "out_newimage"}));
    s.SetChecked({"Tcsv_editing", "rb_calc_div"}, true);
    EXPECT_FALSE(s.Checked({"Tcsv_editing", "rb_calc_plus"}));
    EXPECT_TRUE(s.Checked({"Tprog", "out_overwrite"})); // other groups untouched
    s.SetChecked({"Tprog", "act_konstanten"}, true);
    s.SetChecked({"Tprog", "act_konst_all"}, false);
    EXPECT_TRUE(s.Checked({"Tprog", "act_konstanten"}));
    EXPECT_FALSE(s.Checked({"Tprog", "act_konst_all"}));
}

TEST(SettingsView, ListRowsKeepCaptionAndSubItems) {
    MemorySettings s;
    s.AddRow({"Tcsv_editing", "csv_liste"}, {u"1", {u"CALC", u"DIV", u"2"}});
    s.AddRow({"Tcsv_editing", "csv_liste"}, {u"2", {u"WRITING"}});
    auto rows = s.Rows({"Tcsv_editing", "csv_liste"});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].SubItem(2), u"2");
    EXPECT_EQ(rows[1].SubItem(1), u"");
    EXPECT_EQ(s.RowCount({"Tcsv_editing", "csv_liste"}), 2u);
}

TEST(SettingsView, TableRowsAreUniquePerWindowWithConsistentDesignValues) {
    std::set<std::pair<std::string_view, std::string_view>> controls;
    std::set<std::string> checkedRadioGroups;
    std::set<std::string> groups;
    for (SettingKey key : AllSettingKeys()) {
        const SettingControl& c = key.control();
        EXPECT_FALSE(c.window.empty()) << key;
        EXPECT_TRUE(controls.insert({c.window, c.name}).second) << "duplicate " << key;
        EXPECT_EQ(FindSettingKey(c.window, c.name), key);
        if (auto check = key.As<CheckKey>()) {
            EXPECT_TRUE(c.design == "0" || c.design == "1") << key;
        }
        if (c.kind == ControlKind::RadioButton) {
            EXPECT_FALSE(c.group.empty()) << key;
            const std::string group = std::string(c.window) + "." + std::string(c.group);
            groups.insert(group);
            if (c.design == "1") {
                EXPECT_TRUE(checkedRadioGroups.insert(group).second)
                    << "two checked radio buttons in the group of " << key;
            }
        }
    }
    // Every radio group starts with exactly one checked button.
    EXPECT_EQ(groups, checkedRadioGroups);
    // Found only by window and name together; one name may live in several windows.
    EXPECT_NE(SettingKey(ItemsKey{"Tcsv_order", "liste"}),
              SettingKey(TextKey{"Ttransform", "liste"}));
    EXPECT_EQ(FindSettingKey("Tdateinamenumbenenner", "qulist"),
              SettingKey(RowsKey{"Tdateinamenumbenenner", "qulist"}));
    EXPECT_NE(FindSettingKey("Tdateinamenumbenenner", "qulist"), FindSettingKey("Tprog", "qulist"));
    EXPECT_FALSE(FindSettingKey("Tprog", "liste"));
    EXPECT_FALSE(FindSettingKey("Tcsv_order", "qulist"));
    EXPECT_FALSE(FindSettingKey("", "qulist"));
    EXPECT_TRUE(FindSettingKey("Tcsv_order", "liste"));
}

TEST(SettingsView, KeysNarrowOnlyToTheirOwnKind) {
    SettingKey combo = TextKey{"Tprog", "out_name"};
    EXPECT_TRUE(combo.As<TextKey>());
    EXPECT_FALSE(combo.As<CheckKey>());
    EXPECT_FALSE(combo.As<ListKey>());
    ListKey list = RowsKey{"Tprog", "qulist"};
    EXPECT_TRUE(list.As<RowsKey>());
    EXPECT_FALSE(list.As<ItemsKey>());
    std::ostringstream out;
    out << combo;
    EXPECT_EQ(out.str(), "Tprog.out_name");
}

// The same name in two windows: the lookup takes both parts, so each finds its own row.
constexpr SettingControl kTwoWindows[] = {
    {"Tone", "liste", ControlKind::ListBox, ""},
    {"Ttwo", "liste", ControlKind::ListView, ""},
};
static_assert(setting_table::IndexOf(kTwoWindows, "Tone", "liste") == 0);
static_assert(setting_table::IndexOf(kTwoWindows, "Ttwo", "liste") == 1);

} // namespace
