// Configuration files and profiles: round trips through real files, partial files,
// profiles, the defaults, the menu of configurations and damaged or unwritable files.
#include <QTemporaryDir>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

#include "ProgTestSupport.h"
#include "dialogs/ConfigurationWindows.h"
#include "dialogs/u_csv_editing.h"
#include "dialogs/u_csv_order.h"
#include "dialogs/u_profilspeichern.h"
#include "dialogs/u_sm_filter.h"
#include "support/FileSizeLimit.h"
#include "support/ModalInterceptor.h"
#include "text/ProfileFile.h"

namespace {

std::string Bytes(const WideString& Path) {
    std::ifstream in(std::string(Path.begin(), Path.end()), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void WriteBytes(const WideString& Path, const std::string& Data) {
    std::ofstream(std::string(Path.begin(), Path.end()), std::ios::binary) << Data;
}

class ConfigTest : public ProgTest {
protected:
    void SetUp() override {
        ProgTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        csv = new Tcsv_editing(Application);
        profile = new Tprofilspeichern(Application);
    }
    void TearDown() override {
        profile->Free();
        csv->Free();
        ProgTest::TearDown();
    }
    WideString file(const char* name) const { return U16(dir.path().toStdString() + "/" + name); }
    // A fresh working window in place of the present one.
    void recreate() {
        p->Free();
        p = new Tprog(Application);
        p->DoCreate();
    }
    static void addRow(TListView* list, std::vector<WideString> cells) {
        TListItem* item = list->Items().Add();
        item->SetCaption(cells[0]);
        for (size_t i = 1; i < cells.size(); ++i)
            item->SubItems().Add(cells[i]);
    }
    std::vector<ListRow> rows(TListView* list) const { return ListViewRows(list); }

    QTemporaryDir dir;
    Tcsv_editing* csv = nullptr;
    Tprofilspeichern* profile = nullptr;
};

TEST(QuoteIniValue, AddsOnePairToAValueEnclosedInQuotes) {
    const std::pair<WideString, WideString> cases[] = {
        {u"'x'", u"''x''"}, {u"\"y\"", u"\"\"y\"\""}, {u"'", u"'"},       {u"\"", u"\""},
        {u"", u""},         {u"''", u"''''"},         {u"'x\"", u"'x\""}, {u"a'", u"a'"},
    };
    for (const auto& [value, quoted] : cases)
        EXPECT_EQ(Tprog::QuoteIniValue(value), quoted);
}

TEST_F(ConfigTest, RoundTripsKeyByKeyAndGivesTheSameBytesFromAFreshWindow) {
    p->act_ers_text_suchen->SetText(u"a\r\nb\r\n\r\nc");
    p->act_dateisplit_text->SetText(u"x\x1F"
                                    u"y");
    p->inp_ordner->SetText(u"'x'");
    p->act_ers_zeile_suchen->SetText(u"\"y\"");
    p->act_del_zeile_suchen->SetText(u"'");
    p->act_zeilen_laengemax->SetText(u"");
    p->out_name->SetText(u" %name% ");
    p->act_ers_casesensitive->SetChecked(false);
    p->act_sons_mixedcase->SetChecked(true);
    addRow(p->act_ers_text_liste, {u"one", u"1", u"x"});
    addRow(p->act_ers_text_liste, {u"two\r\nlines", u"", u"'q'"});
    addRow(p->act_ers_text_liste, {u"three", u"3"}); // a missing sub-item stores empty
    addRow(csv->csv_liste, {u"1", u"a", u"b", u"c"});
    addRow(csv->csv_liste, {u"2", u"\"d\"", u"", u"e\r\nf"});
    profile->act_html->SetChecked(true);
    p->vor_alt->Font()->SetStyle(fsBold | fsItalic);
    p->vor_alt->Font()->SetName(u"Some Font");
    p->SetInputBoxHeight(250);

    const WideString first = file("first.qvr"), second = file("second.qvr");
    p->KonfigurationSpeichern(p, first);
    const std::string bytes = Bytes(first);
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    // The memo is one line: U+001F for each CR LF.
    const auto memo = ProfileReadString(first, u"PBMM", u"act_ers_text_suchen");
    ASSERT_TRUE(memo);
    EXPECT_EQ(*memo, u"a\x1F"
                     u"b\x1F\x1F"
                     u"c");
    EXPECT_EQ(ProfileReadString(first, u"PBLV", u"act_ers_text_liste"), u"3");
    EXPECT_FALSE(ProfileReadString(first, u"PBMM", u"vor_alt"));
    EXPECT_FALSE(ProfileReadString(first, u"PBLV", u"qulist"));

    recreate();
    csv->csv_liste->Items().Clear();
    profile->act_html->SetChecked(false);
    p->KonfigurationLaden(p, first);
    EXPECT_EQ(p->act_ers_text_suchen->Text(), u"a\r\nb\r\n\r\nc");
    EXPECT_EQ(p->act_dateisplit_text->Text(), u"x\r\ny");
    EXPECT_EQ(p->inp_ordner->Text(), u"'x'");
    EXPECT_EQ(p->act_ers_zeile_suchen->Text(), u"\"y\"");
    EXPECT_EQ(p->act_del_zeile_suchen->Text(), u"'");
    EXPECT_EQ(p->act_zeilen_laengemax->Text(), u"");
    EXPECT_EQ(p->out_name->Text(), u" %name% ");
    EXPECT_FALSE(p->act_ers_casesensitive->Checked());
    EXPECT_TRUE(p->act_sons_mixedcase->Checked());
    EXPECT_EQ(rows(p->act_ers_text_liste), (std::vector<ListRow>{{u"one", {u"1", u"x"}},
                                                                 {u"two\r\nlines", {u"", u"'q'"}},
                                                                 {u"three", {u"3", u""}}}));
    EXPECT_EQ(rows(csv->csv_liste), (std::vector<ListRow>{{u"1", {u"a", u"b", u"c"}},
                                                          {u"2", {u"\"d\"", u"", u"e\r\nf"}}}));
    EXPECT_TRUE(profile->act_html->Checked());
    EXPECT_EQ(p->vor_neu->Font()->Style(), TFontStyles(fsBold | fsItalic));
    EXPECT_EQ(p->vor_neu->Font()->Name(), u"Some Font");
    EXPECT_EQ(p->Panel4->Height(), 250);

    p->KonfigurationSpeichern(p, second);
    EXPECT_EQ(Bytes(second), bytes);
}

// A memo text or list cell with a lone CR or LF comes back from the file as it was.
TEST_F(ConfigTest, LoneLineBreaksComeBackAsTheyWere) {
    const std::pair<const char16_t*, WideString> memos[] = {
        {u"act_ers_text_suchen", u"a\nb"},
        {u"act_ers_text_ersetzen", u"a\rb"},
        {u"act_anfuegen_text", u"\r\r\n\n\n\r x \r\n"},
        {u"act_del_text_suchen", u"\n"},
    };
    for (const auto& [name, text] : memos)
        find<TMemo>(name)->SetText(text);
    addRow(p->act_ers_text_liste, {u"one\rcell", u"\n", u"-"});
    const WideString saved = file("lone.qvr");
    p->KonfigurationSpeichern(p, saved);
    // Every entry stays on its line of the file.
    const std::string bytes = Bytes(saved);
    EXPECT_EQ(bytes.find("\r\r"), std::string::npos);
    EXPECT_EQ(bytes.find("\n\n"), std::string::npos);

    recreate();
    p->KonfigurationLaden(p, saved);
    for (const auto& [name, text] : memos)
        EXPECT_EQ(find<TMemo>(name)->Text(), text) << U8(name);
    EXPECT_EQ(rows(p->act_ers_text_liste), (std::vector<ListRow>{{u"one\rcell", {u"\n", u"-"}}}));
}

TEST_F(ConfigTest, TheCsvWindowsComeBackIntoFreshWindows) {
    csv_order = nullptr;
    auto* order = new Tcsv_order(Application);
    const std::vector<ListRow> rowsSaved = {{u"1", {u"REPLACE REGEX", u"a\r\nb", u"\"q\""}},
                                            {u"17", {u"INSERT POSITION", u"'x'", u"5"}},
                                            {u"", {u"WRITING", u"", u"\r\n"}}};
    for (const ListRow& row : rowsSaved)
        addRow(csv->csv_liste, {row.caption, row.subItems[0], row.subItems[1], row.subItems[2]});
    csv->csv_onlylist->SetChecked(!csv->csv_onlylist->Checked());
    csv->ed_delcolumns->SetText(u"2;4");
    order->liste->Items().SetText(u"1\r\n4\r\n5\r\n2\r\n3\r\n16");
    const WideString path = file("csv.qvr");
    p->KonfigurationSpeichern(p, path);
    const bool onlyList = csv->csv_onlylist->Checked();
    const WideString columns = order->liste->Items().Text();

    order->Free();
    csv->Free();
    csv = new Tcsv_editing(Application);
    order = new Tcsv_order(Application);
    ASSERT_EQ(csv->csv_liste->Items().Count(), 0);
    ASSERT_EQ(order->liste->Items().Count(), 15);
    p->KonfigurationLaden(p, path);
    EXPECT_EQ(rows(csv->csv_liste), rowsSaved);
    EXPECT_EQ(csv->csv_onlylist->Checked(), onlyList);
    EXPECT_EQ(csv->ed_delcolumns->Text(), u"2;4");
    EXPECT_EQ(order->liste->Items().Text(), columns);
    order->Free();
}

TEST_F(ConfigTest, APartialFileChangesItsKeyAndTheThreeDefaultsOnly) {
    p->act_ers_text_suchen->SetText(u"kept");
    p->act_zeilen_laengemax->SetText(u"77");
    p->act_html->SetChecked(true);
    addRow(p->act_ers_text_liste, {u"a", u"b", u"c"});
    addRow(p->act_anfuegen_liste, {u"a", u"b", u"c"});
    p->vor_alt->Font()->SetStyle(fsUnderline | fsStrikeOut);
    p->m_anz_inputClick(p->m_anz_vorschau); // the preview box hidden
    ASSERT_FALSE(p->Panel5->Visible());
    const WideString before = file("before.qvr"), partial = file("partial.qvr"),
                     after = file("after.qvr");
    p->KonfigurationSpeichern(p, before);
    WriteBytes(partial, "[PBED]\r\ninp_ordner=/tmp\r\n");

    p->KonfigurationLaden(p->m_konfig_load, partial);
    EXPECT_EQ(p->inp_ordner->Text(), u"/tmp");
    for (TListView* list : {p->act_ers_text_liste, p->act_ers_zeile_liste, p->act_anfuegen_liste,
                            p->act_del_text_liste})
        EXPECT_EQ(list->Items().Count(), 0);
    EXPECT_EQ(p->vor_alt->Font()->Style(), 0u);
    EXPECT_EQ(p->vor_neu->Font()->Style(), 0u);
    for (TMenuItem* item : {p->m_anz_input, p->m_anz_vorschau, p->m_anz_aktionen, p->m_anz_output})
        EXPECT_TRUE(item->Checked());
    EXPECT_TRUE(p->Panel4->Visible() && p->Panel5->Visible() && p->box_akt->Visible() &&
                p->Panel6->Visible());
    EXPECT_FALSE(p->m_konfig_load->Checked()); // the Sender's own tick is left alone

    // Every other control as before.
    p->KonfigurationSpeichern(p, after);
    for (const char16_t* section : {u"PBED", u"PBCB", u"PBRB", u"PBCH", u"PBSB", u"PBMM", u"CECH",
                                    u"CEED", u"PFED", u"PFCH", u"PSCH"}) {
        for (const WideString& key : ProfileReadKeyNames(before, section)) {
            if (key == u"inp_ordner") continue;
            EXPECT_EQ(ProfileReadString(after, section, key),
                      ProfileReadString(before, section, key))
                << std::string(key.begin(), key.end());
        }
    }
}

TEST_F(ConfigTest, AProfileHoldsTheAutosaveTicksAndTheDirectChildrenOfItsGroups) {
    profile->act_ers_text->SetChecked(true);
    addRow(p->act_ers_text_liste, {u"a", u"b", u"c"});
    const WideString path = file("profile.qvr");
    p->KonfigurationSpeichernProfil(profile->Button1, path);
    EXPECT_EQ(Bytes(path).substr(0, 2), "\xFF\xFE");

    TWideStrArray sections = ProfileReadSectionNames(path);
    std::sort(sections.begin(), sections.end());
    EXPECT_EQ(sections, (TWideStrArray{u"AS", u"PBCH", u"PBLV", u"PBMM"}));
    std::set<WideString> stored;
    for (const WideString& section : sections) {
        if (section == u"AS") continue;
        for (WideString key : ProfileReadKeyNames(path, section)) {
            key = key.substr(0, key.find(u'-')); // a list view's cells
            stored.insert(key);
            auto* control = dynamic_cast<TControl*>(p->FindComponent(key));
            ASSERT_TRUE(control) << std::string(key.begin(), key.end());
            EXPECT_TRUE(control->Parent() == p->apanel10 || control->Parent() == p->apanel11);
        }
    }
    for (const char16_t* name :
         {u"act_ers_text", u"act_ers_text_suchen", u"act_ers_text_liste", u"act_ers_casesensitive"})
        EXPECT_TRUE(stored.count(name)) << std::string(name, name + 4);
    EXPECT_EQ(ProfileReadString(path, u"AS", u"N"), u"1");

    // Loading it into a window with other lists: the other three lists are emptied.
    p->act_ers_text_liste->Items().Clear();
    addRow(p->act_del_text_liste, {u"x", u"y", u"z"});
    p->KonfigurationLaden(p, path);
    EXPECT_EQ(p->act_ers_text_liste->Items().Count(), 1);
    EXPECT_EQ(p->act_del_text_liste->Items().Count(), 0);
}

TEST_F(ConfigTest, ResetGivesEveryDefaultVerbatim) {
    // Stand-ins for the output settings and the renamer with the controls the reset names.
    TForm output(nullptr), renamer(nullptr);
    RegisterConfigurationWindow("EA", &output);
    RegisterConfigurationWindow("DU", &renamer);
    auto* background = new TEdit(&output);
    background->SetName(u"Edit1");
    auto* mask = new TEdit(&renamer);
    mask->SetName(u"maske");
    auto* filter = new Tsm_filter(Application);
    filter->ed_txt_web->SetText(u"x");
    filter->auswahl->SetChecked(true);

    p->out_name->SetText(u"changed");
    p->act_zeilen_laengemax->SetText(u"3");
    p->act_sons_keine->SetChecked(true);
    p->act_transcript_umlaute->SetChecked(false);
    p->act_ers_text_suchen->SetText(u"x");
    addRow(p->act_anfuegen_liste, {u"a", u"b", u"c"});
    p->apanel11->SetVisible(true);
    p->m_konfig_autosave_alles->SetChecked(true);
    p->m_konfig_autosave_nie->SetChecked(false);
    background->SetText(u"#000000");
    mask->SetText(u"x");
    p->m_konfig_standard->Click();

    EXPECT_EQ(p->out_name->Text(), u"%name%-1");
    EXPECT_EQ(p->out_format->Text(), u"<beibehalten>");
    EXPECT_EQ(p->out_ordner->Text(), u"<beibehalten>");
    EXPECT_EQ(p->act_zeilen_laengemax->Text(), u"50");
    EXPECT_EQ(p->act_zeilen_sortierung->Text(), u"abc");
    EXPECT_TRUE(p->act_sons_uppercase->Checked());
    EXPECT_FALSE(p->act_sons_keine->Checked());
    EXPECT_TRUE(p->act_transcript_umlaute->Checked());
    EXPECT_EQ(p->act_ers_text_suchen->Text(), u"");
    EXPECT_EQ(p->act_anfuegen_liste->Items().Count(), 0);
    EXPECT_FALSE(p->apanel11->Visible());
    EXPECT_TRUE(p->apanel10->Visible());
    EXPECT_EQ(p->vor_alt->Color(), 0xFFFFFF);
    EXPECT_EQ(p->vor_neu->Font()->Name(), u"Courier New");
    EXPECT_TRUE(p->m_konfig_autosave_nie->Checked());
    EXPECT_FALSE(p->m_konfig_autosave_alles->Checked());
    EXPECT_FALSE(p->m_konfig_standard->Checked());
    EXPECT_EQ(background->Text(), u"#FFFFFF");
    EXPECT_EQ(mask->Text(), u"%name%1");
    EXPECT_EQ(
        filter->ed_txt_web->Text(),
        u"htm,html,shtm,shtml,phtml,xhtml,hta,htc,xhtml,stm,ssi,js,as,asc,asr,xml,xsl,xsd,dtd,"
        u"xslt,rss,rdf,lbi,dwt,asp,asa,aspx,ascx,asmx,config,cs,css,cfm,cfml,cfc,tld,txt,php,"
        u"php3,php4,php5,jsp,wml,tpl,lassso,jsf,vb,vbs,vtm,vtml,inc,sql,java,edml,master,sql");
    EXPECT_TRUE(filter->alle->Checked());
    filter->Free();
    UnregisterConfigurationWindow(&output);
    UnregisterConfigurationWindow(&renamer);
}

TEST_F(ConfigTest, SavingAFileTwiceAddsOneMenuItem) {
    const WideString path = file("a.qvr");
    const int designItems = p->m_konfig->Count();
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        r.Answer = path;
        return 1;
    });
    p->m_konfig_save->Click();
    p->m_konfig_save->Click();
    ASSERT_EQ(p->m_konfig->Count(), designItems + 1);
    TMenuItem* added = p->m_konfig->Items(designItems);
    EXPECT_EQ(added->Name(), u"m_konfig_9");
    EXPECT_EQ(added->Hint(), path);
    // Another letter case is another file.
    p->KonfigurationAddMenu(p, file("A.qvr"));
    EXPECT_EQ(p->m_konfig->Count(), designItems + 2);

    // The item loads its file; "all" stored after the twelve choices keeps them.
    profile->alle->SetChecked(true);
    profile->act_html->SetChecked(false);
    p->KonfigurationSpeichern(p, path);
    profile->act_html->SetChecked(true);
    p->inp_ordner->SetText(u"changed");
    added->Click();
    EXPECT_FALSE(profile->act_html->Checked());
    EXPECT_TRUE(profile->alle->Checked());
    EXPECT_NE(p->inp_ordner->Text(), u"changed");
}

TEST_F(ConfigTest, GeometryFitsTheScreenAndTheStoredInputBoxHeightHolds) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    p->SetClientWidth(700);
    p->SetClientHeight(500);
    const WideString path = file("geometry.qvr");
    WriteBytes(path, "[SP]\r\nPF=0\r\nPB=" + std::to_string(screenWidth + 1) +
                         "\r\nPH=600\r\nPT=10\r\nPL=20\r\nPO=250\r\n");
    p->KonfigurationLaden(p, path);
    EXPECT_EQ(p->ClientWidth(), 700); // wider than the screen: ignored
    EXPECT_EQ(p->ClientHeight(), 600);
    EXPECT_EQ(p->Top(), 10);
    EXPECT_EQ(p->Left(), 20);
    EXPECT_EQ(p->Panel4->Height(), 250);
    // The next resize keeps the loaded proportion, not the one before the load.
    const int whole = p->Panel2->Height();
    p->ResizeSplitterFilesPreview(false);
    EXPECT_NEAR(p->Panel4->Height(), 250, 1);
    EXPECT_EQ(p->Panel2->Height(), whole);

