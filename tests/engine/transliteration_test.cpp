#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/TempFolder.h"
#include "engine/Transliteration.h"
#include "engine/UserLists.h"
#include "text/WideStrUtils.h"

namespace fs = std::filesystem;

namespace {

TWideStrArray tableRows(WideStringView text) {
    TWideStrArray rows;
    ExplodeW(rows, u"\r\n", text);
    return rows;
}

struct TableCase {
    const char* german;
    const char* english;
    size_t rows;
    std::vector<const char*> firstRows;
};

const std::vector<TableCase> kTables = {
    {"Griechisch - Latein (ISO 843)",
     "Greek - Latin (ISO 843)",
     73,
     {"αυ|au", "ευ|eu", "ου|ou", "Χ|Ch"}},
    {"Kyrillisch - Latein (ISO 9)", "Cyrillic - Latin (ISO 9)", 250, {"Ѳ|F̀", "ѳ|f̀", "Ґ|G̀", "ґ|g̀"}},
    {"Georgisch - Latein (ISO 9984)",
     "Georgic - Latin (ISO 9984)",
     39,
     {"თ|t'", "ფ|p'", "ქ|k'", "ჩ|č'"}},
    {"Hebräisch - Latein (ISO 259)",
     "Hebrew - Latin (ISO 259)",
     26,
     {"ג׳|ǧ", "ז׳|ž", "צ׳|č", "א|`"}},
    {"Latein - Hebräisch (Komplettes ABC)",
     "Latin - Hebrew (Complete ABC)",
     36,
     {"K |ך ", "M |ם ", "A|ʾ", "B|ב"}},
    {"Hindi - Latein", "Hindi - Latin", 44, {"अ|A", "आ|Ā", "इ|I", "ई|Ī"}},
    {"Latein - Hindi (Komplettes ABC)",
     "Latin - Hindi (Complete ABC)",
     49,
     {"AI|ऐ", "AU|औ", "BH|भ", "CH|छ"}},
    {"Latein - Griechisch (Komplettes ABC)",
     "Latin - Greek (Complete ABC)",
     35,
     {"TH|Θ", "PH|Φ", "CH|Χ", "PS|Ψ"}},
    {"Kyrillisch - Latein (Deutsch)",
     "Cyrillic - Latin (German)",
     58,
     {" Е| Je", "AЕ|AJE", "ОЕ|OJE"}},
    {"Latein - Kyrillisch (Deutsch, Komplettes ABC)",
     "Latin - Cyrillic (German, Complete ABC)",
     53,
     {"SCHTSCH|Щ", "TSCH|Ч", "SCH|Ш", "SCH|Ж"}},
    {"Kyrillisch - Latein (Englisch)",
     "Cyrillic - Latin (English)",
     58,
     {" Е| Ye", "AЕ|AYE", "ОЕ|OYE"}},
    {"Latein - Kyrillisch (Englisch, Komplettes ABC)",
     "Latin - Cyrillic (English, Complete ABC)",
     53,
     {"SHCH|Щ", " Ye| Е", "AYE|AЕ"}},
    {"Kyrillisch - Latein (Wissenschaftlich)",
     "Cyrillic - Latin (Scientific)",
     33,
     {"А|A",  "Б|B", "В|V", "Г|G", "Д|D", "Е|E", "Ё|Ё", "Ж|Ž", "З|Z", "И|I",  "Й|J",
      "К|K",  "Л|L", "М|M", "Н|N", "О|O", "П|P", "Р|R", "С|S", "Т|T", "У|U",  "Ф|F",
      "Х|CH", "Ц|C", "Ч|Č", "Ш|Š", "Щ|Š", "Ъ|",  "Ы|Y", "Ь|",  "Э|Ė", "Ю|JU", "Я|JA"}},
    {"Latein - Kyrillisch (Wissenschaftlich, ganzes ABC)",
     "Latin - Cyrillic (Scientific, Complete ABC)",
     35,
     {"JU|Ю", "JA|Я", "CH|Х", "A|А"}},
    {"Thai - Latein (ISO 11940)",
     "Thai - Latin (ISO 11940)",
     93,
     {"ฤๅ|VƗ", "ฦๅ|ŁƗ", "ข|K̄H", "ค|KH"}},
    {"Latein - Thai (Komplettes ABC)",
     "Latin - Thai (Complete ABC)",
     98,
     {"VƗ|ฤๅ", "ŁƗ|ฦๅ", "K̄H|ข", "KH|ค"}},
    {"Arabisch - Latein (ISO 233)", "Arabic - Latin (ISO 233)", 34, {"ء|ˌ", "ا|ʾ", "ب|B", "ت|T"}},
    {"Latein - Arabisch (Komplettes ABC)",
     "Latin - Arabic (Complete ABC)",
     44,
     {"ˌ|ء", "ʾ|ا", "B|ب", "T|ت"}},
    {"Latein - Georgisch (Komplettes ABC)",
     "Latin - Georgic (Complete ABC)",
     39,
     {"T'|თ", "P'|ფ", "K'|ქ", "Č'|ჩ"}},
    {"Japanisch - Latein (Hiragana, ISO 3602)",
     "Japanese - Latin (Hiragana, ISO 3602)",
     109,
     {"きゃ|KYA", "きゅ|KYU", "きょ|KYO"}},
    {"Japanisch - Latein (Katakana, ISO 3602)",
     "Japanese - Latin (Katakana, ISO 3602)",
     109,
     {"キャ|KYA", "キュ|KYU", "キョ|KYO"}},
    {"Latein - Japanisch (Hiragana, Komplettes ABC)",
     "Latin - Japanese (Hiragana, Complete ABC)",
     137,
     {"KYA|きゃ", "KYU|きゅ", "KYO|きょ"}},
    {"Latein - Japanisch (Katakana, Komplettes ABC)",
     "Latin - Japanese (Katakana, Complete ABC)",
     137,
     {"KYA|キャ", "KYU|キュ", "KYO|キョ"}},
};

TEST(Transliteration, EveryBuiltInTableHasItsRowCountAndFirstRows) {
    ASSERT_EQ(BuiltInTranscriptTables().size(), kTables.size());
    ASSERT_EQ(kTables.size(), 23u);
    for (const TableCase& c : kTables) {
        SCOPED_TRACE(c.english);
        WideString byGerman = TranskriptTabelle(U16(c.german), u"/nonexistent/");
        WideString byEnglish = TranskriptTabelle(U16(c.english), u"/nonexistent/");
        EXPECT_EQ(byGerman, byEnglish);
        TWideStrArray rows = tableRows(byGerman);
        EXPECT_EQ(rows.size(), c.rows);
        for (size_t i = 0; i < c.firstRows.size() && i < rows.size(); ++i)
            EXPECT_EQ(U8(rows[i]), c.firstRows[i]) << "row " << i + 1;
        for (const WideString& row : rows) {
            TWideStrArray parts;
            EXPECT_EQ(ExplodeW(parts, u"|", row), 2) << U8(row);
            EXPECT_FALSE(parts[0].empty()) << U8(row);
        }
    }
    // In the order the editor lists them; names compare exactly.
    const auto& tables = BuiltInTranscriptTables();
    EXPECT_EQ(tables[0].germanName, u"Arabisch - Latein (ISO 233)");
    EXPECT_EQ(tables[11].englishName, u"Thai - Latin (ISO 11940)");
    EXPECT_EQ(tables[12].englishName, u"Latin - Arabic (Complete ABC)");
    EXPECT_EQ(tables[22].germanName, u"Latein - Thai (Komplettes ABC)");
    EXPECT_TRUE(TranskriptTabelle(u"greek - latin (ISO 843)", u"/nonexistent/").empty());
    EXPECT_TRUE(TranskriptTabelle(u"", u"/nonexistent/").empty());
}

// Well-known words through each table, with the design settings (umlaut pairs and the
// lower-case pass on).
TEST(Transliteration, WellKnownWordsWithEveryTable) {
    struct Case {
        const char* table;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"Greek - Latin (ISO 843)", "Χ χ", "Ch ch"},
        {"Greek - Latin (ISO 843)", "Αθήνα", "Athī́na"},
        {"Greek - Latin (ISO 843)", "Αυγό", "Augó"},
        {"Cyrillic - Latin (ISO 9)", "Щука", "Ŝuka"},
        {"Cyrillic - Latin (ISO 9)", "Ґанок", "G̀anok"},
        {"Georgic - Latin (ISO 9984)", "თბილისი", "t'bilisi"},
        {"Latin - Georgic (Complete ABC)", "t'bilisi", "თბილისი"},
        {"Hebrew - Latin (ISO 259)", "שלום", "šlwm"},
        {"Latin - Hebrew (Complete ABC)", "SHALOM ", "שʾלום "},
        {"Hindi - Latin", "कमल", "KML"},
        {"Latin - Hindi (Complete ABC)", "BHARAT", "भअरअत"},
        {"Latin - Greek (Complete ABC)", "PHILOSOPHIA", "ΦΙΛΟΣΟΦΙΑ"},
        {"Cyrillic - Latin (German)", "Чехов", "Tschechow"},
        {"Cyrillic - Latin (English)", "Чехов", "Chekhov"},
        {"Latin - Cyrillic (German, Complete ABC)", "TSCHECHOW", "ЧЕХОВ"},
        {"Latin - Cyrillic (English, Complete ABC)", "CHEKHOV", "ЧЕХОВ"},
        {"Cyrillic - Latin (Scientific)", "ЩУКА щука", "ŠUKA šuka"},
        {"Latin - Cyrillic (Scientific, Complete ABC)", "CHRUŠČEV", "ХРУШЧЕВ"},
        {"Thai - Latin (ISO 11940)", "ไทย", "ỊThY"},
        {"Latin - Thai (Complete ABC)", "KHON", "คโน"},
        {"Arabic - Latin (ISO 233)", "كتاب", "KTʾB"},
        {"Latin - Arabic (Complete ABC)", "KITAB", "كيتاب"},
        {"Japanese - Latin (Hiragana, ISO 3602)", "きょうと", "KyoUTo"},
        {"Japanese - Latin (Katakana, ISO 3602)", "トウキョウ", "ToUKyoU"},
        {"Latin - Japanese (Hiragana, Complete ABC)", "TOKYO", "ときょ"},
        {"Latin - Japanese (Katakana, Complete ABC)", "SUSHI", "スシ"},
        // Single letters as the named standards write them (ISO 843, ISO 9, ISO 9984,
        // ISO 259, ISO 233, ISO 11940, ISO 3602 in its Kunrei form) and the German and
        // English romanisations. A row whose target has more than one letter is applied in
        // its capitalised form first, so a capital source gives a capitalised target.
        {"Greek - Latin (ISO 843)", "Θ θ", "Th th"},
        {"Greek - Latin (ISO 843)", "Η ω ψ ξ β", "Ī ō ps x v"},
        {"Greek - Latin (ISO 843)", "ώ ΐ ς", "ṓ ḯ s"},
        {"Greek - Latin (ISO 843)", "Ευ ηυ", "Eu īu"},
        {"Cyrillic - Latin (ISO 9)", "Ж ж Щ щ", "Ž ž Ŝ ŝ"},
        {"Cyrillic - Latin (ISO 9)", "Х Ц Я ю Ё", "H C Â û Ë"},
        {"Cyrillic - Latin (ISO 9)", "Ъ ь Ї Ў", "ʺ ʹ Ï Ŭ"},
        {"Georgic - Latin (ISO 9984)", "ჟ ღ ყ ჯ ხ", "ž ġ q ǰ x"},
        {"Hebrew - Latin (ISO 259)", "ח ט ע צ ש", "ḥ ṭ ʿ ṣ š"},
        {"Arabic - Latin (ISO 233)", "ش ع ذ", "Š ʿ Ḏ"},
        {"Thai - Latin (ISO 11940)", "ก ด ๕", "K D 5"},
        {"Japanese - Latin (Hiragana, ISO 3602)", "し ち つ ふ じ を", "Si Ti Tu Hu Zi O"},
        {"Japanese - Latin (Katakana, ISO 3602)", "シャ ツ ヲ", "Sya Tu O"},
        {"Cyrillic - Latin (German)", "Жуков Вышинский", "Schukow Wyschinski"},
        {"Cyrillic - Latin (English)", "Жуков Хрущёв", "Zhukov Khrushchov"},
        {"Cyrillic - Latin (Scientific)", "Жук", "Žuk"},
        {"Latin - Greek (Complete ABC)", "THEOS", "ΘΕΟΣ"},
        {"Latin - Cyrillic (Scientific, Complete ABC)", "ŽUK", "ЖУК"},
        {"Latin - Hebrew (Complete ABC)", "DOD", "דוד"},
        {"Latin - Arabic (Complete ABC)", "ŠMS", "شمس"},
        {"Latin - Japanese (Hiragana, Complete ABC)", "SUSHI", "すし"},
        {"Latin - Japanese (Katakana, Complete ABC)", "KATAKANA", "カタカナ"},
    };
    MemorySettings s;
    for (const Case& c : cases)
        EXPECT_EQ(U8(Transkribieren(s, U16(c.in), U16(c.table), u"/nonexistent/")), c.out)
            << c.table << ": " << c.in;
}

