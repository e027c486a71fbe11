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

// Windows Sockets.
inline constexpr std::uint32_t WsaInterrupted = 10004;
inline constexpr std::uint32_t WsaBadFile = 10009;
inline constexpr std::uint32_t WsaAccess = 10013;
inline constexpr std::uint32_t WsaFault = 10014;
inline constexpr std::uint32_t WsaInvalid = 10022;
inline constexpr std::uint32_t WsaTooManySockets = 10024;
inline constexpr std::uint32_t WsaWouldBlock = 10035;
inline constexpr std::uint32_t WsaNotSocket = 10038;
inline constexpr std::uint32_t WsaMessageSize = 10040;
inline constexpr std::uint32_t WsaProtocolType = 10041;
inline constexpr std::uint32_t WsaNoProtocolOption = 10042;
inline constexpr std::uint32_t WsaProtocolNotSupported = 10043;
inline constexpr std::uint32_t WsaSocketTypeNotSupported = 10044;
inline constexpr std::uint32_t WsaOperationNotSupported = 10045;
inline constexpr std::uint32_t WsaFamilyNotSupported = 10047;
inline constexpr std::uint32_t WsaAddressInUse = 10048;
inline constexpr std::uint32_t WsaAddressNotAvailable = 10049;
inline constexpr std::uint32_t WsaNetworkDown = 10050;
inline constexpr std::uint32_t WsaNetworkUnreachable = 10051;
inline constexpr std::uint32_t WsaNoBuffers = 10055;
inline constexpr std::uint32_t WsaTimedOut = 10060;
inline constexpr std::uint32_t WsaConnectionRefused = 10061;
inline constexpr std::uint32_t WsaHostDown = 10064;
inline constexpr std::uint32_t WsaHostUnreachable = 10065;
inline constexpr std::uint32_t WsaHostNotFound = 11001;
inline constexpr std::uint32_t WsaTryAgain = 11002;
inline constexpr std::uint32_t WsaNoRecovery = 11003;
inline constexpr std::uint32_t WsaNoData = 11004;

// Codes of Portico's own, in the range that Windows leaves to applications (bit 29 set).
inline constexpr std::uint32_t WineServerRunning = 0x20000001;
} // namespace ErrorCode
