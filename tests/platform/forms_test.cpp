#include "platform/Forms.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/ExtCtrls.h"
#include "platform/StdCtrls.h"
#include "support/ModalInterceptor.h"
#include "support/WidgetInput.h"

namespace {

// Runs the event loop until the condition holds or two seconds passed.
template <class F> bool WaitFor(F cond) {
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return cond();
}

TEST(Application, TerminateBeforeRunReturnsAtOnceAndClosingTheMainFormTerminates) {
    TApplication* global = Application;
    {
        TApplication app(nullptr);
        Application = &app;
        auto* main = new TForm(nullptr);
        auto* second = new TForm(nullptr);
        app.SetMainForm(main);
        second->Show();
        second->Close(); // not the main form: only hidden
        EXPECT_FALSE(second->Visible());
        EXPECT_FALSE(app.Terminated());
        main->Close();
        EXPECT_TRUE(app.Terminated());
        app.Run(); // returns at once
        main->Free();
        second->Free();
        Application = global;
    }
    TApplication app(nullptr);
    app.Terminate();
    QElapsedTimer t;
    t.start();
    app.Run();
    EXPECT_LT(t.elapsed(), 1000);
}

TEST(Application, ExceptionsOfHandlersAreShownAndTheProgramGoesOn) {
    std::vector<WideString> shown;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        if (r.Kind == TModalKind::MessageBox) shown.push_back(r.Text);
        return IDOK;
    });
    auto* form = new TForm(nullptr);
    auto* button = new TButton(form);
    button->SetParent(form);
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        ++clicks;
        throw Exception(std::string("Disk full"));
    };
    form->Show();
    static_cast<QPushButton*>(button->Widget())->click();
    static_cast<QPushButton*>(button->Widget())->click();
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], u"Disk full.");
    // OnException takes over when assigned.
    std::string seen;
    Application->OnException = [&](TObject* sender, const std::exception& e) {
        seen = e.what();
        EXPECT_EQ(sender, button);
    };
    button->Click();
    EXPECT_EQ(seen, "Disk full");
    Application->OnException = nullptr;
    form->Free();
}

TEST(Application, RunCallsOnIdleAndPostedHandlersMayFail) {
    std::vector<WideString> shown;
    ScopedModalInterceptor answer([&](TModalRequest& r) {
        shown.push_back(r.Text);
        return IDOK;
    });
    auto* window = new TMessageWindow(nullptr, u"FailingWnd", [](TMessage& m) {
        if (m.Msg == WM_USER) throw Exception(std::string("Posted handler failed."));
    });
    TApplication app(nullptr);
    int idles = 0;
    app.OnIdle = [&](TObject*, bool& done) {
        done = true;
        if (++idles == 1) PostMessage(window, WM_USER);
        if (!shown.empty()) app.Terminate();
    };
    // A safety net only; it goes with the test (a late shot would reach a test that
    // runs events later, with this stack long gone).
    QObject safetyNet;
    QTimer::singleShot(3000, &safetyNet, [&] { app.Terminate(); });
    app.Run();
    EXPECT_GE(idles, 2);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], u"Posted handler failed.");
    window->Free();
}

TEST(Application, OnMessageSeesMouseMessagesAndMayHandleThem) {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 300, 200);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 100);
    int panelUps = 0;
    panel->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++panelUps; };
    std::vector<TMsg> seen;
    bool handle = false;
    Application->OnMessage = [&](TMsg& m, bool& handled) {
        seen.push_back(m);
        handled = handle;
    };
    form->Show();
    MouseAt(panel->Widget(), QEvent::MouseMove, QPoint(5, 6));
    MouseAt(panel->Widget(), QEvent::MouseButtonPress, QPoint(5, 6));
    MouseAt(panel->Widget(), QEvent::MouseButtonRelease, QPoint(5, 6));
    QWheelEvent wheel(QPointF(5, 6), QPointF(panel->Widget()->mapToGlobal(QPoint(5, 6))), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(panel->Widget(), &wheel);
    std::vector<UINT> kinds;
    for (const TMsg& m : seen)
        kinds.push_back(m.message);
    EXPECT_EQ(kinds, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONUP, WM_MOUSEWHEEL}));
    EXPECT_EQ(seen[1].hwnd, panel);
    EXPECT_EQ(int16_t(HIWORD(seen[2].wParam)), -120);
    EXPECT_EQ(panelUps, 1);
    handle = true;
    MouseAt(panel->Widget(), QEvent::MouseButtonRelease, QPoint(5, 6));
    EXPECT_EQ(panelUps, 1);
    Application->OnMessage = nullptr;
    form->Free();
}

