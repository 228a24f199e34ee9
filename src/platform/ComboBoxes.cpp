#include "platform/ComboBoxes.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>

#include "platform/QtStrings.h"

// ---------------------------------------------------------------- TComboBox

TComboBox::TComboBox(TComponent* AOwner)
    : TCustomListControl(AOwner, new QComboBox), FItems(std::make_unique<TComboBoxStrings>(this)) {
    InitColor(clWindow);
    SetBounds(0, 0, 145, 21);
    Box()->setMaxVisibleItems(8);
    // An item longer than the list is cut at its end, as the closed box shows its start.
    Box()->view()->setTextElideMode(Qt::ElideRight);
    SetStyle(csDropDown);
    QObject::connect(Box(), qOverload<int>(&QComboBox::activated), [this](int) {
        if (FInternal || Destroying()) return;
        ShowTextStart();
        Click();
        Select();
    });
}

TComboBox::~TComboBox() = default;

QComboBox* TComboBox::Box() const {
    return static_cast<QComboBox*>(Widget());
}

void TComboBox::SetStyle(TComboBoxStyle Value) {
    bool first = !Box()->isEditable() && !Box()->lineEdit();
    if (Value == FStyle && !first) return;
    WideString text = Text();
    FStyle = Value;
    ++FInternal;
    Box()->setEditable(HasEdit());
    if (QLineEdit* e = Box()->lineEdit()) {
        Box()->setCompleter(nullptr);
        Box()->setInsertPolicy(QComboBox::NoInsert);
        AdoptInputWidget(e);
        if (FMaxLength > 0) e->setMaxLength(FMaxLength);
        e->setText(Q(text));
        ShowTextStart();
        QObject::connect(e, &QLineEdit::textEdited, [this] {
            if (!FInternal && !Destroying()) Change();
        });
    }
    --FInternal;
    UpdateItemDrawing();
}

void TComboBox::UpdateItemDrawing() {
    if (!OwnerDrawn()) {
        if (FDelegate) Box()->setItemDelegate(new QStyledItemDelegate(Box()));
        FDelegate = nullptr; // the box deletes the delegate it replaces
        return;
    }
    if (!FDelegate) {
        FDelegate = new OwnerDrawDelegate(
            this,
            [this](TCanvas& canvas, int row, const TRect& rect, TOwnerDrawState state) {
                DrawItemOn(canvas, row, rect, state);
            },
            Box());
        Box()->setItemDelegate(FDelegate);
    }
    FDelegate->ItemHeight = FItemHeight;
}

void TComboBox::SetItemHeight(int Value) {
    if (Value <= 0 || Value == FItemHeight) return;
    FItemHeight = Value;
    UpdateItemDrawing();
    Box()->update();
}

TCanvas& TComboBox::Canvas() {
    return FItemCanvas.Current();
}

void TComboBox::DrawItemOn(TCanvas& Canvas, int Index, const TRect& Rect, TOwnerDrawState State) {
    FItemCanvas.Drawing(Canvas, [&] { DrawItem(Index, Rect, State); });
}

void TComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    DrawItemText(Canvas(), Rect,
                 Index >= 0 && Index < FItems->Count() ? FItems->Get(Index) : WideString());
}

// The closed box of an owner-drawn style shows its selected item as OnDrawItem draws it.
bool TComboBox::PreWidgetEvent(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::FocusOut) {
        LeaveTextStart(static_cast<QFocusEvent*>(Event)->reason());
        return false;
    }
    if (!OwnerDrawn() || Watched != Box() || Event->type() != QEvent::Paint) return false;
    QComboBox* box = Box();
    QStylePainter painter(box);
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = false;
    option.frame = box->hasFrame();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                               QStyle::SC_ComboBoxEditField, box);
    TOwnerDrawState state = odComboBoxEdit;
    if (box->hasFocus()) state |= odSelected | odFocused;
    if (!box->isEnabled()) state |= odDisabled | odGrayed;
    PaintOwnerDrawn(painter, field, this, ItemIndex(), state,
                    [this](TCanvas& canvas, int row, const TRect& rect, TOwnerDrawState s) {
                        DrawItemOn(canvas, row, rect, s);
                    });
    return true;
}

WideString TComboBox::GetText() const {
    if (HasEdit() && Box()->lineEdit()) return W(Box()->lineEdit()->text());
    return W(Box()->currentText());
}

