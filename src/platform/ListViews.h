// The list view in report style: columns, rows with a caption and sub-items,
// selection, sorting and dragging rows within the list.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ImageLists.h"
#include "platform/ListControls.h"
#include "platform/OwnerDraw.h"
#include "text/UCodeClasses.h"

class QModelIndex;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;
class TListView;
class TListItems;
class TListItem;

// ---------------------------------------------------------------- columns

class TListColumn {
public:
    const WideString& Caption() const { return FCaption; }
    void SetCaption(const WideString& Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    // Grows the column so that Text shows whole in a cell of the list's font; never
    // shrinks it, so a width the user chose stays where it suffices.
    void WidenToShow(const WideString& Text);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    int Index() const;
    void Assign(const TListColumn& Source);

private:
    friend class TListColumns;
    explicit TListColumn(TListView* Owner) : FOwner(Owner) {}
    TListView* FOwner;
    WideString FCaption;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
};

class TListColumns {
public:
    explicit TListColumns(TListView* Owner) : FOwner(Owner) {}
    int Count() const { return int(FColumns.size()); }
    TListColumn* Items(int Index) const { return FColumns.at(size_t(Index)).get(); }
    TListColumn* operator[](int Index) const { return Items(Index); }
    TListColumn* Add();
    void Delete(int Index);
    void Clear();

private:
    friend class TListColumn;
    friend class TListView;
    TListView* FOwner;
    std::vector<std::unique_ptr<TListColumn>> FColumns;
};

// ---------------------------------------------------------------- items

// A row: the caption is column 0, sub-item n is column n + 1. Every change of
// the sub-item list shows at once.
class TListItem : public TObject {
public:
    ~TListItem() override;
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    const WideString& Caption() const { return FCaption; }
    void SetCaption(const WideString& Value);
    TUCodeStringList& SubItems() { return FSubItems; }
    const TUCodeStringList& SubItems() const { return FSubItems; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    int StateIndex = -1;
    int OverlayIndex = -1;
    int Indent = 0;
    bool Checked = false;
    void* Data = nullptr;

    bool Selected() const;
    void SetSelected(bool Value);
    bool Focused() const;
    void SetFocused(bool Value);
    int Index() const;
    TListItems* Owner() const { return FOwner; }
    TListView* ListView() const;
    // Removes and frees the item.
    void Delete();
    void MakeVisible();
    // Caption, data, image, state, overlay, indent, sub-items and check mark.
    void Assign(const TListItem& Source);

protected:
    // Items are made by their list view (see TListView::OnCreateItemClass).
    explicit TListItem(TListItems* Owner);

private:
    friend class TListItems;
    friend class TListView;
    void UpdateNode();
    TListItems* FOwner;
    QTreeWidgetItem* FNode = nullptr;
    int FDataIndex = -1; // the row of an owner-data list's passing item
    WideString FCaption;
    TUCodeStringList FSubItems;
    int FImageIndex = -1;
    bool FLastSelected = false;
};

class TListItems {
public:
    explicit TListItems(TListView* Owner) : FOwner(Owner) {}
    ~TListItems();
    int Count() const;
    // In an owner-data list: the passing item, filled by OnData for that row.
    TListItem* Item(int Index) const;
    // The row count of an owner-data list (its rows are asked for as they are shown).
    void SetCount(int Value);
    TListItem* operator[](int Index) const { return Item(Index); }
    TListItem* Add();
    // A new item at Index (appended when Index is the count).
    TListItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    int IndexOf(const TListItem* Item) const;
    TListView* Owner() const { return FOwner; }

    // Painting is held while at least one update runs.
    void BeginUpdate();
    void EndUpdate();
    // Scoped update: EndUpdate runs when it goes out of scope.
    class TUpdate {
    public:
        explicit TUpdate(TListItems& Items) : FItems(Items) { FItems.BeginUpdate(); }
        ~TUpdate() { FItems.EndUpdate(); }
        TUpdate(const TUpdate&) = delete;
        TUpdate& operator=(const TUpdate&) = delete;

