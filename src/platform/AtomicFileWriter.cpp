#include "platform/AtomicFileWriter.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
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

bool SameFile(const std::string& path, const struct stat& other)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && status.st_dev == other.st_dev &&
           status.st_ino == other.st_ino;
}

// Keeps the old file at path (described by old) as the backup: another link to it, renamed over
// the backup. 0 when the backup is already that file, as after a save cut short here.
int LinkOld(const std::string& path, const struct stat& old, const AtomicFileWriter::Backup& backup,
            FileSystemCalls& calls)
{
    if (SameFile(backup.path, old))
        return 0;
    const std::string link = backup.path + ".portico-link-" + std::to_string(getpid());
    unlink(link.c_str());
    if (calls.Link(path.c_str(), link.c_str()) != 0)
        return errno;
    if (calls.Rename(link.c_str(), backup.path.c_str()) != 0) {
        const int error = errno;
        unlink(link.c_str());
        return error;
    }
    return 0;
}

int ReplaceFile(const std::string& path, std::string_view content, bool flush,
                FileSystemCalls& calls, const AtomicFileWriter::Backup* backup)
{
    struct stat old {};
    const bool exists = lstat(path.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return errno;
    // A second link that is the backup of a save cut short does not count.
    const bool linkedByUs = backup && exists && old.st_nlink == 2 && SameFile(backup->path, old);
    if (exists && (S_ISLNK(old.st_mode) || (old.st_nlink > 1 && !linkedByUs))) {
        if (backup) {
            // A copy, not more of the file written in place.
            if (SameFile(backup->path, old))
                unlink(backup->path.c_str());
            if (const int error =
                    ReplaceFile(backup->path, backup->oldContent, false, calls, nullptr))
                return error;
        }
        return WriteInPlace(path, content, flush, calls);
    }

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
    // A file system without hard links gets a copy.
    if (!error && backup && exists && LinkOld(path, old, *backup, calls) != 0)
        error = ReplaceFile(backup->path, backup->oldContent, false, calls, nullptr);
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
} // namespace

int AtomicFileWriter::Replace(const std::string& path, std::string_view content, bool flush,
                              FileSystemCalls& calls)
{
    return ReplaceFile(path, content, flush, calls, nullptr);
}

int AtomicFileWriter::ReplaceKeeping(const std::string& path, std::string_view content,
                                     const Backup& backup, FileSystemCalls& calls)
{
    return ReplaceFile(path, content, true, calls, &backup);
}