TEST(Transliteration, CaseVariantsOfMultiLetterRows) {
    MemorySettings s;
    auto pairs = TranskriptPaare(s, u"αυ|au\r\nΧ|Ch\r\nа|b");
    // umlaut pairs, then αυ in four forms, Χ in four forms, а alone
    ASSERT_EQ(pairs.size(), 7u + 4 + 4 + 1);
    EXPECT_EQ(pairs[7], (TranskriptPaar{u"Αυ", u"Au"}));
    EXPECT_EQ(pairs[8], (TranskriptPaar{u"αυ", u"au"}));
    EXPECT_EQ(pairs[9], (TranskriptPaar{u"ΑΥ", u"AU"}));
    EXPECT_EQ(pairs[10], (TranskriptPaar{u"αυ", u"au"}));
    EXPECT_EQ(pairs[15], (TranskriptPaar{u"а", u"b"}));
    s.SetChecked({"Tprog", "act_transcript_umlaute"}, false);
    s.SetChecked({"Tprog", "act_trans_reverse"}, true);
    pairs = TranskriptPaare(s, u"αυ|au\r\nЪ|\r\n|x\r\nno bar\r\na|b|c");
    // reversed: capitalised, lower, upper, but not the row as written; Ъ and the rows
    // without exactly two parts or without a left side are skipped
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(pairs[0], (TranskriptPaar{u"Au", u"Αυ"}));
}

