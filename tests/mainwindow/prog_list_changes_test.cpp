// What the preview and the input list show when the list changes under them: a file that
// leaves the list leaves the preview too, however it was removed; the change-encoding tool
// leaves the rewritten files' sizes in the list; a size of thousands of kilobytes shows
// whole in its column.
#include <QAbstractItemDelegate>
#include <QHeaderView>
#include <QStyleOptionViewItem>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ProgramWindowsTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/u_changecoding.h"
#include "engine/InputListColumns.h"
#include "support/ModalInterceptor.h"
#include "support/TempFolder.h"
#include "text/UCodeSysUtils.h"

namespace {

class ListChangesTest : public ProgramWindowsTest {
protected:
    // The folder field emptied (Ctrl+A selects its text, the first key replaces it), the
    // folder typed and Enter pressed.
    void AddFolder(const TempFolder& Folder) {
        PressKey(p->inp_ordner->Widget(), Qt::Key_A, QString(), Qt::ControlModifier);
        AddFolderByTyping(Folder.Path().string());
    }
    WideString Cell(int Row, size_t Column) const {
        return p->qulist->Items()[Row]->SubItems().Get(int(Column));
    }
    // The size column shows its text whole: at least as wide as the list view's own item
    // painter asks for the cell.
    void ExpectSizeColumnShowsWhole() {
        QTreeWidget* tree = p->qulist->Tree();
        const int column = int(InputListColumn::Size) + 1;
        const QModelIndex cell = tree->model()->index(0, column);
        QStyleOptionViewItem option;
        option.initFrom(tree->viewport());
        option.font = tree->font();
        option.fontMetrics = QFontMetrics(option.font);
        const int needed = tree->itemDelegateForIndex(cell)->sizeHint(option, cell).width();
        EXPECT_GE(tree->header()->sectionSize(column), needed)
            << U8(Cell(0, InputListColumn::Size));
    }
};

TEST_F(ListChangesTest, AFileThatLeavesTheListLeavesThePreview) {
    ScopedLanguage english(u"en");
    const WideString emptySize = u"0.000 KB";
    struct Way {
        const char* what;
        bool previewOn;
        std::function<void()> remove;
    };
    const Way ways[] = {
        {"Delete key", true, [&] { PressKey(p->qulist->Tree(), Qt::Key_Delete, QString()); }},
        {"popup menu item", true, [&] { TriggerMenuItem(p->pop4); }},
        {"button for the selected rows", true, [&] { ClickControl(p->inp_deleteselect); }},
        {"button for all rows", true, [&] { ClickControl(p->inp_deleteall); }},
        {"Delete key, preview off", false,
         [&] { PressKey(p->qulist->Tree(), Qt::Key_Delete, QString()); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        TempFolder folder;
        folder.Write("a.txt", "alpha\nbeta\n");
        folder.Write("b.txt", "gamma\r\n");
        AddFolder(folder);
        ASSERT_GE(p->qulist->Items().Count(), 2);
        const int row = p->RowOfPath(folder.W("a.txt"));
        ClickRow(p->qulist, row);
        ASSERT_EQ(p->vor_orig->Hint(), folder.W("a.txt"));
        ASSERT_FALSE(p->vor_alt->Text().empty());
        ASSERT_FALSE(p->vor_out->Hint().empty());
        if (p->vor_okay->Checked() != way.previewOn) ClickControl(p->vor_okay);

        way.remove();
        pump();
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
        if (!p->vor_okay->Checked()) ClickControl(p->vor_okay);
        ClickControl(p->inp_deleteall);
    }
}

TEST_F(ListChangesTest, TheEncodingToolLeavesTheNewSizesInTheListAndWideSizesShowWhole) {
    ScopedLanguage english(u"en");
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
        asked.push_back(ShownText(r));
        return IDOK;
    });
    TriggerMenuItem(p->m_datei_code);
    ASSERT_TRUE(changecoding->Visible());
    // The choice is made from the list with the arrow keys (typing into it is refused).
    const int wanted = changecoding->cb->Items().IndexOf(u"Unicode UTF-16 Little Endian");
    ASSERT_GT(wanted, 0);
    changecoding->cb->SetFocus();
    while (changecoding->cb->ItemIndex() < wanted)
        PressKey(changecoding->cb->Widget(), Qt::Key_Down, QString());
    ASSERT_EQ(changecoding->cb->Text(), u"Unicode UTF-16 Little Endian");
    ClickControl(changecoding->Button2);
    pump();
    EXPECT_TRUE(asked.empty()) << U8(asked.front());

    EXPECT_EQ(folder.Read("big.txt").substr(0, 4), std::string("\xFF\xFEx\0", 4));
    EXPECT_EQ(Cell(0, InputListColumn::Codepage), u"UTF-16 LE");
    EXPECT_EQ(Cell(0, InputListColumn::Bytes), U16(std::to_string(bytes())));
    EXPECT_NE(Cell(0, InputListColumn::Size), before);
    ExpectSizeColumnShowsWhole();
}

} // namespace
