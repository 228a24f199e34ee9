// The forwarders of the replacement units, checked against independent oracles (Qt's
// codecs, the shell, the file system).
#include "Imports/UCodeRepForwarders.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

TEST(RepForwarders, TextConversionsAndByteOrder) {
    const WideString text = u"Grüße € 😀";
    QByteArray utf8 = QString::fromStdU16String(text).toUtf8();
    EXPECT_EQ(RepUTF8Encode(text), utf8.toStdString());
    EXPECT_EQ(RepUTF8Decode(utf8.toStdString()), text);
    EXPECT_EQ(RepUTF7Encode(u"Hi Mom -\u263A-!"), "Hi Mom -+Jjo--!"); // RFC 2152's example
    EXPECT_EQ(RepUTF7Decode("Hi Mom -+Jjo--!"), u"Hi Mom -\u263A-!");
    EXPECT_EQ(RepWideToCodePage(u"€ü", 1252), "\x80\xFC");
    WideChar buffer[] = {0x0041, 0x00FC, 0xD83D, 0};
    RepSwapByteOrder(buffer);
    EXPECT_EQ(buffer[0], 0x4100);
    EXPECT_EQ(buffer[1], 0xFC00);
    EXPECT_EQ(buffer[2], 0x3DD8);
    EXPECT_EQ(buffer[3], 0);
    EXPECT_EQ(RepParamCount(), WideParamCount());
    EXPECT_EQ(RepParamStr(0), WideParamStr(0));
}

TEST(RepForwarders, ShellExecuteStartsProgramsInTheirFolderAndReportsFailures) {
    QTemporaryDir folder;
    const WideString dir = folder.path().toStdU16String();
    intptr_t started =
        RepShellExecute(nullptr, u"open", u"/bin/sh", u"-c \"echo started > out.txt\"", dir, 1);
    EXPECT_GT(started, 32);
    QFile out(QDir(folder.path()).filePath("out.txt"));
    for (int i = 0; i < 200 && !(out.exists() && out.size() > 0); ++i)
        QThread::msleep(10);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), "started\n");
    EXPECT_EQ(RepShellExecute(nullptr, u"open", u"missing.txt", u"", dir, 1), SE_ERR_FNF);
    EXPECT_EQ(RepShellExecute(nullptr, u"print", u"/bin/sh", u"", dir, 1), SE_ERR_NOASSOC);
    EXPECT_EQ(RepShellExecute(nullptr, u"explore", u"/bin/sh", u"", dir, 1), SE_ERR_NOASSOC);
}

} // namespace
