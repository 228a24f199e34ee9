#include "platform/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

#include "Imports/UCodeDialogs.h"
#include "platform/Clipbrd.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "support/ModalInterceptor.h"
#include "support/WidgetInput.h"
#include "support/WindowInput.h"

namespace {

TEST(FileDialogs, MultiSelectReturnsEveryNonAsciiPath) {
    TOpenDialog dlg(nullptr);
    dlg.SetTitle(u"Öffnen");
    dlg.SetFilter(u"Texte|*.txt;*.log|Alle|*.*");
    dlg.Options |= ofAllowMultiSelect | ofFileMustExist;
    TModalRequest seen;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        seen = r;
        r.Answer = WideString(u"/tmp/Ωmega.txt") + u'\0' + u"/tmp/日本語 😀.log" + u'\0';
        return 1;
    });
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(seen.Kind, TModalKind::OpenFile);
    EXPECT_EQ(seen.Caption, u"Öffnen");
    EXPECT_TRUE(seen.Flags & ofAllowMultiSelect);
    ASSERT_EQ(dlg.Files().Count(), 2);
    EXPECT_EQ(dlg.Files().Get(0), u"/tmp/Ωmega.txt");
    EXPECT_EQ(dlg.Files().Get(1), u"/tmp/日本語 😀.log");
    EXPECT_EQ(dlg.FileName(), u"/tmp/Ωmega.txt");
}

// Chooses the name in the open file window and presses Return in its file-name field.
void ChooseInFileWindow(const QString& name) {
    auto* window = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(window, nullptr);
    auto* field = window->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(field, nullptr);
    window->selectFile(name);
    PressKey(field, Qt::Key_Return, QStringLiteral("\r"));
}

TEST(FileDialogs, TheWindowStaysOpenWhileOnCanCloseRefuses) {
    QTemporaryDir folder;
    for (const char* name : {"first.txt", "second.txt"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ScopedModalInterceptor realWindow(nullptr);
    TOpenDialog dlg(nullptr);
    dlg.Options |= ofFileMustExist;
    dlg.SetInitialDir(folder.path().toStdU16String());
    std::vector<WideString> asked;
    dlg.OnCanClose = [&](TObject*, bool& canClose) {
        asked.push_back(dlg.FileName());
        canClose = asked.size() > 1;
    };
    bool refusedWindowStayed = false;
    QTimer::singleShot(0, [&] {
        ChooseInFileWindow("first.txt");
        refusedWindowStayed = QApplication::activeModalWidget() != nullptr;
        ChooseInFileWindow("second.txt");
    });
    QTimer::singleShot(5000, [] { // never hang: a window still open is closed
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    ASSERT_TRUE(dlg.Execute());
    EXPECT_TRUE(refusedWindowStayed);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], folder.filePath("first.txt").toStdU16String());
    EXPECT_EQ(dlg.FileName(), folder.filePath("second.txt").toStdU16String());
    EXPECT_EQ(dlg.Files().Count(), 1);
}

TEST(FileDialogs, AnswersThatMayNotCloseAreAskedForAgain) {
    TOpenDialog dlg(nullptr);
    dlg.SetFileName(u"/old.txt");
    int requests = 0;
    dlg.OnCanClose = [&](TObject*, bool& canClose) { canClose = dlg.FileName() == u"/b.txt"; };
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        ++requests;
        EXPECT_EQ(r.Text, u"/old.txt"); // a refused name is forgotten again
        r.Answer = requests == 1 ? u"/a.txt" : u"/b.txt";
        return 1;
    });
    ASSERT_TRUE(dlg.Execute());
    EXPECT_EQ(requests, 2);
    EXPECT_EQ(dlg.FileName(), u"/b.txt");
}

TEST(FileDialogs, CancelNamesDefaultExtensionAndInitialDir) {
    struct Case {
        const char16_t* initialDir;
        const char16_t* defaultExt;
        const char16_t* answer;
        int result;
        bool ok;
        const char16_t* fileName;
        bool extDifferent;
    } cases[] = {
        {u"/data/", u"qvr", u"profile", 1, true, u"/data/profile.qvr", false},
        {u"/data/", u".qvr", u"profile", 1, true, u"/data/profile.qvr", false}, // one dot
        {u"/data/", u".qvr", u"p.QVR", 1, true, u"/data/p.QVR", false},
        {u"/data", u"qvr", u"/x/a.txt", 1, true, u"/x/a.txt", true},
        {u"/", u"", u"b.TXT", 1, true, u"/b.TXT", false}, // default from the present name
        {u"/data", u"", u"plain", 1, true, u"/data/plain.txt", false},
        {u"/data", u"qvr", u"ignored", 0, false, u"/old/name.txt", false},
        {u"/data", u"qvr", u"", 1, false, u"/old/name.txt", false}, // no name is no success
    };
    for (const Case& c : cases) {
        TSaveDialog dlg(nullptr);
        dlg.SetInitialDir(c.initialDir);
        dlg.SetDefaultExt(c.defaultExt);
        dlg.SetFileName(u"/old/name.txt");
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            EXPECT_EQ(r.Kind, TModalKind::SaveFile);
            EXPECT_EQ(r.Text, u"/old/name.txt");
            r.Answer = c.answer;
            return c.result;
        });
        EXPECT_EQ(dlg.Execute(), c.ok) << U8(c.answer);
        EXPECT_EQ(dlg.FileName(), c.fileName) << U8(c.answer);
        if (c.ok) {
            EXPECT_EQ((dlg.Options & ofExtensionDifferent) != 0, c.extDifferent);
        }
    }
    TOpenDialog dlg(nullptr);
    dlg.SetInitialDir(u"/a/b/");
    EXPECT_EQ(dlg.InitialDir(), u"/a/b");
    dlg.SetInitialDir(u"/");
    EXPECT_EQ(dlg.InitialDir(), u"/");
    EXPECT_EQ(QtNameFilters(u"Texte|*.txt;*.log|Alle|*.*"),
              (QStringList{"Texte (*.txt *.log)", "Alle (*.*)"}));
}

