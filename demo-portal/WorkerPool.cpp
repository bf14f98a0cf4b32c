#include "demo-portal/WorkerPool.h"

#include "demo-portal/ConnectionGuard.h"

namespace tivora::demo {

WorkerPool::WorkerPool(std::size_t maxWorkers, ConnectionGuard* guard)
    : maxWorkers_(maxWorkers), guard_(guard) {}

WorkerPool::~WorkerPool() {
    shutdown();
}

void WorkerPool::enqueue(std::function<void()> job) {
    if (guard_) {
        guard_->connectionAccepted();
    }
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
        if (jobs_.size() > idle_ && workers_.size() < maxWorkers_) {
            workers_.emplace_back([this] { work(); });
        }
    }
    ready_.notify_one();
}

void WorkerPool::shutdown() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    ready_.notify_all();
    for (auto& worker : workers_) {
        if (worker.joinable()) {
            worker.join();
        }
    }
}

void WorkerPool::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        ready_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        --idle_;
        if (jobs_.empty()) {
            return;  // stopping, and nothing left to serve
        }
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job();
        lock.lock();
    }
}

}  // namespace tivora::demo
