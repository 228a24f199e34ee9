// The preview as a person drives it: a click on a file's row, a tick, typing into the
// replacement fields, a key in the list, keys in the old text. Each change computes the
// new text at most once (typing once, after the pause that follows the last key), and the
// caret's line label and the other memo's scrolling follow the keys.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLocale>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "dialogs/u_searchfiles.h"
#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"

namespace {

// Events handled until the preview's timer has fired.
void WaitForDelayedPreview(Tprog& P) {
    QElapsedTimer clock;
    clock.start();
    while (P.VorschauTimer->Enabled() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QApplication::processEvents();
}

int RowOf(Tprog& P, const char16_t* Name) {
    for (int i = 0; i < P.qulist->Items().Count(); ++i)
        if (P.qulist->Items()[i]->Caption() == Name) return i;
    ADD_FAILURE() << "no row for the file";
    return 0;
}

std::string Lines(int Count, const std::string& Town) {
    std::string text;
    for (int i = 1; i <= Count; ++i)
        text += "line " + std::to_string(i) + " " + Town + "\n";
    return text;
}

class PreviewByHand : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("a.txt", Lines(200, "Köln"));
        folder.Write("b.txt", "Köln\n");
        windows.ShowAsStarted();
        TypeInto(p.inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
        ASSERT_EQ(p.qulist->Items().Count(), 2);
    }
    TempFolder folder;
    ProgramWindows windows;
    Tprog& p = windows.Working();
};

TEST_F(PreviewByHand, EachChangeComputesTheNewTextOnce) {
    struct Step {
        const char* what;
        std::function<void()> act;
        int computations;
        const char16_t* firstNewLine;
    };
    const Step steps[] = {
        {"a click on a file's row", [&] { ClickListRow(p.qulist, RowOf(p, u"a.txt")); }, 1,
         u"line 1 Köln"},
        // A tick only opens its group; the fields refresh.
        {"the replace tick", [&] { ClickCentre(p.act_ers_text); }, 0, u"line 1 Köln"},
        {"three characters typed", [&] { TypeInto(p.act_ers_text_suchen, QStringLiteral("Köl")); },
         0, u"line 1 Köln"},
        {"the pause after them", [&] { WaitForDelayedPreview(p); }, 1, u"line 1 n"},
        {"the replacement typed and the pause",
         [&] {
             TypeInto(p.act_ers_text_ersetzen, QStringLiteral("Bon"));
             WaitForDelayedPreview(p);
         },
         1, u"line 1 Bonn"},
        {"a click on the row and the arrow key to the other file",
         [&] {
             const int row = RowOf(p, u"a.txt");
             ClickListRow(p.qulist, row);
             PressKeyIn(p.qulist->Widget(), row == 0 ? Qt::Key_Down : Qt::Key_Up);
         },
         2, u"Bonn"},
    };
    for (const Step& s : steps) {
        const int before = p.PreviewComputations();
        s.act();
        EXPECT_EQ(p.PreviewComputations() - before, s.computations) << s.what;
        EXPECT_EQ(p.vor_neu->Lines()[0], s.firstNewLine) << s.what;
    }
}

TEST_F(PreviewByHand, CaretLineAndScrollingFollowTheKeysInTheOldText) {
    ClickListRow(p.qulist, RowOf(p, u"a.txt"));
    ClickCentre(p.vor_alt);
    struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int presses;
        const char16_t* line;
    } keys[] = {{Qt::Key_Home, Qt::ControlModifier, 1, u"1"},
                {Qt::Key_Down, Qt::NoModifier, 3, u"4"},
                {Qt::Key_End, Qt::ControlModifier, 1, u"201"},
                {Qt::Key_PageUp, Qt::NoModifier, 2, nullptr},
                {Qt::Key_Up, Qt::NoModifier, 1, nullptr}};
    for (const auto& k : keys) {
        for (int i = 0; i < k.presses; ++i)
            PressKeyIn(p.vor_alt->Widget(), k.key, k.mods);
        const int caretLine = p.vor_alt->LineFromChar(p.vor_alt->SelStart()) + 1;
        if (k.line) {
            EXPECT_EQ(p.Label12->Caption(), k.line) << k.key;
        }
        EXPECT_EQ(p.Label12->Caption(), U16(std::to_string(caretLine))) << k.key;
        EXPECT_EQ(p.vor_neu->FirstVisibleLine(), p.vor_alt->FirstVisibleLine()) << k.key;
    }
    EXPECT_GT(p.vor_alt->FirstVisibleLine(), 0);
}

