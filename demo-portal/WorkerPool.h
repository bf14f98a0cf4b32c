#pragma once

#include <httplib.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tivora::demo {

class ConnectionGuard;

// The server's workers: a thread per connection being served, made when every thread is busy, up
// to a bound; connections beyond it wait their turn.
class WorkerPool final : public httplib::TaskQueue {
public:
    // guard: told of each accepted connection; may be null.
    WorkerPool(std::size_t maxWorkers, ConnectionGuard* guard);
    ~WorkerPool() override;
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void enqueue(std::function<void()> job) override;
    void shutdown() override;

private:
    void work();

    const std::size_t maxWorkers_;
    ConnectionGuard* guard_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> jobs_;
    std::vector<std::thread> workers_;
    std::size_t idle_ = 0;
    bool stopping_ = false;
};

}  // namespace tivora::demo
