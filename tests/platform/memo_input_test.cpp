// A multi-line edit box as a person uses it: keys typed into the focused memo, clicks,
// drags and the wheel on its text area, the clipboard and the context menu; every effect is
// read back through the memo's own text, selection and line geometry, where CR LF counts
// as two characters as the text reads.
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "platform/Buttons.h"
#include "platform/Forms.h"
#include "platform/MemoView.h"
#include "platform/StdCtrls.h"
#include "support/FormFixture.h"
#include "support/WidgetInput.h"
#include "support/WindowInput.h"

namespace {

QString Q(const char16_t* S) {
    return QString::fromStdU16String(S);
}

// Lines "line 0" to "line N-1", each ended by CR LF.
WideString NumberedLines(int N) {
    WideString text;
    for (int i = 0; i < N; ++i)
        text += u"line " + U16(std::to_string(i)) + u"\r\n";
    return text;
}

struct MemoInput : FormFixture {
    TMemo* memo = nullptr;
    void SetUp() override {
        FormFixture::SetUp();
        memo = Make<TMemo>();
        memo->SetBounds(10, 10, 300, 150);
    }
    // The form shown and the memo focused, the selection set.
    void ShowWith(const WideString& Text, int SelStart = 0, int SelLength = 0) {
        memo->SetText(Text);
        form->Show();
        memo->SetFocus();
        QApplication::processEvents();
        memo->SetSelStart(SelStart);
        memo->SetSelLength(SelLength);
    }
    QWidget* Keys() const { return memo->Widget(); }
    QWidget* TextArea() const {
        return qobject_cast<QAbstractScrollArea*>(memo->Widget())->viewport();
    }
    void Key(int K, Qt::KeyboardModifiers Mods = Qt::NoModifier) { KeyChord(Keys(), K, Mods); }
    void Type(const char16_t* S) { TypeChar(memo, Q(S)); }
    int LineHeight() const { return QFontMetrics(memo->Widget()->font()).lineSpacing(); }
    // A point in the middle of the height of visible line Row (0 the top one), X from the
    // text area's left edge.
    QPoint InLine(int Row, int X = 30) const {
        return QPoint(X, LineHeight() * Row + LineHeight() / 2 + 4);
    }
    int CaretLine() const { return memo->LineFromChar(memo->SelStart()); }
};

// ---------------------------------------------------------------------------------------------
// Typing and deleting

TEST_F(MemoInput, TypedCharactersLandAtTheCaretWholeSurrogatePairsIncluded) {
    ShowWith(u"");
    for (const char16_t* s : {u"a", u"B", u"\u03A9", u"\u03B2", u"\U0001F600", u"z"})
        Type(s);
    EXPECT_EQ(memo->Text(), u"aBΩβ\U0001F600z");
    EXPECT_EQ(memo->SelStart(), 7);
    // Typing over a selection replaces it.
    memo->SetSelStart(1);
    memo->SetSelLength(3);
    Type(u"x");
    EXPECT_EQ(memo->Text(), u"ax\U0001F600z");
}

TEST_F(MemoInput, EnterBackspaceAndDeleteTreatCrLfAsOneBreak) {
    struct Case {
        const char* what;
        const char16_t* before;
        int selStart, selLength;
        int key;
        const char16_t* after;
        int caret;
    };
    const Case cases[] = {
        {"Enter splits the line", u"abcd", 2, 0, Qt::Key_Return, u"ab\r\ncd", 4},
        {"Enter at the end", u"ab", 2, 0, Qt::Key_Return, u"ab\r\n", 4},
        {"Enter of the number pad", u"ab", 1, 0, Qt::Key_Enter, u"a\r\nb", 3},
        {"Enter replaces a selection", u"abcd", 1, 2, Qt::Key_Return, u"a\r\nd", 3},
        {"Backspace after a break joins", u"ab\r\ncd", 4, 0, Qt::Key_Backspace, u"abcd", 2},
        {"Backspace in a line", u"ab\r\ncd", 6, 0, Qt::Key_Backspace, u"ab\r\nc", 5},
        {"Backspace at the start", u"ab", 0, 0, Qt::Key_Backspace, u"ab", 0},
        {"Delete before a break joins", u"ab\r\ncd", 2, 0, Qt::Key_Delete, u"abcd", 2},
        {"Delete at the end", u"ab", 2, 0, Qt::Key_Delete, u"ab", 2},
        {"Backspace removes a selection", u"ab\r\ncd", 1, 4, Qt::Key_Backspace, u"ad", 1},
        {"Delete removes a selection", u"ab\r\ncd", 1, 4, Qt::Key_Delete, u"ad", 1},
        {"Backspace after an emoji", u"a\U0001F600", 3, 0, Qt::Key_Backspace, u"a", 1},
    };
    ShowWith(u"");
    for (const Case& c : cases) {
        memo->SetText(c.before);
        memo->SetSelStart(c.selStart);
        memo->SetSelLength(c.selLength);
        Key(c.key);
        EXPECT_EQ(memo->Text(), WideString(c.after)) << c.what;
        EXPECT_EQ(memo->SelStart(), c.caret) << c.what;
        EXPECT_EQ(memo->SelLength(), 0) << c.what;
    }
    // Lines typed with Enter read back as lines.
    memo->SetText(u"");
    for (const char16_t* s : {u"a", u"\r", u"b", u"\r", u"c"})
        s[0] == u'\r' ? Key(Qt::Key_Return) : Type(s);
    EXPECT_EQ(memo->Text(), u"a\r\nb\r\nc");
    EXPECT_EQ(memo->LineCount(), 3);
    EXPECT_EQ(memo->Lines()[2], u"c");
}

// ---------------------------------------------------------------------------------------------
// Caret and selection by keys

TEST_F(MemoInput, CaretKeysMoveAndShiftSelects) {
    // Lines start at 0, 9 and 16; the lines begin alike, so a column is the same distance
    // from the left edge in each line, whatever the font.
    const WideString text = u"one two\r\nonexx\r\nonex";
    struct Case {
        const char* what;
        int from;
        int key;
        Qt::KeyboardModifiers mods;
        int selStart, selLength;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier,
                                ctrl = Qt::ControlModifier, both = shift | ctrl;
    const Case cases[] = {
        {"Right", 2, Qt::Key_Right, none, 3, 0},
        {"Right over the break", 7, Qt::Key_Right, none, 9, 0},
        {"Left over the break", 9, Qt::Key_Left, none, 7, 0},
        {"Left at the start", 0, Qt::Key_Left, none, 0, 0},
        {"Down keeps the column", 2, Qt::Key_Down, none, 11, 0},
        {"Down to a shorter line", 7, Qt::Key_Down, none, 14, 0},
        {"Up", 18, Qt::Key_Up, none, 11, 0},
        {"Up on the first line", 2, Qt::Key_Up, none, 2, 0},
        {"Down on the last line", 18, Qt::Key_Down, none, 18, 0},
        {"Home", 12, Qt::Key_Home, none, 9, 0},
        {"End", 10, Qt::Key_End, none, 14, 0},
        {"Ctrl+Home", 12, Qt::Key_Home, ctrl, 0, 0},
        {"Ctrl+End", 3, Qt::Key_End, ctrl, 20, 0},
        {"Shift+Right", 6, Qt::Key_Right, shift, 6, 1},
        {"Shift+Right over the break", 7, Qt::Key_Right, shift, 7, 2},
        {"Shift+Left over the break", 9, Qt::Key_Left, shift, 7, 2},
        {"Shift+Down", 2, Qt::Key_Down, shift, 2, 9},
        {"Shift+Up", 11, Qt::Key_Up, shift, 2, 9},
        {"Shift+Home", 12, Qt::Key_Home, shift, 9, 3},
        {"Shift+End", 10, Qt::Key_End, shift, 10, 4},
        {"Ctrl+Shift+Home", 12, Qt::Key_Home, both, 0, 12},
        {"Ctrl+Shift+End", 12, Qt::Key_End, both, 12, 8},
        {"Ctrl+Right to the next word", 0, Qt::Key_Right, ctrl, 4, 0},
        {"Ctrl+Left to the word's start", 6, Qt::Key_Left, ctrl, 4, 0},
        {"Ctrl+Shift+Right selects a word", 0, Qt::Key_Right, both, 0, 4},
        {"Ctrl+A selects all", 5, Qt::Key_A, ctrl, 0, 20},
    };
    ShowWith(text);
    for (const Case& c : cases) {
        memo->SetSelStart(c.from);
        Key(c.key, c.mods);
        EXPECT_EQ(memo->SelStart(), c.selStart) << c.what;
        EXPECT_EQ(memo->SelLength(), c.selLength) << c.what;
        EXPECT_EQ(memo->Text(), text) << c.what;
    }
    // Two Shift+Right after a Shift+Left shrink the selection from its moving end.
    memo->SetSelStart(4);
    Key(Qt::Key_Right, shift);
    Key(Qt::Key_Right, shift);
    Key(Qt::Key_Left, shift);
    EXPECT_EQ(memo->SelStart(), 4);
    EXPECT_EQ(memo->SelLength(), 1);
    EXPECT_EQ(memo->SelText(), u"t");
}

TEST_F(MemoInput, PageDownMovesTheCaretByMoreThanOneLine) {
    ShowWith(NumberedLines(100));
    Key(Qt::Key_PageDown);
    const int afterOne = CaretLine();
    EXPECT_GT(afterOne, 1);
    Key(Qt::Key_PageDown);
    EXPECT_GT(CaretLine(), afterOne);
    Key(Qt::Key_PageUp);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(CaretLine(), 0);
}

// Left, Right and Delete take a character as it is shown: a letter with its combining
// marks or a syllable of several signs is one step, and every step moves the caret on
// screen; Backspace takes back one sign at a time.
TEST_F(MemoInput, ArrowsAndDeleteStepOverACharacterOfSeveralSigns) {
    const struct {
        const char* what;
        const char16_t* text;
        std::vector<int> stops;
        const char16_t* afterDelete;    // Delete at the start
        const char16_t* afterBackspace; // Backspace after the first character
    } cases[] = {
        {"e with two accents", u"e\u0301\u0302x", {0, 3, 4}, u"x", u"e\u0301x"},
        {"a Devanagari syllable", u"\u0915\u093F\u0915", {0, 2, 3}, u"\u0915", u"\u0915\u0915"},
        {"Hangul jamo", u"\u1100\u1161\u11A8a", {0, 3, 4}, u"a", u"\u1100\u1161a"},
        {"a thumb with its skin tone", u"\U0001F44D\U0001F3FDz", {0, 4, 5}, u"z", u"\U0001F44Dz"},
    };
    auto caretX = [&] { return Keys()->inputMethodQuery(Qt::ImCursorRectangle).toRect().x(); };
    for (const auto& c : cases) {
        ShowWith(c.text);
        int x = caretX();
        for (size_t i = 1; i < c.stops.size(); ++i) {
            Key(Qt::Key_Right);
            EXPECT_EQ(memo->SelStart(), c.stops[i]) << c.what;
            EXPECT_GT(caretX(), x) << c.what << " stop " << i;
            x = caretX();
        }
        for (size_t i = c.stops.size() - 1; i > 0; --i) {
            Key(Qt::Key_Left);
            EXPECT_EQ(memo->SelStart(), c.stops[i - 1]) << c.what;
        }
        Key(Qt::Key_Right, Qt::ShiftModifier);
        EXPECT_EQ(memo->SelLength(), c.stops[1]) << c.what;
        memo->SetSelStart(0);
        Key(Qt::Key_Delete);
        EXPECT_EQ(memo->Text(), WideString(c.afterDelete)) << c.what;
        memo->SetText(c.text);
        memo->SetSelStart(c.stops[1]);
        Key(Qt::Key_Backspace);
        EXPECT_EQ(memo->Text(), WideString(c.afterBackspace)) << c.what;
    }
}

// Up and Down keep the column the caret had when the run of vertical moves began, across
// short lines and sideways scrolling; any other move of the caret starts a new run.
TEST_F(MemoInput, UpAndDownKeepTheColumnOfTheLastOtherMove) {
    // Lines start at 0, 8, 12 and 20.
    ShowWith(u"abcdef\r\nab\r\nabcdef\r\nabcdef");
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const struct {
        const char* what;
        int from;
        std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
        int caret;
    } cases[] = {
        {"over a short line", 5, {{Qt::Key_Down, none}, {Qt::Key_Down, none}}, 17},
        {"back up over it", 17, {{Qt::Key_Up, none}, {Qt::Key_Up, none}}, 5},
        {"Home starts anew",
         15,
         {{Qt::Key_Down, none}, {Qt::Key_Home, none}, {Qt::Key_Up, none}},
         12},
        {"End starts anew",
         2,
         {{Qt::Key_Down, none}, {Qt::Key_End, none}, {Qt::Key_Down, none}},
         14},
        {"Left starts anew",
         15,
         {{Qt::Key_Down, none}, {Qt::Key_Left, none}, {Qt::Key_Up, none}},
         14},
        {"Right starts anew",
         13,
         {{Qt::Key_Down, none}, {Qt::Key_Right, none}, {Qt::Key_Up, none}},
         14},
        {"a word step starts anew",
         16,
         {{Qt::Key_Down, none}, {Qt::Key_Left, Qt::ControlModifier}, {Qt::Key_Up, none}},
         12},
    };
    for (const auto& c : cases) {
        memo->SetSelStart(c.from);
        for (const auto& [key, mods] : c.keys)
            Key(key, mods);
        EXPECT_EQ(memo->SelStart(), c.caret) << c.what;
    }

    // Unwrapped, a column far right scrolls the view sideways; a short line between scrolls
    // it back, and the next line down still gets the first column.
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssBoth);
    const WideString digits = [] {
        WideString s;
        for (int i = 0; i < 300; ++i)
            s += char16_t(u'0' + i % 10);
        return s;
    }();
    memo->SetText(digits + u"\r\nab\r\n" + digits);
    const int third = 302 + 4;
    memo->SetSelStart(251);
    Key(Qt::Key_Left); // the view scrolls to the caret at 250
    QScrollBar* bar = qobject_cast<QAbstractScrollArea*>(memo->Widget())->horizontalScrollBar();
    EXPECT_GT(bar->value(), 0);
    Key(Qt::Key_Down);
    EXPECT_EQ(memo->SelStart(), 304);
    Key(Qt::Key_Down);
    EXPECT_NEAR(memo->SelStart(), third + 250, 1);
}

// End on a wrapped row puts the caret at that row's end, after its last character, and
// shows it there; Shift+Home then selects the whole row, Down goes to the next row.
TEST_F(MemoInput, EndOnAWrappedRowStaysAtThatRowsEnd) {
    auto* view = static_cast<MemoView*>(memo->Widget());
    auto caretTop = [&] { return Keys()->inputMethodQuery(Qt::ImCursorRectangle).toRect().top(); };
    const struct {
        const char* what;
        WideString text;
    } cases[] = {
        {"a word broken", WideString(300, u'm')},
        {"after a blank", u"ab " + WideString(300, u'm')},
    };
    for (const auto& c : cases) {
        ShowWith(c.text);
        const int second = view->VisualLineStart(1), third = view->VisualLineStart(2);
        ASSERT_GT(third, second) << c.what;
        const int rowTop = caretTop();
        Key(Qt::Key_End);
        EXPECT_EQ(memo->SelStart(), second) << c.what;
        EXPECT_EQ(caretTop(), rowTop) << c.what;
        Key(Qt::Key_End);
        EXPECT_EQ(memo->SelStart(), second) << c.what;
        Key(Qt::Key_Home, Qt::ShiftModifier);
        EXPECT_EQ(memo->SelStart(), 0) << c.what;
        EXPECT_EQ(memo->SelLength(), second) << c.what;
        Key(Qt::Key_End);
        Key(Qt::Key_Down);
        EXPECT_EQ(view->VisualLineOf(memo->SelStart()), 1) << c.what;
        // The next row's own End goes to its end; Right from a row's end steps on.
        Key(Qt::Key_End);
        EXPECT_EQ(memo->SelStart(), third) << c.what;
        EXPECT_GT(caretTop(), rowTop) << c.what;
        Key(Qt::Key_Right);
        EXPECT_EQ(memo->SelStart(), third + 1) << c.what;
    }
}

// End on the bottom row in view, a wrapped one, leaves the view where it is: the caret
// stays in that row.
TEST_F(MemoInput, EndOnTheBottomRowDoesNotScroll) {
    auto* view = static_cast<MemoView*>(memo->Widget());
    WideString text;
    for (int i = 0; i < 20; ++i)
        text += WideString(300, char16_t(u'a' + i)) + u"\r\n";
    ShowWith(text);
    const int page = TextArea()->height() / LineHeight();
    ASSERT_GT(page, 2);
    // The bottom row in view that is not the last row of its line.
    int bottom = page - 1;
    while (bottom > 0 && memo->LineFromChar(view->VisualLineStart(bottom + 1)) !=
                             memo->LineFromChar(view->VisualLineStart(bottom)))
        --bottom;
    ASSERT_GT(bottom, 0);
    ClickAt(TextArea(), InLine(bottom, 10));
    ASSERT_EQ(view->VisualLineOf(memo->SelStart()), bottom);
    Key(Qt::Key_End);
    EXPECT_EQ(memo->SelStart(), view->VisualLineStart(bottom + 1));
    EXPECT_EQ(memo->FirstVisibleLine(), 0);
}

// On a wrapped line, a row that is not the line's last ends where the next row starts;
// Down, Up and a click right of such a row's text keep the caret in that row.
TEST_F(MemoInput, DownAndClicksStayInAShortWrappedRow) {
    // Line 1 wraps after "ab ": its first row is short, the long word takes the next rows.
    const WideString top = u"abcdefghijklmnop";
    const WideString text = top + u"\r\nab " + WideString(200, u'm');
    ShowWith(text, int(top.size()));
    auto* view = static_cast<MemoView*>(memo->Widget());
    ASSERT_EQ(view->VisualLineStart(2), int(top.size()) + 5);
    Key(Qt::Key_Down);
    EXPECT_EQ(view->VisualLineOf(memo->SelStart()), 1);
    EXPECT_EQ(memo->SelStart(), int(top.size()) + 4); // before the hanging blank
    Key(Qt::Key_Down);
    EXPECT_EQ(view->VisualLineOf(memo->SelStart()), 2);
    Key(Qt::Key_Up);
    EXPECT_EQ(view->VisualLineOf(memo->SelStart()), 1);
    ClickAt(TextArea(), InLine(1, TextArea()->width() - 10));
    EXPECT_EQ(view->VisualLineOf(memo->SelStart()), 1);
    EXPECT_EQ(memo->SelStart(), int(top.size()) + 4);
}

// ---------------------------------------------------------------------------------------------
// Clipboard and undo

TEST_F(MemoInput, ClipboardKeysCopyCutAndPaste) {
    QClipboard* clip = QGuiApplication::clipboard();
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    struct Case {
        const char* what;
        int key;
        Qt::KeyboardModifiers mods;
        const char16_t* text; // afterwards
        const char16_t* clipboard;
    };
    // Each starts on "ab\r\ncd" with "b\r\nc" selected and "XY" on the clipboard.
    const Case cases[] = {
        {"Ctrl+C", Qt::Key_C, ctrl, u"ab\r\ncd", u"b\nc"},
        {"Ctrl+Insert", Qt::Key_Insert, ctrl, u"ab\r\ncd", u"b\nc"},
        {"Ctrl+X", Qt::Key_X, ctrl, u"ad", u"b\nc"},
        {"Shift+Delete", Qt::Key_Delete, shift, u"ad", u"b\nc"},
        {"Ctrl+V", Qt::Key_V, ctrl, u"aXYd", u"XY"},
        {"Shift+Insert", Qt::Key_Insert, shift, u"aXYd", u"XY"},
    };
    ShowWith(u"");
    for (const Case& c : cases) {
        memo->SetText(u"ab\r\ncd");
        memo->SetSelStart(1);
        memo->SetSelLength(4);
        clip->setText(QStringLiteral("XY"));
        Key(c.key, c.mods);
        EXPECT_EQ(memo->Text(), WideString(c.text)) << c.what;
        // The clipboard holds the text with its breaks as the platform writes them.
        QString held = clip->text();
        held.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(held, Q(c.clipboard)) << c.what;
    }
}

TEST_F(MemoInput, PastedLineBreaksOfEveryKindBecomeCrLf) {
    QClipboard* clip = QGuiApplication::clipboard();
    ShowWith(u"");
    for (const char16_t* pasted : {u"1\n2\n3", u"1\r2\r3", u"1\r\n2\r\n3"}) {
        memo->SetText(u"<>");
        memo->SetSelStart(1);
        clip->setText(Q(pasted));
        Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(memo->Text(), u"<1\r\n2\r\n3>") << U8(pasted);
        EXPECT_EQ(memo->LineCount(), 3) << U8(pasted);
        EXPECT_EQ(memo->SelStart(), 8) << U8(pasted);
    }
}

// A lone CR or LF is one character of its line, as the text holds it: the caret steps
// over it, Delete takes it alone, and an edit that brings a lone CR and a lone LF together
// makes a line break of them, which undo parts again.
TEST_F(MemoInput, LoneBreaksAreCharactersOfTheirLine) {
    ShowWith(u"a\nb\rc\r\nd");
    EXPECT_EQ(memo->LineCount(), 2);
    EXPECT_EQ(memo->Lines()[0], u"a\nb\rc");
    for (int expected : {1, 2, 3, 4, 5, 7, 8}) {
        Key(Qt::Key_Right);
        EXPECT_EQ(memo->SelStart(), expected);
    }
    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_End);
    EXPECT_EQ(memo->SelStart(), 5);
    memo->SetSelStart(1);
    Key(Qt::Key_Delete);
    EXPECT_EQ(memo->Text(), u"ab\rc\r\nd");

