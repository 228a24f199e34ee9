// A memo as a screen reader reads and edits it: through Qt's accessibility interfaces of
// the memo's widget, with the memo driven by keys typed into it. Readers count a line break
// as one character ("\n"), where the memo's own text holds CR LF.
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "support/FormFixture.h"
#include "support/WidgetInput.h"

namespace {

QString Q(const char16_t* S) {
    return QString::fromStdU16String(S);
}

struct MemoAccess : FormFixture {
    TMemo* memo = nullptr;
    void SetUp() override {
        FormFixture::SetUp();
        memo = Make<TMemo>();
        memo->SetBounds(10, 10, 300, 150);
    }
    void ShowWith(const WideString& Text) {
        memo->SetText(Text);
        form->Show();
        memo->SetFocus();
        QApplication::processEvents();
    }
    QAccessibleInterface* Reader() const {
        return QAccessible::queryAccessibleInterface(memo->Widget());
    }
    QAccessibleTextInterface* Text() const { return Reader()->textInterface(); }
    QAccessibleEditableTextInterface* Editing() const { return Reader()->editableTextInterface(); }
    void Key(int K, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        KeyChord(memo->Widget(), K, Mods);
    }
    void Type(const char16_t* S) {
        for (QChar c : Q(S))
            TypeChar(memo, QString(c));
    }
};

TEST_F(MemoAccess, ReadersSeeAMultiLineEditBoxEditableUnlessReadOnly) {
    ShowWith(u"one\r\ntwo");
    for (bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly);
        memo->SetReadOnly(readOnly);
        QAccessibleInterface* reader = Reader();
        ASSERT_TRUE(reader);
        EXPECT_EQ(reader->role(), QAccessible::EditableText);
        const QAccessible::State state = reader->state();
        EXPECT_TRUE(state.multiLine);
        EXPECT_EQ(bool(state.editable), !readOnly);
        EXPECT_EQ(bool(state.readOnly), readOnly);
        EXPECT_TRUE(state.focused);
        ASSERT_TRUE(reader->textInterface());
        ASSERT_TRUE(reader->editableTextInterface());
        EXPECT_EQ(reader->text(QAccessible::Value), u"one\ntwo");
    }
}

// Each Right key steps one character as the reader counts them: a line break, CR LF in the
// memo's text, is one; a character outside the basic plane is two units in both.
TEST_F(MemoAccess, TheCaretStepsOneOffsetPerCharacterAndEveryBreakIsOne) {
    ShowWith(u"ab\r\n\r\nc\U0001F600d\r\n");
    const QString readers = Q(u"ab\n\nc\U0001F600d\n");
    EXPECT_EQ(Text()->characterCount(), readers.size());
    EXPECT_EQ(Text()->text(0, -1), readers);
    EXPECT_EQ(Text()->text(1, 5), readers.mid(1, 4));
    const std::vector<int> steps = {0, 1, 2, 3, 4, 5, 7, 8, 9, 9};
    Key(Qt::Key_Home, Qt::ControlModifier);
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Text()->cursorPosition(), steps[i]);
        Key(Qt::Key_Right);
    }
    // And back with Left, the selection growing with Shift.
    Key(Qt::Key_Left, Qt::ShiftModifier);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Text()->cursorPosition(), 5);
    ASSERT_EQ(Text()->selectionCount(), 1);
    int start = -1, end = -1;
    Text()->selection(0, &start, &end);
    EXPECT_EQ(start, 5);
    EXPECT_EQ(end, 9);
    EXPECT_EQ(memo->SelText(), u"\U0001F600d\r\n");
    Key(Qt::Key_Up);
    EXPECT_EQ(Text()->selectionCount(), 0);
}

TEST_F(MemoAccess, TypedTextAndReturnMoveTheCaretTheReaderSees) {
    ShowWith(u"");
    struct Step {
        std::function<void()> Do;
        int Caret;
    };
    const std::vector<Step> steps = {
        {[&] { Type(u"ab"); }, 2},
        {[&] { Key(Qt::Key_Return); }, 3},
        {[&] { Type(u"cd"); }, 5},
        {[&] { Key(Qt::Key_Up); }, 2},
        {[&] { Key(Qt::Key_End, Qt::ControlModifier); }, 5},
        {[&] { Key(Qt::Key_Home); }, 3},
        {[&] { Key(Qt::Key_Backspace); }, 2},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        steps[i].Do();
        EXPECT_EQ(Text()->cursorPosition(), steps[i].Caret);
    }
    EXPECT_EQ(memo->Text(), u"abcd");
}

