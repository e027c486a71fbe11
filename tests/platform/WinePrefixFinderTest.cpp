#include "FakeHome.h"

#include "platform/WinePrefixFinder.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {
// What a search found, as "launcher: path relative to the home".
std::vector<std::string> Found(const FakeHome& home, const WinePrefixFinder::Result& result)
{
    const std::string root = fs::canonical(home.Path()).string() + "/";
    std::vector<std::string> found;
    for (const WinePrefixFinder::Found& prefix : result.Prefixes) {
        const bool inside = prefix.Path.rfind(root, 0) == 0;
        found.push_back(prefix.Launcher + ": " +
                        (inside ? prefix.Path.substr(root.size()) : prefix.Path));
    }
    return found;
}

WinePrefixFinder::Result Search(const FakeHome& home,
                                std::vector<std::pair<std::string, std::string>> named = {})
{
    return WinePrefixFinder::Find({home.Path().string(), std::move(named)},
                                  WinePrefixFinder::Clock::now() + std::chrono::seconds(30));
}

struct LayoutCase {
    const char* Label;
    std::function<void(const FakeHome&)> Lay;
    std::vector<std::string> Expected;
};

void PrintTo(const LayoutCase& layout, std::ostream* os)
{
    *os << layout.Label;
}

// Each launcher's layout as its own documentation and sources give it, with its configuration
// files where it has any.
const LayoutCase kLayouts[] = {
    {"Wine", [](const FakeHome& home) { home.Prefix(".wine"); }, {"Wine: .wine"}},
    {"LutrisConfigUnderConfig",
     [](const FakeHome& home) {
         home.Prefix("Wine/starcraft");
         home.Write(".config/lutris/games/starcraft-1700000000.yml",
                    "game:\n  exe: " + home.At("Wine/starcraft") +
                        "/drive_c/StarCraft/StarCraft.exe\n  prefix: ~/Wine/starcraft\n"
                        "  arch: win32\nsystem: {}\nwine:\n  version: lutris-7.2\n");
     },
     {"Lutris: Wine/starcraft"}},
    {"LutrisConfigUnderLocalShare",
     [](const FakeHome& home) {
         home.Prefix("Other/diablo");
         home.Write(".local/share/lutris/games/diablo-ii-1700000001.yaml",
                    "game:\n  prefix: " + home.At("Other/diablo") + "\n");
     },
     {"Lutris: Other/diablo"}},
    {"LutrisGamesFolder",
     [](const FakeHome& home) {
         home.Prefix("Games/warcraft-iii");
         home.Write("Games/notes.txt", "not a folder");
         fs::create_directories(home.Path() / "Games/not-a-prefix/drive_c");
     },
     {"Lutris: Games/warcraft-iii"}},
    {"Bottles",
     [](const FakeHome& home) {
         home.Prefix(".local/share/bottles/bottles/Gaming");
         home.Write(".local/share/bottles/bottles/Gaming/bottle.yml", "Name: Gaming\n");
         home.Prefix(".var/app/com.usebottles.bottles/data/bottles/bottles/Flat");
     },
     {"Bottles: .local/share/bottles/bottles/Gaming",
      "Bottles (Flatpak): .var/app/com.usebottles.bottles/data/bottles/bottles/Flat"}},
    {"PlayOnLinuxAndCrossOver",
     [](const FakeHome& home) {
         home.Prefix(".PlayOnLinux/wineprefix/Diablo2");
         home.Prefix(".cxoffice/Starcraft");
         home.Write(".cxoffice/cxoffice.conf", "[CrossOver]\n");
     },
     {"PlayOnLinux: .PlayOnLinux/wineprefix/Diablo2", "CrossOver: .cxoffice/Starcraft"}},
    {"Heroic",
     [](const FakeHome& home) {
         home.Prefix("Games/Heroic/Prefixes/default");
         home.Prefix("Games/Heroic/Prefixes/Diablo II/pfx");
         home.Prefix("Elsewhere/Warcraft");
         home.Prefix("Proton/Starcraft/pfx");
         home.Write(".config/heroic/GamesConfig/Warcraft3.json",
                    R"({"Warcraft3": {"winePrefix": "~/Elsewhere/Warcraft",
                        "wineVersion": {"type": "wine"}}, "version": "v0", "explicit": true})");
         home.Write(".config/heroic/GamesConfig/Starcraft.json",
                    R"({"Starcraft": {"winePrefix": ")" + home.At("Proton/Starcraft") +
                        R"(", "wineVersion": {"type": "proton"}}})");
     },
     {"Heroic: Games/Heroic/Prefixes/default", "Heroic: Games/Heroic/Prefixes/Diablo II/pfx",
      "Heroic: Proton/Starcraft/pfx", "Heroic: Elsewhere/Warcraft"}},
    {"SteamProton",
     [](const FakeHome& home) {
         home.Prefix(".local/share/Steam/steamapps/compatdata/2592020/pfx");
         home.Write(".local/share/Steam/steamapps/compatdata/2592020/version", "8.0-5\n");
         // The usual layout: ~/.steam/steam leads to the same library.
         home.Link(".steam/steam", home.At(".local/share/Steam"));
     },
     {"Steam (Proton): .local/share/Steam/steamapps/compatdata/2592020/pfx"}},
};
} // namespace

class LauncherLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LauncherLayoutTest, FindsEachPrefixOnceWithItsLauncher)
{
    FakeHome home;
    GetParam().Lay(home);
    const WinePrefixFinder::Result result = Search(home);
    std::vector<std::string> found = Found(home, result);
    std::vector<std::string> expected = GetParam().Expected;
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(result.Complete);
}

INSTANTIATE_TEST_SUITE_P(Launchers, LauncherLayoutTest, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                             return info.param.Label;
                         });

TEST(WinePrefixFinderTest, APrefixIsAFolderWithBothRegistryFiles)
{
    FakeHome home;
    home.Write(".PlayOnLinux/wineprefix/userOnly/user.reg", "WINE REGISTRY Version 2\n");
    home.Write(".PlayOnLinux/wineprefix/systemOnly/system.reg", "WINE REGISTRY Version 2\n");
    fs::create_directories(home.Path() / ".PlayOnLinux/wineprefix/dirs/system.reg");
    fs::create_directories(home.Path() / ".PlayOnLinux/wineprefix/dirs/user.reg");
    EXPECT_THAT(Found(home, Search(home)), IsEmpty());
    EXPECT_FALSE(WinePrefixFinder::IsPrefix(home.At(".PlayOnLinux/wineprefix/userOnly")));
    EXPECT_TRUE(WinePrefixFinder::IsPrefix(home.Prefix("real")));
}

TEST(WinePrefixFinderTest, NoHomeAndNothingNamedFindsNothing)
{
    const WinePrefixFinder::Result result =
        WinePrefixFinder::Find({}, WinePrefixFinder::Clock::now() + std::chrono::seconds(30));
    EXPECT_THAT(result.Prefixes, IsEmpty());
    EXPECT_TRUE(result.Complete);
}

TEST(WinePrefixFinderTest, SymbolicLinksAreResolvedSoThatAPrefixIsListedOnce)
{
    FakeHome home;
    const std::string real = home.Prefix("Storage/bottle");
    home.Link(".local/share/bottles/bottles/Linked", real);
    home.Link(".cxoffice/AlsoLinked", "../Storage/bottle");
    const WinePrefixFinder::Result result =
        Search(home, {{home.At(".local/share/bottles/bottles/Linked"), "WINEPREFIX"}});
    EXPECT_THAT(Found(home, result), ElementsAre("Bottles: Storage/bottle"));
}

TEST(WinePrefixFinderTest, TwoConfigurationsNamingOnePrefixListItOnce)
{
    FakeHome home;
    home.Prefix("Shared/prefix");
    home.Write(".config/lutris/games/a.yml", "game:\n  prefix: ~/Shared/prefix\n");
    home.Write(".config/lutris/games/b.yml", "game:\n  prefix: ~/Shared/prefix/\n");
    home.Write(".config/heroic/GamesConfig/C.json", R"({"C": {"winePrefix": "~/Shared/prefix"}})");
    EXPECT_THAT(Found(home, Search(home)), ElementsAre("Lutris: Shared/prefix"));
}

