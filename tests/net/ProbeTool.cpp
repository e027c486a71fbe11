// Probes one host as ServerInfo::Ping does and prints the outcome, one "key=value" a line:
// answered, ping and status. For the tests that ping as another user.
#include "data/ErrorTextTable.h"
#include "data/ServerInfo.h"
#include "platform/PosixSockets.h"

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: net_probe_tool HOST TIMEOUT_MS\n";
        return 2;
    }
    PosixSockets sockets;
    ErrorTextTable texts;
    ServerInfo server("probe", "0", argv[1]);
    const bool answered =
        server.Ping(sockets, texts, static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)));
    std::cout << "answered=" << answered << "\nping=" << server.PingTime
              << "\nstatus=" << server.Status << "\n";
    return 0;
}
