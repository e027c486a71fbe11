#include "data/GatewayListCodec.h"

#include "data/Util.h"

#include <cstring>

namespace {
// Walks the NUL-terminated strings of a value without ever reading past its end; a string
// cut short by the end of the data is taken as far as it goes.
class StringWalker {
public:
    StringWalker(const char* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Next(std::string& out)
    {
        if (m_data == nullptr || m_pos >= m_size)
            return false;
        const char* start = m_data + m_pos;
        const std::size_t left = m_size - m_pos;
        const void* nul = std::memchr(start, '\0', left);
        const std::size_t length =
            nul == nullptr ? left : static_cast<std::size_t>(static_cast<const char*>(nul) - start);
        out.assign(start, length);
        m_pos += length + 1;
        return true;
    }

private:
    const char* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};
} // namespace

GatewayListCodec::Decoded GatewayListCodec::Decode(const char* data, std::size_t size)
{
    Decoded result;
    StringWalker walker(data, size);
    GatewayHeader header;
    if (!walker.Next(header.FormatVersion) || !walker.Next(header.SelectedGateway))
        return result;
    result.Count = Util::DecimalValue(header.SelectedGateway);
    result.Header = std::move(header);

    std::string hostname;
    while (walker.Next(hostname) && !hostname.empty()) {
        std::string timeZone;
        std::string name;
        if (walker.Next(timeZone))
            walker.Next(name);
        result.Servers.AddServer(name, timeZone, hostname);
    }
    return result;
}

std::string GatewayListCodec::Encode(const std::optional<GatewayHeader>& header,
                                     const ServerList& servers)
{
    std::string value;
    auto append = [&value](const std::string& text) {
        value += text;
        value += '\0';
    };
    if (header) {
        append(header->FormatVersion);
        append(header->SelectedGateway);
    } else {
        append("1001");
        std::string count = std::to_string(servers.Size());
        if (count.size() < 2)
            count.insert(0, 2 - count.size(), '0');
        append(count);
    }
    for (const ServerInfo& server : servers) {
        append(server.Hostname);
        append(server.TimeZone);
        append(server.Name);
    }
    value += '\0';
    return value;
}

const ServerInfo* GatewayListCodec::FindUnstorable(const ServerList& servers)
{
    auto hasNul = [](const std::string& text) { return text.find('\0') != std::string::npos; };
    for (const ServerInfo& server : servers) {
        if (server.Hostname.empty() || hasNul(server.Hostname) || hasNul(server.TimeZone) ||
            hasNul(server.Name))
            return &server;
    }
    return nullptr;
}
