#pragma once

class GameCatalog;

// The part of start-up that needs no window: the embedded catalogue, read and parsed.
class AppStartup {
public:
    // False when the catalogue cannot be parsed; the parse has shown its own message.
    static bool LoadCatalog(GameCatalog& catalog);
};
