#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <system_error>
#include <thread>
#include <utility>

// How often a wait looks whether stop was requested. The waits look rather than being woken by a
// std::stop_callback: with mingw-w64's libstdc++ 12, destroying a callback while another thread
// runs it waits on a semaphore that can miss its wake-up, and then never returns.
inline constexpr std::chrono::milliseconds StopCheckInterval{20};

// Runs a call that nothing can interrupt (a name lookup) so that its caller can stop waiting:
// the call's result, or nothing once stop is requested first. Where stop is possible the call
// runs on a thread of its own, which shares nothing with the caller but the result record and
// ends by itself; where no thread can be started, or stop is not possible, it runs here.
template <typename Call>
auto CallUnlessStopped(const Call& call, std::stop_token stop) -> std::optional<decltype(call())>
{
    using Result = decltype(call());
    if (!stop.stop_possible())
        return call();
    struct Pending {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<Result> result;
    };
    auto pending = std::make_shared<Pending>();
    try {
        std::thread([pending, call] {
            Result result = call();
            const std::lock_guard lock(pending->mutex);
            pending->result = std::move(result);
            pending->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return call();
    }
    std::unique_lock lock(pending->mutex);
    while (!pending->result) {
        if (stop.stop_requested())
            return std::nullopt;
        pending->done.wait_for(lock, StopCheckInterval);
    }
    return pending->result;
}
