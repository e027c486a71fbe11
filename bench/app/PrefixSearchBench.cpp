// What finding the Wine prefixes costs when it runs before the window shows (the prefix in
// effect holds no game): an empty home, and homes holding 300 prefixes, small ones and ones
// whose system.reg is the size of Wine's own (1.7 MB), each tested for the three games.
#include "app/AppStartup.h"
#include "app/PrefixSearch.h"
#include "data/GameCatalog.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
constexpr int kPrefixes = 300;
constexpr std::uintmax_t kWineSystemReg = 1700u * 1024u;

// The homes, in a temporary folder removed at exit. The prefixes of a home share their files
// through hard links; each is still read and parsed on its own.
class Homes {
public:
    Homes()
    {
        m_root = fs::temp_directory_path() / ("portico-prefix-bench-" + std::to_string(getpid()));
        fs::create_directories(Empty());
        Fill(Small(), PORTICO_DEMO_PREFIX);
        const fs::path large = m_root / "large-prefix";
        fs::copy(PORTICO_DEMO_PREFIX, large);
        std::ofstream system(large / "system.reg", std::ios::app | std::ios::binary);
        for (int key = 0; fs::file_size(large / "system.reg") < kWineSystemReg; ++key) {
            system << "\n[Software\\\\Classes\\\\CLSID\\\\{" << key
                   << "}] 1796855082\n#time=1dd882c1614899a\n@=\"Component " << key
                   << "\"\n\"ThreadingModel\"=\"Both\"\n";
            system.flush();
        }
        system.close();
        Fill(Large(), large);
    }
    ~Homes()
    {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }

    fs::path Empty() const { return m_root / "empty"; }
    fs::path Small() const { return m_root / "small"; }
    fs::path Large() const { return m_root / "large"; }

private:
    static void Fill(const fs::path& home, const fs::path& prefix)
    {
        for (int i = 0; i < kPrefixes; ++i) {
            const fs::path bottle =
                home / ".local/share/bottles/bottles" / ("Bottle " + std::to_string(i));
            fs::create_directories(bottle);
            for (const char* hive : {"system.reg", "user.reg"})
                fs::create_hard_link(prefix / hive, bottle / hive);
        }
    }

    fs::path m_root;
};

const Homes& TestHomes()
{
    static const Homes homes;
    return homes;
}

void Search(benchmark::State& state, const fs::path& home)
{
    GameCatalog catalog;
    if (!AppStartup::LoadCatalog(catalog))
        throw std::runtime_error("no catalogue");
    std::size_t found = 0;
    for (auto _ : state) {
        // Without the start-up's time limit, to see the whole cost.
        found = PrefixSearch::Run({home.string(), {}}, catalog, std::chrono::minutes(10)).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["prefixes"] = static_cast<double>(found);
}

void EmptyHome(benchmark::State& state)
{
    Search(state, TestHomes().Empty());
}
BENCHMARK(EmptyHome)->Unit(benchmark::kMillisecond);

void HomeWith300SmallPrefixes(benchmark::State& state)
{
    Search(state, TestHomes().Small());
}
BENCHMARK(HomeWith300SmallPrefixes)->Unit(benchmark::kMillisecond);

void HomeWith300PrefixesOfWinesSize(benchmark::State& state)
{
    Search(state, TestHomes().Large());
}
BENCHMARK(HomeWith300PrefixesOfWinesSize)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace
