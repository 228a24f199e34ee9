// The four boxes of the working window (input, preview, actions, saving options), the
// splitters that keep their proportions when the window changes size, and the stacking of
// the action groups in the scrolling action box.
#include <cmath>

#include "mainwindow/u_prog.h"

namespace {

// Splitter proportions are kept in the splitter's Tag as ten-thousandths.
constexpr int kProportionScale = 10000;
// The reopen buttons of hidden boxes sit in slots this far apart, from the left edge.
constexpr int kSlotLeft = 8;
constexpr int kSlotWidth = 62;

intptr_t Proportion(int Part, int Whole) {
    return Whole > 0 ? std::lround(double(Part) * kProportionScale / Whole) : 0;
}

} // namespace

void Tprog::BindLayoutEvents() {
    for (TMenuItem* item : {m_anz_input, m_anz_vorschau, m_anz_aktionen, m_anz_output})
        item->OnClick = [this](TObject* s) { m_anz_inputClick(s); };
    close_input->OnClick = [this](TObject* s) { close_inputClick(s); };
    close_vorschau->OnClick = [this](TObject* s) { close_vorschauClick(s); };
    close_actions->OnClick = [this](TObject* s) { close_actionsClick(s); };
    close_output->OnClick = [this](TObject* s) { close_outputClick(s); };
    max_input->OnClick = [this](TObject* s) { max_inputClick(s); };
    max_vorschau->OnClick = [this](TObject* s) { max_vorschauClick(s); };
    max_aktionen->OnClick = [this](TObject* s) { max_aktionenClick(s); };
    max_output->OnClick = [this](TObject* s) { max_outputClick(s); };
    act_ers_weitere->OnClick = [this](TObject* s) { act_ers_weitereClick(s); };
    splitter_files_preview->OnCanResize = [this](TObject* s, int& size, bool& accept) {
        splitter_files_previewCanResize(s, size, accept);
    };
    splitter_files_preview->OnMoved = [this](TObject* s) { splitter_files_previewMoved(s); };
    splitter_preview_old_new->OnMoved = [this](TObject* s) { splitter_preview_old_newMoved(s); };
    Splitter1->OnMoved = [this](TObject* s) { Splitter1Moved(s); };
    Panel2->OnResize = [this](TObject* s) { Panel2Resize(s); };
    Panel5->OnResize = [this](TObject* s) { Panel5Resize(s); };
    Panel9->OnResize = [this](TObject* s) { Panel9Resize(s); };
    Panel10->OnResize = [this](TObject* s) { Panel10Resize(s); };
}

void Tprog::m_anz_inputClick(TObject* Sender) {
    if (auto* item = dynamic_cast<TMenuItem*>(Sender)) item->SetChecked(!item->Checked());
    const bool shown[4] = {m_anz_input->Checked(), m_anz_vorschau->Checked(),
                           m_anz_aktionen->Checked(), m_anz_output->Checked()};
    const bool I = shown[0], P = shown[1], A = shown[2], O = shown[3];

    Panel2->SetVisible(I || P);
    Panel3->SetVisible(A || O);
    splitter_files_preview->SetVisible(I && P);
    Splitter1->SetVisible(Panel2->Visible() && Panel3->Visible());

    const int half = Panel2->Height() / 2;
    Panel4->SetAlign(alTop);
    Panel4->SetHeight(half);
    Panel5->SetAlign(alBottom);
    Panel5->SetHeight(half);
    splitter_files_preview->SetTop(Panel4->Height());

    Panel4->SetVisible(I);
    Panel5->SetVisible(P);
    box_akt->SetVisible(A);
    Panel6->SetVisible(O);

    Panel4->SetAlign(P ? alTop : alClient);
    Panel5->SetAlign(alClient);

    // The reopen buttons of the hidden boxes, side by side from the left; the link label
    // after them and a separator after each.
    TButton* reopen[4] = {max_input, max_vorschau, max_aktionen, max_output};
    TBevel* separators[4] = {max_b1, max_b2, max_b3, max_b4};
    int hidden = 0;
    for (int i = 0; i < 4; ++i) {
        reopen[i]->SetVisible(!shown[i]);
        if (!shown[i]) reopen[i]->SetLeft(kSlotLeft + kSlotWidth * hidden++);
    }
    laspenden->SetLeft(kSlotLeft + kSlotWidth * hidden);
    for (int i = 0; i < 4; ++i)
        separators[i]->SetVisible(i < hidden);

    if (Panel9->Visible() && Panel10->Visible()) Panel9->SetWidth((Panel2->Width() - 16) / 2);
}

void Tprog::close_inputClick(TObject* Sender) {
    (void)Sender;
    m_anz_inputClick(m_anz_input);
}
void Tprog::close_vorschauClick(TObject* Sender) {
    (void)Sender;
    m_anz_inputClick(m_anz_vorschau);
}
void Tprog::close_actionsClick(TObject* Sender) {
    (void)Sender;
    m_anz_inputClick(m_anz_aktionen);
}
void Tprog::close_outputClick(TObject* Sender) {
    (void)Sender;
    m_anz_inputClick(m_anz_output);
}
void Tprog::max_inputClick(TObject* Sender) {
    close_inputClick(Sender);
}
void Tprog::max_vorschauClick(TObject* Sender) {
    close_vorschauClick(Sender);
}
void Tprog::max_aktionenClick(TObject* Sender) {
    close_actionsClick(Sender);
}
void Tprog::max_outputClick(TObject* Sender) {
    close_outputClick(Sender);
}

