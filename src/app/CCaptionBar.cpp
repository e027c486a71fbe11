#include "app/CCaptionBar.h"

#include <QLabel>

CCaptionBar::CCaptionBar(QWidget* parent) : QToolBar(parent), m_label(new QLabel(this))
{
    setObjectName(QStringLiteral("captionBar"));
    setMovable(false);
    setFloatable(false);

    // Flat: a plain dark band with the title in bold white.
    setStyleSheet(QStringLiteral("QToolBar#captionBar { background: #5f6874; border: none; "
                                 "padding: 0px; spacing: 0px; }"
                                 "QLabel#captionText { color: white; font-weight: bold; "
                                 "padding: 3px 6px; }"));

    m_label->setObjectName(QStringLiteral("captionText"));
    QFont titleFont = m_label->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    m_label->setFont(titleFont);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A long title is cut rather than pushed into the toolbar's overflow menu.
    m_label->setMinimumWidth(1);
    m_label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(m_label);
}

void CCaptionBar::setText(const QString& text)
{
    m_label->setText(text);
}

QString CCaptionBar::text() const
{
    return m_label->text();
}
