#include "platform/PosixSockets.h"

#include "data/ErrorCodes.h"
#include "platform/HostLookup.h"
#include "platform/SocketErrors.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>

namespace {
using Clock = std::chrono::steady_clock;

thread_local std::uint32_t t_lastError = 0;

int Fd(SocketHandle socket)
{
    return static_cast<int>(socket);
}

sockaddr_in Ipv4(std::uint32_t address)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = 0;
    result.sin_addr.s_addr = address;
    return result;
}

HostLookup Resolve(const std::string& name)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* list = nullptr;
    const int code = getaddrinfo(name.c_str(), nullptr, &hints, &list);
    if (code != 0)
        return {0, SocketErrors::FromAddrInfo(code, errno)};
    HostLookup result;
    result.address = reinterpret_cast<const sockaddr_in*>(list->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(list);
    return result;
}

class UniqueFd {
public:
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return m_fd; }

private:
    int m_fd;
};

int Failure(int error)
{
    t_lastError = SocketErrors::FromErrno(error);
    return Sock::SocketError;
}

bool IsDatagramSocket(SocketHandle socket)
{
    int type = 0;
    socklen_t size = sizeof type;
    return getsockopt(Fd(socket), SOL_SOCKET, SO_TYPE, &type, &size) == 0 && type == SOCK_DGRAM;
}
} // namespace

int PosixSockets::Startup(std::uint16_t)
{
    return 0;
}

void PosixSockets::Cleanup()
{
}

std::uint32_t PosixSockets::ParseAddress(const std::string& text)
{
    return inet_addr(text.c_str());
}

bool PosixSockets::ResolveHost(const std::string& name, std::uint32_t& address,
                               std::stop_token stop)
{
    const HostLookup lookup = HostLookup::UnlessStopped([name] { return Resolve(name); }, stop);
    if (lookup.error != 0) {
        t_lastError = lookup.error;
        return false;
    }
    address = lookup.address;
    return true;
}

SocketHandle PosixSockets::OpenIcmpSocket()
{
    int fd = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd >= 0)
        return fd;
    int error = errno;
    if (error == EPERM || error == EACCES) {
        fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd >= 0)
            return fd;
        // Without ping sockets in the kernel, the refused raw socket is what the user can mend.
        if (errno != EPROTONOSUPPORT && errno != ESOCKTNOSUPPORT && errno != EAFNOSUPPORT)
            error = errno;
    }
    Failure(error);
    return Sock::InvalidSocket;
}

bool PosixSockets::ReceivesIpHeader(SocketHandle socket)
{
    return !IsDatagramSocket(socket);
}

std::uint16_t PosixSockets::EchoIdentifier(SocketHandle socket, std::uint16_t requested)
{
    if (!IsDatagramSocket(socket))
        return requested;
    // The kernel writes the socket's port into the identifier field, in network order.
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (getsockname(Fd(socket), reinterpret_cast<sockaddr*>(&local), &size) != 0)
        return requested;
    std::uint16_t identifier = 0;
    std::memcpy(&identifier, &local.sin_port, sizeof identifier);
    return identifier;
}

int PosixSockets::SetIpOption(SocketHandle socket, IpOption option, std::uint32_t value)
{
    int name = 0;
    int setting = static_cast<int>(value);
    switch (option) {
    case IpOption::TimeToLive:
        name = IP_TTL;
        break;
    case IpOption::TypeOfService:
        name = IP_TOS;
        break;
    case IpOption::DontFragment:
        name = IP_MTU_DISCOVER;
        setting = value != 0 ? IP_PMTUDISC_DO : IP_PMTUDISC_DONT;
        break;
    }
    if (setsockopt(Fd(socket), IPPROTO_IP, name, &setting, sizeof setting) != 0)
        return Failure(errno);
    return 0;
}

int PosixSockets::Bind(SocketHandle socket, std::uint32_t address)
{
    const sockaddr_in local = Ipv4(address);
    if (bind(Fd(socket), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        return Failure(errno);
    return 0;
}

int PosixSockets::SendTo(SocketHandle socket, const std::uint8_t* data, std::size_t length,
                         std::uint32_t address)
{
    const sockaddr_in destination = Ipv4(address);
    const ssize_t sent =
        sendto(Fd(socket), data, length, 0, reinterpret_cast<const sockaddr*>(&destination),
               sizeof destination);
    if (sent < 0)
        return Failure(errno);
    return static_cast<int>(sent);
}

int PosixSockets::WaitReadable(SocketHandle socket, std::uint32_t timeoutMs, std::stop_token stop)
{
    // A stop request wakes the wait through an event counter beside the socket.
    const UniqueFd wake(stop.stop_possible() ? eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK) : -1);
    if (stop.stop_possible() && wake.Get() < 0)
        return Failure(errno);
    const std::stop_callback onStop(stop, [fd = wake.Get()] {
        const std::uint64_t one = 1;
        if (write(fd, &one, sizeof one) < 0)
            return; // the counter is already set
    });

    pollfd fds[2] = {{Fd(socket), POLLIN, 0}, {wake.Get(), POLLIN, 0}};
    const nfds_t count = wake.Get() >= 0 ? 2 : 1;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int ready = 0;
    // A signal breaks the wait off early; the deadline stays.
    do {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        ready = poll(fds, count, static_cast<int>(std::clamp<decltype(left)>(left, 0, INT_MAX)));
    } while (ready < 0 && errno == EINTR && Clock::now() < deadline);
    if (ready < 0 && errno != EINTR)
        return Failure(errno);
    if (stop.stop_requested()) {
        t_lastError = ErrorCode::WsaInterrupted;
        return Sock::SocketError;
    }
    return ready > 0 && fds[0].revents != 0 ? 1 : 0;
}

int PosixSockets::ReceiveFrom(SocketHandle socket, std::uint8_t* buffer, std::size_t length,
                              std::uint32_t& from)
{
    sockaddr_in sender{};
    socklen_t size = sizeof sender;
    const ssize_t received = recvfrom(Fd(socket), buffer, length, MSG_DONTWAIT,
                                      reinterpret_cast<sockaddr*>(&sender), &size);
    if (received < 0)
        return Failure(errno);
    from = sender.sin_addr.s_addr;
    return static_cast<int>(received);
}

void PosixSockets::Close(SocketHandle socket)
{
    close(Fd(socket));
}

bool PosixSockets::CounterFrequency(std::int64_t& countsPerSecond)
{
    countsPerSecond = Clock::period::den / Clock::period::num;
    return true;
}

std::int64_t PosixSockets::Counter()
{
    return Clock::now().time_since_epoch().count();
}

std::uint32_t PosixSockets::ProcessId()
{
    return static_cast<std::uint32_t>(getpid());
}

std::uint32_t PosixSockets::TickCount()
{
    const auto sinceStart =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(sinceStart.count());
}

std::uint32_t PosixSockets::LastError()
{
    return t_lastError;
}

void PosixSockets::SetLastError(std::uint32_t code)
{
    t_lastError = code;
}
