// The start window: the language from the marker files of the current folder, the ticks
// of its timer at every silent level, the click on the picture, and screenshots in both
// languages (screenshots/mainwindow/start-de.png, start-en.png).
#include <QDir>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "dialogs/LanguageCode.h"
#include "mainwindow/ProgTestSupport.h"
#include "mainwindow/StartPictures.h"
#include "mainwindow/u_start.h"
#include "text/UCodeSysUtils.h"

namespace {

// A fresh folder of one test, removed afterwards.
struct ScratchFolder {
    ScratchFolder() {
        std::string name = (std::filesystem::temp_directory_path() / "start_XXXXXX").string();
        folder = mkdtemp(name.data());
    }
    ~ScratchFolder() { std::filesystem::remove_all(folder); }
    const std::filesystem::path& path() const { return folder; }
    std::filesystem::path folder;
};

// Runs the test in a folder of its own and puts back the language and the folder.
class StartWindowTest : public ProgTest {
protected:
    void SetUp() override {
        ProgTest::SetUp();
        old = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        oldLanguage = LanguageCode;
        p->SetRunState(&state);
    }
    void TearDown() override {
        if (s) s->Free();
        LanguageCode = oldLanguage;
        std::filesystem::current_path(old);
        ProgTest::TearDown();
    }
    Tstart* make() {
        s = new Tstart(Application);
        s->DoCreate();
        return s;
    }
    void marker(const char* name) { std::ofstream(dir.path() / name) << "x"; }
    // Ticks until the count is reached; what is visible after each.
    void tick(int times) {
        for (int i = 0; i < times; ++i)
            s->Timer1Timer(s->Timer1);
    }

    ScratchFolder dir;
    std::filesystem::path old;
    WideString oldLanguage;
    ProgramState state{ProgramFolder()};
    Tstart* s = nullptr;
};

TEST_F(StartWindowTest, MarkerFilesChooseTheLanguageGermanWinning) {
    struct Case {
        std::vector<const char*> files;
        const char16_t* code;
    };
    const Case cases[] = {{{}, u"de"}, {{"en"}, u"en"}, {{"de"}, u"de"}, {{"en", "de"}, u"de"}};
    for (const Case& c : cases) {
        for (const char* f : {"en", "de"})
            std::filesystem::remove(dir.path() / f);
        for (const char* f : c.files)
            marker(f);
        LanguageCode = u"de";
        if (s) s->Free();
        make();
        EXPECT_EQ(LanguageCode, c.code);
        EXPECT_EQ(s->spr->Caption(), c.code);
        EXPECT_EQ(s->Image1->Visible(), c.code == WideString(u"de"));
        EXPECT_EQ(s->en1->Visible(), c.code == WideString(u"en"));
        EXPECT_EQ(Application->Title(), u"Quorbel - Halvane");
        EXPECT_EQ(StartTickCount, 0);
    }
    // A folder named "en" is no marker file.
    std::filesystem::remove(dir.path() / "de");
    std::filesystem::remove(dir.path() / "en");
    std::filesystem::create_directory(dir.path() / "en");
    s->Free();
    make();
    EXPECT_EQ(LanguageCode, u"de");
}

TEST_F(StartWindowTest, TicksShowTheWorkingWindowThenHideThenStop) {
    make();
    s->Show();
    EXPECT_EQ(s->Timer1->Interval(), 600u);
    EXPECT_TRUE(s->Timer1->Enabled());
    tick(2);
    EXPECT_FALSE(p->Visible());
    tick(1);
    EXPECT_TRUE(p->Visible());
    EXPECT_TRUE(s->Visible());
    tick(1);
    EXPECT_TRUE(s->Visible());
    tick(1);
    EXPECT_FALSE(s->Visible());
    tick(1);
    EXPECT_TRUE(s->Timer1->Enabled());
    tick(1);
    EXPECT_FALSE(s->Timer1->Enabled());
    EXPECT_EQ(StartTickCount, 7);
}

TEST_F(StartWindowTest, SilentLevelsShowNothingAndStopAtTheFirstTick) {
    for (SilentLevel level : {SilentLevel::NoMessages, SilentLevel::NoWindow}) {
        if (s) s->Free();
        p->Hide();
        state.Silent = level;
        make();
        tick(1);
        EXPECT_FALSE(s->Timer1->Enabled());
        s->GoOn();
        s->Image1Click(s->Image1);
        EXPECT_FALSE(p->Visible());
    }
}

TEST_F(StartWindowTest, ClickOnThePictureSkipsTheWait) {
    make();
    s->Show();
    tick(1);
    s->Image1->OnClick(s->Image1);
    EXPECT_TRUE(p->Visible());
    EXPECT_FALSE(s->Visible());
    EXPECT_FALSE(s->Timer1->Enabled());
}

TEST_F(StartWindowTest, ScreenshotsInBothLanguages) {
    const QString folder = QStringLiteral(QUORBEL_BUILD_DIR "/screenshots/mainwindow");
    QDir().mkpath(folder);
    make();
    s->Show();
    EXPECT_EQ(s->ClientWidth(), 380);
    EXPECT_EQ(s->ClientHeight(), 235);
    QImage shots[2];
    const char16_t* codes[] = {u"de", u"en"};
    for (int i = 0; i < 2; ++i) {
        LanguageCode = codes[i];
        s->sprache();
        QApplication::processEvents();
        shots[i] = s->Widget()->grab().toImage();
        EXPECT_TRUE(
            shots[i].save(folder + "/start-" + QString::fromStdU16String(codes[i]) + ".png"));
    }
    EXPECT_NE(shots[0], shots[1]);
    // Another code leaves everything as it was.
    LanguageCode = u"fr";
    s->sprache();
    EXPECT_EQ(s->spr->Caption(), u"en");
    EXPECT_TRUE(s->en1->Visible());
}

TEST_F(StartWindowTest, OnlySilentSwitchesKeepTheMainWindowHidden) {
    struct Case {
        std::vector<const char*> args;
        bool shows;
    };
    const Case cases[] = {{{"q"}, true},
                          {{"q", "silentmode=1"}, false},
                          {{"q", "a.txt", "silentmode=2"}, false},
                          {{"q", "processandclose=1"}, true},
                          {{"q", "SilentMode=1", "silentmode=3"}, true}};
    for (const Case& c : cases) {
        InitWideCommandLine(int(c.args.size()), c.args.data());
        Application->ShowMainForm = true;
        if (s) s->Free();
        make();
        EXPECT_EQ(Application->ShowMainForm, c.shows) << c.args.back();
    }
    const char* none[] = {"q"};
    InitWideCommandLine(1, none);
    Application->ShowMainForm = true;
}

} // namespace
