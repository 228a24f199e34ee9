// A memo as a screen reader reads and edits it: through Qt's accessibility interfaces of
// the memo's widget, with the memo driven by keys typed into it. Readers count a line break
// as one character ("\n"), where the memo's own text holds CR LF.
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "e2e/DesktopSession.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "support/FormFixture.h"
#include "support/TempFolder.h"
#include "support/WidgetInput.h"

namespace {

using A = QAccessible;

struct MemoAccess : FormFixture {
    TMemo* memo = nullptr;
    void ShowWith(const WideString& Text, bool Wrap = false) {
        memo = Make<TMemo>();
        memo->SetBounds(10, 10, 300, 150);
        memo->SetWordWrap(Wrap);
        memo->SetText(Text);
        form->Show();
        memo->SetFocus();
        QApplication::processEvents();
    }
    QAccessibleInterface* Reader() const { return A::queryAccessibleInterface(memo->Widget()); }
    QAccessibleTextInterface* Text() const { return Reader()->textInterface(); }
    QAccessibleEditableTextInterface* Editing() const { return Reader()->editableTextInterface(); }
    void Key(int K, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        KeyChord(memo->Widget(), K, Mods);
    }
};

TEST_F(MemoAccess, ReadersSeeAMultiLineEditBoxEditableUnlessReadOnly) {
    ShowWith(u"one\r\ntwo");
    for (bool readOnly : {false, true}) {
        memo->SetReadOnly(readOnly);
        ASSERT_TRUE(Reader() && Text() && Editing());
        EXPECT_EQ(Reader()->role(), A::EditableText);
        const A::State state = Reader()->state();
        EXPECT_TRUE(state.multiLine && state.focused);
        EXPECT_EQ(bool(state.editable), !readOnly);
        EXPECT_EQ(bool(state.readOnly), readOnly);
        EXPECT_EQ(Reader()->text(A::Value), u"one\ntwo");
    }
}

// Each Right key steps one offset per character: a line break (CR LF) is one, a character
// outside the basic plane two units; Shift+Left selects back.
TEST_F(MemoAccess, TheCaretStepsOneOffsetPerCharacterAndEveryBreakIsOne) {
    ShowWith(u"ab\r\n\r\nc\U0001F600d\r\n");
    EXPECT_EQ(Text()->text(0, -1), QString::fromStdU16String(u"ab\n\nc\U0001F600d\n"));
    EXPECT_EQ(Text()->text(1, 5), u"b\n\nc");
    for (int expected : {0, 1, 2, 3, 4, 5, 7, 8, 9, 9}) {
        EXPECT_EQ(Text()->cursorPosition(), expected);
        Key(Qt::Key_Right);
    }
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_Left, Qt::ShiftModifier);
    int start = -1, end = -1;
    Text()->selection(0, &start, &end);
    EXPECT_EQ(Text()->selectionCount(), 1);
    EXPECT_EQ(std::pair(start, end), std::pair(5, 9));
    EXPECT_EQ(memo->SelText(), u"\U0001F600d\r\n");
}

TEST_F(MemoAccess, TextAroundAnOffsetByCharacterWordSentenceLineAndParagraph) {
    ShowWith(u"Hello world. Second one.\r\nnext line\r\n\r\nlast");
    enum Which { At, Before, After };
    struct Case {
        Which Kind;
        A::TextBoundaryType Boundary;
        int Offset;
        const char16_t* Text;
        int Start, End;
    };
    for (const Case& c : std::vector<Case>{
             {At, A::CharBoundary, 24, u"\n", 24, 25},
             {After, A::CharBoundary, 24, u"n", 25, 26},
             {At, A::WordBoundary, 8, u"world", 6, 11},
             {At, A::WordBoundary, 25, u"next", 25, 29},
             {Before, A::WordBoundary, 6, u" ", 5, 6},
             {At, A::SentenceBoundary, 15, u"Second one.\n", 13, 25},
             {At, A::LineBoundary, 27, u"next line\n", 25, 35},
             {At, A::LineBoundary, 40, u"last", 36, 40},
             {Before, A::LineBoundary, 27, u"Hello world. Second one.\n", 0, 25},
             {After, A::LineBoundary, 27, u"\n", 35, 36},
             {Before, A::LineBoundary, 3, u"", -1, -1},
             {After, A::LineBoundary, 38, u"", -1, -1},
             {At, A::ParagraphBoundary, 30, u"next line\n", 25, 35},
             {At, A::CharBoundary, 41, u"", -1, -1},
         }) {
        int start = 0, end = 0;
        const QString got = c.Kind == At ? Text()->textAtOffset(c.Offset, c.Boundary, &start, &end)
                            : c.Kind == Before
                                ? Text()->textBeforeOffset(c.Offset, c.Boundary, &start, &end)
                                : Text()->textAfterOffset(c.Offset, c.Boundary, &start, &end);
        EXPECT_EQ(std::tuple(got, start, end),
                  std::tuple(QString::fromStdU16String(c.Text), c.Start, c.End))
            << c.Kind << " " << c.Boundary << " at " << c.Offset;
    }
}

