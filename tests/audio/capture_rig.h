// A real audio device whose mixed output is captured: OpenAL Soft's wave
// backend writes everything it mixes to a WAV file in real time, which the
// tests read back after closing the device. The backend is configured with
// four sources so running out of sources is easy to reach.
#pragma once

#include "audio/audio.h"
#include "audio/media.h"
#include "host/glfw_game.h"

#include <string>

class CaptureRig {
public:
    static const int kOutputHertz = 44100;

    // Points OpenAL at the capture configuration; must run before the first
    // device opens in the process.
    static void Configure();

    CaptureRig();
    ~CaptureRig();

    gxtkAudio* audio() { return audio_; }
    // Writes a test WAV (or Ogg when the name ends in .ogg) and loads it.
    gxtkSample* Load(const std::string& name, const media::Bytes& file);
    // Closes the device so the capture file is complete, and reads it.
    media::Capture Finish();

private:
    gxtkAudio* audio_;
    bool finished_ = false;
};

void SleepMs(int ms);
// OpenAL's own view of a channel's source.
int SourceState(gxtkAudio* audio, int channel);
// A tone loaded as a WAV sample.
media::Bytes ToneWav(int channels, int bits, int hertz, double seconds, double tone, double amp = 0.5);
