#include "platform/HiveSource.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

HiveSource::HiveSource(std::string text)
    : HiveSource(std::make_shared<const std::string>(std::move(text)))
{
}

HiveSource::HiveSource(std::shared_ptr<const std::string> text)
    : m_size(text->size()), m_text(std::move(text))
{
}

HiveSource::HiveSource(int fd, std::size_t size) : m_fd(fd), m_size(size)
{
}

HiveSource::HiveSource(HiveSource&& other) noexcept
    : m_fd(other.m_fd), m_size(other.m_size), m_text(std::move(other.m_text))
{
    other.m_fd = -1;
}

HiveSource& HiveSource::operator=(HiveSource&& other) noexcept
{
    std::swap(m_fd, other.m_fd);
    std::swap(m_size, other.m_size);
    std::swap(m_text, other.m_text);
    return *this;
}

HiveSource::~HiveSource()
{
    if (m_fd >= 0)
        close(m_fd);
}

std::string_view HiveSource::Read(std::size_t pos, std::size_t length, std::string& scratch) const
{
    if (m_text) {
        if (pos >= m_text->size())
            return {};
        return std::string_view(*m_text).substr(pos, length);
    }
    if (pos >= m_size)
        return {};
    scratch.resize(std::min(length, m_size - pos));
    std::size_t done = 0;
    while (done < scratch.size()) {
        const ssize_t n = pread(m_fd, scratch.data() + done, scratch.size() - done,
                                static_cast<off_t>(pos + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    scratch.resize(done);
    return scratch;
}

std::shared_ptr<const std::string> HiveSource::All() const
{
    if (!m_text) {
        std::string text;
        Read(0, m_size, text);
        m_text = std::make_shared<const std::string>(std::move(text));
    }
    return m_text;
}
