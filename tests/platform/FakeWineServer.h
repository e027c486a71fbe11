#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

// A process that does what a running wineserver does in its server folder: it holds the lock
// on byte 0 of "lock" and works in that folder, until it is stopped.
class FakeWineServer {
public:
    explicit FakeWineServer(const std::filesystem::path& folder);
    FakeWineServer(const FakeWineServer&) = delete;
    FakeWineServer& operator=(const FakeWineServer&) = delete;
    ~FakeWineServer();

    // The name of a prefix's server folder: server-<device>-<inode>.
    static std::string FolderName(const std::filesystem::path& prefix);

    bool Running() const { return m_running; }
    void Stop();

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_running = false;
};