TEST(Forms, EventsModalResultsAndTheInterceptor) {
    std::vector<std::string> events;
    auto* form = Application->CreateForm<TForm>();
    (void)form;
    struct Dialog : TForm {
        TButton* ok;
        explicit Dialog(TComponent* owner) : TForm(owner) {
            ok = new TButton(this);
            ok->SetParent(this);
            ok->ModalResult = mrOk;
        }
    };
    auto* dlg = new Dialog(nullptr);
    dlg->OnShow = [&](TObject*) { events.push_back("show"); };
    dlg->OnCloseQuery = [&](TObject*, bool&) { events.push_back("closequery"); };
    dlg->OnClose = [&](TObject*, TCloseAction&) { events.push_back("close"); };
    {
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            EXPECT_EQ(r.Kind, TModalKind::Form);
            EXPECT_TRUE(r.Form->Visible());
            static_cast<Dialog*>(r.Form)->ok->Click();
            return 0;
        });
        EXPECT_EQ(dlg->ShowModal(), mrOk);
    }
    EXPECT_FALSE(dlg->Visible());
    EXPECT_EQ(events, (std::vector<std::string>{"show", "closequery", "close"}));
    {
        ScopedModalInterceptor answer([](TModalRequest&) { return mrNo; });
        EXPECT_EQ(dlg->ShowModal(), mrNo);
    }
    // A refused close keeps the form; caFree frees it after the running handler.
    dlg->OnCloseQuery = [](TObject*, bool& can) { can = false; };
    dlg->Show();
    dlg->Close();
    EXPECT_TRUE(dlg->Visible());
    dlg->OnCloseQuery = nullptr;
    bool destroyed = false;
    dlg->OnDestroy = [&](TObject*) { destroyed = true; };
    dlg->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
    dlg->Close();
    EXPECT_FALSE(destroyed);
    EXPECT_TRUE(WaitFor([&] { return destroyed; }));
}

TEST(Forms, AModalLoopLeavesNoModalWindowBehind) {
    // The real loop (no interceptor): after it the window is no longer modal for Qt, so
    // freeing it and showing another window is safe and nothing is blocked.
    ScopedModalInterceptor real(TModalInterceptor{});
    auto* modal = new TForm(nullptr);
    QTimer::singleShot(0, [modal] { modal->SetModalResult(mrOk); });
    EXPECT_EQ(modal->ShowModal(), mrOk);
    EXPECT_FALSE(QApplication::activeModalWidget());
    modal->Free();
    auto* other = new TForm(nullptr);
    other->Show();
    EXPECT_TRUE(other->Visible());
    other->Free();
}

TEST(Forms, ScreenIsTheOffscreen1920x1080AndFormsCentre) {
    EXPECT_EQ(Screen->Width(), 1920);
    EXPECT_EQ(Screen->Height(), 1080);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 1080);
    auto* form = new TForm(nullptr);
    int before = Screen->FormCount();
    EXPECT_GE(before, 1);
    EXPECT_EQ(Screen->Forms(before - 1), form);
    form->SetClientWidth(891);
    form->SetClientHeight(744);
    form->Position = poScreenCenter;
    form->Show();
    EXPECT_EQ(form->Left(), (1920 - 891) / 2);
    EXPECT_EQ(form->Top(), (1080 - 744) / 2);
    form->Perform(WM_SYSCOMMAND, SC_MAXIMIZE);
    EXPECT_EQ(form->WindowState(), wsMaximized);
    form->Free();
    EXPECT_EQ(Screen->FormCount(), before - 1);
}

