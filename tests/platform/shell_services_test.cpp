#include "platform/ShellServices.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/Clipbrd.h"

namespace {

WideString Touch(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("text\n");
    return path.toStdU16String();
}

TEST(ShellServices, FileIconsShareOneImagePerType) {
    QTemporaryDir tmp;
    WideString a = Touch(tmp.path() + "/a.txt");
    WideString b = Touch(tmp.path() + "/Ω b.txt");
    WideString missing = (tmp.path() + "/none.txt").toStdU16String();
    EXPECT_EQ(GetSysIconIndexW(missing), -1);
    EXPECT_TRUE(GetSysSmallIconW(missing).isNull());
    EXPECT_FALSE(GetSysSmallIconW(a).isNull());
    int ia = GetSysIconIndexW(a);
    ASSERT_GE(ia, 0);
    EXPECT_EQ(GetSysIconIndexW(b), ia);
    EXPECT_LT(ia, SystemImageList().Count());
    EXPECT_TRUE(SystemImageList().ShareImages);
    int folder = GetSysIconIndexW(tmp.path().toStdU16String());
    EXPECT_GE(folder, 0);
    EXPECT_NE(folder, ia);
}

TEST(ShellServices, FileListsGoToTheClipboard) {
    WideString names = WideString(u"/tmp/a.txt") + u'\0' + u"/tmp/Ω 😀.txt" + u'\0';
    CopyFilesToClipboardW(names);
    EXPECT_EQ(Clipboard()->Files(), (TWideStrArray{u"/tmp/a.txt", u"/tmp/Ω 😀.txt"}));
    EXPECT_EQ(Clipboard()->AsWideText(), u"/tmp/a.txt\n/tmp/Ω 😀.txt");
}

TEST(ShellServices, PropertiesOfAMissingFileFail) {
    EXPECT_FALSE(ShowFilePropertiesW(nullptr, u"/no/such/file.txt"));
    EXPECT_FALSE(ShowFilePropertiesW(nullptr, u""));
}

} // namespace
