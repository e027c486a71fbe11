#pragma once

#include "data/RegistryApi.h"

#include <cstdint>
#include <string>

// Registry calls made the way the data layer makes them.
class RegistryCalls {
public:
    struct Read {
        RegStatus status;
        std::string data;
    };

    // Opens the key for reading, queries the whole value, closes the key.
    static Read ReadValue(RegistryApi& registry, RegHandle root, const std::string& key,
                          const std::string& value);
    // Creates or opens the key for writing, stores a REG_MULTI_SZ, closes the key.
    static RegStatus SaveList(RegistryApi& registry, RegHandle root, const std::string& key,
                              const std::string& value, const std::string& data,
                              std::uint32_t* disposition = nullptr);
};
