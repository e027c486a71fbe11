#include "platform/AtomicFileWriter.h"

#include "HiveFiles.h"
#include "TempDir.h"
#include "data/ErrorCodes.h"
#include "platform/CachedHive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
namespace fs = std::filesystem;

// Records every flush and rename with what it acted on, then lets it happen (or fails it).
class RecordingCalls : public FileSystemCalls {
public:
    enum class Kind { SyncFile, SyncFolder, Rename, Link };
    struct Call {
        Kind kind;
        ino_t inode;         // the file or folder flushed, or the file renamed
        std::string content; // a flushed file's content at that moment
        std::string to;      // where a file is renamed to
    };

    int Sync(int fd) override
    {
        struct stat status {};
        fstat(fd, &status);
        Call call{
            S_ISDIR(status.st_mode) ? Kind::SyncFolder : Kind::SyncFile, status.st_ino, {}, {}};
        // Opened again for reading: the writer's descriptor may be write-only.
        if (call.kind == Kind::SyncFile)
            call.content = HiveFiles::Read("/proc/self/fd/" + std::to_string(fd));
        calls.push_back(std::move(call));
        if (failing == Kind::SyncFile && calls.back().kind == Kind::SyncFile) {
            errno = EIO;
            return -1;
        }
        return FileSystemCalls::Sync(fd);
    }

    int Rename(const char* from, const char* to) override
    {
        return Record(Kind::Rename, from, to, EXDEV) ? -1 : FileSystemCalls::Rename(from, to);
    }

    int Link(const char* from, const char* to) override
    {
        return Record(Kind::Link, from, to, EPERM) ? -1 : FileSystemCalls::Link(from, to);
    }

    std::vector<Call> calls;
    std::optional<Kind> failing;

private:
    // Records a call on the file from; true when it is to fail, with errno set to error.
    bool Record(Kind kind, const char* from, const char* to, int error)
    {
        struct stat status {};
        lstat(from, &status);
        calls.push_back({kind, status.st_ino, {}, to});
        if (failing != kind)
            return false;
        errno = error;
        return true;
    }
};

ino_t Inode(const fs::path& path)
{
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_ino;
}

std::vector<std::string> Names(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

enum class Target { NewFile, OldFile, SymbolicLink, HardLink };

class AtomicFileWriterOrder : public testing::TestWithParam<Target> {
protected:
    void SetUp() override
    {
        file = dir.Path() / "user.reg";
        switch (GetParam()) {
        case Target::NewFile:
            break;
        case Target::OldFile:
            HiveFiles::Write(file.string(), "old content\n");
            break;
        case Target::SymbolicLink:
            HiveFiles::Write((dir.Path() / "real.reg").string(), "old content\n");
            fs::create_symlink(dir.Path() / "real.reg", file);
            break;
        case Target::HardLink:
            HiveFiles::Write(file.string(), "old content\n");
            fs::create_hard_link(file, dir.Path() / "link.reg");
            break;
        }
    }

    TempDir dir;
    fs::path file;
    RecordingCalls calls;
};

// A crash at any moment leaves the old or the new content: the new file reaches the disk
// before it is renamed over the old one, and the rename reaches it with the folder.
TEST_P(AtomicFileWriterOrder, FlushesTheFileThenRenamesThenFlushesTheFolder)
{
    const std::string content = "new content\n";
    ASSERT_EQ(AtomicFileWriter::Replace(file.string(), content, true, calls), 0);
    EXPECT_EQ(HiveFiles::Read(file.string()), content);
    const bool inPlace = GetParam() == Target::SymbolicLink || GetParam() == Target::HardLink;
    if (inPlace) {
        // Written through the link: only the file itself has to be flushed.
        ASSERT_EQ(calls.calls.size(), 1u);
        EXPECT_EQ(calls.calls[0].kind, RecordingCalls::Kind::SyncFile);
        EXPECT_EQ(calls.calls[0].inode, Inode(file));
        EXPECT_EQ(calls.calls[0].content, content);
        return;
    }
    ASSERT_EQ(calls.calls.size(), 3u);
    const RecordingCalls::Call& flush = calls.calls[0];
    const RecordingCalls::Call& rename = calls.calls[1];
    const RecordingCalls::Call& folder = calls.calls[2];
    EXPECT_EQ(flush.kind, RecordingCalls::Kind::SyncFile);
    EXPECT_EQ(flush.content, content);
    EXPECT_EQ(rename.kind, RecordingCalls::Kind::Rename);
    EXPECT_EQ(rename.inode, flush.inode) << "the file renamed is not the one flushed";
    EXPECT_EQ(rename.to, file.string());
    EXPECT_EQ(Inode(file), flush.inode);
    EXPECT_EQ(folder.kind, RecordingCalls::Kind::SyncFolder);
    EXPECT_EQ(folder.inode, Inode(dir.Path()));
}

// Copies that can be made again (the backup) do not wait for the disk.
TEST_P(AtomicFileWriterOrder, WithoutFlushOnlyRenames)
{
    ASSERT_EQ(AtomicFileWriter::Replace(file.string(), "copy\n", false, calls), 0);
    EXPECT_EQ(HiveFiles::Read(file.string()), "copy\n");
    for (const RecordingCalls::Call& call : calls.calls)
        EXPECT_EQ(call.kind, RecordingCalls::Kind::Rename);
}

INSTANTIATE_TEST_SUITE_P(Targets, AtomicFileWriterOrder,
                         testing::Values(Target::NewFile, Target::OldFile, Target::SymbolicLink,
                                         Target::HardLink),
                         [](const testing::TestParamInfo<Target>& info) {
                             switch (info.param) {
                             case Target::NewFile:
                                 return "NewFile";
                             case Target::OldFile:
                                 return "OldFile";
                             case Target::SymbolicLink:
                                 return "SymbolicLink";
                             default:
                                 return "HardLink";
                             }
                         });

class AtomicFileWriterFailure : public testing::TestWithParam<RecordingCalls::Kind> {};

// A failed flush or rename reports its error and leaves the old file, and no temporary one.
TEST_P(AtomicFileWriterFailure, LeavesTheOldFile)
{
    TempDir dir;
    const fs::path file = dir.Path() / "user.reg";
    HiveFiles::Write(file.string(), "old content\n");
    RecordingCalls calls;
    calls.failing = GetParam();
    EXPECT_EQ(AtomicFileWriter::Replace(file.string(), "new content\n", true, calls),
              GetParam() == RecordingCalls::Kind::Rename ? EXDEV : EIO);
    EXPECT_EQ(HiveFiles::Read(file.string()), "old content\n");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"user.reg"});
}