    struct Step {
        const char* what;
        std::function<void()> act;
        const char16_t* text;
        int lines;
    };
    const Step steps[] = {
        {"Backspace between CR and LF", [&] { Key(Qt::Key_Backspace); }, u"x\r\ny", 2},
        {"undo", [&] { Key(Qt::Key_Z, Qt::ControlModifier); }, u"x\rM\ny", 1},
        {"redo", [&] { Key(Qt::Key_Y, Qt::ControlModifier); }, u"x\r\ny", 2},
        {"a letter typed before the break", [&] { Type(u"Q"); }, u"xQ\r\ny", 2},
    };
    memo->SetText(u"x\rM\ny");
    memo->SetSelStart(3);
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(memo->Text(), step.text) << step.what;
        EXPECT_EQ(memo->LineCount(), step.lines) << step.what;
    }
}

// One undo step takes back at least the last edit; whether it takes back a whole run of
// typing or one key, it never goes behind the text the memo was given. Ctrl+Z and the older
// Alt+Backspace both undo.
TEST_F(MemoInput, UndoTakesBackTheLastEdit) {
    const WideString typed = u"keep\r\nxy";
    struct Case {
        const char* what;
        int key;
        Qt::KeyboardModifiers mods;
    };
    const Case cases[] = {
        {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier},
        {"Alt+Backspace", Qt::Key_Backspace, Qt::AltModifier},
    };
    ShowWith(u"");
    for (const Case& c : cases) {
        memo->SetText(u"keep");
        Key(c.key, c.mods); // nothing to undo yet
        EXPECT_EQ(memo->Text(), u"keep") << c.what;
        memo->SetSelStart(4);
        Key(Qt::Key_Return);
        Type(u"x");
        Type(u"y");
        ASSERT_EQ(memo->Text(), typed) << c.what;
        Key(c.key, c.mods);
        const WideString undone = memo->Text();
        EXPECT_LT(undone.size(), typed.size()) << c.what;
        EXPECT_GE(undone.size(), 4u) << c.what;
        EXPECT_EQ(typed.substr(0, undone.size()), undone) << c.what;

        // A deletion comes back whole.
        memo->SetText(u"keep");
        memo->SetSelStart(0);
        memo->SetSelLength(2);
        Key(Qt::Key_Delete);
        ASSERT_EQ(memo->Text(), u"ep") << c.what;
        Key(c.key, c.mods);
        EXPECT_EQ(memo->Text(), u"keep") << c.what;
    }
}

