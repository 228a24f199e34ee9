// Engine code that names its settings wrongly must not compile. Built once per case by the
// tests of compile_fail.cmake; case 0 is right and must compile.
#include "engine/SettingsView.h"

#include <string>

bool read(const SettingsView& s) {
#if SETTING_KEY_CASE == 0
    return s.Checked({"Tprog", "act_konstanten"}) && !s.Text({"Tprog", "out_name"}).empty() &&
           s.RowCount(RowsKey{"Tprog", "qulist"}) > 0 && s.Items({"Tcsv_order", "liste"}).empty();
#elif SETTING_KEY_CASE == 1 // a misspelt name
    return s.Checked({"Tprog", "act_konstanen"});
#elif SETTING_KEY_CASE == 2 // a control of another window
    return s.Checked({"Teinstausgabe", "act_konstanten"});
#elif SETTING_KEY_CASE == 3 // a tick box read as text
    return s.Text({"Tprog", "act_konstanten"}).empty();
#elif SETTING_KEY_CASE == 4 // a list box read as a list view
    return s.Rows({"Tcsv_order", "liste"}).empty();
#elif SETTING_KEY_CASE == 5 // a name without its window
    return s.Checked({"act_konstanten"});
#elif SETTING_KEY_CASE == 6 // a name made at run time
    std::string name = "act_konstanten";
    return s.Checked({"Tprog", name});
#elif SETTING_KEY_CASE == 7 // "liste" of the transliteration editor is a memo, not the list box
    return s.Items({"Ttransform", "liste"}).empty();
#endif
}
