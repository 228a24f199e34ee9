// Runs in the program's windows as a person starts them: the list opened from a saved file
// list through the menu, the run started with the button or the menu, the output settings
// typed into; messages answered through the interceptor.
#include <QImage>
#include <QTreeWidget>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/u_einstausgabe.h"
#include "dialogs/u_sm_meldung.h"
#include "graphics/Graphics.h"
#include "support/ModalInterceptor.h"
#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class ProgramRunTest : public ProgramWindowsTest {
protected:
    void SetUp() override {
        ProgramWindowsTest::SetUp();
        // The processing log goes to a program folder of the test's own.
        fs::create_directories(folder.P("prog"));
        state = std::make_unique<ProgramState>(folder.W("prog"));
        state->ProcessLogEnabled = true;
        Working().SetRunState(state.get());
        windows->ShowAsStarted();
        p = &Working();
        box = &windows->Window<Tsm_meldung>();
    }
    void TearDown() override {
        Working().SetRunState(&windows->State());
        ProgramWindowsTest::TearDown();
    }

    std::string path(const std::string& name) const { return folder.P(name).string(); }
    std::string log() const { return folder.Read("prog/qvrprocess.log"); }

    // Three files and a saved list of them, opened through the menu.
    void openListOfThreeFiles() {
        std::string list;
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
            folder.Write(name, std::string("text ") + name[0]);
            list += path(name) + "\r\n";
        }
        folder.Write("list.txt", list);
        ScopedModalInterceptor choose([&](TModalRequest& r) {
            EXPECT_EQ(r.Kind, TModalKind::OpenFile);
            r.Answer = U16(path("list.txt"));
            return 1;
        });
        ChooseMenuItem(p->m_dateiliste_open);
        ASSERT_EQ(p->qulist->Items().Count(), 3);
    }
    // Unchanged files are saved too, so the run leaves an output to see: a click on the box
    // of "only save in case of a change" (the caption may end before the control's centre).
    void saveUnchangedFiles() {
        QWidget* box = p->out_onlyifchanged->Widget();
        if (p->out_onlyifchanged->Checked()) ClickWidgetAt(box, QPoint(8, box->height() / 2));
        ASSERT_FALSE(p->out_onlyifchanged->Checked());
    }
    void clickRow(int row) {
        QTreeWidget* tree = p->qulist->Tree();
        ClickWidgetAt(tree->viewport(), tree->visualItemRect(tree->topLevelItem(row)).center());
    }
    // Runs start, answering every message with OK; the messages' four lines.
    std::vector<std::vector<std::string>> runAnsweringMessages(const std::function<void()>& start) {
        std::vector<std::vector<std::string>> shown;
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            EXPECT_EQ(r.Form, box);
            shown.push_back({U8(box->Label1->Caption()), U8(box->Label2->Caption()),
                             U8(box->Label3->Caption()), U8(box->Label4->Caption())});
            box->OK->Click();
            return int(box->ModalResult());
        });
        start();
        return shown;
    }

    TempFolder folder;
    std::unique_ptr<ProgramState> state;
    Tprog* p = nullptr;
    Tsm_meldung* box = nullptr;
};

