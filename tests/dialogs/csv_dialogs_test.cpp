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
    return ListViewRows(list);
}

// One window of class T, shown, with the German texts and a stand-in working window.
template <class T> struct WindowTest : ::testing::Test {
    ScopedLanguage german{u"de"};
    FakeWorkingWindow working;
    T* w = nullptr;
    void SetUp() override {
        w = createWindow<T>();
        w->Show();
    }
    void TearDown() override { w->Free(); }
};

using CsvEditingTest = WindowTest<Tcsv_editing>;

// "1|REPLACE|a|b" as the row it describes.
ListRow rowOf(WideStringView pattern) {
    TWideStrArray cells;
    for (size_t start = 0;;) {
        size_t bar = std::min(pattern.find(u'|', start), pattern.size());
        cells.emplace_back(pattern.substr(start, bar - start));
        if (bar == pattern.size()) break;
        start = bar + 1;
    }
    return ListRow{cells[0], TWideStrArray(cells.begin() + 1, cells.end())};
}

TEST_F(CsvEditingTest, AddButtonsAppendRowsOnlyWhenTheirConditionHolds) {
    using T = Tcsv_editing;
    auto check = [](TCheckBox* T::*box) { return [box](T& e) { (e.*box)->SetChecked(true); }; };
    auto radio = [](TRadioButton* T::*b) { return [b](T& e) { (e.*b)->SetChecked(true); }; };
    struct Case {
        TButton* T::*button;
        const char16_t* column;
        const char16_t* text; // ed_suchen, ed_insert or ed_calc_value
        std::function<void(T&)> set;
        const char16_t* row; // empty: no row
    } cases[] = {
        {&T::Button3, u"1", u"a+",
         [](T& e) {
             e.cb_suchen_regex->SetChecked(true);
             e.cb_ersetzen_regex->SetChecked(true);
             e.cb_ersetzen_caseinsensitive->SetChecked(true);
         },
         u"1|REPLACE REGEX|a+|new"},
        {&T::Button3, u"1", u"a+", check(&T::cb_suchen_regex), u"1|REPLACE REGEX SR|a+|new"},
        {&T::Button3, u"1", u"a", check(&T::cb_ersetzen_caseinsensitive), u"1|REPLACE CI|a|new"},
        {&T::Button3, u"1", u"a", check(&T::cb_ersetzen_regex), u"1|REPLACE|a|new"},
        {&T::Button3, u"-3", u"a", {}, u"-3|REPLACE|a|new"}, // "-3" and "$1F" are integers
        {&T::Button3, u"$1F", u"a", {}, u"$1F|REPLACE|a|new"},
        {&T::Button3, u"1", u"", {}, u""},
        {&T::Button3, u"x", u"a", {}, u""},
        {&T::Button4, u"1", u"t",
         [](T& e) {
             e.rb_insert_position->SetChecked(true);
             e.ed_insert_position->SetText(u"x");
         },
         u""},
        {&T::Button4, u"1", u"t",
         [](T& e) {
             e.rb_insert_position->SetChecked(true);
             e.ed_insert_position->SetText(u"5");
         },
         u"1|INSERT POSITION|t|5"},
        {&T::Button4, u"1", u"t", {}, u"1|INSERT BEFORE|t|"},
        {&T::Button4, u"1", u"t", radio(&T::rb_insert_hinten), u"1|INSERT AFTER|t|"},
        {&T::Button4, u"1", u"t", radio(&T::rb_insert_ifempty), u"1|INSERT IF EMPTY|t|"},
        {&T::Button4, u"1", u"t", radio(&T::rb_insert_ifnotempty), u"1|INSERT IF NOT EMPTY|t|"},
        {&T::Button4, u"1", u"", {}, u""},
        {&T::Button5, u"", u"", {}, u"|WRITING|UPPERCASE|"},
        {&T::Button5, u"1", u"", radio(&T::rb_writing_lowercase), u"1|WRITING|LOWERCASE|"},
        {&T::Button5, u"1", u"", radio(&T::rb_writing_trim), u"1|WRITING|TRIM|"},
        {&T::Button6, u"1", u"1.5", radio(&T::rb_calc_mal), u""},
        {&T::Button6, u"1", u"10", radio(&T::rb_calc_mal), u"1|CALC|MULT|10"},
        {&T::Button6, u"x", u"-2", radio(&T::rb_calc_div), u"x|CALC|DIV|-2"},
        {&T::Button6, u"1", u"7", radio(&T::rb_calc_minus), u"1|CALC|SUBT|7"},
    };
    for (const Case& c : cases) {
        Tcsv_editing* e = createWindow<Tcsv_editing>();
        e->Show();
        e->cb_col->SetText(c.column);
        e->ed_suchen->SetText(c.text);
        e->ed_ersetzen->SetText(u"new");
        e->ed_insert->SetText(c.text);
        if (c.button == &T::Button6) e->ed_calc_value->SetText(c.text);
        if (c.set) c.set(*e);
        ClickControl(e->*c.button);
        std::vector<ListRow> expected;
        if (*c.row) expected.push_back(rowOf(c.row));
        EXPECT_EQ(rowsOf(e->csv_liste), expected) << U8(c.row) << " " << U8(c.text);
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
    EXPECT_EQ(w->Caption(), u"CSV Editing");
    EXPECT_EQ(w->csv_liste->Columns()[2]->Caption(), u"Value 1");
    EXPECT_EQ(w->tab_writing->Caption(), u"Writing and Format");
    LanguageCode = u"de";
    w->Sprache();
    EXPECT_EQ(w->cb_col->Items().Get(15), u"Andere..");
    EXPECT_EQ(w->cb_col->Text(), u"17");
}

TEST_F(CsvEditingTest, NewColumnsGoOnFromTheLastNumberBeforeOther) {
    w->bt_newcolsClick(w->bt_newcols);
    w->bt_newcolsClick(w->bt_newcols);
    EXPECT_EQ(w->cb_col->Items().GetTextStr().substr(47),
              u"15\r\n16\r\n17\r\n18\r\n19\r\n20\r\n21\r\n22\r\n23\r\n24\r\n25\r\nAndere..\r\n");
    EXPECT_EQ(w->cb_col->Text(), u"1");
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

struct CsvOrderTest : WindowTest<Tcsv_order> {
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

TEST_F(CsvOrderTest, PlusAppendsFiveNumbersAndOkHides) {
    EXPECT_NE(w->StaticText1->Caption().find(u"ändern.\r\n\r\nWenn die Anzahl"), WideString::npos);
    ClickControl(w->BitBtn1);
    EXPECT_EQ(items(), u"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20");
    EXPECT_FALSE(w->BitBtn5->Visible());
    EXPECT_FALSE(w->BitBtn6->Visible());
    ClickControl(w->Button2);
    EXPECT_EQ(working.previews, 1);
    EXPECT_FALSE(w->Visible());
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
        if (auto k = key.As<CheckKey>()) {
            EXPECT_EQ(settings.Checked(*k), design.Checked(*k)) << key;
        }
        if (auto k = key.As<TextKey>()) {
            EXPECT_EQ(settings.Text(*k), design.Text(*k)) << key;
        }
        if (auto k = key.As<ItemsKey>()) {
            EXPECT_EQ(settings.Items(*k), design.Items(*k)) << key;
        }
        if (auto k = key.As<RowsKey>()) {
            EXPECT_EQ(settings.Rows(*k), design.Rows(*k)) << key;
        }
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
