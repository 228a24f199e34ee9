// The program's windows as the main block builds them, used through their controls: the
// small dialogs come up over the working window, a language switch keeps what the window
// shows, Qt's own texts and the file type names follow the language, the help describes
// what the windows offer, and the renaming tool's folder filter keeps dotted extensions.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "dialogs/HelpTexts.h"
#include "dialogs/u_dateinamenumbenenner.h"
#include "dialogs/u_dateinamenumbenenner_filter.h"
#include "dialogs/u_einstausgabe.h"
#include "dialogs/u_sm_achtung.h"
#include "dialogs/u_sm_bearbeitung.h"
#include "dialogs/u_sm_meldung.h"
#include "engine/InputListColumns.h"
#include "platform/CaptionText.h"
#include "support/ModalInterceptor.h"
#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"
#include "text/FileUtils.h"

namespace {

// The folder field's text typed anew and Enter pressed, as a person adds a folder.
void EnterFolder(Tprog* p, const QString& Folder) {
    p->inp_ordner->SetText(u"");
    TypeInto(p->inp_ordner, Folder);
    PressKeyIn(p->inp_ordner->Widget(), Qt::Key_Return);
}

QString Q(const TempFolder& Folder) {
    return QString::fromStdString(Folder.Path().string());
}

// Where a dialog stands when it is centred over Owner: Top := owner.Top +
// (owner.ClientHeight - ClientHeight) / 2, Left likewise, truncating toward zero.
QPoint CentredOver(const TForm* Owner, const TForm* Dialog) {
    return {Owner->Left() + (Owner->ClientWidth() - Dialog->ClientWidth()) / 2,
            Owner->Top() + (Owner->ClientHeight() - Dialog->ClientHeight()) / 2};
}

QPoint Place(const TForm* Form) {
    return {Form->Left(), Form->Top()};
}

WideString RowType(const Tprog* p, int Row) {
    return p->qulist->Items()[Row]->SubItems().Get(int(InputListColumn::Type));
}

// The description of a MIME type in Language as the shared MIME database's own file
// writes it; empty when the file or the translation is missing.
std::string MimeComment(const std::string& Type, const std::string& Language) {
    std::ifstream in("/usr/share/mime/" + Type + ".xml");
    std::stringstream text;
    text << in.rdbuf();
    const std::string xml = text.str();
    const std::regex comment(Language.empty()
                                 ? std::string("<comment>([^<]*)</comment>")
                                 : "<comment xml:lang=\"" + Language + "\">([^<]*)</comment>");
    std::smatch m;
    return std::regex_search(xml, m, comment) ? m[1].str() : std::string();
}

TEST_F(ShownProgramWindowsTest, MessagesQuestionsAndProgressComeUpCentredOverTheWorkingWindow) {
    auto* box = ProgramWindow<Tsm_meldung>();
    auto* question = ProgramWindow<Tsm_achtung>();
    auto* progress = ProgramWindow<Tsm_bearbeitung>();
    ASSERT_TRUE(box && question && progress);
    TempFolder folder;
    folder.Write("a.txt", "alt\r\n");
    folder.Write("a-1.txt", "schon da\r\n");
    // Away from the corner, with odd differences so that the halves truncate.
    p->SetBounds(313, 207, 1001, 703);
    QApplication::processEvents();
    for (TForm* dialog : std::initializer_list<TForm*>{box, question, progress})
        dialog->SetBounds(0, 0, dialog->Width(), dialog->Height());

    std::map<TForm*, QPoint> shownAt;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        EXPECT_NE(r.Form, nullptr) << U8(r.Caption);
        if (!r.Form) return 0;
        shownAt[r.Form] = Place(r.Form);
        if (r.Form == question) ClickCentre(question->Nein);
        return int(mrOk);
    });

    // A folder that is not there: the keyed message box.
    EnterFolder(p, QStringLiteral("/kein/solcher/ordner"));
    ASSERT_EQ(shownAt.count(box), 1u);
    EXPECT_EQ(shownAt[box], CentredOver(p, box));

    // A real folder: the progress window while it is searched.
    EnterFolder(p, Q(folder));
    ASSERT_EQ(p->qulist->Items().Count(), 2);
    EXPECT_EQ(Place(progress), CentredOver(p, progress));

    // The run meets the existing a-1.txt: the overwrite question, answered "No".
    ChooseMenuItem(p->m_datei_konvert);
    ASSERT_EQ(shownAt.count(question), 1u);
    EXPECT_EQ(shownAt[question], CentredOver(p, question));
    EXPECT_EQ(folder.Read("a-1.txt"), "schon da\r\n");

    // Moved with the working window, they follow it at their next showing.
    p->SetBounds(41, 523, 900, 500);
    shownAt.clear();
    EnterFolder(p, QStringLiteral("/nirgends"));
    ASSERT_EQ(shownAt.count(box), 1u);
    EXPECT_EQ(shownAt[box], CentredOver(p, box));
}

