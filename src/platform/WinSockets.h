#pragma once

#include "net/SocketApi.h"
#include "platform/Win32ErrorTexts.h"

// The prober's sockets on Windows: Windows Sockets with a raw ICMP socket (which Windows grants
// to administrators, and refuses others with WSAEACCES), the performance counter and the
// system's last error, which is each thread's own. The sockets it opens never block; a wait
// for a reply ends at once when stop is requested.
class WinSockets : public SocketApi {
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
    // Leaves the socket non-blocking, as this layer opens its sockets.
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
    // The system's own texts, from FormatMessageA.
    const ErrorTextSource& ErrorTexts() const override { return m_errorTexts; }

private:
    Win32ErrorTexts m_errorTexts;
};
