// The keyed message box and the language of the working window: every key in both
// languages against the table of texts, the silent levels, a language round trip of every
// window, the menu shortcuts sent as keys, the autosave and start configuration items,
// and pictures of the menu bar with each menu open.
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <filesystem>
#include <vector>

#include "ProgTestSupport.h"
#include "dialogs/LanguageCode.h"
#include "dialogs/u_csv_editing.h"
#include "dialogs/u_csv_order.h"
#include "dialogs/u_dateinamenumbenenner.h"
#include "dialogs/u_dateinamenumbenenner_filter.h"
#include "dialogs/u_einstregex.h"
#include "dialogs/u_inputselectfilter.h"
#include "dialogs/u_profilspeichern.h"
#include "dialogs/u_replace_import.h"
#include "dialogs/u_sm_filter.h"
#include "dialogs/u_transform.h"
#include "dialogs/u_zplus.h"
#include "engine/InputListColumns.h"
#include "platform/CanvasText.h"
#include "support/ModalInterceptor.h"
#include "support/TempFolder.h"
#include "text/FileUtils.h"
#include "text/UCodeSysUtils.h"

// What the test framework uses to deliver a key to the shortcut map.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods,
                                               const QString& text = QString(),
                                               bool autorep = false, ushort count = 1);

namespace {

constexpr const char16_t* kPathCell = nullptr;

struct ExpectedMessage {
    const char* key;
    bool german;
    const char16_t* labels[4];
    bool okForAll;
};
// The texts as the user sees them, transcribed from the product's message list.
// clang-format off
const ExpectedMessage kExpected[] = {
    {"ordnerfalschopen", false, {u"False Folder", u"This Folder can not be searched in:", kPathCell, u"Enter a correct Folder and try again."}, false},
    {"ordnerfalschopen", true, {u"Falscher Ordner angegeben", u"Dieser Ordner kann nicht durchsucht werden:", kPathCell, u"Geben Sie einen richtigen Ordner an und versuchen Sie es erneut."}, false},
    {"ordnerfalsch", false, {u"False Folder", u"This is not a correct Folder for Saving Files:", kPathCell, u"Enter a correct Folder for your Files and try again."}, false},
    {"ordnerfalsch", true, {u"Falscher Ordner angegeben", u"Dies ist kein richtiger Ordner zum Speichern von Dateien:", kPathCell, u"Geben Sie unter \"Ordner\" einen richtigen Ordner für Ihre Dateien an."}, false},
    {"keinordner", false, {u"No Folder declared", u"Your Files could not be processed, because in the", u"Saving-Options no Folder is declared.", u"Enter a correct Folder for your Files and try again."}, false},
    {"keinordner", true, {u"Kein Ordner angegeben", u"Ihre Dateien konnten leider nicht bearbeitet werden, da unter den", u"Speicheroptionen kein Ordner für die Dateien angegeben wurde.", u"Geben Sie unter \"Ordner\" einen Ordner für Ihre Dateien an."}, false},
    {"keinname", false, {u"No Filename declared", u"Your Files could not be processed, because in the", u"Saving-Options no Filename is declared.", u"Enter a correct Filename for your Files and try again."}, false},
    {"keinname", true, {u"Kein Dateiname angegeben", u"Ihre Dateien konnten leider nicht bearbeitet werden, da unter den", u"Speicheroptionen kein Dateiname für die Dateien angegeben wurde.", u"Geben Sie unter \"Dateiname\" einen Namen für Ihre Dateien an."}, false},
    {"formatfehler", false, {u"Format not supported", u"Unfortunately, the Format of this File is not supported:", kPathCell, u"Please try another Format.."}, true},
    {"formatfehler", true, {u"Format nicht unterstützt", u"Das Format dieser Datei wird leider nicht unterstützt:", kPathCell, u"Benutzen Sie bitte ein anderes Format."}, true},
    {"dateischoninliste", false, {u"File already added", u"This file is added to the List already:", kPathCell, u"A File can be added to the List only for one time."}, true},
    {"dateischoninliste", true, {u"Datei ist schon hinzugefügt", u"Diese Datei befindet sich bereits in der Liste:", kPathCell, u"Dateien können nur einmal zur Liste hinzugefügt werden."}, true},
    {"keinestartkonfig", false, {u"Start Configuration not defined", u"It is not possible to load a Start Configuration, because no one is", u"defined (as File named auto.qvr in the Application Folder).", u"Save a Configuration as auto.qvr in the Application Folder."}, false},
    {"keinestartkonfig", true, {u"Startkonfiguration nicht definiert", u"Es kann keine Startkonfiguration geladen werden, da keine definiert", u"wurde (als Datei auto.qvr im Programmverzeichnis).", u"Speichern Sie eine Konfiguation als auto.qvr im Programmverzeichnis."}, false},
    {"speicherfehler", false, {u"Saving Error", u"An Erros occurs during saving this File:", kPathCell, u"Please use another File Format."}, true},
    {"speicherfehler", true, {u"Fehler beim Speichern", u"Es kam zu einem Fehler beim Speichern dieser Datei:", kPathCell, u"Benutzen Sie ein anderes Format."}, true},
    {"konvertierfehler", false, {u"Converting Error", u"An Erros occurs during converting this File:", kPathCell, u"Please use another File Format."}, true},
    {"konvertierfehler", true, {u"Fehler beim Konvertieren", u"Es kam zu einem Fehler beim Konvertieren dieser Datei:", kPathCell, u"Benutzen Sie ein anderes Format."}, true},
    {"keinsplittrenner", false, {u"Converting Error", u"You have choosen no character or string for the file split, so that", u"the files can not be devided.", u"Choose a character or string for the file split."}, false},
    {"keinsplittrenner", true, {u"Fehler beim Konvertieren", u"Es ist kein Trennzeichen für den Dateisplit angegeben, deswegen", u"können Dateien nicht getrennt werden.", u"Geben Sie ein Trennzeichen für den Dateisplit an."}, false},
    {"bildfehler", false, {u"Converting Error", u"An Error occurs during creating this image:", kPathCell, u"It is possible, that the image size is to big."}, true},
    {"bildfehler", true, {u"Fehler beim Konvertieren", u"Es kam zu einem Fehler beim Erstellen dieses Bildes:", kPathCell, u"Eine mögliche Fehlerquelle kann ein zu großes Bild sein."}, true},
    {"originalweg", false, {u"Attention!", u"With this option all original files will be deleted after converting", u"and only the converted files will be there.", u"Original files can not be recovered after deleting."}, false},
    {"originalweg", true, {u"Achtung!", u"Mit dieser Option werden alle Originaldateien nach dem Konvertieren", u"unwiederruflich gelöscht und Ihnen bleiben nur die konvertierten Dateien.", u"Gelöschte Dateien können nicht wiederhergestellt werden."}, false},
    {"docmsg", false, {u"Consideration", u"", u"", u""}, false},
    {"docmsg", true, {u"Hinweis", u"", u"", u""}, false},
};
// clang-format on

class LanguageGuard {
public:
    explicit LanguageGuard(const char16_t* Code) : FSaved(LanguageCode) { LanguageCode = Code; }
    ~LanguageGuard() { LanguageCode = FSaved; }

private:
    WideString FSaved;
};

class TextsTest : public ProgTest {
protected:
    // What the box showed at each modal showing.
    struct Shown {
        WideString labels[4];
        bool okForAll, noteShown;
        WideString note;
    };
    std::vector<Shown> showAll(std::string_view Key, WideStringView Path) {
        std::vector<Shown> shown;
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            EXPECT_EQ(r.Form, box);
            shown.push_back({{box->Label1->Caption(), box->Label2->Caption(),
                              box->Label3->Caption(), box->Label4->Caption()},
                             box->OKalle->Visible(),
                             box->st->Visible(),
                             box->st->Caption()});
            return int(mrOk);
        });
        p->meldungzeigen(Key, Path);
        return shown;
    }
};

