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
#include <vector>

#include "dialogs/u_searchfiles.h"
#include "support/ModalInterceptor.h"
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

// The file's bytes for a text: UTF-8 as Qt writes it.
std::string Utf8(const std::u16string& Text) {
    return QString::fromStdU16String(Text).toUtf8().toStdString();
}

// The caret stops before the file's unit At: the memo steps over a CR LF as one character.
int CaretStops(const std::u16string& File, int At) {
    int stops = 0;
    for (int i = 0; i < At; ++i, ++stops)
        if (File[size_t(i)] == u'\r' && i + 1 < At && File[size_t(i) + 1] == u'\n') ++i;
    return stops;
}

// Keys as a person presses them in the old text: DEL the Delete key, BS Backspace, CR the
// Return key, anything else typed.
void PressInOldText(Tprog& P, const QString& Keys) {
    for (const QChar c : Keys) {
        if (c == u'\x7f')
            PressKeyIn(P.vor_alt->Widget(), Qt::Key_Delete);
        else if (c == u'\b')
            PressKeyIn(P.vor_alt->Widget(), Qt::Key_Backspace);
        else
            TypeKeys(P.vor_alt->Widget(), QString(c));
    }
}

// The caret put before the file's unit At with the keys, Keys pressed there and the save
// button clicked.
void EditAndSave(Tprog& P, const std::u16string& File, int At, const QString& Keys) {
    ClickCentre(P.vor_alt);
    PressKeyIn(P.vor_alt->Widget(), Qt::Key_Home, Qt::ControlModifier);
    for (int i = CaretStops(File, At); i > 0; --i)
        PressKeyIn(P.vor_alt->Widget(), Qt::Key_Right);
    PressInOldText(P, Keys);
    ASSERT_TRUE(P.AlteDateiSpeichern->Visible());
    ClickCentre(P.AlteDateiSpeichern);
}

const QString DEL = QStringLiteral("\x7f"), BS = QStringLiteral("\b");
const std::u16string kCrLfFile = u"eins\r\nzwei\rX\ndrei\r\n";
const std::u16string kLfFile = u"eins\rzwei\rX\ndrei\nvier";
// The file's only lone LF follows the X: without it, the CR before joins the LF.
const std::u16string kLoneLfFile = u"eins\rzwei\rX\ndrei";
const std::u16string kCrFile = u"eins\rzwei\u2028drei\r";
const std::u16string kLsFile = u"eins\u2028zwei\u2029drei";