    private:
        TListItems& FItems;
    };
    TUpdate Update() { return TUpdate(*this); }

private:
    friend class TListItem;
    friend class TListView;
    TListView* FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
    int FUpdateCount = 0;
    int FDataCount = 0;
};

// ---------------------------------------------------------------- list view

enum TItemState : unsigned { isNone = 0, isFocused = 1, isSelected = 2 };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
enum TDragMode { dmManual, dmAutomatic };
// What a find looks for: a row's data, the start of its caption, its whole caption, or
// the row nearest a point.
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVCompareEvent = std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2,
                                           intptr_t Data, int& Compare)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, WideString& S)>;
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;

// The class of the items a list view makes: a maker of one item for the item list.
// Every maker must make a TListItem (or a class derived from it).
using TListItemClass = std::function<TObject*(TListItems* Owner)>;
// The maker of items of class T (whose constructor takes the item list).
template <class T> TListItemClass ListItemClassOf() {
    return [](TListItems* Owner) -> TObject* { return new T(Owner); };
}
using TLVCreateItemClassEvent = std::function<void(TObject* Sender, TListItemClass& ItemClass)>;
using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;
// The find of an owner-data list: the handler sets Index to the row whose caption is
// FindString (ifExactString) or begins with it (ifPartialString), searching from
// StartIndex and, with Wrap, on from the top; Index comes in as -1 (not found).
// OnDataFind gets the text in the ANSI code page, OnDataFindW as it was typed.
using TLVOwnerDataFindEvent =
    std::function<void(TObject* Sender, TItemFind Find, const AnsiString& FindString,
                       int StartIndex, bool Wrap, int& Index)>;
using TLVOwnerDataFindWEvent =
    std::function<void(TObject* Sender, TItemFind Find, const WideString& FindString,
                       int StartIndex, bool Wrap, int& Index)>;
using TLVDrawItemEvent =
    std::function<void(TListView* Sender, TListItem* Item, TRect Rect, TOwnerDrawState State)>;

class TListView : public TCustomListControl {
public:
    explicit TListView(TComponent* AOwner);
    ~TListView() override;

    TListColumns& Columns() { return *FColumns; }
    TListItems& Items() { return *FItems; }

    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value);
    // Captions can be edited in place (F2) unless the list is read-only.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool Value);
    bool HideSelection = true;
    TDragMode DragMode = dmManual;
    TImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TImageList* Value);

    // The first selected item, or nullptr; setting selects only that item.
    TListItem* Selected() const;
    void SetSelected(TListItem* Item);
    int SelCount() const;
    void SelectAll();
    void ClearSelection();
    TListItem* ItemFocused() const;
    void SetItemFocused(TListItem* Item);
    // Index of the focused item, or -1.
    int ItemIndex() const;
    void SetItemIndex(int Value);
    // The item under a client point, or nullptr.
    TListItem* GetItemAt(int X, int Y) const;
    // The next item after Start (from the top when nullptr) having all States.
    TListItem* GetNextItem(TListItem* Start, TSearchDirection Direction, unsigned States) const;
    TListItem* TopItem() const;
    // The first row from StartIndex (after it unless Inclusive; on from the top with
    // Wrap) whose caption is Value, or begins with it when Partial; letter case does not
    // count. An owner-data list asks its find (OnDataFindW, else OnDataFind). Null when
    // none.
    TListItem* FindCaption(int StartIndex, const WideString& Value, bool Partial, bool Inclusive,
                           bool Wrap);

    // Appends a row with that caption and data.
    void AddItem(const WideString& Caption, void* Data) override;
    // Adds every selected row, with its data, to Destination; a list view as
    // destination gets the rows whole, with their sub-items.
    void CopySelection(TCustomListControl* Destination) override;

    // Orders the rows by OnCompare, or by caption when it is not set; rows keep
    // their sub-items, selection and focus.
    void CustomSort(intptr_t Data = 0);
    void AlphaSort() { CustomSort(0); }
    // Puts the rows in the given order (each row once; rows left out follow in their old
    // order); rows keep their sub-items, selection and focus.
    void ReorderItems(const std::vector<TListItem*>& Order);

    // Moves the selected rows, in order, in front of Target (to the end for
    // nullptr). A drop onto one of the selected rows changes nothing.
    void MoveSelectedItems(TListItem* Target);

    // True while rows are dragged with the mouse.
    bool Dragging() const { return FDragging; }
    // Asks OnDragOver (accepting only drags from this list when unset).
    bool DragOver(TObject* Source, int X, int Y);
    void DragDrop(TObject* Source, int X, int Y);

    TLVColumnClickEvent OnColumnClick;
    TLVSelectItemEvent OnSelectItem;
    TLVCompareEvent OnCompare;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    // A caption edited in place: the handler may change the text before it is taken.
    TLVEditedEvent OnEdited;
    // Chooses the class of every new item; a class that is no TListItem raises
    // EUCodeInternalError.
    TLVCreateItemClassEvent OnCreateItemClass;

    // Owner-drawn rows: OnDrawItem draws each row on Canvas (valid while it runs);
    // without it the caption is drawn.
    bool OwnerDraw() const { return FDelegate != nullptr; }
    void SetOwnerDraw(bool Value);
    TCanvas& Canvas();
    TLVDrawItemEvent OnDrawItem;

    // Owner data: the list keeps no items of its own. Items().SetCount gives the number
    // of rows and OnData fills a passing item (Index, Caption, SubItems) for each row
    // as it is shown, so only the rows on the screen are asked for. Switched on while
    // the list is empty; sorting and moving rows do nothing then. Letters typed into the
    // list select the row the find gives for them (keys that arrive together are looked
    // up together, once); without a find nothing is selected.
    bool OwnerData() const { return FDataModel != nullptr; }
    void SetOwnerData(bool Value);
    TLVOwnerDataEvent OnData;
    TLVOwnerDataFindWEvent OnDataFindW;
    TLVOwnerDataFindEvent OnDataFind;

    // The tree of an item list (nullptr with owner data); the view of either kind.
    QTreeWidget* Tree() const;
    QTreeView* View() const;

