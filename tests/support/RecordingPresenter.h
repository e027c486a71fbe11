#pragma once

#include "data/MessagePresenter.h"

#include <string>
#include <vector>

// Keeps every message the code under test shows, in order.
class RecordingPresenter : public MessagePresenter {
public:
    struct Shown {
        std::string Text;
        MessageIcon Icon;
    };

    void ShowMessage(const std::string& text, MessageIcon icon) override;

    std::vector<Shown> Messages;
};
