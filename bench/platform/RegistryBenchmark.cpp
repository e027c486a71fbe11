// Start-up and save over a large Wine prefix: a 20 MB system.reg and a 2 MB user.reg, made
// in a temporary folder from the test fixtures and generated keys. Beside them, the floor:
// reading both files whole with cat, and copying user.reg with an fsync.
#include "data/ErrorCodes.h"
#include "platform/WineRegistry.h"

#include <benchmark/benchmark.h>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

// Keys shaped like Wine's own (a class id with a few values) up to the size asked for.
std::string Padded(std::string hive, const std::string& parent, std::size_t size)
{
    char block[512];
    for (unsigned i = 0; hive.size() < size; ++i) {
        std::snprintf(block, sizeof block,
                      "\n[%s\\\\{%08x-0000-0000-c000-000000000046}] 1796855029\n"
                      "#time=1dd882bf6c9c79e\n@=\"Generated class %u\"\n"
                      "\"InprocServer32\"=\"C:\\\\windows\\\\system32\\\\generated%u.dll\"\n"
                      "\"ThreadingModel\"=\"Both\"\n\"Flags\"=dword:%08x\n",
                      parent.c_str(), i, i, i, i);
        hive += block;
    }
    return hive;
}

struct LargePrefix {
    LargePrefix()
    {
        char pattern[] = "/tmp/portico-bench-XXXXXX";
        if (!mkdtemp(pattern))
            throw std::runtime_error("mkdtemp failed");
        path = pattern;
        const std::string fixtures = PORTICO_PLATFORM_FIXTURES;
        std::string system = ReadFile(fixtures + "/system.reg");
        // Diablo II added by a 64-bit tool: read through the fallback.
        system += "\n[Software\\\\Blizzard Entertainment\\\\Diablo II] 1796855091\n"
                  "\"Program\"=\"C:\\\\Diablo II\\\\Game.exe\"\n";
        WriteFile(path / "system.reg", Padded(system, "Software\\\\Classes\\\\CLSID", 20u << 20));
        std::string user = ReadFile(fixtures + "/user.reg");
        user += "\n[Software\\\\Blizzard Entertainment\\\\Warcraft III] 1796855091\n"
                "\"Battle.net gateways\"=str(7):\"1001\\00001\\0w3.example\\01\\0W3\\0\"\n"
                "\"Program\"=\"C:\\\\Warcraft III\\\\war3.exe\"\n";
        WriteFile(path / "user.reg", Padded(user, "Software\\\\Classes\\\\Generated", 2u << 20));
    }
    ~LargePrefix()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

const LargePrefix& Prefix()
{
    static const LargePrefix prefix;
    return prefix;
}

struct Read {
    RegHandle root;
    const char* key;
    const char* value;
};

// What start-up reads: each game's installed test and gateway list.
constexpr Read kStartup[] = {
    {Reg::LocalMachine, "SOFTWARE\\Blizzard Entertainment\\Starcraft", "Program"},
    {Reg::LocalMachine, "SOFTWARE\\Blizzard Entertainment\\Diablo II", "Program"},
    {Reg::CurrentUser, "SOFTWARE\\Blizzard Entertainment\\Warcraft III", "Program"},
    {Reg::CurrentUser, "SOFTWARE\\BATTLE.NET\\CONFIGURATION", "Battle.net gateways"},
    {Reg::CurrentUser, "SOFTWARE\\BATTLE.NET\\CONFIGURATION", "Diablo II Battle.net gateways"},
    {Reg::CurrentUser, "SOFTWARE\\Blizzard Entertainment\\Warcraft III", "Battle.net gateways"},
};

void LoadStartup(RegistryApi& registry, benchmark::State& state)
{
    std::uint8_t buffer[4096];
    for (const Read& read : kStartup) {
        RegHandle key = 0;
        if (registry.OpenKey(read.root, read.key, Reg::KeyRead, key) != ErrorCode::Success) {
            state.SkipWithError("a start-up key is missing");
            return;
        }
        std::uint32_t size = sizeof buffer;
        registry.QueryValue(key, read.value, nullptr, buffer, &size);
        benchmark::DoNotOptimize(buffer);
        registry.CloseKey(key);
    }
}

// The heap memory in use, in bytes.
double HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// A fresh registry each time: both hives read, as at start-up. held_MB: the memory that the
// registry holds after the reads.
void BM_StartupReadsFirstTime(benchmark::State& state)
{
    const std::string prefix = Prefix().path.string();
    double held = 0;
    for (auto _ : state) {
        const double before = HeapInUse();
        WineRegistry registry(prefix);
        LoadStartup(registry, state);
        held = std::max(held, HeapInUse() - before);
    }
    state.counters["held_MB"] = held / (1 << 20);
}
BENCHMARK(BM_StartupReadsFirstTime)->Unit(benchmark::kMillisecond);

// The same reads again: the hives are kept while the files do not change.
void BM_StartupReadsCached(benchmark::State& state)
{
    WineRegistry registry(Prefix().path.string());
    LoadStartup(registry, state);
    for (auto _ : state)
        LoadStartup(registry, state);
}
BENCHMARK(BM_StartupReadsCached)->Unit(benchmark::kMicrosecond);

// Saving Starcraft's list into the 2 MB user.reg: wineserver check, edit, backup, temporary
// file, fsync, rename.
void BM_SaveList(benchmark::State& state)
{
    WineRegistry registry(Prefix().path.string());
    std::string lists[2];
    for (int n = 0; n < 2; ++n) {
        lists[n] = std::string("1001\0"
                               "00\0",
                               8);
        for (int i = 0; i < 10 + n; ++i)
            lists[n] +=
                "host" + std::to_string(i) + ".example" + '\0' + "-5" + '\0' + "Name" + '\0';
        lists[n] += '\0';
    }
    int turn = 0;
    for (auto _ : state) {
        const std::string& list = lists[turn++ % 2];
        RegHandle key = 0;
        RegStatus status =
            registry.CreateKey(Reg::CurrentUser, "SOFTWARE\\BATTLE.NET\\CONFIGURATION",
                               Reg::OptionNonVolatile, Reg::KeyWrite, key, nullptr);
        if (status == ErrorCode::Success)
            status = registry.SetValue(key, "Battle.net gateways", Reg::TypeMultiSz,
                                       reinterpret_cast<const std::uint8_t*>(list.data()),
                                       static_cast<std::uint32_t>(list.size()));
        registry.CloseKey(key);
        if (status != ErrorCode::Success)
            state.SkipWithError("the save failed");
    }
}
BENCHMARK(BM_SaveList)->Unit(benchmark::kMillisecond);

// The floor for reading: cat of both files to /dev/null.
void BM_CatBothFilesToDevNull(benchmark::State& state)
{
    const std::string system = (Prefix().path / "system.reg").string();
    const std::string user = (Prefix().path / "user.reg").string();
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        char* argv[] = {const_cast<char*>("cat"), const_cast<char*>(system.c_str()),
                        const_cast<char*>(user.c_str()), nullptr};
        pid_t child = 0;
        if (posix_spawnp(&child, "cat", &actions, nullptr, argv, environ) != 0)
            state.SkipWithError("cannot run cat");
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        waitpid(child, &status, 0);
    }
}
BENCHMARK(BM_CatBothFilesToDevNull)->Unit(benchmark::kMillisecond);

// The floor for saving: user.reg copied to a new file and flushed to disk.
void BM_CopyUserRegWithFsync(benchmark::State& state)
{
    const std::string from = (Prefix().path / "user.reg").string();
    const std::string to = (Prefix().path / "user.reg.copy").string();
    std::string buffer(1 << 20, '\0');
    for (auto _ : state) {
        const int in = open(from.c_str(), O_RDONLY);
        const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ssize_t n;
        while ((n = read(in, buffer.data(), buffer.size())) > 0) {
            if (write(out, buffer.data(), static_cast<std::size_t>(n)) != n)
                state.SkipWithError("write failed");
        }
        fsync(out);
        close(out);
        close(in);
    }
}
BENCHMARK(BM_CopyUserRegWithFsync)->Unit(benchmark::kMillisecond);
} // namespace
