#pragma once

#include "data/MessagePresenter.h"

class QWidget;

// Shows the data layer's messages and questions as message boxes titled "Portico".
class QtMessagePresenter : public MessagePresenter {
public:
    explicit QtMessagePresenter(QWidget* parent = nullptr) : m_parent(parent) {}
    void ShowMessage(const std::string& text, MessageIcon icon) override;
    SaveChoice AskSaveChanges(const std::string& text) override;

private:
    QWidget* parent() const;

    QWidget* m_parent;
};
