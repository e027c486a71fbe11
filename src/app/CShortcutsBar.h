#pragma once

#include <QDockWidget>

class QAction;
class QVBoxLayout;

// The bar on the left of the frame: one page, "Supported games", with a large button per
// installed game on a white background.
class CShortcutsBar : public QDockWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 130;
    static constexpr int kIconSize = 32;

    explicit CShortcutsBar(QWidget* parent = nullptr);

    // A button at the end of the page, showing the action's icon and text and triggering it.
    void addButton(QAction* action);
    // Removes every button; their actions stay.
    void clearButtons();

private:
    QVBoxLayout* m_buttons;
};
