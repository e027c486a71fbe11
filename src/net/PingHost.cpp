#include "net/PingHost.h"

#include "data/ErrorCodes.h"
#include "net/IcmpEcho.h"

#include <vector>

namespace {
constexpr std::size_t kReceiveBufferSize = 1024;
// The largest ICMP message that an IPv4 datagram carries.
constexpr std::size_t kMaxMessageSize = 65535 - 20;
// However busy the machine's ICMP traffic, one probe reads no more datagrams than this.
constexpr int kMaxDatagrams = 4096;

int Fail(SocketApi& sockets, std::uint32_t code)
{
    sockets.SetLastError(code);
    return 0;
}

bool ToAddress(SocketApi& sockets, const std::string& host, std::uint32_t& address,
               std::stop_token stop)
{
    address = sockets.ParseAddress(host);
    // The all-ones address in dotted form is thus looked up as a name.
    if (address != Sock::AddressNone)
        return true;
    return sockets.ResolveHost(host, address, stop);
}

// Closes the socket on every way out, leaving the failure's own code as the last error.
class OpenSocket {
public:
    OpenSocket(SocketApi& sockets, SocketHandle socket) : m_sockets(sockets), m_socket(socket) {}
    ~OpenSocket()
    {
        const std::uint32_t code = m_sockets.LastError();
        m_sockets.Close(m_socket);
        m_sockets.SetLastError(code);
    }
    OpenSocket(const OpenSocket&) = delete;
    OpenSocket& operator=(const OpenSocket&) = delete;

    SocketHandle Handle() const { return m_socket; }

private:
    SocketApi& m_sockets;
    SocketHandle m_socket;
};

std::int64_t ElapsedMs(std::int64_t start, std::int64_t end, std::int64_t frequency)
{
    return ((end - start) * 1000) / frequency;
}
} // namespace

int WaitForReadable(SocketApi& sockets, SocketHandle socket, std::uint32_t timeoutMs, int& ready,
                    std::stop_token stop)
{
    const int count = sockets.WaitReadable(socket, timeoutMs, stop);
    if (count == Sock::SocketError)
        return 0;
    ready = count != 0 ? 1 : 0;
    return 1;
}

int BindLocalAddress(SocketApi& sockets, SocketHandle socket, const std::string& address,
                     std::stop_token stop)
{
    std::uint32_t local = 0;
    if (!ToAddress(sockets, address, local, stop))
        return 0;
    return sockets.Bind(socket, local) == 0 ? 1 : 0;
}

int PingHost(SocketApi& sockets, const std::string& host, PingResult& result,
             std::uint8_t timeToLive, std::uint32_t timeoutMs, std::uint32_t dataSize,
             std::uint8_t typeOfService, std::uint32_t dontFragment,
             const std::string& localAddress, std::stop_token stop)
{
    std::int64_t frequency = 0;
    if (!sockets.CounterFrequency(frequency))
        return 0;
    if (frequency <= 0)
        return Fail(sockets, ErrorCode::InvalidParameter);
    if (dataSize > kMaxMessageSize - IcmpEcho::RequestOverhead)
        return Fail(sockets, ErrorCode::WsaMessageSize);

    std::uint32_t destination = 0;
    if (!ToAddress(sockets, host, destination, stop))
        return 0;

    const SocketHandle handle = sockets.OpenIcmpSocket();
    if (handle == Sock::InvalidSocket)
        return 0;
    const OpenSocket socket(sockets, handle);

    if (!localAddress.empty() && !BindLocalAddress(sockets, handle, localAddress, stop))
        return 0;
    if (sockets.SetIpOption(handle, IpOption::TimeToLive, timeToLive) == Sock::SocketError ||
        sockets.SetIpOption(handle, IpOption::TypeOfService, typeOfService) == Sock::SocketError)
        return 0;
    if (dontFragment != 0 &&
        sockets.SetIpOption(handle, IpOption::DontFragment, dontFragment) == Sock::SocketError)
        return 0;

    const auto identifier = static_cast<std::uint16_t>(sockets.ProcessId() & 0xFFFF);
    const std::uint16_t sequence = NextEchoSequence();
    std::vector<std::uint8_t> request(dataSize + IcmpEcho::RequestOverhead);
    BuildEchoRequest(request.data(), request.size(), identifier, sequence, sockets.TickCount());

    const std::int64_t start = sockets.Counter();
    if (sockets.SendTo(handle, request.data(), request.size(), destination) == Sock::SocketError)
        return 0;
    const bool withIpHeader = sockets.ReceivesIpHeader(handle);
    const std::uint16_t replyIdentifier = sockets.EchoIdentifier(handle, identifier);

    std::vector<std::uint8_t> datagram(kReceiveBufferSize);
    for (int read = 0; read < kMaxDatagrams; ++read) {
        const std::int64_t elapsed = ElapsedMs(start, sockets.Counter(), frequency);
        if (elapsed >= timeoutMs)
            return Fail(sockets, ErrorCode::WsaTimedOut);
        int ready = 0;
        if (!WaitForReadable(sockets, handle, static_cast<std::uint32_t>(timeoutMs - elapsed),
                             ready, stop))
            return 0;
        if (ready == 0)
            return Fail(sockets, ErrorCode::WsaTimedOut);

        std::uint32_t from = 0;
        const int received = sockets.ReceiveFrom(handle, datagram.data(), datagram.size(), from);
        const std::int64_t end = sockets.Counter();
        if (received == Sock::SocketError) {
            const std::uint32_t code = sockets.LastError();
            // Gone before it was read, or too long to be the reply: wait on.
            if (code == ErrorCode::WsaWouldBlock || code == ErrorCode::WsaMessageSize)
                continue;
            return 0;
        }
        if (ValidateEchoReply(datagram.data(), static_cast<std::size_t>(received), withIpHeader,
                              replyIdentifier, sequence)) {
            result.replyAddress = from;
            result.roundTripMs = static_cast<std::uint32_t>(ElapsedMs(start, end, frequency));
            return 1;
        }
    }
    return Fail(sockets, ErrorCode::UnexpectedNetError);
}
