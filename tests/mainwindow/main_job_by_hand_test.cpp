// The main job as a person does it, in German and in English: the folder typed into the
// folder field and Enter, "replace text" ticked and its two fields filled by typing, a
// click on "Convert and Save". Each output has the replacement and keeps its file's own
// encoding, byte order mark and line breaks (iconv says what the bytes must be).
// Screenshots of the working window after the job and after a language switch are
// written to <build>/screenshots/mainwindow/ to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <string>

#include "support/IconvOracle.h"
#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"

namespace {

const EncodedSample kFiles[] = {
    {"utf8.txt", "UTF-8", "", "\n"},
    {"utf8bom.txt", "UTF-8", "\xEF\xBB\xBF", "\r\n"},
    {"utf16.txt", "UTF-16LE", "\xFF\xFE", "\r\n"},
    {"ansi.txt", "CP1252", "", "\r"},
};

// The bytes of a sample; Town is the word the job replaces.
std::string Bytes(const EncodedSample& F, const std::string& Town) {
    return EncodedText(F, "Grüße aus " + Town + "\nzweite Zeile, " + Town + "\n");
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
        for (const EncodedSample& f : kFiles)
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

        for (const EncodedSample& f : kFiles) {
            const std::string output = f.OutputName();
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
        EXPECT_EQ(p.la_anzahl->Caption(), c.switchToEnglish ? u"4 Dateien" : u"4 Files");
        SaveScreenshot(p, c.shotAfterSwitch);
    }
}

} // namespace
