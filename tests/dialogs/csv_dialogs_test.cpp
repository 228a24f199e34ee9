// The CSV windows through their widgets: the add buttons' rules, dragging rows, the column
// order list, the column box, the languages, and what the CSV step makes of their controls.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/FakeWorkingWindow.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/WindowSettingsView.h"
#include "dialogs/u_csv_editing.h"
#include "dialogs/u_csv_order.h"
#include "engine/CsvStep.h"

namespace {

template <class T> T* createWindow() {
    T* w = new T(nullptr);
    w->DoCreate();
    return w;
}

// The user picks an item of a combo box from its list.
void chooseItem(TComboBox* box, int index) {
    auto* q = static_cast<QComboBox*>(box->Widget());
    q->setCurrentIndex(index);
    emit q->activated(index);
}

std::vector<ListRow> rowsOf(TListView* list) {
    std::vector<ListRow> rows;
    for (int i = 0; i < list->Items().Count(); ++i) {
        TListItem* item = list->Items()[i];
        ListRow row{item->Caption(), {}};
        for (int s = 0; s < item->SubItems().Count(); ++s)
            row.subItems.push_back(item->SubItems().Get(s));
        rows.push_back(row);
    }
    return rows;
}

struct CsvEditingTest : ::testing::Test {
    ScopedLanguage german{u"de"};
    FakeWorkingWindow working;
    Tcsv_editing* w = nullptr;
    void SetUp() override {
        w = createWindow<Tcsv_editing>();
        w->Show();
    }
    void TearDown() override { w->Free(); }
};

TEST_F(CsvEditingTest, AddButtonsAppendRowsOnlyWhenTheirConditionHolds) {
    using Setup = std::function<void(Tcsv_editing&)>;
    auto replace = [](const char16_t* search, bool sr, bool rr, bool ci) -> Setup {
        return [=](Tcsv_editing& e) {
            e.ed_suchen->SetText(search);
            e.ed_ersetzen->SetText(u"new");
            e.cb_suchen_regex->SetChecked(sr);
            e.cb_ersetzen_regex->SetChecked(rr);
            e.cb_ersetzen_caseinsensitive->SetChecked(ci);
        };
    };
    auto insert = [](const char16_t* text, TRadioButton* Tcsv_editing::*where,
                     const char16_t* position) -> Setup {
        return [=](Tcsv_editing& e) {
            e.ed_insert->SetText(text);
            (e.*where)->SetChecked(true);
            e.ed_insert_position->SetText(position);
        };
    };
    auto calc = [](const char16_t* value, TRadioButton* Tcsv_editing::*op) -> Setup {
        return [=](Tcsv_editing& e) {
            e.ed_calc_value->SetText(value);
            (e.*op)->SetChecked(true);
        };
    };
    auto column = [](const char16_t* col, Setup then) -> Setup {
        return [=](Tcsv_editing& e) {
            then(e);
            e.cb_col->SetText(col);
        };
    };
    using T = Tcsv_editing;
    struct Case {
        const char* what;
        Setup setup;
        TButton* T::*button;
        std::optional<ListRow> row;
    } cases[] = {
        {"both regex boxes and the case box", replace(u"a+", true, true, true), &T::Button3,
         ListRow{u"1", {u"REPLACE REGEX", u"a+", u"new"}}},
        {"search regex only", replace(u"a+", true, false, false), &T::Button3,
         ListRow{u"1", {u"REPLACE REGEX SR", u"a+", u"new"}}},
        {"search regex and case box", replace(u"a+", true, false, true), &T::Button3,
         ListRow{u"1", {u"REPLACE REGEX SR", u"a+", u"new"}}},
        {"case box only", replace(u"a", false, false, true), &T::Button3,
         ListRow{u"1", {u"REPLACE CI", u"a", u"new"}}},
        {"replacement regex alone", replace(u"a", false, true, false), &T::Button3,
         ListRow{u"1", {u"REPLACE", u"a", u"new"}}},
        {"empty search", replace(u"", false, false, false), &T::Button3, std::nullopt},
        {"column no integer", column(u"x", replace(u"a", false, false, false)), &T::Button3,
         std::nullopt},
        {"negative column", column(u"-3", replace(u"a", false, false, false)), &T::Button3,
         ListRow{u"-3", {u"REPLACE", u"a", u"new"}}},
        {"hexadecimal column", column(u"$1F", replace(u"a", false, false, false)), &T::Button3,
         ListRow{u"$1F", {u"REPLACE", u"a", u"new"}}},
        {"insert at position x", insert(u"t", &T::rb_insert_position, u"x"), &T::Button4,
         std::nullopt},
        {"insert at position 5", insert(u"t", &T::rb_insert_position, u"5"), &T::Button4,
         ListRow{u"1", {u"INSERT POSITION", u"t", u"5"}}},
        {"insert before (position ignored)", insert(u"t", &T::rb_insert_vorne, u"x"), &T::Button4,
         ListRow{u"1", {u"INSERT BEFORE", u"t", u""}}},
        {"insert after", insert(u"t", &T::rb_insert_hinten, u"3"), &T::Button4,
         ListRow{u"1", {u"INSERT AFTER", u"t", u""}}},
        {"insert if empty", insert(u"t", &T::rb_insert_ifempty, u"3"), &T::Button4,
         ListRow{u"1", {u"INSERT IF EMPTY", u"t", u""}}},
        {"insert if not empty", insert(u"t", &T::rb_insert_ifnotempty, u"3"), &T::Button4,
         ListRow{u"1", {u"INSERT IF NOT EMPTY", u"t", u""}}},
        {"empty insert text", insert(u"", &T::rb_insert_vorne, u"3"), &T::Button4, std::nullopt},
        {"insert with column no integer", column(u"x", insert(u"t", &T::rb_insert_vorne, u"3")),
         &T::Button4, std::nullopt},
        {"writing with an empty column",
         column(u"", [](T& e) { e.rb_writing_uppercase->SetChecked(true); }), &T::Button5,
         ListRow{u"", {u"WRITING", u"UPPERCASE", u""}}},
        {"writing lower case", [](T& e) { e.rb_writing_lowercase->SetChecked(true); }, &T::Button5,
         ListRow{u"1", {u"WRITING", u"LOWERCASE", u""}}},
        {"writing trim", [](T& e) { e.rb_writing_trim->SetChecked(true); }, &T::Button5,
         ListRow{u"1", {u"WRITING", u"TRIM", u""}}},
        {"calculation value 1.5", calc(u"1.5", &T::rb_calc_mal), &T::Button6, std::nullopt},
        {"calculation 10 times", calc(u"10", &T::rb_calc_mal), &T::Button6,
         ListRow{u"1", {u"CALC", u"MULT", u"10"}}},
        {"calculation -2 divided", column(u"x", calc(u"-2", &T::rb_calc_div)), &T::Button6,
         ListRow{u"x", {u"CALC", u"DIV", u"-2"}}},
        {"calculation design values", [](T&) {}, &T::Button6,
         ListRow{u"1", {u"CALC", u"ADD", u"10"}}},
        {"calculation minus", calc(u"7", &T::rb_calc_minus), &T::Button6,
         ListRow{u"1", {u"CALC", u"SUBT", u"7"}}},
    };
    for (const Case& c : cases) {
        Tcsv_editing* e = createWindow<Tcsv_editing>();
        e->Show();
        c.setup(*e);
        ClickControl(e->*c.button);
        std::vector<ListRow> expected;
        if (c.row) expected.push_back(*c.row);
        EXPECT_EQ(rowsOf(e->csv_liste), expected) << c.what;
        e->Free();
    }
}

TEST_F(CsvEditingTest, OtherColumnTakesATypedNumberThatSurvivesTheLanguageSwitch) {
    auto* box = static_cast<QComboBox*>(w->cb_col->Widget());
    ASSERT_EQ(w->cb_col->Items().Count(), 16);
    EXPECT_EQ(w->cb_col->Items().Get(15), u"Andere..");
    chooseItem(w->cb_col, 15);
    EXPECT_EQ(w->cb_col->Text(), u"");
    EXPECT_EQ(w->cb_col->ItemIndex(), -1);
    for (const char* ch : {"1", "7"})
        TypeChar(w->cb_col, QString::fromLatin1(ch));
    EXPECT_EQ(box->lineEdit()->text(), QStringLiteral("17"));
    w->ed_suchen->SetText(u"a");
    ClickControl(w->Button3);
    ASSERT_EQ(w->csv_liste->Items().Count(), 1);
    EXPECT_EQ(w->csv_liste->Items()[0]->Caption(), u"17");

    LanguageCode = u"en";
    w->Sprache();
    EXPECT_EQ(w->cb_col->Text(), u"17");
    EXPECT_EQ(w->cb_col->Items().Get(15), u"Other..");
    EXPECT_EQ(w->cb_col->Items().Get(14), u"15");
    LanguageCode = u"de";
    w->Sprache();
    EXPECT_EQ(w->cb_col->Items().Get(15), u"Andere..");
    EXPECT_EQ(w->cb_col->Text(), u"17");
}

TEST_F(CsvEditingTest, NewColumnsGoOnFromTheLastNumberBeforeOther) {
    w->bt_newcolsClick(w->bt_newcols);
    w->bt_newcolsClick(w->bt_newcols);
    ASSERT_EQ(w->cb_col->Items().Count(), 26);
    EXPECT_EQ(w->cb_col->Items().Get(15), u"16");
    EXPECT_EQ(w->cb_col->Items().Get(24), u"25");
    EXPECT_EQ(w->cb_col->Items().Get(25), u"Andere..");
    EXPECT_EQ(w->cb_col->Text(), u"1");
    EXPECT_FALSE(w->bt_newcols->Visible());
}

struct CsvListDrag : CsvEditingTest {
    void fill(std::initializer_list<const char16_t*> captions) {
        for (const char16_t* c : captions) {
            w->cb_col->SetText(c);
            w->rb_writing_trim->SetChecked(true);
            ClickControl(w->Button5);
        }
    }
    WideString order() const {
        WideString s;
        for (const ListRow& r : rowsOf(w->csv_liste)) {
            s += r.caption;
            EXPECT_EQ(r.subItems, (TWideStrArray{u"WRITING", u"TRIM", u""})) << U8(r.caption);
        }
        return s;
    }
    QPoint rowCentre(int i) const {
        QTreeWidget* t = w->csv_liste->Tree();
        return t->visualItemRect(t->topLevelItem(i)).center();
    }
    void drag(QPoint from, QPoint to) {
        QWidget* vp = w->csv_liste->Tree()->viewport();
        MouseAt(vp, QEvent::MouseButtonPress, from);
        MouseAt(vp, QEvent::MouseMove, from + QPoint(0, 12));
        MouseAt(vp, QEvent::MouseMove, to);
        MouseAt(vp, QEvent::MouseButtonRelease, to);
    }
};

TEST_F(CsvListDrag, SelectedRowsMoveBeforeTheDropRowAndNeverBreak) {
    struct Case {
        std::vector<int> selected;
        int pressRow;
        int dropRow; // -1: below the last row
        const char16_t* expected;
    } cases[] = {
        {{2, 3}, 2, 0, u"cdab"},
        {{0, 1}, 0, -1, u"cdab"},
        {{2, 3}, 3, 2, u"abcd"}, // onto one of the dragged rows
        {{0, 2}, 0, 3, u"bacd"},
    };
    for (const Case& c : cases) {
        w->csv_liste->Items().Clear();
        fill({u"a", u"b", u"c", u"d"});
        w->csv_liste->ClearSelection();
        for (int i : c.selected)
            w->csv_liste->Items()[i]->SetSelected(true);
        const QPoint to = c.dropRow >= 0 ? rowCentre(c.dropRow) : rowCentre(3) + QPoint(0, 60);
        drag(rowCentre(c.pressRow), to);
        EXPECT_EQ(order(), c.expected);
        EXPECT_EQ(w->csv_liste->SelCount(), int(c.selected.size()));
    }
}

TEST_F(CsvListDrag, CtrlAAndDeleteWorkOnTheSelectedRows) {
    fill({u"a", u"b", u"c"});
    w->csv_liste->SetFocus();
    w->csv_liste->Items()[1]->SetSelected(true);
    PressKey(w->csv_liste->Widget(), Qt::Key_Delete, "");
    EXPECT_EQ(order(), u"ac");
    PressKey(w->csv_liste->Widget(), Qt::Key_A, "a", Qt::ControlModifier);
    EXPECT_EQ(w->csv_liste->SelCount(), 2);
    PressKey(w->csv_liste->Widget(), Qt::Key_Delete, "");
    EXPECT_EQ(w->csv_liste->Items().Count(), 0);
}

// Apply and OK refresh the preview even while the working window is disabled (a stand-in
// window here); OK hides the window.
TEST_F(CsvEditingTest, ApplyAndOkRefreshThePreviewWhileTheWorkingWindowIsDisabled) {
    auto* main = new TForm(nullptr);
    main->Show();
    main->SetEnabled(false);
    EXPECT_EQ(w->FormStyle(), fsStayOnTop);
    EXPECT_TRUE(w->Button1->Widget()->isEnabled());
    ClickControl(w->Button1);
    EXPECT_EQ(working.previews, 1);
    EXPECT_TRUE(w->Visible());
    ClickControl(w->Button2);
    EXPECT_EQ(working.previews, 2);
    EXPECT_FALSE(w->Visible());
    w->ShowPage(w->tab_calculations);
    EXPECT_TRUE(w->Visible());
    EXPECT_EQ(w->PageControl1->ActivePage(), w->tab_calculations);
    main->Free();
}

struct CsvOrderTest : ::testing::Test {
    ScopedLanguage german{u"de"};
    FakeWorkingWindow working;
    Tcsv_order* w = nullptr;
    void SetUp() override {
        w = createWindow<Tcsv_order>();
        w->Show();
    }
    void TearDown() override { w->Free(); }
    WideString items() const {
        WideString s;
        for (int i = 0; i < w->liste->Count(); ++i)
            s += (i ? u"," : u"") + w->liste->Items().Get(i);
        return s;
    }
    QPoint itemCentre(int i) const {
        auto* list = static_cast<QListWidget*>(w->liste->Widget());
        return list->visualItemRect(list->item(i)).center();
    }
};

TEST_F(CsvOrderTest, ItemsFollowThePointerWhileDragged) {
    while (w->liste->Count() > 5)
        w->liste->Items().Delete(5);
    w->liste->ClearSelection();
    w->liste->SetSelected(3, true);
    w->liste->SetSelected(4, true);
    w->liste->SetItemIndex(3);
    QWidget* vp = static_cast<QListWidget*>(w->liste->Widget())->viewport();
    MouseAt(vp, QEvent::MouseButtonPress, itemCentre(3));
    EXPECT_EQ(w->liste->SelCount(), 2); // a press on a selected item keeps the selection
    MouseAt(vp, QEvent::MouseMove, itemCentre(3) - QPoint(0, 8));
    MouseAt(vp, QEvent::MouseMove, itemCentre(1));
    EXPECT_EQ(items(), u"1,4,5,2,3"); // moved on the drag-over, before any drop
    MouseAt(vp, QEvent::MouseButtonRelease, itemCentre(1));
    EXPECT_EQ(items(), u"1,4,5,2,3");
    EXPECT_TRUE(w->liste->Selected(1));
    EXPECT_TRUE(w->liste->Selected(2));
    EXPECT_EQ(w->liste->SelCount(), 2);
    // A plain click afterwards selects just that item.
    MouseAt(vp, QEvent::MouseButtonPress, itemCentre(4));
    MouseAt(vp, QEvent::MouseButtonRelease, itemCentre(4));
    EXPECT_EQ(w->liste->SelCount(), 1);
    EXPECT_TRUE(w->liste->Selected(4));
}

TEST_F(CsvOrderTest, PlusAppendsFiveNumbersAndTheHiddenButtonsExchange) {
    ClickControl(w->BitBtn1);
    EXPECT_EQ(items(), u"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20");
    EXPECT_FALSE(w->BitBtn5->Visible());
    EXPECT_FALSE(w->BitBtn6->Visible());
    w->liste->SetItemIndex(0);
    w->BitBtn5Click(w->BitBtn5); // the first item cannot go up
    w->BitBtn6Click(w->BitBtn6);
    EXPECT_EQ(w->liste->ItemIndex(), 1);
    w->liste->SetItemIndex(19);
    w->BitBtn6Click(w->BitBtn6); // nor the last down
    w->BitBtn5Click(w->BitBtn5);
    EXPECT_EQ(items().substr(0, 6), u"2,1,3,");
    EXPECT_EQ(items().substr(items().size() - 6), u",20,19");
    ClickControl(w->Button2);
    EXPECT_EQ(working.previews, 1);
    EXPECT_FALSE(w->Visible());
}

TEST_F(CsvOrderTest, InstructionsAndCaptionsInBothLanguages) {
    EXPECT_EQ(w->Caption(), u"CSV Bearbeitung: Reihenfolge von Spalten");
    EXPECT_NE(w->StaticText1->Caption().find(u"CSV-Datei zu ändern.\r\n\r\nWenn die Anzahl"),
              WideString::npos);
    LanguageCode = u"en";
    w->Sprache();
    EXPECT_EQ(w->Caption(), u"CSV Editing: Order of Columns");
    EXPECT_EQ(w->Button1->Caption(), u"Apply");
    EXPECT_EQ(w->StaticText1->Caption(),
              u"Move the elements in the left box up and down to change the order of the "
              u"columns in your CSV-file.\r\n\r\nIf there are not enough elements in the box, "
              u"click on \"+\" to add new elements.\r\n\r\nClick on \"Apply\" to get a preview.");
}

// The settings as a working window reads them: its own controls (here in memory) and the
// dialogs' controls through the view over the registered windows.
class WorkingWindowSettings : public MemorySettings {
public:
    bool Checked(CheckKey key) const override {
        return own(key) ? MemorySettings::Checked(key) : dialogs.Checked(key);
    }
    WideString Text(TextKey key) const override {
        return own(key) ? MemorySettings::Text(key) : dialogs.Text(key);
    }
    std::vector<ListRow> Rows(RowsKey key) const override {
        return own(key) ? MemorySettings::Rows(key) : dialogs.Rows(key);
    }
    TWideStrArray Items(ItemsKey key) const override {
        return own(key) ? MemorySettings::Items(key) : dialogs.Items(key);
    }

private:
    static bool own(SettingKey key) { return key.window() == "Tprog"; }
    WindowSettingsView dialogs;
};

TEST_F(CsvEditingTest, ThePreviewAppliesWhatTheWindowsHold) {
    Tcsv_order* order = createWindow<Tcsv_order>();
    WorkingWindowSettings settings;
    // The windows start with the engine's design values.
    const MemorySettings design;
    for (SettingKey key : AllSettingKeys()) {
        if (key.window() != "Tcsv_editing" && key.window() != "Tcsv_order") continue;
        if (auto k = key.As<CheckKey>()) EXPECT_EQ(settings.Checked(*k), design.Checked(*k)) << key;
        if (auto k = key.As<TextKey>()) EXPECT_EQ(settings.Text(*k), design.Text(*k)) << key;
        if (auto k = key.As<ItemsKey>()) EXPECT_EQ(settings.Items(*k), design.Items(*k)) << key;
        if (auto k = key.As<RowsKey>()) EXPECT_EQ(settings.Rows(*k), design.Rows(*k)) << key;
    }
    EXPECT_EQ(SettingsWindow("Tcsv_order"), order);
    settings.SetChecked({"Tprog", "act_csv"}, true);
    settings.SetChecked({"Tprog", "act_csv_writing"}, true);
    settings.SetChecked({"Tprog", "act_csv_calc"}, true);
    settings.SetChecked({"Tprog", "act_csv_order"}, true);
    w->csv_onlylist->SetChecked(true);
    w->cb_col->SetText(u"2");
    ClickControl(w->Button5); // column 2 upper case
    w->cb_col->SetText(u"3");
    w->rb_calc_mal->SetChecked(true);
    ClickControl(w->Button6); // column 3 times 10
    order->liste->Items().Clear();
    for (const char16_t* n : {u"3", u"2", u"1"})
        order->liste->Items().Add(n);
    ClickControl(w->Button1);
    const auto K = [](WideStringView s) { return WideString(s); };
    EXPECT_EQ(ApplyCsvStep(settings, u"a;b;4\r\nc;d;5", K), u"40;B;a\r\n50;D;c");
    order->Free();
}

} // namespace
