#pragma once

// The calls of a save that decide what a crash leaves behind: flushing a file or a folder to
// the disk, and renaming the new file over the old one. A test puts its own in their place to
// see their order.
class FileSystemCalls {
public:
    virtual ~FileSystemCalls() = default;

    // As fsync(2) and rename(2): 0, or -1 with errno set.
    virtual int Sync(int fd);
    virtual int Rename(const char* from, const char* to);

    // The calls of the system itself.
    static FileSystemCalls& System();
};
