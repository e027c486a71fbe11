#include "platform/Win32Registry.h"

#include "RegistryCalls.h"
#include "SampleLists.h"
#include "data/ErrorCodes.h"
#include "data/GameInfo.h"
#include "data/Util.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>

namespace {
using namespace std::string_literals;

const std::string kGateways = "Battle.net gateways";

// The keys of one test, below Software\Portico tests in both roots and in both views of
// HKEY_LOCAL_MACHINE; removed afterwards, so that a run on Windows leaves nothing behind.
class Win32RegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        m_leaf = std::to_string(GetCurrentProcessId()) + " " + test->test_suite_name() + " " +
                 test->name();
        for (char& c : m_leaf) {
            if (c == '/')
                c = ' ';
        }
        m_key = "Software\\Portico tests\\" + m_leaf;
    }

    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, m_key.c_str());
        for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            HKEY tests = nullptr;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Portico tests", 0,
                              KEY_ALL_ACCESS | view, &tests) != ERROR_SUCCESS)
                continue;
            RegDeleteTreeA(tests, m_leaf.c_str());
            RegCloseKey(tests);
        }
    }

    // Writing HKEY_LOCAL_MACHINE needs an administrator on Windows; Wine grants it.
    void SkipUnlessMachineWritable()
    {
        const RegStatus status =
            RegistryCalls::SaveList(registry, Reg::LocalMachine, m_key, "probe", "x"s + '\0');
        if (status == ErrorCode::AccessDenied)
            GTEST_SKIP() << "HKEY_LOCAL_MACHINE takes no writes from this user";
        ASSERT_EQ(status, ErrorCode::Success);
    }

    // Opens the key through the system directly, in one view.
    static bool Exists(const std::string& key, REGSAM view)
    {
        HKEY handle = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, &handle) !=
            ERROR_SUCCESS)
            return false;
        RegCloseKey(handle);
        return true;
    }

    std::string m_leaf;
    std::string m_key;
    Win32Registry registry;
};

struct ListCase {
    SampleList list;
    RegHandle root;
    const char* rootName;
};

void PrintTo(const ListCase& c, std::ostream* out)
{
    PrintTo(c.list, out);
    *out << " in " << c.rootName;
}

class Win32RegistryLists : public Win32RegistryTest,
                           public testing::WithParamInterface<ListCase> {};

TEST_P(Win32RegistryLists, ReadBackByteForByte)
{
    const ListCase& c = GetParam();
    if (c.root == Reg::LocalMachine) {
        SkipUnlessMachineWritable();
        if (IsSkipped())
            return;
    }
    std::uint32_t disposition = 0;
    ASSERT_EQ(RegistryCalls::SaveList(registry, c.root, m_key + "\\Gateways", kGateways,
                                      c.list.bytes, &disposition),
              ErrorCode::Success);
    EXPECT_EQ(disposition, Reg::CreatedNewKey);
    ASSERT_EQ(RegistryCalls::SaveList(registry, c.root, m_key + "\\Gateways", kGateways,
                                      c.list.bytes, &disposition),
              ErrorCode::Success);
    EXPECT_EQ(disposition, Reg::OpenedExistingKey);

    const RegistryCalls::Read read =
        RegistryCalls::ReadValue(registry, c.root, m_key + "\\Gateways", kGateways);
    EXPECT_EQ(read.status, ErrorCode::Success);
    EXPECT_EQ(read.data, c.list.bytes);

    // The data layer's read, which starts with a buffer of 1,024 bytes.
    std::uint32_t size = 0;
    EXPECT_EQ(Util::ReadRegistryValue(registry, m_key + "\\Gateways", kGateways, "", size, c.root),
              c.list.bytes);
    EXPECT_EQ(size, c.list.bytes.size());
}

