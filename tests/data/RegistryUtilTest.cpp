#include "MemoryRegistry.h"

#include "data/ErrorCodes.h"
#include "data/ErrorTextSource.h"
#include "data/ErrorTextTable.h"
#include "data/Util.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;
using Op = MemoryRegistry::Operation;

namespace {
class RegistryUtilTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(registry.OpenHandles(), 0u); }
    static RegStatus Code(std::uint32_t code) { return static_cast<RegStatus>(code); }

    MemoryRegistry registry;
};

TEST_F(RegistryUtilTest, ReadReturnsTheValueOrTheDefault)
{
    registry.Put(Reg::CurrentUser, "Software\\K", "V", "a\0b\0\0"s);
    std::uint32_t size = 99;
    EXPECT_EQ(Util::ReadRegistryValue(registry, "software\\k", "v", "", size, Reg::CurrentUser),
              "a\0b\0\0"s);
    EXPECT_EQ(size, 5u);

    EXPECT_EQ(
        Util::ReadRegistryValue(registry, "Software\\K", "Missing", "dflt", size, Reg::CurrentUser),
        "dflt");
    EXPECT_EQ(size, 0u);

    registry.Put(Reg::CurrentUser, "Software\\K", "Big", std::string(70000, 'x'));
    EXPECT_EQ(
        Util::ReadRegistryValue(registry, "Software\\K", "Big", "", size, Reg::CurrentUser).size(),
        70000u);
    EXPECT_EQ(size, 70000u);
}

struct FailureCase {
    const char* Label;
    Op Operation;
    std::uint32_t Code;
    const char* Text;
};

class RegistryReadFailures : public RegistryUtilTest,
                             public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RegistryReadFailures, ThrowWithTheSystemText)
{
    registry.Put(Reg::CurrentUser, "Software\\K", "V", "x");
    registry.FailWith(GetParam().Operation, Code(GetParam().Code));
    std::uint32_t size = 7;
    try {
        Util::ReadRegistryValue(registry, "Software\\K", "V", "", size, Reg::CurrentUser);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), GetParam().Text);
    }
    EXPECT_EQ(size, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, RegistryReadFailures,
    ::testing::Values(
        FailureCase{"OpenDenied", Op::Open, ErrorCode::AccessDenied, "Access is denied."},
        FailureCase{"OpenCorrupt", Op::Open, ErrorCode::BadDb,
                    "The configuration registry database is corrupt."},
        FailureCase{"CloseFails", Op::Close, ErrorCode::InvalidHandle, "The handle is invalid."},
        FailureCase{"UnknownCode", Op::Open, 4242, "Error 4242."}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_F(RegistryUtilTest, MissingKeyThrowsFileNotFound)
{
    std::uint32_t size = 0;
    EXPECT_THROW(
        Util::ReadRegistryValue(registry, "Software\\None", "V", "", size, Reg::LocalMachine),
        std::runtime_error);
    EXPECT_THROW(Util::ReadRegistryValue(registry, "Software\\None", "V", "", size, 0),
                 std::runtime_error);
}

TEST_F(RegistryUtilTest, WriteCreatesTheKeyAndStoresExactBytes)
{
    Util::WriteRegistryValue(registry, "Software\\New\\Deep", "V", "x\0y\0\0"s, Reg::CurrentUser);
    ASSERT_TRUE(registry.HasKey(Reg::CurrentUser, "Software\\New\\Deep"));
    const auto value = registry.Get(Reg::CurrentUser, "Software\\New\\Deep", "V");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->Data, "x\0y\0\0"s);
    EXPECT_EQ(value->Type, Reg::TypeMultiSz);
}

TEST_F(RegistryUtilTest, WriteFailuresThrowAndCloseTheKey)
{
    for (Op op : {Op::Create, Op::Set, Op::Close}) {
        registry.FailWith(op, Code(ErrorCode::AccessDenied));
        EXPECT_THROW(Util::WriteRegistryValue(registry, "Software\\K", "V", "x", Reg::CurrentUser),
                     std::runtime_error);
        registry.FailWith(op, 0);
        EXPECT_EQ(registry.OpenHandles(), 0u);
    }
}

TEST(FormatErrorMessage, CutsAtTheLastCarriageReturn)
{
    struct Texts : ErrorTextSource {
        std::string SystemText(std::uint32_t code) const override
        {
            if (code == 1)
                return "Line one.\r\nLine two.\r\n";
            if (code == 2)
                return "No line break";
            return {};
        }
    } texts;
    EXPECT_EQ(Util::FormatErrorMessage(texts, 1), "Line one.\r\nLine two.");
    EXPECT_EQ(Util::FormatErrorMessage(texts, 2), "No line break");
    EXPECT_EQ(Util::FormatErrorMessage(texts, 3), "");
    const ErrorTextTable ours;
    EXPECT_EQ(Util::FormatErrorMessage(ours, ErrorCode::FileNotFound),
              "The system cannot find the file specified.");
    EXPECT_EQ(Util::FormatErrorMessage(ours, ErrorCode::WineServerRunning),
              "Wine is running for this prefix and would overwrite the change: close the games, "
              "or run `wineserver -k`, then save again.");
}
} // namespace
