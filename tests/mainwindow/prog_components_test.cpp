// The working window's components: every setting control of the engine's table with its
// kind and design value, the kinds and parents of the named components (the nesting is
// part of the configuration files), and a run started from the window that converts
// files exactly as the same run over the settings in memory.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ProgTestSupport.h"
#include "dialogs/WindowSettingsView.h"
#include "engine/BatchRun.h"
#include "engine/FakeRun.h"
#include "support/ModalInterceptor.h"
#include "text/UCodeSysUtils.h"

namespace {

namespace fs = std::filesystem;

template <class T> bool Is(const TComponent* c) {
    return dynamic_cast<const T*>(c) != nullptr;
}
using KindTest = bool (*)(const TComponent*);

bool HasKind(const TComponent* c, ControlKind kind) {
    switch (kind) {
    case ControlKind::CheckBox:
        return Is<TCheckBox>(c);
    case ControlKind::RadioButton:
        return Is<TRadioButton>(c);
    case ControlKind::Edit:
        return Is<TEdit>(c);
    case ControlKind::Memo:
        return Is<TMemo>(c);
    case ControlKind::ComboBox:
        return Is<TComboBox>(c);
    case ControlKind::ListView:
        return Is<TListView>(c);
    case ControlKind::ListBox:
        return Is<TListBox>(c);
    case ControlKind::Font:
        return Is<TControl>(c);
    }
    return false;
}

TEST_F(ProgTest, EverySettingControlExistsWithItsKindAndDesignValue) {
    const MemorySettings design;
    int checked = 0;
    for (SettingKey key : AllSettingKeys()) {
        std::ostringstream trace;
        trace << key;
        SCOPED_TRACE(trace.str());
        TForm* window = key.window() == "Tprog" ? p : SettingsWindow(key.window());
        if (!window) continue; // windows built elsewhere join when they register
        TComponent* c = window->FindComponent(U16(key.name()));
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(HasKind(c, key.kind()));
        if (key.window() != "Tprog") continue;
        // The window's view reads the same design value as the settings in memory.
        if (auto k = key.As<CheckKey>()) {
            EXPECT_EQ(p->Checked(*k), design.Checked(*k));
        }
        if (auto k = key.As<TextKey>()) {
            EXPECT_EQ(U8(p->Text(*k)), U8(design.Text(*k)));
        }
        if (auto k = key.As<RowsKey>()) {
            EXPECT_EQ(p->Rows(*k), design.Rows(*k));
        }
        ++checked;
    }
    EXPECT_GT(checked, 130);
    // A window that does not exist yet answers with its design values.
    EXPECT_EQ(p->Checked({"Teinstausgabe", "rb_beibehalten"}),
              design.Checked({"Teinstausgabe", "rb_beibehalten"}));
}

struct Placed {
    const char16_t* name;
    KindTest kind;
    const char16_t* parent; // nullptr: no parent control (a menu item, dialog or timer)
};

TEST_F(ProgTest, ComponentsHaveTheirKindsAndParents) {
    const Placed table[] = {
        {u"Panel1", Is<TPanel>, u"prog"},
        {u"Panel2", Is<TPanel>, u"Panel1"},
        {u"Splitter1", Is<TSplitter>, u"Panel1"},
        {u"Panel3", Is<TPanel>, u"Panel1"},
        {u"Panel4", Is<TPanel>, u"Panel2"},
        {u"box_dat", Is<TPanel>, u"Panel4"},
        {u"box_dat_top", Is<TPanel>, u"box_dat"},
        {u"close_input", Is<TImage>, u"box_dat_top"},
        {u"qulist", Is<TListView>, u"box_dat"},
        {u"splitter_files_preview", Is<TSplitter>, u"Panel2"},
        {u"Panel5", Is<TPanel>, u"Panel2"},
        {u"box_vor", Is<TPanel>, u"Panel5"},
        {u"box_vor_top", Is<TPanel>, u"box_vor"},
        {u"Panel22", Is<TPanel>, u"box_vor"},
        {u"Panel9", Is<TPanel>, u"Panel22"},
        {u"splitter_preview_old_new", Is<TSplitter>, u"Panel22"},
        {u"Panel10", Is<TPanel>, u"Panel22"},
        {u"vor_alt", Is<TMemo>, u"Panel9"},
        {u"vor_neu", Is<TMemo>, u"Panel10"},
        {u"vor_showalt", Is<TCheckBox>, u"box_vor_top"},
        {u"Panel7", Is<TPanel>, u"Panel3"},
        {u"box_akt", Is<TPanel>, u"Panel7"},
        {u"ScrollBox1", Is<TScrollBox>, u"box_akt"},
        {u"Panel6", Is<TPanel>, u"Panel3"},
        {u"box_sav", Is<TPanel>, u"Panel6"},
        {u"out_ordner", Is<TComboBox>, u"box_sav"},
        {u"outordnerbt", Is<TButton>, u"box_sav"},
        {u"act_ers_text", Is<TCheckBox>, u"apanel10"},
        {u"act_ers_text_bb", Is<TBitBtn>, u"apanel10"},
        {u"act_ers_text_suchen", Is<TMemo>, u"apanel11"},
        {u"act_ers_text_suchen_regfehler", Is<TLabel>, u"apanel11"},
        {u"plus_ers_suche", Is<TImage>, u"apanel11"},
        {u"BitBtn1", Is<TBitBtn>, u"apanel11"},
        {u"act_ers_weitere", Is<TCheckBox>, u"apanel11"},
        {u"act_anfuegen_vorn", Is<TRadioButton>, u"apanel31"},
        {u"act_anfuegen_pos", Is<TEdit>, u"apanel31"},
        {u"Panel11", Is<TPanel>, u"apanel31"},
        {u"act_anfuegen_datei", Is<TRadioButton>, u"Panel11"},
        {u"act_anfuegen_zeile_txt_gk", Is<TCheckBox>, u"Panel11"},
        {u"act_newlinewindows", Is<TCheckBox>, u"apanel931"},
        {u"act_dateizus_vorschaueinzeln", Is<TCheckBox>, u"apanel91a"},
        {u"act_weitere", Is<TCheckBox>, u"apanelweitere0"},
        {u"Label42", Is<TLabel>, u"apanelweitere1"},
        {u"act_csv_replace_show", Is<TButton>, u"apanel951"},
        {u"act_convert_label", Is<TLabel>, u"apanel941"},
        {u"pa_bottom", Is<TPanel>, u"prog"},
        {u"durchfuehren", Is<TButton>, u"pa_bottom"},
        {u"max_input", Is<TButton>, u"pa_bottom"},
        {u"max_b1", Is<TBevel>, u"pa_bottom"},
        {u"laspenden", Is<TLabel>, u"pa_bottom"},
        {u"menu", Is<TMainMenu>, nullptr},
        {u"m_konfig_autosave_alles", Is<TMenuItem>, nullptr},
        {u"popupqulist", Is<TPopupMenu>, nullptr},
        {u"pop8", Is<TMenuItem>, nullptr},
        {u"IconList", Is<TImageList>, nullptr},
        {u"od", Is<TOpenDialog>, nullptr},
        {u"od_dateiliste", Is<TOpenDialog>, nullptr},
        {u"sd_dateiliste", Is<TSaveDialog>, nullptr},
        {u"sd_konfig", Is<TSaveDialog>, nullptr},
        {u"od_konfig", Is<TOpenDialog>, nullptr},
        {u"VorschauTimer", Is<TTimer>, nullptr},
    };
    for (const Placed& e : table) {
        SCOPED_TRACE(U8(e.name));
        TComponent* c = find(e.name);
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(e.kind(c));
        auto* control = dynamic_cast<TControl*>(c);
        if (!e.parent) {
            EXPECT_EQ(control, nullptr);
            continue;
        }
        ASSERT_NE(control, nullptr);
        ASSERT_NE(control->Parent(), nullptr);
        EXPECT_EQ(U8(control->Parent()->Name()), U8(e.parent));
    }
    // The sixteen groups: header and body panels in the action box, in stacking order.
    const char16_t* groups[][2] = {
        {u"apanel10", u"apanel11"},   {u"apanel20", u"apanel21"},
        {u"apanel30", u"apanel31"},   {u"apanel40", u"apanel41"},
        {u"apanel50", u"apanel51"},   {u"apanel60", u"apanel61"},
        {u"apanel70", u"apanel71"},   {u"apanel80", u"apanel81"},
        {u"apanel90a", u"apanel91a"}, {u"apanel90b", u"apanel91b"},
        {u"apanel90c", u"apanel91c"}, {u"apanel920", u"apanel921"},
        {u"apanel930", u"apanel931"}, {u"apanel940", u"apanel941"},
        {u"apanel950", u"apanel951"}, {u"apanelweitere0", u"apanelweitere1"}};
    for (int i = 0; i < Tprog::kActionGroups; ++i) {
        SCOPED_TRACE(U8(groups[i][0]));
        EXPECT_EQ(p->ActionGroups()[i].header, find(groups[i][0]));
        EXPECT_EQ(p->ActionGroups()[i].body, find(groups[i][1]));
        EXPECT_EQ(p->ActionGroups()[i].header->Parent(), p->ScrollBox1);
        EXPECT_EQ(p->ActionGroups()[i].body->Parent(), p->ScrollBox1);
        EXPECT_FALSE(p->ActionGroups()[i].body->Visible());
    }
    // The configuration menu holds nine items at design: the first file added is item 9.
    EXPECT_EQ(p->m_konfig->Count(), 9);
    EXPECT_EQ(p->menu->Items()->IndexOf(p->m_konfig), 3);
}

// A profile of the insert group stores the controls directly in its two panels: the
// place of the insertion, but not the lines it goes into (they sit in Panel11).
TEST_F(ProgTest, InsertProfileHoldsThePlaceButNotTheLines) {
    std::vector<std::string> inGroup;
    for (int i = 0; i < p->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(p->Components(i));
        if (c && c->Parent() && (c->Parent() == p->apanel30 || c->Parent() == p->apanel31))
            inGroup.push_back(U8(c->Name()));
    }
    auto has = [&](const char* n) {
        return std::find(inGroup.begin(), inGroup.end(), n) != inGroup.end();
    };
    for (const char* n :
         {"act_anfuegen", "act_anfuegen_text", "act_anfuegen_liste", "act_anfuegen_vorn",
          "act_anfuegen_hinten", "act_anfuegen_pos_rb", "act_anfuegen_pos"})
        EXPECT_TRUE(has(n)) << n;
    for (const char* n : {"act_anfuegen_datei", "act_anfuegen_jedezeile", "act_anfuegen_zeile_rb",
                          "act_anfuegen_zeile_txt_rb", "act_anfuegen_zeile",
                          "act_anfuegen_zeile_txt", "act_anfuegen_zeile_txt_gk"})
        EXPECT_FALSE(has(n)) << n;
    // The two radio groups are independent: the place and the lines each keep one ticked.
    p->act_anfuegen_hinten->SetChecked(true);
    p->act_anfuegen_jedezeile->SetChecked(true);
    EXPECT_FALSE(p->act_anfuegen_vorn->Checked());
    EXPECT_FALSE(p->act_anfuegen_datei->Checked());
    EXPECT_TRUE(p->act_anfuegen_hinten->Checked());
}

class ProgRunTest : public ProgTest {
protected:
    void SetUp() override {
        ProgTest::SetUp();
        root = fs::temp_directory_path() / ("prog_run_" + std::to_string(::getpid()));
        fs::remove_all(root);
    }
    void TearDown() override {
        fs::remove_all(root);
        ProgTest::TearDown();
    }
    // The input files in a fresh folder, as input list rows.
    std::vector<ListRow> files(const std::string& sub) {
        std::vector<ListRow> rows;
        fs::create_directories(root / sub);
        for (const auto& [name, bytes] : inputs) {
            std::ofstream(root / sub / name, std::ios::binary) << bytes;
            const WideString path = U16((root / sub / name).string());
            rows.push_back({U16(name), {u"TXT", u"Text", u"", u"1 KB", u"Neu", path, u"0"}});
        }
        return rows;
    }
    std::string read(const fs::path& f) const {
        std::ifstream in(f, std::ios::binary);
        std::stringstream b;
        b << in.rdbuf();
        return b.str();
    }

