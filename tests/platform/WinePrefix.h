#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// Real Wine in a prefix of its own: no display, no Mono or Gecko, quiet. Wine makes the prefix
// with the first program it runs there.
class WinePrefix {
public:
    explicit WinePrefix(std::filesystem::path prefix);
    // Stops the prefix's wineserver and removes the folder that Debian's Wine made for it.
    ~WinePrefix();
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    const std::filesystem::path& Path() const { return m_prefix; }
    std::filesystem::path DriveC() const { return m_prefix / "drive_c"; }
    // What Wine and its programs printed, kept beside the prefix.
    std::string Log() const;
    // How a Windows program there names a file of this system: through drive Z:, the root.
    static std::string WindowsPath(const std::filesystem::path& path);

    // Runs a Wine program to its end; returns its exit code, or -1 on a time-out.
    int Wine(const std::vector<std::string>& arguments,
             std::map<std::string, std::string> environment = {}) const;
    int Server(const std::vector<std::string>& arguments,
               std::map<std::string, std::string> environment = {}) const;

private:
    int Run(const std::vector<std::string>& command,
            std::map<std::string, std::string> environment) const;
    std::string LogPath() const { return m_prefix.string() + ".log"; }

    std::filesystem::path m_prefix;
};