TEST_F(ShownProgramWindowsTest, ALanguageSwitchKeepsWhatTheWindowShowsAndSwapsBareTokens) {
    TempFolder folder;
    folder.Write("a.txt", "eins\r\nzwei\r\ndrei\r\n");
    folder.Write("b.txt", "b\n");
    folder.Write("c.txt", "c\n");
    EnterFolder(p, Q(folder));
    ASSERT_EQ(p->qulist->Items().Count(), 3);
    EXPECT_EQ(p->la_anzahl->Caption(), u"3 Dateien");
    if (!p->vor_showfile->Checked()) ClickCentre(p->vor_showfile);
    ClickListRow(p->qulist, 0);
    const WideString oldSize = p->Label12->Caption();
    const WideString lineBreak = p->Label49->Caption();
    EXPECT_NE(oldSize, u"0,000 KB");
    EXPECT_NE(lineBreak, u"Unknown");
    // The user's own text, typed; a token inside it is the user's too.
    TypeInto(p->out_name, QStringLiteral("%ordner%"));
    const WideString typed = p->out_name->Text();
    EXPECT_NE(typed.find(u"%ordner%"), WideString::npos);
    p->act_csv_ende->SetText(u"%zeilenumbruch%");

    struct Expected {
        TMenuItem* Tprog::*item;
        const char16_t *count, *keep, *lineBreakToken;
    };
    const Expected switches[] = {
        {&Tprog::m_einst_sprache_english, u"3 Files", u"<keep>", u"%linebreak%"},
        {&Tprog::m_einst_sprache_deutsch, u"3 Dateien", u"<beibehalten>", u"%zeilenumbruch%"},
    };
    for (const Expected& e : switches) {
        SCOPED_TRACE(U8(e.count));
        ChooseMenuItem(p->*e.item);
        EXPECT_EQ(p->la_anzahl->Caption(), e.count);
        EXPECT_EQ(p->Label12->Caption(), oldSize);
        EXPECT_EQ(p->Label49->Caption(), lineBreak);
        EXPECT_EQ(p->out_ordner->Text(), e.keep);
        EXPECT_EQ(p->out_format->Text(), e.keep);
        EXPECT_EQ(p->act_csv_ende->Text(), e.lineBreakToken);
        EXPECT_EQ(p->out_name->Text(), typed);
    }
}

TEST_F(ShownProgramWindowsTest, FileTypeNamesFollowTheLanguage) {
    const std::string german = MimeComment("text/plain", "de");
    const std::string english = MimeComment("text/plain", "");
    if (german.empty() || english.empty()) GTEST_SKIP() << "no shared MIME database";
    TempFolder folder;
    folder.Write("a.txt", "text\r\n");
    EnterFolder(p, Q(folder));
    ASSERT_EQ(p->qulist->Items().Count(), 1);
    EXPECT_EQ(U8(RowType(p, 0)), german);
    // A row listed before the switch is named anew, a row added after it in the new language.
    ChooseMenuItem(p->m_einst_sprache_english);
    EXPECT_EQ(U8(RowType(p, 0)), english);
    folder.Write("b.txt", "text\r\n");
    EnterFolder(p, Q(folder));
    ASSERT_EQ(p->qulist->Items().Count(), 2);
    EXPECT_EQ(U8(RowType(p, 1)), english);
    ChooseMenuItem(p->m_einst_sprache_deutsch);
    EXPECT_EQ(U8(RowType(p, 1)), german);
}

