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
    QMessageBox box(qtIcon, QStringLiteral("Portico"), AnsiText::ToQString(text), QMessageBox::Ok,
                    parent());
    box.exec();
}

SaveChoice QtMessagePresenter::AskSaveChanges(const std::string& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Portico"), AnsiText::ToQString(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent());
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

QWidget* QtMessagePresenter::parent() const
{
    // Without a parent of its own the box stands over the window the user works in.
    return m_parent != nullptr ? m_parent : QApplication::activeWindow();
}
