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
    // Keeps the question and gives the next of Answers, or Cancel when none is left.
    SaveChoice AskSaveChanges(const std::string& text) override;

    std::vector<Shown> Messages;
    std::vector<std::string> Questions;
    std::vector<SaveChoice> Answers;
};
