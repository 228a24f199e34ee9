// The widths of unwrapped lines and the count of line feeds before a place, kept through
// edits in long lines with and without tabs (Enter, Tab, Backspace over a break, typing),
// stay what a fresh computation of the same text gives.
#include <QApplication>
#include <QFont>
#include <QInputMethodQueryEvent>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

#include "platform/MemoLineWidths.h"
#include "platform/MemoText.h"
#include "platform/MemoView.h"
#include "platform/MemoWidths.h"
#include "platform/StdCtrls.h"
#include "support/FormFixture.h"
#include "support/WidgetInput.h"

namespace {

// A long line: words, and with Tabs a tab every few words (the stretches between them of
// every length, shorter and longer than a tab).
WideString LongLine(std::mt19937& Rng, int Length, bool Tabs) {
    const WideString words[] = {u"a", u"word", u"WWWW", u"iii", u"\u00E9t\u00E9", u"\U0001F600"};
    WideString line;
    while (int(line.size()) < Length) {
        line += words[Rng() % std::size(words)];
        line += Tabs && Rng() % 3 == 0 ? u'\t' : u' ';
    }
    return line;
}

// Lines of every kind: long ones with and without tabs, short ones, lone CRs and LFs.
WideString MixedText(std::mt19937& Rng) {
    return LongLine(Rng, 40000, true) + u"\r\nshort\tline\nwith a lone LF\r\n" +
           LongLine(Rng, 30000, false) + u"\r\n\r\nx\ry\r\n" + LongLine(Rng, 20000, true);
}

size_t LineFeeds(const WideString& Text, int Before) {
    return size_t(std::count(Text.begin(), Text.begin() + Before, u'\n'));
}

void ExpectFreshWidths(const MemoText& Doc, const MemoWidths& Widths, const MemoLineWidths& Kept,
                       const std::string& Step) {
    MemoLineWidths fresh;
    fresh.Fill(Doc, Widths);
    ASSERT_EQ(Kept.LineCount(), fresh.LineCount()) << Step;
    for (int l = 0; l < fresh.LineCount(); ++l)
        ASSERT_EQ(Kept.Width(l), fresh.Width(l)) << Step << " line " << l;
    ASSERT_EQ(Kept.Widest(), fresh.Widest()) << Step;
}

} // namespace

// Edits as the keys make them, and pastes and cuts of any length, each followed by the
// kept widths (taking in a unit on each side, as a joined or parted CR LF needs) and
// compared with widths measured afresh, in every line; the line feeds before random
// places and before the end are counted afresh as well.
TEST(MemoLineWidths, EditsKeepTheWidthsOfAFreshMeasure) {
    QFont font(QStringLiteral("Courier New"), 10);
    for (const char* family : {"Courier New", "Tahoma"}) {
        font.setFamily(QString::fromLatin1(family));
        MemoWidths widths;
        widths.Reset(font);
        std::mt19937 rng(3);
        MemoText doc;
        WideString expected = MixedText(rng);
        doc.SetText(expected);
        MemoLineWidths kept;
        kept.Fill(doc, widths);
        const WideString pieces[] = {u"\r\n", u"\t", u"q", u"\r\n\t", LongLine(rng, 20000, true),
                                     u"\n"};
        for (int step = 0; step < 400; ++step) {
            std::uniform_int_distribution<int> at(0, doc.Length());
            int a = doc.Snap(at(rng)), b = a;
            WideString piece;
            switch (step % 5) {
            case 0: // Backspace over a line break, where there is one before
                if (doc.LineOf(a) > 0) {
                    b = doc.LineStart(doc.LineOf(a));
                    a = b - 2;
                }
                break;
            case 1: // a cut of up to a few blocks
                b = doc.Snap(std::min(doc.Length(), a + int(rng() % 12000)));
                break;
            default: // Enter, Tab, a letter, a paste
                piece = pieces[rng() % std::size(pieces)];
            }
            kept.Before(doc);
            const int end = doc.Replace(a, b, piece);
            expected.replace(size_t(a), size_t(b - a), piece);
            kept.After(doc, widths, std::max(a - 1, 0), std::min(end + 1, doc.Length()));
            const std::string name = std::string(family) + " step " + std::to_string(step);
            ExpectFreshWidths(doc, widths, kept, name);
            const int p = at(rng) % (doc.Length() + 1);
            ASSERT_EQ(size_t(doc.LineFeedsBefore(p)), LineFeeds(expected, p)) << name;
            ASSERT_EQ(size_t(doc.LineFeedsBefore(doc.Length())), LineFeeds(expected, doc.Length()))
                << name;
        }
    }
}

