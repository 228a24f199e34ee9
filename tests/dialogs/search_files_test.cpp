// The search in files: the search over the working window's list, locating in the preview,
// the work on the working window's list from the result, and the result list itself.
#include <QLocale>
#include <memory>
#include <sys/stat.h>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/FakeWorkingWindow.h"
#include "dialogs/u_inputselectfilter.h"
#include "dialogs/u_searchfiles.h"
#include "platform/ToolkitLanguage.h"
#include "support/ShownText.h"
#include "support/TempFolder.h"
#include "support/WindowInput.h"

namespace {

struct FreeForm {
    void operator()(TForm* f) const { f->Free(); }
};
template <class T> using Owned = std::unique_ptr<T, FreeForm>;

class SearchFiles : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        window->Show();
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    void AddFile(const std::string& Name, const std::string& Bytes) {
        folder.Write(Name, Bytes);
        working.AddRow(U16(Name), folder.W(Name));
    }
    void Search(const WideString& Text, bool CaseSensitive, bool RegEx = false) {
        window->Memo1->SetText(Text);
        window->cb_gk->SetChecked(CaseSensitive);
        window->cb_regex->SetChecked(RegEx);
        ClickControl(window->Suchen);
    }
    WideString Cell(int Row, int Column) {
        return window->erglist->Items()[Row]->SubItems().Get(Column);
    }
    // The selection in the preview memo after one click on the locate button.
    std::pair<int, int> Locate() {
        ClickControl(window->bt_show_in_files);
        return {working.vor_alt.SelStart(), working.vor_alt.SelLength()};
    }

    ScopedLanguage english{u"en"};
    TempFolder folder;
    FakeWorkingWindow working;
    Owned<Tsearchfiles> window{new Tsearchfiles(nullptr)};
};

