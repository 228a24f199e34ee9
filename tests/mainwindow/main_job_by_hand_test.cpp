// The main job as a person does it, in German and in English: the folder typed into the
// folder field and Enter, "replace text" ticked and its two fields filled by typing, a
// click on "Convert and Save". Each output has the replacement and keeps its file's own
// encoding, byte order mark and line breaks (iconv says what the bytes must be).
// Screenshots of the working window after the job and after a language switch are
// written to <build>/screenshots/mainwindow/ to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <cstdio>
#include <string>

#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"

namespace {

// Text (UTF-8) in another encoding, converted by iconv.
std::string Iconv(const std::string& Utf8, const char* To) {
    TempFolder scratch;
    scratch.Write("in", Utf8);
    const std::string command =
        std::string("iconv -f UTF-8 -t ") + To + " '" + scratch.P("in").string() + "'";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        EXPECT_EQ(pclose(pipe), 0) << command;
    }
    return out;
}

struct SampleFile {
    const char* name;
    const char* encoding; // iconv's name
    const char* mark;     // byte order mark
    const char* lineBreak;
};

const SampleFile kFiles[] = {
    {"utf8.txt", "UTF-8", "", "\n"},
    {"utf8bom.txt", "UTF-8", "\xEF\xBB\xBF", "\r\n"},
    {"utf16.txt", "UTF-16LE", "\xFF\xFE", "\r\n"},
    {"ansi.txt", "CP1252", "", "\r"},
};

// The text of each sample; Town is the word the job replaces.
std::string Sample(const std::string& Town, const char* LineBreak) {
    return "Grüße aus " + Town + LineBreak + "zweite Zeile, " + Town + LineBreak;
}

std::string Bytes(const SampleFile& F, const std::string& Town) {
    return F.mark + Iconv(Sample(Town, F.lineBreak), F.encoding);
}

void SaveScreenshot(Tprog& P, const char* Name) {
    QDir().mkpath(QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/mainwindow"));
    QApplication::processEvents();
    const QString path =
        QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/mainwindow/%1.png").arg(Name);
    EXPECT_TRUE(P.Widget()->grab().save(path)) << path.toStdString();
}

TEST(MainJobByHand, ReplacesTextAndKeepsEachFilesEncodingInBothLanguages) {
    struct Case {
        const char* name;
        const char16_t* startLanguage;
        bool switchToEnglish; // the menu item "English" chosen before the job
        const char16_t* changed;
        const char16_t* files;
        const char* shot;
        TMenuItem* Tprog::*switchOver; // the other language's menu item
        const char* shotAfterSwitch;
    };
    const Case cases[] = {
        {"German", u"de", false, u"Geändert", u"4 Dateien", "job-de",
         &Tprog::m_einst_sprache_english, "job-de-then-en"},
        {"English chosen in the menu", u"de", true, u"Changed", u"4 Files", "job-en",
         &Tprog::m_einst_sprache_deutsch, "job-en-then-de"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        for (const SampleFile& f : kFiles)
            folder.Write(f.name, Bytes(f, "Köln"));
        ProgramWindows windows(c.startLanguage);
        windows.ShowAsStarted();
        Tprog& p = windows.Working();
        if (c.switchToEnglish) ChooseMenuItem(p.m_einst_sprache_english);
        ASSERT_EQ(p.durchfuehren->Caption(),
                  c.switchToEnglish ? u"Convert and Save" : u"Konvertieren und Speichern");

        TypeInto(p.inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
        ASSERT_EQ(p.qulist->Items().Count(), 4);
        ClickCentre(p.act_ers_text);
        ASSERT_TRUE(p.act_ers_text->Checked());
        TypeInto(p.act_ers_text_suchen, QStringLiteral("Köln"));
        TypeInto(p.act_ers_text_ersetzen, QStringLiteral("Zürich €"));
        ClickCentre(p.durchfuehren);

        for (const SampleFile& f : kFiles) {
            const std::string output =
                std::string(f.name).insert(std::string(f.name).size() - 4, "-1");
            EXPECT_EQ(folder.Read(output), Bytes(f, "Zürich €")) << output;
            EXPECT_EQ(folder.Read(f.name), Bytes(f, "Köln")) << f.name << " was changed";
        }
        for (int i = 0; i < p.qulist->Items().Count(); ++i)
            EXPECT_EQ(p.qulist->Items().Item(i)->SubItems().Get(4), c.changed);
        EXPECT_EQ(p.la_anzahl->Caption(), c.files);
        EXPECT_TRUE(p.Enabled());
        SaveScreenshot(p, c.shot);

        // The other language: the window keeps what it shows.
        ChooseMenuItem(p.*c.switchOver);
        EXPECT_EQ(p.act_ers_text_ersetzen->Text(), u"Zürich €");
        EXPECT_EQ(p.qulist->Items().Count(), 4);
        SaveScreenshot(p, c.shotAfterSwitch);
    }
}

} // namespace
