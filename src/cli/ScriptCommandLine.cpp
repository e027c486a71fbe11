#include "cli/ScriptCommandLine.h"

#include "cli/ExitStatus.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>

namespace {
enum Option : unsigned {
    Prefix = 1u << 0,
    Game = 1u << 1,
    Name = 1u << 2,
    Host = 1u << 3,
    Zone = 1u << 4,
    Replace = 1u << 5,
    Format = 1u << 6,
};

struct CommandShape {
    const char* Word;
    ScriptRequest::Command Action;
    const char* Synopsis;
    const char* Description;
    unsigned Accepted;
    unsigned Required;
    // The file argument: none, required (import) or optional (export).
    int MinFiles;
    int MaxFiles;
};

const std::array<CommandShape, 5> kCommands = {{
    {"list", ScriptRequest::Command::List, "[--prefix DIR] [--game NAME] [--format text|json]",
     "Prints the server list of each installed game, or of the game that --game names.",
     Prefix | Game | Format, 0, 0, 0},
    {"add", ScriptRequest::Command::Add,
     "[--prefix DIR] --game NAME --name TEXT --host HOST --zone N [--replace]",
     "Adds a server to the end of a game's list and saves the list. A name that the list\n"
     "holds already is refused, unless --replace is given: the server of that name then\n"
     "gets the new host name and time zone in its place.",
     Prefix | Game | Name | Host | Zone | Replace, Game | Name | Host | Zone, 0, 0},
    {"remove", ScriptRequest::Command::Remove, "[--prefix DIR] --game NAME --name TEXT",
     "Removes the server of that name from a game's list and saves the list.", Prefix | Game | Name,
     Game | Name, 0, 0},
    {"import", ScriptRequest::Command::Import, "[--prefix DIR] FILE",
     "Reads a server list file as File > Import does and saves the list of each installed\n"
     "game that the file names; the other games keep their lists.",
     Prefix, 0, 1, 1},
    {"export", ScriptRequest::Command::Export, "[--prefix DIR] [--game NAME] [FILE|-]",
     "Writes the server lists of the installed games, or of the game that --game names, as\n"
     "a server list file that import reads back to the same lists; to standard output\n"
     "without FILE or with -.",
     Prefix | Game, 0, 0, 1},
}};

constexpr char kProgram[] = "portico";

const char kExitStatuses[] =
    "Exit status:\n"
    "  0  Done.\n"
    "  1  The command line, or the input that it names, cannot be used as given.\n"
    "  2  The Wine prefix, the game, the server or the file named does not exist.\n"
    "  3  Wine is running for the prefix: nothing was written.\n"
    "  4  The registry or a file could not be written (or read).\n";

const CommandShape* ShapeOf(const QString& word)
{
    for (const CommandShape& shape : kCommands) {
        if (word == QLatin1String(shape.Word))
            return &shape;
    }
    return nullptr;
}

ScriptCommandLine::Result Failure(const CommandShape& shape, int status, const QString& message)
{
    ScriptCommandLine::Result result;
    result.ExitStatus = status;
    result.Errors = QStringLiteral("%1: %2\n").arg(QLatin1String(kProgram), message);
    if (status == ExitStatus::Usage)
        result.Errors += QStringLiteral("Try '%1 %2 --help' for more information.\n")
                             .arg(QLatin1String(kProgram), QLatin1String(shape.Word));
    return result;
}

std::string Utf8(const QString& text)
{
    return text.toUtf8().toStdString();
}
} // namespace

bool ScriptCommandLine::IsCommand(const QString& argument)
{
    return ShapeOf(argument) != nullptr;
}

