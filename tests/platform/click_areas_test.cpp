// Where a person's click lands: a tick box or radio button takes it anywhere in its
// rectangle (beside its text too), an edit or memo reports it to its click handler, and
// a control deep inside a scroll box can be scrolled into view to be clicked.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <functional>

#include "platform/Buttons.h"
#include "platform/Edits.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "support/WindowInput.h"

namespace {

struct Shown {
    TForm* form = new TForm(nullptr);
    Shown() { form->SetBounds(100, 100, 400, 300); }
    ~Shown() { form->Free(); }
    template <class T> T* Add(int Left, int Top, int Width, int Height, TWinControl* In = nullptr) {
        auto* c = new T(form);
        c->SetParent(In ? In : form);
        c->SetBounds(Left, Top, Width, Height);
        return c;
    }
};

TEST(ClickAreas, AClickBesideTheTextReachesTicksRadiosEditsAndMemos) {
    struct Case {
        const char* name;
        std::function<TControl*(Shown&)> make;
    };
    const Case cases[] = {
        {"tick box", [](Shown& s) { return s.Add<TCheckBox>(10, 10, 300, 20); }},
        {"push-like tick box",
         [](Shown& s) {
             auto* c = s.Add<TCheckBox>(10, 10, 300, 24);
             c->SetPushLike(true);
             return c;
         }},
        {"radio button", [](Shown& s) { return s.Add<TRadioButton>(10, 10, 300, 20); }},
        {"edit", [](Shown& s) { return s.Add<TEdit>(10, 10, 300, 22); }},
        {"memo", [](Shown& s) { return s.Add<TMemo>(10, 10, 300, 120); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Shown s;
        TControl* control = c.make(s);
        control->SetCaption(u"A");
        int clicks = 0;
        control->OnClick = [&](TObject*) { ++clicks; };
        s.form->Show();
        QApplication::processEvents();
        // Far right of the short caption: on Windows still inside the control.
        ClickWidgetAt(control->Widget(), QPoint(control->Width() - 20, control->Height() / 2));
        EXPECT_EQ(clicks, 1);
        if (auto* tick = dynamic_cast<TCheckBox*>(control)) {
            EXPECT_TRUE(tick->Checked());
        }
        if (auto* radio = dynamic_cast<TRadioButton*>(control)) {
            EXPECT_TRUE(radio->Checked());
        }
    }
}

TEST(ClickAreas, AControlInsidePanelsOfAScrollBoxIsScrolledIntoView) {
    Shown s;
    auto* box = s.Add<TScrollBox>(0, 0, 200, 150);
    auto* panel = s.Add<TPanel>(0, 0, 180, 600, box);
    auto* inner = s.Add<TPanel>(0, 300, 180, 300, panel);
    auto* button = s.Add<TButton>(10, 200, 80, 25, inner); // 500 px down the box
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    s.form->Show();
    QApplication::processEvents();
    box->ScrollInView(button);
    QApplication::processEvents();
    QWidget* viewport = static_cast<QAbstractScrollArea*>(box->Widget())->viewport();
    const QPoint top = button->Widget()->mapTo(viewport, QPoint(0, 0));
    EXPECT_GE(top.y(), 0);
    EXPECT_LE(top.y() + button->Height(), viewport->height());
    ClickCentre(button);
    EXPECT_EQ(clicks, 1);
}

} // namespace
