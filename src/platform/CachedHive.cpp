#include "platform/CachedHive.h"

#include "data/ErrorCodes.h"
#include "platform/AtomicFileWriter.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
RegStatus WriteError(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrorCode::AccessDenied;
    case ENOSPC:
    case EDQUOT:
        return ErrorCode::DiskFull;
    default:
        return ErrorCode::RegistryIoFailed;
    }
}
} // namespace

CachedHive::CachedHive(std::string path) : path_(std::move(path))
{
}

CachedHive::Signature CachedHive::SignatureOf(const struct stat& status)
{
    return {status.st_dev, status.st_ino, status.st_size,
            status.st_mtim.tv_sec * 1000000000LL + status.st_mtim.tv_nsec,
            status.st_ctim.tv_sec * 1000000000LL + status.st_ctim.tv_nsec};
}

RegStatus CachedHive::Refresh()
{
    struct stat status {};
    if (stat(path_.c_str(), &status) != 0) {
        signature_.reset();
        hive_.reset();
        if (errno == ENOENT || errno == ENOTDIR)
            return ErrorCode::FileNotFound;
        return errno == EACCES ? ErrorCode::AccessDenied : ErrorCode::CantRead;
    }
    if (signature_ && *signature_ == SignatureOf(status) && hive_)
        return hive_->Valid() ? ErrorCode::Success : ErrorCode::BadDb;

    signature_.reset();
    hive_.reset();
    // Without O_NONBLOCK, opening a FIFO put in the hive's place would wait for a writer.
    const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == EACCES || errno == EPERM ? ErrorCode::AccessDenied : ErrorCode::CantRead;
    struct stat opened {};
    std::string text;
    bool ok = fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode);
    if (ok) {
        text.resize(static_cast<std::size_t>(opened.st_size));
        std::size_t done = 0;
        while (ok) {
            if (done == text.size())
                text.resize(text.size() + 65536);
            const ssize_t n = read(fd, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        text.resize(done);
    }
    close(fd);
    if (!ok)
        return ErrorCode::CantRead;
    signature_ = SignatureOf(opened);
    hive_.emplace(std::move(text));
    return hive_->Valid() ? ErrorCode::Success : ErrorCode::BadDb;
}

RegStatus CachedHive::Write(std::string text)
{
    if (!hive_)
        return ErrorCode::CantWrite;
    if (const int error = AtomicFileWriter::Replace(BackupPath(), hive_->Text(), false))
        return WriteError(error);
    if (const int error = AtomicFileWriter::Replace(path_, text))
        return WriteError(error);
    struct stat status {};
    if (stat(path_.c_str(), &status) == 0) {
        signature_ = SignatureOf(status);
        hive_.emplace(std::move(text));
    } else {
        signature_.reset();
        hive_.reset();
    }
    return ErrorCode::Success;
}
