#include "ScriptedSockets.h"
#include "data/ErrorCodes.h"
#include "data/ErrorTextTable.h"
#include "data/ServerInfo.h"
#include "data/Util.h"
#include "net/PingHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Pair;

const std::uint32_t kHost = ScriptedSockets::Dotted("10.0.0.7");

std::uint16_t Word(const Bytes& bytes, std::size_t offset)
{
    std::uint16_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

std::string Text(std::uint32_t code)
{
    return Util::FormatErrorMessage(ErrorTextTable(), code);
}

class ServerPing : public testing::Test {
protected:
    bool Ping(std::uint32_t timeoutMs = ServerInfo::PingTimeoutMs)
    {
        return server.Ping(sockets, texts, timeoutMs, {}, &failure);
    }
    void ReplyAfter(std::int64_t us) { sockets.Arrive(us, Datagrams::Reply, kHost); }
    // The socket was closed and the sockets were cleaned up as often as they were opened.
    void ExpectReleased() const
    {
        EXPECT_EQ(sockets.closed, sockets.opened);
        EXPECT_EQ(sockets.cleanups, sockets.startups);
    }

    ScriptedSockets sockets;
    ErrorTextTable texts;
    ServerInfo server{"Test server", "-5", "10.0.0.7"};
    std::string failure;
};

TEST_F(ServerPing, AnAnswerGivesTheRoundTripAndClearsTheStatus)
{
    server.Status = Text(ErrorCode::WsaTimedOut);
    ReplyAfter(7'400);

    EXPECT_TRUE(Ping());

    EXPECT_EQ(server.PingTime, "7");
    EXPECT_EQ(server.Status, "");
    EXPECT_TRUE(sockets.resolved.empty());
    EXPECT_EQ(sockets.destination, kHost);
    ASSERT_EQ(sockets.sent.size(), 1u);
    const Bytes& request = sockets.sent[0];
    EXPECT_EQ(request.size(), 44u);
    EXPECT_EQ(request[0], 8);
    EXPECT_EQ(Word(request, 4), sockets.processId & 0xFFFF);
    EXPECT_THAT(sockets.options,
                ElementsAre(Pair(IpOption::TimeToLive, 51u), Pair(IpOption::TypeOfService, 0u)));
    EXPECT_TRUE(sockets.bound.empty());
    EXPECT_EQ(sockets.startups, 1);
    ExpectReleased();
}

TEST_F(ServerPing, AReplyWithinAMillisecondShowsZero)
{
    ReplyAfter(400);
    EXPECT_TRUE(Ping());
    EXPECT_EQ(server.PingTime, "0");
}

TEST_F(ServerPing, EveryProbeSendsItsOwnSequenceNumber)
{
    ReplyAfter(1'000);
    ReplyAfter(1'000);
    ASSERT_TRUE(Ping());
    ASSERT_TRUE(Ping());
    ASSERT_EQ(sockets.sent.size(), 2u);
    EXPECT_NE(Word(sockets.sent[0], 6), Word(sockets.sent[1], 6));
}

TEST_F(ServerPing, NoReplyEndsInTheTimeOutTextAfterTheWholeTimeOut)
{
    server.PingTime = "12";
    EXPECT_FALSE(Ping());

    EXPECT_EQ(server.PingTime, "");
    EXPECT_EQ(server.Status, Text(ErrorCode::WsaTimedOut));
    EXPECT_THAT(server.Status, HasSubstr("failed to respond"));
    EXPECT_EQ(failure, server.Status);
    EXPECT_EQ(sockets.NowUs(), 5'000'000);
    ExpectReleased();
}

// Datagrams that reach a raw socket before the reply, or instead of it.
struct Foreign {
    const char* name;
    ScriptedSockets::MakeDatagram make;
};

void PrintTo(const Foreign& c, std::ostream* os)
{
    *os << c.name;
}

class ServerPingIgnores : public ServerPing, public testing::WithParamInterface<Foreign> {};

TEST_P(ServerPingIgnores, ADatagramBeforeTheReplyAndMeasuresToTheReply)
{
    sockets.Arrive(2'000, GetParam().make, kHost);
    ReplyAfter(9'000);

    EXPECT_TRUE(Ping());
    EXPECT_EQ(server.PingTime, "9");
    EXPECT_EQ(server.Status, "");
    EXPECT_EQ(sockets.received, 2);
}

TEST_P(ServerPingIgnores, ADatagramInsteadOfTheReplyAndTimesOut)
{
    sockets.Arrive(2'000, GetParam().make, kHost);

    EXPECT_FALSE(Ping(300));
    EXPECT_EQ(server.Status, Text(ErrorCode::WsaTimedOut));
    EXPECT_EQ(sockets.NowUs(), 300'000);
}

INSTANTIATE_TEST_SUITE_P(
    Datagrams, ServerPingIgnores,
    testing::Values(
        // Pinging this machine, a raw socket sees the request go out first.
        Foreign{"OwnRequest", [](const Bytes& request) { return request; }},
        Foreign{"OtherProgramsReply",
                [](const Bytes& request) {
                    return Datagrams::WithWord(Datagrams::Reply(request), 4,
                                               static_cast<std::uint16_t>(Word(request, 4) + 1));
                }},
        Foreign{"OtherProbesReply",
                [](const Bytes& request) {
                    return Datagrams::WithWord(Datagrams::Reply(request), 6,
                                               static_cast<std::uint16_t>(Word(request, 6) + 1));
                }},
        Foreign{"Unreachable", Datagrams::Unreachable},
        Foreign{"CutShort",
                [](const Bytes& request) { return Bytes(request.begin(), request.begin() + 7); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServerPing, ADatagramSocketsIdentifierAndHeaderlessRepliesAreUnderstood)
{
    sockets.receivesIpHeader = false;
    sockets.replacesIdentifier = true;
    sockets.socketIdentifier = 0x3412;
    // A reply that carries the process's identifier is not the socket's.
    sockets.Arrive(
        1'000,
        [this](const Bytes& request) {
            return Datagrams::WithWord(Datagrams::Reply(request), 4,
                                       static_cast<std::uint16_t>(sockets.processId));
        },
        kHost);
    ReplyAfter(3'000);

    EXPECT_TRUE(Ping());
    EXPECT_EQ(server.PingTime, "3");
    EXPECT_EQ(sockets.received, 2);
}

TEST_F(ServerPing, AFloodOfForeignDatagramsEndsTheProbeWithoutWaitingForever)
{
    for (int i = 0; i < 5000; ++i)
        sockets.Arrive(
            10, [](const Bytes& request) { return request; }, kHost);

    EXPECT_FALSE(Ping());
    EXPECT_EQ(server.Status, Text(ErrorCode::UnexpectedNetError));
    EXPECT_LT(sockets.received, 5000);
    ExpectReleased();
}

TEST_F(ServerPing, ADatagramGoneBeforeItWasReadIsWaitedPast)
{
    sockets.Arrive(
        1'000, [](const Bytes&) { return Bytes(); }, kHost);
    ReplyAfter(2'000);
    EXPECT_TRUE(Ping());
    EXPECT_EQ(server.PingTime, "2");
}

struct HostCase {
    const char* name;
    const char* host;
    bool resolved;
};

void PrintTo(const HostCase& c, std::ostream* os)
{
    *os << c.name;
}

class ServerPingHosts : public ServerPing, public testing::WithParamInterface<HostCase> {};

TEST_P(ServerPingHosts, DottedAddressesAreUsedAsTheyAreAndEverythingElseIsLookedUp)
{
    server.Hostname = GetParam().host;
    sockets.knownHosts[GetParam().host] = kHost;
    ReplyAfter(1'000);

    EXPECT_TRUE(Ping());
    EXPECT_EQ(sockets.resolved.size(), GetParam().resolved ? 1u : 0u);
    EXPECT_EQ(sockets.destination,
              GetParam().resolved ? kHost : ScriptedSockets::Dotted(GetParam().host));
}

INSTANTIATE_TEST_SUITE_P(Hosts, ServerPingHosts,
                         testing::Values(HostCase{"Dotted", "192.0.2.1", false},
                                         HostCase{"Name", "useast.battle.net", true},
                                         HostCase{"AllOnes", "255.255.255.255", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServerPing, AnUnknownNameGivesTheResolversTextAndOpensNoSocket)
{
    server.Hostname = "nowhere.invalid";
    EXPECT_FALSE(Ping());
    EXPECT_EQ(server.Status, "No such host is known.");
    EXPECT_EQ(server.PingTime, "");
    EXPECT_EQ(sockets.opened, 0);
    ExpectReleased();
}

// Probes that end before any socket: "Ping (ms)" empties, "Status" keeps its text.
struct NoStart {
    const char* name;
    const char* hostname;
    bool socketsStart;
    const char* failure;
    int startups;
};

void PrintTo(const NoStart& c, std::ostream* os)
{
    *os << c.name;
}

class ServerPingNoStart : public ServerPing, public testing::WithParamInterface<NoStart> {};

TEST_P(ServerPingNoStart, KeepsTheStatusAndOpensNoSocket)
{
    server.Hostname = GetParam().hostname;
    if (!GetParam().socketsStart)
        sockets.Fail(ScriptedSockets::Call::Startup, ErrorCode::WsaNetworkDown);
    server.PingTime = "12";
    server.Status = "Earlier text";

    EXPECT_FALSE(Ping());
    EXPECT_EQ(failure, GetParam().failure);
    EXPECT_EQ(server.PingTime, "");
    EXPECT_EQ(server.Status, "Earlier text");
    EXPECT_EQ(sockets.opened, 0);
    EXPECT_EQ(sockets.cleanups, 0);
}

INSTANTIATE_TEST_SUITE_P(Probes, ServerPingNoStart,
                         testing::Values(NoStart{"EmptyHostName", "", true,
                                                 "hostname must be not null", 0},
                                         NoStart{"SocketsDoNotStart", "10.0.0.7", false,
                                                 "Failed to initialize Winsock 1.1 Stack", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServerPing, ASecondProbeOverwritesTheFirstOutcome)
{
    ASSERT_FALSE(Ping(100));
    ASSERT_EQ(server.Status, Text(ErrorCode::WsaTimedOut));

    ReplyAfter(3'000);
    EXPECT_TRUE(Ping(100));
    EXPECT_EQ(server.PingTime, "3");
    EXPECT_EQ(server.Status, "");

    EXPECT_FALSE(Ping(100));
    EXPECT_EQ(server.PingTime, "");
    EXPECT_EQ(server.Status, Text(ErrorCode::WsaTimedOut));
}

struct CallFailure {
    const char* name;
    ScriptedSockets::Call call;
    std::uint32_t code;
    bool opens;
};

void PrintTo(const CallFailure& c, std::ostream* os)
{
    *os << c.name;
}

class ServerPingFailures : public ServerPing, public testing::WithParamInterface<CallFailure> {};

TEST_P(ServerPingFailures, TheFailingCallsOwnCodeBecomesTheStatus)
{
    server.PingTime = "12";
    sockets.Fail(GetParam().call, GetParam().code);
    ReplyAfter(1'000);

    EXPECT_FALSE(Ping());
    EXPECT_EQ(server.PingTime, "");
    EXPECT_EQ(server.Status, Text(GetParam().code));
    EXPECT_NE(server.Status, "");
    EXPECT_EQ(sockets.opened, GetParam().opens ? 1 : 0);
    ExpectReleased();
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ServerPingFailures,
    testing::Values(
        CallFailure{"Counter", ScriptedSockets::Call::Frequency, ErrorCode::InvalidParameter,
                    false},
        CallFailure{"SocketRefused", ScriptedSockets::Call::Open, ErrorCode::WsaAccess, false},
        CallFailure{"Option", ScriptedSockets::Call::SetOption, ErrorCode::WsaNoProtocolOption,
                    true},
        CallFailure{"Send", ScriptedSockets::Call::Send, ErrorCode::WsaHostUnreachable, true},
        CallFailure{"Wait", ScriptedSockets::Call::Wait, ErrorCode::WsaInterrupted, true},
        CallFailure{"Receive", ScriptedSockets::Call::Receive, ErrorCode::WsaNetworkDown, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServerPing, ARefusedSocketSaysHowToAllowPinging)
{
    sockets.Fail(ScriptedSockets::Call::Open, ErrorCode::WsaAccess);
    EXPECT_FALSE(Ping());
    EXPECT_THAT(server.Status, HasSubstr("net.ipv4.ping_group_range"));
}

TEST_F(ServerPing, AStoppedProbeEndsInTheInterruptionsText)
{
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(server.Ping(sockets, texts, ServerInfo::PingTimeoutMs, stop.get_token()));
    EXPECT_EQ(server.Status, Text(ErrorCode::WsaInterrupted));
    ExpectReleased();
}

TEST(PingHost, BindsTheLocalAddressAndSetsDontFragmentWhenAsked)
{
    ScriptedSockets sockets;
    sockets.knownHosts["local.test"] = ScriptedSockets::Dotted("10.0.0.2");
    sockets.Arrive(2'000, Datagrams::Reply, kHost);
    sockets.Arrive(2'000, Datagrams::Reply, kHost);

    PingResult result;
    ASSERT_EQ(PingHost(sockets, "10.0.0.7", result, 9, 500, 0, 0x10, 1, "10.0.0.1"), 1);
    EXPECT_EQ(result.replyAddress, kHost);
    EXPECT_EQ(result.roundTripMs, 2u);
    EXPECT_EQ(sockets.sent.back().size(), 12u);
    EXPECT_THAT(sockets.options,
                ElementsAre(Pair(IpOption::TimeToLive, 9u), Pair(IpOption::TypeOfService, 0x10u),
                            Pair(IpOption::DontFragment, 1u)));
    ASSERT_EQ(PingHost(sockets, "10.0.0.7", result, 9, 500, 0, 0, 0, "local.test"), 1);
    EXPECT_THAT(sockets.bound, ElementsAre(ScriptedSockets::Dotted("10.0.0.1"),
                                           ScriptedSockets::Dotted("10.0.0.2")));
}

TEST(PingHost, ARequestLargerThanAnIpDatagramIsRefusedBeforeAnythingIsSent)
{
    ScriptedSockets sockets;
    PingResult result;
    EXPECT_EQ(PingHost(sockets, "10.0.0.7", result, 51, 500, 0xFFFFFFFFu, 0, 0), 0);
    EXPECT_EQ(sockets.LastError(), ErrorCode::WsaMessageSize);
    EXPECT_TRUE(sockets.sent.empty());
    EXPECT_EQ(sockets.opened, 0);
}
} // namespace
