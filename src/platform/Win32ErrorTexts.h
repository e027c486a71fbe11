#pragma once

#include "data/ErrorTextSource.h"

// The system's own texts for error codes, from FormatMessageA. For a code that the system has
// no text for (Wine lacks some of the Windows Sockets texts, WSAETIMEDOUT among them), ours.
class Win32ErrorTexts : public ErrorTextSource {
public:
    std::string SystemText(std::uint32_t code) const override;
};
