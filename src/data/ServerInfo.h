#pragma once

#include <cstdint>
#include <stop_token>
#include <string>

class ErrorTextSource;
class SocketApi;

// One Battle.net gateway. Texts are 8-bit, in the ANSI code page of the games.
struct ServerInfo {
    static constexpr std::uint32_t PingTimeoutMs = 5000;

    ServerInfo() = default;
    explicit ServerInfo(std::string name);
    ServerInfo(std::string name, std::string timeZone, std::string hostname);

    // Sends one ICMP echo request to Hostname and writes the outcome: PingTime the round trip
    // in milliseconds, or empty; Status empty, or the system's text for the failure. An empty
    // host name, or sockets that cannot start, keep Status as it was. True when the server
    // answered; failure, when given, receives what went wrong.
    bool Ping(SocketApi& sockets, const ErrorTextSource& texts,
              std::uint32_t timeoutMs = PingTimeoutMs, std::stop_token stop = {},
              std::string* failure = nullptr);

    std::string Hostname;
    std::string Name;
    std::string TimeZone;
    std::string PingTime;
    std::string Status;
};
