#pragma once

#include "data/GatewayHeader.h"
#include "data/ServerList.h"

#include <cstddef>
#include <optional>
#include <string>

// The REG_MULTI_SZ layout of a game's gateway list: the two header strings, then host name,
// time zone and name of each server, each string ending in NUL, and one more NUL.
class GatewayListCodec {
public:
    struct Decoded {
        // Both header strings, when the value held them.
        std::optional<GatewayHeader> Header;
        // The decimal value of the second string (0 when the data does not reach it).
        int Count = 0;
        ServerList Servers;
    };

    static Decoded Decode(const char* data, std::size_t size);

    // A header of its own is written unchanged; without one, "1001" and the count ("%02d").
    static std::string Encode(const std::optional<GatewayHeader>& header,
                              const ServerList& servers);

    // The name of the first server that cannot be stored (an empty host name would end the
    // list), or nothing when all can.
    static const ServerInfo* FindUnstorable(const ServerList& servers);
};