void TComboBox::SetTextCore(const WideString& Value) {
    ++FInternal;
    if (HasEdit() && Box()->lineEdit())
        Box()->lineEdit()->setText(Q(Value));
    else
        Box()->setCurrentIndex(FItems->IndexOf(Value));
    ShowTextStart();
    --FInternal;
}

int TComboBox::ItemIndex() const {
    return Box()->currentIndex();
}

void TComboBox::SetItemIndex(int Value) {
    if (Value < -1 || Value >= Box()->count()) Value = -1;
    ++FInternal;
    Box()->setCurrentIndex(Value);
    if (Value < 0 && Box()->lineEdit()) Box()->lineEdit()->clear();
    ShowTextStart();
    --FInternal;
}

// Windows shows a combo box's text from its start when the text is set or an item is
// chosen; a line edit leaves its caret at the end, which scrolls a long text to its end.
// A text selected whole stays selected.
void TComboBox::ShowTextStart() {
    QLineEdit* e = Box()->lineEdit();
    if (!e) return;
    const int length = int(e->text().size());
    if (length > 0 && e->selectedText().size() == length)
        e->setSelection(length, -length);
    else
        e->setCursorPosition(0);
}

// Windows moves the caret of a combo box's field to its start when the box loses the focus,
// so a long entry scrolled to its end while typing shows its start again. The box's own
// list and a switch to another window take the focus only for a while: caret and selection
// stay for the box's return.
void TComboBox::LeaveTextStart(Qt::FocusReason Reason) {
    QLineEdit* e = Box()->lineEdit();
    if (!e || Reason == Qt::PopupFocusReason || Reason == Qt::ActiveWindowFocusReason) return;
    e->setCursorPosition(0);
}

