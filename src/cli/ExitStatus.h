#pragma once

// The exit statuses of the program, the same for the window and for the commands.
namespace ExitStatus {
inline constexpr int Done = 0;
// The command line, or the input it names, cannot be used as given.
inline constexpr int Usage = 1;
// The Wine prefix, the game, the server or the file named does not exist.
inline constexpr int NotFound = 2;
// Wine runs for the prefix: nothing was written.
inline constexpr int WineRunning = 3;
// The registry or a file could not be written (or read).
inline constexpr int WriteFailed = 4;
} // namespace ExitStatus
