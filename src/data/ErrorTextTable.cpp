#include "data/ErrorTextTable.h"

#include "data/ErrorCodes.h"

#include <array>
#include <utility>

namespace {
using Entry = std::pair<std::uint32_t, const char*>;

// Worded as Windows words them, with the line break that system texts end in.
constexpr std::array kTexts = {
    Entry{ErrorCode::Success, "The operation completed successfully.\r\n"},
    Entry{ErrorCode::FileNotFound, "The system cannot find the file specified.\r\n"},
    Entry{ErrorCode::PathNotFound, "The system cannot find the path specified.\r\n"},
    Entry{ErrorCode::AccessDenied, "Access is denied.\r\n"},
    Entry{ErrorCode::InvalidHandle, "The handle is invalid.\r\n"},
    Entry{ErrorCode::NotEnoughMemory,
          "Not enough memory resources are available to process this command.\r\n"},
    Entry{ErrorCode::WriteProtect, "The media is write protected.\r\n"},
    Entry{ErrorCode::WriteFault, "The system cannot write to the specified device.\r\n"},
    Entry{ErrorCode::ReadFault, "The system cannot read from the specified device.\r\n"},
    Entry{ErrorCode::SharingViolation,
          "The process cannot access the file because it is being used by another process.\r\n"},
    Entry{ErrorCode::LockViolation, "The process cannot access the file because another process "
                                    "has locked a portion of the file.\r\n"},
    Entry{ErrorCode::UnexpectedNetError, "An unexpected network error occurred.\r\n"},
    Entry{ErrorCode::InvalidParameter, "The parameter is incorrect.\r\n"},
    Entry{ErrorCode::DiskFull, "There is not enough space on the disk.\r\n"},
    Entry{ErrorCode::InvalidName,
          "The filename, directory name, or volume label syntax is incorrect.\r\n"},
    Entry{ErrorCode::Busy, "The requested resource is in use.\r\n"},
    Entry{ErrorCode::MoreData, "More data is available.\r\n"},
    Entry{ErrorCode::NoMoreItems, "No more data is available.\r\n"},
    Entry{ErrorCode::BadDb, "The configuration registry database is corrupt.\r\n"},
    Entry{ErrorCode::BadKey, "The configuration registry key is invalid.\r\n"},
    Entry{ErrorCode::CantOpen, "The configuration registry key could not be opened.\r\n"},
    Entry{ErrorCode::CantRead, "The configuration registry key could not be read.\r\n"},
    Entry{ErrorCode::CantWrite, "The configuration registry key could not be written.\r\n"},
    Entry{ErrorCode::RegistryIoFailed,
          "An I/O operation initiated by the registry failed unrecoverably. The registry could "
          "not read in, or write out, or flush, one of the files that contain the system's "
          "image of the registry.\r\n"},
    Entry{ErrorCode::KeyDeleted,
          "Illegal operation attempted on a registry key that has been marked for deletion.\r\n"},
    Entry{ErrorCode::WsaInterrupted,
          "A blocking operation was interrupted by a call to WSACancelBlockingCall.\r\n"},
    Entry{ErrorCode::WsaBadFile, "The file handle supplied is not valid.\r\n"},
    // Where the system refuses both ICMP sockets, the user needs to know what to change.
    Entry{ErrorCode::WsaAccess,
          "An attempt was made to access a socket in a way forbidden by its access permissions: "
          "to let users ping without privileges, include their group in the range of the "
          "net.ipv4.ping_group_range setting (for example, sysctl -w "
          "net.ipv4.ping_group_range=\"0 2147483647\").\r\n"},
    Entry{ErrorCode::WsaFault, "The system detected an invalid pointer address in attempting to "
                               "use a pointer argument in a call.\r\n"},
    Entry{ErrorCode::WsaInvalid, "An invalid argument was supplied.\r\n"},
    Entry{ErrorCode::WsaTooManySockets, "Too many open sockets.\r\n"},
    Entry{ErrorCode::WsaWouldBlock,
          "A non-blocking socket operation could not be completed immediately.\r\n"},
    Entry{ErrorCode::WsaNotSocket,
          "An operation was attempted on something that is not a socket.\r\n"},
    Entry{ErrorCode::WsaMessageSize,
          "A message sent on a datagram socket was larger than the internal message buffer or "
          "some other network limit, or the buffer used to receive a datagram into was smaller "
          "than the datagram itself.\r\n"},
    Entry{ErrorCode::WsaProtocolType,
          "A protocol was specified in the socket function call that does not support the "
          "semantics of the socket type requested.\r\n"},
    Entry{ErrorCode::WsaNoProtocolOption,
          "An unknown, invalid, or unsupported option or level was specified in a getsockopt or "
          "setsockopt call.\r\n"},
    Entry{ErrorCode::WsaProtocolNotSupported,
          "The requested protocol has not been configured into the system, or no "
          "implementation for it exists.\r\n"},
    Entry{ErrorCode::WsaSocketTypeNotSupported,
          "The support for the specified socket type does not exist in this address "
          "family.\r\n"},
    Entry{ErrorCode::WsaOperationNotSupported,
          "The attempted operation is not supported for the type of object referenced.\r\n"},
    Entry{ErrorCode::WsaFamilyNotSupported,
          "An address incompatible with the requested protocol was used.\r\n"},
    Entry{ErrorCode::WsaAddressInUse, "Only one usage of each socket address "
                                      "(protocol/network address/port) is normally "
                                      "permitted.\r\n"},
    Entry{ErrorCode::WsaAddressNotAvailable,
          "The requested address is not valid in its context.\r\n"},
    Entry{ErrorCode::WsaNetworkDown, "A socket operation encountered a dead network.\r\n"},
    Entry{ErrorCode::WsaNetworkUnreachable,
          "A socket operation was attempted to an unreachable network.\r\n"},
    Entry{ErrorCode::WsaNoBuffers,
          "An operation on a socket could not be performed because the system lacked "
          "sufficient buffer space or because a queue was full.\r\n"},
    Entry{ErrorCode::WsaTimedOut,
          "A connection attempt failed because the connected party did not properly respond "
          "after a period of time, or established connection failed because connected host has "
          "failed to respond.\r\n"},
    Entry{ErrorCode::WsaConnectionRefused, "No connection could be made because the target "
                                           "machine actively refused it.\r\n"},
    Entry{ErrorCode::WsaHostDown,
          "A socket operation failed because the destination host was down.\r\n"},
    Entry{ErrorCode::WsaHostUnreachable,
          "A socket operation was attempted to an unreachable host.\r\n"},
    Entry{ErrorCode::WsaHostNotFound, "No such host is known.\r\n"},
    Entry{ErrorCode::WsaTryAgain,
          "This is usually a temporary error during hostname resolution and means that the "
          "local server did not receive a response from an authoritative server.\r\n"},
    Entry{ErrorCode::WsaNoRecovery,
          "A non-recoverable error occurred during a database lookup.\r\n"},
    Entry{ErrorCode::WsaNoData,
          "The requested name is valid, but no data of the requested type was found.\r\n"},
    Entry{ErrorCode::WineServerRunning,
          "Wine is running for this prefix and would overwrite the change: close the games, or "
          "run `wineserver -k`, then save again.\r\n"},
};
} // namespace

std::string ErrorTextTable::SystemText(std::uint32_t code) const
{
    for (const auto& [known, text] : kTexts) {
        if (known == code)
            return text;
    }
    return {};
}

const ErrorTextTable& ErrorTextTable::Shared()
{
    static const ErrorTextTable table;
    return table;
}