INSTANTIATE_TEST_SUITE_P(Calls, AtomicFileWriterFailure,
                         testing::Values(RecordingCalls::Kind::SyncFile,
                                         RecordingCalls::Kind::Rename),
                         [](const testing::TestParamInfo<RecordingCalls::Kind>& info) {
                             return info.param == RecordingCalls::Kind::Rename ? "Rename" : "Sync";
                         });

// A hive file with one value, saved with the value changed.
class CachedHiveSave : public testing::Test {
protected:
    void SetUp() override { HiveFiles::Write(path, before); }

    TempDir dir;
    const std::string path = (dir.Path() / "user.reg").string();
    const std::string before = "WINE REGISTRY Version 2\n\n[A]\n\"v\"=\"1\"\n";
    const std::string after = "WINE REGISTRY Version 2\n\n[A]\n\"v\"=\"2\"\n";
    RecordingCalls calls;
    CachedHive hive{path, calls};
};

// The old file is kept as the backup, linked there once the new content is on the disk and
// before it takes the hive's name; a flush on each side of that rename. Nothing is copied, and
// the hive is left with one link.
TEST_F(CachedHiveSave, KeepsTheOldFileAsTheBackupAndSavesDurably)
{
    const ino_t old = Inode(path);
    ASSERT_EQ(hive.Refresh(), ErrorCode::Success);
    ASSERT_EQ(hive.Write(after), ErrorCode::Success);

    using Kind = RecordingCalls::Kind;
    std::vector<Kind> kinds;
    for (const RecordingCalls::Call& call : calls.calls)
        kinds.push_back(call.kind);
    ASSERT_EQ(kinds, (std::vector<Kind>{Kind::SyncFile, Kind::Link, Kind::Rename, Kind::Rename,
                                        Kind::SyncFolder}));
    EXPECT_EQ(calls.calls[0].content, after);
    EXPECT_EQ(calls.calls[1].inode, old);
    EXPECT_EQ(calls.calls[2].to, hive.BackupPath());
    EXPECT_EQ(calls.calls[3].to, path);
    EXPECT_EQ(calls.calls[3].inode, calls.calls[0].inode);
    EXPECT_EQ(Inode(hive.BackupPath()), old);
    EXPECT_EQ(HiveFiles::Read(hive.BackupPath()), before);
    EXPECT_EQ(HiveFiles::Read(path), after);
    EXPECT_EQ(fs::hard_link_count(path), 1u);
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"user.reg", "user.reg.portico-backup"}));
}

enum class Leftover { LinkFails, BackupLinkedToTheHive };

class CachedHiveBackup : public CachedHiveSave, public testing::WithParamInterface<Leftover> {};

// Where the old file cannot be linked, the backup is a copy; a backup that is still a link to
// the hive (a save cut short after linking it) does not make the hive one to write in place.
TEST_P(CachedHiveBackup, HoldsTheOldContent)
{
    if (GetParam() == Leftover::LinkFails)
        calls.failing = RecordingCalls::Kind::Link;
    if (GetParam() == Leftover::BackupLinkedToTheHive)
        fs::create_hard_link(path, hive.BackupPath());
    const ino_t old = Inode(path);
    ASSERT_EQ(hive.Refresh(), ErrorCode::Success);
    ASSERT_EQ(hive.Write(after), ErrorCode::Success);
    EXPECT_EQ(HiveFiles::Read(hive.BackupPath()), before);
    EXPECT_EQ(HiveFiles::Read(path), after);
    EXPECT_NE(Inode(path), old) << "written in place";
    EXPECT_EQ(fs::hard_link_count(path), 1u);
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"user.reg", "user.reg.portico-backup"}));
}

INSTANTIATE_TEST_SUITE_P(Leftovers, CachedHiveBackup,
                         testing::Values(Leftover::LinkFails, Leftover::BackupLinkedToTheHive),
                         [](const testing::TestParamInfo<Leftover>& info) {
                             return info.param == Leftover::LinkFails ? "LinkFails"
                                                                      : "BackupLinkedToTheHive";
                         });
} // namespace
