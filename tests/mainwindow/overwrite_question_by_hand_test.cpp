// The overwrite question as a person meets it in a run over a file that exists already:
// the question comes up with the focus on its cancel button and shows it, Tab walks the
// buttons in the window's own order (and Shift+Tab back), and Enter presses the focused
// button, so a blind Enter never replaces the existing file.
#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <vector>

#include "dialogs/u_sm_achtung.h"
#include "support/ModalInterceptor.h"
#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"

namespace {

// What the button looks like now, focus frame included.
QImage Look(TButton* B) {
    return B->Widget()->grab().toImage();
}

TEST(OverwriteQuestionByHand, EnterOnAFreshQuestionLeavesTheFileAndTabFollowsTheOrder) {
    TempFolder folder;
    folder.Write("brief.txt", "alt\n");
    ProgramWindows windows;
    windows.ShowAsStarted();
    Tprog& p = windows.Working();
    auto& question = windows.Window<Tsm_achtung>();
    TypeInto(p.inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
    ASSERT_EQ(p.qulist->Items().Count(), 1);
    ClickCentre(p.act_ers_text);
    TypeInto(p.act_ers_text_suchen, QStringLiteral("alt"));
    TypeInto(p.act_ers_text_ersetzen, QStringLiteral("neu"));
    ClickCentre(p.durchfuehren);
    ASSERT_EQ(folder.Read("brief-1.txt"), "neu\n");

    for (const char* pass : {"first question", "after a question answered by a click on Yes"}) {
        SCOPED_TRACE(pass);
        folder.Write("brief-1.txt", "schon da\n");
        std::vector<WideString> forward, back;
        TWinControl* focusedAtOpen = nullptr;
        QImage focusedLook, unfocusedLook;
        ScopedModalInterceptor keys([&](TModalRequest& r) {
            if (r.Form != &question) return int(mrCancel);
            QWidget* w = question.Widget();
            // The question takes the focus from the working window it stands above.
            EXPECT_TRUE(QTest::qWaitFor(
                [w] { return QGuiApplication::focusWindow() == w->windowHandle(); }, 2000));
            focusedAtOpen = question.ActiveControl();
            focusedLook = Look(question.Abbrechen);
            for (int i = 0; i < 5; ++i) {
                PressKeyIn(w, Qt::Key_Tab);
                forward.push_back(question.ActiveControl() ? question.ActiveControl()->Name()
                                                           : u"");
            }
            PressKeyIn(w, Qt::Key_Tab);
            unfocusedLook = Look(question.Abbrechen);
            PressKeyIn(w, Qt::Key_Backtab, Qt::ShiftModifier);
            for (int i = 0; i < 5; ++i) {
                PressKeyIn(w, Qt::Key_Backtab, Qt::ShiftModifier);
                back.push_back(question.ActiveControl() ? question.ActiveControl()->Name() : u"");
            }
            PressKeyIn(w, Qt::Key_Return);
            return int(question.ModalResult());
        });
        ClickCentre(p.durchfuehren);
        EXPECT_EQ(focusedAtOpen, question.Abbrechen);
        EXPECT_NE(focusedLook, unfocusedLook) << "the focus is not shown";
        EXPECT_EQ(forward,
                  (std::vector<WideString>{u"OKalle", u"OK", u"Nein", u"NeinAlle", u"Abbrechen"}));
        EXPECT_EQ(back,
                  (std::vector<WideString>{u"NeinAlle", u"Nein", u"OK", u"OKalle", u"Abbrechen"}));
        EXPECT_EQ(question.ModalResult(), mrCancel);
        EXPECT_EQ(folder.Read("brief-1.txt"), "schon da\n");

        ScopedModalInterceptor yes([&](TModalRequest& r) {
            if (r.Form == &question) ClickCentre(question.OK);
            return int(question.ModalResult());
        });
        ClickCentre(p.durchfuehren);
        EXPECT_EQ(folder.Read("brief-1.txt"), "neu\n");
    }
}

} // namespace
