#pragma once

#include "data/RegistryApi.h"

// Passes every call to the real registry and notes, for each key opened, whether the wait
// cursor was showing.
class CursorWatchingRegistry : public RegistryApi {
public:
    explicit CursorWatchingRegistry(RegistryApi& inner) : m_inner(inner) {}

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

    int OpenedWithWaitCursor = 0;
    int OpenedWithoutWaitCursor = 0;

private:
    void Note();
    RegistryApi& m_inner;
};
