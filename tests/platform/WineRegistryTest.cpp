#include "platform/WineRegistry.h"

#include "HiveFiles.h"
#include "RegistryCalls.h"
#include "TempDir.h"
#include "data/ErrorCodes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

const std::string kGatewaysKey = "Software\\Battle.net\\Configuration";
const std::string kGateways = "Battle.net gateways";

// A gateway list with every byte value in its texts, the control bytes that real server
// names carry, and more than 1,024 bytes in all.
std::string LongList()
{
    std::string list("1001\0"
                     "02\0",
                     8);
    std::string every;
    for (int byte = 1; byte < 256; ++byte)
        every.push_back(static_cast<char>(byte));
    for (int i = 0; i < 4; ++i)
        list += std::string("\x04\x06\x07"
                            "server",
                            9) +
                '\0' + "-5" + '\0' + every + '\0';
    return list + '\0';
}

class WineRegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        HiveFiles::Write(Hive("user.reg"), HiveFiles::Fixture("user.reg"));
        HiveFiles::Write(Hive("system.reg"), HiveFiles::Fixture("system.reg"));
    }
    std::string Hive(const char* name) const { return (dir.Path() / name).string(); }

    TempDir dir;
    WineRegistry registry{dir.Path().string()};
};

struct ReadCase {
    RegHandle root;
    const char* key;
    const char* value;
    std::string expected;
};

class WineRegistryReads : public WineRegistryTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(WineRegistryReads, AsA32BitProgramReads)
{
    const ReadCase& c = GetParam();
    const RegistryCalls::Read read = RegistryCalls::ReadValue(registry, c.root, c.key, c.value);
    EXPECT_EQ(read.status, ErrorCode::Success);
    EXPECT_EQ(read.data, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, WineRegistryReads,
    testing::Values(
        ReadCase{Reg::CurrentUser, "Software\\Battle.net\\Configuration", "Battle.net gateways",
                 std::string("1001\0"
                             "01\0uswest.battle.net\0"
                             "8\0U.S. West\0useast.battle.net\0"
                             "-5\0U.S. East\0\0",
                             70)},
        ReadCase{Reg::CurrentUser, "SOFTWARE\\battle.NET\\configuration\\", "BATTLE.NET Gateways",
                 std::string("1001\0"
                             "01\0uswest.battle.net\0"
                             "8\0U.S. West\0useast.battle.net\0"
                             "-5\0U.S. East\0\0",
                             70)},
        // UTF-16 back to Windows-1252: e-acute, U-umlaut, i-diaeresis, euro, S-caron, trade mark.
        ReadCase{Reg::CurrentUser, kGatewaysKey.c_str(), "Multi unicode",
                 std::string("Europ\xe9\0\xdcn\xef"
                             "code \x80\0\x8a\x99\0\0",
                             21)},
        ReadCase{Reg::CurrentUser, "Software\\RegTest", "AnsiMultiNoTerm", std::string("abc\0", 4)},
        ReadCase{Reg::CurrentUser, kGatewaysKey.c_str(), "Dword", "\x78\x56\x34\x12"},
        ReadCase{Reg::CurrentUser, kGatewaysKey.c_str(), "Binary",
                 std::string("\0\xff\x10\x20\x7f\x80", 6)},
        ReadCase{Reg::CurrentUser, kGatewaysKey.c_str(), "", std::string("default value\0", 14)},
        // Through the symbolic link Software\RegTest\MyLink -> Software\Battle.net.
        ReadCase{Reg::CurrentUser, "Software\\RegTest\\MyLink\\Configuration", "Dword",
                 "\x78\x56\x34\x12"},
        // The 32-bit view of a 64-bit prefix, and a key both views share through a link.
        ReadCase{Reg::LocalMachine, "Software\\Blizzard Entertainment\\Starcraft", "Program",
                 std::string("C:\\Program Files (x86)\\Starcraft\\StarCraft.exe\0", 47)},
        ReadCase{Reg::LocalMachine, "Software\\Wow6432Node\\Blizzard Entertainment\\Starcraft",
                 "ViaExplicitPath",
                 std::string("explicit Wow6432Node path from 64-bit view\0", 43)},
        ReadCase{Reg::LocalMachine,
                 "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\test.exe", "",
                 std::string("shared app paths via 32\0", 24)},
        // A key that only a 64-bit tool added is read from the 64-bit view.
        ReadCase{Reg::LocalMachine, "Software\\Borland\\Database Engine\\Settings\\SYSTEM\\INIT",
                 "SHAREDMEMLOCATION", std::string("9000\0", 5)}));

TEST_F(WineRegistryTest, ReportsSizesAsRegQueryValueExDoes)
{
    RegHandle handle = 0;
    ASSERT_EQ(registry.OpenKey(Reg::CurrentUser, kGatewaysKey, Reg::KeyRead, handle),
              ErrorCode::Success);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(registry.QueryValue(handle, kGateways, &type, nullptr, &size), ErrorCode::Success);
    EXPECT_EQ(type, Reg::TypeMultiSz);
    EXPECT_EQ(size, 70u);

    std::uint8_t buffer[70] = {0xAA};
    size = 10;
    EXPECT_EQ(registry.QueryValue(handle, kGateways, nullptr, buffer, &size), ErrorCode::MoreData);
    EXPECT_EQ(size, 70u);
    EXPECT_EQ(buffer[0], 0xAA);
    size = 70;
    EXPECT_EQ(registry.QueryValue(handle, kGateways, nullptr, buffer, &size), ErrorCode::Success);
    EXPECT_EQ(size, 70u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), "1001");

