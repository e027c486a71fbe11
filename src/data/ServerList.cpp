#include "data/ServerList.h"

#include <algorithm>

namespace {
template <typename It> It FindFirst(It first, It last, const std::string& name)
{
    return std::find_if(first, last, [&](const ServerInfo& s) { return s.Name == name; });
}
} // namespace

ServerInfo* ServerList::FindByName(const std::string& name)
{
    auto it = FindFirst(m_servers.begin(), m_servers.end(), name);
    return it == m_servers.end() ? nullptr : &*it;
}

const ServerInfo* ServerList::FindByName(const std::string& name) const
{
    return const_cast<ServerList*>(this)->FindByName(name);
}

bool ServerList::RemoveByName(const std::string& name)
{
    auto it = FindFirst(m_servers.begin(), m_servers.end(), name);
    if (it == m_servers.end())
        return false;
    m_servers.erase(it);
    return true;
}

void ServerList::RemoveAt(std::size_t index)
{
    m_servers.erase(m_servers.begin() + static_cast<Container::difference_type>(index));
}

void ServerList::AddServer(const std::string& name)
{
    m_servers.emplace_back(name);
}

void ServerList::AddServer(const std::string& name, const std::string& timeZone,
                           const std::string& hostname)
{
    m_servers.emplace_back(name, timeZone, hostname);
}
