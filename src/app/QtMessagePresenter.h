#pragma once

#include "data/MessagePresenter.h"

class QWidget;

// Shows the data layer's messages as message boxes titled "Portico" with an OK button.
class QtMessagePresenter : public MessagePresenter {
public:
    explicit QtMessagePresenter(QWidget* parent = nullptr) : m_parent(parent) {}
    void ShowMessage(const std::string& text, MessageIcon icon) override;

private:
    QWidget* m_parent;
};
