// The transliteration table editor in a temporary program folder: listing the user tables,
// loading a table, turning it round, saving and refusing names, both languages.
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/FakeWorkingWindow.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/u_transform.h"
#include "engine/TempFolder.h"
#include "engine/Transliteration.h"
#include "support/ModalInterceptor.h"

namespace {

struct TransformTest : TempFolderTest {
    ScopedLanguage german{u"de"};
    FakeWorkingWindow working;
    Ttransform* w = nullptr;

    void open() {
        w = new Ttransform(nullptr, dir());
        w->DoCreate();
        w->Show();
    }
    void TearDown() override {
        if (w) w->Free();
        TempFolderTest::TearDown();
    }
    TWideStrArray items() const {
        TWideStrArray all;
        for (int i = 0; i < w->cb_auswahl->Items().Count(); ++i)
            all.push_back(w->cb_auswahl->Items().Get(i));
        return all;
    }
    // The user types a name into the box (each character fires the change handler).
    void typeName(const QString& name) {
        w->cb_auswahl->SetText(u"");
        for (QChar ch : name)
            TypeChar(w->cb_auswahl, QString(ch));
    }
    std::string fileBytes(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> listing() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
            names.push_back(e.path().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(TransformTest, ListsUserTablesByFileNameAfterTheBuiltInOnes) {
    write("Transliteration/Latin.txt.txt", "a|b");
    write("Transliteration/sub/Other.txt", "c|d");
    write("Transliteration/notes.md", "x");
    open();
    const TWideStrArray all = items();
    ASSERT_EQ(all.size(), 25u);
    EXPECT_EQ(all[0], u"Arabisch - Latein (ISO 233)");
    EXPECT_EQ(all[22], u"Latein - Thai (Komplettes ABC)");
    const TWideStrArray users(all.begin() + 23, all.end());
    EXPECT_EQ(users, (TWideStrArray{u"Other", u"Latin"}));
    EXPECT_EQ(w->cb_auswahl->Text(), u"Profil wählen..");
    typeName(QStringLiteral("Other")); // found again in its subfolder
    EXPECT_EQ(w->liste->Text(), u"c|d");

    LanguageCode = u"en";
    w->Sprache();
    EXPECT_EQ(w->cb_auswahl->Items().Get(0), u"Arabic - Latin (ISO 233)");
    EXPECT_EQ(w->cb_auswahl->Items().Get(1), u"Georgic - Latin (ISO 9984)");
    EXPECT_EQ(w->cb_auswahl->Items().Count(), 25);
    const TWideStrArray after = items();
    EXPECT_EQ(TWideStrArray(after.begin() + 23, after.end()), users);
    EXPECT_EQ(w->cb_auswahl->Text(), u"Choose Profile..");
    EXPECT_EQ(w->Caption(), u"Customized Transcription");
    EXPECT_EQ(w->BitBtn3->Caption(), u"Inverse List");
    EXPECT_EQ(w->Label6->Caption(), u"Transcription");
}

TEST_F(TransformTest, AChosenOrTypedNameLoadsItsTableUnlessItIsEmpty) {
    write("Transliteration/Mine.txt", "x|y");
    open();
    auto* box = static_cast<QComboBox*>(w->cb_auswahl->Widget());
    box->setCurrentIndex(12);
    emit box->activated(12); // "Latein - Arabisch (Komplettes ABC)"
    EXPECT_EQ(w->liste->Text(), BuiltInTranscriptTables()[12].text);
    typeName(QStringLiteral("Mine"));
    EXPECT_EQ(w->liste->Text(), u"x|y");
    typeName(QStringLiteral("Nothing")); // no such table: liste stays
    EXPECT_EQ(w->liste->Text(), u"x|y");
    w->cb_auswahl->SetText(u"Hindi - Latin"); // set by code: no change event
    EXPECT_EQ(w->liste->Text(), u"x|y");
}

TEST_F(TransformTest, AddAndInverse) {
    open();
    w->liste->SetText(u"ä|ae\r\na|b|c\r\nno bar");
    w->Edit1->SetText(u"");
    w->Edit2->SetText(u"z");
    ClickControl(w->BitBtn6);
    ClickControl(w->BitBtn3);
    EXPECT_EQ(w->liste->Text(), u"ae|ä\r\na|b|c\r\nno bar\r\nz|");
    w->liste->SetFocus();
    PressKey(w->liste->Widget(), Qt::Key_A, "a", Qt::ControlModifier);
    EXPECT_EQ(w->liste->SelLength(), int(w->liste->Text().size()));
}

TEST_F(TransformTest, SavesUtf16WithMarkAndAddsTheNameOnce) {
    open();
    typeName(QStringLiteral("Mein"));
    w->liste->SetText(u"x|y\r\nä|ae");
    ClickControl(w->BitBtn2);
    const std::string expected("\xFF\xFE"
                               "x\0|\0y\0\r\0\n\0\xE4\0|\0a\0e\0",
                               20);
    EXPECT_EQ(fileBytes("Transliteration/Mein.txt"), expected);
    ClickControl(w->BitBtn2);
    EXPECT_EQ(fileBytes("Transliteration/Mein.txt"), expected);
    const TWideStrArray all = items();
    EXPECT_EQ(std::count(all.begin(), all.end(), u"Mein"), 1);
    EXPECT_EQ(working.transkription, TWideStrArray{u"Mein"});
    // The transliteration action uses the new table at once.
    MemorySettings settings;
    settings.SetChecked({"Tprog", "act_transcript_umlaute"}, false);
    settings.SetChecked({"Tprog", "act_trans_kleinzusatz"}, false);
    EXPECT_EQ(Transkribieren(settings, u"xä", u"Mein", dir()), u"yae");
    // A built-in name is saved as a user file of that name.
    typeName(QStringLiteral("Hindi - Latein"));
    ClickControl(w->BitBtn2);
    EXPECT_TRUE(std::filesystem::exists(folder / "Transliteration/Hindi - Latein.txt"));
    EXPECT_EQ(working.transkription.size(), 1u);
}

TEST_F(TransformTest, RefusesNamesThatAreNoFileNames) {
    write("Transliteration/keep.txt", "k|l");
    open();
    w->liste->SetText(u"x|y");
    int warnings = 0;
    ScopedModalInterceptor answer([&](TModalRequest&) {
        ++warnings;
        return int(mrOk);
    });
    const auto before = listing();
    const WideString names[] = {
        u"",  u"Profil wählen..",    u"Choose Profile..", u"../x", u"a/b", u"..",
        u".", WideString(u"a\0b", 3)};
    for (const WideString& name : names) {
        w->cb_auswahl->SetText(name);
        ClickControl(w->BitBtn2);
    }
    EXPECT_EQ(warnings, int(std::size(names)));
    EXPECT_EQ(listing(), before);
    EXPECT_EQ(w->cb_auswahl->Items().Count(), 24);
    EXPECT_TRUE(working.transkription.empty());
    EXPECT_TRUE(IsSavableTableName(u"a.b"));
    EXPECT_TRUE(IsSavableTableName(u"Arabisch - Latein (ISO 233)"));
}

} // namespace
