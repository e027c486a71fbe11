#include "platform/WineServerDetector.h"

#include "FakeWineServer.h"
#include "HiveFiles.h"
#include "RegistryCalls.h"
#include "TempDir.h"
#include "data/ErrorCodes.h"
#include "platform/WineRegistry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

enum class Layout { Upstream, Debian, OtherTmpdir };

class WineServerDetectorTest : public testing::TestWithParam<Layout> {
protected:
    void SetUp() override
    {
        prefix = dir.Path() / "prefix";
        fs::create_directory(prefix);
        HiveFiles::Write((prefix / "user.reg").string(), HiveFiles::Fixture("user.reg"));
        const std::string name = FakeWineServer::FolderName(prefix);
        const char* tmpdir = std::getenv("TMPDIR");
        savedTmpdir = tmpdir ? tmpdir : "";
        hadTmpdir = tmpdir != nullptr;
        switch (GetParam()) {
        case Layout::Upstream:
            folder = fs::path("/tmp") / (".wine-" + std::to_string(geteuid())) / name;
            break;
        case Layout::Debian:
            // The prefix names the random folder; the server's TMPDIR is ours.
            HiveFiles::Write((prefix / "wineserver").string(), "wine-PorticoTest\n");
            fs::create_directory(dir.Path() / "tmp");
            setenv("TMPDIR", (dir.Path() / "tmp").c_str(), 1);
            folder = dir.Path() / "tmp" / "wine-PorticoTest" / name;
            break;
        case Layout::OtherTmpdir:
            // The server had a TMPDIR that this process does not know.
            HiveFiles::Write((prefix / "wineserver").string(), "wine-Elsewhere\n");
            folder = dir.Path() / "unknown-tmp" / "wine-Elsewhere" / name;
            break;
        }
    }
    void TearDown() override
    {
        if (hadTmpdir)
            setenv("TMPDIR", savedTmpdir.c_str(), 1);
        else
            unsetenv("TMPDIR");
        if (GetParam() == Layout::Upstream) {
            std::error_code ignored;
            fs::remove_all(folder, ignored);
            fs::remove(folder.parent_path(), ignored); // only when empty
        }
    }

    TempDir dir;
    fs::path prefix;
    fs::path folder;
    std::string savedTmpdir;
    bool hadTmpdir = false;
};

TEST_P(WineServerDetectorTest, ARunningServerStopsEveryWrite)
{
    const std::string hive = (prefix / "user.reg").string();
    const std::string original = HiveFiles::Read(hive);
    WineRegistry registry(prefix.string());
    const std::string list("1001\0"
                           "00\0\0",
                           9);
    const auto save = [&](const char* key) {
        return RegistryCalls::SaveList(registry, Reg::CurrentUser, key, "Battle.net gateways",
                                       list);
    };

    EXPECT_FALSE(WineServerDetector::IsRunning(prefix.string()));
    FakeWineServer server(folder);
    ASSERT_TRUE(server.Running());
    EXPECT_TRUE(WineServerDetector::IsRunning(prefix.string()));
    EXPECT_EQ(save("Software\\Battle.net\\Configuration"), ErrorCode::WineServerRunning);
    EXPECT_EQ(save("Software\\Battle.net\\New key"), ErrorCode::WineServerRunning);
    EXPECT_EQ(HiveFiles::Read(hive), original);
    EXPECT_FALSE(fs::exists(prefix / "user.reg.portico-backup"));

    // The lock file stays behind when the server exits; it no longer counts.
    server.Stop();
    EXPECT_TRUE(fs::exists(folder / "lock"));
    EXPECT_FALSE(WineServerDetector::IsRunning(prefix.string()));
    EXPECT_EQ(save("Software\\Battle.net\\Configuration"), ErrorCode::Success);
    EXPECT_NE(HiveFiles::Read(hive), original);
}

INSTANTIATE_TEST_SUITE_P(Layouts, WineServerDetectorTest,
                         testing::Values(Layout::Upstream, Layout::Debian, Layout::OtherTmpdir),
                         [](const testing::TestParamInfo<Layout>& info) {
                             switch (info.param) {
                             case Layout::Upstream:
                                 return "Upstream";
                             case Layout::Debian:
                                 return "Debian";
                             default:
                                 return "OtherTmpdir";
                             }
                         });
// Runs the detector in a child process as an ordinary user (uid 65534 when the test runs as
// root) that may open the lock file only for reading; returns its exit status: 0 when it saw a
// server, 1 when it saw none, 2 when it could open the lock for writing after all.
int DetectAsOrdinaryUser(const fs::path& prefix, const fs::path& lock)
{
    const pid_t child = fork();
    if (child == 0) {
        const gid_t nobody = 65534;
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0))
            _exit(3);
        if (const int fd = open(lock.c_str(), O_RDWR | O_CLOEXEC); fd >= 0)
            _exit(2);
        _exit(WineServerDetector::IsRunning(prefix.string()) ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// A lock file that this user can only read (another user's server, or a read-only copy):
// the lock held by another process is still seen, and a free one is still free.
TEST(WineServerDetector, SeesTheLockThroughAReadOnlyFile)
{
    TempDir dir;
    const fs::path prefix = dir.Path() / "prefix";
    const fs::path tmp = dir.Path() / "tmp";
    fs::create_directories(prefix);
    fs::create_directories(tmp);
    HiveFiles::Write((prefix / "wineserver").string(), "wine-ReadOnly\n");
    const fs::path folder = tmp / "wine-ReadOnly" / FakeWineServer::FolderName(prefix);
    const char* saved = std::getenv("TMPDIR");
    const std::string savedTmpdir = saved ? saved : "";
    setenv("TMPDIR", tmp.c_str(), 1);

    {
        FakeWineServer server(folder);
        ASSERT_TRUE(server.Running());
        // Every folder on the way may be searched by the other user; the lock only read.
        for (fs::path p = folder; p != dir.Path().parent_path(); p = p.parent_path())
            ASSERT_EQ(chmod(p.c_str(), 0755), 0) << p;
        ASSERT_EQ(chmod(prefix.c_str(), 0755), 0);
        ASSERT_EQ(chmod((prefix / "wineserver").c_str(), 0644), 0);
        ASSERT_EQ(chmod((folder / "lock").c_str(), 0444), 0);
        EXPECT_EQ(DetectAsOrdinaryUser(prefix, folder / "lock"), 0)
            << "1: the running server was missed, 2: the lock could be written, 3: no user "
               "change";
    }
    EXPECT_EQ(DetectAsOrdinaryUser(prefix, folder / "lock"), 1)
        << "0: a server was seen where none runs";
    if (saved)
        setenv("TMPDIR", savedTmpdir.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

// Nothing may wait for a writer of a FIFO in place of the prefix's "wineserver" file.
TEST(WineServerDetector, AFifoNamingTheFolderStopsNothing)
{
    TempDir dir;
    const fs::path marker = dir.Path() / "wineserver";
    ASSERT_EQ(mkfifo(marker.c_str(), 0600), 0);
    auto folders = std::async(std::launch::async,
                              [&dir] { return WineServerDetector::ServerFolders(dir.Path()); });
    const bool returned = folders.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (!returned) {
        // Lets the waiting open through, so that the test ends.
        const int writer = open(marker.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0)
            close(writer);
    }
    EXPECT_TRUE(returned) << "the search waited for a writer";
    EXPECT_FALSE(folders.get().empty());
}
} // namespace
