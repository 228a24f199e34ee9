// Every window the program creates, tried as a person tries it: each button, tick box,
// radio button, combo box, edit, memo, menu item (and the pictures and labels that act
// as buttons) that has a handler is clicked at its centre, typed into, chosen from or
// chosen in its menu, and its handler must run. A shown control without a handler is
// listed with the reason; a shown control in neither list fails the sweep, so a control
// created and never wired is found.
#include <gtest/gtest.h>

#include <QTabBar>
#include <QTreeView>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "mainwindow/WindowSweepSteps.h"
#include "mainwindow/WindowSweepTable.h"
#include "platform/Buttons.h"
#include "platform/ComboBoxes.h"
#include "platform/Edits.h"
#include "platform/ExtCtrls.h"
#include "platform/PageControls.h"
#include "platform/ShellServices.h"
#include "support/HandlerTrace.h"
#include "support/ModalInterceptor.h"
#include "support/ProgramWindowsFixture.h"
#include "support/TempFolder.h"
#include "support/TempXdgHomes.h"

namespace {

using namespace window_sweep;

// A test with every window built, the working window listing one file, nothing outside
// the test touched (links recorded, shell folders temporary, modal windows answered).
class Sweep : public ::testing::Test {
protected:
    void Build(bool English) {
        folder.Write("a.txt", "alpha\r\nbeta\r\n");
        windows = std::make_unique<ProgramWindows>(English ? u"en" : u"de");
        windows->ShowAsStarted();
        TypeInto(Working().inp_ordner, QString::fromStdString(folder.Path().string()) + "\r");
        ASSERT_EQ(Working().qulist->Items().Count(), 1);
    }
    void TearDown() override { windows.reset(); }
    Tprog& Working() const { return windows->Working(); }
    TForm* Form(const char* Name) const {
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (Screen->Forms(i)->Name() == U16(Name)) return Screen->Forms(i);
        return nullptr;
    }

