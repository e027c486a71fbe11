#include "about/PosixSystemReader.h"

#include "about/SystemVersion.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
const char kOsRelease[] = "PRETTY_NAME=\"Test OS 1\"\n";

TEST(PosixSystemReaderTest, ReadsTheFirstRegularFileThatCanBeRead)
{
    TempDir dir;
    const auto real = dir.Write("os-release", kOsRelease);
    const auto other = dir.Write("other", "PRETTY_NAME=Other\n");
    std::filesystem::create_directory(dir.Path() / "directory");
    ASSERT_EQ(::mkfifo((dir.Path() / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink(real, dir.Path() / "link");
    std::filesystem::create_symlink(dir.Path() / "nowhere", dir.Path() / "dangling");

    // A FIFO with no writer must not hold the About box up.
    EXPECT_EQ(PosixSystemReader::ReadOsRelease({dir.Path() / "missing", dir.Path() / "directory",
                                                dir.Path() / "fifo", dir.Path() / "dangling",
                                                dir.Path() / "link", other}),
              kOsRelease);
    EXPECT_EQ(PosixSystemReader::ReadOsRelease({other, real}), "PRETTY_NAME=Other\n");
    EXPECT_EQ(PosixSystemReader::ReadOsRelease({dir.Path() / "fifo", "/dev/null"}), std::nullopt);
    EXPECT_EQ(PosixSystemReader::ReadOsRelease({}), std::nullopt);
    EXPECT_EQ(PosixSystemReader::ReadOsRelease({dir.Write("empty", "")}), "");
}

TEST(PosixSystemReaderTest, ReadsAnOversizedFileOnlyUpToItsLimit)
{
    TempDir dir;
    const std::string head = kOsRelease;
    const auto big =
        dir.Write("big", head + std::string(PosixSystemReader::kMaxOsReleaseBytes * 3, '#'));
    const std::optional<std::string> text = PosixSystemReader::ReadOsRelease({big});
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->size(), PosixSystemReader::kMaxOsReleaseBytes);
    EXPECT_EQ((PosixSystem{text, std::nullopt}.Describe()), "Test OS 1");
}

TEST(PosixSystemReaderTest, RunningSystemIsNamed)
{
    const std::optional<PosixSystem::Kernel> kernel = PosixSystemReader::RunningKernel();
    ASSERT_TRUE(kernel.has_value());
    EXPECT_FALSE(kernel->SystemName.empty());
    EXPECT_FALSE(kernel->Release.empty());
    const std::string text = GetOsVersionText();
    EXPECT_NE(text, "Unknown system");
    EXPECT_NE(text, "Unknown system version");
    EXPECT_NE(text.find(kernel->SystemName + " " + kernel->Release.substr(0, 1)), std::string::npos)
        << text;
    EXPECT_TRUE(text.ends_with(" " + kernel->Machine)) << text;
}
} // namespace
