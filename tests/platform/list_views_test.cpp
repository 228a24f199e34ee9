#include "platform/ListViews.h"

#include <QHeaderView>
#include <QImage>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <set>

#include "platform/Forms.h"
#include "platform/ListBoxes.h"
#include "platform/StdCtrls.h"
#include "support/ListViewFixture.h"
#include "support/WidgetInput.h"
#include "text/UCodeSysUtils.h"

namespace {

struct ListFixture : ListViewFixture {
    void SetUp() override {
        ListViewFixture::SetUp();
        lv->Columns().Add()->SetCaption(u"Value");
        form->Show();
    }
    void AddRows(std::initializer_list<const char16_t*> captions) {
        for (const char16_t* c : captions) {
            TListItem* it = lv->Items().Add();
            it->SetCaption(c);
            it->SubItems().Add(WideString(u"sub-") + c);
        }
    }
    WideString Order() const {
        WideString s;
        for (int i = 0; i < lv->Items().Count(); ++i)
            s += lv->Items()[i]->Caption();
        return s;
    }
    QRect RowRect(int i) const {
        QTreeWidget* t = lv->Tree();
        return t->visualItemRect(t->topLevelItem(i));
    }
};

TEST_F(ListFixture, SubItemsShowInTheirColumnsAndKeepNonBmpText) {
    TListItem* it = lv->Items().Add();
    it->SetCaption(u"a😀b");
    it->SubItems().Add(u"Ω😀");
    it->SubItems().Add(u"hidden (no third column)");
    EXPECT_EQ(it->SubItems().Get(0), u"Ω😀");
    QTreeWidgetItem* node = lv->Tree()->topLevelItem(0);
    EXPECT_EQ(node->text(0).toStdU16String(), u"a😀b");
    EXPECT_EQ(node->text(1).toStdU16String(), u"Ω😀");
    it->SubItems().Put(0, u"changed");
    EXPECT_EQ(node->text(1).toStdU16String(), u"changed");
    it->SubItems().Clear();
    EXPECT_EQ(node->text(1).toStdU16String(), u"");
    EXPECT_EQ(lv->Tree()->headerItem()->text(1).toStdU16String(), u"Value");
}

TEST_F(ListFixture, InsertDeleteClearAndIndex) {
    AddRows({u"1", u"2", u"3"});
    lv->Items().Insert(0)->SetCaption(u"0");
    lv->Items().Insert(99)->SetCaption(u"4");
    EXPECT_EQ(Order(), u"01234");
    EXPECT_EQ(lv->Items()[2]->Index(), 2);
    lv->Items()[2]->Delete();
    EXPECT_EQ(Order(), u"0134");
    EXPECT_EQ(lv->Tree()->topLevelItem(2)->text(0), QString("3"));
    {
        auto update = lv->Items().Update();
        EXPECT_FALSE(lv->Tree()->updatesEnabled());
        lv->Items().Clear();
    }
    EXPECT_TRUE(lv->Tree()->updatesEnabled());
    EXPECT_EQ(lv->Items().Count(), 0);
    EXPECT_EQ(lv->Tree()->topLevelItemCount(), 0);
}

TEST_F(ListFixture, CustomSortKeepsSubItemsAndSelectionWithTheirRows) {
    AddRows({u"c", u"a", u"d", u"b"});
    lv->SetMultiSelect(true);
    lv->Items()[0]->SetSelected(true); // "c"
    int calls = 0;
    lv->OnCompare = [&](TObject*, TListItem* a, TListItem* b, intptr_t data, int& r) {
        ++calls;
        EXPECT_EQ(data, 7);
        // descending by sub-item
        r = b->SubItems().Get(0).compare(a->SubItems().Get(0));
    };
    lv->CustomSort(7);
    EXPECT_GT(calls, 0);
    EXPECT_EQ(Order(), u"dcba");
    for (int i = 0; i < 4; ++i) {
        TListItem* it = lv->Items()[i];
        EXPECT_EQ(it->SubItems().Get(0), u"sub-" + it->Caption());
        EXPECT_EQ(lv->Tree()->topLevelItem(i)->text(1).toStdU16String(), u"sub-" + it->Caption());
    }
    EXPECT_EQ(lv->SelCount(), 1);
    EXPECT_EQ(lv->Selected()->Caption(), u"c");
    lv->OnCompare = nullptr;
    lv->AlphaSort();
    EXPECT_EQ(Order(), u"abcd");
}

TEST_F(ListFixture, SelectionQueriesAndEvents) {
    AddRows({u"1", u"2", u"3"});
    std::vector<std::pair<WideString, bool>> events;
    lv->OnSelectItem = [&](TObject*, TListItem* it, bool sel) {
        events.emplace_back(it->Caption(), sel);
    };
    lv->SetSelected(lv->Items()[1]);
    EXPECT_EQ(lv->ItemIndex(), 1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], std::make_pair(WideString(u"2"), true));
    lv->SelectAll(); // single selection: only the first
    EXPECT_EQ(lv->SelCount(), 1);
    lv->SetMultiSelect(true);
    lv->SelectAll();
    EXPECT_EQ(lv->SelCount(), 3);
    EXPECT_EQ(lv->GetNextItem(lv->Items()[0], sdAll, isSelected), lv->Items()[1]);
    lv->ClearSelection();
    EXPECT_EQ(lv->Selected(), nullptr);
    EXPECT_EQ(lv->GetNextItem(nullptr, sdAll, isSelected), nullptr);
    QRect r = RowRect(2);
    QPoint inTree = lv->Tree()->viewport()->mapTo(lv->Tree(), r.center());
    EXPECT_EQ(lv->GetItemAt(inTree.x(), inTree.y()), lv->Items()[2]);
    EXPECT_EQ(lv->GetItemAt(inTree.x(), 250), nullptr);
}

