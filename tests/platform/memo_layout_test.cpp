// The memo's own text and row layout: edits keep the line starts and the wrapped rows as a
// fresh fill would make them, and very long lines are shown, reached and hit in pieces.
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

#include "platform/Forms.h"
#include "platform/MemoAccessible.h"
#include "platform/MemoAnchors.h"
#include "platform/MemoText.h"
#include "platform/MemoView.h"
#include "platform/StdCtrls.h"
#include "support/FormFixture.h"
#include "support/WidgetInput.h"

namespace {

// Pieces of text an edit inserts: every kind of line break, blanks, a surrogate pair and
// words long enough to be wrapped inside.
const WideString kPieces[] = {u"a",           u"word ",  u"\r\n",           u"\n",
                              u"\r",          u"\u2028", u"x\ry",           u"\U0001F600",
                              u"   ",         u"\t",     u"\u00E9t\u00E9 ", WideString(90, u'm'),
                              u"end.\r\n\r\n"};

WideString RandomText(std::mt19937& Rng, int Pieces) {
    WideString text;
    std::uniform_int_distribution<size_t> pick(0, std::size(kPieces) - 1);
    for (int i = 0; i < Pieces; ++i)
        text += kPieces[pick(Rng)];
    return text;
}

void ExpectSameLines(const MemoText& Edited, const char* Step) {
    MemoText fresh;
    fresh.SetText(Edited.Text());
    ASSERT_EQ(Edited.LineCount(), fresh.LineCount()) << Step;
    for (int i = 0; i < fresh.LineCount(); ++i)
        ASSERT_EQ(Edited.LineStart(i), fresh.LineStart(i)) << Step << " line " << i;
}

TEST(MemoText, EditsKeepTheLineStartsOfAFreshFill) {
    std::mt19937 rng(7);
    MemoText doc;
    WideString expected = RandomText(rng, 60);
    doc.SetText(expected);
    for (int step = 0; step < 1500; ++step) {
        std::uniform_int_distribution<int> at(0, doc.Length());
        int a = at(rng), b = at(rng);
        if (a > b) std::swap(a, b);
        if (step % 3 == 0) b = a; // pure insertions
        // The text goes in as it stands, also where it joins or parts a CR LF.
        const WideString piece = step % 4 == 1 ? WideString() : RandomText(rng, 3);
        const int end = doc.Replace(a, b, piece);
        expected.replace(size_t(a), size_t(b - a), piece);
        ASSERT_EQ(doc.Text(), expected) << step;
        ASSERT_EQ(end, a + int(piece.size()));
        ASSERT_EQ(doc.LineFeedsBefore(a),
                  std::count(expected.begin(), expected.begin() + a, u'\n'));
        ExpectSameLines(doc, ("step " + std::to_string(step)).c_str());
    }
}

// A screen reader keeps its own copy of the text (every CR LF one "\n", a lone CR or LF
// one character) from what it hears of each edit, also of edits that join a lone CR and
// a lone LF into a line break or part one: the copy stays the text.
TEST(MemoText, AReadersCopyFollowsEveryEdit) {
    std::mt19937 rng(5);
    MemoText doc;
    doc.SetText(RandomText(rng, 40));
    QString copy = WithLineFeeds(doc.Text());
    for (int step = 0; step < 1500; ++step) {
        std::uniform_int_distribution<int> at(0, doc.Length());
        int a = at(rng), b = at(rng);
        if (a > b) std::swap(a, b);
        if (step % 3 == 0) b = a;
        const MemoAccessible::Removal removal(doc, a, b, true);
        const int end = doc.Replace(a, b, step % 4 == 1 ? WideString() : RandomText(rng, 2));
        const MemoAccessible::Removal::Change heard = removal.Heard(doc, a, end);
        ASSERT_EQ(copy.mid(heard.At, heard.Removed.size()), heard.Removed) << step;
        copy.replace(heard.At, heard.Removed.size(), heard.Inserted);
        ASSERT_EQ(copy, WithLineFeeds(doc.Text())) << step;
    }
}

// A piece of the memo's own text put back in (Lines[i] = Lines[j], SelText = Text) lands
// whole, whether the text grows in place or moves.
TEST(MemoText, ItsOwnTextPutInLandsWhole) {
    MemoText doc;
    doc.SetText(u"ab\r\ncd\r\nef");
    WideString expected = doc.Text();
    for (int step = 0; step < 12; ++step) {
        const int at = (step * 5) % (doc.Length() + 1);
        const WideString piece(doc.Slice(0, doc.Length() - step % 3));
        expected.insert(size_t(doc.Snap(at)), piece);
        doc.Replace(doc.Snap(at), doc.Snap(at), doc.Slice(0, doc.Length() - step % 3));
        ASSERT_EQ(doc.Text(), expected) << step;
        ExpectSameLines(doc, ("step " + std::to_string(step)).c_str());
    }
}

TEST(MemoText, CaretStepsAndWordsTakeBreaksAndPairsWhole) {
    MemoText doc;
    doc.SetText(u"foo.bar  baz\r\n\U0001F600x");
    // "foo.bar  baz" 0..12, CR LF 12..14, the pair 14..16, "x" 16.
    const struct {
        const char* what;
        int got, expected;
    } cases[] = {
        {"Next over the break", doc.Next(12), 14},
        {"Prev over the break", doc.Prev(14), 12},
        {"Next over the pair", doc.Next(14), 16},
        {"Prev over the pair", doc.Prev(16), 14},
        {"Snap off the LF", doc.Snap(13), 12},
        {"Snap off the low half", doc.Snap(15), 14},
        {"NextWord stops at the sign", doc.NextWord(0), 3},
        {"NextWord skips the blanks", doc.NextWord(4), 9},
        {"NextWord at the end of a line", doc.NextWord(12), 14},
        {"PrevWord to the word's start", doc.PrevWord(11), 9},
        {"PrevWord over the blanks", doc.PrevWord(9), 4},
        {"PrevWord at a line's start", doc.PrevWord(14), 12},
        {"LineOf the break", doc.LineOf(13), 0},
        {"LineOf the next line", doc.LineOf(14), 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
    int s = 0, e = 0;
    doc.WordAt(5, s, e);
    EXPECT_EQ(s, 4);
    EXPECT_EQ(e, 7);
}

// Japanese with full-width punctuation after kana and emoji, and Chinese with full-width
// brackets, commas, quotes and exclamation marks: the substitute font draws the
// punctuation as wide as its neighbours, not as wide as alone, and the line-breaking rules
// keep it off the start (closing) or the end (opening) of a row.
const WideString kJapanesePunctuated = u"ひらがなとカタカナ、それから漢字。"
                                       u"絵文字😀も入ります、ね。"
                                       u"「かぎかっこ」です！";
const WideString kChinesePunctuated = u"他说：“你好（朋友）！”"
                                      u"我们走吧，好的。"
                                      u"《书名》里写着“（测试）”！";
// Rows that begin with signs of no script of their own (brackets, digits), drawn in the
// fonts of the kana or ideographs behind them, in which they are wider or narrower than
// alone.
const WideString kLeadingSigns = u"「かぎ」（括弧）《書名》12 あいう "
                                 u"“引用”3.「カタカナ」";
const WideString kHangul = u"대한민국의 수도는 서울이고, 한글은 1443년에 만들어졌습니다. ";

// Ideographs drawn at random from the whole unified block.
WideString RandomIdeographs(unsigned Seed, size_t Units) {
    std::mt19937 rng(Seed);
    std::uniform_int_distribution<int> pick(0x4E00, 0x9FA5);
    WideString text;
    while (text.size() < Units)
        text += char16_t(pick(rng));
    return text;
}

// The characters of Signs (a pair counts as one) drawn at random.
WideString Shuffled(const WideString& Signs, unsigned Seed, size_t Units) {
    std::vector<WideString> signs;
    for (size_t i = 0; i < Signs.size(); i += signs.back().size())
        signs.push_back(Signs.substr(i, QChar::isHighSurrogate(Signs[i]) ? 2 : 1));
    std::mt19937 rng(Seed);
    WideString text;
    while (text.size() < Units)
        text += signs[rng() % signs.size()];
    return text;
}

struct MemoLayout : FormFixture {
    TMemo *edited = nullptr, *fresh = nullptr;
    void SetUp() override {
        FormFixture::SetUp();
        edited = Make<TMemo>();
        fresh = Make<TMemo>();
        for (TMemo* m : {edited, fresh}) {
            m->SetBounds(10, 10, 260, 150);
            m->SetScrollBars(ssVertical);
        }
        form->Show();
        QApplication::processEvents();
    }
    static MemoView* View(TMemo* M) { return static_cast<MemoView*>(M->Widget()); }
    // The left edge of the text in the view: the caret in an empty memo.
    qreal TextLeft() {
        edited->SetText(u"");
        return edited->Widget()->inputMethodQuery(Qt::ImCursorRectangle).toRectF().x() -
               View(edited)->viewport()->x() + 1;
    }
    // Every wrapped row of the edited memo, laid out by Qt in the memo's font as the memo
    // draws it (without kerning), ends inside the text's margins, and no row ends inside a
    // character.
    void ExpectRowsInside(qreal Left, const std::string& What) {
        const MemoView* view = View(edited);
        const QString text = QString::fromStdU16String(edited->Text());
        QTextBoundaryFinder chars(QTextBoundaryFinder::Grapheme, text);
        for (int r = 0; r < view->VisualLineCount(); ++r) {
            const int s = view->VisualLineStart(r);
            const int e =
                r + 1 < view->VisualLineCount() ? view->VisualLineStart(r + 1) : int(text.size());
            if (s == e && e == int(text.size())) continue; // an empty last line
            ASSERT_LT(s, e) << What << " row " << r;
            chars.setPosition(e);
            EXPECT_TRUE(chars.isAtBoundary()) << What << " row " << r << " ends at " << e;
            // Inside a line and not after a blank, a row ends where the line-breaking rules
            // allow, when they allow a break between characters anywhere inside it.
            const QChar before = text[e - 1];
            if (e < int(text.size()) && before != u' ' && before != u'\t' && before != u'\n') {
                int lineEnd = int(text.indexOf(QStringLiteral("\r\n"), e));
                if (lineEnd < 0) lineEnd = int(text.size());
                QTextBoundaryFinder rules(QTextBoundaryFinder::Line,
                                          text.mid(s, std::min(lineEnd, e + 32) - s));
                rules.setPosition(e - s);
                if (!rules.isAtBoundary()) {
                    qsizetype allowed = rules.toPreviousBoundary();
                    for (; allowed > 0; allowed = rules.toPreviousBoundary()) {
                        chars.setPosition(s + allowed);
                        if (chars.isAtBoundary()) break;
                    }
                    EXPECT_LE(allowed, 0)
                        << What << " row " << r << " ends at " << e << " against the rules";
                }
            }
            QString row = text.mid(s, e - s);
            while (row.endsWith(u' ') || row.endsWith(u'\n') || row.endsWith(u'\r'))
                row.chop(1);
            QFont font = view->font();
            font.setKerning(false);
            QTextLayout layout(row, font);
            layout.beginLayout();
            layout.createLine().setLineWidth(1e9);
            layout.endLayout();
            EXPECT_LE(Left + layout.lineAt(0).naturalTextWidth(), view->viewport()->width() - Left)
                << What << " row " << r;
        }
    }
    void ExpectSameRows(const char* Step) {
        fresh->SetText(edited->Text());
        const MemoView *a = View(edited), *b = View(fresh);
        ASSERT_EQ(a->VisualLineCount(), b->VisualLineCount()) << Step;
        for (int r = 0; r < b->VisualLineCount(); ++r)
            ASSERT_EQ(a->VisualLineStart(r), b->VisualLineStart(r)) << Step << " row " << r;
    }
};

// Edits by code, by typing and through the lines keep the wrapped rows a fresh fill of
// the same text gives.
TEST_F(MemoLayout, EditsKeepTheRowsOfAFreshFill) {
    std::mt19937 rng(11);
    edited->SetText(RandomText(rng, 40));
    ASSERT_GT(View(edited)->VisualLineCount(), edited->LineCount()); // something wraps
    for (int step = 0; step < 300; ++step) {
        std::uniform_int_distribution<int> at(0, edited->GetTextLen());
        const int pos = at(rng);
        switch (step % 4) {
        case 0:
            edited->SetSelStart(pos);
            edited->SetSelLength(std::min(at(rng) / 8, edited->GetTextLen() - pos));
            edited->SetSelText(RandomText(rng, 2));
            break;
        case 1:
            edited->SetSelStart(pos);
            PressKey(edited->Widget(), step % 8 == 1 ? Qt::Key_Backspace : Qt::Key_Delete,
                     QString());
            break;
        case 2:
            edited->SetSelStart(pos);
            TypeChar(edited, step % 3 ? QStringLiteral("q") : QStringLiteral(" "));
            break;
        default:
            if (edited->Lines().Count() > 2) edited->Lines().Delete(1);
            edited->Lines().Insert(0, RandomText(rng, 2));
            break;
        }
        ExpectSameRows(("step " + std::to_string(step)).c_str());
    }
}

// A line of megabytes without a blank wraps into rows; unwrapped it is shown, reached
// and hit in pieces.
TEST_F(MemoLayout, AVeryLongLineWrapsAndScrollsSideways) {
    const WideString line(300000, u'x');
    edited->SetText(line + u"\r\nend");
    const MemoView* view = View(edited);
    EXPECT_GT(view->VisualLineCount(), 1000);
    for (int r = 1; r < view->VisualLineCount() - 1; ++r)
        ASSERT_GT(view->VisualLineStart(r), view->VisualLineStart(r - 1)) << r;
    EXPECT_EQ(view->VisualLineOf(300000), view->VisualLineCount() - 2);

    edited->SetWordWrap(false);
    edited->SetScrollBars(ssBoth);
    EXPECT_EQ(view->VisualLineCount(), 2);
    edited->SetFocus();
    edited->SetSelStart(0);
    PressKey(edited->Widget(), Qt::Key_End, QString());
    EXPECT_EQ(edited->SelStart(), 300000);
    QScrollBar* h = view->horizontalScrollBar();
    EXPECT_GT(h->value(), 1000);
    // A click in the middle of the view lands near the end of the line.
    QWidget* area = view->viewport();
    MouseAt(area, QEvent::MouseButtonPress, QPoint(area->width() / 2, 5));
    MouseAt(area, QEvent::MouseButtonRelease, QPoint(area->width() / 2, 5));
    EXPECT_GT(edited->SelStart(), 299000);
    EXPECT_LT(edited->SelStart(), 300000);
    // Going home scrolls back; a click then lands near the start.
    PressKey(edited->Widget(), Qt::Key_Home, QString());
    EXPECT_EQ(h->value(), 0);
    MouseAt(area, QEvent::MouseButtonPress, QPoint(area->width() / 2, 5));
    MouseAt(area, QEvent::MouseButtonRelease, QPoint(area->width() / 2, 5));
    EXPECT_GT(edited->SelStart(), 0);
    EXPECT_LT(edited->SelStart(), 100);
    area->grab(); // drawing the pieces in view
}

// Thai syllables drawn at random, without blanks: a line of them has no phrase that repeats.
WideString ThaiSyllables(std::mt19937& Rng, size_t Units) {
    WideString text;
    auto from = [&](char16_t First, char16_t Last) {
        return char16_t(First + Rng() % unsigned(Last - First + 1));
    };
    while (text.size() < Units) {
        if (Rng() % 4 == 0) text += from(u'\u0E40', u'\u0E44'); // a vowel written before
        text += from(u'\u0E01', u'\u0E2E');
        if (Rng() % 3 == 0) text += from(u'\u0E34', u'\u0E39'); // above or below
        if (Rng() % 3 == 0) text += from(u'\u0E48', u'\u0E4B'); // a tone mark
        if (Rng() % 3 == 0) text += from(u'\u0E32', u'\u0E33');
    }
    return text;
}

// In a line of megabytes of text that repeats itself, or of words without blanks, rows
// wrapped anew after an edit may never fall back in step with the old ones: the rows
// around the edit are right at once, so is any row asked for behind them, and the rest
// are wrapped anew while the memo waits for the next key.
TEST_F(MemoLayout, RowsBehindAnEditInAVeryLongLineComeBackInStep) {
    WideString repeating;
    while (repeating.size() < 400000)
        repeating += u"The quick brown fox jumps over the lazy dog, line of text 0123. ";
    std::mt19937 rng(3);
    const WideString thai = ThaiSyllables(rng, 40000);
    const struct {
        const char* name;
        const WideString& line;
        bool early; // typed in before the rows behind are final
    } cases[] = {
        {"repeating words", repeating, false},
        {"Thai without blanks", thai, false},
        {"Thai without blanks, typed in at once", thai, true},
    };
    for (const auto& c : cases) {
        for (TMemo* m : {edited, fresh})
            m->SetBounds(10, 10, 180, 150);
        edited->SetText(c.line);
        edited->SetFocus();
        const int middle = int(c.line.size() / 2), tail = int(c.line.size()) - 100;
        edited->SetSelStart(middle);
        const MemoView* view = View(edited);
        const MemoView* model = View(fresh);
        const int row = c.early ? 5 : view->VisualLineOf(middle);
        for (const char* typed : {"a", "b", "c", "d", "e", "f", "g"}) {
            TypeChar(edited, QString::fromLatin1(typed));
            fresh->SetText(edited->Text());
            const int last = model->VisualLineOf(tail);
            ASSERT_EQ(view->VisualLineOf(tail), last) << c.name << typed;
            for (int r : {last - 1, last, last + 1})
                ASSERT_EQ(view->VisualLineStart(r), model->VisualLineStart(r)) << c.name << typed;
            for (int r = row - 5; r < row + 50; ++r)
                ASSERT_EQ(view->VisualLineStart(r), model->VisualLineStart(r))
                    << c.name << typed << r;
        }
        // The view at the end of the line keeps its text at the top meanwhile.
        PressKey(edited->Widget(), Qt::Key_End, QString(), Qt::ControlModifier);
        const int top = view->VisualLineStart(view->FirstVisibleLine());
        ASSERT_GT(top, tail - 2000) << c.name;
        auto inStep = [&] {
            if (view->VisualLineCount() != model->VisualLineCount()) return false;
            for (int r = 0; r < view->VisualLineCount(); ++r)
                if (view->VisualLineStart(r) != model->VisualLineStart(r)) return false;
            return true;
        };
        QElapsedTimer waited;
        waited.start();
        while (!inStep() && waited.elapsed() < 20000)
            QTest::qWait(20);
        ExpectSameRows(c.name);
        const int first = view->FirstVisibleLine();
        EXPECT_LE(view->VisualLineStart(first), top) << c.name;
        EXPECT_GT(view->VisualLineStart(first + 1), top) << c.name;
    }
}

// The rows of a long line of Thai wait, estimated, behind the few made final when it is
// shown. The line replaced by a short one, the rows wrapped anew run to the text's end, past
// where those rows waited: none is left behind there as a row of its own.
TEST_F(MemoLayout, RowsRewrappedToTheTextsEndTakeTheWaitingRowsWithThem) {
    std::mt19937 rng(5);
    edited->SetText(u"Thai:\r\n" + ThaiSyllables(rng, 200000));
    QApplication::processEvents(); // shown
    ASSERT_EQ(View(edited)->VisualLineStart(1), 7);
    edited->Lines().Put(1, u"end.");
    ExpectSameRows("replaced");
}

// The line at the top of a memo's view.
int TopLine(TMemo* Memo) {
    const auto* view = static_cast<MemoView*>(Memo->Widget());
    return Memo->LineFromChar(view->VisualLineStart(view->FirstVisibleLine()));
}

// Numbered lines that wrap, scrolled to a row inside a line; returns that line.
int ScrollIntoWrappedLines(TMemo* Memo) {
    WideString text;
    for (int i = 0; i < 2000; ++i)
        text += U16(std::to_string(1000000 + i)) + u" The quick brown fox jumps over the dog.\r\n";
    Memo->SetText(text);
    QApplication::processEvents();
    static_cast<MemoView*>(Memo->Widget())->ScrollLines(101);
    return TopLine(Memo);
}

// A narrower or wider memo wraps its rows anew and keeps the text at its top in view.
TEST_F(MemoLayout, AResizedMemoKeepsItsTopText) {
    const int top = ScrollIntoWrappedLines(edited);
    ASSERT_GT(top, 20);
    for (int width : {180, 120, 330, 200}) {
        edited->SetBounds(10, 10, width, 150);
        QApplication::processEvents();
        View(edited)->viewport()->grab();
        EXPECT_EQ(TopLine(edited), top) << width;
    }
}

// Another font wraps the rows anew and keeps the text at the top of the view there.
TEST_F(MemoLayout, AnotherFontKeepsTheTopText) {
    const int top = ScrollIntoWrappedLines(edited);
    for (int size : {14, 6, 10}) {
        edited->Font()->SetSize(size);
        QApplication::processEvents();
        View(edited)->viewport()->grab();
        EXPECT_EQ(TopLine(edited), top) << size;
    }
}

// A character outside the basic plane where a long unwrapped line is parted into pieces
// stays whole: the caret steps over it by its own width, as anywhere else in the line.
TEST_F(MemoLayout, APairAtTheEdgeOfAPieceStaysWhole) {
    const WideString pair = u"\U0001D400"; // MATHEMATICAL BOLD CAPITAL A
    edited->SetWordWrap(false);
    edited->SetScrollBars(ssBoth);
    edited->SetFocus();
    QWidget* keys = edited->Widget();
    const QScrollBar* h = View(edited)->horizontalScrollBar();
    // The caret's x in the text at Pos, put there by Right (which scrolls to it) from the
    // character before.
    auto caretX = [&](int Pos) {
        edited->SetSelStart(Pos - 1);
        PressKey(keys, Qt::Key_Right, QString());
        EXPECT_EQ(edited->SelStart(), Pos);
        return keys->inputMethodQuery(Qt::ImCursorRectangle).toRectF().x() + h->value();
    };
    const qreal width =
        QFontMetricsF(keys->font()).horizontalAdvance(QString::fromStdU16String(pair));
    for (int before : {100, 2047, 4095}) {
        edited->SetText(WideString(before, u'x') + pair + WideString(5000, u'x'));
        EXPECT_NEAR(caretX(before + 2) - caretX(before), width, 1.5) << before;
        View(edited)->viewport()->grab();
    }
}

// Tabs beyond the first piece of a long unwrapped line stop where tabs stop in the whole
// row: at multiples of the tab width from the text's left edge.
TEST_F(MemoLayout, TabsInALaterPieceKeepTheRowsTabStops) {
    edited->SetWordWrap(false);
    edited->SetScrollBars(ssBoth);
    edited->SetFocus();
    QWidget* keys = edited->Widget();
    const QScrollBar* h = View(edited)->horizontalScrollBar();
    const qreal tab = 8 * QFontMetricsF(keys->font()).averageCharWidth();
    const qreal left = keys->inputMethodQuery(Qt::ImCursorRectangle).toRectF().x();
    // "i" and "m" differ in width, so that the second piece starts between two stops.
    WideString line;
    for (int i = 0; i < 700; ++i)
        line += u"im ";
    line += u"a\tb\tc";
    edited->SetText(line);
    for (int after : {2102, 2104}) { // after the first and the second tab
        edited->SetSelStart(after - 1);
        PressKey(keys, Qt::Key_Right, QString());
        ASSERT_EQ(edited->SelStart(), after);
        const qreal x =
            keys->inputMethodQuery(Qt::ImCursorRectangle).toRectF().x() + h->value() - left;
        const qreal off = std::fmod(x, tab);
        EXPECT_LT(std::min(off, tab - off), 1.5)
            << after << ": " << x << " with stops every " << tab;
    }
}

// Edits in lines of many rows (long words, blanks, tabs, pairs) at several widths keep the
// rows a fresh fill gives: rows are wrapped anew only around an edit.
TEST_F(MemoLayout, EditsInLinesOfManyRowsKeepTheRowsOfAFreshFill) {
    const WideString pieces[] = {u"a", u"word ", u"  ",         u"\t", WideString(40, u'm'),
                                 u"i", u"W",     u"\U0001F600", u"x ", u"\r\n"};
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 rng(seed);
        // Mostly long lines: one piece in eight of the breaks stays a break.
        auto text = [&](int Pieces) {
            WideString t;
            std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
            for (int i = 0; i < Pieces; ++i) {
                const size_t k = pick(rng);
                t += k + 1 == std::size(pieces) && rng() % 8 ? pieces[1] : pieces[k];
            }
            return t;
        };
        for (int width : {90, 400}) {
            for (TMemo* m : {edited, fresh})
                m->SetBounds(10, 10, width, 150);
            QApplication::processEvents();
            edited->SetText(text(400));
            for (int step = 0; step < 300; ++step) {
                std::uniform_int_distribution<int> at(0, edited->GetTextLen());
                const int pos = at(rng);
                edited->SetSelStart(pos);
                edited->SetSelLength(std::min(int(rng() % 30), edited->GetTextLen() - pos));
                edited->SetSelText(step % 5 == 0 ? WideString() : text(1 + int(rng() % 3)));
                ExpectSameRows(("seed " + std::to_string(seed) + " width " + std::to_string(width) +
                                " step " + std::to_string(step))
                                   .c_str());
                if (HasFatalFailure()) return;
            }
        }
    }
}

// The places where rows end inside a very long line, found again only around an edit,
// are those the whole line gives, whatever the edit: inserted or removed text, near the
// line's start or end, a line growing long or short.
// Words of Latin, Thai and Chinese and blanks, drawn at random.
const std::u16string kAnchorPieces[] = {
    u"word ", u"fox, ", u"\u0e20\u0e32\u0e29\u0e32", u"x", u"\u6F22\u5B57\u3002", u"  "};

std::u16string AnchorPieces(std::mt19937& Rng, size_t Units) {
    std::u16string text;
    while (text.size() < Units)
        text += kAnchorPieces[Rng() % std::size(kAnchorPieces)];
    return text;
}

TEST(MemoAnchors, PlacesFoundAroundAnEditAreThoseOfTheWholeLine) {
    std::mt19937 rng(4);
    std::u16string line = AnchorPieces(rng, 12000);
    std::vector<int> places = memo_anchors::InLine(line.data(), int(line.size()));
    ASSERT_GT(places.size(), 0u);
    for (int step = 0; step < 4000; ++step) {
        std::uniform_int_distribution<int> at(0, int(line.size()));
        const int start = std::max(step % 7 ? at(rng) : int(line.size()) - int(rng() % 100), 0);
        const int end = std::min(int(line.size()), start + int(rng() % (step % 5 ? 40 : 3000)));
        std::u16string inserted; // (the line grows and shrinks about the long lines' bound)
        for (int n = int(rng() % (line.size() < 9000 ? 900 : 4)); n > 0; --n)
            inserted += kAnchorPieces[rng() % std::size(kAnchorPieces)];
        line.replace(size_t(start), size_t(end - start), inserted);
        const int newEnd = start + int(inserted.size());
        std::vector<int> moved;
        for (int p : places)
            if (p < start || p >= end) moved.push_back(p < start ? p : p + newEnd - end);
        places = memo_anchors::AfterEdit(line.data(), int(line.size()), start, end, newEnd, moved);
        ASSERT_EQ(places, memo_anchors::InLine(line.data(), int(line.size()))) << step;
    }
}

// Text taken out at the line's start brings the places behind it close to the start,
// where no place is found: those brought there go.
TEST(MemoAnchors, PlacesBroughtToTheLinesStartGo) {
    std::mt19937 rng(6);
    const std::u16string line = AnchorPieces(rng, 30000);
    const std::vector<int> places = memo_anchors::InLine(line.data(), int(line.size()));
    ASSERT_GT(places.size(), 1u);
    for (int start : {0, 5, 20})
        for (int before : {1, 8, 31, 40}) {
            const int end = places[1] - before;
            std::u16string edited = line;
            edited.erase(size_t(start), size_t(end - start));
            std::vector<int> moved;
            for (int p : places)
                if (p < start || p >= end) moved.push_back(p < start ? p : p - (end - start));
            EXPECT_EQ(memo_anchors::AfterEdit(edited.data(), int(edited.size()), start, end, start,
                                              moved),
                      memo_anchors::InLine(edited.data(), int(edited.size())))
                << start << " " << before;
        }
}

// Edits, jumps and pauses in long lines of shaped text, some very long, leave the rows a
// fresh fill gives: rows not yet final wait anywhere in the text, behind and before the
// view and around each edit.
TEST_F(MemoLayout, EditsAndJumpsInLongShapedLinesKeepTheRowsOfAFreshFill) {
    MemoView* view = View(edited);
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 rng(seed);
        WideString text = ThaiSyllables(rng, 40000);
        for (int i = 0; i < 1000; ++i) // blanks, and lines of every length
            text.insert(rng() % text.size(), i % 250 ? u" " : u"\r\n");
        edited->SetText(text);
        edited->SetFocus();
        if (seed != 2) view->VisualLineCount(); // every row final before the edits
        for (int step = 0; step < 40; ++step) {
            // Every other edit comes within a few hundred units before a place
            // where a row always ends, and may move it.
            const WideString now = edited->Text();
            std::vector<int> places;
            for (size_t line = 0; line < now.size();) {
                const size_t end = std::min(now.find(u"\r\n", line), now.size());
                for (int p : memo_anchors::InLine(now.data() + line, int(end - line)))
                    places.push_back(int(line) + p);
                line = end + 2;
            }
            std::uniform_int_distribution<int> at(0, edited->GetTextLen());
            int pos = at(rng);
            if (step % 2 && !places.empty())
                pos = std::max(places[rng() % places.size()] - int(rng() % 300), 0);
            edited->SetSelStart(pos);
            edited->SetSelLength(std::min(int(rng() % 60), edited->GetTextLen() - pos));
            switch (step % 4) {
            case 0:
                edited->SetSelText(ThaiSyllables(rng, rng() % 30));
                break;
            case 1:
                TypeChar(edited, step % 8 == 1 ? QStringLiteral(" ") : QStringLiteral("\u0e01"));
                break;
            case 2: {
                const Qt::Key keys[] = {Qt::Key_End, Qt::Key_Home, Qt::Key_PageDown,
                                        Qt::Key_PageUp};
                PressKey(view->verticalScrollBar(), keys[rng() % 4], QString());
                view->viewport()->grab();
                break;
            }
            default:
                QTest::qWait(int(rng() % 30));
                break;
            }
        }
        ExpectSameRows(("seed " + std::to_string(seed)).c_str());
    }
}

// Wrapped rows of scripts the font lacks or shapes (Devanagari, CJK and pairs from a
// substitute font, marks) end inside the memo: measured as Qt lays out their text in the
// memo's font, every row's last character is left of the right edge.
TEST_F(MemoLayout, WrappedRowsOfEveryScriptEndInsideTheMemo) {
    const WideString words[] = {
        u"\u0928\u092E\u0938\u094D\u0924\u0947 \u0926\u0941\u0928\u093F\u092F\u093E ",
        u"\u6F22\u5B57\u4EEE\u540D\u4EA4\u3058\u308A\u6587\u306E\u8A66\u9A13\u3002",
        u"\U0001F600\U00020000\U0001F600 ",
        u"e\u0301te\u0301 ",
        u"plain words ",
        u"\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645 ",
        kJapanesePunctuated,
        kChinesePunctuated,
        RandomIdeographs(5, 40),
        kHangul,
        kLeadingSigns};
    edited->Font()->SetName(u"Courier New"); // a stand-in face
    const MemoView* view = View(edited);
    for (int width : {260, 300, 170}) {
        edited->SetBounds(10, 10, width, 150);
        QApplication::processEvents();
        const qreal left = TextLeft();
        for (size_t k = 0; k < std::size(words); ++k) {
            const std::string what = std::to_string(k) + " at " + std::to_string(width);
            WideString text;
            for (int i = 0; i < 60; ++i)
                text += words[(k + size_t(i) % 2) % std::size(words)];
            edited->SetText(text);
            QApplication::processEvents();
            ASSERT_GT(view->VisualLineCount(), 5) << what;
            ExpectRowsInside(left, what);
            View(edited)->viewport()->grab();
        }
    }
}

// A row that would end with a sign whose ink reaches past its advance ("。" among
// ideographs, "_" among letters, at some sizes) ends before it where that ink would cross
// the edge: in a memo as wide as the word's advance, short of its ink, the word is parted.
TEST_F(MemoLayout, ARowEndsBeforeASignWhoseInkWouldCrossTheEdge) {
    const struct {
        const char* name;
        WideString word;
    } cases[] = {
        {"ideographs", u"一二三四五六七八九十。"},
        {"letters", u"mmmmmmmmmmmmmmmmmmm_"},
    };
    edited->Font()->SetName(u"Courier New"); // a stand-in face
    const MemoView* view = View(edited);
    const qreal left = TextLeft();
    int overhanging = 0;
    for (const auto& c : cases)
        for (int points : {8, 9, 10, 11}) {
            const std::string what = c.name + (" at " + std::to_string(points));
            edited->Font()->SetSize(points);
            QFont font = view->font();
            font.setKerning(false);
            QTextLayout layout(QString::fromStdU16String(c.word), font);
            layout.beginLayout();
            QTextLine line = layout.createLine();
            line.setLineWidth(1e9);
            layout.endLayout();
            const qreal room = std::ceil(line.horizontalAdvance());
            if (room >= line.naturalTextWidth()) continue; // no ink past the sign's advance
            ++overhanging;
            const int wanted = int(room + 2 * left);
            edited->SetBounds(10, 10, 260, 150);
            QApplication::processEvents();
            edited->SetBounds(10, 10, 260 + wanted - view->viewport()->width(), 150);
            edited->SetText(c.word + u" " + c.word + u" " + c.word);
            QApplication::processEvents();
            ASSERT_EQ(view->viewport()->width(), wanted) << what;
            ExpectRowsInside(left, what);
        }
    EXPECT_GT(overhanging, 0); // (the fonts at hand have such signs)
}

// Scripts written without blanks and Japanese with emoji, zero-width spaces and marks break
// inside their runs where the line-breaking rules allow, or else between characters: every
// row ends inside the memo and between characters, and edits keep the rows a fresh fill
// gives.
TEST_F(MemoLayout, TextWithoutBlanksBreaksInsideItsRuns) {
    const struct {
        const char* name;
        WideString unit;
    } cases[] = {
        {"Thai", u"ภาษาไทยเป็นภ"
                 u"าษาที่ไม่มีก"
                 u"ารเว้นวรรค"},
        {"Khmer", u"ភាសាខ្មែរមិន"
                  u"មានដកឃ្លា"},
        {"Lao", u"ພາສາລາວບໍ່ມີ"
                u"ຍະຫວ່າງ"},
        {"Japanese with emoji", u"日本語の文章には空白"
                                u"😀がありません​か"
                                u"゙。"},
        {"Japanese with full-width punctuation", kJapanesePunctuated},
        {"Chinese with full-width punctuation", kChinesePunctuated},
        {"random ideographs", RandomIdeographs(9, 45)},
        {"Hangul without blanks", u"한국어문장은띄어쓰기를하지만긴낱말도있습니다"},
        {"leading signs", u"「かぎ」（括弧）《書名》“引用”「カタカナ」12"},
    };
    for (int width : {90, 260, 300, 170}) {
        for (TMemo* m : {edited, fresh})
            m->SetBounds(10, 10, width, 150);
        QApplication::processEvents();
        const qreal left = TextLeft();
        for (const auto& c : cases) {
            const std::string what = c.name + (" at " + std::to_string(width));
            std::mt19937 rng(7);
            WideString text;
            for (int i = 0; i < 30; ++i)
                text += c.unit + (i % 10 == 9 ? u"\r\n" : u"");
            edited->SetText(text);
            ASSERT_GT(View(edited)->VisualLineCount(), 12) << what;
            ExpectRowsInside(left, what);
            for (int step = 0; step < 40; ++step) {
                std::uniform_int_distribution<int> at(0, edited->GetTextLen());
                edited->SetSelStart(at(rng));
                switch (step % 3) {
                case 0:
                    edited->SetSelText(c.unit.substr(rng() % c.unit.size() / 2, rng() % 12));
                    break;
                case 1:
                    edited->SetSelLength(
                        std::min(int(rng() % 20), edited->GetTextLen() - edited->SelStart()));
                    PressKey(edited->Widget(), Qt::Key_Delete, QString());
                    break;
                default:
                    TypeChar(edited, step % 2 ? QStringLiteral(" ") : QString(QChar(c.unit[0])));
                    break;
                }
                ExpectSameRows((what + " step " + std::to_string(step)).c_str());
                if (HasFatalFailure()) return;
            }
            ExpectRowsInside(left, what + " edited");
        }
    }
}

// Wrapped rows of Devanagari, Arabic and Thai (in their own fonts) and of plain text with
// kerning pairs and ligatures end inside the memo as they are drawn: the caret at either
// end of a row's text, put there with Home and End, is left of the right edge.
TEST_F(MemoLayout, HomeAndEndOfEveryWrappedRowStayInsideTheMemo) {
    const WideString words[] = {
        u"\u0928\u092E\u0938\u094D\u0924\u0947 \u0926\u0941\u0928\u093F\u092F\u093E "
        u"\u0915\u094D\u0937\u0924\u094D\u0930\u093F\u092F ",
        u"\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645 "
        u"\u0627\u0644\u0639\u0631\u0628\u064A\u0629 ",
        u"\u0e20\u0e32\u0e29\u0e32\u0e44\u0e17\u0e22\u0e40\u0e1b\u0e47\u0e19\u0e20\u0e32"
        u"\u0e29\u0e32\u0e17\u0e35\u0e48\u0e44\u0e21\u0e48",
        u"AVATAR Toyota WAVE office affluent LT. ",
    };
    const qreal left = TextLeft();
    const MemoView* view = View(edited);
    edited->SetFocus();
    for (size_t k = 0; k < std::size(words); ++k) {
        WideString text;
        for (int i = 0; i < 25; ++i)
            text += words[k];
        edited->SetText(text);
        QApplication::processEvents();
        ASSERT_GT(view->VisualLineCount(), 5) << k;
        for (int r = 0; r < view->VisualLineCount(); ++r) {
            edited->SetSelStart(view->VisualLineStart(r));
            qreal right = 0;
            for (Qt::Key key : {Qt::Key_Home, Qt::Key_End}) {
                PressKey(edited->Widget(), key, QString());
                // Blanks at the end of a row hang over the edge: the caret goes back over them.
                while (key == Qt::Key_End && edited->SelStart() > view->VisualLineStart(r) &&
                       text[size_t(edited->SelStart() - 1)] == u' ')
                    PressKey(edited->Widget(), Qt::Key_Left, QString());
                right = std::max(
                    right, edited->Widget()->inputMethodQuery(Qt::ImCursorRectangle).toRectF().x() -
                               view->viewport()->x() + 1);
            }
            EXPECT_LE(right, view->viewport()->width() - left + 1) << k << " row " << r;
        }
    }
    // A row whose text ends within a blank's width of the edge, then a blank wider than the
    // margin: End goes behind the blank, past the edge; the caret is drawn at the edge.
    edited->Font()->SetName(u"Courier New");
    const QFontMetricsF fm(view->font());
    ASSERT_GT(fm.horizontalAdvance(u' '), left + 2);
    const int width = int(std::ceil(2 * left + 20 * fm.horizontalAdvance(u'm')));
    edited->SetWidth(edited->Width() - view->viewport()->width() + width);
    edited->SetText(WideString(20, u'm') + u" " + WideString(20, u'm'));
    QApplication::processEvents();
    ASSERT_EQ(view->viewport()->width(), width);
    ASSERT_EQ(view->VisualLineStart(1), 21);
    edited->SetSelStart(0);
    PressKey(edited->Widget(), Qt::Key_End, QString());
    EXPECT_EQ(edited->SelStart(), 21);
    const QRectF caret = edited->Widget()->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
    EXPECT_LE(caret.x() - view->viewport()->x() + 1, width - 1);
}

// The caret never stands inside a character of text without blanks: End, then Down and Up
// (which keep the caret's place right of the rows' text), and a click right of a row's
// text put it between whole characters, never between a letter and its vowel sign, an
// emoji and its skin tone, inside a joined emoji or between a flag's two letters.
TEST_F(MemoLayout, TheCaretNeverStandsInsideACharacter) {
    const struct {
        const char* name;
        WideString unit;
    } cases[] = {
        {"Thai", u"ภาษาไทยเป็นภาษาที่ไม่มีการเว้นวรรค"},
        {"Khmer", u"ភាសាខ្មែរមិនមានដកឃ្លា"},
        {"emoji", u"👍🏽👨‍👩‍👧🇩🇪😀🇫🇷👋🏿❤️"},
    };
    MemoView* view = View(edited);
    edited->SetFocus();
    for (int i = 0; i < 2 * int(std::size(cases)); ++i) {
        const auto& c = cases[size_t(i) / 2];
        edited->SetBounds(10, 10, i % 2 ? 300 : 170, 150);
        WideString text;
        for (int k = 0; k < 12; ++k)
            text += c.unit;
        edited->SetText(text);
        QApplication::processEvents();
        const int rows = view->VisualLineCount();
        ASSERT_GT(rows, 4) << c.name;
        QTextBoundaryFinder chars(QTextBoundaryFinder::Grapheme, QString::fromStdU16String(text));
        auto expectWhole = [&](const char* How, int Row) {
            chars.setPosition(edited->SelStart());
            EXPECT_TRUE(chars.isAtBoundary())
                << c.name << " row " << Row << " " << How << " at " << edited->SelStart();
        };
        for (int r = 0; r + 1 < rows; ++r) {
            edited->SetSelStart(view->VisualLineStart(r));
            PressKey(edited->Widget(), Qt::Key_End, QString());
            PressKey(edited->Widget(), Qt::Key_Down, QString());
            expectWhole("End, Down", r + 1);
            PressKey(edited->Widget(), Qt::Key_End, QString());
            PressKey(edited->Widget(), Qt::Key_Up, QString());
            expectWhole("End, Up", r);
            const QRect caret = edited->Widget()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
            ClickAt(view->viewport(), QPoint(view->viewport()->width() - 2,
                                             caret.center().y() - view->viewport()->y()));
            expectWhole("click right of the text", r);
        }
    }
}

// A long text the font shapes is shown before all its rows are wrapped as drawn: the rows
// in view are final (the top row's number may count estimated rows above them), a row
// asked for by its number counts every row before it as drawn, edits before and behind
// the final rows keep the rows a fresh fill gives, and counting the rows makes them all
// final.
TEST_F(MemoLayout, RowsOfALongShapedTextAreFinalDownToTheView) {
    const WideString thai = u"\u0e20\u0e32\u0e29\u0e32\u0e44\u0e17\u0e22\u0e40\u0e1b\u0e47\u0e19"
                            u"\u0e20\u0e32\u0e29\u0e32\u0e17\u0e35\u0e48\u0e44\u0e21\u0e48";
    for (const char16_t* breakEvery : {u"", u"\r\n"}) {
        WideString text;
        for (int i = 0; i < 4000; ++i)
            text += thai + (i % 8 == 7 ? breakEvery : u"");
        edited->SetText(text);
        if (breakEvery[0]) { // edits behind the final rows, which the view does not follow
            edited->Lines().Insert(edited->Lines().Count() - 1, thai);
            edited->Lines().Delete(edited->Lines().Count() / 2);
        }
        MemoView* view = View(edited);
        view->ScrollLines(300);
        const int top = view->FirstVisibleLine();
        const int page = view->viewport()->height() / QFontMetrics(view->font()).lineSpacing();
        edited->SetSelStart(view->VisualLineStart(top + 2));
        TypeChar(edited, QStringLiteral("\u0e01"));
        edited->SetSelStart(edited->GetTextLen() - 30);
        TypeChar(edited, QStringLiteral(" "));
        edited->SetSelStart(edited->GetTextLen() / 2);
        edited->SetSelLength(40);
        edited->SetSelText(u"\u0e02\u0e32");
        fresh->SetText(edited->Text());
        const MemoView* model = View(fresh);
        const int first = view->FirstVisibleLine(); // the caret's, in the middle
        ASSERT_GT(first, 100);
        ASSERT_GT(model->VisualLineCount(), first + page);
        for (int r = 0; r <= first + page; ++r)
            ASSERT_EQ(view->VisualLineStart(r), model->VisualLineStart(r)) << r;
        ExpectSameRows(breakEvery[0] ? "lines" : "one line");
    }
}

// Chinese prose of a small vocabulary: Units units in lines of 300 (none where Lines is
// false).
WideString ChineseProse(size_t Units, bool Lines) {
    const std::u16string words = u"的一是不了人我在有他这中大来上国个到说们为子和你地出道也时年"
                                 u"得就那要下以生会自着去之过家学对可里后小么心多天而能好都然没日"
                                 u"于起还发成事只作当想看文无开手十用主行方又如前所本见经头面公同";
    const std::u16string signs = u"，。、：；！？“”（）《》";
    std::mt19937 rng(5);
    WideString text;
    while (text.size() < Units) {
        text += words[rng() % words.size()];
        if (rng() % 9 == 0) text += signs[rng() % signs.size()];
        if (Lines && text.size() % 302 >= 300) text += u"\r\n";
    }
    return text;
}

// A jump far into a long text wraps the rows it shows, not every row before them: Ctrl+End,
// the scroll bar's End key and a selection set by the program (as the search tool sets
// one) each make at most a few hundred layouts, and show what a memo whose every row is
// final shows there.
TEST_F(MemoLayout, AJumpFarIntoALongTextWrapsOnlyTheRowsItShows) {
    std::mt19937 rng(9);
    const struct {
        const char* name;
        WideString text;
        size_t layouts; // at most
    } texts[] = {
        {"Chinese in lines", ChineseProse(1000000, true), 400},
        {"Chinese in one line", ChineseProse(300000, false), 400},
        // (Thai is shaped: the rows of a stretch of a few thousand units before the view.)
        {"Thai in one line", ThaiSyllables(rng, 300000), 5000},
    };
    enum Jump { CtrlEnd, ScrollBarEnd, Selection, CtrlHome };
    MemoView* view = View(edited);
    for (const auto& t : texts)
        for (Jump jump : {CtrlEnd, ScrollBarEnd, Selection, CtrlHome}) {
            const std::string what = t.name + (" jump " + std::to_string(jump));
            edited->SetText(t.text);
            edited->SetFocus();
            QApplication::processEvents();
            const size_t before = MemoWidths::LayoutsMade();
            if (jump == ScrollBarEnd)
                PressKey(view->verticalScrollBar(), Qt::Key_End, QString());
            else if (jump == Selection)
                edited->SetSelStart(edited->GetTextLen() - 500);
            else
                PressKey(edited->Widget(), jump == CtrlEnd ? Qt::Key_End : Qt::Key_Home, QString(),
                         Qt::ControlModifier);
            view->viewport()->grab();
            EXPECT_LE(MemoWidths::LayoutsMade() - before, t.layouts) << what;
            const QRect caret = edited->Widget()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
            if (jump != ScrollBarEnd) {
                EXPECT_TRUE(view->rect().contains(caret.center())) << what;
            }
            if (jump == Selection) continue;
            // The same end or start, with every row final first.
            fresh->SetText(t.text);
            fresh->SetFocus();
            ASSERT_GT(View(fresh)->VisualLineCount(), 20) << what;
            PressKey(fresh->Widget(), jump == CtrlHome ? Qt::Key_Home : Qt::Key_End, QString(),
                     Qt::ControlModifier);
            fresh->Widget()->clearFocus(); // neither shows its caret
            EXPECT_EQ(view->viewport()->grab().toImage(), View(fresh)->viewport()->grab().toImage())
                << what;
        }
}

// A long text of Chinese or Japanese is wrapped by the widths of its characters, measured
// a few hundred at a time in the fonts of their script, not by laying out its rows: filling
// a memo with one and counting its rows lays out a few texts, however many rows it has.
TEST_F(MemoLayout, LongChineseAndJapaneseAreWrappedWithoutLayingOutTheirRows) {
    const struct {
        const char* name;
        WideString unit;
    } cases[] = {
        {"random ideographs", RandomIdeographs(13, 100000)},
        {"Chinese with full-width punctuation", Shuffled(kChinesePunctuated, 17, 100000)},
        {"Japanese with full-width punctuation and emoji",
         Shuffled(kJapanesePunctuated, 19, 100000)},
    };
    const MemoView* view = View(edited);
    for (const auto& c : cases) {
        WideString text; // in lines of about 200 units
        for (size_t i = 0, inLine = 0; text.size() < 100000; ++i) {
            text += c.unit[i % c.unit.size()];
            if (++inLine >= 200 && !QChar::isHighSurrogate(text.back())) {
                text += u"\r\n";
                inLine = 0;
            }
        }
        const size_t before = MemoWidths::LayoutsMade();
        edited->SetText(text);
        const int rows = view->VisualLineCount();
        const size_t made = MemoWidths::LayoutsMade() - before;
        EXPECT_GT(rows, 4000) << c.name;
        EXPECT_LT(made, 300u) << c.name << ": " << made << " layouts for " << rows << " rows";
    }
}

// Unwrapped, the sideways range reaches as far as the widest line and no further: after
// the widest line goes, by keys or by the program, and after any edit, it is the range a
// fresh fill of the same text gives.
TEST_F(MemoLayout, TheSidewaysRangeFollowsTheWidestLine) {
    for (TMemo* m : {edited, fresh}) {
        m->SetWordWrap(false);
        m->SetScrollBars(ssBoth);
    }
    QApplication::processEvents();
    const QScrollBar* h = View(edited)->horizontalScrollBar();
    auto expectFreshRange = [&](const std::string& Step) {
        fresh->SetText(edited->Text());
        for (TMemo* m : {edited, fresh})
            View(m)->VisualLineCount(); // laid out, as for drawing
        const int wanted = View(fresh)->horizontalScrollBar()->maximum();
        EXPECT_NEAR(h->maximum(), wanted, 1) << Step;
        return wanted;
    };
    const WideString wide(3000, u'W');
    edited->SetText(u"short\r\n" + wide + u"\r\nshort too\r\n" + wide.substr(0, 1500));
    EXPECT_GT(expectFreshRange("filled"), 1000);
    // The user selects the widest line from its start to the next and deletes it.
    edited->SetFocus();
    edited->SetSelStart(7);
    PressKey(edited->Widget(), Qt::Key_Down, QString(), Qt::ShiftModifier);
    PressKey(edited->Widget(), Qt::Key_Home, QString(), Qt::ShiftModifier);
    PressKey(edited->Widget(), Qt::Key_Delete, QString());
    ASSERT_EQ(edited->Lines().Count(), 3);
    EXPECT_GT(expectFreshRange("widest line deleted by keys"), 500);
    edited->Lines().Delete(2); // and the program deletes the next widest
    EXPECT_EQ(expectFreshRange("next widest deleted by the program"), 0);

    // A line of Chinese (its punctuation from a substitute font) and one of Myanmar whose
    // last sign overhangs its advance, once measured as drawn (in view or between keys):
    // the range ends where Qt draws the line, at its advance or at the ink of its last
    // sign, whichever is further right. A line of plain text gives the range's margins.
    auto drawnEnd = [&](const WideString& Line) {
        QFont font = View(edited)->font();
        font.setKerning(false);
        QTextLayout layout(QString::fromStdU16String(Line), font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(1e9);
        layout.endLayout();
        QImage ink(int(line.horizontalAdvance()) + 60, int(line.height()) + 8,
                   QImage::Format_RGB32);
        ink.fill(Qt::white);
        {
            QPainter painter(&ink);
            layout.draw(&painter, QPointF(0, 4));
        }
        int right = ink.width();
        auto blank = [&](int X) {
            for (int y = 0; y < ink.height(); ++y)
                if (ink.pixel(X, y) != qRgb(255, 255, 255)) return false;
            return true;
        };
        while (right > 0 && blank(right - 1))
            --right;
        return std::ceil(std::max(line.horizontalAdvance(), qreal(right)));
    };
    auto settledRange = [&](int Wanted) {
        QElapsedTimer waited;
        waited.start();
        while (std::abs(h->maximum() - Wanted) > 1 && waited.elapsed() < 3000)
            QTest::qWait(20);
        return h->maximum();
    };
    const WideString plain(500, u'W');
    edited->SetText(plain);
    View(edited)->VisualLineCount(); // laid out
    const int margins = h->maximum() - int(drawnEnd(plain));
    WideString chinese, myanmar;
    for (int i = 0; i < 15; ++i) {
        chinese += kChinesePunctuated;
        myanmar += u"မြန်မာဘာသာစကား";
    }
    myanmar += u"ဉ";
    for (const WideString& line : {chinese, myanmar}) {
        edited->SetText(line);
        const int wanted = int(drawnEnd(line)) + margins;
        EXPECT_NEAR(settledRange(wanted), wanted, 1) << line.size();
    }

    std::mt19937 rng(5);
    // Keys typed into a long line with tabs, before, after and between them.
    WideString tabbed;
    while (tabbed.size() < 40000)
        tabbed += u"im\tword \tWWWWW mmm ";
    edited->SetText(u"x\r\n" + tabbed + u"\r\ny");
    for (int step = 0; step < 40; ++step) {
        edited->SetSelStart(3 + int(rng() % tabbed.size()));
        if (step % 3 == 2)
            PressKey(edited->Widget(), Qt::Key_Backspace, QString());
        else
            TypeChar(edited, step % 3 ? QStringLiteral("W") : QStringLiteral("i"));
        expectFreshRange("tabbed step " + std::to_string(step));
        if (HasFailure()) return;
    }

    // Random edits, tabs and long lines included.
    const WideString pieces[] = {u"a",    u"word ",      u"\t", WideString(700, u'm'),
                                 u"\r\n", u"\U0001F600", u"i"};
    auto text = [&](int Pieces) {
        WideString t;
        for (int i = 0; i < Pieces; ++i)
            t += pieces[rng() % std::size(pieces)];
        return t;
    };
    edited->SetText(text(60));
    for (int step = 0; step < 200; ++step) {
        std::uniform_int_distribution<int> at(0, edited->GetTextLen());
        const int pos = at(rng);
        edited->SetSelStart(pos);
        edited->SetSelLength(std::min(int(rng() % 800), edited->GetTextLen() - pos));
        if (step % 3 == 0)
            PressKey(edited->Widget(), Qt::Key_Delete, QString());
        else
            edited->SetSelText(step % 3 == 1 ? WideString() : text(1 + int(rng() % 3)));
        expectFreshRange("step " + std::to_string(step));
        if (HasFailure()) return;
    }
}

// Without word wrap, the pieces of a long line are measured as drawn between keys, and
// those before the view grow or shrink: the view keeps its text meanwhile, so the caret that
// Ctrl+End put at the line's end stays in view, and a view scrolled to its end stays there.
TEST_F(MemoLayout, TheViewKeepsItsTextSidewaysWhileThePiecesBeforeItAreMeasured) {
    edited->SetWordWrap(false);
    edited->SetScrollBars(ssBoth);
    QWidget* area = View(edited)->viewport();
    QScrollBar* bar = View(edited)->horizontalScrollBar();
    for (const bool byBar : {false, true}) {
        edited->SetText(Shuffled(kJapanesePunctuated, 3, 300000));
        edited->SetFocus();
        if (byBar)
            PressKey(bar, Qt::Key_End, QString());
        else
            PressKey(edited->Widget(), Qt::Key_End, QString(), Qt::ControlModifier);
        for (int pause = 0; pause < 20; ++pause) {
            QTest::qWait(20);
            area->grab();
            const QRect caret = edited->Widget()
                                    ->inputMethodQuery(Qt::ImCursorRectangle)
                                    .toRect()
                                    .translated(-area->pos());
            if (byBar)
                EXPECT_EQ(bar->value(), bar->maximum()) << pause;
            else
                EXPECT_TRUE(area->rect().contains(caret.center())) << pause << " at " << caret.x();
        }
    }
}

// The selection shows while the memo has the focus only, as in a Windows edit box.
TEST_F(MemoLayout, TheSelectionShowsOnlyWithTheFocus) {
    edited->SetText(u"hello world\r\nsecond line");
    edited->SetFocus();
    edited->SelectAll();
    QApplication::processEvents();
    QWidget* area = View(edited)->viewport();
    const QRgb highlight = area->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    auto highlighted = [&] {
        const QImage image = area->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == highlight;
        return n;
    };
    EXPECT_GT(highlighted(), 50);
    fresh->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(highlighted(), 0);
    EXPECT_EQ(edited->SelLength(), edited->GetTextLen()); // kept, only not shown
    edited->SetFocus();
    QApplication::processEvents();
    EXPECT_GT(highlighted(), 50);
}

// A lone CR or LF, U+2028 and U+2029 are characters of their row: the row goes on behind
// each (drawn there, a small mark in its place), and only CR LF starts the next one.
TEST_F(MemoLayout, LoneBreaksAreDrawnInsideTheirRow) {
    const WideString text = u"ab\ncd\ref\u2028gh\u2029ij\r\nkl";
    edited->SetWordWrap(false);
    edited->SetText(text);
    QApplication::processEvents();
    const MemoView* view = View(edited);
    ASSERT_EQ(view->VisualLineCount(), 2);
    EXPECT_EQ(view->VisualLineStart(1), int(text.find(u"kl")));
    QAccessibleTextInterface* reader =
        QAccessible::queryAccessibleInterface(edited->Widget())->textInterface();
    const QImage image = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb paper = image.pixel(image.width() - 2, image.height() - 2);
    const int firstRowTop = reader->characterRect(0).top();
    for (int i = 0; i < int(text.find(u'\r', 8)); ++i) {
        const QRect box(view->viewport()->mapFromGlobal(reader->characterRect(i).topLeft()),
                        reader->characterRect(i).size());
        EXPECT_EQ(reader->characterRect(i).top(), firstRowTop) << i;
        int ink = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                ink += image.valid(x, y) && image.pixel(x, y) != paper;
        EXPECT_GT(ink, 3) << "nothing drawn at " << i;
    }
}

// Every row stands on the memo font's baseline, whatever substitute font draws the rest of
// it: the "H" that begins each line, with Chinese, Japanese, emoji, Thai or nothing else
// behind it, is drawn the same height below its row's top.
TEST_F(MemoLayout, EveryRowStandsOnTheSameBaseline) {
    const WideString lines[] = {u"H plain",
                                u"H" + kChinesePunctuated,
                                u"H" + kJapanesePunctuated,
                                u"H\U0001F600\U0001F44D\U0001F3FD",
                                u"Hภาษาไทย",
                                u"H again"};
    WideString text;
    for (const WideString& line : lines)
        text += line + u"\r\n";
    edited->SetWordWrap(false);
    edited->SetBounds(10, 10, 260, 200);
    edited->SetText(text);
    edited->SetSelStart(int(text.size())); // the caret below them
    QApplication::processEvents();
    const MemoView* view = View(edited);
    QAccessibleTextInterface* reader =
        QAccessible::queryAccessibleInterface(edited->Widget())->textInterface();
    const QImage image = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb paper = image.pixel(image.width() - 2, image.height() - 2);
    int at = 0, first = -1;
    for (const WideString& line : lines) {
        const QRect h = reader->characterRect(at);
        const QPoint corner = view->viewport()->mapFromGlobal(h.topLeft());
        int top = 0; // the H's first row of ink below its row's top
        auto inked = [&](int Y) {
            for (int x = corner.x(); x < corner.x() + h.width(); ++x)
                if (image.valid(x, Y) && image.pixel(x, Y) != paper) return true;
            return false;
        };
        while (top < h.height() && !inked(corner.y() + top))
            ++top;
        if (first < 0) first = top;
        EXPECT_EQ(top, first) << "line " << at;
        at += int(line.size()) + 1; // a reader's text breaks lines with LF alone
    }
}

} // namespace

// A selected row is highlighted in its own band only, whatever substitute font draws it:
// a Chinese, a Japanese or a Thai row selected with Home and Shift+End under a Latin row
// leaves the view outside its band as it was (no highlight in the row above, the Thai
// marks above the band still drawn) and is highlighted across its text in one stretch;
// Latin and Hebrew selected into the Hebrew show two stretches (the first Hebrew letter is
// the rightmost of its run).
TEST_F(MemoLayout, ASelectedRowIsHighlightedInItsOwnBand) {
    const struct {
        const char* name;
        WideString row;
        int rights; // Shift+Right after Home, or else Shift+End
        int stretches;
    } cases[] = {{"Chinese", kChinesePunctuated, 0, 1},
                 {"Japanese", kJapanesePunctuated, 0, 1},
                 {"Thai", u"\u0E0D\u0E31\u0E49\u0E1B\u0E35\u0E48\u0E17\u0E35\u0E48", 0, 1},
                 {"Latin and Hebrew", u"abc \u05D0\u05D1\u05D2\u05D3 efg", 5, 2}};
    QWidget* area = View(edited)->viewport();
    const QRgb highlight = area->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    auto grab = [&] { return area->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    edited->SetFocus();
    for (const auto& c : cases) {
        const WideString above = u"Latin above\r\n";
        edited->SetText(above + c.row);
        edited->SetSelStart(int(above.size()) + 1);
        PressKey(edited->Widget(), Qt::Key_Home, QString());
        const QRect band = edited->Widget()
                               ->inputMethodQuery(Qt::ImCursorRectangle)
                               .toRect()
                               .translated(-area->pos());
        const QImage before = grab(); // (the caret is inside the band)
        for (int i = 0; i < std::max(c.rights, 1); ++i)
            PressKey(edited->Widget(), c.rights ? Qt::Key_Right : Qt::Key_End, QString(),
                     Qt::ShiftModifier);
        const QImage image = grab();
        QDir().mkpath(QUORBEL_BUILD_DIR "/screenshots/platform");
        image.save(QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/platform/memo-selected-%1.png")
                       .arg(QString::fromLatin1(c.name).replace(u' ', u'-')));
        int changed = 0, stretches = 0;
        bool lastLit = false; // the column left of x shows highlight in the band
        for (int x = 0; x < image.width(); ++x) {
            bool lit = false;
            for (int y = 0; y < image.height(); ++y) {
                if (y >= band.top() && y <= band.bottom())
                    lit = lit || image.pixel(x, y) == highlight;
                else
                    changed += image.pixel(x, y) != before.pixel(x, y);
            }
            stretches += lit && !lastLit;
            lastLit = lit;
        }
        EXPECT_EQ(changed, 0) << c.name;
        EXPECT_EQ(stretches, c.stretches) << c.name;
    }
}