// A change the program makes (a line added, a selection replaced) cannot be undone and
// ends the undo history before it, as in Windows' edit boxes: Ctrl+Z afterwards never
// takes back typing at a place the change has moved.
TEST_F(MemoInput, ChangesByTheProgramEndTheUndoHistory) {
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    ShowWith(u"");
    Type(u"a");
    Type(u"b");
    memo->Lines().Insert(0, u"first");
    Key(Qt::Key_Z, ctrl);
    EXPECT_EQ(memo->Text(), u"first\r\nab");
    // Typing after the change is undone as usual.
    memo->SetSelStart(memo->GetTextLen());
    Type(u"c");
    Key(Qt::Key_Z, ctrl);
    EXPECT_EQ(memo->Text(), u"first\r\nab");
    Type(u"d");
    memo->SetSelStart(0);
    memo->SetSelText(u"X");
    Key(Qt::Key_Z, ctrl);
    EXPECT_EQ(memo->Text(), u"Xfirst\r\nabd");
    memo->Lines().Add(u"last");
    Key(Qt::Key_Y, ctrl); // nothing to redo
    EXPECT_EQ(memo->Text(), u"Xfirst\r\nabd\r\nlast");
}

// A run of typing is undone as one step; a caret move ends the run, even one that comes
// back to where the typing stopped.
TEST_F(MemoInput, ACaretMoveEndsTheRunOfTypingThatUndoTakesBack) {
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    ShowWith(u"");
    Type(u"a");
    Type(u"b");
    Key(Qt::Key_Left);
    Key(Qt::Key_Right);
    Type(u"c");
    Type(u"d");
    ClickAt(TextArea(), InLine(0, 200)); // right of the text: the caret stays at its end
    Type(u"e");
    ASSERT_EQ(memo->Text(), u"abcde");
    Key(Qt::Key_Z, ctrl);
    EXPECT_EQ(memo->Text(), u"abcd");
    Key(Qt::Key_Z, ctrl);
    EXPECT_EQ(memo->Text(), u"ab");
    Key(Qt::Key_Z, ctrl);
    EXPECT_EQ(memo->Text(), u"");
    // Redone and typed on: the redone step takes no more typing.
    Key(Qt::Key_Y, ctrl);
    Type(u"x");
    Key(Qt::Key_Z, ctrl);
    EXPECT_EQ(memo->Text(), u"ab");
}

