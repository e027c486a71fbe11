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
    return m_inner.OpenKey(root, subKey, access, result);
}

RegStatus CursorWatchingRegistry::QueryValue(RegHandle key, const std::string& valueName,
                                             std::uint32_t* type, std::uint8_t* data,
                                             std::uint32_t* size)
{
    return m_inner.QueryValue(key, valueName, type, data, size);
}

RegStatus CursorWatchingRegistry::CreateKey(RegHandle root, const std::string& subKey,
                                            std::uint32_t options, std::uint32_t access,
                                            RegHandle& result, std::uint32_t* disposition)
{
    Note();
    return m_inner.CreateKey(root, subKey, options, access, result, disposition);
}

RegStatus CursorWatchingRegistry::SetValue(RegHandle key, const std::string& valueName,
                                           std::uint32_t type, const std::uint8_t* data,
                                           std::uint32_t size)
{
    return m_inner.SetValue(key, valueName, type, data, size);
}

RegStatus CursorWatchingRegistry::CloseKey(RegHandle key)
{
    return m_inner.CloseKey(key);
}