    TempXdgHomes xdg;
    TempFolder folder;
    std::unique_ptr<ProgramWindows> windows;
    // A folder chooser is answered with the test's folder, everything else cancelled.
    ScopedModalInterceptor answers{[this](TModalRequest& r) {
        modals.push_back(U8(r.Caption) + " / " + U8(r.Text));
        if (r.Kind != TModalKind::Folder) return 0;
        r.Answer = U16(folder.Path().string());
        return 1;
    }};
    std::vector<std::string> modals;
    std::vector<WideString> browsed;
    struct BrowserRecord {
        TBrowserRecorder saved;
        explicit BrowserRecord(std::vector<WideString>& To)
            : saved(SetBrowserRecorder([&To](const WideString& a) { To.push_back(a); })) {}
        ~BrowserRecord() { SetBrowserRecorder(saved); }
    } recorder{browsed};
};

class SweepRow : public Sweep, public ::testing::WithParamInterface<Row> {
protected:
    // What the handlers of the rows that matter most leave behind, seen beside the trace.
    void ExpectEffect(const Row& R) {
        const std::string key = std::string(R.window) + "." + U8(R.control) + "." + R.event;
        Tprog& p = Working();
        auto status = [&] { return p.qulist->Items().Item(0)->SubItems().Get(4); };
        auto tag = [&](const char16_t* Name) {
            return dynamic_cast<TComponent*>(Form(R.window)->FindComponent(Name))->Tag;
        };
        const std::map<std::string, std::function<void()>> effects = {
            // The list's one file is converted: nothing changes, so nothing is written.
            {"prog.durchfuehren.OnClick", [&] { EXPECT_EQ(status(), u"Unverändert"); }},
            {"prog.m_datei_konvert.OnClick", [&] { EXPECT_EQ(status(), u"Unverändert"); }},
            {"prog.inp_deleteall.OnClick", [&] { EXPECT_EQ(p.qulist->Items().Count(), 0); }},
            {"prog.close_input.OnClick",
             [&] {
                 EXPECT_FALSE(p.box_dat->Widget()->isVisible());
                 EXPECT_TRUE(p.max_input->Widget()->isVisible());
             }},
            {"prog.max_input.OnClick", [&] { EXPECT_TRUE(p.box_dat->Widget()->isVisible()); }},
            {"prog.act_ers_text.OnClick", [&] { EXPECT_TRUE(p.apanel11->Widget()->isVisible()); }},
            {"prog.m_einst_sprache_english.OnClick",
             [&] { EXPECT_EQ(p.durchfuehren->Caption(), u"Convert and Save"); }},
            {"prog.laspenden.OnClick", [&] { EXPECT_EQ(browsed.size(), 1u); }},
            {"prog.m_datei_open.OnClick", [&] { EXPECT_EQ(modals.size(), 1u); }},
            {"prog.act_konst_start.OnKeyPress",
             [&] { EXPECT_NE(p.act_konst_start->Text().find(u'5'), WideString::npos); }},
            {"start.Image1.OnClick", [&] { EXPECT_FALSE(windows->Start().Visible()); }},
            {"hilfe.btclose.OnClick", [&] { EXPECT_FALSE(Form("hilfe")->Visible()); }},
            {"sm_achtung.NeinAlle.OnClick",
             [&] {
                 EXPECT_EQ(tag(u"Nein"), 1);
                 EXPECT_EQ(tag(u"OKalle"), 1);
             }},
            {"sm_bearbeitung.Abbrechen.OnClick", [&] { EXPECT_EQ(tag(u"Abbrechen"), 1); }},
        };
        if (auto it = effects.find(key); it != effects.end()) it->second();
    }
};

TEST_P(SweepRow, InputReachesTheHandler) {
    const Row& row = GetParam();
    if (row.awaiting) GTEST_SKIP() << "awaiting " << row.awaiting;
    Build(row.english);
    TForm* form = Form(row.window);
    ASSERT_NE(form, nullptr) << row.window;
    if (!form->Visible()) form->Show();
    QApplication::processEvents();
    TComponent* target = form->FindComponent(row.control);
    ASSERT_NE(target, nullptr) << "no such component";
    auto* control = dynamic_cast<TControl*>(target);
    for (const char16_t* first : row.before)
        Prepare(*form, first);
    if (control) {
        Reveal(*form, control);
        ASSERT_TRUE(control->Widget()->isVisible()) << "not on screen";
    }

    HandlerTrace trace;
    switch (row.input) {
    case Input::Click:
        if (dynamic_cast<TListView*>(control))
            ClickFirstRow(control, Qt::LeftButton);
        else
            ClickCentre(control);
        break;
    case Input::DoubleClick:
        DoubleClickCentre(control);
        break;
    case Input::Type:
        TypeInto(control, QString::fromUtf8(row.text));
        break;
    case Input::Drag: {
        // Across the bar: sideways for a standing bar, up and down for a lying one. A
        // neighbour of the bar grows or shrinks with it.
        const bool standing = control->Width() < control->Height();
        const QPoint by = standing ? QPoint(-40, 0) : QPoint(0, 40);
        std::vector<QSize> before;
        for (int i = 0; i < control->Parent()->ControlCount(); ++i)
            before.push_back(control->Parent()->Controls(i)->Widget()->size());
        DragCentreBy(control, by);
        QApplication::processEvents();
        bool moved = false;
        for (int i = 0; i < control->Parent()->ControlCount(); ++i) {
            const QSize now = control->Parent()->Controls(i)->Widget()->size();
            const int change = standing ? now.width() - before[size_t(i)].width()
                                        : now.height() - before[size_t(i)].height();
            moved = moved || std::abs(change) >= 30;
        }
        EXPECT_TRUE(moved) << "no neighbour of the bar followed it";
        break;
    }
    case Input::Leave:
        ClickCentre(control);
        PressKeyIn(control->Widget(), Qt::Key_Tab);
        break;
    case Input::Choose: {
        auto* box = dynamic_cast<TComboBox*>(control);
        ASSERT_NE(box, nullptr);
        const int count = box->Items().Count();
        ASSERT_GT(count, 1);
        ChooseComboItem(box, box->ItemIndex() + 1 < count ? box->ItemIndex() + 1 : 0);
        break;
    }
    case Input::Menu:
        ChooseMenuItem(dynamic_cast<TMenuItem*>(target));
        break;
    case Input::Popup: {
        auto* list = dynamic_cast<TControl*>(form->FindComponent(U16(row.text)));
        ASSERT_NE(list, nullptr) << row.text;
        ClickFirstRow(list, Qt::LeftButton);
        ClickFirstRow(list, Qt::RightButton);
        ChooseMenuItem(dynamic_cast<TMenuItem*>(target));
        break;
    }
    }
    QApplication::processEvents();
    EXPECT_TRUE(trace.Ran(target, row.event)) << "the " << row.event << " handler did not run ("
                                              << trace.calls.size() << " handlers ran)";
    ExpectEffect(row);
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    std::string name = std::string(info.param.window) + "_" + U8(info.param.control) + "_" +
                       std::string(info.param.event + 2) + "_" + std::to_string(info.index);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(WorkingWindow, SweepRow, ::testing::ValuesIn(WorkingWindowRows()),
                         RowName);
INSTANTIATE_TEST_SUITE_P(Dialogs, SweepRow, ::testing::ValuesIn(DialogRows()), RowName);

// The windows of the sweep's table, each once, in the table's order.
std::vector<std::string> SweptWindows() {
    std::vector<std::string> names;
    for (const auto& rows : {WorkingWindowRows(), DialogRows()})
        for (const Row& r : rows)
            if (std::find(names.begin(), names.end(), r.window) == names.end())
                names.push_back(r.window);
    return names;
}

// Every window tried with the keyboard alone: Tab runs from the control that has the focus
// through the window and back to it, Shift+Tab the other way, and each control of the table
// that is on screen and enabled is reached both ways. A control that takes Tab as text (a
// memo that wants tabs) ends the run in that direction: the other one must reach what lies
// behind it.
class SweepByKeys : public Sweep, public ::testing::WithParamInterface<std::string> {
protected:
    static TControl* Focused() {
        QWidget* w = QApplication::focusWidget();
        return w ? TControl::FromWidget(w) : nullptr;
    }
    struct Run {
        std::set<std::u16string> reached;
        std::string end = "not back at the start";
    };
    // Presses Tab (or Shift+Tab) until the focus is back where it started.
    static Run Walk(TForm& Form, bool Forward) {
        Run run;
        TControl* start = Focused();
        const int limit = int(Form.Widget()->findChildren<QWidget*>().size()) + 2;
        for (int i = 0; i < limit; ++i) {
            if (Forward)
                PressKeyIn(Form.Widget(), Qt::Key_Tab);
            else
                PressKeyIn(Form.Widget(), Qt::Key_Backtab, Qt::ShiftModifier);
            TControl* now = Focused();
            if (!now || now->Widget()->window() != Form.Widget()) {
                run.end = "the focus left the window";
                break;
            }
            run.reached.insert(now->Name());
            if (auto* w = dynamic_cast<TWinControl*>(now); w && w->WantsTabKey()) {
                run.end = "stopped in " + U8(now->Name()) + ", which takes tabs";
                break;
            }
            if (now == start) {
                run.end.clear();
                break;
            }
        }
        return run;
    }
};

TEST_P(SweepByKeys, TabAndShiftTabReachEveryControlWithAHandler) {
    const std::string name = GetParam();
    Build(false);
    TForm* form = Form(name.c_str());
    ASSERT_NE(form, nullptr);
    if (!form->Visible()) form->Show();
    QApplication::processEvents();
    // Everything the table's rows need on screen: the action groups unfolded, the boxes
    // ticked and the fields filled that show further controls.
    std::vector<Row> rows;
    for (const auto& list : {WorkingWindowRows(), DialogRows()})
        for (const Row& r : list)
            if (r.window == name && !r.english) rows.push_back(r);
    std::set<std::u16string> prepared;
    for (const Row& r : rows) {
        auto* c = dynamic_cast<TControl*>(form->FindComponent(r.control));
        if (c) Reveal(*form, c);
        if (name == "prog") continue; // its steps close boxes and fill the preview
        for (const char16_t* step : r.before)
            if (prepared.insert(step).second) Prepare(*form, step);
    }
    std::set<std::u16string> targets;
    for (const Row& r : rows) {
        auto* c = dynamic_cast<TWinControl*>(form->FindComponent(r.control));
        if (c && c->CanFocus() && c->Widget()->isVisible() && c->Widget()->isEnabled() &&
            (c->FocusWidget()->focusPolicy() & Qt::TabFocus))
            targets.insert(c->Name());
    }
    if (targets.empty()) return; // pictures and labels only: nothing takes the focus
    window_input::ActiveWindowOf(form->Widget());
    if (!Focused() || Focused()->Widget()->window() != form->Widget())
        PressKeyIn(form->Widget(), Qt::Key_Tab);
    ASSERT_NE(Focused(), nullptr) << "no control of the window takes the focus";
    const Run forward = Walk(*form, true);
    const Run back = Walk(*form, false);
    auto missing = [&](const Run& R) {
        std::vector<std::string> names;
        for (const std::u16string& t : targets)
            if (!R.reached.contains(t)) names.push_back(U8(t));
        return names;
    };
    if (forward.end.empty() || back.end.empty()) {
        EXPECT_TRUE(forward.end.empty()) << "Tab: " << forward.end;
        EXPECT_TRUE(back.end.empty()) << "Shift+Tab: " << back.end;
    }
    if (forward.end.empty()) {
        EXPECT_TRUE(missing(forward).empty())
            << "Tab never reaches " << ::testing::PrintToString(missing(forward));
    }
    if (back.end.empty()) {
        EXPECT_TRUE(missing(back).empty())
            << "Shift+Tab never reaches " << ::testing::PrintToString(missing(back));
    }
    Run both = forward;
    both.reached.insert(back.reached.begin(), back.reached.end());
    EXPECT_TRUE(missing(both).empty())
        << "the keys never reach " << ::testing::PrintToString(missing(both))
        << " (Tab: " << (forward.end.empty() ? "round" : forward.end)
        << ", Shift+Tab: " << (back.end.empty() ? "round" : back.end) << ")";
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, SweepByKeys, ::testing::ValuesIn(SweptWindows()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

// Every shown button, tick box, radio button, combo box, edit, memo and menu item of every
// window is in the sweep or in the list of controls without a handler.
TEST_F(Sweep, EveryShownControlIsSweptOrListedWithItsReason) {
    std::set<std::pair<std::string, std::u16string>> known;
    for (const auto& rows : {WorkingWindowRows(), DialogRows()})
        for (const Row& r : rows)
            known.insert({r.window, r.control});
    for (const NoHandler& n : ControlsWithoutHandler())
        for (const char16_t* c : n.controls)
            known.insert({n.window, c});
    Build(false);
    std::vector<std::string> unlisted;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* form = Screen->Forms(i);
        if (!form->Visible()) form->Show();
        QApplication::processEvents();
        for (int j = 0; j < form->ComponentCount(); ++j) {
            TComponent* c = form->Components(j);
            const bool kind = dynamic_cast<TButtonControl*>(c) || dynamic_cast<TComboBox*>(c) ||
                              dynamic_cast<TEdit*>(c) || dynamic_cast<TMemo*>(c);
            auto* item = dynamic_cast<TMenuItem*>(c);
            const bool shown =
                item ? item->Visible() && item->Count() == 0 && item->Caption() != u"-"
                     : kind && static_cast<TControl*>(c)->Widget()->isVisible();
            if (shown && !known.contains({U8(form->Name()), c->Name()}))
                unlisted.push_back(U8(form->Name()) + "." + U8(c->Name()));
        }
    }
    EXPECT_TRUE(unlisted.empty()) << "shown, but neither swept nor listed without handler: "
                                  << ::testing::PrintToString(unlisted);
}

} // namespace