TEST(FontAndColorDialogs, AnswersComeBack) {
    TFontDialog fd(nullptr);
    fd.Font()->SetName(u"Sans");
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        if (r.Kind == TModalKind::Font) {
            EXPECT_EQ(r.Text, u"Sans");
            r.Answer = u"Serif\n14\n3\n255";
            return 1;
        }
        EXPECT_EQ(r.Kind, TModalKind::Color);
        EXPECT_EQ(r.Answer, u"#000000");
        r.Answer = u"#102030";
        return 1;
    });
    ASSERT_TRUE(fd.Execute());
    EXPECT_EQ(fd.Font()->Name(), u"Serif");
    EXPECT_EQ(fd.Font()->Size(), 14);
    EXPECT_EQ(fd.Font()->Style(), fsBold | fsItalic);
    EXPECT_EQ(fd.Font()->Color(), clRed);
    TColorDialog cd(nullptr);
    ASSERT_TRUE(cd.Execute());
    EXPECT_EQ(cd.Color, RGB(0x10, 0x20, 0x30));
}

// The real font and colour dialogs open over the window the user works in, so that a
// window staying on top of the others never hides them.
TEST(FontAndColorDialogs, OpenOverTheActiveWindow) {
    auto* form = new TForm(nullptr);
    form->SetFormStyle(fsStayOnTop);
    form->Show();
    form->Widget()->activateWindow();
    QApplication::setActiveWindow(form->Widget());
    QApplication::processEvents();
    ASSERT_EQ(Screen->ActiveForm(), form);
    ScopedModalInterceptor realDialogs{TModalInterceptor()};
    TFontDialog fd(nullptr);
    TColorDialog cd(nullptr);
    const std::function<bool()> runs[] = {[&] { return fd.Execute(); },
                                          [&] { return cd.Execute(); }};
    for (const auto& run : runs) {
        QWidget* owner = nullptr;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            owner = dialog->parentWidget();
            dialog->close();
        });
        EXPECT_FALSE(run());
        EXPECT_EQ(owner, form->Widget());
    }
    form->Free();
}

// Every kind of box raised while a window that stays on top is active comes up above that
// window with the focus, and a click on its button ends it; so does a box that comes right
// after a run showed its progress window from a window that does not stay on top, before
// the window system has activated the progress window.
TEST(MessageBoxes, ComeUpOverAnActiveWindowThatStaysOnTop) {
    auto* form = new TForm(nullptr);
    form->SetFormStyle(fsStayOnTop);
    auto* working = new TForm(nullptr);
    working->Show();
    ScopedModalInterceptor realBoxes{TModalInterceptor()};
    auto* question = new TForm(nullptr);
    auto* yes = new TButton(question);
    yes->SetParent(question);
    yes->ModalResult = mrYes;
    const std::pair<const char*, std::function<void()>> boxes[] = {
        {"application message box",
         [] { Application->MessageBox(u"Fehler", u"Quorbel", MB_OK | MB_ICONERROR); }},
        {"message dialog", [] { WideMessageDlg(u"Frage?", mtConfirmation, mbYesNoCancel, 0); }},
        {"modal window", [question] { question->ShowModal(); }},
    };
    for (const bool progress : {false, true})
        for (const auto& [name, raise] : boxes) {
            SCOPED_TRACE(std::string(name) + (progress ? " after the progress window" : ""));
            form->SetVisible(!progress);
            window_input::ActiveWindowOf(progress ? working->Widget() : form->Widget());
            QWindow* over = nullptr;
            bool focused = false, clicked = false, guardClosed = false;
            QTimer::singleShot(0, [&] {
                QWidget* box = QApplication::activeModalWidget();
                ASSERT_NE(box, nullptr);
                over = box->windowHandle() ? box->windowHandle()->transientParent() : nullptr;
                focused = QTest::qWaitFor(
                    [box] { return box->isAncestorOf(QApplication::focusWidget()); }, 1000);
                auto* button = box->findChild<QAbstractButton*>();
                ASSERT_NE(button, nullptr);
                ClickWidgetAt(button, button->rect().center());
                clicked = true;
            });
            QTimer guard;
            guard.setSingleShot(true);
            QObject::connect(&guard, &QTimer::timeout, [&guardClosed] {
                guardClosed = true;
                if (QWidget* box = QApplication::activeModalWidget()) box->close();
            });
            guard.start(5000);
            if (progress) form->Show();
            raise();
            EXPECT_EQ(over, form->Widget()->windowHandle());
            EXPECT_TRUE(focused);
            EXPECT_TRUE(clicked && !guardClosed) << "the click did not end the box";
        }
    question->Free();
    working->Free();
    form->Free();
}

