#include "platform/HostLookup.h"

#include "data/ErrorCodes.h"
#include "platform/CallUnlessStopped.h"

HostLookup HostLookup::UnlessStopped(const std::function<HostLookup()>& lookUp,
                                     std::stop_token stop)
{
    return CallUnlessStopped(lookUp, stop).value_or(HostLookup{0, ErrorCode::WsaInterrupted});
}