TEST_F(ListFixture, ColumnClickAndMouseClicks) {
    AddRows({u"1"});
    TListColumn* clicked = nullptr;
    lv->OnColumnClick = [&](TObject*, TListColumn* c) { clicked = c; };
    emit lv->Tree()->header()->sectionClicked(1);
    EXPECT_EQ(clicked, lv->Columns()[1]);
    int clicks = 0, dbl = 0;
    lv->OnClick = [&](TObject*) { ++clicks; };
    lv->OnDblClick = [&](TObject*) { ++dbl; };
    QWidget* vp = lv->Tree()->viewport();
    QPoint c = RowRect(0).center();
    MouseAt(vp, QEvent::MouseButtonPress, c);
    MouseAt(vp, QEvent::MouseButtonRelease, c);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(lv->Items()[0]->Selected());
    MouseAt(vp, QEvent::MouseButtonDblClick, c);
    EXPECT_EQ(dbl, 1);
}

TEST_F(ListFixture, DraggingRowsMovesThemBeforeTheDropRow) {
    struct Case {
        std::vector<int> selected;
        int pressRow, dropRow;
        const char16_t* expected;
    } cases[] = {
        {{1, 3}, 1, 0, u"24135"}, // rows 2 and 4 of 5 onto row 1
        {{1, 3}, 3, 3, u"12345"}, // a drop onto a dragged row changes nothing
        {{1, 3}, 1, 1, u"12345"},
        {{0}, 0, 4, u"23415"},
    };
    for (const Case& c : cases) {
        lv->Items().Clear();
        AddRows({u"1", u"2", u"3", u"4", u"5"});
        lv->SetMultiSelect(true);
        lv->DragMode = dmAutomatic;
        for (int i : c.selected)
            lv->Items()[i]->SetSelected(true);
        TObject* source = nullptr;
        lv->OnDragOver = [&](TObject*, TObject* s, int, int, TDragState, bool& accept) {
            accept = s == lv;
        };
        lv->OnDragDrop = [&](TObject*, TObject* s, int x, int y) {
            source = s;
            lv->MoveSelectedItems(lv->GetItemAt(x, y));
        };
        QWidget* vp = lv->Tree()->viewport();
        QPoint from = RowRect(c.pressRow).center(), to = RowRect(c.dropRow).center();
        MouseAt(vp, QEvent::MouseButtonPress, from);
        MouseAt(vp, QEvent::MouseMove, from + QPoint(0, 30));
        EXPECT_TRUE(lv->Dragging());
        MouseAt(vp, QEvent::MouseMove, to);
        MouseAt(vp, QEvent::MouseButtonRelease, to);
        EXPECT_EQ(source, lv);
        EXPECT_EQ(Order(), c.expected);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(lv->Items()[i]->SubItems().Get(0), u"sub-" + lv->Items()[i]->Caption());
        EXPECT_EQ(lv->SelCount(), int(c.selected.size()));
    }
}

