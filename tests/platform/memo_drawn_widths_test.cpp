// Unwrapped lines of text the font shapes (Devanagari, Arabic, emoji, Thai), short and
// drawn in pieces: once the memo has measured them as drawn, the sideways range ends where
// the widest line is drawn, End then scrolling fully right shows the caret at the right
// edge, and every caret place along a long line is where the line laid out independently
// puts it, so the pieces meet without gaps or overlaps.
#include <QApplication>
#include <QInputMethodQueryEvent>
#include <QScrollBar>
#include <QTest>
#include <QTextLayout>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

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
    // The line laid out as the memo draws text (no kerning), as a reference: in stretches of
    // about a thousand units that end at blanks (Qt itself shapes a longer text in parts of
    // 4,096 units, wherever they end).
    struct Reference {
        struct Stretch {
            int Start;
            qreal X;
            std::shared_ptr<QTextLayout> Layout;
        };
        std::vector<Stretch> Stretches;
        qreal Width = 0;
        Reference(const WideString& Line, QFont Font) {
            Font.setKerning(false);
            for (size_t a = 0; a < Line.size();) {
                const size_t blank = Line.find(u' ', a + 1000);
                const size_t b = blank == WideString::npos ? Line.size() : blank + 1;
                auto layout = std::make_shared<QTextLayout>(
                    QString::fromStdU16String(Line.substr(a, b - a)), Font);
                QTextOption option;
                option.setWrapMode(QTextOption::NoWrap);
                layout->setTextOption(option);
                layout->beginLayout();
                layout->createLine().setLineWidth(1e9);
                layout->endLayout();
                Stretches.push_back({int(a), Width, layout});
                Width += layout->lineAt(0).horizontalAdvance();
                a = b;
            }
        }
        qreal X(int Pos) const {
            size_t k = 0;
            while (k + 1 < Stretches.size() && Stretches[k + 1].Start <= Pos)
                ++k;
            const Stretch& s = Stretches[k];
            return s.X + s.Layout->lineAt(0).cursorToX(Pos - s.Start);
        }
    };
    Reference Drawn(const WideString& Line) const { return Reference(Line, View()->font()); }
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
            const qreal drawn = Drawn(line).Width;
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
        const qreal drawn = Drawn(line).Width;
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

// Word by word along a long line: the caret is where the reference layout puts it, in
// every piece and across the places where one piece ends and the next begins.
TEST_F(MemoDrawnWidths, CaretPlacesFollowTheWholeLine) {
    for (const Script& s : kScripts) {
        if (!s.LeftToRight) continue;
        const WideString line = Repeated(s.Words, 9000);
        memo->SetText(line);
        const Reference reference = Drawn(line);
        ASSERT_TRUE(SettlesAt(reference.Width)) << s.Name;
        memo->SetFocus();
        KeyChord(memo->Widget(), Qt::Key_Home);
        const qreal start = CaretX();
        int checked = 0;
        for (int before = -1; memo->SelStart() != before && memo->SelStart() < int(line.size());) {
            before = memo->SelStart();
            KeyChord(memo->Widget(), Qt::Key_Right, Qt::ControlModifier);
            const int at = memo->SelStart();
            ASSERT_NEAR(CaretX() - start, reference.X(at), 1.0) << s.Name << " at " << at;
            ++checked;
        }
        EXPECT_GT(checked, 200) << s.Name;
    }
}

// Letters typed and a tab in the middle of a long line, and the line parted by Enter and
// joined again by Backspace: the range comes back to where the line is drawn.
TEST_F(MemoDrawnWidths, EditsKeepTheRangeAtTheDrawnWidth) {
    for (const Script& s : kScripts) {
        const WideString line = Repeated(s.Words, 9000);
        memo->SetText(line);
        memo->SetFocus();
        const int middle = int(line.find(u' ', 4500)) + 1;
        memo->SetSelStart(middle);
        TypeChar(memo, QStringLiteral("W"));
        TypeChar(memo, QStringLiteral("x"));
        KeyChord(memo->Widget(), Qt::Key_Return);
        KeyChord(memo->Widget(), Qt::Key_Backspace);
        const WideString edited = memo->Text();
        ASSERT_EQ(edited, line.substr(0, size_t(middle)) + u"Wx" + line.substr(size_t(middle)))
            << s.Name;
        const qreal drawn = Drawn(edited).Width;
        EXPECT_TRUE(SettlesAt(drawn)) << s.Name;
        EXPECT_NEAR(RangeWidth(), drawn, 1.0) << s.Name;
    }
}
