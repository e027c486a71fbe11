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
    Entry{ErrorCode::WsaAccess, "An attempt was made to access a socket in a way forbidden by "
                                "its access permissions.\r\n"},
    Entry{ErrorCode::WsaTimedOut,
          "A connection attempt failed because the connected party did not properly respond "
          "after a period of time, or established connection failed because connected host has "
          "failed to respond.\r\n"},
    Entry{ErrorCode::WsaHostNotFound, "No such host is known.\r\n"},
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
