#pragma once

#include "about/PosixSystem.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Reads what the running POSIX system tells of itself.
class PosixSystemReader {
public:
    // Where os-release files are, in the order they are looked for.
    static std::vector<std::filesystem::path> OsReleasePaths();

    // The text of the first of the files that is a readable regular file, cut after
    // kMaxOsReleaseBytes; nullopt when there is none. Never waits on a FIFO or a device.
    static std::optional<std::string>
    ReadOsRelease(const std::vector<std::filesystem::path>& candidates);
    static constexpr std::size_t kMaxOsReleaseBytes = 64 * 1024;

    // The kernel's name, release and machine from uname; nullopt when it fails.
    static std::optional<PosixSystem::Kernel> RunningKernel();
};
