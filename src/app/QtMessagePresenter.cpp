#include "app/QtMessagePresenter.h"

#include "data/AnsiCodePage.h"

#include <QMessageBox>

void QtMessagePresenter::ShowMessage(const std::string& text, MessageIcon icon)
{
    QMessageBox::Icon qtIcon = QMessageBox::Warning;
    if (icon == MessageIcon::Error)
        qtIcon = QMessageBox::Critical;
    else if (icon == MessageIcon::Information)
        qtIcon = QMessageBox::Information;
    QMessageBox box(qtIcon, QStringLiteral("Portico"),
                    QString::fromStdU16String(AnsiCodePage::ToUtf16(text)), QMessageBox::Ok,
                    m_parent);
    box.exec();
}
