// Portable asset paths: "quill://data/..." and friends, resolved beside the
// executable.
#pragma once

#include "runtime/runtime.h"

// Turns a plain relative name ("graphics/title.png") into a data-folder
// path; paths that already name a scheme, or start with "./" or "/", are
// left alone.
String bb_data_FixDataPath(String path);

// The directory holding the running program, without a trailing slash.
String BBExecutableDir();
