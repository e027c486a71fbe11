#pragma once

#include "data/RegistryApi.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A registry in memory with the return codes and out-sizes of the Windows functions, for
// tests of the data layer. Key paths and value names compare without regard to ASCII case.
class MemoryRegistry : public RegistryApi {
public:
    enum class Operation { Open, Query, Create, Set, Close };

    struct Value {
        std::uint32_t Type = 0;
        std::string Data;
    };

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

    void AddKey(RegHandle root, const std::string& path);
    void Put(RegHandle root, const std::string& path, const std::string& name,
             const std::string& data, std::uint32_t type = Reg::TypeMultiSz);
    std::optional<Value> Get(RegHandle root, const std::string& path,
                             const std::string& name) const;
    bool HasKey(RegHandle root, const std::string& path) const;

    // Every later call of that operation fails with the code, until cleared with 0.
    void FailWith(Operation operation, RegStatus code);

    std::size_t OpenHandles() const { return m_handles.size(); }
    int Calls(Operation operation) const { return m_calls[static_cast<int>(operation)]; }

private:
    struct Key {
        std::map<std::string, Value> Values;
    };
    static std::string Fold(const std::string& text);
    static std::string KeyId(RegHandle root, const std::string& path);
    RegStatus Enter(Operation operation);

    std::map<std::string, Key> m_keys;
    std::map<RegHandle, std::string> m_handles;
    RegHandle m_nextHandle = 0x1000;
    RegStatus m_failures[5] = {0, 0, 0, 0, 0};
    int m_calls[5] = {0, 0, 0, 0, 0};
};