    fs::path root;
    const std::vector<std::pair<std::string, std::string>> inputs = {
        {"a.txt", "x1\r\nGrüße x\r\n"},
        {"b.log", "\xEF\xBB\xBFxyz x"},
        {"c.txt", "nothing here"},
    };
};

TEST_F(ProgRunTest, RunFromTheWindowWritesWhatTheRunInMemoryWrites) {
    for (const ListRow& r : files("window")) {
        TListItem* item = p->qulist->Items().Add();
        item->SetCaption(r.caption);
        for (const WideString& s : r.subItems)
            item->SubItems().Add(s);
    }
    p->act_ers_text->SetChecked(true);
    p->act_ers_text_suchen->SetText(u"x");
    p->act_ers_text_ersetzen->SetText(u"Ω");
    p->durchfuehrenClick(p->durchfuehren);

    MemorySettings s;
    FakeRun ui(s);
    s.SetRows({"Tprog", "qulist"}, files("memory"));
    s.SetChecked({"Tprog", "act_ers_text"}, true);
    s.SetText({"Tprog", "act_ers_text_suchen"}, WideStringView(u"x"));
    s.SetText({"Tprog", "act_ers_text_ersetzen"}, WideStringView(u"Ω"));
    ConversionEngine engine(s, ui, p->RunState());
    BatchRun(engine).durchfuehrenClick(nullptr);

    for (const char* out : {"a-1.txt", "b-1.log", "c-1.txt"}) {
        SCOPED_TRACE(out);
        const bool written = fs::exists(root / "memory" / out);
        EXPECT_EQ(fs::exists(root / "window" / out), written);
        EXPECT_EQ(read(root / "window" / out), read(root / "memory" / out));
    }
    EXPECT_EQ(read(root / "window" / "a-1.txt"), "Ω1\r\nGrüße Ω\r\n");
    EXPECT_FALSE(progress->Visible());
    EXPECT_TRUE(p->Enabled());
}

TEST_F(ProgRunTest, ExistingOutputIsWrittenOnlyWhenTheQuestionSaysYes) {
    for (const ListRow& r : files("window")) {
        TListItem* item = p->qulist->Items().Add();
        item->SetCaption(r.caption);
        for (const WideString& s : r.subItems)
            item->SubItems().Add(s);
    }
    std::ofstream(root / "window" / "a-1.txt", std::ios::binary) << "old a";
    std::ofstream(root / "window" / "b-1.log", std::ios::binary) << "old b";
    p->act_ers_text->SetChecked(true);
    p->act_ers_text_suchen->SetText(u"x");
    p->act_ers_text_ersetzen->SetText(u"y");
    std::vector<std::string> asked;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        EXPECT_EQ(r.Form, question);
        asked.push_back(U8(question->Label3->Caption()));
        TButton* button = asked.size() == 1 ? question->Nein : question->OK;
        button->Click();
        return int(question->ModalResult());
    });
    p->durchfuehrenClick(p->durchfuehren);
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(read(root / "window" / "a-1.txt"), "old a");
    EXPECT_EQ(read(root / "window" / "b-1.log"), "\xEF\xBB\xBFyyz y");
}

} // namespace

