#include "platform/Win32Registry.h"

#include <windows.h>

#include <vector>

namespace {
// The predefined keys are sign-extended on 64-bit Windows; Reg::CurrentUser is not.
HKEY ToKey(RegHandle handle)
{
    if (handle == Reg::CurrentUser)
        return HKEY_CURRENT_USER;
    if (handle == Reg::LocalMachine)
        return HKEY_LOCAL_MACHINE;
    return reinterpret_cast<HKEY>(handle);
}

RegHandle ToHandle(HKEY key)
{
    return reinterpret_cast<RegHandle>(key);
}

bool IsStringType(std::uint32_t type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}
} // namespace

RegStatus Win32Registry::OpenKey(RegHandle root, const std::string& subKey, std::uint32_t access,
                                 RegHandle& result)
{
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(ToKey(root), subKey.c_str(), 0, access | KEY_WOW64_32KEY, &key);
    if (status == ERROR_FILE_NOT_FOUND && root == Reg::LocalMachine &&
        (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) == 0)
        status = RegOpenKeyExA(ToKey(root), subKey.c_str(), 0, access | KEY_WOW64_64KEY, &key);
    result = status == ERROR_SUCCESS ? ToHandle(key) : 0;
    return status;
}

RegStatus Win32Registry::QueryValue(RegHandle key, const std::string& valueName,
                                    std::uint32_t* type, std::uint8_t* data, std::uint32_t* size)
{
    DWORD valueType = 0;
    DWORD valueSize = size ? *size : 0;
    const LONG status = RegQueryValueExA(ToKey(key), valueName.c_str(), nullptr, &valueType, data,
                                         size ? &valueSize : nullptr);
    if (type)
        *type = valueType;
    if (size)
        *size = valueSize;
    return status;
}

RegStatus Win32Registry::CreateKey(RegHandle root, const std::string& subKey, std::uint32_t options,
                                   std::uint32_t access, RegHandle& result,
                                   std::uint32_t* disposition)
{
    HKEY key = nullptr;
    DWORD outcome = 0;
    const LONG status = RegCreateKeyExA(ToKey(root), subKey.c_str(), 0, nullptr, options,
                                        access | KEY_WOW64_32KEY, nullptr, &key, &outcome);
    result = status == ERROR_SUCCESS ? ToHandle(key) : 0;
    if (disposition)
        *disposition = outcome;
    return status;
}

RegStatus Win32Registry::SetValue(RegHandle key, const std::string& valueName, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size)
{
    if (!data && size != 0)
        return ERROR_INVALID_PARAMETER;
    // For a string that does not end in NUL, RegSetValueExA reads the byte after the data and,
    // when that is NUL, stores it too. A copy followed by a byte that is not NUL keeps the
    // value to exactly size bytes and the system within the caller's buffer.
    if (IsStringType(type) && size != 0 && data[size - 1] != 0) {
        std::vector<std::uint8_t> copy(data, data + size);
        copy.push_back(1);
        return RegSetValueExA(ToKey(key), valueName.c_str(), 0, type, copy.data(), size);
    }
    return RegSetValueExA(ToKey(key), valueName.c_str(), 0, type, data, size);
}

RegStatus Win32Registry::CloseKey(RegHandle key)
{
    return RegCloseKey(ToKey(key));
}
