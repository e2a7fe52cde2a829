#include "d3d9/ThreadPool.h"

namespace platform::d3d9 {

namespace {

// About 50 to 100 microseconds of spinning: longer than the gaps between a frame's jobs, short
// enough that idle workers soon leave the cores to others.
constexpr int kSpins = 4000;

inline void pause() noexcept {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#else
    std::this_thread::yield();
#endif
}

constexpr std::uint64_t kOneChunk = std::uint64_t{1} << 32;

unsigned nextChunk(std::uint64_t claim) noexcept { return static_cast<unsigned>(claim >> 32); }
unsigned chunkCount(std::uint64_t claim) noexcept { return static_cast<unsigned>(claim); }

}  // namespace

ThreadPool::ThreadPool(unsigned threads) {
    for (unsigned i = 1; i < threads; ++i) workers_.emplace_back([this] { workerLoop(); });
}

ThreadPool::~ThreadPool() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

void ThreadPool::runJob(unsigned count, void* context, Trampoline trampoline) noexcept {
    if (workers_.empty() || count <= 1) {
        for (unsigned i = 0; i < count; ++i) trampoline(context, i);
        return;
    }
    {
        // No chunk of the last job is left to claim, so no thread reads these now.
        std::lock_guard<std::mutex> lock(mutex_);
        context_ = context;
        trampoline_ = trampoline;
        done_.store(0, std::memory_order_relaxed);
        claim_.store(count, std::memory_order_release);
    }
    wake_.notify_all();
    runChunks();
    for (int i = 0; i < kSpins && done_.load(std::memory_order_acquire) != count; ++i) pause();
    if (done_.load(std::memory_order_acquire) != count) {
        std::unique_lock<std::mutex> lock(mutex_);
        finished_.wait(lock, [&] { return done_.load(std::memory_order_acquire) == count; });
    }
}

bool ThreadPool::hasWork() const noexcept {
    const std::uint64_t claim = claim_.load(std::memory_order_acquire);
    return nextChunk(claim) < chunkCount(claim);
}

void ThreadPool::runChunks() noexcept {
    std::uint64_t claim = claim_.load(std::memory_order_acquire);
    for (;;) {
        if (nextChunk(claim) >= chunkCount(claim)) return;
        if (!claim_.compare_exchange_weak(claim, claim + kOneChunk, std::memory_order_acq_rel,
                                          std::memory_order_acquire)) {
            continue;  // claim now holds the current value
        }
        // The job cannot end before this chunk returns, so its context stays.
        trampoline_(context_, nextChunk(claim));
        if (done_.fetch_add(1, std::memory_order_acq_rel) + 1 == chunkCount(claim)) {
            // Under the lock, so the caller cannot check done_ and then sleep past this.
            std::lock_guard<std::mutex> lock(mutex_);
            finished_.notify_one();
        }
        claim = claim_.load(std::memory_order_acquire);
    }
}

void ThreadPool::workerLoop() noexcept {
    for (;;) {
        for (int i = 0; i < kSpins && !hasWork() && !stopping_.load(); ++i) pause();
        if (!hasWork()) {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stopping_.load() || hasWork(); });
        }
        if (stopping_.load()) return;
        runChunks();
    }
}

}  // namespace platform::d3d9
