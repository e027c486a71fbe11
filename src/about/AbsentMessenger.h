#pragma once

#include "about/Messenger.h"

// The messenger of a system that has none: it can never be started.
class AbsentMessenger : public Messenger {
public:
    std::unique_ptr<Instance> Create() override;
};
