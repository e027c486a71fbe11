#include "app/CommandInfo.h"

#include "app/Resource.h"

#include <array>
#include <iterator>

namespace {
constexpr std::array kCommands = {
    CommandInfo{ID_FILE_WINE_PREFIX, "ID_FILE_WINE_PREFIX", "&Wine prefix\u2026", nullptr,
                "Choose the Wine prefix whose games are edited", "Wine prefix", nullptr},
    CommandInfo{ID_FILE_RELOAD, "ID_FILE_RELOAD", "Rel&oad from registry...\tCtrl+O", "Ctrl+O",
                "Reload server list from registry", "Reload from registry", ":/toolbar/reload.png"},
    CommandInfo{ID_FILE_SAVE_REGISTRY, "ID_FILE_SAVE_REGISTRY", "&Save to registry\tCtrl+S",
                "Ctrl+S", "Save server list to registry", "Save to registry", ":/toolbar/save.png"},
    CommandInfo{ID_FILE_IMPORT, "ID_FILE_IMPORT", "&Import from file\tCtrl+I", "Ctrl+I",
                "Import server list from file", "Import from file", nullptr},
    CommandInfo{ID_FILE_EXPORT, "ID_FILE_EXPORT", "&Export to file\tCtrl+X", "Ctrl+X",
                "Export server list to file", "Export to file", nullptr},
    CommandInfo{ID_APP_EXIT, "ID_APP_EXIT", "E&xit", nullptr, nullptr, nullptr, nullptr},
    CommandInfo{ID_EDIT_OPTIONS, "ID_EDIT_OPTIONS", "&Options", nullptr, "Edit Options",
                "Edit Program Options", ":/toolbar/options.png"},
    CommandInfo{ID_SERVER_ADD, "ID_SERVER_ADD", "&Add a server...\tCtrl+A", "Ctrl+A",
                "Add a BattleNet Server to the list", "Add Server", ":/toolbar/add.png"},
    CommandInfo{ID_SERVER_EDIT, "ID_SERVER_EDIT", "&Edit a server...\tCtrl+E", "Ctrl+E",
                "Edit the BattleNet Server's properties", "Edit Server's Properties",
                ":/toolbar/edit.png"},
    CommandInfo{ID_SERVER_DELETE, "ID_SERVER_DELETE", "&Delete a server...\tCtrl+D", "Ctrl+D",
                "Remove a BattleNet Server from the list", "Remove Server", ":/toolbar/delete.png"},
    CommandInfo{ID_SERVER_CLEAR_ALL, "ID_SERVER_CLEAR_ALL", "&Clear All", nullptr,
                "Clear the server list of current selected game", nullptr, nullptr},
    CommandInfo{ID_SERVER_PING_ALL, "ID_SERVER_PING_ALL", "&Ping all servers...\tCtrl+P", "Ctrl+P",
                "Ping the BattleNet Servers", "Ping Servers", ":/toolbar/ping.png"},
    CommandInfo{ID_APP_ABOUT, "ID_APP_ABOUT", "&About Portico...", nullptr, nullptr, nullptr,
                ":/toolbar/about.png"},
};

// Prompt and tooltip are the same text for the game commands.
constexpr std::array kGamePrompts = {"Starcraft/Broodwar", "Diablo II", "Warcraft 3", "Shortcut 4"};
} // namespace

std::span<const CommandInfo> CommandInfo::All()
{
    return kCommands;
}

const char* CommandInfo::GamePrompt(int index)
{
    if (index < 0 || index >= static_cast<int>(std::size(kGamePrompts)))
        return nullptr;
    return kGamePrompts[static_cast<std::size_t>(index)];
}
