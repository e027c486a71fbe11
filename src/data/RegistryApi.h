#pragma once

#include <cstdint>
#include <string>

class ErrorTextSource;

// Handles and codes of the registry as a 32-bit Windows program sees it. The data layer
// reaches the registry only through RegistryApi, so that a Wine prefix, the real Windows
// registry or a test double can stand behind it.
using RegHandle = std::uintptr_t;
using RegStatus = std::int32_t;

namespace Reg {
inline constexpr RegHandle CurrentUser = 0x80000001u;
inline constexpr RegHandle LocalMachine = 0x80000002u;

inline constexpr std::uint32_t KeyRead = 0x20019u;
inline constexpr std::uint32_t KeyWrite = 0x20006u;
inline constexpr std::uint32_t OptionNonVolatile = 0u;

inline constexpr std::uint32_t TypeNone = 0u;
inline constexpr std::uint32_t TypeSz = 1u;
inline constexpr std::uint32_t TypeExpandSz = 2u;
inline constexpr std::uint32_t TypeBinary = 3u;
inline constexpr std::uint32_t TypeDword = 4u;
inline constexpr std::uint32_t TypeMultiSz = 7u;

inline constexpr std::uint32_t CreatedNewKey = 1u;
inline constexpr std::uint32_t OpenedExistingKey = 2u;
} // namespace Reg

class RegistryApi {
public:
    virtual ~RegistryApi() = default;

    // RegOpenKeyExA: opens an existing key.
    virtual RegStatus OpenKey(RegHandle root, const std::string& subKey, std::uint32_t access,
                              RegHandle& result) = 0;

    // RegQueryValueExA: with data null, only the size is reported. When the buffer is too
    // small the result is ErrorMoreData and size holds the size needed.
    virtual RegStatus QueryValue(RegHandle key, const std::string& valueName, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) = 0;

    // RegCreateKeyExA: opens the key, creating it and its missing parents.
    virtual RegStatus CreateKey(RegHandle root, const std::string& subKey, std::uint32_t options,
                                std::uint32_t access, RegHandle& result,
                                std::uint32_t* disposition) = 0;

    // RegSetValueExA: stores exactly size bytes, replacing any earlier value.
    virtual RegStatus SetValue(RegHandle key, const std::string& valueName, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) = 0;

    // RegCloseKey.
    virtual RegStatus CloseKey(RegHandle key) = 0;

    // Whether writes can be tried now: a code that says why not, so that a save of several
    // values can stop before the first. Writes check again for themselves.
    virtual RegStatus CheckWritable();

    // FormatMessageA for the codes these calls return: our own table unless the system behind
    // the registry has texts of its own.
    virtual const ErrorTextSource& ErrorTexts() const;
};
