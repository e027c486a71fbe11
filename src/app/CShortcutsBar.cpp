#include "app/CShortcutsBar.h"

#include <QAction>
#include <QLabel>
#include <QPalette>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

CShortcutsBar::CShortcutsBar(QWidget* parent) : QDockWidget(parent), m_buttons(nullptr)
{
    setObjectName(QStringLiteral("shortcutsBar"));
    // A fixed part of the frame: no title, not movable, not closable.
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    setTitleBarWidget(new QWidget(this));
    setFixedWidth(kWidth);

    auto* bar = new QWidget(this);
    auto* layout = new QVBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The page's caption, drawn like the button that opens a page.
    auto* caption = new QLabel(QStringLiteral("Supported games"), bar);
    caption->setObjectName(QStringLiteral("pageCaption"));
    caption->setAlignment(Qt::AlignCenter);
    caption->setFrameStyle(QFrame::Panel | QFrame::Raised);
    caption->setMargin(3);
    caption->setAutoFillBackground(true);
    caption->setBackgroundRole(QPalette::Button);
    layout->addWidget(caption);

    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("supportedGamesPage"));
    QPalette pagePalette = page->palette();
    pagePalette.setColor(QPalette::Window, Qt::white);
    pagePalette.setColor(QPalette::Button, Qt::white);
    pagePalette.setColor(QPalette::WindowText, pagePalette.color(QPalette::ButtonText));
    page->setPalette(pagePalette);
    page->setAutoFillBackground(true);
    m_buttons = new QVBoxLayout(page);
    m_buttons->setContentsMargins(0, 8, 0, 8);
    m_buttons->setSpacing(6);
    m_buttons->addStretch();

    auto* scroller = new QScrollArea(bar);
    scroller->setObjectName(QStringLiteral("pageScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidgetResizable(true);
    scroller->setWidget(page);
    layout->addWidget(scroller, 1);
    setWidget(bar);
}

void CShortcutsBar::addButton(QAction* action)
{
    auto* button = new QToolButton;
    button->setObjectName(QStringLiteral("shortcut_") + action->objectName());
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(kIconSize, kIconSize));
    button->setAutoRaise(true);
    // As wide as the page; a long name is cut at the sides rather than widening the bar.
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    // Before the stretch that keeps the buttons at the top.
    m_buttons->insertWidget(m_buttons->count() - 1, button);
}

void CShortcutsBar::clearButtons()
{
    // Everything but the stretch that keeps the buttons at the top.
    while (m_buttons->count() > 1) {
        QLayoutItem* item = m_buttons->takeAt(0);
        delete item->widget();
        delete item;
    }
}