ScriptCommandLine::Result ScriptCommandLine::Parse(const QStringList& arguments)
{
    const CommandShape& shape = *ShapeOf(arguments.at(1));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("%1\nNo window opens; nothing is written while Wine runs for the prefix.")
            .arg(QLatin1String(shape.Description)));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    parser.addOption(help);

    const struct {
        Option Which;
        QCommandLineOption Definition;
    } options[] = {
        {Prefix, QCommandLineOption(QStringLiteral("prefix"),
                                    QStringLiteral("The Wine prefix, in place of $WINEPREFIX (or "
                                                   "~/.wine when that is unset)."),
                                    QStringLiteral("folder"))},
        {Game, QCommandLineOption(QStringLiteral("game"),
                                  QStringLiteral("The game: Starcraft/Broodwar or sc, Diablo or "
                                                 "d2, Warcraft III or w3, in any case."),
                                  QStringLiteral("name"))},
        {Name, QCommandLineOption(QStringLiteral("name"), QStringLiteral("The server's name."),
                                  QStringLiteral("text"))},
        {Host, QCommandLineOption(QStringLiteral("host"),
                                  QStringLiteral("The server's host name or address."),
                                  QStringLiteral("host"))},
        {Zone, QCommandLineOption(QStringLiteral("zone"),
                                  QStringLiteral("The server's time zone (for example 8 or -1)."),
                                  QStringLiteral("n"))},
        {Replace, QCommandLineOption(QStringLiteral("replace"),
                                     QStringLiteral("Replace the server of that name, or add it "
                                                    "when the list has none."))},
        {Format, QCommandLineOption(QStringLiteral("format"),
                                    QStringLiteral("text (the default) or json: an array with "
                                                   "one object per game."),
                                    QStringLiteral("format"))},
    };
    for (const auto& option : options) {
        if (shape.Accepted & option.Which)
            parser.addOption(option.Definition);
    }
    if (shape.MaxFiles > 0)
        parser.addPositionalArgument(
            QStringLiteral("file"),
            shape.MinFiles > 0
                ? QStringLiteral("The server list file to import.")
                : QStringLiteral("The file to write; standard output without it or with -."),
            shape.MinFiles > 0 ? QStringLiteral("FILE") : QStringLiteral("[FILE|-]"));

    if (!parser.parse(arguments))
        return Failure(shape, ExitStatus::Usage, parser.errorText());
    if (parser.isSet(help)) {
        Result result;
        result.Output =
            parser.helpText().replace(
                QStringLiteral("<executable_name>"),
                QStringLiteral("%1 %2").arg(QLatin1String(kProgram), QLatin1String(shape.Word))) +
            QLatin1Char('\n') + QLatin1String(kExitStatuses);
        return result;
    }

    const auto nameOf = [&](Option which) {
        for (const auto& option : options) {
            if (option.Which == which)
                return option.Definition.names().constFirst();
        }
        return QString();
    };
    const auto isSet = [&](Option which) {
        return (shape.Accepted & which) != 0 && parser.isSet(nameOf(which));
    };
    const auto value = [&](Option which) {
        return isSet(which) ? parser.value(nameOf(which)) : QString();
    };
    for (const auto& option : options) {
        if ((shape.Required & option.Which) && !isSet(option.Which))
            return Failure(
                shape, ExitStatus::Usage,
                QStringLiteral("'%1 %2' needs --%3.")
                    .arg(QLatin1String(kProgram), QLatin1String(shape.Word), nameOf(option.Which)));
    }

    ScriptRequest request;
    request.Action = shape.Action;
    // The command's own word is the first positional argument.
    const QStringList files = parser.positionalArguments().mid(1);
    if (files.size() > shape.MaxFiles)
        return Failure(shape, ExitStatus::Usage,
                       QStringLiteral("Unexpected argument '%1'.").arg(files.at(shape.MaxFiles)));
    if (files.size() < shape.MinFiles)
        return Failure(shape, ExitStatus::Usage,
                       QStringLiteral("'%1 %2' needs the server list file to read.")
                           .arg(QLatin1String(kProgram), QLatin1String(shape.Word)));
    if (!files.isEmpty())
        request.File = QFile::encodeName(files.constFirst()).toStdString();

    if (isSet(Prefix)) {
        if (value(Prefix).isEmpty())
            return Failure(shape, ExitStatus::Usage,
                           QStringLiteral("Empty folder after '--prefix'."));
        request.Prefix =
            QFile::encodeName(QDir::cleanPath(QFileInfo(value(Prefix)).absoluteFilePath()))
                .toStdString();
    }
    if (isSet(Game)) {
        if (value(Game).isEmpty())
            return Failure(shape, ExitStatus::Usage, QStringLiteral("Empty name after '--game'."));
        request.Game = Utf8(value(Game));
    }
    if (isSet(Format)) {
        if (value(Format) == QLatin1String("json"))
            request.OutputFormat = ScriptRequest::Format::Json;
        else if (value(Format) != QLatin1String("text"))
            return Failure(shape, ExitStatus::Usage,
                           QStringLiteral("Unknown format '%1': text or json.").arg(value(Format)));
    }
    request.Name = Utf8(value(Name));
    request.Host = Utf8(value(Host));
    request.Zone = Utf8(value(Zone));
    request.Replace = isSet(Replace);

    Result result;
    result.Request = std::move(request);
    return result;
}

QString ScriptCommandLine::Summary()
{
    QString summary = QStringLiteral(
        "Commands, for scripts: no window opens ('portico COMMAND --help' tells more):\n");
    for (const CommandShape& shape : kCommands)
        summary +=
            QStringLiteral("  %1 %2 %3\n")
                .arg(QLatin1String(kProgram), QString::fromLatin1(shape.Word).leftJustified(6),
                     QLatin1String(shape.Synopsis));
    return summary + QLatin1Char('\n') + QLatin1String(kExitStatuses);
}
