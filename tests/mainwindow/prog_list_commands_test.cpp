// What the user does with the input list, through the widgets' own events where there are
// some: header clicks, marking by name, saving and opening a file list, drops from the file
// manager, dragging rows, removing rows, the popup menu, the folder field, the watch
// callbacks and the run's row methods.
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>

#include <sstream>

#include "ListTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "platform/Clipbrd.h"
#include "support/ModalInterceptor.h"
#include "text/UCodeSysUtils.h"

namespace {

void ClickHeader(TListView* list, int column) {
    QHeaderView* header = list->Tree()->header();
    const QPoint at(header->sectionViewportPosition(column) + 4, header->height() / 2);
    MouseAt(header->viewport(), QEvent::MouseButtonPress, at);
    MouseAt(header->viewport(), QEvent::MouseButtonRelease, at);
}

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(ListTest, HeaderClicksSortBySizeBytesAndReverseOnTheSecondClick) {
    p->Show();
    pump();
    for (auto [name, size] : {std::pair{"c_big.txt", 1264640},
                              {"d_small.txt", 999},
                              {"a_mid.txt", 921600},
                              {"b_kilo.txt", 1024}})
        p->add2list(write(name, std::string(size_t(size), 'x')), p->qulist);
    ClickHeader(p->qulist, 4);
    EXPECT_EQ(names(),
              (std::vector<std::string>{"d_small.txt", "b_kilo.txt", "a_mid.txt", "c_big.txt"}));
    ClickHeader(p->qulist, 4);
    EXPECT_EQ(names(),
              (std::vector<std::string>{"c_big.txt", "a_mid.txt", "b_kilo.txt", "d_small.txt"}));
    ClickHeader(p->qulist, 0); // another column: ascending
    EXPECT_EQ(names(),
              (std::vector<std::string>{"a_mid.txt", "b_kilo.txt", "c_big.txt", "d_small.txt"}));
    ClickHeader(p->qulist, 0);
    EXPECT_EQ(names().front(), "d_small.txt");
}

TEST_F(ListTest, MarkByNameMarksOnlyMatchingRowsAndKeepsTheirStatus) {
    ScopedLanguage english(u"en");
    for (const char* n : {"Report.txt", "report_old.txt", "data.txt"})
        p->add2list(write(n, "x"), p->qulist);
    p->QUSelect(1, 0, 0); // Report.txt was changed by a run
    marking->Edit1->SetText(u"rep/log");
    marking->Edit2->SetText(u"old");
    ClickControl(marking->Button1);
    EXPECT_EQ(U8(sub(0, InputListColumn::Status)), "Changed, Marked");
    EXPECT_EQ(U8(sub(1, InputListColumn::Status)), "New");
    EXPECT_EQ(U8(sub(2, InputListColumn::Status)), "New");

    marking->Edit1->SetText(u"");
    ClickControl(marking->Button1);
    for (int i = 0; i < rows(); ++i)
        EXPECT_FALSE(IsMarkedStatus(sub(i, InputListColumn::Status))) << i;
    EXPECT_EQ(U8(sub(0, InputListColumn::Status)), "Changed");
}

TEST_F(ListTest, StatusWordsAreReadInEitherLanguage) {
    p->add2list(write("a.txt", "x"), p->qulist);
    struct Case {
        const char* before;
        int status, mark;
        const char16_t* language;
        const char* after;
    };
    for (const Case c : {Case{"Unverändert", -1, 1, u"en", "Not Changed, Marked"},
                         Case{"Geändert, Markiert", -1, -1, u"en", "Changed, Marked"},
                         Case{"Not Changed, Marked", -1, 0, u"de", "Unverändert"},
                         Case{"Changed", -1, -1, u"de", "Geändert"},
                         Case{"New, Marked", 1, -1, u"en", "Changed, Marked"},
                         Case{"Neu", -1, -1, u"en", "New"}}) {
        ScopedLanguage language(c.language);
        p->qulist->Items()[0]->SubItems().Put(int(InputListColumn::Status), U16(c.before));
        p->QUSelect(c.status, c.mark, 0);
        EXPECT_EQ(U8(sub(0, InputListColumn::Status)), c.after) << c.before;
    }
}

TEST_F(ListTest, AFileListRoundTripsAsPathsWithCrLf) {
    ScopedLanguage english(u"en");
    const WideString a = write("a.txt", "a"), b = write("sub dir/b é.txt", "b");
    const std::filesystem::path list = folder / "list.txt";
    int asked = 0;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        ++asked;
        if (r.Kind == TModalKind::MessageBox) {
            EXPECT_EQ(U8(r.Text), "There are no files to store in your file list.");
            return int(IDOK);
        }
        r.Answer = U16(list.string());
        return 1;
    });
    p->m_dateiliste_saveClick(p); // nothing to store: a message, no file
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(std::filesystem::exists(list));

    p->add2list(a, p->qulist);
    p->add2list(b, p->qulist);
    p->m_dateiliste_saveClick(p);
    EXPECT_EQ(ReadAll(list), U8(a) + "\r\n" + U8(b) + "\r\n"); // UTF-8, no mark

    p->inp_deleteallClick(p);
    std::ofstream(list, std::ios::binary) << "\r\n"
                                          << U8(a) << "\r\n\r\n"
                                          << U8(path("gone.txt")) << "\r\n"
                                          << U8(b) << "\r\n";
    p->m_dateiliste_openClick(p);
    EXPECT_EQ(names(), (std::vector<std::string>{"a.txt", "b é.txt"}));
    EXPECT_EQ(U8(p->la_anzahl->Caption()), "2 Files");
}

