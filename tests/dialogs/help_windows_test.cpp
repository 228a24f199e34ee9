// The help, feedback and update-notice windows: page navigation over visible pages, the
// move request of the borderless help window, the addresses every link label hands to the
// browser, the notice's close tag, the product list's wheel step, and screenshots of every
// window and page in both languages (screenshots/dialogs/).
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/ProjectLinks.h"
#include "dialogs/u_bugreport.h"
#include "dialogs/u_dialog_upgrade.h"
#include "dialogs/u_hilfe.h"
#include "platform/ShellServices.h"

namespace {

// Every address handed to the browser while it lives; nothing is opened.
struct RecordedBrowser {
    RecordedBrowser() {
        saved = SetBrowserRecorder([this](const WideString& a) { addresses.push_back(a); });
    }
    ~RecordedBrowser() { SetBrowserRecorder(saved); }
    std::vector<WideString> addresses;
    TBrowserRecorder saved;
};

// Every link label of a window (blue, underlined, hand cursor).
std::vector<TLabel*> LinkLabels(TForm* Form) {
    std::vector<TLabel*> links;
    for (int i = 0; i < Form->ComponentCount(); ++i)
        if (auto* l = dynamic_cast<TLabel*>(Form->Components(i)); l && l->Cursor() == crHandPoint)
            links.push_back(l);
    return links;
}

struct HelpCase {
    const char* name;
    std::function<THelpWindow*()> make;
    const char16_t* back;
    const char16_t* next;
};

const HelpCase kHelpCases[] = {
    {"hilfe", [] { return new Thilfe(nullptr); }, u"btide1", u"btide2"},
    {"hilfe_en", [] { return new Thilfe_en(nullptr); }, u"btien1", u"btien2"},
};

TEST(HelpWindows, BackAndNextWalkTheVisiblePagesAndWrap) {
    for (const HelpCase& c : kHelpCases) {
        SCOPED_TRACE(c.name);
        THelpWindow* w = c.make();
        w->Show();
        auto* back = dynamic_cast<TButton*>(w->FindComponent(c.back));
        auto* next = dynamic_cast<TButton*>(w->FindComponent(c.next));
        ASSERT_TRUE(back && next);
        auto press = [](TButton* b) { ClickControl(b); };
        const std::vector<TTabSheet*> all{w->pc_hilfe, w->pc_empf, w->pc_software, w->pc_spenden};
        for (size_t i = 1; i <= all.size(); ++i) {
            press(next);
            EXPECT_EQ(w->pc->ActivePage(), all[i % all.size()]) << "next " << i;
        }
        press(back);
        EXPECT_EQ(w->pc->ActivePage(), w->pc_spenden) << "back from the first wraps";
        w->pc_empf->SetTabVisible(false);
        w->pc->SetActivePage(w->pc_hilfe);
        press(next);
        EXPECT_EQ(w->pc->ActivePage(), w->pc_software);
        press(back);
        EXPECT_EQ(w->pc->ActivePage(), w->pc_hilfe);
        w->pc->SetActivePage(w->pc_software);
        press(back);
        EXPECT_EQ(w->pc->ActivePage(), w->pc_hilfe) << "back skips the hidden page";
        w->Free();
    }
}

TEST(HelpWindows, APressOnTheWindowOrItsPictureAsksToMoveIt) {
    for (const HelpCase& c : kHelpCases) {
        SCOPED_TRACE(c.name);
        THelpWindow* w = c.make();
        w->Show();
        std::vector<TForm*> moved;
        TMoveRequestHook saved = SetMoveRequestHook([&](TForm* f) { moved.push_back(f); });
        for (QWidget* where : {w->Widget(), w->Image2->Widget()}) {
            MouseAt(where, QEvent::MouseButtonPress, QPoint(3, 3));
            MouseAt(where, QEvent::MouseButtonRelease, QPoint(3, 3));
        }
        MouseAt(w->Image2->Widget(), QEvent::MouseButtonPress, QPoint(3, 3), Qt::RightButton);
        SetMoveRequestHook(saved);
        EXPECT_EQ(moved, (std::vector<TForm*>{w, w}));
        w->Free();
    }
}

TEST(HelpWindows, AWheelStepScrollsTheProductListByTenUnits) {
    for (const HelpCase& c : kHelpCases) {
        SCOPED_TRACE(c.name);
        THelpWindow* w = c.make();
        w->ShowPage(w->pc_software);
        QApplication::processEvents();
        TControlScrollBar& bar = w->Frame->VertScrollBar();
        ASSERT_GT(bar.Range(), w->Frame->ClientHeight()) << "the list must be long enough";
        auto wheel = [&](QWidget* over, int delta) {
            QWheelEvent e(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(over, &e);
        };
        wheel(w->Frame->Widget(), -120);
        EXPECT_EQ(bar.Position(), 10);
        wheel(w->Frame->Widget(), -240);
        EXPECT_EQ(bar.Position(), 30);
        wheel(w->Frame->Widget(), 120);
        EXPECT_EQ(bar.Position(), 20);
        w->Free();
    }
}

TEST(HelpWindows, EveryLinkLabelHandsItsCaptionToTheBrowser) {
    ScopedLanguage lang(u"en");
    std::vector<TForm*> windows{new Thilfe(nullptr), new Thilfe_en(nullptr),
                                new Tbugreport_de(nullptr), new Tbugreport_en(nullptr),
                                new Tdialog_upgrade(nullptr)};
    windows.back()->DoCreate();
    const WideString site = u"https://" + WideString(ProjectSite) + u"/";
    for (TForm* w : windows) {
        SCOPED_TRACE(U8(w->Name()));
        auto* help = dynamic_cast<THelpWindow*>(w);
        const std::vector<TLabel*> links = LinkLabels(w);
        EXPECT_GE(links.size(), help ? 8u : 1u);
        for (TLabel* link : links) {
            if (help)
                help->ShowPage(dynamic_cast<TTabSheet*>(link->Parent()) ? help->pc_spenden
                                                                        : help->pc_software);
            else
                w->Show();
            if (help) help->Frame->ScrollInView(link);
            QApplication::processEvents();
            RecordedBrowser browser;
            ClickControl(link);
            ASSERT_EQ(browser.addresses.size(), 1u) << U8(link->Name());
            EXPECT_EQ(browser.addresses[0], link->Caption());
            EXPECT_EQ(link->Caption().rfind(site, 0), 0u) << U8(link->Caption());
        }
        w->Free();
    }
}

TEST(UpdateNotice, ClosingInAnyWaySetsTheTagAndOKHidesTheStartWindow) {
    TForm* start = new TForm(nullptr);
    start->SetName(u"start");
    const std::vector<std::function<void(Tdialog_upgrade*)>> closings{
        [](Tdialog_upgrade* n) { ClickControl(n->OK); },
        [](Tdialog_upgrade* n) { RequestClose(n); },
        [](Tdialog_upgrade* n) { PressKey(n->OK->Widget(), Qt::Key_Escape, QString()); },
    };
    for (size_t i = 0; i < closings.size(); ++i) {
        SCOPED_TRACE(i);
        start->Show();
        auto* n = new Tdialog_upgrade(nullptr);
        n->DoCreate();
        n->Show();
        EXPECT_EQ(n->Tag, 0);
        closings[i](n);
        EXPECT_EQ(n->Tag, 1);
        EXPECT_FALSE(n->Visible());
        // Escape clicks OK, the cancel button; the window system's close leaves the start window.
        EXPECT_EQ(start->Visible(), i == 1);
        n->Free();
    }
    start->Free();
}

TEST(HelpWindows, ScreenshotsOfEveryWindowAndPage) {
    for (const HelpCase& c : kHelpCases) {
        THelpWindow* w = c.make();
        const char* pages[] = {"help", "regards", "software", "donate"};
        for (int i = 0; i < 4; ++i) {
            w->ShowPage(w->pc->Pages(i));
            SaveScreenshots(w, (std::string(c.name) + "-" + pages[i]).c_str(),
                            [&] { ExpectCaptionsFit(w, c.name); });
        }
        w->Free();
    }
    for (TForm* w : {static_cast<TForm*>(new Tbugreport_de(nullptr)),
                     static_cast<TForm*>(new Tbugreport_en(nullptr))}) {
        SaveScreenshots(w, U8(w->Name()).c_str(), [&] { ExpectCaptionsFit(w, U8(w->Name())); });
        w->Free();
    }
    // The notice takes its texts at creation: one window per language.
    QImage shots[2];
    const char16_t* codes[] = {u"de", u"en"};
    for (int i = 0; i < 2; ++i) {
        ScopedLanguage lang(codes[i]);
        auto* n = new Tdialog_upgrade(nullptr);
        n->DoCreate();
        shots[i] = SaveScreenshots(n, (std::string("dialog_upgrade-") + U8(codes[i])).c_str(), [&] {
                       ExpectCaptionsFit(n, "dialog_upgrade");
                   }).first;
        n->Free();
    }
    EXPECT_NE(shots[0], shots[1]);
}

} // namespace
