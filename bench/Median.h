#pragma once
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace tarvok::bench {

// The median time in seconds of `runs` calls of measured(i); prepare(i) runs
// before each call and is not timed.
inline double MedianSeconds(
    int runs, const std::function<void(int)>& measured, const std::function<void(int)>& prepare = [](int) {})
{
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i) {
        prepare(i);
        const auto start = std::chrono::steady_clock::now();
        measured(i);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

} // namespace tarvok::bench