// A file of each line-break kind with stray breaks of the others, shown with its breaks
// as lines (m_einst_nlkorrektur ticked) or as they stand, edited with the keys at, before
// and after a break and saved with the button: the file changes by that edit alone. Only
// a new line typed where the memo showed the file's breaks as lines takes the file's
// break; elsewhere it is the CR LF the memo holds. Where the tick changes after the file
// is shown, the save still undoes what showing it did.
TEST(SavingTheOldText, ChangesOnlyWhatTheKeysChanged) {
    enum Shown { AsLines = 1, AsTheyStand = 2, Both = 3 };
    struct Case {
        const char* what;
        const std::u16string& file;
        Shown shown;
        bool tickChangedAfterShowing;
        int at;
        QString keys;
        std::u16string saved;
    };
    const Case cases[] = {
        {"CR LF: typed before a break", kCrLfFile, Both, false, 4, "Z",
         u"einsZ\r\nzwei\rX\ndrei\r\n"},
        {"CR LF: a break deleted", kCrLfFile, Both, false, 4, DEL, u"einszwei\rX\ndrei\r\n"},
        {"CR LF: typed after a stray LF", kCrLfFile, Both, false, 13, "Z",
         u"eins\r\nzwei\rX\nZdrei\r\n"},
        {"CR LF: a stray CR and LF joined", kCrLfFile, Both, false, 11, DEL,
         u"eins\r\nzwei\r\ndrei\r\n"},
        {"CR LF: a new line", kCrLfFile, Both, false, 19, "\r", u"eins\r\nzwei\rX\ndrei\r\n\r\n"},
        {"LF: a stray CR joined with the only lone LF", kLoneLfFile, Both, false, 10, DEL,
         u"eins\rzwei\r\ndrei"},
        {"LF: joined after the tick changed", kLoneLfFile, Both, true, 10, DEL,
         u"eins\rzwei\r\ndrei"},
        {"LF: a stray CR joined with one of the LFs", kLfFile, Both, false, 10, DEL,
         u"eins\rzwei\r\ndrei\nvier"},
        {"LF: typed before a break", kLfFile, Both, false, 16, "Z", u"eins\rzwei\rX\ndreiZ\nvier"},
        {"LF: a break deleted", kLfFile, Both, false, 16, DEL, u"eins\rzwei\rX\ndreivier"},
        {"LF: a break taken back", kLfFile, Both, false, 12, BS, u"eins\rzwei\rXdrei\nvier"},
        {"LF: typed after a break", kLfFile, Both, false, 17, "Z", u"eins\rzwei\rX\ndrei\nZvier"},
        {"LF: a stray CR deleted", kLfFile, Both, false, 4, DEL, u"einszwei\rX\ndrei\nvier"},
        {"LF: a letter typed and taken back", kLfFile, Both, false, 0, "Z" + BS, kLfFile},
        {"LF: a new line", kLfFile, AsLines, false, 21, "\r", u"eins\rzwei\rX\ndrei\nvier\n"},
        {"LF: a new line", kLfFile, AsTheyStand, false, 21, "\r", u"eins\rzwei\rX\ndrei\nvier\r\n"},
        {"CR: a break deleted", kCrFile, Both, false, 4, DEL, u"einszwei\u2028drei\r"},
        {"CR: typed after a break", kCrFile, Both, false, 5, "Z", u"eins\rZzwei\u2028drei\r"},
        {"CR: typed before a stray LS", kCrFile, Both, false, 9, "Z", u"eins\rzweiZ\u2028drei\r"},
        {"CR: a letter typed and taken back after the tick changed", kCrFile, Both, true, 15,
         "Z" + BS, kCrFile},
        {"CR: a new line", kCrFile, AsLines, false, 9, "\r", u"eins\rzwei\r\u2028drei\r"},
        {"CR: a new line", kCrFile, AsTheyStand, false, 9, "\r", u"eins\rzwei\r\n\u2028drei\r"},
        {"LS: a break deleted", kLsFile, Both, false, 4, DEL, u"einszwei\u2029drei"},
        {"LS: a new line", kLsFile, AsLines, false, 9, "\r", u"eins\u2028zwei\u2028\u2029drei"},
        {"LS: a new line", kLsFile, AsTheyStand, false, 9, "\r", u"eins\u2028zwei\r\n\u2029drei"},
    };
    struct Run {
        const Case* c;
        bool lines;
        std::string name;
    };
    std::vector<Run> runs;
    TempFolder folder;
    for (const Case& c : cases)
        for (const bool lines : {true, false})
            if (c.shown & (lines ? AsLines : AsTheyStand)) {
                runs.push_back({&c, lines, std::to_string(runs.size() + 100) + ".txt"});
                folder.Write(runs.back().name, Utf8(c.file));
            }
    ProgramWindows windows;
    windows.ShowAsStarted();
    Tprog& p = windows.Working();
    TypeInto(p.inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
    ASSERT_EQ(p.qulist->Items().Count(), int(runs.size()));
    for (const Run& r : runs) {
        const Case& c = *r.c;
        const std::string what = std::string(c.what) + (r.lines ? ", as lines" : ", as they stand");
        if (p.m_einst_nlkorrektur->Checked() != r.lines) ChooseMenuItem(p.m_einst_nlkorrektur);
        ASSERT_EQ(p.m_einst_nlkorrektur->Checked(), r.lines);
        TListItem* row = p.qulist->Items()[RowOf(p, U16(r.name).c_str())];
        row->MakeVisible(); // as a person scrolls the list to it
        ClickListRow(p.qulist, row->Index());
        ASSERT_EQ(p.vor_orig->Hint(), folder.W(r.name)) << what;
        if (c.tickChangedAfterShowing) ChooseMenuItem(p.m_einst_nlkorrektur);
        EditAndSave(p, c.file, c.at, c.keys);
        EXPECT_EQ(folder.Read(r.name), Utf8(c.saved)) << what;
    }
}

// The search tool shows a file in the old text on its own path: the save undoes what that
// did, and nothing a file shown before it did (its widened breaks, its NULs).
TEST(SavingTheOldText, UndoesWhatTheSearchToolDid) {
    TempFolder folder;
    folder.Write("crlf.txt", Utf8(kCrLfFile));
    folder.Write("lf.txt", Utf8(kLoneLfFile));
    folder.Write("nul.txt", std::string("a\0b", 3));
    ProgramWindows windows;
    windows.ShowAsStarted();
    Tprog& p = windows.Working();
    ASSERT_TRUE(p.m_einst_nlkorrektur->Checked());
    TypeInto(p.inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
    ASSERT_EQ(p.qulist->Items().Count(), 3);
    std::vector<WideString> messages;
    ScopedModalInterceptor answers([&](TModalRequest& r) {
        messages.push_back(r.Text);
        return IDOK;
    });
    ClickCentre(p.inp_searchfiles);
    auto& search = windows.Window<Tsearchfiles>();
    ASSERT_TRUE(search.Visible());
    struct {
        const char16_t* shownFirst;
        const char* found;
        const char* searched;
        const std::u16string& file;
        int at;
        QString keys;
        std::u16string saved;
    } steps[] = {
        // The LF file shown with its breaks as lines, then the CR LF file found (a Return
        // in the search text is a CR LF), which shows none widened; then the other way.
        {u"lf.txt", "crlf.txt", "eins\r", kCrLfFile, 4, "Z", u"einsZ\r\nzwei\rX\ndrei\r\n"},
        {u"crlf.txt", "lf.txt", "X\r", kLoneLfFile, 10, DEL, u"eins\rzwei\r\ndrei"},
        // A file with NULs shown first: the one found has none and is saved.
        {u"nul.txt", "crlf.txt", "X", kCrLfFile, 0, "Q", u"QeinsZ\r\nzwei\rX\ndrei\r\n"},
    };
    for (const auto& s : steps) {
        ClickListRow(p.qulist, RowOf(p, s.shownFirst));
        ClickCentre(search.Button4);
        TypeInto(search.Memo1, QString::fromUtf8(s.searched));
        ClickCentre(search.Suchen);
        ASSERT_EQ(search.erglist->Items().Count(), 1) << s.found;
        ClickListRow(search.erglist, 0);
        ASSERT_EQ(p.vor_orig->Hint(), folder.W(s.found));
        EditAndSave(p, s.file, s.at, s.keys);
        EXPECT_EQ(folder.Read(s.found), Utf8(s.saved)) << s.found;
    }
    EXPECT_TRUE(messages.empty()) << U8(messages.front());
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