    EXPECT_EQ(registry.QueryValue(handle, "missing", nullptr, nullptr, &size),
              ErrorCode::FileNotFound);
    EXPECT_EQ(registry.QueryValue(handle, kGateways, nullptr, buffer, nullptr),
              ErrorCode::InvalidParameter);
    // A key opened for reading takes no writes.
    EXPECT_EQ(registry.SetValue(handle, "x", Reg::TypeMultiSz, buffer, 2), ErrorCode::AccessDenied);
    EXPECT_EQ(registry.CloseKey(handle), ErrorCode::Success);
    EXPECT_EQ(registry.CloseKey(handle), ErrorCode::InvalidHandle);
    EXPECT_EQ(registry.QueryValue(handle, kGateways, nullptr, nullptr, &size),
              ErrorCode::InvalidHandle);
}

TEST_F(WineRegistryTest, MissingKeysHivesAndPrefixesAreNotFound)
{
    EXPECT_EQ(RegistryCalls::ReadValue(registry, Reg::CurrentUser, "Software\\Nothing", "v").status,
              ErrorCode::FileNotFound);
    EXPECT_EQ(RegistryCalls::ReadValue(registry, Reg::LocalMachine,
                                       "Software\\Blizzard Entertainment\\Diablo II", "Program")
                  .status,
              ErrorCode::FileNotFound);
    fs::remove(Hive("system.reg"));
    EXPECT_EQ(RegistryCalls::ReadValue(registry, Reg::LocalMachine, "Software", "v").status,
              ErrorCode::FileNotFound);
    EXPECT_EQ(RegistryCalls::ReadValue(registry, Reg::CurrentUser, kGatewaysKey, kGateways).status,
              ErrorCode::Success);

    WineRegistry missing((dir.Path() / "no-prefix").string());
    EXPECT_EQ(RegistryCalls::ReadValue(missing, Reg::CurrentUser, kGatewaysKey, kGateways).status,
              ErrorCode::FileNotFound);
    EXPECT_EQ(RegistryCalls::SaveList(missing, Reg::CurrentUser, kGatewaysKey, kGateways, "x"),
              ErrorCode::FileNotFound);
    EXPECT_FALSE(fs::exists(dir.Path() / "no-prefix"));
}

