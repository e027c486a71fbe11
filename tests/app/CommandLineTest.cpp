#include "app/CommandLine.h"

#include "TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gmock/gmock.h>

#include <optional>
#include <string>
#include <vector>

using ::testing::AllOf;
using ::testing::Eq;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Matcher;
using ::testing::StartsWith;

namespace {
constexpr char kRegistryHeader[] = "WINE REGISTRY Version 2\n\n#arch=win64\n";

// A folder for one test with the prefixes the cases name: "absent" (nothing there), "empty" (a
// folder without registry files), "file" (a plain file) and the usable "user-only",
// "system-only" and "both".
class Prefixes {
public:
    Prefixes()
    {
        m_dir.Write("file", kRegistryHeader);
        for (const char* name : {"empty", "user-only", "system-only", "both"})
            std::filesystem::create_directory(m_dir.Path() / name);
        m_dir.Write("user-only/user.reg", kRegistryHeader);
        m_dir.Write("system-only/system.reg", kRegistryHeader);
        m_dir.Write("both/user.reg", kRegistryHeader);
        m_dir.Write("both/system.reg", kRegistryHeader);
    }

    std::string Path() const { return m_dir.Path().string(); }
    std::string Path(const std::string& name) const { return (m_dir.Path() / name).string(); }

    // The case's text with every "@" replaced by this folder's path.
    std::string Expand(std::string text) const
    {
        for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at))
            text.replace(at, 1, Path());
        return text;
    }

private:
    TempDir m_dir;
};

struct RunCase {
    const char* Label;
    std::vector<std::string> Arguments; // "@" stands for the test's folder
    int ExitStatus;
    Matcher<std::string> Output;
    std::string Errors; // all of standard error, "@" standing for the test's folder
};

void PrintTo(const RunCase& run, std::ostream* os)
{
    *os << run.Label;
}

struct ProcessResult {
    int ExitStatus = -1;
    std::string Output;
    std::string Errors;
};

// Runs the real program in the prefixes' folder, with no display of any kind: a program that
// went on to create its application object would fail there and say so on standard error.
ProcessResult RunPortico(const Prefixes& prefixes, const std::vector<std::string>& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("HOME"), QString::fromStdString(prefixes.Path()));
    environment.insert(QStringLiteral("WINEPREFIX"),
                       QString::fromStdString(prefixes.Path("not-this-one")));

    QStringList qArguments;
    for (const std::string& argument : arguments)
        qArguments << QString::fromStdString(prefixes.Expand(argument));

    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QString::fromStdString(prefixes.Path()));
    process.start(QStringLiteral(PORTICO_EXECUTABLE), qArguments);
    ProcessResult run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished(5000);
        ADD_FAILURE() << "portico did not end by itself";
    } else {
        run.ExitStatus = process.exitCode();
    }
    run.Output = process.readAllStandardOutput().toStdString();
    run.Errors = process.readAllStandardError().toStdString();
    return run;
}

class CommandLineRunTest : public testing::TestWithParam<RunCase> {};

TEST_P(CommandLineRunTest, AnswersWithoutAnyWindow)
{
    const RunCase& expected = GetParam();
    const Prefixes prefixes;
    const ProcessResult run = RunPortico(prefixes, expected.Arguments);
    EXPECT_EQ(run.ExitStatus, expected.ExitStatus);
    EXPECT_THAT(run.Output, expected.Output);
    EXPECT_EQ(run.Errors, prefixes.Expand(expected.Errors));
}

const std::string kVersionLine = std::string("portico ") + PORTICO_VERSION + "\n";

INSTANTIATE_TEST_SUITE_P(
    Portico, CommandLineRunTest,
    testing::Values(
        RunCase{"version", {"--version"}, 0, Eq(kVersionLine), ""},
        RunCase{"short_version", {"-v"}, 0, Eq(kVersionLine), ""},
        RunCase{"help",
                {"--help"},
                0,
                AllOf(StartsWith("Usage: portico [options]\n"), HasSubstr("--prefix <folder>"),
                      HasSubstr("-v, --version"),
                      HasSubstr("  portico add    [--prefix DIR] --game NAME --name TEXT "
                                "--host HOST --zone N [--replace]\n"),
                      HasSubstr("Exit status:\n  0  Done.\n  1  The command line")),
                ""},
        RunCase{"help_wins_over_a_bad_prefix",
                {"--prefix", "@/absent", "-h"},
                0,
                StartsWith("Usage: portico [options]\n"),
                ""},
        RunCase{"prefix_that_does_not_exist",
                {"--prefix", "@/absent"},
                2,
                IsEmpty(),
                "portico: The Wine prefix '@/absent' does not exist.\n"},
        RunCase{"relative_prefix_named_in_full",
                {"--prefix", "absent/../absent"},
                2,
                IsEmpty(),
                "portico: The Wine prefix '@/absent' does not exist.\n"},
        RunCase{
            "folder_without_registry_files",
            {"--prefix=@/empty"},
            2,
            IsEmpty(),
            "portico: '@/empty' is not a Wine prefix: it holds neither system.reg nor user.reg.\n"},
        RunCase{"file_as_prefix",
                {"--prefix", "@/file"},
                2,
                IsEmpty(),
                "portico: The Wine prefix '@/file' is not a folder.\n"},
        RunCase{"unknown_option",
                {"--bogus"},
                1,
                IsEmpty(),
                "portico: Unknown option 'bogus'.\n"
                "Try 'portico --help' for more information.\n"},
        RunCase{"prefix_without_folder",
                {"--prefix"},
                1,
                IsEmpty(),
                "portico: Missing value after '--prefix'.\n"
                "Try 'portico --help' for more information.\n"},
        RunCase{"empty_prefix",
                {"--prefix", ""},
                1,
                IsEmpty(),
                "portico: Empty folder after '--prefix'.\n"
                "Try 'portico --help' for more information.\n"},
        RunCase{"stray_argument",
                {"lists"},
                1,
                IsEmpty(),
                "portico: Unexpected argument 'lists'.\n"
                "Try 'portico --help' for more information.\n"}),
    [](const testing::TestParamInfo<RunCase>& info) { return info.param.Label; });

