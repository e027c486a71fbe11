#include "about/InstantMessaging.h"

#include "about/AuthorContact.h"
#include "about/Messenger.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {
// The messenger's statuses in which the user cannot send: undetermined, offline, busy, and
// finding, connecting to, synchronising with and disconnecting from the server.
constexpr std::array<std::int32_t, 7> kNotConnected = {0, 1, 10, 0x100, 0x200, 0x300, 0x400};

Util::UserMessage Warning(const char* text)
{
    return {text, MessageIcon::Warning};
}
} // namespace

std::optional<Util::UserMessage> Util::InstantMessagingMe(Messenger& messenger)
{
    try {
        const std::unique_ptr<Messenger::Instance> instance = messenger.Create();
        if (!instance)
            return Warning("MSN/Windows Messenger doesn't appear to be installed on your "
                           "system.\nSorry ;-)");
        const std::optional<std::int32_t> status = instance->MyStatus();
        if (!status)
            return Warning("Util::InstantMessagingMe() -> get_MyStatus Failed");
        if (std::ranges::find(kNotConnected, *status) != kNotConnected.end())
            return Warning("Unable to send instant message because you're not connected.\n"
                           "Please try again later");
        instance->InstantMessage(std::string(AuthorContact::kMessengerContact));
        return std::nullopt;
    } catch (...) {
        return Warning("Unknown error");
    }
}
