#include "platform/AtomicFileWriter.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int WriteAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t n = write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

int WriteInPlace(const std::string& path, std::string_view content, bool flush,
                 FileSystemCalls& calls)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = WriteAll(fd, content);
    if (!error && ftruncate(fd, static_cast<off_t>(content.size())) != 0)
        error = errno;
    if (!error && flush && calls.Sync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && !error)
        error = errno;
    return error;
}

std::string Folder(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
} // namespace

int AtomicFileWriter::Replace(const std::string& path, std::string_view content, bool flush,
                              FileSystemCalls& calls)
{
    struct stat old {};
    const bool exists = lstat(path.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return errno;
    if (exists && (S_ISLNK(old.st_mode) || old.st_nlink > 1))
        return WriteInPlace(path, content, flush, calls);

    std::string temporary = path + ".portico-XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = WriteAll(fd, content);
    if (!error && exists) {
        if (fchmod(fd, old.st_mode & 07777) != 0)
            error = errno;
        else if ((old.st_uid != geteuid() || old.st_gid != getegid()) &&
                 fchown(fd, old.st_uid, old.st_gid) != 0 && geteuid() == 0)
            error = errno;
    }
    if (!error && flush && calls.Sync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && !error)
        error = errno;
    if (!error && calls.Rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error) {
        unlink(temporary.c_str());
        return error;
    }
    if (flush) {
        // The rename itself reaches the disk with the folder.
        const int folder = open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            calls.Sync(folder);
            close(folder);
        }
    }
    return 0;
}
