#pragma once

#include <optional>
#include <string>
#include <vector>

// Finds the wineserver of a prefix. Its folder is named server-<dev>-<inode> after the
// prefix folder and lives in /tmp/.wine-<uid> (upstream Wine) or in $TMPDIR/wine-XXXXXX, the
// name of which the prefix's "wineserver" file holds (Debian), whatever TMPDIR the server had.
// A running server holds a lock on the folder's "lock" file and is found there, or through
// the working folder of its process.
class WineServerDetector {
public:
    // The locks that a starting wineserver of the prefix would take, held by us: while held,
    // no server of the prefix can start. Released when destroyed.
    class Hold {
    public:
        Hold() = default;
        Hold(Hold&& other) noexcept;
        Hold& operator=(Hold&& other) noexcept;
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        ~Hold();

    private:
        friend class WineServerDetector;
        std::vector<int> m_fds;
    };

    // Empty when a wineserver runs for the prefix; otherwise the held locks.
    static std::optional<Hold> Acquire(const std::string& prefixPath);
    static bool IsRunning(const std::string& prefixPath);

    // The folders where a server of the prefix would live, whether or not they exist.
    static std::vector<std::string> ServerFolders(const std::string& prefixPath);
};
