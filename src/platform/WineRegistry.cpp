#include "platform/WineRegistry.h"

#include "data/ErrorCodes.h"

#include <cstdlib>
#include <utility>

struct WineRegistry::State {
    std::string prefix;
};

WineRegistry::WineRegistry(std::string prefixPath) : state_(std::make_unique<State>())
{
    state_->prefix = std::move(prefixPath);
}

WineRegistry::WineRegistry(WineRegistry&& other) noexcept = default;
WineRegistry& WineRegistry::operator=(WineRegistry&& other) noexcept = default;
WineRegistry::~WineRegistry() = default;

std::string WineRegistry::PrefixFromEnvironment()
{
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix && *prefix)
        return prefix;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.wine";
}

WineRegistry WineRegistry::FromEnvironment()
{
    return WineRegistry(PrefixFromEnvironment());
}

const std::string& WineRegistry::PrefixPath() const
{
    return state_->prefix;
}

RegStatus WineRegistry::OpenKey(RegHandle, const std::string&, std::uint32_t, RegHandle& result)
{
    result = 0;
    return ErrorCode::FileNotFound;
}

RegStatus WineRegistry::QueryValue(RegHandle, const std::string&, std::uint32_t*, std::uint8_t*,
                                   std::uint32_t*)
{
    return ErrorCode::InvalidHandle;
}

RegStatus WineRegistry::CreateKey(RegHandle, const std::string&, std::uint32_t, std::uint32_t,
                                  RegHandle& result, std::uint32_t*)
{
    result = 0;
    return ErrorCode::AccessDenied;
}

RegStatus WineRegistry::SetValue(RegHandle, const std::string&, std::uint32_t, const std::uint8_t*,
                                 std::uint32_t)
{
    return ErrorCode::InvalidHandle;
}

RegStatus WineRegistry::CloseKey(RegHandle)
{
    return ErrorCode::InvalidHandle;
}