TEST(Transliteration, ReverseScientificSkipsTheEmptyRows) {
    MemorySettings s;
    s.SetChecked({"Tprog", "act_trans_reverse"}, true);
    WideString table = TranskriptTabelle(u"Cyrillic - Latin (Scientific)", u"/nonexistent/");
    for (const TranskriptPaar& p : TranskriptPaare(s, table))
        EXPECT_FALSE(p.source.empty());
}

// The switches of the step: umlaut pairs, reverse, the lower- and upper-case passes.
TEST(Transliteration, SwitchesOfTheStep) {
    struct Case {
        bool umlauts, lowerPass, upperPass, reverse;
        const char *table, *in, *out;
    };
    const Case cases[] = {
        {true, true, false, true, "Cyrillic - Latin (Scientific)", "ŽUK", "ЖУК"},
        // An unknown name: the umlaut pairs alone, or nothing.
        {true, true, false, false, "no such table", "Straße Äpfel", "StraSSe Aepfel"},
        {false, true, false, false, "no such table", "Straße Äpfel", "Straße Äpfel"},
        // Only the first of two equal sources matches.
        {true, true, false, false, "Latein - Kyrillisch (Deutsch, Komplettes ABC)", "SCHA scha",
         "ША ша"},
        // Single-letter rows apply to their own case only without the lower-case pass.
        {false, false, false, false, "Cyrillic - Latin (Scientific)", "Щука", "Šука"},
        {false, false, true, false, "Cyrillic - Latin (Scientific)", "Щука", "Šука"},
        // Upper-case pass: the lower-case input letters stay, upper-case ones are mapped.
        {false, false, true, false, "Latin - Cyrillic (Scientific, Complete ABC)", "ё", "ё"},
    };
    for (const Case& c : cases) {
        MemorySettings s;
        s.SetChecked({"Tprog", "act_transcript_umlaute"}, c.umlauts);
        s.SetChecked({"Tprog", "act_trans_kleinzusatz"}, c.lowerPass);
        s.SetChecked({"Tprog", "act_trans_grosszusatz"}, c.upperPass);
        s.SetChecked({"Tprog", "act_trans_reverse"}, c.reverse);
        EXPECT_EQ(U8(Transkribieren(s, U16(c.in), U16(c.table), u"/x/")), c.out)
            << c.table << ": " << c.in;
    }
}

