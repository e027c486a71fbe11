#include "platform/WinSockets.h"

#include "data/ErrorCodes.h"
#include "platform/CallUnlessStopped.h"
#include "platform/HostLookup.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <climits>

namespace {
SOCKET Native(SocketHandle socket)
{
    return static_cast<SOCKET>(socket);
}

sockaddr_in Ipv4(std::uint32_t address)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = 0;
    result.sin_addr.s_addr = address;
    return result;
}

int Failure(DWORD code)
{
    ::SetLastError(code);
    return Sock::SocketError;
}

// getaddrinfo answers with Windows Sockets codes (WSAHOST_NOT_FOUND, WSANO_DATA, ...). It runs
// under a start-up of its own, since a lookup that a stop leaves behind may outlive the
// prober's clean-up.
HostLookup Resolve(const std::string& name)
{
    WSADATA data{};
    if (const int code = WSAStartup(MAKEWORD(2, 2), &data))
        return {0, static_cast<std::uint32_t>(code)};
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* list = nullptr;
    HostLookup result;
    if (const int code = getaddrinfo(name.c_str(), nullptr, &hints, &list)) {
        result.error = static_cast<std::uint32_t>(code);
    } else {
        result.address = reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr.s_addr;
        freeaddrinfo(list);
    }
    WSACleanup();
    return result;
}

class UniqueEvent {
public:
    explicit UniqueEvent(HANDLE event) : m_event(event) {}
    ~UniqueEvent()
    {
        if (m_event)
            CloseHandle(m_event);
    }
    UniqueEvent(const UniqueEvent&) = delete;
    UniqueEvent& operator=(const UniqueEvent&) = delete;

    HANDLE Get() const { return m_event; }

private:
    HANDLE m_event;
};
} // namespace

int WinSockets::Startup(std::uint16_t version)
{
    WSADATA data{};
    return WSAStartup(version, &data);
}

void WinSockets::Cleanup()
{
    WSACleanup();
}

std::uint32_t WinSockets::ParseAddress(const std::string& text)
{
    return inet_addr(text.c_str());
}

bool WinSockets::ResolveHost(const std::string& name, std::uint32_t& address, std::stop_token stop)
{
    const HostLookup lookup = HostLookup::UnlessStopped([name] { return Resolve(name); }, stop);
    if (lookup.error != 0) {
        Failure(lookup.error);
        return false;
    }
    address = lookup.address;
    return true;
}

SocketHandle WinSockets::OpenIcmpSocket()
{
    const SOCKET socket = WSASocketA(AF_INET, SOCK_RAW, IPPROTO_ICMP, nullptr, 0, 0);
    if (socket == INVALID_SOCKET) {
        Failure(WSAGetLastError());
        return Sock::InvalidSocket;
    }
    u_long nonBlocking = 1;
    if (ioctlsocket(socket, FIONBIO, &nonBlocking) == SOCKET_ERROR) {
        const DWORD code = WSAGetLastError();
        closesocket(socket);
        Failure(code);
        return Sock::InvalidSocket;
    }
    return static_cast<SocketHandle>(socket);
}

bool WinSockets::ReceivesIpHeader(SocketHandle)
{
    return true;
}

std::uint16_t WinSockets::EchoIdentifier(SocketHandle, std::uint16_t requested)
{
    return requested;
}

int WinSockets::SetIpOption(SocketHandle socket, IpOption option, std::uint32_t value)
{
    int name = 0;
    switch (option) {
    case IpOption::TimeToLive:
        name = IP_TTL;
        break;
    case IpOption::TypeOfService:
        name = IP_TOS;
        break;
    case IpOption::DontFragment:
        name = IP_DONTFRAGMENT;
        break;
    }
    const DWORD setting = value;
    if (setsockopt(Native(socket), IPPROTO_IP, name, reinterpret_cast<const char*>(&setting),
                   sizeof setting) == SOCKET_ERROR)
        return Failure(WSAGetLastError());
    return 0;
}