// The undo history keeps about sixteen million characters: the newest step comes back
// whatever its size, the oldest go once newer ones fill it.
TEST_F(MemoInput, UndoKeepsTheNewestStepsOfABoundedHistory) {
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    auto pasted = [](int Lines, char16_t Letter) {
        QString text;
        const QString line = QString(63, QChar(Letter)) + u'\n';
        text.reserve(Lines * line.size());
        for (int i = 0; i < Lines; ++i)
            text += line;
        return text;
    };
    QClipboard* clip = QGuiApplication::clipboard();
    ShowWith(u"");
    // One paste larger than the whole history.
    clip->setText(pasted(300000, u'a')); // 19.5 million characters in memo form
    Key(Qt::Key_V, ctrl);
    ASSERT_EQ(memo->GetTextLen(), 300000 * 65);
    Key(Qt::Key_Z, ctrl);
    EXPECT_EQ(memo->GetTextLen(), 0);
    // Three pastes of 7.8 million: the first goes when the third comes.
    for (char16_t letter : {u'x', u'y', u'z'}) {
        clip->setText(pasted(120000, letter));
        Key(Qt::Key_V, ctrl);
    }
    clip->clear();
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_Z, ctrl);
    EXPECT_EQ(memo->GetTextLen(), 120000 * 65);
    EXPECT_EQ(memo->Lines()[0], WideString(63, u'x'));
    Key(Qt::Key_Y, ctrl);
    EXPECT_EQ(memo->GetTextLen(), 2 * 120000 * 65);
}

