#pragma once

#include <QPushButton>

// A button drawn as a link: no border and no background of its own, its image then its text
// on the left, the text in the highlight colour and pure blue while the mouse is over it, and
// a hand cursor. It never becomes the dialog's default button and draws no focus rectangle.
class LinkButton : public QPushButton {
    Q_OBJECT

public:
    explicit LinkButton(QWidget* parent = nullptr);

    // The image, shown at its own size.
    void SetImage(const QPixmap& image);
    // Takes the size of its content and keeps its position: the image and text widths with
    // ten pixels more, and ten more again when there is text; the text height or the image
    // height with ten pixels more, whichever is larger.
    void SizeToContent();
    QSize sizeHint() const override;

    // The colour the text is drawn in at present.
    QColor TextColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_hovered = false;
};