TEST_F(WineRegistryTest, SavedListsReadBackByteForByte)
{
    const std::string list = LongList();
    std::uint32_t disposition = 0;
    ASSERT_EQ(RegistryCalls::SaveList(registry, Reg::CurrentUser, kGatewaysKey, kGateways, list,
                                      &disposition),
              ErrorCode::Success);
    EXPECT_EQ(disposition, Reg::OpenedExistingKey);
    EXPECT_EQ(RegistryCalls::ReadValue(registry, Reg::CurrentUser, kGatewaysKey, kGateways).data,
              list);
    WineRegistry fresh(dir.Path().string());
    EXPECT_EQ(RegistryCalls::ReadValue(fresh, Reg::CurrentUser, kGatewaysKey, kGateways).data,
              list);

    // Wine's own form: one str(7) line, the octal rule after a NUL, \x for 8-bit characters.
    const std::string text = HiveFiles::Read(Hive("user.reg"));
    EXPECT_NE(
        text.find("\"Battle.net gateways\"=str(7):\"1001\\00002\\0\\4\\6\\aserver\\0-5\\0\\1\\2"
                  "\\3\\4\\5\\6\\a\\b\\t\\n\\v\\f\\r\\16"),
        std::string::npos);
    EXPECT_NE(text.find("~\x7f\\x20ac\\x81\\x201a"), std::string::npos);
    // The content before the save is kept beside the hive.
    EXPECT_EQ(HiveFiles::Read(Hive("user.reg.portico-backup")), HiveFiles::Fixture("user.reg"));
}

TEST_F(WineRegistryTest, CreatesKeysWhereThe32BitGameReads)
{
    const std::string key = "Software\\Blizzard Entertainment\\Diablo II";
    std::uint32_t disposition = 0;
    ASSERT_EQ(RegistryCalls::SaveList(registry, Reg::LocalMachine, key, "Program",
                                      std::string("d2\0", 3), &disposition),
              ErrorCode::Success);
    EXPECT_EQ(disposition, Reg::CreatedNewKey);
    const std::string text = HiveFiles::Read(Hive("system.reg"));
    EXPECT_NE(text.find("[Software\\\\Wow6432Node\\\\Blizzard Entertainment\\\\Diablo II] "),
              std::string::npos);
    EXPECT_EQ(text.find("[Software\\\\Blizzard Entertainment\\\\Diablo II]"), std::string::npos);

    // A key found only in the 64-bit view is read there, but written in the 32-bit one.
    const std::string borland = "Software\\Borland\\Database Engine\\Settings\\SYSTEM\\INIT";
    RegHandle handle = 0;
    EXPECT_EQ(registry.OpenKey(Reg::LocalMachine, borland, Reg::KeyWrite, handle),
              ErrorCode::FileNotFound);
    ASSERT_EQ(RegistryCalls::SaveList(registry, Reg::LocalMachine, borland, "SHAREDMEMLOCATION",
                                      "1", &disposition),
              ErrorCode::Success);
    EXPECT_EQ(disposition, Reg::CreatedNewKey);
    EXPECT_EQ(
        RegistryCalls::ReadValue(registry, Reg::LocalMachine, borland, "SHAREDMEMLOCATION").data,
        "1");
    EXPECT_NE(HiveFiles::Read(Hive("system.reg")).find("\"SHAREDMEMLOCATION\"=\"9000\""),
              std::string::npos);
}

TEST_F(WineRegistryTest, A32BitPrefixHasNoRedirection)
{
    std::string system = HiveFiles::Fixture("system.reg");
    system.replace(system.find("#arch=win64"), 11, "#arch=win32");
    HiveFiles::Write(Hive("system.reg"), system);
    EXPECT_EQ(RegistryCalls::ReadValue(registry, Reg::LocalMachine,
                                       "Software\\Blizzard Entertainment\\Starcraft", "Program")
                  .data,
              std::string("C:\\Program Files\\Starcraft\\StarCraft.exe\0", 41));
}

TEST_F(WineRegistryTest, MergesIntoAHiveThatChangedOnDisk)
{
    ASSERT_EQ(RegistryCalls::ReadValue(registry, Reg::CurrentUser, kGatewaysKey, kGateways).status,
              ErrorCode::Success);
    std::string changed = HiveFiles::Read(Hive("user.reg"));
    changed += "\n[Software\\\\Added\\\\Elsewhere] 1796855999\n\"v\"=\"by hand\"\n";
    HiveFiles::Write(Hive("user.reg"), changed);
    EXPECT_EQ(
        RegistryCalls::ReadValue(registry, Reg::CurrentUser, "Software\\Added\\Elsewhere", "v")
            .data,
        std::string("by hand\0", 8));

    ASSERT_EQ(RegistryCalls::SaveList(registry, Reg::CurrentUser, kGatewaysKey, kGateways,
                                      std::string("1001\0"
                                                  "00\0\0",
                                                  9)),
              ErrorCode::Success);
    const std::string text = HiveFiles::Read(Hive("user.reg"));
    EXPECT_NE(text.find("[Software\\\\Added\\\\Elsewhere] 1796855999\n\"v\"=\"by hand\"\n"),
              std::string::npos);
    EXPECT_NE(text.find("\"Battle.net gateways\"=str(7):\"1001\\00000\\0\""), std::string::npos);
    EXPECT_EQ(HiveFiles::Read(Hive("user.reg.portico-backup")), changed);
}

