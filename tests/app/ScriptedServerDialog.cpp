#include "ScriptedServerDialog.h"

#include "dialogs/CPorticoEditServerDlg.h"

int ScriptedServerDialog::Run(CPorticoEditServerDlg& dialog)
{
    if (Instead)
        return Instead(dialog);
    OpenedWith.push_back({dialog.m_strServerName, dialog.m_strHostName, dialog.m_strTimeZone});
    Dialogs.push_back(&dialog);
    const std::size_t run = OpenedWith.size() - 1;
    if (run >= Answers.size())
        return CPorticoEditServerDlg::IDCANCEL;
    dialog.m_strServerName = Answers[run].ServerName;
    dialog.m_strHostName = Answers[run].HostName;
    dialog.m_strTimeZone = Answers[run].TimeZone;
    return CPorticoEditServerDlg::IDOK;
}
