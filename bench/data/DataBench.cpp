#include "app/AppStartup.h"
#include "data/GameCatalog.h"
#include "data/GatewayListCodec.h"
#include "data/ServerListFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {
void ParseEmbeddedCatalogue(benchmark::State& state)
{
    for (auto _ : state) {
        GameCatalog catalog;
        benchmark::DoNotOptimize(AppStartup::LoadCatalog(catalog));
    }
}
BENCHMARK(ParseEmbeddedCatalogue);

// A server list file of about 1 MB: the three games, servers one per line.
std::string MakeServerListFile()
{
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<Games>\r\n";
    const char* games[] = {"Starcraft/Broodwar", "Diablo", "Warcraft III"};
    int n = 0;
    while (text.size() < 1000000) {
        text += "<Game Name=\"" + std::string(games[n % 3]) + "\">\r\n";
        for (int i = 0; i < 100; ++i, ++n) {
            text += "<Server Name=\"Server " + std::to_string(n) + "\">\r\n<Hostname>host" +
                    std::to_string(n) + ".example.org</Hostname>\r\n<TimeZone>" +
                    std::to_string(n % 24 - 12) + "</TimeZone>\r\n</Server>\r\n";
        }
        text += "</Game>\r\n";
    }
    return text + "</Games>\r\n";
}

void ImportOneMegabyteFile(benchmark::State& state)
{
    const auto path = std::filesystem::temp_directory_path() /
                      ("portico-bench-" + std::to_string(getpid()) + ".xml");
    const std::string text = MakeServerListFile();
    std::ofstream(path, std::ios::binary).write(text.data(), std::streamsize(text.size()));

    GameCatalog catalog;
    AppStartup::LoadCatalog(catalog);
    std::size_t servers = 0;
    for (auto _ : state) {
        std::stringstream stream;
        ReadServerListFile(path.string(), stream);
        catalog.Parse(stream);
        servers = catalog[0].Servers.Size() + catalog[1].Servers.Size() + catalog[2].Servers.Size();
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(state.iterations() * std::int64_t(text.size()));
    state.counters["servers"] = double(servers);
}
BENCHMARK(ImportOneMegabyteFile)->Unit(benchmark::kMillisecond);

ServerList HundredServers()
{
    ServerList servers;
    for (int i = 0; i < 100; ++i)
        servers.AddServer("\x04Server " + std::to_string(i), std::to_string(i % 24),
                          "host" + std::to_string(i) + ".example.org");
    return servers;
}

void EncodeHundredServers(benchmark::State& state)
{
    const ServerList servers = HundredServers();
    for (auto _ : state)
        benchmark::DoNotOptimize(GatewayListCodec::Encode(std::nullopt, servers));
}
BENCHMARK(EncodeHundredServers);

void DecodeHundredServers(benchmark::State& state)
{
    const std::string value = GatewayListCodec::Encode(std::nullopt, HundredServers());
    for (auto _ : state)
        benchmark::DoNotOptimize(GatewayListCodec::Decode(value.data(), value.size()));
}
BENCHMARK(DecodeHundredServers);
} // namespace