// With word wrap a line is a row as shown: Down goes to where the next one starts, and the
// rows read one after another are the whole text.
TEST_F(MemoAccess, WrappedLinesAreReadRowByRow) {
    ShowWith(WideString(40, u'x') + u" " + WideString(30, u'y') + u" end\r\nlast", true);
    QString joined;
    int rows = 0;
    for (int offset = 0, end = 0; offset < Text()->characterCount(); offset = end, ++rows) {
        int start = 0;
        joined += Text()->textAtOffset(offset, A::LineBoundary, &start, &end);
        EXPECT_EQ(Text()->cursorPosition(), start);
        ASSERT_GT(end, start);
        Key(Qt::Key_Down);
    }
    EXPECT_EQ(joined, Text()->text(0, -1));
    EXPECT_GT(rows, 2); // more rows than lines
}

// A line of megabytes is read in pieces that join up and never split a character.
TEST_F(MemoAccess, AVeryLongLineIsReadInPiecesThatJoinUp) {
    WideString line;
    for (int i = 0; i < 4000; ++i)
        line += u"abc\U0001F600";
    ShowWith(line + u"\r\nend");
    for (A::TextBoundaryType boundary : {A::LineBoundary, A::ParagraphBoundary}) {
        int start = 0, end = 0;
        QString joined = Text()->textAtOffset(0, boundary, &start, &end);
        while (end < Text()->characterCount()) {
            const QString piece = Text()->textAfterOffset(start, boundary, &start, &end);
            ASSERT_TRUE(!piece.isEmpty() && piece.size() <= 4096 &&
                        !piece.front().isLowSurrogate());
            joined += piece;
        }
        EXPECT_EQ(joined, Text()->text(0, -1));
    }
}

// The reader's caret, selection and edits land in the memo (where CR LF counts two) through
// the keyboard's undoable path, with OnChange; a read-only memo refuses the edits.
TEST_F(MemoAccess, ReadersSetTheCaretAndEditThroughTheUndoablePath) {
    ShowWith(u"ab\r\ncd");
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    struct Case {
        std::function<void()> Act;
        const char16_t* Text;
        int SelStart, SelLength, Changes;
    };
    const std::vector<Case> cases = {
        {[&] { Text()->setSelection(0, 1, 4); }, u"ab\r\ncd", 1, 4, 0},
        {[&] { Text()->setCursorPosition(4); }, u"ab\r\ncd", 5, 0, 0},
        {[&] { TypeChar(memo, QStringLiteral("X")); }, u"ab\r\ncXd", 6, 0, 1},
        {[&] { Editing()->insertText(3, QStringLiteral("1\n2")); }, u"ab\r\n1\r\n2cXd", 8, 0, 2},
        {[&] { Editing()->deleteText(1, 4); }, u"a\r\n2cXd", 1, 0, 3},
        {[&] { Editing()->replaceText(2, 4, QStringLiteral("--")); }, u"a\r\n--Xd", 5, 0, 4},
        {[&] { Key(Qt::Key_Z, Qt::ControlModifier); }, u"a\r\n2cXd", 5, 0, 5},
        {[&] { memo->SetReadOnly(true); }, u"a\r\n2cXd", 5, 0, 5},
        {[&] { Editing()->insertText(0, QStringLiteral("no")); }, u"a\r\n2cXd", 5, 0, 5},
        {[&] { Editing()->deleteText(0, 3); }, u"a\r\n2cXd", 5, 0, 5},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        cases[i].Act();
        EXPECT_EQ(memo->Text(), cases[i].Text) << i;
        EXPECT_EQ(std::tuple(memo->SelStart(), memo->SelLength(), changes),
                  std::tuple(cases[i].SelStart, cases[i].SelLength, cases[i].Changes))
            << i;
    }
}

