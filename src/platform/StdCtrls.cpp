#include "platform/StdCtrls.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <climits>

#include "platform/CaptionText.h"
#include "platform/Forms.h"

namespace {

QString Q(const WideString& s) {
    return QString::fromStdU16String(s);
}
WideString W(const QString& s) {
    return s.toStdU16String();
}

// Every line break of a text (CR LF, CR, LF, U+2028) as one LF, the form Qt's text
// documents hold.
QString ToDocumentText(WideStringView s) {
    WideString out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        WideChar c = s[i];
        if (c == u'\r') {
            if (i + 1 < s.size() && s[i + 1] == u'\n') ++i;
            out += u'\n';
        } else if (c == 0x2028) {
            out += u'\n';
        } else {
            out += c;
        }
    }
    return Q(out);
}

Qt::Alignment QtAlignment(TAlignment a, TTextLayout l) {
    Qt::Alignment h = a == taCenter         ? Qt::AlignHCenter
                      : a == taRightJustify ? Qt::AlignRight
                                            : Qt::AlignLeft;
    Qt::Alignment v = l == tlCenter   ? Qt::AlignVCenter
                      : l == tlBottom ? Qt::AlignBottom
                                      : Qt::AlignTop;
    return h | v;
}

// Size of a text in a font; an empty text measures as one blank.
QSize TextExtent(const QFont& font, const QString& text, bool wrap, int width) {
    QFontMetrics fm(font);
    QString t = text.isEmpty() ? QStringLiteral(" ") : text;
    int flags = Qt::AlignLeft | Qt::AlignTop | (wrap ? Qt::TextWordWrap : 0);
    QRect r = fm.boundingRect(QRect(0, 0, wrap ? width : 100000, 100000), flags, t);
    return QSize(r.width(), std::max(r.height(), fm.height()));
}

} // namespace

TWinControl* FindFirstFocusable(TWinControl* Parent) {
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        auto* w = dynamic_cast<TWinControl*>(Parent->Controls(i));
        if (!w) continue;
        if (w->TabStop && w->CanFocus() && w->FocusWidget()->focusPolicy() != Qt::NoFocus &&
            w->ControlCount() == 0)
            return w;
        if (TWinControl* inner = FindFirstFocusable(w)) return inner;
    }
    return nullptr;
}

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner, new QLabel) {
    Label()->setTextFormat(Qt::PlainText);
    Label()->setAlignment(QtAlignment(FAlignment, FLayout));
    SetBounds(0, 0, 65, 13);
    AdjustSize();
}

QLabel* TLabel::Label() const {
    return static_cast<QLabel*>(Widget());
}

WideString TLabel::DisplayText() const {
    return FShowAccelChar ? WideStripHotkey(FText) : FText;
}

void TLabel::SetTextCore(const WideString& Value) {
    FText = Value;
    UpdateLabel();
}

void TLabel::UpdateLabel() {
    Label()->setText(Q(DisplayText()));
    AdjustSize();
}

void TLabel::AdjustSize() {
    if (!FAutoSize) return;
    QSize s = TextExtent(Widget()->font(), Q(DisplayText()), FWordWrap, Width());
    SetBounds(Left(), Top(), FWordWrap ? Width() : s.width(), s.height());
}

void TLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustSize();
}

void TLabel::SetAutoSize(bool Value) {
    FAutoSize = Value;
    AdjustSize();
}

void TLabel::SetWordWrap(bool Value) {
    FWordWrap = Value;
    Label()->setWordWrap(Value);
    AdjustSize();
}

void TLabel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Label()->setAlignment(QtAlignment(FAlignment, FLayout));
}

void TLabel::SetLayout(TTextLayout Value) {
    FLayout = Value;
    Label()->setAlignment(QtAlignment(FAlignment, FLayout));
}

void TLabel::SetShowAccelChar(bool Value) {
    FShowAccelChar = Value;
    UpdateLabel();
}

