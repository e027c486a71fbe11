#pragma once

#include "data/ErrorTextSource.h"

// The system's own texts for error codes, from FormatMessageA.
class Win32ErrorTexts : public ErrorTextSource {
public:
    std::string SystemText(std::uint32_t code) const override;
};
