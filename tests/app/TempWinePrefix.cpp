#include "TempWinePrefix.h"

#include "data/AnsiCodePage.h"
#include "platform/RegistryEscaping.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {
// Where a game's installation key and gateway list live in a 64-bit prefix, as key paths are
// written in the hive files.
struct GameKeys {
    bool InstallInUserHive;
    const char* InstallKey;
    const char* GatewayKey;
    const char* GatewayValue;
};

const GameKeys& KeysOf(TempWinePrefix::Game game)
{
    static const GameKeys starcraft{
        false, "Software\\\\Wow6432Node\\\\Blizzard Entertainment\\\\Starcraft",
        "Software\\\\Battle.net\\\\Configuration", "Battle.net gateways"};
    static const GameKeys diablo{
        false, "Software\\\\Wow6432Node\\\\Blizzard Entertainment\\\\Diablo II",
        "Software\\\\Battle.net\\\\Configuration", "Diablo II Battle.net gateways"};
    static const GameKeys warcraft{true, "Software\\\\Blizzard Entertainment\\\\Warcraft III",
                                   "Software\\\\Blizzard Entertainment\\\\Warcraft III",
                                   "Battle.net gateways"};
    switch (game) {
    case TempWinePrefix::Game::Starcraft:
        return starcraft;
    case TempWinePrefix::Game::Diablo:
        return diablo;
    case TempWinePrefix::Game::Warcraft:
        break;
    }
    return warcraft;
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
    setenv("WINEPREFIX", Path().c_str(), 1);
    setenv("HOME", Path().c_str(), 1);
}

TempWinePrefix::~TempWinePrefix()
{
    SetVariable("WINEPREFIX", m_savedPrefix);
    SetVariable("HOME", m_savedHome);
}

void TempWinePrefix::Install(Game game)
{
    const GameKeys& keys = KeysOf(game);
    (keys.InstallInUserHive ? m_user : m_system)[keys.InstallKey]["Program"] =
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
    const GameKeys& keys = KeysOf(game);
    std::string text = "str(7):\"";
    RegistryEscaping::Append(text, AnsiCodePage::ToUtf16(data), RegistryEscaping::Context::Quoted);
    m_user[keys.GatewayKey][keys.GatewayValue] = text + "\"";
}

void TempWinePrefix::Write() const
{
    WriteTo(Path());
}

void TempWinePrefix::WriteTo(const std::string& folder) const
{
    const auto hive = [](const char* root, const std::map<std::string, Values>& keys) {
        std::ostringstream out;
        out << "WINE REGISTRY Version 2\n;; All keys relative to " << root << "\n\n#arch=win64\n";
        for (const auto& [key, values] : keys) {
            out << "\n[" << key << "] 1796855082\n#time=1dd882c1614899a\n";
            for (const auto& [name, data] : values)
                out << '"' << name << "\"=" << data << '\n';
        }
        return out.str();
    };
    const auto write = [&folder](const char* name, const std::string& bytes) {
        std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
        out << bytes;
    };
    write("user.reg", hive("REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000", m_user));
    write("system.reg", hive("REGISTRY\\\\Machine", m_system));
}

std::string TempWinePrefix::ReadFile(const std::string& name) const
{
    std::ifstream in(m_dir.Path() / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
