#include "data/XmlReader.h"

#include "data/XmlHandler.h"
#include "data/XmlTagScanner.h"

#include <vector>

bool XmlReader::Parse(const char* text, std::int32_t length)
{
    if (text == nullptr || length < 1)
        return false;

    // One scanner per open level, kept on the heap so that no input can exhaust the stack.
    std::vector<XmlTagScanner> levels;
    levels.emplace_back(text, length);
    while (!levels.empty()) {
        XmlTagScanner& level = levels.back();
        if (!level.FindNext()) {
            levels.pop_back();
            // The level was a container's content: the container ends here.
            if (!levels.empty()) {
                const std::string name = levels.back().Name();
                if (m_handler != nullptr && !name.empty())
                    m_handler->OnEndElement(name);
            }
            continue;
        }

        const std::string name = level.Name();
        const bool deliver = m_handler != nullptr && !name.empty();
        if (!level.IsContainer()) {
            if (deliver)
                m_handler->OnElement(name, level.Content(), level.Attributes());
            continue;
        }
        if (deliver)
            m_handler->OnStartElement(name, level.Attributes());
        if (static_cast<int>(levels.size()) < MaxDepth) {
            const char* content = level.Buffer + level.ContentStart;
            const std::int32_t contentLength =
                XmlTagScanner::RangeLength(level.ContentStart, level.ContentEnd);
            levels.emplace_back(content, contentLength);
        } else if (deliver) {
            m_handler->OnEndElement(name);
        }
    }
    return true;
}
