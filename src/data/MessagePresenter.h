#pragma once

#include <string>

enum class MessageIcon { Warning, Error, Information };

// Where the windows' message boxes go: the program shows them titled "Portico" with an OK
// button; tests record them.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
};
