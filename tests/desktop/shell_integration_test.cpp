// The shell integration routines on a temporary user: the stand-in store, the association and
// its projection checked with the desktop's own tool (gio), the verbs, and above all that
// nothing of another program or of the user's own settings is removed or rewritten.
#include "desktop/ShellIntegration.h"

#include <QProcess>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "desktop/ClassesRegistry.h"
#include "desktop/FileTypeProjection.h"
#include "support/TempXdgHomes.h"

namespace {

std::string Run(const QString& Program, const QStringList& Args) {
    QProcess p;
    p.start(Program, Args);
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished(1000);
        ADD_FAILURE() << Program.toStdString() << " did not finish";
    }
    return p.readAllStandardOutput().toStdString();
}

std::string Gio(const QStringList& Args) {
    return Run(QStringLiteral("gio"), Args);
}

// A program that writes its arguments, one a line, to "args" beside itself.
WideString WriteStub(const TempFolder& t, const std::string& Folder) {
    t.Write(Folder + "/stub", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args\"\n");
    std::filesystem::permissions(t.P(Folder + "/stub"), std::filesystem::perms::owner_all);
    return t.W(Folder + "/stub");
}

// Waits until the stub has written its whole line (it may be slow to start on a busy machine,
// and the file exists before its line is in it).
std::string WaitForFile(const TempFolder& t, const std::string& Relative) {
    std::string text;
    for (int i = 0; i < 600; ++i) {
        if (std::filesystem::exists(t.P(Relative))) text = t.Read(Relative);
        if (!text.empty() && text.back() == '\n') break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return text;
}

TEST(ClassesStore, KeysCompareWithoutCaseAndStayInOneFile) {
    TempXdgHomes t;
    TFileClassesRegistry r;
    EXPECT_TRUE(r.WriteDefault(u"Folder\\shell\\Quorbeldoc\\command", u"x"));
    EXPECT_TRUE(r.KeyExists(u"FOLDER\\Shell"));
    EXPECT_EQ(r.ReadDefault(u"folder\\SHELL\\quorbeldoc\\Command"), u"x");
    EXPECT_EQ(r.ReadDefault(u"Folder\\shell"), std::nullopt); // a key without default
    EXPECT_TRUE(r.WriteDefault(u"FOLDER\\shell\\Other", u"[a]%20\nb"));
    EXPECT_EQ(TFileClassesRegistry().ReadDefault(u"folder\\shell\\other"), u"[a]%20\nb");
    const std::string file = t.Read("data/quorbel/classes");
    EXPECT_NE(file.find("[Folder\\shell\\Quorbeldoc]"), std::string::npos) << file; // case kept
    for (const WideString bad : {u"", u"\\a", u"a\\", u"a\\\\b"})
        EXPECT_FALSE(r.CreateKey(bad)) << U8(bad);
    EXPECT_TRUE(r.CreateKey(u"..\\..\\x/y"));
    EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(t.P("data")), {}), 2);

    EXPECT_TRUE(r.DeleteKey(u"folder\\SHELL\\QUORBELDOC"));
    EXPECT_FALSE(r.KeyExists(u"Folder\\shell\\Quorbeldoc\\command"));
    EXPECT_EQ(r.ReadDefault(u"Folder\\shell\\Other"), u"[a]%20\nb");
    EXPECT_FALSE(r.DeleteKey(u"Folder\\shell\\Quorbeldoc"));
}

TEST(ClassesStore, UnwritableFolderFailsAndChangesNothing) {
    TempXdgHomes t;
    t.Write("data", "a regular file where the data folder should be");
    EXPECT_FALSE(ClassesRoot().WriteDefault(u".qvr", u"x"));
    EXPECT_FALSE(RegisterConfigurationFiles(u"/usr/bin/true"));
    EXPECT_FALSE(ConfigurationFilesRegistered(u"/usr/bin/true"));
    EXPECT_FALSE(FirstUnwritableShellFolder().empty());
    EXPECT_TRUE(GetSendToFolder().empty());
    EXPECT_EQ(t.Read("data"), "a regular file where the data folder should be");
}

