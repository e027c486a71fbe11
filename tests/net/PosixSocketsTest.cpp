#include "platform/PosixSockets.h"
#include "TempDir.h"
#include "TestNetwork.h"
#include "data/ErrorCodes.h"
#include "data/ErrorTextTable.h"
#include "data/ServerInfo.h"
#include "data/Util.h"
#include "net/PingHost.h"
#include "platform/SocketErrors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <map>
#include <netdb.h>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace {
using namespace std::chrono_literals;
using testing::HasSubstr;
using testing::MatchesRegex;

constexpr std::uint32_t kShortTimeoutMs = 300;

std::string Text(std::uint32_t code)
{
    return Util::FormatErrorMessage(ErrorTextTable(), code);
}

TEST(SocketErrors, EveryCodeThatTheSocketCallsAndTheResolverGiveHasAText)
{
    const ErrorTextTable texts;
    for (int error = 0; error < 256; ++error) {
        EXPECT_NE(texts.SystemText(SocketErrors::FromErrno(error)), "") << "errno " << error;
    }
    for (const int code :
         {EAI_AGAIN, EAI_BADFLAGS, EAI_FAIL, EAI_FAMILY, EAI_MEMORY, EAI_NONAME, EAI_SERVICE,
          EAI_SOCKTYPE, EAI_OVERFLOW, EAI_NODATA, EAI_ADDRFAMILY, EAI_INPROGRESS, EAI_CANCELED,
          EAI_NOTCANCELED, EAI_ALLDONE, EAI_INTR, EAI_IDN_ENCODE}) {
        EXPECT_NE(texts.SystemText(SocketErrors::FromAddrInfo(code, 0)), "") << "EAI " << code;
    }
    EXPECT_EQ(SocketErrors::FromAddrInfo(EAI_NONAME, 0), ErrorCode::WsaHostNotFound);
    EXPECT_EQ(SocketErrors::FromAddrInfo(EAI_SYSTEM, EACCES), ErrorCode::WsaAccess);
    EXPECT_EQ(SocketErrors::FromErrno(EPERM), ErrorCode::WsaAccess);
}

// Inside the process's own network namespace; skipped where it cannot be made.
class RealNetwork : public testing::Test {
protected:
    void SetUp() override
    {
        const std::string reason = TestNetwork::EnterPrivateNamespaces();
        if (!reason.empty())
            GTEST_SKIP() << reason;
    }

    PosixSockets sockets;
    ErrorTextTable texts;
};

TEST_F(RealNetwork, LoopbackAnswersThoughARawSocketSeesTheOwnRequestFirst)
{
    // Watches the ICMP traffic as the prober's raw socket sees it.
    const int watcher = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (watcher < 0)
        GTEST_SKIP() << "no raw ICMP socket here (needs CAP_NET_RAW)";
    ServerInfo server("Loopback", "0", "127.0.0.1");

    EXPECT_TRUE(server.Ping(sockets, texts, 2000));
    EXPECT_THAT(server.PingTime, MatchesRegex("[0-9]+"));
    EXPECT_EQ(server.Status, "");

    std::uint8_t first[1024];
    const ssize_t size = recv(watcher, first, sizeof first, MSG_DONTWAIT);
    close(watcher);
    ASSERT_GE(size, 28);
    EXPECT_EQ(first[(first[0] & 0x0F) * 4], 8) << "the echo request comes first";
}

struct HostCase {
    const char* name;
    enum { Answering, AnsweringName, Silent, Vacant, UnknownName } host;
    bool answered;
    std::uint32_t code;
};

void PrintTo(const HostCase& c, std::ostream* os)
{
    *os << c.name;
}

class TestHosts : public RealNetwork, public testing::WithParamInterface<HostCase> {
protected:
    void SetUp() override
    {
        RealNetwork::SetUp();
        if (IsSkipped())
            return;
        answering = network.AddHosts(1, true).front();
        silent = network.AddHosts(1, false).front();
        TestNetwork::UseResolver({{"answering.portico.test", answering}});
    }

    std::string Host() const
    {
        switch (GetParam().host) {
        case HostCase::Answering:
            return answering;
        case HostCase::AnsweringName:
            return "answering.portico.test";
        case HostCase::Silent:
            return silent;
        case HostCase::Vacant:
            return network.VacantAddress();
        case HostCase::UnknownName:
            return "nowhere.portico.invalid";
        }
        return {};
    }

    TestNetwork network;
    std::string answering;
    std::string silent;
};

