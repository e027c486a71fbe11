#include "platform/WinSockets.h"

#include "data/ErrorCodes.h"
#include "data/Util.h"
#include "net/PingHost.h"

#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <chrono>
#include <future>
#include <string>
#include <utility>

namespace {
using namespace std::chrono_literals;

std::uint32_t Loopback(std::uint8_t host = 1)
{
    return htonl(0x7F000000u | host);
}

// A UDP socket on a port of 127.0.0.1 that sends to itself, non-blocking as the layer's own
// sockets are: it stands for an ICMP socket in the waits and receives, without privileges.
class LoopbackDatagrams {
public:
    LoopbackDatagrams() : m_socket(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP))
    {
        m_address.sin_family = AF_INET;
        m_address.sin_addr.s_addr = Loopback();
        int size = sizeof m_address;
        u_long nonBlocking = 1;
        m_ready = m_socket != INVALID_SOCKET &&
                  bind(m_socket, reinterpret_cast<const sockaddr*>(&m_address), size) == 0 &&
                  getsockname(m_socket, reinterpret_cast<sockaddr*>(&m_address), &size) == 0 &&
                  ioctlsocket(m_socket, FIONBIO, &nonBlocking) == 0;
    }
    ~LoopbackDatagrams()
    {
        if (m_socket != INVALID_SOCKET)
            closesocket(m_socket);
    }
    LoopbackDatagrams(const LoopbackDatagrams&) = delete;
    LoopbackDatagrams& operator=(const LoopbackDatagrams&) = delete;

    bool Ready() const { return m_ready; }
    SocketHandle Handle() const { return static_cast<SocketHandle>(m_socket); }
    bool Send(const std::string& bytes) const
    {
        return sendto(m_socket, bytes.data(), static_cast<int>(bytes.size()), 0,
                      reinterpret_cast<const sockaddr*>(&m_address),
                      sizeof m_address) == static_cast<int>(bytes.size());
    }

private:
    SOCKET m_socket;
    sockaddr_in m_address{};
    bool m_ready = false;
};

class WinSocketsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(sockets.Startup(Sock::Version11), 0); }
    void TearDown() override { sockets.Cleanup(); }

    // ReceiveFrom's outcome with the last error it left, and the sender.
    std::pair<int, std::uint32_t> Receive(SocketHandle socket, std::size_t length,
                                          std::uint32_t& from)
    {
        std::string buffer(length, '\0');
        const int received = sockets.ReceiveFrom(
            socket, reinterpret_cast<std::uint8_t*>(buffer.data()), buffer.size(), from);
        return {received, received == Sock::SocketError ? sockets.LastError() : 0};
    }

    WinSockets sockets;
};

TEST_F(WinSocketsTest, StartsVersionOneOneAndNoVersionBelowIt)
{
    WinSockets other;
    EXPECT_EQ(other.Startup(Sock::Version11), 0);
    other.Cleanup();
    EXPECT_NE(other.Startup(0x0000), 0);
}

struct AddressCase {
    const char* text;
    std::uint32_t address;
};

class WinSocketsAddresses : public WinSocketsTest,
                            public testing::WithParamInterface<AddressCase> {};

TEST_P(WinSocketsAddresses, ParseAsInetAddrDoes)
{
    EXPECT_EQ(sockets.ParseAddress(GetParam().text), GetParam().address) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, WinSocketsAddresses,
                         testing::Values(AddressCase{"127.0.0.1", Loopback()},
                                         AddressCase{"192.0.2.7", htonl(0xC0000207u)},
                                         AddressCase{"localhost", Sock::AddressNone},
                                         AddressCase{"1.2.3.256", Sock::AddressNone},
                                         AddressCase{"255.255.255.255", Sock::AddressNone}));

TEST_F(WinSocketsTest, ResolvesLoopbackNamesWithoutTheNetwork)
{
    std::uint32_t address = 0;
    ASSERT_TRUE(sockets.ResolveHost("localhost", address, {})) << sockets.LastError();
    EXPECT_EQ(ntohl(address) >> 24, 127u);
    ASSERT_TRUE(sockets.ResolveHost("127.0.0.5", address, {})) << sockets.LastError();
    EXPECT_EQ(address, Loopback(5));

    // The lookup runs apart where it may be stopped; a stop already requested ends it at once.
    std::stop_source running;
    ASSERT_TRUE(sockets.ResolveHost("localhost", address, running.get_token()));
    EXPECT_EQ(ntohl(address) >> 24, 127u);
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_FALSE(sockets.ResolveHost("localhost", address, stopped.get_token()));
    EXPECT_EQ(sockets.LastError(), ErrorCode::WsaInterrupted);
}

