#include "TempWinePrefix.h"

#include "data/AnsiCodePage.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace {
struct Location {
    bool UserHive;
    const char* Key;
    const char* Value;
};

Location InstallKey(TempWinePrefix::Game game)
{
    switch (game) {
    case TempWinePrefix::Game::Starcraft:
        return {false, "Software\\\\Wow6432Node\\\\Blizzard Entertainment\\\\Starcraft", "Program"};
    case TempWinePrefix::Game::Diablo:
        return {false, "Software\\\\Wow6432Node\\\\Blizzard Entertainment\\\\Diablo II", "Program"};
    case TempWinePrefix::Game::Warcraft:
        break;
    }
    return {true, "Software\\\\Blizzard Entertainment\\\\Warcraft III", "Program"};
}

Location GatewayValue(TempWinePrefix::Game game)
{
    switch (game) {
    case TempWinePrefix::Game::Starcraft:
        return {true, "Software\\\\Battle.net\\\\Configuration", "Battle.net gateways"};
    case TempWinePrefix::Game::Diablo:
        return {true, "Software\\\\Battle.net\\\\Configuration", "Diablo II Battle.net gateways"};
    case TempWinePrefix::Game::Warcraft:
        break;
    }
    return {true, "Software\\\\Blizzard Entertainment\\\\Warcraft III", "Battle.net gateways"};
}

bool IsOctal(char16_t unit)
{
    return unit >= u'0' && unit <= u'7';
}

bool IsHex(char16_t unit)
{
    return (unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'f') ||
           (unit >= u'A' && unit <= u'F');
}

// Wine's escaping of a string's UTF-16 units in a hive file.
std::string Escape(const std::u16string& text)
{
    std::string out;
    char buffer[16];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const char16_t next = i + 1 < text.size() ? text[i + 1] : u'\0';
        const bool hasNext = i + 1 < text.size();
        if (unit == u'\\' || unit == u'"') {
            out += '\\';
            out += static_cast<char>(unit);
        } else if (unit < 0x20) {
            std::snprintf(buffer, sizeof buffer, hasNext && IsOctal(next) ? "\\%03o" : "\\%o",
                          static_cast<unsigned>(unit));
            out += buffer;
        } else if (unit < 0x80) {
            out += static_cast<char>(unit);
        } else {
            std::snprintf(buffer, sizeof buffer, hasNext && IsHex(next) ? "\\x%04x" : "\\x%x",
                          static_cast<unsigned>(unit));
            out += buffer;
        }
    }
    return out;
}

void SetVariable(const char* name, const std::optional<std::string>& value)
{
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

std::optional<std::string> Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}
} // namespace

TempWinePrefix::TempWinePrefix()
    : m_savedPrefix(Variable("WINEPREFIX")), m_savedHome(Variable("HOME"))
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "portico-prefix-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary Wine prefix");
    m_path = pattern;
    setenv("WINEPREFIX", m_path.c_str(), 1);
    setenv("HOME", m_path.c_str(), 1);
}

TempWinePrefix::~TempWinePrefix()
{
    SetVariable("WINEPREFIX", m_savedPrefix);
    SetVariable("HOME", m_savedHome);
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void TempWinePrefix::Install(Game game)
{
    const Location location = InstallKey(game);
    (location.UserHive ? m_user : m_system)[location.Key][location.Value] =
        "\"C:\\\\Games\\\\game.exe\"";
}

void TempWinePrefix::SetGateways(Game game, const std::vector<Gateway>& servers)
{
    std::string data = "1001";
    data += '\0';
    data += (servers.size() < 10 ? "0" : "") + std::to_string(servers.size());
    data += '\0';
    for (const Gateway& server : servers) {
        for (const std::string* text : {&server.Hostname, &server.TimeZone, &server.Name}) {
            data += *text;
            data += '\0';
        }
    }
    const Location location = GatewayValue(game);
    (location.UserHive ? m_user : m_system)[location.Key][location.Value] =
        "str(7):\"" + Escape(AnsiCodePage::ToUtf16(data)) + "\"";
}

void TempWinePrefix::Write() const
{
    const auto write = [this](const char* file, const char* root,
                              const std::map<std::string, Values>& keys) {
        std::ofstream out(std::filesystem::path(m_path) / file, std::ios::binary | std::ios::trunc);
        out << "WINE REGISTRY Version 2\n;; All keys relative to " << root << "\n\n#arch=win64\n";
        for (const auto& [key, values] : keys) {
            out << "\n[" << key << "] 1796855082\n#time=1dd882c1614899a\n";
            for (const auto& [name, data] : values)
                out << '"' << name << "\"=" << data << '\n';
        }
        if (!out)
            throw std::runtime_error(std::string("cannot write ") + file);
    };
    write("user.reg", "REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000", m_user);
    write("system.reg", "REGISTRY\\\\Machine", m_system);
}

std::string TempWinePrefix::ReadFile(const std::string& name) const
{
    std::ifstream in(std::filesystem::path(m_path) / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
