// The action panels and output options of the working window, used through the widgets'
// own events: the rows the list buttons write are the rows the pipeline reads (in process
// and by the real executable from a configuration saved by the window), the key filters of
// the output boxes, the group ticks, and screenshots of every group opened.
#include <QDir>

#include "ProgTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/u_einstausgabe.h"
#include "e2e/QuorbelProcess.h"
#include "support/ModalInterceptor.h"
#include "support/WidgetInput.h"

namespace {

class ProgActionsTest : public ProgTest {
protected:
    void SetUp() override {
        ProgTest::SetUp();
        p->SetBounds(0, 0, 900, 800);
    }
    // The message boxes shown while Action runs.
    std::vector<WideString> messagesOf(const std::function<void()>& Action) {
        std::vector<WideString> shown;
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            if (r.Kind == TModalKind::MessageBox) shown.push_back(ShownText(r));
            return 1;
        });
        Action();
        return shown;
    }
    static std::vector<WideString> row(TListView* List, int Index) {
        const TListItem* item = List->Items()[Index];
        std::vector<WideString> cells{item->Caption()};
        for (int i = 0; i < item->SubItems().Count(); ++i)
            cells.push_back(item->SubItems().Get(i));
        return cells;
    }
    void addReplacement(const WideString& Search, const WideString& Replacement) {
        p->act_ers_text_suchen->SetText(Search);
        p->act_ers_text_ersetzen->SetText(Replacement);
        ClickControl(p->act_ers_text_add);
    }
    ScopedLanguage german{u"de"};
};

TEST_F(ProgActionsTest, ReplaceRowsCarryTheMarkOfTheRegexBoxes) {
    struct Case {
        bool search, replacement;
        const char16_t* mark;
    };
    for (const Case& c : {Case{true, true, u"x"}, Case{true, false, u"x/-"},
                          Case{false, true, u"-/x"}, Case{false, false, u"-"}}) {
        // Set as a configuration leaves them: the replacement box alone stays ticked only
        // when its click handler does not run.
        for (TCheckBox* box : {p->act_ers_text_suchen_regex, p->act_ers_text_ersetzen_regex}) {
            TNotifyEvent handler = std::exchange(box->OnClick, nullptr);
            box->SetChecked(box == p->act_ers_text_suchen_regex ? c.search : c.replacement);
            box->OnClick = handler;
        }
        addReplacement(u"a\r\nb", u"c");
        const int last = p->act_ers_text_liste->Items().Count() - 1;
        EXPECT_EQ(row(p->act_ers_text_liste, last),
                  (std::vector<WideString>{u"a\r\nb", u"c", c.mark}));
        EXPECT_EQ(p->act_ers_text_suchen->Text(), u"");
        EXPECT_EQ(p->act_ers_text_ersetzen->Text(), u"");
    }
    // Selecting a row sets the boxes back from its mark.
    p->act_ers_text_liste->Items()[1]->SetSelected(true);
    EXPECT_TRUE(p->act_ers_text_suchen_regex->Checked());
    EXPECT_FALSE(p->act_ers_text_ersetzen_regex->Checked());
    EXPECT_EQ(p->act_ers_text_suchen->Text(), u"a\r\nb");
    // Clicking the replacement box alone is undone; unticking the search box unticks both.
    p->act_ers_text_suchen_regex->SetChecked(false);
    ClickControl(p->act_ers_text_ersetzen_regex);
    EXPECT_FALSE(p->act_ers_text_ersetzen_regex->Checked());
    // An empty search adds nothing and keeps the replacement.
    p->act_ers_text_suchen->SetText(u"");
    p->act_ers_text_ersetzen->SetText(u"kept");
    ClickControl(p->act_ers_text_add);
    EXPECT_EQ(p->act_ers_text_liste->Items().Count(), 4);
    EXPECT_EQ(p->act_ers_text_ersetzen->Text(), u"kept");
}

