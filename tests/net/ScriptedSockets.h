#pragma once

#include "net/SocketApi.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Sockets played from a script: a clock that moves only while a wait waits, the datagrams
// that arrive after the request (made from the request that was sent), the names the resolver
// knows and the calls that fail. Records what the prober did. One thread at a time.
class ScriptedSockets : public SocketApi {
public:
    enum class Call { Startup, Frequency, Open, SetOption, Bind, Send, Wait, Receive };
    using MakeDatagram = std::function<Bytes(const Bytes& request)>;

    // Counter counts per second: the script's times are in microseconds.
    static constexpr std::int64_t Frequency = 1'000'000;

    // A dotted address in network byte order, as inet_addr gives it for the four-part form;
    // Sock::AddressNone for anything else.
    static std::uint32_t Dotted(const std::string& text);

    // A datagram from that source arriving afterUs microseconds after the request was sent. An
    // empty one is gone again before it can be read.
    void Arrive(std::int64_t afterUs, MakeDatagram make, std::uint32_t from);
    // The call fails with that code from now on.
    void Fail(Call call, std::uint32_t code) { m_failures[call] = code; }

    std::map<std::string, std::uint32_t> knownHosts;
    std::uint32_t processId = 0x00C0FFEE;
    // How the socket hands over datagrams: with their IPv4 header, and which identifier the
    // requests carry on the wire (none: the request's own).
    bool receivesIpHeader = true;
    bool replacesIdentifier = false;
    std::uint16_t socketIdentifier = 0;

    // What the prober did.
    std::vector<std::string> resolved;
    std::vector<std::pair<IpOption, std::uint32_t>> options;
    std::vector<std::uint32_t> bound;
    std::vector<Bytes> sent;
    std::uint32_t destination = 0;
    int startups = 0;
    int cleanups = 0;
    int opened = 0;
    int closed = 0;
    int received = 0;
    // Microseconds since the first request was sent.
    std::int64_t NowUs() const { return m_nowUs - m_sentAtUs; }

    int Startup(std::uint16_t version) override;
    void Cleanup() override;
    std::uint32_t ParseAddress(const std::string& text) override;
    bool ResolveHost(const std::string& name, std::uint32_t& address,
                     std::stop_token stop) override;
    SocketHandle OpenIcmpSocket() override;
    bool ReceivesIpHeader(SocketHandle socket) override;
    std::uint16_t EchoIdentifier(SocketHandle socket, std::uint16_t requested) override;
    int SetIpOption(SocketHandle socket, IpOption option, std::uint32_t value) override;
    int Bind(SocketHandle socket, std::uint32_t address) override;
    int SendTo(SocketHandle socket, const std::uint8_t* data, std::size_t length,
               std::uint32_t address) override;
    int WaitReadable(SocketHandle socket, std::uint32_t timeoutMs, std::stop_token stop) override;
    int ReceiveFrom(SocketHandle socket, std::uint8_t* buffer, std::size_t length,
                    std::uint32_t& from) override;
    void Close(SocketHandle socket) override;
    bool CounterFrequency(std::int64_t& countsPerSecond) override;
    std::int64_t Counter() override { return m_nowUs; }
    std::uint32_t ProcessId() override { return processId; }
    std::uint32_t TickCount() override { return 0x01020304; }
    std::uint32_t LastError() override { return m_lastError; }
    void SetLastError(std::uint32_t code) override { m_lastError = code; }

private:
    struct Arrival {
        std::int64_t atUs;
        MakeDatagram make;
        std::uint32_t from;
    };

    bool Failing(Call call);

    std::map<Call, std::uint32_t> m_failures;
    std::deque<Arrival> m_arrivals;
    // Some time has passed before the probe starts, so that no time stamp is 0.
    std::int64_t m_nowUs = 1'000'000;
    std::int64_t m_sentAtUs = 1'000'000;
    std::uint32_t m_lastError = 0;
};

// Datagrams that a test lets arrive, made from the request that was sent.
namespace Datagrams {
// The echo reply to the request, as the peer sends it back: type 0, everything else echoed.
Bytes Reply(const Bytes& request);
// With its IPv4 header in front, as a raw socket hands it over.
Bytes WithIpHeader(const Bytes& message, std::uint32_t source);
// The message with its 16-bit field at offset changed, the checksum made right again.
Bytes WithWord(Bytes message, std::size_t offset, std::uint16_t value);
// A destination-unreachable message that quotes the request.
Bytes Unreachable(const Bytes& request);
} // namespace Datagrams
