// A tiny work queue: threads take the next job index until none are left.
#include "jobs.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace assetgen {

std::vector<std::string> RunJobs(const std::vector<Job>& jobs, int threads) {
  std::atomic<size_t> next{0};
  std::mutex failedLock;
  std::vector<std::string> failed;
  auto worker = [&] {
    for (size_t i = next++; i < jobs.size(); i = next++) {
      if (jobs[i].run()) continue;
      std::lock_guard<std::mutex> hold(failedLock);
      failed.push_back(jobs[i].what);
    }
  };
  std::vector<std::thread> pool;
  int count = std::max(1, std::min<int>(threads, static_cast<int>(jobs.size())));
  for (int t = 1; t < count; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
  std::sort(failed.begin(), failed.end());
  return failed;
}

}  // namespace assetgen
