#pragma once

#include <cstdint>

// The Windows Sockets codes for what the POSIX socket calls and the resolver report, so that the
// prober sees the same codes, and the user the same texts, on every system.
namespace SocketErrors {
// An errno value of a socket call.
std::uint32_t FromErrno(int error);
// A getaddrinfo result; error is errno at its return, which EAI_SYSTEM refers to.
std::uint32_t FromAddrInfo(int code, int error);
} // namespace SocketErrors
