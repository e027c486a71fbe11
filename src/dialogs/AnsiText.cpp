#include "dialogs/AnsiText.h"

#include "data/AnsiCodePage.h"

QString AnsiText::ToQString(const std::string& ansi)
{
    return QString::fromStdU16String(AnsiCodePage::ToUtf16(ansi));
}

std::string AnsiText::FromQString(const QString& text)
{
    return AnsiCodePage::FromUtf16(text.toStdU16String());
}