// The search window's locate button on a hit far down a file: the old text shows the hit.
TEST(SearchInThePreview, TheLocatedHitIsInView) {
    TempFolder folder;
    std::string text;
    for (int i = 1; i <= 1000; ++i)
        text += "line " + std::to_string(i) + (i == 800 ? " needle" : "") + "\r\n";
    folder.Write("long.txt", text);
    ProgramWindows windows;
    windows.ShowAsStarted();
    Tprog& p = windows.Working();
    TypeInto(p.inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
    ASSERT_EQ(p.qulist->Items().Count(), 1);
    ClickCentre(p.inp_searchfiles);
    auto& search = windows.Window<Tsearchfiles>();
    ASSERT_TRUE(search.Visible());
    TypeInto(search.Memo1, QStringLiteral("needle"));
    ClickCentre(search.Suchen);
    ASSERT_EQ(search.erglist->Items().Count(), 1);
    ClickCentre(search.bt_show_in_files);

    TMemo& memo = *p.vor_alt;
    EXPECT_EQ(memo.SelText(), u"needle");
    const int hitLine = memo.LineFromChar(memo.SelStart());
    ASSERT_EQ(hitLine, 799);
    // Short lines: one row each.
    const auto* area = qobject_cast<QAbstractScrollArea*>(memo.Widget());
    const int rows = area->viewport()->height() / QFontMetrics(area->font()).lineSpacing();
    ASSERT_GT(rows, 0);
    EXPECT_LE(memo.FirstVisibleLine(), hitLine);
    EXPECT_GT(memo.FirstVisibleLine() + rows, hitLine);
}

std::string FileBytes(const std::filesystem::path& File) {
    std::ifstream in(File, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A file shown in the old text, one character typed into it and the save button pressed:
// the file differs from before by that character alone, whatever line breaks it holds and
// whether the preview shows its breaks as lines or not.
TEST(SavingTheOldText, ChangesOnlyTheTypedCharacter) {
    struct Case {
        const char* name;
        std::string bytes;
        bool correctBreaks; // m_einst_nlkorrektur
    };
    const Case cases[] = {
        {"crlf-lone-lf.txt", "abc\r\none\ntwo\r\nend\r\n", true},
        {"crlf-lone-lf-raw.txt", "abc\r\none\ntwo\r\nend\r\n", false},
        {"crlf-lone-cr.txt", "abc\r\none\rtwo\r\n", true},
        {"lf.txt", "abc\none\ntwo\n", true},
        {"lf-raw.txt", "abc\none\ntwo\n", false},
        {"lf-and-cr.txt", "abc\rone\ntwo\r", true},
    };
    TempFolder folder;
    for (const Case& c : cases)
        folder.Write(c.name, c.bytes);
    ProgramWindows windows;
    windows.ShowAsStarted();
    Tprog& p = windows.Working();
    TypeInto(p.inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
    ASSERT_EQ(p.qulist->Items().Count(), int(std::size(cases)));
    for (const Case& c : cases) {
        if (p.m_einst_nlkorrektur->Checked() != c.correctBreaks)
            ChooseMenuItem(p.m_einst_nlkorrektur);
        ASSERT_EQ(p.m_einst_nlkorrektur->Checked(), c.correctBreaks);
        ClickListRow(p.qulist, RowOf(p, U16(c.name).c_str()));
        ClickCentre(p.vor_alt);
        PressKeyIn(p.vor_alt->Widget(), Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i)
            PressKeyIn(p.vor_alt->Widget(), Qt::Key_Right);
        TypeKeys(p.vor_alt->Widget(), QStringLiteral("Z"));
        ASSERT_TRUE(p.AlteDateiSpeichern->Visible()) << c.name;
        EXPECT_EQ(p.AlteDateiSpeichern->Caption(), u"Speichern");
        ClickCentre(p.AlteDateiSpeichern);
        EXPECT_EQ(FileBytes(folder.Path() / c.name), c.bytes.substr(0, 3) + "Z" + c.bytes.substr(3))
            << c.name;
    }
}

// Without the line-break correction the old text shows an LF file as it is: one row, as
// many characters as the file has, and On-The-Fly conversion takes that text.
TEST(OldTextWithoutLineBreakCorrection, ShowsAnLfFileAsItIs) {
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line " + std::to_string(1000 + i) + "\n"; // 10 characters each
    TempFolder folder;
    folder.Write("lf.txt", text);
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ProgramWindows windows;
    windows.ShowAsStarted();
    Tprog& p = windows.Working();
    TypeInto(p.inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
    ChooseMenuItem(p.m_einst_nlkorrektur);
    ASSERT_FALSE(p.m_einst_nlkorrektur->Checked());
    ClickListRow(p.qulist, 0);
    EXPECT_EQ(p.vor_alt->Text(), U16(text));
    EXPECT_EQ(p.vor_alt->Lines().Count(), 1);
    EXPECT_EQ(p.vor_alt->Perform(EM_GETLINECOUNT), 1);
    EXPECT_EQ(p.Label12->Caption(), u"1.000 KB");
    ClickCentre(p.vor_alt);
    // The caret's line label counts the file's lines all the same.
    PressKeyIn(p.vor_alt->Widget(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(p.Label12->Caption(), u"101");
    PressKeyIn(p.vor_alt->Widget(), Qt::Key_D, Qt::ControlModifier); // On-The-Fly
    EXPECT_EQ(p.vor_neu->Text(), U16(text));
    QLocale::setDefault(before);
}

} // namespace
