#pragma once

#include "data/RegistryApi.h"
#include "platform/FileSystemCalls.h"
#include "platform/RegistryHive.h"

#include <optional>
#include <string>
#include <sys/types.h>

// One registry file on disk and its parsed form, opened again only when the file changed
// (size, time, inode). The file stays open and is read as far as look-ups need.
class CachedHive {
public:
    explicit CachedHive(std::string path, FileSystemCalls& calls = FileSystemCalls::System());

    // Brings the parsed form up to date. Returns 0, or FileNotFound (no such file or folder),
    // AccessDenied, CantRead, or BadDb for a file that Wine would not load.
    RegStatus Refresh();
    // Valid after Refresh returned 0.
    const RegistryHive& Hive() const { return *m_hive; }
    const std::string& Path() const { return m_path; }
    // Where the content before the last write is kept.
    std::string BackupPath() const { return m_path + ".portico-backup"; }

    // Replaces the file with text atomically, the current content kept as the backup (the old
    // file itself, where it can be linked). Returns 0, AccessDenied, DiskFull or
    // RegistryIoFailed.
    RegStatus Write(std::string text);

private:
    struct Signature {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long long modified = 0;
        long long changed = 0;
        bool operator==(const Signature&) const = default;
    };
    static Signature SignatureOf(const struct stat& status);

    std::string m_path;
    FileSystemCalls* m_calls;
    std::optional<Signature> m_signature;
    std::optional<RegistryHive> m_hive;
};