int TComboBox::SelStart() const {
    QLineEdit* e = Box()->lineEdit();
    if (!e) return 0;
    return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TComboBox::SetSelStart(int Value) {
    if (QLineEdit* e = Box()->lineEdit()) e->setCursorPosition(Value);
}

int TComboBox::SelLength() const {
    QLineEdit* e = Box()->lineEdit();
    return e ? int(e->selectedText().size()) : 0;
}

void TComboBox::SetSelLength(int Value) {
    if (QLineEdit* e = Box()->lineEdit()) e->setSelection(SelStart(), Value);
}

WideString TComboBox::SelText() const {
    QLineEdit* e = Box()->lineEdit();
    return e ? W(e->selectedText()) : WideString();
}

int TComboBox::DropDownCount() const {
    return Box()->maxVisibleItems();
}

void TComboBox::SetDropDownCount(int Value) {
    Box()->setMaxVisibleItems(Value);
}

bool TComboBox::DroppedDown() const {
    return Box()->view() && Box()->view()->isVisible();
}

void TComboBox::SetDroppedDown(bool Value) {
    if (Value == DroppedDown()) return;
    if (Value) {
        if (OnDropDown) GuardedCall(this, [this] { OnDropDown(this); });
        Box()->showPopup();
    } else {
        Box()->hidePopup();
        if (OnCloseUp) GuardedCall(this, [this] { OnCloseUp(this); });
    }
}

void TComboBox::SetMaxLength(int Value) {
    FMaxLength = Value;
    if (QLineEdit* e = Box()->lineEdit()) e->setMaxLength(Value > 0 ? Value : INT_MAX);
}

void TComboBox::Clear() {
    FItems->Clear();
    SetText(WideString());
}

void TComboBox::Change() {
    if (OnChange) GuardedEvent(this, "OnChange", [this] { OnChange(this); });
}

void TComboBox::Select() {
    if (OnSelect)
        GuardedEvent(this, "OnSelect", [this] { OnSelect(this); });
    else
        Change();
}

namespace {
bool StartsWithNoCase(WideStringView s, WideStringView prefix) {
    if (prefix.size() > s.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (WideUpperChar(s[i]) != WideUpperChar(prefix[i])) return false;
    return true;
}

// The next item after Start (wrapping round) that begins with Prefix, ignoring
// case; -1 when none does.
int FindItemPrefix(const TComboBoxStrings& items, WideStringView prefix, int start) {
    int n = items.Count();
    for (int k = 1; k <= n; ++k) {
        int i = ((start < 0 ? -1 : start) + k) % n;
        if (StartsWithNoCase(items.Get(i), prefix)) return i;
    }
    return -1;
}
} // namespace

void TComboBox::KeyPress(WideChar& Key) {
    TWinControl::KeyPress(Key);
    if (!Key || !AutoComplete) return;
    // A character outside the BMP comes in two halves: it is looked up whole when
    // its second half arrives (consuming that half drops both).
    WideString typed(1, Key);
    if (Key >= 0xD800 && Key < 0xDC00) {
        FPendingHigh = Key;
        return;
    }
    if (Key >= 0xDC00 && Key < 0xE000) {
        if (!FPendingHigh) return;
        typed = WideString{FPendingHigh, Key};
    }
    FPendingHigh = 0;
    if (HasEdit())
        EditAutoComplete(Key, typed);
    else
        ListAutoComplete(Key, typed);
}

void TComboBox::EditAutoComplete(WideChar& Key, const WideString& Typed) {
    switch (Key) {
    case 8:
    case 27:
        return;
    case 9:
        if (AutoDropDown && DroppedDown()) SetDroppedDown(false);
        return;
    default:
        break;
    }
    if (AutoDropDown) SetDroppedDown(true);
    WideString text = Text();
    int start = SelStart(), len = SelLength();
    if (size_t(start + len) != text.size()) return;
    WideString prefix = text.substr(0, size_t(start)) + Typed;
    int found = FindItemPrefix(*FItems, prefix, -1);
    // A prefix that two items share completes nothing.
    if (found < 0 || FindItemPrefix(*FItems, prefix, found) != found) return;
    SelectItem(found, prefix);
    if (QLineEdit* e = Box()->lineEdit())
        e->setSelection(int(prefix.size()), int(FItems->Get(found).size() - prefix.size()));
    Key = 0;
}

void TComboBox::ListAutoComplete(WideChar& Key, const WideString& Typed) {
    switch (Key) {
    case 8:
        if (!FSearchText.empty() && FSearchText.back() >= 0xDC00 && FSearchText.back() < 0xE000)
            FSearchText.pop_back(); // the second half of a pair: the whole character goes
        if (!FSearchText.empty()) FSearchText.pop_back();
        return;
    case 9:
        if (AutoDropDown && DroppedDown()) SetDroppedDown(false);
        return;
    case 27:
        return;
    default:
        break;
    }
    if (AutoDropDown) SetDroppedDown(true);
    uint64_t now = GetTickCount();
    if (now - FLastKeyTick >= 1250) FSearchText.clear();
    FLastKeyTick = now;
    WideString search = FSearchText + Typed;
    int found = FindItemPrefix(*FItems, search, -1);
    if (found < 0) return;
    SelectItem(found, search);
    FSearchText = search;
    Key = 0;
}

void TComboBox::SelectItem(int Index, const WideString& Searched) {
    if (AutoCloseUp && DroppedDown() && FItems->Get(Index) == Searched) SetDroppedDown(false);
    WideString oldText = Text();
    int oldIndex = ItemIndex();
    ++FInternal;
    Box()->setCurrentIndex(Index);
    if (QLineEdit* e = Box()->lineEdit()) e->setText(Q(FItems->Get(Index)));
    --FInternal;
    bool changed = HasEdit() ? Text() != oldText : ItemIndex() != oldIndex;
    if (changed) {
        Click();
        Change();
    }
}

QAbstractItemModel* TComboBoxStrings::Model() const {
    return FBox->Box()->model();
}

bool TComboBoxStrings::Sorted() const {
    return FBox->Sorted;
}

void TComboBoxStrings::BeginChange() {
    if (FBox->FInternal++ == 0) FKeptText = FBox->Text();
}

void TComboBoxStrings::EndChange() {
    if (FBox->FInternal == 1 && FBox->HasEdit() && FBox->Box()->lineEdit()) {
        FBox->Box()->lineEdit()->setText(QString::fromStdU16String(FKeptText));
        FBox->ShowTextStart();
    }
    --FBox->FInternal;
}

void TComboBoxStrings::InsertObject(int Index, const WideString& S, void* AObject) {
    // A box stays without a selected item when its first item arrives (an edit-style
    // box keeps its text: EndChange puts it back).
    bool wasEmpty = GetCount() == 0;
    BeginChange();
    TItemModelStrings::InsertObject(Index, S, AObject);
    if (wasEmpty) FBox->Box()->setCurrentIndex(-1);
    EndChange();
}

void TComboBox::AddItem(const WideString& Item, void* AObject) {
    FItems->AddObject(Item, AObject);
}

void TComboBox::CopySelection(TCustomListControl* Destination) {
    int index = ItemIndex();
    if (index >= 0)
        UCodeListControl_AddItem(Destination, FItems->Get(index), FItems->GetObject(index));
}
