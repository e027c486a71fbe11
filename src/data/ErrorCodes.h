#pragma once

#include <cstdint>

// Windows error codes that Portico meets, with the same values on every system.
namespace ErrorCode {
inline constexpr std::uint32_t Success = 0;
inline constexpr std::uint32_t FileNotFound = 2;
inline constexpr std::uint32_t PathNotFound = 3;
inline constexpr std::uint32_t AccessDenied = 5;
inline constexpr std::uint32_t InvalidHandle = 6;
inline constexpr std::uint32_t NotEnoughMemory = 8;
inline constexpr std::uint32_t WriteProtect = 19;
inline constexpr std::uint32_t WriteFault = 29;
inline constexpr std::uint32_t ReadFault = 30;
inline constexpr std::uint32_t SharingViolation = 32;
inline constexpr std::uint32_t LockViolation = 33;
inline constexpr std::uint32_t UnexpectedNetError = 59;
inline constexpr std::uint32_t InvalidParameter = 87;
inline constexpr std::uint32_t DiskFull = 112;
inline constexpr std::uint32_t InvalidName = 123;
inline constexpr std::uint32_t Busy = 170;
inline constexpr std::uint32_t MoreData = 234;
inline constexpr std::uint32_t NoMoreItems = 259;
inline constexpr std::uint32_t BadDb = 1009;
inline constexpr std::uint32_t BadKey = 1010;
inline constexpr std::uint32_t CantOpen = 1011;
inline constexpr std::uint32_t CantRead = 1012;
inline constexpr std::uint32_t CantWrite = 1013;
inline constexpr std::uint32_t RegistryIoFailed = 1016;
inline constexpr std::uint32_t KeyDeleted = 1018;
inline constexpr std::uint32_t WsaAccess = 10013;
inline constexpr std::uint32_t WsaTimedOut = 10060;
inline constexpr std::uint32_t WsaHostNotFound = 11001;

// Codes of Portico's own, in the range that Windows leaves to applications (bit 29 set).
inline constexpr std::uint32_t WineServerRunning = 0x20000001;
} // namespace ErrorCode