QMimeData* FileUrls(const std::vector<std::string>& nativePaths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const std::string& path : nativePaths)
        urls.append(
            QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/")));
    data->setUrls(urls);
    return data;
}

TEST_F(ListTest, FilesAndFoldersDroppedFromTheFileManagerAreAdded) {
    p->Show();
    pump();
    write("drop/one.txt", "1");
    write("drop/two.log", "2");
    const std::string raw = folder.string() + "/r\xE9sum\xE9.txt"; // no UTF-8
    std::ofstream(raw, std::ios::binary) << "x";
    const WideString single = write("single.txt", "s");
    std::unique_ptr<QMimeData> data(
        FileUrls({folder.string() + "/drop", U8(single), raw, folder.string() + "/none.txt"}));
    QWidget* target = p->qulist->Tree()->viewport();
    const QPoint at(20, 20);
    QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    pump();
    EXPECT_EQ(rows(), 4);
    for (const std::string& file :
         {folder.string() + "/drop/one.txt", folder.string() + "/drop/two.log", U8(single)})
        EXPECT_GE(p->RowOfPath(U16(file)), 0) << file;
    const int row = p->RowOfPath(NativeToWide(raw));
    ASSERT_GE(row, 0);
    EXPECT_EQ(WideToNative(sub(row, InputListColumn::Path)), raw);
    EXPECT_TRUE(p->Enabled());
    EXPECT_FALSE(progress->Visible());
    EXPECT_EQ(box->OKalle->Tag, 0);
}

TEST_F(ListTest, DraggingRowsMovesThemBeforeTheDropRowButNotOntoThemselves) {
    p->Show();
    for (const char* n : {"a.txt", "b.txt", "c.txt", "d.txt"})
        p->add2list(write(n, "x"), p->qulist);
    pump();
    QTreeWidget* tree = p->qulist->Tree();
    const auto centre = [&](int row) {
        return tree->visualItemRect(tree->topLevelItem(row)).center();
    };
    const auto drag = [&](int from, int to) {
        MouseAt(tree->viewport(), QEvent::MouseButtonPress, centre(from));
        MouseAt(tree->viewport(), QEvent::MouseMove, centre(to));
        MouseAt(tree->viewport(), QEvent::MouseButtonRelease, centre(to));
    };
    p->qulist->Items()[2]->SetSelected(true);
    p->qulist->Items()[3]->SetSelected(true);
    drag(2, 3); // onto one of the dragged rows: nothing changes
    EXPECT_EQ(names(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "d.txt"}));
    drag(3, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"c.txt", "d.txt", "a.txt", "b.txt"}));
}

TEST_F(ListTest, RemovingTakesTheSelectionOrElseTheMarkedRows) {
    for (const char* n : {"a.txt", "b.txt", "c.txt", "d.txt"})
        p->add2list(write(n, "x"), p->qulist);
    p->QUSelect(-1, 1, 1);
    p->QUSelect(0, 1, 3);
    p->qulist->ClearSelection();
    PressKey(p->qulist->Tree()->viewport(), Qt::Key_Delete, QString());
    EXPECT_EQ(names(), (std::vector<std::string>{"a.txt", "c.txt"}));
    p->qulist->Items()[1]->SetSelected(true);
    ClickControl(p->inp_deleteselect);
    EXPECT_EQ(names(), (std::vector<std::string>{"a.txt"}));
    PressKey(p->qulist->Tree()->viewport(), Qt::Key_A, "a", Qt::ControlModifier);
    EXPECT_EQ(p->qulist->SelCount(), 1);
    ClickControl(p->inp_deleteall);
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(U8(p->la_anzahl->Caption()).substr(0, 2), "0 ");
}