std::vector<ListCase> ListCases()
{
    std::vector<ListCase> cases;
    for (const SampleList& list : SampleLists::All()) {
        cases.push_back({list, Reg::CurrentUser, "CurrentUser"});
        cases.push_back({list, Reg::LocalMachine, "LocalMachine"});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Samples, Win32RegistryLists, testing::ValuesIn(ListCases()),
                         [](const auto& info) {
                             return std::string(info.param.list.name) + info.param.rootName;
                         });

TEST_F(Win32RegistryTest, ReportsSizesAsRegQueryValueExDoes)
{
    const std::string list = SampleLists::OverOneKilobyte().bytes;
    const auto length = static_cast<std::uint32_t>(list.size());
    ASSERT_EQ(RegistryCalls::SaveList(registry, Reg::CurrentUser, m_key, kGateways, list),
              ErrorCode::Success);
    RegHandle handle = 0;
    ASSERT_EQ(registry.OpenKey(Reg::CurrentUser, m_key, Reg::KeyRead, handle), ErrorCode::Success);

    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(registry.QueryValue(handle, kGateways, &type, nullptr, &size), ErrorCode::Success);
    EXPECT_EQ(type, Reg::TypeMultiSz);
    EXPECT_GE(size, length);

    std::vector<std::uint8_t> buffer(length);
    size = 1024;
    EXPECT_EQ(registry.QueryValue(handle, kGateways, nullptr, buffer.data(), &size),
              ErrorCode::MoreData);
    EXPECT_GE(size, length);
    size = length;
    EXPECT_EQ(registry.QueryValue(handle, kGateways, &type, buffer.data(), &size),
              ErrorCode::Success);
    EXPECT_EQ(size, length);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), list);

    EXPECT_EQ(registry.QueryValue(handle, "missing", nullptr, nullptr, &size),
              ErrorCode::FileNotFound);
    EXPECT_EQ(registry.QueryValue(handle, kGateways, nullptr, buffer.data(), nullptr),
              ErrorCode::InvalidParameter);
    // A key opened for reading takes no writes.
    EXPECT_EQ(registry.SetValue(handle, "x", Reg::TypeMultiSz, buffer.data(), 2),
              ErrorCode::AccessDenied);
    EXPECT_EQ(registry.CloseKey(handle), ErrorCode::Success);
    EXPECT_EQ(registry.CloseKey(handle), ErrorCode::InvalidHandle);
    EXPECT_EQ(registry.QueryValue(handle, kGateways, nullptr, nullptr, &size),
              ErrorCode::InvalidHandle);
}

TEST_F(Win32RegistryTest, StoresExactlyTheBytesGiven)
{
    // The byte after the data is NUL, which the system would store as well if let.
    const std::string data = "abc\0"s;
    RegHandle handle = 0;
    ASSERT_EQ(registry.CreateKey(Reg::CurrentUser, m_key, Reg::OptionNonVolatile, Reg::KeyWrite,
                                 handle, nullptr),
              ErrorCode::Success);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
    for (const std::uint32_t type : {Reg::TypeSz, Reg::TypeMultiSz, Reg::TypeBinary})
        EXPECT_EQ(registry.SetValue(handle, std::to_string(type), type, bytes, 3),
                  ErrorCode::Success);
    EXPECT_EQ(registry.SetValue(handle, "null", Reg::TypeMultiSz, nullptr, 3),
              ErrorCode::InvalidParameter);
    EXPECT_EQ(registry.SetValue(handle, "nothing", Reg::TypeMultiSz, nullptr, 0),
              ErrorCode::Success);
    EXPECT_EQ(registry.CloseKey(handle), ErrorCode::Success);

    for (const std::uint32_t type : {Reg::TypeSz, Reg::TypeMultiSz, Reg::TypeBinary}) {
        const RegistryCalls::Read read =
            RegistryCalls::ReadValue(registry, Reg::CurrentUser, m_key, std::to_string(type));
        EXPECT_EQ(read.status, ErrorCode::Success);
        EXPECT_EQ(read.data, "abc") << "type " << type;
    }
    EXPECT_EQ(RegistryCalls::ReadValue(registry, Reg::CurrentUser, m_key, "null").status,
              ErrorCode::FileNotFound);
    EXPECT_EQ(RegistryCalls::ReadValue(registry, Reg::CurrentUser, m_key, "nothing").data, "");
}

TEST_F(Win32RegistryTest, NamesCompareWithoutRegardToCase)
{
    const std::string list = SampleLists::EightBitNames().bytes;
    ASSERT_EQ(RegistryCalls::SaveList(registry, Reg::CurrentUser, m_key + "\\Configuration",
                                      kGateways, list),
              ErrorCode::Success);
    std::string upper = m_key + "\\CONFIGURATION";
    for (char& c : upper)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    EXPECT_EQ(
        RegistryCalls::ReadValue(registry, Reg::CurrentUser, upper, "BATTLE.NET GATEWAYS").data,
        list);
    EXPECT_EQ(
        RegistryCalls::ReadValue(registry, Reg::CurrentUser, m_key + "\\Nothing", kGateways).status,
        ErrorCode::FileNotFound);
}

TEST_F(Win32RegistryTest, WritesHklmSoftwareWhereThe32BitGameReads)
{
    SkipUnlessMachineWritable();
    if (IsSkipped())
        return;
    ASSERT_EQ(RegistryCalls::SaveList(registry, Reg::LocalMachine, m_key + "\\Diablo II", "Program",
                                      "d2\0"s),
              ErrorCode::Success);
    EXPECT_TRUE(Exists(m_key + "\\Diablo II", KEY_WOW64_32KEY));
    // 64-bit Windows keeps the 32-bit view below Wow6432Node; 32-bit Windows has one view.
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    if (sizeof(void*) == 8 || wow64) {
        EXPECT_FALSE(Exists(m_key + "\\Diablo II", KEY_WOW64_64KEY));
        EXPECT_TRUE(Exists("Software\\Wow6432Node\\Portico tests\\" + m_leaf + "\\Diablo II",
                           KEY_WOW64_64KEY));
    }
}

