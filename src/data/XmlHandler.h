#pragma once

#include <string>

// Receives what XmlReader finds. Handlers may throw; the exception ends the parse.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    // An element without child elements, with its raw text and raw attribute text.
    virtual void OnElement(const std::string& name, const std::string& text,
                           const std::string& attributes) = 0;
    // An element with child elements, before its children.
    virtual void OnStartElement(const std::string& name, const std::string& attributes) = 0;
    // The same element, after its children.
    virtual void OnEndElement(const std::string& name) = 0;
};
