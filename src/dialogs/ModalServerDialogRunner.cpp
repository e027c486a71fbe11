#include "dialogs/ModalServerDialogRunner.h"

#include "dialogs/CPorticoEditServerDlg.h"

int ModalServerDialogRunner::Run(CPorticoEditServerDlg& dialog)
{
    return dialog.DoModal();
}
