#include "cli/ListFormatter.h"

#include "cli/GameChoice.h"
#include "data/CodePageText.h"
#include "data/GameInfo.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {
std::string JsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        // U+0080 to U+009F, written C2 80 to C2 9F: escaped like the C0 controls.
        const bool c1 =
            byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0;
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += utf8[i];
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F || c1) {
            char escape[8];
            const unsigned unit = c1 ? static_cast<unsigned char>(utf8[++i]) : byte;
            std::snprintf(escape, sizeof escape, "\\u%04X", unit);
            out += escape;
        } else {
            out += utf8[i];
        }
    }
    return out + "\"";
}

std::string Padded(const std::string& text, std::size_t width)
{
    return text + std::string(width - CodePageText::Width(text), ' ');
}
} // namespace

std::string ListFormatter::Text(const std::vector<const GameInfo*>& games)
{
    std::string out;
    for (const GameInfo* game : games) {
        out += GameChoice::Label(*game) + "\n";
        if (game->Servers.Empty()) {
            out += "  (no servers)\n";
            continue;
        }
        std::vector<std::array<std::string, 3>> rows{{"Name", "Host", "Zone"}};
        for (const ServerInfo& server : game->Servers)
            rows.push_back({CodePageText::Printable(server.Name),
                            CodePageText::Printable(server.Hostname),
                            CodePageText::Printable(server.TimeZone)});
        std::array<std::size_t, 2> widths{};
        for (const auto& row : rows) {
            for (std::size_t column = 0; column < widths.size(); ++column)
                widths[column] = std::max(widths[column], CodePageText::Width(row[column]));
        }
        for (const auto& row : rows)
            out += "  " + Padded(row[0], widths[0]) + "  " + Padded(row[1], widths[1]) + "  " +
                   row[2] + "\n";
    }
    return out;
}

std::string ListFormatter::Json(const std::vector<const GameInfo*>& games)
{
    std::string out = "[";
    for (std::size_t g = 0; g < games.size(); ++g) {
        const GameInfo& game = *games[g];
        out += g == 0 ? "\n" : ",\n";
        out += "  {\"game\": " + JsonString(CodePageText::ToUtf8(game.Name)) +
               ", \"alias\": " + JsonString(GameChoice::AliasOf(game)) + ", \"servers\": [";
        for (std::size_t s = 0; s < game.Servers.Size(); ++s) {
            const ServerInfo& server = game.Servers[s];
            out += s == 0 ? "\n" : ",\n";
            out += "    {\"name\": " + JsonString(CodePageText::ToUtf8(server.Name)) +
                   ", \"host\": " + JsonString(CodePageText::ToUtf8(server.Hostname)) +
                   ", \"zone\": " + JsonString(CodePageText::ToUtf8(server.TimeZone)) + "}";
        }
        out += game.Servers.Empty() ? "]}" : "\n  ]}";
    }
    return out + (games.empty() ? "]\n" : "\n]\n");
}
