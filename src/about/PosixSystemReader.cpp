#include "about/PosixSystemReader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace {
// The file's text when it is a regular file that can be read.
std::optional<std::string> ReadRegularFile(const std::filesystem::path& path)
{
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::string> text;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        text.emplace();
        char buffer[4096];
        while (text->size() < PosixSystemReader::kMaxOsReleaseBytes) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                text.reset();
                break;
            }
            if (got == 0)
                break;
            text->append(buffer, static_cast<std::size_t>(got));
        }
        if (text && text->size() > PosixSystemReader::kMaxOsReleaseBytes)
            text->resize(PosixSystemReader::kMaxOsReleaseBytes);
    }
    ::close(fd);
    return text;
}
} // namespace

std::vector<std::filesystem::path> PosixSystemReader::OsReleasePaths()
{
    return {"/etc/os-release", "/usr/lib/os-release"};
}

std::optional<std::string>
PosixSystemReader::ReadOsRelease(const std::vector<std::filesystem::path>& candidates)
{
    for (const std::filesystem::path& path : candidates) {
        if (std::optional<std::string> text = ReadRegularFile(path))
            return text;
    }
    return std::nullopt;
}

std::optional<PosixSystem::Kernel> PosixSystemReader::RunningKernel()
{
    struct utsname names {};
    if (::uname(&names) != 0)
        return std::nullopt;
    return PosixSystem::Kernel{names.sysname, names.release, names.machine};
}
