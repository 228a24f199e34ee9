// The progress, overwrite-question and message windows: the tags their buttons leave
// for the caller, a question that only its buttons can end, centring over the owner
// and the texts of both languages.
#include <QKeyEvent>
#include <QTimer>
#include <memory>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/u_sm_achtung.h"
#include "dialogs/u_sm_bearbeitung.h"
#include "dialogs/u_sm_meldung.h"
#include "support/ModalInterceptor.h"

namespace {

struct FreeForm {
    void operator()(TForm* f) const { f->Free(); }
};
template <class T> using Owned = std::unique_ptr<T, FreeForm>;

void ResetTags(Tsm_achtung& q) {
    for (TButton* b : {q.OK, q.Nein, q.OKalle, q.NeinAlle, q.Abbrechen})
        b->Tag = 0;
}

struct AnswerCase {
    const char* name;
    TButton* Tsm_achtung::*button;
    int nein, okalle, abbrechen;
};

TEST(OverwriteQuestion, EachButtonLeavesItsTagsAndCloses) {
    const AnswerCase cases[] = {
        {"Yes", &Tsm_achtung::OK, 0, 0, 0},
        {"No", &Tsm_achtung::Nein, 1, 0, 0},
        {"Yes for all", &Tsm_achtung::OKalle, 0, 1, 0},
        {"No for all", &Tsm_achtung::NeinAlle, 1, 1, 0},
        {"Cancel", &Tsm_achtung::Abbrechen, 0, 0, 1},
    };
    Owned<Tsm_achtung> q(new Tsm_achtung(nullptr));
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetTags(*q);
        bool visibleWhileAsked = false;
        ScopedModalInterceptor answer([&](TModalRequest& r) {
            visibleWhileAsked = r.Form == q.get() && q->Visible();
            ClickControl(q.get()->*c.button);
            return int(q->ModalResult());
        });
        q->ShowModal();
        EXPECT_TRUE(visibleWhileAsked);
        EXPECT_FALSE(q->Visible());
        EXPECT_EQ(q->Nein->Tag, c.nein);
        EXPECT_EQ(q->OKalle->Tag, c.okalle);
        EXPECT_EQ(q->Abbrechen->Tag, c.abbrechen);
    }
}

// Runs Steps inside the real modal loop of Form.ShowModal (no interceptor) and returns
// its result; a question left open after Steps fails the test instead of hanging.
TModalResult ShowModalRunning(TForm* Form, const std::function<void()>& Steps) {
    ScopedModalInterceptor real(TModalInterceptor{});
    QTimer::singleShot(0, Steps);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [Form] {
        ADD_FAILURE() << "the window was still open";
        Form->SetModalResult(mrAbort);
    });
    guard.start(5000);
    return Form->ShowModal();
}

TEST(OverwriteQuestion, CloseRequestAndEscapeAreNoAnswer) {
    Owned<Tsm_achtung> q(new Tsm_achtung(nullptr));
    ResetTags(*q);
    auto closeAndEscape = [&] {
        RequestClose(q.get());
        QApplication::processEvents();
        EXPECT_TRUE(q->Visible());
        q->Abbrechen->SetFocus();
        PressKey(q->Abbrechen->Widget(), Qt::Key_Escape, QStringLiteral("\x1b"));
        QApplication::processEvents();
        EXPECT_TRUE(q->Visible());
        for (TButton* b : {q->OK, q->Nein, q->OKalle, q->NeinAlle, q->Abbrechen})
            EXPECT_EQ(b->Tag, 0) << U8(b->Name());
    };
    // The question stays: the user still answers it, and only that answer counts.
    EXPECT_EQ(ShowModalRunning(q.get(),
                               [&] {
                                   closeAndEscape();
                                   ClickControl(q->Nein);
                               }),
              mrNo);
    EXPECT_EQ(q->Nein->Tag, 1);
    EXPECT_FALSE(q->Visible());
    // A later showing must be answered again: the earlier answer does not carry over.
    q->Nein->Tag = 0;
    EXPECT_EQ(ShowModalRunning(q.get(),
                               [&] {
                                   closeAndEscape();
                                   ClickControl(q->OK);
                               }),
              mrYes);
}

TEST(OverwriteQuestion, LongPathIsShortenedToTheLabel) {
    Owned<Tsm_achtung> q(new Tsm_achtung(nullptr));
    WideString path = u"/home/user";
    for (int i = 0; i < 30; ++i)
        path += u"/a-rather-long-folder-name";
    path += u"/Bericht-März.txt";
    q->ShowFileName(path);
    WideString shown = q->Label3->Caption();
    EXPECT_LT(shown.size(), path.size());
    EXPECT_EQ(shown.substr(shown.size() - 17), u"/Bericht-März.txt");
    q->ShowFileName(u"/tmp/a.txt");
    EXPECT_EQ(q->Label3->Caption(), u"/tmp/a.txt");
}

TEST(ProgressWindow, CancelTwiceLeavesTagOneAndTheWindowOpen) {
    Owned<Tsm_bearbeitung> p(new Tsm_bearbeitung(nullptr));
    p->Show();
    ClickControl(p->Abbrechen);
    ClickControl(p->Abbrechen);
    EXPECT_EQ(p->Abbrechen->Tag, 1);
    EXPECT_TRUE(p->Visible());
    // Closing it through the window system asks the run to stop; the run hides it.
    p->Abbrechen->Tag = 0;
    RequestClose(p.get());
    EXPECT_EQ(p->Abbrechen->Tag, 1);
    EXPECT_TRUE(p->Visible());
    EXPECT_FALSE(p->OK->Visible());
}

