#pragma once

#include "data/MessagePresenter.h"

// Message boxes go nowhere while fuzzing.
class FuzzNullPresenter : public MessagePresenter {
public:
    void ShowMessage(const std::string&, MessageIcon) override {}
};
