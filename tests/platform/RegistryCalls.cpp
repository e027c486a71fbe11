#include "RegistryCalls.h"

#include "data/ErrorCodes.h"

RegistryCalls::Read RegistryCalls::ReadValue(RegistryApi& registry, RegHandle root,
                                             const std::string& key, const std::string& value)
{
    RegHandle handle = 0;
    if (const RegStatus status = registry.OpenKey(root, key, Reg::KeyRead, handle))
        return {status, {}};
    std::uint32_t size = 0;
    RegStatus status = registry.QueryValue(handle, value, nullptr, nullptr, &size);
    std::string data(size, '\0');
    if (status == ErrorCode::Success)
        status = registry.QueryValue(handle, value, nullptr,
                                     reinterpret_cast<std::uint8_t*>(data.data()), &size);
    if (const RegStatus closed = registry.CloseKey(handle); status == ErrorCode::Success)
        status = closed;
    data.resize(status == ErrorCode::Success ? size : 0);
    return {status, data};
}

RegStatus RegistryCalls::SaveList(RegistryApi& registry, RegHandle root, const std::string& key,
                                  const std::string& value, const std::string& data,
                                  std::uint32_t* disposition)
{
    RegHandle handle = 0;
    if (const RegStatus status = registry.CreateKey(root, key, Reg::OptionNonVolatile,
                                                    Reg::KeyWrite, handle, disposition))
        return status;
    RegStatus status = registry.SetValue(handle, value, Reg::TypeMultiSz,
                                         reinterpret_cast<const std::uint8_t*>(data.data()),
                                         static_cast<std::uint32_t>(data.size()));
    if (const RegStatus closed = registry.CloseKey(handle); status == ErrorCode::Success)
        status = closed;
    return status;
}