TEST_F(Win32RegistryTest, ReadsAKeyOfThe64BitViewAloneButNeverWritesThere)
{
    SkipUnlessMachineWritable();
    if (IsSkipped())
        return;
    // Added by a 64-bit tool: only in the 64-bit view.
    const std::string key = m_key + "\\Borland";
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                              KEY_WRITE | KEY_WOW64_64KEY, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(
        RegSetValueExA(handle, "Location", 0, REG_SZ, reinterpret_cast<const BYTE*>("9000"), 5),
        ERROR_SUCCESS);
    RegCloseKey(handle);

    EXPECT_EQ(RegistryCalls::ReadValue(registry, Reg::LocalMachine, key, "Location").data,
              "9000\0"s);
    RegHandle writable = 0;
    if (Exists(key, KEY_WOW64_32KEY))
        GTEST_SKIP() << "this system has one view of HKEY_LOCAL_MACHINE";
    EXPECT_EQ(registry.OpenKey(Reg::LocalMachine, key, Reg::KeyWrite, writable),
              ErrorCode::FileNotFound);

    std::uint32_t disposition = 0;
    ASSERT_EQ(
        RegistryCalls::SaveList(registry, Reg::LocalMachine, key, "Location", "1"s, &disposition),
        ErrorCode::Success);
    EXPECT_EQ(disposition, Reg::CreatedNewKey);
    EXPECT_EQ(RegistryCalls::ReadValue(registry, Reg::LocalMachine, key, "Location").data, "1");
    EXPECT_TRUE(Exists(key, KEY_WOW64_32KEY));
    ASSERT_EQ(
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &handle),
        ERROR_SUCCESS);
    char data[8] = {};
    DWORD size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(handle, "Location", nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                               &size),
              ERROR_SUCCESS);
    RegCloseKey(handle);
    EXPECT_STREQ(data, "9000") << "the 64-bit view is left as it was";
}

TEST_F(Win32RegistryTest, AGameReadsAndWritesItsListThroughTheDataLayer)
{
    GameInfo game("Diablo II");
    game.BnetConfigRoot = Reg::CurrentUser;
    game.BnetConfigKey = m_key + "\\Diablo II";
    game.BnetConfigValueName = kGateways;
    game.ExeLocationRoot = Reg::CurrentUser;
    game.ExeLocationKey = m_key + "\\Install";
    game.ExeLocationValueName = "Program";

    EXPECT_FALSE(game.IsInstalled(registry));
    EXPECT_THROW(game.LoadGateways(registry), std::runtime_error);
    ASSERT_EQ(RegistryCalls::SaveList(registry, Reg::CurrentUser, game.ExeLocationKey, "Other",
                                      "x"s + '\0'),
              ErrorCode::Success);
    EXPECT_TRUE(game.IsInstalled(registry));

    // Forty servers with 8-bit names: well over the first read's 1,024 bytes.
    for (int i = 0; i < 40; ++i)
        game.Servers.AddServer("\x04\x06\x07Gateway \xc9t\xe9 \x80 " + std::to_string(i), "-5",
                               "host" + std::to_string(i) + ".example");
    std::string reason;
    ASSERT_TRUE(game.SaveGateways(registry, &reason)) << reason;

    GameInfo reread = game;
    reread.Servers.Clear();
    EXPECT_EQ(reread.LoadGateways(registry), 40);
    ASSERT_EQ(reread.Servers.Size(), 40u);
    EXPECT_EQ(reread.Servers[39].Name, "\x04\x06\x07Gateway \xc9t\xe9 \x80 39");
    EXPECT_EQ(reread.Servers[39].Hostname, "host39.example");
    EXPECT_EQ(reread.Servers[39].TimeZone, "-5");
}

TEST_F(Win32RegistryTest, FailuresCarryTheSystemsText)
{
    // A code that the system words and that our own table lacks, one that Wine lacks, and one
    // that nobody has words for.
    const ErrorTextSource& texts = registry.ErrorTexts();
    for (const std::uint32_t code :
         {ErrorCode::FileNotFound, ErrorCode::AccessDenied, ErrorCode::MoreData,
          ErrorCode::KeyDeleted, std::uint32_t{ERROR_INVALID_FUNCTION}, ErrorCode::WsaTimedOut}) {
        const std::string text = Util::FormatErrorMessage(texts, code);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << code << ": " << text;
    }
    EXPECT_EQ(texts.SystemText(0x2000FFFF), "");

    try {
        std::uint32_t size = 0;
        Util::ReadRegistryValue(registry, m_key + "\\Nothing", kGateways, "", size,
                                Reg::CurrentUser);
        ADD_FAILURE() << "a missing key was read";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(e.what(), Util::FormatErrorMessage(texts, ErrorCode::FileNotFound));
    }
}
} // namespace
