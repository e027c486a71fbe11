#pragma once

#include <cstdint>

class XmlHandler;

// A small reader for the catalogue and server list documents: tags are found by substring
// search and each opening tag is paired with the first later occurrence of its closing tag.
// No entities, comments, CDATA or encodings. Malformed input ends the level it stands in.
class XmlReader {
public:
    // Containers nested deeper than this are reported (start and end) but their content is
    // skipped, so that no input can exhaust memory or time.
    static constexpr int MaxDepth = 256;

    virtual ~XmlReader() = default;

    void SetHandler(XmlHandler* handler) { m_handler = handler; }

    // False, with no event, for a null text or a length below 1; true otherwise.
    bool Parse(const char* text, std::int32_t length);

private:
    XmlHandler* m_handler = nullptr;
};
