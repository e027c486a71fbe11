#pragma once

#include <string>

// The first two strings of a game's gateway list. They belong to the game: the first is the
// list's format version, the second the gateway the game has selected. A list that Portico
// creates gets "1001" and the server count.
struct GatewayHeader {
    std::string FormatVersion;
    std::string SelectedGateway;
};