    // Maximised: at once from the menu; on the first activation from the start window.
    WriteBytes(path, "[SP]\r\nPF=1\r\nPB=300\r\n");
    p->Tag = 1;
    TForm start(nullptr);
    TForm* mainForm = Application->MainForm();
    Application->SetMainForm(&start);
    p->KonfigurationLaden(&start, path);
    Application->SetMainForm(mainForm);
    EXPECT_EQ(p->Tag, 0);
    EXPECT_NE(p->WindowState(), wsMaximized);
    EXPECT_EQ(p->ClientWidth(), 700); // the stored size is not applied
    p->KonfigurationLaden(p->m_konfig_load, path);
    EXPECT_EQ(p->WindowState(), wsMaximized);
}

TEST_F(ConfigTest, DamagedFilesLoadWhatTheyCanAndChangeNothingOnDisk) {
    const WideString good = file("good.qvr");
    addRow(p->act_ers_text_liste, {u"a", u"b", u"c"});
    p->inp_ordner->SetText(u"/somewhere");
    p->KonfigurationSpeichern(p, good);
    const std::string bytes = Bytes(good);

    std::mt19937 random(19);
    std::string noise(4096, '\0');
    for (char& c : noise)
        c = char(random());
    const std::string damaged[] = {
        bytes.substr(0, bytes.size() / 2),
        noise,
        "[PBLV]\r\nact_ers_text_liste=2147483648\r\n",
        "[PBLV]\r\nact_ers_text_liste=2147483647\r\nact_ers_text_liste-0-a=first\r\n",
        "[PBLV]\r\nact_ers_text_liste=-5\r\n[SP]\r\nPF=0\r\nPB=-20\r\nPH=99999\r\n",
    };
    for (size_t i = 0; i < std::size(damaged); ++i) {
        const WideString path = file(("damaged" + std::to_string(i) + ".qvr").c_str());
        WriteBytes(path, damaged[i]);
        const auto start = std::chrono::steady_clock::now();
        p->KonfigurationLaden(p, path);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
        EXPECT_EQ(Bytes(path), damaged[i]) << i;
        EXPECT_LE(p->act_ers_text_liste->Items().Count(), 100000);
        EXPECT_GE(p->ClientWidth(), 0);
    }
    EXPECT_EQ(p->act_ers_text_liste->Items().Count(), 0);
    // A huge count is cut at 100,000 rows.
    p->KonfigurationLaden(p, file("damaged3.qvr"));
    EXPECT_EQ(p->act_ers_text_liste->Items().Count(), 100000);
    EXPECT_EQ(p->act_ers_text_liste->Items()[0]->Caption(), u"first");
    EXPECT_EQ(Bytes(good), bytes);
}

TEST_F(ConfigTest, AFailedWriteIsReportedWithThePathAndLeavesTheOldFileWhole) {
    const WideString path = file("old.qvr");
    p->KonfigurationSpeichern(p, path);
    const std::string old = Bytes(path);
    for (int i = 0; i < 50; ++i)
        addRow(p->act_ers_text_liste, {u"a longer row to grow the file", u"b", u"c"});
    try {
        FileSizeLimit limit(old.size() + 10);
        p->KonfigurationSpeichern(p, path);
        ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find(dir.path().toStdString()), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(Bytes(path), old);
    // A folder that does not exist.
    const WideString missing = file("no/such/folder.qvr");
    EXPECT_ANY_THROW(p->KonfigurationSpeichern(p, missing));
}

} // namespace
