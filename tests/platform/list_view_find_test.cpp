// Finding rows by their caption: typed letters in an owner-data list of a million rows,
// and FindCaption in a list that holds its items.
#include <QApplication>
#include <QTreeView>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "platform/Forms.h"
#include "platform/ListViews.h"
#include "support/ListViewFixture.h"
#include "support/WidgetInput.h"
#include "text/UCodeSysUtils.h"

namespace {

constexpr int kRows = 1000000;

// The row whose caption "row N" is the first to begin with Text, searching from the top:
// the number itself.
int NumberedRowFor(const std::u16string& Text) {
    const std::u16string prefix = u"row ";
    if (!Text.starts_with(prefix) || Text.size() == prefix.size()) return -1;
    int row = 0;
    for (char16_t c : Text.substr(prefix.size())) {
        if (c < u'0' || c > u'9') return -1;
        row = row * 10 + (c - u'0');
    }
    return row < kRows ? row : -1;
}

struct Typing : ListViewFixture {
    std::vector<std::u16string> asked; // the texts the find was asked for
    int rowsFilled = 0;
    void SetUp() override {
        ListViewFixture::SetUp();
        lv->SetOwnerData(true);
        lv->OnData = [this](TObject*, TListItem* item) {
            ++rowsFilled;
            item->SetCaption(u"row " + U16(std::to_string(item->Index())));
        };
        lv->Items().SetCount(kRows);
        form->Show();
        lv->View()->setFocus();
    }
    void Type(const std::u16string& Text) {
        for (char16_t c : Text)
            TypeChar(lv, QString(QChar(c)));
        QCoreApplication::processEvents();
    }
    // Longer than the keyboard input interval: the next key starts a new text.
    static void Pause() {
        std::this_thread::sleep_for(
            std::chrono::milliseconds(QApplication::keyboardInputInterval() + 50));
    }
    int SelectedRow() const {
        TListItem* item = lv->Selected();
        return item ? item->Index() : -1;
    }
};

TEST_F(Typing, TheFindSelectsTheTypedRowAskedOnceForKeysTypedTogether) {
    int start = -2;
    lv->OnDataFindW = [&](TObject*, TItemFind find, const WideString& text, int from, bool wrap,
                          int& index) {
        EXPECT_EQ(find, ifPartialString);
        EXPECT_TRUE(wrap);
        EXPECT_EQ(index, -1);
        asked.push_back(text);
        start = from;
        index = NumberedRowFor(text);
    };
    rowsFilled = 0;
    Type(u"row 4711");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], u"row 4711");
    EXPECT_EQ(start, 0);
    EXPECT_EQ(SelectedRow(), 4711);
    EXPECT_EQ(lv->ItemIndex(), 4711);
    EXPECT_EQ(lv->SelCount(), 1);
    lv->View()->viewport()->grab(); // the row comes into view; only the rows shown are filled
    EXPECT_LT(rowsFilled, 200);
    EXPECT_EQ(lv->Selected()->Caption(), u"row 4711");
}

TEST_F(Typing, WithoutAFindOrWithoutAMatchNothingIsSelected) {
    Type(u"row 4711");
    EXPECT_EQ(SelectedRow(), -1);
    // A find that answers a row outside the list selects nothing either.
    lv->OnDataFindW = [&](TObject*, TItemFind, const WideString& text, int, bool, int& index) {
        asked.push_back(text);
        index = kRows;
    };
    Pause();
    Type(u"row 12");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], u"row 12");
    EXPECT_EQ(SelectedRow(), -1);
}

TEST_F(Typing, AnEightBitFindGetsTheTextInTheAnsiCodePageAndAPauseStartsANewText) {
    std::vector<std::string> texts;
    lv->OnDataFind = [&](TObject*, TItemFind, const AnsiString& text, int, bool, int& index) {
        texts.push_back(text);
        index = text == "\xC4pfel" ? 7 : NumberedRowFor(U16(text));
    };
    Type(u"row 12");
    EXPECT_EQ(SelectedRow(), 12);
    Pause();
    Type(u"Äpfel");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "row 12");
    EXPECT_EQ(SelectedRow(), 7);
    // Keys typed one at a time, within the interval, keep adding to the text.
    Pause();
    Type(u"row 3");
    Type(u"9");
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[3], "row 39");
    EXPECT_EQ(SelectedRow(), 39);
}

TEST(FindCaption, ItemListsCompareWithoutCaseFromTheStartRowWrappingWhenAsked) {
    TForm* form = new TForm(nullptr);
    auto* lv = new TListView(form);
    lv->SetParent(form);
    for (const char16_t* caption : {u"Apple", u"apricot", u"Banana", u"APRICOT"})
        lv->Items().Add()->SetCaption(caption);
    struct Case {
        int start;
        const char16_t* value;
        bool partial, inclusive, wrap;
        int expected; // row, -1 for none
    };
    const Case cases[] = {
        {-1, u"ap", true, false, false, 0},         {0, u"ap", true, false, false, 1},
        {0, u"ap", true, true, false, 0},           {1, u"APRICOT", false, false, false, 3},
        {3, u"apple", false, false, false, -1},     {3, u"apple", false, false, true, 0},
        {2, u"Banana split", true, true, true, -1}, {0, u"banan", false, true, true, -1},
    };
    for (const Case& c : cases) {
        TListItem* found = lv->FindCaption(c.start, c.value, c.partial, c.inclusive, c.wrap);
        EXPECT_EQ(found ? found->Index() : -1, c.expected)
            << "from " << c.start << " for " << U8(c.value);
    }
    form->Free();
}

} // namespace
