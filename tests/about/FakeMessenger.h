#pragma once

#include "about/Messenger.h"

#include <optional>
#include <string>
#include <vector>

// A messenger whose answers a test sets, and which counts its objects.
class FakeMessenger : public Messenger {
public:
    enum class Failure { None, StdException, OtherException };

    std::unique_ptr<Instance> Create() override;

    bool Installed = true;
    // nullopt: the status cannot be read.
    std::optional<std::int32_t> Status = 2;
    // What opening a conversation throws.
    Failure ConversationFailure = Failure::None;

    int Created = 0;
    int Alive = 0;
    std::vector<std::string> Conversations;
};
