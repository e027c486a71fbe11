#include "app/CommandLine.h"

#include "app/AppIdentity.h"
#include "cli/ExitStatus.h"
#include "cli/ScriptCommandLine.h"
#include "cli/WinePrefixCheck.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {
// The name the messages use, whatever the file is called.
constexpr char kProgram[] = "portico";
} // namespace

CommandLine CommandLine::Parse(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return Parse(arguments);
}

CommandLine CommandLine::Parse(const QStringList& arguments)
{
    if (arguments.size() > 1 && ScriptCommandLine::IsCommand(arguments.at(1))) {
        ScriptCommandLine::Result script = ScriptCommandLine::Parse(arguments);
        CommandLine result;
        result.m_exitStatus = script.ExitStatus;
        result.m_output = script.Output;
        result.m_errors = script.Errors;
        if (script.Request) {
            result.m_action = Action::RunScript;
            result.m_script = std::move(script.Request);
        }
        return result;
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Edits the Battle.net gateway lists of Starcraft, Diablo II and Warcraft III\n"
        "in the registry of a Wine prefix."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version number and exits."));
    const QCommandLineOption prefix(
        QStringLiteral("prefix"),
        QStringLiteral("The Wine prefix to edit, in place of $WINEPREFIX (or ~/.wine when that "
                       "is unset). It must hold Wine's system.reg or user.reg."),
        QStringLiteral("folder"));
    parser.addOptions({help, version, prefix});

    if (!parser.parse(arguments))
        return Failure(ExitStatus::Usage, parser.errorText());

    CommandLine result;
    if (parser.isSet(help)) {
        // Without an application object the parser cannot know the program's name.
        result.m_output = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                    QLatin1String(kProgram)) +
                          QLatin1Char('\n') + ScriptCommandLine::Summary();
        return result;
    }
    if (parser.isSet(version)) {
        result.m_output =
            QStringLiteral("%1 %2\n").arg(QLatin1String(kProgram), AppIdentity::Version());
        return result;
    }
    if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty())
        return Failure(ExitStatus::Usage,
                       QStringLiteral("Unexpected argument '%1'.").arg(extra.first()));

    if (parser.isSet(prefix)) {
        if (parser.value(prefix).isEmpty())
            return Failure(ExitStatus::Usage, QStringLiteral("Empty folder after '--prefix'."));
        const std::string path =
            QFile::encodeName(QDir::cleanPath(QFileInfo(parser.value(prefix)).absoluteFilePath()))
                .toStdString();
        if (const std::string problem = WinePrefixCheck::Problem(path); !problem.empty())
            return Failure(ExitStatus::NotFound, QFile::decodeName(problem.c_str()));
        result.m_prefixPath = path;
    }
    result.m_action = Action::ShowWindows;
    return result;
}

CommandLine CommandLine::Failure(int exitStatus, const QString& message)
{
    CommandLine result;
    result.m_exitStatus = exitStatus;
    result.m_errors = QStringLiteral("%1: %2\n").arg(QLatin1String(kProgram), message);
    if (exitStatus == ExitStatus::Usage)
        result.m_errors +=
            QStringLiteral("Try '%1 --help' for more information.\n").arg(QLatin1String(kProgram));
    return result;
}

int CommandLine::Finish() const
{
    std::fputs(m_output.toLocal8Bit().constData(), stdout);
    std::fputs(m_errors.toLocal8Bit().constData(), stderr);
    return m_exitStatus;
}
