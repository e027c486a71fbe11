#pragma once

#include "platform/WinePrefixFinder.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QSettings;
class RegistryApi;

// The Wine prefixes the program can edit: which one is in effect at start, where to look for
// the others, how to open the registry of one, and the one last used, kept in the settings.
class WinePrefixes {
public:
    using Opener = std::function<std::unique_ptr<RegistryApi>(const std::string& prefixPath)>;

    // commandLine: the folder given with --prefix; winePrefix: $WINEPREFIX; home: the user's
    // home. The settings and what the opener needs must outlive this object.
    WinePrefixes(std::optional<std::string> commandLine, std::optional<std::string> winePrefix,
                 std::string home, QSettings& settings, Opener open);
    // The program's own: $WINEPREFIX and $HOME, and registries that read the prefix's files.
    static WinePrefixes FromEnvironment(std::optional<std::string> commandLine,
                                        QSettings& settings);

    // --prefix, else $WINEPREFIX, else the prefix last used while it still is one, else
    // ~/.wine.
    std::string InEffect() const;
    // Where discovery looks: the home, and the places above by name.
    WinePrefixFinder::Places Places() const;
    std::optional<std::string> LastUsed() const;
    void Remember(const std::string& prefixPath);
    std::unique_ptr<RegistryApi> Open(const std::string& prefixPath) const;
    const std::string& Home() const { return m_home; }
    // The path as it is shown in short: ~ for the home.
    std::string Shown(const std::string& prefixPath) const { return Shorten(prefixPath, m_home); }
    static std::string Shorten(const std::string& path, const std::string& home);

private:
    std::optional<std::string> m_commandLine;
    std::optional<std::string> m_winePrefix;
    std::string m_home;
    QSettings& m_settings;
    Opener m_open;
};
