#pragma once

#include <string>

enum class MessageIcon { Warning, Error, Information };

// The answers to a question about changes not saved.
enum class SaveChoice { Save, Discard, Cancel };

// Where the windows' message boxes go: the program shows them titled "Portico", with an OK
// button or the answers of a question; tests record them.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
    // Asks whether to save changes before they would be lost, with Save, Discard and Cancel.
    virtual SaveChoice AskSaveChanges(const std::string& text) = 0;
};