TEST(WinePrefixFinderTest, ConfigurationsThatCannotBeReadArePassedOver)
{
    FakeHome home;
    home.Prefix("Wine/good");
    home.Prefix("Wine/other");
    const std::string games = ".config/lutris/games/";
    home.Write(games + "broken.yml", "game:\n  prefix: [unclosed\n  exe: : :\n");
    home.Write(games + "tabs.yml", "game:\n\tprefix: ~/Wine/other\n");
    home.Write(games + "scalar.yml", "just a line of text\n");
    home.Write(games + "list.yml", "- game\n- prefix\n");
    home.Write(games + "game-is-text.yml", "game: ~/Wine/other\n");
    home.Write(games + "prefix-is-a-map.yml", "game:\n  prefix:\n    path: ~/Wine/other\n");
    home.Write(games + "empty.yml", "");
    home.Write(games + "binary.yml", std::string("\0\xff\xfe\x01", 4));
    home.Write(games + "good.yml", "game:\n  prefix: ~/Wine/good\n");
    home.Write(games + "relative.yml", "game:\n  prefix: Wine/other\n");
    const std::string heroic = ".config/heroic/GamesConfig/";
    home.Write(heroic + "broken.json", R"({"A": {"winePrefix": "~/Wine/other")");
    home.Write(heroic + "array.json", R"([{"winePrefix": "~/Wine/other"}])");
    home.Write(heroic + "number.json", R"({"A": {"winePrefix": 7}})");
    EXPECT_THAT(Found(home, Search(home)), ElementsAre("Lutris: Wine/good"));
}

TEST(WinePrefixFinderTest, NamedPlacesComeFirstAndKeepTheirLabelUnlessALauncherMadeThem)
{
    FakeHome home;
    const std::string lutris = home.Prefix("Games/diablo");
    const std::string own = home.Prefix("Own/prefix");
    home.Prefix(".wine");
    const WinePrefixFinder::Result result = Search(home, {{own, "Command line"},
                                                          {lutris, "WINEPREFIX"},
                                                          {home.At("none"), "Last used"},
                                                          {own, "Last used"}});
    EXPECT_THAT(Found(home, result),
                ElementsAre("Command line: Own/prefix", "Lutris: Games/diablo", "Wine: .wine"));
}

TEST(WinePrefixFinderTest, StopsAtTheDeadlineOrWhenAsked)
{
    FakeHome home;
    home.Prefix(".wine");
    home.Prefix("Games/one");
    const WinePrefixFinder::Result late =
        WinePrefixFinder::Find({home.Path().string(), {}}, WinePrefixFinder::Clock::now());
    EXPECT_FALSE(late.Complete);
    EXPECT_THAT(late.Prefixes, IsEmpty());

    const std::atomic<bool> stop{true};
    const WinePrefixFinder::Result stopped =
        WinePrefixFinder::Find({home.Path().string(), {}},
                               WinePrefixFinder::Clock::now() + std::chrono::seconds(30), &stop);
    EXPECT_FALSE(stopped.Complete);
    EXPECT_THAT(stopped.Prefixes, IsEmpty());
}

// File permissions do not stop root, so the search runs in a child that gives up root.
TEST(WinePrefixFinderTest, FoldersAndFilesThatCannotBeReadArePassedOver)
{
    FakeHome home;
    home.Prefix(".PlayOnLinux/wineprefix/Hidden");
    home.Prefix(".cxoffice/Locked");
    home.Prefix(".local/share/bottles/bottles/Open");
    home.Prefix("Wine/configured");
    home.Write(".config/lutris/games/locked.yml", "game:\n  prefix: ~/Wine/configured\n");
    home.Write(".config/heroic/GamesConfig/locked.json",
               R"({"A": {"winePrefix": "~/Wine/configured"}})");
    const uid_t nobody = 65534;
    if (geteuid() == 0) {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(home.Path()))
            ASSERT_EQ(lchown(entry.path().c_str(), nobody, nobody), 0);
        ASSERT_EQ(chown(home.Path().c_str(), nobody, nobody), 0);
    }
    // The folder that lists the prefixes, a prefix's own folder and the configurations.
    fs::permissions(home.Path() / ".PlayOnLinux/wineprefix", fs::perms::none);
    fs::permissions(home.Path() / ".cxoffice/Locked", fs::perms::none);
    fs::permissions(home.Path() / ".config/lutris/games/locked.yml", fs::perms::none);
    fs::permissions(home.Path() / ".config/heroic/GamesConfig/locked.json", fs::perms::none);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0))
            _exit(10);
        const WinePrefixFinder::Result result = Search(home);
        const std::vector<std::string> expected{"Bottles: .local/share/bottles/bottles/Open"};
        _exit(Found(home, result) == expected && result.Complete ? 0 : 11);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    for (const char* locked : {".PlayOnLinux/wineprefix", ".cxoffice/Locked"})
        fs::permissions(home.Path() / locked, fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 10)
        GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "11: the readable prefix alone was not found";
}
