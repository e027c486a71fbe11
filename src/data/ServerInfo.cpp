#include "data/ServerInfo.h"

#include "data/Util.h"
#include "net/PingHost.h"

#include <utility>

namespace {
constexpr std::uint8_t kTimeToLive = 51;
constexpr std::uint8_t kTypeOfService = 0;
constexpr std::uint32_t kDataSize = 32;

bool Failed(std::string* failure, std::string description)
{
    if (failure != nullptr)
        *failure = std::move(description);
    return false;
}
} // namespace

ServerInfo::ServerInfo(std::string name) : Name(std::move(name))
{
}

ServerInfo::ServerInfo(std::string name, std::string timeZone, std::string hostname)
    : Hostname(std::move(hostname)), Name(std::move(name)), TimeZone(std::move(timeZone))
{
}

bool ServerInfo::Ping(SocketApi& sockets, const ErrorTextSource& texts, std::uint32_t timeoutMs,
                      std::stop_token stop, std::string* failure)
{
    PingTime.clear();
    if (Hostname.empty())
        return Failed(failure, "hostname must be not null");
    if (sockets.Startup(Sock::Version11) != 0)
        return Failed(failure, "Failed to initialize Winsock 1.1 Stack");

    Status.clear();
    PingResult result;
    const bool answered = PingHost(sockets, Hostname, result, kTimeToLive, timeoutMs, kDataSize,
                                   kTypeOfService, 0, {}, std::move(stop)) == 1;
    if (answered) {
        PingTime = std::to_string(result.roundTripMs);
    } else {
        const std::uint32_t code = sockets.LastError();
        Status = Util::FormatErrorMessage(texts, code);
        // A reason is always worth giving, even for a code without words.
        if (Status.empty())
            Status = "Error " + std::to_string(code) + ".";
    }
    sockets.Cleanup();
    if (!answered)
        return Failed(failure, Status);
    return true;
}
