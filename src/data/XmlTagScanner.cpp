#include "data/XmlTagScanner.h"

#include <algorithm>
#include <cstring>
#include <string_view>

XmlTagScanner::XmlTagScanner(const char* buffer, std::int32_t length)
    : Buffer(buffer), Length(length)
{
}

std::int32_t XmlTagScanner::RangeLength(std::int32_t first, std::int32_t last)
{
    if (first >= 0 && last >= 0 && last >= first)
        return last - first + 1;
    return 0;
}

std::int32_t XmlTagScanner::Find(char c, std::int32_t from) const
{
    if (from < 0 || from >= Length)
        return -1;
    const void* hit = std::memchr(Buffer + from, c, static_cast<std::size_t>(Length - from));
    return hit == nullptr ? -1 : static_cast<std::int32_t>(static_cast<const char*>(hit) - Buffer);
}

std::int32_t XmlTagScanner::FindText(const std::string& text, std::int32_t from) const
{
    if (from < 0 || from > Length)
        return -1;
    const std::string_view haystack(Buffer, static_cast<std::size_t>(Length));
    const auto at = haystack.find(text, static_cast<std::size_t>(from));
    return at == std::string_view::npos ? -1 : static_cast<std::int32_t>(at);
}

std::string XmlTagScanner::Text(std::int32_t first, std::int32_t last) const
{
    const std::int32_t length = RangeLength(first, last);
    if (length == 0)
        return {};
    return std::string(Buffer + first, static_cast<std::size_t>(length));
}

bool XmlTagScanner::FindNext()
{
    if (Buffer == nullptr || Length < 1)
        return false;

    std::int32_t position = ScanPosition;
    std::int32_t open = Find('<', position);
    if (open < 0)
        return false;
    std::int32_t close = Find('>', open);
    if (close < 0)
        return false;

    // An XML declaration is passed over only where the scan stands.
    if (position + 1 < Length && Buffer[position] == '<' && Buffer[position + 1] == '?') {
        position = close + 1;
        open = Find('<', position);
        if (open < 0)
            return false;
        close = Find('>', open);
        if (close < 0)
            return false;
    }

    const bool selfClosing = close - 1 > open && Buffer[close - 1] == '/';
    std::int32_t nameStart = open + 1;
    std::int32_t nameEnd = selfClosing ? close - 2 : close - 1;
    // Only a space ends a name; tabs and line breaks belong to it.
    for (std::int32_t i = nameStart; i <= nameEnd; ++i) {
        if (Buffer[i] == ' ') {
            nameEnd = i - 1;
            break;
        }
    }

    std::int32_t attributesStart = -1;
    std::int32_t attributesEnd = -1;
    const std::int32_t nameLength = RangeLength(nameStart, nameEnd);
    if (nameLength >= 1 && RangeLength(open, close) - nameLength >= 4) {
        attributesStart = nameEnd + 2;
        attributesEnd = selfClosing ? close - 2 : close - 1;
    }

    std::int32_t closeTagStart = -1;
    std::int32_t closeTagEnd = -1;
    std::int32_t contentStart = -1;
    std::int32_t contentEnd = -1;
    std::int32_t next = close + 1;
    if (!selfClosing) {
        const std::string closeTag = "</" + Text(nameStart, nameEnd) + ">";
        closeTagStart = FindText(closeTag, close);
        if (closeTagStart < 0)
            return false;
        closeTagEnd = closeTagStart + static_cast<std::int32_t>(closeTag.size());
        contentStart = close + 1;
        contentEnd = closeTagStart - 1;
        const std::int32_t nextTag = Find('<', closeTagEnd);
        next = nextTag >= 0 ? nextTag : closeTagEnd;
    }

    TagOpen = open;
    TagClose = close;
    NameStart = nameStart;
    NameEnd = nameEnd;
    AttributesStart = attributesStart;
    AttributesEnd = attributesEnd;
    CloseTagStart = closeTagStart;
    CloseTagEnd = closeTagEnd;
    ContentStart = contentStart;
    ContentEnd = contentEnd;
    ScanPosition = next;
    return true;
}

bool XmlTagScanner::IsContainer() const
{
    const std::int32_t length = RangeLength(ContentStart, ContentEnd);
    return length > 0 && std::memchr(Buffer + ContentStart, '<', static_cast<std::size_t>(length));
}

std::string XmlTagScanner::Name() const
{
    return Text(NameStart, NameEnd);
}

std::string XmlTagScanner::Attributes() const
{
    return Text(AttributesStart, AttributesEnd);
}

std::string XmlTagScanner::Content() const
{
    return Text(ContentStart, ContentEnd);
}
