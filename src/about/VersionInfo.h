#pragma once

#include "about/VersionStrings.h"

#include <string_view>

// The program's own version information, embedded at build time from the project's version.
std::string_view ProgramVersionBlock();

// Fills the strings from the U.S. English, code page 1252 table of a version block (see
// VersionBlock for its form). False, with every string empty, when the block is empty or that
// table has no ProductName; otherwise true, and a missing or empty value reads "???".
bool ReadVersionInfo(std::string_view block, VersionStrings& strings);
