#include "platform/ListBoxes.h"

#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "support/WidgetInput.h"

namespace {

TEST(ListBox, ItemsSelectionAndDraggingWithinTheList) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 300, 300);
    auto* list = new TListBox(form);
    list->SetParent(form);
    list->SetBounds(10, 10, 200, 250);
    for (int i = 1; i <= 15; ++i)
        list->Items().Add(U16(std::to_string(i)));
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->SetItemIndex(2);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(clicks, 0); // by code: no click
    EXPECT_EQ(list->Items().IndexOf(u"12"), 11);
    list->SetMultiSelect(true);
    list->ClearSelection();
    list->SetSelected(4, true);
    list->SetSelected(5, true);
    EXPECT_EQ(list->SelCount(), 2);
    form->Show();

    // Drag item 5 ("5") down over item 8: every drag-over may move the selected items.
    list->DragMode = dmAutomatic;
    std::vector<int> overs;
    list->OnDragOver = [&](TObject*, TObject* source, int x, int y, TDragState, bool& accept) {
        accept = source == list && list->ItemAtPos(Point(x, y), true) >= 0;
        overs.push_back(list->ItemAtPos(Point(x, y), true));
    };
    int drops = 0;
    list->OnDragDrop = [&](TObject*, TObject*, int, int) { ++drops; };
    TRect from = list->ItemRect(4), to = list->ItemRect(7);
    ASSERT_GT(from.Height(), 0);
    QWidget* vp = list->Widget()->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
    ASSERT_NE(vp, nullptr);
    QPoint a = vp->mapFrom(list->Widget(), QPoint(from.Left + 5, from.Top + 2));
    QPoint b = vp->mapFrom(list->Widget(), QPoint(to.Left + 5, to.Top + 2));
    MouseAt(vp, QEvent::MouseButtonPress, a);
    MouseAt(vp, QEvent::MouseMove, b);
    MouseAt(vp, QEvent::MouseButtonRelease, b);
    EXPECT_FALSE(overs.empty());
    EXPECT_EQ(overs.back(), 7);
    EXPECT_EQ(drops, 1);
    EXPECT_FALSE(list->Dragging());
    EXPECT_EQ(list->ItemAtPos(Point(5, 5000), false), list->Count());
    form->Free();
}

} // namespace
