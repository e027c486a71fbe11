#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>

// A name lookup's outcome: the host's first IPv4 address in network byte order, or the Windows
// Sockets code of its failure.
struct HostLookup {
    std::uint32_t address = 0;
    std::uint32_t error = 0;

    // Runs a lookup that nothing can interrupt so that a stop ends the wait for it: once stop
    // is requested first, the outcome is WSAEINTR and the lookup is left to end by itself.
    static HostLookup UnlessStopped(const std::function<HostLookup()>& lookUp,
                                    std::stop_token stop);
};