void TLabel::WndProc(TMessage& Message) {
    if (Message.Msg == CM_DIALOGCHAR) {
        if (FocusControl && FShowAccelChar && Enabled() &&
            IsWideCharAccel(WideChar(Message.WParam), FText) && FocusControl->CanFocus()) {
            FocusControl->SetFocus();
            Message.Result = 1;
        }
        return;
    }
    TGraphicControl::WndProc(Message);
}

// ---------------------------------------------------------------- TStaticText

TStaticText::TStaticText(TComponent* AOwner) : TWinControl(AOwner, new QLabel) {
    Label()->setTextFormat(Qt::PlainText);
    // A static text starts at the top left and breaks its lines at the control's width
    // (an auto-sized one is as wide as its longest line, so it never breaks).
    Label()->setWordWrap(true);
    Label()->setAlignment(QtAlignment(FAlignment, tlTop));
    Widget()->setFocusPolicy(Qt::NoFocus);
    TabStop = false;
    SetBounds(0, 0, 65, 17);
    AdjustSize();
}

QLabel* TStaticText::Label() const {
    return static_cast<QLabel*>(Widget());
}

void TStaticText::SetTextCore(const WideString& Value) {
    FText = Value;
    Label()->setText(Q(ShowAccelChar ? WideStripHotkey(Value) : Value));
    AdjustSize();
}

void TStaticText::AdjustSize() {
    if (!FAutoSize) return;
    QSize s = TextExtent(Widget()->font(), Label()->text(), false, 0);
    const int bx = 1; // the border width of a window frame line
    SetBounds(Left(), Top(), s.width() + 4 * bx, s.height() + 4 * bx);
}

void TStaticText::FontChanged() {
    TWinControl::FontChanged();
    AdjustSize();
}

void TStaticText::SetAutoSize(bool Value) {
    FAutoSize = Value;
    AdjustSize();
}

void TStaticText::SetBorderStyle(TStaticBorderStyle Value) {
    FBorderStyle = Value;
    Label()->setFrameStyle(Value == sbsNone     ? QFrame::NoFrame
                           : Value == sbsSingle ? (QFrame::Box | QFrame::Plain)
                                                : (QFrame::Panel | QFrame::Sunken));
}

void TStaticText::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Label()->setAlignment(QtAlignment(Value, tlTop));
}

bool TStaticText::DialogChar(WideChar Key) {
    if (!IsWideCharAccel(Key, FText) || !FocusControl || !Enabled() || !ShowAccelChar) return false;
    if (FocusControl->CanFocus()) FocusControl->SetFocus();
    return true;
}

// ---------------------------------------------------------------- TEdit

namespace {
WideString WithoutLineBreaks(WideStringView s) {
    WideString out;
    out.reserve(s.size());
    for (WideChar c : s)
        if (c != u'\r' && c != u'\n') out += c;
    return out;
}
} // namespace

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner, new QLineEdit) {
    InitColor(clWindow);
    Edit()->setMaxLength(INT_MAX);
    SetBounds(0, 0, 121, 21);
    QObject::connect(Edit(), &QLineEdit::textChanged, [this] {
        if (!Destroying()) Change();
    });
    QObject::connect(Edit(), &QLineEdit::textEdited, [this] { Modified = true; });
}

QLineEdit* TEdit::Edit() const {
    return static_cast<QLineEdit*>(Widget());
}

WideString TEdit::GetText() const {
    return W(Edit()->text());
}

void TEdit::SetTextCore(const WideString& Value) {
    WideString clean = WithoutLineBreaks(Value);
    if (clean == GetText()) return;
    Edit()->setText(Q(clean));
}

void TEdit::Change() {
    if (OnChange) GuardedCall(this, [this] { OnChange(this); });
}

int TEdit::SelStart() const {
    return Edit()->hasSelectedText() ? Edit()->selectionStart() : Edit()->cursorPosition();
}

void TEdit::SetSelStart(int Value) {
    Edit()->setCursorPosition(Value);
}

