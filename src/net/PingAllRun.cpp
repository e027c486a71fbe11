#include "net/PingAllRun.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace {
// Enough that a run with many silent servers still takes about one time-out; each worker
// mostly sleeps in its wait.
constexpr std::size_t kMaxWorkers = 32;
} // namespace

PingAllRun::PingAllRun(SocketApi& sockets, const ErrorTextSource& texts,
                       std::vector<Target> targets, std::uint32_t timeoutMs, QObject* parent)
    : QObject(parent), m_sockets(sockets), m_texts(texts), m_targets(std::move(targets)),
      m_timeoutMs(timeoutMs)
{
}

PingAllRun::~PingAllRun()
{
    stop();
}

void PingAllRun::start()
{
    if (m_started || m_ended)
        return;
    m_started = true;
    if (m_targets.empty()) {
        QMetaObject::invokeMethod(this, &PingAllRun::finish, Qt::QueuedConnection);
        return;
    }
    const std::size_t count = std::min(m_targets.size(), kMaxWorkers);
    for (std::size_t i = 0; i < count; ++i) {
        try {
            m_workers.emplace_back(&PingAllRun::work, this, m_stop.get_token());
        } catch (const std::system_error&) {
            // The workers that did start take every target between them.
            if (m_workers.empty())
                throw;
            break;
        }
    }
}

void PingAllRun::stop()
{
    if (m_ended)
        return;
    m_ended = true;
    m_stop.request_stop();
    joinWorkers();
}

void PingAllRun::work(std::stop_token stop)
{
    for (std::size_t index = m_next++; index < m_targets.size(); index = m_next++) {
        ServerInfo server = m_targets[index].server;
        const bool answered = server.Ping(m_sockets, m_texts, m_timeoutMs, stop);
        if (stop.stop_requested())
            return;
        QMetaObject::invokeMethod(
            this,
            [this, key = m_targets[index].key, pingTime = std::move(server.PingTime),
             status = std::move(server.Status),
             answered] { deliver(key, pingTime, status, answered); },
            Qt::QueuedConnection);
    }
}

void PingAllRun::deliver(qint64 key, const std::string& pingTime, const std::string& status,
                         bool answered)
{
    if (m_ended)
        return;
    ++m_done;
    emit resultReady(key, pingTime, status, answered);
    // A receiver may have stopped the run.
    if (m_ended)
        return;
    emit progress(m_done, total());
    if (!m_ended && m_done == total())
        finish();
}

void PingAllRun::finish()
{
    if (m_ended)
        return;
    m_ended = true;
    joinWorkers();
    emit finished();
}

void PingAllRun::joinWorkers()
{
    for (auto& worker : m_workers)
        worker.join();
    m_workers.clear();
}
