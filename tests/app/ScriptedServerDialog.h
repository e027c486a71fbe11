#pragma once

#include "dialogs/ServerDialogRunner.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

// Answers the server properties dialog in place of the user: each run notes the texts the
// dialog opened with, then types the next answer and presses OK, or Cancel when the answers
// have run out.
class ScriptedServerDialog : public ServerDialogRunner {
public:
    struct Answer {
        std::string ServerName;
        std::string HostName;
        std::string TimeZone;
    };
    // Server name, host name, time zone.
    using Fields = std::array<std::string, 3>;

    int Run(CPorticoEditServerDlg& dialog) override;

    std::vector<Answer> Answers;
    std::vector<Fields> OpenedWith;
    std::vector<const CPorticoEditServerDlg*> Dialogs;
    // When set, runs the dialog in place of the answers (and notes nothing).
    std::function<int(CPorticoEditServerDlg&)> Instead;
};
