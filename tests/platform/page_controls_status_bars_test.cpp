#include <QFontMetrics>
#include <QImage>
#include <QTabBar>
#include <gtest/gtest.h>

#include "platform/ExtCtrls.h"

#include "platform/Forms.h"
#include "platform/PageControls.h"
#include "platform/StatusBars.h"
#include "platform/StdCtrls.h"

namespace {

struct PageFixture : ::testing::Test {
    TForm* form = nullptr;
    TPageControl* pc = nullptr;
    std::vector<TTabSheet*> pages;
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 400, 300);
        pc = new TPageControl(form);
        pc->SetParent(form);
        pc->SetAlign(alClient);
        for (const char16_t* caption : {u"&Alpha", u"&Beta", u"&Gamma", u"&Delta"}) {
            auto* sheet = new TTabSheet(form);
            sheet->SetPageControl(pc);
            sheet->SetCaption(caption);
            pages.push_back(sheet);
        }
        form->Show();
    }
    void TearDown() override { form->Free(); }
};

TEST_F(PageFixture, FirstPageIsActiveAndPagesFillTheClientArea) {
    EXPECT_EQ(pc->PageCount(), 4);
    EXPECT_EQ(pc->ActivePage(), pages[0]);
    EXPECT_TRUE(pages[0]->Visible());
    EXPECT_FALSE(pages[1]->Visible());
    EXPECT_EQ(pc->TabBar()->tabText(2), QString("&Gamma"));
    EXPECT_GT(pages[0]->Top(), 0); // below the tabs
    EXPECT_GT(pages[0]->Width(), 300);
    pages[2]->SetCaption(u"Ω😀");
    EXPECT_EQ(pc->TabBar()->tabText(2).toStdU16String(), u"Ω😀");
    EXPECT_EQ(pages[3]->PageIndex(), 3);
}

TEST_F(PageFixture, NextAndPreviousPagesSkipHiddenTabsAndWrap) {
    pages[1]->SetTabVisible(false);
    EXPECT_FALSE(pc->TabBar()->isTabVisible(1));
    struct Step {
        bool forward;
        int expected;
    } steps[] = {{true, 2}, {true, 3}, {true, 0}, {false, 3}, {false, 2}, {false, 0}};
    for (const Step& s : steps) {
        pc->SelectNextPage(s.forward);
        EXPECT_EQ(pc->ActivePageIndex(), s.expected);
    }
    EXPECT_EQ(pc->FindNextPage(pages[0], true, false), pages[1]);
    // Hiding the active page's tab moves to the next shown page.
    pc->SetActivePage(pages[3]);
    pages[3]->SetTabVisible(false);
    EXPECT_EQ(pc->ActivePage(), pages[0]);
}

TEST_F(PageFixture, OnChangingCanRefuseAndOnChangeFollowsUserChanges) {
    int changes = 0;
    bool allow = false;
    pc->OnChanging = [&](TObject*, bool& a) { a = allow; };
    pc->OnChange = [&](TObject*) { ++changes; };
    pc->TabBar()->setCurrentIndex(2); // the user clicks a tab
    EXPECT_EQ(pc->ActivePage(), pages[0]);
    EXPECT_EQ(pc->TabBar()->currentIndex(), 0);
    allow = true;
    pc->TabBar()->setCurrentIndex(2);
    EXPECT_EQ(pc->ActivePage(), pages[2]);
    EXPECT_TRUE(pages[2]->Visible());
    EXPECT_FALSE(pages[0]->Visible());
    EXPECT_EQ(changes, 1);
    pc->SetActivePage(pages[1]); // by code: no events
    EXPECT_EQ(changes, 1);
    // The accelerator of a tab caption.
    EXPECT_EQ(pc->Perform(CM_DIALOGCHAR, u'd'), 1);
    EXPECT_EQ(pc->ActivePage(), pages[3]);
    EXPECT_EQ(changes, 2);
    pc->SetStyle(tsFlatButtons);
    EXPECT_EQ(pc->Style(), tsFlatButtons);
    EXPECT_GT(pages[3]->Top(), 0);
}

TEST_F(PageFixture, ParentingASheetMakesItAPage) {
    auto* sheet = new TTabSheet(form);
    sheet->SetCaption(u"&Epsilon");
    sheet->SetParent(pc);
    EXPECT_EQ(sheet->PageControl(), pc);
    EXPECT_EQ(pc->PageCount(), 5);
    EXPECT_EQ(pc->TabBar()->tabText(4), QString("&Epsilon"));
    sheet->SetParent(form);
    EXPECT_EQ(sheet->PageControl(), nullptr);
    EXPECT_EQ(pc->PageCount(), 4);
    EXPECT_EQ(pc->TabBar()->count(), 4);
}

