// One "Ping all servers" run over the hosts that PORTICO_PING_HOSTS lists (dotted addresses,
// separated by commas), with a 1 s time-out: the wall time from the start of the run to its
// finished signal. ping-all-bench.sh makes the test hosts and runs this.
#include "data/ErrorTextTable.h"
#include "net/PingAllRun.h"
#include "platform/PosixSockets.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {
constexpr std::uint32_t kTimeoutMs = 1000;

void EnsureApplication()
{
    if (QCoreApplication::instance() != nullptr)
        return;
    static int argc = 1;
    static char name[] = "net_ping_all_bench";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process, like the program's own.
    static QCoreApplication* application = new QCoreApplication(argc, argv);
    (void)application;
}

std::vector<PingAllRun::Target> Targets()
{
    std::vector<PingAllRun::Target> targets;
    const char* hosts = std::getenv("PORTICO_PING_HOSTS");
    std::istringstream list(hosts != nullptr ? hosts : "");
    for (std::string host; std::getline(list, host, ',');) {
        PingAllRun::Target target;
        target.key = static_cast<qint64>(targets.size());
        target.server = ServerInfo(host, "0", host);
        targets.push_back(target);
    }
    return targets;
}

void PingAllRunOverTestHosts(benchmark::State& state)
{
    EnsureApplication();
    const std::vector<PingAllRun::Target> targets = Targets();
    if (targets.empty()) {
        state.SkipWithError("no PORTICO_PING_HOSTS: run bench/net/ping-all-bench.sh");
        return;
    }
    PosixSockets sockets;
    ErrorTextTable texts;
    int answered = 0;
    for (auto _ : state) {
        PingAllRun run(sockets, texts, targets, kTimeoutMs);
        QEventLoop loop;
        answered = 0;
        QObject::connect(&run, &PingAllRun::resultReady, &loop,
                         [&answered](qint64, const std::string&, const std::string&, bool yes) {
                             answered += yes ? 1 : 0;
                         });
        QObject::connect(&run, &PingAllRun::finished, &loop, &QEventLoop::quit);
        run.start();
        loop.exec();
    }
    state.counters["hosts"] = static_cast<double>(targets.size());
    state.counters["answered"] = answered;
}
} // namespace

BENCHMARK(PingAllRunOverTestHosts)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
