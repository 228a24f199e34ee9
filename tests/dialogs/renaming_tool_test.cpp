// The renaming tool: the new names, renaming in a real folder (never overwriting, never
// losing a file), adding folders and dropped files, sorting, the mask's constants and key
// filters, the filter window, and screenshots in both languages.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLocale>
#include <QMimeData>
#include <QUrl>
#include <memory>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/FakeWorkingWindow.h"
#include "dialogs/u_dateinamenumbenenner.h"
#include "dialogs/u_dateinamenumbenenner_filter.h"
#include "dialogs/u_sm_meldung.h"
#include "engine/TempFolder.h"
#include "support/ModalInterceptor.h"
#include "text/FileUtils.h"

namespace {

struct FreeForm {
    void operator()(TForm* f) const { f->Free(); }
};
template <class T> using Owned = std::unique_ptr<T, FreeForm>;

TEST(RenameName, MaskConstantsAndReplacement) {
    const TRenameReplace none;
    auto replace = [](bool name, bool ext) {
        return TRenameReplace{true, u"txt", u"log", name, ext};
    };
    struct Case {
        const char16_t* name;
        const char16_t* mask;
        const char16_t* start;
        int rows, row;
        TRenameReplace replace;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"a.jpg", u"%0num%", u"1", 120, 0, none, u"001.jpg"},
        {u"a.jpg", u"%0num%", u"1", 120, 119, none, u"120.jpg"},
        {u"a.jpg", u"%0num%", u"5", 9, 0, none, u"5.jpg"},
        {u"a.jpg", u"%0num%", u"5", 9, 8, none, u"13.jpg"}, // width from the row count
        {u"report.txt", u"%name%1", u"1", 1, 0, none, u"report1.txt"},
        {u"a.txt.txt", u"%name%1", u"1", 1, 0, none, u"a1.txt"},
        {u"Makefile", u"%name%1", u"1", 1, 0, none, u"Makefile1"}, // no endless empty search
        {u"x%num%.txt", u"%name%", u"1", 3, 0, none, u"x1.txt"},   // "%name%" first
        {u"a.txt", u"%0num%-%abs%", u"1", 3, 1, none, u"2-3.txt"},
        {u"a.txt", u"%num%", u"x", 3, 0, none, u"1.txt"}, // no number: start 1
        {u"a.txt", u"%num%", u"", 3, 2, none, u"3.txt"},
        {u"a.txt", u"%name%", u"1", 1, 0, replace(false, true), u"a.log"},
        {u"txtfile.txt", u"%name%", u"1", 1, 0, replace(true, false), u"logfile.txt"},
        {u"txtfile.txt", u"%name%", u"1", 1, 0, replace(true, true), u"logfile.log"},
        {u"TXTfile.TXT", u"%name%", u"1", 1, 0, replace(true, true), u"TXTfile.TXT"},
        {u"txtfile.txt", u"%name%", u"1", 1, 0, replace(false, false), u"txtfile.txt"},
        {u"a.txt", u"%name%", u"1", 1, 0, TRenameReplace{true, u"", u"x", true, true}, u"a.txt"},
        {u"", u"%name%1", u"1", 1, 0, none, u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RenameName(c.name, c.mask, c.start, c.rows, c.row, c.replace),
                  WideString(c.expected))
            << U8(c.name) << " " << U8(c.mask);
    for (const char16_t* bad : {u"", u".", u"..", u"a/b", u"/"})
        EXPECT_TRUE(IsUnsafeNewName(bad)) << U8(bad);
    EXPECT_TRUE(IsUnsafeNewName(WideString(u"a\0b", 3)));
    EXPECT_FALSE(IsUnsafeNewName(u"..a"));
}

class RenamingTool : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        tool.reset(new Tdateinamenumbenenner(nullptr));
        tool->Show();
    }
    void TearDown() override {
        tool.reset();
        QLocale::setDefault(QLocale::system());
        TempFolderTest::TearDown();
    }
    WideString cell(int row, int column) const {
        return tool->qulist->Items()[row]->SubItems().Get(column);
    }
    std::string read(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Drops the paths on the window as the file manager does: enter, then drop.
    void drop(const TWideStrArray& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const WideString& p : paths)
            urls.push_back(QUrl::fromLocalFile(QString::fromStdU16String(p)));
        data.setUrls(urls);
        QWidget* w = tool->Widget();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(w, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &dropped);
    }

    ScopedLanguage english{u"en"};
    FakeWorkingWindow working;
    Owned<Tdateinamenumbenenner> tool;
};