TEST_F(TextsTest, EveryKeyShowsItsTextsInBothLanguages) {
    const WideString shortPath = u"/tmp/a b.txt";
    const WideString longPath = u"/home/user/documents/projects/2026/customers/north/invoices/"
                                u"archive/old/very/deep/folder/structure/report.txt";
    for (const ExpectedMessage& e : kExpected) {
        SCOPED_TRACE(std::string(e.key) + (e.german ? " de" : " en"));
        LanguageGuard language(e.german ? u"de" : u"en");
        p->SetMainWindowTexts();
        for (const WideString& path : {shortPath, longPath}) {
            const auto shown = showAll(e.key, path);
            ASSERT_EQ(shown.size(), 1u);
            for (int i = 0; i < 4; ++i) {
                if (e.labels[i] != kPathCell) {
                    EXPECT_EQ(U8(shown[0].labels[i]), U8(e.labels[i])) << "Label" << i + 1;
                    continue;
                }
                const WideString& cell = shown[0].labels[i];
                if (path == shortPath) {
                    EXPECT_EQ(cell, u"\"" + shortPath + u"\"");
                } else {
                    EXPECT_EQ(cell.substr(0, 6), u"\"/.../") << U8(cell);
                    EXPECT_EQ(cell.substr(cell.size() - 12), u"/report.txt\"");
                    TCanvas canvas;
                    canvas.Font().Assign(box->Label3->Font());
                    EXPECT_LE(WideCanvasTextWidth(canvas, cell), box->Label3->Width());
                }
            }
            EXPECT_EQ(shown[0].okForAll, e.okForAll);
            EXPECT_EQ(shown[0].noteShown, std::string_view(e.key) == "docmsg");
        }
    }
}

