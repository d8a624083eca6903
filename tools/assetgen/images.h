// Jobs that paint the picture sheets, and the review contact sheets.
#pragma once

#include <string>
#include <vector>

#include "jobs.h"

namespace assetgen {

std::vector<Job> ImageJobs(const std::string& dataDir);
// One PNG per sheet at level 1: frames on a checkerboard, numbered; and
// the field pictures as seen with each kind of colour vision.
std::vector<Job> PreviewJobs(const std::string& previewDir);

}  // namespace assetgen
