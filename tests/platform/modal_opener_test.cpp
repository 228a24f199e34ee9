// A box opened from a tool window gives the input back to that tool window when it closes,
// whatever window the window system activated meanwhile: the tool is active again and the
// control that had the focus has it again, and the tool stands where and as it stood, also
// when it left the top for the box. A window hidden or disabled meanwhile stays so, and a
// progress window shown just before the box is the one that comes back.
#include "platform/ModalOpener.h"

#include <QApplication>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "platform/Dialogs.h"
#include "platform/ShellServices.h"
#include "platform/StdCtrls.h"
#include "support/ModalInterceptor.h"
#include "support/WindowInput.h"

namespace {

bool ActiveSoon(TForm* Form) {
    return QTest::qWaitFor([Form] { return QApplication::activeWindow() == Form->Widget(); }, 2000);
}

// A main window and a tool window with a field and a default button; the box opens when
// Enter is pressed in the field.
struct TwoWindows {
    TForm* main = new TForm(nullptr);
    TForm* tool = new TForm(nullptr);
    TEdit* field = new TEdit(tool);
    TButton* open = new TButton(tool);
    TwoWindows() {
        main->SetBounds(100, 100, 500, 400);
        tool->SetBorderStyle(bsToolWindow);
        tool->SetFormStyle(fsStayOnTop);
        tool->SetBounds(200, 150, 300, 120);
        for (TWinControl* c : {static_cast<TWinControl*>(field), static_cast<TWinControl*>(open)})
            c->SetParent(tool);
        field->SetBounds(10, 10, 200, 24);
        open->SetBounds(10, 50, 90, 25);
        open->SetDefault(true);
        main->Show();
        tool->Show();
    }
    ~TwoWindows() {
        tool->Free();
        main->Free();
    }
    // Enter in the field opens the box through the default button.
    void OpenBoxWithEnter(std::function<void()> Box) {
        open->OnClick = [Box](TObject*) { Box(); };
        ClickCentre(field);
        PressKeyIn(field->Widget(), Qt::Key_Return);
    }
    // What the window system may do while the box is open: activate the main window.
    void MainTakesTheInput() {
        main->Widget()->activateWindow();
        EXPECT_TRUE(ActiveSoon(main));
    }
};

// Notes when a window is taken off the screen.
struct LeftTheScreen : QObject {
    bool ever = false;
    explicit LeftTheScreen(QWidget* Window) { Window->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* Event) override {
        ever = ever || Event->type() == QEvent::Hide;
        return false;
    }
};

TEST(ModalOpener, EveryKindOfBoxGivesTheInputBackToTheToolWindowAndItsField) {
    struct Row {
        const char* box;
        std::function<void(TForm* Tool)> open;
    };
    const Row rows[] = {
        {"message dialog", [](TForm*) { WideShowMessage(u"Fertig"); }},
        {"message box",
         [](TForm*) { Application->MessageBox(u"'$zz' is not valid", u"Q", MB_OK); }},
        {"message dialog over the tool taken off the top meanwhile",
         [](TForm* Tool) {
             Tool->SetFormStyle(fsNormal);
             WideShowMessage(u"Geben Sie einen Namen an.");
             Tool->SetFormStyle(fsStayOnTop);
         }},
        {"open dialog",
         [](TForm*) {
             TOpenDialog dialog(nullptr);
             dialog.Execute();
         }},
        {"save dialog",
         [](TForm*) {
             TSaveDialog dialog(nullptr);
             dialog.Execute();
         }},
        {"font dialog",
         [](TForm*) {
             TFontDialog dialog(nullptr);
             dialog.Execute();
         }},
        {"colour dialog",
         [](TForm*) {
             TColorDialog dialog(nullptr);
             dialog.Execute();
         }},
        {"folder dialog",
         [](TForm*) {
             WideString folder;
             BrowseForFolderW(u"", u"Ordner", folder);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.box);
        TwoWindows w;
        int asked = 0;
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            ++asked;
            // A box that shows is answered with Enter on its own default button.
            if (r.Form) PressKeyIn(r.Form->Widget(), Qt::Key_Return);
            w.MainTakesTheInput();
            return 0;
        });
        const QRect place = w.tool->Widget()->geometry();
        LeftTheScreen left(w.tool->Widget());
        w.OpenBoxWithEnter([&] { row.open(w.tool); });
        EXPECT_EQ(asked, 1);
        EXPECT_TRUE(ActiveSoon(w.tool));
        EXPECT_EQ(QApplication::focusWidget(), w.field->Widget());
        EXPECT_TRUE(w.main->Visible());
        EXPECT_EQ(w.tool->Widget()->geometry(), place);
        // Taken off the screen and shown again, a window comes back where the window system
        // places it (with frames: where its frame had been its inside) and not active.
        EXPECT_FALSE(left.ever);
        EXPECT_TRUE(w.tool->Widget()->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    }
}

TEST(ModalOpener, AWindowHiddenOrDisabledMeanwhileStaysSoAndNothingElseIsActivated) {
    for (const bool hide : {true, false}) {
        SCOPED_TRACE(hide ? "hidden" : "disabled");
        TwoWindows w;
        int asked = 0;
        ScopedModalInterceptor answer([&](TModalRequest&) {
            ++asked;
            if (hide)
                w.tool->Hide();
            else
                w.tool->SetEnabled(false);
            w.MainTakesTheInput();
            return IDOK;
        });
        w.OpenBoxWithEnter([] { Application->MessageBox(u"Text", u"Q", MB_OK); });
        EXPECT_EQ(asked, 1);
        QApplication::processEvents();
        EXPECT_EQ(w.tool->Widget()->isVisible(), !hide);
        EXPECT_EQ(w.tool->Widget()->isEnabled(), hide);
        EXPECT_TRUE(ActiveSoon(w.main));
    }
}

TEST(ModalOpener, TheProgressWindowShownBeforeAQuestionComesBackAfterIt) {
    // A run: the window it started from is disabled and a progress window shown, and a
    // question comes before the window system has activated the progress window.
    TwoWindows w;
    auto* progress = new TForm(nullptr);
    progress->SetBorderStyle(bsToolWindow);
    progress->SetBounds(250, 200, 200, 80);
    ScopedModalInterceptor answer([&](TModalRequest&) {
        w.MainTakesTheInput();
        return IDOK;
    });
    w.OpenBoxWithEnter([&] {
        w.tool->SetEnabled(false);
        progress->Show();
        Application->MessageBox(u"Datei bereits vorhanden", u"Q", MB_YESNO);
    });
    EXPECT_TRUE(ActiveSoon(progress));
    EXPECT_FALSE(w.tool->Widget()->isEnabled());
    progress->Free();
}

} // namespace