// Each character's box lies in the memo on screen and its middle leads back to it.
TEST_F(MemoAccess, CharacterBoxesAndPointsLeadToEachOther) {
    ShowWith(u"Wide MMM and iii\r\n\tx\r\n\r\nend");
    const QRect onScreen(memo->Widget()->mapToGlobal(QPoint(0, 0)), memo->Widget()->size());
    for (int i = 0; i < Text()->characterCount(); ++i) {
        const QRect box = Text()->characterRect(i);
        EXPECT_TRUE(onScreen.contains(box.topLeft()) && onScreen.contains(box.center())) << i;
        EXPECT_EQ(Text()->offsetAtPoint(box.center()), i);
    }
    EXPECT_EQ(Text()->offsetAtPoint(onScreen.topLeft() - QPoint(5, 5)), -1);
}

// ---------------------------------------------------------------- with a reader listening

// In the run on a desktop below, the address of the accessibility bus.
constexpr const char* kReaderBus = "QUORBEL_TEST_READER_BUS";
// How long that run may take; it waits as long for Qt to hear of the reader.
constexpr std::chrono::seconds kReaderRun(120);

// Qt switches accessibility on when the desktop's accessibility bus says a screen reader
// runs; offscreen it stays off, and these tests are left to MemoAccessOnADesktop. On the
// desktop made for them, a reader Qt never hears of is a failure: a busy machine may take
// long to start the bus, but nothing there may pass as skipped.
struct MemoOnTheReadersBus : MemoAccess {
    void SetUp() override {
        MemoAccess::SetUp();
        if (qEnvironmentVariableIsEmpty(kReaderBus)) {
            if (!A::isActive()) GTEST_SKIP() << "no reader listens here";
            return;
        }
        QElapsedTimer waited;
        waited.start();
        while (!A::isActive() && waited.elapsed() < kReaderRun / std::chrono::milliseconds(1))
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_TRUE(A::isActive())
            << "no reader became active on the desktop's bus within " << kReaderRun.count() << " s";
    }
};

std::vector<std::string>* gHeard = nullptr;
QObject* gListenedTo = nullptr;

void Listen(QAccessibleEvent* Event) {
    if (Event->object() != gListenedTo) return;
    std::string heard;
    switch (Event->type()) {
    case A::TextInserted:
        heard = "insert " +
                static_cast<QAccessibleTextInsertEvent*>(Event)->textInserted().toStdString();
        break;
    case A::TextRemoved:
        heard = "remove " +
                static_cast<QAccessibleTextRemoveEvent*>(Event)->textRemoved().toStdString();
        break;
    case A::TextUpdated: {
        const auto* u = static_cast<QAccessibleTextUpdateEvent*>(Event);
        heard = "update " + u->textRemoved().toStdString() + ">" + u->textInserted().toStdString();
        break;
    }
    case A::TextSelectionChanged: {
        const auto* s = static_cast<QAccessibleTextSelectionEvent*>(Event);
        heard = "select " + std::to_string(s->selectionStart()) + "-" +
                std::to_string(s->selectionEnd());
        break;
    }
    case A::TextCaretMoved:
        heard = "caret";
        break;
    case A::StateChanged: {
        const A::State s = static_cast<QAccessibleStateChangeEvent*>(Event)->changedStates();
        gHeard->push_back(s.readOnly && s.editable ? "read-only or editable" : "other state");
        return;
    }
    default:
        return;
    }
    const int at = static_cast<QAccessibleTextCursorEvent*>(Event)->cursorPosition();
    gHeard->push_back(heard + " @" + std::to_string(at));
}

