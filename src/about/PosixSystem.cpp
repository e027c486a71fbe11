#include "about/PosixSystem.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

namespace {
bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Control characters become blanks; blanks around the text go.
std::string OneLine(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte < 0x20 || byte == 0x7F ? ' ' : c;
    }
    const std::size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

// The value of an assignment as the shell reads it: quotes removed, backslash escapes
// resolved, up to the first blank outside quotes. An unclosed quote runs to the end.
std::string Unquote(std::string_view raw)
{
    std::string out;
    char quote = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        const bool hasNext = i + 1 < raw.size();
        if (quote == '\'') {
            if (c == '\'')
                quote = 0;
            else
                out += c;
        } else if (quote == '"') {
            if (c == '"')
                quote = 0;
            else if (c == '\\' && hasNext &&
                     std::string_view("\"\\$`").find(raw[i + 1]) != std::string_view::npos)
                out += raw[++i];
            else
                out += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '\\' && hasNext) {
            out += raw[++i];
        } else if (IsBlank(c)) {
            break;
        } else {
            out += c;
        }
    }
    return out;
}

// KEY=value lines; comments, blank lines and lines without '=' are skipped, and the last
// assignment of a key counts.
std::map<std::string, std::string, std::less<>> ParseOsRelease(std::string_view text)
{
    std::map<std::string, std::string, std::less<>> values;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        while (!line.empty() && (IsBlank(line.front()) || line.front() == '\r'))
            line.remove_prefix(1);
        while (!line.empty() && (IsBlank(line.back()) || line.back() == '\r'))
            line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos)
            continue;
        values[std::string(line.substr(0, equals))] = Unquote(line.substr(equals + 1));
    }
    return values;
}

std::string Joined(const std::vector<std::string>& parts, std::string_view separator)
{
    std::string out;
    for (const std::string& part : parts) {
        if (part.empty())
            continue;
        if (!out.empty())
            out += separator;
        out += part;
    }
    return out;
}

// "6.1.0" of "6.1.0-18-amd64": the version number without the builder's suffix. A release
// that does not start with a digit stays whole.
std::string KernelVersion(const std::string& release)
{
    const std::size_t end = release.find_first_not_of("0123456789.");
    return end == 0 ? release : release.substr(0, end);
}

std::string DistributionName(std::string_view osRelease)
{
    const auto values = ParseOsRelease(osRelease);
    const auto value = [&values](std::string_view key) {
        const auto found = values.find(key);
        return found == values.end() ? std::string() : OneLine(found->second);
    };
    const std::string pretty = value("PRETTY_NAME");
    return pretty.empty() ? Joined({value("NAME"), value("VERSION")}, " ") : pretty;
}
} // namespace

std::string PosixSystem::Describe() const
{
    const std::string distribution = OsRelease ? DistributionName(*OsRelease) : std::string();
    const std::string kernel =
        Uname ? Joined({OneLine(Uname->SystemName), KernelVersion(OneLine(Uname->Release)),
                        OneLine(Uname->Machine)},
                       " ")
              : std::string();
    const std::string text = Joined({distribution, kernel}, ", ");
    return text.empty() ? "Unknown system version" : text;
}
