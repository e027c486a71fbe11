#include "data/ForwardingRegistry.h"

RegStatus ForwardingRegistry::OpenKey(RegHandle root, const std::string& subKey,
                                      std::uint32_t access, RegHandle& result)
{
    return m_target->OpenKey(root, subKey, access, result);
}

RegStatus ForwardingRegistry::QueryValue(RegHandle key, const std::string& valueName,
                                         std::uint32_t* type, std::uint8_t* data,
                                         std::uint32_t* size)
{
    return m_target->QueryValue(key, valueName, type, data, size);
}

RegStatus ForwardingRegistry::CreateKey(RegHandle root, const std::string& subKey,
                                        std::uint32_t options, std::uint32_t access,
                                        RegHandle& result, std::uint32_t* disposition)
{
    return m_target->CreateKey(root, subKey, options, access, result, disposition);
}

RegStatus ForwardingRegistry::SetValue(RegHandle key, const std::string& valueName,
                                       std::uint32_t type, const std::uint8_t* data,
                                       std::uint32_t size)
{
    return m_target->SetValue(key, valueName, type, data, size);
}

RegStatus ForwardingRegistry::CloseKey(RegHandle key)
{
    return m_target->CloseKey(key);
}

RegStatus ForwardingRegistry::CheckWritable()
{
    return m_target->CheckWritable();
}

const ErrorTextSource& ForwardingRegistry::ErrorTexts() const
{
    return m_target->ErrorTexts();
}