TEST_F(TextsTest, TheOfficeNoteStandsInItsParagraphsAndUnknownKeysShowNothing) {
    for (const char16_t* code : {u"de", u"en"}) {
        LanguageGuard language(code);
        p->SetMainWindowTexts();
        const auto note = showAll("docmsg", u"/x/y.doc");
        ASSERT_EQ(note.size(), 1u);
        const WideString first = LanguageIsGerman() ? u"Der Quorbel ist dazu gedacht, reine"
                                                    : u"The Quorbel was developed to work";
        EXPECT_EQ(note[0].note.substr(0, first.size()), first);
        // Three paragraphs, each break a CR LF pair, an empty line between them.
        size_t pairs = 0;
        for (size_t i = 0; i + 3 < note[0].note.size(); ++i)
            if (note[0].note.substr(i, 4) == u"\r\n\r\n") ++pairs;
        EXPECT_EQ(pairs, 2u);
        const auto unknown = showAll("Keinordner", u"/x");
        ASSERT_EQ(unknown.size(), 1u);
        for (const WideString& label : unknown[0].labels)
            EXPECT_TRUE(label.empty());
        EXPECT_FALSE(unknown[0].okForAll || unknown[0].noteShown);
    }
}

TEST_F(TextsTest, SilentLevelsShowNoWindowForAnyKey) {
    for (SilentLevel level : {SilentLevel::NoMessages, SilentLevel::NoWindow}) {
        ProgramState state(ProgramFolder());
        state.Silent = level;
        p->SetRunState(&state);
        int windows = 0;
        ScopedModalInterceptor count([&](TModalRequest&) { return ++windows, int(mrOk); });
        for (const ExpectedMessage& e : kExpected)
            p->ShowMessage(e.key, u"/tmp/x.txt");
        EXPECT_EQ(windows, 0);
        p->SetRunState(nullptr);
    }
}

// Every caption, hint, list item, column title and dialog text of every window.
std::vector<std::string> DumpTexts() {
    std::vector<std::string> dump;
    auto put = [&](const TComponent* c, const char* what, const WideString& text) {
        dump.push_back(U8(c->Owner() ? c->Owner()->Name() : u"") + "." + U8(c->Name()) + "." +
                       what + "=" + U8(text));
    };
    for (int f = 0; f < Screen->FormCount(); ++f) {
        TForm* form = Screen->Forms(f);
        put(form, "caption", form->Caption());
        for (int i = 0; i < form->ComponentCount(); ++i) {
            TComponent* c = form->Components(i);
            if (auto* item = dynamic_cast<TMenuItem*>(c)) {
                put(c, "caption", item->Caption());
                put(c, "hint", item->Hint());
                put(c, "visible", item->Visible() ? u"1" : u"0");
            } else if (auto* control = dynamic_cast<TControl*>(c)) {
                put(c, "caption", control->Caption());
                put(c, "hint", control->Hint());
            }
            if (auto* combo = dynamic_cast<TComboBox*>(c)) put(c, "items", combo->Items().Text());
            if (auto* list = dynamic_cast<TListView*>(c))
                for (int k = 0; k < list->Columns().Count(); ++k)
                    put(c, "column", list->Columns()[k]->Caption());
            if (auto* dialog = dynamic_cast<TOpenDialog*>(c)) {
                put(c, "filter", dialog->Filter());
                put(c, "title", dialog->Title());
                put(c, "file", dialog->FileName());
            }
        }
    }
    return dump;
}

