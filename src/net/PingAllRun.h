#pragma once

#include "data/ServerInfo.h"

#include <QObject>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

class ErrorTextSource;
class SocketApi;

// "Ping all servers" off the GUI thread. Probes copies of the servers concurrently on a bounded
// number of worker threads, each probe with a sequence number of its own, and reports on the
// GUI thread each result as it arrives, then the progress, then, after the last one, finished.
// Stopping, or deleting the run, ends the probes at once, waiting neither for time-outs nor
// for the resolver; no signal follows it.
class PingAllRun : public QObject {
    Q_OBJECT

public:
    struct Target {
        // The caller's, given back with the result.
        qint64 key = 0;
        // Probed as a copy. Its Status is given back when the probe cannot start (empty host
        // name), so pass the status that the server shows now.
        ServerInfo server;
    };

    // The sockets and the texts serve every worker thread at once and must outlive the run.
    PingAllRun(SocketApi& sockets, const ErrorTextSource& texts, std::vector<Target> targets,
               std::uint32_t timeoutMs = ServerInfo::PingTimeoutMs, QObject* parent = nullptr);
    ~PingAllRun() override;

    // Starts the probes; once only. A run without targets finishes at once, from the event loop.
    void start();
    // Ends the run and returns when every worker has ended.
    void stop();
    bool isRunning() const { return m_started && !m_ended; }
    int total() const { return static_cast<int>(m_targets.size()); }

signals:
    // The server's PingTime and Status after its probe, and whether it answered.
    void resultReady(qint64 key, const std::string& pingTime, const std::string& status,
                     bool answered);
    void progress(int done, int total);
    void finished();

private:
    void work(std::stop_token stop);
    void deliver(qint64 key, const std::string& pingTime, const std::string& status, bool answered);
    void finish();
    void joinWorkers();

    SocketApi& m_sockets;
    const ErrorTextSource& m_texts;
    const std::vector<Target> m_targets;
    const std::uint32_t m_timeoutMs;
    std::atomic<std::size_t> m_next{0};
    std::stop_source m_stop;
    std::vector<std::thread> m_workers;
    int m_done = 0;
    bool m_started = false;
    bool m_ended = false;
};