TEST_F(ProgActionsTest, TheReplaceButtonExplainsWhatIsMissing) {
    for (const char16_t* code : {u"de", u"en"}) {
        ScopedLanguage lang(code);
        const bool de = code == WideStringView(u"de");
        p->act_ers_text_liste->Items().Clear();
        p->act_ers_text_suchen->SetText(u"s");
        EXPECT_EQ(messagesOf([&] { ClickControl(p->act_ers_text_replace); }),
                  std::vector<WideString>{
                      de ? u"Bisher haben Sie keine Mehrfach-Ersetzungen definiert, die Sie "
                           u"ersetzen könnten. Bitte klicken Sie zunächst auf \"Hinzufügen\"."
                         : u"Up to now, you have not defined any multiple replacements that "
                           u"could be replaced. Please click on \"Add\" first."});
        addReplacement(u"old", u"new");
        p->act_ers_text_liste->SetSelected(nullptr);
        p->act_ers_text_suchen->SetText(u"s");
        EXPECT_EQ(messagesOf([&] { ClickControl(p->act_ers_text_replace); }),
                  std::vector<WideString>{
                      de ? u"Bitte wählen Sie zunächst eine Mehrfach-Ersetzung aus, die Sie "
                           u"ersetzen möchten."
                         : u"Please select an item of your list of multiple replacements first."});
    }
    p->act_ers_text_liste->Items()[0]->SetSelected(true); // loads "old" -> "new"
    p->act_ers_text_suchen->SetText(u"older");
    EXPECT_TRUE(messagesOf([&] { ClickControl(p->act_ers_text_replace); }).empty());
    EXPECT_EQ(row(p->act_ers_text_liste, 0), (std::vector<WideString>{u"older", u"new", u"-"}));
}

