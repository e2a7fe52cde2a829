#include "d3d9/ThreadPool.h"

namespace platform::d3d9 {

ThreadPool::ThreadPool(unsigned threads) {
    for (unsigned i = 1; i < threads; ++i) workers_.emplace_back([this, i] { workerLoop(i); });
}

ThreadPool::~ThreadPool() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

void ThreadPool::runJob(void* context, Trampoline trampoline) noexcept {
    if (workers_.empty()) {
        trampoline(context, 0);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        context_ = context;
        trampoline_ = trampoline;
        pending_ = static_cast<unsigned>(workers_.size());
        ++generation_;
    }
    wake_.notify_all();
    trampoline(context, 0);
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return pending_ == 0; });
}

void ThreadPool::workerLoop(unsigned index) noexcept {
    std::uint64_t seen = 0;
    for (;;) {
        void* context;
        Trampoline trampoline;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
            if (stopping_) return;
            seen = generation_;
            context = context_;
            trampoline = trampoline_;
        }
        trampoline(context, index);
        std::lock_guard<std::mutex> lock(mutex_);
        if (--pending_ == 0) done_.notify_one();
    }
}

}  // namespace platform::d3d9
