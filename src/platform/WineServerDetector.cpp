#include "platform/WineServerDetector.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
std::string ServerFolderName(const struct stat& prefix)
{
    char name[64];
    std::snprintf(name, sizeof name, "server-%llx-%llx",
                  static_cast<unsigned long long>(prefix.st_dev),
                  static_cast<unsigned long long>(prefix.st_ino));
    return name;
}

// Folders of running processes whose working folder carries that name: a wineserver works
// in its server folder, wherever its TMPDIR pointed.
std::vector<std::string> FoldersOfProcesses(const std::string& folderName)
{
    std::vector<std::string> found;
    DIR* proc = opendir("/proc");
    if (!proc)
        return found;
    while (const dirent* entry = readdir(proc)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9')
            continue;
        const std::string link = std::string("/proc/") + entry->d_name + "/cwd";
        char target[4096];
        const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
        if (n <= 0)
            continue;
        const std::string cwd(target, static_cast<std::size_t>(n));
        const std::size_t slash = cwd.rfind('/');
        if (slash != std::string::npos &&
            cwd.compare(slash + 1, std::string::npos, folderName) == 0)
            found.push_back(cwd);
    }
    closedir(proc);
    return found;
}

// The first line of the prefix's "wineserver" file. Only a regular file is read, and never
// waited for: a FIFO or a device there would stop the caller.
std::string MarkerName(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return {};
    struct stat status {};
    char buffer[256];
    ssize_t n = 0;
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        do
            n = read(fd, buffer, sizeof buffer);
        while (n < 0 && errno == EINTR);
    }
    close(fd);
    if (n <= 0)
        return {};
    const std::string_view text(buffer, static_cast<std::size_t>(n));
    return std::string(text.substr(0, text.find('\n')));
}

bool SocketAnswers(const std::string& folder)
{
    const std::string path = folder + "/socket";
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool answers =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return answers;
}
} // namespace

WineServerDetector::Hold::Hold(Hold&& other) noexcept : m_fds(std::move(other.m_fds))
{
    other.m_fds.clear();
}

WineServerDetector::Hold& WineServerDetector::Hold::operator=(Hold&& other) noexcept
{
    std::swap(m_fds, other.m_fds);
    return *this;
}

WineServerDetector::Hold::~Hold()
{
    for (const int fd : m_fds)
        close(fd);
}

std::vector<std::string> WineServerDetector::ServerFolders(const std::string& prefixPath)
{
    std::vector<std::string> folders;
    struct stat prefix {};
    if (stat(prefixPath.c_str(), &prefix) != 0)
        return folders;
    const std::string name = ServerFolderName(prefix);

    for (const uid_t uid : {prefix.st_uid, geteuid()})
        folders.push_back("/tmp/.wine-" + std::to_string(uid) + "/" + name);

    const std::string random = MarkerName(prefixPath + "/wineserver");
    if (!random.empty() && random.find('/') == std::string::npos && random != "." &&
        random != "..") {
        std::vector<std::string> temporaryFolders{"/tmp", "/var/tmp"};
        if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir && *tmpdir)
            temporaryFolders.insert(temporaryFolders.begin(), tmpdir);
        for (const std::string& tmp : temporaryFolders)
            folders.push_back(tmp + "/" + random + "/" + name);
    }
    for (std::string& folder : FoldersOfProcesses(name))
        folders.push_back(std::move(folder));

    std::sort(folders.begin(), folders.end());
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    return folders;
}

std::optional<WineServerDetector::Hold> WineServerDetector::Acquire(const std::string& prefixPath)
{
    Hold hold;
    for (const std::string& folder : ServerFolders(prefixPath)) {
        const std::string lockPath = folder + "/lock";
        int fd = open(lockPath.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0 && errno == EACCES)
            fd = open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) {
            if (SocketAnswers(folder))
                return std::nullopt;
            continue;
        }
        // The byte that a wineserver locks while it runs.
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = 0;
        lock.l_len = 1;
        const int flags = fcntl(fd, F_GETFL);
        const bool writable = flags >= 0 && (flags & O_ACCMODE) == O_RDWR;
        bool running;
        if (writable) {
            running = fcntl(fd, F_SETLK, &lock) != 0;
        } else {
            running = fcntl(fd, F_GETLK, &lock) != 0 || lock.l_type != F_UNLCK;
        }
        if (running) {
            close(fd);
            return std::nullopt;
        }
        hold.m_fds.push_back(fd);
    }
    return hold;
}

bool WineServerDetector::IsRunning(const std::string& prefixPath)
{
    return !Acquire(prefixPath).has_value();
}