TEST_F(WinSocketsTest, AWaitEndsWithADatagramAndAReceiveTakesOneWhole)
{
    LoopbackDatagrams datagrams;
    ASSERT_TRUE(datagrams.Ready()) << WSAGetLastError();
    const SocketHandle socket = datagrams.Handle();
    std::uint32_t from = 0;
    EXPECT_EQ(Receive(socket, 64, from),
              std::make_pair(Sock::SocketError, ErrorCode::WsaWouldBlock));

    ASSERT_TRUE(datagrams.Send("first"));
    ASSERT_TRUE(datagrams.Send(std::string(100, 'x')));
    EXPECT_EQ(sockets.WaitReadable(socket, 5000, {}), 1);
    EXPECT_EQ(Receive(socket, 64, from), std::make_pair(5, 0u));
    EXPECT_EQ(from, Loopback());
    // The second was waiting before this wait began; a longer one is cut to the buffer.
    EXPECT_EQ(sockets.WaitReadable(socket, 5000, {}), 1);
    from = 0;
    EXPECT_EQ(Receive(socket, 16, from), std::make_pair(16, 0u));
    EXPECT_EQ(from, Loopback());
    EXPECT_EQ(Receive(socket, 64, from),
              std::make_pair(Sock::SocketError, ErrorCode::WsaWouldBlock));
}

TEST_F(WinSocketsTest, AQuietWaitLastsItsTimeOnTheCounter)
{
    LoopbackDatagrams datagrams;
    ASSERT_TRUE(datagrams.Ready()) << WSAGetLastError();
    std::int64_t frequency = 0;
    ASSERT_TRUE(sockets.CounterFrequency(frequency));
    ASSERT_GT(frequency, 0);
    const std::int64_t start = sockets.Counter();
    const std::uint32_t ticks = sockets.TickCount();

    EXPECT_EQ(sockets.WaitReadable(datagrams.Handle(), 150, {}), 0);

    EXPECT_GE((sockets.Counter() - start) * 1000 / frequency, 140);
    EXPECT_GE(sockets.TickCount() - ticks, 100u);
}

TEST_F(WinSocketsTest, StoppingWakesAWaitAtOnce)
{
    LoopbackDatagrams datagrams;
    ASSERT_TRUE(datagrams.Ready()) << WSAGetLastError();
    std::stop_source stop;
    auto wait = std::async(std::launch::async, [&] {
        const int outcome = sockets.WaitReadable(datagrams.Handle(), 10000, stop.get_token());
        return std::make_pair(outcome, sockets.LastError());
    });
    ASSERT_EQ(wait.wait_for(200ms), std::future_status::timeout) << "the wait goes on";

    stop.request_stop();

    ASSERT_EQ(wait.wait_for(2s), std::future_status::ready) << "well before its time-out";
    EXPECT_EQ(wait.get(), std::make_pair(Sock::SocketError, ErrorCode::WsaInterrupted));
    // Stopped before it begins, a wait does not begin; a datagram is still there for later.
    ASSERT_TRUE(datagrams.Send("late"));
    EXPECT_EQ(sockets.WaitReadable(datagrams.Handle(), 5000, stop.get_token()), Sock::SocketError);
    EXPECT_EQ(sockets.LastError(), ErrorCode::WsaInterrupted);
    EXPECT_EQ(sockets.WaitReadable(datagrams.Handle(), 5000, {}), 1);
}

TEST_F(WinSocketsTest, EveryFailureOfTheProbeHasAText)
{
    for (const std::uint32_t code :
         {ErrorCode::WsaTimedOut, ErrorCode::UnexpectedNetError, ErrorCode::WsaHostNotFound,
          ErrorCode::WsaAccess, ErrorCode::WsaInterrupted, ErrorCode::WsaNoData,
          ErrorCode::WsaTryAgain, ErrorCode::WsaNetworkUnreachable,
          ErrorCode::WsaHostUnreachable}) {
        const std::string text = Util::FormatErrorMessage(sockets.ErrorTexts(), code);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << code << ": " << text;
    }
}

// The raw ICMP socket is an administrator's on Windows; under Wine, the process's (root, or
// CAP_NET_RAW).
TEST_F(WinSocketsTest, PingsLoopbackWhereTheIcmpSocketIsGranted)
{
    const SocketHandle socket = sockets.OpenIcmpSocket();
    if (socket == Sock::InvalidSocket) {
        EXPECT_EQ(sockets.LastError(), ErrorCode::WsaAccess);
        GTEST_SKIP() << "no raw ICMP socket for this user";
    }
    EXPECT_EQ(sockets.SetIpOption(socket, IpOption::TimeToLive, 51), 0);
    EXPECT_EQ(sockets.SetIpOption(socket, IpOption::DontFragment, 1), 0);
    EXPECT_EQ(sockets.Bind(socket, Loopback()), 0);
    sockets.Close(socket);

    for (const char* host : {"127.0.0.1", "localhost"}) {
        PingResult result;
        EXPECT_EQ(PingHost(sockets, host, result, 51, 5000, 32, 0, 0, "127.0.0.1"), 1)
            << host << ": " << Util::FormatErrorMessage(sockets.ErrorTexts(), sockets.LastError());
        EXPECT_EQ(ntohl(result.replyAddress) >> 24, 127u) << host;
        EXPECT_LT(result.roundTripMs, 5000u) << host;
    }
}
} // namespace
