// Runs in the program's windows as a person starts them: every window built as the main
// block builds it, the list opened from a saved file list through the menu, the run started
// with the button or the menu, the output settings typed into; messages answered through
// the interceptor.
#include <QAction>
#include <QImage>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/u_einstausgabe.h"
#include "dialogs/u_sm_meldung.h"
#include "graphics/Graphics.h"
#include "mainwindow/MainBlock.h"
#include "mainwindow/ProgramWindow.h"
#include "mainwindow/ProgramWindows.h"
#include "mainwindow/u_prog.h"
#include "mainwindow/u_start.h"
#include "support/ModalInterceptor.h"
#include "text/TextFiles.h"

namespace {

namespace fs = std::filesystem;

class ProgramRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("program_run_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "prog");
        savedRenderer = SetTextPictureRenderer(nullptr);
        SetTextPictureRenderer(savedRenderer);

        CreateProgramWindows();
        // The start picture's timer would show the update notice meanwhile.
        ProgramWindow<Tstart>()->Timer1->SetEnabled(false);
        state = std::make_unique<ProgramState>(U16((folder / "prog").string()));
        state->ProcessLogEnabled = true;
        prog->SetRunState(state.get());
        InstallPictureRenderer();
        p = prog;
        p->Show();
        box = ProgramWindow<Tsm_meldung>();
    }
    void TearDown() override {
        while (Screen->FormCount() > 0)
            Screen->Forms(Screen->FormCount() - 1)->Free();
        Application->SetMainForm(nullptr);
        SetTextPictureRenderer(savedRenderer);
        fs::remove_all(folder);
    }

    std::string path(const std::string& name) const { return (folder / name).string(); }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        std::stringstream b;
        b << in.rdbuf();
        return b.str();
    }
    std::string log() const { return read("prog/qvrprocess.log"); }

    // Three files and a saved list of them, opened through the menu.
    void openListOfThreeFiles() {
        std::string list;
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
            write(name, std::string("text ") + name[0]);
            list += path(name) + "\r\n";
        }
        write("list.txt", list);
        ScopedModalInterceptor choose([&](TModalRequest& r) {
            EXPECT_EQ(r.Kind, TModalKind::OpenFile);
            r.Answer = U16(path("list.txt"));
            return 1;
        });
        p->m_dateiliste_open->QtAction()->trigger();
        ASSERT_EQ(p->qulist->Items().Count(), 3);
    }
    void clickRow(int row) {
        QTreeWidget* tree = p->qulist->Tree();
        const QPoint at = tree->visualItemRect(tree->topLevelItem(row)).center();
        MouseAt(tree->viewport(), QEvent::MouseButtonPress, at);
        MouseAt(tree->viewport(), QEvent::MouseButtonRelease, at);
    }
    void clickButton(TControl* button) {
        QWidget* w = button->Widget();
        const QPoint centre(w->width() / 2, w->height() / 2);
        MouseAt(w, QEvent::MouseButtonPress, centre);
        MouseAt(w, QEvent::MouseButtonRelease, centre);
    }
    // "Convert and Save" picked from the file menu.
    const std::function<void()> convertAndSave = [this] {
        p->m_datei_konvert->QtAction()->trigger();
    };
    // Runs start, answering every message with OK; the messages' four lines.
    std::vector<std::vector<std::string>> runAnsweringMessages(const std::function<void()>& start) {
        std::vector<std::vector<std::string>> shown;
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            EXPECT_EQ(r.Form, box);
            shown.push_back({U8(box->Label1->Caption()), U8(box->Label2->Caption()),
                             U8(box->Label3->Caption()), U8(box->Label4->Caption())});
            clickButton(box->OK);
            return int(box->ModalResult());
        });
        start();
        return shown;
    }

    fs::path folder;
    std::unique_ptr<ProgramState> state;
    TextPictureRenderer savedRenderer;
    Tprog* p = nullptr;
    Tsm_meldung* box = nullptr;
};

