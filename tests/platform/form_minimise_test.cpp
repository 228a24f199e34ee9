// A window that only its own buttons may end (no system menu) cannot be left minimised by
// the window manager: it comes back at once, active, with the focus where it was; other
// windows keep the window manager's minimise, and so does the program's own.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "support/ModalInterceptor.h"
#include "support/WindowInput.h"

namespace {

// Runs the event loop until the condition holds or ten seconds passed.
bool WaitFor(const std::function<bool()>& Cond) {
    QElapsedTimer t;
    t.start();
    while (!Cond() && t.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return Cond();
}

// Runs the event loop for a while (to see that nothing more happens).
void Settle() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 200)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// A question like the overwrite question: "Ja" and "Abbrechen", the focus on "Abbrechen".
struct Question : TForm {
    TButton* yes = new TButton(this);
    TButton* cancel = new TButton(this);
    explicit Question(TBorderIcons Icons, TBorderStyle Style = bsDialog) : TForm(nullptr) {
        SetBorderStyle(Style);
        SetBorderIcons(Icons);
        SetBounds(300, 200, 300, 120);
        yes->SetParent(this);
        yes->SetBounds(10, 60, 80, 25);
        yes->SetCaption(u"Ja");
        yes->ModalResult = mrYes;
        cancel->SetParent(this);
        cancel->SetBounds(100, 60, 80, 25);
        cancel->SetCaption(u"Abbrechen");
        cancel->ModalResult = mrCancel;
        OnShow = [this](TObject*) { SetActiveControl(cancel); };
    }
};

// How the window manager's minimise reaches the program.
void MinimiseFromOutside(TForm* Form) {
    Form->Widget()->setWindowState(Form->Widget()->windowState() | Qt::WindowMinimized);
}

TEST(FormMinimise, OnlyAWindowWithoutSystemMenuComesBackFromTheWindowManagersMinimise) {
    struct Row {
        const char* what;
        TBorderIcons icons;
        TBorderStyle style;
        TWindowState before;
        std::function<void(TForm*)> minimise;
        TWindowState after;
    };
    const Row rows[] = {
        {"no system menu", 0, bsDialog, wsNormal, MinimiseFromOutside, wsNormal},
        {"no system menu, maximised", biMinimize | biMaximize, bsSizeable, wsMaximized,
         MinimiseFromOutside, wsMaximized},
        {"with system menu", biSystemMenu, bsDialog, wsNormal, MinimiseFromOutside, wsMinimized},
        {"tool window", biSystemMenu, bsToolWindow, wsNormal, MinimiseFromOutside, wsMinimized},
        {"no system menu, minimised by the program", 0, bsDialog, wsNormal,
         [](TForm* Form) { Form->SetWindowState(wsMinimized); }, wsMinimized},
    };
    auto* main = new TForm(nullptr);
    main->Show();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Question form(row.icons, row.style);
        form.SetWindowState(row.before);
        form.Show();
        ASSERT_TRUE(WaitFor([&] { return form.Active(); }));
        row.minimise(&form);
        main->Widget()->activateWindow(); // the input goes elsewhere meanwhile
        EXPECT_TRUE(WaitFor([&] { return form.WindowState() == row.after; }));
        Settle();
        EXPECT_EQ(form.WindowState(), row.after);
        EXPECT_TRUE(form.Visible());
        if (row.after == wsMinimized) {
            EXPECT_TRUE(form.Widget()->isMinimized());
            continue;
        }
        EXPECT_FALSE(form.Widget()->isMinimized());
        EXPECT_EQ(form.Widget()->isMaximized(), row.after == wsMaximized);
        EXPECT_TRUE(WaitFor([&] { return form.Active(); }));
        EXPECT_EQ(form.ActiveControl(), form.cancel);
        EXPECT_EQ(QApplication::focusWidget(), form.cancel->Widget());
    }
    main->Free();
}

TEST(FormMinimise, AModalQuestionComesBackOnItsCancelButtonAndEnterAnswersIt) {
    ScopedModalInterceptor real(TModalInterceptor{});
    auto* main = new TForm(nullptr);
    main->Show();
    Question question(0);
    int minimised = 0;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(WaitFor([&] { return question.Active(); }));
        // Twice in a row, each time with the answer still open.
        for (int i = 0; i < 2; ++i) {
            MinimiseFromOutside(&question);
            minimised += question.Widget()->isMinimized();
            EXPECT_TRUE(WaitFor([&] {
                return !question.Widget()->isMinimized() && question.Active() &&
                       QApplication::focusWidget() == question.cancel->Widget();
            }));
        }
        // Enter goes to the focused button; anything else ends the question with its "Ja".
        PressKeyIn(question.Widget(), Qt::Key_Return);
    });
    EXPECT_EQ(question.ShowModal(), mrCancel);
    EXPECT_EQ(minimised, 2);
    EXPECT_FALSE(question.Visible());
    main->Free();
}

TEST(FormMinimise, AWindowHiddenWhileMinimisedStaysHiddenAndShowsNormalNextTime) {
    Question form(0);
    form.Show();
    ASSERT_TRUE(WaitFor([&] { return form.Active(); }));
    MinimiseFromOutside(&form);
    form.Hide(); // answered before the window could come back
    Settle();
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Widget()->isVisible());
    form.Show();
    EXPECT_FALSE(form.Widget()->isMinimized());
    EXPECT_EQ(form.WindowState(), wsNormal);
}

} // namespace
