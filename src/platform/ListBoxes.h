// List boxes: a list of wide strings with single or multiple selection, whose
// items can be dragged within the list.
#pragma once

#include <memory>

#include "platform/ItemStrings.h"
#include "platform/ListControls.h"
#include "platform/ListViews.h" // the drag mode, state and events shared by the lists

class QListWidget;
class TListBox;

// The items of a list box; changing them fires no event.
class TListBoxStrings : public TItemModelStrings {
public:
    explicit TListBoxStrings(TListBox* Box) : FBox(Box) {}

protected:
    QAbstractItemModel* Model() const override;
    bool Sorted() const override;
    void BeginChange() override;
    void EndChange() override;

private:
    TListBox* FBox;
};

class TListBox : public TCustomListControl {
public:
    explicit TListBox(TComponent* AOwner);
    ~TListBox() override;
    TListBoxStrings& Items() { return *FItems; }
    int Count() const { return FItems->Count(); }
    // The current item (the focused one), -1 when none.
    int ItemIndex() const;
    void SetItemIndex(int Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool Selected(int Index) const;
    void SetSelected(int Index, bool Value);
    int SelCount() const;
    void ClearSelection();
    void SelectAll();
    bool Sorted = false;
    int TopIndex() const;
    // The item at a client point; -1 when there is none, or with Existing false
    // the item count below the last item.
    int ItemAtPos(TPoint Pos, bool Existing) const;
    TRect ItemRect(int Index) const;
    void Clear() { FItems->Clear(); }
    void AddItem(const WideString& Item, void* AObject) override;
    void CopySelection(TCustomListControl* Destination) override;

    TDragMode DragMode = dmManual;
    bool Dragging() const { return FDragging; }
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;

protected:
    QPalette::ColorRole ColorRole() const override { return QPalette::Base; }
    bool PreWidgetEvent(QObject* Watched, QEvent* Event) override;
    bool ClicksOnMouseUp() const override { return false; }

private:
    friend class TListBoxStrings;
    QListWidget* List() const;
    bool DragOver(int X, int Y);
    std::unique_ptr<TListBoxStrings> FItems;
    bool FMultiSelect = false;
    int FInternal = 0;
    bool FPressed = false;
    bool FDragging = false;
    QPoint FPressPos;
};

using TUCodeListBox = TListBox;
