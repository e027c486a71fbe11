// Writes or reads one gateway list through the Windows registry, for the Linux build's check
// against the registry files of the same Wine prefix:
//   win32_registry_tool write HKEY_CURRENT_USER|HKEY_LOCAL_MACHINE KEY VALUE FILE
//     stores the file's bytes as the REG_MULTI_SZ value
//   win32_registry_tool read HKEY_CURRENT_USER|HKEY_LOCAL_MACHINE KEY VALUE FILE
//     writes the value's bytes to the file
// Exits with 0, or with 1 and the reason on the standard error.
#include "RegistryCalls.h"
#include "data/Util.h"
#include "platform/Win32Registry.h"

#include <windows.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>

int main(int argc, char* argv[])
{
    if (argc != 6) {
        std::cerr << "usage: " << argv[0] << " write|read ROOT KEY VALUE FILE\n";
        return 2;
    }
    // In another code page the 8-bit names change on their way through UTF-16.
    if (GetACP() != 1252) {
        std::cerr << "the ANSI code page is " << GetACP() << ", not 1252\n";
        return 1;
    }
    const std::string command = argv[1];
    const std::string key = argv[3];
    const std::string value = argv[4];
    const char* file = argv[5];
    RegHandle root = 0;
    try {
        root = Util::ConvertStringToHKEY(argv[2]);
    } catch (const std::runtime_error& e) {
        std::cerr << e.what() << '\n';
        return 2;
    }

    Win32Registry registry;
    RegStatus status = 0;
    if (command == "write") {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::cerr << "cannot read " << file << '\n';
            return 1;
        }
        const std::string data{std::istreambuf_iterator<char>(in), {}};
        status = RegistryCalls::SaveList(registry, root, key, value, data);
    } else if (command == "read") {
        const RegistryCalls::Read read = RegistryCalls::ReadValue(registry, root, key, value);
        status = read.status;
        std::ofstream out(file, std::ios::binary);
        out.write(read.data.data(), static_cast<std::streamsize>(read.data.size()));
        if (!out) {
            std::cerr << "cannot write " << file << '\n';
            return 1;
        }
    } else {
        std::cerr << "unknown command " << command << '\n';
        return 2;
    }
    if (status != 0) {
        std::cerr << command << ": error " << status << ": "
                  << Util::FormatErrorMessage(registry.ErrorTexts(),
                                              static_cast<std::uint32_t>(status))
                  << '\n';
        return 1;
    }
    return 0;
}