TEST_F(ListFixture, DropBelowTheLastRowAppends) {
    AddRows({u"1", u"2", u"3"});
    lv->SetMultiSelect(true);
    lv->Items()[0]->SetSelected(true);
    lv->MoveSelectedItems(nullptr);
    EXPECT_EQ(Order(), u"231");
}

TEST_F(ListFixture, KeyEventsReachTheHandlers) {
    AddRows({u"1", u"2"});
    lv->SetMultiSelect(true);
    lv->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState shift) {
        if (key == 'A' && (shift & ssCtrl)) lv->SelectAll();
        if (key == VK_DELETE)
            for (int i = lv->Items().Count() - 1; i >= 0; --i)
                if (lv->Items()[i]->Selected()) lv->Items().Delete(i);
    };
    lv->SetFocus();
    PressKey(lv->Widget(), Qt::Key_A, "a", Qt::ControlModifier);
    EXPECT_EQ(lv->SelCount(), 2);
    PressKey(lv->Widget(), Qt::Key_Delete, "");
    EXPECT_EQ(lv->Items().Count(), 0);
}

} // namespace

namespace {

TEST_F(ListFixture, CaptionsEditedInPlaceGoThroughOnEdited) {
    int data = 0;
    lv->AddItem(u"old", &data);
    TListItem* it = lv->Items()[0];
    EXPECT_EQ(it->Data, &data);
    lv->OnEdited = [](TObject*, TListItem*, WideString& s) { s += u"Ω"; };
    QTreeWidgetItem* node = lv->Tree()->topLevelItem(0);
    node->setText(0, "new"); // what the in-place editor does
    EXPECT_EQ(it->Caption(), u"newΩ");
    EXPECT_EQ(node->text(0).toStdU16String(), u"newΩ");
    EXPECT_EQ(lv->Tree()->editTriggers(), QAbstractItemView::EditKeyPressed);
    lv->SetReadOnly(true);
    EXPECT_EQ(lv->Tree()->editTriggers(), QAbstractItemView::NoEditTriggers);
}

struct MarkedItem : TListItem {
    explicit MarkedItem(TListItems* Owner) : TListItem(Owner) {}
    int Mark = 7;
};

TEST_F(ListFixture, OnCreateItemClassChoosesTheClassOfNewItems) {
    lv->OnCreateItemClass = [](TObject*, TListItemClass& itemClass) {
        itemClass = ListItemClassOf<MarkedItem>();
    };
    AddRows({u"a", u"b"});
    QWidget* viewport = lv->Tree()->viewport();
    MouseAt(viewport, QEvent::MouseButtonPress, RowRect(1).center());
    MouseAt(viewport, QEvent::MouseButtonRelease, RowRect(1).center());
    auto* clicked = dynamic_cast<MarkedItem*>(lv->Selected());
    ASSERT_NE(clicked, nullptr);
    EXPECT_EQ(clicked->Caption(), u"b");
    EXPECT_EQ(clicked->Mark, 7);

    struct NotAnItem : TObject {};
    lv->OnCreateItemClass = [](TObject*, TListItemClass& itemClass) {
        itemClass = [](TListItems*) -> TObject* { return new NotAnItem; };
    };
    try {
        lv->Items().Add();
        FAIL() << "no exception";
    } catch (const EUCodeInternalError& e) {
        EXPECT_STREQ(
            e.what(),
            "Internal Error: OnCreateItemClass.ItemClass must inherit from TUCodeListItem.");
    }
    EXPECT_EQ(lv->Items().Count(), 2);
}

TEST_F(ListFixture, OwnerDrawnRowsAreDrawnWholeByOnDrawItem) {
    AddRows({u"red", u"green", u"plain"});
    std::vector<std::pair<WideString, TOwnerDrawState>> drawn;
    lv->OnDrawItem = [&](TListView* sender, TListItem* item, TRect rect, TOwnerDrawState state) {
        drawn.emplace_back(item->Caption(), state);
        TCanvas& canvas = sender->Canvas();
        canvas.Brush.Color = item->Caption() == u"red" ? clRed : clLime;
        canvas.FillRect(rect);
    };
    lv->SetOwnerDraw(true);
    lv->SetRowSelect(true);
    QWidget* viewport = lv->Tree()->viewport();
    MouseAt(viewport, QEvent::MouseButtonPress, RowRect(1).center());
    MouseAt(viewport, QEvent::MouseButtonRelease, RowRect(1).center());
    QImage image = viewport->grab().toImage();
    ASSERT_GE(drawn.size(), 3u);
    auto selected =
        std::find_if(drawn.begin(), drawn.end(), [](const auto& d) { return d.first == u"green"; });
    ASSERT_NE(selected, drawn.end());
    EXPECT_TRUE(selected->second & odSelected);
    QRect second = lv->Tree()->visualRect(lv->Tree()->model()->index(0, 1));
    EXPECT_EQ(QColor(image.pixel(RowRect(0).center())), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(second.center())), QColor(Qt::red)); // the whole row
    EXPECT_EQ(QColor(image.pixel(RowRect(1).center())), QColor(Qt::green));
    // Without OnDrawItem the caption is drawn on the row's brush.
    lv->OnDrawItem = nullptr;
    image = viewport->grab().toImage();
    EXPECT_NE(QColor(image.pixel(RowRect(0).center())), QColor(Qt::red));
    lv->SetOwnerDraw(false);
    EXPECT_FALSE(lv->OwnerDraw());
}

