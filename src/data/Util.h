#pragma once

#include "data/RegistryApi.h"

class ErrorTextSource;

#include <cstdint>
#include <exception>
#include <istream>
#include <string>

namespace Util {

// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE", exact; anything else throws.
RegHandle ConvertStringToHKEY(const std::string& text);

// Puts the embedded resource of type "XML" of that name into the stream; true even when
// there is no such resource (the stream then stays empty).
bool LoadXmlResource(const std::string& resourceName, std::iostream& stream);

// Reads a value whole, whatever its size. On a missing or unreadable value, size is 0 and
// the default is returned. Throws RegistryError with the system's text when the key cannot
// be opened or closed.
std::string ReadRegistryValue(RegistryApi& registry, const std::string& keyPath,
                              const std::string& valueName, const std::string& defaultText,
                              std::uint32_t& size, RegHandle root);

// Stores exactly data as a REG_MULTI_SZ value, creating the key when needed. Throws
// RegistryError with the system's text on failure.
void WriteRegistryValue(RegistryApi& registry, const std::string& keyPath,
                        const std::string& valueName, const std::string& data, RegHandle root);

// The system's text for an error code, without its trailing line break.
std::string FormatErrorMessage(const ErrorTextSource& texts, std::uint32_t code);

// Leading white space, an optional sign, then decimal digits up to the first non-digit;
// no digits give 0. Saturates at the limits of a 32-bit integer.
std::int32_t DecimalValue(const std::string& text);

// "Exception class: " with the exception's type name, a line break and its message.
std::string DescribeException(const std::exception& e);

// What to tell the user of the exception being handled where work started, in one of three
// forms: the text of a text exception, DescribeException of a standard one, or
// "Exception: Unknown". Call it only from inside a catch block.
std::string DescribeCurrentException();

} // namespace Util
