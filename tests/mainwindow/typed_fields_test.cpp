// Fields of the working window and the renaming tool as a person types into them: a whole
// folder path, "/" and all, lands in every folder field and Enter adds the folder where
// Enter means that; a refused character never lands (also while its message window is
// open) and the keys typed after it do; the line-break kind to convert to is chosen from its
// list only, shows the start of its name, and a configuration keeps the kind chosen; a box
// scrolled to the end of a long text shows its start again when the focus leaves it.
#include <QTemporaryDir>
#include <functional>

#include "ProgTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/u_dateinamenumbenenner.h"
#include "support/ModalInterceptor.h"
#include "support/ShownText.h"
#include "support/TempFolder.h"
#include "support/WidgetInput.h"
#include "support/WindowInput.h"
#include "text/TextEncodings.h"

namespace {

class TypedFieldsTest : public ProgTest {
protected:
    void SetUp() override {
        ProgTest::SetUp();
        renamer = new Tdateinamenumbenenner(Application);
        renamer->DoCreate();
        p->SetBounds(0, 0, 900, 800);
        p->Show();
        folder.Write("sub dir/a.txt", "a");
        folder.Write("sub dir/b.txt", "b");
    }
    void TearDown() override {
        renamer->Free();
        ProgTest::TearDown();
    }
    // Types the text key by key into the control's widget.
    static void Type(TWinControl* Field, const WideString& Text) {
        for (WideChar c : Text)
            TypeChar(Field, QString(QChar(c)));
    }
    // The messages shown while Action runs, each answered with OK. A message window opening
    // over the field takes the mouse from it, as the window system does.
    std::vector<WideString> messagesOf(TWinControl* Field, const std::function<void()>& Action) {
        std::vector<WideString> shown;
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(Field->Widget(), &leave);
            shown.push_back(r.Form ? box->Label1->Caption() : r.Text);
            return IDOK;
        });
        Action();
        return shown;
    }

    ScopedLanguage english{u"en"};
    Tdateinamenumbenenner* renamer = nullptr;
    TempFolder folder{"typed-fields"};
};

TEST_F(TypedFieldsTest, FolderFieldsTakeATypedPathAndRefuseOnlyWhatNoNameHolds) {
    const WideString path = folder.W("sub dir");
    const WideString refusedMessage = u"The following characters are not allowed in file "
                                      u"names:\r\n?, |, <, >, /, :, \", * and \\";
    struct Field {
        const char* name;
        TWinControl* control;
        std::function<int()> rowsAdded; // null: Enter means nothing here
        bool refusalShowsMessage;
    };
    const Field fields[] = {
        {"inp_ordner", p->inp_ordner, [&] { return p->qulist->Items().Count(); }, false},
        {"out_ordner", p->out_ordner, nullptr, true},
        {"quordner", renamer->quordner, [&] { return renamer->qulist->Items().Count(); }, false},
    };
    for (const Field& f : fields) {
        if (f.control == renamer->quordner) renamer->Show();
        f.control->SetFocus();
        EXPECT_TRUE(messagesOf(f.control, [&] { Type(f.control, path); }).empty()) << f.name;
        EXPECT_EQ(f.control->Text(), path) << f.name;
        if (f.rowsAdded) {
            EXPECT_TRUE(messagesOf(f.control,
                                   [&] {
                                       PressKey(f.control->Widget(), Qt::Key_Return,
                                                QStringLiteral("\r"));
                                   })
                            .empty())
                << f.name;
            EXPECT_EQ(f.rowsAdded(), 2) << f.name;
        }
        // The characters no name may hold are refused; those typed after them land.
        for (const char16_t* refused : {u"*", u"?", u"|", u"<", u">", u"\""}) {
            const std::vector<WideString> shown =
                messagesOf(f.control, [&] { Type(f.control, refused); });
            EXPECT_EQ(shown, f.refusalShowsMessage ? std::vector<WideString>{refusedMessage}
                                                   : std::vector<WideString>{})
                << f.name << " " << U8(refused);
        }
        Type(f.control, u"x");
        EXPECT_EQ(f.control->Text(), path + u"x") << f.name;
    }
    // A folder that does not exist is named in the renaming tool's message, "/" and all.
    renamer->quordner->SetText(WideString());
    Type(renamer->quordner, u"/no/such folder");
    EXPECT_EQ(messagesOf(renamer->quordner,
                         [&] {
                             PressKey(renamer->quordner->Widget(), Qt::Key_Return,
                                      QStringLiteral("\r"));
                         }),
              std::vector<WideString>{u"False Folder"});
    EXPECT_EQ(box->Label3->Caption(), u"\"/no/such folder\"");
}

