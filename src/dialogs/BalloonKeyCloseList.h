#pragma once

#include <mutex>
#include <vector>

// The balloons that close on the next key press, shared by every balloon of the process. The
// window layer installs one key watcher while any balloon is registered; a key press closes
// every registered balloon at once and empties the list.
class BalloonKeyCloseList {
public:
    using Handle = void*;

    // Returns true when the key watcher must be installed now.
    bool Register(Handle balloon);
    // Removes every entry of the balloon; returns true when the key watcher must be removed.
    bool Unregister(Handle balloon);
    // A key event: a press returns the balloons to close, in registration order, and empties
    // the list; a release closes nothing. The watcher stays installed either way.
    std::vector<Handle> KeyEvent(bool released);

    bool WatcherInstalled() const;
    std::size_t Count() const;

private:
    mutable std::mutex m_lock;
    std::vector<Handle> m_balloons;
    bool m_watcherInstalled = false;
};
