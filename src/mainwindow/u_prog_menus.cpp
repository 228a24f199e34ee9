// The main menu of the working window: which routine each item runs. Most items run an
// operation of the list, the run, the preview or the configuration files; the handlers
// that belong to the menu alone are here. Items that share a handler with a button or
// belong to one job bind in that job's file; the comment at each says where.
#include "mainwindow/u_prog.h"
#include "mainwindow/u_start.h"

void Tprog::BindMenuEvents() {
    // File.
    m_datei_open->OnClick = [this](TObject* s) { m_datei_openClick(s); };
    if (!qulist->OnDblClick) qulist->OnDblClick = m_datei_open->OnClick;
    m_datei_ordner->OnClick = [this](TObject* s) { OrdnerWahlClick(s); };
    m_datei_search->OnClick = [this](TObject* s) { inp_searchfilesClick(s); };
    // The big button and the menu item (Ctrl+S) both run the batch, each as its Sender.
    m_datei_konvert->OnClick = [this](TObject* s) { durchfuehrenClick(s); };
    durchfuehren->OnClick = m_datei_konvert->OnClick;
    // m_datei_changes (the old file of the preview saved) and m_onthefly bind with the
    // preview (u_prog_preview.cpp).
    m_datei_delmark->OnClick = [this](TObject* s) { inp_deleteselectClick(s); };
    m_datei_delall->OnClick = [this](TObject* s) { inp_deleteallClick(s); };
    // m_datei_vorschauaktualisieren, m_datei_vorschau (the forced refresh) bind with the
    // preview; m_datei_code (the encoding window) with the dialog buttons.
    // m_bug, m_bug_de, m_bug_en bind with the help menus (u_prog_help.cpp).
    m_datei_beenden->OnClick = [this](TObject* s) { m_datei_beendenClick(s); };

    // Settings.
    // m_einst_ausgabe and m_einst_regex bind with the dialog buttons.
    m_einst_filter->OnClick = [this](TObject* s) { inp_filterClick(s); };
    // m_einst_vor_hg, m_einst_vor_schrift, m_einst_voralt_zu, m_einst_vorneu_zu,
    // m_einst_vorschau, m_einst_nlkorrektur (colour, font, wrapping, switch and line
    // breaks of the preview) bind with the preview.
    m_einst_autocloseactions->OnClick = [this](TObject* s) { m_einst_autocloseactionsClick(s); };
    // m_einstshortcuts (the shell integration window) binds with the dialog buttons.
    m_einst_sprache_deutsch->OnClick = [this](TObject* s) { m_einst_sprache_deutschClick(s); };
    m_einst_sprache_english->OnClick = [this](TObject* s) { m_einst_sprache_englishClick(s); };

    // View, configuration and tools bind in the files of the layout, the configuration
    // files and the dialog buttons.
    // m_info_de_*, m_info_en_*, m_software_* and the link menus bind in u_prog_help.cpp.
}

void Tprog::m_datei_openClick(TObject* Sender) {
    (void)Sender;
    if (!od->Execute()) return;
    for (int i = 0; i < od->Files().Count(); ++i)
        add2list(od->Files().Get(i), qulist);
    WriteFileCount();
}

void Tprog::m_datei_beendenClick(TObject* Sender) {
    (void)Sender;
    // The start window is the main window: closing it ends the program.
    if (start)
        start->Close();
    else
        Close();
}

void Tprog::m_einst_autocloseactionsClick(TObject* Sender) {
    (void)Sender;
    m_einst_autocloseactions->SetChecked(!m_einst_autocloseactions->Checked());
}
