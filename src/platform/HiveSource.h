#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// The bytes of a registry file: a text in memory, or an open file that is read piece by piece,
// so that a large file is never held whole for reading.
class HiveSource {
public:
    explicit HiveSource(std::string text);
    explicit HiveSource(std::shared_ptr<const std::string> text);
    // Takes over fd, a regular file open for reading that held size bytes when it was opened.
    HiveSource(int fd, std::size_t size);
    HiveSource(HiveSource&& other) noexcept;
    HiveSource& operator=(HiveSource&& other) noexcept;
    HiveSource(const HiveSource&) = delete;
    HiveSource& operator=(const HiveSource&) = delete;
    ~HiveSource();

    std::size_t Size() const { return m_size; }
    bool IsFile() const { return m_fd >= 0; }
    // Up to length bytes from pos: fewer at the end, or where the file can no longer be read.
    // A view of the text in memory, or of scratch, into which they are read.
    std::string_view Read(std::size_t pos, std::size_t length, std::string& scratch) const;
    // The whole content, read once.
    std::shared_ptr<const std::string> All() const;

private:
    int m_fd = -1;
    std::size_t m_size = 0;
    mutable std::shared_ptr<const std::string> m_text;
};
