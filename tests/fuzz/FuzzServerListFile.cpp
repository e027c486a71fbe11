#include "data/GameCatalog.h"
#include "data/ServerListFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

// The import path whole: the bytes as a file on disk, read and parsed into the catalogue.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The file is removed when the fuzzer exits.
    static const struct ScratchFile {
        std::string Path = (std::filesystem::temp_directory_path() /
                            ("portico-fuzz-" + std::to_string(getpid()) + ".xml"))
                               .string();
        ~ScratchFile() { std::filesystem::remove(Path); }
    } scratch;
    const std::string& path = scratch.Path;
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    GameCatalog catalog;
    catalog.AddGame("Starcraft/Broodwar");
    std::stringstream stream;
    if (ReadServerListFile(path, stream))
        catalog.Parse(stream);
    return 0;
}