namespace {

// The user's tables beside the program are listed by file name, every ".txt" removed, also
// from subfolders; a missing folder leaves the built-in tables alone.
TEST_F(ProgTest, UserTransliterationTablesAreListedByName) {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("prog_tables_" + std::to_string(::getpid()));
    fs::create_directories(folder / "Transliteration" / "more");
    std::ofstream(folder / "Transliteration" / "Greek.txt") << "a|b";
    std::ofstream(folder / "Transliteration" / "more" / "Old.txt.txt") << "a|b";
    std::ofstream(folder / "Transliteration" / "notes.md") << "-";
    const int builtIn = p->act_transkription->Items().Count();
    p->AddTransliterationTables(U16((folder / "missing").string()));
    EXPECT_EQ(p->act_transkription->Items().Count(), builtIn);
    p->AddTransliterationTables(U16((folder / "Transliteration").string()));
    std::vector<std::string> added;
    for (int i = builtIn; i < p->act_transkription->Items().Count(); ++i)
        added.push_back(U8(p->act_transkription->Items().Get(i)));
    std::sort(added.begin(), added.end());
    EXPECT_EQ(added, (std::vector<std::string>{"Greek", "Old"}));
    EXPECT_EQ(U8(p->act_transkription->Text()), "Griechisch - Latein (ISO 843)");
    fs::remove_all(folder);
}

} // namespace
