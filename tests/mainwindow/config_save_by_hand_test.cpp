// A configuration and a profile saved as a person saves them: the menu item, (for the
// profile) the save button of the profile window, and a bare name typed into the real file
// dialog. The file gets the configuration extension with one dot and its item in the
// configuration menu.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>

#include "dialogs/u_profilspeichern.h"
#include "support/ModalInterceptor.h"
#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"
#include "support/WhenShown.h"

namespace {

// The open file dialog: Folder typed and Enter (the dialog goes there), then Name and Enter.
void TypeIntoFileDialog(const QString& Folder, const QString& Name) {
    WhenModalShown<QFileDialog>([Folder, Name](QFileDialog* dialog) {
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(field, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([dialog] { return dialog->isActiveWindow(); }, 2000));
        for (const QString& typed : {Folder, Name}) {
            field->setFocus();
            PressKeyIn(field, Qt::Key_A, Qt::ControlModifier);
            TypeKeys(field, typed + "\r");
        }
    });
}

TEST(ConfigSaveByHand, ABareNameGetsTheExtensionWithOneDotAndAMenuItem) {
    ScopedModalInterceptor realDialogs{TModalInterceptor()};
    struct Case {
        const char* name;
        bool profile; // through the profile window, else the plain configuration save
    };
    for (const Case c : {Case{"configuration", false}, Case{"profile", true}}) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        ProgramWindows windows;
        windows.ShowAsStarted();
        Tprog& p = windows.Working();
        const QString base = QString::fromStdString(std::string("mein") + c.name);
        TypeIntoFileDialog(QString::fromStdString(folder.Path().string()), base);
        if (c.profile) {
            auto& choice = windows.Window<Tprofilspeichern>();
            WhenShown([&choice] { return choice.Widget(); },
                      [&choice](QWidget*) { ClickCentre(choice.Button1); });
            ChooseMenuItem(p.m_konfig_save_profil);
        } else {
            ChooseMenuItem(p.m_konfig_save);
        }
        const std::filesystem::path saved = folder.Path() / (base.toStdString() + ".qvr");
        EXPECT_TRUE(std::filesystem::exists(saved)) << saved;
        EXPECT_FALSE(std::filesystem::exists(folder.Path() / (base.toStdString() + "..qvr")));
        bool listed = false;
        for (int i = 0; i < p.m_konfig->Count(); ++i)
            listed = listed || p.m_konfig->Items(i)->Hint() == saved.u16string();
        EXPECT_TRUE(listed) << "no item of the configuration menu names " << saved;
    }
}

} // namespace