// The reader sets the caret and the selection in its offsets; the memo counts CR LF as two.
TEST_F(MemoAccess, SelectionAndCaretSetByTheReaderLandInTheMemo) {
    ShowWith(u"ab\r\ncd\r\nef");
    struct Case {
        int Start, End;
        int SelStart, SelLength;
    };
    for (const Case& c :
         {Case{1, 4, 1, 4}, Case{3, 8, 4, 6}, Case{6, 3, 4, 4}, Case{0, 8, 0, 10}}) {
        Text()->setSelection(0, c.Start, c.End);
        EXPECT_EQ(memo->SelStart(), c.SelStart) << c.Start << "-" << c.End;
        EXPECT_EQ(memo->SelLength(), c.SelLength) << c.Start << "-" << c.End;
        EXPECT_EQ(Text()->cursorPosition(), c.End);
    }
    Text()->setCursorPosition(6);
    EXPECT_EQ(memo->SelStart(), 8);
    EXPECT_EQ(memo->SelLength(), 0);
    Text()->addSelection(4, 5);
    EXPECT_EQ(memo->SelText(), u"d");
    Text()->removeSelection(0);
    EXPECT_EQ(memo->SelLength(), 0);
    // Typing goes on where the reader put the caret.
    Text()->setCursorPosition(3);
    Type(u"X");
    EXPECT_EQ(memo->Text(), u"ab\r\nXcd\r\nef");
}

TEST_F(MemoAccess, TextAroundAnOffsetByCharacterWordSentenceLineAndParagraph) {
    memo->SetWordWrap(false);
    ShowWith(u"Hello world. Second one.\r\nnext line\r\n\r\nlast");
    using B = QAccessible::TextBoundaryType;
    enum Which { At, Before, After };
    struct Case {
        Which Kind;
        B Boundary;
        int Offset;
        const char16_t* Text;
        int Start, End;
    };
    const std::vector<Case> cases = {
        {At, QAccessible::CharBoundary, 0, u"H", 0, 1},
        {At, QAccessible::CharBoundary, 24, u"\n", 24, 25},
        {Before, QAccessible::CharBoundary, 25, u"\n", 24, 25},
        {After, QAccessible::CharBoundary, 24, u"n", 25, 26},
        {At, QAccessible::WordBoundary, 8, u"world", 6, 11},
        {At, QAccessible::WordBoundary, 25, u"next", 25, 29},
        {Before, QAccessible::WordBoundary, 6, u" ", 5, 6},
        {After, QAccessible::WordBoundary, 0, u" ", 5, 6},
        {At, QAccessible::SentenceBoundary, 2, u"Hello world. ", 0, 13},
        {At, QAccessible::SentenceBoundary, 15, u"Second one.\n", 13, 25},
        {At, QAccessible::LineBoundary, 27, u"next line\n", 25, 35},
        {At, QAccessible::LineBoundary, 35, u"\n", 35, 36},
        {At, QAccessible::LineBoundary, 38, u"last", 36, 40},
        {At, QAccessible::LineBoundary, 40, u"last", 36, 40},
        {Before, QAccessible::LineBoundary, 27, u"Hello world. Second one.\n", 0, 25},
        {After, QAccessible::LineBoundary, 27, u"\n", 35, 36},
        {Before, QAccessible::LineBoundary, 3, u"", -1, -1},
        {After, QAccessible::LineBoundary, 38, u"", -1, -1},
        {At, QAccessible::ParagraphBoundary, 30, u"next line\n", 25, 35},
        {At, QAccessible::NoBoundary, 30, u"Hello world. Second one.\nnext line\n\nlast", 0, 40},
        {At, QAccessible::CharBoundary, 41, u"", -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << int(c.Kind) << " boundary " << int(c.Boundary) << " at " << c.Offset);
        int start = 0, end = 0;
        const QString got = c.Kind == At ? Text()->textAtOffset(c.Offset, c.Boundary, &start, &end)
                            : c.Kind == Before
                                ? Text()->textBeforeOffset(c.Offset, c.Boundary, &start, &end)
                                : Text()->textAfterOffset(c.Offset, c.Boundary, &start, &end);
        EXPECT_EQ(got, Q(c.Text));
        EXPECT_EQ(start, c.Start);
        EXPECT_EQ(end, c.End);
    }
}

