#include "ScriptedSockets.h"

#include "net/IcmpEcho.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {
constexpr SocketHandle kSocket = 7;
// A code that Close leaves, to show that the prober's own code survives the close.
constexpr std::uint32_t kCloseLeaves = 0xC105Eu;

void StoreChecksum(Bytes& message)
{
    message[2] = message[3] = 0;
    const std::uint16_t checksum = InternetChecksum(message.data(), message.size());
    std::memcpy(message.data() + 2, &checksum, sizeof checksum);
}
} // namespace

void ScriptedSockets::Arrive(std::int64_t afterUs, MakeDatagram make, std::uint32_t from)
{
    m_arrivals.push_back({afterUs, std::move(make), from});
}

bool ScriptedSockets::Failing(Call call)
{
    const auto failure = m_failures.find(call);
    if (failure == m_failures.end())
        return false;
    m_lastError = failure->second;
    return true;
}

int ScriptedSockets::Startup(std::uint16_t version)
{
    ++startups;
    if (version != Sock::Version11)
        return 1;
    return Failing(Call::Startup) ? 1 : 0;
}

void ScriptedSockets::Cleanup()
{
    ++cleanups;
}

std::uint32_t ScriptedSockets::Dotted(const std::string& text)
{
    std::uint8_t bytes[4] = {};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && (at == end || *at++ != '.'))
            return Sock::AddressNone;
        unsigned part = 0;
        const auto [next, error] = std::from_chars(at, end, part);
        if (error != std::errc() || part > 255)
            return Sock::AddressNone;
        bytes[i] = static_cast<std::uint8_t>(part);
        at = next;
    }
    if (at != end)
        return Sock::AddressNone;
    std::uint32_t address = 0;
    std::memcpy(&address, bytes, sizeof address);
    return address;
}

std::uint32_t ScriptedSockets::ParseAddress(const std::string& text)
{
    return Dotted(text);
}

bool ScriptedSockets::ResolveHost(const std::string& name, std::uint32_t& address, std::stop_token)
{
    resolved.push_back(name);
    const auto host = knownHosts.find(name);
    if (host == knownHosts.end()) {
        m_lastError = 11001;
        return false;
    }
    address = host->second;
    return true;
}

SocketHandle ScriptedSockets::OpenIcmpSocket()
{
    if (Failing(Call::Open))
        return Sock::InvalidSocket;
    ++opened;
    return kSocket;
}

bool ScriptedSockets::ReceivesIpHeader(SocketHandle)
{
    return receivesIpHeader;
}

std::uint16_t ScriptedSockets::EchoIdentifier(SocketHandle, std::uint16_t requested)
{
    return replacesIdentifier ? socketIdentifier : requested;
}

int ScriptedSockets::SetIpOption(SocketHandle, IpOption option, std::uint32_t value)
{
    if (Failing(Call::SetOption))
        return Sock::SocketError;
    options.emplace_back(option, value);
    return 0;
}

int ScriptedSockets::Bind(SocketHandle, std::uint32_t address)
{
    if (Failing(Call::Bind))
        return Sock::SocketError;
    bound.push_back(address);
    return 0;
}

int ScriptedSockets::SendTo(SocketHandle, const std::uint8_t* data, std::size_t length,
                            std::uint32_t address)
{
    if (Failing(Call::Send))
        return Sock::SocketError;
    Bytes request(data, data + length);
    if (replacesIdentifier)
        request = Datagrams::WithWord(std::move(request), 4, socketIdentifier);
    sent.push_back(std::move(request));
    destination = address;
    m_sentAtUs = m_nowUs;
    return static_cast<int>(length);
}

int ScriptedSockets::WaitReadable(SocketHandle, std::uint32_t timeoutMs, std::stop_token stop)
{
    if (Failing(Call::Wait))
        return Sock::SocketError;
    if (stop.stop_requested()) {
        m_lastError = 10004;
        return Sock::SocketError;
    }
    const std::int64_t limit = m_nowUs + std::int64_t{timeoutMs} * 1000;
    if (!m_arrivals.empty() && m_sentAtUs + m_arrivals.front().atUs <= limit) {
        m_nowUs = std::max(m_nowUs, m_sentAtUs + m_arrivals.front().atUs);
        return 1;
    }
    m_nowUs = limit;
    return 0;
}

int ScriptedSockets::ReceiveFrom(SocketHandle, std::uint8_t* buffer, std::size_t length,
                                 std::uint32_t& from)
{
    if (Failing(Call::Receive))
        return Sock::SocketError;
    if (m_arrivals.empty()) {
        m_lastError = 10035;
        return Sock::SocketError;
    }
    const Arrival arrival = m_arrivals.front();
    m_arrivals.pop_front();
    Bytes datagram = arrival.make(sent.back());
    if (datagram.empty()) {
        m_lastError = 10035;
        return Sock::SocketError;
    }
    ++received;
    if (receivesIpHeader)
        datagram = Datagrams::WithIpHeader(datagram, arrival.from);
    const std::size_t size = std::min(length, datagram.size());
    std::copy_n(datagram.begin(), size, buffer);
    from = arrival.from;
    return static_cast<int>(size);
}

void ScriptedSockets::Close(SocketHandle)
{
    ++closed;
    m_lastError = kCloseLeaves;
}

bool ScriptedSockets::CounterFrequency(std::int64_t& countsPerSecond)
{
    if (Failing(Call::Frequency))
        return false;
    countsPerSecond = Frequency;
    return true;
}

namespace Datagrams {

Bytes Reply(const Bytes& request)
{
    Bytes reply = request;
    reply[0] = IcmpEcho::TypeEchoReply;
    StoreChecksum(reply);
    return reply;
}

Bytes WithIpHeader(const Bytes& message, std::uint32_t source)
{
    Bytes datagram(20, 0);
    datagram[0] = 0x45;
    // The total length, in network byte order.
    const std::size_t total = 20 + message.size();
    datagram[2] = static_cast<std::uint8_t>(total >> 8);
    datagram[3] = static_cast<std::uint8_t>(total & 0xFF);
    datagram[8] = 64;
    datagram[9] = 1;
    std::memcpy(datagram.data() + 12, &source, sizeof source);
    datagram.insert(datagram.end(), message.begin(), message.end());
    return datagram;
}

Bytes WithWord(Bytes message, std::size_t offset, std::uint16_t value)
{
    std::memcpy(message.data() + offset, &value, sizeof value);
    StoreChecksum(message);
    return message;
}

Bytes Unreachable(const Bytes& request)
{
    Bytes message = {3, 1, 0, 0, 0, 0, 0, 0};
    const Bytes quoted = WithIpHeader(request, 0);
    message.insert(message.end(), quoted.begin(), quoted.begin() + 28);
    StoreChecksum(message);
    return message;
}

} // namespace Datagrams
