#include "platform/Messages.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

class Probe : public TMessageTarget {
public:
    using TMessageTarget::TMessageTarget;
    std::vector<UINT> seen;

protected:
    void WndProc(TMessage& m) override {
        seen.push_back(m.Msg);
        m.Result = LRESULT(m.WParam) * 2;
    }
};

TEST(Components, OwnerKeepsCreationOrderFindsByNameAndFreesOwned) {
    auto* owner = new TComponent(nullptr);
    auto* a = new TComponent(owner);
    auto* b = new TComponent(owner);
    a->SetName(u"Alpha");
    b->SetName(u"beta");
    ASSERT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(0), a);
    EXPECT_EQ(owner->Components(1), b);
    EXPECT_EQ(owner->FindComponent(u"ALPHA"), a);
    EXPECT_EQ(owner->FindComponent(u"Beta"), b);
    EXPECT_EQ(owner->FindComponent(u"gamma"), nullptr);
    EXPECT_THROW(b->SetName(u"alpha"), EComponentError);
    b->Free();
    EXPECT_EQ(owner->ComponentCount(), 1);

    // FreeNotification: the watcher hears of the owner's children going away.
    struct Watcher : TComponent {
        using TComponent::TComponent;
        std::vector<TComponent*> gone;
        void Notification(TComponent* c, TOperation op) override {
            if (op == TOperation::opRemove) gone.push_back(c);
            TComponent::Notification(c, op);
        }
    };
    auto* watcher = new Watcher(nullptr);
    a->FreeNotification(watcher);
    owner->Free();
    ASSERT_EQ(watcher->gone.size(), 1u);
    EXPECT_EQ(watcher->gone[0], a);
    watcher->Free();
}

TEST(Messages, HookChainRemovalInAnyOrderKeepsLaterHooks) {
    struct Case {
        const char* name;
        std::vector<int> removeOrder; // indexes of hooks A=0, B=1, C=2 to remove
        std::string expected;         // hooks still seen, latest first
    };
    const Case cases[] = {
        {"none", {}, "CBA"},     {"remove A", {0}, "CB"},   {"remove B", {1}, "CA"},
        {"remove C", {2}, "BA"}, {"A then C", {0, 2}, "B"}, {"all", {1, 0, 2}, ""},
    };
    for (const Case& c : cases) {
        Probe p(nullptr);
        std::string trace;
        THookId ids[3];
        for (int i = 0; i < 3; ++i) {
            char tag = char('A' + i);
            ids[i] = p.HookWindowProc([&trace, tag](TMessage& m, const TWndMethod& next) {
                trace += tag;
                next(m);
            });
        }
        for (int i : c.removeOrder)
            p.UnhookWindowProc(ids[i]);
        EXPECT_EQ(p.Perform(WM_USER + 1, 21), 42) << c.name;
        EXPECT_EQ(trace, c.expected) << c.name;
        EXPECT_EQ(p.seen.size(), 1u) << c.name;
    }
}

TEST(Messages, AHookMayFreeItsTargetBeforePassingTheMessageOn) {
    for (bool viaPost : {false, true}) {
        auto* p = new Probe(nullptr);
        int outer = 0;
        p->HookWindowProc([&](TMessage& m, const TWndMethod& next) {
            ++outer;
            next(m);
        });
        p->HookWindowProc([p](TMessage& m, const TWndMethod& next) {
            p->Free();
            next(m); // ends here: the target is gone
        });
        if (viaPost) {
            PostMessage(p, WM_USER, 1, 0);
            QCoreApplication::processEvents();
        } else {
            EXPECT_EQ(p->Perform(WM_USER, 1, 0), 0);
        }
        EXPECT_EQ(outer, 0);
    }
}

TEST(Messages, HookCanAnswerSwallowAndRemoveItselfWhileRunning) {
    Probe p(nullptr);
    THookId self = 0;
    int laterCalls = 0;
    self = p.HookWindowProc([&](TMessage& m, const TWndMethod& next) {
        p.UnhookWindowProc(self); // removes itself in the middle of a message
        next(m);
    });
    p.HookWindowProc([&](TMessage& m, const TWndMethod& next) {
        ++laterCalls;
        if (m.Msg == WM_USER + 7) {
            m.Result = 99; // answered here, never reaches the target
            return;
        }
        next(m);
    });
    EXPECT_EQ(p.Perform(WM_USER + 7), 99);
    EXPECT_EQ(p.Perform(WM_USER, 5), 10);
    EXPECT_EQ(p.Perform(WM_USER, 6), 12);
    EXPECT_EQ(laterCalls, 3);
    EXPECT_EQ(p.WindowProcHookCount(), 1);
    EXPECT_EQ(p.seen, (std::vector<UINT>{WM_USER, WM_USER}));
}

TEST(Messages, PostedMessageArrivesAfterTheRunningHandler) {
    std::vector<std::string> order;
    TMessageWindow* w = nullptr;
    w = new TMessageWindow(nullptr, u"TestWnd", [&](TMessage& m) {
        if (m.Msg == WM_USER + 1) {
            order.push_back("first begins");
            PostMessage(w, WM_USER + 2);
            order.push_back("first ends");
        } else if (m.Msg == WM_USER + 2) {
            order.push_back("posted");
        }
    });
    SendMessage(w, WM_USER + 1);
    EXPECT_EQ(order.size(), 2u);
    QCoreApplication::processEvents();
    EXPECT_EQ(order, (std::vector<std::string>{"first begins", "first ends", "posted"}));

    // A message posted to a window that is gone is dropped.
    PostMessage(w, WM_USER + 2);
    w->Free();
    QCoreApplication::processEvents();
    EXPECT_EQ(order.size(), 3u);
}

TEST(Messages, RegisteredMessagesAndMessageWindowsByClassName) {
    UINT a = RegisterWindowMessage(u"UCodeUnicodeVcl.DestroyWindow");
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(RegisterWindowMessage(u"ucodeunicodevcl.destroywindow"), a);
    EXPECT_NE(RegisterWindowMessage(u"Other"), a);

    WideString cls = u"OneInstUtilWnd:/opt/q/quorbel";
    EXPECT_EQ(FindWindow(cls), nullptr);
    auto* w = new TMessageWindow(nullptr, cls, [](TMessage& m) { m.Result = 0xDA860081; });
    EXPECT_EQ(FindWindow(cls), w);
    EXPECT_EQ(SendMessage(FindWindow(cls), WM_COPYDATA), LRESULT(0xDA860081));
    w->Free();
    EXPECT_EQ(FindWindow(cls), nullptr);
}

} // namespace