class LanguageSwitchTest : public TextsTest {
protected:
    void SetUp() override {
        TextsTest::SetUp();
        windows = {new Tsm_filter(Application),
                   new Tprofilspeichern(Application),
                   new Ttransform(Application),
                   new Teinstregex(Application),
                   new Treplace_import(Application),
                   new Tinputselectfilter(Application),
                   new Tcsv_order(Application),
                   new Tcsv_editing(Application),
                   new Tdateinamenumbenenner(Application),
                   new Tdateinamenumbenenner_filter(Application)};
        for (TZplusKind kind : kAllZplusKinds)
            windows.push_back(new Tzplus(Application, kind, p->act_ers_text_suchen));
        // As the application creates them: each creation handler runs at once.
        for (TForm* w : windows)
            w->DoCreate();
    }
    void TearDown() override {
        for (TForm* w : windows)
            w->Free();
        TextsTest::TearDown();
    }
    std::vector<TForm*> windows;
};

TEST_F(LanguageSwitchTest, ARoundTripRestoresEveryTextAndComputesNoPreview) {
    LanguageGuard language(u"de");
    p->vor_okay->SetChecked(true);
    p->out_name->SetText(u"<beibehalten>");
    const std::vector<std::string> before = DumpTexts();

    // Every event the switch fires on the working window's controls sees the preview off.
    int seenWithPreview = 0, events = 0;
    std::vector<bool> previewSwitch;
    p->vor_okay->OnClick = [&](TObject*) { previewSwitch.push_back(p->vor_okay->Checked()); };
    for (int i = 0; i < p->ComponentCount(); ++i) {
        auto watch = [&](auto& handler) {
            handler = [&, old = handler](auto&&... args) {
                ++events;
                if (p->vor_okay->Checked()) ++seenWithPreview;
                if (old) old(args...);
            };
        };
        TComponent* c = p->Components(i);
        if (c == p->vor_okay) continue;
        if (auto* combo = dynamic_cast<TComboBox*>(c)) watch(combo->OnChange);
        if (auto* tick = dynamic_cast<TCheckBox*>(c)) watch(tick->OnClick);
        if (auto* radio = dynamic_cast<TRadioButton*>(c)) watch(radio->OnClick);
        if (auto* edit = dynamic_cast<TEdit*>(c)) watch(edit->OnChange);
        if (auto* memo = dynamic_cast<TMemo*>(c)) watch(memo->OnChange);
    }

    p->m_einst_sprache_english->Click();
    EXPECT_EQ(LanguageCode, u"en");
    EXPECT_EQ(p->durchfuehren->Caption(), u"Convert and Save");
    const char16_t* columns[] = {u"Name", u"Format", u"Type",    u"Coding",
                                 u"Size", u"Status", u"Filepath"};
    ASSERT_EQ(p->qulist->Columns().Count(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(p->qulist->Columns()[i]->Caption(), columns[i]);
    const WideString names = p->out_name->Items().Text();
    EXPECT_NE(names.find(u"<keep>"), WideString::npos);
    EXPECT_EQ(names.find(u"<beibehalten>"), WideString::npos);
    EXPECT_EQ(p->out_ordner->Items()[1].substr(0, 8), u"%folder%");
    EXPECT_EQ(p->act_csv_ende->Items()[0], u"%linebreak%");
    // A bare token shown in a box becomes this language's token.
    EXPECT_EQ(p->out_name->Text(), u"<keep>");
    EXPECT_TRUE(p->vor_okay->Checked());
    EXPECT_FALSE(p->m_info_de->Visible());
    EXPECT_TRUE(p->m_info_en->Visible());
    EXPECT_EQ(box->OKalle->Caption(), u"OK for all");
    EXPECT_EQ(p->sd_konfig->Filter(), u"Quorbel Configuration|*.qvr");
    EXPECT_EQ(p->sd_konfig->FileName(), u"Configuration.qvr");

    p->m_einst_sprache_deutsch->Click();
    const std::vector<std::string> after = DumpTexts();
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(before[i], after[i]);
    EXPECT_EQ(seenWithPreview, 0) << events << " events";
    // The preview switch went off before the texts changed and on again after them.
    EXPECT_EQ(previewSwitch, (std::vector<bool>{false, true, false, true}));
}

TEST_F(TextsTest, StatusWordsInTheListFollowTheLanguage) {
    TempFolder folder;
    LanguageGuard language(u"de");
    p->SetMainWindowTexts();
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        folder.Write(name, name);
        p->add2list(folder.W() + u"/" + U16(name), p->qulist);
    }
    ASSERT_EQ(p->qulist->Items().Count(), 3);
    p->QUSelect(1, 1, 0);
    p->QUSelect(0, 0, 1); // the third row stays new
    auto statuses = [&] {
        std::vector<WideString> out;
        for (int i = 0; i < p->qulist->Items().Count(); ++i)
            out.push_back(p->qulist->Items()[i]->SubItems().Get(int(InputListColumn::Status)));
        return out;
    };
    using Words = std::vector<WideString>;
    const Words german{u"Geändert, Markiert", u"Unverändert", u"Neu"};
    EXPECT_EQ(statuses(), german);
    p->m_einst_sprache_english->Click();
    EXPECT_EQ(statuses(), (Words{u"Changed, Marked", u"Not Changed", u"New"}));
    p->m_einst_sprache_deutsch->Click();
    EXPECT_EQ(statuses(), german);
}

// ---- Menus ----

void ShowAndActivate(Tprog* p) {
    p->Show();
    p->Widget()->activateWindow();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

struct ShortcutCase {
    TMenuItem* Tprog::*item;
    int key;
    Qt::KeyboardModifiers mods;
};
const ShortcutCase kShortcuts[] = {
    {&Tprog::m_datei_open, Qt::Key_O, Qt::ControlModifier},
    {&Tprog::m_datei_search, Qt::Key_F, Qt::ControlModifier},
    {&Tprog::m_datei_konvert, Qt::Key_S, Qt::ControlModifier},
    {&Tprog::m_datei_changes, Qt::Key_R, Qt::ControlModifier},
    {&Tprog::m_onthefly, Qt::Key_D, Qt::ControlModifier},
    {&Tprog::m_datei_vorschauaktualisieren, Qt::Key_F5, Qt::NoModifier},
    {&Tprog::m_datei_vorschau, Qt::Key_F6, Qt::NoModifier},
    {&Tprog::m_einst_vorschau, Qt::Key_F7, Qt::NoModifier},
    {&Tprog::m_konfig_load, Qt::Key_K, Qt::ControlModifier},
    {&Tprog::m_konfig_standard, Qt::Key_F2, Qt::NoModifier},
    {&Tprog::m_konfig_start, Qt::Key_F3, Qt::NoModifier},
    {&Tprog::m_info_de_hilfe, Qt::Key_F1, Qt::NoModifier},
    {&Tprog::m_info_en_intro, Qt::Key_F1, Qt::NoModifier},
};

// Every item of the menu bar, depth first.
void AllItems(TMenuItem* Parent, std::vector<TMenuItem*>& Items) {
    for (int i = 0; i < Parent->Count(); ++i) {
        Items.push_back(Parent->Items(i));
        AllItems(Parent->Items(i), Items);
    }
}

TEST_F(TextsTest, EveryShortcutReachesItsItemInTheVisibleLanguage) {
    ShowAndActivate(p);
    std::vector<TMenuItem*> items;
    AllItems(p->menu->Items(), items);
    for (const char16_t* code : {u"de", u"en"}) {
        LanguageGuard language(code);
        p->SetMainWindowTexts();
        std::map<TMenuItem*, int> clicks;
        std::vector<TNotifyEvent> saved;
        for (TMenuItem* item : items) {
            saved.push_back(item->OnClick);
            item->OnClick = [&clicks, item](TObject*) { ++clicks[item]; };
        }
        for (const ShortcutCase& c : kShortcuts) {
            TMenuItem* item = p->*c.item;
            const bool hiddenHelp = (item == p->m_info_de_hilfe && !LanguageIsGerman()) ||
                                    (item == p->m_info_en_intro && LanguageIsGerman());
            if (hiddenHelp) continue;
            SCOPED_TRACE(U8(item->Name()) + " " + U8(code));
            clicks.clear();
            qt_sendShortcutOverrideEvent(p->Widget(), 0, c.key, c.mods);
            QApplication::processEvents();
            EXPECT_EQ(clicks[item], 1);
            EXPECT_EQ(clicks.size(), 1u);
        }
        for (size_t i = 0; i < items.size(); ++i)
            items[i]->OnClick = saved[i];
    }
}

TEST_F(TextsTest, TheMenuItemsRunTheirHandlers) {
    ShowAndActivate(p);
    // "Save all" unticks the other two, like radio items.
    p->m_konfig_autosave_alles->Click();
    EXPECT_TRUE(p->m_konfig_autosave_alles->Checked());
    EXPECT_FALSE(p->m_konfig_autosave_nie->Checked());
    EXPECT_FALSE(p->m_konfig_autosave_profil->Checked());
    // Back to "Never", so that closing the window leaves the program folder alone.
    p->m_konfig_autosave_nie->Click();
    EXPECT_FALSE(p->m_konfig_autosave_alles->Checked());
    EXPECT_TRUE(p->m_konfig_autosave_nie->Checked());
    // F3 without a start configuration: one message, the item stays unticked.
    TempFolder folder;
    ProgramState state(folder.W());
    p->SetRunState(&state);
    LanguageGuard language(u"de");
    p->SetMainWindowTexts();
    p->m_konfig_start->SetChecked(true);
    std::vector<WideString> titles;
    {
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            titles.push_back(r.Form == box ? box->Label1->Caption() : u"?");
            return int(mrOk);
        });
        qt_sendShortcutOverrideEvent(p->Widget(), 0, Qt::Key_F3, Qt::NoModifier);
        QApplication::processEvents();
    }
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0], u"Startkonfiguration nicht definiert");
    EXPECT_FALSE(p->m_konfig_start->Checked());
    p->SetRunState(nullptr);
    // The actions box follows its own tick only.
    const bool autoclose = p->m_einst_autocloseactions->Checked();
    p->m_einst_autocloseactions->Click();
    EXPECT_NE(p->m_einst_autocloseactions->Checked(), autoclose);
    // A view item toggles its own box; the defaults keep every tick as it is.
    p->m_anz_vorschau->Click();
    EXPECT_FALSE(p->m_anz_vorschau->Checked());
    {
        ScopedModalInterceptor answer([](TModalRequest&) { return int(mrOk); });
        p->KonfigurationLadenStandard(p->m_konfig_standard);
    }
    for (TMenuItem* view : {p->m_anz_input, p->m_anz_vorschau, p->m_anz_aktionen, p->m_anz_output})
        EXPECT_TRUE(view->Checked()) << U8(view->Name());
}

