// Runs independent generation jobs on a few threads. Each job writes its
// own files, so the output does not depend on the order they finish in.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace assetgen {

struct Job {
  std::string what;
  std::function<bool()> run;  // false on failure
};

// Returns the names of the jobs that failed.
std::vector<std::string> RunJobs(const std::vector<Job>& jobs, int threads);

}  // namespace assetgen
