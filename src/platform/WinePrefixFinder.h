#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

// Finds the Wine prefixes of a user: the folders that hold both system.reg and user.reg, in the
// places where Wine and the game launchers make them. Only the folders that each place names
// are looked at, never deeper; a folder or file that cannot be read is passed over.
class WinePrefixFinder {
public:
    using Clock = std::chrono::steady_clock;

    struct Places {
        // The user's home: the launchers keep their prefixes and configurations below it.
        std::string Home;
        // Prefixes named elsewhere (command line, environment, the one last used), each with
        // the label to show when no launcher claims it.
        std::vector<std::pair<std::string, std::string>> Named;
    };

    struct Found {
        // Absolute, with every symbolic link resolved.
        std::string Path;
        // The launcher that made it, or the label of the place that named it.
        std::string Launcher;
    };

    struct Result {
        std::vector<Found> Prefixes;
        // False when the deadline or a stop request ended the search early.
        bool Complete = true;
    };

    // Each prefix once, in the order found: the named places first, then the launchers' places;
    // a prefix that a launcher made is labelled with the launcher.
    // Stops at the deadline, or as soon as *stop becomes true.
    static Result Find(const Places& places, Clock::time_point deadline,
                       const std::atomic<bool>* stop = nullptr);

    // Whether the folder holds both registry files of a prefix.
    static bool IsPrefix(const std::string& path);
};