TEST_F(ListFixture, OwnerDataShowsAMillionRowsAskingOnlyForTheVisibleOnes) {
    std::set<int> asked;
    lv->SetOwnerData(true);
    lv->OnData = [&](TObject*, TListItem* item) {
        asked.insert(item->Index());
        item->SetCaption(u"Row " + U16(std::to_string(item->Index())));
        item->SubItems().Add(u"Sub " + U16(std::to_string(item->Index())));
    };
    lv->Items().SetCount(1000000);
    EXPECT_EQ(lv->Items().Count(), 1000000);
    QTreeView* view = lv->View();
    EXPECT_EQ(view->model()->rowCount(), 1000000);
    view->viewport()->grab();
    int visible = view->viewport()->height() / std::max(view->sizeHintForRow(0), 1) + 2;
    ASSERT_FALSE(asked.empty());
    EXPECT_LE(int(asked.size()), visible + 2);
    EXPECT_LE(*asked.rbegin(), visible + 2);
    EXPECT_EQ(view->model()->index(3, 1).data().toString(), QString("Sub 3"));
    EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), QString("Value"));

    // Keys move through the rows; the last row is asked for when it comes into view.
    asked.clear();
    view->setFocus();
    PressKey(view, Qt::Key_Home, ""); // the first key only makes the first row current
    PressKey(view, Qt::Key_End, "");
    view->viewport()->grab();
    EXPECT_LE(int(asked.size()), 2 * visible + 4);
    EXPECT_EQ(asked.count(999999), 1u);
    EXPECT_EQ(lv->ItemIndex(), 999999);
    // A click selects a row; the list answers with the passing item of that row.
    QRect row = view->visualRect(view->model()->index(999998, 0));
    MouseAt(view->viewport(), QEvent::MouseButtonPress, row.center());
    MouseAt(view->viewport(), QEvent::MouseButtonRelease, row.center());
    ASSERT_NE(lv->Selected(), nullptr);
    EXPECT_EQ(lv->Selected()->Caption(), u"Row 999998");
    EXPECT_EQ(lv->SelCount(), 1);
    EXPECT_THROW(lv->Items().Add(), Exception);
    lv->Items().Clear();
    EXPECT_EQ(view->model()->rowCount(), 0);
}

