#include "data/XmlHandler.h"
#include "data/XmlReader.h"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace {
// Touches every byte it is given, so that an out-of-bounds range shows at once.
class ChecksumHandler : public XmlHandler {
public:
    void OnElement(const std::string& name, const std::string& text,
                   const std::string& attributes) override
    {
        Add(name);
        Add(text);
        Add(attributes);
    }
    void OnStartElement(const std::string& name, const std::string& attributes) override
    {
        Add(name);
        Add(attributes);
        ++m_depth;
    }
    void OnEndElement(const std::string& name) override
    {
        Add(name);
        if (--m_depth < 0)
            __builtin_trap();
    }

private:
    void Add(const std::string& text)
    {
        for (char c : text)
            m_sum += static_cast<unsigned char>(c);
    }
    unsigned m_sum = 0;
    int m_depth = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        return 0;
    ChecksumHandler handler;
    XmlReader reader;
    reader.SetHandler(&handler);
    reader.Parse(reinterpret_cast<const char*>(data), static_cast<std::int32_t>(size));
    return 0;
}
