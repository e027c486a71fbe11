#include "platform/Win32ErrorTexts.h"

#include "data/ErrorTextTable.h"

#include <windows.h>

std::string Win32ErrorTexts::SystemText(std::uint32_t code) const
{
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&buffer),
        0, nullptr);
    std::string text;
    if (length != 0 && buffer != nullptr)
        text.assign(buffer, length);
    if (buffer != nullptr)
        LocalFree(buffer);
    if (text.empty())
        return ErrorTextTable::Shared().SystemText(code);
    return text;
}
