#include "CursorWatchingRegistry.h"

#include <QApplication>
#include <QCursor>

void CursorWatchingRegistry::Note()
{
    const QCursor* cursor = QApplication::overrideCursor();
    if (cursor != nullptr && cursor->shape() == Qt::WaitCursor)
        ++OpenedWithWaitCursor;
    else
        ++OpenedWithoutWaitCursor;
}

RegStatus CursorWatchingRegistry::OpenKey(RegHandle root, const std::string& subKey,
                                          std::uint32_t access, RegHandle& result)
{
    Note();
    return ForwardingRegistry::OpenKey(root, subKey, access, result);
}

RegStatus CursorWatchingRegistry::CreateKey(RegHandle root, const std::string& subKey,
                                            std::uint32_t options, std::uint32_t access,
                                            RegHandle& result, std::uint32_t* disposition)
{
    Note();
    return ForwardingRegistry::CreateKey(root, subKey, options, access, result, disposition);
}
