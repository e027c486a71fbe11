#pragma once

#include <cstdint>
#include <string>

// The scan state of one nesting level of XmlReader. Indices are relative to the level's
// buffer; -1 stands for none. Inclusive ranges (a, b) are empty unless 0 <= a <= b.
class XmlTagScanner {
public:
    XmlTagScanner() = default;
    XmlTagScanner(const char* buffer, std::int32_t length);

    // Finds the next element from the scan position. On failure the scan position is kept
    // and false is returned: the level ends there.
    bool FindNext();

    bool IsContainer() const;
    std::string Name() const;
    std::string Attributes() const;
    std::string Content() const;

    static std::int32_t RangeLength(std::int32_t first, std::int32_t last);

    const char* Buffer = nullptr;
    std::int32_t Length = 0;
    std::int32_t ScanPosition = 0;
    std::int32_t TagOpen = -1;
    std::int32_t TagClose = -1;
    std::int32_t CloseTagStart = -1;
    std::int32_t CloseTagEnd = -1;
    std::int32_t NameStart = -1;
    std::int32_t NameEnd = -1;
    std::int32_t AttributesStart = -1;
    std::int32_t AttributesEnd = -1;
    std::int32_t ContentStart = -1;
    std::int32_t ContentEnd = -1;

private:
    std::int32_t Find(char c, std::int32_t from) const;
    std::int32_t FindText(const std::string& text, std::int32_t from) const;
    std::string Text(std::int32_t first, std::int32_t last) const;
};
