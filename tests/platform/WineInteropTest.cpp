#include "platform/WineRegistry.h"

#include "HiveFiles.h"
#include "RegistryCalls.h"
#include "TempDir.h"
#include "data/AnsiCodePage.h"
#include "data/ErrorCodes.h"
#include "platform/WineServerDetector.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kGatewaysKey = "Software\\Battle.net\\Configuration";
const std::string kW3Key = "Software\\Blizzard Entertainment\\Warcraft III";
const std::string kGateways = "Battle.net gateways";

// Real Wine in a prefix of its own: no display, no Mono or Gecko, quiet.
class WinePrefix {
public:
    explicit WinePrefix(fs::path prefix) : m_prefix(std::move(prefix)) {}
    // Stops the prefix's wineserver and removes the folder that Debian's Wine made for it.
    ~WinePrefix()
    {
        Server({"-k"});
        Server({"-w"});
        std::error_code ignored;
        const fs::path marker = m_prefix / "wineserver";
        if (!fs::exists(marker))
            return;
        const std::string name = HiveFiles::Read(marker.string());
        if (!name.empty() && name.find('/') == std::string::npos && name[0] != '.')
            fs::remove_all(fs::temp_directory_path() / name.substr(0, name.find('\n')), ignored);
    }

    const fs::path& Path() const { return m_prefix; }

    // Runs a Wine program to its end; returns its exit code, or -1 on a time-out.
    int Wine(const std::vector<std::string>& arguments,
             std::map<std::string, std::string> environment = {}) const
    {
        std::vector<std::string> command{PORTICO_WINE};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return Run(command, std::move(environment));
    }
    int Server(const std::vector<std::string>& arguments,
               std::map<std::string, std::string> environment = {}) const
    {
        std::vector<std::string> command{PORTICO_WINESERVER};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return Run(command, std::move(environment));
    }
    fs::path DriveC() const { return m_prefix / "drive_c"; }

private:
    int Run(const std::vector<std::string>& command,
            std::map<std::string, std::string> environment) const
    {
        environment["WINEPREFIX"] = m_prefix.string();
        environment["WINEDEBUG"] = "-all";
        environment["WINEDLLOVERRIDES"] = "mscoree,mshtml=";
        std::vector<std::string> variables;
        for (char** entry = environ; *entry; ++entry) {
            const std::string variable = *entry;
            const std::string name = variable.substr(0, variable.find('='));
            if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && !environment.count(name))
                variables.push_back(variable);
        }
        for (const auto& [name, value] : environment)
            variables.push_back(name + "=" + value);
        std::vector<char*> argv;
        for (const std::string& argument : command)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (const std::string& variable : variables)
            envp.push_back(const_cast<char*>(variable.c_str()));
        envp.push_back(nullptr);
        const std::string log = m_prefix.string() + ".log";

        const pid_t child = fork();
        if (child < 0)
            return -1;
        if (child == 0) {
            const int input = open("/dev/null", O_RDONLY);
            const int output = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            dup2(input, 0);
            dup2(output, 1);
            dup2(output, 2);
            execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        const auto deadline = std::chrono::steady_clock::now() + 180s;
        int status = 0;
        while (waitpid(child, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(20ms);
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path m_prefix;
};

std::string Utf16(const std::string& ansi)
{
    return HiveFiles::Utf16(AnsiCodePage::ToUtf16(ansi));
}

// The data of one value in a file of `wine reg export` (UTF-16LE, CR LF, hex(7) lists).
std::string ExportedData(const fs::path& file, const std::string& valueName)
{
    const std::string bytes = HiveFiles::Read(file.string());
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const unsigned unit =
            static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
        text.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    std::string joined;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "\\\r\n") == 0) {
            i += 3;
            while (i < text.size() && text[i] == ' ')
                ++i;
            --i;
            continue;
        }
        joined.push_back(text[i]);
    }
    const std::string start = "\"" + valueName + "\"=hex(7):";
    const std::size_t at = joined.find(start);
    if (at == std::string::npos)
        return "<missing>";
    std::string data;
    for (std::size_t i = at + start.size(); i + 1 < joined.size(); i += 3) {
        data.push_back(static_cast<char>(std::stoi(joined.substr(i, 2), nullptr, 16)));
        if (i + 2 >= joined.size() || joined[i + 2] != ',')
            break;
    }
    return data;
}

