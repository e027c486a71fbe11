#pragma once

#include "doc/CPorticoView.h"

#include <array>
#include <string>
#include <vector>

class CPorticoEditServerDlg;

// Answers the server properties dialog in place of the user: each run notes the texts the
// dialog opened with, then types the next answer and presses OK, or Cancel when the answers
// have run out.
class ScriptedServerDialog {
public:
    struct Answer {
        std::string ServerName;
        std::string HostName;
        std::string TimeZone;
    };
    // Server name, host name, time zone.
    using Fields = std::array<std::string, 3>;

    CPorticoView::DialogRunner Runner();

    std::vector<Answer> Answers;
    std::vector<Fields> OpenedWith;
    std::vector<const CPorticoEditServerDlg*> Dialogs;
};
