// The buttons of the action groups and the menu items that open a window beside the
// working window (the renaming tool is a window of its own). Each window is modeless: it is shown
// and brought to the front while the working window stays usable. A window the program has not
// created does nothing.
#include "dialogs/u_changecoding.h"
#include "dialogs/u_csv_editing.h"
#include "dialogs/u_csv_order.h"
#include "dialogs/u_dateinamenumbenenner.h"
#include "dialogs/u_einstausgabe.h"
#include "dialogs/u_einstregex.h"
#include "dialogs/u_einstshortcuts.h"
#include "dialogs/u_replace_import.h"
#include "dialogs/u_transform.h"
#include "mainwindow/u_prog.h"

namespace {

void showBeside(TForm* Window) {
    if (!Window) return;
    Window->Show();
    Window->BringToFront();
}

} // namespace

void Tprog::BindDialogButtonEvents() {
    act_csv_order_show->OnClick = [this](TObject* s) { act_csv_order_showClick(s); };
    for (TButton* b : {act_csv_replace_show, act_csv_insert_show, act_csv_writing_show,
                       act_csv_calc_show, act_csv_delcolumns_show})
        b->OnClick = [this](TObject* s) { act_csv_edit_showClick(s); };
    act_transcript_user->OnClick = [this](TObject* s) { act_transcript_userClick(s); };
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
    act_ers_text_regex->OnClick = [this](TObject* s) { act_ers_text_regexClick(s); };
    m_einst_regex->OnClick = [this](TObject* s) { m_einst_regexClick(s); };
    m_einstshortcuts->OnClick = [this](TObject* s) { m_einstshortcutsClick(s); };
    m_datei_dateiumb->OnClick = [this](TObject* s) { m_datei_dateiumbClick(s); };
    m_tools_dateiumb->OnClick = m_datei_dateiumb->OnClick;
    m_datei_search->OnClick = [this](TObject* s) { inp_searchfilesClick(s); };
    act_convert_button2->OnClick = [this](TObject* s) { m_datei_codeClick(s); };
    m_datei_code->OnClick = act_convert_button2->OnClick;
    act_convert_button1->OnClick = [this](TObject* s) { act_convert_button1Click(s); };
    m_einst_ausgabe->OnClick = act_convert_button1->OnClick;
}

void Tprog::act_convert_button1Click(TObject*) {
    showBeside(einstausgabe);
}

void Tprog::act_csv_order_showClick(TObject*) {
    showBeside(csv_order);
}

void Tprog::act_csv_edit_showClick(TObject* Sender) {
    if (!csv_editing) return;
    const std::pair<TButton*, TTabSheet * Tcsv_editing::*> pages[] = {
        {act_csv_replace_show, &Tcsv_editing::tab_replace},
        {act_csv_insert_show, &Tcsv_editing::tab_insert},
        {act_csv_writing_show, &Tcsv_editing::tab_writing},
        {act_csv_calc_show, &Tcsv_editing::tab_calculations},
        {act_csv_delcolumns_show, &Tcsv_editing::tab_delcolumns},
    };
    for (const auto& [button, page] : pages)
        if (Sender == button) csv_editing->ShowPage(csv_editing->*page);
}

void Tprog::act_transcript_userClick(TObject*) {
    showBeside(transform);
}

void Tprog::BitBtn1Click(TObject*) {
    showBeside(replace_import);
}

void Tprog::act_ers_text_regexClick(TObject*) {
    showBeside(einstregex);
}

void Tprog::m_einst_regexClick(TObject*) {
    showBeside(einstregex);
}

void Tprog::m_einstshortcutsClick(TObject*) {
    showBeside(einstshortcuts);
}

void Tprog::m_datei_dateiumbClick(TObject*) {
    showBeside(dateinamenumbenenner);
}

void Tprog::m_datei_codeClick(TObject*) {
    showBeside(changecoding);
}
