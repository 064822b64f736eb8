// Helper threads for the computer's choice, started once and kept for later choices.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// At most one thread per root pole.
constexpr int MAX_SEARCH_THREADS = 16;

// The number of threads a choice uses by default: one per hardware thread, up to
// MAX_SEARCH_THREADS; 1 (no helpers) where that number is unknown.
int defaultSearchThreads();

class SearchPool {
public:
    SearchPool() = default;
    SearchPool(const SearchPool&) = delete;
    SearchPool& operator=(const SearchPool&) = delete;
    ~SearchPool();

    // Runs task(0) on the calling thread and task(1) .. task(threads - 1) on helpers, and
    // returns when all have returned. Helpers are started when first needed.
    void run(int threads, const std::function<void(int)>& task);

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::vector<std::thread> helpers_;
    const std::function<void(int)>* task_ = nullptr;
    // Changed under the mutex; atomic so that a waiting thread can poll them before blocking.
    std::atomic<uint64_t> round_{0};  // one per run, so that a helper takes each task once
    int threads_ = 0;                 // of the current round, the caller included
    std::atomic<int> running_{0};     // helpers of the current round still at work
    std::atomic<bool> stopping_{false};

    void helperLoop(int index);
};

// The pool that computer players share.
SearchPool& searchPool();
