#include "about/LinkButton.h"

#include <QEnterEvent>
#include <QPainter>

#include <algorithm>

namespace {
// Between the left edge and the image, and between the image and the text.
constexpr int kGap = 5;
constexpr int kMargin = 10;
} // namespace

LinkButton::LinkButton(QWidget* parent) : QPushButton(parent)
{
    setFlat(true);
    setAutoDefault(false);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

void LinkButton::SetImage(const QPixmap& image)
{
    setIcon(QIcon(image));
    setIconSize(image.size());
}

QSize LinkButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    const QString label = text();
    const int width = iconSize().width() + metrics.horizontalAdvance(label) + kMargin +
                      (label.isEmpty() ? 0 : kMargin);
    const int height = std::max(metrics.height(), iconSize().height() + kMargin);
    return {width, height};
}

void LinkButton::SizeToContent()
{
    resize(sizeHint());
    update();
}

QColor LinkButton::TextColor() const
{
    return m_hovered ? QColor(0, 0, 255) : palette().color(QPalette::Highlight);
}

void LinkButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QSize image = iconSize();
    const QRect imageRect(kGap, (height() - image.height()) / 2, image.width(), image.height());
    icon().paint(&painter, imageRect);
    painter.setPen(TextColor());
    painter.setFont(font());
    const QRect textRect(imageRect.right() + 1 + kGap, 0, width(), height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
}

void LinkButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QPushButton::enterEvent(event);
}

void LinkButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QPushButton::leaveEvent(event);
}
