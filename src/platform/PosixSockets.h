#pragma once

#include "net/SocketApi.h"

// The prober's sockets on POSIX. A raw ICMP socket where the process may open one; else the
// unprivileged ICMP datagram socket, which the kernel grants to the groups in
// net.ipv4.ping_group_range; where both are refused, WSAEACCES. Errors become the Windows
// Sockets codes; the last error is the calling thread's own, so one object serves any number
// of threads at once.
class PosixSockets : public SocketApi {
public:
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
    std::int64_t Counter() override;
    std::uint32_t ProcessId() override;
    std::uint32_t TickCount() override;
    std::uint32_t LastError() override;
    void SetLastError(std::uint32_t code) override;
};
