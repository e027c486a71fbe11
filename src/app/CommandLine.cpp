#include "app/CommandLine.h"

#include "app/AppIdentity.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {
// The name the messages use, whatever the file is called.
constexpr char kProgram[] = "portico";

// Why the folder cannot be edited as a Wine prefix; empty when it can.
QString PrefixProblem(const QString& path)
{
    const QFileInfo folder(path);
    if (!folder.exists())
        return QStringLiteral("The Wine prefix '%1' does not exist.").arg(path);
    if (!folder.isDir())
        return QStringLiteral("The Wine prefix '%1' is not a folder.").arg(path);
    const QDir prefix(path);
    if (!QFileInfo(prefix.filePath(QStringLiteral("system.reg"))).isFile() &&
        !QFileInfo(prefix.filePath(QStringLiteral("user.reg"))).isFile())
        return QStringLiteral(
                   "'%1' is not a Wine prefix: it holds neither system.reg nor user.reg.")
            .arg(path);
    return {};
}
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
        return Failure(ExitUsage, parser.errorText());

    CommandLine result;
    if (parser.isSet(help)) {
        // Without an application object the parser cannot know the program's name.
        result.m_output =
            parser.helpText().replace(QStringLiteral("<executable_name>"), QLatin1String(kProgram));
        return result;
    }
    if (parser.isSet(version)) {
        result.m_output =
            QStringLiteral("%1 %2\n").arg(QLatin1String(kProgram), AppIdentity::Version());
        return result;
    }
    if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty())
        return Failure(ExitUsage, QStringLiteral("Unexpected argument '%1'.").arg(extra.first()));

    if (parser.isSet(prefix)) {
        if (parser.value(prefix).isEmpty())
            return Failure(ExitUsage, QStringLiteral("Empty folder after '--prefix'."));
        const QString path = QDir::cleanPath(QFileInfo(parser.value(prefix)).absoluteFilePath());
        if (const QString problem = PrefixProblem(path); !problem.isEmpty())
            return Failure(ExitFailure, problem);
        result.m_prefixPath = QFile::encodeName(path).toStdString();
    }
    result.m_action = Action::ShowWindows;
    return result;
}

CommandLine CommandLine::Failure(int exitStatus, const QString& message)
{
    CommandLine result;
    result.m_exitStatus = exitStatus;
    result.m_errors = QStringLiteral("%1: %2\n").arg(QLatin1String(kProgram), message);
    if (exitStatus == ExitUsage)
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