TEST_F(MemoOnTheReadersBus, ReadersHearTextCaretAndSelectionChanges) {
    ShowWith(u"ab\r\ncd");
    std::vector<std::string> heard;
    gHeard = &heard;
    gListenedTo = memo->Widget();
    const A::UpdateHandler before = A::installUpdateHandler(Listen);
    const std::vector<std::pair<std::function<void()>, std::vector<std::string>>> cases = {
        {[&] { Key(Qt::Key_End, Qt::ControlModifier); }, {"caret @5"}},
        {[&] { TypeChar(memo, QStringLiteral("e")); }, {"insert e @6", "caret @6"}},
        {[&] { Key(Qt::Key_Return); }, {"insert \n @7", "caret @7"}},
        {[&] { Key(Qt::Key_Backspace); }, {"remove \n @6", "caret @6"}},
        {[&] { Key(Qt::Key_Left, Qt::ShiftModifier); }, {"select 5-6 @5", "caret @5"}},
        {[&] { TypeChar(memo, QStringLiteral("X")); },
         {"update e>X @6", "select 6-6 @6", "caret @6"}},
        {[&] { memo->SetText(u"new"); }, {"update ab\ncdX>new @3", "caret @0"}},
        {[&] { memo->SetReadOnly(true); }, {"read-only or editable"}},
        {[&] { memo->SetReadOnly(true); }, {}},
    };
    for (const auto& [act, expected] : cases) {
        heard.clear();
        act();
        EXPECT_EQ(heard, expected);
    }
    A::installUpdateHandler(before);
    gHeard = nullptr;
}

// A reader on the bus (dbus-send, as Orca would ask) reads and edits through Qt's AT-SPI
// bridge; the answer in dbus-send's plain form, empty when the call failed.
QString AskOnTheBus(const QStringList& Call) {
    QProcess ask;
    ask.start("dbus-send", QStringList{"--bus=" + qEnvironmentVariable(kReaderBus),
                                       "--print-reply=literal", "--reply-timeout=5000"} +
                               Call);
    QElapsedTimer waited;
    waited.start();
    while (ask.state() != QProcess::NotRunning && waited.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 10); // the bridge answers from here
    return ask.exitCode() == 0 ? QString::fromUtf8(ask.readAllStandardOutput()).trimmed()
                               : QString();
}