// ---------------------------------------------------------------------------------------------
// Read-only memos and the Tab key

TEST_F(MemoInput, AReadOnlyMemoKeepsItsTextButSelectsAndCopies) {
    QClipboard* clip = QGuiApplication::clipboard();
    memo->SetReadOnly(true);
    const WideString text = NumberedLines(5);
    ShowWith(text, 1, 1);
    clip->setText(QStringLiteral("XY"));
    Type(u"z");
    Key(Qt::Key_Return);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Delete);
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    Key(Qt::Key_Delete, Qt::ShiftModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(memo->Text(), text);
    // The mouse still places the caret and selects; the selection can be copied.
    ClickAt(TextArea(), InLine(2, 3));
    EXPECT_EQ(memo->SelStart(), memo->LineIndex(2));
    DragAt(TextArea(), InLine(1, 3), InLine(3, 3));
    EXPECT_EQ(memo->SelText(), u"line 1\r\nline 2\r\n");
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clip->text().remove(u'\r'), QStringLiteral("line 1\nline 2\n"));
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(memo->SelLength(), int(text.size()));
    Key(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(clip->text().remove(u'\r'), Q(text.c_str()).remove(u'\r'));
    EXPECT_EQ(memo->Text(), text);
}

TEST_F(MemoInput, TabMovesOnUnlessTheMemoWantsTabs) {
    auto* second = Make<TMemo>();
    second->SetBounds(10, 170, 300, 80);
    int exits = 0;
    memo->OnExit = [&](TObject*) { ++exits; };
    ShowWith(u"ab", 1);
    Key(Qt::Key_Tab);
    EXPECT_EQ(memo->Text(), u"ab");
    EXPECT_TRUE(second->Focused());
    EXPECT_FALSE(memo->Focused());
    EXPECT_EQ(exits, 1);

    memo->SetWantTabs(true);
    memo->SetFocus();
    memo->SetSelStart(1);
    Key(Qt::Key_Tab);
    EXPECT_EQ(memo->Text(), u"a\tb");
    EXPECT_EQ(memo->SelStart(), 2);
    EXPECT_TRUE(memo->Focused());

    // A click into the other memo gives it the focus.
    memo->SetWantTabs(false);
    auto* otherArea = qobject_cast<QAbstractScrollArea*>(second->Widget())->viewport();
    ClickWidgetAt(otherArea, QPoint(5, 5));
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(exits, 2);
}

// A memo that leaves Enter to the dialog's default button still breaks its line on
// Ctrl+Enter, as Windows' edit boxes do.
TEST_F(MemoInput, CtrlEnterBreaksTheLineWhenEnterBelongsToTheDialog) {
    auto* ok = Make<TButton>();
    ok->SetBounds(10, 200, 80, 25);
    ok->SetDefault(true);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    memo->WantReturns = false;
    ShowWith(u"abcd", 2);
    Key(Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(memo->Text(), u"abcd");
    Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(memo->Text(), u"ab\r\ncd");
    EXPECT_EQ(memo->SelStart(), 4);
}

// ---------------------------------------------------------------------------------------------
// Events

TEST_F(MemoInput, OnChangeFiresOncePerEdit) {
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    ShowWith(u"");
    changes = 0;
    struct Case {
        const char* what;
        std::function<void()> act;
        int changes;
    };
    const Case cases[] = {
        {"typed letter", [&] { Type(u"a"); }, 1},
        {"typed emoji", [&] { Type(u"\U0001F600"); }, 1},
        {"Enter", [&] { Key(Qt::Key_Return); }, 1},
        {"Backspace", [&] { Key(Qt::Key_Backspace); }, 1},
        {"caret key", [&] { Key(Qt::Key_Home); }, 0},
        {"new text", [&] { memo->SetText(u"other"); }, 1},
        {"the same text", [&] { memo->SetText(u"other"); }, 0},
        {"Backspace at the start",
         [&] {
             memo->SetSelStart(0);
             Key(Qt::Key_Backspace);
         },
         0},
        {"text of many lines", [&] { memo->SetText(NumberedLines(50)); }, 1},
        {"a line added", [&] { memo->Lines().Add(u"more"); }, 1},
        {"Ctrl+A and Ctrl+C",
         [&] {
             Key(Qt::Key_A, Qt::ControlModifier);
             Key(Qt::Key_C, Qt::ControlModifier);
         },
         0},
        {"Ctrl+X of everything", [&] { Key(Qt::Key_X, Qt::ControlModifier); }, 1},
        {"Ctrl+V of many lines", [&] { Key(Qt::Key_V, Qt::ControlModifier); }, 1},
        {"a selection deleted",
         [&] {
             memo->SetSelStart(2);
             memo->SetSelLength(30);
             Key(Qt::Key_Delete);
         },
         1},
        {"Ctrl+Z of the deletion", [&] { Key(Qt::Key_Z, Qt::ControlModifier); }, 1},
    };
    for (const Case& c : cases) {
        changes = 0;
        c.act();
        EXPECT_EQ(changes, c.changes) << c.what;
    }
}

// The key events see every key before the memo does; a handler that clears the key keeps
// it from the memo, one that changes a character has the memo type the new one.
TEST_F(MemoInput, KeyHandlersSeeSwallowAndChangeTheKeys) {
    ShowWith(u"");
    std::vector<uint16_t> downs, ups;
    std::vector<WideChar> chars;
    memo->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) { downs.push_back(k); };
    memo->OnKeyUp = [&](TObject*, uint16_t& k, TShiftState) { ups.push_back(k); };
    memo->OnKeyPress = [&](TObject*, WideChar& k) { chars.push_back(k); };
    Type(u"q");
    Key(Qt::Key_Left);
    EXPECT_EQ(downs, (std::vector<uint16_t>{'Q', VK_LEFT}));
    EXPECT_EQ(ups, (std::vector<uint16_t>{'Q', VK_LEFT}));
    EXPECT_EQ(chars, std::vector<WideChar>{u'q'});
    EXPECT_EQ(memo->Text(), u"q");
    EXPECT_EQ(memo->SelStart(), 0);

    memo->OnKeyDown = [](TObject*, uint16_t& k, TShiftState) {
        if (k == VK_RETURN || k == VK_DELETE) k = 0;
    };
    memo->OnKeyPress = [](TObject*, WideChar& k) {
        if (k == u'*') k = 0;
        if (k == u'x') k = u'y';
    };
    memo->SetText(u"ab");
    memo->SetSelStart(1);
    Key(Qt::Key_Return);
    Key(Qt::Key_Delete);
    Type(u"*");
    Type(u"x");
    Type(u"\u03A9");
    EXPECT_EQ(memo->Text(), u"ayΩb");
    EXPECT_EQ(memo->SelStart(), 3);
}

