// The working window's frame and layout: its size on the screen, maximising on a small
// screen, hiding and reopening the four boxes, the stacking of the action groups, the
// header colours and drawings, the wheel flag, and screenshots in both languages with
// every caption inside its control.
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "ProgTestSupport.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/LanguageCode.h"
#include "support/ModalInterceptor.h"
#include "support/TempFolder.h"
#include "support/WidgetInput.h"
#include "text/UCodeSysUtils.h"

namespace {

void ShowAndActivate(Tprog* p) {
    p->Show();
    p->Widget()->activateWindow();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

TEST_F(ProgTest, OpensAtItsDesignSizeOnALargeScreen) {
    ShowAndActivate(p);
    EXPECT_EQ(p->ClientWidth(), 891);
    EXPECT_EQ(p->ClientHeight(), 744);
    EXPECT_EQ(p->Tag, 1);
    EXPECT_NE(p->WindowState(), wsMaximized);
    // The left column: the input box over the splitter over the preview.
    EXPECT_EQ(p->splitter_files_preview->Top(), p->Panel4->Height());
    EXPECT_EQ(p->splitter_files_preview->Height(), 6);
    EXPECT_EQ(p->Panel5->Top(), p->Panel4->Height() + 6);
    EXPECT_EQ(p->Panel5->Top() + p->Panel5->Height(), p->Panel2->Height());
}

// On a screen of 800 x 800 pixels the window does not fit: it maximises itself once,
// when it is first activated. The screen is the test program's own, so this case runs
// in a child process with that screen.
TEST(ProgSmallScreen, MaximisedAfterFirstActivation) {
    if (!std::getenv("QUORBEL_SMALL_SCREEN_CHILD")) {
        namespace fs = std::filesystem;
        const fs::path config = fs::temp_directory_path() /
                                ("quorbel_screen_800_" + std::to_string(::getpid()) + ".json");
        std::ofstream(config) << R"({"synchronousWindowSystemEvents": false,
            "windowFrameMargins": false, "screens": [{"name": "Small", "x": 0, "y": 0,
            "width": 800, "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
        const std::string command =
            "QUORBEL_SMALL_SCREEN_CHILD=1 QT_QPA_PLATFORM=offscreen:configfile=" + config.string() +
            " timeout 60 /proc/" + std::to_string(::getpid()) +
            "/exe --gtest_filter=ProgSmallScreen.MaximisedAfterFirstActivation >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0);
        fs::remove(config);
        return;
    }
    ASSERT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 800);
    Tprog* p = new Tprog(Application);
    p->DoCreate();
    ShowAndActivate(p);
    EXPECT_EQ(p->WindowState(), wsMaximized);
    EXPECT_EQ(p->Tag, 1);
    p->Free();
}

TEST_F(ProgTest, HiddenBoxesLeaveReopenButtonsInTheBottomBar) {
    ShowAndActivate(p);
    p->m_anz_inputClick(p->m_anz_input);
    p->m_anz_inputClick(p->m_anz_vorschau);
    pump();
    EXPECT_FALSE(p->Panel2->Visible());
    EXPECT_FALSE(p->Splitter1->Visible());
    EXPECT_TRUE(p->max_input->Visible());
    EXPECT_TRUE(p->max_vorschau->Visible());
    EXPECT_FALSE(p->max_aktionen->Visible());
    EXPECT_EQ(p->max_input->Left(), 8);
    EXPECT_EQ(p->max_vorschau->Left(), 70);
    EXPECT_EQ(p->laspenden->Left(), 132);
    EXPECT_TRUE(p->max_b1->Visible());
    EXPECT_TRUE(p->max_b2->Visible());
    EXPECT_FALSE(p->max_b3->Visible());
    // The saving options alone hidden as well: their button takes the next slot.
    p->close_outputClick(p->close_output);
    EXPECT_EQ(p->max_output->Left(), 132);
    EXPECT_EQ(p->laspenden->Left(), 194);
    // Reopened by their buttons: no reopen button is left.
    for (TButton* b : {p->max_input, p->max_vorschau, p->max_output})
        ClickControl(b);
    pump();
    for (TButton* b : {p->max_input, p->max_vorschau, p->max_aktionen, p->max_output})
        EXPECT_FALSE(b->Visible()) << U8(b->Name());
    EXPECT_EQ(p->laspenden->Left(), 8);
    EXPECT_TRUE(p->Panel2->Visible());
    EXPECT_TRUE(p->splitter_files_preview->Visible());
    EXPECT_TRUE(p->m_anz_input->Checked());
}

TEST_F(ProgTest, OpeningAGroupPushesTheLaterGroupsDownAndKeepsTheScrollPosition) {
    ShowAndActivate(p);
    // The replace-text body: short without its list of replacements, long with it.
    EXPECT_EQ(p->apanel11->Height(), p->act_ers_weitere->Top() + p->act_ers_weitere->Height() + 5);
    p->act_ers_weitere->SetChecked(true);
    p->act_ers_weitereClick(p->act_ers_weitere);
    EXPECT_EQ(p->apanel11->Height(), p->BitBtn1->Top() + p->BitBtn1->Height() + 9);
    for (TPanel* body : {p->apanel11, p->apanel21, p->apanel51, p->apanel71})
        body->SetVisible(true);
    p->PanelsAnordnen(nullptr);
    pump();
    TControlScrollBar& bar = p->ScrollBox1->VertScrollBar();
    bar.SetPosition(300);
    ASSERT_EQ(bar.Position(), 300);
    const int before = p->apanel40->Top();
    EXPECT_EQ(before, p->apanel30->Top() + p->apanel30->Height()); // a hidden body takes no room
    p->apanel31->SetVisible(true);
    p->PanelsAnordnen(nullptr);
    EXPECT_EQ(p->apanel40->Top(), before + p->apanel31->Height());
    EXPECT_EQ(p->apanel31->Top(), p->apanel30->Top() + p->apanel30->Height());
    EXPECT_EQ(bar.Position(), 300);
    // The panels fill the box beside its scroll bar, not under it.
    pump();
    EXPECT_EQ(p->apanel10->Width(), p->ScrollBox1->ClientWidth());
    // Closing every body stacks the headers alone.
    p->CloseAllActions();
    p->PanelsAnordnen(nullptr);
    for (int i = 1; i < Tprog::kActionGroups; ++i)
        EXPECT_EQ(p->ActionGroups()[i].header->Top(), i * p->apanel10->Height());
}

TEST_F(ProgTest, HeadersAreTheButtonFaceDarkenedPerChannel) {
    ShowAndActivate(p);
    const QColor face = ColorToQColor(clBtnFace);
    auto shifted = [&](int d) {
        return QColor((face.red() + d) & 0xFF, (face.green() + d) & 0xFF, (face.blue() + d) & 0xFF);
    };
    QImage header = p->box_dat_top->Widget()->grab().toImage();
    EXPECT_EQ(QColor(header.pixel(header.width() / 2, 2)), shifted(-50));
    p->apanel11->SetVisible(true);
    pump();
    QImage body = p->apanel11->Widget()->grab().toImage();
    EXPECT_EQ(QColor(body.pixel(body.width() - 3, body.height() - 3)), shifted(-5));
    // The inactive close picture: diagonals in the face minus 90, a white frame line.
    const int b = p->close_input->Width();
    const TBitmap& pic = p->close_input->Picture().Bitmap();
    EXPECT_EQ(ColorToQColor(pic.Pixel(b / 2, b / 2)), shifted(-90));
    EXPECT_EQ(ColorToQColor(pic.Pixel(b / 2, 1)), QColor(Qt::white));
    p->DrawCloseButton(p->close_input, true);
    EXPECT_EQ(ColorToQColor(pic.Pixel(b / 2, b / 2)), shifted(106));
}

TEST_F(ProgTest, TheWheelFlagFollowsTheControlClickedLast) {
    ShowAndActivate(p);
    p->apanel11->SetVisible(true);
    p->PanelsAnordnen(nullptr);
    pump();
    // Offscreen, a click does not move the focus: the test gives it as a click would.
    p->act_ers_text_suchen->SetFocus();
    ClickControl(p->act_ers_text_suchen);
    pump();
    EXPECT_FALSE(WheelToActions);
    p->act_ers_casesensitive->SetFocus();
    ClickControl(p->act_ers_casesensitive);
    pump();
    EXPECT_TRUE(WheelToActions);
}

TEST_F(ProgTest, TheWheelOverTheActionsScrollsThemTwentyPixelsANotch) {
    ShowAndActivate(p);
    for (TPanel* body : {p->apanel11, p->apanel21, p->apanel31, p->apanel51})
        body->SetVisible(true);
    p->PanelsAnordnen(nullptr);
    pump();
    QWidget* box = p->act_ers_casesensitive->Widget();
    const QPoint inside(5, 5);
    QMouseEvent move(QEvent::MouseMove, QPointF(inside), QPointF(box->mapToGlobal(inside)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    EXPECT_TRUE(MouseOverActions);
    p->act_ers_casesensitive->SetFocus();
    ClickControl(p->act_ers_casesensitive);
    TControlScrollBar& bar = p->ScrollBox1->VertScrollBar();
    auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(inside), QPointF(box->mapToGlobal(inside)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &e);
    };
    const int start = bar.Position();
    wheel(-120);
    EXPECT_EQ(bar.Position(), start + 20);
    wheel(-120);
    wheel(120);
    EXPECT_EQ(bar.Position(), start + 20);
}

TEST_F(ProgTest, AFailedAutosaveIsShownOnceAndTheWindowClosesAnyway) {
    std::vector<std::string> shown;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        shown.push_back(U8(r.Text));
        return IDOK;
    });
    // A program folder below a regular file cannot be written, not even by root: both
    // autosaves (the whole configuration and the profile) fail for real.
    TempFolder folder;
    const std::string blocker = (folder.Path() / "blocker").string();
    std::ofstream(blocker) << "a file, not a folder";
    ProgramState state(U16(blocker));
    p->SetRunState(&state);
    p->m_konfig_autosave_alles->SetChecked(true);
    p->m_konfig_autosave_profil->SetChecked(true);
    bool canClose = false;
    p->FormCloseQuery(p, canClose);
    EXPECT_TRUE(canClose);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(blocker + "/Auto.qvr"), std::string::npos) << shown[0];
    p->SetRunState(nullptr);
}

// Every caption fits its control: tick boxes and radio buttons with their box, buttons
// with a margin, fixed-width labels in their width, and every control inside its parent.
void ExpectCaptionsFit(Tprog* p) {
    for (int i = 0; i < p->ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(p->Components(i));
        if (!c || !c->Widget() || !c->Parent()) continue;
        const QString text = QString::fromStdU16String(c->Caption()).remove(QLatin1Char('&'));
        const QFontMetrics metrics(c->Widget()->font());
        const int needed = metrics.horizontalAdvance(text);
        int room = c->Width();
        if (auto* label = dynamic_cast<TLabel*>(c); label && label->WordWrap()) {
            const QRect r =
                metrics.boundingRect(QRect(0, 0, c->Width(), 1000), Qt::TextWordWrap, text);
            EXPECT_LE(r.height(), c->Height()) << U8(c->Name());
            continue;
        }
        if (dynamic_cast<TCheckBox*>(c) && !static_cast<TCheckBox*>(c)->PushLike())
            room -= 20;
        else if (dynamic_cast<TRadioButton*>(c))
            room -= 20;
        else if (dynamic_cast<TButton*>(c) || dynamic_cast<TCheckBox*>(c))
            room -= 6;
        else if (!dynamic_cast<TLabel*>(c))
            room = needed;
        EXPECT_LE(needed, room) << U8(c->Name()) << " \"" << text.toStdString() << "\"";
        const TWinControl* parent = c->Parent();
        if (parent == p->ScrollBox1 || !c->Visible()) continue;
        EXPECT_LE(c->Left() + std::min(c->Width(), needed), parent->ClientWidth())
            << U8(c->Name()) << " leaves " << U8(parent->Name());
    }
}

TEST_F(ProgTest, ScreenshotsInBothLanguagesShowEveryCaptionWhole) {
    ShowAndActivate(p);
    const char* dir = QUORBEL_BUILD_DIR "/screenshots/mainwindow";
    std::filesystem::create_directories(dir);
    for (const char16_t* code : {u"de", u"en"}) {
        SCOPED_TRACE(U8(code));
        const WideString saved = LanguageCode;
        LanguageCode = code;
        p->SetMainWindowTexts();
        for (int i = 0; i < Tprog::kActionGroups; ++i)
            p->ActionGroups()[i].body->SetVisible(i == 0 || i == 2);
        p->PanelsAnordnen(nullptr);
        pump();
        ExpectCaptionsFit(p);
        const QString file =
            QString::fromLatin1(dir) + "/Tprog-" + QString::fromStdU16String(code) + ".png";
        EXPECT_TRUE(p->Widget()->grab().save(file));
        for (TPanel* body : {p->apanel51, p->apanel71, p->apanel951}) {
            p->CloseAllActions();
            body->SetVisible(true);
            p->PanelsAnordnen(nullptr);
            pump();
            const QString part = QString::fromLatin1(dir) + "/Tprog-" +
                                 QString::fromStdU16String(body->Name()) + "-" +
                                 QString::fromStdU16String(code) + ".png";
            EXPECT_TRUE(p->ScrollBox1->Widget()->grab().save(part));
        }
        LanguageCode = saved;
    }
}

} // namespace
