// The audio subsystem: the OpenAL device and samples, and the audio module.
#pragma once

#include "audio/gxtk_audio.h"
#include "audio/gxtk_sample.h"
#include "audio/sound.h"