struct RefusedCase {
    const char* name;
    std::string content;
};

class WineRegistryRefusesFile : public WineRegistryTest,
                                public testing::WithParamInterface<RefusedCase> {};

// Wine ignores such a file; Portico neither reads nor writes it.
TEST_P(WineRegistryRefusesFile, WithBadDb)
{
    HiveFiles::Write(Hive("user.reg"), GetParam().content);
    EXPECT_EQ(RegistryCalls::ReadValue(registry, Reg::CurrentUser, kGatewaysKey, kGateways).status,
              ErrorCode::BadDb);
    EXPECT_EQ(RegistryCalls::SaveList(registry, Reg::CurrentUser, kGatewaysKey, kGateways, "x"),
              ErrorCode::BadDb);
    EXPECT_EQ(HiveFiles::Read(Hive("user.reg")), GetParam().content);
    EXPECT_FALSE(fs::exists(Hive("user.reg.portico-backup")));
}

INSTANTIATE_TEST_SUITE_P(
    Files, WineRegistryRefusesFile,
    testing::Values(
        RefusedCase{"NoHeader",
                    "[Software\\\\Battle.net\\\\Configuration]\n\"Battle.net gateways\"=\"x\"\n"},
        RefusedCase{"ByteOrderMark", "\xef\xbb\xbf" + HiveFiles::Fixture("minimal-user.reg")},
        RefusedCase{
            "ExportFile",
            "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n"}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST_F(WineRegistryTest, AHiveThatIsAFolderCannotBeRead)
{
    fs::remove(Hive("user.reg"));
    fs::create_directory(Hive("user.reg"));
    EXPECT_EQ(RegistryCalls::ReadValue(registry, Reg::CurrentUser, kGatewaysKey, kGateways).status,
              ErrorCode::CantRead);
    EXPECT_NE(RegistryCalls::SaveList(registry, Reg::CurrentUser, kGatewaysKey, kGateways, "x"),
              ErrorCode::Success);
    EXPECT_TRUE(fs::is_directory(Hive("user.reg")));
}

// Nothing may wait for a writer of a FIFO put in place of the hive.
TEST_F(WineRegistryTest, AHiveThatIsAFifoCannotBeRead)
{
    fs::remove(Hive("user.reg"));
    ASSERT_EQ(mkfifo(Hive("user.reg").c_str(), 0600), 0);
    auto read = std::async(std::launch::async, [this] {
        return RegistryCalls::ReadValue(registry, Reg::CurrentUser, kGatewaysKey, kGateways).status;
    });
    const bool returned = read.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (!returned) {
        // Lets the waiting open through, so that the test ends.
        const int writer = open(Hive("user.reg").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0)
            close(writer);
    }
    EXPECT_TRUE(returned) << "the read waited for a writer";
    EXPECT_EQ(read.get(), ErrorCode::CantRead);
}

struct OwnershipCase {
    const char* name;
    mode_t mode;
    // Given to another user and group than the saver's.
    bool otherOwner;
};

void PrintTo(const OwnershipCase& c, std::ostream* out)
{
    *out << c.name;
}

class WineRegistryKeepsOwnership : public WineRegistryTest,
                                   public testing::WithParamInterface<OwnershipCase> {};

// A new file starts with mode 0600 and the saver as its owner: the hive's own are put back.
TEST_P(WineRegistryKeepsOwnership, AcrossASave)
{
    const OwnershipCase& c = GetParam();
    const std::string hive = Hive("user.reg");
    uid_t owner = geteuid();
    gid_t group = getegid();
    if (c.otherOwner) {
        if (geteuid() != 0)
            GTEST_SKIP() << "only root can give the hive to another user";
        owner = 65534;
        group = 65533;
        ASSERT_EQ(chown(hive.c_str(), owner, group), 0);
    }
    ASSERT_EQ(chmod(hive.c_str(), c.mode), 0);
    ASSERT_EQ(RegistryCalls::SaveList(registry, Reg::CurrentUser, kGatewaysKey, kGateways, "x"),
              ErrorCode::Success);
    ASSERT_NE(HiveFiles::Read(hive), HiveFiles::Fixture("user.reg")) << "nothing was saved";
    struct stat status {};
    ASSERT_EQ(stat(hive.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, c.mode);
    EXPECT_EQ(status.st_uid, owner);
    EXPECT_EQ(status.st_gid, group);
}

INSTANTIATE_TEST_SUITE_P(Modes, WineRegistryKeepsOwnership,
                         testing::Values(OwnershipCase{"Mode0600", 0600, false},
                                         OwnershipCase{"Mode0644", 0644, false},
                                         OwnershipCase{"Mode0640", 0640, false},
                                         OwnershipCase{"Mode0644OtherOwner", 0644, true},
                                         OwnershipCase{"Mode0640OtherOwner", 0640, true}),
                         [](const testing::TestParamInfo<OwnershipCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(WineRegistryTest, WritesThroughSymbolicAndHardLinks)
{
    const fs::path elsewhere = dir.Path() / "real-user.reg";
    fs::rename(Hive("user.reg"), elsewhere);
    fs::create_symlink(elsewhere, Hive("user.reg"));
    fs::create_hard_link(Hive("system.reg"), dir.Path() / "system-copy.reg");

    ASSERT_EQ(RegistryCalls::SaveList(registry, Reg::CurrentUser, kGatewaysKey, kGateways,
                                      std::string("1\0\0", 3)),
              ErrorCode::Success);
    ASSERT_EQ(RegistryCalls::SaveList(registry, Reg::LocalMachine,
                                      "Software\\Blizzard Entertainment\\Starcraft", "Program",
                                      std::string("2\0\0", 3)),
              ErrorCode::Success);
    EXPECT_TRUE(fs::is_symlink(Hive("user.reg")));
    EXPECT_NE(HiveFiles::Read(elsewhere.string()).find("=str(7):\"1\\0\""), std::string::npos);
    EXPECT_EQ(fs::hard_link_count(Hive("system.reg")), 2u);
    EXPECT_NE(HiveFiles::Read((dir.Path() / "system-copy.reg").string()).find("=str(7):\"2\\0\""),
              std::string::npos);
    // Written in place, they are kept as copies.
    EXPECT_EQ(HiveFiles::Read(Hive("user.reg.portico-backup")), HiveFiles::Fixture("user.reg"));
    EXPECT_EQ(HiveFiles::Read(Hive("system.reg.portico-backup")), HiveFiles::Fixture("system.reg"));
}

// File permissions do not stop root, so these checks run in a child that gives up root.
TEST_F(WineRegistryTest, UnreadableHivesAndReadOnlyFoldersAreRefused)
{
    const std::string original = HiveFiles::Read(Hive("user.reg"));
    const uid_t nobody = 65534;
    if (geteuid() == 0) {
        ASSERT_EQ(chown(dir.Path().c_str(), nobody, nobody), 0);
        for (const char* hive : {"user.reg", "system.reg"})
            ASSERT_EQ(chown(Hive(hive).c_str(), nobody, nobody), 0);
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0))
            _exit(10);
        WineRegistry own(dir.Path().string());
        chmod(Hive("system.reg").c_str(), 0);
        if (RegistryCalls::ReadValue(own, Reg::LocalMachine, "Software", "v").status !=
            ErrorCode::AccessDenied)
            _exit(11);
        chmod(dir.Path().c_str(), 0555);
        if (RegistryCalls::SaveList(own, Reg::CurrentUser, kGatewaysKey, kGateways, "x") !=
            ErrorCode::AccessDenied)
            _exit(12);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    fs::permissions(dir.Path(), fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 10)
        GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "11: unreadable hive read, 12: read-only folder written";
    EXPECT_EQ(HiveFiles::Read(Hive("user.reg")), original);
}
} // namespace
