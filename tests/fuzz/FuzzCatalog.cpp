#include "data/GameCatalog.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    GameCatalog catalog;
    std::stringstream stream(std::string(reinterpret_cast<const char*>(data), size));
    catalog.Parse(stream);
    // A second parse runs over records the first one left, as a second import does.
    std::stringstream again(std::string(reinterpret_cast<const char*>(data), size));
    catalog.Parse(again);
    return 0;
}
