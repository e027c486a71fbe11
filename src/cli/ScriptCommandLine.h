#pragma once

#include "cli/ScriptRequest.h"

#include <QString>
#include <QStringList>

#include <optional>

// The command line of the command-line mode, "portico COMMAND [options]", read like the
// program's own before any application object exists.
class ScriptCommandLine {
public:
    struct Result {
        // Set when the command is to run; otherwise Output (help) or Errors say it all.
        std::optional<ScriptRequest> Request;
        int ExitStatus = 0;
        QString Output;
        QString Errors;
    };

    // Whether the argument names a command: list, add, remove, import or export.
    static bool IsCommand(const QString& argument);

    // The arguments as main() receives them: the program's name, the command, its options.
    static Result Parse(const QStringList& arguments);

    // The commands and the exit statuses, for the end of the program's --help.
    static QString Summary();
};