// With word wrap a line is a row as shown: Down moves the caret to the next row's start, and
// the rows read one after another give the whole text back.
TEST_F(MemoAccess, WrappedLinesAreReadRowByRowAsTheCaretMovesDown) {
    memo->SetBounds(10, 10, 120, 150);
    WideString text;
    for (int i = 0; i < 12; ++i)
        text += u"word" + U16(std::to_string(i)) + u" ";
    ShowWith(text + u"\r\nend");
    QString joined;
    int rows = 0;
    Key(Qt::Key_Home, Qt::ControlModifier);
    for (int offset = 0; offset < Text()->characterCount(); ++rows) {
        SCOPED_TRACE(rows);
        int start = 0, end = 0;
        joined += Text()->textAtOffset(offset, QAccessible::LineBoundary, &start, &end);
        EXPECT_EQ(start, offset);
        EXPECT_EQ(Text()->cursorPosition(), offset);
        ASSERT_GT(end, start);
        offset = end;
        Key(Qt::Key_Down);
    }
    EXPECT_EQ(joined, Text()->text(0, Text()->characterCount()));
    EXPECT_GT(rows, 3);
    int start = 0, end = 0;
    EXPECT_EQ(Text()->textAtOffset(30, QAccessible::ParagraphBoundary, &start, &end),
              QString::fromStdU16String(text) + u'\n');
}

