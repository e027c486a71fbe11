#pragma once

#include <string>
#include <vector>

struct GameInfo;

// Writes server list files that the import reads back to the same lists: one tag per line,
// texts in the lists' code page byte for byte, since the import decodes no entities.
class ServerListWriter {
public:
    // The file for the lists of these games. False when a server cannot be carried by such a
    // file; problem then says which and why, in UTF-8.
    static bool Write(const std::vector<const GameInfo*>& games, std::string& file,
                      std::string* problem = nullptr);
};
