// The old memo's text turned back into the file's: on thousands of small random texts of
// letters and every kind of line break, what the memo shows, edited by one letter typed or
// one character deleted anywhere, is written back as the file with just that edit.
#include "engine/PreviewText.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const WideChar kAlphabet[] = {u'a',    u'b',    u'\r',     u'\n',    u'\x0c',
                              u'\x15', u'\x85', u'\u2028', u'\u2029'};

WideString RandomText(std::mt19937& Rng) {
    std::uniform_int_distribution<size_t> length(0, 10), pick(0, std::size(kAlphabet) - 1);
    WideString text(length(Rng), u' ');
    for (WideChar& c : text)
        c = kAlphabet[pick(Rng)];
    return text;
}

bool IsCrLfAt(const WideString& Text, size_t At) {
    return At + 1 < Text.size() && Text[At] == u'\r' && Text[At + 1] == u'\n';
}

// Where the file's unit At stands in the shown text: every widened break before it is one
// unit longer there.
size_t ShownPosition(const WideString& File, size_t At, LineBreakCode Widened) {
    size_t pos = At;
    if (Widened != lbUnknown)
        for (size_t i = 0; i < At; ++i)
            pos += File[i] == LineBreakString(Widened)[0];
    return pos;
}

TEST(OldTextBackToTheFile, EveryUntouchedCharacterStaysAsItWas) {
    std::mt19937 rng(4711);
    int widenedTexts = 0;
    for (int round = 0; round < 20000; ++round) {
        const WideString file = RandomText(rng);
        const bool correct = round % 2 == 0;
        LineBreakCode widened = -1;
        const WideString shown = ReadableText(file, correct, &widened);
        ASSERT_TRUE(widened == lbUnknown || (correct && DetectLineBreak(file) == widened));
        widenedTexts += widened != lbUnknown;
        ASSERT_EQ(FileBreaksOfReadable(shown, widened), file);

        // A caret never stands between the CR and the LF of a break the memo shows.
        std::uniform_int_distribution<size_t> where(0, file.size());
        size_t at = where(rng);
        while (at > 0 && IsCrLfAt(file, at - 1))
            at = where(rng);
        const size_t s = ShownPosition(file, at, widened);
        WideString typed = shown;
        typed.insert(s, 1, u'Z');
        WideString expected = file;
        expected.insert(at, 1, u'Z');
        ASSERT_EQ(FileBreaksOfReadable(typed, widened), expected);

        if (at == file.size()) continue;
        // Delete takes a CR LF as one character, in the file as in the memo.
        const size_t fileUnits = IsCrLfAt(file, at) ? 2 : 1;
        const size_t shownUnits = IsCrLfAt(shown, s) ? 2 : 1;
        WideString deleted = shown;
        deleted.erase(s, shownUnits);
        expected = file;
        expected.erase(at, fileUnits);
        ASSERT_EQ(FileBreaksOfReadable(deleted, widened), expected);
    }
    EXPECT_GT(widenedTexts, 2000);
}

} // namespace
