#include "data/Util.h"

#include "data/ErrorCodes.h"
#include "data/ErrorTextSource.h"
#include "data/RegistryError.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <typeinfo>
#include <vector>

// The compiler's own demangler where it has one (GCC and Clang, MinGW too); MSVC's type names
// are readable as they come.
#if __has_include(<cxxabi.h>)
#include <cxxabi.h>
#define PORTICO_HAS_CXXABI 1
#endif

extern const std::string_view kEmbeddedConfigXml;

namespace {
struct EmbeddedResource {
    std::string_view Name;
    std::string_view Type;
    const std::string_view* Data;
};

const std::array kResources = {
    EmbeddedResource{"CONFIG.XML", "XML", &kEmbeddedConfigXml},
};

// Resource names and types compare as Windows compares them: ASCII letters without case.
bool SameResourceName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// Enough for any value the registry holds, without letting a misbehaving backend loop.
constexpr int kMaxQueryAttempts = 4;
constexpr std::uint32_t kInitialReadSize = 1024;

[[noreturn]] void ThrowSystemError(const RegistryApi& registry, RegStatus code)
{
    const auto value = static_cast<std::uint32_t>(code);
    std::string text = Util::FormatErrorMessage(registry.ErrorTexts(), value);
    // A reason is always worth giving, even for a code the system has no words for.
    if (text.empty())
        text = "Error " + std::to_string(value) + ".";
    throw RegistryError(code, text);
}

std::string TypeName(const std::type_info& type)
{
#ifdef PORTICO_HAS_CXXABI
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    std::string name = status == 0 && demangled ? demangled.get() : type.name();
#else
    std::string name = type.name();
#endif
    // ABI tags such as "[abi:cxx11]" mean nothing to the user.
    for (auto tag = name.find("[abi:"); tag != std::string::npos; tag = name.find("[abi:")) {
        const auto end = name.find(']', tag);
        name.erase(tag, end == std::string::npos ? std::string::npos : end - tag + 1);
    }
    return name;
}
} // namespace

namespace Util {

RegHandle ConvertStringToHKEY(const std::string& text)
{
    if (text == "HKEY_CURRENT_USER")
        return Reg::CurrentUser;
    if (text == "HKEY_LOCAL_MACHINE")
        return Reg::LocalMachine;
    throw std::runtime_error("Util::ConvertStringToHKEY() -> Error: wrong value");
}

bool LoadXmlResource(const std::string& resourceName, std::iostream& stream)
{
    for (const auto& resource : kResources) {
        if (SameResourceName(resource.Name, resourceName) && resource.Type == "XML") {
            stream.write(resource.Data->data(),
                         static_cast<std::streamsize>(resource.Data->size()));
            break;
        }
    }
    return true;
}

std::string ReadRegistryValue(RegistryApi& registry, const std::string& keyPath,
                              const std::string& valueName, const std::string& defaultText,
                              std::uint32_t& size, RegHandle root)
{
    RegHandle key = 0;
    RegStatus status = registry.OpenKey(root, keyPath, Reg::KeyRead, key);
    if (status != 0) {
        size = 0;
        ThrowSystemError(registry, status);
    }

    // Read the value whole: grow the buffer to the size the registry asks for.
    std::vector<std::uint8_t> buffer(kInitialReadSize);
    std::uint32_t read = 0;
    std::uint32_t type = 0;
    for (int attempt = 0; attempt < kMaxQueryAttempts; ++attempt) {
        read = static_cast<std::uint32_t>(buffer.size());
        status = registry.QueryValue(key, valueName, &type, buffer.data(), &read);
        if (status != static_cast<RegStatus>(ErrorCode::MoreData) || read <= buffer.size())
            break;
        buffer.resize(read);
    }
    std::string result;
    if (status == 0 && read <= buffer.size()) {
        size = read;
        result.assign(buffer.begin(), buffer.begin() + read);
    } else {
        size = 0;
        result = defaultText;
    }

    status = registry.CloseKey(key);
    if (status != 0) {
        size = 0;
        ThrowSystemError(registry, status);
    }
    return result;
}

void WriteRegistryValue(RegistryApi& registry, const std::string& keyPath,
                        const std::string& valueName, const std::string& data, RegHandle root)
{
    RegHandle key = 0;
    std::uint32_t disposition = 0;
    RegStatus status =
        registry.CreateKey(root, keyPath, Reg::OptionNonVolatile, Reg::KeyWrite, key, &disposition);
    if (status != 0)
        ThrowSystemError(registry, status);

    status = registry.SetValue(key, valueName, Reg::TypeMultiSz,
                               reinterpret_cast<const std::uint8_t*>(data.data()),
                               static_cast<std::uint32_t>(data.size()));
    if (status != 0) {
        registry.CloseKey(key);
        ThrowSystemError(registry, status);
    }
    status = registry.CloseKey(key);
    if (status != 0)
        ThrowSystemError(registry, status);
}

std::string FormatErrorMessage(const ErrorTextSource& texts, std::uint32_t code)
{
    std::string text = texts.SystemText(code);
    const auto cr = text.rfind('\r');
    if (cr != std::string::npos)
        text.erase(cr);
    return text;
}

std::int32_t DecimalValue(const std::string& text)
{
    std::size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit)
            value = kLimit;
    }
    if (negative)
        return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(std::min(value, kLimit - 1));
}

std::string DescribeException(const std::exception& e)
{
    return "Exception class: " + TypeName(typeid(e)) + "\n" + e.what();
}

std::string DescribeCurrentException()
{
    try {
        throw;
    } catch (const std::string& message) {
        return message;
    } catch (const std::exception& e) {
        return DescribeException(e);
    } catch (...) {
        return "Exception: Unknown";
    }
}

} // namespace Util
