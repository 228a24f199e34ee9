// The working window and the tools as a person who works with the keyboard uses them: Tab
// and Shift+Tab leave every field (also those that take only digits or list entries), Alt
// plus a letter goes to the menus and never into a field, the focus comes back to its
// control after a run, and the arrows in a list with no row selected start at its framed
// row (the first when none is framed). Alt alone highlights the first menu title, and a
// window opened with the keys shows its focused control. A click below the last row of the
// input list leaves no row selected and keeps what was typed into the preview.
#include <gtest/gtest.h>

#include <QDir>
#include <QMenu>
#include <QMenuBar>

#include "dialogs/u_changecoding.h"
#include "dialogs/u_dateinamenumbenenner.h"
#include "platform/ComboBoxes.h"
#include "platform/Edits.h"
#include "platform/Forms.h"
#include "support/ModalInterceptor.h"
#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"
#include "support/TempXdgHomes.h"

namespace {

class KeyboardAlone : public ::testing::Test {
protected:
    // Every window built and the working window shown, listing the files written first.
    void Build(std::initializer_list<const char*> Files) {
        for (const char* name : Files)
            folder.Write(name, "alpha\r\nbeta\r\n");
        windows = std::make_unique<ProgramWindows>();
        windows->ShowAsStarted();
        TypeInto(Working().inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
        ASSERT_EQ(Working().qulist->Items().Count(), int(Files.size()));
    }
    void TearDown() override { windows.reset(); }
    Tprog& Working() const { return windows->Working(); }
    static TControl* Focused() {
        QWidget* w = QApplication::focusWidget();
        return w ? TControl::FromWidget(w) : nullptr;
    }
    static std::string NameOf(TControl* C) { return C ? U8(C->Name()) : "(none)"; }

    TempXdgHomes xdg;
    TempFolder folder{"keyboard-alone"};
    std::unique_ptr<ProgramWindows> windows;
    ScopedModalInterceptor answers{[](TModalRequest&) { return 0; }};
};

// Fields whose key filter takes only digits or only list entries: Tab leaves them for the
// next control and Shift+Tab comes back, and neither lands in the field.
TEST_F(KeyboardAlone, TabAndShiftTabLeaveFieldsThatTakeOnlyDigitsOrListEntries) {
    Build({"a.txt"});
    Tprog& p = Working();
    auto& renamer = windows->Window<Tdateinamenumbenenner>();
    auto& coding = windows->Window<Tchangecoding>();
    struct Case {
        TForm* form;
        TWinControl* field;
        TControl* fold; // the group's fold button that brings the field on screen
    };
    const Case cases[] = {
        {&p, p.act_konst_start, p.act_konstanten_bb},
        {&p, p.act_transkription, p.act_transcript_bb},
        {&p, p.act_newline_neu, p.act_newline_bb},
        {&p, p.act_zeilen_laengemax, p.act_zeilen_bb},
        {&renamer, renamer.numstart, nullptr},
        {&coding, coding.cb, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(NameOf(c.field));
        if (!c.form->Visible()) c.form->Show();
        if (c.fold && !c.field->Widget()->isVisible()) {
            p.ScrollBox1->ScrollInView(c.fold);
            ClickCentre(c.fold);
        }
        p.ScrollBox1->ScrollInView(c.field);
        ASSERT_TRUE(c.field->Widget()->isVisible());
        ClickCentre(c.field);
        if (auto* box = qobject_cast<QComboBox*>(c.field->Widget());
            box && box->view()->isVisible())
            PressKeyIn(box, Qt::Key_Escape);
        ASSERT_EQ(Focused(), c.field);
        const WideString text = c.field->Text();
        TypeKeys(c.field->Widget(), "\t");
        EXPECT_NE(Focused(), c.field) << "Tab stayed in the field";
        EXPECT_NE(Focused(), nullptr);
        PressKeyIn(c.field->Widget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(Focused(), c.field)
            << "Shift+Tab did not come back, it is on " << NameOf(Focused());
        PressKeyIn(c.field->Widget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_NE(Focused(), c.field) << "Shift+Tab stayed in the field";
        EXPECT_EQ(c.field->Text(), text);
        if (c.form != &p) c.form->Hide();
    }
}

// Alt plus a letter is a system key: it opens the menu whose title starts with it and types
// nothing, also where no title has the letter. Alt pressed and released alone selects the
// first title without opening it; Escape gives the keys back to the field.
TEST_F(KeyboardAlone, AltKeysGoToTheMenusAndNeverIntoAField) {
    Build({"a.txt"});
    Tprog& p = Working();
    QMenuBar* bar = p.menu->MenuBar();
    ASSERT_NE(bar, nullptr);
    ClickCentre(p.inp_ordner);
    const WideString text = p.inp_ordner->Text();

    PressKeyIn(p.inp_ordner->Widget(), Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(p.inp_ordner->Text(), text) << "Alt+D typed into the folder field";
    QMenu* datei = p.m_datei->QtAction()->menu();
    ASSERT_NE(datei, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return datei->isVisible(); }, 1000))
        << "Alt+D did not open the menu \"Datei\"";
    PressKeyIn(datei, Qt::Key_Escape);
    if (datei->isVisible()) PressKeyIn(datei, Qt::Key_Escape);
    PressKeyIn(bar, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !datei->isVisible(); }, 1000));

    ClickCentre(p.inp_ordner);
    PressKeyIn(p.inp_ordner->Widget(), Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(p.inp_ordner->Text(), text) << "Alt+Q typed into the folder field";
    EXPECT_EQ(Focused(), p.inp_ordner);

    PressKeyIn(p.inp_ordner->Widget(), Qt::Key_Alt);
    EXPECT_EQ(bar->activeAction(), p.m_datei->QtAction()) << "no title shown selected";
    EXPECT_FALSE(datei->isVisible());
    PressKeyIn(bar, Qt::Key_Escape);
    EXPECT_EQ(bar->activeAction(), nullptr);
    EXPECT_EQ(Focused(), p.inp_ordner);
    PressKeyIn(p.Widget(), Qt::Key_End);
    TypeKeys(p.inp_ordner->Widget(), "z");
    EXPECT_EQ(p.inp_ordner->Text(), text + u"z");
}

// Alt pressed and released alone shows the first title of the working window highlighted
// in either language, Right moves the highlight to the next title, Escape takes it away.
// Pictures: screenshots/mainwindow/alt-title-<language>.png and alt-right-<language>.png.
TEST_F(KeyboardAlone, AltAloneShowsTheFirstTitleHighlightedInEitherLanguage) {
    const QString dir = QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/mainwindow");
    QDir().mkpath(dir);
    for (const char16_t* language : {u"de", u"en"}) {
        SCOPED_TRACE(U8(language));
        windows = std::make_unique<ProgramWindows>(language);
        windows->ShowAsStarted();
        Tprog& p = Working();
        QMenuBar* bar = p.menu->MenuBar();
        ClickCentre(p.inp_ordner);
        TMenuItem* titles[] = {p.m_datei, p.m_einst};
        auto look = [&](TMenuItem* Title) {
            bar->repaint();
            return bar->grab(bar->actionGeometry(Title->QtAction())).toImage();
        };
        const QImage plain[] = {look(titles[0]), look(titles[1])};
        auto picture = [&](const char* Name) {
            const QRect top(0, 0, p.Widget()->width(), bar->height() + 60);
            EXPECT_TRUE(p.Widget()->grab(top).save(
                QStringLiteral("%1/%2-%3.png")
                    .arg(dir, Name, QString::fromStdU16String(language))));
        };
        PressKeyIn(p.Widget(), Qt::Key_Alt);
        EXPECT_TRUE(look(titles[0]) != plain[0]) << "the first title is not highlighted";
        EXPECT_TRUE(look(titles[1]) == plain[1]);
        picture("alt-title");
        PressKeyIn(p.Widget(), Qt::Key_Right);
        EXPECT_TRUE(look(titles[0]) == plain[0]);
        EXPECT_TRUE(look(titles[1]) != plain[1]) << "the highlight did not move right";
        picture("alt-right");
        PressKeyIn(p.Widget(), Qt::Key_Escape);
        EXPECT_TRUE(look(titles[0]) == plain[0]);
        EXPECT_TRUE(look(titles[1]) == plain[1]);
        EXPECT_EQ(Focused(), p.inp_ordner);
        windows.reset();
    }
}

// A run started from the keyboard (Ctrl+S) or with the button gives the focus back to the
// control that had it, and the keys typed next land there.
TEST_F(KeyboardAlone, TheFocusComesBackToItsControlAfterARun) {
    Build({"a.txt"});
    Tprog& p = Working();
    auto status = [&] { return p.qulist->Items().Item(0)->SubItems().Get(4); };

    ClickCentre(p.out_name);
    const WideString name = p.out_name->Text();
    PressKeyIn(p.out_name->Widget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(status(), u"Unverändert") << "Ctrl+S ran no conversion";
    EXPECT_EQ(NameOf(Focused()), "out_name");
    PressKeyIn(p.Widget(), Qt::Key_End);
    TypeKeys(p.Widget(), "q");
    EXPECT_EQ(p.out_name->Text(), name + u"q");

    ClickCentre(p.durchfuehren);
    EXPECT_TRUE(p.LastRunResult().started) << "the button ran no conversion";
    EXPECT_EQ(NameOf(Focused()), "durchfuehren");
}

// The arrows in a list the focus came to by Tab start at its first row (also in a list of
// one row, whose file then shows in the preview).
TEST_F(KeyboardAlone, DownInAListEnteredByTabSelectsTheFirstRow) {
    for (std::initializer_list<const char*> files :
         {std::initializer_list<const char*>{"a.txt"}, {"a.txt", "b.txt"}}) {
        SCOPED_TRACE(files.size());
        Build(files);
        Tprog& p = Working();
        p.qulist->ClearSelection();
        ClickCentre(p.inp_ordner);
        for (int i = 0; i < 30 && Focused() != p.qulist; ++i)
            PressKeyIn(p.Widget(), Qt::Key_Tab);
        ASSERT_EQ(Focused(), p.qulist) << "Tab never reached the input list";
        PressKeyIn(p.qulist->Widget(), Qt::Key_Down);
        ASSERT_EQ(p.qulist->SelCount(), 1);
        EXPECT_EQ(p.qulist->Selected(), p.qulist->Items().Item(0));
        EXPECT_NE(p.vor_alt->Text().find(u"alpha"), WideString::npos) << "no preview";
        windows.reset();
        std::filesystem::remove_all(folder.Path());
        std::filesystem::create_directories(folder.Path());
    }
}

// With no row selected, Down or Up selects the row that has the frame (the list's current
// row) and does not step past it; without a current row they select the first row.
TEST_F(KeyboardAlone, DownOrUpWithNoRowSelectedSelectsTheFramedRow) {
    Build({"a.txt", "b.txt", "c.txt"});
    Tprog& p = Working();
    auto rowOf = [&](const TListItem* Item) { return Item ? Item->Index() : -1; };
    auto clickBelowTheRows = [&] {
        QTreeWidget* tree = p.qulist->Tree();
        const QRect last = tree->visualItemRect(tree->topLevelItem(2));
        ClickWidgetAt(tree->viewport(), QPoint(last.center().x(), last.bottom() + last.height()));
    };
    struct Case {
        const char* how; // how the list came to have no row selected
        std::function<void()> unselect;
        Qt::Key key;
    };
    auto tabIntoTheList = [&] {
        ClickCentre(p.inp_ordner);
        for (int i = 0; i < 30 && Focused() != p.qulist; ++i)
            PressKeyIn(p.Widget(), Qt::Key_Tab);
    };
    const Case cases[] = {
        {"Tab into the list, then a run with Ctrl+S",
         [&] {
             tabIntoTheList();
             PressKeyIn(p.Widget(), Qt::Key_S, Qt::ControlModifier);
             ASSERT_TRUE(p.LastRunResult().started);
         },
         Qt::Key_Down},
        {"Ctrl and a click on the selected row 2",
         [&] {
             ClickListRow(p.qulist, 2);
             ClickListRow(p.qulist, 2, Qt::LeftButton, Qt::ControlModifier);
         },
         Qt::Key_Up},
        {"a click below the rows after a click on row 1",
         [&] {
             ClickListRow(p.qulist, 1);
             clickBelowTheRows();
         },
         Qt::Key_Down},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        c.unselect();
        ASSERT_EQ(Focused(), p.qulist);
        ASSERT_EQ(p.qulist->SelCount(), 0);
        const int framed = rowOf(p.qulist->ItemFocused());
        PressKeyIn(p.qulist->Widget(), c.key);
        EXPECT_EQ(p.qulist->SelCount(), 1);
        EXPECT_EQ(rowOf(p.qulist->Selected()), framed < 0 ? 0 : framed);
        EXPECT_EQ(rowOf(p.qulist->ItemFocused()), rowOf(p.qulist->Selected()));
    }
}

// A click below the last row of the input list leaves no row selected, so the preview is
// not read again and keeps what was typed into it.
TEST_F(KeyboardAlone, AClickBelowTheLastRowKeepsTypedTextInThePreview) {
    Build({"a.txt"});
    Tprog& p = Working();
    ClickListRow(p.qulist, 0);
    ASSERT_NE(p.vor_alt->Text().find(u"alpha"), WideString::npos);
    TypeInto(p.vor_alt, "typed");
    ASSERT_NE(p.vor_alt->Text().find(u"typed"), WideString::npos);

    QTreeWidget* tree = p.qulist->Tree();
    const QRect last = tree->visualItemRect(tree->topLevelItem(0));
    const QPoint below(last.center().x(), last.bottom() + 3 * last.height());
    ASSERT_LT(below.y(), tree->viewport()->height());
    ClickWidgetAt(tree->viewport(), below);
    EXPECT_EQ(p.qulist->SelCount(), 0);
    EXPECT_NE(p.vor_alt->Text().find(u"typed"), WideString::npos)
        << "the preview was read again from the file";
}

// The main job done with the keys alone, no mouse: Tab to the folder field, the folder typed
// and added with Return, the replacement ticked with Space and filled in, Ctrl+S.
TEST_F(KeyboardAlone, TheMainJobIsDoneWithTheKeysAlone) {
    folder.Write("a.txt", "alpha\r\nbeta\r\n");
    windows = std::make_unique<ProgramWindows>();
    windows->ShowAsStarted();
    Tprog& p = Working();
    auto tabTo = [&](TControl* Target) {
        for (int i = 0; i < 400 && Focused() != Target; ++i)
            PressKeyIn(p.Widget(), Qt::Key_Tab);
        ASSERT_EQ(Focused(), Target) << "Tab never reaches " << NameOf(Target);
    };
    tabTo(p.inp_ordner);
    TypeKeys(p.Widget(), QString::fromStdString(folder.Path().string()) + "\r");
    ASSERT_EQ(p.qulist->Items().Count(), 1);
    tabTo(p.act_ers_text);
    PressKeyIn(p.Widget(), Qt::Key_Space);
    ASSERT_TRUE(p.act_ers_text->Checked());
    tabTo(p.act_ers_text_suchen);
    TypeKeys(p.Widget(), "alpha");
    tabTo(p.act_ers_text_ersetzen);
    TypeKeys(p.Widget(), "omega");
    PressKeyIn(p.Widget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(folder.Read("a-1.txt"), "omega\r\nbeta\r\n");
    EXPECT_EQ(p.qulist->Items().Item(0)->SubItems().Get(4), u"Geändert");
    EXPECT_EQ(Focused(), p.act_ers_text_ersetzen);
}

// The tools reached from the menus with the keys alone (Alt and the title's letter, the
// arrows, Return), used with Tab and left with Alt+F4: the working window then has the keys
// again in the field that had them.
TEST_F(KeyboardAlone, EveryToolIsOpenedUsedAndLeftWithTheKeys) {
    Build({"a.txt"});
    Tprog& p = Working();
    struct Tool {
        TMenuItem* item;
        const char* window;
    };
    const Tool tools[] = {
        {p.m_datei_search, "searchfiles"},
        {p.m_datei_dateiumb, "dateinamenumbenenner"},
        {p.m_datei_code, "changecoding"},
        {p.m_einst_ausgabe, "einstausgabe"},
        {p.m_einst_regex, "einstregex"},
        {p.m_einstshortcuts, "einstshortcuts"},
        {p.m_tools_dateiumb, "dateinamenumbenenner"},
    };
    for (const Tool& t : tools) {
        SCOPED_TRACE(t.window);
        ClickCentre(p.inp_ordner);
        TMenuItem* title = t.item->Parent();
        const QChar letter = QString::fromStdU16String(title->Caption()).at(0);
        PressKeyIn(p.Widget(), window_input::KeyOf(letter), Qt::AltModifier);
        QMenu* menu = title->QtAction()->menu();
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 1000));
        for (int i = 0; i < 40 && menu->activeAction() != t.item->QtAction(); ++i)
            PressKeyIn(menu, Qt::Key_Down);
        ASSERT_EQ(menu->activeAction(), t.item->QtAction());
        PressKeyIn(menu, Qt::Key_Return);
        TForm* tool = nullptr;
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (U8(Screen->Forms(i)->Name()) == t.window) tool = Screen->Forms(i);
        ASSERT_NE(tool, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return tool->Widget()->isActiveWindow(); }, 1000));
        PressKeyIn(tool->Widget(), Qt::Key_Tab);
        ASSERT_NE(Focused(), nullptr);
        EXPECT_EQ(Focused()->Widget()->window(), tool->Widget()) << "Tab left the tool";
        PressKeyIn(tool->Widget(), Qt::Key_F4, Qt::AltModifier);
        EXPECT_FALSE(tool->Visible()) << "Alt+F4 left the tool open";
        window_input::ActiveWindowOf(p.Widget());
        EXPECT_EQ(NameOf(Focused()), "inp_ordner");
    }
}

// Every window of the menus opened with the keys shows which control has the focus: its
// focused control is drawn otherwise than when the same window was opened with the mouse.
TEST_F(KeyboardAlone, AWindowOpenedWithTheKeysShowsItsFocusedControl) {
    Build({"a.txt"});
    Tprog& p = Working();
    QMenuBar* bar = p.menu->MenuBar();
    const TMenuItem* items[] = {p.m_datei_search,  p.m_datei_dateiumb,    p.m_datei_code,
                                p.m_einst_ausgabe, p.m_einst_regex,       p.m_einstshortcuts,
                                p.m_einst_filter,  p.m_konfig_save_profil};
    auto openWithKeys = [&](const TMenuItem* Item) {
        const QChar letter = QString::fromStdU16String(Item->Parent()->Caption()).at(0);
        PressKeyIn(p.Widget(), window_input::KeyOf(letter), Qt::AltModifier);
        QMenu* menu = Item->Parent()->QtAction()->menu();
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 1000));
        for (int i = 0; i < 40 && menu->activeAction() != Item->QtAction(); ++i)
            PressKeyIn(menu, Qt::Key_Down);
        PressKeyIn(menu, Qt::Key_Return);
    };
    auto openWithTheMouse = [&](const TMenuItem* Item) {
        ClickWidgetAt(bar, bar->actionGeometry(Item->Parent()->QtAction()).center());
        QMenu* menu = Item->Parent()->QtAction()->menu();
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 1000));
        ClickWidgetAt(menu, menu->actionGeometry(Item->QtAction()).center());
    };
    // The focused control of the window that opened, its name and what it looks like.
    struct Seen {
        std::string name;
        QImage look;
    };
    QDir().mkpath(QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/mainwindow"));
    auto see = [&](TForm* Window) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return Window->Widget()->isActiveWindow(); }, 2000));
        QWidget* focused = QApplication::focusWidget();
        if (!focused || focused->window() != Window->Widget()) return Seen{"(none)", {}};
        QApplication::processEvents();
        return Seen{NameOf(Focused()), focused->grab().toImage()};
    };
    for (const TMenuItem* item : items) {
        SCOPED_TRACE(U8(item->Name()));
        Seen byKeys, byMouse;
        for (bool keys : {false, true}) {
            Seen& seen = keys ? byKeys : byMouse;
            ClickCentre(p.inp_ordner);
            ScopedModalInterceptor modal([&](TModalRequest& r) {
                if (r.Form) seen = see(r.Form);
                return int(mrCancel);
            });
            keys ? openWithKeys(item) : openWithTheMouse(item);
            if (!seen.name.empty()) continue; // a modal window, answered above
            TForm* shown = Screen->ActiveForm();
            ASSERT_NE(shown, &p) << "no window opened";
            seen = see(shown);
            if (keys) {
                const QString name = QString::fromStdU16String(item->Name());
                EXPECT_TRUE(shown->Widget()->grab().save(
                    QStringLiteral(QUORBEL_BUILD_DIR
                                   "/screenshots/mainwindow/opened-by-keys-%1.png")
                        .arg(name)));
            }
            shown->Close();
        }
        EXPECT_EQ(byKeys.name, byMouse.name);
        EXPECT_NE(byKeys.name, "(none)");
        EXPECT_TRUE(byKeys.look != byMouse.look) << byKeys.name << " shows no focus";
    }
}

} // namespace
