#include "platform/ShellServices.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/Clipbrd.h"
#include "platform/FileDrops.h"
#include "platform/Forms.h"

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
    EXPECT_FALSE(ShowInFolderW(u"/no/such/file.txt"));
}

// A drag of file URLs over a control that accepts files: entered, then dropped; whether
// the drag was accepted, and the files of WM_DROPFILES.
std::pair<bool, TWideStrArray> DragOnto(TForm& Form, const QList<QUrl>& Urls) {
    TWideStrArray dropped;
    const THookId hook = Form.HookWindowProc([&](TMessage& m, const TWndMethod& next) {
        if (m.Msg == WM_DROPFILES) dropped = DragQueryFiles(DroppedFilesOf(m));
        next(m);
    });
    QMimeData data;
    data.setUrls(Urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Form.Widget(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted()) QApplication::sendEvent(Form.Widget(), &drop);
    Form.UnhookWindowProc(hook);
    return {enter.isAccepted(), dropped};
}

TEST(FileDrops, OnlyLocalFilesAreTakenAndOnlyWhileAccepted) {
    TForm form(nullptr);
    const QUrl file = QUrl::fromLocalFile("/tmp/a b.txt"), folder = QUrl::fromLocalFile("/tmp/");
    const QUrl web(QStringLiteral("https://example.org/x.txt"));
    EXPECT_FALSE(DragOnto(form, {file}).first);
    DragAcceptFiles(&form, true);
    EXPECT_FALSE(DragOnto(form, {web}).first);
    const auto [accepted, files] = DragOnto(form, {web, file, folder});
    EXPECT_TRUE(accepted);
    EXPECT_EQ(files, (TWideStrArray{u"/tmp/a b.txt", u"/tmp"}));
    DragAcceptFiles(&form, false);
    EXPECT_FALSE(DragOnto(form, {file}).first);
}

} // namespace