void Tprog::ResizeSplitterFilesPreview(bool Reset) {
    if (!Panel5->Visible()) return;
    const int whole = Panel2->Height();
    if (Reset) {
        Panel4->SetHeight(whole / 2);
        splitter_files_preview->Tag = Proportion(Panel4->Height(), whole);
        return;
    }
    int h = int(std::lround(double(whole) * splitter_files_preview->Tag / kProportionScale));
    h = std::max(h, Panel4->Constraints().MinHeight);
    h = std::min(h, whole - Panel5->Constraints().MinHeight - 40);
    Panel4->SetHeight(h);
}

void Tprog::ResizeSplitterPreviewOldNew(bool Reset) {
    if (!Panel9->Visible() || !Panel10->Visible()) return;
    const int whole = Panel22->Width();
    if (Reset) {
        Panel9->SetWidth(whole / 2);
        splitter_preview_old_new->Tag = Proportion(Panel9->Width(), whole);
        return;
    }
    int w = int(std::lround(double(whole) * splitter_preview_old_new->Tag / kProportionScale));
    w = std::max(w, Panel9->Constraints().MinWidth);
    w = std::min(w, whole - Panel10->Constraints().MinWidth - 40);
    Panel9->SetWidth(w);
}

// The proportion is stored before the height changes: the resize that the change causes
// would otherwise bring back the old one.
void Tprog::SetInputBoxHeight(int Height) {
    splitter_files_preview->Tag = Proportion(Height, Panel2->Height());
    Panel4->SetHeight(Height);
    splitter_files_previewMoved(this);
}

// The splitter sets the input box's height next, which resizes the preview box, whose
// handler keeps the proportion: it must already be the new one, or the box snaps back.
void Tprog::splitter_files_previewCanResize(TObject* Sender, int& NewSize, bool& Accept) {
    (void)Sender;
    if (Accept) splitter_files_preview->Tag = Proportion(NewSize, Panel2->Height());
}

void Tprog::splitter_files_previewMoved(TObject* Sender) {
    (void)Sender;
    splitter_files_preview->Tag = Proportion(Panel4->Height(), Panel2->Height());
}

void Tprog::splitter_preview_old_newMoved(TObject* Sender) {
    (void)Sender;
    splitter_preview_old_new->Tag = Proportion(Panel9->Width(), Panel22->Width());
}

void Tprog::Panel2Resize(TObject* Sender) {
    (void)Sender;
    ResizeSplitterFilesPreview(false);
    ResizeSplitterPreviewOldNew(false);
}

void Tprog::Panel5Resize(TObject* Sender) {
    Panel2Resize(Sender);
}

void Tprog::Splitter1Moved(TObject* Sender) {
    FormResize(Sender);
    ResizeSplitterPreviewOldNew(false);
}

// The path labels follow their halves (they are anchored to both sides): each is shortened
// anew from the full path in its hint to the width it has now.
void Tprog::Panel9Resize(TObject* Sender) {
    (void)Sender;
    ShortenPathLabel(vor_orig);
}

void Tprog::Panel10Resize(TObject* Sender) {
    (void)Sender;
    ShortenPathLabel(vor_out);
}

void Tprog::PanelsAnordnen(TObject* Sender) {
    (void)Sender;
    TControlScrollBar& bar = ScrollBox1->VertScrollBar();
    const int remembered = bar.Position();
    bar.SetPosition(0);
    int top = 0;
    for (const ActionGroup& g : FGroups)
        for (TPanel* p : {g.header, g.body})
            if (p->Visible()) top += p->Height();
    // The panels fill the box's width, less the vertical scroll bar when the stack is
    // higher than the box.
    const int width =
        ScrollBox1->Width() - (top > ScrollBox1->Height() ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    top = 0;
    for (const ActionGroup& g : FGroups) {
        for (TPanel* p : {g.header, g.body}) {
            if (!p->Visible()) continue;
            p->SetBounds(0, top, width, p->Height());
            top += p->Height();
        }
    }
    bar.SetRange(top);
    bar.SetPosition(remembered);
}

void Tprog::FormResize(TObject* Sender) {
    PanelsAnordnen(Sender);
    if (vor_showalt->Checked() && vor_showneu->Checked())
        AlteDateiSpeichern->SetLeft(vor_alt->Width() - 64);
    else if (vor_showalt->Checked())
        AlteDateiSpeichern->SetLeft(vor_showalt->Left() - 76);
}

void Tprog::CloseAllActions() {
    for (const ActionGroup& g : FGroups)
        g.body->SetVisible(false);
}

void Tprog::act_ers_weitereClick(TObject* Sender) {
    apanel11->SetHeight(act_ers_weitere->Checked()
                            ? BitBtn1->Top() + BitBtn1->Height() + 9
                            : act_ers_weitere->Top() + act_ers_weitere->Height() + 5);
    PanelsAnordnen(Sender);
}

void Tprog::revcheck(TObject* Sender) {
    if (auto* item = dynamic_cast<TMenuItem*>(Sender)) item->SetChecked(!item->Checked());
}