TEST_F(RenamingTool, RenameAllNeverOverwritesAndReportsEachRow) {
    write("old_a.txt", "a");
    write("old_b.txt", "mine");
    write("new_b.txt", "other"); // the target of old_b.txt: must survive
    write("plain.txt", "plain");
    write("old_c.txt", "c");
    std::filesystem::create_directory(folder / "new_c.txt"); // a folder in the way
    write("old_gone.txt", "gone");
    for (const char* name : {"old_a.txt", "old_b.txt", "plain.txt", "old_c.txt", "old_gone.txt"})
        tool->add2list(dir() + U16(name));
    std::filesystem::remove(folder / "old_gone.txt");
    ClickControl(tool->suchenersetzen);
    tool->suchenalt->SetText(u"old");
    tool->suchenneu->SetText(u"new");
    tool->qulist->Items()[0]->SetSelected(true);
    tool->VorschauSetzen(tool->qulist);
    EXPECT_EQ(tool->vor_out->Hint(), dir() + u"new_a.txt");
    EXPECT_EQ(tool->vor_out->Caption(), u"new_a.txt");
    ClickControl(tool->Umbenennen);

    using T = Tdateinamenumbenenner;
    const char16_t* expected[] = {u"Renamed", u"File already exists", u"Not Renamed", u"Error",
                                  u"Added"}; // the vanished file is skipped
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(cell(row, T::colStatus), expected[row]) << row;
    EXPECT_EQ(tool->status->SimpleText(), u"1 files renamed (3 files could not be renamed)");
    EXPECT_EQ(cell(0, T::colPath), dir() + u"new_a.txt");
    EXPECT_EQ(tool->qulist->Items()[0]->Caption(), u"new_a.txt");
    EXPECT_EQ(read("new_a.txt"), "a");
    EXPECT_EQ(read("old_b.txt"), "mine");
    EXPECT_EQ(read("new_b.txt"), "other");
    EXPECT_EQ(read("old_c.txt"), "c");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "new_c.txt"));
    // The preview followed the renamed file; the window is usable again.
    EXPECT_EQ(tool->vor_orig->Hint(), dir() + u"new_a.txt");
    EXPECT_EQ(tool->vor_out->Hint(), dir() + u"new_a.txt");
    EXPECT_TRUE(tool->Enabled());
}

TEST_F(RenamingTool, PreviewShortensLongNamesToTheLabelAndAgainOnResize) {
    const std::string name(120, 'n');
    tool->add2list(write(name + ".txt", "x"));
    tool->qulist->Items()[0]->SetSelected(true);
    ClickControl(tool->qulist);
    tool->VorschauSetzen(tool->qulist);
    EXPECT_EQ(tool->vor_orig->Caption(), U16(name + ".txt"));
    EXPECT_EQ(tool->vor_orig->Hint(), dir() + U16(name + ".txt"));
    const WideString shown = tool->vor_out->ShownText();
    EXPECT_LT(shown.size(), tool->vor_out->Caption().size());
    tool->SetWidth(tool->Width() + 400);
    EXPECT_GT(tool->vor_out->ShownText().size(), shown.size());

    // Two rows of the same name from two folders: each is numbered by its own row.
    tool->BitBtn2Click(tool->BitBtn2);
    tool->add2list(write("one/same.txt", "1"));
    tool->add2list(write("two/same.txt", "2"));
    tool->maske->SetText(u"%num%");
    tool->qulist->Items()[1]->SetSelected(true);
    tool->VorschauSetzen(tool->qulist);
    EXPECT_EQ(tool->vor_out->Hint(), dir() + u"two/2.txt");
}

