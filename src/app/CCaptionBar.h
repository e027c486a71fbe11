#pragma once

#include <QToolBar>

class QLabel;

// The bar across the top of the frame, under the toolbar, that names the selected game.
class CCaptionBar : public QToolBar {
    Q_OBJECT

public:
    explicit CCaptionBar(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;

private:
    QLabel* m_label;
};
