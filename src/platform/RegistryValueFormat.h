#pragma once

#include "platform/RegistryValue.h"

#include <functional>
#include <string>
#include <string_view>

// The value lines of Wine's registry files: `"name"=data` or `@=data`.
class RegistryValueFormat {
public:
    // The line Wine writes for the value, without its final line break. Long hex data wraps
    // as Wine wraps it, with `newline` and two spaces.
    static std::string Format(const RegistryValue& value, std::string_view newline);

    enum class Outcome {
        // No name or no `=`: Wine makes no value of the line.
        NoValue,
        // Wine keeps an empty REG_NONE value of that name.
        Malformed,
        Ok,
    };

    // Parses a value line (without its line break). Hex data that ends in a backslash goes
    // on with the lines that nextLine hands out; it returns false at the end of the file.
    static Outcome Parse(std::string_view line,
                         const std::function<bool(std::string_view&)>& nextLine,
                         RegistryValue& value);
};
