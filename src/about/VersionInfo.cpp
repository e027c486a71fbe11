#include "about/VersionInfo.h"

#include "about/VersionBlock.h"

#include <string>

extern const std::string_view kEmbeddedVersionBlock;

std::string_view ProgramVersionBlock()
{
    return kEmbeddedVersionBlock;
}

bool ReadVersionInfo(std::string_view block, VersionStrings& strings)
{
    strings = VersionStrings{};
    if (block.empty())
        return false;
    const VersionBlock version(block);
    // Only the table the program carries is looked at: no other language or code page.
    const std::string prefix = "\\StringFileInfo\\040904E4\\";
    if (!version.QueryValue(prefix + "ProductName"))
        return false;

    const struct {
        const char* key;
        std::string& field;
    } fields[] = {
        {"CompanyName", strings.CompanyName},         {"FileDescription", strings.FileDescription},
        {"ProductVersion", strings.ProductVersion},   {"PrivateBuild", strings.PrivateBuild},
        {"FileVersion", strings.FileVersion},         {"LegalCopyright", strings.LegalCopyright},
        {"LegalTrademarks", strings.LegalTrademarks},
    };
    for (const auto& [key, field] : fields) {
        const std::optional<std::string> value = version.QueryValue(prefix + key);
        field = value && !value->empty() ? *value : "???";
    }
    return true;
}
