#pragma once

#include "data/RegistryApi.h"

#include <stdexcept>
#include <string>

// A registry call that failed: the system's text, and the code for callers that act on it.
class RegistryError : public std::runtime_error {
public:
    RegistryError(RegStatus code, const std::string& text) : std::runtime_error(text), m_code(code)
    {
    }

    RegStatus Code() const { return m_code; }

private:
    RegStatus m_code;
};
