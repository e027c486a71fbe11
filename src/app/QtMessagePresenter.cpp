#include "app/QtMessagePresenter.h"

#include "dialogs/AnsiText.h"

#include <QApplication>
#include <QMessageBox>

void QtMessagePresenter::ShowMessage(const std::string& text, MessageIcon icon)
{
    QMessageBox::Icon qtIcon = QMessageBox::Warning;
    if (icon == MessageIcon::Error)
        qtIcon = QMessageBox::Critical;
    else if (icon == MessageIcon::Information)
        qtIcon = QMessageBox::Information;
    // Without a parent of its own the box stands over the window the user works in.
    QWidget* parent = m_parent != nullptr ? m_parent : QApplication::activeWindow();
    QMessageBox box(qtIcon, QStringLiteral("Portico"), AnsiText::ToQString(text), QMessageBox::Ok,
                    parent);
    box.exec();
}