namespace {

// Two memos alike, unwrapped and taking tabs: one edited by keys, one given its text.
struct MemoKeys : FormFixture {
    TMemo* edited = nullptr;
    TMemo* fresh = nullptr;
    TMemo* Unwrapped() {
        auto* m = Make<TMemo>();
        m->SetBounds(10, 10, 300, 150);
        m->SetWordWrap(false);
        m->SetScrollBars(ssBoth);
        m->SetWantTabs(true);
        return m;
    }
    void SetUp() override {
        FormFixture::SetUp();
        edited = Unwrapped();
        fresh = Unwrapped();
        form->Show();
        QApplication::processEvents();
    }
    static MemoView* View(TMemo* M) { return static_cast<MemoView*>(M->Widget()); }
    // The caret's place in the text, as drawn (left of the scrolled view).
    static qreal CaretX(TMemo* M) {
        QInputMethodQueryEvent query(Qt::ImCursorRectangle);
        QApplication::sendEvent(M->Widget(), &query);
        return query.value(Qt::ImCursorRectangle).toRectF().left() +
               View(M)->horizontalScrollBar()->value();
    }
};

} // namespace

// Keys in long lines with and without tabs: after each, the sideways range and the caret's
// place are those of a memo that is given the same text afresh, and the line feeds before
// the caret are counted as they stand.
TEST_F(MemoKeys, KeysInLongLinesKeepWhatAFreshMemoShows) {
    std::mt19937 rng(9);
    const WideString start = MixedText(rng);
    edited->SetText(start);
    edited->SetFocus();
    const QScrollBar* range = View(edited)->horizontalScrollBar();
    for (int step = 0; step < 120; ++step) {
        const int length = edited->GetTextLen();
        int at = int(rng() % unsigned(length + 1));
        const int key = step % 4;
        if (key == 2) { // Backspace at a line's start: over the break before it
            const int line = std::max(edited->LineFromChar(at), 1);
            at = line < edited->LineCount() ? edited->LineIndex(line) : length;
        }
        edited->SetSelStart(at);
        switch (key) {
        case 0:
            PressKey(edited->Widget(), Qt::Key_Return, QString());
            break;
        case 1:
            PressKey(edited->Widget(), Qt::Key_Tab, QStringLiteral("\t"));
            break;
        case 2:
            PressKey(edited->Widget(), Qt::Key_Backspace, QString());
            break;
        default:
            TypeChar(edited, QStringLiteral("W"));
        }
        const WideString text = edited->Text();
        const std::string name = "step " + std::to_string(step);
        fresh->SetText(text);
        fresh->SetSelStart(edited->SelStart());
        View(fresh)->EnsureCaretVisible();
        ASSERT_EQ(range->maximum(), View(fresh)->horizontalScrollBar()->maximum()) << name;
        // The caret's place, once both memos have measured the emoji as drawn (an edited line
        // is drawn in pieces that begin elsewhere than a fresh one's).
        if (step % 10 == 9) {
            const bool same = QTest::qWaitFor(
                [&] {
                    View(edited)->viewport()->repaint();
                    View(fresh)->viewport()->repaint();
                    return std::abs(CaretX(edited) - CaretX(fresh)) <= 1.0 &&
                           range->maximum() == View(fresh)->horizontalScrollBar()->maximum();
                },
                30000);
            ASSERT_TRUE(same) << name << " " << CaretX(edited) << " " << CaretX(fresh);
        }
        ASSERT_EQ(size_t(edited->LineFeedsBefore(edited->SelStart())),
                  LineFeeds(text, edited->SelStart()))
            << name;
    }
    EXPECT_NE(edited->Text(), start);
}
