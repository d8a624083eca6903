// larkspin_assetgen: writes the game's data folder (picture sheets, fonts,
// sound effects and tunes) from code, so no binary file lives in the repo.
//
//   larkspin_assetgen <data dir> [--only images|sounds|tunes] [--jobs N]
//   larkspin_assetgen --preview <dir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "audio_jobs.h"
#include "images.h"

using namespace assetgen;

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: larkspin_assetgen <data dir> [--only images|sounds|tunes] [--jobs N]\n"
               "       larkspin_assetgen --preview <dir>\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dataDir, previewDir, only;
  int threads = static_cast<int>(std::thread::hardware_concurrency());
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--only" && hasValue) only = argv[++i];
    else if (arg == "--jobs" && hasValue) threads = std::atoi(argv[++i]);
    else if (arg == "--preview" && hasValue) previewDir = argv[++i];
    else if (!arg.empty() && arg[0] != '-' && dataDir.empty()) dataDir = arg;
    else return Usage();
  }
  if (dataDir.empty() == previewDir.empty()) return Usage();
  if (!only.empty() && only != "images" && only != "sounds" && only != "tunes") return Usage();
  threads = std::max(1, std::min(threads, 4));

  std::vector<Job> jobs;
  if (!previewDir.empty()) {
    jobs = PreviewJobs(previewDir);
  } else {
    // Tunes first: they take longest, so they should not be the stragglers.
    if (only.empty() || only == "tunes") for (Job& j : TuneJobs(dataDir)) jobs.push_back(j);
    if (only.empty() || only == "images") for (Job& j : ImageJobs(dataDir)) jobs.push_back(j);
    if (only.empty() || only == "sounds") for (Job& j : SoundJobs(dataDir)) jobs.push_back(j);
  }

  auto start = std::chrono::steady_clock::now();
  std::vector<std::string> failed = RunJobs(jobs, threads);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  for (const std::string& f : failed) std::fprintf(stderr, "assetgen: failed: %s\n", f.c_str());
  std::printf("assetgen: %zu jobs in %.2f s on %d threads -> %s\n", jobs.size(), seconds, threads,
              previewDir.empty() ? dataDir.c_str() : previewDir.c_str());
  return failed.empty() ? 0 : 1;
}