class UserTableTest : public TempFolderTest {
protected:
    void writeTable(const std::string& name, const std::string& bytes) {
        write("Transliteration/" + name + ".txt", bytes);
    }
    WideString programFolder() const { return dir(); }
};

TEST_F(UserTableTest, LinesEndingInCrLfLfOrCrAllCount) {
    MemorySettings s;
    for (const char* bytes : {"a|b\nc|d", "a|b\r\nc|d\r\n", "a|b\rc|d\r",
                              "\xEF\xBB\xBF"
                              "a|b\nc|d"}) {
        writeTable("mine", bytes);
        EXPECT_EQ(Transkribieren(s, u"abc", u"mine", programFolder()), u"bbd") << bytes;
    }
    writeTable("sub/nested", "x|y");
    EXPECT_EQ(Transkribieren(s, u"xx", u"sub/nested", programFolder()), u"yy");
}

// The tables are listed as the editor and the combo box list them (searched recursively,
// every ".txt" removed), and every listed name finds its table again.
TEST_F(UserTableTest, ListedTablesAreFoundAgainInTheirSubfolders) {
    writeTable("mine", "a|b");
    writeTable("Latin.txt", "c|d"); // Latin.txt.txt
    writeTable("sub/deep", "x|y");
    write("Transliteration/notes.md", "not a table");
    const TWideStrArray names = UserListNames(TransliterationFolder(programFolder()));
    EXPECT_EQ(names, (TWideStrArray{u"deep", u"Latin", u"mine"}));
    MemorySettings s;
    EXPECT_EQ(Transkribieren(s, u"xa", u"deep", programFolder()), u"ya");
    EXPECT_EQ(Transkribieren(s, u"cc", u"Latin", programFolder()), u"dd");
    EXPECT_EQ(UserListFile(TransliterationFolder(programFolder()), u"deep"),
              dir() + u"Transliteration/sub/deep.txt");
    EXPECT_EQ(UserListFile(TransliterationFolder(programFolder()), u"none"), u"");
    EXPECT_EQ(UserListNames(ReplacementsFolder(programFolder())), TWideStrArray{});
    // The combo box: the built-in tables in the language, then the user's.
    const TWideStrArray items = TransliterationTableNames(programFolder(), false);
    ASSERT_EQ(items.size(), BuiltInTranscriptTables().size() + 3);
    EXPECT_EQ(items.front(), BuiltInTranscriptTables().front().englishName);
    EXPECT_EQ(items.back(), u"mine");
}

TEST_F(UserTableTest, BuiltInNamesWinOverFiles) {
    writeTable("Greek - Latin (ISO 843)", "a|b");
    EXPECT_EQ(TranskriptTabelle(u"Greek - Latin (ISO 843)", programFolder()).substr(0, 5),
              u"αυ|au");
    EXPECT_EQ(TranskriptTabelle(u"missing", programFolder()), u"");
}

} // namespace