TEST_F(MemoOnTheReadersBus, AReaderOnTheBusReadsAndEditsTheMemo) {
    ShowWith(u"ab\r\ncd\r\nef");
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    const QString path = "/org/a11y/atspi/accessible/" + QString::number(A::uniqueId(Reader()));
    QString program, text; // the program's name on the bus: the one that knows the memo
    for (const QString& name : AskOnTheBus({"--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                                            "org.freedesktop.DBus.ListNames"})
                                   .split(u' ', Qt::SkipEmptyParts))
        if (name.startsWith(u':') && program.isEmpty()) {
            text = AskOnTheBus(
                {"--dest=" + name, path, "org.a11y.atspi.Text.GetText", "int32:0", "int32:-1"});
            if (!text.isEmpty()) program = name;
        }
    EXPECT_EQ(text, "ab\ncd\nef");
    auto ask = [&](const QString& Method, const QStringList& Args) {
        return AskOnTheBus(QStringList{"--dest=" + program, path, Method} + Args);
    };
    EXPECT_TRUE(ask("org.freedesktop.DBus.Properties.Get",
                    {"string:org.a11y.atspi.Text", "string:CaretOffset"})
                    .endsWith(" 4"));
    // The line at the caret (boundary 5: from a line's start to the next one's).
    EXPECT_TRUE(
        ask("org.a11y.atspi.Text.GetTextAtOffset", {"int32:4", "uint32:5"}).startsWith("cd\n"));
    ask("org.a11y.atspi.EditableText.InsertText", {"int32:3", "string:X", "int32:1"});
    EXPECT_EQ(memo->Text(), u"ab\r\nXcd\r\nef");
}

// A test program's output with gtest's "[  SKIPPED ]" marker written in lower case.
std::string WithoutSkipMarkers(std::string Output) {
    const std::string marker = "[  SKIPPED ]";
    for (size_t at = Output.find(marker); at != std::string::npos;
         at = Output.find(marker, at + marker.size()))
        Output.replace(at, marker.size(), "[  skipped ]");
    return Output;
}

bool OnPath(const char* Tool) {
    for (const QString& folder : qEnvironmentVariable("PATH").split(u':'))
        if (QFileInfo(folder + u'/' + Tool).isExecutable()) return true;
    return false;
}

} // namespace

// Where a screen reader meets the memo: this program runs again on a desktop of its own
// (Xvfb) with a session bus and at-spi2-core's accessibility bus launcher told that a screen
// reader runs, as Orca's desktop has them; Qt's AT-SPI bridge then switches accessibility on.
TEST(MemoAccessOnADesktop, AReaderOnTheBusHearsReadsAndEditsTheMemo) {
    if (!qEnvironmentVariableIsEmpty(kReaderBus)) GTEST_SKIP() << "the run on it";
    const char* launcher = "/usr/libexec/at-spi-bus-launcher";
    if (!DesktopSession::MissingTool().empty() || !OnPath("dbus-daemon") || !OnPath("dbus-send") ||
        !std::filesystem::exists(launcher))
        GTEST_SKIP() << "a desktop tool, D-Bus or at-spi2-core is not installed";
    DesktopSession desktop;
    ASSERT_TRUE(desktop.Ready()) << desktop.Problem();
    TempFolder folder("memo-reader");
    const std::string session = "unix:path=" + (folder.Path() / "session").string();
    const std::string runtime = "XDG_RUNTIME_DIR=" + folder.Path().string();
    auto onTheSessionBus = [&](std::vector<std::string> Call) {
        Call.insert(Call.begin(), {"env", "DBUS_SESSION_BUS_ADDRESS=" + session, "dbus-send",
                                   "--session", "--print-reply=literal"});
        return QString::fromStdString(desktop.Run(Call).text).trimmed();
    };
    // Asks the session bus itself Method(Arg) until the answer ends with Answer (false when
    // it has not after some 20 s).
    auto waitFor = [&](const std::string& Method, const std::string& Arg, const char* Answer) {
        for (int i = 0; i < 1000; ++i) {
            if (onTheSessionBus({"--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                                 "org.freedesktop.DBus." + Method, Arg})
                    .endsWith(QLatin1String(Answer)))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    };
    // The launcher needs the session bus up; and asked before the launcher owns its name,
    // the session bus would start another launcher itself, one that knows of no reader. So
    // the name is looked for, never asked for, until the launcher has it.
    desktop.Start({"dbus-daemon", "--session", "--nofork", "--address=" + session}, folder.Path());
    ASSERT_TRUE(waitFor("NameHasOwner", "string:org.freedesktop.DBus", "true"))
        << "the session bus did not start";
    desktop.Start({launcher, "--launch-immediately", "--a11y=1", "--screen-reader=1"},
                  folder.Path(),
                  {{"DBUS_SESSION_BUS_ADDRESS", session},
                   {"XDG_RUNTIME_DIR", folder.Path()},
                   {"XDG_CACHE_HOME", folder.Path()}});
    ASSERT_TRUE(waitFor("NameHasOwner", "string:org.a11y.Bus", "true"))
        << "the accessibility bus launcher did not start";
    const QString readers =
        onTheSessionBus({"--dest=org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress"});
    ASSERT_TRUE(readers.startsWith(u"unix:")) << "no accessibility bus: " << readers.toStdString();
    const DesktopSession::Output run =
        desktop.Run({"env", "QT_QPA_PLATFORM=xcb", "DBUS_SESSION_BUS_ADDRESS=" + session, runtime,
                     std::string(kReaderBus) + "=" + readers.toStdString(),
                     std::filesystem::read_symlink("/proc/self/exe").string(),
                     "--gtest_filter=MemoOnTheReadersBus.*"},
                    kReaderRun);
    // The run's output is shown without gtest's skip marker: CTest counts a test whose
    // output holds it as skipped, even when it failed.
    const std::string shown = WithoutSkipMarkers(run.text);
    EXPECT_EQ(run.status, 0) << shown;
    EXPECT_NE(run.text.find("[  PASSED  ] 2 tests."), std::string::npos) << shown;
}
