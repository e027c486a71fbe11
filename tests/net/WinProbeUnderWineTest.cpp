#include "TempDir.h"
#include "TestNetwork.h"
#include "WindowsProgram.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
namespace fs = std::filesystem;

constexpr const char* kNobody = "65534";

// The Windows build's prober (net_probe_tool.exe) under Wine as an ordinary user (uid and gid
// 65534, no capabilities), in a prefix of that user's own: Wine opens the raw ICMP socket that
// the prober asks for over the unprivileged ICMP datagram socket where the namespace's
// net.ipv4.ping_group_range grants it.
class WinProbeUnderWine : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::string(PORTICO_WINE).empty() || std::string(PORTICO_WINESERVER).empty())
            GTEST_SKIP() << "Wine is not installed";
        RequireWindowsProgram(PORTICO_WIN_PROBE_TOOL);
        if (IsSkipped() || HasFatalFailure())
            return;
        const std::string reason = TestNetwork::EnterPrivateNamespaces();
        if (!reason.empty())
            GTEST_SKIP() << reason;
        fs::permissions(dir.Path(), fs::perms(0755));
        fs::create_directory(Home());
        fs::copy_file(PORTICO_WIN_PROBE_TOOL, Home() / "net_probe_tool.exe");
        ASSERT_EQ(chown(Home().c_str(), 65534, 65534), 0);
        m_started = true;
    }

    // Stops the user's wineserver and removes the folder that Debian's Wine made for it.
    void TearDown() override
    {
        if (!m_started)
            return;
        AsNobody({PORTICO_WINESERVER, "-k"});
        AsNobody({PORTICO_WINESERVER, "-w"});
        std::ifstream marker(Home() / "prefix" / "wineserver");
        std::string name;
        if (std::getline(marker, name) && name.rfind("wine-", 0) == 0)
            fs::remove_all(fs::temp_directory_path() / name);
        TestNetwork::SetPingGroupRange("1 0");
    }

    fs::path Home() const { return dir.Path() / "home"; }

    // Runs the command as the user, bounded in time; its output goes to a file, since Wine's
    // own processes keep a pipe open after the program ends.
    TestNetwork::Output AsNobody(const std::vector<std::string>& command)
    {
        const fs::path log = dir.Path() / "output.txt";
        std::vector<std::string> args{"timeout",
                                      "180",
                                      "sh",
                                      "-c",
                                      "exec \"$@\" >\"$0\" 2>&1",
                                      log.string(),
                                      "setpriv",
                                      std::string("--reuid=") + kNobody,
                                      std::string("--regid=") + kNobody,
                                      "--clear-groups",
                                      "--inh-caps=-all",
                                      "env",
                                      "-i",
                                      "PATH=/usr/bin:/bin",
                                      "HOME=" + Home().string(),
                                      "WINEPREFIX=" + (Home() / "prefix").string(),
                                      "WINEDEBUG=-all",
                                      "WINEDLLOVERRIDES=mscoree,mshtml=",
                                      "LC_ALL=C.UTF-8"};
        args.insert(args.end(), command.begin(), command.end());
        TestNetwork::Output output = TestNetwork::Run(args);
        std::ifstream in(log);
        std::ostringstream text;
        text << in.rdbuf();
        output.text += text.str();
        return output;
    }

    // The probe's "key=value" lines.
    std::map<std::string, std::string> Probe(const std::string& host)
    {
        const TestNetwork::Output output =
            AsNobody({PORTICO_WINE, (Home() / "net_probe_tool.exe").string(), host, "2000"});
        EXPECT_EQ(output.status, 0) << output.text;
        std::map<std::string, std::string> fields{{"output", output.text}};
        std::istringstream lines(output.text);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const auto equals = line.find('=');
            if (equals != std::string::npos)
                fields[line.substr(0, equals)] = line.substr(equals + 1);
        }
        return fields;
    }

    TempDir dir;
    bool m_started = false;
};

TEST_F(WinProbeUnderWine, PingsAsAnOrdinaryUserWhereThePingGroupRangeAllows)
{
    TestNetwork network;
    const std::string host = network.AddHosts(1, true).front();
    struct Case {
        const char* range;
        std::string host;
        bool answered;
    };
    for (const Case& c : {Case{"65534 65534", host, true}, Case{"0 2147483647", "127.0.0.1", true},
                          Case{"1 0", host, false}}) {
        SCOPED_TRACE(std::string("ping_group_range ") + c.range + ", " + c.host);
        TestNetwork::SetPingGroupRange(c.range);
        std::map<std::string, std::string> fields = Probe(c.host);
        if (c.answered) {
            EXPECT_EQ(fields["answered"], "1") << fields["output"];
            EXPECT_NE(fields["ping"], "") << fields["output"];
            EXPECT_EQ(fields["status"], "") << fields["output"];
        } else {
            // WSAEACCES, in the system's words.
            EXPECT_EQ(fields["answered"], "0") << fields["output"];
            EXPECT_EQ(fields["ping"], "") << fields["output"];
            EXPECT_NE(fields["status"], "") << fields["output"];
        }
    }
}
} // namespace