TEST_P(TestHosts, EachOutcomeShowsInPingTimeAndStatus)
{
    ServerInfo server("Test host", "0", Host());
    server.PingTime = "99";
    server.Status = "Earlier text";

    EXPECT_EQ(server.Ping(sockets, texts, kShortTimeoutMs), GetParam().answered);

    if (GetParam().answered) {
        EXPECT_THAT(server.PingTime, MatchesRegex("[0-9]+"));
        EXPECT_EQ(server.Status, "");
    } else {
        EXPECT_EQ(server.PingTime, "");
        EXPECT_EQ(server.Status, Text(GetParam().code));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, TestHosts,
    testing::Values(HostCase{"Answering", HostCase::Answering, true, 0},
                    HostCase{"AnsweringName", HostCase::AnsweringName, true, 0},
                    HostCase{"Silent", HostCase::Silent, false, ErrorCode::WsaTimedOut},
                    HostCase{"Vacant", HostCase::Vacant, false, ErrorCode::WsaTimedOut},
                    HostCase{"UnknownName", HostCase::UnknownName, false,
                             ErrorCode::WsaHostNotFound}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RealNetwork, StoppingWakesAProbeThatWaitsForItsReply)
{
    TestNetwork network;
    const std::string silent = network.AddHosts(1, false).front();
    std::stop_source stop;
    auto probe = std::async(std::launch::async, [&] {
        PingResult result;
        const int answered =
            PingHost(sockets, silent, result, 51, 5000, 32, 0, 0, {}, stop.get_token());
        return std::make_pair(answered, sockets.LastError());
    });
    ASSERT_EQ(probe.wait_for(200ms), std::future_status::timeout) << "the probe waits";

    stop.request_stop();

    ASSERT_EQ(probe.wait_for(2s), std::future_status::ready) << "well before its time-out";
    EXPECT_EQ(probe.get(), std::make_pair(0, ErrorCode::WsaInterrupted));
}

TEST_F(RealNetwork, StoppingEndsALookupThatNobodyAnswers)
{
    TestNetwork network;
    network.AddHosts(1, false);
    TestNetwork::UseResolver({}, network.VacantAddress());
    std::stop_source stop;
    auto lookup = std::async(std::launch::async, [&] {
        std::uint32_t address = 0;
        const bool found = sockets.ResolveHost("slow.portico.test", address, stop.get_token());
        return std::make_pair(found, sockets.LastError());
    });
    ASSERT_EQ(lookup.wait_for(200ms), std::future_status::timeout) << "the lookup waits";

    stop.request_stop();

    ASSERT_EQ(lookup.wait_for(1s), std::future_status::ready)
        << "well before the resolver gives up";
    EXPECT_EQ(lookup.get(), std::make_pair(false, ErrorCode::WsaInterrupted));
    TestNetwork::UseResolver({});
}

// Pinging as an ordinary user (uid and gid 65534, no capabilities) through the unprivileged
// ICMP datagram socket, which the namespace's ping_group_range grants or refuses.
struct UserCase {
    const char* name;
    const char* pingGroupRange;
    bool loopback;
    bool answered;
};

void PrintTo(const UserCase& c, std::ostream* os)
{
    *os << c.name;
}

class OrdinaryUser : public RealNetwork, public testing::WithParamInterface<UserCase> {
protected:
    void TearDown() override
    {
        if (!IsSkipped())
            TestNetwork::SetPingGroupRange("1 0");
    }

    // The probe tool, where the user may run it.
    std::string Tool()
    {
        const auto copy = dir.Path() / "net_probe_tool";
        std::filesystem::copy_file(PORTICO_NET_PROBE_TOOL, copy);
        std::filesystem::permissions(dir.Path(), std::filesystem::perms(0755));
        return copy.string();
    }

    TempDir dir;
};

TEST_P(OrdinaryUser, PingsThroughTheDatagramSocketWhereThePingGroupRangeAllows)
{
    TestNetwork network;
    const std::string host = GetParam().loopback ? "127.0.0.1" : network.AddHosts(1, true).front();
    TestNetwork::SetPingGroupRange(GetParam().pingGroupRange);

    const TestNetwork::Output output =
        TestNetwork::Run({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                          "--inh-caps=-all", Tool(), host, "2000"});

    ASSERT_EQ(output.status, 0) << output.text;
    std::map<std::string, std::string> fields;
    std::istringstream lines(output.text);
    for (std::string line; std::getline(lines, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    if (GetParam().answered) {
        EXPECT_EQ(fields["answered"], "1") << output.text;
        EXPECT_THAT(fields["ping"], MatchesRegex("[0-9]+"));
        EXPECT_EQ(fields["status"], "");
    } else {
        EXPECT_EQ(fields["answered"], "0") << output.text;
        EXPECT_EQ(fields["status"], Text(ErrorCode::WsaAccess));
        EXPECT_THAT(fields["status"], HasSubstr("ping_group_range"));
    }
}

INSTANTIATE_TEST_SUITE_P(Users, OrdinaryUser,
                         testing::Values(UserCase{"AllowedToATestHost", "65534 65534", false, true},
                                         UserCase{"AllowedToLoopback", "0 2147483647", true, true},
                                         UserCase{"Refused", "1 0", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });
} // namespace
