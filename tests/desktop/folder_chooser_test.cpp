#include "desktop/FolderChooser.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "desktop/VistaAltFix.h"
#include "platform/Forms.h"
#include "platform/ShellServices.h"
#include "support/ModalInterceptor.h"

namespace {

TEST(FolderChooser, OptionBitsGiveTheBrowseFlags) {
    struct Case {
        TSelectDirExtOpts options;
        unsigned flags;
    } cases[] = {
        {0, BIF_RETURNONLYFSDIRS | BIF_NONEWFOLDERBUTTON},
        {sdNewFolder, BIF_RETURNONLYFSDIRS},
        {sdShowEdit | sdNewFolder, BIF_RETURNONLYFSDIRS | BIF_EDITBOX},
        {sdNewUI | sdNewFolder, BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE},
        {sdShowShares | sdShowFiles | sdValidateDir, BIF_RETURNONLYFSDIRS | BIF_NONEWFOLDERBUTTON |
                                                         BIF_SHAREABLE | BIF_BROWSEINCLUDEFILES |
                                                         BIF_VALIDATE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SelectDirectoryBrowseFlags(c.options), c.flags) << c.options;
}

TEST(FolderChooser, ExistingFolderAcceptedAtOnceIsReturned) {
    QTemporaryDir tmp;
    WideString dir = (tmp.path() + "/Ördner 😀").toStdU16String();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdU16String(dir)));
    TModalRequest seen;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        seen = r;
        return 1; // OK with the preselected folder
    });
    WideString directory = dir;
    EXPECT_TRUE(WideSelectDirectory(u"Ordner wählen", WideString(), directory, sdNewUI));
    EXPECT_EQ(directory, dir);
    EXPECT_EQ(seen.Kind, TModalKind::Folder);
    EXPECT_EQ(seen.Caption, u"Ordner wählen");
    EXPECT_EQ(seen.Text, dir); // preselected
    EXPECT_EQ(seen.Flags, BIF_RETURNONLYFSDIRS | BIF_NONEWFOLDERBUTTON | BIF_NEWDIALOGSTYLE);
}

TEST(FolderChooser, MissingFolderIsEmptiedAndCancelOrNoPathIsFailure) {
    QTemporaryDir tmp;
    WideString existing = tmp.path().toStdU16String();
    struct Case {
        WideString start;
        int result;
        WideString answer;
        bool ok;
        WideString expected;
        WideString preselected;
    } cases[] = {
        {existing + u"/missing", 0, u"", false, u"", u""},       // cancel
        {existing + u"/missing", 1, u"", false, u"", u""},       // "OK" without a path
        {existing, 0, u"/elsewhere", false, existing, existing}, // cancel keeps it
        {existing, 1, u"", false, existing, existing},
        {u"", 1, existing, true, existing, u""},
    };
    for (const Case& c : cases) {
        WideString preselected = u"unset";
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            preselected = r.Text;
            r.Answer = c.answer;
            return c.result;
        });
        WideString directory = c.start;
        EXPECT_EQ(WideSelectDirectory(u"x", WideString(), directory, 0), c.ok) << U8(c.start);
        EXPECT_EQ(directory, c.expected) << U8(c.start);
        EXPECT_EQ(preselected, c.preselected) << U8(c.start);
    }
}

TEST(FolderChooser, BrowseForFolderKeepsPathOnCancel) {
    WideString path = u"/keep";
    {
        ScopedModalInterceptor answer([](TModalRequest& r) {
            r.Answer = u"/chosen";
            return 0;
        });
        EXPECT_FALSE(BrowseForFolderW(WideString(), u"t", path));
    }
    EXPECT_EQ(path, u"/keep");
    ScopedModalInterceptor answer([](TModalRequest& r) {
        EXPECT_EQ(r.Flags & BIF_RETURNONLYFSDIRS, BIF_RETURNONLYFSDIRS);
        r.Answer = u"/chosen";
        return 1;
    });
    EXPECT_TRUE(BrowseForFolderW(WideString(), u"t", path));
    EXPECT_EQ(path, u"/chosen");
}

TEST(VistaAltFix, IsNeverNeededAndHooksNothing) {
    EXPECT_FALSE(VistaAltFixNeeded());
    auto* form = new TForm(nullptr);
    int hooks = form->WindowProcHookCount();
    auto* fix = new TVistaAltFix(form);
    EXPECT_TRUE(fix->RepaintAll);
    form->Show();
    Application->ProcessMessages();
    EXPECT_EQ(form->WindowProcHookCount(), hooks);
    EXPECT_EQ(fix->HookCount(), 0);
    form->Free();
}

} // namespace
