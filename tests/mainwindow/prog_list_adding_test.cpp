// Files into the input list: single adds with their duplicate, missing-file and office
// notes, folders through the type filter (groups, subfolders, the text check), the row's
// columns, cancelling a folder add, the count label, and the hand-over of a second start.
#include <fstream>
#include <sstream>

#include "ListTestSupport.h"
#include "dialogs/LanguageCode.h"
#include "engine/LocaleTexts.h"
#include "text/UCodeSysUtils.h"

namespace {

TEST_F(ListTest, SingleAddsReportDuplicatesMissingFilesAndOfficeFilesOnce) {
    const WideString a = write("a.txt", "alpha");
    p->add2list(a, p->qulist);
    p->add2list(a, p->qulist);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(p->count("dateischoninliste"), 1);

    // After "OK for all" a duplicate shows nothing.
    box->OKalle->Tag = 1;
    p->add2list(a, p->qulist);
    EXPECT_EQ(p->count("dateischoninliste"), 1);
    box->OKalle->Tag = 0;

    // The duplicate test is exact: another spelling is another file.
    const WideString upper = write("A.TXT", "upper");
    p->add2list(upper, p->qulist);
    EXPECT_EQ(rows(), 2);

    // A missing path adds nothing and, with the log on, is logged.
    state->ProcessLogEnabled = true;
    const WideString missing = path("missing.txt");
    p->add2list(missing, p->qulist);
    p->add2list(U16(folder.string()), p->qulist); // a folder is no file
    EXPECT_EQ(rows(), 2);
    std::ifstream log(folder / "qvrprocess.log", std::ios::binary);
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_NE(text.str().find("NOT FOUND(" + U8(missing) + ")"), std::string::npos) << text.str();

    // Office files: the note once per run, the files are added all the same.
    p->add2list(write("x.docx", "PK"), p->qulist);
    p->add2list(write("y.DOC", "x"), p->qulist);
    EXPECT_EQ(p->count("docmsg"), 1);
    EXPECT_EQ(rows(), 4);
}

TEST_F(ListTest, ARowShowsTheFileAndItsBytesInItsColumns) {
    const WideString file = write("Notes.Txt", std::string(1536, 'x'));
    p->add2list(file, p->qulist);
    ASSERT_EQ(rows(), 1);
    TListItem* row = p->qulist->Items()[0];
    EXPECT_EQ(U8(row->Caption()), "Notes.Txt");
    EXPECT_EQ(row->SubItems().Count(), int(InputListColumn::Count));
    EXPECT_EQ(U8(sub(0, InputListColumn::Format)), "TXT");
    EXPECT_EQ(U8(sub(0, InputListColumn::Codepage)), "UTF-8");
    EXPECT_EQ(sub(0, InputListColumn::Size), KilobyteText(1536));
    EXPECT_EQ(U8(sub(0, InputListColumn::Status)), "Neu"); // the design language
    EXPECT_EQ(sub(0, InputListColumn::Path), file);
    EXPECT_EQ(U8(sub(0, InputListColumn::Bytes)), "1536");
    EXPECT_FALSE(sub(0, InputListColumn::Type).empty());
}

TEST_F(ListTest, ANameThatIsNoUtf8IsListedUnderItsOwnBytes) {
    const std::string raw = folder.string() + "/caf\xE9.txt";
    std::ofstream(raw, std::ios::binary) << "text";
    const WideString name = NativeToWide(raw);
    p->add2list(name, p->qulist);
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(WideToNative(sub(0, InputListColumn::Path)), raw);
}

TEST_F(ListTest, AFolderAddTakesTheFilesOfTheTickedGroups) {
    for (const char* f : {"a.txt", "b.log", "c.bak", "d.bin", "x/e.txt"})
        write(f, "plain text");
    const WideString dir = U16(folder.string());
    filter->cb_asciicheck->SetChecked(false);
    struct Case {
        bool all, subfolders;
        int rows;
    };
    for (const Case c : {Case{false, false, 3}, Case{false, true, 4}, Case{true, true, 5}}) {
        p->inp_deleteallClick(p);
        (c.all ? filter->alle : filter->auswahl)->SetChecked(true);
        for (TCheckBox* b : {filter->cb_txt_allg, filter->cb_txt_web, filter->cb_txt_prog,
                             filter->cb_txt_sys, filter->cb_txt_sons, filter->cb_txt_benutzer})
            b->SetChecked(false);
        filter->cb_txt_allg->SetChecked(true);
        filter->ed_txt_allg->SetText(u" txt , log");
        filter->cb_txt_benutzer->SetChecked(true);
        filter->ed_txt_benutzer->SetText(u",,bak");
        p->inp_uv->SetChecked(c.subfolders);
        p->AddOrdner(dir);
        EXPECT_EQ(rows(), c.rows) << c.all << c.subfolders;
        EXPECT_EQ(p->count("dateischoninliste"), 0);
        EXPECT_EQ(box->OKalle->Tag, 0);
        EXPECT_FALSE(progress->Visible());
        EXPECT_TRUE(p->Enabled());
    }
}

TEST_F(ListTest, TheTextCheckSkipsEightBitFilesWithControlBytes) {
    write("binary.txt", std::string("ab\0\xE4", 4));  // ANSI with a NUL: skipped
    write("nul_ascii.txt", std::string("ab\0cd", 5)); // UTF-8 with a NUL: taken
    write("umlaut.txt", "Gr\xFC\xDF"
                        "e\r\n\t\x1A");                // ANSI text bytes only: taken
    write("controls.txt", std::string("\x01\xE4", 2)); // ANSI with a control byte
    filter->alle->SetChecked(true);
    filter->cb_asciicheck->SetChecked(true);
    p->AddOrdner(U16(folder.string()));
    auto listed = names();
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"nul_ascii.txt", "umlaut.txt"}));
    EXPECT_EQ(U8(sub(0, InputListColumn::Codepage)).empty(), false);

    filter->cb_asciicheck->SetChecked(false);
    p->AddOrdner(U16(folder.string()));
    EXPECT_EQ(rows(), 4);
    EXPECT_EQ(p->count("dateischoninliste"), 0); // folder adds never report duplicates
}

