#include "FakeWineServer.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

FakeWineServer::FakeWineServer(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    int ready[2];
    int release[2];
    if (pipe(ready) != 0 || pipe(release) != 0)
        return;
    m_pid = fork();
    if (m_pid == 0) {
        close(ready[0]);
        close(release[1]);
        const int fd = open((folder / "lock").c_str(), O_RDWR | O_CREAT, 0600);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_len = 1;
        if (fd < 0 || fcntl(fd, F_SETLK, &lock) != 0 || chdir(folder.c_str()) != 0)
            _exit(1);
        char byte = 1;
        if (write(ready[1], &byte, 1) != 1)
            _exit(1);
        // Returns when the test closes its end.
        while (read(release[0], &byte, 1) > 0) {
        }
        _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    m_release = release[1];
    char byte;
    m_running = m_pid > 0 && read(ready[0], &byte, 1) == 1;
    close(ready[0]);
}

FakeWineServer::~FakeWineServer()
{
    Stop();
}

std::string FakeWineServer::FolderName(const std::filesystem::path& prefix)
{
    struct stat status {};
    stat(prefix.c_str(), &status);
    char name[64];
    std::snprintf(name, sizeof name, "server-%llx-%llx",
                  static_cast<unsigned long long>(status.st_dev),
                  static_cast<unsigned long long>(status.st_ino));
    return name;
}

void FakeWineServer::Stop()
{
    if (m_pid <= 0)
        return;
    close(m_release);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}
