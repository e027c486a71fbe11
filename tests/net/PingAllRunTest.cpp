#include "net/PingAllRun.h"
#include "TestApplication.h"
#include "TestNetwork.h"
#include "data/ErrorCodes.h"
#include "data/ErrorTextTable.h"
#include "data/Util.h"
#include "platform/PosixSockets.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QThread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace {
using testing::ElementsAre;
using testing::MatchesRegex;
using testing::Pair;

std::string Text(std::uint32_t code)
{
    return Util::FormatErrorMessage(ErrorTextTable(), code);
}

struct Result {
    std::string pingTime;
    std::string status;
    bool answered = false;
    bool onGuiThread = false;
};

// What a run reported, in order.
class Recorder : public QObject {
public:
    explicit Recorder(PingAllRun& run)
    {
        connect(
            &run, &PingAllRun::resultReady, this,
            [this](qint64 key, const std::string& pingTime, const std::string& status,
                   bool answered) {
                results[key] = {pingTime, status, answered, QThread::currentThread() == thread()};
                ++resultCount;
            });
        connect(&run, &PingAllRun::progress, this,
                [this](int done, int total) { progress.emplace_back(done, total); });
        connect(&run, &PingAllRun::finished, this,
                [this] { resultsAtFinish = static_cast<int>(resultCount); });
    }

    std::map<qint64, Result> results;
    int resultCount = 0;
    std::vector<std::pair<int, int>> progress;
    int resultsAtFinish = -1;
};

PingAllRun::Target Target(qint64 key, std::string host, std::string status = {})
{
    PingAllRun::Target target;
    target.key = key;
    target.server = ServerInfo("Server " + std::to_string(key), "0", std::move(host));
    target.server.PingTime = "99";
    target.server.Status = std::move(status);
    return target;
}

TEST(PingAllRun, ARunWithoutServersFinishesFromTheEventLoop)
{
    EnsureTestApplication();
    PosixSockets sockets;
    ErrorTextTable texts;
    PingAllRun run(sockets, texts, {});
    QSignalSpy finished(&run, &PingAllRun::finished);

    run.start();
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(finished.wait(1000));
    EXPECT_FALSE(run.isRunning());
}

class PingAllRunNetwork : public testing::Test {
protected:
    void SetUp() override
    {
        const std::string reason = TestNetwork::EnterPrivateNamespaces();
        if (!reason.empty())
            GTEST_SKIP() << reason;
        EnsureTestApplication();
    }
    void TearDown() override { TestNetwork::UseResolver({}); }

    PosixSockets sockets;
    ErrorTextTable texts;
    TestNetwork network;
};

TEST_F(PingAllRunNetwork, EveryServersResultArrivesOnTheGuiThreadThenFinished)
{
    const std::vector<std::string> answering = network.AddHosts(2, true);
    const std::string silent = network.AddHosts(1, false).front();
    TestNetwork::UseResolver({{"answering.portico.test", answering[1]}});
    PingAllRun run(sockets, texts,
                   {Target(10, answering[0]), Target(20, silent), Target(30, "nowhere.invalid"),
                    Target(40, "", "Earlier text"), Target(50, "answering.portico.test")},
                   300);
    const Recorder recorder(run);
    QSignalSpy finished(&run, &PingAllRun::finished);

    run.start();
    EXPECT_TRUE(run.isRunning());
    ASSERT_TRUE(finished.wait(10000));

    EXPECT_FALSE(run.isRunning());
    EXPECT_EQ(recorder.resultsAtFinish, 5);
    ASSERT_EQ(recorder.results.size(), 5u);
    for (const qint64 key : {10, 50}) {
        const Result& result = recorder.results.at(key);
        EXPECT_TRUE(result.answered) << key;
        EXPECT_THAT(result.pingTime, MatchesRegex("[0-9]+")) << key;
        EXPECT_EQ(result.status, "") << key;
    }
    const std::map<qint64, std::string> failures = {
        {20, Text(ErrorCode::WsaTimedOut)},
        {30, Text(ErrorCode::WsaHostNotFound)},
        {40, "Earlier text"},
    };
    for (const auto& [key, status] : failures) {
        const Result& result = recorder.results.at(key);
        EXPECT_FALSE(result.answered) << key;
        EXPECT_EQ(result.pingTime, "") << key;
        EXPECT_EQ(result.status, status) << key;
    }
    for (const auto& [key, result] : recorder.results)
        EXPECT_TRUE(result.onGuiThread) << key;
    EXPECT_THAT(recorder.progress,
                ElementsAre(Pair(1, 5), Pair(2, 5), Pair(3, 5), Pair(4, 5), Pair(5, 5)));
}

TEST_F(PingAllRunNetwork, DeletingARunWhoseProbesWaitEndsItWellBeforeTheirTimeOut)
{
    const std::string answering = network.AddHosts(1, true).front();
    const std::vector<std::string> silent = network.AddHosts(4, false);
    // A name whose lookup nobody answers keeps a probe in the resolver.
    TestNetwork::UseResolver({}, network.VacantAddress());
    std::vector<PingAllRun::Target> targets = {Target(1, answering),
                                               Target(2, "slow.portico.test")};
    for (const auto& host : silent)
        targets.push_back(Target(static_cast<qint64>(targets.size() + 1), host));
    auto run = std::make_unique<PingAllRun>(sockets, texts, std::move(targets));
    const Recorder recorder(*run);
    QSignalSpy results(run.get(), &PingAllRun::resultReady);
    run->start();
    ASSERT_TRUE(results.wait(5000)) << "the answering server's result";

    const auto before = std::chrono::steady_clock::now();
    run.reset();
    const auto took = std::chrono::steady_clock::now() - before;

    EXPECT_LT(took, std::chrono::seconds(1));
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.resultCount, 1);
    EXPECT_EQ(recorder.resultsAtFinish, -1);
}

TEST_F(PingAllRunNetwork, AReceiverThatStopsTheRunGetsNothingMore)
{
    const std::vector<std::string> answering = network.AddHosts(3, true);
    const std::string silent = network.AddHosts(1, false).front();
    PingAllRun run(sockets, texts,
                   {Target(1, answering[0]), Target(2, answering[1]), Target(3, answering[2]),
                    Target(4, silent)});
    const Recorder recorder(run);
    QObject::connect(&run, &PingAllRun::resultReady, &run, [&run] { run.stop(); });
    QSignalSpy results(&run, &PingAllRun::resultReady);

    run.start();
    ASSERT_TRUE(results.wait(5000));
    QCoreApplication::processEvents();

    EXPECT_FALSE(run.isRunning());
    EXPECT_EQ(recorder.resultCount, 1);
    EXPECT_TRUE(recorder.progress.empty());
    EXPECT_EQ(recorder.resultsAtFinish, -1);
}
} // namespace