TEST_F(ListTest, AFolderAddStopsWhenCancelledAndMissingFoldersAreLogged) {
    for (int i = 0; i < 30; ++i)
        write("f" + std::to_string(100 + i) + ".txt", "x");
    progress->Abbrechen->Tag = 1; // the user pressed cancel while the first file was read
    p->AddOrdner(U16(folder.string()));
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(progress->Abbrechen->Tag, 0);
    EXPECT_EQ(U8(p->la_anzahl->Caption()).substr(0, 2), "1 ");

    state->ProcessLogEnabled = true;
    p->AddOrdner(path("nowhere"));
    p->AddOrdner(u"");
    std::ifstream log(folder / "qvrprocess.log");
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_NE(text.str().find("NOT FOUND(" + U8(path("nowhere")) + ")"), std::string::npos);
}

TEST_F(ListTest, ASecondStartLoadsItsConfigurationBeforeItAddsItsFolder) {
    for (const char* f : {"in/a.txt", "in/b.log"})
        write(f, "plain text");
    // The configuration takes only ".log" files; the window itself takes every file.
    filter->cb_asciicheck->SetChecked(false);
    filter->auswahl->SetChecked(true);
    for (TCheckBox* b : {filter->cb_txt_allg, filter->cb_txt_web, filter->cb_txt_prog,
                         filter->cb_txt_sys, filter->cb_txt_sons})
        b->SetChecked(false);
    filter->cb_txt_benutzer->SetChecked(true);
    filter->ed_txt_benutzer->SetText(u"log");
    const WideString config = path("only-log.qvr");
    p->KonfigurationSpeichern(p, config);
    filter->alle->SetChecked(true);
    const int menuItems = p->m_konfig->Count();

    const WideString saved = LanguageCode;
    LanguageCode = u"en";
    TUCodeStringList params;
    for (const WideString& param : {WideString(u"/usr/bin/quorbel"), config, path("in")})
        params.Add(param);
    p->OnNewInstance(p, params);
    EXPECT_EQ(names(), std::vector<std::string>{"b.log"});
    EXPECT_TRUE(filter->auswahl->Checked());
    EXPECT_EQ(p->m_konfig->Count(), menuItems + 1);
    EXPECT_EQ(U8(p->la_anzahl->Caption()), "1 File");
    LanguageCode = saved;
}

TEST_F(ListTest, TheCountLabelSaysFileOnlyForOne) {
    const WideString a = write("a.txt", "a"), b = write("b.txt", "b");
    struct Case {
        const char16_t* language;
        int files;
        const char* label;
    };
    for (const Case c :
         {Case{u"en", 0, "0 Files"}, Case{u"en", 1, "1 File"}, Case{u"en", 2, "2 Files"},
          Case{u"de", 1, "1 Datei"}, Case{u"de", 2, "2 Dateien"}}) {
        const WideString saved = LanguageCode;
        LanguageCode = c.language;
        p->inp_deleteallClick(p);
        if (c.files > 0) p->add2list(a, p->qulist);
        if (c.files > 1) p->add2list(b, p->qulist);
        p->WriteFileCount();
        EXPECT_EQ(U8(p->la_anzahl->Caption()), c.label);
        LanguageCode = saved;
    }
}

} // namespace
