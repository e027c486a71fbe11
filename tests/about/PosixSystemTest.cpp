#include "about/PosixSystem.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {
const PosixSystem::Kernel kLinux{"Linux", "6.1.0", "x86_64"};

const char kDebian[] = "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                       "NAME=\"Debian GNU/Linux\"\n"
                       "VERSION_ID=\"12\"\n"
                       "VERSION=\"12 (bookworm)\"\n"
                       "VERSION_CODENAME=bookworm\n"
                       "ID=debian\n"
                       "HOME_URL=\"https://www.debian.org/\"\n";

struct SystemCase {
    const char* label;
    std::optional<std::string> osRelease;
    std::optional<PosixSystem::Kernel> kernel;
    const char* text;
};

void PrintTo(const SystemCase& c, std::ostream* out)
{
    *out << c.label;
}

class PosixSystemTest : public testing::TestWithParam<SystemCase> {};

TEST_P(PosixSystemTest, NamesTheDistributionAndTheKernel)
{
    const SystemCase& c = GetParam();
    EXPECT_EQ((PosixSystem{c.osRelease, c.kernel}.Describe()), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, PosixSystemTest,
    testing::Values(
        SystemCase{"Debian", kDebian, kLinux, "Debian GNU/Linux 12 (bookworm), Linux 6.1.0 x86_64"},
        SystemCase{"name and version without a pretty name",
                   "NAME=Fedora\\ Linux\nVERSION='39 (Workstation Edition)'\nID=fedora\n", kLinux,
                   "Fedora Linux 39 (Workstation Edition), Linux 6.1.0 x86_64"},
        SystemCase{"name alone", "NAME=\"Alpine Linux\"\nID=alpine\n", kLinux,
                   "Alpine Linux, Linux 6.1.0 x86_64"},
        SystemCase{"empty pretty name", "PRETTY_NAME=\"\"\nNAME=Gentoo\n", kLinux,
                   "Gentoo, Linux 6.1.0 x86_64"},
        SystemCase{"the last assignment counts", "PRETTY_NAME=Old\nPRETTY_NAME=New\n", kLinux,
                   "New, Linux 6.1.0 x86_64"},
        SystemCase{"comments, blank lines, indents and CRLF",
                   "# PRETTY_NAME=Commented\r\n\r\n  PRETTY_NAME=\"Arch Linux\"  \r\n", kLinux,
                   "Arch Linux, Linux 6.1.0 x86_64"},
        SystemCase{"escapes inside double quotes",
                   "PRETTY_NAME=\"Say \\\"hi\\\" \\\\ \\$HOME \\n\"\n", kLinux,
                   "Say \"hi\" \\ $HOME \\n, Linux 6.1.0 x86_64"},
        SystemCase{"quotes joined", "PRETTY_NAME=My\"' OS'\"' 1'\n", kLinux,
                   "My' OS' 1, Linux 6.1.0 x86_64"},
        SystemCase{"unquoted blank ends the value", "PRETTY_NAME=Two words\n", kLinux,
                   "Two, Linux 6.1.0 x86_64"},
        SystemCase{"unclosed quote runs to the line's end", "PRETTY_NAME=\"Open quote\nID=x\n",
                   kLinux, "Open quote, Linux 6.1.0 x86_64"},
        SystemCase{"controls become blanks",
                   "PRETTY_NAME=\"A\tB\x01"
                   "C\x7F\"\n",
                   kLinux, "A B C, Linux 6.1.0 x86_64"},
        SystemCase{"UTF-8 kept", "PRETTY_NAME=\"Syst\xC3\xA8me 1\"\n", kLinux,
                   "Syst\xC3\xA8me 1, Linux 6.1.0 x86_64"},
        SystemCase{"markup kept as text", "PRETTY_NAME=\"<b>Bold</b>\"\n", kLinux,
                   "<b>Bold</b>, Linux 6.1.0 x86_64"},
        SystemCase{"only other keys", "ID=debian\nVERSION_ID=12\n", kLinux, "Linux 6.1.0 x86_64"},
        SystemCase{"empty file", "", kLinux, "Linux 6.1.0 x86_64"},
        SystemCase{"no file", std::nullopt, kLinux, "Linux 6.1.0 x86_64"},
        SystemCase{"binary file",
                   std::string("\x7F"
                               "ELF\x02\x01\x01\0\0=\0\xFF\n",
                               13),
                   kLinux, "Linux 6.1.0 x86_64"},
        SystemCase{"release cut to its version number", std::nullopt,
                   PosixSystem::Kernel{"Linux", "6.1.0-18-amd64", "x86_64"}, "Linux 6.1.0 x86_64"},
        SystemCase{"release with a letter first", std::nullopt,
                   PosixSystem::Kernel{"Linux", "v6.1-rc2", "x86_64"}, "Linux v6.1-rc2 x86_64"},
        SystemCase{"release of a plain number", std::nullopt,
                   PosixSystem::Kernel{"SunOS", "5.11", "i86pc"}, "SunOS 5.11 i86pc"},
        SystemCase{"no uname", kDebian, std::nullopt, "Debian GNU/Linux 12 (bookworm)"},
        SystemCase{"kernel fields partly empty", std::nullopt,
                   PosixSystem::Kernel{"FreeBSD", "", " amd64 "}, "FreeBSD amd64"},
        SystemCase{"nothing known", std::nullopt, std::nullopt, "Unknown system version"},
        SystemCase{"nothing in either", "\n# only a comment\n", PosixSystem::Kernel{"", "", ""},
                   "Unknown system version"}));
} // namespace
