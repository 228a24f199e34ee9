#include "platform/Edits.h"

#include <QLineEdit>
#include <algorithm>
#include <climits>

#include "platform/FocusCues.h"
#include "platform/MemoView.h"
#include "platform/QtStrings.h"

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
    if (OnChange) GuardedEvent(this, "OnChange", [this] { OnChange(this); });
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
    : TWinControl(AOwner, new MemoView), FLines(std::make_unique<TMemoStrings>(this)) {
    AdoptInputWidget(View()->viewport());
    OutlineFocusOf(View());
    InitColor(clWindow);
    SetBounds(0, 0, 185, 89);
    SetWordWrap(true);
    SetScrollBars(ssNone);
    SetWantTabs(false);
    View()->ReturnsWanted = [this] { return WantReturns; };
    View()->OnTextChanged = [this] {
        if (!Destroying()) Change();
    };
}

TMemo::~TMemo() {
    if (MemoView* v = View()) v->OnTextChanged = nullptr;
}

MemoView* TMemo::View() const {
    return static_cast<MemoView*>(Widget());
}

WideString TMemo::GetText() const {
    return View()->Doc().Text();
}

int TMemo::GetTextLen() const {
    return View()->Doc().Length();
}

// The text is kept as it stands, lone CR and LF included; the same text again leaves the
// memo (and its undo, caret and scroll position) alone.
void TMemo::SetTextCore(const WideString& Value) {
    View()->SetText(Value);
}

void TMemo::Change() {
    if (OnChange) GuardedEvent(this, "OnChange", [this] { OnChange(this); });
}

int TMemo::LineCount() const {
    return View()->Doc().LineCount();
}

int TMemo::LineIndex(int Line) const {
    if (Line < 0 || Line >= LineCount()) return -1;
    return View()->Doc().LineStart(Line);
}

int TMemo::LineLength(int Line) const {
    if (Line < 0 || Line >= LineCount()) return 0;
    return View()->Doc().LineLength(Line);
}

int TMemo::LineFromChar(int Position) const {
    return View()->Doc().LineOf(std::max(Position, 0));
}

int TMemo::LineFeedsBefore(int Position) const {
    return View()->Doc().LineFeedsBefore(Position);
}

int TMemo::SelStart() const {
    return View()->SelStart();
}

// A selection set by the program brings its caret into view, as EM_SETSEL followed by
// EM_SCROLLCARET does in a Windows edit box.
void TMemo::SetSelStart(int Value) {
    View()->SetSelection(Value, Value);
    ScrollCaret();
}

int TMemo::SelLength() const {
    return View()->SelEnd() - View()->SelStart();
}

void TMemo::SetSelLength(int Value) {
    const int start = SelStart();
    View()->SetSelection(start, start + std::max(Value, 0));
    ScrollCaret();
}

WideString TMemo::SelText() const {
    return WideString(View()->Doc().Slice(View()->SelStart(), View()->SelEnd()));
}

void TMemo::SetSelText(const WideString& Value) {
    View()->ReplaceSelection(Value);
    ScrollCaret();
}

void TMemo::SelectAll() {
    View()->SelectAll();
    ScrollCaret();
}

// The line operations select their range and replace the selection, as EM_SETSEL and
// EM_REPLACESEL do: the caret ends behind the new text, in view.
void TMemo::ReplaceRange(int Start, int Length, const WideString& Text) {
    View()->SetSelection(Start, Start + Length);
    SetSelText(Text);
}

void TMemo::SetWordWrap(bool Value) {
    FWordWrap = Value;
    View()->SetWordWrap(Value);
}

void TMemo::SetScrollBars(TScrollStyle Value) {
    FScrollBars = Value;
    bool v = Value == ssVertical || Value == ssBoth;
    bool h = Value == ssHorizontal || Value == ssBoth;
    View()->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    View()->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::SetWantTabs(bool Value) {
    FWantTabs = Value;
    View()->SetTabsWanted(Value);
}

bool TMemo::ReadOnly() const {
    return View()->ReadOnly();
}

void TMemo::SetReadOnly(bool Value) {
    View()->SetReadOnly(Value);
}

int TMemo::FirstVisibleLine() const {
    return View()->FirstVisibleLine();
}

void TMemo::ScrollLines(int Count) {
    View()->ScrollLines(Count);
}

void TMemo::ScrollCaret() {
    View()->EnsureCaretVisible();
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
        const int len = GetTextLen();
        if (s < 0) s = len;
        if (e < 0 || e > len) e = len;
        View()->SetSelection(s, e);
        ScrollCaret();
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
    const MemoText& doc = FMemo->View()->Doc();
    return WideString(doc.Slice(doc.LineStart(Index), doc.LineEnd(Index)));
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
    FMemo->SetText(MemoText::LinesForm(Value));
}
