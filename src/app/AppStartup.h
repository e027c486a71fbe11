#pragma once

#include <string>

class GameCatalog;

// The part of start-up that needs no window: the embedded catalogue, read and parsed.
class AppStartup {
public:
    // False when the catalogue cannot be parsed; error then holds the parse's message.
    static bool LoadCatalog(GameCatalog& catalog, std::string* error = nullptr);
};