TEST_F(ListTest, ThePopupMenuMarksCopiesAndOpensOnlyWithASelection) {
    ScopedLanguage english(u"en");
    const WideString a = write("a.txt", "x"), b = write("b.txt", "y");
    p->add2list(a, p->qulist);
    p->add2list(b, p->qulist);
    bool cancel = false;
    p->popupqulistPopup(p->popupqulist, cancel);
    EXPECT_TRUE(cancel);
    p->qulist->SelectAll();
    p->popupqulistPopup(p->popupqulist, cancel);
    EXPECT_FALSE(cancel);
    p->pop6->Click();
    EXPECT_EQ(U8(sub(1, InputListColumn::Status)), "New, Marked");
    p->QUSelect(1, -1, 0);
    p->pop7->Click();
    EXPECT_EQ(U8(sub(0, InputListColumn::Status)), "Changed");
    p->pop6->Click();
    p->pop5->Click();
    EXPECT_EQ(U8(sub(0, InputListColumn::Status)), "New");
    p->pop3->Click();
    EXPECT_EQ(Clipboard()->Files(), (TWideStrArray{a, b}));
}

TEST_F(ListTest, TheFolderFieldAddsOnEnterAndRefusesNameCharacters) {
    write("in/a.txt", "x");
    p->inp_ordner->SetText(path("nowhere"));
    PressKey(p->inp_ordner->Widget(), Qt::Key_Return, "\r");
    EXPECT_EQ(p->count("ordnerfalschopen"), 1);
    p->inp_ordner->SetText(u"");
    for (const char* typed : {"*", "?", "|", "<", "x"})
        TypeChar(p->inp_ordner, typed);
    EXPECT_EQ(U8(p->inp_ordner->Text()), "x");
    p->inp_ordner->SetText(path("in"));
    PressKey(p->inp_ordner->Widget(), Qt::Key_Return, "\r");
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(U8(p->inp_ordner->Text()), U8(path("in"))); // Enter typed nothing
}

TEST_F(ListTest, WatchCallbacksMatchPathsExactlyAtAFolderBoundary) {
    const WideString inside = write("in/a.txt", "x"), deeper = write("in/sub/b.txt", "y");
    const WideString sibling = write("inbox/c.txt", "z");
    p->inp_ordner->SetText(path("in"));
    p->inp_uv->SetChecked(false);
    for (const WideString& f : {sibling, deeper, inside})
        p->swCreate(f);
    EXPECT_EQ(names(), (std::vector<std::string>{"a.txt"}));
    p->inp_uv->SetChecked(true);
    p->swCreate(deeper);
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(p->count("dateischoninliste"), 0);

    p->swDelete(path("in/A.TXT")); // another file on Linux
    EXPECT_EQ(rows(), 2);
    std::filesystem::rename(folder / "in/sub/b.txt", folder / "in/sub/renamed.log");
    p->swRenameItem(deeper, path("in/sub/renamed.log"));
    EXPECT_EQ(U8(p->qulist->Items()[1]->Caption()), "renamed.log");
    EXPECT_EQ(U8(sub(1, InputListColumn::Format)), "LOG");
    write("in/a.txt", std::string(2048, 'x'));
    p->swUpdateItem(inside);
    EXPECT_EQ(U8(sub(0, InputListColumn::Bytes)), "2048");
    p->swDelete(inside);
    EXPECT_EQ(names(), (std::vector<std::string>{"renamed.log"}));
}

TEST_F(ListTest, TheRunChangesRowsByPath) {
    ScopedLanguage english(u"en");
    const WideString a = write("a.txt", "x"), b = write("b.txt", "y");
    p->add2list(a, p->qulist);
    p->add2list(b, p->qulist);
    p->QUSelect(-1, 1, 1);
    RunInterface& run = *p;
    run.SetRowState(b, FileState::Changed);
    run.SetRowEncodingName(b, u"UTF-16 LE");
    EXPECT_EQ(U8(sub(1, InputListColumn::Status)), "Changed, Marked");
    EXPECT_EQ(U8(sub(1, InputListColumn::Codepage)), "UTF-16 LE");
    run.RemoveRow(a);
    run.RowCountChanged();
    EXPECT_EQ(names(), (std::vector<std::string>{"b.txt"}));
    EXPECT_EQ(U8(p->la_anzahl->Caption()), "1 File");
}

TEST_F(ListTest, ScreenshotsOfTheListInBothLanguages) {
    for (const char* n : {"Report.txt", "notes.log", "table.csv"})
        p->add2list(write(n, "some text"), p->qulist);
    p->QUSelect(1, 1, 0);
    p->SetBounds(0, 0, 1100, 760);
    QDir().mkpath(QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/mainwindow"));
    for (const char16_t* code : {u"de", u"en"}) {
        ScopedLanguage language(code);
        p->SetMainWindowTexts();
        for (int i = 0; i < rows(); ++i)
            p->QUSelect(-1, -1, i);
        p->WriteFileCount();
        p->Show();
        pump();
        const QString file =
            QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/mainwindow/qulist-%1.png")
                .arg(QString::fromStdU16String(code));
        EXPECT_TRUE(p->box_dat->Widget()->grab().toImage().save(file));
    }
}

} // namespace
