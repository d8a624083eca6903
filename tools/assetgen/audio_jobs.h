// Jobs that synthesise the sound effects and compose and encode the tunes.
#pragma once

#include <string>
#include <vector>

#include "jobs.h"

namespace assetgen {

std::vector<Job> SoundJobs(const std::string& dataDir);
std::vector<Job> TuneJobs(const std::string& dataDir);

}  // namespace assetgen
