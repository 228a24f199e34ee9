// The regular-expression settings window: the character notation, the modifier boxes that act
// at once, Apply with a bad text, and "Standard"; the effect is checked on new engines.
#include <QAbstractButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/FakeWorkingWindow.h"
#include "dialogs/u_einstregex.h"
#include "regex/RegExpr.h"
#include "support/ModalInterceptor.h"
#include "support/WindowInput.h"
#include "text/EightBitUtils.h"

namespace {

TEST(StringUserToComp, Notation) {
    const std::pair<WideString, WideString> cases[] = {
        {u"ab$41", u"abA"},
        {u"x$$$41", u"x$A"},
        {u"$2028", u"\u2028"},
        {u"abc", u"abc"},
        {u"", u""},
        {u"$1F600", u"\xD83D\xDE00"},
        {u"$10FFFF", u"\xDBFF\xDFFF"},
        {u" $9$A$D$C", u" \t\n\r\f"},
        {u"$d$a$b$c$85$2028$2029", u"\r\n\v\f\u0085\u2028\u2029"},
        {u"$$", u"$"},
        {u"a$$b$", u"a$\v"}, // one "$" after the leading text; "b" is a code
        {u"$0041$", u"A"},
        {u"$D800", WideString(1, 0xD800)},
    };
    for (const auto& [text, chars] : cases) {
        EXPECT_EQ(StringUserToComp(text), chars) << U8(text);
    }
    for (const WideString bad : {u"$zz", u"$110000", u"$ 41", u"$41 ", u"$-1", u"$+41", u"$0x41",
                                 u"a$4g", u"$FFFFFFFFF41"})
        EXPECT_THROW(StringUserToComp(bad), EConvertError) << U8(bad);
}

bool matches(const WideString& expression, const WideString& subject) {
    TRegExpr r;
    r.SetExpression(expression);
    return r.Exec(subject);
}

struct RegexSettingsTest : ::testing::Test {
    TRegExprDefaults saved = RegExprDefaults;
    ScopedLanguage german{u"de"};
    FakeWorkingWindow working;
    Teinstregex* w = nullptr;

    void SetUp() override {
        w = new Teinstregex(nullptr);
        w->DoCreate();
        w->Show();
    }
    void TearDown() override {
        w->Free();
        RegExprDefaults = saved;
    }
};

TEST_F(RegexSettingsTest, ApplyWithABadTextRaisesAndChangesNothing) {
    w->zk_word->SetText(u"xyz");
    w->zk_space->SetText(u"$zz");
    const TRegExprDefaults before = RegExprDefaults;
    std::vector<WideString> shown;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        shown.push_back(ShownText(r));
        return int(mrOk);
    });
    ClickControl(w->Button2); // the application shows the error, the program goes on
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(u"$zz"), WideString::npos);
    EXPECT_EQ(RegExprDefaults.WordChars, before.WordChars);
    EXPECT_EQ(RegExprDefaults.SpaceChars, before.SpaceChars);
    EXPECT_EQ(RegExprDefaults.LineSeparators, before.LineSeparators);
    EXPECT_THROW(w->Button2Click(w->Button2), EConvertError);
    w->zk_space->SetText(u" ");
    w->zk_lineseparators->SetText(u"$110000");
    EXPECT_THROW(w->Button2Click(w->Button2), EConvertError);
    EXPECT_EQ(RegExprDefaults.WordChars, before.WordChars);
}

// The window stays on top of the others: the error box of a bad Apply must come up above it
// with the focus, else the program waits for an answer nobody can see.
TEST_F(RegexSettingsTest, TheErrorOfApplyComesUpOverTheWindowAndTakesAClick) {
    ScopedModalInterceptor realBoxes{TModalInterceptor()};
    ClickCentre(w->zk_space);
    PressKeyIn(w->zk_space->Widget(), Qt::Key_A, Qt::ControlModifier);
    TypeKeys(w->zk_space->Widget(), QStringLiteral("$zz"));
    ASSERT_EQ(w->zk_space->Text(), u"$zz");
    QWindow* over = nullptr;
    bool active = false, clicked = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        over = box->windowHandle() ? box->windowHandle()->transientParent() : nullptr;
        active =
            QTest::qWaitFor([box] { return box->isAncestorOf(QApplication::focusWidget()); }, 1000);
        const auto buttons = box->findChildren<QAbstractButton*>();
        ASSERT_FALSE(buttons.isEmpty());
        ClickWidgetAt(buttons.front(), buttons.front()->rect().center());
        clicked = QApplication::activeModalWidget() != box;
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    guard.start(5000);
    ClickCentre(w->Button2);
    EXPECT_EQ(over, w->Widget()->windowHandle()) << "the box is not kept above the window";
    EXPECT_TRUE(active) << "the box has not the focus";
    EXPECT_TRUE(clicked) << "a click on the box's button did not end it";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(RegexSettingsTest, BoxesActAtOnceTextsOnlyWithApplyAndStandardRestoresBoth) {
    EXPECT_TRUE(RegExprDefaults.ModifierG); // the window's creation ran "Standard"
    const int previews = working.previews;
    ClickControl(w->cb_singleline_s);
    EXPECT_FALSE(matches(u"a.b", u"a\nb"));
    EXPECT_EQ(working.previews, previews + 1);

    w->zk_word->SetText(u"xyz");
    w->zk_space->SetText(u"$5F");
    ClickControl(w->Button2);
    EXPECT_EQ(RegExprDefaults.WordChars, u"xyz");
    EXPECT_TRUE(matches(u"^\\w+\\s\\W$", u"zyx_a"));

    w->zk_word->SetText(u"abc"); // edited, not applied
    ClickControl(w->Button3);
    EXPECT_TRUE(matches(u"a.b", u"a\nb"));
    EXPECT_EQ(w->zk_word->Text(),
              u"0123456789aäbcdefghijklmnoöpqrsßtuüvwxyzAÄBCDEFGHIJKLMNOÖPQRSTUÜVWXYZ_");
    EXPECT_EQ(RegExprDefaults.WordChars, u"xyz");

    ClickControl(w->Button1); // OK: apply and close
    EXPECT_FALSE(w->Visible());
    EXPECT_TRUE(matches(u"^\\w+\\s\\w$", u"Maß\tä"));
    EXPECT_EQ(RegExprDefaults.LineSeparators, u"\r\n\v\f\u0085\u2028\u2029");
}

} // namespace
