#pragma once

class CPorticoEditServerDlg;

// Runs the server properties dialog: modally for the user, or answered by a test. The dialog
// itself is always the real one.
class ServerDialogRunner {
public:
    virtual ~ServerDialogRunner() = default;
    // IDOK or IDCANCEL, as the dialog's DoModal gives them.
    virtual int Run(CPorticoEditServerDlg& dialog) = 0;
};
