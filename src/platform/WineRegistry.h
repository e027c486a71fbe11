#pragma once

#include "data/RegistryApi.h"

#include <cstdint>
#include <memory>
#include <string>

// The registry of a Wine prefix, as a 32-bit Windows program sees it: HKEY_CURRENT_USER is the
// prefix's user.reg and HKEY_LOCAL_MACHINE its system.reg. Hives are parsed once and kept until
// the file changes on disk. A write edits only the block of the key written, and is refused with
// ErrorCode::WineServerRunning while a wineserver runs for the prefix, since Wine would
// overwrite it.
class WineRegistry : public RegistryApi {
public:
    explicit WineRegistry(std::string prefixPath);
    WineRegistry(WineRegistry&& other) noexcept;
    WineRegistry& operator=(WineRegistry&& other) noexcept;
    ~WineRegistry() override;

    // The prefix Wine itself would use: $WINEPREFIX, else $HOME/.wine.
    static std::string PrefixFromEnvironment();

    const std::string& PrefixPath() const;

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
    // ErrorCode::WineServerRunning while a wineserver runs for the prefix.
    RegStatus CheckWritable() override;

private:
    struct State;
    std::unique_ptr<State> m_state;
};