TEST_F(PageFixture, FreeingAPageRemovesItsTab) {
    pc->SetActivePage(pages[1]);
    pages[1]->Free();
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->TabBar()->count(), 3);
    EXPECT_EQ(pc->ActivePage(), pages[2]);
}

// The horizontal extent of dark pixels inside a rectangle of the image.
std::pair<int, int> InkExtent(const QImage& img, QRect r) {
    int left = INT_MAX, right = -1;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(img.pixel(x, y)) < 96) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

TEST(StatusBar, LeadingTabsCentreAndRightAlignPanelTexts) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 600, 200);
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    bar->SetHeight(24);
    bar->Font()->SetColor(clBlack);
    const WideString texts[] = {u"X", u"\tX", u"\t\tX"};
    for (const WideString& t : texts) {
        TStatusPanel* p = bar->Panels().Add();
        p->SetWidth(180);
        p->SetText(t);
    }
    form->Show();
    EXPECT_EQ(bar->Top(), 200 - 24 - (form->Height() - form->ClientHeight()));
    QImage img = bar->Widget()->grab().toImage();
    QFontMetrics fm(bar->Font()->ToQFont());
    int ink = fm.horizontalAdvance(QString("X"));
    for (int i = 0; i < 3; ++i) {
        TRect pr = bar->PanelRect(i);
        QRect inner(pr.Left + 3, 4, pr.Width() - 7, bar->Height() - 7);
        auto [l, r] = InkExtent(img, inner);
        ASSERT_LE(l, r) << "panel " << i << " shows no text";
        int centre = (l + r) / 2;
        switch (i) {
        case 0:
            EXPECT_LE(l, pr.Left + 2 + 3);
            break;
        case 1:
            EXPECT_NEAR(centre, pr.Left + pr.Width() / 2, 3);
            break;
        case 2:
            EXPECT_GE(r, pr.Right - 2 - 3 - 2);
            EXPECT_LE(r - l, ink + 1);
            break;
        }
    }
    // The last panel reaches the right edge.
    EXPECT_EQ(bar->PanelRect(2).Right, bar->Width());
    form->Free();
}

TEST(StatusBar, AutoHintShowsTheApplicationHintOfTheControlUnderTheMouse) {
    auto* form = new TForm(nullptr);
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetHint(u"short|Ω long|with a bar");
    form->Show();
    TNotifyEvent saved = Application->OnHint;
    Application->OnHint = nullptr;
    bar->SetAutoHint(true);
    panel->Perform(CM_MOUSEENTER);
    EXPECT_EQ(Application->Hint(), u"Ω long|with a bar");
    EXPECT_EQ(bar->SimpleText(), u"Ω long|with a bar"); // nothing more is cut off
    bar->Panels().Add();
    Application->SetHint(u"other");
    EXPECT_EQ(bar->Panels()[0]->Text(), u"other");
    form->Free(); // the bar leaves the hint dispatch
    Application->SetHint(u"after");
    Application->OnHint = saved;
    Application->SetHint(u"");
}

TEST(StatusBar, AutoHintBarsShareTheHintWhileTheApplicationHasNoOnHint) {
    auto* form = new TForm(nullptr);
    auto* a = new TStatusBar(form);
    a->SetParent(form);
    auto* b = new TStatusBar(form);
    b->SetParent(form);
    TNotifyEvent saved = Application->OnHint;
    Application->OnHint = nullptr;
    int userHints = 0;
    // A handler set before the bars and taken away later: the bars follow after it.
    Application->OnHint = [&](TObject*) { ++userHints; };
    a->SetAutoHint(true);
    b->SetAutoHint(true);
    Application->SetHint(u"one");
    EXPECT_EQ(userHints, 1);
    EXPECT_EQ(a->SimpleText(), u"");
    Application->OnHint = nullptr;
    Application->SetHint(u"two");
    EXPECT_EQ(a->SimpleText(), u"two");
    EXPECT_EQ(b->SimpleText(), u"two");
    b->SetAutoHint(false);
    Application->SetHint(u"three");
    EXPECT_EQ(a->SimpleText(), u"three");
    EXPECT_EQ(b->SimpleText(), u"two");
    // A bar freed by another one's hint handler is not called any more.
    b->SetAutoHint(true);
    a->OnHint = [&](TObject*) {
        if (b) {
            b->Free();
            b = nullptr;
        }
    };
    Application->SetHint(u"four");
    EXPECT_EQ(a->SimpleText(), u"four");
    form->Free();
    Application->SetHint(u"after");
    Application->OnHint = saved;
    Application->SetHint(u"");
}

} // namespace
