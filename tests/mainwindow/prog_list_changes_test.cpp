// What the preview and the input list show when the list changes under them: a file that
// leaves the list leaves the preview too, however it was removed; the change-encoding tool
// leaves the rewritten files' sizes in the list; a size of thousands of kilobytes shows
// whole in its column.
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/u_changecoding.h"
#include "engine/InputListColumns.h"
#include "engine/LocaleTexts.h"
#include "support/ModalInterceptor.h"
#include "support/ProgramWindowsFixture.h"
#include "support/ShownText.h"
#include "support/TempFolder.h"
#include "text/UCodeSysUtils.h"

namespace {

class ListChangesTest : public ShownProgramWindowsTest {
protected:
    // The folder field emptied (Ctrl+A selects its text, the first key replaces it), the
    // folder typed and Enter pressed.
    void AddFolder(const TempFolder& Folder) {
        ClickCentre(p->inp_ordner);
        PressKeyIn(p->Widget(), Qt::Key_A, Qt::ControlModifier);
        TypeKeys(p->Widget(), QString::fromStdString(Folder.Path().string()) + "\r");
    }
    WideString Cell(int Row, size_t Column) const {
        return p->qulist->Items()[Row]->SubItems().Get(int(Column));
    }
    void ExpectSizeColumnShowsWhole() {
        EXPECT_TRUE(CellShowsWhole(p->qulist, 0, int(InputListColumn::Size) + 1))
            << U8(Cell(0, InputListColumn::Size));
    }
};

TEST_F(ListChangesTest, AFileThatLeavesTheListLeavesThePreview) {
    // The size of no text, in the number format the program uses.
    const WideString emptySize = CharacterKilobyteText(0);
    struct Way {
        const char* what;
        bool previewOn;
        std::function<void(const TempFolder&)> remove;
    };
    const Way ways[] = {
        {"Delete key", true, [&](const TempFolder&) { PressKeyIn(p->Widget(), Qt::Key_Delete); }},
        {"popup menu item", true,
         [&](const TempFolder&) {
             ClickListRow(p->qulist, p->qulist->Selected()->Index(), Qt::RightButton);
             ChooseMenuItem(p->pop4);
         }},
        {"button for the selected rows", true,
         [&](const TempFolder&) { ClickCentre(p->inp_deleteselect); }},
        {"button for all rows", true, [&](const TempFolder&) { ClickCentre(p->inp_deleteall); }},
        {"Delete key, preview off", false,
         [&](const TempFolder&) { PressKeyIn(p->Widget(), Qt::Key_Delete); }},
        // Gone from the disk: the run's end takes the row, and its one message is answered.
        {"run after the file vanished", true,
         [&](const TempFolder& Folder) {
             std::filesystem::remove(Folder.P("a.txt"));
             ScopedModalInterceptor answer([](TModalRequest&) { return IDOK; });
             ClickCentre(p->durchfuehren);
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        TempFolder folder;
        folder.Write("a.txt", "alpha\nbeta\n");
        folder.Write("b.txt", "gamma\r\n");
        AddFolder(folder);
        ASSERT_GE(p->qulist->Items().Count(), 2);
        const int row = p->RowOfPath(folder.W("a.txt"));
        ClickListRow(p->qulist, row);
        ASSERT_EQ(p->vor_orig->Hint(), folder.W("a.txt"));
        ASSERT_FALSE(p->vor_alt->Text().empty());
        ASSERT_FALSE(p->vor_out->Hint().empty());
        if (p->vor_okay->Checked() != way.previewOn) {
            ClickCentre(p->vor_okay);
            ClickListRow(p->qulist, row); // the keys go to the list again
        }

        way.remove(folder);
        EXPECT_LT(p->RowOfPath(folder.W("a.txt")), 0);
        for (const TLabel* label : {p->vor_orig, p->vor_out}) {
            EXPECT_EQ(label->Hint(), u"") << U8(label->Name());
            EXPECT_EQ(label->Caption(), u"") << U8(label->Name());
        }
        EXPECT_EQ(p->vor_alt->Text(), u"");
        EXPECT_EQ(p->vor_neu->Text(), u"");
        EXPECT_EQ(p->Label12->Caption(), emptySize);
        EXPECT_EQ(p->Label48->Caption(), emptySize);
        EXPECT_FALSE(p->AlteDateiSpeichern->Visible());
        if (!p->vor_okay->Checked()) ClickCentre(p->vor_okay);
        ClickCentre(p->inp_deleteall);
    }
}

TEST_F(ListChangesTest, TheEncodingToolLeavesTheNewSizesInTheListAndWideSizesShowWhole) {
    TempFolder folder;
    // Thousands of kilobytes; twice as many once written as UTF-16.
    folder.Write("big.txt", std::string(6'000'000, 'x') + "\r\n");
    AddFolder(folder);
    ASSERT_EQ(p->qulist->Items().Count(), 1);
    const auto bytes = [&] { return std::filesystem::file_size(folder.P("big.txt")); };
    EXPECT_EQ(Cell(0, InputListColumn::Bytes), U16(std::to_string(bytes())));
    ExpectSizeColumnShowsWhole();
    const WideString before = Cell(0, InputListColumn::Size);

    std::vector<WideString> asked;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        asked.push_back(r.Caption + u": " + r.Text);
        return IDOK;
    });
    ChooseMenuItem(p->m_datei_code);
    ASSERT_TRUE(changecoding->Visible());
    // The choice is made from the list with the arrow keys (typing into it is refused).
    const int wanted = changecoding->cb->Items().IndexOf(u"Unicode UTF-16 Little Endian");
    ASSERT_GT(wanted, 0);
    ChooseComboItem(changecoding->cb, wanted);
    ASSERT_EQ(changecoding->cb->Text(), u"Unicode UTF-16 Little Endian");
    ClickCentre(changecoding->Button2);
    EXPECT_TRUE(asked.empty()) << U8(asked.front());

    EXPECT_EQ(folder.Read("big.txt").substr(0, 4), std::string("\xFF\xFEx\0", 4));
    EXPECT_EQ(Cell(0, InputListColumn::Codepage), u"UTF-16 LE");
    EXPECT_EQ(Cell(0, InputListColumn::Bytes), U16(std::to_string(bytes())));
    EXPECT_NE(Cell(0, InputListColumn::Size), before);
    ExpectSizeColumnShowsWhole();
}

TEST_F(ListChangesTest, AWatchedFileKeepsItsPreviewRenamedAndLosesItDeleted) {
    TempFolder folder;
    folder.Write("a.txt", "alpha\r\n");
    ClickCentre(p->inp_ow);
    ASSERT_TRUE(p->inp_ow->Checked());
    AddFolder(folder);
    ClickListRow(p->qulist, 0);
    ASSERT_EQ(p->vor_orig->Hint(), folder.W("a.txt"));

    // The folder watch reports changes on disk through the message loop, which the wait runs.
    std::filesystem::rename(folder.P("a.txt"), folder.P("renamed.txt"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return p->RowOfPath(folder.W("renamed.txt")) >= 0; }, 3000));
    EXPECT_EQ(p->vor_orig->Hint(), folder.W("renamed.txt"));
    EXPECT_EQ(p->vor_alt->Text(), u"alpha\r\n");

    std::filesystem::remove(folder.P("renamed.txt"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return p->qulist->Items().Count() == 0; }, 3000));
    EXPECT_EQ(p->vor_orig->Hint(), u"");
    EXPECT_EQ(p->vor_alt->Text(), u"");
}

} // namespace
