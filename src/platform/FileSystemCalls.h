#pragma once

// The calls of a save that decide what a crash leaves behind: flushing a file or a folder to
// the disk, renaming the new file over the old one, and linking the old one where it is kept.
// A test puts its own in their place to see their order.
class FileSystemCalls {
public:
    virtual ~FileSystemCalls() = default;

    // As fsync(2), rename(2) and link(2): 0, or -1 with errno set.
    virtual int Sync(int fd);
    virtual int Rename(const char* from, const char* to);
    virtual int Link(const char* from, const char* to);

    // The calls of the system itself.
    static FileSystemCalls& System();
};
