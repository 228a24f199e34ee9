// The help and information menus of the working window: the help window of the language
// on a chosen page, the feedback window, and the link items that open pages of the
// project's site.
#include "dialogs/LanguageCode.h"
#include "dialogs/u_bugreport.h"
#include "dialogs/u_hilfe.h"
#include "mainwindow/ProgramWindow.h"
#include "mainwindow/u_prog.h"

void Tprog::BindHelpEvents() {
    auto page = [this](HelpPage Kind) { return [this, Kind](TObject*) { ShowHelpPage(Kind); }; };
    for (TMenuItem* item : {m_info_de_hilfe, m_info_en_intro})
        item->OnClick = page(HelpPage::Help);
    for (TMenuItem* item : {m_info_de_empfehlungen, m_info_en_regards})
        item->OnClick = page(HelpPage::Regards);
    for (TMenuItem* item : {m_info_de_software, m_info_en_software, m_software_de_beschreibung,
                            m_software_en_description})
        item->OnClick = page(HelpPage::Software);
    for (TMenuItem* item : {m_info_de_spenden, m_info_en_donate})
        item->OnClick = page(HelpPage::Donate);
    for (TMenuItem* item : {m_bug, m_bug_de, m_bug_en})
        item->OnClick = [this](TObject* s) { m_bugClick(s); };
}

void Tprog::ShowHelpPage(HelpPage Kind) {
    THelpWindow* window = LanguageIsGerman() ? static_cast<THelpWindow*>(ProgramWindow<Thilfe>())
                                             : ProgramWindow<Thilfe_en>();
    if (!window) return;
    TTabSheet* const pages[] = {window->pc_hilfe, window->pc_empf, window->pc_software,
                                window->pc_spenden};
    window->ShowPage(pages[int(Kind)]);
}

void Tprog::m_bugClick(TObject*) {
    TForm* window = LanguageIsGerman() ? static_cast<TForm*>(ProgramWindow<Tbugreport_de>())
                                       : ProgramWindow<Tbugreport_en>();
    if (window) {
        window->Show();
        window->BringToFront();
    }
}
