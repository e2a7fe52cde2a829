// ThreadPool.h: a fixed set of worker threads that run one job at a time. A job is a number of
// chunks; every thread, the caller's own included, claims the next chunk as it comes free, so a
// thread that wakes late or loses its core finds the work done by the others instead of holding
// them up. Made with the device; nothing is allocated per job. A frame runs a few jobs back to
// back, so workers spin briefly for the next one before they sleep.
#pragma once

#include <atomic>
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

    // Calls chunk(0) .. chunk(count - 1), each once and in any order across the threads, and
    // returns when all have returned.
    template <class Chunk>
    void run(unsigned count, Chunk& chunk) noexcept {
        runJob(count, &chunk,
               [](void* c, unsigned index) noexcept { (*static_cast<Chunk*>(c))(index); });
    }

private:
    using Trampoline = void (*)(void*, unsigned) noexcept;
    void runJob(unsigned count, void* context, Trampoline trampoline) noexcept;
    // Runs chunks of the current job until none is left unclaimed.
    void runChunks() noexcept;
    bool hasWork() const noexcept;
    void workerLoop() noexcept;

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    // The next chunk to claim in the high half, the job's chunk count in the low half: one word,
    // so a claim cannot mix two jobs. Set under mutex_ so that a worker about to sleep cannot
    // miss a job; claimed without it.
    std::atomic<std::uint64_t> claim_{0};
    std::atomic<unsigned> done_{0};  // chunks of the current job that have returned
    std::atomic<bool> stopping_{false};
    // Set before claim_ opens a job, read only by a thread holding one of its chunks.
    void* context_ = nullptr;
    Trampoline trampoline_ = nullptr;
};

}  // namespace platform::d3d9
