// The preview box: the one-shot timer, the output path beside the run's, the memos' lines,
// sizes and scrolling, saving an edited old text, the halves with screenshots, the plus
// buttons with the long-text editors, and the maker's addresses.
#include <QImage>
#include <QLocale>
#include <QPixmap>
#include <QWidget>

#include "ListTestSupport.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/u_zplus.h"
#include "support/ModalInterceptor.h"
#include "support/WidgetInput.h"
#include "text/UCodeSysUtils.h"

using namespace std::literals;

namespace {

std::string Utf16Le(const std::u16string& s) {
    std::string out = "\xFF\xFE";
    for (char16_t c : s) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

std::string ReadBytes(const std::filesystem::path& f) {
    std::ifstream in(f, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class PreviewTest : public ListTest {
protected:
    void SetUp() override {
        ListTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::system());
        LanguageCode = u"de";
        ListTest::TearDown();
    }
    // Lists the files and selects row Row as a click on the list does.
    void select(const std::vector<WideString>& files, int row) {
        for (const WideString& f : files)
            p->add2list(f, p->qulist);
        p->qulist->Items()[row]->SetSelected(true);
        p->VorschauSetzen(p->qulist);
    }
    void replace(const char16_t* search, const char16_t* by) {
        p->act_ers_text->SetChecked(true);
        p->act_ers_text_suchen->SetText(search);
        p->act_ers_text_ersetzen->SetText(by);
    }
    void outputTo(const std::string& sub, const char16_t* name) {
        p->out_ordner->SetText(path(sub));
        p->out_name->SetText(name);
        p->out_format->SetText(u"<keep>");
    }
};

TEST_F(PreviewTest, EditsWithinTheIntervalRefreshOnceWhenTheTimerFires) {
    select({write("a.txt", "one x\r\n")}, 0);
    const int before = p->PreviewComputations();
    replace(u"x", u"y");
    for (int i = 0; i < 3; ++i)
        p->VorschauVerzoegert(p->act_ers_text_suchen);
    EXPECT_EQ(p->PreviewComputations(), before);
    EXPECT_TRUE(p->VorschauTimer->Enabled());
    EXPECT_EQ(p->VorschauTimer->Interval(), 500u);
    p->VorschauTimer->OnTimer(p->VorschauTimer); // the timer's one tick
    EXPECT_EQ(p->PreviewComputations(), before + 1);
    EXPECT_FALSE(p->VorschauTimer->Enabled());
    EXPECT_EQ(U8(p->vor_neu->Text()), "one y\r\n");
}

TEST_F(PreviewTest, OutputPathIsTheRunsWithoutCreatingItsFolder) {
    std::vector<WideString> files;
    for (int i = 1; i <= 12; ++i)
        files.push_back(write("f" + std::to_string(i) + ".txt", "text"));
    outputTo("never/made", u"%0num%");
    select(files, 2);
    EXPECT_EQ(p->vor_out->Hint(), path("never/made/03.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder / "never"));

    // Merged: the shown path is the file the run writes, numbered as the run numbers it.
    p->act_dateizus->SetChecked(true);
    outputTo("out", u"m%num%_%firstchars%");
    replace(u"text", u"merged");
    p->VorschauWennAktiv(p);
    const WideString shown = p->vor_out->Hint();
    EXPECT_TRUE(shown.starts_with(path("out/m1_merged"))) << U8(shown);
    p->durchfuehrenClick(p->durchfuehren);
    EXPECT_TRUE(std::filesystem::exists(U8(shown)));
    EXPECT_EQ(U16(ReadBytes(U8(shown))), p->vor_neu->Text());
}

TEST_F(PreviewTest, MemoLinesSizesAndCaretLabel) {
    select({write("lf.txt", "one\ntwo\nthree\n" + std::string(1500 - 14, 'z'))}, 0);
    EXPECT_EQ(p->vor_alt->Lines().Count(), 4);
    EXPECT_EQ(p->Label49->Caption().substr(0, 2), u"LF");
    struct {
        const char* locale;
        int characters;
        const char16_t* shown;
    } sizes[] = {{"en_US", 1500, u"1.500 KB"},
                 {"de_DE", 2500, u"2,500 KB"},
                 {"en_US", 1234567, u"1,234.567 KB"}};
    for (auto s : sizes) {
        QLocale::setDefault(QLocale(s.locale));
        p->vor_neu->SetText(WideString(s.characters, u'a'));
        p->vor_neu->OnExit(p->vor_neu);
        EXPECT_EQ(p->Label48->Caption(), s.shown) << s.locale;
    }
    p->vor_alt->SetSelStart(0);
    p->vor_alt->OnClick(p->vor_alt);
    EXPECT_EQ(p->Label12->Caption(), u"1");
    p->vor_alt->SetSelStart(10); // "one\r\ntwo\r\n" is 10 units: the start of line 3
    p->vor_alt->OnClick(p->vor_alt);
    EXPECT_EQ(p->Label12->Caption(), u"3");
}

TEST_F(PreviewTest, ReadableTextAndScrollingFollowTheOtherMemo) {
    struct {
        std::u16string in, out;
    } rows[] = {{u"a\nb", u"a\r\nb"},         {u"a\rb", u"a\r\nb"}, {u"a\u2029b", u"a\r\nb"},
                {u"a\r\nb\nc", u"a\r\nb\nc"}, {u"a\0b"s, u"a b"},   {u"abc", u"abc"}};
    for (const auto& r : rows)
        EXPECT_EQ(p->LesbarMachen(r.in), r.out) << U8(r.in);
    p->m_einst_nlkorrektur->SetChecked(false);
    EXPECT_EQ(p->LesbarMachen(u"a\nb"), u"a\nb");

    std::string many;
    for (int i = 0; i < 300; ++i)
        many += "line " + std::to_string(i) + "\r\n";
    select({write("many.txt", many)}, 0);
    p->Show();
    pump();
    p->vor_alt->ScrollLines(40);
    p->vor_alt->OnClick(p->vor_alt);
    EXPECT_GT(p->vor_alt->FirstVisibleLine(), 0);
    EXPECT_EQ(p->vor_neu->FirstVisibleLine(), p->vor_alt->FirstVisibleLine());
}

TEST_F(PreviewTest, SavingKeepsTheFilesEncodingAndLineBreaks) {
    const WideString file = write("u16.txt", Utf16Le(u"one\ntwo\nthree\n"));
    select({file}, 0);
    EXPECT_FALSE(p->AlteDateiSpeichern->Visible());
    p->vor_alt->SetSelStart(5);
    p->vor_alt->SetSelLength(3);
    p->vor_alt->SetSelText(u"TWO");
    EXPECT_TRUE(p->AlteDateiSpeichern->Visible());
    p->AlteDateiSpeichern->Click();
    EXPECT_EQ(ReadBytes(U8(file)), Utf16Le(u"one\nTWO\nthree\n"));
    EXPECT_FALSE(p->AlteDateiSpeichern->Visible());

    // NULs shown as blanks: refused with a message, the file untouched.
    const std::string nul("a\0b\r\n", 5);
    const WideString binary = write("nul.txt", nul);
    p->qulist->Items()[0]->SetSelected(false);
    select({binary}, 1);
    p->vor_alt->SetSelStart(0);
    p->vor_alt->SetSelText(u"x");
    int messages = 0;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        ++messages;
        EXPECT_NE(r.Text.find(u"NUL"), WideString::npos);
        return IDOK;
    });
    p->AlteDateiSpeichern->Click();
    EXPECT_EQ(messages, 1);
    EXPECT_EQ(ReadBytes(U8(binary)), nul);
}

TEST_F(PreviewTest, HalvesWithScreenshots) {
    select({write("shot.txt", "Grüße aus Köln\r\nzweite Zeile x\r\n")}, 0);
    replace(u"x", u"ξ");
    p->SetBounds(0, 0, 1100, 760);
    p->Show();
    p->VorschauWennAktiv(p);
    p->vor_alt->SetSelStart(0);
    p->vor_alt->SetSelText(u"+");
    const std::filesystem::path dir = QUORBEL_BUILD_DIR "/screenshots/mainwindow";
    std::filesystem::create_directories(dir);
    struct {
        bool old, now;
        const char* name;
    } halves[] = {
        {true, true, "both"}, {false, true, "new"}, {true, false, "old"}, {false, false, "none"}};
    for (const char16_t* language : {u"de", u"en"}) {
        LanguageCode = language;
        p->SetMainWindowTexts();
        QLocale::setDefault(QLocale(LanguageIsGerman() ? "de_DE" : "en_US"));
        p->vor_alt->OnExit(p->vor_alt);
        p->vor_neu->OnExit(p->vor_neu);
        for (auto h : halves) {
            p->vor_showalt->SetChecked(h.old);
            p->vor_showneu->SetChecked(h.now);
            p->vor_showaltClick(p->vor_showalt);
            pump();
            EXPECT_EQ(p->Panel9->Visible(), h.old);
            EXPECT_EQ(p->Panel10->Visible(), h.now);
            EXPECT_EQ(p->splitter_preview_old_new->Width(), h.old && h.now ? 6 : 0);
            if (!h.old) {
                EXPECT_FALSE(p->AlteDateiSpeichern->Visible()) << h.name;
            }
            if (h.old || h.now) {
                const std::string file =
                    (dir / ("Tprog-preview-" + std::string(h.name) + "-" + U8(language) + ".png"))
                        .string();
                EXPECT_TRUE(p->Panel5->Widget()->grab().save(QString::fromStdString(file)));
            }
        }
    }
}

TEST_F(PreviewTest, PlusButtonsOpenTheirEditors) {
    std::vector<Tzplus*> editors;
    const std::pair<TZplusKind, TMemo*> kinds[] = {
        {TZplusKind::ers_suche, p->act_ers_text_suchen},
        {TZplusKind::ers_ers, p->act_ers_text_ersetzen},
        {TZplusKind::ers_zeile, p->act_ers_zeile_erstxt},
        {TZplusKind::ers_anfuegen, p->act_anfuegen_text},
        {TZplusKind::ers_deltext, p->act_del_text_suchen},
        {TZplusKind::del_zeile, p->act_del_zeile_text}};
    for (auto [kind, field] : kinds)
        editors.push_back(new Tzplus(Application, kind, field));
    p->act_del_zeile_text->SetText(u"Привет");
    p->plus_delzeile->OnClick(p->plus_delzeile);
    Tzplus* editor = editors.back();
    EXPECT_TRUE(editor->Visible());
    EXPECT_EQ(editor->Memo1->Text(), u"Привет");
    editor->Memo1->SetSelStart(6);
    for (const QString& c : {QStringLiteral("α"), QStringLiteral("β"), QStringLiteral("γ")})
        TypeChar(editor->Memo1, c);
    editor->Close();
    EXPECT_EQ(p->act_del_zeile_text->Text(), u"Приветαβγ");

    LanguageCode = u"de";
    std::vector<WideString> titles;
    for (Tzplus* e : editors) {
        e->Sprache();
        titles.push_back(e->Caption());
        EXPECT_EQ(e->Caption(), ZplusTitle(e->Kind()));
    }
    EXPECT_NE(std::find(titles.begin(), titles.end(), u"Löschen von Zeilen"), titles.end());
    for (Tzplus* e : editors)
        e->Free();
}

TEST(MakerAddressTest, CaptionsBecomeAddresses) {
    struct {
        const char16_t* caption;
        bool strip, slash;
        const char16_t* address;
    } rows[] = {
        {u"&Spenden - danke", true, false, u"https://www.quorbel.org/link/?to=Spenden&rf=x"},
        {u"www.example.org", false, true,
         u"https://www.quorbel.org/link/?to=www.example.org/&rf=x"},
        {u"www.example.org/page", false, true,
         u"https://www.quorbel.org/link/?to=www.example.org/page&rf=x"},
        {u"&Software", true, true, u"https://www.quorbel.org/link/?to=Software&rf=x"},
    };
    for (auto r : rows)
        EXPECT_EQ(Tprog::MakerAddress(r.caption, r.strip, r.slash, u"x"), r.address);
}

} // namespace
