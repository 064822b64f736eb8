#include "players/search_pool.hpp"

#include <algorithm>
#include <chrono>

namespace {

// A thread about to wait first polls for this long, since waking a blocked thread can take
// longer than the wait itself (under wine each wake-up is a trip through the wine server),
// and the helpers' end, or the next choice, usually comes sooner.
constexpr auto POLL_TIME = std::chrono::microseconds(500);

template <typename Ready>
void pollBriefly(const Ready& ready) {
    const auto deadline = std::chrono::steady_clock::now() + POLL_TIME;
    while (!ready() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
}

}  // namespace

int defaultSearchThreads() {
    const unsigned hardware = std::thread::hardware_concurrency();
    return std::clamp(static_cast<int>(hardware), 1, MAX_SEARCH_THREADS);
}

SearchPool::~SearchPool() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& helper : helpers_) helper.join();
}

void SearchPool::run(int threads, const std::function<void(int)>& task) {
    threads = std::clamp(threads, 1, MAX_SEARCH_THREADS);
    if (threads == 1) {
        task(0);
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        while (static_cast<int>(helpers_.size()) < threads - 1) {
            const int index = static_cast<int>(helpers_.size()) + 1;
            helpers_.emplace_back([this, index] { helperLoop(index); });
        }
        task_ = &task;
        threads_ = threads;
        running_ = threads - 1;
        ++round_;
    }
    wake_.notify_all();
    task(0);
    pollBriefly([this] { return running_ == 0; });
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return running_ == 0; });
    task_ = nullptr;
}

void SearchPool::helperLoop(int index) {
    uint64_t roundSeen = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        const auto ready = [&] { return stopping_ || round_ != roundSeen; };
        lock.unlock();
        pollBriefly(ready);
        lock.lock();
        wake_.wait(lock, ready);
        if (stopping_) return;
        roundSeen = round_;
        if (index >= threads_) continue;  // this round needs fewer helpers
        const std::function<void(int)>& task = *task_;
        lock.unlock();
        task(index);
        lock.lock();
        if (--running_ == 0) done_.notify_one();
    }
}

SearchPool& searchPool() {
    static SearchPool pool;
    return pool;
}
