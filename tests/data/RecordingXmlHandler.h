#pragma once

#include "data/XmlHandler.h"

#include <string>
#include <vector>

// Writes each event as one line: "E name|text|attributes", "S name|attributes", "/ name".
class RecordingXmlHandler : public XmlHandler {
public:
    void OnElement(const std::string& name, const std::string& text,
                   const std::string& attributes) override
    {
        Events.push_back("E " + name + "|" + text + "|" + attributes);
    }
    void OnStartElement(const std::string& name, const std::string& attributes) override
    {
        Events.push_back("S " + name + "|" + attributes);
    }
    void OnEndElement(const std::string& name) override { Events.push_back("/ " + name); }

    std::vector<std::string> Events;
};
