#include "platform/SocketErrors.h"

#include "data/ErrorCodes.h"

#include <cerrno>
#include <netdb.h>

namespace SocketErrors {

std::uint32_t FromErrno(int error)
{
    switch (error) {
    case EINTR:
        return ErrorCode::WsaInterrupted;
    case EBADF:
        return ErrorCode::WsaBadFile;
    case EPERM:
    case EACCES:
        return ErrorCode::WsaAccess;
    case EFAULT:
        return ErrorCode::WsaFault;
    case EINVAL:
        return ErrorCode::WsaInvalid;
    case EMFILE:
    case ENFILE:
        return ErrorCode::WsaTooManySockets;
    case EAGAIN:
        return ErrorCode::WsaWouldBlock;
    case ENOTSOCK:
        return ErrorCode::WsaNotSocket;
    case EMSGSIZE:
        return ErrorCode::WsaMessageSize;
    case EPROTOTYPE:
        return ErrorCode::WsaProtocolType;
    case ENOPROTOOPT:
        return ErrorCode::WsaNoProtocolOption;
    case EPROTONOSUPPORT:
        return ErrorCode::WsaProtocolNotSupported;
    case ESOCKTNOSUPPORT:
        return ErrorCode::WsaSocketTypeNotSupported;
    case EOPNOTSUPP:
        return ErrorCode::WsaOperationNotSupported;
    case EAFNOSUPPORT:
        return ErrorCode::WsaFamilyNotSupported;
    case EADDRINUSE:
        return ErrorCode::WsaAddressInUse;
    case EADDRNOTAVAIL:
        return ErrorCode::WsaAddressNotAvailable;
    case ENETDOWN:
        return ErrorCode::WsaNetworkDown;
    case ENETUNREACH:
        return ErrorCode::WsaNetworkUnreachable;
    case ENOBUFS:
    case ENOMEM:
        return ErrorCode::WsaNoBuffers;
    case ETIMEDOUT:
        return ErrorCode::WsaTimedOut;
    case ECONNREFUSED:
        return ErrorCode::WsaConnectionRefused;
    case EHOSTDOWN:
        return ErrorCode::WsaHostDown;
    case EHOSTUNREACH:
        return ErrorCode::WsaHostUnreachable;
    default:
        return ErrorCode::UnexpectedNetError;
    }
}

std::uint32_t FromAddrInfo(int code, int error)
{
    switch (code) {
    case EAI_NONAME:
        return ErrorCode::WsaHostNotFound;
    case EAI_AGAIN:
        return ErrorCode::WsaTryAgain;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
        return ErrorCode::WsaNoData;
    case EAI_MEMORY:
        return ErrorCode::NotEnoughMemory;
    case EAI_FAMILY:
        return ErrorCode::WsaFamilyNotSupported;
    case EAI_SOCKTYPE:
        return ErrorCode::WsaSocketTypeNotSupported;
    case EAI_BADFLAGS:
        return ErrorCode::WsaInvalid;
    case EAI_INTR:
        return ErrorCode::WsaInterrupted;
    case EAI_SYSTEM:
        return FromErrno(error);
    default:
        return ErrorCode::WsaNoRecovery;
    }
}

} // namespace SocketErrors
