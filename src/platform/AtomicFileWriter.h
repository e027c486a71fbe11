#pragma once

#include "platform/FileSystemCalls.h"

#include <string>
#include <string_view>

// Replaces a file's content as Wine replaces its registry files: a temporary file in the same
// folder, flushed to disk and renamed over the file, so that a crash leaves either the old or
// the new content. The file's mode (and owner, where allowed) is kept. A symbolic link, or a
// file with several hard links, is written in place instead, so that the links stay. The new
// content is flushed before the rename, and the folder after it.
class AtomicFileWriter {
public:
    // Returns 0, or the errno value of the step that failed; the file is then unchanged.
    // Without flush, nothing waits for the disk (for copies that can be made again).
    static int Replace(const std::string& path, std::string_view content, bool flush = true,
                       FileSystemCalls& calls = FileSystemCalls::System());
};