// ---------------------------------------------------------------------------------------------
// The mouse

TEST_F(MemoInput, AClickPutsTheCaretWhereItIsAndADragSelects) {
    int clicks = 0;
    memo->OnClick = [&](TObject*) { ++clicks; };
    ShowWith(NumberedLines(10));
    ClickAt(TextArea(), InLine(2, 3));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(CaretLine(), 2);
    EXPECT_EQ(memo->SelLength(), 0);
    EXPECT_EQ(memo->SelStart(), memo->LineIndex(2));

    // Pressed in line 1, released in line 3: the selection runs across the breaks.
    DragAt(TextArea(), InLine(1, 3), InLine(3, 3));
    EXPECT_EQ(memo->SelStart(), memo->LineIndex(1));
    EXPECT_EQ(memo->SelLength(), memo->LineIndex(3) - memo->LineIndex(1));
    EXPECT_EQ(memo->SelText(), u"line 1\r\nline 2\r\n");

    // Shift+click extends from the caret.
    ClickAt(TextArea(), InLine(1, 3));
    ClickAt(TextArea(), InLine(4, 3), Qt::ShiftModifier);
    EXPECT_EQ(memo->SelStart(), memo->LineIndex(1));
    EXPECT_EQ(memo->SelLength(), memo->LineIndex(4) - memo->LineIndex(1));

    // Rows count from the first visible line.
    memo->SetText(NumberedLines(40));
    memo->ScrollLines(10);
    ClickAt(TextArea(), InLine(2, 3));
    EXPECT_EQ(CaretLine(), 12);
    EXPECT_EQ(memo->FirstVisibleLine(), 10);
}

TEST_F(MemoInput, ADoubleClickSelectsAWord) {
    ShowWith(u"alpha beta gamma\r\nsecond");
    const int width =
        QFontMetrics(memo->Widget()->font()).horizontalAdvance(QStringLiteral("alpha beta gamma"));
    // A point inside "beta" (the middle of the line). The word may take its trailing blank
    // along, as Windows' word breaks do.
    DoubleClickAt(TextArea(), InLine(0, width / 2 + 4));
    EXPECT_EQ(memo->SelStart(), 6);
    WideString word = memo->SelText();
    if (!word.empty() && word.back() == u' ') word.pop_back();
    EXPECT_EQ(word, u"beta");
    EXPECT_EQ(memo->Text(), u"alpha beta gamma\r\nsecond");
}

// A drag begun with a double click selects whole words, from the double-clicked word on
// in either direction.
TEST_F(MemoInput, ADragAfterADoubleClickSelectsWholeWords) {
    const WideString text = u"alpha beta gamma delta";
    ShowWith(text);
    const QFontMetrics fm(memo->Widget()->font());
    // A point inside the word at Start (plus one character), on the first line.
    auto inWord = [&](int Start) {
        return InLine(0, 3 + fm.horizontalAdvance(Q(text.substr(0, size_t(Start) + 1).c_str())));
    };
    const QPoint beta = inWord(6);
    MouseAt(TextArea(), QEvent::MouseButtonPress, beta);
    MouseAt(TextArea(), QEvent::MouseButtonRelease, beta);
    MouseAt(TextArea(), QEvent::MouseButtonDblClick, beta);
    MouseAt(TextArea(), QEvent::MouseMove, inWord(17));
    EXPECT_EQ(memo->SelStart(), 6);
    EXPECT_EQ(memo->SelText(), u"beta gamma delta");
    MouseAt(TextArea(), QEvent::MouseMove, inWord(0));
    MouseAt(TextArea(), QEvent::MouseButtonRelease, inWord(0));
    EXPECT_EQ(memo->SelStart(), 0);
    EXPECT_EQ(memo->SelText(), u"alpha beta");
    // A plain drag afterwards selects by characters again.
    DragAt(TextArea(), inWord(6), inWord(17));
    EXPECT_EQ(memo->SelStart(), 7);
    EXPECT_EQ(memo->SelLength(), 11);
}

TEST_F(MemoInput, TheWheelScrollsALongText) {
    memo->SetWordWrap(false);
    ShowWith(NumberedLines(100));
    EXPECT_EQ(memo->FirstVisibleLine(), 0);
    WheelAt(TextArea(), InLine(1), -1);
    QApplication::processEvents();
    const int after = memo->FirstVisibleLine();
    EXPECT_EQ(after, QApplication::wheelScrollLines());
    WheelAt(TextArea(), InLine(1), -2);
    QApplication::processEvents();
    EXPECT_GT(memo->FirstVisibleLine(), after);
    WheelAt(TextArea(), InLine(1), 10);
    QApplication::processEvents();
    EXPECT_EQ(memo->FirstVisibleLine(), 0);
    // Scrolling leaves the caret alone.
    EXPECT_EQ(memo->SelStart(), 0);
}