struct FolderDialogTexts {
    QString lookIn, accept, cancel;
};

// Clicks Button with the real folder dialog and reads Qt's texts off it before cancelling.
FolderDialogTexts OpenFolderDialog(TControl* Button) {
    FolderDialogTexts texts;
    ScopedModalInterceptor real(TModalInterceptor{});
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        EXPECT_NE(dialog, nullptr);
        if (!dialog) return;
        if (auto* label = dialog->findChild<QLabel*>(QStringLiteral("lookInLabel")))
            texts.lookIn = label->text();
        if (auto* buttons = dialog->findChild<QDialogButtonBox*>()) {
            if (QPushButton* b = buttons->button(QDialogButtonBox::Open)) texts.accept = b->text();
            if (QPushButton* b = buttons->button(QDialogButtonBox::Cancel))
                texts.cancel = b->text();
        }
        dialog->reject();
    });
    ClickCentre(Button);
    return texts;
}

TEST_F(ShownProgramWindowsTest, QtsOwnDialogTextsFollowTheLanguage) {
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                           QStringLiteral("/qtbase_de.qm")))
        GTEST_SKIP() << "Qt's translations are not installed (qt6-translations-l10n)";
    const FolderDialogTexts german = OpenFolderDialog(p->outordnerbt);
    ChooseMenuItem(p->m_einst_sprache_english);
    const FolderDialogTexts english = OpenFolderDialog(p->outordnerbt);
    EXPECT_EQ(english.lookIn, QStringLiteral("Look in:"));
    EXPECT_EQ(english.accept, QStringLiteral("&Choose"));
    EXPECT_EQ(english.cancel, QStringLiteral("Cancel"));
    EXPECT_EQ(german.lookIn, QStringLiteral("Suchen in:"));
    EXPECT_EQ(german.accept, QStringLiteral("&Auswählen"));
    EXPECT_EQ(german.cancel, QStringLiteral("Abbrechen"));
    // And back.
    ChooseMenuItem(p->m_einst_sprache_deutsch);
    EXPECT_EQ(OpenFolderDialog(p->outordnerbt).lookIn, german.lookIn);
}

// Every caption, item and column title the program's windows show now.
std::set<WideString> ShownTexts() {
    std::set<WideString> texts;
    for (int f = 0; f < Screen->FormCount(); ++f) {
        TForm* form = Screen->Forms(f);
        texts.insert(form->Caption());
        for (int i = 0; i < form->ComponentCount(); ++i) {
            TComponent* c = form->Components(i);
            if (auto* control = dynamic_cast<TControl*>(c)) texts.insert(control->Caption());
            if (auto* item = dynamic_cast<TMenuItem*>(c))
                texts.insert(WideStripHotkey(item->Caption()));
            if (auto* combo = dynamic_cast<TComboBox*>(c))
                for (int k = 0; k < combo->Items().Count(); ++k)
                    texts.insert(combo->Items()[k]);
        }
    }
    return texts;
}

// The shortcuts of the working window's menu items as the help writes them in English,
// and Ctrl+A, which the lists take themselves.
std::set<WideString> MenuShortCuts(Tprog* p) {
    std::set<WideString> keys = {u"Ctrl+A"};
    for (int i = 0; i < p->ComponentCount(); ++i)
        if (auto* item = dynamic_cast<TMenuItem*>(p->Components(i)); item && item->ShortCut())
            keys.insert(WideShortCutToText(item->ShortCut()));
    return keys;
}

// Each quoted phrase of a help page names a text that a window shows or a file the
// program uses, and each key the help names is a shortcut of a menu item.
void ExpectHelpNamesWhatExists(const HelpTexts& Help, Tprog* p) {
    const std::set<WideString> files = {u"Auto.qvr", u"qvrprocess.log", u"Replacements",
                                        u"Transliteration"};
    const std::set<WideString> shown = ShownTexts();
    const std::set<WideString> keys = MenuShortCuts(p);
    const QRegularExpression quoted(QStringLiteral("\"([^\"]+)\""));
    const QRegularExpression key(QStringLiteral("\\b((Strg|Ctrl)\\+[A-Z]|F[0-9]+)\\b"));
    for (WideStringView page : {Help.help, Help.regards, Help.donate}) {
        const QString text = QString::fromUtf16(page.data(), page.size());
        for (const auto& m : quoted.globalMatch(text)) {
            const WideString phrase = m.captured(1).toStdU16String();
            EXPECT_TRUE(shown.count(phrase) || files.count(phrase)) << U8(phrase);
        }
        for (const auto& m : key.globalMatch(text)) {
            QString k = m.captured(1);
            k.replace(QStringLiteral("Strg+"), QStringLiteral("Ctrl+"));
            EXPECT_TRUE(keys.count(k.toStdU16String())) << k.toStdString();
        }
    }
}

