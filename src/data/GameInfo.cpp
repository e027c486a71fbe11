#include "data/GameInfo.h"

#include "data/ErrorCodes.h"
#include "data/GatewayListCodec.h"
#include "data/RegistryError.h"
#include "data/Util.h"

#include <stdexcept>
#include <utility>

GameInfo::GameInfo(std::string name) : Name(std::move(name))
{
}

int GameInfo::LoadGateways(RegistryApi& registry)
{
    Servers.Clear();
    GatewayListHeader.reset();
    std::uint32_t size = 0;
    const std::string value = Util::ReadRegistryValue(registry, BnetConfigKey, BnetConfigValueName,
                                                      "", size, BnetConfigRoot);
    if (size == 0)
        return 0;

    GatewayListCodec::Decoded decoded = GatewayListCodec::Decode(value.data(), size);
    Servers = std::move(decoded.Servers);
    GatewayListHeader = std::move(decoded.Header);
    return decoded.Count;
}

std::string GameInfo::StorageProblem() const
{
    const ServerInfo* server = GatewayListCodec::FindUnstorable(Servers);
    if (server == nullptr)
        return {};
    return server->Hostname.empty()
               ? "The server \"" + server->Name +
                     "\" has no host name. A server without one would end the list and lose "
                     "every server after it."
               : "The server \"" + server->Name +
                     "\" holds a NUL character, which the list cannot store.";
}

bool GameInfo::SaveGateways(RegistryApi& registry, std::string* reason, RegStatus* status) const
{
    if (std::string problem = StorageProblem(); !problem.empty()) {
        if (status != nullptr)
            *status = ErrorCode::InvalidParameter;
        if (reason != nullptr)
            *reason = std::move(problem);
        return false;
    }
    try {
        Util::WriteRegistryValue(registry, BnetConfigKey, BnetConfigValueName,
                                 GatewayListCodec::Encode(GatewayListHeader, Servers),
                                 BnetConfigRoot);
    } catch (const std::exception& e) {
        if (reason != nullptr)
            *reason = e.what();
        if (status != nullptr) {
            const auto* registryError = dynamic_cast<const RegistryError*>(&e);
            *status = registryError != nullptr ? registryError->Code()
                                               : static_cast<RegStatus>(ErrorCode::CantWrite);
        }
        return false;
    }
    return true;
}

bool GameInfo::IsInstalled(RegistryApi& registry) const
{
    try {
        std::uint32_t size = 0;
        Util::ReadRegistryValue(registry, ExeLocationKey, ExeLocationValueName, "", size,
                                ExeLocationRoot);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
