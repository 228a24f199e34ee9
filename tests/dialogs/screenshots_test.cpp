// Screenshots of the CSV windows, the table editor, the replacement lists and the
// regular-expression settings in German and English, written under
// the build folder (screenshots/dialogs/) to look at; captions must fit their controls.
#include <gtest/gtest.h>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/FakeWorkingWindow.h"
#include "dialogs/u_csv_editing.h"
#include "dialogs/u_csv_order.h"
#include "dialogs/u_einstregex.h"
#include "dialogs/u_replace_import.h"
#include "dialogs/u_transform.h"
#include "engine/Transliteration.h"
#include "regex/RegExpr.h"

namespace {

template <class T> void shoot(T* w, const std::string& name) {
    w->DoCreate();
    SaveScreenshots(w, name.c_str(), [&] {
        w->Sprache();
        ExpectCaptionsFit(w, name + "-" + U8(LanguageCode));
    });
    w->Free();
}

TEST(Screenshots, CsvEditingOnEveryTab) {
    FakeWorkingWindow working;
    for (int page = 0; page < 5; ++page) {
        auto* w = new Tcsv_editing(nullptr);
        w->PageControl1->SetActivePageIndex(page);
        w->ed_suchen->SetText(u"(\\d+)");
        w->cb_suchen_regex->SetChecked(true);
        w->Button3Click(w->Button3);
        w->Button5Click(w->Button5);
        w->Button6Click(w->Button6);
        shoot(w, "csv_editing-tab" + std::to_string(page));
    }
}

TEST(Screenshots, CsvOrderAndTransform) {
    FakeWorkingWindow working;
    shoot(new Tcsv_order(nullptr), "csv_order");
    auto* t = new Ttransform(nullptr);
    t->liste->SetText(BuiltInTranscriptTables()[1].text);
    shoot(t, "transform");
}

TEST(Screenshots, ReplacementListsAndRegexSettings) {
    FakeWorkingWindow working;
    const TRegExprDefaults saved = RegExprDefaults;
    auto* r = new Treplace_import(nullptr, u"/nonexistent/");
    r->liste->SetText(u"Straße|Strasse\r\nx\\nly|z|reg=s\r\n(\\d+)-(\\d+)|$2-$1|reg=sr");
    r->rb_reg_individuell->SetChecked(true);
    shoot(r, "replace_import");
    shoot(new Teinstregex(nullptr), "einstregex");
    RegExprDefaults = saved;
}

} // namespace