int WinSockets::Bind(SocketHandle socket, std::uint32_t address)
{
    const sockaddr_in local = Ipv4(address);
    if (bind(Native(socket), reinterpret_cast<const sockaddr*>(&local), sizeof local) ==
        SOCKET_ERROR)
        return Failure(WSAGetLastError());
    return 0;
}

int WinSockets::SendTo(SocketHandle socket, const std::uint8_t* data, std::size_t length,
                       std::uint32_t address)
{
    if (length > INT_MAX)
        return Failure(ErrorCode::WsaMessageSize);
    const sockaddr_in destination = Ipv4(address);
    const int sent =
        sendto(Native(socket), reinterpret_cast<const char*>(data), static_cast<int>(length), 0,
               reinterpret_cast<const sockaddr*>(&destination), sizeof destination);
    if (sent == SOCKET_ERROR)
        return Failure(WSAGetLastError());
    return sent;
}

int WinSockets::WaitReadable(SocketHandle socket, std::uint32_t timeoutMs, std::stop_token stop)
{
    if (stop.stop_requested())
        return Failure(ErrorCode::WsaInterrupted);
    // A datagram already waiting sets the socket's event at once. Stop is looked for between
    // slices of the wait (see StopCheckInterval).
    const UniqueEvent readable(WSACreateEvent());
    if (!readable.Get())
        return Failure(WSAGetLastError());
    if (WSAEventSelect(Native(socket), readable.Get(), FD_READ) == SOCKET_ERROR)
        return Failure(WSAGetLastError());

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    DWORD outcome = WAIT_TIMEOUT;
    DWORD waitError = 0;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        // INFINITE would never end.
        auto slice = std::clamp<std::chrono::milliseconds>(left, std::chrono::milliseconds(0),
                                                           std::chrono::milliseconds(INFINITE - 1));
        if (stop.stop_possible())
            slice = std::min(slice, StopCheckInterval);
        outcome = WaitForSingleObject(readable.Get(), static_cast<DWORD>(slice.count()));
        waitError = GetLastError();
        if (outcome != WAIT_TIMEOUT || slice >= left || stop.stop_requested())
            break;
    }
    WSAEventSelect(Native(socket), nullptr, 0);
    if (stop.stop_requested())
        return Failure(ErrorCode::WsaInterrupted);
    if (outcome == WAIT_OBJECT_0)
        return 1;
    if (outcome == WAIT_TIMEOUT)
        return 0;
    return Failure(waitError);
}

int WinSockets::ReceiveFrom(SocketHandle socket, std::uint8_t* buffer, std::size_t length,
                            std::uint32_t& from)
{
    sockaddr_in sender{};
    int size = sizeof sender;
    const int capacity = static_cast<int>(std::min<std::size_t>(length, INT_MAX));
    int received = recvfrom(Native(socket), reinterpret_cast<char*>(buffer), capacity, 0,
                            reinterpret_cast<sockaddr*>(&sender), &size);
    if (received == SOCKET_ERROR) {
        const DWORD code = WSAGetLastError();
        // A longer datagram fills the buffer and the rest of it is dropped, as on POSIX.
        if (code != WSAEMSGSIZE)
            return Failure(code);
        received = capacity;
    }
    from = sender.sin_addr.s_addr;
    return received;
}

void WinSockets::Close(SocketHandle socket)
{
    closesocket(Native(socket));
}

bool WinSockets::CounterFrequency(std::int64_t& countsPerSecond)
{
    LARGE_INTEGER frequency{};
    if (!QueryPerformanceFrequency(&frequency))
        return false;
    countsPerSecond = frequency.QuadPart;
    return true;
}

std::int64_t WinSockets::Counter()
{
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    return count.QuadPart;
}

std::uint32_t WinSockets::ProcessId()
{
    return GetCurrentProcessId();
}

std::uint32_t WinSockets::TickCount()
{
    return GetTickCount();
}

std::uint32_t WinSockets::LastError()
{
    return GetLastError();
}

void WinSockets::SetLastError(std::uint32_t code)
{
    ::SetLastError(code);
}
