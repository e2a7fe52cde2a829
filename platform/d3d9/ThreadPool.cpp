#include "d3d9/ThreadPool.h"

#include <chrono>

namespace platform::d3d9 {

namespace {

// Spinning lasts longer than the gaps between a frame's jobs, such as a run of small draws
// recorded on the calling thread (up to about 0.15 ms), so that a worker waiting for the next
// job does not have to be woken; and short enough that idle workers soon leave the cores to
// others. Timed, since a pause instruction takes from a few to over a hundred cycles.
constexpr auto kSpinTime = std::chrono::microseconds(200);
constexpr int kPausesPerClockReading = 32;

inline void pause() noexcept {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#else
    std::this_thread::yield();
#endif
}

// Spins until `done` holds or kSpinTime has passed; returns `done`'s last answer.
template <class Done>
bool spinUntil(Done done) noexcept {
    const auto end = std::chrono::steady_clock::now() + kSpinTime;
    for (;;) {
        for (int i = 0; i < kPausesPerClockReading; ++i) {
            if (done()) return true;
            pause();
        }
        if (std::chrono::steady_clock::now() >= end) return done();
    }
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
    if (!spinUntil([&] { return done_.load(std::memory_order_acquire) == count; })) {
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
        if (!spinUntil([this] { return hasWork() || stopping_.load(); })) {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stopping_.load() || hasWork(); });
        }
        if (stopping_.load()) return;
        runChunks();
    }
}

}  // namespace platform::d3d9
