#include "dialogs/BalloonKeyCloseList.h"

#include <algorithm>

bool BalloonKeyCloseList::Register(Handle balloon)
{
    const std::lock_guard lock(m_lock);
    const bool install = !m_watcherInstalled;
    m_watcherInstalled = true;
    m_balloons.push_back(balloon);
    return install;
}

bool BalloonKeyCloseList::Unregister(Handle balloon)
{
    const std::lock_guard lock(m_lock);
    m_balloons.erase(std::remove(m_balloons.begin(), m_balloons.end(), balloon), m_balloons.end());
    if (m_balloons.empty() && m_watcherInstalled) {
        m_watcherInstalled = false;
        return true;
    }
    return false;
}

std::vector<BalloonKeyCloseList::Handle> BalloonKeyCloseList::KeyEvent(bool released)
{
    if (released)
        return {};
    const std::lock_guard lock(m_lock);
    std::vector<Handle> closing;
    closing.swap(m_balloons);
    return closing;
}

bool BalloonKeyCloseList::WatcherInstalled() const
{
    const std::lock_guard lock(m_lock);
    return m_watcherInstalled;
}

std::size_t BalloonKeyCloseList::Count() const
{
    const std::lock_guard lock(m_lock);
    return m_balloons.size();
}