TEST(MessageWindow, OkForAllSetsItsTag) {
    Owned<Tsm_meldung> m(new Tsm_meldung(nullptr));
    for (TButton* button : {m->OK, m->OKalle}) {
        m->OKalle->Tag = 0;
        ScopedModalInterceptor ok([&](TModalRequest&) {
            ClickControl(button);
            return int(m->ModalResult());
        });
        EXPECT_EQ(m->ShowModal(), mrOk);
        EXPECT_EQ(m->OKalle->Tag, button == m->OKalle ? 1 : 0);
    }
}

TEST(SmallDialogs, CentreOverTheOwnerOnEveryActivation) {
    // As the program has them: owned by the application, centred over the working window.
    Owned<TForm> owner(new TForm(Application));
    owner->SetBounds(100, 50, 800, 600);
    ASSERT_EQ(owner->ClientWidth(), 800);
    ASSERT_EQ(owner->ClientHeight(), 600);
    Owned<Tsm_bearbeitung> progress(new Tsm_bearbeitung(Application));
    Owned<Tsm_achtung> question(new Tsm_achtung(Application));
    Owned<Tsm_meldung> box(new Tsm_meldung(Application));
    std::vector<TSmallDialog*> dialogs = {progress.get(), question.get(), box.get()};
    for (TSmallDialog* d : dialogs)
        d->SetCentreOver(owner.get());
    for (TSmallDialog* d : dialogs) {
        SCOPED_TRACE(U8(d->Name()));
        d->SetClientWidth(300);
        d->SetClientHeight(150);
        d->SetBounds(0, 0, d->Width(), d->Height());
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(d->Widget(), &activate);
        EXPECT_EQ(d->Left(), 350);
        EXPECT_EQ(d->Top(), 275);
        // Moved by the user, put back at the next activation.
        d->SetBounds(5, 5, d->Width(), d->Height());
        QApplication::sendEvent(d->Widget(), &activate);
        EXPECT_EQ(d->Left(), 350);
        EXPECT_EQ(d->Top(), 275);
    }
    // An odd difference truncates; a dialog larger than its owner goes left of it.
    TSmallDialog* d = dialogs[0];
    d->SetClientWidth(301);
    d->SetClientHeight(901);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(d->Widget(), &activate);
    EXPECT_EQ(d->Left(), 100 + 499 / 2);
    EXPECT_EQ(d->Top(), 50 - 150); // (600 - 901) / 2 = -150, truncated toward zero
    // With the working window gone an activation leaves the dialog where it is.
    owner.reset();
    d->SetBounds(7, 9, d->Width(), d->Height());
    QApplication::sendEvent(d->Widget(), &activate);
    EXPECT_EQ(d->Left(), 7);
    EXPECT_EQ(d->Top(), 9);
}

TEST(SmallDialogs, TextsOfBothLanguagesAndScreenshots) {
    Owned<Tsm_achtung> q(new Tsm_achtung(nullptr));
    Owned<Tsm_bearbeitung> p(new Tsm_bearbeitung(nullptr));
    Owned<Tsm_meldung> m(new Tsm_meldung(nullptr));
    {
        ScopedLanguage de(u"de");
        q->Sprache();
        p->Sprache();
        m->Sprache();
        EXPECT_EQ(q->Label2->Caption(), u"Die folgende Datei ist bereits vorhanden:");
        EXPECT_EQ(q->NeinAlle->Caption(), u"Nein für alle");
        EXPECT_EQ(p->Abbrechen->Caption(), u"Abbrechen");
        EXPECT_EQ(m->OKalle->Caption(), u"OK für alle");
    }
    for (const char16_t* code : {u"en", u"DE"}) {
        ScopedLanguage lang(code);
        q->Sprache();
        p->Sprache();
        m->Sprache();
        EXPECT_EQ(q->Label2->Caption(), u"The following File is already exists:");
        EXPECT_EQ(q->NeinAlle->Caption(), u"No for all");
        EXPECT_EQ(q->Abbrechen->Caption(), u"Break");
        EXPECT_EQ(p->Abbrechen->Caption(), u"Break");
        EXPECT_EQ(m->OKalle->Caption(), u"OK for all");
    }
    q->ShowFileName(u"/home/user/Dokumente/Bericht.txt");
    SaveScreenshots(q.get(), "sm_achtung", [&] { q->Sprache(); });
    // The callers' lines in the language of each screenshot, as a run and the list show them.
    p->Label3->SetCaption(u"/home/user/Dokumente/Bericht.txt");
    p->Progress->SetMax(10);
    p->Progress->SetPosition(4);
    SaveScreenshots(p.get(), "sm_bearbeitung", [&] {
        p->Sprache();
        const bool de = LanguageCode == u"de";
        p->Label1->SetCaption(de ? u"Dateien werden bearbeitet" : u"Processing");
        p->Label2->SetCaption(de ? u"Aktuelle Datei:" : u"Current File:");
    });
    m->Label3->SetCaption(u"/home/user/Dokumente/Bericht.txt");
    SaveScreenshots(m.get(), "sm_meldung", [&] {
        m->Sprache();
        const bool de = LanguageCode == u"de";
        m->Label1->SetCaption(de ? u"Datei ist schon hinzugefügt" : u"File already added");
        m->Label2->SetCaption(de ? u"Diese Datei befindet sich bereits in der Liste:"
                                 : u"This file is added to the List already:");
    });
}

} // namespace
