#include "cli/ServerListWriter.h"

#include "data/CodePageText.h"
#include "data/GameCatalog.h"
#include "data/ServerListFile.h"

#include <set>
#include <sstream>

namespace {
void AppendGame(std::string& file, const std::string& name, const ServerList& servers)
{
    file += "<Game Name=\"" + name + "\">\n";
    // The import passes over a game element without a child: an element that it ignores
    // makes an empty list count, so that it empties the game's list.
    if (servers.Empty())
        file += "<NoServers/>\n";
    for (const ServerInfo& server : servers) {
        file += "<Server Name=\"" + server.Name + "\">\n";
        file += "<Hostname>" + server.Hostname + "</Hostname>\n";
        file += "<TimeZone>" + server.TimeZone + "</TimeZone>\n";
        file += "</Server>\n";
    }
    file += "</Game>\n";
}

std::string Document(const std::string& games)
{
    return "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<Games>\n" + games + "</Games>\n";
}

// Whether the import reads the server back unchanged from a file of its own.
bool ReadsBack(const std::string& gameName, const ServerInfo& server)
{
    ServerList one;
    one.AddServer(server.Name, server.TimeZone, server.Hostname);
    std::string games;
    AppendGame(games, gameName, one);
    std::stringstream stream(std::ios::in | std::ios::out);
    GameCatalog read;
    if (!ReadServerListText(Document(games), stream) || !read.Parse(stream) || read.Size() != 1)
        return false;
    const ServerList& servers = read[0].Servers;
    return read[0].Name == gameName && servers.Size() == 1 && servers[0].Name == server.Name &&
           servers[0].Hostname == server.Hostname && servers[0].TimeZone == server.TimeZone;
}

// Why the import would read the server back otherwise.
std::string Reason(const ServerInfo& server)
{
    const struct {
        const std::string& text;
        const char* field;
        char forbidden;
    } fields[] = {
        {server.Name, "name", '>'},
        {server.Hostname, "host name", '<'},
        {server.TimeZone, "time zone", '<'},
    };
    for (const auto& field : fields) {
        if (field.text.find(field.forbidden) != std::string::npos)
            return std::string("its ") + field.field + " holds '" + field.forbidden +
                   "', which ends the tag it stands in";
        if (field.text.find("\r\n") != std::string::npos)
            return std::string("its ") + field.field +
                   " holds a carriage return before a line break, which the import reads as "
                   "a line break alone";
    }
    return "the import would read it back otherwise";
}
} // namespace

bool ServerListWriter::Write(const std::vector<const GameInfo*>& games, std::string& file,
                             std::string* problem)
{
    std::string body;
    for (const GameInfo* game : games) {
        std::set<std::string> names;
        for (const ServerInfo& server : game->Servers) {
            const std::string label =
                "The server '" + CodePageText::Printable(server.Name) + "' of " + game->Name;
            if (!names.insert(server.Name).second) {
                if (problem != nullptr)
                    *problem = label + " is in the list twice; the import would merge the two "
                                       "into the first.";
                return false;
            }
            if (!ReadsBack(game->Name, server)) {
                if (problem != nullptr)
                    *problem =
                        label + " cannot be written to a server list file: " + Reason(server) + ".";
                return false;
            }
        }
        AppendGame(body, game->Name, game->Servers);
    }
    file = Document(body);
    return true;
}
