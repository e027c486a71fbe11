#pragma once

#include <optional>
#include <string>

// One command of the command-line mode, as the user typed it: every text in UTF-8.
struct ScriptRequest {
    enum class Command { List, Add, Remove, Import, Export };
    enum class Format { Text, Json };

    Command Action = Command::List;
    // The Wine prefix named on the command line (absolute); none for the usual one.
    std::optional<std::string> Prefix;
    // A game's name or alias; none for every installed game.
    std::optional<std::string> Game;
    std::string Name;
    std::string Host;
    std::string Zone;
    bool Replace = false;
    Format OutputFormat = Format::Text;
    // import: the file to read; export: the file to write, empty or "-" for standard output.
    std::string File;
};
