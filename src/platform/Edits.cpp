#include "platform/Edits.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <climits>

#include "platform/QtStrings.h"

namespace {

// The text with every line break (CR LF, CR, LF, U+2028) as the one LF that text
// documents hold; written in one pass straight into the document's string.
QString ToDocumentText(WideStringView s) {
    QString out(qsizetype(s.size()), Qt::Uninitialized);
    QChar* o = out.data();
    for (size_t i = 0; i < s.size(); ++i) {
        const WideChar c = s[i];
        if (c == u'\r') {
            if (i + 1 < s.size() && s[i + 1] == u'\n') ++i;
            *o++ = u'\n';
        } else {
            *o++ = c == 0x2028 ? QChar(u'\n') : QChar(c);
        }
    }
    out.truncate(o - out.data());
    return out;
}

bool IsDocumentBreak(QChar c) {
    return c == QChar(0x2029) || c == QChar(0x2028) || c == u'\n';
}

} // namespace

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

// The raw text keeps every character (plain-text export would turn no-break spaces into
// blanks); block and line separators become CR LF.
WideString TMemo::GetText() const {
    const QString raw = Edit()->document()->toRawText();
    WideString out(
        size_t(raw.size()) + size_t(std::count_if(raw.begin(), raw.end(), IsDocumentBreak)), u'\0');
    char16_t* o = out.data();
    for (QChar c : raw) {
        if (IsDocumentBreak(c)) {
            *o++ = u'\r';
            *o++ = u'\n';
        } else {
            *o++ = c.unicode();
        }
    }
    return out;
}

int TMemo::GetTextLen() const {
    const QString raw = Edit()->document()->toRawText();
    return int(raw.size() + std::count_if(raw.begin(), raw.end(), IsDocumentBreak));
}

// A text that only writes its line breaks otherwise leaves the document (and its
// undo, caret and scroll position) alone.
void TMemo::SetTextCore(const WideString& Value) {
    const QString doc = ToDocumentText(Value);
    QString held = Edit()->document()->toRawText();
    if (doc.size() == held.size()) {
        std::replace_if(held.begin(), held.end(), IsDocumentBreak, QChar(u'\n'));
        if (doc == held) return;
    }
    held.clear();
    Edit()->setPlainText(doc);
}

void TMemo::Change() {
    if (OnChange) GuardedEvent(this, "OnChange", [this] { OnChange(this); });
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
    const QString lf = ToDocumentText(Value);
    WideString out;
    out.reserve(size_t(lf.size() + lf.count(u'\n')));
    for (QChar c : lf) {
        if (c == u'\n')
            out += u"\r\n";
        else
            out += c.unicode();
    }
    FMemo->SetText(out);
}