std::string Read(const fs::path& prefix, RegHandle root, const std::string& key,
                 const std::string& value)
{
    WineRegistry registry(prefix.string());
    const RegistryCalls::Read read = RegistryCalls::ReadValue(registry, root, key, value);
    return read.status == ErrorCode::Success ? read.data : "<" + std::to_string(read.status) + ">";
}

RegStatus Save(const fs::path& prefix, RegHandle root, const std::string& key,
               const std::string& value, const std::string& data)
{
    WineRegistry registry(prefix.string());
    return RegistryCalls::SaveList(registry, root, key, value, data);
}

// Every byte value in the texts, the control bytes of real server names, over 1,024 bytes.
std::string LongList()
{
    std::string list("1001\0"
                     "04\0",
                     8);
    std::string every;
    for (int byte = 1; byte < 256; ++byte)
        every.push_back(static_cast<char>(byte));
    for (int i = 0; i < 4; ++i)
        list += std::string("\x04\x06\x07server", 9) + std::to_string(i) + '\0' + "-5" + '\0' +
                every + '\0';
    return list + '\0';
}

class WineInteropTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::string(PORTICO_WINE).empty() || std::string(PORTICO_WINESERVER).empty())
            GTEST_SKIP() << "Wine is not installed";
    }

    TempDir dir;
    WinePrefix wine{dir.Path() / "prefix"};
};

