#pragma once

// Command ids. Menu items, toolbar buttons, accelerators and the enabling of
// commands all refer to a command by its number.

inline constexpr int ID_FILE_IMPORT = 177;
inline constexpr int ID_FILE_EXPORT = 178;
inline constexpr int ID_FILE_RELOAD = 180;
inline constexpr int ID_FILE_SAVE_REGISTRY = 181;
inline constexpr int ID_FILE_WINE_PREFIX = 184;
inline constexpr int ID_EDIT_OPTIONS = 168;
inline constexpr int ID_SERVER_ADD = 164;
inline constexpr int ID_SERVER_EDIT = 165;
inline constexpr int ID_SERVER_DELETE = 166;
inline constexpr int ID_SERVER_PING_ALL = 167;
inline constexpr int ID_SERVER_CLEAR_ALL = 183;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;

// One command per game of the catalogue, by catalogue index; only eleven are handled.
inline constexpr int ID_GAME_FIRST = 32818;
inline constexpr int ID_GAME_LAST = 32828;