// The window a box or file dialog belongs to may go while it is open (a handler frees it):
// the box goes with it and counts as cancelled.
TEST(MessageBoxes, AWindowFreedUnderItsBoxOrFileDialogTakesItAlong) {
    auto* form = new TForm(nullptr);
    form->Show();
    window_input::ActiveWindowOf(form->Widget());
    ScopedModalInterceptor realBoxes{TModalInterceptor()};
    QTimer::singleShot(0, [form] { form->Free(); });
    EXPECT_EQ(Application->MessageBox(u"Frage?", u"Quorbel", MB_OKCANCEL), IDCANCEL);
    form = new TForm(nullptr);
    form->Show();
    window_input::ActiveWindowOf(form->Widget());
    QTimer::singleShot(0, [form] { form->Free(); });
    TSaveDialog save(nullptr);
    EXPECT_FALSE(save.Execute());
}

TEST(MessageDialog, CaptionsButtonsAndCtrlCText) {
    EXPECT_EQ(GetMessageCaption(mtWarning), u"Warning");
    EXPECT_EQ(GetMessageCaption(mtConfirmation), u"Confirm");
    EXPECT_EQ(GetButtonCaption(mbNoToAll), u"N&o to All");
    EXPECT_THROW(GetMessageCaption(9), Exception);
    EXPECT_THROW(GetButtonCaption(11), Exception);

    Clipboard()->Clear();
    int shown = 0;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        ++shown;
        EXPECT_EQ(r.Kind, TModalKind::Form);
        EXPECT_EQ(r.Caption, u"Confirm");
        auto* label = dynamic_cast<TLabel*>(r.Form->FindComponent(u"Message"));
        EXPECT_NE(label, nullptr);
        if (label) {
            EXPECT_EQ(label->Caption(), u"Datei ersetzen? Ω");
        }
        EXPECT_NE(r.Form->FindComponent(u"Image"), nullptr);
        auto* no = dynamic_cast<TButton*>(r.Form->FindComponent(u"No"));
        EXPECT_NE(no, nullptr);
        PressKey(r.Form->Widget(), Qt::Key_C, "c", Qt::ControlModifier);
        if (no) no->Click();
        return 0;
    });
    EXPECT_EQ(WideMessageDlg(u"Datei ersetzen? Ω", mtConfirmation, mbYesNo), mrNo);
    EXPECT_EQ(shown, 1);
    const WideString d = WideString(27, u'-') + u"\r\n";
    EXPECT_EQ(Clipboard()->AsWideText(),
              d + u"Confirm\r\n" + d + u"Datei ersetzen? Ω\r\n" + d + u"Yes   No   \r\n" + d);
}

TEST(MessageDialog, ShowMessageIsACustomDialogWithOneOkButton) {
    TApplication* app = Application;
    WideString title = app->Title();
    app->SetTitle(u"Quorbel");
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        EXPECT_EQ(r.Caption, u"Quorbel");
        EXPECT_EQ(r.Form->FindComponent(u"Image"), nullptr);
        EXPECT_NE(r.Form->FindComponent(u"OK"), nullptr);
        EXPECT_EQ(r.Form->FindComponent(u"Cancel"), nullptr);
        return mrOk;
    });
    ShowMessage(u"Fertig");
    app->SetTitle(title);
}

TEST(Clipboard, WideTextAndFileListsRoundTrip) {
    Clipboard()->SetAsWideText(u"Ω😀");
    EXPECT_EQ(Clipboard()->AsWideText(), u"Ω😀");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_HDROP));
    Clipboard()->SetFiles({u"/tmp/a b.txt", u"/tmp/Ω.txt"});
    EXPECT_TRUE(Clipboard()->HasFormat(CF_HDROP));
    EXPECT_EQ(Clipboard()->Files(), (TWideStrArray{u"/tmp/a b.txt", u"/tmp/Ω.txt"}));
    Clipboard()->Clear();
    EXPECT_EQ(Clipboard()->AsWideText(), u"");
}

} // namespace
