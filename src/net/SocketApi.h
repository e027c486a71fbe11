#pragma once

#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>

class ErrorTextSource;

// What the echo prober asks of Windows Sockets 1.1 and of the system's clock, so that POSIX
// sockets, Winsock or a test double can stand behind it. Addresses are IPv4 addresses in
// network byte order, as the socket layer gives them. A call that fails leaves a Windows error
// code (WSAEACCES, WSAHOST_NOT_FOUND, ...) as the calling thread's last error.
using SocketHandle = std::intptr_t;

namespace Sock {
inline constexpr SocketHandle InvalidSocket = -1;
inline constexpr int SocketError = -1;
// inet_addr's answer for a text that is not an address; also the all-ones address.
inline constexpr std::uint32_t AddressNone = 0xFFFFFFFFu;
inline constexpr std::uint16_t Version11 = 0x0101;
} // namespace Sock

// IPPROTO_IP level options, with Winsock's numbers.
enum class IpOption { TypeOfService = 3, TimeToLive = 4, DontFragment = 14 };

class SocketApi {
public:
    virtual ~SocketApi() = default;

    // WSAStartup: 0 when the version is available.
    virtual int Startup(std::uint16_t version) = 0;
    // WSACleanup, after a successful Startup.
    virtual void Cleanup() = 0;

    // inet_addr: the address of a dotted text, else Sock::AddressNone.
    virtual std::uint32_t ParseAddress(const std::string& text) = 0;
    // gethostbyname: the host's first IPv4 address. False with the resolver's code as the last
    // error, or WSAEINTR once stop is requested.
    virtual bool ResolveHost(const std::string& name, std::uint32_t& address,
                             std::stop_token stop) = 0;

    // An IPv4 ICMP socket that can send echo requests: Sock::InvalidSocket on failure.
    virtual SocketHandle OpenIcmpSocket() = 0;
    // Whether datagrams received on the socket begin with their IPv4 header (a raw socket) or
    // with the ICMP message itself.
    virtual bool ReceivesIpHeader(SocketHandle socket) = 0;
    // The identifier that the echo requests sent through the socket carry on the wire, read as
    // the request's own field is written: a raw socket sends requested; a socket that puts its
    // own identifier in (known once it has sent) gives that one.
    virtual std::uint16_t EchoIdentifier(SocketHandle socket, std::uint16_t requested) = 0;
    // setsockopt at IPPROTO_IP: 0, or Sock::SocketError.
    virtual int SetIpOption(SocketHandle socket, IpOption option, std::uint32_t value) = 0;
    // bind to the address, port 0: 0, or Sock::SocketError.
    virtual int Bind(SocketHandle socket, std::uint32_t address) = 0;
    // sendto: the bytes sent, or Sock::SocketError.
    virtual int SendTo(SocketHandle socket, const std::uint8_t* data, std::size_t length,
                       std::uint32_t address) = 0;
    // select on readability: 1 readable, 0 the time ran out, Sock::SocketError on failure
    // (WSAEINTR once stop is requested, at once).
    virtual int WaitReadable(SocketHandle socket, std::uint32_t timeoutMs,
                             std::stop_token stop) = 0;
    // recvfrom without blocking: the bytes received (a longer datagram is cut to length), or
    // Sock::SocketError (WSAEWOULDBLOCK when nothing is waiting).
    virtual int ReceiveFrom(SocketHandle socket, std::uint8_t* buffer, std::size_t length,
                            std::uint32_t& from) = 0;
    // closesocket.
    virtual void Close(SocketHandle socket) = 0;

    // QueryPerformanceFrequency and QueryPerformanceCounter.
    virtual bool CounterFrequency(std::int64_t& countsPerSecond) = 0;
    virtual std::int64_t Counter() = 0;
    // GetCurrentProcessId and GetTickCount.
    virtual std::uint32_t ProcessId() = 0;
    virtual std::uint32_t TickCount() = 0;

    // GetLastError and SetLastError, of the calling thread.
    virtual std::uint32_t LastError() = 0;
    virtual void SetLastError(std::uint32_t code) = 0;

    // FormatMessageA for the codes these calls leave: our own table unless the system behind
    // the sockets has texts of its own.
    virtual const ErrorTextSource& ErrorTexts() const;
};
