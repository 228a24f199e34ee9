#include "mainwindow/ProgramWindows.h"

#include "dialogs/u_bugreport.h"
#include "dialogs/u_changecoding.h"
#include "dialogs/u_csv_editing.h"
#include "dialogs/u_csv_order.h"
#include "dialogs/u_dateinamenumbenenner.h"
#include "dialogs/u_dialog_upgrade.h"
#include "dialogs/u_einstausgabe.h"
#include "dialogs/u_einstregex.h"
#include "dialogs/u_einstshortcuts.h"
#include "dialogs/u_hilfe.h"
#include "dialogs/u_inputselectfilter.h"
#include "dialogs/u_profilspeichern.h"
#include "dialogs/u_replace_import.h"
#include "dialogs/u_searchfiles.h"
#include "dialogs/u_sm_achtung.h"
#include "dialogs/u_sm_bearbeitung.h"
#include "dialogs/u_sm_filter.h"
#include "dialogs/u_sm_meldung.h"
#include "dialogs/u_transform.h"
#include "dialogs/u_zplus.h"
#include "mainwindow/u_prog.h"
#include "mainwindow/u_start.h"

// Every window of the program, each once, in the order the start-up needs: the start
// window first (it becomes the main window), then the working window.
void CreateProgramWindows() {
    TApplication& app = *Application;
    app.CreateForm<Tstart>();
    Tprog& p = *app.CreateForm<Tprog>();
    app.CreateForm<Thilfe>();
    app.CreateForm<Thilfe_en>();
    // The progress, message and question windows belong to the application and stand
    // over the working window whenever they come up.
    for (TSmallDialog* dialog : {static_cast<TSmallDialog*>(app.CreateForm<Tsm_bearbeitung>()),
                                 static_cast<TSmallDialog*>(app.CreateForm<Tsm_meldung>()),
                                 static_cast<TSmallDialog*>(app.CreateForm<Tsm_achtung>())})
        dialog->SetCentreOver(&p);
    app.CreateForm<Tsm_filter>();
    // The renaming tool creates its filter window itself.
    app.CreateForm<Tdateinamenumbenenner>();
    app.CreateForm<Teinstausgabe>();
    app.CreateForm<Tsearchfiles>();
    app.CreateForm<Tprofilspeichern>();
    app.CreateForm<Tbugreport_de>();
    app.CreateForm<Tbugreport_en>();
    app.CreateForm<Ttransform>();
    app.CreateForm<Teinstregex>();
    app.CreateForm<Teinstshortcuts>();
    app.CreateForm<Treplace_import>();
    app.CreateForm<Tchangecoding>();
    app.CreateForm<Tinputselectfilter>();
    app.CreateForm<Tzplus>(TZplusKind::ers_suche, p.act_ers_text_suchen);
    app.CreateForm<Tzplus>(TZplusKind::ers_ers, p.act_ers_text_ersetzen);
    app.CreateForm<Tzplus>(TZplusKind::ers_deltext, p.act_del_text_suchen);
    app.CreateForm<Tzplus>(TZplusKind::ers_anfuegen, p.act_anfuegen_text);
    app.CreateForm<Tzplus>(TZplusKind::ers_zeile, p.act_ers_zeile_erstxt);
    app.CreateForm<Tzplus>(TZplusKind::del_zeile, p.act_del_zeile_text);
    app.CreateForm<Tcsv_order>();
    app.CreateForm<Tcsv_editing>();
    app.CreateForm<Tdialog_upgrade>();
}