int TEdit::SelLength() const {
    return int(Edit()->selectedText().size());
}

void TEdit::SetSelLength(int Value) {
    Edit()->setSelection(SelStart(), Value);
}

WideString TEdit::SelText() const {
    return W(Edit()->selectedText());
}

void TEdit::SetSelText(const WideString& Value) {
    Edit()->insert(Q(WithoutLineBreaks(Value)));
}

void TEdit::SelectAll() {
    Edit()->selectAll();
}

void TEdit::SetMaxLength(int Value) {
    FMaxLength = Value;
    Edit()->setMaxLength(Value > 0 ? Value : INT_MAX);
}

bool TEdit::ReadOnly() const {
    return Edit()->isReadOnly();
}

void TEdit::SetReadOnly(bool Value) {
    Edit()->setReadOnly(Value);
}

void TEdit::SetPasswordChar(WideChar Value) {
    FPasswordChar = Value;
    if (!Value) {
        Edit()->setEchoMode(QLineEdit::Normal);
        Edit()->setStyleSheet(QString());
        return;
    }
    Edit()->setEchoMode(QLineEdit::Password);
    Edit()->setStyleSheet(QStringLiteral("lineedit-password-character: %1").arg(int(Value)));
}

// ---------------------------------------------------------------- TMemo

TMemo::TMemo(TComponent* AOwner)
    : TWinControl(AOwner, new QPlainTextEdit), FLines(std::make_unique<TMemoStrings>(this)) {
    AdoptInputWidget(Edit()->viewport());
    InitColor(clWindow);
    SetBounds(0, 0, 185, 89);
    SetWordWrap(true);
    SetScrollBars(ssNone);
    SetWantTabs(false);
    QObject::connect(Edit(), &QPlainTextEdit::textChanged, [this] {
        if (!Destroying()) Change();
    });
}

TMemo::~TMemo() = default;

QPlainTextEdit* TMemo::Edit() const {
    return static_cast<QPlainTextEdit*>(Widget());
}

