#include "desktop/FolderChooser.h"

#include <QApplication>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "desktop/VistaAltFix.h"
#include "platform/Forms.h"
#include "platform/ShellServices.h"
#include "support/ModalInterceptor.h"
#include "support/TempFolder.h"
#include "support/Watchdog.h"
#include "support/WidgetInput.h"

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

// What the dialog's file list shows once its folder is loaded: its folder and the names.
struct ShownFolder {
    std::string folder;
    std::set<std::string> names;
};

// Waits (in the dialog's own loop) until the list has shown the folder's entries for a
// moment, notes them and closes the dialog with Escape, as a person would.
void NoteAndClose(ShownFolder& Seen) {
    auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    auto* list = dlg ? dlg->findChild<QListView*>("listView") : nullptr;
    if (!list) return QTimer::singleShot(20, [&Seen] { NoteAndClose(Seen); });
    auto* poll = new QTimer(dlg);
    auto calm = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [dlg, list, &Seen, calm] {
        std::set<std::string> names;
        const QModelIndex root = list->rootIndex();
        for (int r = 0; r < list->model()->rowCount(root); ++r)
            names.insert(list->model()->index(r, 0, root).data().toString().toStdString());
        *calm = names == Seen.names && !names.empty() ? *calm + 1 : 0;
        Seen.names = names;
        if (*calm < 10) return;
        Seen.folder = dlg->directory().absolutePath().toStdString();
        PressKey(dlg, Qt::Key_Escape, QString());
    });
    poll->start(50);
}

TEST(FolderChooser, ListsDataEntriesOnlyAndNeverReadsWhatTheyHold) {
    TempFolder t;
    t.Write("plain.txt", "text");
    std::filesystem::create_directory(t.P("sub"));
    ASSERT_EQ(::mkfifo(t.P("fifo").c_str(), 0600), 0); // no one ever writes it
    std::filesystem::create_symlink(t.P("missing"), t.P("dangling"));
    std::filesystem::create_symlink("/proc/kmsg", t.P("kmsg")); // a read waits for the kernel
    std::filesystem::create_symlink("/dev/zero", t.P("zero"));
    std::filesystem::create_symlink("/proc", t.P("kernel"));
    const std::string folder = t.Path().string();
    struct Case {
        WideString start; // the folder shown before, preselected again
        std::string shownIn;
        std::set<std::string> present, absent;
    } cases[] = {
        {t.W("sub"), folder, {"plain.txt", "sub"}, {"fifo", "dangling", "kmsg", "zero", "kernel"}},
        // The folder chosen last lies in /proc: the dialog opens at the top instead.
        {u"/proc/sys", "/", {"tmp"}, {"proc", "sys"}},
    };
    for (const Case& c : cases) {
        Watchdog guard(60, "the folder dialog");
        ScopedModalInterceptor shownForReal(nullptr);
        ShownFolder seen;
        QTimer::singleShot(0, [&seen] { NoteAndClose(seen); });
        WideString directory = c.start;
        EXPECT_FALSE(
            WideSelectDirectory(u"Ordner", WideString(), directory, sdNewUI | sdShowFiles));
        EXPECT_EQ(seen.folder, c.shownIn) << U8(c.start);
        for (const std::string& name : c.present)
            EXPECT_EQ(seen.names.count(name), 1u) << name << " in " << c.shownIn;
        for (const std::string& name : c.absent)
            EXPECT_EQ(seen.names.count(name), 0u) << name << " in " << c.shownIn;
    }
}

TEST(FolderChooser, AKernelFolderIsNeitherPreselectedNorChosen) {
    struct Case {
        WideString start, answer;
        bool ok;
        WideString preselected, result;
    } cases[] = {
        {u"/proc/sys", u"/tmp", true, u"", u"/tmp"},
        {u"/tmp", u"/sys/kernel", false, u"/tmp", u"/tmp"},
        {u"/tmp", u"/proc", false, u"/tmp", u"/tmp"},
    };
    for (const Case& c : cases) {
        WideString preselected = u"unset";
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            preselected = r.Text;
            r.Answer = c.answer;
            return 1;
        });
        WideString directory = c.start;
        EXPECT_EQ(WideSelectDirectory(u"x", WideString(), directory, sdNewUI), c.ok)
            << U8(c.answer);
        EXPECT_EQ(preselected, c.preselected) << U8(c.answer);
        EXPECT_EQ(directory, c.ok ? c.result : c.preselected) << U8(c.answer);
    }
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