TEST(Forms, ADisabledFormKeepsAToolWindowUsable) {
    auto* main = new TForm(nullptr);
    auto* progress = new TForm(nullptr);
    progress->SetBorderStyle(bsToolWindow);
    progress->SetFormStyle(fsStayOnTop);
    auto* cancel = new TButton(progress);
    cancel->SetParent(progress);
    cancel->SetCaption(u"Abbrechen");
    main->Show();
    progress->Show();
    main->SetEnabled(false);
    EXPECT_FALSE(main->Widget()->isEnabled());
    EXPECT_TRUE(cancel->Widget()->isEnabled());
    EXPECT_TRUE(cancel->Enabled());
    MouseAt(cancel->Widget(), QEvent::MouseButtonPress, QPoint(5, 5));
    MouseAt(cancel->Widget(), QEvent::MouseButtonRelease, QPoint(5, 5));
    int clicks = 0;
    cancel->OnClick = [&](TObject*) {
        ++clicks;
        cancel->Tag = 1;
    };
    MouseAt(cancel->Widget(), QEvent::MouseButtonPress, QPoint(5, 5));
    MouseAt(cancel->Widget(), QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(cancel->Tag, 1);
    main->SetEnabled(true);
    progress->Free();
    main->Free();
}

TEST(Forms, TimerTicksWhileTheLoopRuns) {
    auto* timer = new TTimer(nullptr);
    int ticks = 0;
    timer->SetInterval(10);
    timer->OnTimer = [&](TObject*) { ++ticks; };
    EXPECT_TRUE(WaitFor([&] { return ticks >= 2; }));
    timer->SetEnabled(false);
    int stopped = ticks;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 60)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(ticks, stopped);
    timer->Free();
}

} // namespace

namespace {

TEST(Forms, ShowingActivatesAndTheScreenKnowsTheActiveForm) {
    auto* a = new TForm(nullptr);
    auto* b = new TForm(nullptr);
    int activations = 0, resizes = 0;
    b->OnActivate = [&](TObject*) { ++activations; };
    b->OnResize = [&](TObject*) { ++resizes; };
    a->Show();
    b->Show();
    EXPECT_TRUE(WaitFor([&] { return activations > 0; }));
    EXPECT_EQ(Screen->ActiveForm(), b);
    b->SetClientWidth(333);
    EXPECT_EQ(b->ClientWidth(), 333);
    EXPECT_EQ(b->Widget()->width(), 333);
    EXPECT_EQ(resizes, 1);
    b->Widget()->resize(400, 300); // the window manager resizes the window
    QApplication::processEvents();
    EXPECT_EQ(b->Width(), 400);
    EXPECT_EQ(resizes, 2);
    b->SetConstraints(TSizeConstraints{634, 478, 0, 0});
    EXPECT_EQ(b->Width(), 634);
    b->Widget()->resize(100, 100);
    QApplication::processEvents();
    EXPECT_EQ(b->Width(), 634);
    EXPECT_EQ(b->Height(), 478);
    Application->Minimize();
    EXPECT_EQ(a->WindowState(), wsMinimized);
    Application->Restore();
    EXPECT_EQ(a->WindowState(), wsNormal);
    EXPECT_EQ(b->WindowState(), wsNormal);
    b->Free();
    a->Free();
}

TEST(Forms, BitButtonKindsGiveCaptionAndModalResult) {
    auto* form = new TForm(nullptr);
    auto* ok = new TBitBtn(form);
    ok->SetParent(form);
    ok->SetKind(bkOK);
    auto* no = new TBitBtn(form);
    no->SetParent(form);
    no->SetKind(bkNo);
    EXPECT_EQ(ok->Caption(), u"OK");
    EXPECT_EQ(ok->ModalResult, mrOk);
    EXPECT_TRUE(ok->Default());
    EXPECT_EQ(no->Caption(), u"&No");
    no->Click();
    EXPECT_EQ(form->ModalResult(), mrNo);
    form->Free();
}

} // namespace
