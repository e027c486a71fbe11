#include "data/ServerInfo.h"

#include <utility>

ServerInfo::ServerInfo(std::string name) : Name(std::move(name))
{
}

ServerInfo::ServerInfo(std::string name, std::string timeZone, std::string hostname)
    : Hostname(std::move(hostname)), Name(std::move(name)), TimeZone(std::move(timeZone))
{
}
