#include "data/GatewayListCodec.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Decoding never reads past the value, and what decodes re-encodes to a value that decodes
// to the same servers.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact-size copy, so that a read past the end is caught.
    const std::vector<char> value(data, data + size);
    const auto decoded = GatewayListCodec::Decode(value.data(), value.size());
    if (GatewayListCodec::FindUnstorable(decoded.Servers) != nullptr)
        return 0;
    const std::string encoded = GatewayListCodec::Encode(decoded.Header, decoded.Servers);
    const auto again = GatewayListCodec::Decode(encoded.data(), encoded.size());
    if (decoded.Header && again.Count != decoded.Count)
        __builtin_trap();
    if (again.Servers.Size() != decoded.Servers.Size())
        __builtin_trap();
    for (std::size_t i = 0; i < again.Servers.Size(); ++i) {
        const ServerInfo& a = decoded.Servers[i];
        const ServerInfo& b = again.Servers[i];
        if (a.Hostname != b.Hostname || a.TimeZone != b.TimeZone || a.Name != b.Name)
            __builtin_trap();
    }
    return 0;
}