TEST_F(TypedFieldsTest, TheLineBreakKindIsChosenFromItsListOnlyAndKeptByAConfiguration) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const WideString config = U16(dir.path().toStdString() + "/kinds.qvr");
    const WideString lf = LineBreakNameW(lbLF);
    TComboBox* box = p->act_newline_neu;
    ClickControl(p->act_newline);
    box->SetFocus();
    ASSERT_EQ(box->Text(), LineBreakNameW(lbCRLF));
    EXPECT_EQ(FirstShownPosition(box), 0); // "CRLF - Windows…", not "…CP/M, TOS"
    // LF is chosen with the arrow key (the box starts with no item selected).
    for (int i = 0; i < 3 && box->Text() != lf; ++i)
        PressKey(box->Widget(), Qt::Key_Down, QString());
    ASSERT_EQ(box->Text(), lf);
    EXPECT_EQ(FirstShownPosition(box), 0);
    // Typed keys, Backspace and Delete change nothing.
    PressKey(box->Widget(), Qt::Key_End, QString());
    Type(box, u"Unix x");
    PressKey(box->Widget(), Qt::Key_Backspace, QStringLiteral("\b"));
    PressKey(box->Widget(), Qt::Key_Home, QString());
    PressKey(box->Widget(), Qt::Key_Delete, QString());
    EXPECT_EQ(box->Text(), lf);

    p->KonfigurationSpeichern(p, config);
    PressKey(box->Widget(), Qt::Key_Up, QString());
    ASSERT_EQ(box->Text(), LineBreakNameW(lbCRLF));
    p->KonfigurationLaden(p, config);
    EXPECT_EQ(box->Text(), lf);
    EXPECT_EQ(FirstShownPosition(box), 0);
    EXPECT_EQ(FirstShownPosition(p->act_newline_alt), 0);
}

// A box whose field was scrolled to the end of a long text while it had the focus shows the
// text's start again once the focus leaves it, by Tab or by a click elsewhere.
TEST_F(TypedFieldsTest, AComboBoxShowsTheStartOfItsTextAgainWhenTheFocusLeaves) {
    const QString longFolder = "/a/folder/with/a/path/far/too/long/for/the/field/of/the/box";
    const QString longName = "%name%-with-a-name-far-too-long-for-the-field-of-the-box-%num%";
    struct Case {
        const char* what;
        TComboBox* box;
        QString typed;
        std::function<void()> leave;
    };
    const Case cases[] = {
        {"folder, Home, End and Tab", p->out_ordner, longFolder,
         [&] {
             PressKeyIn(p->Widget(), Qt::Key_Home);
             PressKeyIn(p->Widget(), Qt::Key_End);
             PressKeyIn(p->Widget(), Qt::Key_Tab);
         }},
        {"name, a click elsewhere", p->out_name, longName, [&] { ClickCentre(p->out_format); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClickCentre(c.box);
        ASSERT_TRUE(QTest::qWaitFor([&] { return c.box->Focused(); }, 2000));
        PressKeyIn(p->Widget(), Qt::Key_A, Qt::ControlModifier); // the typed text replaces all
        TypeKeys(p->Widget(), c.typed);
        ASSERT_EQ(c.box->Text(), c.typed.toStdU16String());
        ASSERT_GT(FirstShownPosition(c.box), 0) << "the field shows the text's start already";
        c.leave();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !c.box->Focused(); }, 2000));
        EXPECT_EQ(FirstShownPosition(c.box), 0);
        EXPECT_EQ(c.box->Text(), c.typed.toStdU16String());
    }
}

} // namespace
