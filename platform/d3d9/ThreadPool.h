// ThreadPool.h: a fixed set of worker threads that run one job at a time, split into as many
// parts as there are threads (the caller's own included). Made with the device; nothing is
// allocated per job.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace platform::d3d9 {

class ThreadPool {
public:
    // `threads` counts the calling thread: 1 starts no worker.
    explicit ThreadPool(unsigned threads);
    ~ThreadPool();
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    unsigned size() const noexcept { return static_cast<unsigned>(workers_.size()) + 1; }

    // Calls part(0) .. part(size() - 1), one per thread, and returns when all are done.
    template <class Part>
    void run(Part& part) noexcept {
        runJob(&part, [](void* p, unsigned index) noexcept { (*static_cast<Part*>(p))(index); });
    }

private:
    using Trampoline = void (*)(void*, unsigned) noexcept;
    void runJob(void* context, Trampoline trampoline) noexcept;
    void workerLoop(unsigned index) noexcept;

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::uint64_t generation_ = 0;
    unsigned pending_ = 0;
    bool stopping_ = false;
    void* context_ = nullptr;
    Trampoline trampoline_ = nullptr;
};

}  // namespace platform::d3d9