TEST_F(ProgActionsTest, InsertCaptionsAndTheirSelection) {
    struct Case {
        TRadioButton* Tprog::*place;
        TRadioButton* Tprog::*lines;
        bool caseSensitive;
        const char16_t *german, *english;
    };
    const Case cases[] = {
        {&Tprog::act_anfuegen_hinten, &Tprog::act_anfuegen_jedezeile, false, u"END ZEILE",
         u"END LINE"},
        {&Tprog::act_anfuegen_vorn, &Tprog::act_anfuegen_datei, false, u"BEG DATEI", u"BEG FILE"},
        {&Tprog::act_anfuegen_pos_rb, &Tprog::act_anfuegen_zeile_txt_rb, true, u"POS7 TEXT E",
         u"POS7 TEXT E"},
        {&Tprog::act_anfuegen_vorn, &Tprog::act_anfuegen_zeile_rb, false, u"BEG ZEILE",
         u"BEG LINE"},
    };
    for (const char16_t* code : {u"de", u"en"}) {
        ScopedLanguage lang(code);
        p->act_anfuegen_liste->Items().Clear();
        for (const Case& c : cases) {
            ClickControl(p->*c.place);
            ClickControl(p->*c.lines);
            p->act_anfuegen_pos->SetText(u"7");
            p->act_anfuegen_zeile->SetText(u"3");
            p->act_anfuegen_zeile_txt->SetText(u"needle");
            p->act_anfuegen_zeile_txt_gk->SetChecked(c.caseSensitive);
            p->act_anfuegen_text->SetText(u"ins");
            ClickControl(p->act_anfuegen_add);
        }
        ASSERT_EQ(p->act_anfuegen_liste->Items().Count(), 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(p->act_anfuegen_liste->Items()[i]->Caption(),
                      code == WideStringView(u"de") ? cases[i].german : cases[i].english);
        EXPECT_EQ(row(p->act_anfuegen_liste, 2),
                  (std::vector<WideString>{u"POS7 TEXT E", u"needle", u"ins"}));
        EXPECT_EQ(row(p->act_anfuegen_liste, 3)[1], u"3");
    }
    // Selecting "POS7 TEXT E" restores the position, the radio buttons and the text.
    ClickControl(p->act_anfuegen_vorn);
    p->act_anfuegen_pos->SetText(u"1");
    p->act_anfuegen_liste->Items()[2]->SetSelected(true);
    EXPECT_TRUE(p->act_anfuegen_pos_rb->Checked());
    EXPECT_EQ(p->act_anfuegen_pos->Text(), u"7");
    EXPECT_TRUE(p->act_anfuegen_zeile_txt_rb->Checked());
    EXPECT_EQ(p->act_anfuegen_zeile_txt->Text(), u"needle");
    EXPECT_EQ(p->act_anfuegen_text->Text(), u"ins");
    // A line number 0 or no number adds nothing and keeps the text.
    ClickControl(p->act_anfuegen_zeile_rb);
    for (const char16_t* bad : {u"0", u"x"}) {
        p->act_anfuegen_zeile->SetText(bad);
        p->act_anfuegen_text->SetText(u"t");
        ClickControl(p->act_anfuegen_add);
        EXPECT_EQ(p->act_anfuegen_liste->Items().Count(), 4) << U8(bad);
        EXPECT_EQ(p->act_anfuegen_text->Text(), u"t");
    }
}

TEST_F(ProgActionsTest, KeyFiltersOfTheOutputAndNumberBoxes) {
    const WideString message = u"Die folgenden Zeichen sind nicht in Dateinamen erlaubt:\r\n?, |, "
                               u"<, >, /, :, \", * und \\";
    p->out_name->SetText(u"%name%");
    EXPECT_EQ(messagesOf([&] { TypeChar(p->out_name, QStringLiteral("?")); }),
              std::vector<WideString>{message});
    EXPECT_EQ(p->out_name->Text(), u"%name%");
    p->out_ordner->SetText(u"/tmp/x");
    PressKey(p->out_ordner->Widget(), Qt::Key_End, QString()); // the caret to the text's end
    EXPECT_TRUE(messagesOf([&] { TypeChar(p->out_ordner, QStringLiteral(":")); }).empty());
    EXPECT_EQ(p->out_ordner->Text().back(), u':');
    EXPECT_EQ(messagesOf([&] { TypeChar(p->out_ordner, QStringLiteral("|")); }),
              std::vector<WideString>{message});
    p->act_konst_start->SetText(u"1");
    TypeChar(p->act_konst_start, QStringLiteral("a"));
    TypeChar(p->act_konst_start, QStringLiteral("2"));
    EXPECT_EQ(p->act_konst_start->Text(), u"12");
    p->act_del_zeile_ende->SetText(u"");
    for (const char* c : {"1", ",", "3", "-", "x", "5"})
        TypeChar(p->act_del_zeile_ende, QString::fromLatin1(c));
    EXPECT_EQ(p->act_del_zeile_ende->Text(), u"1,3-5");
    // Typing replaces the placeholder.
    for (const char16_t* placeholder : {u"<beibehalten>", u"<keep>"}) {
        p->out_ordner->SetText(placeholder);
        TypeChar(p->out_ordner, QStringLiteral("d"));
        EXPECT_EQ(p->out_ordner->Text(), u"d");
    }
    // Leaving a box empty selects its standard entry.
    p->out_name->SetText(u"");
    p->out_name->OnExit(p->out_name);
    EXPECT_EQ(p->out_name->Text(), u"%name%-1");
    p->out_ordner->SetText(u"");
    p->out_ordner->OnExit(p->out_ordner);
    EXPECT_EQ(p->out_ordner->Text(), u"<beibehalten>");
    // Writing over the input files needs no output name.
    ClickControl(p->out_overwrite);
    EXPECT_FALSE(p->out_name->Enabled());
    ClickControl(p->out_newimage);
    EXPECT_TRUE(p->out_name->Enabled());
}

TEST_F(ProgActionsTest, TicksFoldButtonsAndAutoClose) {
    ClickControl(p->act_html);
    EXPECT_TRUE(p->apanel61->Visible());
    ClickControl(p->act_html_bb);
    EXPECT_FALSE(p->apanel61->Visible());
    EXPECT_TRUE(p->act_html->Checked());
    ClickControl(p->act_zeilen);
    ClickControl(p->act_html_bb);
    EXPECT_TRUE(p->apanel61->Visible() && p->apanel71->Visible());
    p->m_einst_autocloseactions->SetChecked(true);
    ClickControl(p->act_csv);
    EXPECT_TRUE(p->apanel951->Visible());
    EXPECT_FALSE(p->apanel61->Visible() || p->apanel71->Visible());
    EXPECT_TRUE(p->act_html->Checked() && p->act_zeilen->Checked());
    // A click on a group's label lets the wheel scroll the action box again.
    WheelToActions = false;
    p->apanel951->Show();
    p->Show();
    ClickControl(p->Label37);
    EXPECT_TRUE(WheelToActions);
}

// The working window's action rows: replace "a" by "b" and then "b" by "c" (list order),
// replace the lines holding "old", insert "!" after every line, delete "x" as an expression.
void MakeRowsByClicking(Tprog* p, ProgActionsTest* t) {
    (void)t;
    for (TCheckBox* tick : {p->act_ers_text, p->act_ers_zeile, p->act_anfuegen, p->act_del_text})
        ClickControl(tick);
    for (auto [s, r] : {std::pair{u"a", u"b"}, std::pair{u"b", u"c"}}) {
        p->act_ers_text_suchen->SetText(s);
        p->act_ers_text_ersetzen->SetText(r);
        ClickControl(p->act_ers_text_add);
    }
    ClickControl(p->act_ers_zeile_rb_text);
    p->act_ers_zeile_suchen->SetText(u"old");
    p->act_ers_zeile_erstxt->SetText(u"new line");
    ClickControl(p->act_ers_zeile_add);
    ClickControl(p->act_anfuegen_hinten);
    ClickControl(p->act_anfuegen_jedezeile);
    p->act_anfuegen_text->SetText(u"!");
    ClickControl(p->act_anfuegen_add);
    ClickControl(p->act_del_regex);
    p->act_del_text_suchen->SetText(u"x+");
    ClickControl(p->act_del_text_add);
}

TEST_F(ProgActionsTest, ThePipelineAppliesTheClickedRowsInListOrder) {
    MakeRowsByClicking(p, this);
    EXPECT_EQ(p->Konvertieren(u"abxx\r\nan old one\r\nz", u"/tmp/f.txt", nullptr, 1),
              u"cc!\r\nnew line!\r\nz!");
}

TEST_F(ProgActionsTest, AConfigurationMadeByClickingRunsUnattended) {
    MakeRowsByClicking(p, this);
    QuorbelProgram q;
    p->KonfigurationSpeichern(nullptr, U16((q.programFolder() / "made.qvr").string()));
    q.write("in/a.txt", "abxx\r\nan old one\r\nz");
    const ProcessResult r = q.run({"processandclose=1", "made.qvr", "in/a.txt"});
    ASSERT_FALSE(r.timedOut) << r.errorText;
    EXPECT_EQ(r.exitCode, 0) << r.errorText;
    EXPECT_EQ(q.read("in/a-1.txt"), "cc!\r\nnew line!\r\nz!");
}

TEST_F(ProgActionsTest, ScreenshotsOfEveryGroupOpened) {
    QDir().mkpath(QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/mainwindow"));
    p->Show();
    std::vector<std::pair<TCheckBox*, TPanel*>> groups;
    for (const Tprog::ActionTick& g : p->ActionTicks())
        groups.emplace_back(g.tick, g.body);
    groups.emplace_back(p->act_weitere, p->apanelweitere1);
    for (const char16_t* code : {u"de", u"en"}) {
        ScopedLanguage lang(code);
        p->SetMainWindowTexts();
        for (const auto& [tick, body] : groups) {
            p->CloseAllActions();
            if (tick != p->act_weitere) tick->SetChecked(false); // its click toggles
            ClickControl(tick);
            ASSERT_TRUE(body->Visible()) << U8(tick->Name());
            p->PanelsAnordnen(nullptr);
            p->ScrollBox1->ScrollInView(body);
            QApplication::processEvents();
            const QString path =
                QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/mainwindow/%1-%2.png")
                    .arg(QString::fromStdU16String(tick->Name()), QString::fromStdU16String(code));
            EXPECT_TRUE(p->Widget()->grab().save(path)) << path.toStdString();
        }
    }
}

} // namespace
