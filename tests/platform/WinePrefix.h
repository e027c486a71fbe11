#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// Real Wine in a prefix of its own: no display, no Mono or Gecko, quiet. The programs are the
// ones the build found (PORTICO_WINE, PORTICO_WINESERVER); Available() says whether it did.
class WinePrefix {
public:
    explicit WinePrefix(std::filesystem::path prefix);
    // Stops the prefix's wineserver, removes the folder that Debian's Wine made for it and the
    // logs.
    ~WinePrefix();
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    static bool Available();

    const std::filesystem::path& Path() const { return m_prefix; }
    std::filesystem::path DriveC() const { return m_prefix / "drive_c"; }
    // How a Windows program there names a file of this system: through drive Z:, the root.
    static std::string WindowsPath(const std::filesystem::path& path);

    // Runs a Wine program to its end; returns its exit code, or -1 on a time-out. Its output
    // goes to a log beside the prefix, or into output when asked for.
    int Wine(const std::vector<std::string>& arguments,
             std::map<std::string, std::string> environment = {},
             std::string* output = nullptr) const;
    int Server(const std::vector<std::string>& arguments,
               std::map<std::string, std::string> environment = {}) const;

    // The data of one value in a file of `wine reg export` (UTF-16LE, CR LF, hex(7) lists).
    static std::string ExportedData(const std::filesystem::path& file,
                                    const std::string& valueName);

private:
    int Run(const std::vector<std::string>& command, std::map<std::string, std::string> environment,
            std::string* output) const;

    std::filesystem::path m_prefix;
};
