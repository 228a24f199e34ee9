// The keyed message box as F3 raises it without a start configuration, in German and in
// English: every line is shown whole inside the window, whatever the width of the font.
// Screenshots go to <build>/screenshots/mainwindow/f3-message-<language>.png.
#include <gtest/gtest.h>

#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QMimeData>
#include <QUrl>
#include <string>
#include <vector>

#include "dialogs/u_sm_meldung.h"
#include "platform/QtStrings.h"
#include "support/ModalInterceptor.h"
#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"

namespace {

TEST(MessageBoxByHand, TheStartConfigurationMessageShowsEveryLineWhole) {
    QDir().mkpath(QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/mainwindow"));
    for (const char16_t* language : {u"de", u"en"}) {
        const QString code = QString::fromStdU16String(language);
        SCOPED_TRACE(code.toStdString());
        TempFolder folder; // a program folder without Auto.qvr
        ProgramWindows windows(language);
        windows.ShowAsStarted();
        Tprog& p = windows.Working();
        ProgramState state(folder.W());
        p.SetRunState(&state);
        auto& box = windows.Window<Tsm_meldung>();
        int shown = 0;
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            if (r.Form != &box) return int(mrCancel);
            ++shown;
            for (TLabel* label : {box.Label1, box.Label2, box.Label3, box.Label4}) {
                SCOPED_TRACE(U8(label->Caption()));
                const QFontMetrics fm(label->Widget()->font());
                const int needed = fm.horizontalAdvance(Q(label->Caption()));
                EXPECT_GE(label->Width(), needed) << "the line is cut";
                EXPECT_LE(label->Left() + label->Width(), box.ClientWidth());
                EXPECT_GE(label->Widget()->height(), fm.height());
            }
            for (TButton* b : {box.OK, box.OKalle})
                EXPECT_LE(b->Left() + b->Width(), box.ClientWidth());
            EXPECT_TRUE(box.Widget()->grab().save(
                QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/mainwindow/f3-message-%1.png")
                    .arg(code)));
            ClickCentre(box.OK);
            return int(box.ModalResult());
        });
        PressKeyIn(p.Widget(), Qt::Key_F3);
        EXPECT_EQ(shown, 1);
        p.SetRunState(&windows.State());
    }
}

// The two files dropped from a file manager onto the input list.
void DropFiles(Tprog& P, const std::vector<std::string>& Paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : Paths)
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
    data.setUrls(urls);
    QWidget* target = P.qulist->Tree()->viewport();
    const QPoint at(20, 20);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// Enter answers a fresh message with its default button OK, also after "OK for all" was
// clicked in an earlier series: files dropped again show the message once per file.
TEST(MessageBoxByHand, EnterOnAFreshMessageIsOk) {
    TempFolder folder;
    folder.Write("a.txt", "a\n");
    folder.Write("b.txt", "b\n");
    const std::vector<std::string> files = {(folder.Path() / "a.txt").string(),
                                            (folder.Path() / "b.txt").string()};
    ProgramWindows windows;
    windows.ShowAsStarted();
    Tprog& p = windows.Working();
    auto& box = windows.Window<Tsm_meldung>();
    DropFiles(p, files);
    ASSERT_EQ(p.qulist->Items().Count(), 2);
    int shown = 0;
    {
        ScopedModalInterceptor okForAll([&](TModalRequest& r) {
            if (r.Form != &box) return int(mrCancel);
            ++shown;
            ClickCentre(box.OKalle);
            return int(box.ModalResult());
        });
        DropFiles(p, files);
    }
    EXPECT_EQ(shown, 1);
    shown = 0;
    std::vector<WideString> focused;
    ScopedModalInterceptor enter([&](TModalRequest& r) {
        if (r.Form != &box) return int(mrCancel);
        ++shown;
        EXPECT_TRUE(QTest::qWaitFor(
            [&box] { return QGuiApplication::focusWindow() == box.Widget()->windowHandle(); },
            2000));
        focused.push_back(box.ActiveControl() ? box.ActiveControl()->Name() : u"");
        PressKeyIn(box.Widget(), Qt::Key_Return);
        return int(box.ModalResult());
    });
    DropFiles(p, files);
    EXPECT_EQ(focused, (std::vector<WideString>{u"OK", u"OK"}));
    EXPECT_EQ(shown, 2);
}

} // namespace
