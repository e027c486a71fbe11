#include "cli/ScriptMode.h"

#include "cli/FileWriter.h"
#include "cli/ScriptRequest.h"
#include "cli/ScriptRunner.h"

#ifdef _WIN32
#include "platform/Win32Registry.h"

#include <cerrno>
#include <fstream>
#else
#include "platform/AtomicFileWriter.h"
#include "platform/WineRegistry.h"
#endif

#include <iostream>
#include <optional>
#include <string>

namespace {
class PlatformFiles : public FileWriter {
public:
    int Replace(const std::string& path, std::string_view content) override
    {
#ifdef _WIN32
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(content.data(), static_cast<std::streamsize>(content.size()));
        file.close();
        return file ? 0 : EIO;
#else
        return AtomicFileWriter::Replace(path, content);
#endif
    }
};
} // namespace

int ScriptMode::Run(const ScriptRequest& request)
{
#ifdef _WIN32
    Win32Registry registry;
    const std::optional<std::string> prefix;
#else
    // The prefix the window would edit: --prefix, else $WINEPREFIX, else ~/.wine.
    const std::optional<std::string> prefix =
        request.Prefix ? *request.Prefix : WineRegistry::PrefixFromEnvironment();
    WineRegistry registry(*prefix);
#endif
    PlatformFiles files;
    ScriptRunner runner(registry, files, std::cout, std::cerr);
    return runner.Run(request, prefix);
}
