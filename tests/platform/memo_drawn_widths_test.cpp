// Unwrapped lines of text the font shapes (Devanagari, Arabic, emoji, Thai), short and
// drawn in pieces: once the memo has measured them as drawn, the sideways range ends where
// the widest line is drawn, End then scrolling fully right shows the caret at the right
// edge, and every caret place along a long line is where one layout of the whole line
// puts it, so the pieces meet without gaps or overlaps.
#include <QApplication>
#include <QInputMethodQueryEvent>
#include <QScrollBar>
#include <QTest>
#include <QTextLayout>
#include <cmath>
#include <gtest/gtest.h>

#include "platform/MemoView.h"
#include "platform/StdCtrls.h"
#include "support/FormFixture.h"
#include "support/WidgetInput.h"

namespace {

struct Script {
    const char* Name;
    const char16_t* Words; // words with a blank behind each
    bool LeftToRight;
};

const Script kScripts[] = {
    {"Devanagari", u"नमस्ते दुनिया क्षत्रिय श्रीमान् हिन्दी ", true},
    {"Arabic", u"مرحبا بالعالم السلام عليكم ", false},
    {"Emoji",
     u"\U0001F600\U0001F44D\U0001F3FD \U0001F468\u200D\U0001F469\u200D\U0001F467 "
     u"\U0001F1E9\U0001F1EA\u2764\uFE0F ",
     true},
    {"Thai", u"สวัสดีชาวโลกภาษาไทยเขียนติดกัน น้ำใจไมตรี ", true},
};

WideString Repeated(const char16_t* Words, int Length) {
    WideString line;
    while (int(line.size()) < Length)
        line += Words;
    return line;
}

struct MemoDrawnWidths : FormFixture {
    TMemo* memo = nullptr;
    void SetUp() override {
        FormFixture::SetUp();
        memo = Make<TMemo>();
        memo->SetBounds(10, 10, 360, 150);
        memo->SetWordWrap(false);
        memo->SetScrollBars(ssBoth);
        form->Show();
        QApplication::processEvents();
    }
    MemoView* View() const { return static_cast<MemoView*>(memo->Widget()); }
    QScrollBar* Range() const { return View()->horizontalScrollBar(); }
    // The text's width the sideways range stands for (the range adds a margin of 2).
    qreal RangeWidth() const {
        return Range()->maximum() + View()->viewport()->width() - 2 * 3 - 2;
    }
    QRectF CaretRect() const {
        QInputMethodQueryEvent query(Qt::ImCursorRectangle);
        QApplication::sendEvent(memo->Widget(), &query);
        return query.value(Qt::ImCursorRectangle).toRectF();
    }
    qreal CaretX() const { return CaretRect().left() + Range()->value(); }
    // The line laid out whole as the memo draws text (no kerning), as a reference.
    std::unique_ptr<QTextLayout> Reference(const WideString& Line) const {
        QFont font = View()->font();
        font.setKerning(false);
        auto layout = std::make_unique<QTextLayout>(QString::fromStdU16String(Line), font);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout->setTextOption(option);
        layout->beginLayout();
        layout->createLine().setLineWidth(1e9);
        layout->endLayout();
        return layout;
    }
    // Waits (shown, with the view painted) until the range stands for Width.
    bool SettlesAt(qreal Width) {
        return QTest::qWaitFor(
            [&] {
                View()->viewport()->repaint();
                return std::abs(RangeWidth() - Width) <= 1.0;
            },
            30000);
    }
};

} // namespace

// A short line (wider than the view) and a line of about 9,000 units, of each script: the
// widest line alone in the memo gives the range.
TEST_F(MemoDrawnWidths, TheRangeEndsWhereTheWidestLineIsDrawn) {
    for (const Script& s : kScripts)
        for (int length : {300, 9000}) {
            const WideString line = Repeated(s.Words, length);
            const std::string name = std::string(s.Name) + " " + std::to_string(length);
            memo->SetText(u"short\r\n" + line + u"\r\nand short");
            const qreal drawn = Reference(line)->lineAt(0).horizontalAdvance();
            EXPECT_TRUE(SettlesAt(drawn)) << name;
            EXPECT_NEAR(RangeWidth(), drawn, 1.0) << name;
        }
}

// End on the widest line and the scroll bar to its end: the caret stands at the right edge,
// as far from the line's start as the line is drawn wide. (A line written from right to
// left ends at its left.)
TEST_F(MemoDrawnWidths, EndThenFullyRightShowsTheCaretAtTheEdge) {
    for (const Script& s : kScripts) {
        if (!s.LeftToRight) continue;
        const WideString line = Repeated(s.Words, 9000);
        memo->SetText(u"short\r\n" + line);
        const qreal drawn = Reference(line)->lineAt(0).horizontalAdvance();
        ASSERT_TRUE(SettlesAt(drawn)) << s.Name;
        memo->SetFocus();
        KeyChord(memo->Widget(), Qt::Key_Down);
        KeyChord(memo->Widget(), Qt::Key_End);
        Range()->setValue(Range()->maximum());
        View()->viewport()->repaint();
        const QRectF caret = CaretRect();
        const int right = View()->viewport()->width();
        EXPECT_LE(caret.right(), right) << s.Name;
        EXPECT_GE(caret.left(), right - 12) << s.Name;
        const qreal end = CaretX();
        KeyChord(memo->Widget(), Qt::Key_Home);
        EXPECT_NEAR(end - CaretX(), drawn, 1.0) << s.Name;
    }
}

// Word by word along a long line: the caret is where the whole line's layout puts it, in
// every piece and across the places where one piece ends and the next begins.
TEST_F(MemoDrawnWidths, CaretPlacesFollowTheWholeLine) {
    for (const Script& s : kScripts) {
        if (!s.LeftToRight) continue;
        const WideString line = Repeated(s.Words, 9000);
        memo->SetText(line);
        const auto reference = Reference(line);
        ASSERT_TRUE(SettlesAt(reference->lineAt(0).horizontalAdvance())) << s.Name;
        memo->SetFocus();
        KeyChord(memo->Widget(), Qt::Key_Home);
        const qreal start = CaretX();
        int checked = 0;
        for (int before = -1; memo->SelStart() != before && memo->SelStart() < int(line.size());) {
            before = memo->SelStart();
            KeyChord(memo->Widget(), Qt::Key_Right, Qt::ControlModifier);
            const int at = memo->SelStart();
            ASSERT_NEAR(CaretX() - start, reference->lineAt(0).cursorToX(at), 1.0)
                << s.Name << " at " << at;
            ++checked;
        }
        EXPECT_GT(checked, 200) << s.Name;
    }
}
