#pragma once

#include <iostream>
#include <string>
#include <string_view>

// Copies a server list file into the stream as text (CR LF read as LF), without its leading
// white space, and appends one NUL. On failure returns false and error holds what to tell the
// user.
bool ReadServerListFile(const std::string& path, std::iostream& stream,
                        std::string* error = nullptr);

// The same for a file's bytes already in memory.
bool ReadServerListText(std::string_view bytes, std::iostream& stream,
                        std::string* error = nullptr);
