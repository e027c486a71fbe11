#pragma once

#include <string>

// One Battle.net gateway. Texts are 8-bit, in the ANSI code page of the games.
struct ServerInfo {
    ServerInfo() = default;
    explicit ServerInfo(std::string name);
    ServerInfo(std::string name, std::string timeZone, std::string hostname);

    std::string Hostname;
    std::string Name;
    std::string TimeZone;
    std::string PingTime;
    std::string Status;
};