// Registering: the four keys, the desktop's view through gio, and opening a file; the program
// folder also holds a blank and a "%".
TEST(ConfigurationFiles, RegisterIsSeenByTheDesktop) {
    for (const std::string folder : {"prog", "prog dir %1%%"}) {
        SCOPED_TRACE(folder);
        TempXdgHomes t;
        const WideString exe = WriteStub(t, folder);
        EXPECT_FALSE(ConfigurationFilesRegistered(exe));
        EXPECT_TRUE(RegisterConfigurationFiles(exe));
        const TClassesRegistry& r = ClassesRoot();
        EXPECT_EQ(r.ReadDefault(u".qvr"), u"Quorbel Konfiguration");
        EXPECT_EQ(r.ReadDefault(u"Quorbel Konfiguration"), u"Quorbel Konfiguration");
        EXPECT_EQ(r.ReadDefault(u"Quorbel Konfiguration\\DefaultIcon"), exe + u",0");
        EXPECT_EQ(r.ReadDefault(u"Quorbel Konfiguration\\Shell\\Open\\Command"),
                  u"\"" + exe + u"\" \"%1\"");
        EXPECT_TRUE(ConfigurationFilesRegistered(exe));
        EXPECT_FALSE(ConfigurationFilesRegistered(exe + u"2"));

        EXPECT_NE(Gio({"mime", "application/x-quorbel-configuration"}).find("quorbel.desktop"),
                  std::string::npos);
        t.Write("docs/a.qvr", "[x]\n");
        const QString file = QString::fromStdString(t.P("docs/a.qvr").string());
        EXPECT_NE(Gio({"info", "-a", "standard::content-type", file})
                      .find("application/x-quorbel-configuration"),
                  std::string::npos);
        Gio({"open", file});
        EXPECT_EQ(WaitForFile(t, folder + "/args"), t.P("docs/a.qvr").string() + "\n");

        // Gone desktop files: no longer in place.
        std::filesystem::remove(t.P("data/applications/quorbel.desktop"));
        EXPECT_FALSE(ConfigurationFilesRegistered(exe));
    }
}

TEST(ConfigurationFiles, OthersSettingsAreKept) {
    TempXdgHomes t;
    const std::string list = "# mine\n[Default Applications]\ntext/plain=gedit.desktop;\r\n"
                             "image/png = gimp.desktop;\n[Added Associations]\n"
                             "application/x-quorbel-configuration=other.desktop;\ntext/x-c=c";
    t.Write("config/mimeapps.list", list);
    const WideString exe = WriteStub(t, "prog");
    EXPECT_TRUE(RegisterConfigurationFiles(exe));
    const std::string registered = t.Read("config/mimeapps.list");
    EXPECT_EQ(registered, MimeAppsWithDefault(list, kConfigurationMimeType, kDesktopFileName));
    std::string withoutOurs = registered;
    const std::string ours = "application/x-quorbel-configuration=quorbel.desktop;\n";
    ASSERT_NE(withoutOurs.find(ours), std::string::npos);
    withoutOurs.erase(withoutOurs.find(ours), ours.size());
    EXPECT_EQ(withoutOurs, list);
    UnregisterConfigurationFiles();
    EXPECT_EQ(t.Read("config/mimeapps.list"), list);
    EXPECT_FALSE(std::filesystem::exists(t.P("data/applications/quorbel.desktop")));
    EXPECT_FALSE(std::filesystem::exists(t.P("data/mime/packages/quorbel-qvr.xml")));

    // Another program owns ".qvr", and its own desktop file has our name.
    TClassesRegistry& r = ClassesRoot();
    r.WriteDefault(u".qvr", u"Other.Document");
    r.WriteDefault(u"Other.Document\\Shell\\Open\\Command", u"other \"%1\"");
    t.Write("data/applications/quorbel.desktop", "[Desktop Entry]\nName=Quorbel\nExec=q\n");
    t.Write("config/mimeapps.list", "[Default Applications]\n"
                                    "application/x-quorbel-configuration=other.desktop;\n");
    UnregisterConfigurationFiles();
    EXPECT_EQ(r.ReadDefault(u".qvr"), u"Other.Document");
    EXPECT_EQ(r.ReadDefault(u"Other.Document\\Shell\\Open\\Command"), u"other \"%1\"");
    EXPECT_EQ(t.Read("data/applications/quorbel.desktop"),
              "[Desktop Entry]\nName=Quorbel\nExec=q\n");
    EXPECT_EQ(t.Read("config/mimeapps.list"),
              "[Default Applications]\napplication/x-quorbel-configuration=other.desktop;\n");
    // Our leftover type goes, theirs stays.
    r.WriteDefault(u"Quorbel Konfiguration\\DefaultIcon", u"x,0");
    EXPECT_TRUE(UnregisterFileExtension(u"qvr"));
    EXPECT_FALSE(r.KeyExists(u"Quorbel Konfiguration"));
    EXPECT_EQ(r.ReadDefault(u".qvr"), u"Other.Document");
}

