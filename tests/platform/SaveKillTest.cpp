#include "platform/WineRegistry.h"

#include "HiveFiles.h"
#include "RegistryCalls.h"
#include "TempDir.h"
#include "data/ErrorCodes.h"
#include "platform/RegistryHive.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <map>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
const std::string kKey = "Software\\Battle.net\\Configuration";
const std::string kValue = "Battle.net gateways";

RegStatus Save(WineRegistry& registry, const std::string& list)
{
    return RegistryCalls::SaveList(registry, Reg::CurrentUser, kKey, kValue, list);
}

std::string List(int servers)
{
    std::string list("1001\0"
                     "00\0",
                     8);
    for (int i = 0; i < servers; ++i)
        list += "host" + std::to_string(i) + ".example" + '\0' + "-5" + '\0' + "Name" + '\0';
    return list + '\0';
}

// A child saves two lists in turn without end; it is killed at varied moments of a save.
// Each time, the hive must hold the content before a save or after one, whole.
TEST(SaveKillTest, AKilledSaveLeavesTheOldOrTheNewHive)
{
    TempDir dir;
    const std::string hive = (dir.Path() / "user.reg").string();
    // A hive of about 2 MB, so that a save takes long enough to be cut.
    const std::string original = HiveFiles::Fixture("user.reg") +
                                 "\n[Software\\\\Padding] 1\n\"P\"=\"" + std::string(2 << 20, 'p') +
                                 "\"\n";
    HiveFiles::Write(hive, original);
    const std::string lists[2] = {List(1), List(40)};

    std::set<std::string> allowed{HiveFiles::WithoutTimes(original)};
    for (const std::string& list : lists) {
        TempDir scratch;
        const std::string copy = (scratch.Path() / "user.reg").string();
        HiveFiles::Write(copy, original);
        WineRegistry registry(scratch.Path().string());
        ASSERT_EQ(Save(registry, list), ErrorCode::Success);
        allowed.insert(HiveFiles::WithoutTimes(HiveFiles::Read(copy)));
    }

    std::map<std::string, int> outcomes;
    for (int round = 0; round < 50; ++round) {
        int progress[2];
        ASSERT_EQ(pipe(progress), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(progress[0]);
            WineRegistry registry(dir.Path().string());
            for (int i = 0;; ++i) {
                if (Save(registry, lists[i % 2]) != ErrorCode::Success)
                    _exit(1);
                const char byte = 1;
                if (write(progress[1], &byte, 1) != 1)
                    _exit(1);
            }
        }
        close(progress[1]);
        // Wait for a number of finished saves, then kill at a varied point of the next one.
        char byte;
        for (int saves = 0; saves < 1 + round % 3; ++saves)
            ASSERT_EQ(read(progress[0], &byte, 1), 1);
        std::this_thread::sleep_for(std::chrono::microseconds(round * 173 % 6000));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        close(progress[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself";

        for (const std::string& name :
             {std::string("user.reg"), std::string("user.reg.portico-backup")}) {
            const std::string text = HiveFiles::Read((dir.Path() / name).string());
            ASSERT_TRUE(RegistryHive(text).Valid()) << name << " in round " << round;
            ASSERT_EQ(allowed.count(HiveFiles::WithoutTimes(text)), 1u)
                << name << " is torn in round " << round;
        }
        ++outcomes[HiveFiles::WithoutTimes(HiveFiles::Read(hive))];
    }
    EXPECT_GE(outcomes.size(), 2u) << "the kills never fell between the two lists";
}
} // namespace
