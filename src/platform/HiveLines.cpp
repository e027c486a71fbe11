#include "platform/HiveLines.h"

#include "platform/RegistryValueFormat.h"

HiveLines::Line HiveLines::At(std::string_view text, std::size_t pos)
{
    const std::size_t newline = text.find('\n', pos);
    if (newline == std::string_view::npos)
        return {pos, text.size(), text.size()};
    std::size_t contentEnd = newline;
    if (contentEnd > pos && text[contentEnd - 1] == '\r')
        --contentEnd;
    return {pos, contentEnd, newline + 1};
}

std::size_t HiveLines::FirstNonBlank(std::string_view line)
{
    std::size_t p = 0;
    while (p < line.size() && IsBlank(line[p]))
        ++p;
    return p;
}

bool HiveLines::MayGoOn(std::string_view content)
{
    return content.find('\\') != std::string_view::npos &&
           content.find("hex") != std::string_view::npos;
}

std::size_t HiveLines::ParseValue(std::string_view text, std::size_t lineStart,
                                  RegistryValue& value, bool& isValue, std::size_t* textEnd,
                                  bool* ranOut)
{
    const Line line = At(text, lineStart);
    std::size_t next = line.next;
    std::size_t end = line.contentEnd;
    std::size_t previousEnd = end;
    std::string_view last;
    if (ranOut)
        *ranOut = false;
    const auto nextLine = [text, &next, &end, &previousEnd, &last, ranOut](std::string_view& out) {
        if (next >= text.size()) {
            if (ranOut)
                *ranOut = true;
            return false;
        }
        const Line following = At(text, next);
        out = text.substr(following.start, following.contentEnd - following.start);
        last = out;
        next = following.next;
        previousEnd = end;
        end = following.contentEnd;
        return true;
    };
    const std::string_view content = text.substr(line.start, line.contentEnd - line.start);
    isValue = RegistryValueFormat::Parse(content, nextLine, value) !=
              RegistryValueFormat::Outcome::NoValue;
    // An empty or comment line that ended hex data is not part of the value's text.
    const std::size_t p = FirstNonBlank(last);
    if (last.data() && (p == last.size() || last[p] == ';'))
        end = previousEnd;
    if (textEnd)
        *textEnd = end;
    return next;
}