struct AcceptedCase {
    const char* Label;
    std::vector<std::string> Arguments; // after the program's name; "@" as above
    std::optional<std::string> Prefix;
};

void PrintTo(const AcceptedCase& accepted, std::ostream* os)
{
    *os << accepted.Label;
}

class CommandLineAcceptTest : public testing::TestWithParam<AcceptedCase> {};

TEST_P(CommandLineAcceptTest, GoesOnToTheWindowsWithThePrefix)
{
    const AcceptedCase& expected = GetParam();
    const Prefixes prefixes;
    QStringList arguments{QStringLiteral("portico")};
    for (const std::string& argument : expected.Arguments)
        arguments << QString::fromStdString(prefixes.Expand(argument));

    const CommandLine commandLine = CommandLine::Parse(arguments);

    EXPECT_EQ(commandLine.GetAction(), CommandLine::Action::ShowWindows);
    EXPECT_EQ(commandLine.ExitStatus(), 0);
    EXPECT_THAT(commandLine.Output().toStdString(), IsEmpty());
    EXPECT_THAT(commandLine.Errors().toStdString(), IsEmpty());
    const std::optional<std::string> prefix =
        expected.Prefix ? std::optional(prefixes.Expand(*expected.Prefix)) : std::nullopt;
    EXPECT_EQ(commandLine.PrefixPath(), prefix);
}

INSTANTIATE_TEST_SUITE_P(
    Portico, CommandLineAcceptTest,
    testing::Values(
        AcceptedCase{"no_arguments", {}, std::nullopt},
        AcceptedCase{"user_hive_only", {"--prefix", "@/user-only"}, "@/user-only"},
        AcceptedCase{"system_hive_only", {"--prefix=@/system-only"}, "@/system-only"},
        AcceptedCase{"path_cleaned", {"--prefix", "@/empty/../both/"}, "@/both"},
        AcceptedCase{"last_prefix_wins", {"--prefix", "@/absent", "--prefix", "@/both"}, "@/both"}),
    [](const testing::TestParamInfo<AcceptedCase>& info) { return info.param.Label; });
TEST(CommandLineScript, ACommandWordHandsTheRestToTheCommandLineMode)
{
    const Prefixes prefixes;
    const CommandLine commandLine = CommandLine::Parse(
        {QStringLiteral("portico"), QStringLiteral("add"), QStringLiteral("--prefix"),
         QString::fromStdString(prefixes.Path("empty/../absent")), QStringLiteral("--game"),
         QStringLiteral("sc"), QStringLiteral("--name"), QStringLiteral("Z\u00fcrich"),
         QStringLiteral("--host"), QStringLiteral("h.example"), QStringLiteral("--zone"),
         QStringLiteral("-5"), QStringLiteral("--replace")});

    EXPECT_EQ(commandLine.GetAction(), CommandLine::Action::RunScript);
    EXPECT_THAT(commandLine.Errors().toStdString(), IsEmpty());
    ASSERT_TRUE(commandLine.Script());
    const ScriptRequest& request = *commandLine.Script();
    EXPECT_EQ(request.Action, ScriptRequest::Command::Add);
    // The prefix is checked when the command runs, with the one from the environment.
    EXPECT_EQ(request.Prefix, prefixes.Path("absent"));
    EXPECT_EQ(request.Game, "sc");
    EXPECT_EQ(request.Name, "Z\xc3\xbcrich");
    EXPECT_EQ(request.Host, "h.example");
    EXPECT_EQ(request.Zone, "-5");
    EXPECT_TRUE(request.Replace);
    EXPECT_FALSE(
        CommandLine::Parse({QStringLiteral("portico"), QStringLiteral("list")}).Script()->Prefix);
}
} // namespace
