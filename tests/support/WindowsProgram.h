#pragma once

#include <string>

// The Windows build's programs that the Linux build's Wine tests run. Absent, they skip the test
// with what to build, or fail it where CI asks for them (PORTICO_REQUIRE_WINDOWS_BUILD), since
// CI builds them first. Call it in SetUp, and return there when the test is skipped or failed.
void RequireWindowsProgram(const std::string& path);
