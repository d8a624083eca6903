// A real gxtkAudio whose mix is captured: OpenAL Soft's wave backend writes
// everything it mixes, in real time, to a WAV file that is read back after
// the device closes. Four sources only, so running out is easy to reach.
#pragma once

#include "audio/audio.h"
#include "audio/media.h"

#include <string>

class CaptureRig {
public:
    static const int kHertz = 44100;

    CaptureRig();
    ~CaptureRig();

    gxtkAudio* audio() { return audio_; }
    // Writes the file under `name` and loads it as a sample.
    gxtkSample* Load(const std::string& name, const media::Bytes& file);
    // Closes the device, which completes the capture, and reads it.
    media::Capture Finish();

private:
    gxtkAudio* audio_;
    bool finished_ = false;
};

void SleepMs(int ms);
double Now();  // wall-clock seconds
// OpenAL's own state of a channel's source.
int SourceState(gxtkAudio* audio, int channel);