TEST(ShellVerbs, ChosenExtensionsFoldersAndAllFiles) {
    TempXdgHomes t;
    TClassesRegistry& r = ClassesRoot();
    EXPECT_EQ(FilterExtensions(u"txt, .log ,a.b,.x y,.c"),
              (TWideStrArray{u".c", u".log", u".txt"}));
    EXPECT_EQ(FilterExtensions(u".,\t.md\x01,x*,.a|b,.:, ,"), (TWideStrArray{u".md"}));
    r.WriteDefault(u".log", u"logfile");
    r.WriteDefault(u"Folder\\DefaultIcon", u"folder,3");
    const std::string before = t.Read("data/quorbel/classes");
    EXPECT_FALSE(RemoveShellVerb(u"Folder")); // no 'Folder\shell': nothing changes
    EXPECT_EQ(t.Read("data/quorbel/classes"), before);

    RegisterExtensionVerbs(u"txt, .log ,a.b,.x y,.c", u"Open with Quorbel", u"cmd");
    EXPECT_EQ(r.ReadDefault(u"logfile\\shell\\Quorbeldoc"), u"Open with Quorbel");
    EXPECT_EQ(r.ReadDefault(u"logfile\\shell\\Quorbeldoc\\command"), u"cmd");
    EXPECT_EQ(r.ReadDefault(u".txt\\shell\\Quorbeldoc\\command"), u"cmd");
    EXPECT_EQ(r.ReadDefault(u".c\\shell\\Quorbeldoc"), u"Open with Quorbel");
    EXPECT_FALSE(r.KeyExists(u".log\\shell"));
    EXPECT_FALSE(r.KeyExists(u"a.b") || r.KeyExists(u".a.b") || r.KeyExists(u".x y"));
    RemoveExtensionVerbs(u"txt, .log ,a.b,.x y,.c");
    for (const WideString key :
         {u"logfile\\shell\\Quorbeldoc", u".txt\\shell\\Quorbeldoc", u".c\\shell\\Quorbeldoc"})
        EXPECT_FALSE(r.KeyExists(key)) << U8(key);
    EXPECT_EQ(r.ReadDefault(u".log"), u"logfile");

    for (const WideString base : {u"Folder", u"*"}) {
        EXPECT_TRUE(RegisterShellVerb(base, u"Öffnen mit Quorbel", u"\"q\" \"%1\""));
        EXPECT_TRUE(ShellVerbActive(base, u"\"q\" \"%1\""));
        EXPECT_FALSE(ShellVerbActive(base, u"\"other\" \"%1\""));
        EXPECT_TRUE(RemoveShellVerb(base));
        EXPECT_FALSE(ShellVerbActive(base, u"\"q\" \"%1\""));
    }
    EXPECT_EQ(r.ReadDefault(u"Folder\\DefaultIcon"), u"folder,3");
}

TEST(SendTo, ShortcutHoldsItsProperties) {
    TempXdgHomes t;
    const WideString folder = GetSendToFolder();
    EXPECT_EQ(folder, t.W("data/quorbel/SendTo"));
    EXPECT_TRUE(CreateShellLink(SendToShortcutPath(), u"/opt/q dir/quorbel", u"Quorbel", -1, u"",
                                u"", u"/opt/q dir/"));
    EXPECT_EQ(t.Read("data/quorbel/SendTo/Quorbel.lnk"),
              "Target=/opt/q dir/quorbel\nDescription=Quorbel\nWorkingDirectory=/opt/q dir/\n"
              "Arguments=\n");
    EXPECT_TRUE(CreateShellLink(folder + u"/b.lnk", u"a\\b", u"d\ne", 0, u"i.png", u"-x", u"w"));
    EXPECT_EQ(t.Read("data/quorbel/SendTo/b.lnk"),
              "Target=a\\\\b\nDescription=d\\ne\nWorkingDirectory=w\nArguments=-x\n"
              "IconLocation=i.png,0\n");
}

} // namespace
