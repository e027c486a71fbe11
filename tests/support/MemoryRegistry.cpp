#include "MemoryRegistry.h"

#include "data/ErrorCodes.h"

#include <cstring>

namespace {
bool IsRoot(RegHandle root)
{
    return root == Reg::CurrentUser || root == Reg::LocalMachine;
}

RegStatus Code(std::uint32_t code)
{
    return static_cast<RegStatus>(code);
}
} // namespace

std::string MemoryRegistry::Fold(const std::string& text)
{
    std::string folded = text;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

std::string MemoryRegistry::KeyId(RegHandle root, const std::string& path)
{
    std::string trimmed = path;
    while (!trimmed.empty() && trimmed.back() == '\\')
        trimmed.pop_back();
    return std::to_string(root) + ":" + Fold(trimmed);
}

RegStatus MemoryRegistry::Enter(Operation operation)
{
    ++m_calls[static_cast<int>(operation)];
    return m_failures[static_cast<int>(operation)];
}

void MemoryRegistry::FailWith(Operation operation, RegStatus code)
{
    m_failures[static_cast<int>(operation)] = code;
}

RegStatus MemoryRegistry::OpenKey(RegHandle root, const std::string& subKey, std::uint32_t,
                                  RegHandle& result)
{
    if (RegStatus failure = Enter(Operation::Open))
        return failure;
    if (!IsRoot(root))
        return Code(ErrorCode::InvalidHandle);
    const std::string id = KeyId(root, subKey);
    if (m_keys.count(id) == 0)
        return Code(ErrorCode::FileNotFound);
    result = m_nextHandle++;
    m_handles[result] = id;
    return 0;
}

RegStatus MemoryRegistry::QueryValue(RegHandle key, const std::string& valueName,
                                     std::uint32_t* type, std::uint8_t* data, std::uint32_t* size)
{
    if (RegStatus failure = Enter(Operation::Query))
        return failure;
    auto handle = m_handles.find(key);
    if (handle == m_handles.end())
        return Code(ErrorCode::InvalidHandle);
    const Key& entry = m_keys[handle->second];
    auto value = entry.Values.find(Fold(valueName));
    if (value == entry.Values.end())
        return Code(ErrorCode::FileNotFound);
    if (type != nullptr)
        *type = value->second.Type;
    const auto needed = static_cast<std::uint32_t>(value->second.Data.size());
    if (size == nullptr)
        return data == nullptr ? 0 : Code(ErrorCode::InvalidParameter);
    if (data != nullptr && *size < needed) {
        *size = needed;
        return Code(ErrorCode::MoreData);
    }
    if (data != nullptr)
        std::memcpy(data, value->second.Data.data(), needed);
    *size = needed;
    return 0;
}

RegStatus MemoryRegistry::CreateKey(RegHandle root, const std::string& subKey, std::uint32_t,
                                    std::uint32_t, RegHandle& result, std::uint32_t* disposition)
{
    if (RegStatus failure = Enter(Operation::Create))
        return failure;
    if (!IsRoot(root))
        return Code(ErrorCode::InvalidHandle);
    const std::string id = KeyId(root, subKey);
    const bool existed = m_keys.count(id) != 0;
    m_keys[id];
    if (disposition != nullptr)
        *disposition = existed ? Reg::OpenedExistingKey : Reg::CreatedNewKey;
    result = m_nextHandle++;
    m_handles[result] = id;
    return 0;
}

RegStatus MemoryRegistry::SetValue(RegHandle key, const std::string& valueName, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size)
{
    if (RegStatus failure = Enter(Operation::Set))
        return failure;
    auto handle = m_handles.find(key);
    if (handle == m_handles.end())
        return Code(ErrorCode::InvalidHandle);
    Value& value = m_keys[handle->second].Values[Fold(valueName)];
    value.Type = type;
    value.Data.assign(reinterpret_cast<const char*>(data), size);
    return 0;
}

RegStatus MemoryRegistry::CloseKey(RegHandle key)
{
    auto handle = m_handles.find(key);
    if (handle == m_handles.end())
        return Code(ErrorCode::InvalidHandle);
    m_handles.erase(handle);
    return Enter(Operation::Close);
}

void MemoryRegistry::AddKey(RegHandle root, const std::string& path)
{
    m_keys[KeyId(root, path)];
}

void MemoryRegistry::Put(RegHandle root, const std::string& path, const std::string& name,
                         const std::string& data, std::uint32_t type)
{
    m_keys[KeyId(root, path)].Values[Fold(name)] = Value{type, data};
}

std::optional<MemoryRegistry::Value> MemoryRegistry::Get(RegHandle root, const std::string& path,
                                                         const std::string& name) const
{
    auto key = m_keys.find(KeyId(root, path));
    if (key == m_keys.end())
        return std::nullopt;
    auto value = key->second.Values.find(Fold(name));
    if (value == key->second.Values.end())
        return std::nullopt;
    return value->second;
}

bool MemoryRegistry::HasKey(RegHandle root, const std::string& path) const
{
    return m_keys.count(KeyId(root, path)) != 0;
}
