#pragma once

#include "data/ServerInfo.h"

#include <string>
#include <vector>

// One game's gateways, in the order of the registry value and of the list view.
class ServerList {
public:
    using Container = std::vector<ServerInfo>;

    // The first server of that name (exact, case-sensitive); nullptr when there is none.
    ServerInfo* FindByName(const std::string& name);
    const ServerInfo* FindByName(const std::string& name) const;

    // Removes the first server of that name; false when there is none.
    bool RemoveByName(const std::string& name);
    // Removes the server at that place, keeping the order of the others.
    void RemoveAt(std::size_t index);

    void AddServer(const std::string& name);
    void AddServer(const std::string& name, const std::string& timeZone,
                   const std::string& hostname);

    void Clear() { m_servers.clear(); }
    bool Empty() const { return m_servers.empty(); }
    std::size_t Size() const { return m_servers.size(); }
    ServerInfo& operator[](std::size_t i) { return m_servers[i]; }
    const ServerInfo& operator[](std::size_t i) const { return m_servers[i]; }
    Container::iterator begin() { return m_servers.begin(); }
    Container::iterator end() { return m_servers.end(); }
    Container::const_iterator begin() const { return m_servers.begin(); }
    Container::const_iterator end() const { return m_servers.end(); }

private:
    Container m_servers;
};
