// Probes one host as ServerInfo::Ping does and prints the outcome, one "key=value" a line:
// answered, ping and status. For the tests that ping as another user, on Linux and, built for
// Windows, under Wine.
#include "data/ServerInfo.h"

#ifdef _WIN32
#include "platform/WinSockets.h"
using Sockets = WinSockets;
#else
#include "platform/PosixSockets.h"
using Sockets = PosixSockets;
#endif

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: net_probe_tool HOST TIMEOUT_MS\n";
        return 2;
    }
    Sockets sockets;
    ServerInfo server("probe", "0", argv[1]);
    const bool answered =
        server.Ping(sockets, sockets.ErrorTexts(),
                    static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)));
    std::cout << "answered=" << answered << "\nping=" << server.PingTime
              << "\nstatus=" << server.Status << "\n";
    return 0;
}
