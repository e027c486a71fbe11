#include "platform/FileSystemCalls.h"

#include <cstdio>
#include <unistd.h>

int FileSystemCalls::Sync(int fd)
{
    return fsync(fd);
}

int FileSystemCalls::Rename(const char* from, const char* to)
{
    return rename(from, to);
}

int FileSystemCalls::Link(const char* from, const char* to)
{
    return link(from, to);
}

FileSystemCalls& FileSystemCalls::System()
{
    static FileSystemCalls calls;
    return calls;
}
