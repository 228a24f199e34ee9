// Text controls as a person types into them and reads them: a combo box too narrow for its
// text shows the text's start however the text arrived, and a key filter that answers a
// refused character with a message box never lets that character through, although the
// message window's own events reach the control while it is open.
#include <QAccessible>
#include <QApplication>
#include <functional>
#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "support/FormFixture.h"
#include "support/ModalInterceptor.h"
#include "support/ShownText.h"
#include "support/WidgetInput.h"
#include "support/WindowInput.h"

namespace {

const WideString kLongItem = u"CRLF - Windows, DOS, OS/2, CP/M, TOS";
const WideString kOtherItem = u"LF - Unix, Linux, Mac OS X, AmigaOS, BSD";

using TypedInput = FormFixture;

TEST_F(TypedInput, ANarrowComboBoxShowsTheStartOfItsText) {
    struct Case {
        const char* how;
        std::function<void(TComboBox*)> arrive;
    };
    const Case cases[] = {
        {"text set", [](TComboBox* b) { b->SetText(kOtherItem); }},
        {"item index set", [](TComboBox* b) { b->SetItemIndex(1); }},
        {"items added, text kept",
         [](TComboBox* b) {
             b->SetText(kOtherItem);
             b->Items().Add(u"CR - Mac OS");
         }},
        {"item chosen with the arrow key",
         [](TComboBox* b) {
             b->SetFocus();
             PressKey(b->Widget(), Qt::Key_Down, QString());
         }},
    };
    for (const Case& c : cases) {
        auto* box = Make<TComboBox>();
        box->SetBounds(10, 10, 120, 21);
        box->Items().Add(kLongItem);
        box->Items().Add(kOtherItem);
        box->SetItemIndex(0);
        form->Show();
        QApplication::processEvents();
        c.arrive(box);
        QApplication::processEvents();
        EXPECT_EQ(box->Text(), kOtherItem) << c.how;
        EXPECT_EQ(FirstShownPosition(box), 0) << c.how;
        box->Free();
    }
}

TEST_F(TypedInput, TypingAtTheEndOfANarrowComboBoxShowsWhatIsTyped) {
    auto* box = Make<TComboBox>();
    box->SetBounds(10, 10, 120, 21);
    box->SetText(kLongItem);
    form->Show();
    box->SetFocus();
    PressKey(box->Widget(), Qt::Key_End, QString());
    TypeChar(box, QStringLiteral("x"));
    EXPECT_EQ(box->Text(), kLongItem + u"x");
    EXPECT_GT(FirstShownPosition(box), 0);
}

TEST_F(TypedInput, ARefusedCharacterAnsweredWithAMessageNeverLands) {
    auto* edit = Make<TEdit>();
    edit->SetBounds(10, 10, 200, 21);
    form->Show();
    edit->SetFocus();
    int messages = 0;
    edit->OnKeyPress = [&](TObject*, WideChar& Key) {
        if (Key != u'*') return;
        Key = 0;
        Application->MessageBox(u"not allowed", u"Quorbel", MB_OK);
    };
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        ++messages;
        EXPECT_EQ(r.Kind, TModalKind::MessageBox);
        // A message window opening over the field takes the mouse from it.
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(edit->Widget(), &leave);
        return IDOK;
    });
    for (const char* typed : {"a", "*", "b", "*", "c"})
        TypeChar(edit, QString::fromLatin1(typed));
    EXPECT_EQ(edit->Text(), u"abc");
    EXPECT_EQ(messages, 2);
}

// A screen reader reads controls through Qt's accessibility layer, which must forget a
// control's widget when the control is freed (a later widget may take its place).
TEST_F(TypedInput, AFreedControlIsForgottenByTheAccessibilityLayer) {
    auto* edit = Make<TEdit>();
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(edit->Widget());
    ASSERT_TRUE(read);
    const QAccessible::Id id = QAccessible::uniqueId(read);
    edit->Free();
    EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr);
}

// Another window taking the input (a message box a key filter opens, another program) is
// no exit from the field: its OnExit runs when its own window gives the focus to another
// control, and its OnEnter not again when the input comes back.
TEST_F(TypedInput, AnotherWindowTakingTheInputIsNoExitFromTheField) {
    auto* field = Make<TEdit>();
    auto* other = Make<TEdit>();
    field->SetBounds(10, 10, 200, 21);
    other->SetBounds(10, 40, 200, 21);
    std::vector<std::string> events;
    field->OnEnter = [&](TObject*) { events.push_back("enter"); };
    field->OnExit = [&](TObject*) { events.push_back("exit"); };
    field->OnKeyPress = [&](TObject*, WideChar& Key) {
        if (Key != u'*') return;
        Key = 0;
        Application->MessageBox(u"not allowed", u"Quorbel", MB_OK);
    };
    QWidget message; // the message window, as the window system shows it
    ScopedModalInterceptor answer([&](TModalRequest&) {
        message.show();
        message.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&message, 2000));
        message.hide();
        form->Widget()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form->Widget(), 2000));
        return IDOK;
    });
    form->Show();
    ClickWidgetAt(field->Widget(), field->Widget()->rect().center());
    TypeKeys(form->Widget(), QStringLiteral("a*b"));
    EXPECT_EQ(field->Text(), u"ab");
    EXPECT_EQ(events, std::vector<std::string>{"enter"});
    // Away to another window and back onto the other field: the field leaves now.
    message.show();
    message.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&message, 2000));
    message.hide();
    ClickWidgetAt(other->Widget(), other->Widget()->rect().center());
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "exit"}));
}

} // namespace