// A listed file deleted before the run is skipped; the others are converted, the log names
// it, its row goes, and one message names it and the count, in German and in English.
TEST_F(ProgramRunTest, VanishedFileIsSkippedAndNamedInOneMessage) {
    struct Case {
        TMenuItem* language;
        const char* title;
        const char* count;
    };
    const Case cases[] = {
        {p->m_einst_sprache_english, "Files not found", "1 File(s) "},
        {p->m_einst_sprache_deutsch, "Dateien nicht gefunden", "1 Datei(en) "},
    };
    ScopedLanguage restored(LanguageCode);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        c.language->QtAction()->trigger();
        clickButton(p->inp_deleteall);
        fs::remove(path("b-1.txt"));
        fs::remove(path("c-1.txt"));
        openListOfThreeFiles();
        if (p->out_onlyifchanged->Checked()) ClickControl(p->out_onlyifchanged);
        fs::remove(path("a.txt"));

        const auto shown = runAnsweringMessages(convertAndSave);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0][0], c.title);
        EXPECT_EQ(shown[0][1].rfind(c.count, 0), 0u) << shown[0][1];
        EXPECT_NE(shown[0][2].find("a.txt"), std::string::npos) << shown[0][2];
        EXPECT_EQ(read("b-1.txt"), "text b");
        EXPECT_EQ(read("c-1.txt"), "text c");
        EXPECT_FALSE(fs::exists(path("a-1.txt")));
        EXPECT_NE(log().find("NOT FOUND(" + path("a.txt") + ")"), std::string::npos) << log();
        EXPECT_EQ(p->qulist->Items().Count(), 2);
        EXPECT_TRUE(p->Enabled());
    }
}

// The merged preview leaves out a row whose file is gone, as the run does: what the preview
// shows is what the run writes, under the name it shows.
TEST_F(ProgramRunTest, MergedPreviewAndRunBothSkipAVanishedFile) {
    ClickControl(p->act_dateizus);
    ASSERT_TRUE(p->act_dateizus->Checked());
    openListOfThreeFiles();
    fs::remove(path("a.txt"));
    clickRow(1);
    EXPECT_EQ(U8(p->vor_neu->Text()), "text b\r\ntext c");
    EXPECT_EQ(U8(p->vor_out->Hint()), path("b-1.txt"));

    const auto shown = runAnsweringMessages(convertAndSave);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(U16(read("b-1.txt")), p->vor_neu->Text());
}

// The picture is drawn on the colour the output settings show: after a valid colour was
// typed, a text that is no colour leaves the window's colour, and the picture's, as it was.
TEST_F(ProgramRunTest, PictureBackgroundIsTheColourTheOutputSettingsShow) {
    p->m_einst_ausgabe->QtAction()->trigger();
    auto* output = ProgramWindow<Teinstausgabe>();
    ASSERT_TRUE(output->Visible());
    QWidget* edit = output->Edit1->Widget();
    PressKey(edit, Qt::Key_End, QString());
    while (!output->Edit1->Text().empty())
        PressKey(edit, Qt::Key_Backspace, QString());
    for (const char* c : {"#", "3", "3", "6", "6", "c", "c"})
        TypeChar(output->Edit1, QString::fromLatin1(c));
    PressKey(edit, Qt::Key_Backspace, QString()); // "#3366c": no colour
    EXPECT_EQ(U8(output->Edit1->Text()), "#3366c");
    EXPECT_EQ(ColorToQColor(output->Edit1->Color()), QColor(0x33, 0x66, 0xCC));

    write("a.txt", "picture");
    p->add2list(U16(path("a.txt")), p->qulist);
    if (p->out_onlyifchanged->Checked()) ClickControl(p->out_onlyifchanged);
    QWidget* format = p->out_format->Widget();
    PressKey(format, Qt::Key_End, QString());
    while (!p->out_format->Text().empty())
        PressKey(format, Qt::Key_Backspace, QString());
    for (const char* c : {".", "b", "m", "p"})
        TypeChar(p->out_format, QString::fromLatin1(c));
    ASSERT_EQ(U8(p->out_format->Text()), ".bmp");
    const auto messages = runAnsweringMessages(convertAndSave);
    EXPECT_TRUE(messages.empty());
    QImage picture(QString::fromStdString(path("a-1.bmp")));
    ASSERT_FALSE(picture.isNull());
    // The margin of ten pixels is background.
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(0x33, 0x66, 0xCC));
    EXPECT_EQ(picture.pixelColor(picture.width() - 1, picture.height() - 1),
              QColor(0x33, 0x66, 0xCC));
}

} // namespace
