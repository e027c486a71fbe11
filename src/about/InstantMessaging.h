#pragma once

#include "data/MessagePresenter.h"

#include <optional>
#include <string>

class Messenger;

namespace Util {

// A message for the user to see in a box.
struct UserMessage {
    std::string Text;
    MessageIcon Icon;
};

// Opens a conversation with the author in the user's messenger. Each call starts the
// messenger afresh and releases it before returning. Returns why nothing was opened: the
// messenger cannot be started, its status cannot be read, the user is not connected, or an
// unknown error; nullopt when the conversation was asked for.
std::optional<UserMessage> InstantMessagingMe(Messenger& messenger);

} // namespace Util