TEST(SearchPositions, AreThePositionsTheLocateButtonVisits) {
    struct Case {
        const char16_t *text, *pattern;
        bool regex;
        std::vector<int> positions;
    };
    const Case cases[] = {
        {u"aaaa", u"aa", false, {1, 2, 3}}, // overlapping hits count
        {u"abcabc", u"c", false, {3, 6}},
        {u"abc", u"", false, {}},
        {u"abbcb", u"b+", true, {2, 3, 5}},
        {u"abc", u"(", true, {}}, // a compile error finds nothing
        {u"x\r\nStraße", u"ß", false, {8}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindPositions(c.text, c.pattern, c.regex), c.positions) << U8(c.pattern);
}

TEST_F(SearchFiles, ListsTheFilesHoldingTheTextWithTheirHits) {
    AddFile("upper.txt", "ABC");
    AddFile("lower.txt", "abc");
    AddFile("other.txt", "xyz");
    Search(u"abc", false);
    ASSERT_EQ(window->erglist->Items().Count(), 2);
    EXPECT_EQ(window->erglist->Items()[0]->Caption(), u"upper.txt");
    const WideString expected[] = {u"1", u"TXT", u"", u"UTF-8", u"0.003 KB", folder.W("upper.txt")};
    for (int c : {0, 1, 3, 4, 5})
        EXPECT_EQ(Cell(0, c), expected[c]) << c;
    EXPECT_EQ(window->la_anzahl->Caption(), u"2 Files");
    EXPECT_EQ(window->bt_show_in_files->Tag, 1);
    {
        ScopedLanguage de(u"de");
        window->Sprache();
        EXPECT_EQ(window->la_anzahl->Caption(), u"2 Dateien");
        EXPECT_EQ(window->erglist->Columns()[1]->Caption(), u"Treffer");
    }
    window->Sprache();

    // Deleting a row down to one gives the singular word.
    window->erglist->Items()[0]->SetSelected(true);
    PressKey(window->erglist->Widget(), Qt::Key_Delete, QString());
    EXPECT_EQ(window->erglist->Items().Count(), 1);
    EXPECT_EQ(window->la_anzahl->Caption(), u"1 File");

    Search(u"abc", true);
    ASSERT_EQ(window->erglist->Items().Count(), 1);
    EXPECT_EQ(window->erglist->Items()[0]->Caption(), u"lower.txt");
    EXPECT_EQ(window->la_anzahl->Caption(), u"1 File");
}

TEST_F(SearchFiles, AnUnreadableFileIsSkippedAndTheWindowComesBack) {
    AddFile("a.txt", "needle");
    AddFile("locked.txt", "needle");
    ::chmod(folder.P("locked.txt").c_str(), 0);
    // A folder in the list cannot be read by anyone, root included.
    std::filesystem::create_directory(folder.P("folder.txt"));
    working.AddRow(u"folder.txt", folder.W("folder.txt"));
    AddFile("c.txt", "a needle");
    window->bt_show_in_files->Tag = 7;
    Search(u"needle", false);
    std::vector<WideString> found;
    for (int i = 0; i < window->erglist->Items().Count(); ++i)
        found.push_back(window->erglist->Items()[i]->Caption());
    if (geteuid() != 0) {
        EXPECT_EQ(found, (std::vector<WideString>{u"a.txt", u"c.txt"}));
    }
    EXPECT_TRUE(found.front() == u"a.txt" && found.back() == u"c.txt");
    EXPECT_TRUE(window->Enabled());
    EXPECT_EQ(window->bt_show_in_files->Tag, 1);
}

TEST_F(SearchFiles, LocateSelectsEachHitInTurnAndStartsAgain) {
    struct Case {
        const char* content;
        const char16_t* pattern;
        bool regex;
        std::vector<std::pair<int, int>> selections; // two rounds pass through these
    };
    const Case cases[] = {
        {"aaaa", u"a", false, {{0, 1}, {1, 1}, {2, 1}, {3, 1}}},
        {"x\r\nStra\xC3\x9F"
         "e",
         u"ß",
         false,
         {{7, 1}}},
        {"x\nStra\xC3\x9F"
         "e",
         u"STRASSE",
         false,
         {}}, // one unit each: ß is no SS
        {"abbcb", u"b+", true, {{1, 2}, {2, 1}, {4, 1}}},
    };
    for (const Case& c : cases) {
        working.list.Items().Clear();
        AddFile("f.txt", c.content);
        Search(c.pattern, false, c.regex);
        if (c.selections.empty()) {
            EXPECT_EQ(window->erglist->Items().Count(), 0);
            continue;
        }
        // No row selected: the first result row is shown.
        ASSERT_EQ(window->erglist->Selected(), nullptr);
        for (int round = 0; round < 2; ++round) {
            for (const auto& expected : c.selections)
                EXPECT_EQ(Locate(), expected) << U8(c.pattern) << " round " << round;
            EXPECT_EQ(window->bt_show_in_files->Tag, 1) << U8(c.pattern);
        }
        EXPECT_EQ(working.vor_orig.Hint(), folder.W("f.txt"));
    }
    EXPECT_EQ(working.Label12.Caption(), u"0.005 KB");
    EXPECT_GT(working.previews, 0);
}

TEST_F(SearchFiles, WorksOnTheWorkingWindowsListFromTheResult) {
    AddFile("one.txt", "hit");
    AddFile("two.txt", "miss");
    AddFile("three.txt", "hit hit");
    Search(u"hit", false);
    ASSERT_EQ(window->erglist->Items().Count(), 2);
    EXPECT_EQ(Cell(1, Tsearchfiles::colHits), u"2");

    using S = FakeWorkingWindow::Selection;
    ClickControl(window->bt_mark_found);
    EXPECT_EQ(working.selections, (std::vector<S>{{-1, 1, 2}, {-1, 1, 0}}));

    Owned<Tinputselectfilter> marking(new Tinputselectfilter(nullptr));
    ClickControl(window->bt_mark_filenames);
    EXPECT_TRUE(marking->Visible());
    EXPECT_EQ(marking->SelectTarget, Tinputselectfilter::kSearchResults);
    EXPECT_TRUE(marking->IsSearchResult(folder.W("three.txt")));
    EXPECT_FALSE(marking->IsSearchResult(folder.W("two.txt")));

    ClickControl(window->bt_delete_others);
    EXPECT_EQ(working.list.Items().Count(), 2);
    EXPECT_EQ(working.la_anzahl.Caption(), u"2 Files");
    ClickControl(window->bt_delete_found);
    EXPECT_EQ(working.list.Items().Count(), 0);
    EXPECT_EQ(working.la_anzahl.Caption(), u"0 Files");
}

TEST_F(SearchFiles, TheMarkingWindowGivesTheInputBackToTheSearchWhenItCloses) {
    struct Row {
        const char* how;
        std::function<void(Tinputselectfilter& Marking)> close;
    };
    const Row rows[] = {
        {"Mark and Close", [](Tinputselectfilter& m) { ClickCentre(m.Button2); }},
        {"closed by the window system", [](Tinputselectfilter& m) { RequestClose(&m); }},
    };
    Owned<Tinputselectfilter> marking(new Tinputselectfilter(nullptr));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.how);
        ClickCentre(window->bt_mark_filenames);
        ASSERT_TRUE(QTest::qWaitForWindowActive(marking->Widget(), 2000));
        ClickCentre(marking->Edit1);
        row.close(*marking);
        EXPECT_FALSE(marking->Visible());
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->Active(); }, 2000));
        EXPECT_EQ(QApplication::focusWidget(), window->bt_mark_filenames->Widget());
    }
}