TEST_F(RenamingTool, OpenFolderAddsTheChosenFolderAndACancelKeepsTheText) {
    write("a.txt", "a");
    tool->quordner->SetText(u"typed");
    WideString answer;
    ScopedModalInterceptor chooser([&](TModalRequest& r) {
        EXPECT_EQ(r.Kind, TModalKind::Folder);
        r.Answer = answer;
        return answer.empty() ? 0 : 1;
    });
    ClickControl(tool->OpenOrdner);
    EXPECT_EQ(tool->quordner->Text(), u"typed");
    EXPECT_EQ(tool->qulist->Items().Count(), 0);
    answer = WideExcludeTrailingBackslash(dir());
    ClickControl(tool->OpenOrdner);
    EXPECT_EQ(tool->quordner->Text(), answer);
    EXPECT_EQ(tool->qulist->Items().Count(), 1);
}

TEST_F(RenamingTool, NamesThatWouldMoveOrBreakTheFileAreErrors) {
    write("a.txt", "a");
    tool->add2list(dir() + u"a.txt");
    // What a configuration file can carry past the key filters.
    for (const char16_t* mask : {u"../%name%", u"x/%name%", u".", u".."}) {
        tool->maske->SetText(mask);
        tool->suchenersetzen->SetChecked(mask[0] == u'.'); // ".txt" removed: "." and ".."
        tool->suchenalt->SetText(u".txt");
        tool->cb_suchendung->SetChecked(true);
        tool->UmbenennenClick(tool->Umbenennen);
        EXPECT_EQ(cell(0, Tdateinamenumbenenner::colStatus), u"Error") << U8(mask);
        EXPECT_EQ(read("a.txt"), "a") << U8(mask);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

TEST_F(RenamingTool, CaseOnlyRenameFollowsTheFileSystem) {
    write("A.txt", "A");
    tool->add2list(dir() + u"A.txt");
    tool->suchenersetzen->SetChecked(true);
    tool->suchenalt->SetText(u"A");
    tool->suchenneu->SetText(u"a");
    tool->UmbenennenClick(tool->Umbenennen);
    // A case-sensitive file system: a.txt is another name, free, so the file is renamed.
    EXPECT_EQ(cell(0, Tdateinamenumbenenner::colStatus), u"Renamed");
    EXPECT_EQ(read("a.txt"), "A");
}

TEST_F(RenamingTool, FolderAddFilterSubfoldersAndCount) {
    write("a.JPG", std::string(1536, 'x'));
    write("b.txt", "b");
    write("c.png", "c");
    write("README", "r");
    write("sub/d.txt", "d");
    write("notes.txt.d/e.txt", "e");
    tool->filterWindow->auswahl->SetChecked(true);
    tool->filterWindow->filter->SetText(u"jpg, TXT");
    tool->AddOrdner(WideExcludeTrailingBackslash(dir()));
    ASSERT_EQ(tool->qulist->Items().Count(), 4);
    // Subfolders first (the folder named like a file is searched too), then the folder.
    EXPECT_EQ(cell(0, Tdateinamenumbenenner::colPath), dir() + u"notes.txt.d/e.txt");
    EXPECT_EQ(cell(1, Tdateinamenumbenenner::colPath), dir() + u"sub/d.txt");
    EXPECT_EQ(tool->qulist->Items()[2]->Caption(), u"a");
    EXPECT_EQ(cell(2, Tdateinamenumbenenner::colType), u"JPG");
    EXPECT_EQ(cell(2, Tdateinamenumbenenner::colSize), u"1.500 KB");
    EXPECT_EQ(cell(2, Tdateinamenumbenenner::colStatus), u"Added");
    EXPECT_EQ(cell(3, Tdateinamenumbenenner::colPath), dir() + u"b.txt");
    EXPECT_EQ(tool->la_anzahl->Caption(), u"4 files loaded");

    tool->BitBtn2Click(tool->BitBtn2);
    tool->uv->SetChecked(false);
    tool->filterWindow->alle->SetChecked(true);
    tool->quordner->SetText(dir());
    tool->quordner->SetFocus();
    PressKey(tool->quordner->Widget(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(tool->qulist->Items().Count(), 4); // a.JPG, b.txt, c.png, README
    EXPECT_EQ(tool->la_anzahl->Caption(), u"4 files loaded");
    tool->quordner->SetText(dir() + u"missing");
    PressKey(tool->quordner->Widget(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(working.messages, std::vector<std::string>{"ordnerfalschopen"});
}

TEST_F(RenamingTool, DropAsksOnceForDuplicatesAndAsksAgainNextTime) {
    Owned<Tsm_meldung> box(new Tsm_meldung(nullptr));
    working.onMessage = [&](std::string_view, WideStringView) {
        ScopedModalInterceptor okForAll([&](TModalRequest&) {
            ClickControl(box->OKalle);
            return int(box->ModalResult());
        });
        box->ShowModal();
    };
    const WideString a = write("a.txt", "a");
    write("sub/b.txt", "b");
    write("sub/c.txt", "c");
    drop({a, a, U16((folder / "sub").string()), a});
    EXPECT_EQ(tool->qulist->Items().Count(), 3);
    EXPECT_EQ(working.messages, std::vector<std::string>{"dateischoninliste"});
    EXPECT_EQ(box->OKalle->Tag, 0);
    EXPECT_EQ(tool->la_anzahl->Caption(), u"3 files loaded");
    drop({a});
    EXPECT_EQ(working.messages.size(), 2u);
    EXPECT_TRUE(tool->Enabled());
}

TEST_F(RenamingTool, AnExceptionInADropLeavesTheWindowUsable) {
    const WideString a = write("a.txt", "a");
    tool->add2list(a);
    working.onMessage = [](std::string_view, WideStringView) {
        throw std::runtime_error("message failed");
    };
    WideString reported;
    {
        ScopedModalInterceptor shown([&](TModalRequest& r) {
            reported = ShownText(r);
            return IDOK;
        });
        drop({a, write("b.txt", "b")}); // the platform reports the exception
    }
    EXPECT_EQ(reported, u"message failed.");
    EXPECT_TRUE(tool->Enabled());
    tool->add2list(write("c.txt", "c"));
    tool->qulist->Items()[0]->SetSelected(true);
    EXPECT_EQ(tool->qulist->Items().Count(), 2);
}

TEST_F(RenamingTool, SortingDeletingAndSelecting) {
    write("big.txt", std::string(10 * 1024, 'x'));
    write("Small.txt", std::string(9 * 1024, 'x'));
    write("mid.log", std::string(9 * 1024 + 1, 'x'));
    for (const char* name : {"big.txt", "Small.txt", "mid.log"})
        tool->add2list(dir() + U16(name));
    auto order = [&] {
        std::string s;
        for (int i = 0; i < tool->qulist->Items().Count(); ++i)
            s += U8(tool->qulist->Items()[i]->Caption()) + " ";
        return s;
    };
    TListColumn* size = tool->qulist->Columns()[2];
    tool->qulistColumnClick(tool->qulist, size);
    EXPECT_EQ(order(), "Small mid big ");
    EXPECT_EQ(cell(0, Tdateinamenumbenenner::colSize), u"9.000 KB");
    tool->qulistColumnClick(tool->qulist, size);
    EXPECT_EQ(order(), "big mid Small ");
    tool->qulistColumnClick(tool->qulist, tool->qulist->Columns()[0]);
    EXPECT_EQ(order(), "big mid Small "); // without regard to case
    tool->qulistColumnClick(tool->qulist, tool->qulist->Columns()[1]);
    EXPECT_EQ(order(), "mid big Small ");

    bool cancelled = false;
    tool->popupqulist->OnPopup(tool->popupqulist, cancelled);
    EXPECT_TRUE(cancelled); // no row selected: no popup
    tool->qulist->SetFocus();
    PressKey(tool->qulist->Widget(), Qt::Key_A, QStringLiteral("a"), Qt::ControlModifier);
    EXPECT_EQ(tool->qulist->SelCount(), 3);
    tool->qulist->Items()[1]->SetSelected(false);
    PressKey(tool->qulist->Widget(), Qt::Key_Delete, QString());
    EXPECT_EQ(order(), "big ");
    EXPECT_EQ(tool->la_anzahl->Caption(), u"1 files loaded");
    tool->add2list(dir() + u"mid.log"); // deleted rows may be added again
    EXPECT_EQ(tool->qulist->Items().Count(), 2);
}

TEST_F(RenamingTool, ConstantLabelsAndKeyFilters) {
    tool->maske->SetText(u"ab");
    tool->maske->SetFocus();
    tool->maske->SetSelStart(1);
    tool->maske->SetSelLength(0);
    ClickControl(tool->Label7);
    EXPECT_EQ(tool->maske->Text(), u"a%num%b");
    EXPECT_EQ(tool->maske->SelStart(), 6);
    tool->maske->SetSelStart(1);
    tool->maske->SetSelLength(5);
    ClickControl(tool->Label12);
    EXPECT_EQ(tool->maske->Text(), u"a%0num%b");
    EXPECT_EQ(tool->maske->SelStart(), 7);

    tool->maske->SetText(u"");
    for (const char* c : {"\"", "*", "/", ":", "<", ">", "?", "\\", "|", "x"})
        TypeChar(tool->maske, QString::fromLatin1(c));
    EXPECT_EQ(tool->maske->Text(), u"x");
    tool->numstart->SetText(u"");
    tool->numstart->SetFocus();
    for (const char* c : {"1", "a", "-", "2"})
        TypeChar(tool->numstart, QString::fromLatin1(c));
    EXPECT_EQ(tool->numstart->Text(), u"12");

    ClickControl(tool->suchenersetzen);
    EXPECT_TRUE(tool->suchenalt->Enabled());
    ClickControl(tool->suchenersetzen);
    EXPECT_FALSE(tool->suchenalt->Enabled());
    EXPECT_FALSE(tool->Label3->Enabled());
}

TEST(RenamingFilter, EditUsableOnlyForASelectionAndCentredOverTheTool) {
    Owned<Tdateinamenumbenenner> tool(new Tdateinamenumbenenner(nullptr));
    tool->SetBounds(100, 50, 800, 700);
    Tdateinamenumbenenner_filter* f = tool->filterWindow;
    EXPECT_TRUE(f->alle->Checked());
    EXPECT_FALSE(f->filter->Enabled());
    EXPECT_EQ(f->filter->Text(), u"jpg,bmp,txt");
    ScopedModalInterceptor answer([&](TModalRequest&) {
        EXPECT_EQ(f->Left(), 100 + (tool->ClientWidth() - f->ClientWidth()) / 2);
        EXPECT_EQ(f->Top(), 50 + (tool->ClientHeight() - f->ClientHeight()) / 2);
        ClickControl(f->auswahl);
        EXPECT_TRUE(f->filter->Enabled());
        ClickControl(f->OK);
        return int(f->ModalResult());
    });
    ClickControl(tool->BitBtn1);
    EXPECT_TRUE(f->auswahl->Checked());
    EXPECT_EQ(f->Masks(), (TWideStrArray{u".jpg", u".bmp", u".txt"}));
}

TEST(Screenshots, RenamingToolAndItsFilter) {
    FakeWorkingWindow working;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Owned<Tdateinamenumbenenner> tool(new Tdateinamenumbenenner(nullptr));
    SaveScreenshots(tool.get(), "dateinamenumbenenner", [&] {
        tool->Sprache(); // rows and counters in the language they were made in
        tool->BitBtn2Click(tool->BitBtn2);
        tool->add2list(U16(QUORBEL_BUILD_DIR "/CMakeCache.txt"));
        tool->qulist->Items()[0]->SetSelected(true);
        tool->VorschauSetzen(tool->qulist);
        ExpectCaptionsFit(tool.get(), "dateinamenumbenenner-" + U8(LanguageCode));
    });
    tool->filterWindow->auswahl->SetChecked(true);
    SaveScreenshots(tool->filterWindow, "dateinamenumbenenner_filter", [&] {
        tool->filterWindow->Sprache();
        ExpectCaptionsFit(tool->filterWindow, "filter-" + U8(LanguageCode));
    });
    QLocale::setDefault(QLocale::system());
}

} // namespace
