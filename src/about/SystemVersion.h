#pragma once

#include <string>

// The running system's name and version for the About box, in UTF-8.
std::string GetOsVersionText();
