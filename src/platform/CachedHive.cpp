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

CachedHive::CachedHive(std::string path, FileSystemCalls& calls)
    : m_path(std::move(path)), m_calls(&calls)
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
    if (stat(m_path.c_str(), &status) != 0) {
        m_signature.reset();
        m_hive.reset();
        if (errno == ENOENT || errno == ENOTDIR)
            return ErrorCode::FileNotFound;
        return errno == EACCES ? ErrorCode::AccessDenied : ErrorCode::CantRead;
    }
    if (m_signature && *m_signature == SignatureOf(status) && m_hive)
        return m_hive->Valid() ? ErrorCode::Success : ErrorCode::BadDb;

    m_signature.reset();
    m_hive.reset();
    // Without O_NONBLOCK, opening a FIFO put in the hive's place would wait for a writer.
    const int fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == EACCES || errno == EPERM ? ErrorCode::AccessDenied : ErrorCode::CantRead;
    struct stat opened {};
    if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        close(fd);
        return ErrorCode::CantRead;
    }
    m_signature = SignatureOf(opened);
    // Read as far as it is asked; the open file keeps its content even when it is replaced.
    m_hive.emplace(HiveSource(fd, static_cast<std::size_t>(opened.st_size)));
    return m_hive->Valid() ? ErrorCode::Success : ErrorCode::BadDb;
}

RegStatus CachedHive::Write(std::string text)
{
    if (!m_hive)
        return ErrorCode::CantWrite;
    if (const int error = AtomicFileWriter::ReplaceKeeping(
            m_path, text, {BackupPath(), m_hive->Text()}, *m_calls))
        return WriteError(error);
    struct stat status {};
    if (stat(m_path.c_str(), &status) == 0) {
        m_signature = SignatureOf(status);
        m_hive.emplace(std::move(text));
    } else {
        m_signature.reset();
        m_hive.reset();
    }
    return ErrorCode::Success;
}