protected:
    bool PreWidgetEvent(QObject* Watched, QEvent* Event) override;
    // Down and Up with no row selected select the framed row rather than step past it.
    void DefaultHandler(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual std::unique_ptr<TListItem> CreateListItem();
    virtual void DrawItem(TListItem* Item, TRect Rect, TOwnerDrawState State);
    // The find of an owner-data list: OnDataFindW when set, else OnDataFind with the
    // text's 8-bit form; -1 when none is set or the row given lies outside the list.
    virtual int OwnerDataFind(TItemFind Find, const WideString& FindString, int StartIndex,
                              bool Wrap);

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    void UpdateColumns();
    void UpdateEditTriggers();
    void SelectionChanged();
    void UpdateIcons();
    int ColumnCount() const;
    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListItems> FItems;
    bool FMultiSelect = false;
    bool FRowSelect = false;
    bool FReadOnly = false;
    bool FShowColumnHeaders = true;
    TImageList* FSmallImages = nullptr;
    int FSelectionLock = 0;
    bool FPressed = false;
    bool FDragging = false;
    TPoint FPressPos;
    // What a person does to the rows before the view sees it: a press below the last row
    // leaves none selected.
    void RowsBeforeInput(QObject* Watched, QEvent* Event);
    // With no row selected: selects the framed (current) row, else the first row; false
    // when the list has no row to select or a row is selected already.
    bool SelectFramedRow();
    bool DragInput(QObject* Watched, QEvent* Event);
    OwnerDrawDelegate* FDelegate = nullptr;
    TOwnerDrawCanvas FItemCanvas;
    class DataModel;
    class DataView;
    DataModel* FDataModel = nullptr;
    std::unique_ptr<TListItem> FDataItem;
    // The passing item of an owner-data row, filled by OnData (kept for the next call
    // on the same row).
    TListItem* DataItem(int Index);
    void ApplyViewSettings();
    void SetDataCount(int Value);
    void UpdateDataColumns();
    // Letters typed into an owner-data list: they add to the text being looked for
    // (a pause of the keyboard input interval starts a new text); the find runs once the
    // keys that arrived together are in.
    void TypedSearch(const WideString& Typed);
    void FindTypedText();
    WideString FTypedText;
    std::chrono::steady_clock::time_point FTypedAt;
    bool FTypedFindPending = false;
    // The selected rows in order.
    std::vector<int> SelectedRows() const;
};

using TUCodeListColumn = TListColumn;
using TUCodeListColumns = TListColumns;
using TUCodeListItem = TListItem;
using TUCodeListItems = TListItems;
using TUCodeListView = TListView;
using TUCodeCustomListView = TListView;