// A drag held still beyond the text's bottom or top edge goes on scrolling and selecting
// until the button is let go, as in Windows' edit boxes.
TEST_F(MemoInput, ADragHeldBeyondTheEdgeKeepsScrolling) {
    ShowWith(NumberedLines(300));
    const int shown = TextArea()->height() / LineHeight();
    MouseAt(TextArea(), QEvent::MouseButtonPress, InLine(1, 3));
    MouseAt(TextArea(), QEvent::MouseMove, QPoint(3, TextArea()->height() + 20));
    const int started = memo->FirstVisibleLine();
    ASSERT_TRUE(QTest::qWaitFor([&] { return memo->FirstVisibleLine() > started + 5; }, 5000));
    MouseAt(TextArea(), QEvent::MouseButtonRelease, QPoint(3, TextArea()->height() + 20));
    const int released = memo->FirstVisibleLine();
    // The selection runs from the press to the bottom row in view.
    EXPECT_EQ(memo->SelStart(), memo->LineIndex(1));
    const int end = memo->LineFromChar(memo->SelStart() + memo->SelLength());
    EXPECT_GE(end, released + shown - 2);
    EXPECT_LE(end, released + shown + 1);
    QTest::qWait(300);
    EXPECT_EQ(memo->FirstVisibleLine(), released); // let go: the scrolling stops

    // Above the top edge it scrolls back up, the selection growing upwards.
    const int caret = memo->LineIndex(released + 2);
    ClickAt(TextArea(), InLine(2, 3));
    ASSERT_EQ(memo->SelStart(), caret);
    MouseAt(TextArea(), QEvent::MouseButtonPress, InLine(2, 3));
    MouseAt(TextArea(), QEvent::MouseMove, QPoint(3, -20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return memo->FirstVisibleLine() < released - 5; }, 5000));
    MouseAt(TextArea(), QEvent::MouseButtonRelease, QPoint(3, -20));
    EXPECT_EQ(memo->SelStart() + memo->SelLength(), caret);
    EXPECT_LE(CaretLine(), memo->FirstVisibleLine() + 1);
}

// ---------------------------------------------------------------------------------------------
// Scrolling and lines

TEST_F(MemoInput, ScrollingByLinesAndToTheCaret) {
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssBoth);
    ShowWith(NumberedLines(100));
    memo->ScrollLines(5);
    EXPECT_EQ(memo->FirstVisibleLine(), 5);
    EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE), 5);
    memo->Perform(EM_LINESCROLL, 0, 7);
    EXPECT_EQ(memo->FirstVisibleLine(), 12);
    memo->Perform(EM_LINESCROLL, 0, -20);
    EXPECT_EQ(memo->FirstVisibleLine(), 0);

    // The caret far below the view: scrolling to it shows its line.
    const int shown = TextArea()->height() / LineHeight();
    ASSERT_GT(shown, 2);
    memo->SetSelStart(memo->LineIndex(60));
    memo->ScrollCaret();
    EXPECT_LE(memo->FirstVisibleLine(), 60);
    EXPECT_GT(memo->FirstVisibleLine() + shown, 60);
    memo->SetSelStart(memo->LineIndex(3));
    memo->Perform(EM_SCROLLCARET);
    EXPECT_LE(memo->FirstVisibleLine(), 3);
    EXPECT_GT(memo->FirstVisibleLine() + shown, 3);
    // Moving the caret by keys scrolls along.
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_GT(memo->FirstVisibleLine() + shown, memo->LineCount() - 1);
    EXPECT_GT(memo->FirstVisibleLine(), 50);
}

// Every way the program sets the selection shows the caret's line, as a Windows edit box
// does after EM_SETSEL and EM_SCROLLCARET (and after EM_REPLACESEL), from either end.
TEST_F(MemoInput, ASelectionSetByTheProgramIsScrolledIntoView) {
    struct Way {
        const char* name;
        std::function<void()> select;
        int line; // the caret's line afterwards
    };
    const Way ways[] = {
        {"SelStart", [&] { memo->SetSelStart(memo->LineIndex(800)); }, 800},
        {"SelLength",
         [&] {
             memo->SetSelStart(memo->LineIndex(500));
             memo->ScrollLines(-1000);
             memo->SetSelLength(memo->LineIndex(700) - memo->LineIndex(500) + 2);
         },
         700},
        {"EM_SETSEL", [&] { memo->Perform(EM_SETSEL, memo->LineIndex(950), memo->LineIndex(951)); },
         951},
        {"SelectAll", [&] { memo->SelectAll(); }, 1000},
        {"SelText",
         [&] {
             memo->Perform(EM_SETSEL, memo->LineIndex(640), memo->LineIndex(640));
             memo->ScrollLines(-1000);
             memo->SetSelText(u"new\r\n");
         },
         641},
        {"Lines.Add", [&] { memo->Lines().Add(u"added"); }, 1001},
        {"Lines.Put", [&] { memo->Lines().Put(900, u"put"); }, 900},
        {"Lines.Insert", [&] { memo->Lines().Insert(300, u"inserted"); }, 301},
    };
    const int shown = TextArea()->height() / LineHeight();
    ASSERT_GT(shown, 2);
    for (const Way& w : ways) {
        for (const bool fromBottom : {false, true}) {
            ShowWith(NumberedLines(1000));
            memo->ScrollLines(fromBottom ? 2000 : -2000);
            w.select();
            EXPECT_EQ(memo->LineFromChar(memo->SelStart() + memo->SelLength()), w.line) << w.name;
            EXPECT_LE(memo->FirstVisibleLine(), w.line) << w.name << " from below " << fromBottom;
            EXPECT_GT(memo->FirstVisibleLine() + shown, w.line)
                << w.name << " from below " << fromBottom;
        }
    }
}

TEST_F(MemoInput, WrappedLinesScrollByWhatIsShown) {
    const int width = memo->Width();
    const int wordWidth =
        QFontMetrics(memo->Widget()->font()).horizontalAdvance(QStringLiteral("word "));
    WideString longLine;
    for (int i = 0; i < 3 * width / wordWidth + 3; ++i)
        longLine += u"word ";
    const WideString text = longLine + u"\r\n" + NumberedLines(30);
    auto lastTopLine = [&](bool wrap) {
        memo->SetWordWrap(wrap);
        ShowWith(text);
        Key(Qt::Key_End, Qt::ControlModifier);
        QApplication::processEvents();
        return memo->FirstVisibleLine();
    };
    const int unwrapped = lastTopLine(false);
    const int wrapped = lastTopLine(true);
    EXPECT_GT(unwrapped, 0);
    // The long line takes at least three rows of its own when wrapped.
    EXPECT_GE(wrapped, unwrapped + 2);
    EXPECT_EQ(memo->LineCount(), 32);
    EXPECT_EQ(memo->Text(), text);

    // One line scrolled: the top row shows the long line's second row, so a click there
    // lands inside the first line, past its start.
    memo->ScrollLines(-1000);
    memo->ScrollLines(1);
    EXPECT_EQ(memo->FirstVisibleLine(), 1);
    ClickAt(TextArea(), InLine(0, 3));
    EXPECT_EQ(CaretLine(), 0);
    EXPECT_GT(memo->SelStart(), 10);
}

