// Replacement lists: entry lines to replace-list rows and back, reversing, the list file's
// header, and the manager window in a temporary program folder (saving, loading, refusing
// names, adding, reading back), driven by clicks.
#include <QComboBox>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/FakeWorkingWindow.h"
#include "dialogs/ReplacementListText.h"
#include "dialogs/u_replace_import.h"
#include "engine/TempFolder.h"
#include "support/ModalInterceptor.h"

namespace {

using Mode = ReplaceListMode;
const WideString kUS(1, kUnitSeparator);

TEST(ReplacementListText, EntryLinesBecomeRowsOrAreSkipped) {
    struct Case {
        WideString line, delimiter, placeholder;
        Mode mode;
        std::optional<ReplaceListRow> row;
    };
    const Case cases[] = {
        {u"a|b|reg=s", u"|", u"\\nl", Mode::Individual, ReplaceListRow{u"a", u"b", u"x/-"}},
        {u"a|b|reg=s", u"|", u"\\nl", Mode::None, ReplaceListRow{u"a", u"b", u"-"}},
        {u"a|b| reg=sr\t", u"|", u"\\nl", Mode::Individual, ReplaceListRow{u"a", u"b", u"x"}},
        {u"a|b|REG=S|x", u"|", u"\\nl", Mode::Individual, ReplaceListRow{u"a", u"b", u"-"}},
        {u"a|b", u"|", u"\\nl", Mode::Individual, ReplaceListRow{u"a", u"b", u"-"}},
        {u"a|b|reg=sr", u"|", u"\\nl", Mode::SearchOnly, ReplaceListRow{u"a", u"b", u"x/-"}},
        {u"a;;b;;c", u";;", u"\\nl", Mode::SearchAndReplacement, ReplaceListRow{u"a", u"b", u"x"}},
        {u"x\\nly|z\\nl", u"|", u"\\nl", Mode::None, ReplaceListRow{u"x\r\ny", u"z\r\n", u"-"}},
        {u"x\x1Fy|\\nl", u"|", kUS, Mode::None, ReplaceListRow{u"x\r\ny", u"\\nl", u"-"}},
        // Skipped: too short, no delimiter, an empty delimiter.
        {u"ab", u"|", u"\\nl", Mode::None, std::nullopt},
        {u"|b", u"|", u"\\nl", Mode::None, std::nullopt},
        {u"abc", u"|", u"\\nl", Mode::None, std::nullopt},
        {u"a|b|c", u"", u"\\nl", Mode::None, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EntryLineToRow(c.line, c.delimiter, c.placeholder, c.mode), c.row) << U8(c.line);
}

TEST(ReplacementListText, ReversingSwapsTheFirstTwoPartsOfTwoOrThreePartLines) {
    const std::tuple<WideString, WideString, WideString> cases[] = {
        {u"a|b|reg=s", u"|", u"b|a|reg=s"},
        {u"a|b", u"|", u"b|a"},
        {u"a|b|c|d", u"|", u"a|b|c|d"},
        {u"abc", u"|", u"abc"},
        {u"|b", u"|", u"b|"},
        {u"a;;b;;;c", u";;", u"b;;a;;;c"},
        {u"a|b", u"", u"a|b"},
    };
    for (const auto& [line, delimiter, reversed] : cases)
        EXPECT_EQ(ReversedEntryLine(line, delimiter), reversed) << U8(line);
}

TEST(ReplacementListText, HeaderLinesAndReadBackModes) {
    const std::tuple<WideString, bool, Mode, WideString> headers[] = {
        {u"##ab|", true, Mode::Individual, u"|"}, // an unknown code is the individual mode
        {u"##XX", true, Mode::None, u"?"},        // too short: nothing read, the line still goes
        {u"#XX|", false, Mode::None, u"?"},
    };
    for (const auto& [line, header, mode, delimiter] : headers) {
        Mode m = Mode::None;
        WideString d = u"?";
        EXPECT_EQ(ReadListFileHeader(line, m, d), header) << U8(line);
        EXPECT_EQ(std::tie(m, d), std::tie(mode, delimiter)) << U8(line);
    }
    const EntryLines both =
        RowsToEntryLines({{u"h", u"i", u"-/x"}, {u"e\r\nf", u"g", u"x"}}, u";", u"\\nl");
    EXPECT_EQ(both.mode, Mode::SearchAndReplacement);
    EXPECT_EQ(both.text, u"h;i;reg=sr\r\ne\\nlf;g;reg=sr\r\n");
    EXPECT_EQ(RowsToEntryLines({}, u"|", u"\\nl").mode, std::nullopt);
}

struct ReplaceImportTest : TempFolderTest {
    ScopedLanguage german{u"de"};
    FakeWorkingWindow working;
    Treplace_import* w = nullptr;

    void open() {
        w = new Treplace_import(nullptr, dir());
        w->DoCreate();
        w->Show();
    }
    void TearDown() override {
        if (w) w->Free();
        TempFolderTest::TearDown();
    }
    void choose(const WideString& name) {
        auto* box = static_cast<QComboBox*>(w->cb->Widget());
        const int index = box->findText(QString::fromStdU16String(name));
        ASSERT_GE(index, 0) << U8(name);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    std::string fileBytes(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void addRow(const ReplaceListRow& r) {
        TListItem* item = working.replaceList.Items().Add();
        item->SetCaption(r.search);
        item->SubItems().Add(r.replacement);
        item->SubItems().Add(r.mark);
    }
    std::vector<ReplaceListRow> rows() {
        std::vector<ReplaceListRow> all;
        TListItems& items = working.replaceList.Items();
        for (int i = 0; i < items.Count(); ++i)
            all.push_back(
                {items[i]->Caption(), items[i]->SubItems().Get(0), items[i]->SubItems().Get(1)});
        return all;
    }
};

TEST_F(ReplaceImportTest, SavesUtf16WithHeaderAndLoadsListsInAnyEncodingAndSubfolder) {
    write("Replacements/sub/utf8.txt", "##X-=\r\nq=r\r\n\xC3\xA4=ae");
    open();
    ClickControl(w->rb_reg2);
    w->ed_delimiter->SetText(u";;");
    w->liste->SetText(u"a;;b");
    w->cb->SetText(u"Mine");
    ClickControl(w->bt_save);
    ClickControl(w->bt_save);
    EXPECT_EQ(fileBytes("Replacements/Mine.txt"),
              std::string("\xFF\xFE#\0#\0X\0X\0;\0;\0\r\0\n\0a\0;\0;\0b\0", 26));
    EXPECT_EQ(w->cb->Items().Count(), 2); // "utf8" from the subfolder, "Mine" once

    ClickControl(w->rb_reg0);
    w->ed_delimiter->SetText(u"|");
    w->liste->SetText(u"other");
    choose(u"Mine");
    EXPECT_TRUE(w->rb_reg2->Checked());
    EXPECT_EQ(w->ed_delimiter->Text(), u";;");
    EXPECT_EQ(w->liste->Text(), u"a;;b");

    choose(u"utf8");
    EXPECT_TRUE(w->rb_reg1->Checked());
    EXPECT_EQ(w->ed_delimiter->Text(), u"=");
    EXPECT_EQ(w->liste->Text(), u"q=r\r\nä=ae");

    // A name without a file only resets the delimiter.
    w->cb->Items().Add(u"gone");
    choose(u"gone");
    EXPECT_EQ(w->ed_delimiter->Text(), u"|");
    EXPECT_EQ(w->liste->Text(), u"q=r\r\nä=ae");
}

// A list file written with LF or CR line breaks shows one entry a line, as one with CR LF.
TEST_F(ReplaceImportTest, ListsWithAnyLineBreaksShowOneEntryALine) {
    write("Replacements/lf.txt", "##X-=\nq=r\nx=y\n");
    write("Replacements/cr.txt", "##--|\ra|b\rc|d");
    open();
    choose(u"lf");
    EXPECT_TRUE(w->rb_reg1->Checked());
    EXPECT_EQ(w->liste->Text(), u"q=r\r\nx=y\r\n");
    choose(u"cr");
    EXPECT_TRUE(w->rb_reg0->Checked());
    EXPECT_EQ(w->liste->Text(), u"a|b\r\nc|d");
}

TEST_F(ReplaceImportTest, RefusesThePromptsAndNamesThatAreNoFileNames) {
    open();
    w->liste->SetText(u"a|b");
    std::vector<WideString> shown;
    bool lifted = true;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        shown.push_back(ShownText(r));
        lifted = lifted && w->FormStyle() == fsNormal;
        return int(mrOk);
    });
    const WideString germanPrompt = w->cb->Text();
    LanguageCode = u"en";
    w->Sprache();
    const WideString names[] = {germanPrompt, w->cb->Text(), u"",   u"../x",
                                u"a/b",       u".",          u"..", WideString(u"a\0b", 3)};
    for (const WideString& name : names) {
        w->cb->SetText(name);
        ClickControl(w->bt_save);
    }
    ASSERT_EQ(shown.size(), std::size(names));
    EXPECT_EQ(shown[0], u"Please type in a name for your list in the drop down box.");
    EXPECT_TRUE(lifted);
    EXPECT_EQ(w->FormStyle(), fsStayOnTop);
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_EQ(w->cb->Items().Count(), 0);
}

TEST_F(ReplaceImportTest, AddingAndReplacingTheActionList) {
    open();
    addRow({u"old", u"row", u"-"});
    ClickControl(w->rb_reg_individuell);
    w->liste->SetText(u"a|b|reg=s\r\nab\r\n|b\r\nx\\nly|z|reg=sr\r\n");
    ClickControl(w->bt_add_to_actionlist);
    EXPECT_EQ(rows(), (std::vector<ReplaceListRow>{
                          {u"old", u"row", u"-"}, {u"a", u"b", u"x/-"}, {u"x\r\ny", u"z", u"x"}}));
    EXPECT_EQ(working.previews, 1);
    EXPECT_EQ(w->liste->Text(), u""); // auto-clear

    ClickControl(w->cb_auto_clear);
    ClickControl(w->rb_reg0);
    w->liste->SetText(u"c|d|reg=s");
    ClickControl(w->bt_replace_actionlist);
    EXPECT_EQ(rows(), (std::vector<ReplaceListRow>{{u"c", u"d", u"-"}}));
    EXPECT_EQ(working.previews, 2);
    EXPECT_EQ(w->liste->Text(), u"c|d|reg=s");
}

TEST_F(ReplaceImportTest, ReadingBackKeepsEarlierTextAndSurvivesAnEmptyPlaceholder) {
    open();
    addRow({u"a", u"b", u"-"});
    addRow({u"c", u"d", u"x"});
    w->liste->SetText(u"  keep  ");
    ClickControl(w->bt_from_actionlist);
    EXPECT_TRUE(w->rb_reg_individuell->Checked());
    EXPECT_EQ(w->liste->Text(), u"keep\r\na|b\r\nc|d|reg=sr\r\n");

    // Texts with line breaks, read back with an empty placeholder and added again.
    working.replaceList.Items().Clear();
    const std::vector<ReplaceListRow> broken{{u"x\r\ny", u"1\r\n", u"x/-"},
                                             {u"z", u"\r\n2", u"x/-"}};
    for (const ReplaceListRow& r : broken)
        addRow(r);
    w->ed_linebreak->SetText(u"");
    w->liste->Clear();
    ClickControl(w->bt_from_actionlist);
    EXPECT_TRUE(w->rb_reg1->Checked());
    EXPECT_EQ(w->liste->Text(), u"x\x1Fy|1\x1F|reg=s\r\nz|\x1F"
                                u"2|reg=s\r\n");
    ClickControl(w->bt_replace_actionlist);
    EXPECT_EQ(rows(), broken);
}

TEST_F(ReplaceImportTest, AnEmptyDelimiterChangesNothing) {
    open();
    w->ed_delimiter->SetText(u"");
    w->liste->SetText(u"a|b\r\nb|c|reg=s");
    ClickControl(w->bt_reverselist);
    EXPECT_EQ(w->liste->Text(), u"a|b\r\nb|c|reg=s");
    ClickControl(w->cb_auto_clear);
    ClickControl(w->bt_add_to_actionlist);
    EXPECT_TRUE(rows().empty());
    addRow({u"s", u"t", u"-"});
    w->liste->Clear();
    ClickControl(w->bt_from_actionlist); // reads back with "|"
    EXPECT_EQ(w->liste->Text(), u"s|t\r\n");
    w->ed_delimiter->SetText(u"|");
    ClickControl(w->bt_reverselist);
    EXPECT_EQ(w->liste->Text(), u"t|s\r\n");
}

} // namespace
