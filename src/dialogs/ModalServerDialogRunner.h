#pragma once

#include "dialogs/ServerDialogRunner.h"

// Shows the dialog to the user and waits for OK or Cancel.
class ModalServerDialogRunner : public ServerDialogRunner {
public:
    int Run(CPorticoEditServerDlg& dialog) override;
};