TEST_F(MemoInput, AnUnwrappedLongLineScrollsSideways) {
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssBoth);
    WideString longLine;
    for (int i = 0; i < 400; ++i)
        longLine += u'0' + char16_t(i % 10);
    ShowWith(longLine + u"\r\nshort");
    QScrollBar* bar = qobject_cast<QAbstractScrollArea*>(memo->Widget())->horizontalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    ClickAt(TextArea(), InLine(0, 60));
    const int before = memo->SelStart();
    EXPECT_GT(before, 0);
    // A click into the bar's track right of its thumb pages to the right.
    ClickAt(bar, QPoint(bar->width() * 3 / 4, bar->height() / 2));
    QApplication::processEvents();
    ClickAt(TextArea(), InLine(0, 60));
    EXPECT_EQ(CaretLine(), 0);
    EXPECT_GT(memo->SelStart(), before + 5);
}

// ---------------------------------------------------------------------------------------------
// Input methods

// Text composed with an input method lands when committed; what is still being composed is
// not part of the text.
TEST_F(MemoInput, ComposedTextLandsWhenCommitted) {
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    ShowWith(u"ab", 1);
    changes = 0;
    QInputMethodEvent composing(QStringLiteral("\u306B"), {});
    QApplication::sendEvent(Keys(), &composing);
    EXPECT_EQ(memo->Text().find(u'\u306B'), WideString::npos);
    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("\u65E5\u672C"));
    QApplication::sendEvent(Keys(), &committed);
    EXPECT_EQ(memo->Text(), u"a\u65E5\u672Cb");
    EXPECT_EQ(memo->SelStart(), 3);
    EXPECT_GE(changes, 1);
}

// An input method reads the text around the caret: a stretch of the caret's line, whatever
// the line's length, with the caret and the selection's anchor placed in it.
TEST_F(MemoInput, InputMethodsReadAStretchAroundTheCaret) {
    WideString line;
    for (int i = 0; i < 20000; ++i)
        line += U16(std::to_string(10000 + i));
    ShowWith(u"first\r\n" + line + u"\r\nlast");
    const struct {
        int caret, anchor;
    } cases[] = {{7 + 3, 7 + 1}, {7 + 50000, 7 + 49990}, {7 + 99998, 7 + 10}};
    for (const auto& c : cases) {
        memo->SetSelStart(c.anchor);
        memo->SetSelLength(c.caret - c.anchor);
        const QString around = Keys()->inputMethodQuery(Qt::ImSurroundingText).toString();
        const int at = Keys()->inputMethodQuery(Qt::ImCursorPosition).toInt();
        const int anchor = Keys()->inputMethodQuery(Qt::ImAnchorPosition).toInt();
        EXPECT_LE(around.size(), 4096) << c.caret;
        EXPECT_GE(around.size(), 10) << c.caret;
        const size_t inLine = size_t(c.caret - 7);
        EXPECT_EQ(around.mid(at, 2).toStdU16String(), line.substr(inLine, 2)) << c.caret;
        EXPECT_EQ(around.left(at).toStdU16String(), line.substr(inLine - size_t(at), size_t(at)))
            << c.caret;
        EXPECT_LE(anchor, at) << c.caret;
        if (c.caret - c.anchor < 100) {
            EXPECT_EQ(at - anchor, c.caret - c.anchor) << c.caret;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The context menu

// The texts of a menu's actions as shown, without their "&" and shortcut column.
QStringList ActionNames(QMenu* Menu) {
    QStringList out;
    for (QAction* a : Menu->actions())
        if (!a->isSeparator()) out << a->text().section(u'\t', 0, 0).remove(u'&').toLower();
    return out;
}

TEST_F(MemoInput, TheContextMenuOffersTheEditCommandsAndSelectsAll) {
    ShowWith(u"ab\r\ncd", 1);
    QStringList names;
    bool chosen = false;
    // The menu runs its own loop while open: it is answered from a timer, clicking its
    // "Select All" item as a person would.
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget(); }, 2000));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        names = ActionNames(menu);
        for (QAction* a : menu->actions())
            if (a->text()
                    .remove(u'&')
                    .section(u'\t', 0, 0)
                    .compare(QStringLiteral("select all"), Qt::CaseInsensitive) == 0) {
                ClickWidgetAt(menu, menu->actionGeometry(a).center());
                chosen = true;
            }
        if (menu->isVisible()) menu->close();
    });
    ClickWidgetAt(TextArea(), InLine(0), Qt::RightButton);
    for (const char* name : {"undo", "cut", "copy", "paste", "delete", "select all"})
        EXPECT_TRUE(names.contains(QString::fromLatin1(name)))
            << name << ": " << names.join(u',').toStdString();
    EXPECT_TRUE(chosen);
    EXPECT_EQ(memo->SelStart(), 0);
    EXPECT_EQ(memo->SelLength(), 6);
    EXPECT_EQ(memo->Text(), u"ab\r\ncd");
}

TEST_F(MemoInput, TheMenuKeyAndShiftF10OpenTheSameMenu) {
    ShowWith(u"ab\r\ncd", 1);
    const struct {
        int key;
        Qt::KeyboardModifiers mods;
    } keys[] = {{Qt::Key_Menu, Qt::NoModifier}, {Qt::Key_F10, Qt::ShiftModifier}};
    for (const auto& k : keys) {
        QStringList names;
        QTimer::singleShot(0, [&] {
            ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget(); }, 2000));
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            names = ActionNames(menu);
            menu->close();
        });
        Key(k.key, k.mods);
        EXPECT_TRUE(names.contains(QStringLiteral("select all"))) << k.key;
        EXPECT_EQ(memo->Text(), u"ab\r\ncd");
    }
}

// ---------------------------------------------------------------------------------------------
// A large text

TEST_F(MemoInput, ALargeTextKeepsEveryLineAndCtrlEndReachesItsEnd) {
    const int lines = 200000;
    WideString text;
    text.reserve(size_t(lines) * 16);
    for (int i = 0; i < lines; ++i)
        text += u"row " + U16(std::to_string(i)) + (i % 7 ? u" \u00E9\u03A9" : u"") + u"\r\n";
    text += u"last";
    ShowWith(text);
    EXPECT_EQ(memo->LineCount(), lines + 1);
    EXPECT_EQ(memo->GetTextLen(), int(text.size()));
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(memo->SelStart(), int(text.size()));
    EXPECT_EQ(CaretLine(), lines);
    EXPECT_GT(memo->FirstVisibleLine(), lines - 20);
    EXPECT_EQ(memo->Lines()[123456], u"row 123456 \u00E9\u03A9");
    EXPECT_TRUE(memo->Text() == text);
}

} // namespace