// A listed file deleted before the run is skipped; the others are converted, the log names
// it, its row goes, and one message names it and the count, in English and in German, the
// run started with the button and with the menu.
TEST_F(ProgramRunTest, VanishedFileIsSkippedAndNamedInOneMessage) {
    struct Case {
        TMenuItem* language;
        std::function<void()> start;
        const char* title;
        const char* count;
    };
    const Case cases[] = {
        {p->m_einst_sprache_english, [this] { ClickCentre(p->durchfuehren); }, "Files not found",
         "1 File(s) "},
        {p->m_einst_sprache_deutsch, [this] { ChooseMenuItem(p->m_datei_konvert); },
         "Dateien nicht gefunden", "1 Datei(en) "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        ChooseMenuItem(c.language);
        ClickCentre(p->inp_deleteall);
        fs::remove(folder.P("b-1.txt"));
        fs::remove(folder.P("c-1.txt"));
        openListOfThreeFiles();
        saveUnchangedFiles();
        fs::remove(folder.P("a.txt"));

        const auto shown = runAnsweringMessages(c.start);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0][0], c.title);
        EXPECT_EQ(shown[0][1].rfind(c.count, 0), 0u) << shown[0][1];
        EXPECT_NE(shown[0][2].find("a.txt"), std::string::npos) << shown[0][2];
        EXPECT_EQ(folder.Read("b-1.txt"), "text b");
        EXPECT_EQ(folder.Read("c-1.txt"), "text c");
        EXPECT_FALSE(fs::exists(folder.P("a-1.txt")));
        EXPECT_NE(log().find("NOT FOUND(" + path("a.txt") + ")"), std::string::npos) << log();
        EXPECT_EQ(p->qulist->Items().Count(), 2);
        EXPECT_TRUE(p->Enabled());
    }
}

// The merged preview leaves out a row whose file is gone, as the run does: what the preview
// shows is what the run writes, under the name it shows.
TEST_F(ProgramRunTest, MergedPreviewAndRunBothSkipAVanishedFile) {
    ClickCentre(p->act_dateizus);
    ASSERT_TRUE(p->act_dateizus->Checked());
    openListOfThreeFiles();
    fs::remove(folder.P("a.txt"));
    clickRow(1);
    EXPECT_EQ(U8(p->vor_neu->Text()), "text b\r\ntext c");
    EXPECT_EQ(U8(p->vor_out->Hint()), path("b-1.txt"));

    const auto shown = runAnsweringMessages([this] { ClickCentre(p->durchfuehren); });
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(U16(folder.Read("b-1.txt")), p->vor_neu->Text());
}

// The picture is drawn on the colour the output settings show: after a valid colour was
// typed, a text that is no colour leaves the window's colour, and the picture's, as it was.
TEST_F(ProgramRunTest, PictureBackgroundIsTheColourTheOutputSettingsShow) {
    ChooseMenuItem(p->m_einst_ausgabe);
    auto& output = windows->Window<Teinstausgabe>();
    ASSERT_TRUE(output.Visible());
    ClickCentre(output.Edit1);
    PressKeyIn(output.Edit1->Widget(), Qt::Key_End);
    while (!output.Edit1->Text().empty())
        PressKeyIn(output.Edit1->Widget(), Qt::Key_Backspace);
    TypeKeys(output.Edit1->Widget(), "#3366cc");
    PressKeyIn(output.Edit1->Widget(), Qt::Key_Backspace); // "#3366c": no colour
    EXPECT_EQ(U8(output.Edit1->Text()), "#3366c");
    EXPECT_EQ(ColorToQColor(output.Edit1->Color()), QColor(0x33, 0x66, 0xCC));

    folder.Write("a.txt", "picture");
    TypeInto(p->inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
    ASSERT_EQ(p->qulist->Items().Count(), 1);
    saveUnchangedFiles();
    ClickCentre(p->out_format);
    PressKeyIn(p->out_format->Widget(), Qt::Key_End);
    while (!p->out_format->Text().empty())
        PressKeyIn(p->out_format->Widget(), Qt::Key_Backspace);
    TypeKeys(p->out_format->Widget(), ".bmp");
    ASSERT_EQ(U8(p->out_format->Text()), ".bmp");

    const auto messages = runAnsweringMessages([this] { ClickCentre(p->durchfuehren); });
    EXPECT_TRUE(messages.empty());
    QImage picture(QString::fromStdString(path("a-1.bmp")));
    ASSERT_FALSE(picture.isNull());
    // The margin of ten pixels is background.
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(0x33, 0x66, 0xCC));
    EXPECT_EQ(picture.pixelColor(picture.width() - 1, picture.height() - 1),
              QColor(0x33, 0x66, 0xCC));
}

} // namespace
