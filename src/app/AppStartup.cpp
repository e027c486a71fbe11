#include "app/AppStartup.h"

#include "data/GameCatalog.h"
#include "data/Util.h"

#include <sstream>
#include <string>

bool AppStartup::LoadCatalog(GameCatalog& catalog, std::string* error)
{
    std::stringstream stream(std::ios::in | std::ios::out);
    const std::string resourceName = "CONFIG.XML";
    Util::LoadXmlResource(resourceName, stream);
    return catalog.Parse(stream, error);
}
