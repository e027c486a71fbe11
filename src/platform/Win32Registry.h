#pragma once

#include "data/RegistryApi.h"
#include "platform/Win32ErrorTexts.h"

// The Windows registry itself, through the ANSI functions and in the 32-bit view, as the
// games see it. Like the Wine prefix registry, a read of a key of HKEY_LOCAL_MACHINE that
// the 32-bit view lacks falls back to the 64-bit view. Handles are the system's HKEYs.
class Win32Registry : public RegistryApi {
public:
    RegStatus OpenKey(RegHandle root, const std::string& subKey, std::uint32_t access,
                      RegHandle& result) override;
    RegStatus QueryValue(RegHandle key, const std::string& valueName, std::uint32_t* type,
                         std::uint8_t* data, std::uint32_t* size) override;
    RegStatus CreateKey(RegHandle root, const std::string& subKey, std::uint32_t options,
                        std::uint32_t access, RegHandle& result,
                        std::uint32_t* disposition) override;
    RegStatus SetValue(RegHandle key, const std::string& valueName, std::uint32_t type,
                       const std::uint8_t* data, std::uint32_t size) override;
    RegStatus CloseKey(RegHandle key) override;
    // The system's own texts, from FormatMessageA.
    const ErrorTextSource& ErrorTexts() const override { return m_errorTexts; }

private:
    Win32ErrorTexts m_errorTexts;
};
