#include "app/WinePrefixes.h"

#include "data/RegistryApi.h"
#include "platform/WineRegistry.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace {
const QString kLastUsed = QStringLiteral("wine/lastPrefix");
} // namespace

WinePrefixes::WinePrefixes(std::optional<std::string> commandLine,
                           std::optional<std::string> winePrefix, std::string home,
                           QSettings& settings, Opener open)
    : m_commandLine(std::move(commandLine)), m_winePrefix(std::move(winePrefix)),
      m_home(std::move(home)), m_settings(settings), m_open(std::move(open))
{
    if (m_winePrefix && m_winePrefix->empty())
        m_winePrefix.reset();
}

WinePrefixes WinePrefixes::FromEnvironment(std::optional<std::string> commandLine,
                                           QSettings& settings)
{
    std::optional<std::string> winePrefix;
    if (qEnvironmentVariableIsSet("WINEPREFIX"))
        winePrefix = qgetenv("WINEPREFIX").toStdString();
    return WinePrefixes(
        std::move(commandLine), std::move(winePrefix),
        QFile::encodeName(QDir::homePath()).toStdString(), settings,
        [](const std::string& path) { return std::make_unique<WineRegistry>(path); });
}

std::string WinePrefixes::InEffect() const
{
    if (m_commandLine)
        return *m_commandLine;
    if (m_winePrefix)
        return *m_winePrefix;
    if (const std::optional<std::string> last = LastUsed())
        return *last;
    return m_home + "/.wine";
}

WinePrefixFinder::Places WinePrefixes::Places() const
{
    WinePrefixFinder::Places places{m_home, {}};
    if (m_commandLine)
        places.Named.emplace_back(*m_commandLine, "Command line");
    if (m_winePrefix)
        places.Named.emplace_back(*m_winePrefix, "WINEPREFIX");
    if (const std::optional<std::string> last = LastUsed())
        places.Named.emplace_back(*last, "Last used");
    return places;
}

std::optional<std::string> WinePrefixes::LastUsed() const
{
    const QByteArray last = m_settings.value(kLastUsed).toByteArray();
    if (last.isEmpty() || !WinePrefixFinder::IsPrefix(last.toStdString()))
        return std::nullopt;
    return last.toStdString();
}

void WinePrefixes::Remember(const std::string& prefixPath)
{
    // The bytes of the path as the file system has them, whatever the locale. A start on the
    // same prefix as last time writes nothing.
    const QByteArray path = QByteArray::fromStdString(prefixPath);
    if (m_settings.value(kLastUsed).toByteArray() == path)
        return;
    m_settings.setValue(kLastUsed, path);
    m_settings.sync();
}

std::unique_ptr<RegistryApi> WinePrefixes::Open(const std::string& prefixPath) const
{
    return m_open(prefixPath);
}

std::string WinePrefixes::Shorten(const std::string& path, const std::string& home)
{
    if (!home.empty() && home != "/" && path.rfind(home + "/", 0) == 0)
        return "~" + path.substr(home.size());
    return path;
}
