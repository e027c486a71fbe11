#pragma once

#include <cstdint>
#include <string>

// One registry value as Wine stores it: string types hold UTF-16LE data.
struct RegistryValue {
    std::u16string name;
    std::uint32_t type = 0;
    std::string data;
};
