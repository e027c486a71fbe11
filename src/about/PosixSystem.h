#pragma once

#include <optional>
#include <string>

// What a POSIX system tells of itself: its os-release file and uname.
struct PosixSystem {
    struct Kernel {
        std::string SystemName;
        std::string Release;
        std::string Machine;
    };

    // The text of the os-release file; nullopt when none could be read.
    std::optional<std::string> OsRelease;
    // nullopt when uname failed.
    std::optional<Kernel> Uname;

    // The About box's line for the system: the distribution's name, then the kernel with its
    // version number, as in "Debian GNU/Linux 12 (bookworm), Linux 6.1.0 x86_64" for release
    // "6.1.0-18-amd64"; either part alone when the other tells nothing, and "Unknown system
    // version" when neither does. UTF-8, on one line.
    std::string Describe() const;
};