// Settings the help once promised: each may be named only while the output settings
// window shows it.
struct Promise {
    const char16_t *de, *en;
    const char* why;
};
const Promise kOutputSettings[] = {
    {u"Breite", u"width", "a picture width"},
    {u"Qualität", u"quality", "a picture quality"},
    {u"(leer:", u"(empty:", "an empty folder box (it stops the run; the keep entry keeps)"},
};

void ExpectNoPromiseBeyond(const HelpTexts& Help, bool German) {
    const auto* output = ProgramWindow<Teinstausgabe>();
    ASSERT_NE(output, nullptr);
    for (const Promise& promise : kOutputSettings) {
        const WideStringView word = German ? promise.de : promise.en;
        bool offered = false;
        for (int i = 0; i < output->ComponentCount(); ++i)
            if (auto* c = dynamic_cast<TControl*>(output->Components(i)))
                offered = offered || c->Caption().find(word) != WideString::npos;
        EXPECT_TRUE(offered || Help.help.find(word) == WideStringView::npos) << promise.why;
    }
}

TEST_F(ShownProgramWindowsTest, TheHelpNamesOnlyWhatTheWindowsOffer) {
    {
        SCOPED_TRACE("German");
        ExpectHelpNamesWhatExists(GermanHelpTexts(), p);
        ExpectNoPromiseBeyond(GermanHelpTexts(), true);
    }
    ChooseMenuItem(p->m_einst_sprache_english);
    SCOPED_TRACE("English");
    ExpectHelpNamesWhatExists(EnglishHelpTexts(), p);
    ExpectNoPromiseBeyond(EnglishHelpTexts(), false);
}

TEST_F(ShownProgramWindowsTest, TheRenamingToolsFilterKeepsDotsInsideAnExtension) {
    TempFolder folder;
    for (const char* name : {"a.tar.gz", "b.gz", "c.txt", "d.TAR.GZ", "e.log", "g.targz"})
        folder.Write(name, "x");
    auto* renamer = ProgramWindow<Tdateinamenumbenenner>();
    ASSERT_NE(renamer, nullptr);
    ChooseMenuItem(p->m_tools_dateiumb);
    ASSERT_TRUE(renamer->Visible());
    Tdateinamenumbenenner_filter* filter = renamer->filterWindow;
    {
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            EXPECT_EQ(r.Form, filter);
            ClickCentre(filter->auswahl);
            ClickCentre(filter->filter);
            PressKeyIn(filter->filter->Widget(), Qt::Key_End);
            for (size_t n = filter->filter->Text().size(); n > 0; --n)
                PressKeyIn(filter->filter->Widget(), Qt::Key_Backspace);
            TypeKeys(filter->filter->Widget(), QStringLiteral("tar.gz, .log"));
            ClickCentre(filter->OK);
            return int(mrOk);
        });
        ClickCentre(renamer->BitBtn1);
    }
    EXPECT_EQ(filter->filter->Text(), u"tar.gz, .log");
    {
        ScopedModalInterceptor choose([&](TModalRequest& r) {
            r.Answer = folder.W();
            return 1;
        });
        ClickCentre(renamer->OpenOrdner);
    }
    std::set<std::string> added;
    for (int i = 0; i < renamer->qulist->Items().Count(); ++i)
        added.insert(U8(WideExtractFileName(renamer->qulist->Items()[i]->SubItems().Get(3))));
    EXPECT_EQ(added, (std::set<std::string>{"a.tar.gz", "d.TAR.GZ", "e.log"}));
}

} // namespace
