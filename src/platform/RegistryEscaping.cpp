#include "platform/RegistryEscaping.h"

namespace {
bool IsOctalDigit(char16_t c)
{
    return c >= '0' && c <= '7';
}

char NamedEscape(char16_t unit)
{
    switch (unit) {
    case 0x07:
        return 'a';
    case 0x08:
        return 'b';
    case 0x09:
        return 't';
    case 0x0A:
        return 'n';
    case 0x0B:
        return 'v';
    case 0x0C:
        return 'f';
    case 0x0D:
        return 'r';
    case 0x1B:
        return 'e';
    default:
        return 0;
    }
}

char16_t NamedControl(char letter)
{
    switch (letter) {
    case 'a':
        return 0x07;
    case 'b':
        return 0x08;
    case 't':
        return 0x09;
    case 'n':
        return 0x0A;
    case 'v':
        return 0x0B;
    case 'f':
        return 0x0C;
    case 'r':
        return 0x0D;
    case 'e':
        return 0x1B;
    default:
        return 0;
    }
}

// One UTF-8 sequence starting at text[pos]; false when it is invalid.
bool DecodeUtf8(std::string_view text, std::size_t& pos, std::u16string& out)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    int length;
    char32_t cp;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return false;
    }
    if (pos + length > text.size())
        return false;
    for (int i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[pos + i]);
        if ((c & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (c & 0x3F);
    }
    if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
    pos += length;
    return true;
}
} // namespace

bool RegistryEscaping::IsHexDigit(char16_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int RegistryEscaping::HexValue(char16_t digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return digit - 'A' + 10;
}

void RegistryEscaping::AppendNumber(std::string& out, std::uint64_t value, unsigned base,
                                    int minDigits)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    char buffer[24];
    int n = 0;
    do {
        buffer[n++] = kDigits[value % base];
        value /= base;
    } while (value != 0);
    while (n < minDigits)
        buffer[n++] = '0';
    while (n > 0)
        out.push_back(buffer[--n]);
}

void RegistryEscaping::Append(std::string& out, std::u16string_view text, Context context)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
        if (unit == '\\' || (context == Context::Quoted && unit == '"') ||
            (context == Context::KeyName && (unit == '[' || unit == ']'))) {
            out.push_back('\\');
            out.push_back(static_cast<char>(unit));
        } else if (const char letter = NamedEscape(unit)) {
            out.push_back('\\');
            out.push_back(letter);
        } else if (unit < 0x20) {
            out.push_back('\\');
            AppendNumber(out, unit, 8, IsOctalDigit(next) ? 3 : 1);
        } else if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
        } else {
            out += "\\x";
            AppendNumber(out, unit, 16, IsHexDigit(next) ? 4 : 1);
        }
    }
}

std::size_t RegistryEscaping::Decode(std::string_view text, std::size_t pos, char end,
                                     std::u16string& out)
{
    while (pos < text.size() && text[pos] != end) {
        if (text[pos] == '\\') {
            if (++pos == text.size())
                break;
            const char c = text[pos];
            if (const char16_t control = NamedControl(c)) {
                out.push_back(control);
                ++pos;
                continue;
            }
            if (c == 'x') {
                ++pos;
                if (pos == text.size() || !IsHexDigit(text[pos])) {
                    out.push_back(u'x');
                    continue;
                }
                char16_t unit = 0;
                for (int digits = 0; digits < 4 && pos < text.size() && IsHexDigit(text[pos]);
                     ++digits)
                    unit = static_cast<char16_t>(unit * 16 + HexValue(text[pos++]));
                out.push_back(unit);
                continue;
            }
            if (IsOctalDigit(c)) {
                char16_t unit = 0;
                for (int digits = 0; digits < 3 && pos < text.size() && IsOctalDigit(text[pos]);
                     ++digits)
                    unit = static_cast<char16_t>(unit * 8 + (text[pos++] - '0'));
                out.push_back(unit);
                continue;
            }
            // Any other escaped character stands for itself.
        }
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            out.push_back(byte);
            ++pos;
        } else if (!DecodeUtf8(text, pos, out)) {
            ++pos;
        }
    }
    if (pos >= text.size())
        return std::string_view::npos;
    return pos + 1;
}
