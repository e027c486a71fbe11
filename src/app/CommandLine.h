#pragma once

#include "cli/ScriptRequest.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

// The program's command line. It is read before any application object exists, so that
// --help, --version, mistakes and the commands for scripts need no display and no window.
class CommandLine {
public:
    enum class Action {
        ShowWindows, // go on and open the windows
        RunScript,   // run the command of Script(), without any window
        Exit,        // everything is said: Finish() prints it and gives the exit status
    };

    // The arguments as main() receives them, the program's name first.
    static CommandLine Parse(int argc, char* argv[]);
    static CommandLine Parse(const QStringList& arguments);

    Action GetAction() const { return m_action; }
    int ExitStatus() const { return m_exitStatus; }
    // For standard output (help, version) and standard error (mistakes), ready to print.
    const QString& Output() const { return m_output; }
    const QString& Errors() const { return m_errors; }
    // The Wine prefix --prefix names: absolute, in the file system's encoding. Empty without
    // --prefix, and only set when the folder holds a registry file.
    const std::optional<std::string>& PrefixPath() const { return m_prefixPath; }
    // The command for scripts ("portico list", "portico add", ...); set for RunScript.
    const std::optional<ScriptRequest>& Script() const { return m_script; }

    // Writes Output() and Errors() to their streams and returns ExitStatus().
    int Finish() const;

private:
    static CommandLine Failure(int exitStatus, const QString& message);

    Action m_action = Action::Exit;
    int m_exitStatus = 0;
    QString m_output;
    QString m_errors;
    std::optional<std::string> m_prefixPath;
    std::optional<ScriptRequest> m_script;
};