TEST_F(TextsTest, PicturesOfEveryMenuInBothLanguages) {
    ShowAndActivate(p);
    const std::string dir = QUORBEL_BUILD_DIR "/screenshots/mainwindow/menus";
    std::filesystem::create_directories(dir);
    QMenuBar* bar = p->menu->MenuBar();
    ASSERT_NE(bar, nullptr);
    for (const char16_t* code : {u"de", u"en"}) {
        LanguageGuard language(code);
        p->SetMainWindowTexts();
        for (int i = 0; i < p->menu->Items()->Count(); ++i) {
            TMenuItem* top = p->menu->Items()->Items(i);
            if (!top->Visible()) continue;
            QMenu* menu = top->SubMenu();
            ASSERT_NE(menu, nullptr);
            menu->adjustSize();
            const QPixmap barShot = bar->grab();
            const QPixmap menuShot = menu->grab();
            const int left = bar->actionGeometry(top->QtAction()).left();
            QImage shot(std::max(barShot.width(), left + menuShot.width()),
                        barShot.height() + menuShot.height(), QImage::Format_RGB32);
            shot.fill(Qt::white);
            QPainter painter(&shot);
            painter.drawPixmap(0, 0, barShot);
            painter.drawPixmap(left, barShot.height(), menuShot);
            painter.end();
            // Every item's text fits the menu's width.
            for (QAction* a : menu->actions()) {
                if (a->isSeparator()) {
                    EXPECT_TRUE(a->text().isEmpty()) << U8(top->Name());
                }
                if (a->isVisible() && !a->isSeparator()) {
                    EXPECT_LE(menu->actionGeometry(a).right(), menu->width()) << U8(top->Name());
                }
            }
            EXPECT_TRUE(shot.save(
                QString::fromStdString(dir + "/" + U8(top->Name()) + "-" + U8(code) + ".png")));
        }
    }
}

} // namespace