TEST_F(SearchFiles, SortsHitsAndSizesAsNumbers) {
    AddFile("b.txt", std::string(2000, 'x') + "k");
    AddFile("a.txt", "k k k k k k k k k k");
    AddFile("C.txt", "k k");
    Search(u"k", false);
    auto order = [this] {
        WideString names;
        for (int i = 0; i < window->erglist->Items().Count(); ++i)
            names += window->erglist->Items()[i]->Caption().substr(0, 1);
        return names;
    };
    auto click = [this](int column) {
        window->erglistColumnClick(window->erglist, window->erglist->Columns()[column]);
    };
    click(1); // hits: 1, 2, 10
    EXPECT_EQ(order(), u"bCa");
    click(1);
    EXPECT_EQ(order(), u"aCb");
    click(5); // sizes: 0.004, 0.019, 1.954 KB
    EXPECT_EQ(order(), u"Cab");
    click(0); // names without regard to case
    EXPECT_EQ(order(), u"abC");
}

TEST_F(SearchFiles, ASizeOfThousandsOfKilobytesShowsWhole) {
    AddFile("big.txt", std::string(6'000'000, 'x') + "k");
    Search(u"k", false);
    ASSERT_EQ(window->erglist->Items().Count(), 1);
    EXPECT_EQ(Cell(0, 4), u"5,859.376 KB");
    EXPECT_TRUE(CellShowsWhole(window->erglist, 0, 5));
}

TEST_F(SearchFiles, Screenshots) {
    AddFile("upper.txt", "ABC");
    Search(u"abc", false);
    // The search runs again in each language, as the program's language switch sets it: the
    // type column names the type in that language.
    const auto shots = SaveScreenshots(window.get(), "searchfiles", [this] {
        SetToolkitLanguage(LanguageCode);
        window->Sprache();
        Search(u"abc", false);
    });
    SetToolkitLanguage(u"en");
    EXPECT_FALSE(shots.first.isNull());
    for (const char16_t* code : {u"de", u"en"}) {
        ScopedLanguage lang(code);
        window->Sprache();
        ExpectCaptionsFit(window.get(), U8(code));
    }
}

} // namespace
