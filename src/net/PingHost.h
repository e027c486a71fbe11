#pragma once

#include "net/SocketApi.h"

#include <cstdint>
#include <stop_token>
#include <string>

// Filled by a successful PingHost.
struct PingResult {
    // Source of the reply, in network byte order.
    std::uint32_t replyAddress = 0;
    // From sending the request to the reply's arrival, in whole milliseconds.
    std::uint32_t roundTripMs = 0;
};

// One ICMP echo exchange with host (a dotted IPv4 address, or a name for the resolver). Reads
// until the time-out, ignoring every datagram that is not the reply to its own request. 1 on
// success; 0 on failure, with the reason as the sockets' last error: WSAETIMEDOUT when no reply
// came, WSAEINTR once stop is requested, else the code of the call that failed. An empty
// localAddress binds nothing.
int PingHost(SocketApi& sockets, const std::string& host, PingResult& result,
             std::uint8_t timeToLive, std::uint32_t timeoutMs, std::uint32_t dataSize,
             std::uint8_t typeOfService, std::uint32_t dontFragment,
             const std::string& localAddress = {}, std::stop_token stop = {});

// 0 when the wait failed; else 1, with ready 1 when the socket became readable in time.
int WaitForReadable(SocketApi& sockets, SocketHandle socket, std::uint32_t timeoutMs, int& ready,
                    std::stop_token stop = {});

// Binds the socket to a dotted address or to a host name's first address, port 0: 1 or 0.
int BindLocalAddress(SocketApi& sockets, SocketHandle socket, const std::string& address,
                     std::stop_token stop = {});
