// The browser build's pool: a page without SharedArrayBuffer has no threads, so every task
// of a round runs in turn on the calling thread. The search hands out its poles through a
// shared counter, so the first task takes them all and the choice and its node count are
// those of any other thread count.
#include "players/search_pool.hpp"

#include <algorithm>

int defaultSearchThreads() { return 1; }

SearchPool::~SearchPool() = default;

void SearchPool::run(int threads, const std::function<void(int)>& task) {
    threads = std::clamp(threads, 1, MAX_SEARCH_THREADS);
    for (int index = 0; index < threads; ++index) task(index);
}

SearchPool& searchPool() {
    static SearchPool pool;
    return pool;
}
