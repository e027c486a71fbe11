#pragma once

#include "data/GatewayHeader.h"
#include "data/RegistryApi.h"
#include "data/ServerList.h"

#include <cstdint>
#include <optional>
#include <string>

// One game: where it keeps its gateway list and its installation record, and the list.
struct GameInfo {
    GameInfo() = default;
    explicit GameInfo(std::string name);

    // Replaces Servers with the list read from the registry; returns the count string's value.
    // Throws std::runtime_error with the system's text when the key cannot be opened.
    int LoadGateways(RegistryApi& registry);

    // Writes Servers to the registry. On failure returns false and says why in reason
    // (the system's text, or which server cannot be stored) and status (the registry's code,
    // or InvalidParameter for a server that cannot be stored); the registry is then unchanged.
    bool SaveGateways(RegistryApi& registry, std::string* reason = nullptr,
                      RegStatus* status = nullptr) const;

    // Why Servers cannot be written as they are (a server without a host name would end the
    // list, a NUL cannot be stored); empty when they can.
    std::string StorageProblem() const;

    // Whether the installation key can be read.
    bool IsInstalled(RegistryApi& registry) const;

    std::string Name;
    std::string Version;
    std::string Patch;
    std::int32_t ImageIndex = 0;
    RegHandle BnetConfigRoot = 0;
    std::string BnetConfigKey;
    std::string BnetConfigValueName;
    RegHandle ExeLocationRoot = 0;
    std::string ExeLocationKey;
    std::string ExeLocationValueName;
    ServerList Servers;
    // The header of the list last read; none when the value did not exist.
    std::optional<GatewayHeader> GatewayListHeader;
};