WideString TMemo::GetText() const {
    // The raw text keeps every character (plain-text export would turn no-break
    // spaces into blanks); block and line separators become CR LF.
    QString raw = Edit()->document()->toRawText();
    WideString out;
    out.reserve(size_t(raw.size()) + 16);
    for (QChar qc : raw) {
        char16_t c = qc.unicode();
        if (c == 0x2029 || c == 0x2028 || c == u'\n') {
            out += u"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

void TMemo::SetTextCore(const WideString& Value) {
    QString doc = ToDocumentText(Value);
    if (doc == ToDocumentText(GetText())) return;
    Edit()->setPlainText(doc);
}

void TMemo::Change() {
    if (OnChange) GuardedCall(this, [this] { OnChange(this); });
}

int TMemo::LineCount() const {
    return Edit()->document()->blockCount();
}

int TMemo::LineIndex(int Line) const {
    if (Line < 0 || Line >= LineCount()) return -1;
    QTextBlock b = Edit()->document()->findBlockByNumber(Line);
    return b.position() + Line;
}

int TMemo::LineLength(int Line) const {
    if (Line < 0 || Line >= LineCount()) return 0;
    return Edit()->document()->findBlockByNumber(Line).length() - 1;
}

int TMemo::LineFromChar(int Position) const {
    int lo = 0, hi = LineCount() - 1;
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        if (LineIndex(mid) <= Position)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

int TMemo::ToDocPos(int Pos) const {
    Pos = std::max(Pos, 0);
    int line = LineFromChar(Pos);
    QTextBlock b = Edit()->document()->findBlockByNumber(line);
    int offset = std::min(Pos - LineIndex(line), b.length() - 1);
    return b.position() + offset;
}

int TMemo::FromDocPos(int DocPos) const {
    QTextBlock b = Edit()->document()->findBlock(DocPos);
    return DocPos + std::max(b.blockNumber(), 0);
}

int TMemo::SelStart() const {
    return FromDocPos(Edit()->textCursor().selectionStart());
}

void TMemo::SetSelStart(int Value) {
    QTextCursor c = Edit()->textCursor();
    c.setPosition(ToDocPos(Value));
    Edit()->setTextCursor(c);
}

int TMemo::SelLength() const {
    QTextCursor c = Edit()->textCursor();
    return FromDocPos(c.selectionEnd()) - FromDocPos(c.selectionStart());
}

void TMemo::SetSelLength(int Value) {
    int start = SelStart();
    QTextCursor c = Edit()->textCursor();
    c.setPosition(ToDocPos(start));
    c.setPosition(ToDocPos(start + Value), QTextCursor::KeepAnchor);
    Edit()->setTextCursor(c);
}

WideString TMemo::SelText() const {
    int s = SelStart();
    return GetText().substr(size_t(s), size_t(SelLength()));
}

void TMemo::SetSelText(const WideString& Value) {
    QTextCursor c = Edit()->textCursor();
    c.insertText(ToDocumentText(Value));
    Edit()->setTextCursor(c);
}

void TMemo::SelectAll() {
    Edit()->selectAll();
}

void TMemo::ReplaceRange(int Start, int Length, const WideString& Text) {
    QTextCursor c(Edit()->document());
    c.setPosition(ToDocPos(Start));
    c.setPosition(ToDocPos(Start + Length), QTextCursor::KeepAnchor);
    c.insertText(ToDocumentText(Text));
}

void TMemo::SetWordWrap(bool Value) {
    FWordWrap = Value;
    Edit()->setLineWrapMode(Value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle Value) {
    FScrollBars = Value;
    bool v = Value == ssVertical || Value == ssBoth;
    bool h = Value == ssHorizontal || Value == ssBoth;
    Edit()->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    Edit()->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::SetWantTabs(bool Value) {
    FWantTabs = Value;
    Edit()->setTabChangesFocus(!Value);
}

bool TMemo::ReadOnly() const {
    return Edit()->isReadOnly();
}

void TMemo::SetReadOnly(bool Value) {
    Edit()->setReadOnly(Value);
}

int TMemo::FirstVisibleLine() const {
    return Edit()->verticalScrollBar()->value();
}

void TMemo::ScrollLines(int Count) {
    QScrollBar* bar = Edit()->verticalScrollBar();
    bar->setValue(bar->value() + Count);
}

void TMemo::ScrollCaret() {
    Edit()->ensureCursorVisible();
}

void TMemo::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case EM_GETFIRSTVISIBLELINE:
        Message.Result = FirstVisibleLine();
        return;
    case EM_LINESCROLL:
        ScrollLines(int(Message.LParam));
        return;
    case EM_GETLINECOUNT:
        Message.Result = LineCount();
        return;
    case EM_LINEINDEX: {
        int line = int(intptr_t(Message.WParam));
        if (line < 0) line = LineFromChar(SelStart());
        Message.Result = LineIndex(line);
        return;
    }
    case EM_LINELENGTH: {
        int pos = int(intptr_t(Message.WParam));
        Message.Result = LineLength(LineFromChar(pos < 0 ? SelStart() : pos));
        return;
    }
    case EM_SETSEL: {
        int s = int(intptr_t(Message.WParam)), e = int(Message.LParam);
        int len = int(GetText().size());
        if (s < 0) s = len;
        if (e < 0 || e > len) e = len;
        SetSelStart(std::min(s, e));
        SetSelLength(std::abs(e - s));
        return;
    }
    case EM_GETSEL:
        Message.Result = MAKELPARAM(SelStart(), SelStart() + SelLength());
        return;
    case EM_SCROLLCARET:
        ScrollCaret();
        return;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}

WideString TMemoStrings::Get(int Index) const {
    if (Index < 0 || Index >= FMemo->LineCount()) return WideString();
    return W(FMemo->Edit()->document()->findBlockByNumber(Index).text());
}

int TMemoStrings::GetCount() const {
    int n = FMemo->LineCount();
    if (n > 0 && FMemo->LineLength(n - 1) == 0) --n;
    return n;
}

void TMemoStrings::Put(int Index, const WideString& S) {
    int start = FMemo->LineIndex(Index);
    if (start < 0) IndexError(Index);
    FMemo->ReplaceRange(start, FMemo->LineLength(Index), S);
}

void TMemoStrings::InsertObject(int Index, const WideString& S, void* AObject) {
    (void)AObject;
    if (Index < 0) return;
    int start = FMemo->LineIndex(Index);
    if (start >= 0) {
        FMemo->ReplaceRange(start, 0, S + u"\r\n");
        return;
    }
    start = FMemo->LineIndex(Index - 1);
    if (start < 0) return;
    int len = FMemo->LineLength(Index - 1);
    if (len == 0) return;
    FMemo->ReplaceRange(start + len, 0, u"\r\n" + S);
}

void TMemoStrings::Delete(int Index) {
    int start = FMemo->LineIndex(Index);
    if (start < 0) return;
    int end = FMemo->LineIndex(Index + 1);
    if (end < 0) end = start + FMemo->LineLength(Index);
    FMemo->ReplaceRange(start, end - start, WideString());
}

void TMemoStrings::Clear() {
    FMemo->Clear();
}

WideString TMemoStrings::GetTextStr() const {
    return FMemo->Text();
}

void TMemoStrings::SetTextStr(WideStringView Value) {
    WideString crlf = W(ToDocumentText(Value));
    WideString out;
    out.reserve(crlf.size() + 16);
    for (WideChar c : crlf) {
        if (c == u'\n')
            out += u"\r\n";
        else
            out += c;
    }
    FMemo->SetText(out);
}

// ---------------------------------------------------------------- TComboBox

TComboBox::TComboBox(TComponent* AOwner)
    : TWinControl(AOwner, new QComboBox), FItems(std::make_unique<TComboBoxStrings>(this)) {
    InitColor(clWindow);
    SetBounds(0, 0, 145, 21);
    Box()->setMaxVisibleItems(8);
    SetStyle(csDropDown);
    QObject::connect(Box(), qOverload<int>(&QComboBox::activated), [this](int) {
        if (FInternal || Destroying()) return;
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
        QObject::connect(e, &QLineEdit::textEdited, [this] {
            if (!FInternal && !Destroying()) Change();
        });
    }
    --FInternal;
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
    --FInternal;
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
    if (OnChange) GuardedCall(this, [this] { OnChange(this); });
}

void TComboBox::Select() {
    if (OnSelect)
        GuardedCall(this, [this] { OnSelect(this); });
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
    if (FBox->FInternal == 1 && FBox->HasEdit() && FBox->Box()->lineEdit())
        FBox->Box()->lineEdit()->setText(QString::fromStdU16String(FKeptText));
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

// ---------------------------------------------------------------- buttons

QAbstractButton* TButtonControl::Button() const {
    return static_cast<QAbstractButton*>(Widget());
}

void TButtonControl::SetTextCore(const WideString& Value) {
    FText = Value;
    Button()->setText(Q(Value));
    // Hot keys are ours (CM_DIALOGCHAR), not Qt's mnemonic shortcuts.
    Button()->setShortcut(QKeySequence());
}

TButton::TButton(TComponent* AOwner) : TButton(AOwner, new QPushButton) {}

TButton::TButton(TComponent* AOwner, QPushButton* Widget) : TButtonControl(AOwner, Widget) {
    Widget->setAutoDefault(false);
    SetBounds(0, 0, 75, 25);
    ConnectButton();
}

void TButton::ConnectButton() {
    QObject::connect(Button(), &QAbstractButton::clicked, [this] {
        if (!Destroying()) Click();
    });
}

void TButton::Click() {
    if (ModalResult != 0)
        if (TForm* f = ParentForm()) f->SetModalResult(ModalResult);
    TButtonControl::Click();
}

void TButton::SetDefault(bool Value) {
    FDefault = Value;
    static_cast<QPushButton*>(Widget())->setDefault(Value);
}

bool TButton::DialogChar(WideChar Key) {
    if (!IsWideCharAccel(Key, FText) || !CanFocus()) return false;
    Click();
    return true;
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {}

void TBitBtn::SetKind(TBitBtnKind Value) {
    struct KindInfo {
        const char16_t* caption;
        int result;
    };
    static const KindInfo kinds[] = {
        {u"", 0},
        {u"OK", mrOk},
        {u"Cancel", mrCancel},
        {u"&Help", 0},
        {u"&Yes", mrYes},
        {u"&No", mrNo},
        {u"&Close", 0},
        {u"Abort", mrAbort},
        {u"&Retry", mrRetry},
        {u"&Ignore", mrIgnore},
        {u"&All", mrAll},
    };
    FKind = Value;
    if (Value == bkCustom) return;
    SetCaption(kinds[Value].caption);
    ModalResult = kinds[Value].result;
    if (Value == bkOK) SetDefault(true);
    if (Value == bkCancel) Cancel = true;
}

void TBitBtn::SetGlyph(const TBitmap& Value) {
    FGlyph = Value;
    Button()->setIcon(Value.Empty() ? QIcon() : QIcon(QPixmap::fromImage(Value.ToImage())));
}

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner, new QCheckBox) {
    SetBounds(0, 0, 97, 17);
    ConnectButton();
}

void TCheckBox::ConnectButton() {
    if (auto* cb = qobject_cast<QCheckBox*>(Widget())) {
        QObject::connect(cb, &QCheckBox::stateChanged, [this](int) { StateFromWidget(); });
    } else {
        QObject::connect(Button(), &QAbstractButton::toggled, [this](bool) { StateFromWidget(); });
    }
}

void TCheckBox::StateFromWidget() {
    if (Destroying()) return;
    TCheckBoxState s = cbUnchecked;
    if (auto* cb = qobject_cast<QCheckBox*>(Widget()))
        s = cb->checkState() == Qt::Checked            ? cbChecked
            : cb->checkState() == Qt::PartiallyChecked ? cbGrayed
                                                       : cbUnchecked;
    else
        s = Button()->isChecked() ? cbChecked : cbUnchecked;
    if (s == FState) return;
    FState = s;
    if (!FClicksDisabled) Click();
}

void TCheckBox::SetState(TCheckBoxState Value) {
    if (Value == FState) return;
    FState = Value;
    ++FClicksDisabled;
    if (auto* cb = qobject_cast<QCheckBox*>(Widget())) {
        if (Value == cbGrayed) cb->setTristate(true);
        cb->setCheckState(Value == cbChecked  ? Qt::Checked
                          : Value == cbGrayed ? Qt::PartiallyChecked
                                              : Qt::Unchecked);
    } else {
        Button()->setChecked(Value == cbChecked);
    }
    --FClicksDisabled;
    Click();
}

void TCheckBox::SetPushLike(bool Value) {
    if (Value == FPushLike) return;
    FPushLike = Value;
    QAbstractButton* b = nullptr;
    if (Value) {
        auto* p = new QPushButton;
        p->setCheckable(true);
        p->setAutoDefault(false);
        b = p;
    } else {
        auto* c = new QCheckBox;
        c->setTristate(AllowGrayed);
        b = c;
    }
    ++FClicksDisabled;
    RecreateWidget(b);
    SetTextCore(FText);
    if (auto* cb = qobject_cast<QCheckBox*>(Widget()))
        cb->setCheckState(FState == cbChecked  ? Qt::Checked
                          : FState == cbGrayed ? Qt::PartiallyChecked
                                               : Qt::Unchecked);
    else
        Button()->setChecked(FState == cbChecked);
    ConnectButton();
    --FClicksDisabled;
}

bool TCheckBox::DialogChar(WideChar Key) {
    if (!IsWideCharAccel(Key, FText) || !CanFocus()) return false;
    SetFocus();
    if (Focused()) SetChecked(!Checked());
    return true;
}

namespace {
// A radio button that a click only checks; the group is kept by its control, because
// Qt's automatic exclusivity reaches into nested containers.
class RadioWidget : public QRadioButton {
protected:
    void nextCheckState() override {
        if (!isChecked()) setChecked(true);
    }
};
} // namespace

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner, new RadioWidget) {
    Button()->setAutoExclusive(false);
    SetBounds(0, 0, 113, 17);
    QObject::connect(Button(), &QAbstractButton::toggled, [this](bool on) {
        if (!on || Destroying()) return;
        TurnSiblingsOff();
        if (!FClicksDisabled) Click();
    });
}

void TRadioButton::TurnSiblingsOff() {
    TWinControl* p = Parent();
    if (!p) return;
    for (int i = 0; i < p->ControlCount(); ++i)
        if (auto* r = dynamic_cast<TRadioButton*>(p->Controls(i)); r && r != this)
            r->SetChecked(false);
}

bool TRadioButton::Checked() const {
    return Button()->isChecked();
}

void TRadioButton::SetChecked(bool Value) {
    if (Value == Checked()) return;
    Button()->setChecked(Value);
}

bool TRadioButton::DialogChar(WideChar Key) {
    if (!IsWideCharAccel(Key, FText) || !CanFocus()) return false;
    SetFocus();
    SetChecked(true);
    return true;
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner, new QGroupBox) {
    Widget()->setFocusPolicy(Qt::NoFocus);
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::SetTextCore(const WideString& Value) {
    FText = Value;
    static_cast<QGroupBox*>(Widget())->setTitle(Q(Value));
}

void TGroupBox::AdjustClientRect(TRect& R) const {
    QFontMetrics fm(Widget()->font());
    R.Top += fm.height();
    R.Left += 2;
    R.Right -= 2;
    R.Bottom -= 2;
}

bool TGroupBox::DialogChar(WideChar Key) {
    if (!IsWideCharAccel(Key, FText) || !CanFocus()) return false;
    if (TWinControl* first = FindFirstFocusable(this)) first->SetFocus();
    return true;
}

// ---------------------------------------------------------------- TScrollBar

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner, new QScrollBar(Qt::Horizontal)) {
    Bar()->setRange(0, 100);
    Bar()->setSingleStep(1);
    Bar()->setPageStep(1);
    SetBounds(0, 0, 121, 17);
    QObject::connect(Bar(), &QScrollBar::valueChanged, [this](int) {
        if (OnChange && !Destroying()) GuardedCall(this, [this] { OnChange(this); });
    });
}

QScrollBar* TScrollBar::Bar() const {
    return static_cast<QScrollBar*>(Widget());
}

void TScrollBar::SetKind(TScrollBarKind Value) {
    FKind = Value;
    Bar()->setOrientation(Value == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
}

int TScrollBar::Min() const {
    return Bar()->minimum();
}
int TScrollBar::Max() const {
    return Bar()->maximum();
}
void TScrollBar::SetMin(int Value) {
    Bar()->setMinimum(Value);
}
void TScrollBar::SetMax(int Value) {
    Bar()->setMaximum(Value);
}
int TScrollBar::Position() const {
    return Bar()->value();
}
void TScrollBar::SetPosition(int Value) {
    Bar()->setValue(Value);
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    Bar()->setRange(AMin, AMax);
    Bar()->setValue(APosition);
}

int TScrollBar::SmallChange() const {
    return Bar()->singleStep();
}
void TScrollBar::SetSmallChange(int Value) {
    Bar()->setSingleStep(Value);
}
int TScrollBar::LargeChange() const {
    return Bar()->pageStep();
}
void TScrollBar::SetLargeChange(int Value) {
    Bar()->setPageStep(Value);
}
int TScrollBar::PageSize() const {
    return Bar()->pageStep();
}
void TScrollBar::SetPageSize(int Value) {
    Bar()->setPageStep(Value);
}
