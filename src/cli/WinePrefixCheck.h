#pragma once

#include <string>

// Whether a folder can be edited as a Wine prefix.
class WinePrefixCheck {
public:
    // Why the folder cannot be edited as a Wine prefix, in a sentence; empty when it can.
    static std::string Problem(const std::string& path);
};
