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

    // Where the old content is kept, and that content, for when the old file cannot be kept
    // itself.
    struct Backup {
        std::string path;
        std::string_view oldContent;
    };
    // Replace with a flush, keeping the old content at backup.path: the old file itself,
    // linked there just before the new one takes its place, so that nothing is copied; or,
    // where the file is written in place or cannot be linked, a copy of backup.oldContent.
    static int ReplaceKeeping(const std::string& path, std::string_view content,
                              const Backup& backup,
                              FileSystemCalls& calls = FileSystemCalls::System());
};