TEST_F(WineInteropTest, WineAndPorticoReadWhatTheOtherWrote)
{
    const fs::path prefix = wine.Path();
    // Wine creates the prefix with its first command.
    ASSERT_EQ(wine.Wine({"reg", "add", "HKLM\\Software\\Blizzard Entertainment\\Starcraft", "/v",
                         "Program", "/d", "C:\\Games\\StarCraft.exe", "/reg:32", "/f"}),
              0);
    ASSERT_EQ(wine.Wine({"reg", "add", "HKLM\\Software\\Blizzard Entertainment\\Diablo II", "/v",
                         "Program", "/d", "C:\\Games\\Game.exe", "/f"}),
              0);
    ASSERT_EQ(
        wine.Wine({"reg", "add", "HKCU\\" + kGatewaysKey, "/v", kGateways, "/t", "REG_MULTI_SZ",
                   "/d", "1001\\001\\0uswest.battle.net\\08\\0U.S. West", "/f"}),
        0);
    ASSERT_EQ(wine.Server({"-w"}), 0);

    // What reg.exe wrote, read here: the 32-bit view, the 64-bit fallback, the list.
    EXPECT_EQ(
        Read(prefix, Reg::LocalMachine, "Software\\Blizzard Entertainment\\Starcraft", "Program"),
        std::string("C:\\Games\\StarCraft.exe\0", 23));
    EXPECT_EQ(
        Read(prefix, Reg::LocalMachine, "Software\\Blizzard Entertainment\\Diablo II", "Program"),
        std::string("C:\\Games\\Game.exe\0", 18));
    EXPECT_EQ(Read(prefix, Reg::CurrentUser, kGatewaysKey, kGateways),
              std::string("1001\0"
                          "01\0uswest.battle.net\0"
                          "8\0U.S. West\0\0",
                          39));

    // What Portico writes, read by Wine byte for byte.
    const std::string list = LongList();
    const std::string w3List("1001\0"
                             "01\0\x04\x07w3.example\0"
                             "1\0\xc9t\xe9\x80\0\0",
                             30);
    ASSERT_EQ(Save(prefix, Reg::CurrentUser, kGatewaysKey, kGateways, list), ErrorCode::Success);
    ASSERT_EQ(Save(prefix, Reg::CurrentUser, kW3Key, kGateways, w3List), ErrorCode::Success);
    ASSERT_EQ(Save(prefix, Reg::LocalMachine, "Software\\Blizzard Entertainment\\Diablo II",
                   "Gateways",
                   std::string("1001\0"
                               "00\0\0",
                               9)),
              ErrorCode::Success);
    const struct stat before = [&] {
        struct stat status {};
        stat((prefix / "user.reg").c_str(), &status);
        return status;
    }();

    ASSERT_EQ(wine.Wine({"reg", "export", "HKCU\\" + kGatewaysKey, "C:\\gateways.reg", "/y"}), 0);
    ASSERT_EQ(wine.Wine({"reg", "export", "HKCU\\" + kW3Key, "C:\\w3.reg", "/y"}), 0);
    ASSERT_EQ(wine.Wine({"reg", "export", "HKLM\\Software\\Blizzard Entertainment\\Diablo II",
                         "C:\\d2.reg", "/reg:32", "/y"}),
              0);
    EXPECT_EQ(ExportedData(wine.DriveC() / "gateways.reg", kGateways), Utf16(list));
    EXPECT_EQ(ExportedData(wine.DriveC() / "w3.reg", kGateways), Utf16(w3List));
    EXPECT_EQ(ExportedData(wine.DriveC() / "d2.reg", "Gateways"), Utf16(std::string("1001\0"
                                                                                    "00\0\0",
                                                                                    9)));

    // When its server exits, Wine writes the hive in its own form; the lists read the same.
    ASSERT_EQ(wine.Server({"-w"}), 0);
    struct stat after {};
    ASSERT_EQ(stat((prefix / "user.reg").c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "Wine did not rewrite user.reg";
    EXPECT_EQ(Read(prefix, Reg::CurrentUser, kGatewaysKey, kGateways), list);
    EXPECT_EQ(Read(prefix, Reg::CurrentUser, kW3Key, kGateways), w3List);
}

TEST_F(WineInteropTest, ARunningWineServerRefusesTheSave)
{
    const fs::path prefix = wine.Path();
    ASSERT_EQ(wine.Wine({"reg", "add", "HKCU\\" + kGatewaysKey, "/v", kGateways, "/t",
                         "REG_MULTI_SZ", "/d", "1001\\000", "/f"}),
              0);
    ASSERT_EQ(wine.Server({"-w"}), 0);
    const std::string hive = (prefix / "user.reg").string();

    // A server in the usual temporary folder, then one whose TMPDIR this process does not know.
    const fs::path otherTmp = dir.Path() / "other-tmp";
    fs::create_directory(otherTmp);
    for (const auto& environment : {std::map<std::string, std::string>{},
                                    std::map<std::string, std::string>{{"TMPDIR", otherTmp}}}) {
        const std::string original = HiveFiles::Read(hive);
        ASSERT_EQ(wine.Server({"-p"}, environment), 0);
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (!WineServerDetector::IsRunning(prefix.string()) &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        ASSERT_TRUE(WineServerDetector::IsRunning(prefix.string()));
        EXPECT_EQ(Save(prefix, Reg::CurrentUser, kGatewaysKey, kGateways,
                       std::string("1001\0"
                                   "00\0\0",
                                   9)),
                  ErrorCode::WineServerRunning);
        EXPECT_EQ(HiveFiles::Read(hive), original);
        ASSERT_EQ(wine.Server({"-k"}, environment), 0);
        ASSERT_EQ(wine.Server({"-w"}, environment), 0);
        EXPECT_FALSE(WineServerDetector::IsRunning(prefix.string()));
    }
    EXPECT_EQ(Save(prefix, Reg::CurrentUser, kGatewaysKey, kGateways,
                   std::string("1001\0"
                               "00\0\0",
                               9)),
              ErrorCode::Success);
}
} // namespace