TEST_F(ListFixture, CopySelectionCopiesTheSelectedRowsIntoEveryKindOfListControl) {
    AddRows({u"a", u"b😀", u"c"});
    int data[3] = {};
    for (int i = 0; i < 3; ++i)
        lv->Items()[i]->Data = &data[i];
    lv->SetMultiSelect(true);
    lv->SetRowSelect(true);
    QWidget* viewport = lv->Tree()->viewport();
    MouseAt(viewport, QEvent::MouseButtonPress, RowRect(0).center());
    MouseAt(viewport, QEvent::MouseButtonRelease, RowRect(0).center());
    QMouseEvent ctrlClick(QEvent::MouseButtonPress, QPointF(RowRect(1).center()),
                          QPointF(viewport->mapToGlobal(RowRect(1).center())), Qt::LeftButton,
                          Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(viewport, &ctrlClick);
    ASSERT_EQ(lv->SelCount(), 2);

    auto* other = new TListView(form);
    other->SetParent(form);
    other->AddItem(u"first", nullptr);
    lv->CopySelection(other);
    ASSERT_EQ(other->Items().Count(), 3);
    EXPECT_EQ(other->Items()[1]->Caption(), u"a");
    EXPECT_EQ(other->Items()[2]->Caption(), u"b😀");
    EXPECT_EQ(other->Items()[2]->SubItems().Get(0), u"sub-b😀");
    EXPECT_EQ(other->Items()[2]->Data, &data[1]);

    auto* box = new TListBox(form);
    box->SetParent(form);
    lv->CopySelection(box);
    ASSERT_EQ(box->Count(), 2);
    EXPECT_EQ(box->Items().Get(1), u"b😀");
    EXPECT_EQ(box->Items().GetObject(1), &data[1]);
    // A combo box hands on its selected item; AddItem takes any list control.
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    UCodeListControl_AddItem(combo, u"x", &data[2]);
    combo->SetItemIndex(0);
    combo->CopySelection(box);
    EXPECT_EQ(box->Items().Get(2), u"x");
    EXPECT_EQ(box->Items().GetObject(2), &data[2]);
}

} // namespace

namespace {

TEST(ImageList, ImagesMasksAndFreeing) {
    TImageList images(nullptr);
    TBitmap red;
    red.SetPixelFormat(TPixelFormat::pf24bit);
    red.SetSize(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            red.SetPixel(x, y, x < 8 ? clRed : clFuchsia);
    EXPECT_EQ(images.Add(red), 0);
    EXPECT_EQ(images.AddMasked(red, clFuchsia), 1);
    EXPECT_EQ(images.Add(TBitmap()), -1);
    EXPECT_EQ(images.Count(), 2);
    QImage masked = images.Icon(1).pixmap(16, 16).toImage();
    EXPECT_EQ(qAlpha(masked.pixel(12, 3)), 0);
    EXPECT_EQ(QColor(masked.pixel(3, 3)).rgb() & 0xFFFFFF, 0xFF0000u);
    EXPECT_TRUE(images.Icon(5).isNull());
    TBitmap back = images.Bitmap(0);
    EXPECT_EQ(back.Width(), 16);
    EXPECT_EQ(back.Pixel(3, 3), clRed);
    images.Delete(0);
    EXPECT_EQ(images.Count(), 1);
    images.SetWidth(32); // a new size empties the list
    EXPECT_EQ(images.Count(), 0);
}

TEST_F(ListFixture, ItemsShowTheirSmallImage) {
    auto* images = new TImageList(form);
    TBitmap b;
    b.SetPixelFormat(TPixelFormat::pf24bit);
    b.SetSize(16, 16);
    images->Add(b);
    lv->SetSmallImages(images);
    TListItem* it = lv->Items().Add();
    EXPECT_TRUE(lv->Tree()->topLevelItem(0)->icon(0).isNull());
    it->SetImageIndex(0);
    EXPECT_FALSE(lv->Tree()->topLevelItem(0)->icon(0).isNull());
    images->Free(); // the list view lets go of it
    EXPECT_EQ(lv->SmallImages(), nullptr);
    EXPECT_TRUE(lv->Tree()->topLevelItem(0)->icon(0).isNull());
}

} // namespace