TEST_F(MemoAccess, ReadersEditThroughTheUndoableKeyboardPathUnlessReadOnly) {
    ShowWith(u"ab\r\ncd");
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    struct Case {
        std::function<void()> Edit;
        const char16_t* Text;
    };
    const std::vector<Case> cases = {
        {[&] { Editing()->insertText(3, QStringLiteral("X\nY")); }, u"ab\r\nX\r\nYcd"},
        {[&] { Editing()->deleteText(1, 4); }, u"a\r\nYcd"},
        {[&] { Editing()->replaceText(2, 4, QStringLiteral("--")); }, u"a\r\n--d"},
        {[&] { Editing()->insertText(5, QStringLiteral("!")); }, u"a\r\n--d!"},
        {[&] { Key(Qt::Key_Z, Qt::ControlModifier); }, u"a\r\n--d"},
        {[&] { Key(Qt::Key_Z, Qt::ControlModifier); }, u"a\r\nYcd"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        cases[i].Edit();
        EXPECT_EQ(memo->Text(), cases[i].Text);
        EXPECT_EQ(changes, int(i) + 1);
    }
    memo->SetReadOnly(true);
    Editing()->insertText(0, QStringLiteral("no"));
    Editing()->deleteText(0, 3);
    Editing()->replaceText(0, 1, QStringLiteral("no"));
    EXPECT_EQ(memo->Text(), u"a\r\nYcd");
    EXPECT_EQ(changes, int(cases.size()));
}

// Each character's box lies inside the memo on screen, and the point in its middle leads
// back to it; a point outside the memo leads nowhere.
TEST_F(MemoAccess, CharacterBoxesAndPointsLeadToEachOther) {
    memo->SetWordWrap(false);
    ShowWith(u"Wide MMM and iii\r\n\tx\r\n\r\nend");
    const QRect onScreen(memo->Widget()->mapToGlobal(QPoint(0, 0)), memo->Widget()->size());
    int previousLeft = -1, previousTop = -1;
    for (int i = 0; i < Text()->characterCount(); ++i) {
        SCOPED_TRACE(i);
        const QRect box = Text()->characterRect(i);
        ASSERT_FALSE(box.isEmpty());
        EXPECT_TRUE(onScreen.contains(box.topLeft()));
        EXPECT_TRUE(onScreen.contains(box.center()));
        EXPECT_EQ(Text()->offsetAtPoint(box.center()), i);
        if (box.top() == previousTop) {
            EXPECT_GT(box.left(), previousLeft);
        }
        previousLeft = box.left();
        previousTop = box.top();
    }
    EXPECT_EQ(Text()->offsetAtPoint(onScreen.topLeft() - QPoint(5, 5)), -1);
}

// Scrolling to a piece of text brings it into view without moving the caret.
TEST_F(MemoAccess, ScrollingToASubstringBringsItIntoView) {
    WideString text;
    for (int i = 0; i < 200; ++i)
        text += u"line " + U16(std::to_string(i)) + u"\r\n";
    ShowWith(text);
    const int offset = Text()->text(0, -1).indexOf(QStringLiteral("line 150"));
    Text()->scrollToSubstring(offset, offset + 8);
    EXPECT_EQ(Text()->cursorPosition(), 0);
    QWidget* area = qobject_cast<QAbstractScrollArea*>(memo->Widget())->viewport();
    const QRect onScreen(area->mapToGlobal(QPoint(0, 0)), area->size());
    EXPECT_TRUE(onScreen.contains(Text()->characterRect(offset).center()));
    EXPECT_EQ(Text()->offsetAtPoint(Text()->characterRect(offset + 7).center()), offset + 7);
}

// What the accessibility layer hears while a reader listens.
struct Heard {
    QAccessible::Event Type;
    int Position;
    QString Text, Old;
    bool operator==(const Heard&) const = default;
};
std::vector<Heard>* gHeard = nullptr;
QObject* gListenedTo = nullptr;

void Listen(QAccessibleEvent* Event) {
    if (!gHeard || Event->object() != gListenedTo) return;
    switch (Event->type()) {
    case QAccessible::TextInserted: {
        auto* e = static_cast<QAccessibleTextInsertEvent*>(Event);
        gHeard->push_back({e->type(), e->changePosition(), e->textInserted(), {}});
        break;
    }
    case QAccessible::TextRemoved: {
        auto* e = static_cast<QAccessibleTextRemoveEvent*>(Event);
        gHeard->push_back({e->type(), e->changePosition(), {}, e->textRemoved()});
        break;
    }
    case QAccessible::TextUpdated: {
        auto* e = static_cast<QAccessibleTextUpdateEvent*>(Event);
        gHeard->push_back({e->type(), e->changePosition(), e->textInserted(), e->textRemoved()});
        break;
    }
    case QAccessible::TextCaretMoved: {
        auto* e = static_cast<QAccessibleTextCursorEvent*>(Event);
        gHeard->push_back({e->type(), e->cursorPosition(), {}, {}});
        break;
    }
    case QAccessible::TextSelectionChanged: {
        auto* e = static_cast<QAccessibleTextSelectionEvent*>(Event);
        gHeard->push_back({e->type(), e->selectionStart(), QString::number(e->selectionEnd()), {}});
        break;
    }
    default:
        break;
    }
}

TEST_F(MemoAccess, ReadersHearTextCaretAndSelectionChanges) {
    ShowWith(u"ab\r\ncd");
    std::vector<Heard> heard;
    gHeard = &heard;
    gListenedTo = memo->Widget();
    const QAccessible::UpdateHandler before = QAccessible::installUpdateHandler(Listen);
    QAccessible::setActive(true);
    if (!QAccessible::isActive()) {
        QAccessible::installUpdateHandler(before);
        gHeard = nullptr;
        GTEST_SKIP() << "the platform keeps accessibility off";
    }
    using A = QAccessible;
    struct Case {
        std::function<void()> Do;
        std::vector<Heard> Expected;
    };
    const std::vector<Case> cases = {
        {[&] { Key(Qt::Key_End, Qt::ControlModifier); }, {{A::TextCaretMoved, 5, {}, {}}}},
        {[&] { Type(u"e"); }, {{A::TextInserted, 5, "e", {}}, {A::TextCaretMoved, 6, {}, {}}}},
        {[&] { Key(Qt::Key_Return); },
         {{A::TextInserted, 6, "\n", {}}, {A::TextCaretMoved, 7, {}, {}}}},
        {[&] { Key(Qt::Key_Backspace); },
         {{A::TextRemoved, 6, {}, "\n"}, {A::TextCaretMoved, 6, {}, {}}}},
        {[&] { Key(Qt::Key_Left, Qt::ShiftModifier); },
         {{A::TextSelectionChanged, 5, "6", {}}, {A::TextCaretMoved, 5, {}, {}}}},
        {[&] { Type(u"X"); },
         {{A::TextUpdated, 5, "X", "e"},
          {A::TextSelectionChanged, 6, "6", {}},
          {A::TextCaretMoved, 6, {}, {}}}},
        {[&] { memo->SetText(u"new"); },
         {{A::TextUpdated, 0, "new", "ab\ncdX"}, {A::TextCaretMoved, 0, {}, {}}}},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        heard.clear();
        cases[i].Do();
        EXPECT_EQ(heard, cases[i].Expected);
    }
    QAccessible::setActive(false);
    QAccessible::installUpdateHandler(before);
    gHeard = nullptr;
}

} // namespace
