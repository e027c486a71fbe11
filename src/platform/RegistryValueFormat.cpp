#include "platform/RegistryValueFormat.h"

#include "platform/RegistryEscaping.h"

#include <cstdint>

namespace {
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::size_t SkipSpaces(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    return pos;
}

// strtoul(text + pos, &end, 16), which Wine's reader uses for numbers.
std::uint64_t ParseUnsignedHex(std::string_view text, std::size_t pos, std::size_t& end)
{
    const std::size_t start = pos;
    pos = SkipSpaces(text, pos);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    if (pos + 2 < text.size() && text[pos] == '0' &&
        (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
        RegistryEscaping::IsHexDigit(text[pos + 2]))
        pos += 2;
    if (pos >= text.size() || !RegistryEscaping::IsHexDigit(text[pos])) {
        end = start;
        return 0;
    }
    std::uint64_t value = 0;
    bool overflow = false;
    for (; pos < text.size() && RegistryEscaping::IsHexDigit(text[pos]); ++pos) {
        if (value >> 60)
            overflow = true;
        value = (value << 4) | static_cast<std::uint64_t>(RegistryEscaping::HexValue(text[pos]));
    }
    end = pos;
    if (overflow)
        return ~std::uint64_t{0};
    return negative ? ~value + 1 : value;
}

// Wine's list of hex bytes: digits, each optionally followed by one comma, no blanks.
bool ParseHexBytes(std::string_view text, std::size_t& pos, std::string& out)
{
    while (pos < text.size() && RegistryEscaping::IsHexDigit(text[pos])) {
        std::size_t end;
        const std::uint64_t byte = ParseUnsignedHex(text, pos, end);
        if (end == pos || byte > 0xFF)
            return false;
        out.push_back(static_cast<char>(byte));
        pos = end;
        if (pos < text.size() && text[pos] == ',')
            ++pos;
    }
    return true;
}

void AppendUtf16(std::string& out, std::u16string_view text)
{
    for (char16_t unit : text) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
}

struct DataTag {
    std::string_view tag;
    std::uint32_t type;
    bool isString;
};

constexpr DataTag kTags[] = {
    {"\"", 1, true},        {"str:\"", 1, true}, {"str(2):\"", 2, true},
    {"str(7):\"", 7, true}, {"hex:", 3, false},
};
} // namespace

std::string RegistryValueFormat::Format(const RegistryValue& value, std::string_view newline)
{
    std::string out;
    if (value.name.empty()) {
        out += "@=";
    } else {
        out += '"';
        RegistryEscaping::Append(out, value.name, RegistryEscaping::Context::Quoted);
        out += "\"=";
    }
    const std::string& data = value.data;
    const bool stringType = value.type == 1 || value.type == 2 || value.type == 7;
    if (stringType && data.size() >= 2 && data.size() % 2 == 0 && data[data.size() - 1] == 0 &&
        data[data.size() - 2] == 0) {
        std::u16string text;
        for (std::size_t i = 0; i + 2 < data.size(); i += 2)
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(data[i]) |
                                                 static_cast<unsigned char>(data[i + 1]) << 8));
        out += value.type == 1 ? "\"" : value.type == 2 ? "str(2):\"" : "str(7):\"";
        RegistryEscaping::Append(out, text, RegistryEscaping::Context::Quoted);
        out += '"';
        return out;
    }
    if (value.type == 4 && data.size() == 4) {
        unsigned dword = 0;
        for (int i = 3; i >= 0; --i)
            dword = dword << 8 | static_cast<unsigned char>(data[i]);
        out += "dword:";
        RegistryEscaping::AppendNumber(out, dword, 16, 8);
        return out;
    }
    if (value.type == 3) {
        out += "hex:";
    } else {
        out += "hex(";
        RegistryEscaping::AppendNumber(out, value.type, 16, 1);
        out += "):";
    }
    std::size_t count = out.size();
    for (std::size_t i = 0; i < data.size(); ++i) {
        RegistryEscaping::AppendNumber(out, static_cast<unsigned char>(data[i]), 16, 2);
        count += 2;
        if (i + 1 < data.size()) {
            out += ',';
            if (++count > 76) {
                out += '\\';
                out += newline;
                out += "  ";
                count = 2;
            }
        }
    }
    return out;
}

RegistryValueFormat::Outcome
RegistryValueFormat::Parse(std::string_view line,
                           const std::function<bool(std::string_view&)>& nextLine,
                           RegistryValue& value)
{
    value = RegistryValue{};
    std::size_t pos = SkipSpaces(line, 0);
    if (pos < line.size() && line[pos] == '@') {
        ++pos;
    } else if (pos < line.size() && line[pos] == '"') {
        pos = RegistryEscaping::Decode(line, pos + 1, '"', value.name);
        if (pos == std::string_view::npos)
            return Outcome::NoValue;
    } else {
        return Outcome::NoValue;
    }
    pos = SkipSpaces(line, pos);
    if (pos >= line.size() || line[pos] != '=')
        return Outcome::NoValue;
    pos = SkipSpaces(line, pos + 1);

    const auto malformed = [&value] {
        value.type = 0;
        value.data.clear();
        return Outcome::Malformed;
    };
    const std::string_view rest = line.substr(pos);
    for (const DataTag& tag : kTags) {
        if (rest.substr(0, tag.tag.size()) != tag.tag)
            continue;
        value.type = tag.type;
        pos += tag.tag.size();
        if (tag.isString) {
            std::u16string text;
            if (RegistryEscaping::Decode(line, pos, '"', text) == std::string_view::npos)
                return malformed();
            text.push_back(u'\0');
            AppendUtf16(value.data, text);
            return Outcome::Ok;
        }
        break;
    }
    if (value.type == 0) {
        if (rest.substr(0, 6) == "dword:") {
            std::size_t end;
            const auto dword = static_cast<std::uint32_t>(ParseUnsignedHex(line, pos + 6, end));
            value.type = 4;
            for (int i = 0; i < 4; ++i)
                value.data.push_back(static_cast<char>(dword >> (8 * i)));
            return Outcome::Ok;
        }
        if (rest.substr(0, 4) != "hex(")
            return malformed();
        std::size_t end;
        value.type = static_cast<std::uint32_t>(ParseUnsignedHex(line, pos + 4, end));
        if (line.substr(end, 2) != "):")
            return malformed();
        pos = end + 2;
    }

    std::string_view current = line;
    for (;;) {
        if (!ParseHexBytes(current, pos, value.data))
            return malformed();
        pos = SkipSpaces(current, pos);
        if (pos >= current.size())
            return Outcome::Ok;
        if (current[pos] != '\\')
            return malformed();
        if (!nextLine(current))
            return malformed();
        pos = SkipSpaces(current, 0);
        // A blank or comment line ends the data.
        if (pos >= current.size() || current[pos] == ';')
            return Outcome::Ok;
    }
}
