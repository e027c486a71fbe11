#pragma once

#include <cstdint>
#include <string>

// FormatMessageA's part: the system's text for an error code, as the system has it (it may
// end in CR LF). Empty when the system has no text for the code.
class ErrorTextSource {
public:
    virtual ~ErrorTextSource() = default;
    virtual std::string SystemText(std::uint32_t code) const = 0;
};
