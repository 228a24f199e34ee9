#include "dialogs/u_AdminFunc.h"

#include "desktop/ShellIntegration.h"
#include "dialogs/LanguageCode.h"
#include "platform/Dialogs.h"

bool IsUserAdmin() {
    return FirstUnwritableShellFolder().empty();
}

void RestartAsAdmin() {
    const WideString folder = FirstUnwritableShellFolder();
    if (folder.empty()) return;
    if (LanguageIsGerman())
        WideMessageDlg(u"In den Ordner \"" + folder +
                           u"\" kann nicht geschrieben werden, und er kann nicht angelegt "
                           u"werden.\nDie Verknüpfungen gelten für Ihr eigenes Konto: Ein Neustart "
                           u"als Administrator hilft nicht. Bitte machen Sie den Ordner für Ihr "
                           u"Konto beschreibbar.",
                       mtWarning, MsgDlgButton(mbOK));
    else
        WideMessageDlg(u"The folder \"" + folder +
                           u"\" cannot be written or created.\nThe shortcuts belong to your own "
                           u"account: restarting as an administrator does not help. Please make "
                           u"the folder writable for your account.",
                       mtWarning, MsgDlgButton(mbOK));
}

bool IsWow64() {
    return false;
}
