// "Open Folder with Files.." as a person uses it: the real folder dialog opens on the folder
// of the input field with that folder's name selected in its name field, so a whole path
// typed over it and Enter choose that path, and its files are added.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>
#include <memory>
#include <utility>

#include "platform/QtStrings.h"
#include "support/ModalInterceptor.h"
#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"
#include "support/WhenShown.h"

namespace {

// The folder field names Preset; the folder dialog is opened from the file menu and Typed is
// typed into it with Enter. Returns the text selected in the name field when it opened.
QString ChooseByTyping(Tprog& P, const QString& Typed) {
    QString selectedOnOpening = "(the dialog did not open)";
    WhenModalShown<QFileDialog>([&](QFileDialog* dialog) {
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->isActiveWindow(); }, 5000));
        selectedOnOpening = name->hasFocus() ? name->selectedText() : "(no focus)";
        // A refused path keeps the dialog open with a message: both are closed, as is a
        // dialog still open after 10 seconds.
        auto* refused = new QTimer(dialog);
        auto ticks = std::make_shared<int>(0);
        QObject::connect(refused, &QTimer::timeout, [dialog, ticks] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal != dialog) modal->close();
            if ((modal && modal != dialog) || ++*ticks > 200) dialog->reject();
        });
        refused->start(50);
        TypeKeys(name, Typed + "\r");
    });
    ChooseMenuItem(P.m_datei_ordner);
    return selectedOnOpening;
}

TEST(FolderChooserByHand, ATypedPathReplacesThePresetFolderName) {
    ScopedModalInterceptor realDialogs{TModalInterceptor()};
    TempFolder folder;
    folder.Write("preset/a.txt", "a");
    folder.Write("typed/b.txt", "b");
    const QString preset = QString::fromStdString(folder.P("preset").string());
    const QString typed = QString::fromStdString(folder.P("typed").string());
    ProgramWindows windows;
    windows.ShowAsStarted();
    Tprog& p = windows.Working();
    TypeInto(p.inp_ordner, preset); // no Enter: the field only names the folder
    ASSERT_EQ(p.qulist->Items().Count(), 0);
    // The second time the dialog knows the folders already.
    for (const auto& [from, to] : {std::pair{preset, typed}, std::pair{typed, preset}}) {
        SCOPED_TRACE(to.toStdString());
        ASSERT_EQ(Q(p.inp_ordner->Text()), from);
        EXPECT_EQ(ChooseByTyping(p, to), QFileInfo(from).fileName());
        EXPECT_EQ(Q(p.inp_ordner->Text()), to);
    }
    ASSERT_EQ(p.qulist->Items().Count(), 2);
    EXPECT_EQ(U8(p.qulist->Items().Item(0)->Caption()), "b.txt");
    EXPECT_EQ(U8(p.qulist->Items().Item(1)->Caption()), "a.txt");
}

} // namespace
