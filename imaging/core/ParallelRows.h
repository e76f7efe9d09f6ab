#pragma once
// Splits rows of independent work between the processors this process may
// run on. Every row is computed exactly as on one thread, so results do not
// depend on the split.
#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace glamora {

// How many processors this process may run on (its affinity mask), at least 1:
// a process pinned to one core gets one.
int UsableProcessors();

// Calls work(first, end) for disjoint ranges that together cover [0, count),
// the first range on the calling thread. `costPerRow` is a rough count of
// operations per row; jobs too small to gain from threads run on the calling
// thread alone. `work` must not throw.
template <class Work>
void ParallelRows(int count, double costPerRow, const Work& work) {
  constexpr double kCostPerThread = 4e6;  // a few milliseconds of work
  const double jobs = std::max(1.0, count * costPerRow / kCostPerThread);
  const int threads = int(std::min<double>({double(UsableProcessors()), 8.0, jobs, double(std::max(count, 1))}));
  if (threads <= 1) {
    work(0, count);
    return;
  }
  const int step = (count + threads - 1) / threads;
  std::vector<std::jthread> helpers;
  for (int first = step; first < count; first += step) {
    const int end = std::min(count, first + step);
    try {
      helpers.emplace_back([&work, first, end] { work(first, end); });
    } catch (const std::system_error&) {
      work(first, end);  // no thread to be had: do it here
    }
  }
  work(0, std::min(count, step));
}

}  // namespace glamora
